#pragma once
// The routines the in-game input loop and the play-screen click dispatch are built from:
// entering a square (shop music and theft), footsteps, acting on a clicked square, using and
// marking an ability's target, the belt, the minimap corner buttons, dragging the inventory
// window, the toolkit hotkeys and dropping pending input.
#include <SDL.h>

#include <cstdint>

class Item;

// 1 while the hero stands on a shop square; every level change clears it.
extern int32_t HeroInShopFlag;

// The inventory window: its position on the screen and its drag state.
struct InventoryDragState {
    bool dragging = false;
    int32_t lastX = 0;
    int32_t lastY = 0;
};
extern InventoryDragState InventoryDrag;

// The last press position of a mouse button on the play screen.
extern int32_t PressX;
extern int32_t PressY;

// "foot1" on the first of every four steps, "foot2" on the third, nothing between; the count
// is shared with the walks along a path.
void PlayFootstepSound();

// After the hero has moved onto a square: its room, the shop music and the theft judged on
// leaving a shop, one ambient line, then what lies on the square (until something moves the
// hero away or changes the level).
void HandlePlayerEnteredSquare();

// The hero's action on a clicked square: empties the move-key queue while a key walk runs;
// else the first object that acts (blocking ones, then the rest, then doors and levers) ends
// in a turn; else the hero walks there (unless click-to-move is off).
void ActivateSquareObjects(int32_t x, int32_t y);

// The selected ability used at the square under the pointer. A square outside the level
// does nothing.
void UseSelectedAbilityAt(int32_t pointerX, int32_t pointerY);

// Highlights the squares the selected ability would affect at the square under the pointer.
void MarkAbilityTargetSquares(int32_t pointerX, int32_t pointerY);

// The belt row of the bottom bar (edges included); false when (x, y) lies outside it.
bool InsideBeltRow(int32_t x, int32_t y);
bool HandleBeltClick(int32_t x, int32_t y);
// The minimap picture of the current size at the top right corner (edges included).
bool InsideMinimap(int32_t x, int32_t y);
// The minimap's corner buttons (and, in debug runs, a click on the map moves the hero there);
// false when (x, y) lies outside the minimap.
bool HandleMinimapSizeClick(int32_t x, int32_t y);

// A mouse-button press on the play screen: ability aiming on the right button, and the start
// of a drag of the inventory window.
void HandlePlayMouseDown(int32_t x, int32_t y, bool right);
// Moves the inventory window with the pointer while it is dragged; its top stays on screen.
void DragInventoryPanel(int32_t x, int32_t y);

// True when the pixel at (x, y) equals the surface's colour key. Pixels are read by the
// surface's bytes per pixel; a point outside the surface, a surface without a colour key or
// one that cannot be locked answers false.
bool IsColorKeyPixel(SDL_Surface* surface, int32_t x, int32_t y);

// A key release of a toolkit binding takes the carried toolkit of that kind out or puts it
// away; true when a toolkit binding matched.
bool HandleToolkitHotkey(const SDL_Event& event);

// Reads and drops every pending input event through the logged input.
void DiscardEvents();

// The interface size the play screen is laid out for.
bool LargeInterface();
// The inventory window's picture of the current size, its size (the default size of the art
// when the picture is not loaded) and whether (x, y) lies on it.
SDL_Surface* InventoryImage();
void InventoryImageSize(int32_t* w, int32_t* h);
bool InsideInventoryWindow(int32_t x, int32_t y);
// The backpack cell under a screen point (column, row); false outside the 8 x 6 grid.
bool InventoryCellAt(int32_t x, int32_t y, int32_t* column, int32_t* row);
// The top edge of the bottom bar, and the height of its normal-size picture.
int32_t BottomBarTopEdge();
int32_t NormalBottomBarHeight();

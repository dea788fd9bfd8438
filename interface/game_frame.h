#pragma once
// The in-game frame. Every pass of the play loop, and of every window opened over the play
// screen, is DrawGameScreen (the whole picture into ScreenSurface), the window's own
// drawing, then AdvanceFrame (present, and move every animation on by the time the frame
// took).
#include <SDL.h>

#include <cstdint>

#include "interface/ui_services.h"
#include "levels/map_view.h"

class Bob;
struct BranchRecord;

// Tick count taken at the start of DrawGameScreen (also reset after a long pause, e.g. a
// blocking dialog, so that the pause does not count).
extern Uint32 FrameStartTicks;
// Milliseconds from FrameStartTicks to the end of the present: the step by which every
// animation advances.
extern int32_t FrameElapsedMs;
// Milliseconds summed since the last input event; the in-game input loop sets it to 0 on
// every key, mouse-button and motion event.
extern int32_t IdleMs;
// The same, under the name the input code knows it by.
extern int32_t& InputIdleMs;
// Remaining display time of the monster-zoo banner and its picture (not owned).
extern int32_t ZooBannerMs;
extern SDL_Surface* ZooBannerImage;
// True at the start of a frame; a tooltip drawer clears it after drawing, so at most one
// tooltip is drawn per frame.
extern bool TooltipSlotFree;
// The pointer lies over the menu-bar buttons; windows over the play screen close when they
// find it set at the top of a frame.
extern bool MenuBarHover;

// After this long without input the hero switches to its long-idle animation.
constexpr int32_t kLongIdleAfterMs = 60000;

// The camera for a hero on square (x, y) with drawing offsets (offsetX, offsetY): the hero
// one square below the middle of the view, never scrolled past the top-left corner of the
// level, pixel offsets even.
MapView ComputeCamera(int32_t x, int32_t y, float offsetX, float offsetY, int32_t tileWidth,
                         int32_t tileHeight, int32_t halfViewColumns, int32_t screenHeight);
// Recomputes the camera of the layout (view origin and pixel offsets) from CurrentPlayer.
void UpdateCamera();

// Paints the frame: fluids, glints, level and objects, the HUD (unless hidden), the
// game-over picture, eye candy and the pointer. Without a hero or a level only black.
void DrawGameScreen();
// Presents the frame and advances every animation by the time it took.
void AdvanceFrame();
// Restarts the frame clock (after a long pause, e.g. a blocking dialog).
void ResetFrameClock();

// Animations shared by many pictures (the status overlays, the skill tome's learning
// animation) are advanced once a frame by AdvanceFrame. Their owners register them here
// (no duplicates) and unregister them before they go; they are never owned here.
void RegisterSharedBob(Bob* bob);
void UnregisterSharedBob(Bob* bob);

// Moves the animated tiles of a branch on by the elapsed time: each tile's timer grows by
// it and, while it exceeds the tile's frame time, loses that time while the frame moves by
// the tile's step; at either end a ping-pong tile turns round, any other returns to frame 0.
// Tiles without frames (or without a frame time) stay as they are.
void AdvanceBranchTileAnimations(BranchRecord* branch, int32_t elapsedMs);

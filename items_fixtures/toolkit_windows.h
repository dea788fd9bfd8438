#pragma once
// The toolkit windows: one per toolkit definition of the item database, in definition order.
// Only the lutefisk cube's window is ever shown (the crafting panel stands for the others);
// each window keeps the items laid into its slots and its output, saved with the hero.
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

class Item;
class Toolkit;
struct ToolkitLayout;

struct ToolkitWindow {
    std::string kind;  // the layout's tag: a tool word or "lutefisk"
    const ToolkitLayout* layout = nullptr;
    // What lies in the window (owned by the hero and saved with it): the made item and the
    // ingredient slots (as many as the layout has).
    Item* output = nullptr;
    std::vector<Item*> slots;
    bool open = false;
    int32_t x = 0;
    int32_t y = 0;
    // The layout's pictures, loaded on first draw (null when missing).
    SDL_Surface* background = nullptr;
    SDL_Surface* craftButton[3] = {};
    SDL_Surface* recipeButton[2] = {};
    SDL_Surface* fillButton[2] = {};
    bool artLoaded = false;
    // The background's size, or 256 x 256 without one.
    int32_t Width() const;
    int32_t Height() const;
};

extern std::vector<ToolkitWindow> ToolkitWindows;
extern bool ToolkitWindowDragging;

// Adds a window for every toolkit layout of the item database that has none yet.
void SyncToolkitWindows();
// Frees the windows' pictures (loaded on first use); they load again when next drawn.
void FreeToolkitWindowArt();
// The window of a tag, or null.
ToolkitWindow* FindToolkitWindow(const std::string& kind);
// Closes every window and clears the current recipe (a hero is created or loaded).
void CloseToolkitWindows();

void DrawToolkitWindows(int32_t mouseX, int32_t mouseY);
// A press that may start dragging the open lutefisk window.
bool BeginToolkitWindowDrag(int32_t x, int32_t y);
void DragToolkitWindow(int32_t x, int32_t y);
// A mouse release over the windows at the pointer's position: ends a drag, or hands the
// click to the open lutefisk window.
void ClickToolkitWindows();
bool ClickToolkitWindowsAt(int32_t x, int32_t y);
// The click on one window, relative to it; false outside the window.
bool ClickToolkitWindow(ToolkitWindow& window, int32_t x, int32_t y);

// The first toolkit of that kind on the belt, else in the backpack; null when none.
Toolkit* FindToolkitOfKind(const char* kind);
// True when an item of that definition lies in the backpack or on the belt.
bool InventoryHasItemOfDef(const struct ItemDef* definition);

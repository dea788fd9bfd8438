#pragma once
// The inventory window over the play screen: the backpack grid with its items, the sort and
// close buttons and, on a peaceful shop's floor, the quick-sell button. Its corner is
// (Layout.inventoryX, Layout.inventoryY); it is open while Layout.inventoryOpen is set.
// LoadRecipeBookArt (hud.h) loads the crafting panel's pictures.
#include <SDL.h>

#include <cstdint>

#include "interface/hud_draw.h"
#include <string>
#include <vector>

struct ItemDef;

constexpr int32_t kRecipeBookPictures = 41;

// Top-left corner of backpack cell (gx, gy) relative to the window's corner.
HudPoint InventoryCellOffset(int32_t gx, int32_t gy);
// The sort button's and the close button's rectangles and the quick-sell button's corner,
// relative to the window's corner.
SDL_Rect InventorySortRect();
HudPoint InventoryCloseOffset();
HudPoint InventoryQuickSellOffset();

// Draws the open window; false when it showed a backpack item's tooltip (true when closed).
bool DrawInventoryWindow();
// The tooltip of the backpack item under the pointer, for the window at (x, y); true when
// one was shown.
bool ShowInventoryHoverTooltip(int32_t x, int32_t y);
// True when an item made from the definition lies in the backpack or on the belt.
bool InventoryHasItem(const ItemDef* def);

// The 41 files LoadRecipeBookArt loads, in order, and the pictures it loaded (same order).
std::vector<std::string> RecipeBookArtFiles();
SDL_Surface* RecipeBookPicture(int32_t index);
// The first picture of a crafting tool's pair (tool 0..6, in the order of the tool names);
// null for another index or before the art is loaded.
SDL_Surface* RecipeToolPicture(int32_t tool);

#pragma once
// The menu bar on the bottom bar: five buttons (0 menu, 1 character, 2 inventory, 3 skills,
// 4 quests), 56 x 24 each. MenuBarLoad and HandleMenuBarClick are declared in hud.h.
#include <SDL.h>

#include <cstdint>

#include "interface/hud_draw.h"

constexpr int32_t kMenuBarButtons = 5;

// The picture of button i in state s (0 normal, 1 hover, 2 pressed, 3 spare); null when
// not loaded.
SDL_Surface* MenuBarPicture(int32_t button, int32_t state);
void SetMenuBarPicture(int32_t button, int32_t state, SDL_Surface* picture);
void FreeMenuBar();
// Top-left corner of button i.
HudPoint MenuBarButtonOrigin(int32_t button);
// The button under a screen point, or -1. The row is barTop + 18 .. + 42 (large + 60 .. + 84),
// edges included; the index is (x - origin) / 56 truncated toward zero, so a point up to 55
// pixels left of button 0 still counts as button 0.
int32_t MenuBarIndexAt(int32_t x, int32_t y);
// Draws the five buttons in their states.
void DrawMenuBar();
// Sets MenuBarHover (never clears it) when the point gives a button.
void CheckMenuBarHover(int32_t x, int32_t y);

#pragma once
// The minimap in the top-right corner: the explored part of the current level at one of four
// sizes (Layout.minimapSize 0..3, c = size + 1 pixels per square), the objects' icons, the
// level number, the two size buttons, the message ticker, the room name and the zoo count.
#include <SDL.h>

#include <cstdint>

#include "interface/hud_draw.h"

class Level;
class Sprite;

// The map surfaces hold at most this many squares in each direction.
constexpr int32_t kMinimapSquares = 100;
constexpr int32_t kMinimapIconKinds = 22;
extern const char* const kMinimapIconKindNames[kMinimapIconKinds];

// The icon of a kind (index into kMinimapIconKindNames) and size 0..3; null when not loaded.
Sprite* MinimapIcon(int32_t kind, int32_t size);

// Writes the palette indices of the level's seen squares into a 100 c x 100 c picture of
// `pitch` bytes a row (cleared to 0 first): plain floor 2, wall 4, shop floor 5, zoo floor 3,
// every other kind and every unseen square 0. Squares beyond 100 x 100 are left out.
void BuildMinimapPixels(const Level& level, int32_t c, uint8_t* pixels, int32_t pitch);
// The point where an object on square (x, y) draws its icon, for the size and screen width.
HudPoint MinimapIconPoint(int32_t size, int32_t x, int32_t y, int32_t screenWidth);
// The enlarge and shrink buttons are highlighted for this pointer position.
bool MinimapEnlargeHover(int32_t mx, int32_t my, int32_t screenWidth);
bool MinimapShrinkHover(int32_t mx, int32_t my, int32_t screenWidth);

// Draws the minimap, the ticker, the room name and the zoo count.
void DrawMinimap();
// Frees the map surfaces and the backgrounds and buttons (they are made again on first use).
void FreeMinimap();

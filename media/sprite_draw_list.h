#pragma once
// Listing what Sprite::DrawFrame would draw instead of drawing it: a caller finds out where
// a painting routine puts its frames (the minimap's icons, the glints) and paints them later,
// elsewhere or only in part.
#include <cstdint>
#include <vector>

class Sprite;

// One whole frame drawn by Sprite::DrawFrame with its top-left corner at (x, y).
struct SpriteDrawCall {
    Sprite* sprite;
    int32_t frame;
    int32_t x;
    int32_t y;
};

// While a list is given, Sprite::DrawFrame appends each draw of an existing frame to it
// instead of blitting; null blits again.
void SetSpriteDrawList(std::vector<SpriteDrawCall>* list);

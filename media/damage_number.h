#pragma once
// Damage numbers over the map: large digits in the colour of their damage type with a dark
// outline all round, so that they read over any floor, wall or creature.
#include <SDL.h>

#include <cstdint>
#include <string>

class Sprite;

// The outline's thickness in pixels on every side of the lettering.
constexpr int32_t kDamageNumberOutline = 2;

// A one-frame sprite of the text in the large font, in the colour, outlined in near-black;
// null for empty text or without the font. The caller owns it.
Sprite* RenderDamageNumberSprite(const std::string& text, SDL_Color colour);
// A rising damage number whose top-left corner starts at (x, y); the entry owns its sprite.
// Nothing without the font.
void SpawnDamageNumber(int32_t x, int32_t y, int32_t amount, SDL_Color colour);

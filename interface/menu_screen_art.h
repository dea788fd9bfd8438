#pragma once
// Small drawing helpers the menu screens share: placing a picture, its rectangle, the two
// kinds of click boxes, and putting back part of the clean background.
#include <SDL.h>

#include <cstdint>

// Draws the picture (when there is one) with its top-left corner at (x, y).
void BlitPictureAt(SDL_Surface* picture, SDL_Surface* target, int32_t x, int32_t y);
// The rectangle a picture covers at (x, y); 0 by 0 without a picture.
SDL_Rect PictureRect(SDL_Surface* picture, int32_t x, int32_t y);
SDL_Rect MakeRect(int32_t x, int32_t y, int32_t w, int32_t h);
// The point lies in the rectangle, its edges included (x..x+w, y..y+h).
bool InRectWithEdges(const SDL_Rect& r, int32_t x, int32_t y);
// The point lies strictly inside the rectangle, its edges excluded.
bool InRectWithoutEdges(const SDL_Rect& r, int32_t x, int32_t y);
// Copies the rectangle of MenuCleanBackground onto MenuBackground (nothing without them).
void RestoreCleanRect(const SDL_Rect& r);

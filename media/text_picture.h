#pragma once
// Text rendered once and kept by whoever draws it every frame (the ticker's lines): the
// picture DrawText would blit, and blitting it exactly as DrawText does, making nothing.
#include <SDL.h>
#include <SDL_ttf.h>

// The picture DrawText blits for the text (the caller frees it), or null where DrawText
// draws nothing.
SDL_Surface* RenderTextPicture(const char* text, SDL_Color colour, TTF_Font* font);
// Blits a picture from RenderTextPicture with its top-left corner at (x, y); a null surface
// means ScreenSurface.
void DrawTextPicture(int x, int y, SDL_Surface* picture, SDL_Surface* surface);

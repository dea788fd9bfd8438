#pragma once
// The surface every frame is drawn into, its pixel format, and the pointer's sprites.
// Set by start-up when the video mode is made; read by everything that draws.
#include <SDL.h>

extern SDL_Surface* ScreenSurface;
extern SDL_PixelFormat* ScreenFormat;

class Sprite;
extern Sprite* CursorSprite;
extern Sprite* CursorCornerSprite;
extern Sprite* CurrentCursor;

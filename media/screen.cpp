#include "media/screen.h"

SDL_Surface* ScreenSurface = nullptr;
SDL_PixelFormat* ScreenFormat = nullptr;
Sprite* CursorSprite = nullptr;
Sprite* CursorCornerSprite = nullptr;
Sprite* CurrentCursor = nullptr;

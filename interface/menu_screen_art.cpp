#include "interface/menu_screen_art.h"

#include "core/input_log.h"
#include "interface/menu_frame.h"

void BlitPictureAt(SDL_Surface* picture, SDL_Surface* target, int32_t x, int32_t y) {
    if (picture == nullptr || target == nullptr) return;
    SDL_Rect at = MakeRect(x, y, 0, 0);
    BlitSurface(picture, nullptr, target, &at);
}

SDL_Rect PictureRect(SDL_Surface* picture, int32_t x, int32_t y) {
    return MakeRect(x, y, picture != nullptr ? picture->w : 0, picture != nullptr ? picture->h : 0);
}

SDL_Rect MakeRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    SDL_Rect r;
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    r.w = static_cast<Uint16>(w < 0 ? 0 : w);
    r.h = static_cast<Uint16>(h < 0 ? 0 : h);
    return r;
}

bool InRectWithEdges(const SDL_Rect& r, int32_t x, int32_t y) {
    return x >= r.x && x <= r.x + r.w && y >= r.y && y <= r.y + r.h;
}

bool InRectWithoutEdges(const SDL_Rect& r, int32_t x, int32_t y) {
    return x > r.x && x < r.x + r.w && y > r.y && y < r.y + r.h;
}

void RestoreCleanRect(const SDL_Rect& r) {
    if (MenuCleanBackground == nullptr || MenuBackground == nullptr) return;
    SDL_Rect src = r;
    SDL_Rect dst = r;
    BlitSurface(MenuCleanBackground, &src, MenuBackground, &dst);
}

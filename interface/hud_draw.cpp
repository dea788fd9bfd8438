#include "interface/hud_draw.h"

#include "media/screen.h"
#include "media/sprite.h"

namespace {
std::vector<HudDrawCall>* recorder = nullptr;
}  // namespace

void SetHudDrawRecorder(std::vector<HudDrawCall>* log) {
    recorder = log;
}

void HudRecord(const std::string& what, int32_t x, int32_t y) {
    if (recorder != nullptr) recorder->push_back({what, x, y});
}

void HudBlit(SDL_Surface* picture, const std::string& what, int32_t x, int32_t y) {
    HudRecord(what, x, y);
    if (picture == nullptr || ScreenSurface == nullptr) return;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(picture, nullptr, ScreenSurface, &at);
}

void HudBlitPart(SDL_Surface* picture, const SDL_Rect& source, const std::string& what, int32_t x,
                 int32_t y) {
    HudRecord(what, x, y);
    if (picture == nullptr || ScreenSurface == nullptr) return;
    SDL_Rect from = source;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(picture, &from, ScreenSurface, &at);
}

void HudSprite(Sprite* sprite, int32_t frame, const std::string& what, int32_t x, int32_t y) {
    HudRecord(what, x, y);
    if (sprite == nullptr || ScreenSurface == nullptr) return;
    sprite->DrawFrame(x, y, frame);
}

#include "interface/hud_draw.h"

#include "media/alpha_blit.h"
#include "media/screen.h"
#include "media/sprite.h"

namespace {
std::vector<HudDrawCall>* recorder = nullptr;
}  // namespace

void SetHudDrawRecorder(std::vector<HudDrawCall>* log) {
    recorder = log;
}

void HudRecord(std::string_view what, int32_t x, int32_t y) {
    if (recorder != nullptr) recorder->push_back({std::string(what), x, y});
}

void HudRecordText(std::string_view text, int32_t x, int32_t y) {
    if (recorder != nullptr) recorder->push_back({"\"" + std::string(text) + "\"", x, y});
}

void HudBlit(SDL_Surface* picture, std::string_view what, int32_t x, int32_t y) {
    HudRecord(what, x, y);
    if (picture == nullptr || ScreenSurface == nullptr) return;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    BlitPicture(picture, nullptr, ScreenSurface, &at);
}

void HudBlitPart(SDL_Surface* picture, const SDL_Rect& source, std::string_view what, int32_t x, int32_t y) {
    HudRecord(what, x, y);
    if (picture == nullptr || ScreenSurface == nullptr) return;
    SDL_Rect from = source;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    BlitPicture(picture, &from, ScreenSurface, &at);
}

void HudSprite(Sprite* sprite, int32_t frame, std::string_view what, int32_t x, int32_t y) {
    HudRecord(what, x, y);
    if (sprite == nullptr || ScreenSurface == nullptr) return;
    sprite->DrawFrame(x, y, frame);
}

// The item tooltip box.
#include "media/item_tooltip_box.h"

#include <SDL.h>

#include <string>

#include "core/input_log.h"
#include "core/tweak.h"
#include "media/font.h"
#include "media/screen.h"
#include "media/sprite.h"
#include "media/text.h"
#include "media/tooltip.h"

namespace {

constexpr SDL_Color kLineColour = {247, 247, 152, 0};
constexpr SDL_Color kInfoColour = {210, 185, 100, 0};
constexpr SDL_Color kBodyColour = {180, 180, 180, 0};
constexpr int32_t kLine = 16;
constexpr int32_t kStarRow = 11;
constexpr int32_t kStars = 10;

bool Has(const char* text) { return text != nullptr && text[0] != '\0'; }

int32_t Wrapped(const char* text, int32_t w) { return Has(text) ? WrappedTextHeight(text, TickerFont, w) : 0; }

void Fill(int32_t x, int32_t y, int32_t w, int32_t h) {
    if (ScreenSurface == nullptr) return;
    SDL_Rect r = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w > 0 ? w : 0),
                  static_cast<Uint16>(h > 0 ? h : 0)};
    SDL_FillRect(ScreenSurface, &r, SDL_MapRGB(ScreenSurface->format, 0, 0, 0));
}

void DrawStar(Sprite* star, int32_t x, int32_t y) {
    if (star == nullptr || star->frameCount == 0 || star->frames == nullptr || ScreenSurface == nullptr) return;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(star->frames[0], nullptr, ScreenSurface, &at);
}

}  // namespace

ItemTooltipSize MeasureItemTooltip(const char* title, const char* subtitle, const char* secondLine,
                                   const char* description, int32_t stars, const char* gameplayInfo) {
    ItemTooltipSize size;
    size.w = Has(title) ? TextWidth(title, TickerFont) : 0;
    if (Has(description) && size.w < 160) size.w = 160;
    if (Has(subtitle)) {
        const int32_t sw = TextWidth(subtitle, TickerFont);
        if (sw > size.w) size.w = sw;
    }
    size.h = kLine;
    if (stars >= 1) size.h += kStarRow;
    size.h += Wrapped(subtitle, size.w);
    if (Has(secondLine)) size.h += kLine;
    size.h += Wrapped(gameplayInfo, size.w);
    size.h += Wrapped(description, size.w);
    return size;
}

void DrawItemTooltip(const char* title, const char* subtitle, const char* secondLine, const char* description,
                     int32_t stars, const char* gameplayInfo) {
    if (!Has(title)) return;
    RememberTooltipTitle(title);
    const ItemTooltipSize size = MeasureItemTooltip(title, subtitle, secondLine, description, stars, gameplayInfo);
    int mx = 0, my = 0;
    LoggedGetMouseState(&mx, &my);
    const int32_t b = GetTweakInt("tooltip border size");
    const int32_t screenW = ScreenSurface != nullptr ? ScreenSurface->w : 1280;
    const int32_t screenH = ScreenSurface != nullptr ? ScreenSurface->h : 720;
    const TooltipPlacement at = PlaceTooltip(size.w, size.h, 5, b, mx, my, screenW, screenH);
    Fill(at.x - b, at.y - b, size.w + 6 + 2 * b, size.h + 5 + 2 * b);
    Fill(at.x, at.y, size.w + 6, size.h + 5);
    RecordTooltipBox(at.x - b, at.y - b, size.w + 6 + 2 * b, size.h + 5 + 2 * b);

    const int32_t left = at.x + 3;
    const int32_t right = at.x + size.w + 3;
    DrawText(left, at.y, title, kTextWhite, nullptr, TickerFont);
    int32_t y = at.y + kLine;
    if (stars >= 1) {
        Sprite* full = SpriteMgr_GetOrLoadPNG("quality_star_full", "ui/quality_star_full.png", 0);
        Sprite* empty = SpriteMgr_GetOrLoadPNG("quality_star_empty", "ui/quality_star_empty.png", 0);
        for (int32_t k = 0; k < kStars; ++k) DrawStar(k < stars ? full : empty, at.x + 1 + 9 * k, y);
        y += kStarRow;
    }
    if (Has(subtitle)) {
        y += DrawTextWrapped(subtitle, left, y, right, y + 1000, TickerFont, kLineColour, nullptr);
    }
    if (Has(secondLine)) {
        DrawText(left, y, secondLine, kLineColour, nullptr, TickerFont);
        y += kLine;
    }
    if (Has(gameplayInfo)) y += DrawTextWrapped(gameplayInfo, left, y, right, y + 1000, TickerFont, kInfoColour, nullptr);
    if (Has(description)) DrawTextWrapped(description, left, y, right, y + 1000, TickerFont, kBodyColour, nullptr);
}

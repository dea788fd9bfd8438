#include "media/damage_number.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <vector>

#include "media/eye_candy.h"
#include "media/font.h"
#include "media/sprite.h"

namespace {

constexpr Uint8 kOutlineShade = 16;

// The alpha of each pixel of a 32-bit surface, row by row (0 outside it).
std::vector<Uint8> AlphaOf(SDL_Surface* s) {
    std::vector<Uint8> alpha(static_cast<size_t>(s->w) * s->h);
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; ++x) {
            Uint8 r, g, b, a;
            SDL_GetRGBA(row[x], s->format, &r, &g, &b, &a);
            alpha[static_cast<size_t>(y) * s->w + x] = a;
        }
    }
    SDL_UnlockSurface(s);
    return alpha;
}

}  // namespace

Sprite* RenderDamageNumberSprite(const std::string& text, SDL_Color colour) {
    if (text.empty() || LargeFont == nullptr) return nullptr;
    SDL_Surface* ink = TTF_RenderUTF8_Blended(LargeFont, text.c_str(), colour);
    if (ink == nullptr) return nullptr;
    const int o = kDamageNumberOutline;
    const int w = ink->w + 2 * o;
    const int h = ink->h + 2 * o;
    SDL_Surface* out = SDL_CreateRGBSurface(SDL_SWSURFACE | SDL_SRCALPHA, w, h, 32, 0x00FF0000, 0x0000FF00,
                                            0x000000FF, 0xFF000000);
    if (out == nullptr) {
        SDL_FreeSurface(ink);
        return nullptr;
    }
    const std::vector<Uint8> alpha = AlphaOf(ink);
    const auto inkAlpha = [&](int x, int y) -> int {
        if (x < 0 || y < 0 || x >= ink->w || y >= ink->h) return 0;
        return alpha[static_cast<size_t>(y) * ink->w + x];
    };
    SDL_LockSurface(out);
    for (int y = 0; y < h; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(out->pixels) + y * out->pitch);
        for (int x = 0; x < w; ++x) {
            // The outline: the strongest ink within the outline's reach (a rounded square).
            int edge = 0;
            for (int dy = -o; dy <= o; ++dy) {
                for (int dx = -o; dx <= o; ++dx) {
                    if (dx * dx + dy * dy > o * o + 1) continue;
                    edge = std::max(edge, inkAlpha(x - o + dx, y - o + dy));
                }
            }
            const int a = inkAlpha(x - o, y - o);
            // The coloured ink laid over the dark outline.
            const int outA = a + edge * (255 - a) / 255;
            int r = 0, g = 0, b = 0;
            if (outA > 0) {
                r = (colour.r * a + kOutlineShade * edge * (255 - a) / 255) / outA;
                g = (colour.g * a + kOutlineShade * edge * (255 - a) / 255) / outA;
                b = (colour.b * a + kOutlineShade * edge * (255 - a) / 255) / outA;
            }
            row[x] = SDL_MapRGBA(out->format, static_cast<Uint8>(std::min(r, 255)), static_cast<Uint8>(std::min(g, 255)),
                                 static_cast<Uint8>(std::min(b, 255)), static_cast<Uint8>(outA));
        }
    }
    SDL_UnlockSurface(out);
    SDL_FreeSurface(ink);
    Sprite* sprite = new Sprite();
    sprite->InitFromSurface(out);
    return sprite;
}

void SpawnDamageNumber(int32_t x, int32_t y, int32_t amount, SDL_Color colour) {
    Sprite* sprite = RenderDamageNumberSprite(std::to_string(amount), colour);
    if (sprite == nullptr) return;
    if (SpawnEyeCandy(x, y, sprite, 1, 1) == nullptr) delete sprite;
}

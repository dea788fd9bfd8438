#include "media/alpha_blit.h"

#include <cstdint>

namespace {

bool IsDecodedRgba(const SDL_Surface* s) {
    const SDL_PixelFormat* f = s->format;
    return f->BytesPerPixel == 4 && f->palette == nullptr && f->Rmask == 0x000000FFu && f->Gmask == 0x0000FF00u &&
           f->Bmask == 0x00FF0000u && f->Amask == 0xFF000000u && f->alpha == SDL_ALPHA_OPAQUE &&
           (s->flags & SDL_SRCALPHA) != 0 && (s->flags & (SDL_SRCCOLORKEY | SDL_RLEACCEL | SDL_HWSURFACE)) == 0;
}

bool IsScreen0rgb(const SDL_Surface* s) {
    const SDL_PixelFormat* f = s->format;
    return f->BytesPerPixel == 4 && f->palette == nullptr && f->Rmask == 0x00FF0000u && f->Gmask == 0x0000FF00u &&
           f->Bmask == 0x000000FFu && f->Amask == 0 && (s->flags & SDL_HWSURFACE) == 0;
}

// One pixel as SDL's general per-pixel blend leaves it: each channel d + ((s - d) * a + 255)
// >> 8 in unsigned 32-bit arithmetic, put back with the target's shifts (so a channel that
// went down may leave a bit in the unused byte, as SDL's does). Alpha 0 leaves the pixel.
inline Uint32 Blend(Uint32 s, Uint32 d) {
    const Uint32 a = s >> 24;
    if (a == 0) return d;
    const Uint32 sR = s & 0xFF, sG = (s >> 8) & 0xFF, sB = (s >> 16) & 0xFF;
    Uint32 dR = (d >> 16) & 0xFF, dG = (d >> 8) & 0xFF, dB = d & 0xFF;
    dR = (((sR - dR) * a + 255) >> 8) + dR;
    dG = (((sG - dG) * a + 255) >> 8) + dG;
    dB = (((sB - dB) * a + 255) >> 8) + dB;
    return (dR << 16) | (dG << 8) | dB;
}

void BlendRows(const SDL_Surface* src, int sx, int sy, SDL_Surface* dst, int dx, int dy, int w, int h) {
    for (int y = 0; y < h; ++y) {
        const Uint32* from = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(src->pixels) +
                                                             (sy + y) * src->pitch) + sx;
        Uint32* to = reinterpret_cast<Uint32*>(static_cast<Uint8*>(dst->pixels) + (dy + y) * dst->pitch) + dx;
        for (int x = 0; x < w; ++x) to[x] = Blend(from[x], to[x]);
    }
}

// The probe: every alpha against a spread of source and target values in all three channels,
// blitted by SDL and by Blend. Any difference, in any bit, turns the quick path off.
bool ProbeAgrees() {
    constexpr int kSide = 256;
    SDL_Surface* src = SDL_CreateRGBSurface(SDL_SWSURFACE | SDL_SRCALPHA, kSide, kSide, 32, 0x000000FFu, 0x0000FF00u,
                                            0x00FF0000u, 0xFF000000u);
    SDL_Surface* sdl = SDL_CreateRGBSurface(SDL_SWSURFACE, kSide, kSide, 32, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0);
    bool agrees = src != nullptr && sdl != nullptr && IsDecodedRgba(src) && IsScreen0rgb(sdl);
    if (agrees) {
        uint32_t seed = 0x2545F491u;
        auto next = [&seed] {
            seed ^= seed << 13;
            seed ^= seed >> 17;
            seed ^= seed << 5;
            return seed;
        };
        for (int y = 0; y < kSide; ++y) {
            Uint32* s = reinterpret_cast<Uint32*>(static_cast<Uint8*>(src->pixels) + y * src->pitch);
            Uint32* d = reinterpret_cast<Uint32*>(static_cast<Uint8*>(sdl->pixels) + y * sdl->pitch);
            for (int x = 0; x < kSide; ++x) {
                // Row y is alpha y; the first columns pair extremes, the rest are random.
                const Uint32 r = next();
                const Uint32 sv = x < 4 ? (x & 1 ? 0xFFFFFFu : 0u) : (r & 0xFFFFFFu);
                const Uint32 dv = x < 4 ? (x & 2 ? 0xFFFFFFu : 0u) : (next() & 0xFFFFFFu);
                s[x] = sv | (static_cast<Uint32>(y) << 24);
                d[x] = dv;
            }
        }
        SDL_Surface* ours = SDL_ConvertSurface(sdl, sdl->format, SDL_SWSURFACE);
        agrees = ours != nullptr && SDL_BlitSurface(src, nullptr, sdl, nullptr) == 0;
        if (agrees) {
            BlendRows(src, 0, 0, ours, 0, 0, kSide, kSide);
            for (int y = 0; agrees && y < kSide; ++y) {
                const Uint32* a = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(sdl->pixels) + y * sdl->pitch);
                const Uint32* b = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(ours->pixels) + y * ours->pitch);
                for (int x = 0; agrees && x < kSide; ++x) agrees = a[x] == b[x];
            }
        }
        if (ours != nullptr) SDL_FreeSurface(ours);
    }
    if (src != nullptr) SDL_FreeSurface(src);
    if (sdl != nullptr) SDL_FreeSurface(sdl);
    return agrees;
}

}  // namespace

bool QuickAlphaBlitUsable(const SDL_Surface* src, const SDL_Surface* dst) {
    if (src == nullptr || dst == nullptr || src->locked != 0 || dst->locked != 0) return false;
    if (SDL_MUSTLOCK(src) || SDL_MUSTLOCK(dst)) return false;
    if (!IsDecodedRgba(src) || !IsScreen0rgb(dst)) return false;
    static const bool agrees = ProbeAgrees();
    return agrees;
}

namespace {

// One axis of SDL_UpperBlit's clipping: the source span (from, length) is cut to the picture
// (0, size), moving the target position `at` with its start...
void ClipToPicture(int size, Sint16* at, int* from, int* length) {
    if (*from < 0) {
        *length += *from;
        *at = static_cast<Sint16>(*at - *from);
        *from = 0;
    }
    if (size - *from < *length) *length = size - *from;
}

// ...and then to the target's clip span (clipStart, clipLength).
void ClipToTarget(int clipStart, int clipLength, Sint16* at, int* from, int* length) {
    int over = clipStart - *at;
    if (over > 0) {
        *length -= over;
        *at = static_cast<Sint16>(*at + over);
        *from += over;
    }
    over = *at + *length - clipStart - clipLength;
    if (over > 0) *length -= over;
}

}  // namespace

int BlitPicture(SDL_Surface* src, SDL_Rect* srcRect, SDL_Surface* dst, SDL_Rect* dstRect) {
    if (!QuickAlphaBlitUsable(src, dst)) return SDL_BlitSurface(src, srcRect, dst, dstRect);
    // The clipping of SDL_UpperBlit, step for step.
    SDL_Rect whole = {0, 0, 0, 0};
    if (dstRect == nullptr) dstRect = &whole;
    int srcX = 0, srcY = 0, w = src->w, h = src->h;
    if (srcRect != nullptr) {
        srcX = srcRect->x;
        w = srcRect->w;
        ClipToPicture(src->w, &dstRect->x, &srcX, &w);
        srcY = srcRect->y;
        h = srcRect->h;
        ClipToPicture(src->h, &dstRect->y, &srcY, &h);
    }
    ClipToTarget(dst->clip_rect.x, dst->clip_rect.w, &dstRect->x, &srcX, &w);
    ClipToTarget(dst->clip_rect.y, dst->clip_rect.h, &dstRect->y, &srcY, &h);
    if (w <= 0 || h <= 0) {
        dstRect->w = dstRect->h = 0;
        return 0;
    }
    dstRect->w = static_cast<Uint16>(w);
    dstRect->h = static_cast<Uint16>(h);
    BlendRows(src, srcX, srcY, dst, dstRect->x, dstRect->y, w, h);
    return 0;
}

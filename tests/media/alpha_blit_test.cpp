// The quick per-pixel-alpha blit against SDL's own: every alpha with every source and target
// value, bit for bit, and SDL's clipping and written-back rectangle.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "media/alpha_blit.h"

namespace {

SDL_Surface* NewRgba(int w, int h) {
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x000000FFu, 0x0000FF00u, 0x00FF0000u, 0xFF000000u);
}

SDL_Surface* New0rgb(int w, int h) {
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0);
}

Uint32& At(SDL_Surface* s, int x, int y) {
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x];
}

SDL_Surface* CopyOf(SDL_Surface* s) {
    SDL_Surface* copy = New0rgb(s->w, s->h);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) At(copy, x, y) = At(s, x, y);
    return copy;
}

// The number of pixels, all 32 bits compared, that differ.
int Differences(SDL_Surface* a, SDL_Surface* b) {
    int n = 0;
    for (int y = 0; y < a->h; ++y)
        for (int x = 0; x < a->w; ++x) n += At(a, x, y) != At(b, x, y);
    return n;
}

class AlphaBlitTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_NOPARACHUTE), 0); }
};

TEST_F(AlphaBlitTest, TheUsualPairIsTakenAndOthersAreNot) {
    SDL_Surface* rgba = NewRgba(4, 4);
    SDL_Surface* screen = New0rgb(4, 4);
    SDL_Surface* rgbaTarget = NewRgba(4, 4);
    SDL_Surface* keyed = NewRgba(4, 4);
    SDL_SetColorKey(keyed, SDL_SRCCOLORKEY, 0);
    SDL_Surface* halfAlpha = NewRgba(4, 4);
    SDL_SetAlpha(halfAlpha, SDL_SRCALPHA, 128);
    EXPECT_TRUE(QuickAlphaBlitUsable(rgba, screen));
    EXPECT_FALSE(QuickAlphaBlitUsable(rgba, rgbaTarget));
    EXPECT_FALSE(QuickAlphaBlitUsable(keyed, screen));
    EXPECT_FALSE(QuickAlphaBlitUsable(halfAlpha, screen));
    EXPECT_FALSE(QuickAlphaBlitUsable(screen, screen));
    EXPECT_FALSE(QuickAlphaBlitUsable(nullptr, screen));
    SDL_LockSurface(rgba);
    EXPECT_FALSE(QuickAlphaBlitUsable(rgba, screen));
    SDL_UnlockSurface(rgba);
    for (SDL_Surface* s : {rgba, screen, rgbaTarget, keyed, halfAlpha}) SDL_FreeSurface(s);
}

// For each alpha, a 256 x 256 picture holds every pair of source value (x) and target value (y)
// in red, and other pairings in green and blue, so every channel meets every pair.
TEST_F(AlphaBlitTest, EveryAlphaValueAndTargetGivesSdlsPixel) {
    SDL_Surface* src = NewRgba(256, 256);
    SDL_Surface* target = New0rgb(256, 256);
    ASSERT_TRUE(QuickAlphaBlitUsable(src, target));
    int differing = 0;
    for (Uint32 a = 0; a < 256; ++a) {
        for (Uint32 y = 0; y < 256; ++y) {
            for (Uint32 x = 0; x < 256; ++x) {
                At(src, x, y) = x | ((255 - x) << 8) | (y << 16) | (a << 24);
                At(target, x, y) = (y << 16) | (x << 8) | ((x * 7 + y) & 0xFF);
            }
        }
        SDL_Surface* ours = CopyOf(target);
        ASSERT_EQ(SDL_BlitSurface(src, nullptr, target, nullptr), 0);
        ASSERT_EQ(BlitPicture(src, nullptr, ours, nullptr), 0);
        differing += Differences(target, ours);
        SDL_FreeSurface(ours);
    }
    EXPECT_EQ(differing, 0);
    SDL_FreeSurface(src);
    SDL_FreeSurface(target);
}

TEST_F(AlphaBlitTest, ClippingAndTheWrittenBackRectangleAreSdls) {
    struct Case {
        SDL_Rect from;  // w 0: no source rectangle
        SDL_Rect at;
        SDL_Rect clip;  // w 0: the whole target
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, {5, 6, 0, 0}, {0, 0, 0, 0}},
        {{0, 0, 0, 0}, {-7, -3, 0, 0}, {0, 0, 0, 0}},        // off the top-left corner
        {{0, 0, 0, 0}, {40, 30, 0, 0}, {0, 0, 0, 0}},        // off the bottom-right corner
        {{3, 2, 9, 8}, {10, 10, 0, 0}, {0, 0, 0, 0}},        // part of the picture
        {{-4, -2, 12, 9}, {10, 10, 0, 0}, {0, 0, 0, 0}},     // a part starting before the picture
        {{10, 10, 30, 30}, {1, 1, 0, 0}, {0, 0, 0, 0}},      // a part running past it
        {{0, 0, 0, 0}, {5, 6, 0, 0}, {8, 9, 10, 7}},         // a clip rectangle
        {{0, 0, 0, 0}, {100, 100, 0, 0}, {0, 0, 0, 0}},      // nothing left
    };
    for (const Case& c : cases) {
        SDL_Surface* src = NewRgba(20, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 20; ++x) At(src, x, y) = static_cast<Uint32>(x * 13 + y * 7) | (static_cast<Uint32>(x * 12) << 24);
        SDL_Surface* sdl = New0rgb(48, 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 48; ++x) At(sdl, x, y) = static_cast<Uint32>((x * 5) << 8 | (y * 6));
        SDL_Surface* ours = CopyOf(sdl);
        if (c.clip.w != 0) {
            SDL_Rect clip = c.clip;
            SDL_SetClipRect(sdl, &clip);
            SDL_SetClipRect(ours, &clip);
        }
        SDL_Rect fromA = c.from, fromB = c.from, atA = c.at, atB = c.at;
        const int a = SDL_BlitSurface(src, c.from.w != 0 ? &fromA : nullptr, sdl, &atA);
        const int b = BlitPicture(src, c.from.w != 0 ? &fromB : nullptr, ours, &atB);
        EXPECT_EQ(a, b);
        EXPECT_EQ(Differences(sdl, ours), 0) << c.at.x << ", " << c.at.y;
        EXPECT_EQ(atA.x, atB.x);
        EXPECT_EQ(atA.y, atB.y);
        EXPECT_EQ(atA.w, atB.w);
        EXPECT_EQ(atA.h, atB.h);
        for (SDL_Surface* s : {src, sdl, ours}) SDL_FreeSurface(s);
    }
}

}  // namespace

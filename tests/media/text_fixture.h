#pragma once
// A test fixture with the game font open at its five sizes and ScreenSurface pointing at a
// software surface of its own (no window is needed).
#include <gtest/gtest.h>

#include <string>

#include "media/screen.h"
#include "media/font.h"
#include "support/platform_fixtures.h"

class GameFontTest : public testing::Test {
protected:
    void SetUp() override {
        const std::string root = VAULTMERE_GAME_ROOT;
        ScopedWorkingDir cwd(root);
        if (!cwd.ok()) GTEST_SKIP() << "no assembled game folder at " << root;
        testing::internal::CaptureStdout();
        const bool loaded = LoadFonts();
        const std::string out = testing::internal::GetCapturedStdout();
        ASSERT_TRUE(loaded) << out;
        screen_ = NewSurface(800, 600, 32);
        savedScreen_ = ScreenSurface;
        ScreenSurface = screen_;
    }

    void TearDown() override {
        ScreenSurface = savedScreen_;
        if (screen_ != nullptr) SDL_FreeSurface(screen_);
        FreeFonts();
    }

    static SDL_Surface* NewSurface(int w, int h, int bpp) {
        SDL_Surface* s = bpp == 32
            ? SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0)
            : SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, 0xF800, 0x07E0, 0x001F, 0);
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 40, 80, 120));
        return s;
    }

    static Uint32 Pixel(SDL_Surface* s, int x, int y) {
        const Uint8* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
        if (s->format->BytesPerPixel == 4) return reinterpret_cast<const Uint32*>(row)[x];
        return reinterpret_cast<const Uint16*>(row)[x];
    }

    static bool SamePixelsAs(SDL_Surface* a, SDL_Surface* b) {
        if (a->w != b->w || a->h != b->h || a->format->BitsPerPixel != b->format->BitsPerPixel) return false;
        for (int y = 0; y < a->h; ++y)
            for (int x = 0; x < a->w; ++x)
                if (Pixel(a, x, y) != Pixel(b, x, y)) return false;
        return true;
    }

    // The bounding box of the pixels that differ from the fill colour; false when none do.
    static bool InkBox(SDL_Surface* s, SDL_Rect* box) {
        const Uint32 fill = SDL_MapRGB(s->format, 40, 80, 120);
        int x0 = s->w, y0 = s->h, x1 = -1, y1 = -1;
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x)
                if (Pixel(s, x, y) != fill) {
                    if (x < x0) x0 = x;
                    if (y < y0) y0 = y;
                    if (x > x1) x1 = x;
                    if (y > y1) y1 = y;
                }
        if (x1 < 0) return false;
        box->x = static_cast<Sint16>(x0);
        box->y = static_cast<Sint16>(y0);
        box->w = static_cast<Uint16>(x1 - x0 + 1);
        box->h = static_cast<Uint16>(y1 - y0 + 1);
        return true;
    }

    SDL_Surface* screen_ = nullptr;
    SDL_Surface* savedScreen_ = nullptr;
};

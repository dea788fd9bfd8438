#pragma once
// Shared pieces of the frame, HUD and pointer tests: solid test sprites, a 1280 x 720 screen
// surface with guard bytes around its pixels, and reading pixels back.
#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "media/screen.h"
#include "media/sprite.h"

// A sprite of `frames` frames, each a w x h block of one colour, each shown for `delay` ms.
inline Sprite* MakeSolidSprite(int w, int h, Uint8 r, Uint8 g, Uint8 b, int frames = 1,
                               uint16_t delay = 1000) {
    Sprite* sprite = new Sprite();
    sprite->frames = new SDL_Surface*[frames];
    sprite->delays = new uint16_t[frames];
    for (int i = 0; i < frames; ++i) {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF, 0xFF00, 0xFF0000, 0);
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, r, g, b));
        sprite->frames[i] = s;
        sprite->delays[i] = delay;
    }
    sprite->frameCount = static_cast<uint16_t>(frames);
    sprite->width = static_cast<uint16_t>(w);
    sprite->height = static_cast<uint16_t>(h);
    return sprite;
}

// The colour (0xRRGGBB) of a sprite's first pixel in its first frame.
inline uint32_t FirstPixelRgb(Sprite* sprite) {
    SDL_Surface* frame = sprite->frames[0];
    Uint8 r = 0, g = 0, b = 0;
    SDL_LockSurface(frame);
    Uint32 pixel = 0;
    std::memcpy(&pixel, frame->pixels, 4);
    SDL_UnlockSurface(frame);
    SDL_GetRGB(pixel, frame->format, &r, &g, &b);
    return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
}

// A screen surface over our own memory: guard bytes before and after the pixels and at the
// end of every row, so a test can tell that nothing was drawn outside the picture.
class GuardedScreen {
public:
    static constexpr uint8_t kGuard = 0xA5;
    static constexpr int kSlack = 4096;

    GuardedScreen(int w, int h) : w_(w), h_(h), pitch_(w * 4 + 64) {
        memory_.assign(static_cast<size_t>(pitch_) * h + 2 * kSlack, kGuard);
        for (int y = 0; y < h; ++y) std::memset(Row(y), 0, static_cast<size_t>(w) * 4);
        surface_ = SDL_CreateRGBSurfaceFrom(memory_.data() + kSlack, w, h, 32, pitch_, 0xFF, 0xFF00,
                                            0xFF0000, 0);
        saved_ = ScreenSurface;
        ScreenSurface = surface_;
    }
    ~GuardedScreen() {
        ScreenSurface = saved_;
        SDL_FreeSurface(surface_);
    }
    GuardedScreen(const GuardedScreen&) = delete;
    GuardedScreen& operator=(const GuardedScreen&) = delete;

    SDL_Surface* surface() const { return surface_; }

    // Number of guard bytes that were overwritten.
    size_t DamagedGuards() const {
        size_t damaged = 0;
        for (int i = 0; i < kSlack; ++i) {
            damaged += memory_[static_cast<size_t>(i)] != kGuard;
            damaged += memory_[memory_.size() - 1 - static_cast<size_t>(i)] != kGuard;
        }
        for (int y = 0; y < h_; ++y) {
            const uint8_t* row = memory_.data() + kSlack + static_cast<size_t>(y) * pitch_;
            for (int x = w_ * 4; x < pitch_; ++x) damaged += row[x] != kGuard;
        }
        return damaged;
    }

    uint32_t Rgb(int x, int y) const {
        uint32_t pixel = 0;
        std::memcpy(&pixel, memory_.data() + kSlack + static_cast<size_t>(y) * pitch_ + x * 4, 4);
        Uint8 r, g, b;
        SDL_GetRGB(pixel, surface_->format, &r, &g, &b);
        return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
    }

    // Bounding box of the pixels of one colour; false when there are none.
    bool FindColour(uint32_t rgb, SDL_Rect* box) const {
        int x0 = w_, y0 = h_, x1 = -1, y1 = -1;
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                if (Rgb(x, y) == rgb) {
                    x0 = std::min(x0, x);
                    y0 = std::min(y0, y);
                    x1 = std::max(x1, x);
                    y1 = std::max(y1, y);
                }
        if (x1 < 0) return false;
        box->x = static_cast<Sint16>(x0);
        box->y = static_cast<Sint16>(y0);
        box->w = static_cast<Uint16>(x1 - x0 + 1);
        box->h = static_cast<Uint16>(y1 - y0 + 1);
        return true;
    }

private:
    uint8_t* Row(int y) { return memory_.data() + kSlack + static_cast<size_t>(y) * pitch_; }

    int w_;
    int h_;
    int pitch_;
    std::vector<uint8_t> memory_;
    SDL_Surface* surface_ = nullptr;
    SDL_Surface* saved_ = nullptr;
};

// Keeps SDL's video layer up for a test (the present needs it); shuts it down again only
// when the test started it.
class ScopedVideo {
public:
    ScopedVideo() : own_(SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        if (own_) ok_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    ~ScopedVideo() {
        if (own_ && ok_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    bool ok() const { return ok_; }

private:
    bool own_;
    bool ok_ = true;
};

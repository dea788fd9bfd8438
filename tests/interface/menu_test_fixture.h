#pragma once
// A fixture for the menu screens and the message box: a real (headless) video surface as the
// screen, the assembled game folder's data tree mounted, the game font open, sound effects on,
// the user folder redirected to a temporary folder, and the input layer ready for a script on
// the fixed frame clock.
#include <gtest/gtest.h>
#include <physfs.h>

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "core/command_state.h"
#include "core/input_log.h"
#include "media/screen.h"
#include "interface/layout.h"
#include "media/font.h"
#include "media/sound.h"
#include "platform/vfs.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

inline uint32_t MenuPixelRgb(SDL_Surface* s, int x, int y) {
    Uint32 pixel = 0;
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
    std::memcpy(&pixel, p, s->format->BytesPerPixel);
    Uint8 r, g, b;
    SDL_GetRGB(pixel, s->format, &r, &g, &b);
    return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
}

// The number of pixels of the w x h area at (ax, ay) of `a` that differ from the same-sized
// area at (bx, by) of `b` (compared as RGB).
inline int CountDifferentPixels(SDL_Surface* a, int ax, int ay, SDL_Surface* b, int bx, int by, int w, int h) {
    int differing = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) differing += MenuPixelRgb(a, ax + x, ay + y) != MenuPixelRgb(b, bx + x, by + y) ? 1 : 0;
    return differing;
}


class MenuScreenTest : public testing::Test {
protected:
    void SetUp() override {
        const std::string root = VAULTMERE_GAME_ROOT;
        cwd_.reset(new ScopedWorkingDir(root));
        if (!cwd_->ok()) GTEST_SKIP() << "no assembled game folder at " << root;
        userEnv_.reset(new ScopedEnv("VAULTMERE_USER_DIR", user_.path().c_str()));
        ownVideo_ = SDL_WasInit(SDL_INIT_VIDEO) == 0;
        if (ownVideo_) {
            ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        }
        savedScreen_ = ScreenSurface;
        UseScreen(1280, 720);
        physfsWasInit_ = PHYSFS_isInit() != 0;
        if (physfsWasInit_) PHYSFS_deinit();
        MountDataTree();
        testing::internal::CaptureStdout();
        const bool fonts = LoadFonts();
        const std::string out = testing::internal::GetCapturedStdout();
        ASSERT_TRUE(fonts) << out;
        savedSplash_ = CmdLine.splashShown;
        CmdLine.splashShown = true;
        savedSound_ = SoundEnabled;
        SoundEnabled = 1;
        ResetInputLog();
    }

    void TearDown() override {
        ResetInputLog();
        if (cwd_ && cwd_->ok()) {
            FreeFonts();
            PHYSFS_deinit();
            if (physfsWasInit_) PHYSFS_init(nullptr);
            CmdLine.splashShown = savedSplash_;
            SoundEnabled = savedSound_;
            ScreenSurface = savedScreen_;
            Layout = ScreenLayoutState();
            if (ownVideo_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
    }

    // Makes a w x h video surface the screen and lays the screen out for it.
    void UseScreen(int w, int h) {
        ScreenSurface = SDL_SetVideoMode(w, h, 32, SDL_SWSURFACE);
        ASSERT_NE(ScreenSurface, nullptr) << SDL_GetError();
        SDL_FillRect(ScreenSurface, nullptr, SDL_MapRGB(ScreenSurface->format, 0, 0, 0));
        UpdateScreenLayout();
    }

    // Replays the script on the fixed 16 ms frame clock.
    static void Script(const std::string& text) {
        ResetInputLog();
        SetFixedFrameTime(16);
        ASSERT_TRUE(OpenInputScriptText(text)) << text;
    }

    // A 32-bit copy of the screen-sized picture (for references built in the test).
    static SDL_Surface* NewScreenSized(int w, int h) {
        return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    }

    TempDir user_;
    std::unique_ptr<ScopedWorkingDir> cwd_;
    std::unique_ptr<ScopedEnv> userEnv_;
    SDL_Surface* savedScreen_ = nullptr;
    bool ownVideo_ = false;
    bool physfsWasInit_ = false;
    bool savedSplash_ = false;
    int32_t savedSound_ = 1;
};

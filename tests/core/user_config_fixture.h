#pragma once
// A fresh user folder and start-of-run configuration state for the configuration, mod and
// video-mode tests; everything is put back afterwards.
#include <gtest/gtest.h>
#include <physfs.h>

#include <memory>
#include <string>

#include "core/command_state.h"
#include "core/shell/config.h"
#include "core/key_bindings.h"
#include "core/shell/mods.h"
#include "core/shell/video_modes.h"
#include "media/music.h"
#include "media/sound.h"
#include "platform/platform.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

inline void ResetRunState() {
    CmdLine = CommandLineState();
    ResetConfigToDefaults();
    SoundEnabled = 1;
    MusicFlag = 1;
    SetSFXVolume(100);
    SetMusicVolume(100);
    InitKeyBindings();
    ClearAutoLoot();
    ModList.clear();
    ModsLoaded = 0;
    BuildVideoModeListFrom(nullptr);
}

class UserConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_ = std::make_unique<ScopedEnv>("VAULTMERE_USER_DIR", dir_.path().c_str());
        ResetRunState();
        if (!PHYSFS_isInit()) PHYSFS_init(nullptr);
    }
    void TearDown() override {
        ResetRunState();
        env_.reset();
    }

    // A file in the user folder (which the environment entry points at the temp dir).
    std::string UserFile(const std::string& name) const { return GetUserDataPath() + name; }
    void WriteUserFile(const std::string& name, const std::string& text) const {
        ASSERT_TRUE(MakeFileWithParents(UserFile(name), text)) << name;
    }
    std::string ReadUserFile(const std::string& name) const {
        return ReadWholeFile(UserFile(name));
    }

    TempDir dir_;
    std::unique_ptr<ScopedEnv> env_;
};

// Sets a mode list of `count` modes, all large enough to be listed.
inline void SetModeList(int count) {
    static SDL_Rect rects[8];
    static SDL_Rect* list[9];
    for (int i = 0; i < count && i < 8; ++i) {
        rects[i].x = 0;
        rects[i].y = 0;
        rects[i].w = static_cast<Uint16>(1920 - 64 * i);
        rects[i].h = 1080;
        list[i] = &rects[i];
    }
    list[count < 8 ? count : 8] = nullptr;
    BuildVideoModeListFrom(list);
}

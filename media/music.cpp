// Stand-in: what is still to be built is listed at the top of media/music.h.
#include "media/music.h"

#include <cstdio>

#include "media/sound.h"

#if __has_include("core/command_line.h")
#include "core/command_line.h"
#define VAULTMERE_HAS_CMDLINE 1
#endif

int32_t MusicFlag = 1;
int32_t MusicEnabled = 1;
float MusicGain = 1.0f;

namespace {
std::string currentIntro;
std::string currentLoop;
bool initialised = false;
}  // namespace

void InitMusic() {
    initialised = true;
}

void PlayMusic(const char* intro, const char* loop, int32_t) {
    if (!MusicFlag || !MusicEnabled || intro == nullptr) {
        return;
    }
    currentIntro = intro;
    currentLoop = (loop != nullptr && loop[0] != '\0') ? loop : intro;
}

void PlayMusicOnce(const char* file, int32_t) {
    if (!MusicFlag || !MusicEnabled || file == nullptr) {
        return;
    }
    currentIntro = file;
    currentLoop.clear();
}

void StopMusic() {
    if (!MusicFlag) {
        return;
    }
    currentIntro.clear();
    currentLoop.clear();
}

void SetMusicEnabled(bool enabled) {
    if (!MusicFlag) {
        return;
    }
    MusicEnabled = enabled ? 1 : 0;
}

void SetMusicVolume(int percent) {
    if (!MusicFlag) {
        return;
    }
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
#ifdef VAULTMERE_HAS_CMDLINE
    if (CmdLine.debugFlags & kDebugAudio) {
        printf("setting music volume to %d percent\n", percent);
    }
#endif
    MusicGain = static_cast<float>(percent / 100.0);
}

int GetMusicVolume() {
    if (!MusicFlag) {
        return 0;
    }
    return static_cast<int>(static_cast<double>(MusicGain) * 100.0);
}

void ShutdownAudio() {
    ShutdownSFX();
    currentIntro.clear();
    currentLoop.clear();
    initialised = false;
}

const std::string& CurrentMusicIntro() {
    return currentIntro;
}

const std::string& CurrentMusicLoop() {
    return currentLoop;
}

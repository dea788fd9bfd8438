// Stand-in: what is still to be built is listed at the top of media/sound.h.
#include "media/sound.h"

#include <cstdio>

#if __has_include("core/command_line.h")
#include "core/command_line.h"
#define VAULTMERE_HAS_CMDLINE 1
#endif

int32_t SoundEnabled = 1;
float SoundGain = 1.0f;

namespace {
std::string lastRequested;
}

void LoadSFX() {}

void LoadSoundEffect(const char*, const char*) {}

void PlaySFX(const char* name) {
    if (!SoundEnabled || name == nullptr) {
        return;
    }
    lastRequested = name;
}

void ShutdownSFX() {}

void SetSFXVolume(int percent) {
    if (!SoundEnabled) {
        return;
    }
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
#ifdef VAULTMERE_HAS_CMDLINE
    if (CmdLine.debugFlags & kDebugAudio) {
        printf("setting sound volume to %d percent\n", percent);
    }
#endif
    SoundGain = static_cast<float>(percent / 100.0);
}

int GetSFXVolume() {
    if (!SoundEnabled) {
        return 0;
    }
    return static_cast<int>(static_cast<double>(SoundGain) * 100.0);
}

const std::string& LastRequestedSFX() {
    return lastRequested;
}

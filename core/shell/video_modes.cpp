#include "core/shell/video_modes.h"

#include "core/command_state.h"
#include "core/shell/config.h"

std::vector<VideoMode> VideoModes;
int32_t VideoModeCount = 0;

void BuildVideoModeListFrom(SDL_Rect** modes) {
    VideoModes.clear();
    VideoModeCount = 0;
    if (modes == nullptr || modes == reinterpret_cast<SDL_Rect**>(-1)) return;
    for (int i = 0; modes[i] != nullptr; ++i) {
        const int32_t w = modes[i]->w;
        const int32_t h = modes[i]->h;
        if (w >= kMinVideoModeWidth && h >= kMinVideoModeHeight) {
            VideoModes.push_back(VideoMode{w, h});
        }
    }
    VideoModeCount = static_cast<int32_t>(VideoModes.size());
}

void BuildVideoModeList() {
    // Without an initialised video system SDL_ListModes answers null.
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        BuildVideoModeListFrom(nullptr);
        return;
    }
    BuildVideoModeListFrom(SDL_ListModes(nullptr, SDL_FULLSCREEN));
}

void ValidateResolutionIndex() {
    if (currentResolution < 0 || currentResolution >= VideoModeCount) currentResolution = 0;
}

const VideoMode* ChosenVideoMode() {
    if (currentResolution < 0 || currentResolution >= static_cast<int32_t>(VideoModes.size())) {
        return nullptr;
    }
    return &VideoModes[currentResolution];
}

ScreenSettings GetStartupScreenSettings(bool modeChosen) {
    ScreenSettings s;
    s.width = CmdLine.screenWidth > 0 ? CmdLine.screenWidth : 1280;
    s.height = CmdLine.screenHeight > 0 ? CmdLine.screenHeight : 720;
    if (CmdLine.res1024) {
        s.width = 1024;
        s.height = 768;
    } else if (modeChosen) {
        if (const VideoMode* mode = ChosenVideoMode()) {
            s.width = mode->width;
            s.height = mode->height;
        }
    }
    s.fullScreen = useFullscreen != 0 && !CmdLine.windowForced;
    return s;
}

void ApplyStartupScreenSettings(bool modeChosen) {
    const ScreenSettings s = GetStartupScreenSettings(modeChosen);
    CmdLine.screenWidth = s.width;
    CmdLine.screenHeight = s.height;
    CmdLine.fullScreen = s.fullScreen;
}

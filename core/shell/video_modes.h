#pragma once
// The full-screen video modes offered to the player, and the window the game opens.
#include <SDL.h>

#include <cstdint>
#include <vector>

struct VideoMode {
    int32_t width = 0;
    int32_t height = 0;
};

// The listed modes, in the platform's order, and their count.
extern std::vector<VideoMode> VideoModes;
extern int32_t VideoModeCount;

// Smallest mode that is listed.
constexpr int32_t kMinVideoModeWidth = 1024;
constexpr int32_t kMinVideoModeHeight = 600;

// Asks SDL for the full-screen modes and keeps every one at least 1024 x 600. When SDL
// lists none, accepts any size or is not initialised, the list stays empty.
void BuildVideoModeList();
// The same from a mode array as SDL_ListModes returns it (null, (SDL_Rect**)-1 or a
// null-terminated array).
void BuildVideoModeListFrom(SDL_Rect** modes);

// A "currentResolution" that does not index the mode list (negative, or not below the
// count) becomes 0.
void ValidateResolutionIndex();

// The listed mode that "currentResolution" names, or null when it names none (an empty
// list included).
const VideoMode* ChosenVideoMode();

// The window the game opens at start-up.
struct ScreenSettings {
    int32_t width = 1280;
    int32_t height = 720;
    bool fullScreen = false;
};

// Size: 1024 x 768 with "-res-1024"; otherwise, when the launcher chose a mode
// (`modeChosen`) and the list holds it, that mode; otherwise the command line's size
// (1280 x 720). Full screen: the configuration's "useFullscreen", unless "-w" forces a
// window.
ScreenSettings GetStartupScreenSettings(bool modeChosen);
// Stores GetStartupScreenSettings into the command-line state that the video mode is
// set from (screenWidth, screenHeight, fullScreen).
void ApplyStartupScreenSettings(bool modeChosen);

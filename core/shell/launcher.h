// The start-up launcher's two screens: display and sound choices (640 x 480) and the mod
// screen (800 x 600). The click handling is kept apart from the drawing so that it can be
// driven without a window.
#pragma once

#include <SDL.h>

#include <cstdint>

// What a click on the configuration screen asks for.
enum class LauncherAction { None, Start, Mods, Quit };

struct LauncherState {
    bool pickerOpen = false;
    int32_t pickerTop = 0;   // index of the first mode shown by the open picker
    int32_t dragging = 0;    // 0 none, 1 the music slider, 2 the sound slider
};

// Volume slider geometry: the track starts at x 253 and is this long.
constexpr int32_t kSliderLeft = 253;
constexpr int32_t kSliderLength = 160;
constexpr int32_t kPickerRows = 4;

// A left-button release at (x, y) on the configuration screen.
LauncherAction LauncherRelease(LauncherState& state, int32_t x, int32_t y);
// A left-button press or a drag to (x, y): grabs or moves a volume slider.
void LauncherPress(LauncherState& state, int32_t x, int32_t y, bool motion);

// What a click on the mod screen asks for: 1 start, 0 back, -1 quit, 2 nothing to leave for.
constexpr int32_t kModScreenStay = 2;
constexpr int32_t kModRows = 6;
// Rows of the mod screen: at (kModRowLeft, kModRowTop + 64 * i), kModRowWidth x 60.
constexpr int32_t kModRowLeft = 50;
constexpr int32_t kModRowTop = 100;
constexpr int32_t kModRowWidth = 700;
int32_t ModScreenRelease(int32_t& scroll, int32_t x, int32_t y);

// True for the release of a mouse button that clicks on the mod screen and the publisher: any
// button, but not a turn of the wheel (buttons 4 and 5), which must not pick list rows.
bool IsModScreenClick(const SDL_Event& event);

// True when no one can answer a window: a headless video driver without an input script.
bool LauncherHasNoInput();

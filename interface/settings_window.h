#pragma once
// The in-game settings window: volume sliders, five on/off settings, the key-binding and
// auto-pickup windows, and the ways out of a game (save and quit, save and continue, just
// quit for a permadeath hero, leave a tutorial). Modal over the live play screen.
#include <SDL.h>

#include <cstdint>
#include <string>

// Slider geometry: a 290-pixel track; an offset below 10 counts as volume 0.
constexpr int32_t kSliderTrackLength = 290;
constexpr int32_t kSliderDeadZone = 10;
constexpr int32_t kSettingsPanelWidth = 630;

// Volume (0..100) from a thumb offset (0..290), truncated, and back.
int32_t SliderVolumeFromOffset(int32_t offset);
int32_t SliderOffsetFromVolume(int32_t volume);

// The five settings the window flips, in drawing order.
constexpr int32_t kSettingsToggleCount = 5;
struct SettingsToggle {
    const char* key;       // configuration key
    int32_t* value;        // the flag itself
    int32_t x, y;          // check mark and the click box's top-left corner (box 18 x 18)
};
const SettingsToggle* GetSettingsToggles();
// The toggle whose click box holds the point (strictly inside, relative to the panel);
// -1 when none.
int32_t SettingsToggleAt(int32_t rx, int32_t ry);

// What the window shows in which game: the exit buttons depend on the hero's permadeath
// flag and on whether a tutorial runs.
enum class SettingsExitKind : int32_t {
    SaveAndQuit,      // first button without permadeath
    JustQuit,         // first button with permadeath
    SaveAndContinue,  // second button without permadeath
    PermadeathSaveAndQuit,  // second button with permadeath
    LeaveTutorial,    // second button in a tutorial
};
struct SettingsExitButtons {
    bool firstShown;
    SettingsExitKind first;
    SettingsExitKind second;
    const char* firstArt;   // art base, "0.png" / "1.png" appended
    const char* secondArt;
    int32_t secondX;        // relative to the panel
    int32_t returnX;
};
SettingsExitButtons ChooseSettingsExitButtons(bool permadeath, bool tutorial);

// The thumbnail of the hero's surroundings kept for saving: 360 x 240 pixels of the screen
// around the hero's drawn position. Made on first use and kept for the process; copied
// from the current screen surface.
constexpr int32_t kSaveThumbnailWidth = 360;
constexpr int32_t kSaveThumbnailHeight = 240;
void CaptureSaveThumbnail();
// The hero's drawn position on screen (square relative to the camera plus its offsets).
SDL_Rect SaveThumbnailSourceRect();

// Runs the window: 0 to go back to the game, 1 when the play loop must end.
int32_t RunSettingsWindow();

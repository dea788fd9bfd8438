#pragma once
// The title screen and main menu: the title picture with the game's lettering and version,
// the opening splash (once per process), and a panel of six picture buttons.
//
// MainMenu itself is declared in interface/screens.h with the other full-screen screens; this
// header holds its layout and the title-picture helpers the quit screen shares.
#include <SDL.h>

#include <cstdint>

// The choice a window-close request (or a click on the panel below the last button) yields:
// the main loop shows the menu again.
constexpr int32_t kMenuShowAgain = 6;

// Where the main menu's parts lie for a screen size.
struct MainMenuLayout {
    int32_t menuX = 0;   // panel's top-left corner
    int32_t menuY = 0;
    int32_t buttonX = 0; // buttons' left edge
    // Top edge of button row r (0..5).
    int32_t ButtonTop(int32_t row) const { return menuY + 64 + 44 * row; }
};
MainMenuLayout ComputeMainMenuLayout(int32_t screenWidth, int32_t screenHeight);

// The row under the pointer for a panel of panelWidth by panelHeight: -1 outside the panel,
// 0..5 for the buttons (the strip above the first button counts as row 0), 6 for the part of
// the panel below the last button.
int32_t MainMenuHoverRow(const MainMenuLayout& layout, int32_t panelWidth, int32_t panelHeight,
                         int32_t x, int32_t y);

// The title picture: the expansion's splash when the data tree holds it, else the base game's,
// cut to its screen-sized middle (the part DrawTitlePictureMiddle draws onto a screen-sized
// surface). A screen-sized stand-in (with a diagnostic) when it cannot be read. The caller
// owns it.
SDL_Surface* LoadTitlePicture();
// Starts decoding the title picture for a screen of this size on a worker thread, so that
// the first LoadTitlePicture finds it ready (it decodes afresh when the screen size or the
// data tree differs by then). DropTitlePictureLoad waits for that decoding and frees what it
// made, if LoadTitlePicture has not taken it.
void StartTitlePictureLoad(int32_t screenWidth, int32_t screenHeight);
void DropTitlePictureLoad();
// Draws the screen-sized middle of the title picture onto the target at (0, 0); with an area,
// only that rectangle of the screen (the picture's part under it) is drawn.
void DrawTitlePictureMiddle(SDL_Surface* picture, SDL_Surface* target, const SDL_Rect* area = nullptr);

// The version line drawn in the bottom-left corner ("1.0.10 ").
const char* MainMenuVersionText();

#pragma once
// Where the play screen's parts lie: the layout globals computed from the screen size
// and the large-interface flag, and the camera (view origin square and pixel offsets)
// that the frame drawing recomputes from the hero every frame.
// The inventory pictures are loaded with the HUD images; the minimap keeps its backgrounds
// itself (minimapImages stays unused).
#include <SDL.h>

#include <cstdint>

#include "levels/map_view.h"

struct ScreenLayoutState {
    int32_t largeInterface = 0;   // 0 or 1
    int32_t hideInterface = 0;    // 0 or 1
    // The camera and the tile size.
    MapView view;
    int32_t screenWidth = 1280;
    int32_t screenHeight = 720;
    int32_t viewColumns = 20;     // screen width / tile width
    int32_t halfViewColumns = 10;
    int32_t halfScreenWidth = 640;
    int32_t halfScreenHeight = 360;
    // Left edge of the bottom bar and of every HUD element on it: half the screen width
    // less 512 (less 800 in the large interface). May be negative.
    int32_t interfaceX = 128;
    int32_t bottomBarWidth = 1024;
    SDL_Surface* bottomBar = nullptr;
    SDL_Surface* bottomBarLarge = nullptr;
    SDL_Surface* inventoryImage = nullptr;
    SDL_Surface* inventoryImageLarge = nullptr;
    SDL_Surface* minimapImages[4] = {};
    int32_t minimapSize = 0;
    int32_t inventoryOpen = 0;    // the inventory window
    int32_t equipmentOpen = 0;    // the character panel
    // Top-left corners of the inventory window (moved by dragging, y never below 0) and of
    // the character panel.
    int16_t inventoryX = 750;
    int16_t inventoryY = 20;
    int16_t equipmentX = 100;
    int16_t equipmentY = 100;
    int32_t abilityPickerOpen = 0;
    int32_t abilityPickerSlot = 0;
    int32_t menuBarHover = -1;    // -1: nothing under the pointer
};

extern ScreenLayoutState Layout;

// The bottom bar's width when its image is not loaded.
constexpr int32_t kDefaultBottomBarWidth = 1024;
constexpr int32_t kDefaultBottomBarWidthLarge = 1600;

// Recomputes the layout from the screen surface's size (the configured size while there
// is no screen surface) and the large-interface flag; called when the video mode is set
// and whenever the large-interface flag changes.
void UpdateScreenLayout();
// The bottom-bar picture of the current interface size (null when not loaded).
SDL_Surface* CurrentBottomBarImage();

// The top-left corner of a background of size w x h centred on the screen.
void CentredCorner(int32_t w, int32_t h, int32_t* x, int32_t* y);
// The same for a window's panel picture, with the window's own size when the picture is
// missing.
void CentredPanelCorner(const SDL_Surface* panel, int32_t fallbackW, int32_t fallbackH, int32_t* x, int32_t* y);

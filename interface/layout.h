#pragma once
// Where the play screen's parts lie: the layout globals computed from the screen size
// and the large-interface flag.
//
// Stand-in: the sizes and origins are computed; the bottom-bar, inventory and minimap
// images are not loaded yet (they stay null and the bar is taken as 1024, or 2048 wide
// in the large interface). Still to be built here: loading those images and measuring
// the bar from them, the window positions of the inventory and equipment windows.
#include <SDL.h>

#include <cstdint>

struct ScreenLayoutState {
    int32_t largeInterface = 0;   // 0 or 1
    int32_t hideInterface = 0;    // 0 or 1
    int32_t tileWidth = 64;
    int32_t tileHeight = 64;
    int32_t viewPixelX = 0;       // view pixel offsets
    int32_t viewPixelY = 0;
    int32_t viewOriginX = 0;      // view origin square
    int32_t viewOriginY = 0;
    int32_t screenWidth = 1280;
    int32_t screenHeight = 720;
    int32_t interfaceX = 0;       // left edge of the bottom bar
    int32_t bottomBarWidth = 1024;
    SDL_Surface* bottomBar = nullptr;
    SDL_Surface* bottomBarLarge = nullptr;
    SDL_Surface* inventoryImage = nullptr;
    SDL_Surface* inventoryImageLarge = nullptr;
    SDL_Surface* minimapImages[4] = {};
    int32_t minimapSize = 0;
    int32_t inventoryOpen = 0;
    int32_t equipmentOpen = 0;
    int32_t abilityPickerOpen = 0;
    int32_t abilityPickerSlot = 0;
    int32_t menuBarHover = -1;    // -1: nothing under the pointer
};

extern ScreenLayoutState Layout;

// The bottom bar's width when its image is not loaded.
constexpr int32_t kDefaultBottomBarWidth = 1024;

// Recomputes the layout from the screen surface's size (the configured size while there
// is no screen surface) and the large-interface flag.
void UpdateScreenLayout();

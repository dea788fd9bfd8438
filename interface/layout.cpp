#include "interface/layout.h"

#include "core/command_state.h"
#include "media/screen.h"
#include "interface/hud_surfaces.h"
#include "interface/ui_services.h"

ScreenLayoutState Layout;

SDL_Surface* CurrentBottomBarImage() {
    SDL_Surface* own = Layout.largeInterface ? Layout.bottomBarLarge : Layout.bottomBar;
    if (own != nullptr) return own;
    return Layout.largeInterface ? Hud.bottomBar2x : Hud.bottomBar;
}

void UpdateScreenLayout() {
    if (ScreenSurface != nullptr) {
        Layout.screenWidth = ScreenSurface->w;
        Layout.screenHeight = ScreenSurface->h;
    } else {
        Layout.screenWidth = CmdLine.screenWidth;
        Layout.screenHeight = CmdLine.screenHeight;
    }
    Layout.largeInterface = Layout.largeInterface ? 1 : 0;
    Layout.view.tileWidth = 64;
    Layout.view.tileHeight = 64;
    Layout.viewColumns = Layout.screenWidth / Layout.view.tileWidth;
    Layout.halfViewColumns = Layout.viewColumns / 2;
    Layout.halfScreenWidth = Layout.screenWidth / 2;
    Layout.halfScreenHeight = Layout.screenHeight / 2;
    Layout.interfaceX = Layout.halfScreenWidth - (Layout.largeInterface ? 800 : 512);
    SDL_Surface* bar = CurrentBottomBarImage();
    if (bar != nullptr) {
        Layout.bottomBarWidth = bar->w;
    } else {
        Layout.bottomBarWidth =
            Layout.largeInterface ? kDefaultBottomBarWidthLarge : kDefaultBottomBarWidth;
    }
}

const MapView& PlayScreenCamera() { return Layout.view; }

void CentredCorner(int32_t w, int32_t h, int32_t* x, int32_t* y) {
    *x = Layout.screenWidth / 2 - w / 2;
    *y = Layout.screenHeight / 2 - h / 2;
}

void CentredPanelCorner(const SDL_Surface* panel, int32_t fallbackW, int32_t fallbackH, int32_t* x, int32_t* y) {
    CentredCorner(panel != nullptr ? panel->w : fallbackW, panel != nullptr ? panel->h : fallbackH, x, y);
}

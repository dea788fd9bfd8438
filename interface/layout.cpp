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

// Stand-in: what is still to be built is listed at the top of interface/layout.h.
#include "interface/layout.h"

#include "core/command_line.h"
#include "core/startup.h"

ScreenLayoutState Layout;

void UpdateScreenLayout() {
    if (ScreenSurface != nullptr) {
        Layout.screenWidth = ScreenSurface->w;
        Layout.screenHeight = ScreenSurface->h;
    } else {
        Layout.screenWidth = CmdLine.screenWidth;
        Layout.screenHeight = CmdLine.screenHeight;
    }
    Layout.largeInterface = Layout.largeInterface ? 1 : 0;
    SDL_Surface* bar = Layout.largeInterface ? Layout.bottomBarLarge : Layout.bottomBar;
    if (bar != nullptr) {
        Layout.bottomBarWidth = bar->w;
    } else {
        Layout.bottomBarWidth = kDefaultBottomBarWidth * (Layout.largeInterface ? 2 : 1);
    }
    Layout.interfaceX = (Layout.screenWidth - Layout.bottomBarWidth) / 2;
    if (Layout.interfaceX < 0) {
        Layout.interfaceX = 0;
    }
    Layout.tileWidth = 64;
    Layout.tileHeight = 64;
}

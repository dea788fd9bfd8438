// The screen layout follows the screen surface: the bottom bar is centred, 1024 wide (1600 in
// the large interface), and may reach past the screen's left edge.
#include "interface/layout.h"

#include <gtest/gtest.h>

#include "media/screen.h"

namespace {

class LayoutTest : public testing::Test {
protected:
    void TearDown() override {
        ScreenSurface = saved_;
        Layout = ScreenLayoutState();
    }
    SDL_Surface* saved_ = ScreenSurface;
};

TEST_F(LayoutTest, SizesAndInterfaceOriginComeFromTheScreen) {
    struct Case {
        int w, h, large, interfaceX;
    };
    const Case cases[] = {
        {1280, 720, 0, 128}, {1024, 768, 0, 0}, {2560, 1440, 1, 480}, {1280, 720, 1, -160},
    };
    for (const Case& c : cases) {
        SDL_Surface* screen = SDL_CreateRGBSurface(0, c.w, c.h, 32, 0xFF, 0xFF00, 0xFF0000, 0);
        ASSERT_NE(screen, nullptr);
        ScreenSurface = screen;
        Layout.largeInterface = c.large;
        UpdateScreenLayout();
        EXPECT_EQ(Layout.screenWidth, c.w);
        EXPECT_EQ(Layout.screenHeight, c.h);
        EXPECT_EQ(Layout.interfaceX, c.interfaceX) << c.w << "x" << c.h << " large " << c.large;
        EXPECT_EQ(Layout.view.tileWidth, 64);
        EXPECT_EQ(Layout.view.tileHeight, 64);
        ScreenSurface = saved_;
        SDL_FreeSurface(screen);
    }
}

}  // namespace

// The menu-screen frame: copying queued rectangles, the software pointer, the standard backdrop
// and the stand-in pictures for missing art.
#include "media/screen.h"
#include "interface/menu_frame.h"

#include <gtest/gtest.h>

#include <string>

#include "interface/menu_test_fixture.h"
#include "media/image.h"
#include "media/sprite.h"

namespace {

class MenuFrameTest : public MenuScreenTest {
protected:
    void TearDown() override {
        FreeMenuBackgrounds();
        CursorSprite = savedCursor_;
        MenuScreenTest::TearDown();
    }
    void PaintBackground(Uint8 r, Uint8 g, Uint8 b) {
        SDL_FillRect(MenuBackground, nullptr, SDL_MapRGB(MenuBackground->format, r, g, b));
    }
    Sprite* savedCursor_ = CursorSprite;
};

TEST_F(MenuFrameTest, QueuedRectanglesAreCopiedForTheCountedFrames) {
    Script("wait 100000\n");  // the pointer stays at (0, 0)
    MenuBackground = CreateScreenSizedSurface();
    ASSERT_NE(MenuBackground, nullptr);
    ASSERT_EQ(MenuBackground->w, 1280);
    ASSERT_EQ(MenuBackground->h, 720);
    const SDL_Rect area = {200, 100, 50, 40};

    // Counter 0: copied once.
    PaintBackground(200, 0, 0);
    QueueMenuRect(area);
    PresentMenuFrame();
    EXPECT_EQ(MenuPixelRgb(ScreenSurface, 210, 110), 0xC80000u);
    EXPECT_EQ(MenuPixelRgb(ScreenSurface, 260, 110), 0x000000u) << "only the queued rectangle";
    EXPECT_TRUE(MenuDirtyRects.empty());
    PaintBackground(0, 200, 0);
    PresentMenuFrame();
    EXPECT_EQ(MenuPixelRgb(ScreenSurface, 210, 110), 0xC80000u);

    // Counter 2: copied at two frame ends, then the queue is empty.
    QueueMenuRect(area);
    MenuDirtyFrames = 2;
    PresentMenuFrame();
    EXPECT_EQ(MenuPixelRgb(ScreenSurface, 210, 110), 0x00C800u);
    PaintBackground(0, 0, 200);
    PresentMenuFrame();
    EXPECT_EQ(MenuPixelRgb(ScreenSurface, 210, 110), 0x0000C8u);
    EXPECT_TRUE(MenuDirtyRects.empty());
    EXPECT_EQ(MenuDirtyFrames, 0);
    PaintBackground(200, 200, 200);
    PresentMenuFrame();
    EXPECT_EQ(MenuPixelRgb(ScreenSurface, 210, 110), 0x0000C8u);
}

TEST_F(MenuFrameTest, PointerIsDrawnWhereTheMouseIsAndErasedBehindIt) {
    Sprite pointer;
    ASSERT_TRUE(pointer.Load("ui/cursor.spr", nullptr, -1, 0, 0));
    CursorSprite = &pointer;
    ResetMenuPointerTrail();
    MenuBackground = CreateScreenSizedSurface();
    PaintBackground(30, 60, 90);
    CopyMenuBackgroundToScreen();
    const uint32_t plain = 0x1E3C5Au;
    auto inkAt = [&](int x, int y) {
        int ink = 0;
        for (int j = 0; j < CursorSprite->height; ++j)
            for (int i = 0; i < CursorSprite->width; ++i) ink += MenuPixelRgb(ScreenSurface, x + i, y + j) != plain;
        return ink;
    };
    Script("move 300 200\nwait 40\nmove 600 400\nwait 40\nmove 900 500\nwait 100000\n");
    SDL_Event e;
    while (LoggedPollEvent(&e)) {
    }
    PresentMenuFrame();
    EXPECT_GT(inkAt(300, 200), 0);
    // Two frames later the pointer is at (600, 400) and nothing is left at (300, 200).
    for (int i = 0; i < 3; ++i) {
        PresentMenuFrame();
        while (LoggedPollEvent(&e)) {
        }
    }
    EXPECT_GT(inkAt(600, 400), 0);
    EXPECT_EQ(inkAt(300, 200), 0);
    // The previous frame's pointer is gone as well as the older one.
    for (int i = 0; i < 4; ++i) {
        PresentMenuFrame();
        while (LoggedPollEvent(&e)) {
        }
    }
    PresentMenuFrame();
    EXPECT_GT(inkAt(900, 500), 0);
    EXPECT_EQ(inkAt(600, 400), 0);
    CursorSprite = savedCursor_;
}

TEST_F(MenuFrameTest, BackdropTilesStoneFramesThePictureAndTitlesTheTop) {
    SDL_Surface* backdrop = DrawMenuBackground("ui/dialog_alert.png", "ui/menus/main_titletext.png");
    ASSERT_NE(backdrop, nullptr);
    EXPECT_EQ(backdrop->w, 1280);
    EXPECT_EQ(backdrop->h, 720);
    SDL_Surface* stone = LoadImage("ui/menus/bg_stonetile.png");
    SDL_Surface* topBar = LoadImage("ui/menus/topbar_horz_tile_bg.png");
    SDL_Surface* picture = LoadImage("ui/dialog_alert.png");
    ASSERT_TRUE(stone && topBar && picture);
    // Stone on the 256-pixel grid, down to the last partial tile.
    EXPECT_EQ(CountDifferentPixels(backdrop, 0, 600, stone, 0, 600 - 512, 40, 40), 0);
    EXPECT_EQ(CountDifferentPixels(backdrop, 1024 + 200, 512 + 180, stone, 200, 180, 50, 20), 0);
    // The top bar along the top, beside the title, as it shows over the stone.
    SDL_Surface* barOverStone = NewScreenSized(topBar->w, topBar->h);
    SDL_BlitSurface(stone, nullptr, barOverStone, nullptr);
    SDL_BlitSurface(topBar, nullptr, barOverStone, nullptr);
    EXPECT_EQ(CountDifferentPixels(backdrop, 1280 - 40, 0, barOverStone, topBar->w - 40 - (1280 % topBar->w), 0, 40, topBar->h), 0)
        << "the bar repeats every " << topBar->w << " pixels";
    // The picture centred (its middle is opaque parchment).
    EXPECT_EQ(CountDifferentPixels(backdrop, 640 - 50, 360 - 30, picture, picture->w / 2 - 50, picture->h / 2 - 30, 100, 60), 0);
    SDL_Surface* titled = MakeTitledMenuBackground("ui/menus/main_titletext.png");
    ASSERT_NE(titled, nullptr);
    SDL_BlitSurface(topBar, nullptr, barOverStone, nullptr);  // the titled backdrop draws the bar twice
    EXPECT_EQ(CountDifferentPixels(titled, 0, 0, barOverStone, 0, 0, 40, topBar->h), 0);
    EXPECT_GT(CountDifferentPixels(backdrop, 640 - 50, 360 - 30, titled, 640 - 50, 360 - 30, 100, 60), 0);
    for (SDL_Surface* s : {backdrop, stone, topBar, picture, titled, barOverStone}) SDL_FreeSurface(s);
}

TEST_F(MenuFrameTest, MissingPictureIsReportedAndStandsInWhenASizeIsGiven) {
    testing::internal::CaptureStdout();
    SDL_Surface* none = LoadMenuPicture("ui/menus/no_such_picture.png");
    SDL_Surface* standIn = LoadMenuPicture("ui/menus/no_such_button.png", 120, 32, "OK");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(none, nullptr);
    ASSERT_NE(standIn, nullptr);
    EXPECT_EQ(standIn->w, 120);
    EXPECT_EQ(standIn->h, 32);
    EXPECT_NE(out.find("Menu picture ui/menus/no_such_picture.png could not be read"), std::string::npos) << out;
    EXPECT_NE(out.find("ui/menus/no_such_button.png"), std::string::npos) << out;
    SDL_FreeSurface(standIn);
}

}  // namespace

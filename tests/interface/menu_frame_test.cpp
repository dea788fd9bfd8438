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

// Menu pictures are kept in the screen's format without alpha. Both ways of making that copy
// must give exactly what SDL's own converter gives (pixels, format and alpha settings), for
// every kind of picture and screen byte order, and leave the picture itself alone.
TEST_F(MenuFrameTest, ScreenFormatCopiesAreWhatSdlsConverterMakes) {
    struct Kind {
        const char* name;
        Uint32 r, g, b, a;
        Uint32 alphaFlags;  // for SDL_SetAlpha; ~0u leaves the surface as it was made
        Uint8 alpha;
        bool colourKey;
    };
    const Kind kinds[] = {
        {"RGBA as loaded", 0xFF, 0xFF00, 0xFF0000, 0xFF000000, ~0u, 255, false},
        {"ARGB", 0xFF0000, 0xFF00, 0xFF, 0xFF000000, ~0u, 255, false},
        {"RGBA, alpha blending off", 0xFF, 0xFF00, 0xFF0000, 0xFF000000, 0, 255, false},
        {"RGBA, surface alpha 128, RLE allowed", 0xFF, 0xFF00, 0xFF0000, 0xFF000000, SDL_SRCALPHA | SDL_RLEACCEL, 128, false},
        {"RGBA with a colour key", 0xFF, 0xFF00, 0xFF0000, 0xFF000000, ~0u, 255, true},
        {"RGB without alpha", 0xFF0000, 0xFF00, 0xFF, 0, ~0u, 255, false},
    };
    const Uint32 screens[][3] = {{0xFF0000, 0xFF00, 0xFF}, {0xFF, 0xFF00, 0xFF0000}, {0xFF000000, 0xFF0000, 0xFF00}};
    auto make = [](const Kind& k) {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 37, 5, 32, k.r, k.g, k.b, k.a);
        uint32_t seed = 99;
        for (int y = 0; y < s->h; ++y) {
            for (int x = 0; x < s->w; ++x) {
                seed = seed * 1664525u + 1013904223u;
                std::memcpy(static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 4, &seed, 4);
            }
        }
        if (k.alphaFlags != ~0u) SDL_SetAlpha(s, k.alphaFlags, k.alpha);
        if (k.colourKey) SDL_SetColorKey(s, SDL_SRCCOLORKEY, 0x12345678);
        return s;
    };
    auto sameRows = [](SDL_Surface* a, SDL_Surface* b) {
        for (int y = 0; y < a->h; ++y)
            if (std::memcmp(static_cast<Uint8*>(a->pixels) + y * a->pitch, static_cast<Uint8*>(b->pixels) + y * b->pitch,
                            static_cast<size_t>(a->w) * 4) != 0)
                return false;
        return true;
    };
    SDL_Surface* const realScreen = ScreenSurface;
    for (const auto& masks : screens) {
        SDL_Surface* screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 32, masks[0], masks[1], masks[2], 0);
        ScreenSurface = screen;
        SDL_PixelFormat opaque = *screen->format;
        opaque.Amask = 0;
        opaque.Ashift = 0;
        opaque.Aloss = 8;
        opaque.alpha = SDL_ALPHA_OPAQUE;
        opaque.palette = nullptr;
        for (const Kind& kind : kinds) {
            const std::string label = std::string(kind.name) + " for screen R mask " + std::to_string(masks[0]);
            SDL_Surface* picture = make(kind);
            SDL_Surface* want = SDL_ConvertSurface(picture, &opaque, SDL_SWSURFACE);
            SDL_Surface* copy = ConvertToScreenFormat(picture);
            SDL_Surface* replaced = make(kind);
            ReplaceByScreenFormat(replaced);
            ASSERT_TRUE(want && copy && replaced) << label;
            SDL_Surface* untouched = make(kind);
            EXPECT_TRUE(sameRows(picture, untouched)) << label;
            EXPECT_EQ(picture->flags, untouched->flags) << label;
            for (SDL_Surface* got : {copy, replaced}) {
                EXPECT_EQ(got->pitch, want->pitch) << label;
                EXPECT_EQ(got->flags, want->flags) << label;
                EXPECT_EQ(got->format->Rmask, want->format->Rmask) << label;
                EXPECT_EQ(got->format->Gmask, want->format->Gmask) << label;
                EXPECT_EQ(got->format->Bmask, want->format->Bmask) << label;
                EXPECT_EQ(got->format->Amask, want->format->Amask) << label;
                EXPECT_EQ(got->format->alpha, want->format->alpha) << label;
                EXPECT_EQ(got->format->colorkey, want->format->colorkey) << label;
                EXPECT_TRUE(sameRows(got, want)) << label;
            }
            for (SDL_Surface* s : {picture, want, copy, replaced, untouched}) SDL_FreeSurface(s);
        }
        ScreenSurface = realScreen;
        SDL_FreeSurface(screen);
    }
    // A screen-sized surface is black, in the screen's format without alpha.
    SDL_Surface* blank = CreateScreenSizedSurface();
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank->w, ScreenSurface->w);
    EXPECT_EQ(blank->format->Rmask, ScreenSurface->format->Rmask);
    EXPECT_EQ(blank->format->Bmask, ScreenSurface->format->Bmask);
    EXPECT_EQ(blank->format->Amask, 0u);
    EXPECT_EQ(CountDifferentPixels(blank, 0, 0, ScreenSurface, 0, 0, 64, 64), 0) << "the fixture's screen is black";
    SDL_FreeSurface(blank);
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

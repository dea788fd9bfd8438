// Screenshots: numbering in the user folder and the picture written.
#include "interface/screenshot.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <string>

#include "media/screen.h"
#include "platform/platform.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

class ScreenshotTest : public testing::Test {
protected:
    void SetUp() override {
        surface_ = SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 48, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
        ASSERT_NE(surface_, nullptr);
        SDL_FillRect(surface_, nullptr, SDL_MapRGB(surface_->format, 10, 20, 30));
        SDL_Rect corner = {0, 0, 8, 8};
        SDL_FillRect(surface_, &corner, SDL_MapRGB(surface_->format, 250, 200, 100));
    }
    void TearDown() override {
        ScreenSurface = saved_;
        if (surface_) SDL_FreeSurface(surface_);
    }

    TempDir user_;
    ScopedEnv env_{"VAULTMERE_USER_DIR", user_.path().c_str()};
    SDL_Surface* surface_ = nullptr;
    SDL_Surface* saved_ = ScreenSurface;
};

TEST_F(ScreenshotTest, WritesTheScreenAsTheFirstFreeNumber) {
    ScreenSurface = surface_;
    EXPECT_EQ(SaveScreenshot(), user_.file("bitmap_0.bmp"));
    SDL_Surface* back = SDL_LoadBMP(user_.file("bitmap_0.bmp").c_str());
    ASSERT_NE(back, nullptr) << SDL_GetError();
    EXPECT_EQ(back->w, 64);
    EXPECT_EQ(back->h, 48);
    Uint8 r, g, b;
    auto rgbAt = [&](int x, int y) {
        Uint32 pixel = 0;
        const Uint8* p = static_cast<const Uint8*>(back->pixels) + y * back->pitch + x * back->format->BytesPerPixel;
        std::memcpy(&pixel, p, back->format->BytesPerPixel);
        SDL_GetRGB(pixel, back->format, &r, &g, &b);
        return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
    };
    EXPECT_EQ(rgbAt(2, 2), 0xFAC864u);
    EXPECT_EQ(rgbAt(40, 40), 0x0A141Eu);
    SDL_FreeSurface(back);

    // Numbers 1 to 4 taken (0 is from above): the next one is 5, and 5 is not overwritten.
    for (int n = 1; n <= 4; ++n) WriteWholeFile(user_.file("bitmap_" + std::to_string(n) + ".bmp"), "taken");
    EXPECT_EQ(SaveScreenshot(surface_), user_.file("bitmap_5.bmp"));
    EXPECT_EQ(SaveScreenshot(surface_), user_.file("bitmap_6.bmp"));
    EXPECT_EQ(ReadWholeFile(user_.file("bitmap_3.bmp")), "taken");
}

TEST_F(ScreenshotTest, AGapIsFilledFirst) {
    WriteWholeFile(user_.file("bitmap_0.bmp"), "taken");
    WriteWholeFile(user_.file("bitmap_2.bmp"), "taken");
    EXPECT_EQ(SaveScreenshot(surface_), user_.file("bitmap_1.bmp"));
}

TEST_F(ScreenshotTest, NothingIsWrittenWhenEveryNameIsTaken) {
    for (int n = 0; n < kScreenshotNameCount; ++n) {
        WriteWholeFile(user_.file("bitmap_" + std::to_string(n) + ".bmp"), "x");
    }
    EXPECT_EQ(SaveScreenshot(surface_), "");
    EXPECT_FALSE(FileExists(user_.file("bitmap_999.bmp")));
    EXPECT_EQ(ReadWholeFile(user_.file("bitmap_998.bmp")), "x");
}

TEST_F(ScreenshotTest, WithoutAScreenNothingIsWritten) {
    ScreenSurface = nullptr;
    EXPECT_EQ(SaveScreenshot(), "");
    EXPECT_FALSE(FileExists(user_.file("bitmap_0.bmp")));

    // A folder under a screenshot's name counts as taken.
    ASSERT_TRUE(MakeDirectory(user_.file("bitmap_0.bmp").c_str()));
    EXPECT_EQ(SaveScreenshot(surface_), user_.file("bitmap_1.bmp"));
}

}  // namespace

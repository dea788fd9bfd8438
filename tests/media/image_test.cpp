// Decoding pictures read through the virtual file system.
#include "media/image.h"

#include <gtest/gtest.h>
#include <physfs.h>
#include <stb/stb_image_write.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/vfs.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

class ImageTest : public FreshDataTreeTest {
protected:
    static void Mount() { MountDataTree(); }
};

// 3 x 2 pixels, RGBA, every byte different.
const unsigned char kPixels[2][3][4] = {
    {{255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 0}},
    {{10, 20, 30, 40}, {50, 60, 70, 80}, {90, 100, 110, 120}},
};

TEST_F(ImageTest, PngBecomesRgbaSurfaceWithTheSamePixels) {
    ASSERT_TRUE(MakeFileWithParents("ui/test/picture.png", ""));
    ASSERT_NE(stbi_write_png("ui/test/picture.png", 3, 2, 4, kPixels, 3 * 4), 0);
    Mount();

    SDL_Surface* surface = LoadImage("ui/test/picture.png");
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->w, 3);
    EXPECT_EQ(surface->h, 2);
    EXPECT_EQ(surface->format->BitsPerPixel, 32);
    EXPECT_EQ(surface->format->Rmask, 0x000000FFu);
    EXPECT_EQ(surface->format->Gmask, 0x0000FF00u);
    EXPECT_EQ(surface->format->Bmask, 0x00FF0000u);
    EXPECT_EQ(surface->format->Amask, 0xFF000000u);
    for (int y = 0; y < 2; ++y) {
        const unsigned char* row = static_cast<const unsigned char*>(surface->pixels) + y * surface->pitch;
        EXPECT_EQ(memcmp(row, kPixels[y], sizeof kPixels[y]), 0) << "row " << y;
    }
    SDL_FreeSurface(surface);
}

TEST_F(ImageTest, MissingFileGivesNullSilently) {
    Mount();
    testing::internal::CaptureStdout();
    EXPECT_EQ(LoadImage("ui/nothing_here.png"), nullptr);
    EXPECT_EQ(LoadImage(nullptr), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(ImageTest, UndecodableFilesGiveNullWithAMessage) {
    // A PNG signature followed by garbage, a truncated real PNG and an empty file.
    ASSERT_TRUE(MakeFileWithParents("whole.png", ""));
    ASSERT_NE(stbi_write_png("whole.png", 3, 2, 4, kPixels, 3 * 4), 0);
    const std::string whole = ReadWholeFile("whole.png");
    ASSERT_GT(whole.size(), 16u);
    const std::string truncated = whole.substr(0, whole.size() / 2);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"ui/garbage.png", std::string("\x89PNG\r\n\x1a\n", 8) + "not really an image"},
        {"ui/truncated.png", truncated},
        {"ui/empty.png", ""},
    };
    for (const auto& c : cases) ASSERT_TRUE(MakeFileWithParents(c.first, c.second));
    Mount();
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(LoadImage(c.first.c_str()), nullptr) << c.first;
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("Could not load resource '" + c.first + "' with filename '"), std::string::npos)
            << c.first << ": " << out;
    }
}

}  // namespace

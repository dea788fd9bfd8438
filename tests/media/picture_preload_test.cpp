// A picture decoded ahead on a worker comes out exactly as LoadImageMiddle gives it.
#include "media/picture_preload.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image_test_support.h"
#include "media/image.h"

namespace media_test {
namespace {

class PicturePreloadTest : public DataFolderTest {};

std::vector<uint8_t> Gradient(int width, int height, int channels) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * channels);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 13 + i / 7);
    return pixels;
}

void ExpectSamePicture(SDL_Surface* got, SDL_Surface* want, const std::string& label) {
    if (want == nullptr) {
        EXPECT_EQ(got, nullptr) << label;
        return;
    }
    ASSERT_NE(got, nullptr) << label;
    ASSERT_EQ(got->w, want->w) << label;
    ASSERT_EQ(got->h, want->h) << label;
    EXPECT_EQ(got->flags, want->flags) << label;
    EXPECT_EQ(got->format->Rmask, want->format->Rmask) << label;
    EXPECT_EQ(got->format->Amask, want->format->Amask) << label;
    for (int y = 0; y < want->h; ++y)
        for (int x = 0; x < want->w; ++x) ASSERT_EQ(Pixel32(got, x, y), Pixel32(want, x, y)) << label << " " << x << "," << y;
}

// Every kind of file and size: the picture and the messages are LoadImageMiddle's, and the
// palette state is left as it leaves it.
TEST_F(PicturePreloadTest, TakesWhatLoadImageMiddleGivesForEveryKindOfFile) {
    const Bytes rgba = EncodePng(61, 37, 4, Gradient(61, 37, 4));
    Put("ui/rgba.png", rgba);
    Put("ui/rgb.png", EncodePng(30, 50, 3, Gradient(30, 50, 3)));
    PaletteSpec palette;
    palette.width = 3;
    palette.height = 4;
    palette.indices = {0, 1, 1, 0, 1, 0, 0, 0, 1, 1, 1, 0};
    palette.palette = {{10, 20, 30, 255}, {200, 100, 50, 255}};
    palette.alphas = {0, 255};
    Put("ui/palette.png", EncodePalettePng(palette));
    Put("ui/truncated.png", Bytes(rgba.begin(), rgba.begin() + rgba.size() / 2));
    Put("ui/garbage.png", std::string("\x89PNG\r\n\x1a\n", 8) + "nothing good follows");
    Mount();
    struct Case {
        const char* file;
        int w, h;
    };
    const Case cases[] = {{"ui/rgba.png", 20, 10}, {"ui/rgba.png", 61, 37}, {"ui/rgba.png", 100, 5},
                          {"ui/rgba.png", 0, 0},   {"ui/rgb.png", 7, 49},   {"ui/palette.png", 1, 2},
                          {"ui/truncated.png", 8, 8}, {"ui/garbage.png", 4, 4}, {"ui/missing.png", 4, 4},
                          {"UI/RGBA.PNG", 11, 11}};
    for (const Case& c : cases) {
        const std::string label = std::string(c.file) + " " + std::to_string(c.w) + "x" + std::to_string(c.h);
        testing::internal::CaptureStdout();
        SDL_Surface* want = LoadImageMiddle(c.file, c.w, c.h);
        const std::string wantSaid = testing::internal::GetCapturedStdout();

        PaletteExpandMode = false;
        PaletteCaptured = true;
        PicturePreload preload;
        testing::internal::CaptureStdout();
        preload.Start(c.file, c.w, c.h);
        EXPECT_TRUE(preload.Matches(c.file, c.w, c.h)) << label;
        SDL_Surface* got = preload.Take();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), wantSaid) << label;
        ExpectSamePicture(got, want, label);
        if (want != nullptr) {
            EXPECT_TRUE(PaletteExpandMode) << label;
            EXPECT_FALSE(PaletteCaptured) << label;
        }
        EXPECT_FALSE(preload.Matches(c.file, c.w, c.h)) << "handed over once: " << label;
        EXPECT_EQ(preload.Take(), nullptr) << label;
        if (want) SDL_FreeSurface(want);
        if (got) SDL_FreeSurface(got);
    }
}

// A load is used only for the picture it was started for: another name or size, or a folder
// mounted since that holds another picture of the same name, is not it.
TEST_F(PicturePreloadTest, MatchesOnlyTheSameNameSizeAndFile) {
    Put("ui/title.png", EncodePng(16, 12, 4, Gradient(16, 12, 4)));
    Put("ui/other.png", EncodePng(16, 12, 4, Gradient(16, 12, 4)));
    Put("mod/ui/title.png", EncodePng(8, 8, 3, Gradient(8, 8, 3)));
    Mount();
    PicturePreload preload;
    preload.Start("ui/title.png", 10, 10);
    EXPECT_TRUE(preload.Matches("ui/title.png", 10, 10));
    EXPECT_FALSE(preload.Matches("ui/other.png", 10, 10));
    EXPECT_FALSE(preload.Matches("ui/title.png", 10, 11));
    EXPECT_FALSE(preload.Matches("ui/title.png", 11, 10));
    ASSERT_NE(PHYSFS_mount((tmp_.path() + "/mod").c_str(), "/", 0), 0);
    EXPECT_FALSE(preload.Matches("ui/title.png", 10, 10));
    PHYSFS_unmount((tmp_.path() + "/mod").c_str());
    EXPECT_TRUE(preload.Matches("ui/title.png", 10, 10));

    // Started again, dropped, or never taken: what was decoded is freed (the sanitizer build
    // sees a leak otherwise).
    preload.Start("ui/other.png", 10, 10);
    EXPECT_FALSE(preload.Matches("ui/title.png", 10, 10));
    preload.Drop();
    EXPECT_FALSE(preload.Matches("ui/other.png", 10, 10));
    EXPECT_EQ(preload.Take(), nullptr);
    PicturePreload forgotten;
    forgotten.Start("ui/title.png", 10, 10);
}

}  // namespace
}  // namespace media_test

// Loading many pictures at once gives exactly what loading them one by one gives.
#include "media/image_batch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image_test_support.h"
#include "media/image.h"

namespace media_test {
namespace {

class ImageBatchTest : public DataFolderTest {};

std::vector<uint8_t> Gradient(int width, int height, int channels, int seed) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * channels);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 7 + seed * 31 + i / 13);
    return pixels;
}

void ExpectSamePicture(SDL_Surface* batch, SDL_Surface* single, const std::string& name) {
    if (single == nullptr) {
        EXPECT_EQ(batch, nullptr) << name;
        return;
    }
    ASSERT_NE(batch, nullptr) << name;
    ASSERT_EQ(batch->w, single->w) << name;
    ASSERT_EQ(batch->h, single->h) << name;
    EXPECT_EQ(batch->format->BitsPerPixel, single->format->BitsPerPixel) << name;
    EXPECT_EQ(batch->format->Rmask, single->format->Rmask) << name;
    EXPECT_EQ(batch->format->Amask, single->format->Amask) << name;
    for (int y = 0; y < single->h; ++y) {
        for (int x = 0; x < single->w; ++x) {
            ASSERT_EQ(Pixel32(batch, x, y), Pixel32(single, x, y)) << name << " at " << x << "," << y;
        }
    }
}

TEST_F(ImageBatchTest, EveryKindOfFileComesOutAsLoadImageGivesItInOrder) {
    PaletteSpec palette;
    palette.width = 5;
    palette.height = 3;
    palette.indices = {0, 1, 2, 1, 0, 2, 2, 1, 0, 0, 1, 1, 2, 2, 0};
    palette.palette = {{10, 20, 30, 255}, {200, 100, 50, 255}, {0, 255, 0, 255}};
    palette.alphas = {0, 255, 128};
    const Bytes rgba = EncodePng(64, 48, 4, Gradient(64, 48, 4, 1));
    const std::vector<std::pair<std::string, Bytes>> files = {
        {"ui/a_rgba.png", rgba},
        {"ui/b_rgb.png", EncodePng(33, 17, 3, Gradient(33, 17, 3, 2))},
        {"ui/c_grey.png", EncodePng(9, 9, 1, Gradient(9, 9, 1, 3))},
        {"ui/d_palette.png", EncodePalettePng(palette)},
        {"ui/e_truncated.png", Bytes(rgba.begin(), rgba.begin() + rgba.size() / 2)},
        {"ui/f_garbage.png", Bytes({137, 80, 78, 71, 13, 10, 26, 10, 1, 2, 3})},
        {"ui/g_big.png", EncodePng(300, 200, 4, Gradient(300, 200, 4, 4))},
    };
    for (const auto& f : files) Put(f.first, f.second);
    Mount();
    std::vector<std::string> names;
    for (const auto& f : files) names.push_back(f.first);
    names.push_back("ui/missing.png");
    names.push_back("ui/a_rgba.png");  // the same file twice gives two surfaces

    testing::internal::CaptureStdout();
    std::vector<SDL_Surface*> single;
    for (const std::string& name : names) single.push_back(LoadImage(name.c_str()));
    const std::string singleOut = testing::internal::GetCapturedStdout();

    for (unsigned threads : {1u, 3u, 0u}) {
        testing::internal::CaptureStdout();
        const std::vector<SDL_Surface*> batch = LoadImages(names, threads);
        const std::string batchOut = testing::internal::GetCapturedStdout();
        // The same messages (the damaged files), in the same order.
        EXPECT_EQ(batchOut, singleOut) << threads << " threads";
        ASSERT_EQ(batch.size(), names.size());
        for (size_t i = 0; i < names.size(); ++i) ExpectSamePicture(batch[i], single[i], names[i]);
        EXPECT_NE(batch.front(), batch.back());
        EXPECT_TRUE(PaletteExpandMode);
        EXPECT_FALSE(PaletteCaptured);
        for (SDL_Surface* s : batch) SDL_FreeSurface(s);
    }
    for (SDL_Surface* s : single) SDL_FreeSurface(s);
    EXPECT_NE(singleOut.find("e_truncated.png"), std::string::npos);
    EXPECT_EQ(singleOut.find("missing.png"), std::string::npos);
}

TEST_F(ImageBatchTest, AnEmptyListGivesNothing) {
    Mount();
    EXPECT_TRUE(LoadImages({}).empty());
}

TEST_F(ImageBatchTest, ABackgroundBatchHandsOverItsPicturesOnceAndLeavesNothingBehind) {
    Put("ui/one.png", EncodePng(40, 30, 4, Gradient(40, 30, 4, 5)));
    Put("ui/two.png", EncodePng(20, 10, 3, Gradient(20, 10, 3, 6)));
    Mount();
    SDL_Surface* one = LoadImage("ui/one.png");
    SDL_Surface* two = LoadImage("ui/two.png");

    PictureBatch batch;
    EXPECT_FALSE(batch.Pending());
    EXPECT_TRUE(batch.Finish().empty());
    batch.Start({"ui/one.png", "ui/nothing.png", "ui/two.png"});
    EXPECT_TRUE(batch.Pending());
    std::vector<SDL_Surface*> got = batch.Finish();
    EXPECT_FALSE(batch.Pending());
    ASSERT_EQ(got.size(), 3u);
    ExpectSamePicture(got[0], one, "one");
    EXPECT_EQ(got[1], nullptr);
    ExpectSamePicture(got[2], two, "two");
    EXPECT_TRUE(batch.Finish().empty());  // handed over once
    for (SDL_Surface* s : got) SDL_FreeSurface(s);

    // A batch started again, or never collected, frees what it decoded (the sanitizer build
    // sees a leak otherwise).
    batch.Start({"ui/one.png"});
    batch.Start({"ui/two.png", "ui/one.png"});
    got = batch.Finish();
    ASSERT_EQ(got.size(), 2u);
    ExpectSamePicture(got[0], two, "two again");
    ExpectSamePicture(got[1], one, "one again");
    for (SDL_Surface* s : got) SDL_FreeSurface(s);
    {
        PictureBatch forgotten;
        forgotten.Start({"ui/one.png", "ui/two.png"});
    }
    SDL_FreeSurface(one);
    SDL_FreeSurface(two);
}

}  // namespace
}  // namespace media_test

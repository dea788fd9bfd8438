// Picture loaders: the palette step and its hue shift, doubling and Scale2x, palette capture of
// level images, and what broken or missing files give.
#include <stb_image.h>

#include <cmath>

#include "media/screen.h"
#include "media/display_settings.h"
#include "media/image.h"
#include "media/png_palette.h"
#include "media/sprite.h"
#include "tests/media/image_test_support.h"

namespace {

using media_test::Bytes;
using media_test::DataFolderTest;
using media_test::EncodePalettePng;
using media_test::EncodePng;
using media_test::PaletteSpec;
using media_test::Pixel32;
using media_test::Pixel8;

class ScopedInt {
public:
    ScopedInt(int32_t& target, int32_t value) : target_(target), old_(target) { target_ = value; }
    ~ScopedInt() { target_ = old_; }

private:
    int32_t& target_;
    int32_t old_;
};

// ---------------------------------------------------------------------------------------------
// Hue shift of single colours.

struct HueCase {
    uint8_t in[3];
    float shift;
    uint8_t out[3];
};

// The exact bytes: single-precision HSL arithmetic, channels truncated (a value that comes out
// as 254.99 is 254, which is why a pure colour can lose one).
TEST(HueShift, ColoursMoveAroundTheWheel) {
    const HueCase cases[] = {
        {{255, 0, 0}, 120.0f, {0, 255, 0}},          // red -> green
        {{255, 0, 0}, 240.0f, {0, 0, 255}},          // red -> blue
        {{0, 255, 0}, 120.0f, {0, 0, 255}},          // green -> blue
        {{0, 0, 255}, 120.0f, {255, 0, 0}},          // blue wraps to red
        {{255, 0, 0}, -120.0f, {0, 0, 255}},         // negative shifts wrap too
        {{255, 0, 0}, -30.0f, {255, 0, 127}},        // hue 330
        {{0, 0, 0}, 77.0f, {0, 0, 0}},               // black stays black
        {{255, 255, 255}, 200.0f, {255, 255, 255}},  // white stays white
        {{128, 128, 128}, 45.0f, {128, 128, 128}},   // grey keeps its value
        {{200, 60, 20}, 90.0f, {70, 199, 20}},
        {{37, 140, 210}, -200.0f, {210, 49, 36}},
    };
    for (const HueCase& c : cases) {
        uint8_t out[3];
        HueShiftColour(c.in, c.shift, out);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(out[i], c.out[i]) << int(c.in[0]) << "," << int(c.in[1]) << "," << int(c.in[2])
                                        << " by " << c.shift << " channel " << i;
        }
    }
}

TEST(HueShift, RedMovedBackThirtyDegreesHasHue330) {
    const uint8_t red[3] = {255, 0, 0};
    uint8_t out[3];
    HueShiftColour(red, -30.0f, out);
    float h, s, l;
    RgbToHsl(out[0] / 255.0f, out[1] / 255.0f, out[2] / 255.0f, &h, &s, &l);
    EXPECT_NEAR(h, 330.0f, 0.5f);
    EXPECT_EQ(out[0], 255);
    EXPECT_EQ(out[1], 0);
}

TEST(HueShift, ConversionsRoundTrip) {
    const float colours[][3] = {{1, 0, 0}, {0.2f, 0.4f, 0.6f}, {0.9f, 0.8f, 0.1f}, {0.5f, 0.5f, 0.5f}};
    for (const auto& c : colours) {
        float h, s, l, r, g, b;
        RgbToHsl(c[0], c[1], c[2], &h, &s, &l);
        EXPECT_GE(h, 0.0f);
        EXPECT_LT(h, 360.0f);
        HslToRgb(h, s, l, &r, &g, &b);
        EXPECT_NEAR(r, c[0], 1e-4);
        EXPECT_NEAR(g, c[1], 1e-4);
        EXPECT_NEAR(b, c[2], 1e-4);
    }
}

// ---------------------------------------------------------------------------------------------
// The palette reader against the general decoder, over bit depths, filters and interlacing.

TEST(PalettePngReader, AgreesWithTheGeneralDecoder) {
    struct Shape {
        int w, h, depth;
        bool interlaced;
    };
    const Shape shapes[] = {{1, 1, 8, false}, {13, 7, 8, false}, {13, 7, 8, true}, {9, 11, 4, false},
                            {9, 11, 4, true}, {17, 5, 2, false}, {17, 5, 2, true}, {19, 3, 1, false},
                            {19, 3, 1, true}, {3, 9, 1, true}};
    uint32_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 214013u + 2531011u;
        return (seed >> 16) & 0x7FFF;
    };
    for (const Shape& shape : shapes) {
        for (int firstFilter = 0; firstFilter < 5; ++firstFilter) {
            PaletteSpec want;
            want.width = shape.w;
            want.height = shape.h;
            want.depth = shape.depth;
            want.interlaced = shape.interlaced;
            want.firstFilter = firstFilter;
            const int colours = 1 << shape.depth;
            for (int i = 0; i < colours; ++i)
                want.palette.push_back({uint8_t(next()), uint8_t(next()), uint8_t(next()), 255});
            want.alphas = {0, 200};
            for (int i = 0; i < shape.w * shape.h; ++i) want.indices.push_back(uint8_t(next() % colours));
            const Bytes png = EncodePalettePng(want);
            const std::string label = std::to_string(shape.w) + "x" + std::to_string(shape.h) + " depth " +
                                      std::to_string(shape.depth) + (shape.interlaced ? " interlaced" : "") +
                                      " filter " + std::to_string(firstFilter);

            PalettePng image;
            ASSERT_TRUE(DecodePalettePng(png.data(), png.size(), &image)) << label;
            EXPECT_EQ(image.indices, want.indices) << label;
            EXPECT_TRUE(image.hasTransparency);
            EXPECT_EQ(image.palette[0][3], 0);
            EXPECT_EQ(image.palette[1][3], 200);

            int w = 0, h = 0, n = 0;
            stbi_uc* reference = stbi_load_from_memory(png.data(), int(png.size()), &w, &h, &n, 4);
            ASSERT_NE(reference, nullptr) << label;
            std::vector<uint8_t> expanded;
            ASSERT_TRUE(ExpandPaletteWithHueShift(image, 4, expanded));
            EXPECT_EQ(0, memcmp(expanded.data(), reference, expanded.size())) << label;
            stbi_image_free(reference);
        }
    }
}

TEST(PalettePngReader, RefusesDamagedAndOtherFiles) {
    PaletteSpec want;
    want.width = 4;
    want.height = 4;
    want.palette = {{0, 0, 0, 0}, {255, 0, 0, 255}};
    want.indices.assign(16, 1);
    const Bytes good = EncodePalettePng(want);
    PalettePng image;
    ASSERT_TRUE(DecodePalettePng(good.data(), good.size(), &image));

    Bytes badChecksum = good;
    badChecksum[40] ^= 0xFF;  // inside PLTE
    Bytes truncated(good.begin(), good.begin() + good.size() - 20);
    Bytes noPalette;
    {
        // The same image without its PLTE chunk (8 signature + 25 IHDR, PLTE is 12 + 6).
        noPalette.assign(good.begin(), good.begin() + 33);
        noPalette.insert(noPalette.end(), good.begin() + 33 + 18, good.end());
    }
    const Bytes rgba = EncodePng(2, 2, 4, std::vector<uint8_t>(16, 255));
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"bad checksum", badChecksum}, {"truncated", truncated}, {"no palette", noPalette},
        {"true colour", rgba}, {"empty", Bytes()}};
    for (const auto& c : cases) {
        EXPECT_FALSE(DecodePalettePng(c.second.data(), c.second.size(), &image)) << c.first;
    }
    EXPECT_FALSE(IsPalettePng(rgba.data(), rgba.size()));
    EXPECT_TRUE(IsPalettePng(good.data(), good.size()));
}

// The 80-byte picture of a 1 x 1 RGB image whose only IDAT chunk states `idatLength` bytes: an
// IHDR with a right checksum, then the chunk, then whatever bytes follow.
Bytes HeaderWithIdatOf(uint32_t idatLength, size_t dataBytes, bool withEnd) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    media_test::Chunk(out, "IHDR", Bytes{0, 0, 0, 1, 0, 0, 0, 1, 8, 2, 0, 0, 0});
    media_test::PutU32BE(out, idatLength);
    for (char c : std::string("IDAT")) out.push_back(static_cast<uint8_t>(c));
    out.insert(out.end(), dataBytes, 0x5A);
    media_test::PutU32BE(out, 0);  // the checksum (not checked by the size check)
    if (withEnd) media_test::Chunk(out, "IEND", Bytes());
    return out;
}

TEST(PngSizeCheck, EveryChunkMustFitInTheBytesThereAre) {
    const Bytes real = EncodePng(2, 2, 3, std::vector<uint8_t>(12, 7));
    Bytes trailing = real;
    trailing.insert(trailing.end(), {1, 2, 3});  // after IEND: not a chunk of the picture
    struct Case {
        const char* label;
        Bytes bytes;
        bool accepted;
    } cases[] = {
        {"a real picture", real, true},
        {"bytes after the end chunk", trailing, true},
        {"a chunk that fits exactly", HeaderWithIdatOf(35, 35, true), true},
        {"no end chunk, the last chunk fits", HeaderWithIdatOf(35, 35, false), true},
        {"a chunk one byte longer than the file", HeaderWithIdatOf(36, 35, true), false},
        {"a chunk of 2 GB in 80 bytes", HeaderWithIdatOf(0x7E000066u, 35, false), false},
        {"a chunk of 4 GB", HeaderWithIdatOf(0xFFFFFFFFu, 35, true), false},
        {"a chunk cut inside its header", Bytes(real.begin(), real.begin() + 33 + 6), false},
    };
    ASSERT_EQ(HeaderWithIdatOf(0x7E000066u, 35, false).size(), 80u);
    for (const Case& c : cases) {
        uint32_t width = 0, height = 0;
        EXPECT_EQ(ReadPngSize(c.bytes.data(), c.bytes.size(), &width, &height), c.accepted) << c.label;
        if (!c.accepted) {
            std::vector<uint8_t> pixels;
            int w = 0, h = 0, channels = 0;
            EXPECT_FALSE(DecodeImageBytes(c.bytes.data(), c.bytes.size(), 4, pixels, &w, &h, &channels)) << c.label;
            EXPECT_EQ(CreateSurfaceFromImageData(c.bytes.data(), c.bytes.size()), nullptr) << c.label;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Loaders over files.

class ImageLoadingTest : public DataFolderTest {};

const artw::Rgba kRed{255, 0, 0, 255};
const artw::Rgba kBlue{0, 0, 255, 255};

Bytes Checkerboard(int size, int channels, const uint8_t a[4], const uint8_t b[4], std::vector<uint32_t>* values) {
    std::vector<uint8_t> pixels;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const uint8_t* c = ((x + y) % 2 == 0) ? a : b;
            pixels.insert(pixels.end(), c, c + channels);
            uint32_t v = uint32_t(c[0]) | (uint32_t(c[1]) << 8) | (uint32_t(c[2]) << 16);
            if (channels == 4) v |= uint32_t(c[3]) << 24;
            values->push_back(v);
        }
    }
    return EncodePng(size, size, channels, pixels);
}

TEST_F(ImageLoadingTest, DoublingAndScale2xOfACheckerboard) {
    const uint8_t light[4] = {250, 240, 10, 255};
    const uint8_t dark[4] = {20, 30, 200, 128};
    struct Case {
        const char* file;
        int channels;
        int32_t smooth;
        bool cornersChange;
    };
    const Case cases[] = {
        {"rgba.png", 4, 1, true},   // Scale2x
        {"rgba.png", 4, 0, false},  // plain 2x2 blocks
        {"rgb.png", 3, 1, false},   // 3-channel images are always doubled plainly
    };
    std::vector<uint32_t> rgbaValues, rgbValues;
    Put("rgba.png", Checkerboard(4, 4, light, dark, &rgbaValues));
    Put("rgb.png", Checkerboard(4, 3, light, dark, &rgbValues));
    Mount();
    for (const Case& c : cases) {
        ScopedInt smooth(smoothScaling, c.smooth);
        const std::vector<uint32_t>& src = c.channels == 4 ? rgbaValues : rgbValues;
        SDL_Surface* s = LoadAlphaImage(c.file);
        ASSERT_NE(s, nullptr) << c.file;
        ASSERT_EQ(s->w, 8);
        ASSERT_EQ(s->h, 8);
        EXPECT_EQ(s->format->BitsPerPixel, 32);
        EXPECT_EQ(s->format->Rmask, 0x000000FFu);
        EXPECT_EQ(s->format->Amask, c.channels == 4 ? 0xFF000000u : 0u) << c.file;
        EXPECT_TRUE(s->flags & SDL_SRCALPHA);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const int sx = x / 2, sy = y / 2;
                uint32_t expected = src[sy * 4 + sx];
                // At the four corners the clamped neighbours differ: the quarter of the block
                // that faces the inside takes the other colour.
                const bool cornerPixel = (sx == 0 || sx == 3) && (sy == 0 || sy == 3);
                const bool innerQuarter = (x % 2 == (sx == 0 ? 1 : 0)) && (y % 2 == (sy == 0 ? 1 : 0));
                if (c.cornersChange && cornerPixel && innerQuarter) expected = src[sy * 4 + (sx == 0 ? 1 : 2)];
                EXPECT_EQ(Pixel32(s, x, y), expected) << c.file << " smooth " << c.smooth << " at " << x << "," << y;
            }
        }
        SDL_FreeSurface(s);
    }
}

TEST_F(ImageLoadingTest, OnePixelImageDoublesToFourEqualPixels) {
    Put("dot.png", EncodePng(1, 1, 4, {10, 20, 30, 40}));
    Put("grey.png", EncodePng(1, 1, 1, {77}));
    Mount();
    ScopedInt smooth(smoothScaling, 1);
    SDL_Surface* s = LoadAlphaImage("dot.png");
    ASSERT_NE(s, nullptr);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Pixel32(s, i % 2, i / 2), 0x281E140Au);
    SDL_FreeSurface(s);
    // Grey images are read as RGBA rather than refused or misread.
    s = LoadAlphaImage("grey.png");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Pixel32(s, 1, 1), 0xFF4D4D4Du);
    SDL_FreeSurface(s);
}

PaletteSpec TwoColourSprite() {
    PaletteSpec want;
    want.width = 3;
    want.height = 2;
    want.palette = {{0, 0, 0, 0}, kRed, kBlue};
    want.alphas = {0};
    want.indices = {0, 1, 2, 1, 0, 2};
    return want;
}

TEST_F(ImageLoadingTest, PalettePngExpandsWithItsTransparencyAndHueShift) {
    Put("pal.png", EncodePalettePng(TwoColourSprite()));
    Mount();
    SDL_Surface* plain = LoadImage("pal.png");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(Pixel32(plain, 0, 0) >> 24, 0u);           // index 0 is transparent
    EXPECT_EQ(Pixel32(plain, 1, 0), 0xFF0000FFu);        // red
    SDL_FreeSurface(plain);

    EnableHueShift(120);
    SDL_Surface* shifted = LoadAlphaImage("pal.png");
    DisableHueShift();
    ASSERT_NE(shifted, nullptr);
    EXPECT_EQ(shifted->w, 6);
    EXPECT_EQ(Pixel32(shifted, 2, 0), 0xFF00FF00u);  // red became green
    EXPECT_EQ(Pixel32(shifted, 4, 0), 0xFF0000FFu);  // blue became red
    EXPECT_EQ(Pixel32(shifted, 0, 0) >> 24, 0u);
    SDL_FreeSurface(shifted);
}

TEST_F(ImageLoadingTest, LevelImageCapturesThePaletteAndKeysIndexZero) {
    Put("tiles.png", EncodePalettePng(TwoColourSprite()));
    Mount();
    for (bool withScreen : {false, true}) {
        if (withScreen) {
            ScreenSurface = SDL_CreateRGBSurface(0, 16, 16, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
        }
        ImageRecord record;
        ASSERT_TRUE(record.LoadImageDoubled("tiles.png"));
        EXPECT_TRUE(PaletteCaptured);
        EXPECT_EQ(GlobalPalette[1][0], 255);
        EXPECT_EQ(GlobalPalette[2][2], 255);
        SDL_Surface* s = record.surface;
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->w, 6);
        EXPECT_EQ(s->h, 4);
        EXPECT_TRUE(s->flags & SDL_SRCCOLORKEY);
        // Blit onto white: index-0 pixels leave the white showing.
        SDL_Surface* canvas = SDL_CreateRGBSurface(0, 6, 4, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
        SDL_FillRect(canvas, nullptr, 0xFFFFFF);
        SDL_BlitSurface(s, nullptr, canvas, nullptr);
        const PaletteSpec want = TwoColourSprite();
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 6; ++x) {
                const uint8_t index = want.indices[(y / 2) * 3 + x / 2];
                const uint32_t expected = index == 0 ? 0xFFFFFFu : index == 1 ? 0xFF0000u : 0x0000FFu;
                EXPECT_EQ(Pixel32(canvas, x, y), expected) << (withScreen ? "converted " : "8-bit ") << x << "," << y;
            }
        }
        SDL_FreeSurface(canvas);
        if (!withScreen) {
            EXPECT_EQ(s->format->BitsPerPixel, 8);
            EXPECT_EQ(Pixel8(s, 0, 0), 0);
            EXPECT_EQ(Pixel8(s, 3, 1), 1);
            EXPECT_EQ(Pixel8(s, 5, 1), 2);
        } else {
            EXPECT_EQ(s->format->BitsPerPixel, 32);
        }
    }
}

TEST_F(ImageLoadingTest, LevelImageRefusesAPictureWithoutPalette) {
    Put("tiles.png", EncodePalettePng(TwoColourSprite()));
    Put("truecolour.png", EncodePng(2, 2, 4, std::vector<uint8_t>(16, 200)));
    Mount();
    ImageRecord first;
    ASSERT_TRUE(first.LoadImageDoubled("tiles.png"));
    ImageRecord second;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(second.LoadImageDoubled("truecolour.png"));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(second.surface, nullptr);
    EXPECT_NE(out.find("Could not load resource 'truecolour.png'"), std::string::npos) << out;
}

TEST_F(ImageLoadingTest, MissingFilesGiveNullSilentlyAndBrokenOnesSayWhy) {
    Put("broken.png", std::string("\x89PNG\r\n\x1a\n", 8) + "nothing good follows");
    Bytes palette = EncodePalettePng(TwoColourSprite());
    palette.resize(palette.size() - 30);  // cut inside the image data
    Put("cut.png", palette);
    Mount();
    struct Loader {
        const char* name;
        bool (*load)(const char*);
    };
    const Loader loaders[] = {
        {"LoadImage", [](const char* f) {
             SDL_Surface* s = LoadImage(f);
             if (s) SDL_FreeSurface(s);
             return s != nullptr;
         }},
        {"LoadAlphaImage", [](const char* f) {
             SDL_Surface* s = LoadAlphaImage(f);
             if (s) SDL_FreeSurface(s);
             return s != nullptr;
         }},
        {"LoadImageDoubled", [](const char* f) {
             ImageRecord r;
             return r.LoadImageDoubled(f);
         }},
    };
    for (const Loader& l : loaders) {
        testing::internal::CaptureStdout();
        EXPECT_FALSE(l.load("not_there.png")) << l.name;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << l.name;
        for (const char* file : {"broken.png", "cut.png"}) {
            testing::internal::CaptureStdout();
            EXPECT_FALSE(l.load(file)) << l.name << " " << file;
            const std::string out = testing::internal::GetCapturedStdout();
            EXPECT_NE(out.find(std::string("Could not load resource '") + file + "' with filename '"),
                      std::string::npos)
                << l.name << ": " << out;
        }
    }
}

// Only PNGs are pictures here, and only up to 4096 pixels a side: the header is read first, so a
// tiny file that claims a giant picture is refused before anything is allocated for it.
TEST_F(ImageLoadingTest, OnlyPngsUpTo4096ASideAreDecoded) {
    // 47 bytes that the general decoder reads as an 18505 x 21060 picture.
    const std::string giant = "P6\n18505 21060\n255\n" + std::string(28, '\x7f');
    ASSERT_EQ(giant.size(), 47u);
    Put("giant.png", giant);
    {
        SDL_Surface* tiny = SDL_CreateRGBSurface(0, 2, 2, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0);
        ASSERT_NE(tiny, nullptr);
        ASSERT_EQ(SDL_SaveBMP(tiny, "tiny.bmp"), 0);
        SDL_FreeSurface(tiny);
    }
    Put("wide.png", EncodePng(4097, 1, 1, std::vector<uint8_t>(4097, 90)));
    Put("tall.png", EncodePng(1, 4097, 1, std::vector<uint8_t>(4097, 90)));
    Put("edge.png", EncodePng(4096, 1, 1, std::vector<uint8_t>(4096, 90)));
    Bytes damagedHeader = EncodePng(2, 2, 4, std::vector<uint8_t>(16, 255));
    damagedHeader[16 + 3] = 3;  // width 3 under the old header checksum
    Put("damaged.png", damagedHeader);
    Mount();

    SDL_Surface* edge = LoadImage("edge.png");
    ASSERT_NE(edge, nullptr);
    EXPECT_EQ(edge->w, 4096);
    SDL_FreeSurface(edge);
    edge = LoadAlphaImage("edge.png");
    ASSERT_NE(edge, nullptr);
    EXPECT_EQ(edge->w, 8192);
    EXPECT_EQ(Pixel32(edge, 8191, 1), 0xFF5A5A5Au);
    SDL_FreeSurface(edge);

    for (const char* file : {"giant.png", "tiny.bmp", "wide.png", "tall.png", "damaged.png"}) {
        testing::internal::CaptureStdout();
        SDL_Surface* plain = LoadImage(file);
        SDL_Surface* doubled = LoadAlphaImage(file);
        ImageRecord record;
        EXPECT_FALSE(record.LoadImageDoubled(file)) << file;
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(plain, nullptr) << file;
        EXPECT_EQ(doubled, nullptr) << file;
        if (plain) SDL_FreeSurface(plain);
        if (doubled) SDL_FreeSurface(doubled);
        // "Could not load resource" from each of the three loaders.
        size_t lines = 0;
        for (size_t at = out.find("Could not load resource '" + std::string(file)); at != std::string::npos;
             at = out.find("Could not load resource '" + std::string(file), at + 1))
            ++lines;
        EXPECT_EQ(lines, 3u) << file << ": " << out;
    }
    // A sprite of a refused picture shows the broken-art box and a placeholder.
    Sprite sprite;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(sprite.LoadPNG("giant.png", 1));
    testing::internal::GetCapturedStdout();
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("Couldn't load PNG file giant.png. The game will now crash."), std::string::npos) << report;
    EXPECT_EQ(sprite.frameCount, 1);
}

// The middle of a picture: the part a screen-sized middle takes, in each direction where the
// picture is larger; for the usual kind decoded straight into the part, for a palette picture
// cut from the whole. Broken files say what LoadImage says.
TEST_F(ImageLoadingTest, MiddleOfAPictureIsTheCentredPartLoadImageGives) {
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 9 * 7 * 4; ++i) rgba.push_back(static_cast<uint8_t>(i * 37 + 11));
    Put("rgba.png", EncodePng(9, 7, 4, rgba));
    PaletteSpec palette = TwoColourSprite();
    Put("palette.png", EncodePalettePng(palette));
    Put("broken.png", std::string("\x89PNG\r\n\x1a\n", 8) + "nothing good follows");
    Mount();
    struct Case {
        const char* file;
        int w, h;          // asked for
        int partW, partH;  // kept
    };
    const Case cases[] = {{"rgba.png", 4, 3, 4, 3}, {"rgba.png", 5, 2, 5, 2}, {"rgba.png", 20, 3, 9, 3},
                          {"rgba.png", 4, 20, 4, 7},  {"rgba.png", 9, 7, 9, 7}, {"palette.png", 1, 2, 1, 2}};
    for (const Case& c : cases) {
        const std::string label = std::string(c.file) + " " + std::to_string(c.w) + "x" + std::to_string(c.h);
        SDL_Surface* whole = LoadImage(c.file);
        SDL_Surface* part = LoadImageMiddle(c.file, c.w, c.h);
        ASSERT_TRUE(whole && part) << label;
        ASSERT_EQ(part->w, c.partW) << label;
        ASSERT_EQ(part->h, c.partH) << label;
        EXPECT_EQ(part->flags, whole->flags) << label;
        EXPECT_EQ(part->format->Rmask, whole->format->Rmask) << label;
        EXPECT_EQ(part->format->Amask, whole->format->Amask) << label;
        const int x0 = whole->w / 2 - c.partW / 2;
        const int y0 = whole->h / 2 - c.partH / 2;
        for (int y = 0; y < c.partH; ++y)
            for (int x = 0; x < c.partW; ++x) EXPECT_EQ(Pixel32(part, x, y), Pixel32(whole, x0 + x, y0 + y)) << label;
        SDL_FreeSurface(whole);
        SDL_FreeSurface(part);
    }
    testing::internal::CaptureStdout();
    EXPECT_EQ(LoadImageMiddle("not_there.png", 4, 4), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    testing::internal::CaptureStdout();
    EXPECT_EQ(LoadImageMiddle("broken.png", 4, 4), nullptr);
    const std::string said = testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    EXPECT_EQ(LoadImage("broken.png"), nullptr);
    EXPECT_EQ(said, testing::internal::GetCapturedStdout());
    EXPECT_NE(said.find("Could not load resource 'broken.png'"), std::string::npos) << said;
}

TEST_F(ImageLoadingTest, MissingArtWarning) {
    Put("here.png", EncodePng(1, 1, 4, {1, 2, 3, 4}));
    Mount();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(WarnIfArtMissing("here.png"));
    EXPECT_TRUE(WarnIfArtMissing("HERE.PNG"));  // found again ignoring case
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(WarnIfArtMissing("gone.png"));
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "File named gone.png not found. The game will probably crash!"),
              std::string::npos);
}

}  // namespace

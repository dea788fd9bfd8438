// Sprites from ".spr" files, frame lists, PNGs and numbered series; outlines; broken art; the
// sprite table.
#include <functional>

#include "media/screen.h"
#include "media/display_settings.h"
#include "media/image.h"
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

class SpriteLoadingTest : public DataFolderTest {
protected:
    void SetUp() override {
        DataFolderTest::SetUp();
        SpriteMgr_FreeAll();  // whatever an earlier test left in the table
    }
    void TearDown() override {
        SpriteMgr_FreeAll();
        DataFolderTest::TearDown();
    }
    // Loads with stderr captured; returns what was reported.
    static std::string Quietly(const std::function<void()>& load) {
        testing::internal::CaptureStderr();
        load();
        return testing::internal::GetCapturedStderr();
    }
};

const char kBrokenTitle[] = "Some Art is Horribly Broken";

// Frames of w x h whose pixel (x, y) holds index (x + y + frame) % 3 + 1 except a transparent
// top-left pixel; palette entry i = (i * 10, i * 20, i * 30).
std::vector<artw::SprFrame> SprFrames(int w, int h, const std::vector<uint16_t>& delays) {
    std::vector<artw::SprFrame> frames;
    for (size_t f = 0; f < delays.size(); ++f) {
        artw::SprFrame frame;
        frame.delay = delays[f];
        for (int i = 0; i < 256; ++i) {
            frame.palette[i * 3] = uint8_t(i * 10);
            frame.palette[i * 3 + 1] = uint8_t(i * 20);
            frame.palette[i * 3 + 2] = uint8_t(i * 30);
        }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) frame.pixels.push_back(x == 0 && y == 0 ? 0 : uint8_t((x + y + f) % 3 + 1));
        frames.push_back(frame);
    }
    return frames;
}

// Positions of the set pixels of an outline frame.
// The outline of a frame, made as its first draw makes it.
SDL_Surface* OutlineOf(Sprite& sprite, int frame) {
    SDL_Surface* savedScreen = ScreenSurface;
    ScreenSurface = nullptr;
    sprite.DrawOutlineFrame(0, 0, frame);
    ScreenSurface = savedScreen;
    return sprite.outlines != nullptr ? sprite.outlines[frame] : nullptr;
}

std::vector<std::pair<int, int>> OutlinePixels(SDL_Surface* s) {
    std::vector<std::pair<int, int>> on;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x)
            if (Pixel8(s, x, y) != 0) on.emplace_back(x, y);
    return on;
}

TEST_F(SpriteLoadingTest, SprRoundTripDoubledAndNative) {
    Put("sprites/walker.spr", artw::EncodeSpr(5, 3, SprFrames(5, 3, {100, 250, 65535})));
    Mount();
    const int32_t oldSmooth = smoothScaling;
    smoothScaling = 0;
    for (int32_t native : {0, 1}) {
        Sprite sprite;
        EXPECT_EQ(Quietly([&] { EXPECT_TRUE(sprite.Load("sprites/walker.spr", nullptr, -1, 0, native)); }), "");
        ASSERT_EQ(sprite.frameCount, 3);
        EXPECT_EQ(sprite.delays[0], 100);
        EXPECT_EQ(sprite.delays[1], 250);
        EXPECT_EQ(sprite.delays[2], 65535);
        const int scale = native ? 1 : 2;
        EXPECT_EQ(sprite.width, 5 * scale);
        EXPECT_EQ(sprite.height, 3 * scale);
        ASSERT_NE(sprite.outlines, nullptr);
        for (int f = 0; f < 3; ++f) {
            SDL_Surface* s = sprite.frames[f];
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(s->format->BitsPerPixel, 8);
            EXPECT_EQ(s->w, 5 * scale);
            EXPECT_TRUE(s->flags & SDL_SRCCOLORKEY);
            EXPECT_EQ(s->format->colorkey, 0u);
            EXPECT_EQ(s->format->palette->colors[2].g, 40);
            for (int y = 0; y < s->h; ++y)
                for (int x = 0; x < s->w; ++x) {
                    const int sx = x / scale, sy = y / scale;
                    const int expected = sx == 0 && sy == 0 ? 0 : (sx + sy + f) % 3 + 1;
                    ASSERT_EQ(Pixel8(s, x, y), expected) << "frame " << f << " at " << x << "," << y;
                }
            // Made on first use only.
            EXPECT_EQ(sprite.outlines[f], nullptr);
            ASSERT_NE(OutlineOf(sprite, f), nullptr);
            EXPECT_EQ(sprite.outlines[f]->w, 5 * scale + 2);
            EXPECT_EQ(sprite.outlines[f]->h, 3 * scale + 2);
        }
    }
    smoothScaling = oldSmooth;
}

TEST_F(SpriteLoadingTest, OutlineOfOnePixelIsItsFourNeighbours) {
    artw::SprFrame frame;
    frame.palette[3] = 255;
    frame.pixels.assign(25, 0);
    frame.pixels[2 * 5 + 2] = 1;
    Put("dot.spr", artw::EncodeSpr(5, 5, {frame}));
    Mount();
    for (int32_t colourBlind : {0, 1}) {
        const int32_t old = enableColourBlind;
        enableColourBlind = colourBlind;
        Sprite sprite;
        ASSERT_TRUE(sprite.Load("dot.spr", "", -1, 0, 1));
        SDL_Surface* outline = OutlineOf(sprite, 0);
        enableColourBlind = old;
        ASSERT_NE(outline, nullptr);
        EXPECT_EQ(outline->w, 7);
        EXPECT_EQ(outline->h, 7);
        // Frame pixel (2, 2) is outline pixel (3, 3); its neighbours are set, nothing else.
        const std::vector<std::pair<int, int>> expected = {{3, 2}, {2, 3}, {4, 3}, {3, 4}};
        EXPECT_EQ(OutlinePixels(outline), expected);
        EXPECT_TRUE(outline->flags & SDL_SRCCOLORKEY);
        const SDL_Color c = outline->format->palette->colors[1];
        EXPECT_EQ(c.r, colourBlind ? 0 : 255);
        EXPECT_EQ(c.b, colourBlind ? 255 : 0);
    }
}

TEST_F(SpriteLoadingTest, OutlineTreatsTheTopRowAsTransparent) {
    // Two opaque pixels on top of each other in the top rows, 32-bit frame.
    std::vector<uint8_t> rgba(3 * 3 * 4, 0);
    for (int y : {0, 1}) {
        uint8_t* p = &rgba[(y * 3 + 1) * 4];
        p[0] = 255;
        p[3] = 255;
    }
    Put("pair.png", EncodePng(3, 3, 4, rgba));
    Mount();
    Sprite sprite;
    ASSERT_TRUE(sprite.LoadPNG("pair.png", 0));
    // The top pixel has an opaque neighbour below and counts as transparent: it is outlined.
    const std::vector<std::pair<int, int>> expected = {{2, 0}, {1, 1}, {2, 1}, {3, 1}, {1, 2}, {3, 2}, {2, 3}};
    EXPECT_EQ(OutlinePixels(OutlineOf(sprite, 0)), expected);
}

TEST_F(SpriteLoadingTest, SprPaletteOptions) {
    Put("one.spr", artw::EncodeSpr(2, 1, SprFrames(2, 1, {100, 100})));
    Bytes external(768, 0);
    external[3] = 1;
    external[4] = 2;
    external[5] = 3;
    Put("colours.pal", external);
    Put("short.pal", Bytes(700, 9));
    Mount();
    {
        Sprite white;
        ASSERT_TRUE(white.Load("one.spr", "", -1, 1, 1));
        // Frame 0 shows every colour but 0 as white; the next frame keeps its palette.
        EXPECT_EQ(white.frames[0]->format->palette->colors[0].r, 0);
        EXPECT_EQ(white.frames[0]->format->palette->colors[5].g, 255);
        EXPECT_EQ(white.frames[1]->format->palette->colors[5].g, 100);
    }
    {
        Sprite outside;
        ASSERT_TRUE(outside.Load("one.spr", "colours.pal", -1, 0, 1));
        for (int f = 0; f < 2; ++f) {
            EXPECT_EQ(outside.frames[f]->format->palette->colors[1].r, 1);
            EXPECT_EQ(outside.frames[f]->format->palette->colors[1].b, 3);
        }
    }
    {
        // A short palette file is reported and the frames keep their own colours.
        Sprite sprite;
        const std::string report = Quietly([&] { sprite.Load("one.spr", "short.pal", -1, 0, 1); });
        EXPECT_NE(report.find(kBrokenTitle), std::string::npos) << report;
        EXPECT_NE(report.find("short.pal"), std::string::npos) << report;
        ASSERT_EQ(sprite.frameCount, 2);
        EXPECT_EQ(sprite.frames[0]->format->palette->colors[1].r, 10);
    }
    {
        // Hue shift of the frame palettes: entry 1 (10, 20, 30) turned by 180 degrees.
        Sprite shifted;
        ASSERT_TRUE(shifted.Load("one.spr", "", 180, 0, 1));
        const uint8_t in[3] = {10, 20, 30};
        uint8_t out[3];
        HueShiftColour(in, 180.0f, out);
        EXPECT_EQ(shifted.frames[0]->format->palette->colors[1].r, out[0]);
        EXPECT_EQ(shifted.frames[0]->format->palette->colors[1].b, out[2]);
        EXPECT_GT(out[0], out[2]);
    }
}

// Hue variants of one file share its decoded pixels: each differs from a plain load only in
// its palettes, and the pixels stay while any variant uses them.
TEST_F(SpriteLoadingTest, HueVariantsShareTheDecodedPixelsAndTurnOnlyThePalettes) {
    // The second frame has a palette of its own.
    std::vector<artw::SprFrame> frames = SprFrames(5, 3, {100, 200, 300});
    for (int i = 0; i < 256 * 3; ++i) frames[1].palette[i] = uint8_t(255 - frames[1].palette[i]);
    Put("hues.spr", artw::EncodeSpr(5, 3, frames));
    Mount();
    for (int32_t native : {1, 0}) {
        SCOPED_TRACE(native ? "native size" : "doubled");
        Sprite plain;
        ASSERT_TRUE(plain.Load("hues.spr", nullptr, -1, 0, native));
        auto* first = new Sprite();
        auto* second = new Sprite();
        ASSERT_TRUE(first->Load("hues.spr", nullptr, 40, 0, native));
        ASSERT_TRUE(second->Load("hues.spr", nullptr, 200, 0, native));
        for (Sprite* variant : {first, second}) {
            const float degrees = variant == first ? 40.0f : 200.0f;
            ASSERT_EQ(variant->frameCount, 3);
            EXPECT_EQ(variant->width, plain.width);
            EXPECT_EQ(variant->height, plain.height);
            for (int f = 0; f < 3; ++f) {
                EXPECT_EQ(variant->delays[f], plain.delays[f]);
                SDL_Surface* v = variant->frames[f];
                SDL_Surface* p = plain.frames[f];
                ASSERT_EQ(v->w, p->w);
                ASSERT_EQ(v->h, p->h);
                EXPECT_TRUE(v->flags & SDL_SRCCOLORKEY);
                EXPECT_EQ(v->format->colorkey, 0u);
                for (int y = 0; y < v->h; ++y)
                    for (int x = 0; x < v->w; ++x) ASSERT_EQ(Pixel8(v, x, y), Pixel8(p, x, y)) << x << "," << y;
                for (int c : {1, 2, 3, 200}) {
                    const SDL_Color in = p->format->palette->colors[c];
                    const uint8_t rgb[3] = {in.r, in.g, in.b};
                    uint8_t out[3];
                    HueShiftColour(rgb, degrees, out);
                    const SDL_Color got = v->format->palette->colors[c];
                    EXPECT_EQ(got.r, out[0]) << c;
                    EXPECT_EQ(got.g, out[1]) << c;
                    EXPECT_EQ(got.b, out[2]) << c;
                }
            }
            // Outlines are there for the variants as for any sprite.
            EXPECT_NE(OutlineOf(*variant, 1), nullptr);
        }
        EXPECT_EQ(first->frames[1]->pixels, second->frames[1]->pixels) << "the variants do not share pixels";
        delete first;
        // The second variant still draws from the pixels the first decoded.
        for (int y = 0; y < second->frames[0]->h; ++y)
            for (int x = 0; x < second->frames[0]->w; ++x)
                ASSERT_EQ(Pixel8(second->frames[0], x, y), Pixel8(plain.frames[0], x, y));
        delete second;
    }
}

TEST_F(SpriteLoadingTest, BrokenSprFilesAreReportedAndGetAPlaceholder) {
    const Bytes good = artw::EncodeSpr(4, 4, SprFrames(4, 4, {100, 100}));
    auto header = [](uint16_t count, uint16_t w, uint16_t h) {
        Bytes b = {'S', 'P', 'R', uint8_t(count), uint8_t(count >> 8), uint8_t(w), uint8_t(w >> 8),
                   uint8_t(h), uint8_t(h >> 8)};
        return b;
    };
    Bytes zeroFrames = header(0, 4, 4);
    Bytes zeroWidth = header(2, 0, 4);
    zeroWidth.resize(9 + 2 * 770, 0);
    Bytes zeroHeight = header(2, 4, 0);
    zeroHeight.resize(9 + 2 * 770, 0);
    const Bytes cutInFrame(good.begin(), good.end() - 1);
    const Bytes cutInHeader(good.begin(), good.begin() + 6);
    Bytes hugeCount = header(60000, 64, 64);
    hugeCount.resize(2000, 1);
    const std::vector<std::pair<std::string, Bytes>> cases = {
        {"zero_frames.spr", zeroFrames}, {"zero_width.spr", zeroWidth}, {"zero_height.spr", zeroHeight},
        {"cut_frame.spr", cutInFrame},   {"cut_header.spr", cutInHeader}, {"huge.spr", hugeCount},
        {"empty.spr", Bytes()}};
    for (const auto& c : cases) Put(c.first, c.second);
    Mount();
    for (const auto& c : cases) {
        Sprite sprite;
        bool loaded = true;
        const std::string report = Quietly([&] { loaded = sprite.Load(c.first.c_str(), "", -1, 0, 0); });
        EXPECT_FALSE(loaded) << c.first;
        EXPECT_NE(report.find(kBrokenTitle), std::string::npos) << c.first << ": " << report;
        EXPECT_NE(report.find(c.first), std::string::npos) << c.first;
        // A drawable stand-in frame, never an empty or half-read sprite.
        ASSERT_EQ(sprite.frameCount, 1) << c.first;
        ASSERT_NE(sprite.frames[0], nullptr);
        EXPECT_GT(sprite.width, 0);
        EXPECT_EQ(sprite.delays[0], 1000);
    }
    // A missing file gets the missing-file box first, then the same stand-in.
    Sprite missing;
    const std::string report = Quietly([&] { missing.Load("nowhere.spr", "", -1, 0, 0); });
    EXPECT_NE(report.find("File named nowhere.spr not found"), std::string::npos) << report;
    EXPECT_NE(report.find(kBrokenTitle), std::string::npos);
    EXPECT_EQ(missing.frameCount, 1);
}

TEST_F(SpriteLoadingTest, FrameListLoadsFramesWithDelaysFromTheListFolder) {
    Put("fx/boom_00.png", EncodePng(2, 3, 4, std::vector<uint8_t>(24, 255)));
    Put("fx/boom_01.png", EncodePng(2, 3, 4, std::vector<uint8_t>(24, 128)));
    Put("fx/b&w_02.png", EncodePng(2, 3, 4, std::vector<uint8_t>(24, 64)));
    // The third name reaches the reader in pieces (around the character reference and the
    // line breaks); the last frame has no delay of its own and takes the one before.
    Put("fx/boom.xml",
        "<?xml version=\"1.0\"?>\n<animation>\n"
        "  <frame delay=\"40\">boom_00.png</frame>\n"
        "  <frame delay=\"70\">boom_01.png</frame>\n"
        "  <frame delay=\"90\">\n    b&amp;w_02.png\n  </frame>\n"
        "  <frame>boom_00.png</frame>\n"
        "</animation>\n");
    Mount();
    for (int32_t doubled : {1, 0}) {
        Sprite sprite;
        const std::string report = Quietly([&] { EXPECT_TRUE(sprite.LoadXML("fx/boom.xml", doubled, -1)); });
        EXPECT_EQ(report, "");
        ASSERT_EQ(sprite.frameCount, 4);
        const uint16_t delays[] = {40, 70, 90, 90};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(sprite.delays[i], delays[i]) << i;
        EXPECT_EQ(sprite.width, doubled ? 4 : 2);
        EXPECT_EQ(sprite.height, doubled ? 6 : 3);
        EXPECT_EQ(Pixel32(sprite.frames[2], 0, 0) & 0xFF, 64u);
        ASSERT_NE(sprite.outlines, nullptr);
        EXPECT_NE(OutlineOf(sprite, 3), nullptr);
    }
}

TEST_F(SpriteLoadingTest, FrameListHueShiftRecoloursPaletteFrames) {
    PaletteSpec want;
    want.width = 1;
    want.height = 1;
    want.palette = {{0, 0, 0, 0}, {255, 0, 0, 255}};
    want.alphas = {0};
    want.indices = {1};
    Put("m/red.png", EncodePalettePng(want));
    Put("m/red.xml", "<a><frame delay=\"5\">red.png</frame></a>");
    Mount();
    Sprite green;
    ASSERT_TRUE(green.Load("m/red.xml", "", 120, 0, 0));
    EXPECT_EQ(Pixel32(green.frames[0], 1, 1), 0xFF00FF00u);
    EXPECT_FALSE(HueShiftEnabled());
    Sprite red;
    ASSERT_TRUE(red.Load("m/red.xml", "", -1, 0, 0));
    EXPECT_EQ(Pixel32(red.frames[0], 1, 1), 0xFF0000FFu);
}

TEST_F(SpriteLoadingTest, BrokenFrameListsAreReported) {
    Put("l/ok.png", EncodePng(1, 1, 4, {1, 2, 3, 255}));
    Put("l/empty.xml", "<animation></animation>");
    Put("l/long.xml", "<a><frame delay=\"5\">" + std::string(3000, 'x') + ".png</frame></a>");
    Put("l/bad.xml", "<a><frame delay=\"5\">ok.png</frame>");
    Put("l/gap.xml", "<a><frame delay=\"5\">ok.png</frame><frame>missing.png</frame></a>");
    Mount();
    for (const char* file : {"l/empty.xml", "l/long.xml", "l/bad.xml"}) {
        Sprite sprite;
        bool loaded = true;
        const std::string report = Quietly([&] { loaded = sprite.LoadXML(file, 1, -1); });
        EXPECT_FALSE(loaded) << file;
        EXPECT_NE(report.find(kBrokenTitle), std::string::npos) << file << ": " << report;
        ASSERT_EQ(sprite.frameCount, 1) << file;
        EXPECT_NE(sprite.frames[0], nullptr);
    }
    // A frame that cannot be read is reported and replaced by a stand-in of the list's size.
    Sprite gap;
    const std::string report = Quietly([&] { EXPECT_FALSE(gap.LoadXML("l/gap.xml", 1, -1)); });
    EXPECT_NE(report.find("l/missing.png"), std::string::npos) << report;
    ASSERT_EQ(gap.frameCount, 2);
    ASSERT_NE(gap.frames[1], nullptr);
    EXPECT_EQ(gap.frames[1]->w, 2);
}

TEST_F(SpriteLoadingTest, PngAndNumberedSeries) {
    for (int i = 0; i < 5; ++i) {
        char name[64];
        snprintf(name, sizeof name, "sprites/sfx/glintA/glintA%04d.png", i);
        Put(name, EncodePng(3, 2, 4, std::vector<uint8_t>(24, uint8_t(10 + i))));
    }
    Put("x.png", EncodePng(3, 2, 4, std::vector<uint8_t>(24, 200)));
    Put("broken.png", std::string("not a picture"));
    Mount();

    Sprite* series = nullptr;
    std::string report = Quietly([&] {
        series = SpriteMgr_GetOrLoadSeries("glint", "sprites/sfx/glintA/glintA", 5, 0, 80, 1);
    });
    EXPECT_EQ(report, "");
    ASSERT_NE(series, nullptr);
    ASSERT_EQ(series->frameCount, 5);
    EXPECT_EQ(series->outlines, nullptr);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(series->delays[i], 80);
        EXPECT_EQ(Pixel32(series->frames[i], 0, 0) & 0xFF, uint32_t(10 + i));
    }
    EXPECT_EQ(series->width, 6);

    Sprite* single = SpriteMgr_GetOrLoadSeries("x", "x.png", 5, 0, 80, 0);
    ASSERT_EQ(single->frameCount, 1);
    EXPECT_EQ(single->delays[0], 1000);
    EXPECT_EQ(single->width, 3);
    EXPECT_NE(single->outlines, nullptr);

    Sprite broken;
    report = Quietly([&] { EXPECT_FALSE(broken.LoadPNG("broken.png", 1)); });
    EXPECT_NE(report.find("Couldn't load PNG file broken.png. The game will now crash."), std::string::npos);
    EXPECT_EQ(broken.frameCount, 1);
}

TEST_F(SpriteLoadingTest, AMissingSeriesIsReportedOnceWhateverItsLength) {
    Put("d/run0000.png", EncodePng(3, 2, 4, std::vector<uint8_t>(24, 40)));
    Put("d/run0002.png", EncodePng(3, 2, 4, std::vector<uint8_t>(24, 60)));
    Mount();
    const auto count = [](const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    };
    struct Case {
        int32_t frames;
        int32_t missing;
    };
    for (const Case& c : {Case{3, 1}, Case{5, 3}, Case{6000, 5998}}) {
        SCOPED_TRACE(c.frames);
        Sprite series;
        const std::string report = Quietly([&] { EXPECT_FALSE(series.LoadPNGSeries("d/run", 0, c.frames, 80, 0)); });
        EXPECT_EQ(series.frameCount, c.frames);
        EXPECT_NE(series.frames[0], nullptr);
        EXPECT_NE(series.frames[2], nullptr);
        // The first missing frame is named as a lone missing picture is; the rest are counted.
        EXPECT_EQ(count(report, "File named d/run0001.png not found"), 1u) << report;
        EXPECT_EQ(count(report, "Couldn't load PNG file d/run0001.png"), 1u) << report;
        EXPECT_EQ(count(report, "not found"), 1u);
        EXPECT_EQ(count(report, "Couldn't load"), 1u);
        if (c.missing > 1) {
            EXPECT_EQ(count(report, std::to_string(c.missing - 1) + " more frames of d/run are missing"), 1u)
                << report;
        }
        EXPECT_LE(count(report, "\n"), 6u) << "a few lines, not a line per frame";
    }
}

TEST_F(SpriteLoadingTest, TableLoadsEachNameOnceAndFreesTransientOnes) {
    Put("a.spr", artw::EncodeSpr(2, 2, SprFrames(2, 2, {100})));
    Put("b.spr", artw::EncodeSpr(3, 3, SprFrames(3, 3, {100, 100})));
    Mount();
    Sprite* a = SpriteMgr_GetOrLoad("A", "a.spr", "", 0, 0, 1);
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->transient);
    // Same name, other file: the first sprite, not loaded again.
    EXPECT_EQ(SpriteMgr_GetOrLoad("A", "b.spr", "", 0, 0, 1), a);
    EXPECT_EQ(a->frameCount, 1);
    // Without a file the name is the file.
    Sprite* b = SpriteMgr_GetOrLoad("b.spr");
    ASSERT_EQ(b->frameCount, 2);
    EXPECT_FALSE(b->transient);
    SpriteTable entry("tableEntry", "b.spr");
    EXPECT_NE(entry.sprite, b);
    EXPECT_EQ(SpriteMgr_Find("tableEntry"), entry.sprite);

    Sprite* own = new Sprite();
    EXPECT_TRUE(SpriteMgr_Add("own", own));
    Sprite other;
    EXPECT_FALSE(SpriteMgr_Add("own", &other));
    EXPECT_EQ(SpriteMgr_Find("own"), own);

    SpriteMgr_FreeTransient();
    EXPECT_EQ(SpriteMgr_Find("A"), nullptr);
    EXPECT_EQ(SpriteMgr_Find("b.spr"), b);
    EXPECT_EQ(SpriteMgr_Count(), 3u);
    SpriteMgr_FreeAll();
    EXPECT_EQ(SpriteMgr_Count(), 0u);
}

TEST_F(SpriteLoadingTest, DrawFrameBlitsOnlyExistingFrames) {
    Put("c.spr", artw::EncodeSpr(2, 2, SprFrames(2, 2, {100})));
    Mount();
    ScreenSurface = SDL_CreateRGBSurface(0, 8, 8, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    Sprite sprite;
    ASSERT_TRUE(sprite.Load("c.spr", "", -1, 0, 1));
    sprite.DrawFrame(3, 4, 0);
    EXPECT_EQ(Pixel32(ScreenSurface, 3, 4), 0u);  // index 0: keyed out
    // (1, 0) holds index 2 = (20, 40, 60).
    EXPECT_EQ(Pixel32(ScreenSurface, 4, 4), 0x14283Cu);
    SDL_FillRect(ScreenSurface, nullptr, 0);
    for (int32_t frame : {-1, 1, 40000}) sprite.DrawFrame(0, 0, frame);
    // Positions past what a blit can take are off every screen; cut to 16 bits they would land
    // on it (65539 would be 3).
    sprite.DrawFrame(65539, 4, 0);
    sprite.DrawFrame(3, -65532, 0);
    sprite.DrawOutlineFrame(65539, 4, 0);
    Sprite empty;
    empty.DrawFrame(0, 0, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(Pixel32(ScreenSurface, x, y), 0u);
}

// A sprite still asked for by a transient request is kept for good once anyone asks for it
// without the transient flag: freeing the transient sprites must not leave that caller with a
// dangling pointer.
TEST_F(SpriteLoadingTest, AKeptRequestForATransientSpriteKeepsIt) {
    Put("a.spr", artw::EncodeSpr(2, 2, SprFrames(2, 2, {100})));
    Put("b.png", EncodePng(1, 1, 4, {1, 2, 3, 255}));
    Mount();
    Sprite* a = SpriteMgr_GetOrLoad("A", "a.spr", "", 0, 0, 1);
    ASSERT_TRUE(a->transient);
    EXPECT_EQ(SpriteMgr_GetOrLoad("A", "a.spr", "", 0, 0, 1), a);
    EXPECT_TRUE(a->transient);  // transient requests leave it transient
    EXPECT_EQ(SpriteMgr_GetOrLoad("A", "a.spr"), a);
    EXPECT_FALSE(a->transient);
    Sprite* b = SpriteMgr_GetOrLoad("B", "b.png", "", 0, 0, 1);
    EXPECT_EQ(SpriteMgr_GetOrLoadPNG("B", "b.png", 1), b);  // the other kept requests as well
    EXPECT_FALSE(b->transient);
    SpriteMgr_FreeTransient();
    EXPECT_EQ(SpriteMgr_Find("A"), a);
    EXPECT_EQ(SpriteMgr_Find("B"), b);
    EXPECT_EQ(a->frameCount, 1);
}

// Delays are 16-bit: a negative one is 0 ms, one past 65535 is 65535 ms, never wrapped around.
TEST_F(SpriteLoadingTest, FrameDelaysAreClampedNotWrapped) {
    Put("d/f.png", EncodePng(1, 1, 4, {1, 2, 3, 255}));
    Put("d/list.xml", "<a><frame delay=\"-5\">f.png</frame><frame delay=\"70000\">f.png</frame>"
                      "<frame delay=\"65535\">f.png</frame><frame delay=\"0\">f.png</frame></a>");
    for (int i = 0; i < 2; ++i) {
        char name[32];
        snprintf(name, sizeof name, "d/s%04d.png", i);
        Put(name, EncodePng(1, 1, 4, {1, 2, 3, 255}));
    }
    Mount();
    Sprite list;
    ASSERT_TRUE(list.LoadXML("d/list.xml", 0, -1));
    ASSERT_EQ(list.frameCount, 4);
    EXPECT_EQ(list.delays[0], 0);
    EXPECT_EQ(list.delays[1], 65535);
    EXPECT_EQ(list.delays[2], 65535);
    EXPECT_EQ(list.delays[3], 0);
    for (const auto& c : {std::make_pair(-5, 0), std::make_pair(70000, 65535), std::make_pair(250, 250)}) {
        Sprite series;
        ASSERT_TRUE(series.LoadPNGSeries("d/s", 0, 2, c.first, 0));
        EXPECT_EQ(series.delays[0], c.second) << c.first;
        EXPECT_EQ(series.delays[1], c.second) << c.first;
    }
}

// ".spr" frames doubled with "smoothScaling" set use Scale2x on the palette indices: a
// checkerboard keeps its 2x2 blocks except at its corners, whose inner quarter takes the other
// index.
TEST_F(SpriteLoadingTest, SprFramesDoubleWithScale2xUnderSmoothScaling) {
    artw::SprFrame frame;
    for (int i = 0; i < 256; ++i) frame.palette[i * 3] = uint8_t(i);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) frame.pixels.push_back((x + y) % 2 == 0 ? 1 : 2);
    Put("board.spr", artw::EncodeSpr(4, 4, {frame}));
    Mount();
    const int32_t oldSmooth = smoothScaling;
    for (int32_t smooth : {1, 0}) {
        smoothScaling = smooth;
        Sprite sprite;
        ASSERT_TRUE(sprite.Load("board.spr", "", -1, 0, 0));
        SDL_Surface* s = sprite.frames[0];
        ASSERT_EQ(s->w, 8);
        ASSERT_EQ(s->h, 8);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const int sx = x / 2, sy = y / 2;
                int expected = frame.pixels[sy * 4 + sx];
                const bool corner = (sx == 0 || sx == 3) && (sy == 0 || sy == 3);
                const bool inner = (x % 2 == (sx == 0 ? 1 : 0)) && (y % 2 == (sy == 0 ? 1 : 0));
                if (smooth != 0 && corner && inner) expected = frame.pixels[sy * 4 + (sx == 0 ? 1 : 2)];
                EXPECT_EQ(Pixel8(s, x, y), expected) << "smooth " << smooth << " at " << x << "," << y;
            }
        }
    }
    smoothScaling = oldSmooth;
}

}  // namespace

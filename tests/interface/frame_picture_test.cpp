// The in-game frame, pixel for pixel: generated levels from the shipped data and art, painted
// with the HUD, the ticker and the pointer into a 1280 x 720 screen of the game window's
// format and of the OpenGL present's format. A checksum of every pixel's colour must equal
// the recorded one, so a change to how the frame is painted (caches, converted pictures,
// faster loops) cannot change what the player sees.
//
// When a change is meant to change the picture, look at the frames the failing cases write
// ("frame_picture_<case>.png" in the test's working folder) and record the new checksums.
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/play_scene.h"
#include "core/input_log.h"
#include "tests/interface/frame_test_support.h"

namespace {

// FNV-1a over the red, green and blue of every pixel, row by row.
uint64_t PictureChecksum(SDL_Surface* s) {
    uint64_t hash = 14695981039346656037ull;
    for (int y = 0; y < s->h; ++y) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; ++x) {
            Uint8 rgb[3];
            SDL_GetRGB(row[x], s->format, &rgb[0], &rgb[1], &rgb[2]);
            for (Uint8 c : rgb) {
                hash ^= c;
                hash *= 1099511628211ull;
            }
        }
    }
    return hash;
}

void WritePicture(SDL_Surface* s, const std::string& file) {
    std::vector<uint8_t> rgb;
    rgb.reserve(static_cast<size_t>(s->w) * s->h * 3);
    for (int y = 0; y < s->h; ++y) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; ++x) {
            Uint8 r, g, b;
            SDL_GetRGB(row[x], s->format, &r, &g, &b);
            rgb.push_back(r);
            rgb.push_back(g);
            rgb.push_back(b);
        }
    }
    stbi_write_png(file.c_str(), s->w, s->h, 3, rgb.data(), s->w * 3);
}

// The first square of one of the liquid kinds, or false.
bool FindLiquid(const Level& level, int32_t* x, int32_t* y) {
    for (int32_t yy = 0; yy < level.height; ++yy) {
        for (int32_t xx = 0; xx < level.width; ++xx) {
            if (level.IsLiquidSquare(xx, yy)) {
                *x = xx;
                *y = yy;
                return true;
            }
        }
    }
    return false;
}

struct ScreenKind {
    const char* name;
    Uint32 r, g, b;
};
// The window the game opens (SDL's 32-bit video surface) and the software surface the OpenGL
// present uploads.
const ScreenKind kScreens[] = {{"window", 0xFF0000, 0xFF00, 0xFF}, {"opengl", 0xFF, 0xFF00, 0xFF0000}};

// Where the hero stands: the start square, above the first liquid square of the level, or
// one square in from the top-left or the bottom-right corner of the grid.
enum class Place { Start, Liquid, TopLeft, BottomRight };

struct PictureCase {
    const char* name;
    uint32_t seed;
    int32_t depth;
    bool allSeen;        // every square remembered
    Place place;
    float offsetX;       // the hero's walking offset
    float offsetY;
    int32_t frames;      // frames of 16 ms played before the checked one
    uint64_t checksum[2];  // window, opengl
};

const PictureCase kCases[] = {
    {"start", 7, 0, false, Place::Start, 0.0f, 0.0f, 0, {0x37b1cb14e4cd7876ull, 0x13f0dd5df9115f01ull}},
    {"all_seen", 7, 0, true, Place::Start, 0.0f, 0.0f, 0, {0xc4e431c098be53ceull, 0x17e57ebfecf7dda1ull}},
    {"walking", 7, 0, true, Place::Start, -20.0f, 12.0f, 0, {0x2bd99aee474330f7ull, 0x07dceb5ba6f34570ull}},
    {"liquids_animated", 3, 5, true, Place::Liquid, 0.0f, 0.0f, 40, {0x29051c757102e0bbull, 0x7261cf2fcb151aa8ull}},
    {"deep_liquids", 5, 9, false, Place::Liquid, 6.0f, -30.0f, 7, {0x3c136d47a3c8bd00ull, 0x65274cc697e86b6cull}},
    {"top_left", 2, 3, true, Place::TopLeft, 0.0f, 0.0f, 0, {0xdc8841717750a96dull, 0x28c05626e23a4005ull}},
    {"bottom_right", 2, 3, true, Place::BottomRight, 22.0f, 40.0f, 0, {0xa5c1b11f9506ece2ull, 0xf0793890eb11aaa7ull}},
};

TEST(FramePicture, GeneratedLevelsPaintTheRecordedPictures) {
    const std::string root = VAULTMERE_GAME_ROOT;
    if (!std::filesystem::exists(root + "/ui/cursor.spr")) GTEST_SKIP() << "game folder not assembled";
    const std::string here = std::filesystem::current_path().string();
    ScopedVideo video;
    ASSERT_TRUE(video.ok()) << SDL_GetError();
    for (size_t k = 0; k < 2; ++k) {
        const ScreenKind& kind = kScreens[k];
        for (const PictureCase& c : kCases) {
            SCOPED_TRACE(std::string(kind.name) + " " + c.name);
            SDL_Surface* screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 1280, 720, 32, kind.r, kind.g, kind.b, 0);
            ASSERT_NE(screen, nullptr);
            uint64_t sum = 0;
            {
                PlayScene scene;
                PlayScene::Setup setup;
                setup.seed = c.seed;
                setup.depth = c.depth;
                ASSERT_TRUE(scene.Open(root, screen, setup));
                Level& level = *scene.level();
                int32_t x = 0, y = 0;
                switch (c.place) {
                    case Place::Start: scene.SetExplored(c.allSeen); break;
                    case Place::Liquid:
                        ASSERT_TRUE(FindLiquid(level, &x, &y));
                        scene.MoveHero(x, y - 1, c.allSeen);
                        break;
                    case Place::TopLeft: scene.MoveHero(1, 1, c.allSeen); break;
                    case Place::BottomRight: scene.MoveHero(level.width - 2, level.height - 2, c.allSeen); break;
                }
                scene.hero()->offsetX = c.offsetX;
                scene.hero()->offsetY = c.offsetY;
                // Every frame lasts 16 ms on the fixed clock, so the animations reach the same
                // frames however fast the machine paints.
                SetFixedFrameTime(16);
                for (int32_t i = 0; i < c.frames; ++i) {
                    DrawGameScreen();
                    AdvanceFrame();
                }
                // The picture settles in its second frame: what the pointer rests on (a closed
                // door) is highlighted from the frame after the one that found it.
                DrawGameScreen();
                TooltipSlotFree = true;
                DrawGameScreen();
                sum = PictureChecksum(screen);
                // A second frame at the same time paints the same picture (the tooltip under the
                // pointer included: the clock stands still, and the tooltip slot is free again as
                // at the start of every frame).
                TooltipSlotFree = true;
                DrawGameScreen();
                EXPECT_EQ(PictureChecksum(screen), sum);
                SetFixedFrameTime(0);
                if (sum != c.checksum[k]) {
                    const std::string file = here + "/frame_picture_" + kind.name + "_" + c.name + ".png";
                    WritePicture(screen, file);
                    ADD_FAILURE() << "checksum 0x" << std::hex << sum << " (recorded 0x" << c.checksum[k]
                                  << "); the picture is in " << file;
                }
            }
            SDL_FreeSurface(screen);
        }
    }
}

}  // namespace

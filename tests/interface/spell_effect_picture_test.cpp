// Spell pictures on the play screen: a missile caught in flight and a burst caught while it
// plays, painted from the shipped art over a generated level. Each caught frame is compared
// with the frame painted once the effect is over: the squares the effect crosses must look
// different while it shows. The two pictures are written as BMP files
// ("spell_missile_in_flight.bmp", "spell_burst.bmp") into VAULTMERE_PICTURE_DIR, or the test's
// working folder, for a person to look at; the test runs under the dummy driver and under a
// real display (SDL_VIDEODRIVER=x11 under Xvfb) alike.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/play_scene.h"
#include "core/input_log.h"
#include "creatures/spell.h"
#include "interface/layout.h"
#include "levels/tile_effects.h"
#include "media/sprite.h"
#include "tests/interface/frame_test_support.h"

namespace {

// Keeps a copy of the frame presented as number `wanted` (counted from 1).
struct FrameCatcher {
    int32_t wanted = 0;
    int32_t presented = 0;
    SDL_Surface* caught = nullptr;
};
FrameCatcher* Catcher = nullptr;

void CatchFrame(SDL_Surface* surface) {
    if (Catcher == nullptr || surface == nullptr) return;
    if (++Catcher->presented != Catcher->wanted) return;
    if (Catcher->caught != nullptr) SDL_FreeSurface(Catcher->caught);
    Catcher->caught = SDL_ConvertSurface(surface, surface->format, SDL_SWSURFACE);
}

class CatchScope {
public:
    explicit CatchScope(int32_t wanted) {
        catcher_.wanted = wanted;
        Catcher = &catcher_;
        SetFramePresenter(CatchFrame);
    }
    ~CatchScope() {
        SetFramePresenter(nullptr);
        Catcher = nullptr;
        if (catcher_.caught != nullptr) SDL_FreeSurface(catcher_.caught);
    }
    SDL_Surface* caught() const { return catcher_.caught; }
    int32_t presented() const { return catcher_.presented; }

private:
    FrameCatcher catcher_;
};

// Pixels of the squares' screen rectangles whose colour differs between the two pictures.
int32_t DifferingPixels(SDL_Surface* a, SDL_Surface* b, const SquareList& squares) {
    const MapView& view = Layout.view;
    int32_t count = 0;
    for (const auto& square : squares) {
        const int32_t left = (square.first - view.originX) * view.tileWidth - view.pixelX;
        const int32_t top = (square.second - view.originY) * view.tileHeight - view.pixelY;
        for (int32_t y = std::max(top, 0); y < std::min(top + view.tileHeight, a->h); ++y) {
            const Uint32* rowA = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(a->pixels) + y * a->pitch);
            const Uint32* rowB = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(b->pixels) + y * b->pitch);
            for (int32_t x = std::max(left, 0); x < std::min(left + view.tileWidth, a->w); ++x) {
                if (rowA[x] != rowB[x]) ++count;
            }
        }
    }
    return count;
}

// A straight run of `length` open floor squares from the hero in one of the four directions;
// false when there is none.
bool OpenRunFrom(Level& level, const Player& hero, int32_t length, int32_t* dx, int32_t* dy) {
    const int32_t directions[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& d : directions) {
        bool open = true;
        for (int32_t i = 1; i <= length + 1 && open; ++i) {
            const int32_t x = hero.x + d[0] * i;
            const int32_t y = hero.y + d[1] * i;
            open = level.IsInside(x, y) && level.SquareKind(x, y) == static_cast<int32_t>(SquareType::Floor) &&
                   !level.IsSquareBlocked(x, y, false, true);
        }
        if (open) {
            *dx = d[0];
            *dy = d[1];
            return true;
        }
    }
    return false;
}

std::string PictureFile(const std::string& name) {
    const char* dir = std::getenv("VAULTMERE_PICTURE_DIR");
    const std::string folder = dir != nullptr && *dir != '\0' ? dir : std::filesystem::current_path().string();
    return folder + "/" + name;
}

TEST(SpellEffectPicture, AMissileInFlightAndABurstShowOnThePlayScreen) {
    const std::string root = VAULTMERE_GAME_ROOT;
    if (!std::filesystem::exists(root + "/ui/cursor.spr")) GTEST_SKIP() << "game folder not assembled";
    const std::string missileFile = PictureFile("spell_missile_in_flight.bmp");
    const std::string burstFile = PictureFile("spell_burst.bmp");
    ScopedVideo video;
    ASSERT_TRUE(video.ok()) << SDL_GetError();
    SDL_Surface* screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 1280, 720, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_NE(screen, nullptr);
    {
        PlayScene scene;
        PlayScene::Setup setup;
        setup.seed = 7;
        setup.mouseX = 20;  // the pointer out of the way, over the left edge
        setup.mouseY = 20;
        ASSERT_TRUE(scene.Open(root, screen, setup));
        Level& level = *scene.level();
        Player& hero = *scene.hero();
        scene.SetExplored(true);
        int32_t dx = 0;
        int32_t dy = 0;
        ASSERT_TRUE(OpenRunFrom(level, hero, 4, &dx, &dy)) << "no open run beside the start";
        const int32_t tx = hero.x + 4 * dx;
        const int32_t ty = hero.y + 4 * dy;
        SquareList path;
        for (int32_t i = 1; i <= 4; ++i) path.emplace_back(hero.x + i * dx, hero.y + i * dy);
        SetFixedFrameTime(16);

        // The missile moves one square every two frames: the fifth frame shows it halfway.
        Sprite* bile = SpriteMgr_GetOrLoadSeries("sprites/spells/bile/bile", "sprites/spells/bile/bile", 3, 0, 80, 1);
        ASSERT_NE(bile, nullptr);
        ASSERT_EQ(bile->frameCount, 3);
        {
            CatchScope scope(5);
            int32_t sx = -1;
            int32_t sy = -1;
            AnimateMissile(hero.x, hero.y, tx, ty, &sx, &sy, bile);
            EXPECT_EQ(sx, tx);
            EXPECT_EQ(sy, ty);
            ASSERT_NE(scope.caught(), nullptr) << scope.presented() << " frames";
            DrawGameScreen();
            EXPECT_GT(DifferingPixels(scope.caught(), screen, path), 40) << "the missile shows on its path";
            EXPECT_EQ(SDL_SaveBMP(scope.caught(), missileFile.c_str()), 0) << missileFile;
        }

        // A burst of radius 1.5 around the far end plays over nine squares.
        Spell harmless;
        harmless.name = "Picture Burst";
        const SquareList burst = BurstSquares(tx, ty, 1.5f);
        ASSERT_EQ(burst.size(), 9u);
        {
            CatchScope scope(4);
            CastBurstSpell(tx, ty, 1.5f, "sprites/spells/fire_bomb/fire_bomb", 6, 60, &harmless, &hero);
            ASSERT_NE(scope.caught(), nullptr) << scope.presented() << " frames";
            DrawGameScreen();
            EXPECT_GT(DifferingPixels(scope.caught(), screen, burst), 600) << "the burst squares show fire";
            EXPECT_EQ(SDL_SaveBMP(scope.caught(), burstFile.c_str()), 0) << burstFile;
        }
        SetFixedFrameTime(0);
    }
    SDL_FreeSurface(screen);
}

}  // namespace

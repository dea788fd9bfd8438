// The minimap picture kept between frames: after every kind of change a turn brings (the hero
// moving, squares explored, a magic map, objects appearing or changing their icon) the
// minimap a frame shows is the one drawn afresh, pixel for pixel, at every size; icons that
// reach out of the minimap's background, and icons over them, included.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/play_scene.h"
#include "interface/hud.h"
#include "interface/layout.h"
#include "interface/minimap.h"
#include "levels/game_obj.h"
#include "media/sprite.h"
#include "tests/interface/frame_test_support.h"

namespace {

// Something on the level with a minimap icon of a kind that can change.
class MarkedThing : public GameObj {
public:
    explicit MarkedThing(int32_t iconKind) : kind(iconKind) {}
    void DrawOnMinimap(int32_t x, int32_t y, int32_t zoom) override {
        if (Sprite* icon = MinimapIcon(kind, zoom)) icon->DrawFrame(x, y, 0);
    }
    int32_t kind;
};

constexpr int32_t kMonsterIcon = 10;
constexpr int32_t kStairsDownIcon = 14;
constexpr int32_t kTeleportIcon = 18;

// The pixels of the screen's top-right corner (the minimap, with room for icons reaching out
// of it), drawn over a screen filled with one colour.
std::vector<uint32_t> MinimapCorner(SDL_Surface* screen) {
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 40, 90, 20));
    DrawMinimap();
    const int32_t left = screen->w - 440;
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < 440; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(screen->pixels) +
                                                                y * screen->pitch);
        pixels.insert(pixels.end(), row + left, row + screen->w);
    }
    return pixels;
}

// What the minimap shows now, and what it shows drawn afresh (nothing kept from before).
void ExpectFreshPicture(SDL_Surface* screen, const std::string& after, std::vector<uint32_t>* shown) {
    *shown = MinimapCorner(screen);
    FreeMinimap();
    const std::vector<uint32_t> fresh = MinimapCorner(screen);
    EXPECT_TRUE(*shown == fresh) << "a stale minimap after " << after;
}

TEST(MinimapPicture, EveryFrameShowsTheMinimapAsDrawnAfresh) {
    const std::string root = VAULTMERE_GAME_ROOT;
    if (!std::filesystem::exists(root + "/ui/cursor.spr")) GTEST_SKIP() << "game folder not assembled";
    ScopedVideo video;
    ASSERT_TRUE(video.ok()) << SDL_GetError();
    SDL_Surface* screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 1280, 720, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_NE(screen, nullptr);
    {
        PlayScene scene;
        PlayScene::Setup setup;
        setup.seed = 3;
        ASSERT_TRUE(scene.Open(root, screen, setup));
        testing::internal::CaptureStdout();
        LoadMinimapIcons();
        testing::internal::GetCapturedStdout();
        ASSERT_NE(MinimapIcon(kMonsterIcon, 3), nullptr);
        Level& level = *scene.level();
        const int32_t savedSize = Layout.minimapSize;
        for (int32_t size = 0; size < 4; ++size) {
            SCOPED_TRACE("size " + std::to_string(size));
            Layout.minimapSize = size;
            FreeMinimap();
            scene.MoveHero(level.startX, level.startY, false);
            std::vector<uint32_t> before;
            std::vector<uint32_t> now;
            ExpectFreshPicture(screen, "the start", &before);
            // Shown twice without a change: the kept picture.
            now = MinimapCorner(screen);
            EXPECT_TRUE(now == before);

            // Things appear on the level: in the left column (their icons reach out of the
            // background at the larger sizes), one beside it whose icon lies over theirs, one
            // in the middle and one in the bottom row.
            MarkedThing* left = new MarkedThing(kMonsterIcon);
            left->PlaceOnLevel(0, 40, &level, 0);
            MarkedThing* beside = new MarkedThing(kTeleportIcon);
            beside->PlaceOnLevel(1, 40, &level, 0);
            MarkedThing* middle = new MarkedThing(kStairsDownIcon);
            middle->PlaceOnLevel(50, 50, &level, 0);
            MarkedThing* bottom = new MarkedThing(kMonsterIcon);
            bottom->PlaceOnLevel(60, level.height - 1, &level, 0);
            level.RevealMap();
            ExpectFreshPicture(screen, "the whole map revealed", &now);
            EXPECT_FALSE(now == before) << "the revealed map looks as before";
            before = now;

            // A turn: an icon changes while nothing is added or taken away; the sight pass
            // of the turn follows.
            middle->kind = kTeleportIcon;
            left->kind = kStairsDownIcon;
            level.UpdateFieldOfView(scene.hero()->x, scene.hero()->y, scene.hero()->SightRadius());
            ExpectFreshPicture(screen, "icons changed in a turn", &now);
            EXPECT_FALSE(now == before) << "the changed icons look as before";
            before = now;

            // The hero walks elsewhere and sees another part of a forgotten level.
            for (LevelCell& cell : level.squares) cell.flags = 0;
            scene.MoveHero(level.width / 2, level.height / 2, false);
            ExpectFreshPicture(screen, "a move on a forgotten level", &now);
            EXPECT_FALSE(now == before) << "the forgotten level looks as before";
            before = now;

            // A wall square out of sight marked seen by itself (as a mapping effect does).
            int32_t markX = -1;
            int32_t markY = -1;
            for (int32_t y = 0; y < level.height && markX < 0; ++y) {
                for (int32_t x = 0; x < level.width && markX < 0; ++x) {
                    const LevelCell* cell = level.GetCell(x, y);
                    if (cell->type == SquareType::Wall && cell->flags == 0) {
                        markX = x;
                        markY = y;
                    }
                }
            }
            ASSERT_GE(markX, 0);
            level.MarkSquareSeen(markX, markY);
            ExpectFreshPicture(screen, "one square marked seen", &now);
            EXPECT_FALSE(now == before) << "the marked square is not shown";

            // The things go with the turn that removes them.
            for (MarkedThing* thing : {left, beside, middle, bottom}) delete thing;
            level.UpdateFieldOfView(scene.hero()->x, scene.hero()->y, scene.hero()->SightRadius());
            ExpectFreshPicture(screen, "the things taken away", &now);
        }
        Layout.minimapSize = savedSize;
        FreeMinimap();
    }
    SDL_FreeSurface(screen);
}

}  // namespace

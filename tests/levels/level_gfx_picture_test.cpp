// A hand-made level drawn with our shipped branch data and tileset art into a 1280 x 720
// software screen. The picture is written to "level_picture.png" in the test's working folder
// (the build folder under ctest) for a reviewer to look at; the test checks that floors, wall
// faces, liquids and tops come out in clearly different colours.
#include <gtest/gtest.h>
#include <physfs.h>
#include <stb_image_write.h>

#include <SDL.h>

#include <cmath>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/status_overlays.h"
#include "media/screen.h"
#include "interface/layout.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "levels/level_draw.h"
#include "levels/gen/level_gfx.h"
#include "media/sprite.h"
#include "platform/vfs.h"
#include "tests/levels/level_test_map.h"
#include "support/platform_fixtures.h"

namespace {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

double Distance(const Rgb& a, const Rgb& b) {
    return std::sqrt((a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b));
}

// Mean colour of the middle half of a square on the screen.
Rgb SquareColour(SDL_Surface* s, int sx, int sy) {
    Rgb sum;
    int n = 0;
    for (int y = sy * 64 + 16; y < sy * 64 + 48; ++y) {
        for (int x = sx * 64 + 16; x < sx * 64 + 48; ++x) {
            const Uint32 pixel = *reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) +
                                                                   y * s->pitch + x * 4);
            Uint8 r, g, b;
            SDL_GetRGB(pixel, s->format, &r, &g, &b);
            sum.r += r;
            sum.g += g;
            sum.b += b;
            ++n;
        }
    }
    sum.r /= n;
    sum.g /= n;
    sum.b /= n;
    return sum;
}

const std::vector<std::string> kMap = {
    "                    ",
    " ######     ####### ",
    " #....#     #.....# ",
    " #.<..#######..~~.# ",
    " #....+.........~.# ",
    " #....#######.....# ",
    " ##.###  #  ###.### ",
    "   .     #    .     ",
    " ##.############.## ",
    " #.~~LL..GG..II..># ",
    " ################## ",
    "                    ",
};

// Draws kMap with the shipped data and art into a fresh 1280 x 720 screen and hands the level
// and the screen to `check` while the data is still loaded; writes the picture afterwards.
template <typename Check>
void DrawShippedLevel(const std::string& pictureName, Check check) {
    const std::string root = VAULTMERE_GAME_ROOT;
    char cwdBuffer[4096];
    ASSERT_NE(getcwd(cwdBuffer, sizeof cwdBuffer), nullptr);
    const std::string outputFile = std::string(cwdBuffer) + "/" + pictureName;

    SDL_Surface* savedScreen = ScreenSurface;
    const int32_t savedTileW = Layout.view.tileWidth, savedTileH = Layout.view.tileHeight;
    Layout.view.tileWidth = Layout.view.tileHeight = 64;
    SDL_Surface* screen =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 1280, 720, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    ASSERT_NE(screen, nullptr);
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 255, 0, 255));
    ScreenSurface = screen;
    std::vector<BranchRecord*> savedBranches = Branches;
    Branches.clear();

    const bool wasInit = PHYSFS_isInit() != 0;
    if (wasInit) PHYSFS_deinit();
    {
        ScopedWorkingDir cwd(root);
        EXPECT_TRUE(cwd.ok());
        MountDataTree();
        branchDBLoad("game/branchDB.xml");
        EXPECT_FALSE(Branches.empty());
        FreeLevelDrawArt();
        LoadLevelDrawArt();
        EXPECT_NE(LiquidsTilesetImage, nullptr);
        EXPECT_NE(LevelShadingSprite, nullptr);
        if (!Branches.empty()) {
            Level level(0, 1);
            EXPECT_NE(level.tilesetImage, nullptr);
            FillLevelFromMap(level, kMap);
            // Everything remembered; the hero sees all but the right-hand room.
            for (int y = 0; y < level.height; ++y) {
                for (int x = 0; x < level.width; ++x) {
                    uint8_t flags = SquareFlag::Explored | SquareFlag::Mapped;
                    if (x < 12) flags |= SquareFlag::Visible;
                    level.GetCell(x, y)->flags = flags;
                }
            }
            GenLevelGFXRep(&level, 0, 0, level.width, level.height);
            const MapView view;  // 64-pixel tiles from the top-left square
            level.DrawFluids(view);
            level.Draw(view);
            check(level, screen);
        }
        FreeLevelDrawArt();
        ClearBranches();
        SpriteMgr_FreeAll();
        PHYSFS_deinit();
    }
    if (wasInit) PHYSFS_init(nullptr);
    Branches = savedBranches;

    std::vector<uint8_t> rgb;
    rgb.reserve(1280 * 720 * 3);
    for (int y = 0; y < 720; ++y) {
        for (int x = 0; x < 1280; ++x) {
            const Uint32 pixel = *reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(screen->pixels) +
                                                                   y * screen->pitch + x * 4);
            Uint8 r, g, b;
            SDL_GetRGB(pixel, screen->format, &r, &g, &b);
            rgb.push_back(r);
            rgb.push_back(g);
            rgb.push_back(b);
        }
    }
    EXPECT_NE(stbi_write_png(outputFile.c_str(), 1280, 720, 3, rgb.data(), 1280 * 3), 0);
    ScreenSurface = savedScreen;
    SDL_FreeSurface(screen);
    Layout.view.tileWidth = savedTileW;
    Layout.view.tileHeight = savedTileH;
}

TEST(LevelGfxPicture, ShippedDataGivesEverySquareATileAndFillsTheScreen) {
    DrawShippedLevel("level_picture.png", [](Level& level, SDL_Surface* screen) {
        for (int y = 0; y < level.height; ++y) {
            for (int x = 0; x < level.width; ++x) {
                EXPECT_TRUE(level.BaseTile(x, y) != nullptr || level.TopTile(x, y) != nullptr)
                    << x << "," << y;
            }
        }
        // 20 x 12 squares of 64 pixels cover the whole screen.
        int blank = 0;
        for (int y = 0; y < 720; ++y) {
            for (int x = 0; x < 1280; ++x) {
                const Uint32 pixel = *reinterpret_cast<const Uint32*>(
                    static_cast<const Uint8*>(screen->pixels) + y * screen->pitch + x * 4);
                blank += pixel == SDL_MapRGB(screen->format, 255, 0, 255) ? 1 : 0;
            }
        }
        EXPECT_EQ(blank, 0);
    });
}

TEST(LevelGfxPicture, ShippedArtTellsFloorsWallsLiquidsAndTopsApart) {
    DrawShippedLevel("level_picture_families.png", [](Level& level, SDL_Surface* screen) {
        ASSERT_NE(level.BaseTile(8, 3), nullptr);  // a wall face: rock above, corridor below
        ASSERT_NE(level.TopTile(0, 0), nullptr);
        const Rgb floor = SquareColour(screen, 3, 2);
        const Rgb wallFace = SquareColour(screen, 8, 3);
        const Rgb water = SquareColour(screen, 3, 9);
        const Rgb top = SquareColour(screen, 0, 0);
        const Rgb lava = SquareColour(screen, 5, 9);
        const Rgb families[4] = {floor, wallFace, water, top};
        const char* names[4] = {"floor", "wall face", "liquid", "top"};
        for (int a = 0; a < 4; ++a) {
            for (int b = a + 1; b < 4; ++b) {
                EXPECT_GT(Distance(families[a], families[b]), 60.0) << names[a] << " / " << names[b];
            }
        }
        EXPECT_GT(Distance(lava, water), 60.0) << "lava / water";
    });
}

TEST(LevelGfxPicture, ShippedMonstersStandOnTheirSquaresWithTheSleepOverlay) {
    DrawShippedLevel("monster_picture.png", [](Level& level, SDL_Surface* screen) {
        ClearMonsterDB();
        monDBLoad("game/monDB.xml");
        ASSERT_NE(monDBFindByName("Diggle"), nullptr);
        const Rgb emptyFloor = SquareColour(screen, 3, 3);
        Sprite sleep;
        sleep.Load("sprites/sfx/sleep.spr", nullptr, -1, 0, 0);
        StatusOverlays.sleep.SetSprite(&sleep);
        Monster* sleeper = new Monster(monDBFindByName("Diggle"));
        sleeper->PlaceOnLevel(3, 3, &level, 0);
        Monster* awake = new Monster(monDBFindByName("Thrusty"));
        awake->PlaceOnLevel(8, 4, &level, 0);
        const MapView view;
        level.DrawFluids(view);
        level.Draw(view);
        const Rgb awakeDiggle = SquareColour(screen, 3, 3);
        EXPECT_GT(Distance(awakeDiggle, emptyFloor), 20.0) << "the diggle";
        sleeper->statusFlags |= Monster::kStatusAsleep;
        level.DrawFluids(view);
        level.Draw(view);
        EXPECT_GT(Distance(SquareColour(screen, 3, 3), awakeDiggle), 3.0) << "its sleep overlay";
        StatusOverlays.sleep.SetSprite(nullptr);
        delete sleeper;
        delete awake;
        ClearMonsterDB();
    });
}

// The status icons stand over each other in the order tame, burning, oiled, bleeding,
// confused, asleep: where two overlap, the later one shows. Each icon here is a plain block of
// its own colour, the burning one tall enough to reach over the others.
TEST(LevelGfxPicture, StatusIconsOfAMonsterDrawInTheirOrder) {
    DrawShippedLevel("monster_overlays_picture.png", [](Level& level, SDL_Surface* screen) {
        ClearMonsterDB();
        monDBLoad("game/monDB.xml");
        ASSERT_NE(monDBFindByName("Diggle"), nullptr);
        struct Icon {
            const char* name;
            Bob* overlay;
            int w, h;
            Uint8 r, g, b;
        };
        const Icon icons[] = {
            {"tame", &StatusOverlays.hearts, 32, 32, 250, 20, 20},
            {"burning", &StatusOverlays.burning, 32, 96, 20, 250, 20},
            {"oiled", &StatusOverlays.oil, 8, 8, 20, 20, 250},
            {"bleeding", &StatusOverlays.bleeding, 32, 32, 250, 250, 20},
            {"confused", &StatusOverlays.daze, 32, 32, 20, 250, 250},
            {"asleep", &StatusOverlays.sleep, 32, 32, 250, 20, 250},
        };
        std::vector<std::unique_ptr<Sprite>> sprites;
        for (const Icon& icon : icons) {
            SDL_Surface* block = SDL_CreateRGBSurface(SDL_SWSURFACE, icon.w, icon.h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
            SDL_FillRect(block, nullptr, SDL_MapRGB(block->format, icon.r, icon.g, icon.b));
            sprites.emplace_back(new Sprite());
            sprites.back()->InitFromSurface(block);
            icon.overlay->SetSprite(sprites.back().get());
        }
        Monster* diggle = new Monster(monDBFindByName("Diggle"));
        diggle->PlaceOnLevel(3, 3, &level, 0);
        // Each pair: both icons on, and the later one is the colour at a point they share.
        struct Case {
            int first, later;
        };
        const Case cases[] = {{0, 1}, {1, 2}, {1, 3}, {0, 3}, {3, 4}, {4, 5}, {1, 5}};
        const MapView view;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(icons[c.first].name) + " under " + icons[c.later].name);
            diggle->tame = false;
            diggle->isBurning = false;
            diggle->burnTurns = 0;
            diggle->isOiled = false;
            diggle->isBleeding = false;
            diggle->bleedTurns = 0;
            diggle->statusFlags &= ~(Monster::kStatusConfused | Monster::kStatusAsleep);
            for (int index : {c.first, c.later}) {
                switch (index) {
                    case 0: diggle->tame = true; break;
                    case 1: diggle->isBurning = true; diggle->burnTurns = 3; break;
                    case 2: diggle->isOiled = true; break;
                    case 3: diggle->isBleeding = true; diggle->bleedTurns = 3; break;
                    case 4: diggle->statusFlags |= Monster::kStatusConfused; break;
                    default: diggle->statusFlags |= Monster::kStatusAsleep; break;
                }
            }
            diggle->Draw(view);
            // The oil block's top-left corner lies inside every other icon.
            const int px = diggle->bob.x + diggle->bob.FrameWidth() / 2 - 4 + 1;
            const int py = diggle->bob.y + diggle->bob.FrameHeight() - 64 + 1;
            ASSERT_TRUE(px >= 0 && py >= 0 && px < screen->w && py < screen->h);
            const Uint32 pixel = *reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(screen->pixels) +
                                                                   py * screen->pitch + px * 4);
            Uint8 r, g, b;
            SDL_GetRGB(pixel, screen->format, &r, &g, &b);
            const Icon& top = icons[c.later];
            EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{top.r, top.g, top.b}));
        }
        for (const Icon& icon : icons) icon.overlay->SetSprite(nullptr);
        delete diggle;
        ClearMonsterDB();
    });
}

}  // namespace

// The graphics pass as a whole: wall faces, region bounds, missing tiles and the random
// choice of floors and wall decoration.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/random.h"
#include "levels/level.h"
#include "levels/gen/level_gfx.h"
#include "tests/levels/level_gfx_test_branch.h"
#include "tests/levels/level_test_map.h"

namespace {

using gfxtest::TestBranch;

TEST(LevelGfxPass, WallFacesShowBelowRockAndTakeTheirSideTiles) {
    TestBranch branch;
    Level level(0, 1);
    FillLevelFromMap(level, {"       ",
                             " ##### ",
                             " ..... ",
                             " #...# ",
                             " ##### ",
                             "       ",
                             "       "});
    GenLevelGFXRep(&level, 0, 0, level.width, level.height);
    // The top wall row has rock above and floor below: its faces show, with end pieces.
    EXPECT_EQ(branch.NameOf(level.BaseTile(1, 1)), "wall_l");
    EXPECT_EQ(branch.NameOf(level.BaseTile(3, 1)), "wall");
    EXPECT_EQ(branch.NameOf(level.BaseTile(5, 1)), "wall_r");
    EXPECT_EQ(level.WallTile(3, 1), nullptr);
    EXPECT_EQ(level.TopTile(3, 1), nullptr);
    // A wall under floor keeps its body and shows its top.
    EXPECT_EQ(branch.NameOf(level.WallTile(1, 3)), "wall");
    EXPECT_EQ(level.BaseTile(1, 3), nullptr);
    EXPECT_NE(level.TopTile(1, 3), nullptr);
    // A wall with rock above and wall or rock below (away from the bottom rows) is all top.
    EXPECT_EQ(level.BaseTile(1, 4), nullptr);
    EXPECT_EQ(level.WallTile(1, 4), nullptr);
    EXPECT_NE(level.TopTile(1, 4), nullptr);
    EXPECT_EQ(branch.NameOf(level.WallTile(3, 4)), "wall");  // floor above it
    // Floors take a floor tile, rock a top.
    EXPECT_EQ(branch.NameOf(level.BaseTile(2, 2)), "floor");
    EXPECT_EQ(level.TopTile(2, 2), nullptr);
    EXPECT_EQ(branch.NameOf(level.TopTile(3, 6)), "top_c");
}

TEST(LevelGfxPass, WallBodyStaysOnTheTopRowAndUnderFloor) {
    TestBranch branch;
    Level level(0, 1);
    FillLevelFromMap(level, {"#.#",
                             " # ",
                             ".. ",
                             "   ",
                             "   "});
    GenLevelGFXRep(&level, 0, 0, level.width, level.height);
    EXPECT_EQ(branch.NameOf(level.WallTile(0, 0)), "wall");  // the top row keeps its wall body
    EXPECT_EQ(level.BaseTile(0, 0), nullptr);
    // (1, 1): floor above - nothing changes, the wall body stays.
    EXPECT_EQ(branch.NameOf(level.WallTile(1, 1)), "wall");
    EXPECT_EQ(level.BaseTile(1, 1), nullptr);
}

TEST(LevelGfxPass, WallFaceInTheLastColumnReadsNoSquareBeyondTheEdge) {
    TestBranch branch;
    {
        // The square "right" of (2, 1) would be (0, 2), a wall, if the edge were not checked.
        Level level(0, 1);
        FillLevelFromMap(level, {"   ",
                                 " ##",
                                 "#.."});
        GenLevelGFXRep(&level, 0, 0, 3, 3);
        EXPECT_EQ(branch.NameOf(level.BaseTile(2, 1)), "wall_r");
        EXPECT_EQ(branch.NameOf(level.BaseTile(1, 1)), "wall_l");
    }
    {
        // The bottom-right square: one past it is past the end of the grid.
        Level level(0, 1);
        FillLevelFromMap(level, {"   ",
                                 " ##"});
        GenLevelGFXRep(&level, 0, 0, 3, 2);
        EXPECT_EQ(branch.NameOf(level.BaseTile(2, 1)), "wall_r");
        EXPECT_EQ(branch.NameOf(level.BaseTile(1, 1)), "wall_l");
    }
    {
        // Column 0 keeps the plain face: only 0 < x gets end pieces.
        Level level(0, 1);
        FillLevelFromMap(level, {"  ", "# ", "  "});
        GenLevelGFXRep(&level, 0, 0, 2, 3);
        EXPECT_EQ(branch.NameOf(level.BaseTile(0, 1)), "wall");
    }
}

TEST(LevelGfxPass, StairsTakeTheirTiles) {
    TestBranch branch;
    Level level(0, 1);
    FillLevelFromMap(level, {"<.>", ",+$", "z.."});
    GenLevelGFXRep(&level, 0, 0, 3, 3);
    EXPECT_EQ(branch.NameOf(level.BaseTile(0, 0)), "stairsup");
    EXPECT_EQ(branch.NameOf(level.BaseTile(2, 0)), "stairsdown");
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(branch.NameOf(level.BaseTile(x, 1)), "floor") << x;  // variant, door, shop
    }
    EXPECT_EQ(branch.NameOf(level.BaseTile(0, 2)), "floor");  // zoo floor
}

TEST(LevelGfxPass, RegionBoundsAreClampedToTheLevel) {
    TestBranch branch;
    const std::vector<std::string> map = {" ~~. ", "##.##", "..~..", "#...#", "     "};
    Level whole(0, 1);
    FillLevelFromMap(whole, map);
    CSRand(5);
    MTSeed(5);
    GenLevelGFXRep(&whole, 0, 0, 5, 5);
    Level clamped(0, 1);
    FillLevelFromMap(clamped, map);
    CSRand(5);
    MTSeed(5);
    // Callers pass 100 on smaller levels, and negative bounds near the edges.
    GenLevelGFXRep(&clamped, -3, -1, 100, 100);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(branch.NameOf(clamped.BaseTile(x, y)), branch.NameOf(whole.BaseTile(x, y)));
            EXPECT_EQ(branch.NameOf(clamped.WallTile(x, y)), branch.NameOf(whole.WallTile(x, y)));
            EXPECT_EQ(branch.NameOf(clamped.TopTile(x, y)), branch.NameOf(whole.TopTile(x, y)));
        }
    }
    // A region wholly outside or upside down changes nothing.
    const std::vector<BranchTileRange*> before = clamped.topTileMap;
    GenLevelGFXRep(&clamped, 200, 200, 300, 300);
    GenLevelGFXRep(&clamped, 4, 4, 1, 1);
    GenLevelGFXRep(&clamped, -50, -50, -10, -10);
    EXPECT_EQ(clamped.topTileMap, before);
    GenLevelGFXRep(nullptr, 0, 0, 10, 10);  // no level: nothing happens
}

TEST(LevelGfxPass, ARegionPassTouchesOnlyItsSquares) {
    TestBranch branch;
    Level level(0, 1);
    FillLevelFromMap(level, {"     ", " ### ", " ... ", " ... ", "     "});
    GenLevelGFXRep(&level, 0, 0, 5, 5);
    const std::vector<BranchTileRange*> base = level.baseTileMap;
    const std::vector<BranchTileRange*> top = level.topTileMap;
    // A lever opens the middle wall: only that square is worked out again.
    level.GetCell(2, 1)->type = SquareType::Floor;
    GenLevelGFXRep(&level, 2, 1, 3, 2);
    EXPECT_EQ(branch.NameOf(level.BaseTile(2, 1)), "floor");
    EXPECT_EQ(level.TopTile(2, 1), nullptr);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            if (x == 2 && y == 1) continue;
            const size_t i = static_cast<size_t>(x + y * 5);
            EXPECT_EQ(level.baseTileMap[i], base[i]) << x << "," << y;
            EXPECT_EQ(level.topTileMap[i], top[i]) << x << "," << y;
        }
    }
}

TEST(LevelGfxPass, MissingVariantsFallBackToTheirFamilyTile) {
    TestBranch branch;
    branch.record()->tiles.erase("top_u");
    branch.record()->tiles.erase("water_vert_cap_t");
    branch.record()->tiles["wall_l"].startX = -1;  // a tile naming no cells of the tileset
    Level level(0, 1);
    FillLevelFromMap(level, {"   ", " ##", " ..", "~  "});
    GenLevelGFXRep(&level, 0, 0, 3, 4);
    EXPECT_EQ(branch.NameOf(level.BaseTile(1, 1)), "wall");       // instead of wall_l
    EXPECT_EQ(branch.NameOf(level.TopTile(2, 3)), "top_c");       // instead of top_u
    EXPECT_EQ(branch.NameOf(level.BaseTile(0, 3)), "water");      // instead of the cap
    // Without the family tile too, the square stays empty rather than pointing anywhere.
    branch.record()->tiles.erase("top_c");
    GenLevelGFXRep(&level, 0, 0, 3, 4);
    EXPECT_EQ(level.TopTile(0, 0), nullptr);
    EXPECT_EQ(level.TopTile(2, 3), nullptr);
}

TEST(LevelGfxPass, ALevelWithoutBranchGetsEmptyLayers) {
    TestBranch branch;
    Level level(0, 1);
    FillLevelFromMap(level, {"#.~", "..."});
    GenLevelGFXRep(&level, 0, 0, 3, 2);
    ASSERT_NE(level.BaseTile(1, 0), nullptr);
    level.branchId = 999;  // no such branch
    GenLevelGFXRep(&level, 0, 0, 3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(level.BaseTile(x, y), nullptr);
            EXPECT_EQ(level.WallTile(x, y), nullptr);
            EXPECT_EQ(level.TopTile(x, y), nullptr);
        }
    EXPECT_TRUE(level.HasSquareMaps());
}

TEST(LevelGfxPass, FloorsAndWallDecorationAreDrawnFromTheirLists) {
    TestBranch branch(true);
    Level level(0, 1);
    std::vector<std::string> map = {std::string(60, ' '), " " + std::string(58, '#') + " ",
                                    " " + std::string(58, '.') + " ", std::string(60, ' '),
                                    std::string(60, ' ')};
    FillLevelFromMap(level, map);
    CSRand(11);
    MTSeed(11);
    GenLevelGFXRep(&level, 0, 0, level.width, level.height);
    std::set<const BranchTileRange*> floors;
    int decorated = 0;
    for (int x = 2; x < 58; ++x) {
        floors.insert(level.BaseTile(x, 2));
        const std::string face = branch.NameOf(level.BaseTile(x, 1));
        EXPECT_TRUE(face == "wall" || face == "wallDecor") << face;
        decorated += face == "wallDecor" ? 1 : 0;
    }
    EXPECT_EQ(floors.size(), 3u);  // every floor of the branch turns up
    EXPECT_GT(decorated, 3);       // about one face in four
    EXPECT_LT(decorated, 30);
    // The same seeds give the same picture.
    Level again(0, 1);
    FillLevelFromMap(again, map);
    CSRand(11);
    MTSeed(11);
    GenLevelGFXRep(&again, 0, 0, again.width, again.height);
    EXPECT_EQ(again.baseTileMap, level.baseTileMap);
}

}  // namespace

// Field of view: rays, octant scans and the drawing bits.
#include "levels/field_of_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "levels/game_obj.h"
#include "creatures/buff.h"
#include "creatures/player.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "tests/levels/level_test_map.h"

namespace {

// The squares carrying a flag, one character per square: 'o' set, '.' clear.
std::vector<std::string> Mask(const Level& level, uint8_t flag) {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < level.height; ++y) {
        std::string row;
        for (int32_t x = 0; x < level.width; ++x) {
            row += level.GetCell(x, y)->HasFlag(flag) ? 'o' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

// An open floor room of the given size with the hero of the test as the current hero.
class FovTest : public testing::Test {
protected:
    void SetUp() override {
        saved_ = CurrentPlayer;
        CurrentPlayer = &hero_;
        ZooDiscovered = false;
    }
    void TearDown() override {
        for (Buff* buff : hero_.buffs) delete buff;
        hero_.buffs.clear();
        CurrentPlayer = saved_;
        ZooDiscovered = false;
        SetAfterSightPassHook(nullptr);
    }
    void AddSightBuff(int32_t bonus) {
        Buff* buff = new Buff();
        buff->secondaryMods[kStatSight] = bonus;
        hero_.buffs.push_back(buff);
    }

    Player hero_;
    Player* saved_ = nullptr;
};

std::vector<std::string> OpenRoom(int32_t size) {
    return std::vector<std::string>(static_cast<size_t>(size), std::string(static_cast<size_t>(size), '.'));
}

int32_t HookCalls = 0;
void CountHookCall() { ++HookCalls; }

}  // namespace

TEST(FovSlopes, ZeroWhereTheLineIsFlat) {
    EXPECT_DOUBLE_EQ(FovSlope(3.0, 2.0, 1.0, 1.0), 2.0);
    EXPECT_DOUBLE_EQ(FovSlope(3.0, 2.0, 1.0, 2.0), 0.0);
    EXPECT_DOUBLE_EQ(FovInverseSlope(3.0, 2.0, 1.0, 1.0), 0.5);
    EXPECT_DOUBLE_EQ(FovInverseSlope(3.0, 2.0, 1.0, 2.0), 0.0);
    EXPECT_DOUBLE_EQ(FovInverseSlope(1.0, 2.0, 1.0, 1.0), 0.0);
}

TEST_F(FovTest, SightRadiusFromTheFirstFarSightSlotAndTheBuffs) {
    struct Row {
        const char* what;
        int32_t skills[kBuildSkillCount];
        int32_t levels[kBuildSkillCount];
        int32_t expected;
    };
    const Row rows[] = {
        {"no far sight", {0, 1, 2, 3, 4, 5, 6}, {1, 1, 1, 1, 1, 1, 1}, 5},
        {"far sight learnt", {0, 1, 25, 3, 4, 5, 6}, {0, 0, 2, 0, 0, 0, 0}, 7},
        {"far sight at level 0", {25, 1, 2, 3, 4, 5, 6}, {0, 5, 5, 5, 5, 5, 5}, 5},
        {"only the first slot counts", {25, 25, 2, 3, 4, 5, 6}, {0, 4, 0, 0, 0, 0, 0}, 5},
        {"last slot", {0, 1, 2, 3, 4, 5, 25}, {0, 0, 0, 0, 0, 0, -1}, 7},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (int32_t i = 0; i < kBuildSkillCount; ++i) {
            hero_.skillIds[i] = row.skills[i];
            hero_.skillLevels[i] = row.levels[i];
        }
        EXPECT_EQ(ComputeSightRadius(&hero_), row.expected);
    }
    AddSightBuff(2);
    AddSightBuff(-10);
    EXPECT_EQ(ComputeSightRadius(&hero_), -1);
    EXPECT_EQ(ComputeSightRadius(nullptr), 5);
}

TEST_F(FovTest, OpenRoomShowsTheWholeSquareOfTheRadius) {
    ScopedTestLevel level(OpenRoom(13));
    level->UpdateFieldOfView(6, 6, hero_.SightRadius());
    const std::vector<std::string> expected = {
        ".............",
        ".ooooooooooo.",
        ".ooooooooooo.",
        ".ooooooooooo.",
        ".ooooooooooo.",
        ".ooooooooooo.",
        ".ooooooooooo.",
        ".ooooooooooo.",
        ".ooooooooooo.",
        ".ooooooooooo.",
        ".ooooooooooo.",
        ".ooooooooooo.",
        ".............",
    };
    EXPECT_EQ(Mask(*level, SquareFlag::InSight), expected);
    EXPECT_EQ(Mask(*level, SquareFlag::Visible), expected);
    EXPECT_EQ(Mask(*level, SquareFlag::Explored), expected);
    EXPECT_EQ(Mask(*level, SquareFlag::Mapped), expected);
    EXPECT_EQ(Mask(*level, SquareFlag::SightMark), expected);
}

TEST_F(FovTest, APillarShadowsTheSquaresBehindIt) {
    ScopedTestLevel level({".........",
                           ".........",
                           ".........",
                           ".........",
                           "....#....",
                           "....@....",
                           ".........",
                           ".........",
                           "........."});
    level->GetCell(4, 5)->type = SquareType::Floor;
    level->UpdateFieldOfView(4, 5, hero_.SightRadius());
    // The N ray stops at the pillar (which is seen); the two octants beside it are in its
    // shadow except for their diagonal rays; everything else is open. (0, 0) is seen: the
    // first column of that scan line, -0.5, truncates toward zero onto the grid.
    const std::vector<std::string> expected = {
        "o........",
        "o.......o",
        "oo.....oo",
        "ooo...ooo",
        "ooooooooo",
        "ooooooooo",
        "ooooooooo",
        "ooooooooo",
        "ooooooooo",
    };
    EXPECT_EQ(Mask(*level, SquareFlag::InSight), expected);
}

TEST_F(FovTest, AWallSegmentCastsAWideningShadow) {
    ScopedTestLevel level({"...........",
                           "...........",
                           "...........",
                           "....###....",
                           "...........",
                           "...........",
                           "..........."});
    level->UpdateFieldOfView(5, 5, hero_.SightRadius());
    const std::vector<std::string> expected = {
        "o.........o",
        "oo.......oo",
        "ooo.....ooo",
        "ooooooooooo",
        "ooooooooooo",
        "ooooooooooo",
        "ooooooooooo",
    };
    EXPECT_EQ(Mask(*level, SquareFlag::InSight), expected);
}

TEST_F(FovTest, AnIrregularMapSeenFromSeveralSquaresGivesTheRecordedMasks) {
    // Walls scattered so that, over these views, every scan closes and opens again behind
    // blockers at many slopes: the masks pin the closing and opening slopes of all eight
    // scans (a slope off by half a square or by a whole line changes at least one mask).
    // Rock (' ') blocks sight like a wall.
    const std::vector<std::string> map = {
        "  .#...... #...##....",
        " ....................",
        "...#....#..#.........",
        "......#...........#..",
        "..#....#.#...#.......",
        "#.#.#.....#...#......",
        "...#..........##.....",
        "...........#.#......#",
        "..#..#..##......#....",
        "....#.......#........",
        "#.#.#............#..#",
        ".#.......#.......#...",
        "#..........#.........",
        "#...#........#....#..",
        ".....##...#.#........",
        ".#.......#.####....# ",
        "..............#....  ",
    };
    struct View {
        int32_t x, y;
        bool farSight;  // radius 7 instead of 5
        std::vector<std::string> seen;
    };
    const View views[] = {
        {10, 8, true, {
            ".....................",
            "...o..oo....o........",
            "....o..o...oo........",
            ".....o.oo..oo........",
            "......oooo.o.........",
            ".......ooooo.........",
            "........oooo.........",
            ".........ooooooooo...",
            ".........oooooooo....",
            ".........ooooooooo...",
            "........ooooo........",
            ".......ooooooo.......",
            "......ooooooooo......",
            ".....ooo.ooooooo.....",
            "....ooo..ooo.o.oo....",
            "...o.....o.o.o.ooo...",
            ".....................",
        }},
        {4, 4, true, {
            "o..ooooooo...........",
            "oo.ooooo.............",
            "ooooooo..............",
            "oooooooooooo.........",
            "..oooooo.............",
            "..ooooooooo..........",
            "..o...oooooo.........",
            ".o.....ooooo.........",
            "o.......oooo.........",
            "o....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
        }},
        {15, 12, true, {
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            "...........o.o..o.oo.",
            "...........oooooo.oo.",
            "...........oooooooo..",
            "........ooo.oooooo...",
            "........oooooooooo...",
            "........oooooooooo...",
            ".........oooooooooooo",
            "...........oooooooooo",
            "........ooooooooooooo",
            ".............ooooooo.",
            "............ooooooooo",
            "..............oooooo.",
        }},
        {6, 13, false, {
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".o..oooooooo.........",
            "..o.ooooooo..........",
            ".ooooooooo...........",
            ".ooooooooooo.........",
            "..oooooooooo.........",
            "....oooooooo.........",
            "..oooooooooo.........",
            ".o......oooo.........",
            ".........o...........",
        }},
        {16, 3, false, {
            "...........oooooooooo",
            "...........oooooooooo",
            "...........oooooooooo",
            "...........oooooooo..",
            "...........oooooooooo",
            "............ooooooooo",
            "...........o..ooooooo",
            "...............oooooo",
            "...............oooooo",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
        }},
        {10, 2, false, {
            ".....ooooooooo.......",
            "......oooooo.........",
            "........oooo.........",
            "......oooooo.........",
            ".....oooooooo........",
            ".......o.ooooo.......",
            "......o..o.oooo......",
            ".....o...o.oooo......",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
            ".....................",
        }},
    };
    ScopedTestLevel level(map);
    for (const View& view : views) {
        SCOPED_TRACE(std::to_string(view.x) + "," + std::to_string(view.y));
        hero_.skillIds[0] = view.farSight ? kFarSightSkillCode : 0;
        hero_.skillLevels[0] = 1;
        level->UpdateFieldOfView(view.x, view.y, hero_.SightRadius());
        EXPECT_EQ(Mask(*level, SquareFlag::InSight), view.seen);
    }
}

TEST_F(FovTest, FarSightWidensTheRadiusToSeven) {
    hero_.skillIds[3] = kFarSightSkillCode;
    hero_.skillLevels[3] = 1;
    ScopedTestLevel level(OpenRoom(17));
    level->UpdateFieldOfView(8, 8, hero_.SightRadius());
    std::vector<std::string> expected(17, std::string(17, '.'));
    for (int32_t y = 1; y <= 15; ++y) expected[static_cast<size_t>(y)] = "." + std::string(15, 'o') + ".";
    EXPECT_EQ(Mask(*level, SquareFlag::InSight), expected);
}

TEST_F(FovTest, RadiusBelowOneSeesOnlyTheViewersSquare) {
    for (int32_t bonus : {-5, -6, -40}) {
        SCOPED_TRACE(bonus);
        AddSightBuff(bonus);
        ScopedTestLevel level(OpenRoom(5));
        level->UpdateFieldOfView(2, 2, hero_.SightRadius());
        const std::vector<std::string> expected = {".....", ".....", "..o..", ".....", "....."};
        EXPECT_EQ(Mask(*level, SquareFlag::InSight), expected);
        EXPECT_EQ(Mask(*level, SquareFlag::Visible), expected);  // the drawing pass ran
        EXPECT_EQ(Mask(*level, SquareFlag::Explored), expected);
        for (Buff* buff : hero_.buffs) delete buff;
        hero_.buffs.clear();
    }
}

TEST_F(FovTest, AClosedCellShowsOnlyItsWalls) {
    ScopedTestLevel level({".......", ".#####.", ".#####.", ".##.##.", ".#####.", ".#####.", "......."});
    level->UpdateFieldOfView(3, 3, hero_.SightRadius());
    const std::vector<std::string> expected = {
        ".......", ".......", "..ooo..", "..ooo..", "..ooo..", ".......", ".......",
    };
    EXPECT_EQ(Mask(*level, SquareFlag::InSight), expected);
}

TEST_F(FovTest, ObjectsBlockSightButTheHeroDoesNot) {
    ScopedTestLevel level({"...", "...", "...", "...", "..."});
    Player* other = new Player();  // a hero-like object stands north: it hides nothing
    other->PlaceOnLevel(1, 3, level.get(), 0);
    level->UpdateFieldOfView(1, 4, hero_.SightRadius());
    EXPECT_TRUE(level->GetCell(1, 0)->HasFlag(SquareFlag::InSight));
    GameObj* crate = new GameObj();
    crate->PlaceOnLevel(1, 2, level.get(), 0);
    level->UpdateFieldOfView(1, 4, hero_.SightRadius());
    EXPECT_TRUE(level->GetCell(1, 2)->HasFlag(SquareFlag::InSight));   // the crate is seen
    EXPECT_FALSE(level->GetCell(1, 1)->HasFlag(SquareFlag::InSight));  // behind it is not
    EXPECT_TRUE(level->BlocksSight(1, 2));
    EXPECT_FALSE(level->BlocksSight(1, 3));
    EXPECT_TRUE(level->BlocksSight(-1, 0));
}

TEST_F(FovTest, ViewerAtTheEdgeMarksNothingOutsideTheGrid) {
    ScopedTestLevel level(OpenRoom(4));
    level->UpdateFieldOfView(0, 0, hero_.SightRadius());
    const std::vector<std::string> expected = {"oooo", "oooo", "oooo", "oooo"};
    EXPECT_EQ(Mask(*level, SquareFlag::InSight), expected);
    level->UpdateFieldOfView(3, 3, hero_.SightRadius());
    EXPECT_EQ(Mask(*level, SquareFlag::InSight), expected);
}

TEST_F(FovTest, PerTurnBitsAreClearedAndMemoryBitsKept) {
    ScopedTestLevel level(OpenRoom(20));
    level->UpdateFieldOfView(3, 3, hero_.SightRadius());
    level->UpdateFieldOfView(16, 16, hero_.SightRadius());
    const LevelCell* old = level->GetCell(0, 0);
    EXPECT_FALSE(old->HasFlag(SquareFlag::InSight));
    EXPECT_FALSE(old->HasFlag(SquareFlag::Visible));
    EXPECT_FALSE(old->HasFlag(SquareFlag::Lit));
    EXPECT_TRUE(old->HasFlag(SquareFlag::Explored));
    EXPECT_TRUE(old->HasFlag(SquareFlag::Mapped));
    EXPECT_TRUE(old->HasFlag(SquareFlag::SightMark));
    EXPECT_TRUE(level->GetCell(19, 19)->HasFlag(SquareFlag::Visible));
}

TEST_F(FovTest, SeeingOneZooSquareShowsTheWholeDiscoveredZoo) {
    ScopedTestLevel level({".........................", "zzz..................zzzz"});
    level->UpdateFieldOfView(1, 0, hero_.SightRadius());
    EXPECT_FALSE(level->GetCell(22, 1)->HasFlag(SquareFlag::Visible));
    ZooDiscovered = true;
    level->UpdateFieldOfView(1, 0, hero_.SightRadius());
    for (int32_t x : {0, 1, 2, 21, 22, 23, 24}) {
        SCOPED_TRACE(x);
        EXPECT_TRUE(level->GetCell(x, 1)->HasFlag(SquareFlag::Visible));
        EXPECT_TRUE(level->GetCell(x, 1)->HasFlag(SquareFlag::Explored));
    }
    EXPECT_FALSE(level->GetCell(22, 0)->HasFlag(SquareFlag::Visible));
    // Out of sight of every zoo square, the far zoo is not shown.
    level->UpdateFieldOfView(13, 0, hero_.SightRadius());
    EXPECT_FALSE(level->GetCell(24, 1)->HasFlag(SquareFlag::Visible));
}

TEST_F(FovTest, WallTopsAndFacesFollowTheDrawingRules) {
    // The viewer stands at (2, 4) in a small room; the N ray stops at the wall (2, 2) and
    // the S ray at the wall (2, 5), so (2, 1) and (2, 6) are out of sight.
    const std::vector<std::string> map = {"#####", "#####", "#####", "#...#",
                                           "#...#", "#####", "## ##"};
    BranchTileRange tile;
    tile.startX = tile.startY = tile.endX = tile.endY = 0;
    BranchTileRange blank;  // present, but names no cell
    enum Layer { kBase, kWall, kTop };
    struct Placed {
        Layer layer;
        int32_t x, y;
        BranchTileRange* range;
    };
    struct Case {
        const char* what;
        std::vector<Placed> tiles;
        int32_t x, y;       // the square looked at
        uint8_t set, clear; // flags it must have and must not have
    };
    const uint8_t kML = SquareFlag::Mapped | SquareFlag::Lit;
    const uint8_t kVE = SquareFlag::Visible | SquareFlag::Explored;
    const Case cases[] = {
        {"no tiles: the square above a seen wall stays dark", {}, 2, 1, 0, kML | kVE},
        {"a seen top lights the square above", {{kTop, 2, 2, &tile}}, 2, 1, kML, kVE},
        {"a seen wall tile lights a top above", {{kWall, 2, 2, &tile}, {kTop, 2, 1, &tile}},
         2, 1, kML, kVE},
        {"a seen base tile lights a top above", {{kBase, 2, 2, &tile}, {kTop, 2, 1, &tile}},
         2, 1, kML, kVE},
        {"a blank wall tile lights nothing", {{kWall, 2, 2, &blank}, {kTop, 2, 1, &tile}},
         2, 1, 0, kML},
        {"a seen wall maps the rock below it", {}, 2, 6, kML, kVE},
        {"a seen wall maps the wall below it", {}, 1, 6, kML, kVE},
        {"a top with rock below is not kept visible", {{kTop, 2, 5, &tile}}, 2, 5,
         SquareFlag::InSight, kVE},
        {"... so it maps nothing below", {{kTop, 2, 5, &tile}}, 2, 6, 0, kML},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedTestLevel level(map);
        level->EnsureSquareMaps();
        for (const Placed& p : c.tiles) {
            size_t index = static_cast<size_t>(p.x) + static_cast<size_t>(p.y) * 5u;
            std::vector<BranchTileRange*>& layer =
                p.layer == kBase ? level->baseTileMap
                                 : (p.layer == kWall ? level->wallTileMap : level->topTileMap);
            layer[index] = p.range;
        }
        level->UpdateFieldOfView(2, 4, hero_.SightRadius());
        ASSERT_TRUE(level->GetCell(2, 2)->HasFlag(SquareFlag::InSight));
        ASSERT_FALSE(level->GetCell(2, 1)->HasFlag(SquareFlag::InSight));
        const LevelCell* cell = level->GetCell(c.x, c.y);
        EXPECT_EQ(cell->flags & c.set, c.set);
        EXPECT_EQ(cell->flags & c.clear, 0);
    }
    // A seen wall with a wall below lights and maps that wall.
    ScopedTestLevel level({"#####", "#...#", "#...#", "#####", "#####"});
    level->UpdateFieldOfView(2, 1, hero_.SightRadius());
    ASSERT_TRUE(level->GetCell(2, 3)->HasFlag(SquareFlag::Visible));
    EXPECT_TRUE(level->GetCell(2, 4)->HasFlag(SquareFlag::Mapped));
    EXPECT_TRUE(level->GetCell(2, 4)->HasFlag(SquareFlag::Lit));
    EXPECT_FALSE(level->GetCell(2, 4)->HasFlag(SquareFlag::Visible));
}

TEST_F(FovTest, TheAfterPassHookRunsOncePerPass) {
    ScopedTestLevel level(OpenRoom(3));
    HookCalls = 0;
    SetAfterSightPassHook(CountHookCall);
    level->UpdateFieldOfView(1, 1, hero_.SightRadius());
    level->UpdateFieldOfView(0, 0, hero_.SightRadius());
    EXPECT_EQ(HookCalls, 2);
}

TEST_F(FovTest, RevealMapMarksEverySquare) {
    ScopedTestLevel level({"#.~", " .."});
    level->RevealMap();
    const std::vector<std::string> all = {"ooo", "ooo"};
    EXPECT_EQ(Mask(*level, SquareFlag::Mapped), all);
    EXPECT_EQ(Mask(*level, SquareFlag::InSight), all);
    level->ClearVisibility();
    EXPECT_EQ(Mask(*level, SquareFlag::InSight), (std::vector<std::string>{"...", "..."}));
    EXPECT_EQ(Mask(*level, SquareFlag::Mapped), all);
}

// Line of fire between squares, and random proper names.
#include "creatures/line_of_fire.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/random.h"
#include "core/text_db.h"
#include "creatures/monster_names.h"
#include "levels/game_obj.h"
#include "levels/level_test_map.h"

namespace {

struct PathCase {
    int32_t x0, y0, x1, y1;
    bool clear;
    const char* what;
};

TEST(LineOfFireTest, WallsRockAndBlockersStopTheMissile) {
    ScopedTestLevel level({
        "........",
        "...#....",
        "........",
        ".. .....",
        "........",
        "........",
    });
    const PathCase cases[] = {
        {2, 1, 3, 1, true, "adjacent to a wall"},
        {0, 0, 0, 0, true, "same square"},
        {1, 1, 5, 1, false, "a wall between"},
        {1, 3, 4, 3, false, "rock between"},
        {0, 4, 7, 4, true, "open row"},
        {3, 1, 3, 4, true, "from inside the wall: the start square is never tested"},
        {0, 2, 2, 3, true, "knight's move over open floor"},
        {1, 3, 3, 4, false, "knight's move: the one square tested is rock"},
    };
    for (const PathCase& c : cases) EXPECT_EQ(MissilePathClear(c.x0, c.y0, c.x1, c.y1), c.clear) << c.what;
}

TEST(LineOfFireTest, AKnightsMoveTestsExactlyOneSquare) {
    // The line (0,0) -> (2,1) is x-major: it steps to (1, 0.5) -> square (1,0), then the end.
    ScopedTestLevel level({"...", "..."});
    GameObj block;
    block.PlaceOnLevel(1, 0, level.get(), 0);
    EXPECT_FALSE(MissilePathClear(0, 0, 2, 1));
    block.PlaceOnLevel(1, 1, level.get(), 0);
    EXPECT_TRUE(MissilePathClear(0, 0, 2, 1));
    // A blocker on the end square does not count.
    block.PlaceOnLevel(2, 1, level.get(), 0);
    EXPECT_TRUE(MissilePathClear(0, 0, 2, 1));
    block.PlaceOnLevel(0, 0, nullptr, 0);
}

TEST(MonsterNameTest, OneEntryListsGiveTheExactName) {
    ClearTextDB();
    const char* xml =
        "<text><startPhoneme text=\"Gr\"/><phoneme text=\"um\"/><title text=\"Loud\"/>"
        "<noun text=\"Teapot\" plural=\"Teapots\"/></text>";
    LoadTextDBFromBuffer(xml, std::strlen(xml), "text.xml");
    CSRand(3);
    EXPECT_EQ(MakeMonsterName(), "Grumum the Loud Teapots");
    ClearTextDB();
    EXPECT_EQ(MakeMonsterName(), " the  ");
}

}  // namespace

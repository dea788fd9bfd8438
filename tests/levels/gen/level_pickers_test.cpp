// Square pickers: bounded draws that say clearly when nothing fits.
#include "levels/gen/square_pickers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "levels/game_obj.h"
#include "core/random.h"
#include "levels/level.h"
#include "levels/room_templates.h"
#include "tests/levels/level_test_map.h"

namespace {

// A room of plain floor, walled, of the given inner size.
std::vector<std::string> WalledRoom(int32_t inner) {
    std::vector<std::string> rows;
    rows.push_back(std::string(static_cast<size_t>(inner) + 2, '#'));
    for (int32_t i = 0; i < inner; ++i) rows.push_back("#" + std::string(static_cast<size_t>(inner), '.') + "#");
    rows.push_back(std::string(static_cast<size_t>(inner) + 2, '#'));
    return rows;
}

}  // namespace

TEST(SquarePickers, AFullLevelGivesNothingFoundWithoutHanging) {
    CSRand(77);
    // Floor everywhere, but an object on every square: nothing is open.
    ScopedTestLevel level(40, 40, SquareType::Floor);
    for (int32_t y = 0; y < 40; ++y) {
        for (int32_t x = 0; x < 40; ++x) (new GameObj())->PlaceOnLevel(x, y, level.get(), 0);
    }
    int32_t x = -7;
    int32_t y = -7;
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(PickRandomOpenSquare(&x, &y, level.get()), 0);
    EXPECT_EQ(PickRandomOpenSquareInRect(&x, &y, 0, 0, 40, 40), 0);
    EXPECT_EQ(FindOpenSquareNear(&x, &y, 20, 20), 0);
    EXPECT_EQ(PickRandomLiquidSquareInRect(&x, &y, 0, 0, 40, 40), 0);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_LT(seconds, 5.0);
    // The outputs hold the last draw, inside the grid.
    EXPECT_TRUE(level->IsInside(x, y));
}

TEST(SquarePickers, NoLevelOrAnEmptyLevelAnswersNothing) {
    Level* saved = CurrentLevel;
    CurrentLevel = nullptr;
    int32_t x = 5;
    int32_t y = 6;
    EXPECT_EQ(PickRandomLiquidSquareInRect(&x, &y, 0, 0, 10, 10), 0);
    EXPECT_EQ(PickRandomOpenSquareInRect(&x, &y, 0, 0, 10, 10), 0);
    EXPECT_EQ(FindOpenSquareNear(&x, &y, 3, 3), 0);
    EXPECT_EQ(PickRandomOpenSquare(&x, &y, nullptr), 0);
    Level empty(0, 0);
    EXPECT_EQ(PickRandomOpenSquare(&x, &y, &empty), 0);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
    CurrentLevel = saved;
}

TEST(SquarePickers, LiquidDrawsStayInsideTheHalfOpenRectangle) {
    ScopedTestLevel level(12, 12, SquareType::Water);
    CSRand(5);
    for (int32_t i = 0; i < 500; ++i) {
        int32_t x = -1;
        int32_t y = -1;
        ASSERT_EQ(PickRandomLiquidSquareInRect(&x, &y, 2, 3, 9, 7), 1);
        EXPECT_GE(x, 2);
        EXPECT_LT(x, 9);
        EXPECT_GE(y, 3);
        EXPECT_LT(y, 7);
    }
    // A rectangle one square wide always draws its first column.
    for (int32_t i = 0; i < 50; ++i) {
        int32_t x = -1;
        int32_t y = -1;
        ASSERT_EQ(PickRandomLiquidSquareInRect(&x, &y, 4, 0, 5, 12), 1);
        EXPECT_EQ(x, 4);
    }
    // Draws outside the grid are refused, never read.
    int32_t x = 0;
    int32_t y = 0;
    EXPECT_EQ(PickRandomLiquidSquareInRect(&x, &y, 20, 20, 30, 30), 0);
    EXPECT_EQ(PickRandomOpenSquareInRect(&x, &y, -30, -30, -20, -20), 0);
}

TEST(SquarePickers, TheSameSeedPicksTheSameSquare) {
    ScopedTestLevel level(WalledRoom(20));
    int32_t first[2] = {0, 0};
    int32_t second[2] = {0, 0};
    CSRand(4242);
    ASSERT_EQ(PickRandomOpenSquare(&first[0], &first[1], level.get()), 1);
    CSRand(4242);
    ASSERT_EQ(PickRandomOpenSquare(&second[0], &second[1], level.get()), 1);
    EXPECT_EQ(first[0], second[0]);
    EXPECT_EQ(first[1], second[1]);
    EXPECT_TRUE(level->IsClearFloor3x3(first[0], first[1]));
}

TEST(SquarePickers, OpenSquaresNeedAClearBlockAndNoObject) {
    // Only (2, 2), (3, 2) and (4, 2) have plain floor all around.
    ScopedTestLevel level({"#######",
                           "#.....#",
                           "#.....#",
                           "#.....#",
                           "#######"});
    int32_t x = 0;
    int32_t y = 0;
    CSRand(9);
    for (int32_t i = 0; i < 20; ++i) {
        if (PickRandomOpenSquareInRect(&x, &y, 0, 0, 7, 5) == 1) {
            EXPECT_EQ(y, 2);
            EXPECT_TRUE(x >= 2 && x <= 4);
        }
    }
    // Near-search: dx outer, dy inner from -3 to 3.
    ASSERT_EQ(FindOpenSquareNear(&x, &y, 0, 0), 1);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 2);
    ASSERT_EQ(FindOpenSquareNear(&x, &y, 6, 4), 1);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 2);
    (new GameObj())->PlaceOnLevel(2, 2, level.get(), 0);
    ASSERT_EQ(FindOpenSquareNear(&x, &y, 0, 0), 1);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 2);
    (new GameObj())->PlaceOnLevel(3, 2, level.get(), 0);
    (new GameObj())->PlaceOnLevel(4, 2, level.get(), 0);
    EXPECT_EQ(FindOpenSquareNear(&x, &y, 3, 2), 0);
    EXPECT_EQ(PickRandomOpenSquare(&x, &y, level.get()), 0);
}

TEST(SquarePickers, RoomsWithoutTreasureOrBlockersAreSkipped) {
    ScopedTestLevel level(WalledRoom(10));
    RoomTemplate quiet("quiet", 12, 12);
    RoomTemplate plain("plain", 3, 3);
    level->rooms.push_back(new RoomRecord(0));
    level->rooms.push_back(new RoomRecord(1));
    level->rooms[0]->roomTemplate = &quiet;
    level->rooms[1]->roomTemplate = &plain;
    int32_t x = 0;
    int32_t y = 0;
    for (int32_t flag = 0; flag < 2; ++flag) {
        SCOPED_TRACE(flag);
        quiet.notreasure = flag == 0 ? 1 : 0;
        quiet.noblockers = flag == 1 ? 1 : 0;
        CSRand(31);
        EXPECT_EQ(PickRandomOpenSquare(&x, &y, level.get()), 0);
    }
    // A corner of the room belongs to a room without the flags: picks land only there.
    for (int32_t ry = 7; ry <= 10; ++ry) {
        for (int32_t rx = 7; rx <= 10; ++rx) level->GetCell(rx, ry)->room = 1;
    }
    CSRand(31);
    for (int32_t i = 0; i < 20; ++i) {
        ASSERT_EQ(PickRandomOpenSquare(&x, &y, level.get()), 1);
        EXPECT_EQ(level->GetCell(x, y)->room, 1);
    }
}

// A* path search over level squares.
#include "levels/path_finding.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "levels/game_obj.h"
#include "creatures/player.h"
#include "items_fixtures/trap.h"
#include "levels/level.h"
#include "tests/levels/level_test_map.h"

namespace {

class TestMonster : public GameObj {
public:
    int32_t IsMonster() override { return 1; }
};

using Route = std::vector<std::pair<int32_t, int32_t>>;

struct FoundPath {
    bool found = false;
    int32_t length = -1;
    Route squares;
};

FoundPath Search(int32_t x0, int32_t y0, int32_t x1, int32_t y1, GameObj* mover = nullptr) {
    FoundPath result;
    aiNode** path = FindPath(x0, y0, x1, y1, &result.length, mover);
    result.found = path != nullptr;
    if (path != nullptr) {
        for (int32_t i = 0; i < result.length; ++i) {
            const AStarSquare* square = static_cast<const AStarSquare*>(path[i]);
            result.squares.emplace_back(square->x, square->y);
        }
        delete[] path;
    }
    return result;
}

// Every step of a route is one orthogonal square.
bool IsConnected(const Route& route) {
    for (size_t i = 1; i < route.size(); ++i) {
        int32_t dx = std::abs(route[i].first - route[i - 1].first);
        int32_t dy = std::abs(route[i].second - route[i - 1].second);
        if (dx + dy != 1) return false;
    }
    return true;
}

// A one-square-wide corridor winding through a level: rows of floor on every other row,
// joined at alternating ends. Returns the corridor's length in squares.
int32_t CarveSerpentine(Level& level, int32_t rows, int32_t rowLength) {
    level.SetSize(rowLength + 2, rows * 2 + 1);
    int32_t squares = 0;
    for (int32_t r = 0; r < rows; ++r) {
        int32_t y = 1 + 2 * r;
        for (int32_t x = 1; x <= rowLength; ++x) {
            level.GetCell(x, y)->type = SquareType::Floor;
            ++squares;
        }
        if (r + 1 < rows) {
            int32_t joinX = (r % 2 == 0) ? rowLength : 1;
            level.GetCell(joinX, y + 1)->type = SquareType::Floor;
            ++squares;
        }
    }
    return squares;
}

}  // namespace

TEST(PathFinding, StartOnTheGoalGivesThatSquareAlone) {
    ScopedTestLevel level({"...", "...", "..."});
    FoundPath path = Search(1, 1, 1, 1);
    ASSERT_TRUE(path.found);
    EXPECT_EQ(path.length, 1);
    EXPECT_EQ(path.squares, (Route{{1, 1}}));
}

TEST(PathFinding, NeighboursAreOrthogonalOnly) {
    ScopedTestLevel level({"...", "...", "..."});
    FoundPath beside = Search(1, 1, 2, 1);
    ASSERT_TRUE(beside.found);
    EXPECT_EQ(beside.squares, (Route{{1, 1}, {2, 1}}));
    FoundPath diagonal = Search(1, 1, 2, 2);
    ASSERT_TRUE(diagonal.found);
    EXPECT_EQ(diagonal.length, 3);
    EXPECT_TRUE(IsConnected(diagonal.squares));
}

TEST(PathFinding, UnreachableGoalsGiveNoPath) {
    ScopedTestLevel level({"..#..",
                           "..#..",
                           "..#.."});
    struct Case {
        const char* what;
        int32_t x1, y1;
    };
    for (Case c : {Case{"behind a wall", 4, 1}, Case{"a wall itself", 2, 1}}) {
        SCOPED_TRACE(c.what);
        FoundPath path = Search(0, 1, c.x1, c.y1);
        EXPECT_FALSE(path.found);
        EXPECT_EQ(path.length, 0);
    }
    // Squares outside the grid and a missing level are refused before any search.
    for (auto ends : {std::make_pair(-1, 0), std::make_pair(5, 0), std::make_pair(0, 3)}) {
        FoundPath path = Search(0, 0, ends.first, ends.second);
        EXPECT_FALSE(path.found);
        EXPECT_EQ(path.length, 0);
        path = Search(ends.first, ends.second, 0, 0);
        EXPECT_FALSE(path.found);
    }
    Level* current = CurrentLevel;
    CurrentLevel = nullptr;
    EXPECT_FALSE(Search(0, 0, 1, 0).found);
    CurrentLevel = current;
}

TEST(PathFinding, SquareCostsChargeBlockersStairsAndSpottedTraps) {
    ScopedTestLevel level({"..<>...."});
    Player* hero = new Player();
    hero->PlaceOnLevel(0, 0, level.get(), 0);
    (new TestMonster())->PlaceOnLevel(1, 0, level.get(), 0);
    Trap* spotted = new Trap(nullptr);
    spotted->discovered = 1;
    spotted->PlaceOnLevel(4, 0, level.get(), 0);
    (new Trap(nullptr))->PlaceOnLevel(5, 0, level.get(), 0);
    (new GameObj())->PlaceOnLevel(6, 0, level.get(), 0);

    const float expected[] = {1.0f, kPathBlockedCost, kPathDetourCost, kPathDetourCost,
                              kPathDetourCost, 1.0f, kPathBlockedCost, 1.0f};
    for (int32_t x = 0; x < 8; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(level->GetCell(x, 0)->pathNode.GetCost(), expected[x]);
    }
    AStarSquare& corner = level->GetCell(0, 0)->pathNode;
    AStarSquare& far = level->GetCell(7, 0)->pathNode;
    EXPECT_EQ(corner.GoalDistanceEstimate(&far), 7.0f);
    EXPECT_EQ(far.GoalDistanceEstimate(&corner), 7.0f);
}

TEST(PathFinding, StaircasesAreDetouredWhenADetourExists) {
    // The straight way leaves a staircase; the way round is four squares longer.
    ScopedTestLevel level({"#######",
                           "#..<..#",
                           "#.#.#.#",
                           "#.....#",
                           "#######"});
    FoundPath path = Search(1, 1, 5, 1);
    ASSERT_TRUE(path.found);
    EXPECT_EQ(path.squares, (Route{{1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3},
                                   {5, 2}, {5, 1}}));
    // Without the way round, the path crosses the staircase.
    level->GetCell(3, 3)->type = SquareType::Wall;
    path = Search(1, 1, 5, 1);
    ASSERT_TRUE(path.found);
    EXPECT_EQ(path.squares, (Route{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}));
    // The cost of a square is paid on leaving it: starting on the staircase costs the
    // same whichever way is taken, so the short way wins.
    level->GetCell(3, 3)->type = SquareType::Floor;
    path = Search(3, 1, 5, 1);
    ASSERT_TRUE(path.found);
    EXPECT_EQ(path.length, 3);
}

TEST(PathFinding, SpottedTrapsAreDetouredAndHiddenOnesAreNot) {
    ScopedTestLevel level({"#####",
                           "#...#",
                           "#.#.#",
                           "#...#",
                           "#####"});
    Trap* trap = new Trap(nullptr);
    trap->PlaceOnLevel(2, 1, level.get(), 0);
    FoundPath path = Search(1, 1, 3, 1);
    ASSERT_TRUE(path.found);
    EXPECT_EQ(path.length, 3);  // straight over the hidden trap
    trap->discovered = 1;
    path = Search(1, 1, 3, 1);
    ASSERT_TRUE(path.found);
    EXPECT_EQ(path.squares, (Route{{1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 3}, {3, 2}, {3, 1}}));
}

TEST(PathFinding, MonstersBlockMonstersButTheHeroPassesWhenThereIsNoOtherWay) {
    ScopedTestLevel level({"#######",
                           "#.....#",
                           "#######"});
    Player* hero = new Player();
    hero->PlaceOnLevel(1, 1, level.get(), 0);
    (new TestMonster())->PlaceOnLevel(3, 1, level.get(), 0);

    FoundPath forHero = Search(1, 1, 5, 1, hero);
    ASSERT_TRUE(forHero.found);
    EXPECT_EQ(forHero.length, 5);
    EXPECT_EQ(PathMover, nullptr);  // not kept once the search is over

    FoundPath forMonster = Search(5, 1, 1, 1, nullptr);
    EXPECT_FALSE(forMonster.found);
}

TEST(PathFinding, EqualRoutesFollowTheHeapOrder) {
    // Many routes of equal cost; the one the search settles on is fixed by its heap order
    // and must not change.
    ScopedTestLevel level({"....",
                           "....",
                           "....",
                           "...."});
    FoundPath open = Search(0, 0, 3, 3);
    ASSERT_TRUE(open.found);
    EXPECT_EQ(open.squares, (Route{{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 3}, {2, 3}, {3, 3}}));

    // Two equal ways round a pillar.
    ScopedTestLevel pillar({"#####",
                            "#...#",
                            "#.#.#",
                            "#...#",
                            "#####"});
    FoundPath around = Search(2, 1, 2, 3);
    ASSERT_TRUE(around.found);
    // East is tried before west, and the first record to reach the goal keeps it.
    EXPECT_EQ(around.squares, (Route{{2, 1}, {3, 1}, {3, 2}, {3, 3}, {2, 3}}));
    // The same search again gives the same route (nothing is left over from the last).
    EXPECT_EQ(Search(2, 1, 2, 3).squares, around.squares);
}

TEST(PathFinding, TheRecordPoolHoldsEverySquareOfTheLevel) {
    ScopedTestLevel level(1, 1, SquareType::Rock);
    // A winding corridor: every square walked stays in the closed list, so a pool of fewer
    // records than the corridor has squares would lose the far end.
    struct Case {
        int32_t rows;
        int32_t goalY;
    };
    for (Case c : {Case{10, 19}, Case{12, 23}, Case{40, 79}}) {
        SCOPED_TRACE(c.rows);
        int32_t squares = CarveSerpentine(*level, c.rows, 90);  // 909, 1091 and 3631 squares
        BuildAStarForLevel();
        EXPECT_GE(PathPoolCapacityFor(level.get()), level->width * level->height + kPathSpareRecords);
        FoundPath path = Search(1, 1, 1, c.goalY);  // the far end
        ASSERT_TRUE(path.found);
        EXPECT_EQ(path.length, squares);
        EXPECT_TRUE(IsConnected(path.squares));
        EXPECT_EQ(path.squares.back(), std::make_pair(1, c.goalY));
        // Searched back the other way, and once more after the long search.
        EXPECT_EQ(Search(1, c.goalY, 1, 1).length, squares);
        EXPECT_EQ(Search(1, 1, 1, c.goalY).squares, path.squares);
    }
    // Small levels keep the pool of 1000 records; a search object made for a level holds
    // every square of it.
    EXPECT_EQ(PathPoolCapacityFor(nullptr), kPathPoolSize);
    ScopedTestLevel small(10, 10, SquareType::Floor);
    EXPECT_EQ(PathPoolCapacityFor(small.get()), kPathPoolSize);
    ScopedTestLevel large(100, 100, SquareType::Floor);
    PathSearch* search = CreatePathSearch();
    EXPECT_EQ(search->pool.capacity, 100 * 100 + kPathSpareRecords);
    DestroyPathSearch(search);
}

TEST(PathSearchObject, AResetPoolIsChainedAsANewOne) {
    // Only the records a search handed out are reset; the pool must still look new: every
    // record free, zeroed and chained in storage order.
    ScopedTestLevel level(40, 40, SquareType::Floor);
    PathSearch* search = CreatePathSearch();
    for (int32_t round = 0; round < 2; ++round) {
        SetPathSearchEnds(search, &level->GetCell(0, 0)->pathNode, &level->GetCell(39, 39)->pathNode);
        while (!StepPathSearch(search)) {
        }
        ASSERT_EQ(search->state, kSearchSucceeded);
        search->InitSearchState();
        int32_t index = 0;
        bool ordered = true;
        for (PathNode* node = search->pool.freeHead; node != nullptr; node = node->next, ++index) {
            ordered = ordered && node == &search->pool.storage[index] &&
                      node->prev == (index > 0 ? &search->pool.storage[index - 1] : nullptr) &&
                      node->parent == nullptr && node->child == nullptr && node->square == nullptr;
        }
        EXPECT_TRUE(ordered);
        EXPECT_EQ(index, search->pool.capacity);
        EXPECT_EQ(search->pool.usedHead, nullptr);
    }
    DestroyPathSearch(search);
}

TEST(PathFinding, LiquidSquaresCarryTheirOwnCoordinates) {
    // A hero who may cross liquids walks over squares a walker could never enter; each
    // step of its path must name its real square, never (0, 0).
    ScopedTestLevel level({"#######",
                           "#.~~~.#",
                           "#######"});
    BuildAStarForLevel();
    Player* hero = new Player();
    hero->PlaceOnLevel(1, 1, level.get(), 0);
    EXPECT_FALSE(Search(1, 1, 5, 1, hero).found);
    hero->waterWalkTurns = 3;
    FoundPath path = Search(1, 1, 5, 1, hero);
    ASSERT_TRUE(path.found);
    EXPECT_EQ(path.squares, (Route{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}));
}

TEST(PathSearchObject, WrappersTolerateANullSearch) {
    SetPathSearchEnds(nullptr, nullptr, nullptr);
    EXPECT_TRUE(StepPathSearch(nullptr));
    int32_t length = 7;
    EXPECT_EQ(GetPathSearchResult(nullptr, &length), nullptr);
    EXPECT_EQ(length, 0);
    DestroyPathSearch(nullptr);
}

TEST(PathSearchObject, RunsThroughItsStatesAndReturnsEveryRecord) {
    ScopedTestLevel level({".....", "....."});
    PathSearch* search = CreatePathSearch();
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->state, kSearchNotStarted);
    EXPECT_EQ(search->nodesInUse, 0);
    int32_t freeRecords = 0;
    for (PathNode* node = search->pool.freeHead; node != nullptr; node = node->next) ++freeRecords;
    EXPECT_EQ(freeRecords, kPathPoolSize);

    SetPathSearchEnds(search, &level->GetCell(0, 0)->pathNode, &level->GetCell(4, 1)->pathNode);
    EXPECT_EQ(search->state, kSearchSearching);
    int32_t calls = 0;
    while (!StepPathSearch(search)) ++calls;
    EXPECT_EQ(search->state, kSearchSucceeded);
    EXPECT_GT(calls, 0);
    int32_t length = 0;
    aiNode** path = GetPathSearchResult(search, &length);
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(length, 6);
    EXPECT_EQ(search->nodesInUse, 0);  // every record back in the pool
    // Stepping an ended search changes nothing and does not collect the path twice.
    EXPECT_TRUE(StepPathSearch(search));
    GetPathSearchResult(search, &length);
    EXPECT_EQ(length, 6);
    DestroyPathSearch(search);

    // A search with nothing to search fails at once.
    search = CreatePathSearch();
    EXPECT_TRUE(StepPathSearch(search));
    EXPECT_EQ(search->state, kSearchFailed);
    EXPECT_EQ(GetPathSearchResult(search, &length), nullptr);
    EXPECT_EQ(length, 0);
    DestroyPathSearch(search);
}

TEST(PathSearchObject, AFailedSearchFreesItsRecords) {
    ScopedTestLevel level({"..#.."});
    PathSearch* search = CreatePathSearch();
    SetPathSearchEnds(search, &level->GetCell(0, 0)->pathNode, &level->GetCell(4, 0)->pathNode);
    while (!StepPathSearch(search)) {
    }
    EXPECT_EQ(search->state, kSearchFailed);
    EXPECT_EQ(search->nodesInUse, 0);
    DestroyPathSearch(search);
}

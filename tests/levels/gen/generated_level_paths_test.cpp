// Path searches across whole generated levels: every goal the hero (or a monster) can reach
// is found, however far across the level it lies.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

#include "levels/path_finding.h"
#include "tests/levels/level_gen_fixture.h"

namespace {

using Square = std::pair<int32_t, int32_t>;

constexpr int32_t kStepX[4] = {0, 0, 1, -1};
constexpr int32_t kStepY[4] = {-1, 1, 0, 0};

// Steps from (x, y) to every square the mover reaches the way a search steps
// (Level::IsSquarePassable for that mover); -1 where it cannot reach.
std::vector<int32_t> StepsFrom(const Level& level, GameObj* mover, int32_t x, int32_t y) {
    std::vector<int32_t> steps(static_cast<size_t>(level.width * level.height), -1);
    std::vector<Square> queue{{x, y}};
    steps[static_cast<size_t>(x + y * level.width)] = 0;
    for (size_t head = 0; head < queue.size(); ++head) {
        const Square at = queue[head];
        for (int32_t i = 0; i < 4; ++i) {
            const int32_t nx = at.first + kStepX[i];
            const int32_t ny = at.second + kStepY[i];
            if (!level.IsSquarePassable(mover, nx, ny)) continue;
            int32_t& seen = steps[static_cast<size_t>(nx + ny * level.width)];
            if (seen >= 0) continue;
            seen = steps[static_cast<size_t>(at.first + at.second * level.width)] + 1;
            queue.emplace_back(nx, ny);
        }
    }
    return steps;
}

using GeneratedLevelPathTest = LevelGenTest;

TEST_F(GeneratedLevelPathTest, EveryReachableGoalOfAWholeLevelIsFound) {
    LoadOurData();
    struct Case {
        uint32_t seed;
        int32_t depth;
        bool quick;
    };
    for (Case c : {Case{11, 3, false}, Case{13, 6, true}}) {
        SCOPED_TRACE(c.seed);
        LevelGenCase genCase;
        genCase.seed = c.seed;
        genCase.depth = c.depth;
        genCase.quick = c.quick;
        testing::internal::CaptureStdout();
        std::unique_ptr<Level> level = GenerateLevelForCase(genCase, nullptr);
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(level->width, c.quick ? 75 : 100);
        CurrentLevel = level.get();
        BuildAStarForLevel();

        // The hero walking to a clicked square (objects never stop it), then monsters
        // closing in (closed doors and other blockers stop them).
        for (GameObj* mover : {static_cast<GameObj*>(&hero_), static_cast<GameObj*>(nullptr)}) {
            SCOPED_TRACE(mover != nullptr ? "hero" : "monster");
            std::vector<Square> open;
            for (int32_t y = 0; y < level->height; ++y) {
                for (int32_t x = 0; x < level->width; ++x) {
                    if (level->IsSquarePassable(mover, x, y)) open.emplace_back(x, y);
                }
            }
            ASSERT_GT(open.size(), 500u);
            std::mt19937 pick(c.seed);
            int32_t farthest = 0;
            for (int32_t pair = 0; pair < 200; ++pair) {
                const Square start = open[pick() % open.size()];
                const std::vector<int32_t> steps = StepsFrom(*level, mover, start.first, start.second);
                std::vector<Square> reachable;
                for (const Square& s : open) {
                    if (steps[static_cast<size_t>(s.first + s.second * level->width)] >= 0) reachable.push_back(s);
                }
                const Square goal = reachable[pick() % reachable.size()];
                const int32_t shortest = steps[static_cast<size_t>(goal.first + goal.second * level->width)];
                farthest = std::max(farthest, shortest);

                int32_t length = 0;
                aiNode** path = FindPath(start.first, start.second, goal.first, goal.second, &length, mover);
                ASSERT_NE(path, nullptr) << "pair " << pair << ": " << start.first << "," << start.second << " to "
                                         << goal.first << "," << goal.second << ", " << shortest << " steps apart";
                EXPECT_GE(length, shortest + 1);
                const AStarSquare* first = static_cast<const AStarSquare*>(path[0]);
                const AStarSquare* last = static_cast<const AStarSquare*>(path[length - 1]);
                EXPECT_EQ(Square(first->x, first->y), start);
                EXPECT_EQ(Square(last->x, last->y), goal);
                for (int32_t i = 1; i < length; ++i) {
                    const AStarSquare* a = static_cast<const AStarSquare*>(path[i - 1]);
                    const AStarSquare* b = static_cast<const AStarSquare*>(path[i]);
                    ASSERT_EQ(std::abs(a->x - b->x) + std::abs(a->y - b->y), 1);
                    ASSERT_TRUE(level->IsSquarePassable(mover, b->x, b->y));
                }
                delete[] path;
            }
            // The hero's pairs reach right across the level, far beyond what a pool of 1000
            // records holds.
            if (mover != nullptr) {
                EXPECT_GT(farthest, 100);
            }
        }
    }
}

}  // namespace

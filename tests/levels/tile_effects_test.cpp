// Animations on the level's squares: effects at a tile only where the hero sees, and the line
// walks of explosions and beams.
#include "levels/tile_effects.h"

#include <gtest/gtest.h>

#include "core/input_log.h"
#include "levels/level_test_map.h"

namespace {

TEST(TileEffectsTest, AnEffectOnlyPlaysOnASquareTheHeroSees) {
    ScopedTestLevel level(8, 8, SquareType::Floor);
    PlayEffectAtTile(3, 3, "sprites/sfx/sparkle", 4, 50, false, false);
    EXPECT_TRUE(level->GetCell(3, 3)->decorations.empty());
    EXPECT_TRUE(level->GetCell(3, 3)->bobs.empty());
    level->GetCell(3, 3)->flags |= SquareFlag::Visible;
    PlayEffectAtTile(3, 3, "", 4, 50, false, false);
    PlayEffectAtTile(3, 3, "sprites/sfx/sparkle", 0, 50, false, false);
    EXPECT_TRUE(level->GetCell(3, 3)->decorations.empty()) << "no name, no frames: nothing";
}

TEST(TileEffectsTest, ALineWalkVisitsEachNewSquareOnceUpToTheTarget) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    std::vector<std::pair<int32_t, int32_t>> seen;
    WalkTileLine(1, 1, 5, 3, [&](int32_t x, int32_t y) {
        seen.emplace_back(x, y);
        return true;
    });
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), std::make_pair(5, 3));
    EXPECT_NE(seen.front(), std::make_pair(1, 1)) << "the start is not visited";
    for (size_t i = 1; i < seen.size(); ++i) EXPECT_NE(seen[i], seen[i - 1]);

    seen.clear();
    WalkTileLine(1, 1, 9, 1, [&](int32_t x, int32_t y) {
        seen.emplace_back(x, y);
        return x < 4;
    });
    EXPECT_EQ(seen.back(), std::make_pair(4, 1)) << "the visitor ends the walk";

    seen.clear();
    WalkTileLine(2, 2, -5, 2, [&](int32_t x, int32_t y) {
        seen.emplace_back(x, y);
        return true;
    });
    EXPECT_EQ(seen.size(), 2u) << "squares outside the level end it";
}

TEST(TileEffectsTest, AnExplosionLineEndsWithoutItsArt) {
    ScopedTestLevel level(12, 12, SquareType::Floor);
    SetFixedFrameTime(10);
    const Uint32 start = LoggedGetTicks();
    AnimateExplosionLine(1, 1, 6, 6);
    EXPECT_LT(LoggedGetTicks() - start, 10020u);
    SetFixedFrameTime(0);
}

}  // namespace

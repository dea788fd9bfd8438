// The sight pass over generated levels, flag for flag: a fixed walk of viewers over two
// generated levels with their tile layers (every radius from 0 to 9, the level edges, a
// monster zoo found and not found, the whole map revealed now and then) must leave the
// recorded flags on every square after every pass. A checksum of all flag bytes after each
// pass must equal the recorded one, so a cheaper pass cannot change what the hero sees or
// remembers.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/random.h"
#include "levels/field_of_view.h"
#include "levels/gen/level_gfx.h"
#include "tests/levels/level_gen_fixture.h"

namespace {

class FovGolden : public LevelGenTest {
protected:
    void TearDown() override {
        ZooDiscovered = false;
        LevelGenTest::TearDown();
    }
};

// The walk: viewers drawn from a seeded generator, with the corners and edges mixed in, and
// twice (once the zoo is known) a viewer inside the zoo at (zooX, zooY).
uint64_t WalkChecksum(Level& level, uint32_t seed, int32_t zooX, int32_t zooY) {
    uint64_t hash = 14695981039346656037ull;
    MTSeed(seed);
    ZooDiscovered = false;
    for (int32_t pass = 0; pass < 240; ++pass) {
        int32_t x = static_cast<int32_t>(MTRandomInt(static_cast<uint32_t>(level.width)));
        int32_t y = static_cast<int32_t>(MTRandomInt(static_cast<uint32_t>(level.height)));
        switch (pass % 12) {
            case 3: x = 0; break;
            case 7: y = level.height - 1; break;
            case 11: x = level.width - 1; y = 0; break;
            default: break;
        }
        if (pass == 130 || pass == 200) {
            x = zooX;
            y = zooY;
        }
        const int32_t radius = pass % 10;
        if (pass == 120) ZooDiscovered = true;
        if (pass % 60 == 59) level.RevealMap();
        level.UpdateFieldOfView(x, y, radius);
        for (const LevelCell& cell : level.squares) {
            hash ^= cell.flags;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

TEST_F(FovGolden, AWalkOverGeneratedLevelsLeavesTheRecordedFlags) {
    LoadOurData();
    struct Case {
        LevelGenCase genCase;
        uint64_t checksum;
    };
    const Case cases[] = {
        {{1, 0, false, false}, 0x2b126b315df9a90dull},
        {{3, 9, false, false}, 0x9c4e2174f03b9537ull},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        std::unique_ptr<Level> level = GenerateLevelForCase(c.genCase, nullptr);
        testing::internal::GetCapturedStdout();
        CurrentLevel = level.get();
        GenLevelGFXRep(level.get(), 0, 0, level->width, level->height);
        // The floor of the fifth room becomes a monster zoo.
        ASSERT_GT(level->rooms.size(), 5u);
        const RoomRecord& zoo = *level->rooms[5];
        for (int32_t y = zoo.top; y < zoo.bottom; ++y) {
            for (int32_t x = zoo.left; x < zoo.right; ++x) {
                LevelCell* cell = level->GetCell(x, y);
                if (cell != nullptr && cell->type == SquareType::Floor) cell->type = SquareType::ZooFloor;
            }
        }
        const uint64_t sum =
            WalkChecksum(*level, c.genCase.seed, (zoo.left + zoo.right) / 2, (zoo.top + zoo.bottom) / 2);
        EXPECT_EQ(sum, c.checksum) << "seed " << c.genCase.seed << ": 0x" << std::hex << sum;
    }
}

}  // namespace

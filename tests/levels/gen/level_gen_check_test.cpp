// Generated levels keep their rules at every depth of both dungeons, in normal and quick
// games (the level check program runs the same checks over many more seeds and reports how
// long a level takes; bench/level_bench times generation).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "levels/gen/level_content.h"
#include "tests/levels/level_gen_fixture.h"

namespace {

struct Mode {
    const char* name;
    bool quick;
    bool extended;
};

using LevelGenCheckTest = LevelGenTest;

TEST_F(LevelGenCheckTest, EveryDepthOfBothDungeonsKeepsTheLevelRules) {
    LoadOurData();
    const Mode modes[] = {{"normal", false, false}, {"quick", true, false}, {"normal long", false, true},
                          {"quick long", true, true}};
    int32_t bosses = 0;
    for (const Mode& mode : modes) {
        const int32_t last = mode.extended ? 14 : 9;
        for (int32_t depth = 0; depth <= last; ++depth) {
            for (uint32_t seed : {101u, 202u}) {
                LevelGenCase genCase;
                genCase.seed = seed;
                genCase.depth = depth;
                genCase.quick = mode.quick;
                genCase.extended = mode.extended;
                bool accepted = false;
                testing::internal::CaptureStdout();
                std::unique_ptr<Level> level = GenerateLevelForCase(genCase, &accepted);
                const std::string out = testing::internal::GetCapturedStdout();
                EXPECT_EQ(out.find("ZARNOCH ERROR"), std::string::npos) << out;
                for (const std::string& problem : CheckGeneratedLevel(*level, genCase, accepted)) {
                    ADD_FAILURE() << mode.name << " depth " << depth << " seed " << seed << ": " << problem;
                }
                EXPECT_EQ(level->width, mode.quick ? 75 : 100);
                for (GameObj* obj : level->objects) {
                    auto* m = dynamic_cast<Monster*>(obj);
                    if (m != nullptr && m->customName == kFinalBossDisplayName) {
                        ++bosses;
                        EXPECT_EQ(m->record->name, mode.extended ? kFinalBossRecordName : kFinalBossDisplayName);
                    }
                }
            }
        }
    }
    EXPECT_EQ(bosses, 8);  // one on each last level
}

// Once the rooms are filled, no two creatures stand on one square: swimmers moved into the
// water, a room's named monster and the members of a horde each find a square of their own.
TEST_F(LevelGenCheckTest, FilledRoomsPutEveryCreatureOnASquareOfItsOwn) {
    LoadOurData();
    for (const bool extended : {false, true}) {
        const int32_t last = extended ? 14 : 9;
        for (int32_t depth = 0; depth <= last; ++depth) {
            for (uint32_t seed = 1; seed <= 3; ++seed) {
                LevelGenCase genCase;
                genCase.seed = seed;
                genCase.depth = depth;
                genCase.extended = extended;
                testing::internal::CaptureStdout();
                std::unique_ptr<Level> level = GenerateLevelForCase(genCase, nullptr);
                PopulateLevelRooms(*level);
                testing::internal::GetCapturedStdout();
                for (const std::string& problem : SharedCreatureSquares(*level)) {
                    ADD_FAILURE() << (extended ? "long" : "normal") << " depth " << depth << " seed " << seed << ": "
                                  << problem;
                }
            }
        }
    }
}

// The level check, the benchmarks and the generation tests load our data the same way: every
// name a document uses is found (the rooms' spell actions find their spells).
TEST_F(LevelGenCheckTest, OurGenerationDataLoadsWithoutAWord) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    LoadOurData();
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out.find("couldn't find"), std::string::npos) << out;
    EXPECT_EQ(err.find("couldn't find"), std::string::npos) << err;
}

TEST_F(LevelGenCheckTest, TheChecksSeeBrokenLevels) {
    LoadOurData();
    LevelGenCase genCase;
    genCase.seed = 7;
    genCase.depth = 4;
    testing::internal::CaptureStdout();
    std::unique_ptr<Level> level = GenerateLevelForCase(genCase, nullptr);
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(CheckGeneratedLevel(*level, genCase, true).empty());
    // A walkable square walled in, a level that gave up, and the wrong depth for its stairs.
    int32_t x = 0;  // row 0 is never part of a room
    int32_t y = 0;
    level->GetCell(x, y)->type = SquareType::Floor;
    std::vector<std::string> problems = CheckGeneratedLevel(*level, genCase, false);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find("bounded tries"), std::string::npos);
    EXPECT_NE(problems[1].find("cannot be reached"), std::string::npos);
    level->GetCell(x, y)->type = SquareType::Rock;
    genCase.depth = 0;
    problems = CheckGeneratedLevel(*level, genCase, true);
    EXPECT_FALSE(problems.empty());
    genCase.depth = 9;
    problems = CheckGeneratedLevel(*level, genCase, true);
    bool sawStairs = false;
    bool sawBoss = false;
    for (const std::string& p : problems) {
        sawStairs = sawStairs || p.find("down stairs on the last level") != std::string::npos;
        sawBoss = sawBoss || p.find("final boss") != std::string::npos;
    }
    EXPECT_TRUE(sawStairs);
    EXPECT_TRUE(sawBoss);
}

}  // namespace

// The skills offered at character creation and the last build.
#include "creatures/skill_db.h"

#include <gtest/gtest.h>

#include <set>

#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

class SkillDBTest : public testing::Test {
protected:
    void TearDown() override { ResetSkillDB(); }
};

TEST_F(SkillDBTest, OfferedSkillsAreEnoughForABuildAndLeaveOutPseudoSkills) {
    AddDummySkills();
    std::vector<int32_t> offered;
    BuildChoosableSkillList(offered);
    ASSERT_GE(offered.size(), 7u);
    const std::set<int32_t> distinct(offered.begin(), offered.end());
    EXPECT_EQ(distinct.size(), offered.size());
    for (int32_t index : offered) {
        const SkillRecord* record = GetSkillRecord(index);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->excluded, 0) << record->name;
    }
    EXPECT_LT(offered.size(), SkillDB.size());
}

TEST_F(SkillDBTest, ChosenFlagsFollowTheIndicesAndIgnoreOutOfRange) {
    ClearChosenSkills();
    EXPECT_TRUE(SetSkillChosen(0));
    EXPECT_TRUE(SetSkillChosen(4));
    EXPECT_FALSE(SetSkillChosen(-1));
    EXPECT_FALSE(SetSkillChosen(static_cast<int32_t>(SkillDB.size())));
    int chosen = 0;
    for (const SkillRecord& record : SkillDB) chosen += record.chosen;
    EXPECT_EQ(chosen, 2);
    EXPECT_EQ(SkillDB[4].chosen, 1);
}

TEST_F(SkillDBTest, LastBuildComesFromLastTxtAndFallsBackWhenItNamesNoSkill) {
    TempDir user;
    ScopedEnv env("VAULTMERE_USER_DIR", user.path().c_str());
    std::vector<int32_t> skills;

    LoadLastSkillChoice(skills);
    EXPECT_EQ(skills, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6}));

    WriteWholeFile(user.file("last.txt"), "19\n3\n8\n0\n11\n2\n7\n");
    LoadLastSkillChoice(skills);
    EXPECT_EQ(skills, (std::vector<int32_t>{19, 3, 8, 0, 11, 2, 7}));

    WriteWholeFile(user.file("last.txt"), "1\n2\n3\n4\n5\n6\n900\n");
    LoadLastSkillChoice(skills);
    EXPECT_EQ(skills, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6}));
}

}  // namespace

// The hero's derived statistics, the experience table and the level-up.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "interface/dialogs.h"
#include "core/event_log.h"
#include "core/input_log.h"
#include "core/tweak.h"
#include "creatures/experience.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "support/run_game.h"

namespace {

// The play-screen windows do not run in these tests: the settings window answers "leave the
// game", the others close at once.
inline int32_t LeaveFromEveryWindow(PlayWindow window) { return window == PlayWindow::Settings ? 1 : 0; }

class PlayerStatsTest : public testing::Test {
protected:
    void SetUp() override {
        SetPlayWindowReplacement(&LeaveFromEveryWindow);
        ResetSkillDB();
        saved_ = CurrentPlayer;
        CurrentPlayer = &hero_;
        // The constructor's starting additions would hide the derived values.
        hero_.statBonus[kStatLife] = 0;
        hero_.statBonus[kStatMana] = 0;
    }
    void TearDown() override {
        SetPlayWindowReplacement(nullptr);
        CurrentPlayer = saved_;
        ResetSkillDB();
        ExperienceTable.clear();
        ResetInputLog();
        SetFixedFrameTime(0);
    }
    static void AddSkill(int32_t id, int32_t type) {
        SkillRecord record;
        record.name = "Skill " + std::to_string(id);
        record.id = id;
        record.type = type;
        SkillDB.push_back(record);
    }
    static AbilityRecord* AddAbility(int32_t skill, int32_t level) {
        AbilityRecord* ability = new AbilityRecord();
        ability->name = "Ability of " + std::to_string(skill);
        ability->skillId = skill;
        ability->level = level;
        AbilityList.push_back(ability);
        return ability;
    }
    // Seven skills of one type at level 1.
    void SevenOfType(int32_t type) {
        for (int32_t i = 0; i < 7; ++i) {
            AddSkill(10 + i, type);
            hero_.skillIds[i] = 10 + i;
            hero_.skillLevels[i] = 1;
        }
    }
    Player hero_;
    Player* saved_ = nullptr;
};

TEST_F(PlayerStatsTest, SevenWarriorSkillsGiveTheTableOfValues) {
    SevenOfType(0);
    hero_.health = 1000;
    hero_.RecalculateStats();
    const int32_t primaries[] = {14, 7, 7, 14, 14, 7};
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) EXPECT_EQ(hero_.primary[i], primaries[i]) << i;
    struct Expect {
        int32_t stat;
        int32_t value;
    };
    const Expect secondaries[] = {{kStatLife, 28},  {kStatMana, 14},   {kStatMeleePower, 3}, {kStatMagicPower, 3},
                                  {kStatCrit, 7},   {kStatHaywire, 3}, {kStatDodge, 3},      {kStatBlock, 4},
                                  {kStatCounter, 3}, {kStatEdr, 2},    {kStatMagicResistance, 7},
                                  {kStatSneakiness, 0}, {kStatTrapSense, 1}, {kStatArmourAbsorption, 0}};
    for (const Expect& e : secondaries) EXPECT_EQ(hero_.stat[e.stat], e.value) << e.stat;
    EXPECT_EQ(hero_.health, 28) << "health is brought down to the new maximum";
}

TEST_F(PlayerStatsTest, SneakinessAndTheNegativeRules) {
    struct Case {
        const char* name;
        int32_t nimblenessBonus, savvyBonus;
        int32_t stat, statBonus;
        int32_t sneakiness, statValue;
    };
    // Seven warrior skills: N 7, V 7; the bonuses bring N + V to 28 or 26.
    const Case cases[] = {
        {"N + V = 28", 7, 7, kStatDodge, 0, 1, 7},
        {"N + V = 26", 6, 6, kStatDodge, 0, 0, 6},
        {"liferegen keeps -5", 0, 0, kStatLifeRegen, -5, 0, -5},
        {"manaregen keeps -5", 0, 0, kStatManaRegen, -5, 0, -5},
        {"dodge never below 0", 0, 0, kStatDodge, -5, 0, 0},
    };
    SevenOfType(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::fill(std::begin(hero_.primaryBonus), std::end(hero_.primaryBonus), 0);
        std::fill(std::begin(hero_.statBonus), std::end(hero_.statBonus), 0);
        hero_.primaryBonus[kPrimaryNimbleness] = c.nimblenessBonus;
        hero_.primaryBonus[kPrimarySavvy] = c.savvyBonus;
        hero_.statBonus[c.stat] = c.statBonus;
        hero_.RecalculateStats();
        EXPECT_EQ(hero_.stat[kStatSneakiness], c.sneakiness);
        EXPECT_EQ(hero_.stat[c.stat], c.statValue);
    }
}

TEST_F(PlayerStatsTest, PercentagesScaleTheSkillPartButNotAbilityBonuses) {
    SevenOfType(0);
    AbilityRecord* ability = AddAbility(10, 0);  // a level-0 ability of a level-1 skill counts
    ability->primaryMods[kPrimaryBurliness] = 4;
    ability->secondaryMods[kStatDodge] = 2;
    hero_.primaryPercent[kPrimaryBurliness] = 50;
    hero_.primaryBonus[kPrimaryBurliness] = 2;
    hero_.RecalculateStats();
    EXPECT_EQ(hero_.primary[kPrimaryBurliness], (14 + 2) / 2 + 4);
    EXPECT_EQ(hero_.stat[kStatDodge], 3 + 2);
    // An ability of the hero's level does not count yet.
    ability->level = 1;
    hero_.RecalculateStats();
    EXPECT_EQ(hero_.primary[kPrimaryBurliness], 8);
}

TEST_F(PlayerStatsTest, HashedSkillIdsCountAndOnlyThePseudoSkillsAreLeftOut) {
    const int32_t hashed = -123456789;
    AddSkill(hashed, 2);
    AddSkill(kLastChoiceSkillId, 0);
    AddSkill(kRandomSkillsSkillId, 0);
    hero_.skillIds[0] = hashed;
    hero_.skillLevels[0] = 2;
    hero_.skillIds[1] = kLastChoiceSkillId;
    hero_.skillLevels[1] = 5;
    AbilityRecord* hashedAbility = AddAbility(hashed, 1);
    hashedAbility->secondaryMods[kStatSight] = 1;
    AbilityRecord* pseudoAbility = AddAbility(kLastChoiceSkillId, 0);
    pseudoAbility->secondaryMods[kStatSight] = 10;
    hero_.RecalculateStats();
    // R = 2: Nimbleness 2R = 4.
    EXPECT_EQ(hero_.primary[kPrimaryNimbleness], 4);
    EXPECT_EQ(hero_.primary[kPrimaryBurliness], 2);
    EXPECT_EQ(hero_.stat[kStatSight], 1);
}

TEST_F(PlayerStatsTest, TheExperienceTableGrowsByTriangleNumbersAndLevelsOnceAboveTheThreshold) {
    InitExperienceTableFrom(10);
    ASSERT_EQ(ExperienceTable.size(), 50u);
    EXPECT_EQ(std::vector<int32_t>(ExperienceTable.begin(), ExperienceTable.begin() + 5),
              (std::vector<int32_t>{10, 20, 40, 70, 110}));
    EXPECT_EQ(ExperienceForLevel(50), -1);
    EXPECT_EQ(ExperienceForLevel(-1), -1);

    SevenOfType(0);
    hero_.RecalculateStats();
    testing::internal::CaptureStdout();
    hero_.AddExperience(10, 0);
    EXPECT_EQ(hero_.level, 0) << "exactly the threshold does not level";
    EXPECT_EQ(hero_.score, 40);
    // The level-up notice waits for its Enter.
    ResetInputLog();
    SetFixedFrameTime(16);
    ASSERT_TRUE(OpenInputScriptText("wait 40\nkey return"));
    hero_.health = 1;
    const std::string events = testing::TempDir() + "level_up_events.txt";
    ASSERT_TRUE(OpenEventLog(events));
    hero_.AddExperience(1, 0);
    CloseEventLog();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(ReadWholeFile(events), "EVENT: Player has levelled.\n");
    std::remove(events.c_str());
    EXPECT_EQ(hero_.level, 1);
    EXPECT_EQ(hero_.skillPoints, 1);
    EXPECT_EQ(hero_.experience, 0) << "experience restarts";
    EXPECT_EQ(hero_.lifetimeExperience, 11);
    EXPECT_EQ(hero_.health, 28) << "a full heal";
    EXPECT_NE(out.find("total xp: 10\n"), std::string::npos);
    EXPECT_NE(out.find("total xp: 11\n"), std::string::npos);
    EXPECT_NE(out.find("character has leveled\n"), std::string::npos);

    // 500 at once: one level, the rest is lost; a quick game doubles.
    ASSERT_TRUE(OpenInputScriptText("wait 40\nkey return"));
    hero_.quickie = 1;
    hero_.AddExperience(250, 0);
    EXPECT_EQ(hero_.level, 2);
    EXPECT_EQ(hero_.experience, 0);
    EXPECT_EQ(hero_.lifetimeExperience, 511);
    EXPECT_EQ(hero_.score, 4 * 511);

    // At the last level there is nothing further to reach.
    hero_.level = 50;
    hero_.experience = 1 << 30;
    hero_.AddExperience(0, 0);
    EXPECT_EQ(hero_.level, 50);
}

}  // namespace

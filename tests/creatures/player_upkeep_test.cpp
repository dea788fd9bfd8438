// The hero's turn upkeep (regeneration, the status buffs, the invisibility streak), its buff
// list, the creature forms of a polymorph and the unarmed attack sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "core/event_log.h"
#include "core/input_log.h"
#include "core/random.h"
#include "core/tweak.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/skill_item.h"
#include "items_fixtures/weapon.h"
#include "levels/level_test_map.h"
#include "store_platform/store.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

const char kTweaks[] = R"(<tweakDB>
  <tweak name="hpregenturns" ival="10"/>
  <tweak name="spregenturns" ival="1000"/>
</tweakDB>)";

const char kItems[] = R"(<itemdb>
  <item name="Sword"><weapon level="1" slashing="3"/></item>
  <item name="Dagger"><weapon level="1" piercing="2"/></item>
  <item name="Buckler"><armour type="shield"/></item>
</itemdb>)";

int32_t CountNamed(const Player& hero, const std::string& name) {
    return static_cast<int32_t>(
        std::count_if(hero.buffs.begin(), hero.buffs.end(), [&name](const Buff* b) { return b->name == name; }));
}

class PlayerUpkeepTest : public testing::Test {
protected:
    void SetUp() override {
        ClearTweakVals();
        ASSERT_TRUE(LoadTweakValsFromBuffer(kTweaks, sizeof kTweaks - 1));
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        ResetSkillDB();
        saved_ = CurrentPlayer;
        CurrentPlayer = &hero_;
        hero_.difficulty = 0;
        hero_.statBonus[kStatLife] = 100;
        hero_.statBonus[kStatMana] = 100;
        ResetInputLog();
        SetFixedFrameTime(16);
    }
    void TearDown() override {
        for (Weapon** weapon : {&hero_.firstHandWeapon, &hero_.secondHandWeapon}) {
            delete *weapon;
            *weapon = nullptr;
        }
        delete hero_.secondHandShield;
        hero_.secondHandShield = nullptr;
        CurrentPlayer = saved_;
        ClearTweakVals();
        ClearItemDB();
        ResetSkillDB();
        for (MonsterRecord* record : forms_) {
            MonsterTable.erase(std::remove(MonsterTable.begin(), MonsterTable.end(), record), MonsterTable.end());
            delete record;
        }
        SetFixedFrameTime(0);
    }
    // One turn of the hero's own upkeep, as the turn engine runs it.
    void Turn() {
        hero_.Update();
        hero_.UpdateBuffs();
    }
    MonsterRecord* AddForm(const char* displayName) {
        MonsterRecord* record = MonsterRecord::CreateDefault();
        record->name = std::string(displayName) + " record";
        record->displayName = displayName;
        MonsterTable.push_back(record);
        forms_.push_back(record);
        return record;
    }
    Player hero_;
    Player* saved_ = nullptr;
    std::vector<MonsterRecord*> forms_;
};

TEST_F(PlayerUpkeepTest, HealthRegeneratesByTheTuningValueUnlessSkill13ForbidsIt) {
    struct Case {
        const char* name;
        int32_t lifeRegen;
        bool skill13;
        int32_t food;
        int32_t gainedIn5Turns;
    };
    const Case cases[] = {
        {"regeneration 12 beats the 10 turns: a point a turn", 12, false, 0, 5},
        {"regeneration 5: a point every 5 turns", 5, false, 0, 1},
        {"skill 13: nothing by itself", 12, true, 0, 0},
        {"skill 13 still eats", 12, true, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hero_.statBonus[kStatLifeRegen] = c.lifeRegen;
        hero_.skillIds[0] = c.skill13 ? 13 : 100;
        hero_.skillLevels[0] = 1;
        hero_.foodRegenLeft = c.food;
        hero_.boozeRegenLeft = 0;
        hero_.healthRegenCounter = 0;
        hero_.RecalculateStats();
        hero_.health = 10;
        for (int32_t i = 0; i < 5; ++i) Turn();
        EXPECT_EQ(hero_.health, 10 + c.gainedIn5Turns);
    }
}

TEST_F(PlayerUpkeepTest, TwoWeaponsWithoutTheSkillKeepOneHandsFullUntilLetGo) {
    hero_.firstHandWeapon = new Weapon(FindItemDefByName("Sword"));
    hero_.secondHandWeapon = new Weapon(FindItemDefByName("Dagger"));
    for (int32_t i = 0; i < 10; ++i) {
        Turn();
        EXPECT_EQ(CountNamed(hero_, "Hands Full!"), 1) << "turn " << i;
    }
    delete hero_.secondHandWeapon;
    hero_.secondHandWeapon = nullptr;
    Turn();
    Turn();
    EXPECT_EQ(CountNamed(hero_, "Hands Full!"), 0);

    // A weapon and a shield, or the skill of two blades, never.
    hero_.secondHandShield = new Armour(FindItemDefByName("Buckler"));
    for (int32_t i = 0; i < 3; ++i) Turn();
    EXPECT_EQ(CountNamed(hero_, "Hands Full!"), 0);
    hero_.secondHandWeapon = new Weapon(FindItemDefByName("Dagger"));
    hero_.skillIds[0] = 7;
    hero_.skillLevels[0] = 1;
    for (int32_t i = 0; i < 3; ++i) Turn();
    EXPECT_EQ(CountNamed(hero_, "Hands Full!"), 0);
}

TEST_F(PlayerUpkeepTest, DigestionBuffsShowTheTurnsLeftAndBuffsStaySortedBytewise) {
    for (const char* name : {"beta", "Alpha", "alpha"}) {
        Buff* buff = new Buff(name);
        buff->turnsLeft = 50;
        hero_.AddBuff(buff);
    }
    hero_.foodRegenLeft = 6;
    hero_.boozeRegenLeft = 2;
    hero_.UpdateBuffs();
    std::vector<std::string> names;
    for (const Buff* buff : hero_.buffs) names.push_back(buff->name);
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "Fuelled by Booze", "Well Fed", "alpha", "beta"}));
    const auto fed = std::find_if(hero_.buffs.begin(), hero_.buffs.end(), [](const Buff* b) { return b->name == "Well Fed"; });
    ASSERT_NE(fed, hero_.buffs.end());
    EXPECT_EQ((*fed)->displayCount, 6);
    EXPECT_EQ((*fed)->description, "You have eaten food and will regenerate HP. (6 turns remaining)");
    EXPECT_EQ((*fed)->icon, "ui/icons/buff_healthy_appetite64.png");
    // Every turn shows the count of that turn, one buff each.
    Turn();
    EXPECT_EQ(CountNamed(hero_, "Well Fed"), 1);
    EXPECT_EQ(CountNamed(hero_, "Fuelled by Booze"), 1);
    Turn();
    Turn();
    EXPECT_EQ(CountNamed(hero_, "Fuelled by Booze"), 0) << "gone the turn after the drink is digested";
}

TEST_F(PlayerUpkeepTest, NonStackingBuffsAreToldApartByNameAndStackLimitsHold) {
    struct Case {
        const char* name;
        const char* first;
        const char* second;
        bool stacking;
        int32_t stackSize;
        size_t kept;
    };
    const Case cases[] = {
        {"two icon-less buffs of different names", "Ward", "Haste", false, 0, 2},
        {"a second copy refreshes the first", "Ward", "Ward", false, 0, 1},
        {"a limit of one", "Ward", "Ward", true, 1, 1},
        {"no limit", "Ward", "Ward", true, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Player hero;
        const char* names[2] = {c.first, c.second};
        for (int32_t i = 0; i < 2; ++i) {
            Buff* buff = new Buff(names[i]);
            buff->allowStacking = c.stacking;
            buff->stackSize = c.stackSize;
            buff->turnsLeft = i == 0 ? 3 : 9;
            hero.AddBuff(buff);
        }
        EXPECT_EQ(hero.buffs.size(), c.kept);
        if (!c.stacking && c.kept == 1) {
            EXPECT_EQ(hero.buffs[0]->turnsLeft, 9);
        }
    }
    CurrentPlayer = &hero_;
}

TEST_F(PlayerUpkeepTest, ZappingEndsInvisibilityAndAttacksUseUpTheirBuffs) {
    for (const char* name : {"Shade", "Veil", "Vigour"}) {
        Buff* buff = new Buff(name);
        buff->invisible = std::string(name) != "Vigour";
        buff->frozenTimer = true;
        hero_.AddBuff(buff);
    }
    RemovePlayerInvisibility();
    ASSERT_EQ(hero_.buffs.size(), 1u);
    EXPECT_EQ(hero_.buffs[0]->name, "Vigour");

    Buff* fury = new Buff("Fury");
    fury->attacks = 2;
    fury->frozenTimer = true;
    fury->secondaryMods[kStatMeleePower] = 4;
    hero_.AddBuff(fury);
    const int32_t boosted = hero_.stat[kStatMeleePower];
    UseUpAttackBuffs();
    EXPECT_EQ(fury->attacks, 1);
    EXPECT_FALSE(fury->expired);
    UseUpAttackBuffs();
    EXPECT_TRUE(fury->expired);
    hero_.UpdateBuffs();
    EXPECT_EQ(CountNamed(hero_, "Fury"), 0);
    EXPECT_EQ(hero_.stat[kStatMeleePower], boosted - 4) << "its bonus is taken off with it";
}

TEST_F(PlayerUpkeepTest, TheFiftiethInvisibleTurnSetsItsAchievementOnce) {
    TempDir user;
    ScopedEnv env("VAULTMERE_USER_DIR", user.path().c_str());
    ASSERT_TRUE(SteamAPI_Init());
    Buff* cloak = new Buff("Cloak");
    cloak->invisible = true;
    cloak->frozenTimer = true;
    hero_.AddBuff(cloak);
    bool achieved = false;
    for (int32_t i = 0; i < 49; ++i) Turn();
    ASSERT_TRUE(SteamUserStats()->GetAchievement("ACHIEVEMENT_NOTHING_TO_SEE_HERE", &achieved));
    EXPECT_FALSE(achieved);
    Turn();
    ASSERT_TRUE(SteamUserStats()->GetAchievement("ACHIEVEMENT_NOTHING_TO_SEE_HERE", &achieved));
    EXPECT_TRUE(achieved);
    SteamUserStats()->ClearAchievement("ACHIEVEMENT_NOTHING_TO_SEE_HERE");
    Turn();
    ASSERT_TRUE(SteamUserStats()->GetAchievement("ACHIEVEMENT_NOTHING_TO_SEE_HERE", &achieved));
    EXPECT_FALSE(achieved) << "the 51st turn does not set it again";
    SteamAPI_Shutdown();
}

TEST_F(PlayerUpkeepTest, APolymorphStashesTheBeltAndTheSecondOneIsIgnored) {
    MonsterRecord* rat = AddForm("Giant Rat");
    MonsterRecord* toad = AddForm("Toad");
    SkillItem* own = new SkillItem();
    hero_.abilitySlots[2] = own;
    testing::internal::CaptureStdout();
    const std::string events = testing::TempDir() + "polymorph_events.txt";
    ASSERT_TRUE(OpenEventLog(events));
    hero_.StartPolymorph(rat);
    hero_.StartPolymorph(toad);
    EXPECT_EQ(hero_.isPolymorphed, 1);
    EXPECT_EQ(hero_.polymorphForm, rat);
    EXPECT_EQ(hero_.stashedAbilitySlots[2], own);
    for (Item* slot : hero_.abilitySlots) EXPECT_EQ(slot, nullptr);

    hero_.EndPolymorph();
    CloseEventLog();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(ReadWholeFile(events),
              "EVENT: Player polymorphed into a Giant Rat record\nEVENT: Player restored from polymorph\n");
    std::remove(events.c_str());
    EXPECT_EQ(hero_.isPolymorphed, 0);
    EXPECT_EQ(hero_.polymorphForm, nullptr);
    EXPECT_EQ(hero_.abilitySlots[2], own);
    EXPECT_EQ(hero_.dead, 0) << "off any level: no water to drown in";
    EXPECT_NE(out.find("Player polymorphed into a Giant Rat record"), std::string::npos);
    EXPECT_NE(out.find("Player restored from polymorph"), std::string::npos);
    hero_.abilitySlots[2] = nullptr;
    delete own;

    // A buff finds its form by display name, and only an accepted buff starts one.
    Buff* first = new Buff("Toad Skin");
    first->isPolymorph = true;
    first->polymorphName = "Toad";
    first->allowStacking = false;
    testing::internal::CaptureStdout();
    hero_.AddBuff(first);
    EXPECT_EQ(hero_.polymorphForm, toad);
    hero_.EndPolymorph();
    Buff* again = new Buff("Toad Skin");
    again->isPolymorph = true;
    again->polymorphName = "Giant Rat";
    again->allowStacking = false;
    hero_.AddBuff(again);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(hero_.isPolymorphed, 0) << "the refreshed copy starts nothing";
    EXPECT_EQ(CountNamed(hero_, "Toad Skin"), 1);
}

TEST_F(PlayerUpkeepTest, EndingAPolymorphOverWaterDrownsWithTheGenderedCause) {
    ScopedTestLevel level({"#.~#"});
    MonsterRecord* fish = AddForm("Carp");
    struct Case {
        int32_t x;
        int32_t female;
        bool dead;
        const char* cause;
    };
    const Case cases[] = {{1, 1, false, ""},
                          {2, 1, true, "by suddenly regaining her human form and drowning"},
                          {2, 0, true, "by suddenly regaining his human form and drowning"}};
    for (const Case& c : cases) {
        Player hero;
        CurrentPlayer = &hero;
        hero.female = c.female;
        hero.x = c.x;
        hero.y = 0;
        testing::internal::CaptureStdout();
        hero.StartPolymorph(fish);
        hero.EndPolymorph();
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(hero.dead != 0, c.dead) << c.x;
        EXPECT_EQ(hero.deathCause, c.cause);
    }
    CurrentPlayer = &hero_;
}

TEST_F(PlayerUpkeepTest, TheUnarmedSoundIsOneOfSixNames) {
    MTSeed(11);
    std::set<std::string> heard;
    for (int32_t i = 0; i < 100; ++i) {
        hero_.female = i % 2;
        heard.insert(hero_.GetAttackSoundName());
    }
    EXPECT_EQ(heard, (std::set<std::string>{"unarmed1", "unarmed2", "unarmed3", "unarmed_female1", "unarmed_female2",
                                            "unarmed_female3"}));
}

}  // namespace

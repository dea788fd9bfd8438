// The skill database: skills, abilities and loadouts read from small fixture files, the
// pseudo-skills, the offered skills, and the hero's skill and ability levels.
#include "creatures/skill_db.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "core/lookup3.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "media/sprite.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

class SkillDBTest : public testing::Test {
protected:
    void SetUp() override {
        ResetSkillDB();
        ClearSpellTable();
    }
    void TearDown() override {
        ResetSkillDB();
        ClearSpellTable();
        CurrentPlayer = nullptr;
    }
    // Loads text as a skill file; returns what went to standard error.
    static std::string Load(const std::string& text, const char* file = "test//skillDB.xml") {
        testing::internal::CaptureStderr();
        SkillDBLoadFromText(text.data(), text.size(), file);
        return testing::internal::GetCapturedStderr();
    }
    static void LoadSpells(const std::string& text) {
        testing::internal::CaptureStderr();
        spellDBLoadFromText(text.data(), text.size(), "test//spellDB.xml");
        testing::internal::GetCapturedStderr();
    }
};

// N plain skills named "Skill 0" ... with ids 0 ...
std::string PlainSkills(int count) {
    std::string text = "<skills>\n";
    for (int i = 0; i < count; ++i) {
        text += "<skill name=\"Skill " + std::to_string(i) + "\" id=\"" + std::to_string(i) + "\" type=\"rogue\"/>\n";
    }
    return text + "</skills>\n";
}

const char* const kFixture = R"(<skillDB>
  <skill name="Hedge Lore" skillname="hedge lore" id="99" type="wizard" description="Roots and rot."
         achievement="ACHIEVEMENT_HEDGE">
    <art icon="skills/hedge.png"/>
    <loadout type="food" subtype="bread" amount="3" always="1"/>
    <loadout type="weapon" subtype="staff"/>
    <loadout type="potion" subtype="green" amount="2"/>
    <flags deprecated="0"/>
    <ability name="Bramble" icon="skills/bramble.png" level="2" skillname="hedge lore" startSkill="1">
      <description text="Thorns grow."/>
      <spell name="Thorns"/>
      <draw x="40" y="80" page="1"/>
      <triggeroncast name="Thorns"/>
      <triggerondodge name="Thorns" percent="30"/>
      <targetHitEffectBuff name="Thorns" percentage="25" taxa="plant" after="1"/>
      <crossbowShotBuff name="Thorns"/>
      <SecondaryBuff id="6" amount="4"/>
      <primarybuff amount="2"/>
      <damagebuff toxic="3" existential="1"/>
      <resistbuff crushing="2"/>
      <recoverybuff amount="7"/>
      <flags veganism="1" doublethrow="1" friendlyTaxa="elf" vmtheft="1" storetheft="0"/>
    </ability>
  </skill>
  <skill name="Axe Work" id="1" type="Warrior"/>
  <skill name="Backstabbing" id="12" type="rogue"><flags deprecated="1"/></skill>
</skillDB>
)";

TEST_F(SkillDBTest, SkillsAbilitiesAndLoadoutsFromAFixtureFile) {
    LoadSpells("<spells><spell name=\"Thorns\" type=\"self\" icon=\"\"/></spells>");
    const std::string errors = Load(kFixture);
    ASSERT_EQ(SkillDB.size(), 3u);
    const SkillRecord& hedge = SkillDB[0];
    EXPECT_EQ(hedge.name, "Hedge Lore");
    EXPECT_EQ(hedge.id, static_cast<int32_t>(hashlittle("hedge lore", std::strlen("hedge lore"), 0)))
        << "the skillname hash wins over the id attribute";
    EXPECT_EQ(hedge.type, 1);
    EXPECT_EQ(hedge.description, "Roots and rot.");
    EXPECT_EQ(hedge.icon, "skills/hedge.png");
    EXPECT_EQ(hedge.achievement, "ACHIEVEMENT_HEDGE");
    ASSERT_EQ(hedge.loadout.size(), 3u);
    EXPECT_EQ(hedge.loadout[0].type, "food");
    EXPECT_EQ(hedge.loadout[0].subtype, "bread");
    EXPECT_EQ(hedge.loadout[0].amount, 3);
    EXPECT_TRUE(hedge.loadout[0].always);
    EXPECT_EQ(hedge.loadout[1].subtype, "staff");
    EXPECT_EQ(hedge.loadout[1].amount, 1) << "amount defaults to 1";
    EXPECT_FALSE(hedge.loadout[1].always);
    EXPECT_EQ(hedge.loadout[2].type, "potion");
    EXPECT_EQ(SkillDB[1].type, 0) << "type words are case-sensitive: \"Warrior\" is the default 0";
    EXPECT_EQ(SkillDB[1].id, 1);
    EXPECT_EQ(SkillDB[2].type, 2);
    EXPECT_EQ(SkillDB[2].deprecated, 1);

    ASSERT_EQ(AbilityList.size(), 1u);
    const AbilityRecord& a = *AbilityList[0];
    Spell* thorns = spellDBFindByName("Thorns");
    ASSERT_NE(thorns, nullptr);
    EXPECT_EQ(a.name, "Bramble");
    EXPECT_EQ(a.skillId, hedge.id);
    EXPECT_EQ(a.level, 2);
    EXPECT_TRUE(a.startSkill);
    EXPECT_EQ(a.description, "Thorns grow.");
    EXPECT_EQ(a.spellName, "Thorns");
    EXPECT_EQ(a.spell, thorns);
    EXPECT_EQ(a.tomeX, 40);
    EXPECT_EQ(a.tomeY, 80);
    EXPECT_EQ(a.tomePage, 1);
    EXPECT_EQ(a.triggerOnCast.spell, thorns);
    EXPECT_EQ(a.triggerOnCast.percent, 5) << "triggeroncast without a percent";
    EXPECT_EQ(a.triggerOnDodge.percent, 30);
    EXPECT_EQ(a.targetHitEffect.spell, thorns);
    EXPECT_EQ(a.targetHitEffect.percentage, 25);
    EXPECT_EQ(a.targetHitEffect.taxa, "plant");
    EXPECT_TRUE(a.targetHitAfter);
    EXPECT_EQ(a.crossbowShot.spell, thorns);
    EXPECT_EQ(a.crossbowShot.percentage, 100);
    EXPECT_EQ(a.playerHitEffect.spell, nullptr);
    EXPECT_EQ(a.secondaryMods[6], 4) << "element names are read without regard to case";
    EXPECT_EQ(a.primaryMods[0], 2) << "a primarybuff without id sets modifier 0";
    EXPECT_EQ(a.damage[7], 3);
    EXPECT_EQ(a.damage[15], 1);
    EXPECT_EQ(a.resist[0], 2);
    EXPECT_EQ(a.recovery, 7);
    EXPECT_TRUE(a.veganism);
    EXPECT_TRUE(a.doubleThrow);
    EXPECT_EQ(a.friendlyTaxa, "elf");
    EXPECT_TRUE(a.vmTheft);
    EXPECT_FALSE(a.storeTheft);
    // No data tree is mounted: the icon is missing and shows a placeholder.
    EXPECT_NE(a.iconSprite, nullptr);
    EXPECT_NE(errors.find("skills/bramble.png"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("Horribly Broken"), std::string::npos) << errors;
}

TEST_F(SkillDBTest, ASecondFileAppendsAndUnknownSpellsStayNull) {
    Load(kFixture);
    Load("<skills><skill name=\"Late\" id=\"5\"><ability name=\"Nothing\" icon=\"x.png\" skill=\"5\">"
         "<spell name=\"No Such Spell\"/></ability></skill></skills>");
    ASSERT_EQ(SkillDB.size(), 4u);
    EXPECT_EQ(SkillDB[0].name, "Hedge Lore");
    EXPECT_EQ(SkillDB[3].name, "Late");
    ASSERT_EQ(AbilityList.size(), 2u);
    EXPECT_EQ(AbilityList[1]->name, "Nothing");
    EXPECT_EQ(AbilityList[1]->skillId, 5);
    EXPECT_EQ(AbilityList[1]->spell, nullptr);
    EXPECT_EQ(AbilityList[0]->spell, nullptr) << "the fixture's spell was never loaded";
    EXPECT_EQ(FindAbilityByName("Nothing"), AbilityList[1]);
    EXPECT_EQ(FindSkillById(5), &SkillDB[3]);
}

TEST_F(SkillDBTest, OutOfRangeIdsAndUnknownDamageWordsAreIgnoredWithTheirLine) {
    const std::string errors = Load(
        "<skills>\n"
        "<ability name=\"Odd\" icon=\"\">\n"
        "<secondarybuff id=\"24\" amount=\"9\"/>\n"
        "<secondarybuff id=\"-1\" amount=\"9\"/>\n"
        "<primarybuff id=\"6\" amount=\"9\"/>\n"
        "<damagebuff Crushing=\"4\" toxic=\"2\"/>\n"
        "<resistbuff fire=\"4\"/>\n"
        "</ability>\n"
        "</skills>\n",
        "mods//skillDB.xml");
    ASSERT_EQ(AbilityList.size(), 1u);
    const AbilityRecord& a = *AbilityList[0];
    for (int32_t v : a.secondaryMods) EXPECT_EQ(v, 0);
    for (int32_t v : a.primaryMods) EXPECT_EQ(v, 0);
    for (int32_t t = 0; t < kDamageTypeCount; ++t) {
        EXPECT_EQ(a.damage[t], t == 7 ? 2 : 0);
        EXPECT_EQ(a.resist[t], 0);
    }
    for (const char* expected : {"mods//skillDB.xml, line 3: <secondarybuff> id 24",
                                 "mods//skillDB.xml, line 4: <secondarybuff> id -1",
                                 "mods//skillDB.xml, line 5: <primarybuff> id 6",
                                 "mods//skillDB.xml, line 6: <damagebuff> names no damage type \"Crushing\"",
                                 "mods//skillDB.xml, line 7: <resistbuff> names no damage type \"fire\"",
                                 "Ability \"Odd\" names no icon file"}) {
        EXPECT_NE(errors.find(expected), std::string::npos) << expected << "\n" << errors;
    }
    EXPECT_NE(a.iconSprite, nullptr) << "a placeholder, not nothing";
}

TEST_F(SkillDBTest, ParseErrorNamesFileLineAndColumnAndKeepsEarlierRecords) {
    const std::string text = "<skills>\n<skill name=\"One\" id=\"1\"/>\n<skill name=\"Two\" id=\"2\">\n<ability name=\"Half\"";
    const std::string errors = Load(text, "mod//skillDB.xml");
    EXPECT_NE(errors.find("skillDB: mod//skillDB.xml: "), std::string::npos) << errors;
    EXPECT_NE(errors.find("at line 4, column"), std::string::npos) << errors;
    ASSERT_EQ(SkillDB.size(), 1u);
    EXPECT_EQ(SkillDB[0].name, "One");
    EXPECT_TRUE(AbilityList.empty());
}

TEST_F(SkillDBTest, TheLearnAnimationComesFromTheCurrentSpriteTable) {
    testing::internal::CaptureStderr();
    AddDummySkills();
    // The table is emptied (its sprites destroyed); the tome takes the animation again.
    SpriteMgr_FreeAll();
    AttachSkillTomeLearnSprite();
    Sprite* current = SpriteMgr_GetOrLoadSeries("skilltome_learn", "ui/gameplay/skilltome_learn", 6, 0, 150, 1);
    testing::internal::GetCapturedStderr();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(SkillTomeLearnBob.sprite, current);
}

TEST_F(SkillDBTest, PseudoSkillsComeLastAndAreNotOffered) {
    Load(kFixture);
    testing::internal::CaptureStderr();
    AddDummySkills();
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(SkillDB.size(), 5u);
    // "Random Skills" second to last, "Last Choice" last.
    EXPECT_EQ(SkillDB[3].name, "Random Skills");
    EXPECT_EQ(SkillDB[3].id, -2);
    EXPECT_EQ(SkillDB[3].description, "You start the game with seven skills chosen, excitingly, at random.");
    EXPECT_EQ(SkillDB[3].icon, "skills/skill_random.png");
    EXPECT_EQ(SkillDB[4].name, "Last Choice");
    EXPECT_EQ(SkillDB[4].id, -1);
    EXPECT_EQ(SkillDB[4].description,
              "You start the game with whatever skill picks your poor, tragic, hero started with last game. Do you "
              "think you can do better this time?");
    EXPECT_EQ(SkillDB[4].icon, "skills/skill_avenge_your_father.png");
    EXPECT_NE(SkillTomeLearnBob.sprite, nullptr);

    std::vector<int32_t> offered;
    BuildChoosableSkillList(offered);
    EXPECT_EQ(offered, (std::vector<int32_t>{0, 1})) << "deprecated and pseudo-skills are left out";
}

TEST_F(SkillDBTest, AHashedIdThatIsNegativeAsAnInt32IsAnOrdinarySkill) {
    // Find a skill name whose hash has the top bit set (most do within a few tries).
    std::string name;
    for (int i = 0; i < 100 && name.empty(); ++i) {
        const std::string candidate = "negative " + std::to_string(i);
        if (static_cast<int32_t>(hashlittle(candidate.data(), candidate.size(), 0)) < -2) name = candidate;
    }
    ASSERT_FALSE(name.empty());
    Load("<skills><skill name=\"Dark\" skillname=\"" + name + "\"><ability name=\"Gloom\" icon=\"\" level=\"0\" skillname=\"" +
         name + "\"/></skill></skills>");
    ASSERT_EQ(SkillDB.size(), 1u);
    const int32_t id = SkillDB[0].id;
    EXPECT_LT(id, 0);
    EXPECT_FALSE(IsPseudoSkillId(id));
    std::vector<int32_t> offered;
    BuildChoosableSkillList(offered);
    EXPECT_EQ(offered, std::vector<int32_t>{0});

    Player hero;
    hero.skillIds[3] = id;
    hero.skillLevels[3] = 1;
    CurrentPlayer = &hero;
    EXPECT_EQ(hero.GetSkillLevel(id), 1);
    EXPECT_TRUE(PlayerHasAbilityLevel(AbilityList[0]));
}

TEST_F(SkillDBTest, SkillLevelAndAbilityLevels) {
    Player hero;
    for (int32_t slot = 0; slot < kBuildSkillCount; ++slot) {
        hero.skillIds[slot] = 100 + slot;
        hero.skillLevels[slot] = 0;
    }
    hero.skillIds[2] = 7;
    hero.skillLevels[2] = 1;
    hero.skillIds[5] = 7;  // a later slot with the same id does not count
    hero.skillLevels[5] = 3;
    CurrentPlayer = &hero;
    EXPECT_EQ(hero.GetSkillLevel(7), 1);
    EXPECT_EQ(hero.GetSkillLevel(8), 0) << "a skill the hero lacks";

    AbilityRecord levelZero;
    levelZero.skillId = 7;
    levelZero.level = 0;
    AbilityRecord levelTwo;
    levelTwo.skillId = 7;
    levelTwo.level = 2;
    AbilityRecord other;
    other.skillId = 8;
    EXPECT_TRUE(PlayerHasAbilityLevel(&levelZero)) << "level 0 needs skill level 1";
    EXPECT_FALSE(PlayerHasAbilityLevel(&other));

    struct Case {
        int32_t skillLevel;
        bool hasLevelTwo;
    };
    for (const Case& c : {Case{2, false}, Case{3, true}, Case{4, true}}) {
        hero.skillLevels[2] = c.skillLevel;
        hero.skillLevels[5] = 0;
        EXPECT_EQ(PlayerHasAbilityLevel(&levelTwo), c.hasLevelTwo) << "skill level " << c.skillLevel;
    }
    hero.skillLevels[2] = 0;
    hero.skillLevels[5] = 3;
    EXPECT_TRUE(PlayerHasAbilityLevel(&levelTwo)) << "any slot holding the skill may grant it";
    EXPECT_EQ(hero.GetSkillLevel(7), 0) << "the level of the first slot";
    CurrentPlayer = nullptr;
    EXPECT_FALSE(PlayerHasAbilityLevel(&levelZero)) << "no hero";
}

TEST_F(SkillDBTest, ChosenFlagsFollowTheIndicesAndIgnoreOutOfRange) {
    Load(PlainSkills(6));
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
    Load(PlainSkills(20));
    TempDir user;
    ScopedEnv env("VAULTMERE_USER_DIR", user.path().c_str());
    std::vector<int32_t> skills;

    LoadLastSkillChoice(skills);
    EXPECT_EQ(skills, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6}));

    WriteWholeFile(user.file("last.txt"), "19\n3\n8\n0\n11\n2\n7\n");
    LoadLastSkillChoice(skills);
    EXPECT_EQ(skills, (std::vector<int32_t>{19, 3, 8, 0, 11, 2, 7}));

    WriteWholeFile(user.file("last.txt"), "1\n2\n3\n4\n5\n6\n900\n");
    testing::internal::CaptureStdout();
    LoadLastSkillChoice(skills);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(skills, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6}));
}

}  // namespace

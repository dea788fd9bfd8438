// The spell database read from small fixture files: defaults, code tables, effects, buff
// templates, hooks, side lists, icons and diagnostics.
#include "creatures/spell.h"

#include <gtest/gtest.h>

#include <stb/stb_image_write.h>

#include "media/image_test_support.h"
#include "media/sprite.h"
#include "platform/vfs.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

// Loads text as a spell file; returns what went to standard error.
std::string Load(const std::string& text, const char* file = "test//spellDB.xml") {
    testing::internal::CaptureStderr();
    spellDBLoadFromText(text.data(), text.size(), file);
    return testing::internal::GetCapturedStderr();
}

class SpellDBTest : public testing::Test {
protected:
    void SetUp() override { ClearSpellTable(); }
    void TearDown() override { ClearSpellTable(); }
};

TEST_F(SpellDBTest, ASpellWithNothingGivenTakesTheDefaults) {
    Load("<spells><spell/></spells>");
    ASSERT_EQ(SpellList.size(), 1u);
    const Spell& s = *SpellList[0];
    EXPECT_EQ(s.name, "buggy spell name");
    EXPECT_EQ(s.icon, "skills/wizard/spell_air0_32.png");
    EXPECT_EQ(s.targetType, -1);
    EXPECT_EQ(s.level, 0);
    EXPECT_EQ(s.multiAttack, 0);
    EXPECT_EQ(s.templateID, -1);
    EXPECT_FALSE(s.hasCooldown);
    EXPECT_EQ(s.wT, -1);
    EXPECT_TRUE(s.minesMustBeUnobstructed);
    EXPECT_EQ(s.consumeItemType, "any");
    EXPECT_EQ(s.mineSpritePNGRate, 150);
    EXPECT_EQ(s.mineGlintDensity, 20);
    EXPECT_EQ(s.mineSpriteDrawOrder, 2);
    EXPECT_EQ(s.animFramerate, 50);
    EXPECT_EQ(s.impactFramerate, 50);
    EXPECT_EQ(s.impactCenterEffect, 1);
    EXPECT_EQ(s.aiHint, 0);
    EXPECT_TRUE(s.buffTemplates.empty());
    EXPECT_TRUE(s.effects.empty());
    EXPECT_NE(s.iconSprite, nullptr) << "the default icon, or its placeholder";
}

TEST_F(SpellDBTest, AttributesAndChildElementsFillTheSpell) {
    Load(R"(<spellDB>
<SPELL Name="Cinder Toss" type="missile" taxa="undead" radius="2" icon="none.gif" wand="1" mine="1"
       mineRadius="3" minesMustBeUnobstructed="0" minePermanent="1" attack="1" consumeItem="1"
       consumeItemType="gem" affectOnlyHittables="1" artifacthit="4" mineTimer="6" templateID="7"
       anchored="1" downtime="3" wT="2" skillType="1" multiAttack="2" unknown="9">
  <requirements mp="12" hp="1" mincost="4" level="3" magPowBonus="0.5" savvyBonus="1.25"/>
  <description text="Hot." monsterText="It throws cinders."/>
  <anim sprite="sprites/sfx/cinder" frames="4" framerate="60" firstframe="1" centerEffect="1" sync="1" sfx="whoosh"/>
  <impact sprite="sprites/sfx/pop" frames="3" framerate="70" centerEffect="0"/>
  <ai hint="ally"/>
  <mystery/>
</SPELL>
<spell name="Bad Type" type="Missile" downtime="0"/>
</spellDB>)");
    ASSERT_EQ(SpellList.size(), 2u);
    const Spell& s = *SpellList[0];
    EXPECT_EQ(s.name, "Cinder Toss");
    EXPECT_EQ(s.targetType, 1);
    EXPECT_EQ(s.taxa, "undead");
    EXPECT_EQ(s.radius, 2);
    EXPECT_EQ(s.iconSprite, nullptr) << "neither .png nor .xml";
    EXPECT_EQ(s.wand, 1);
    EXPECT_EQ(s.mineRadius, 3);
    EXPECT_FALSE(s.minesMustBeUnobstructed);
    EXPECT_TRUE(s.minePermanent);
    EXPECT_TRUE(s.attack);
    EXPECT_TRUE(s.consumeItem);
    EXPECT_EQ(s.consumeItemType, "gem");
    EXPECT_TRUE(s.affectOnlyHittables);
    EXPECT_EQ(s.artifacthit, 4);
    EXPECT_EQ(s.mineTimer, 6);
    EXPECT_EQ(s.templateID, 7);
    EXPECT_EQ(s.anchored, 1);
    EXPECT_EQ(s.downtime, 3);
    EXPECT_TRUE(s.hasCooldown);
    EXPECT_EQ(s.wT, 2);
    EXPECT_EQ(s.skillType, 1);
    EXPECT_EQ(s.multiAttack, 2);
    EXPECT_EQ(s.mp, 12);
    EXPECT_EQ(s.hp, 1);
    EXPECT_EQ(s.mincost, 4);
    EXPECT_EQ(s.level, 3);
    EXPECT_FLOAT_EQ(s.magPowBonus, 0.5f);
    EXPECT_FLOAT_EQ(s.savvyBonus, 1.25f);
    EXPECT_EQ(s.description, "Hot.");
    EXPECT_EQ(s.monsterText, "It throws cinders.");
    EXPECT_EQ(s.animSprite, "sprites/sfx/cinder");
    EXPECT_EQ(s.animFrames, 4);
    EXPECT_EQ(s.animFramerate, 60);
    EXPECT_EQ(s.animFirstFrame, 1);
    EXPECT_EQ(s.animCenterEffect, 1);
    EXPECT_TRUE(s.sync);
    EXPECT_EQ(s.sfx, "whoosh");
    EXPECT_EQ(s.impactSprite, "sprites/sfx/pop");
    EXPECT_EQ(s.impactFrames, 3);
    EXPECT_EQ(s.impactFramerate, 70);
    EXPECT_EQ(s.impactCenterEffect, 0);
    EXPECT_EQ(s.aiHint, 4);
    EXPECT_EQ(SpellList[1]->targetType, -1) << "type words are case-sensitive";
    EXPECT_FALSE(SpellList[1]->hasCooldown);
}

TEST_F(SpellDBTest, CodeTables) {
    const std::pair<const char*, int32_t> targets[] = {
        {"self", 0}, {"missile", 1}, {"adjacent", 2}, {"area", 3}, {"lockable", 4}, {"target_zombie", 5},
        {"fireball", 6}, {"cone", 7}, {"target", 8}, {"targetfloor", 9}, {"targetemptyfloor", 10},
        {"targetcorpse", 11}, {"targetadjacentcorpse", 12}, {"item", 13}, {"beam", 14}, {"diggingbeam", 15},
        {"beammissile", 16}, {"special", 17}, {"knightlyleap", 18}, {"rook", 19}, {"adjacentwall", 20},
        {"targetmonster", 21}, {"template", 23}, {"badtype", -1}, {"", -1}, {"Self", -1}};
    for (const auto& t : targets) EXPECT_EQ(SpellTargetTypeFromWord(t.first), t.second) << t.first;
    const std::pair<const char*, int32_t> kinds[] = {
        {"damage", 0}, {"healF", 3}, {"buff", 8}, {"stealitem", 35}, {"spellpoints", 37}, {"drainMana", 40},
        {"drainCasterMana", 41}, {"trigger", 44}, {"grantxp", 46}, {"rogueSkill", 48}, {"polymorph", 50},
        {"fear", 53}, {"destroywand", 66}, {"Damage", kUnknownEffectKind}, {"heal ", kUnknownEffectKind}};
    for (const auto& k : kinds) EXPECT_EQ(SpellEffectKindFromWord(k.first), k.second) << k.first;
    const std::pair<const char*, int32_t> hints[] = {{"self", 1}, {"corpse", 2}, {"mine", 3}, {"ally", 4},
                                                     {"Ally", 0}, {"", 0}};
    for (const auto& h : hints) EXPECT_EQ(SpellAIHintFromWord(h.first), h.second) << h.first;
}

TEST_F(SpellDBTest, EffectsKeepTheirOrderTheirDamageWordsAndTheirOptions) {
    Load(R"(<spells><spell name="Mix" type="self">
  <effect crushing="5" crushingF="0.5" Toxic="9" amount="3"/>
  <effect type="heal" percent="40" amountF="1.5" secondaryScale="2" primaryScale="1" self="1" permanent="2"
          kickback="1" turns="4" midas="1" burn="1" resistable="0" regengfx="1" requirebuff="1"
          itemname="Copper Pot" monsterType="bat" objectSprite="x.spr" transmogrify="1" isSleeping="1"
          affectsCorpses="0" affectscaster="1" spell="Mix" taxa="beast" killChance="25" sprite="sfx/heal">
    <option name="first"/><option name="second"/>
  </effect>
  <effect type="wibble"/>
  <option name="stray"/>
</spell></spells>)");
    ASSERT_EQ(SpellList.size(), 1u);
    const Spell& s = *SpellList[0];
    ASSERT_EQ(s.effects.size(), 3u);
    const SpellEffect& damage = s.effects[0];
    EXPECT_EQ(damage.kind, 0) << "an effect without type is damage";
    EXPECT_EQ(damage.percent, 100);
    EXPECT_EQ(damage.damageAmounts[0], 5);
    EXPECT_FLOAT_EQ(damage.damageAmountsF[0], 0.5f);
    EXPECT_EQ(damage.damageAmounts[7], 0) << "damage words are case-sensitive";
    EXPECT_EQ(damage.amount, 3);
    EXPECT_EQ(damage.secondaryScale, 3);
    EXPECT_EQ(damage.primaryScale, -1);
    EXPECT_TRUE(damage.affectsCorpses);
    EXPECT_TRUE(damage.resistable);
    const SpellEffect& heal = s.effects[1];
    EXPECT_EQ(heal.kind, 2);
    EXPECT_EQ(heal.percent, 40);
    EXPECT_FLOAT_EQ(heal.amountF, 1.5f);
    EXPECT_EQ(heal.secondaryScale, 2);
    EXPECT_EQ(heal.primaryScale, 1);
    EXPECT_EQ(heal.self, 1);
    EXPECT_EQ(heal.permanent, 2);
    EXPECT_EQ(heal.kickback, 1);
    EXPECT_EQ(heal.turns, 4);
    EXPECT_TRUE(heal.midas);
    EXPECT_TRUE(heal.burn);
    EXPECT_FALSE(heal.resistable);
    EXPECT_TRUE(heal.regengfx);
    EXPECT_TRUE(heal.requirebuff);
    EXPECT_EQ(heal.name, "Copper Pot");
    EXPECT_EQ(heal.monsterType, "bat");
    EXPECT_EQ(heal.objectSprite, "x.spr");
    EXPECT_TRUE(heal.transmogrify);
    EXPECT_TRUE(heal.isSleeping);
    EXPECT_FALSE(heal.affectsCorpses);
    EXPECT_EQ(heal.affectscaster, 1);
    EXPECT_EQ(heal.spell, "Mix");
    EXPECT_EQ(heal.taxa, "beast");
    EXPECT_EQ(heal.options, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(s.killChance, 25) << "a spell-level value read on an effect";
    EXPECT_EQ(s.animSprite, "sfx/heal");
    EXPECT_EQ(s.effects[2].kind, kUnknownEffectKind);
    EXPECT_TRUE(s.effects[2].options.empty());
    EXPECT_EQ(s.EffectAt(1), &s.effects[1]);
    EXPECT_EQ(s.EffectAt(3), nullptr);
    EXPECT_EQ(s.EffectAt(-1), nullptr);
}

TEST_F(SpellDBTest, BuffTemplatesAndTheirHooks) {
    const std::string errors = Load(R"(<spells>
<spell name="Zap" type="target"/>
<spell name="Aura" type="self">
  <buff description="Glows." gameplayText="+2 sight" icon="" smallicon="" applytoplayer="0" time="12"
        allowstacking="0" bad="1" usetimer="0" destroyonmove="2" brittle="3" attacks="4" manaupkeep="5"
        stacksize="6" self="0" removable="1" digglegod="1">
    <polymorph name="Newt"/>
    <multiBuff amount="3"/>
    <targetHitEffectBuff name="Zap" percentage="30" after="1"/>
    <playerHitEffectBuff name="Zap"/>
    <dodgeBuff name="Zap" percentage="20" taxa="imp"/>
    <foodBuff name="Later"/>
    <primarybuff id="2" amount="4"/>
    <highbuff id="5" amount="1"/>
    <secondarybuff id="23" amount="7"/>
    <secondarybuff id="24" amount="7"/>
    <primarybuff id="6" amount="7"/>
    <resistbuff toxic="5" venom="2"/>
    <damagebuff existential="1"/>
    <invisible/><mute/>
    <sightbuff amount="2"/>
  </buff>
  <buff time="1"/>
</spell>
<spell name="Later" type="self"/>
<weaponSkill name="Cleave" type="adjacent"/>
<digglegod name="Grub" description="Likes mud." art="g.png" spell="Zap"/>
<fountain name="Bubbly" text="It fizzes."/>
<allow first="a" second="b"/><scroll name="s" casts="1"/>
</spells>)");
    ASSERT_EQ(SpellList.size(), 3u);
    Spell* zap = SpellList[0];
    const Spell& aura = *SpellList[1];
    ASSERT_EQ(aura.BuffTemplateCount(), 2);
    const Buff& b = aura.buffTemplates[0];
    EXPECT_EQ(b.name, "Buff");
    EXPECT_EQ(b.description, "Glows.");
    EXPECT_EQ(b.gameplayText, "+2 sight");
    EXPECT_FALSE(b.applyToPlayer);
    EXPECT_EQ(b.turnsLeft, 12);
    EXPECT_FALSE(b.allowStacking);
    EXPECT_TRUE(b.bad);
    EXPECT_FALSE(b.usesTimer);
    EXPECT_EQ(b.destroyOnMove, 2);
    EXPECT_EQ(b.brittle, 3);
    EXPECT_EQ(b.attacks, 4);
    EXPECT_EQ(b.manaUpkeep, 5);
    EXPECT_EQ(b.upkeepCounter, 5) << "the upkeep counter starts at the upkeep";
    EXPECT_EQ(b.stackSize, 6);
    EXPECT_FALSE(b.self);
    EXPECT_TRUE(b.removable);
    EXPECT_TRUE(b.digglegod);
    EXPECT_TRUE(b.isPolymorph);
    EXPECT_EQ(b.polymorphName, "Newt");
    EXPECT_EQ(b.multiBuff, 3);
    EXPECT_EQ(b.targetHitEffect.spell, zap);
    EXPECT_EQ(b.targetHitEffect.percentage, 30);
    EXPECT_TRUE(b.targetHitAfter);
    EXPECT_EQ(b.playerHitEffect.spell, zap);
    EXPECT_EQ(b.playerHitEffect.percentage, 100);
    EXPECT_EQ(b.dodgeHook.taxa, "imp");
    EXPECT_EQ(b.dodgeHook.percentage, 20);
    EXPECT_EQ(b.foodHook.spell, nullptr) << "a hook naming a later spell stays null";
    EXPECT_EQ(b.primaryMods[2], 4);
    EXPECT_EQ(b.primaryMods[5], 1);
    EXPECT_EQ(b.secondaryMods[23], 7);
    EXPECT_EQ(b.secondaryMods[kStatSight], 2);
    EXPECT_EQ(b.resist[7], 5);
    EXPECT_EQ(b.damage[15], 1);
    EXPECT_TRUE(b.invisible);
    EXPECT_TRUE(b.mute);
    EXPECT_EQ(aura.buffTemplates[1].turnsLeft, 1);
    EXPECT_FALSE(aura.buffTemplates[1].isPolymorph);

    EXPECT_NE(errors.find("test//spellDB.xml, line 16: <secondarybuff> id 24 is outside 0..23"), std::string::npos)
        << errors;
    EXPECT_NE(errors.find("line 17: <primarybuff> id 6 is outside 0..5"), std::string::npos) << errors;
    EXPECT_NE(errors.find("line 18: <resistbuff> names no damage type \"venom\""), std::string::npos) << errors;

    EXPECT_EQ(spellDBFindByName("Cleave"), nullptr) << "weapon skills are kept apart";
    ASSERT_EQ(WeaponSkillList.size(), 1u);
    EXPECT_EQ(WeaponSkillList[0]->targetType, 2);
    ASSERT_EQ(DiggleGodList.size(), 1u);
    EXPECT_EQ(DiggleGodList[0].art, "g.png");
    EXPECT_EQ(DiggleGodList[0].spell, "Zap");
    ASSERT_EQ(FountainTextList.size(), 1u);
    EXPECT_EQ(FountainTextList[0].text, "It fizzes.");
}

TEST_F(SpellDBTest, LookupsAreExactAndFindTheFirstAndLaterFilesAppend) {
    Load("<spells><spell name=\"Echo\" type=\"self\"/><spell name=\"Echo\" type=\"area\"/></spells>");
    Load("<spells><spell name=\"Tail\" type=\"cone\"/><spell name=\"Inner\"><spell name=\"Nested\"/></spell></spells>");
    ASSERT_EQ(SpellList.size(), 4u);
    EXPECT_EQ(spellDBFindByName("Echo"), SpellList[0]);
    EXPECT_EQ(spellDBFindByName("echo"), nullptr);
    EXPECT_EQ(spellDBFindByName("Tail"), SpellList[2]);
    EXPECT_EQ(spellDBFindByName("Nested"), nullptr) << "a spell inside a spell is ignored";
    EXPECT_EQ(spellDBFindByName(nullptr), nullptr);
    EXPECT_EQ(GetSpellByIndex(3), SpellList[3]);
    EXPECT_EQ(GetSpellByIndex(4), nullptr);
    SpellList[0]->cooldownCounter = 5;
    SpellList[3]->cooldownCounter = 1;
    ResetSpellCooldowns();
    for (Spell* s : SpellList) EXPECT_EQ(s->cooldownCounter, 0);
}

TEST_F(SpellDBTest, AParseErrorIsReportedWithLineAndColumnAndEarlierSpellsStay) {
    const std::string errors =
        Load("<spells>\n<spell name=\"Kept\" type=\"self\"/>\n<spell name=\"Lost\">\n<effect type=\"heal\"", "mod//spellDB.xml");
    EXPECT_NE(errors.find("spellDB: mod//spellDB.xml: "), std::string::npos) << errors;
    EXPECT_NE(errors.find("at line 4, column"), std::string::npos) << errors;
    ASSERT_EQ(SpellList.size(), 1u);
    EXPECT_EQ(SpellList[0]->name, "Kept");
}

TEST_F(SpellDBTest, ARadiusOutsideItsRangeIsBroughtWithinItWithAWarning) {
    struct Case {
        const char* radius;
        int32_t kept;
        bool warned;
    };
    const Case cases[] = {
        {"3", 3, false},
        {"0", 0, false},
        {"100", kMaxSpellRadius, false},
        {"101", kMaxSpellRadius, true},
        {"30000", kMaxSpellRadius, true},
        {"2147483647", kMaxSpellRadius, true},
        {"-4", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radius);
        ClearSpellTable();
        const std::string errors =
            Load(std::string("<spells><spell name=\"Blast\" type=\"fireball\" radius=\"") + c.radius + "\"/></spells>");
        ASSERT_EQ(SpellList.size(), 1u);
        EXPECT_EQ(SpellList[0]->radius, c.kept);
        EXPECT_EQ(errors.find("\"Blast\" has radius") != std::string::npos, c.warned) << errors;
    }
}

class SpellIconTest : public FreshDataTreeTest {
protected:
    void SetUp() override {
        FreshDataTreeTest::SetUp();
        ClearSpellTable();
    }
    void TearDown() override {
        ClearSpellTable();
        FreshDataTreeTest::TearDown();
    }
};

TEST_F(SpellIconTest, TheIconEndingChoosesTheSpriteTableRequest) {
    // A 2 x 2 opaque PNG and a frame list naming it.
    const media_test::Bytes bytes = media_test::EncodePng(2, 2, 4, std::vector<uint8_t>(16, 200));
    const std::string png(bytes.begin(), bytes.end());
    ASSERT_TRUE(MakeFileWithParents(tmp_.file("game/icons/dot.png"), png));
    ASSERT_TRUE(MakeFileWithParents(tmp_.file("game/icons/glow_00.png"), png));
    ASSERT_TRUE(MakeFileWithParents(tmp_.file("game/icons/glow.xml"),
                                    "<sprite><frame delay=\"100\">glow_00.png</frame></sprite>"));
    MountDataTree();
    ASSERT_TRUE(VfsExists("game/icons/dot.png"));
    const size_t before = SpriteMgr_Count();
    const std::string errors = Load(R"(<spells>
<spell name="Png" icon="game/icons/dot.png"/>
<spell name="Xml" icon="game/icons/glow.xml"/>
<spell name="Other" icon="game/icons/dot.bmp"/>
<spell name="NoDot" icon="noextension"/>
<spell name="Missing" icon="game/icons/absent.png"/>
</spells>)");
    ASSERT_EQ(SpellList.size(), 5u);
    EXPECT_EQ(SpellList[0]->iconSprite, SpriteMgr_Find("game/icons/dot.png"));
    EXPECT_NE(SpellList[0]->iconSprite, nullptr);
    EXPECT_EQ(SpellList[1]->iconSprite, SpriteMgr_Find("game/icons/glow.xml_buff"));
    EXPECT_NE(SpellList[1]->iconSprite, nullptr);
    EXPECT_EQ(SpriteMgr_Find("game/icons/glow.xml"), nullptr);
    EXPECT_EQ(SpellList[2]->iconSprite, nullptr);
    EXPECT_EQ(SpellList[3]->iconSprite, nullptr);
    EXPECT_NE(SpellList[4]->iconSprite, nullptr) << "a placeholder";
    EXPECT_EQ(SpriteMgr_Find("game/icons/absent.png"), nullptr);
    EXPECT_NE(errors.find("game/icons/absent.png not found"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("Horribly Broken"), std::string::npos) << errors;
    EXPECT_GE(SpriteMgr_Count(), before + 2);
}

}  // namespace

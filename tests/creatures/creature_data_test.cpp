// Our own skillDB.xml and spellDB.xml: they load without a word on standard error, and hold
// what the game relies on; and the real executable starts with them, or with a broken mod.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

#include <physfs.h>

#include <map>
#include <set>
#include <sstream>

#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "items_fixtures/item_db.h"
#include "platform/vfs.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

class GameDataTest : public testing::Test {
protected:
    void SetUp() override {
        wasInit_ = PHYSFS_isInit() != 0;
        if (wasInit_) PHYSFS_deinit();
        cwd_.reset(new ScopedWorkingDir(VAULTMERE_GAME_ROOT));
        ASSERT_TRUE(cwd_->ok());
        MountDataTree();
        ClearSpellTable();
        ResetSkillDB();
        testing::internal::CaptureStderr();
        spellDBLoad("game//spellDB.xml");
        SkillDBLoad("game//skillDB.xml");
        AddDummySkills();
        errors_ = testing::internal::GetCapturedStderr();
    }
    void TearDown() override {
        ClearSpellTable();
        ResetSkillDB();
        if (PHYSFS_isInit()) PHYSFS_deinit();
        cwd_.reset();
        if (wasInit_) PHYSFS_init(nullptr);
    }
    bool wasInit_ = false;
    std::unique_ptr<ScopedWorkingDir> cwd_;
    std::string errors_;
};

TEST_F(GameDataTest, BothFilesLoadWithoutAWarningOrMissingArt) {
    EXPECT_EQ(errors_, "");
    EXPECT_GE(SpellList.size(), 40u);
    EXPECT_GE(SkillDB.size(), 9u + 2u);
    for (const Spell* spell : SpellList) {
        SCOPED_TRACE(spell->name);
        EXPECT_NE(spell->targetType, SpellTarget::Bad);
        EXPECT_NE(spell->iconSprite, nullptr);
        for (const SpellEffect& effect : spell->effects) EXPECT_NE(effect.kind, kUnknownEffectKind);
    }
}

TEST_F(GameDataTest, SkillsCoverTheThreeTypesWithAbilitiesOnSeveralLevels) {
    std::map<int32_t, int> perType;
    int hashed = 0;
    std::set<int32_t> ids;
    for (const SkillRecord& skill : SkillDB) {
        if (IsPseudoSkillId(skill.id)) continue;
        SCOPED_TRACE(skill.name);
        EXPECT_TRUE(ids.insert(skill.id).second) << "ids are unique";
        ++perType[skill.type];
        EXPECT_FALSE(skill.description.empty());
        EXPECT_TRUE(VfsExists(skill.icon)) << skill.icon;
        if (skill.id < 0 || skill.id > 100) ++hashed;
        EXPECT_TRUE(skill.id != 12 && skill.id != 13 && skill.id != 28) << "numbers with a meaning of their own";
        bool provisions = false;
        for (const LoadoutEntry& entry : skill.loadout) provisions = provisions || entry.type == "food";
        EXPECT_TRUE(provisions);
        std::set<int32_t> levels;
        int casting = 0;
        int abilities = 0;
        for (const AbilityRecord* ability : AbilityList) {
            if (ability->skillId != skill.id) continue;
            ++abilities;
            levels.insert(ability->level);
            EXPECT_TRUE(VfsExists(ability->icon)) << ability->name;
            if (!ability->spellName.empty()) {
                EXPECT_NE(ability->spell, nullptr) << ability->name;
                ++casting;
            }
        }
        EXPECT_GE(levels.size(), 3u);
        EXPECT_GT(casting * 2, abilities) << "most abilities cast a spell";
    }
    EXPECT_GE(perType[0], 3);
    EXPECT_GE(perType[1], 3);
    EXPECT_GE(perType[2], 3);
    EXPECT_GE(hashed, 2) << "at least two ids come from skillname";
    for (int32_t weaponSkill = 0; weaponSkill <= 7; ++weaponSkill) EXPECT_NE(FindSkillById(weaponSkill), nullptr);
}

// Eating meat troubles a hero with an ability that forbids it: our data has one, learned later
// in a real skill, and on no start ability (a fresh hero may eat anything).
TEST_F(GameDataTest, AMeatShunningAbilityBelongsToARealSkillAboveItsFirstLevel) {
    int vegan = 0;
    for (const AbilityRecord* ability : AbilityList) {
        if (!ability->veganism) continue;
        SCOPED_TRACE(ability->name);
        ++vegan;
        EXPECT_NE(FindSkillById(ability->skillId), nullptr);
        EXPECT_FALSE(ability->startSkill);
        EXPECT_GT(ability->level, 0);
    }
    EXPECT_GE(vegan, 1);
}

// Every skill mix can make a kit: the named loadout items are in the item database, warrior
// leads bring a hand weapon, rogue leads a crossbow with bolts or throwing weapons, and the
// three leaning garments are torso armour.
TEST_F(GameDataTest, LoadoutsNameRealItemsAndLeadsHaveTheirWeapons) {
    itemDBLoad("game//itemDB.xml");
    for (const SkillRecord& skill : SkillDB) {
        if (IsPseudoSkillId(skill.id)) continue;
        SCOPED_TRACE(skill.name);
        std::set<int32_t> weaponTypes;
        bool bolts = false;
        for (const LoadoutEntry& entry : skill.loadout) {
            bolts = bolts || entry.type == "bolts";
            if (entry.type == "misc" || entry.subtype.empty() || entry.subtype == "random") continue;
            const ItemDef* def = FindItemDefByName(entry.subtype);
            ASSERT_NE(def, nullptr) << entry.type << " " << entry.subtype;
            if (entry.type == "weapon") {
                EXPECT_EQ(def->category, kItemWeapon) << entry.subtype;
                weaponTypes.insert(def->itemClass);
            }
        }
        if (skill.type == 0 && skill.id != 6) {
            EXPECT_TRUE(weaponTypes.count(0) || weaponTypes.count(1) || weaponTypes.count(2));
        }
        if (skill.type == 2) {
            EXPECT_TRUE((weaponTypes.count(4) && bolts) || weaponTypes.count(5));
        }
    }
    for (const char* garment : {"Leather Cuirass", "Fine Linen Shirt", "Robe"}) {
        const ItemDef* def = FindItemDefByName(garment);
        ASSERT_NE(def, nullptr) << garment;
        EXPECT_EQ(def->category, kItemArmour) << garment;
        EXPECT_EQ(def->slot, 0) << garment;
    }
    EXPECT_FALSE(ItemDefLists.ammunition.empty());
    EXPECT_FALSE(ItemDefLists.food.empty());
    ClearItemDB();
}

TEST_F(GameDataTest, TheSpellsTheGameNamesAreThere) {
    for (const char* name : {"Thaumite Consumption", "Eclipse of Zarnoch", "Ember Lick", "Frost Nip", "Venom Sting"}) {
        EXPECT_NE(spellDBFindByName(name), nullptr) << name;
    }
    ASSERT_FALSE(WeaponSkillList.empty());
    // Monster spells: a missile, a self-heal, a buff for an ally, and a cone, a burst and a
    // beam (area casts act as their real caster).
    std::set<int32_t> hints;
    std::set<int32_t> types;
    bool missile = false;
    for (const Spell* spell : SpellList) {
        if (spell->monsterText.empty()) continue;
        // The ticker writes the caster's name first: "The Mud Newt " + the text.
        EXPECT_TRUE(std::islower(static_cast<unsigned char>(spell->monsterText[0])) != 0) << spell->monsterText;
        hints.insert(spell->aiHint);
        types.insert(spell->targetType);
        missile = missile || spell->targetType == SpellTarget::Missile;
    }
    for (int32_t area : {SpellTarget::Cone, SpellTarget::Fireball, SpellTarget::Beam}) {
        EXPECT_TRUE(types.count(area)) << area;
    }
    EXPECT_TRUE(missile);
    EXPECT_TRUE(hints.count(1)) << "a self-heal";
    EXPECT_TRUE(hints.count(4)) << "an ally buff";
    // Every hook a buff template names resolved.
    for (const Spell* spell : SpellList) {
        for (const Buff& buff : spell->buffTemplates) {
            for (const BuffHook* hook : {&buff.targetHitEffect, &buff.playerHitEffect}) {
                if (hook->percentage != 100) {
                    EXPECT_NE(hook->spell, nullptr) << spell->name;
                }
            }
        }
    }
}

// A mod whose skill file is cut in the middle.
void MakeBrokenMod(const TempDir& user) {
    WriteWholeFile(user.file("mods/cut/mod/mod.xml"),
                   "<zarnochmod>\n  <name text=\"Cut Short\"/>\n  <author text=\"someone\"/>\n</zarnochmod>\n");
    WriteWholeFile(user.file("mods/cut/mod/skillDB.xml"),
                   "<skillDB>\n  <skill name=\"Half\" id=\"40\" type=\"rogue\">\n    <ability name=\"Gone");
    WriteWholeFile(user.file("config.xml"), "<config><mod name=\"Cut Short\" /></config>\n");
}

// The numbered art of a spell: "<base>NNNN.png" for every frame from the first number.
void ExpectSeries(const std::string& base, int32_t first, int32_t count, const std::string& spell) {
    for (int32_t i = 0; i < count; ++i) {
        char name[512];
        std::snprintf(name, sizeof(name), "%s%04d.png", base.c_str(), first + i);
        EXPECT_TRUE(VfsExists(name)) << spell << ": " << name;
    }
}

TEST_F(GameDataTest, EverySpellAnimationImpactAndMineHasItsArtAndSound) {
    std::string sounds = ReadWholeFile(std::string(VAULTMERE_SOURCE_DIR) + "/data/game/soundfx.xml");
    for (const char* name : {"manalow1", "manalow2", "manalow3", "manalow4", "manalow5", "combo", "bampf"}) {
        EXPECT_NE(sounds.find("name=\"" + std::string(name) + "\""), std::string::npos) << name;
    }
    EXPECT_TRUE(VfsExists("sprites/sfx/explode.spr"));
    std::set<int32_t> kinds;
    std::set<int32_t> targets;
    for (const Spell* spell : SpellList) {
        SCOPED_TRACE(spell->name);
        targets.insert(spell->targetType);
        for (const SpellEffect& effect : spell->effects) kinds.insert(effect.kind);
        if (!spell->sfx.empty()) {
            EXPECT_NE(sounds.find("name=\"" + spell->sfx + "\""), std::string::npos) << spell->sfx;
        }
        if (!spell->animSprite.empty()) {
            int32_t first = 0;
            const int32_t t = spell->targetType;
            if (t == SpellTarget::Area || t == SpellTarget::Fireball || t == SpellTarget::BeamMissile) first = 1;
            if (t == SpellTarget::Template) first = spell->animFirstFrame;
            ExpectSeries(spell->animSprite, first, spell->animFrames, spell->name);
        }
        if (spell->impactFrames > 0) ExpectSeries(spell->impactSprite, 0, spell->impactFrames, spell->name);
        if (!spell->mineSpritePNGSeries.empty()) {
            ExpectSeries(spell->mineSpritePNGSeries, spell->mineSpritePNGFirst, spell->mineSpritePNGNum, spell->name);
        } else if (!spell->mineSprite.empty()) {
            EXPECT_TRUE(VfsExists(spell->mineSprite)) << spell->mineSprite;
        }
        if (spell->mine != 0) {
            EXPECT_FALSE(spell->mineSprite.empty() && spell->mineSpritePNGSeries.empty());
        }
    }
    // Every target type that abilities, monsters, items and traps use, and the effect kinds
    // built so far, appear in the data.
    for (int32_t t = SpellTarget::Self; t <= SpellTarget::Template; ++t) {
        if (t == SpellTarget::Special || t == 22) continue;
        EXPECT_TRUE(targets.count(t)) << "target type " << t;
    }
    for (const char* kind : {"dot", "trigger", "summon", "spawn", "polymorph", "create", "ring", "dig"}) {
        EXPECT_TRUE(kinds.count(SpellEffectKindFromWord(kind))) << kind;
    }
}

TEST(CreatureDataStartup, ABrokenModSkillFileWarnsOnceAndTheGameStillStarts) {
    TempDir user;
    ASSERT_TRUE(MakeFileWithParents(user.file("mods/cut/mod/mod.xml"), ""));
    MakeBrokenMod(user);
    WriteWholeFile(user.file("quit.txt"), kQuitFromMenuScript);
    GameRun run = RunGame({"-no-initial-config", "-startuptime"}, user.path(),
                          {{"VAULTMERE_INPUT_SCRIPT", user.file("quit.txt")}});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    std::istringstream lines(run.output);
    std::string line;
    int warnings = 0;
    while (std::getline(lines, line)) {
        if (line.find("skillDB") == std::string::npos) continue;
        ++warnings;
        EXPECT_NE(line.find("mod//skillDB.xml"), std::string::npos) << line;
        EXPECT_NE(line.find("at line 3, column"), std::string::npos) << line;
    }
    EXPECT_EQ(warnings, 1) << run.output;
    const std::vector<std::string> labels = LoadProgressLabels(run.output);
    EXPECT_NE(std::find(labels.begin(), labels.end(), "LoadEyeCandy"), labels.end()) << run.output;
}

TEST(CreatureDataStartup, OurOwnDatabasesStartWithoutAnXmlWarning) {
    TempDir user;
    WriteWholeFile(user.file("quit.txt"), kQuitFromMenuScript);
    GameRun run = RunGame({"-no-initial-config", "-startuptime"}, user.path(),
                          {{"VAULTMERE_INPUT_SCRIPT", user.file("quit.txt")}});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    for (const char* marker : {"skillDB:", "spellDB:", ", line ", "not found", "names no icon", "Horribly Broken"}) {
        EXPECT_EQ(run.output.find(marker), std::string::npos) << marker << "\n" << run.output;
    }
    const std::vector<std::string> labels = LoadProgressLabels(run.output);
    EXPECT_NE(std::find(labels.begin(), labels.end(), "LoadEyeCandy"), labels.end()) << run.output;
}

}  // namespace

// The hero's save record: its size, the round trip, the older formats and a save that
// leaves the game as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/save_stream.h"
#include "core/text_db.h"
#include "creatures/ability.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "interface/skill_tome.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/toolkit_windows.h"
#include "items_fixtures/weapon.h"
#include "levels/level.h"

namespace {

const char kItems[] = R"(<itemdb>
  <item name="Band"><armour type="ring" level="2"/><price amount="60"/></item>
  <item name="Plain Ring"><armour type="ring" randoms="0"/></item>
  <item name="Blade" type="0"><weapon level="0" slashing="4"/></item>
</itemdb>)";

const char kWords[] = R"(<textdb>
  <startPhoneme text="Vel"/><phoneme text="or"/><title text="Keeper"/><adjective text="Pale"/>
  <noun text="Moon" plural="Moons"/><quality text="dull"/><material text="bone"/><decor text="knots"/>
</textdb>)";

// A buff that raises maximum life by the amount.
Buff* LifeBuff(const char* name, int32_t amount) {
    Buff* buff = new Buff(name);
    buff->secondaryMods[kStatLife] = amount;
    buff->turnsLeft = 20;
    return buff;
}

class PlayerSaveTest : public testing::Test {
protected:
    void SetUp() override {
        saved_ = CurrentPlayer;
        savedLevel_ = CurrentLevel;
        savedWindows_.swap(ToolkitWindows);
        savedRecipes_.swap(Recipes);
        ResetSkillDB();
        for (int32_t id = 0; id < 40; ++id) {
            SkillRecord record;
            record.id = id;
            record.type = id % 3;
            SkillDB.push_back(record);
        }
        CurrentPlayer = &hero_;
        hero_.name = "Edda";
    }
    void TearDown() override {
        delete loaded_;
        ClearCursorItem();
        CurrentPlayer = saved_;
        CurrentLevel = savedLevel_;
        ToolkitWindows.swap(savedWindows_);
        Recipes.swap(savedRecipes_);
        ResetSkillDB();
        ClearItemDB();
        ClearTextDB();
    }
    std::vector<uint8_t> Saved(Player& hero, SaveVersion version = kCurrentSaveVersion) {
        SaveWriter out;
        out.version = version;
        EXPECT_TRUE(hero.Save(out));
        return out.Buffer();
    }
    // Loads a record; CurrentPlayer is set back to the original hero afterwards.
    Player* Load(const std::vector<uint8_t>& bytes, SaveVersion version = kCurrentSaveVersion,
                 std::string* error = nullptr) {
        SaveReader in(bytes);
        in.version = version;
        testing::internal::CaptureStdout();
        delete loaded_;
        loaded_ = new Player(in);
        const std::string out = testing::internal::GetCapturedStdout();
        if (error != nullptr) *error = in.Error() + out;
        EXPECT_EQ(CurrentPlayer, loaded_) << "the load makes the hero current";
        CurrentPlayer = &hero_;
        return loaded_;
    }
    size_t HittableBytes(Player& hero, SaveVersion version = kCurrentSaveVersion) {
        SaveWriter out;
        out.version = version;
        hero.Hittable::Save(out);
        return out.BytesWritten();
    }

    Player hero_;
    Player* loaded_ = nullptr;
    Player* saved_ = nullptr;
    Level* savedLevel_ = nullptr;
    std::vector<ToolkitWindow> savedWindows_;
    std::vector<Recipe> savedRecipes_;
};

TEST_F(PlayerSaveTest, AnEmptyHeroWritesItsCountedFieldsAndEachWindowAddsItsTagAndSlots) {
    const std::vector<uint8_t> bytes = Saved(hero_);
    const size_t own = bytes.size() - HittableBytes(hero_);
    EXPECT_EQ(own, 778u + hero_.name.size());
    const size_t start = HittableBytes(hero_);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + start, bytes.begin() + start + 8),
              (std::vector<uint8_t>{0, 0, 0, 0, 4, 0, 0, 0})) << "no buffs, then the name's length";

    ToolkitWindow still;
    still.kind = "still";
    still.slots.resize(3);
    ToolkitWindows.push_back(still);
    ToolkitWindow grinder;
    grinder.kind = "grinder";
    ToolkitWindows.push_back(grinder);
    EXPECT_EQ(Saved(hero_).size(), bytes.size() + (5 + 5 + 3) + (5 + 7 + 0));
}

TEST_F(PlayerSaveTest, SaveLoadSaveGivesTheSameBytes) {
    Recipes.resize(5);
    hero_.knownRecipes[0] = {1, 4};
    hero_.knownRecipes[6] = {2};
    hero_.facing = 3;
    hero_.difficulty = 2;
    hero_.score = 1234;
    hero_.zorkmids = 77;
    hero_.level = 3;
    hero_.experience = 12;
    hero_.lifetimeExperience = 99;
    hero_.quickie = 1;
    hero_.female = 1;
    hero_.extendedContent = 1;
    hero_.randomBuild = 0;
    hero_.lastBuild = 1;
    hero_.foodRegenLeft = 6;
    hero_.zooState = 2;
    // Part-way to the next point of health and mana: a loaded game goes on from there.
    hero_.healthRegenCounter = 3;
    hero_.manaRegenCounter = 2;
    const int32_t ids[7] = {3, 9, 21, 5, 30, 1, 14};
    for (int32_t i = 0; i < 7; ++i) {
        hero_.skillIds[i] = ids[i];
        hero_.skillLevels[i] = 1 + i % 3;
    }
    hero_.RecalculateStats();
    hero_.AddBuff(LifeBuff("Stout Heart", 6));
    const std::vector<uint8_t> first = Saved(hero_);
    Player* back = Load(first);
    EXPECT_EQ(back->name, "Edda");
    EXPECT_EQ(back->knownRecipes[0], (std::vector<int32_t>{1, 4}));
    ASSERT_EQ(back->buffs.size(), 1u);
    EXPECT_EQ(back->buffs[0]->name, "Stout Heart");
    EXPECT_EQ(back->health, hero_.health);
    EXPECT_EQ(back->stat[kStatLife], hero_.stat[kStatLife]);
    EXPECT_EQ(back->healthRegenCounter, 3);
    EXPECT_EQ(back->manaRegenCounter, 2);
    EXPECT_EQ(Saved(*back), first);
}

TEST_F(PlayerSaveTest, OlderRecordsLoadWithTheirGates) {
    const int32_t ids[7] = {9, 3, 30, 1, 0, 5, 2};
    for (int32_t i = 0; i < 7; ++i) {
        hero_.skillIds[i] = ids[i];
        hero_.skillLevels[i] = 1;
    }
    hero_.randomBuild = 1;
    hero_.lastBuild = 1;
    Item* cursor = new Misc(0);
    SetCursorItem(cursor);
    struct Case {
        SaveVersion version;
        std::vector<int32_t> skills;
        int32_t randomBuild;
        bool cursor;
    };
    const Case cases[] = {
        {kSaveV1_0_4, {0, 1, 2, 3, 5, 9, 30}, 0, false},
        {kSaveV1_0_5, {0, 1, 2, 3, 5, 9, 30}, 1, false},
        // (Object references of that release hold legacy class keys that this writer does
        // not produce: no cursor item here.)
        {kSaveV1_0_6, {0, 1, 2, 3, 5, 9, 30}, 1, false},
        {kSaveV1_0_7, {9, 3, 30, 1, 0, 5, 2}, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.version.patch));
        if (!(c.version == kSaveV1_0_6)) SetCursorItem(cursor);
        const std::vector<uint8_t> bytes = Saved(hero_, c.version);
        ClearCursorItem();
        Player* back = Load(bytes, c.version);
        EXPECT_EQ(std::vector<int32_t>(back->skillIds, back->skillIds + 7), c.skills);
        EXPECT_EQ(back->randomBuild, c.randomBuild);
        EXPECT_EQ(back->lastBuild, c.randomBuild);
        EXPECT_EQ(GetCursorItem() != nullptr, c.cursor);
        if (GetCursorItem() != nullptr) delete GetCursorItem();
        ClearCursorItem();
    }
    delete cursor;
}

TEST_F(PlayerSaveTest, AnOldRecordWithMoreThanSevenLevelledSkillsKeepsTheFirstSeven) {
    for (int32_t i = 0; i < 7; ++i) {
        hero_.skillIds[i] = 2 * i;
        hero_.skillLevels[i] = 1;
    }
    std::vector<uint8_t> bytes = Saved(hero_, kSaveV1_0_6);
    // The third array of levels starts after the buff count, the name, seven words and two
    // arrays of 34; give skill 33 a level too.
    const size_t third = HittableBytes(hero_, kSaveV1_0_6) + 4 + 4 + hero_.name.size() + 7 * 4 + 2 * 34 * 4;
    ASSERT_EQ(bytes[third + 12 * 4], 1u);
    bytes[third + 33 * 4] = 2;
    std::string diagnostics;
    Player* back = Load(bytes, kSaveV1_0_6, &diagnostics);
    EXPECT_EQ(std::vector<int32_t>(back->skillIds, back->skillIds + 7),
              (std::vector<int32_t>{0, 2, 4, 6, 8, 10, 12}));
    EXPECT_NE(diagnostics.find("skill 33"), std::string::npos) << diagnostics;
}

TEST_F(PlayerSaveTest, ARecordThatNamesAnUnknownWindowOrRecipeIsHandled) {
    Recipes.resize(3);
    hero_.knownRecipes[1] = {0, 2};
    ToolkitWindow alchemy;
    alchemy.kind = "alchemy";
    ToolkitWindows.push_back(alchemy);
    std::vector<uint8_t> bytes = Saved(hero_);

    // Fewer recipes now: the index beyond the list is dropped.
    Recipes.resize(2);
    std::string diagnostics;
    Player* back = Load(bytes, kCurrentSaveVersion, &diagnostics);
    EXPECT_EQ(back->knownRecipes[1], (std::vector<int32_t>{0}));
    EXPECT_NE(diagnostics.find("known recipe 2"), std::string::npos) << diagnostics;

    // A window the item data no longer has stops the load with its tag named.
    ToolkitWindows[0].kind = "lutefisk";
    SaveReader in(bytes);
    testing::internal::CaptureStdout();
    Player stranger(in);
    testing::internal::GetCapturedStdout();
    CurrentPlayer = &hero_;
    EXPECT_TRUE(in.Failed());
    EXPECT_NE(in.Error().find("\"alchemy\""), std::string::npos) << in.Error();
}

TEST_F(PlayerSaveTest, AnArmourBuffComesBackOnceWithItsArmour) {
    ClearItemDB();
    ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
    ClearTextDB();
    LoadTextDBFromBuffer(kWords, sizeof kWords - 1, "test words");
    Level level(0, 4);
    CurrentLevel = &level;
    CSRand(3);
    MTSeed(3);
    Armour* band = new Armour(FindItemDefByName("Band"));
    ASSERT_NE(band->artifactRecord.grantedBuff, nullptr);
    hero_.EquippedAt(kSlotFirstRing) = band;
    band->OnEquip(kSlotFirstRing);
    ASSERT_EQ(hero_.buffs.size(), 1u);
    const std::vector<uint8_t> bytes = Saved(hero_);
    EXPECT_EQ(hero_.buffs.size(), 1u);
    Player* back = Load(bytes);
    ASSERT_NE(back->EquippedAt(kSlotFirstRing), nullptr);
    ASSERT_EQ(back->buffs.size(), 1u);
    EXPECT_EQ(back->buffs[0]->item, back->EquippedAt(kSlotFirstRing));
    EXPECT_EQ(Saved(*back), bytes);
    CurrentLevel = nullptr;
}

TEST_F(PlayerSaveTest, SavingNeitherKillsTheHeroNorEndsItsForm) {
    hero_.skillIds[0] = 3;
    hero_.skillLevels[0] = 1;
    hero_.RecalculateStats();
    Buff* life = LifeBuff("Borrowed Time", 10);
    hero_.AddBuff(life);
    hero_.health = 3;
    const std::vector<uint8_t> bytes = Saved(hero_);
    EXPECT_EQ(hero_.health, 3);
    EXPECT_EQ(hero_.dead, 0);
    ASSERT_EQ(hero_.buffs.size(), 1u);
    EXPECT_EQ(hero_.buffs[0], life);
    Player* back = Load(bytes);
    EXPECT_EQ(back->health, 3) << "the buff's 10 points come back with it";
    EXPECT_EQ(back->dead, 0);

    // A polymorphed hero standing in deep water keeps its form; the record holds its own belt.
    Level level(0, 0);
    level.SetSize(5, 5);
    level.GetCell(2, 2)->type = SquareType::Water;
    CurrentLevel = &level;
    hero_.x = 2;
    hero_.y = 2;
    Item* own = new Item();
    hero_.abilitySlots[4] = own;
    Buff* form = new Buff("Ratskin");
    form->isPolymorph = true;
    form->polymorphName = "nothing known";
    MonsterRecord* record = MonsterRecord::CreateDefault();
    hero_.AddBuff(form);
    hero_.isPolymorphed = 1;
    hero_.polymorphForm = record;
    hero_.stashedAbilitySlots[4] = own;
    hero_.abilitySlots[4] = nullptr;
    const std::vector<uint8_t> polymorphed = Saved(hero_);
    EXPECT_EQ(hero_.isPolymorphed, 1);
    EXPECT_EQ(hero_.polymorphForm, record);
    EXPECT_EQ(hero_.dead, 0);
    EXPECT_EQ(hero_.health, 3);
    EXPECT_EQ(hero_.stashedAbilitySlots[4], own);
    EXPECT_EQ(hero_.abilitySlots[4], nullptr);
    // The record ends in the belts, the backpack, the recipes, two flags and the cursor:
    // the ability belt written is the stashed one.
    SaveWriter tail;
    for (int32_t i = 0; i < kBeltSlotCount; ++i) WriteObjectRef(tail, nullptr);
    for (int32_t i = 0; i < kBeltSlotCount; ++i) WriteObjectRef(tail, i == 4 ? own : nullptr);
    for (int32_t i = 0; i < kInventoryCells; ++i) WriteObjectRef(tail, nullptr);
    for (int32_t i = 0; i < kToolTypeCount + 2; ++i) tail.WriteInt32(0);
    WriteObjectRef(tail, nullptr);
    ASSERT_GT(polymorphed.size(), tail.Buffer().size());
    EXPECT_EQ(std::vector<uint8_t>(polymorphed.end() - static_cast<std::ptrdiff_t>(tail.Buffer().size()),
                                   polymorphed.end()),
              tail.Buffer());
    hero_.stashedAbilitySlots[4] = nullptr;
    hero_.isPolymorphed = 0;
    hero_.polymorphForm = nullptr;
    hero_.buffs.erase(std::find(hero_.buffs.begin(), hero_.buffs.end(), form));
    delete form;
    hero_.abilitySlots[4] = nullptr;
    delete own;
    delete record;
    CurrentLevel = nullptr;
}

// A hero low on health, kept alive by what raises its maximum, comes back from a load as it
// was saved: the buffs return one by one, and no step of that may count as a blow.
TEST_F(PlayerSaveTest, ALoadNeverHurtsAHeroKeptAliveByItsLifeBonuses) {
    ClearItemDB();
    ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
    struct Case {
        const char* name;
        std::vector<int32_t> ownBuffs;   // Life of each of the hero's own buffs, in order
        std::vector<int32_t> itemBuffs;  // Life granted by an artifact blade, then a ring, put on after
    };
    const Case cases[] = {
        {"a plain buff, then a Life buff", {0, 10}, {}},
        {"a Life buff, then a plain buff", {10, 0}, {}},
        {"a cursed blade's Life loss that the hero's own buff outweighs", {20}, {-10}},
        {"an artifact blade and an artifact ring", {}, {10, 10}},
        {"an artifact blade and a plain buff", {0}, {10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Player hero;
        CurrentPlayer = &hero;
        hero.name = "Edda";
        for (size_t i = 0; i < c.ownBuffs.size(); ++i) {
            hero.AddBuff(LifeBuff(("Own " + std::to_string(i)).c_str(), c.ownBuffs[i]));
        }
        for (size_t i = 0; i < c.itemBuffs.size(); ++i) {
            Item* piece = nullptr;
            Buff* granted = new Buff(i == 0 ? "Blade Soul" : "Ring Soul");
            granted->secondaryMods[kStatLife] = c.itemBuffs[i];
            granted->usesTimer = false;
            if (i == 0) {
                Weapon* blade = new Weapon(FindItemDefByName("Blade"));
                blade->isArtifact = true;
                blade->artifactRecord.grantedBuff.reset(granted);
                hero.EquippedAt(kSlotFirstHand) = blade;
                blade->OnEquip(kSlotFirstHand);
                piece = blade;
            } else {
                Armour* ring = new Armour(FindItemDefByName("Plain Ring"));
                ring->isArtifact = true;
                ring->artifactRecord.grantedBuff.reset(granted);
                hero.EquippedAt(kSlotFirstRing) = ring;
                ring->OnEquip(kSlotFirstRing);
                piece = ring;
            }
            ASSERT_NE(piece, nullptr);
        }
        hero.health = 3;
        const int32_t maximum = hero.stat[kStatLife];
        const size_t buffCount = hero.buffs.size();
        ASSERT_GT(maximum, 3);
        const std::vector<uint8_t> bytes = Saved(hero);

        std::string printed;
        Player* back = Load(bytes, kCurrentSaveVersion, &printed);
        CurrentPlayer = &hero;
        EXPECT_EQ(back->dead, 0);
        EXPECT_EQ(back->health, 3);
        EXPECT_EQ(back->stat[kStatLife], maximum);
        EXPECT_EQ(back->buffs.size(), buffCount);
        EXPECT_EQ(back->deathCause, "");
        EXPECT_EQ(printed.find("damage"), std::string::npos) << printed;
        EXPECT_EQ(Saved(*back), bytes);
        delete loaded_;
        loaded_ = nullptr;
    }
    CurrentPlayer = &hero_;
}

// A weapon skill's mastery bonus counts once while its weapon is held, however often the
// hero is saved and loaded with it, and goes with the weapon when it comes off.
TEST_F(PlayerSaveTest, AMasteryBonusCountsOnceAcrossLoadsAndLeavesWithItsWeapon) {
    ClearItemDB();
    ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
    // Listed for this test only, even when an assertion ends it early.
    struct Listed {
        AbilityRecord* ability = new AbilityRecord();
        Listed() { AbilityList.push_back(ability); }
        ~Listed() {
            AbilityList.erase(std::remove(AbilityList.begin(), AbilityList.end(), ability), AbilityList.end());
            delete ability;
        }
    } listed;
    AbilityRecord* mastery = listed.ability;
    mastery->skillId = 0;  // the sword skill, which a weapon of class 0 masters
    mastery->level = 0;
    mastery->secondaryMods[kStatMeleePower] = 5;
    mastery->primaryMods[kPrimaryBurliness] = 2;
    hero_.skillIds[0] = 0;
    hero_.skillLevels[0] = 1;
    hero_.RecalculateStats();
    const int32_t bareStat = hero_.statBonus[kStatMeleePower];
    const int32_t barePrimary = hero_.primaryBonus[kPrimaryBurliness];
    Weapon* blade = new Weapon(FindItemDefByName("Blade"));
    hero_.EquippedAt(kSlotFirstHand) = blade;
    blade->OnEquip(kSlotFirstHand);
    ASSERT_EQ(hero_.statBonus[kStatMeleePower], bareStat + 5);
    ASSERT_EQ(hero_.primaryBonus[kPrimaryBurliness], barePrimary + 2);

    std::vector<std::unique_ptr<Player>> generations;
    Player* current = &hero_;
    for (int32_t round = 1; round <= 3; ++round) {
        SCOPED_TRACE("load " + std::to_string(round));
        const std::vector<uint8_t> bytes = Saved(*current);
        generations.emplace_back(Load(bytes));
        loaded_ = nullptr;
        current = generations.back().get();
        CurrentPlayer = current;
        Weapon* held = current->firstHandWeapon;
        ASSERT_NE(held, nullptr);
        EXPECT_EQ(current->statBonus[kStatMeleePower], bareStat + 5);
        held->OnUnequip(kSlotFirstHand);
        current->EquippedAt(kSlotFirstHand) = nullptr;
        EXPECT_EQ(current->statBonus[kStatMeleePower], bareStat) << "the mastery leaves with the weapon";
        EXPECT_EQ(current->primaryBonus[kPrimaryBurliness], barePrimary);
        current->EquippedAt(kSlotFirstHand) = held;
        held->OnEquip(kSlotFirstHand);
        EXPECT_EQ(current->statBonus[kStatMeleePower], bareStat + 5);
        EXPECT_EQ(current->primaryBonus[kPrimaryBurliness], barePrimary + 2);
    }
    CurrentPlayer = &hero_;
}

// A skill that rises while its weapon is held changes that weapon's mastery bonus at once, so
// that the statistics, a later load and taking the weapon off all agree on what it adds.
TEST_F(PlayerSaveTest, AMasteryFollowsASkillRaisedWhileItsWeaponIsHeld) {
    ClearItemDB();
    ASSERT_TRUE(itemDBLoadText(R"(<itemdb>
  <item name="Blade" type="0"><weapon level="0" slashing="4"/></item>
  <item name="Bolt Thrower" type="6"><weapon level="0" piercing="3"/></item>
</itemdb>)", "test items"));
    // Two abilities per skill, listed for this test only, even when an assertion ends it early.
    struct Listed {
        std::vector<AbilityRecord*> abilities;
        void Add(int32_t skill, int32_t level, int32_t meleePower, int32_t burliness) {
            AbilityRecord* ability = new AbilityRecord();
            ability->skillId = skill;
            ability->level = level;
            ability->secondaryMods[kStatMeleePower] = meleePower;
            ability->primaryMods[kPrimaryBurliness] = burliness;
            abilities.push_back(ability);
            AbilityList.push_back(ability);
        }
        ~Listed() {
            for (AbilityRecord* ability : abilities) {
                AbilityList.erase(std::remove(AbilityList.begin(), AbilityList.end(), ability), AbilityList.end());
                delete ability;
            }
        }
    } listed;
    listed.Add(0, 0, 5, 2);  // the sword skill, mastered by a weapon of class 0
    listed.Add(0, 1, 3, 1);
    listed.Add(4, 0, 4, 0);  // the crossbow skill, mastered by ammunition weapons
    listed.Add(4, 1, 6, 3);

    struct Case {
        const char* name;
        const char* weapon;
        int32_t slot;
        int32_t skill;
        bool saveAndLoad;
        int32_t raisedStat, raisedPrimary;  // the mastery at skill level 2
    };
    const Case cases[] = {
        {"a blade in the first hand", "Blade", kSlotFirstHand, 0, false, 8, 3},
        {"a blade in the first hand, saved and loaded", "Blade", kSlotFirstHand, 0, true, 8, 3},
        {"a blade in the second hand, saved and loaded", "Blade", kSlotSecondHand, 0, true, 8, 3},
        {"a bolt thrower for ammunition", "Bolt Thrower", kSlotAmmunition, 4, false, 10, 3},
        {"a bolt thrower for ammunition, saved and loaded", "Bolt Thrower", kSlotAmmunition, 4, true, 10, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Player hero;
        hero.name = "Edda";
        CurrentPlayer = &hero;
        hero.skillIds[0] = 0;
        hero.skillIds[1] = 4;
        hero.skillLevels[0] = 1;
        hero.skillLevels[1] = 1;
        hero.RecalculateStats();
        const int32_t bareStat = hero.statBonus[kStatMeleePower];
        const int32_t barePrimary = hero.primaryBonus[kPrimaryBurliness];
        Weapon* weapon = new Weapon(FindItemDefByName(c.weapon));
        hero.EquippedAt(c.slot) = weapon;
        weapon->OnEquip(c.slot);
        ASSERT_GT(hero.statBonus[kStatMeleePower], bareStat) << "the level-0 ability counts at level 1";

        IncrementSkillLevel(c.skill);
        ASSERT_EQ(hero.GetSkillLevel(c.skill), 2);
        EXPECT_EQ(hero.statBonus[kStatMeleePower], bareStat + c.raisedStat) << "the new mastery counts at once";
        EXPECT_EQ(hero.primaryBonus[kPrimaryBurliness], barePrimary + c.raisedPrimary);
        const int32_t raisedPower = hero.stat[kStatMeleePower];

        Player* current = &hero;
        std::unique_ptr<Player> back;
        if (c.saveAndLoad) {
            back.reset(Load(Saved(hero)));
            loaded_ = nullptr;
            current = back.get();
            CurrentPlayer = current;
            EXPECT_EQ(current->statBonus[kStatMeleePower], bareStat + c.raisedStat);
            EXPECT_EQ(current->stat[kStatMeleePower], raisedPower);
        }
        Item* held = current->EquippedAt(c.slot);
        ASSERT_NE(held, nullptr);
        held->OnUnequip(c.slot);
        current->EquippedAt(c.slot) = nullptr;
        EXPECT_EQ(current->statBonus[kStatMeleePower], bareStat) << "the weapon takes off exactly what it added";
        EXPECT_EQ(current->primaryBonus[kPrimaryBurliness], barePrimary);
        delete held;
        CurrentPlayer = &hero_;
    }
}

}  // namespace

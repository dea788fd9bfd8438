// A new hero's starting kit: the seven skills, the loadouts of the leading skill types, the
// torso garment of the leaning, the provisions, where weapons and armour go, and the
// abilities on the belt.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/random.h"
#include "levels/object_queue.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/skill_item.h"
#include "items_fixtures/weapon.h"

namespace {

const char kItems[] = R"(<itemdb>
  <item name="Blade"><weapon level="1" slashing="3"/></item>
  <item name="Staff" type="3"><weapon level="1" crushing="2"/></item>
  <item name="Crossbow" type="4"><weapon level="1" piercing="4"/></item>
  <item name="Knife" type="5" maxstack="30"><weapon level="1" piercing="2"/></item>
  <item name="Bolts" type="6" maxstack="50"><weapon level="1" piercing="1"/></item>
  <item name="Leather Cuirass"><armour type="chest"/></item>
  <item name="Fine Linen Shirt"><armour type="chest"/></item>
  <item name="Robe"><armour type="chest"/></item>
  <item name="Mage Vest"><armour type="chest"/></item>
  <item name="Buckler"><armour type="shield"/></item>
  <item name="Tonic"><potion/></item>
  <item name="Ale"><food hp="0" mp="3"/></item>
  <item name="Bread"><food hp="4"/></item>
</itemdb>)";

LoadoutEntry Entry(const char* type, const char* subtype, bool always, int32_t amount = 1) {
    LoadoutEntry entry;
    entry.type = type;
    entry.subtype = subtype;
    entry.always = always;
    entry.amount = amount;
    return entry;
}

class StartingKitTest : public testing::Test {
protected:
    void SetUp() override {
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        ResetSkillDB();
        ClearSpellTable();
        saved_ = CurrentPlayer;
        CurrentPlayer = nullptr;
        CSRand(5);
        MTSeed(5);
    }
    void TearDown() override {
        delete hero_;
        CurrentPlayer = saved_;
        ResetSkillDB();
        ClearSpellTable();
        ClearItemDB();
        ClearQueuedDeletions();
    }
    // Skills of ids 10.. of the given types, each with a loadout; all chosen.
    void AddSkill(int32_t type, std::vector<LoadoutEntry> loadout) {
        SkillRecord record;
        record.id = 10 + static_cast<int32_t>(SkillDB.size());
        record.name = "Skill " + std::to_string(record.id);
        record.type = type;
        record.loadout = std::move(loadout);
        record.chosen = 1;
        SkillDB.push_back(record);
    }
    Player* Kit() {
        hero_ = new Player();
        testing::internal::CaptureStdout();
        hero_->GiveStartingKit();
        output_ = testing::internal::GetCapturedStdout();
        CurrentPlayer = hero_;
        return hero_;
    }
    static std::string KindOf(const Item* item) { return item->def != nullptr ? item->def->name : "?"; }
    // The kinds of everything the hero carries: equipment, belt, backpack.
    std::vector<std::string> Carried() const {
        std::vector<std::string> names;
        for (Item* item : hero_->equipSlots) {
            if (item != nullptr) names.push_back(KindOf(item));
        }
        for (Item* item : hero_->quickSlots) {
            if (item != nullptr) names.push_back(KindOf(item));
        }
        for (Item* item : InventoryGrid.cells) {
            if (item != nullptr) names.push_back(KindOf(item));
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static bool Has(const std::vector<std::string>& names, const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    }
    static void ClearQueuedDeletions() { DeleteQueuedObjects(); }

    Player* hero_ = nullptr;
    Player* saved_ = nullptr;
    std::string output_;
};

TEST_F(StartingKitTest, TheLeadingTypesGiveTheirEntriesAndTheLeaningItsGarment) {
    struct Case {
        const char* name;
        std::vector<int32_t> types;  // warrior 0, wizard 1, rogue 2
        std::vector<std::string> given, notGiven;
    };
    const Case cases[] = {
        {"3 warriors, 2 wizards, 2 rogues", {0, 0, 0, 1, 1, 2, 2},
         {"Blade", "Tonic", "Leather Cuirass"}, {"Staff", "Crossbow", "Robe", "Fine Linen Shirt"}},
        {"as many warriors as wizards", {0, 0, 0, 1, 1, 1, 2},
         {"Blade", "Staff", "Leather Cuirass"}, {"Crossbow", "Robe"}},
        {"a rogue leaning", {0, 1, 2, 2, 2, 2, 2}, {"Crossbow", "Fine Linen Shirt"}, {"Blade", "Staff", "Robe"}},
        {"a wizard leaning", {0, 1, 1, 1, 1, 2, 2}, {"Staff", "Robe"}, {"Blade", "Leather Cuirass"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetSkillDB();
        for (int32_t type : c.types) {
            const char* weapon = type == 0 ? "Blade" : type == 1 ? "Staff" : "Crossbow";
            AddSkill(type, {Entry("weapon", weapon, false), Entry("potion", "Tonic", true)});
        }
        Kit();
        const std::vector<std::string> carried = Carried();
        for (const std::string& name : c.given) EXPECT_TRUE(Has(carried, name)) << name;
        for (const std::string& name : c.notGiven) EXPECT_FALSE(Has(carried, name)) << name;
        delete hero_;
        hero_ = nullptr;
    }
}

TEST_F(StartingKitTest, AWizardWhoseSkillsGaveATorsoGetsNoRobe) {
    AddSkill(1, {Entry("armour", "Mage Vest", true)});
    for (int32_t i = 0; i < 3; ++i) AddSkill(1, {});
    for (int32_t i = 0; i < 3; ++i) AddSkill(2, {});
    Kit();
    ASSERT_NE(hero_->Torso(), nullptr);
    EXPECT_EQ(KindOf(hero_->Torso()), "Mage Vest");
    EXPECT_FALSE(Has(Carried(), "Robe"));
}

TEST_F(StartingKitTest, ProvisionsAreDrinkFoodDrinkFood) {
    for (int32_t i = 0; i < 7; ++i) AddSkill(0, {});
    Kit();
    std::vector<std::string> pack;
    std::vector<int32_t> counts;
    for (Item* item : InventoryGrid.cells) {
        if (item == nullptr) continue;
        pack.push_back(KindOf(item));
        counts.push_back(item->count);
    }
    // The second drink and the second food join the first ones' stacks.
    EXPECT_EQ(pack, (std::vector<std::string>{"Ale", "Bread"}));
    EXPECT_EQ(counts, (std::vector<int32_t>{2, 2}));
}

TEST_F(StartingKitTest, WeaponsAndShieldsGoWhereTheyBelong) {
    AddSkill(2, {Entry("weapon", "Crossbow", true), Entry("weapon", "Knife", true, 6)});
    for (int32_t i = 0; i < 6; ++i) AddSkill(2, {});
    Kit();
    ASSERT_NE(hero_->EquippedAt(kSlotAmmunition), nullptr);
    EXPECT_EQ(KindOf(hero_->EquippedAt(kSlotAmmunition)), "Crossbow");
    EXPECT_EQ(static_cast<Item*>(hero_->crossbow), hero_->EquippedAt(kSlotAmmunition));
    EXPECT_EQ(hero_->SecondHand(), nullptr);
    // Six knives as an extra stack and the later weapon entry as one more piece: neither is
    // a second first weapon.
    int32_t knives = 0;
    for (Item* item : InventoryGrid.cells) knives += item != nullptr && KindOf(item) == "Knife" ? item->count : 0;
    for (Item* item : hero_->quickSlots) knives += item != nullptr && KindOf(item) == "Knife" ? item->count : 0;
    EXPECT_EQ(knives, 7);

    GiveArmourByName("Buckler", 1);
    GiveArmourByName("Buckler", 1);
    ASSERT_NE(hero_->FirstHand(), nullptr);
    EXPECT_EQ(KindOf(hero_->FirstHand()), "Buckler");
    EXPECT_EQ(hero_->SecondHand(), nullptr) << "a shield never goes to the second hand here";
    GiveArmourByName("No Such Thing", 1);
    hero_->GiveEquipmentByName("Blade");
    ASSERT_NE(hero_->SecondHand(), nullptr);
    EXPECT_EQ(KindOf(hero_->SecondHand()), "Blade");
}

TEST_F(StartingKitTest, ExactlySevenSkillsAtLevelOneAndTheirAbilitiesOnTheBelt) {
    Spell* spell = new Spell();
    spell->name = "Jab";
    SpellList.push_back(spell);
    for (int32_t i = 0; i < 9; ++i) AddSkill(0, {});
    AbilityRecord* first = new AbilityRecord();
    first->skillId = 10;
    first->level = 0;
    first->spell = spell;
    AbilityList.push_back(first);
    AbilityRecord* later = new AbilityRecord();
    later->skillId = 10;
    later->level = 1;
    later->spell = spell;
    AbilityList.push_back(later);
    Kit();
    EXPECT_EQ(std::vector<int32_t>(hero_->skillIds, hero_->skillIds + 7),
              (std::vector<int32_t>{10, 11, 12, 13, 14, 15, 16}));
    EXPECT_EQ(std::vector<int32_t>(hero_->skillLevels, hero_->skillLevels + 7), std::vector<int32_t>(7, 1));
    EXPECT_NE(output_.find("\"Skill 17\" is left out"), std::string::npos) << output_;
    SkillItem* belt = dynamic_cast<SkillItem*>(hero_->abilitySlots[0]);
    ASSERT_NE(belt, nullptr);
    EXPECT_EQ(belt->ability, first);
    EXPECT_EQ(hero_->abilitySlots[1], nullptr) << "the level-1 ability is not reached yet";
    EXPECT_EQ(hero_->health, hero_->stat[kStatLife]);
    EXPECT_EQ(hero_->mana, hero_->stat[kStatMana]);
    EXPECT_EQ(hero_->primaryBase[kPrimaryBurliness], 14);

    // Fewer than seven: the empty slots hold no skill and no level.
    delete hero_;
    ResetSkillDB();
    for (int32_t i = 0; i < 5; ++i) AddSkill(1, {});
    Kit();
    EXPECT_EQ(hero_->skillIds[5], kNoSkillId);
    EXPECT_EQ(hero_->skillLevels[5], 0);
    EXPECT_EQ(hero_->skillIds[6], kNoSkillId);
    EXPECT_EQ(hero_->GetSkillLevel(0), 0) << "no slot stands for skill 0";
}

}  // namespace

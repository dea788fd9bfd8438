#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/random.h"
#include "core/tweak.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/weapon.h"
#include "items_fixtures/trap.h"
#include "levels/level.h"

namespace {

const char kItems[] = R"(<itemdb>
  <item name="Sword" type="0"><weapon level="0" slashing="3"/></item>
  <item name="Relic" type="0" artifact="1"><weapon level="0"/></item>
  <item name="Mail"><armour type="chest" level="0"/></item>
  <item name="Brew"><potion/></item>
  <item name="Zapper"><wand mincharge="4" maxcharge="4"/></item>
  <item name="Bun"><food hp="2"/></item>
  <item name="Pebble"><gem/></item>
  <item name="Cap"><mushroom/></item>
  <item name="Dust"/>
  <item name="Kit"><toolkit tag="still"/></item>
  <item name="Snare"><trap level="1"/></item>
  <item name="Bolts" type="6"><weapon level="0"/></item>
  <item name="Zorkmids"><potion/></item>
</itemdb>)";

class ItemCreationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        BuildItemLevelTables();
        const std::string tweaks =
            "<tweakDB><tweak name=\"box muller std dev\" ival=\"1\" fval=\"1.5\"/>"
            "<tweak name=\"gold drop per level\" ival=\"10\" fval=\"10\"/></tweakDB>";
        LoadTweakValsFromBuffer(tweaks.data(), tweaks.size());
        savedLevel_ = CurrentLevel;
        CurrentLevel = &level_;
        CSRand(2);
        MTSeed(2);
    }
    void TearDown() override {
        CurrentLevel = savedLevel_;
        ClearItemDB();
        ClearTweakVals();
    }
    Level level_{0, 0};
    Level* savedLevel_ = nullptr;
};

TEST_F(ItemCreationTest, CreateItemBuildsTheClassOfEveryCategory) {
    for (int32_t category = 0; category <= 13; ++category) {
        ItemDef def;
        def.name = "X";
        def.category = category;
        std::unique_ptr<Item> item(CreateItem(&def));
        const bool hasClass = category != 0 && category != kItemMisc && category != kItemZorkmids && category != 13;
        ASSERT_EQ(item != nullptr, hasClass) << category;
        if (!hasClass) continue;
        const Item* p = item.get();
        bool right = false;
        switch (category) {
            case kItemWeapon: right = dynamic_cast<const Weapon*>(p) != nullptr; break;
            case kItemArmour: right = dynamic_cast<const Armour*>(p) != nullptr; break;
            case kItemPotion: right = dynamic_cast<const Potion*>(p) != nullptr; break;
            case kItemWand: right = dynamic_cast<const Wand*>(p) != nullptr; break;
            case kItemFood: right = dynamic_cast<const Food*>(p) != nullptr; break;
            case kItemGem: right = dynamic_cast<const Gem*>(p) != nullptr; break;
            case kItemMushroom: right = dynamic_cast<const Mushroom*>(p) != nullptr; break;
            case kItemReagent: right = dynamic_cast<const Reagent*>(p) != nullptr; break;
            case kItemToolkit: right = dynamic_cast<const Toolkit*>(p) != nullptr; break;
            case kItemTrap: right = dynamic_cast<const Trap*>(p) != nullptr; break;
        }
        EXPECT_TRUE(right) << category;
    }
    EXPECT_EQ(CreateItem(nullptr), nullptr);
}

TEST_F(ItemCreationTest, CreateItemFromDefMakesReagentsOfOtherCategories) {
    std::unique_ptr<Item> potion(CreateItemFromDef(FindItemDefByName("Brew")));
    EXPECT_NE(dynamic_cast<Potion*>(potion.get()), nullptr);
    std::unique_ptr<Item> sword(CreateItemFromDef(FindItemDefByName("Sword")));
    EXPECT_NE(dynamic_cast<Reagent*>(sword.get()), nullptr);
    std::unique_ptr<Item> kit(CreateItemFromDef(FindItemDefByName("Kit")));
    ASSERT_NE(dynamic_cast<Toolkit*>(kit.get()), nullptr);
    EXPECT_EQ(static_cast<Toolkit*>(kit.get())->kind, "still");
}

struct LootCase {
    const char* type;
    const char* name;
    int32_t count;
    bool artifact;
    const char* expectName;  // null: no item
    int32_t expectCount;
};

TEST_F(ItemCreationTest, LootWordsMakeTheirItems) {
    const LootCase cases[] = {
        {"misc", "lockpick", 0, false, "Lockpick", 1},
        {"misc", "lockpicks", 4, false, "Lockpicks (4)", 4},
        {"misc", "Lockpick", 1, false, nullptr, 0},
        {"misc", "spores", 1, false, "Spores", 1},
        {"x", "random", 3, false, nullptr, 0},
        {"potion", "Sword", 3, false, "Sword(3)", 3},  // a count of 3 stacks even a sword
        {"item", "Zorkmids", 1, false, "Zorkmids", 1},  // the capitalised word is a definition
        {"item", "Nothing Called This", 2, false, nullptr, 0},
        {"potion", "random", 0, false, "Brew", 1},
        {"wand", "random", 1, false, "Zapper [4 charges left]", 1},
        {"reagent", "random", 1, false, "Dust", 1},
        {"component", "random", 1, false, "Dust", 1},
        {"bolts", "random", 5, false, "Bolts(5)", 5},
        {"trap", "random", 1, false, "Snare", 1},
        {"armour", "random", 1, false, "Mail", 1},
    };
    for (const LootCase& c : cases) {
        std::unique_ptr<Item> item(CreateLootItem(c.type, c.name, &level_, c.count, c.artifact));
        if (c.expectName == nullptr) {
            EXPECT_EQ(item, nullptr) << c.type << " " << c.name;
            continue;
        }
        ASSERT_NE(item, nullptr) << c.type << " " << c.name;
        EXPECT_EQ(item->GetItemName(), c.expectName) << c.type << " " << c.name;
        EXPECT_EQ(item->count, c.expectCount) << c.type << " " << c.name;
    }
    std::unique_ptr<Item> potion(CreateLootItem("item", "Zorkmids", &level_, 1, false));
    EXPECT_NE(dynamic_cast<Potion*>(potion.get()), nullptr);
}

TEST_F(ItemCreationTest, MoneyPilesFollowTheDepthAndIgnoreTheStackCount) {
    for (int i = 0; i < 200; ++i) {
        level_.depth = 0;
        std::unique_ptr<Item> gold(CreateItemByName("zorkmids"));
        ASSERT_NE(dynamic_cast<Zorkmids*>(gold.get()), nullptr);
        const int32_t coins = static_cast<Zorkmids*>(gold.get())->amount;
        EXPECT_GE(coins, 5);
        EXPECT_LE(coins, 14);
        level_.depth = 2;
        std::unique_ptr<Item> loot(CreateLootItem("zorkmids", "", &level_, 7, false));
        ASSERT_NE(dynamic_cast<Zorkmids*>(loot.get()), nullptr);
        const int32_t pile = static_cast<Zorkmids*>(loot.get())->amount;
        EXPECT_EQ(loot->count, 1);  // the stack count of the record does not multiply money
        EXPECT_EQ(pile % 3, 0);
        EXPECT_GE(pile, 6);
        EXPECT_LE(pile, 48);
    }
    const std::string zero = "<tweakDB><tweak name=\"gold drop per level\" ival=\"0\" fval=\"0\"/></tweakDB>";
    LoadTweakValsFromBuffer(zero.data(), zero.size());
    std::unique_ptr<Item> five(CreateItemByName("zorkmids"));
    EXPECT_EQ(static_cast<Zorkmids*>(five.get())->amount, 5);
}

TEST_F(ItemCreationTest, ArtifactLootIsAnArtifactWeaponOrArmour) {
    for (int i = 0; i < 50; ++i) {
        std::unique_ptr<Item> item(CreateLootItem("artifact", "", &level_, 1, false));
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->IsArtifact());
        EXPECT_TRUE(dynamic_cast<Weapon*>(item.get()) != nullptr || dynamic_cast<Armour*>(item.get()) != nullptr);
        if (item->def != nullptr) {
            EXPECT_NE(item->def->name, "Relic");  // no unique repeats without the flag
        }
    }
}

}  // namespace

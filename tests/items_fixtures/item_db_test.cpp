#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/tweak.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_pickers.h"
#include "levels/level.h"

namespace {

class ItemDBTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearItemDB();
        savedLevel_ = CurrentLevel;
        CurrentLevel = nullptr;
        const std::string tweaks = "<tweakDB><tweak name=\"box muller std dev\" ival=\"1\" fval=\"1.5\"/></tweakDB>";
        LoadTweakValsFromBuffer(tweaks.data(), tweaks.size());
    }
    void TearDown() override {
        ClearItemDB();
        ClearTweakVals();
        CurrentLevel = savedLevel_;
    }
    static void Load(const std::string& xml) {
        ASSERT_TRUE(itemDBLoadText(xml, "test items"));
        BuildItemLevelTables();
    }
    Level* savedLevel_ = nullptr;
};

TEST_F(ItemDBTest, NestedItemsInheritTheirParentAndComeFirst) {
    Load(R"(<itemdb>
      <item name="Parent" type="2" level="4" iconNo="3" maxstack="9" artifact="1">
        <price amount="40"/><weapon crushing="7"/><description text="old"/>
        <item name="Child" level="1"><weapon piercing="2"/></item>
      </item>
    </itemdb>)");
    ASSERT_EQ(ItemDefLists.all.size(), 2u);
    const ItemDef* child = ItemDefLists.all[0];
    const ItemDef* parent = ItemDefLists.all[1];
    EXPECT_EQ(child->name, "Child");
    EXPECT_EQ(parent->name, "Parent");
    // Inherited: category, class, price, damage, description. Reset: iconNo, maxstack, artifact.
    EXPECT_EQ(child->category, kItemWeapon);
    EXPECT_EQ(child->itemClass, 2);
    EXPECT_EQ(child->price, 40);
    EXPECT_EQ(child->damage[0], 7);
    EXPECT_EQ(child->damage[3], 2);
    EXPECT_EQ(child->description, "old");
    EXPECT_EQ(child->level, 1);
    EXPECT_EQ(child->iconNo, 0);
    EXPECT_EQ(child->maxStack, 0);
    EXPECT_FALSE(child->artifact);
    EXPECT_EQ(parent->damage[3], 0);
    EXPECT_EQ(parent->level, 4);
    EXPECT_TRUE(parent->artifact);
    EXPECT_EQ(child->index, 0);
    EXPECT_EQ(parent->index, 1);
    EXPECT_EQ(ItemDefLists.weapons.size(), 2u);
}

TEST_F(ItemDBTest, SameNamedRecordsBothTakePartAndTheFirstIsFound) {
    Load(R"(<itemdb>
      <item name="Twin"><potion spell="none"/><price amount="1"/></item>
      <item name="Twin"><potion/><price amount="2"/></item>
    </itemdb>)");
    ASSERT_NE(FindItemDefByName("Twin"), nullptr);
    EXPECT_EQ(FindItemDefByName("Twin")->price, 1);
    EXPECT_EQ(FindItemDefByName("twin"), nullptr);
    bool seen[2] = {};
    CSRand(3);
    for (int i = 0; i < 200; ++i) seen[PickRandomPotionDef()->price - 1] = true;
    EXPECT_TRUE(seen[0]);
    EXPECT_TRUE(seen[1]);
}

TEST_F(ItemDBTest, AttributeTablesFillTheRecord) {
    Load(R"(<itemdb>
      <item name="W"><weapon slashing="5" slashng="9" Slashing="4" cantargetfloor="1" thrown="t.spr" hit="x"/></item>
      <item name="T1"><trap trigger="charges" charges="3" originMount="ceiling" originFacing="west"/></item>
      <item name="T2"><trap trigger="once" originMount="wall" originFacing="up"/></item>
      <item name="Wd"><wand spell="s"/></item>
      <item name="B" special="true" debug="1"><food mp="2"/>
        <secondarybuff id="23" amount="4"/><secondarybuff id="24" amount="9"/><primarybuff id="5" amount="2"/>
        <resistbuff toxic="3"/><damagebuff voltaic="6"/>
      </item>
      <item name="G"><gem worthless="Glass"/></item>
      <item name="R"/>
    </itemdb>)");
    const ItemDef* w = FindItemDefByName("W");
    EXPECT_EQ(w->damage[1], 5);
    int32_t total = 0;
    for (int32_t v : w->damage) total += v;
    EXPECT_EQ(total, 5);
    EXPECT_TRUE(w->canTargetFloor);
    EXPECT_EQ(w->thrown, "t.spr");
    EXPECT_EQ(w->hitSpellName, "x");
    const ItemDef* t1 = FindItemDefByName("T1");
    EXPECT_EQ(t1->category, kItemTrap);
    EXPECT_EQ(t1->trapTrigger, 1);
    EXPECT_EQ(t1->trapCharges, 3);
    EXPECT_EQ(t1->trapMount, 2);
    EXPECT_EQ(t1->trapFacing, 1);
    const ItemDef* t2 = FindItemDefByName("T2");
    EXPECT_EQ(t2->trapTrigger, 0);
    EXPECT_EQ(t2->trapMount, 1);
    EXPECT_EQ(t2->trapFacing, 0);
    const ItemDef* wand = FindItemDefByName("Wd");
    EXPECT_EQ(wand->minCharge, 1);
    EXPECT_EQ(wand->maxCharge, 10);
    EXPECT_EQ(wand->spell, nullptr);
    const ItemDef* b = FindItemDefByName("B");
    EXPECT_FALSE(b->special);  // "true" reads as 0
    EXPECT_TRUE(b->debug);
    EXPECT_EQ(b->secondary[23], 4);
    EXPECT_EQ(b->primary[5], 2);
    EXPECT_EQ(b->resist[7], 3);
    EXPECT_EQ(b->damage[6], 6);
    EXPECT_EQ(FindItemDefByName("G")->worthlessName, "Glass");
    EXPECT_EQ(FindItemDefByName("R")->category, kItemReagent);
    EXPECT_EQ(ItemDefLists.traps.size(), 2u);
    EXPECT_EQ(ItemDefLists.reagents.size(), 1u);
}

TEST_F(ItemDBTest, ArmourSlotWords) {
    const struct {
        const char* word;
        int32_t slot;
    } cases[] = {{"chest", 0}, {"shield", 1}, {"ring", 3}, {"head", 5},  {"neck", 6},  {"feet", 7},
                 {"waist", 9}, {"hands", 10}, {"legs", 11}, {"sleeve", 12}, {"Ring", 0}, {"tail", 0}};
    for (const auto& c : cases) {
        ClearItemDB();
        Load(std::string("<itemdb><item name='A'><armour type='") + c.word + "' ac='4'/></item></itemdb>");
        const ItemDef* def = FindItemDefByName("A");
        ASSERT_NE(def, nullptr);
        EXPECT_EQ(def->slot, c.slot) << c.word;
        EXPECT_EQ(def->randoms, 1);
        EXPECT_EQ(def->ac, 4);
    }
}

TEST_F(ItemDBTest, AParseErrorKeepsWhatWasReadAndNamesTheLine) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(itemDBLoadText("<itemdb>\n<item name='A'/>\n<item name='B'>\n<oops></item>", "broken.xml"));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("broken.xml"), std::string::npos) << err;
    EXPECT_NE(err.find("line 4"), std::string::npos) << err;
    EXPECT_NE(err.find("column"), std::string::npos) << err;
    ASSERT_EQ(ItemDefLists.all.size(), 1u);
    EXPECT_EQ(ItemDefLists.all[0]->name, "A");
}

TEST_F(ItemDBTest, AMissingIconPrintsALineAndLoadingGoesOn) {
    testing::internal::CaptureStdout();
    Load("<itemdb><item name='A' iconFile='items/no_such_icon.png'/><item name='B'/></itemdb>");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("items/no_such_icon.png"), std::string::npos) << out;
    EXPECT_EQ(ItemDefLists.all.size(), 2u);
}

TEST_F(ItemDBTest, BucketsHoldLevelsZeroToNineteenWithoutSpecials) {
    Load(R"(<itemdb>
      <item name="W0" level="0"><weapon/></item>
      <item name="W19"><weapon level="19"/></item>
      <item name="W20"><weapon level="20"/></item>
      <item name="Wm"><weapon level="-1"/></item>
      <item name="S" special="1"><weapon level="3"/></item>
      <item name="A3"><armour level="3"/></item>
    </itemdb>)");
    EXPECT_EQ(ItemDefLists.weaponBuckets[0].size(), 1u);
    EXPECT_EQ(ItemDefLists.weaponBuckets[19].size(), 1u);
    EXPECT_TRUE(ItemDefLists.weaponBuckets[3].empty());
    EXPECT_EQ(ItemDefLists.armourBuckets[3].size(), 1u);
    size_t total = 0;
    for (const auto& bucket : ItemDefLists.weaponBuckets) total += bucket.size();
    EXPECT_EQ(total, 2u);
}

// Our shipped itemDB: every picker at several depths answers records that meet its rules.
TEST_F(ItemDBTest, PickersOverOurDataMeetTheirPredicates) {
    std::ifstream in(VAULTMERE_SOURCE_DIR "/data/game/itemDB.xml", std::ios::binary);
    ASSERT_TRUE(in.good());
    std::ostringstream text;
    text << in.rdbuf();
    testing::internal::CaptureStdout();  // the icons are checked where the data folder is mounted
    Load(text.str());
    testing::internal::GetCapturedStdout();
    struct Check {
        const char* name;
        std::function<const ItemDef*()> pick;
        std::function<bool(const ItemDef*)> ok;
    };
    auto notAmmo = [](const ItemDef* d) { return d->itemClass != kWeaponThrowing && d->itemClass != kWeaponAmmunition; };
    const Check checks[] = {
        {"armour", [] { return RandomArmourDefByLevel(0); },
         [](const ItemDef* d) { return d->category == kItemArmour && !d->special && !d->debug && !d->craftOutput; }},
        {"armour+5", [] { return RandomArmourDefByLevel(5); }, [](const ItemDef* d) { return d->category == kItemArmour; }},
        {"weapon", [] { return RandomWeaponDefByLevel(0, 0); },
         [&](const ItemDef* d) { return d->category == kItemWeapon && notAmmo(d) && !d->artifact && !d->special && !d->debug; }},
        {"equipment weapon", [] { return RandomEquipmentDefByLevel(CurrentLevel->depth, 0, 0); },
         [&](const ItemDef* d) { return d->category == kItemWeapon && notAmmo(d) && !d->artifact; }},
        {"equipment armour", [] { return RandomEquipmentDefByLevel(CurrentLevel->depth + 1, 0, 1); },
         [](const ItemDef* d) { return d->category == kItemArmour && !d->special; }},
        {"throwing", RandomThrowingWeaponDefByLevel, [](const ItemDef* d) { return d->itemClass == kWeaponThrowing; }},
        {"trap", RandomTrapDef, [](const ItemDef* d) { return d->category == kItemTrap; }},
        {"booze", RandomBoozeDefByLevel, [](const ItemDef* d) { return d->category == kItemFood && d->mp != 0; }},
        {"food", RandomFoodDef, [](const ItemDef* d) { return d->category == kItemFood && d->mp <= 0 && !d->special; }},
        {"food or booze", PickRandomFoodOrBoozeDef, [](const ItemDef* d) { return d->category == kItemFood; }},
        {"jewellery", RandomJewelleryDef,
         [](const ItemDef* d) { return d->slot == kArmourRing || d->slot == 4 || d->slot == kArmourNeck; }},
        {"gem", RandomGemDef, [](const ItemDef* d) { return d->category == kItemGem && !d->special; }},
        {"mushroom", RandomMushroomDef, [](const ItemDef* d) { return d->category == kItemMushroom; }},
        {"potion", PickRandomPotionDef, [](const ItemDef* d) { return d->category == kItemPotion; }},
        {"wand", PickRandomWandDef, [](const ItemDef* d) { return d->category == kItemWand; }},
        {"reagent", RandomReagentDef, [](const ItemDef* d) { return d->category == kItemReagent; }},
        {"ammunition", RandomAmmunitionDef, [](const ItemDef* d) { return d->itemClass == kWeaponAmmunition; }},
    };
    Level level(0, 0);
    CurrentLevel = &level;
    CSRand(11);
    MTSeed(11);
    for (int32_t portal = 0; portal < 2; ++portal) {
        for (int32_t depth : {0, 5, 19, 20, 25}) {
            level.depth = depth;
            level.isSideDimension = portal;
            for (const Check& c : checks) {
                for (int i = 0; i < 10000; ++i) {
                    const ItemDef* def = c.pick();
                    ASSERT_NE(def, nullptr) << c.name << " at depth " << depth;
                    ASSERT_TRUE(c.ok(def)) << c.name << " gave " << def->name << " at depth " << depth;
                }
            }
        }
    }
}

TEST_F(ItemDBTest, ThinOrEmptyTablesAnswerNoneQuickly) {
    // No booze, only craft output in the armour buckets, only throwing weapons among weapons.
    Load(R"(<itemdb>
      <item name="Crafted" craftoutput="1"><armour level="2"/></item>
      <item name="Knife" type="5"><weapon level="0"/></item>
      <item name="Bread"><food hp="3"/></item>
    </itemdb>)");
    Level level(0, 7);
    CurrentLevel = &level;
    testing::internal::CaptureStdout();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RandomArmourDefByLevel(0), nullptr);
    EXPECT_EQ(RandomWeaponDefByLevel(1, 0), nullptr);
    EXPECT_EQ(RandomEquipmentDefByLevel(3, 1, 0), nullptr);
    EXPECT_EQ(RandomBoozeDefByLevel(), nullptr);
    EXPECT_EQ(RandomJewelleryDef(), nullptr);
    EXPECT_EQ(RandomTrapDef(), nullptr);
    EXPECT_EQ(RandomGemDef(), nullptr);
    EXPECT_EQ(PickRandomPotionDef(), nullptr);
    EXPECT_EQ(PickRandomWandDef(), nullptr);
    EXPECT_EQ(RandomMushroomDef(), nullptr);
    EXPECT_EQ(RandomAmmunitionDef(), nullptr);
    ASSERT_NE(RandomThrowingWeaponDefByLevel(), nullptr);
    ASSERT_NE(RandomFoodDef(), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("no booze definition"), std::string::npos) << out;
}

TEST_F(ItemDBTest, PickersDrawEveryPartOfALargeListAndEnd) {
    // Lists of records made here (never in the item table), far longer than the game's own.
    struct Case {
        std::vector<ItemDef*>* list;
        std::function<const ItemDef*()> pick;
        const char* what;
    };
    const Case cases[] = {
        {&ItemDefLists.gems, RandomGemDef, "gem"},
        {&ItemDefLists.potions, PickRandomPotionDef, "potion"},
        {&ItemDefLists.food, RandomFoodDef, "food"},
        {&ItemDefLists.mushrooms, RandomMushroomDef, "mushroom"},
    };
    for (const size_t size : {size_t{20000}, size_t{40000}, size_t{70000}}) {
        std::vector<ItemDef> records(size);
        for (const Case& c : cases) {
            c.list->clear();
            for (ItemDef& record : records) c.list->push_back(&record);
        }
        CSRand(static_cast<uint32_t>(size));
        for (const Case& c : cases) {
            // Every entry may come: the draws reach the last eighth of the list.
            size_t highest = 0;
            for (int i = 0; i < 200; ++i) {
                const ItemDef* def = c.pick();
                ASSERT_NE(def, nullptr) << c.what << " " << size;
                highest = std::max(highest, static_cast<size_t>(def - records.data()));
            }
            EXPECT_GE(highest, size * 7 / 8) << c.what << " " << size;
        }
        // Only the very last entry is acceptable: it is found, and soon.
        for (ItemDef& record : records) record.special = record.craftOutput = record.debug = true;
        ItemDef& last = records.back();
        last.special = last.craftOutput = last.debug = false;
        const auto start = std::chrono::steady_clock::now();
        for (const Case& c : cases) {
            if (c.list == &ItemDefLists.mushrooms) continue;  // every mushroom is acceptable
            EXPECT_EQ(c.pick(), &last) << c.what << " " << size;
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << size;
        for (const Case& c : cases) c.list->clear();
    }
}

TEST_F(ItemDBTest, AUniqueArtifactIsHandedOutOnce) {
    Load(R"(<itemdb><item name="Relic" type="0" artifact="1"><weapon level="0"/></item>
      <item name="Plain" type="0"><weapon level="0"/></item></itemdb>)");
    Level level(0, 0);
    CurrentLevel = &level;
    CSRand(5);
    MTSeed(5);
    int relics = 0;
    for (int i = 0; i < 300; ++i) {
        const ItemDef* def = RandomWeaponDefByLevel(1, 0);
        ASSERT_NE(def, nullptr);
        if (def->artifact) ++relics;
    }
    EXPECT_EQ(relics, 1);
    EXPECT_TRUE(FindItemDefByName("Relic")->generated);
}

}  // namespace

// Zapping wands, eating and drinking food, potions and mushrooms: the refusals with their
// dialogs, the regeneration the hero or a monster gets, the stacks used up, the sounds, the
// spells cast and the statistics and achievements.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "creatures/ability.h"
#include "creatures/shopkeeper.h"
#include "items_fixtures/shop_pedestal.h"
#include "creatures/skill_db.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/item_pickers.h"
#include "platform/atomic_file.h"
#include "store_platform/stats.h"
#include "store_platform/store.h"
#include "support/platform_fixtures.h"
#include "tests/creatures/fight_fixture.h"

namespace {

const char kItems[] = R"(<itemdb>
  <item name="Wand of Test Sparks"><wand spell="Test Spark" mincharge="1" maxcharge="2"/></item>
  <item name="Wand of Forever"><wand spell="Test Spark" mincharge="-1" maxcharge="4"/></item>
  <item name="Burnt Out Wand"><price amount="1"/></item>
  <item name="Ration"><food hp="6"/></item>
  <item name="Goat Cheese"><food hp="4"/></item>
  <item name="Rum"><food hp="0" mp="5"/></item>
  <item name="Ham Hock"><food hp="9" meat="1" effect="Test Spark"/></item>
  <item name="Diggle Egg"><food hp="2"/></item>
  <item name="Deep Omelette"><food hp="8"/></item>
  <item name="Root of T'Char"><food hp="3"/></item>
  <item name="Lutefisk"><food hp="2"/></item>
  <item name="Healing Draught"><potion spell="Test Heal"/></item>
  <item name="Crafted Draught" craftoutput="1"><potion spell="Test Heal"/></item>
  <item name="Blue Cap"><mushroom/><casts spell="Test Heal"/></item>
  <item name="Pebble"><price amount="1"/></item>
</itemdb>)";

struct DialogRecord {
    std::vector<std::string> texts;
};
DialogRecord* Dialogs = nullptr;
int32_t RecordDialog(const char* text, const char*, const char*) {
    if (Dialogs != nullptr) Dialogs->texts.push_back(text != nullptr ? text : "");
    return 1;
}

class ConsumablesTest : public FightTest {
protected:
    void SetUp() override {
        FightTest::SetUp();
        ClearSpellTable();
        spark_ = AddSpell("Test Spark");
        spark_->sfx = "zap";
        heal_ = AddSpell("Test Heal");
        vegan_ = AddSpell("Fallen Vegan");
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        InventoryGrid.Clear();
        Dialogs = &dialogs_;
        savedDialog_ = ShowItemDialog;
        ShowItemDialog = RecordDialog;
        SteamAPI_Shutdown();
        ASSERT_TRUE(SteamAPI_Init());
        InitSteamStats();
        // Statistics count once the stored values have been received.
        SteamAPI_RunCallbacks();
        PlaceHero(3, 3);
    }
    void TearDown() override {
        ShowItemDialog = savedDialog_;
        Dialogs = nullptr;
        for (Item*& slot : hero_.quickSlots) slot = nullptr;
        for (Item*& cell : InventoryGrid.cells) {
            if (cell != nullptr && cell->level == nullptr) delete cell;
            cell = nullptr;
        }
        ActiveItem = nullptr;
        FightTest::TearDown();
        SteamAPI_Shutdown();
        ClearItemDB();
        ClearSpellTable();
        AbilityList.clear();
    }
    static Spell* AddSpell(const char* name) {
        Spell* spell = new Spell();
        spell->name = name;
        spell->targetType = SpellTarget::Self;
        SpellList.push_back(spell);
        return spell;
    }
    Item* Make(const char* name, int32_t count = 1) {
        Item* item = CreateItemByName(name);
        EXPECT_NE(item, nullptr) << name;
        if (item != nullptr) item->count = count;
        return item;
    }
    int32_t CastsOf(const Spell* spell) const {
        int32_t n = 0;
        for (const CastSpellCall& call : spellCalls_.casts) n += call.spell == spell ? 1 : 0;
        return n;
    }
    std::string Stats() const { return ReadWholeFile(tmp_.path() + "/store/stats.txt"); }

    TempDir tmp_;
    ScopedEnv user_{"VAULTMERE_USER_DIR", tmp_.path().c_str()};
    DialogRecord dialogs_;
    ItemDialogFn savedDialog_ = nullptr;
    Spell* spark_ = nullptr;
    Spell* heal_ = nullptr;
    Spell* vegan_ = nullptr;
};

TEST_F(ConsumablesTest, WandChargesRollWithinMinToMaxLessOne) {
    ItemDef def;
    def.name = "Rolled";
    def.category = kItemWand;
    struct Case {
        int32_t min, max, low, high;
    };
    const Case cases[] = {{3, 3, 3, 3}, {2, 5, 2, 4}, {4, 1, 4, 4}};
    for (const Case& c : cases) {
        def.minCharge = c.min;
        def.maxCharge = c.max;
        bool seen[64] = {};
        CSRand(12345);
        for (int32_t roll = 0; roll < 1000; ++roll) {
            Wand wand(&def);
            ASSERT_GE(wand.charges, c.low) << c.min << ".." << c.max;
            ASSERT_LE(wand.charges, c.high) << c.min << ".." << c.max;
            seen[wand.charges] = true;
        }
        for (int32_t v = c.low; v <= c.high; ++v) EXPECT_TRUE(seen[v]) << v << " never rolled for " << c.min << ".." << c.max;
    }
}

TEST_F(ConsumablesTest, WandNamesShowChargesUnlessUnlimited) {
    Wand limited(FindItemDefByName("Wand of Test Sparks"));
    limited.charges = 3;
    EXPECT_EQ(limited.GetItemName(), "Wand of Test Sparks [3 charges left]");
    Wand forever(FindItemDefByName("Wand of Forever"));
    EXPECT_TRUE(forever.IsUnlimited());
    EXPECT_EQ(forever.GetItemName(), "Wand of Forever");
}

TEST_F(ConsumablesTest, ZappingSpendsChargesAndTheLastBurnsTheWandOut) {
    Monster* diggle = AddMonster("Diggle", 6, 3);
    Wand* wand = new Wand(FindItemDefByName("Wand of Test Sparks"));
    wand->charges = 2;
    ASSERT_TRUE(PlaceItemInGridCell(0, 0, wand));
    ActiveItem = wand;
    EXPECT_EQ(wand->UseOn(diggle, &hero_), 1);
    EXPECT_EQ(wand->charges, 1);
    EXPECT_EQ(hero_.facing, 3) << "the monster stands east";
    EXPECT_EQ(CastsOf(spark_), 1);
    EXPECT_EQ(CountSound("zap"), 1);
    EXPECT_TRUE(IsItemTypeKnown(wand));
    EXPECT_EQ(wand->UseOn(diggle, &hero_), 1);
    EXPECT_TRUE(Logged("The wand burns out!"));
    EXPECT_NE(InventoryGrid.cells[0], wand) << "the burnt-out wand leaves its cell at once";
    bool found = false;
    for (Item* cell : InventoryGrid.cells) found = found || (cell != nullptr && cell->def == FindItemDefByName("Burnt Out Wand"));
    EXPECT_TRUE(found) << "a Burnt Out Wand went into the pack";
    DeleteQueuedObjects();
    EXPECT_EQ(ActiveItem, nullptr) << "the deletion sweep forgets the active wand";
}

TEST_F(ConsumablesTest, BurnOutDropsTheHuskWhenThePackIsFullAndLeavesNothingWithoutADefinition) {
    Monster* diggle = AddMonster("Diggle", 1, 3);
    for (Item*& cell : InventoryGrid.cells) cell = Make("Pebble");
    for (Item*& slot : hero_.quickSlots) slot = Make("Pebble");
    for (Item* item : InventoryGrid.cells) item->stackable = 0;
    for (Item* item : hero_.quickSlots) item->stackable = 0;
    Wand* wand = new Wand(FindItemDefByName("Wand of Test Sparks"));
    wand->charges = 1;
    EXPECT_EQ(wand->UseOn(diggle, &hero_), 1);
    EXPECT_EQ(hero_.facing, 1) << "the monster stands west";
    bool onFloor = false;
    for (GameObj* obj : level_->GetCell(3, 3)->contents) {
        Item* item = dynamic_cast<Item*>(obj);
        onFloor = onFloor || (item != nullptr && item->def == FindItemDefByName("Burnt Out Wand"));
    }
    EXPECT_TRUE(onFloor) << "a full pack puts the husk on the hero's square";
    for (Item*& slot : hero_.quickSlots) {
        delete slot;
        slot = nullptr;
    }
    ApplyDeferredObjectMoves();
}

TEST_F(ConsumablesTest, NoBurntOutDefinitionLeavesNoHusk) {
    ClearItemDB();
    ASSERT_TRUE(itemDBLoadText("<itemdb><item name=\"Wand A\"><wand spell=\"Test Spark\"/></item></itemdb>", "x"));
    Monster* diggle = AddMonster("Diggle", 6, 3);
    Wand* wand = new Wand(FindItemDefByName("Wand A"));
    wand->charges = 1;
    EXPECT_EQ(wand->UseOn(diggle, &hero_), 1);
    for (Item* cell : InventoryGrid.cells) EXPECT_EQ(cell, nullptr);
    DeleteQueuedObjects();
}

TEST_F(ConsumablesTest, RefusedZapsSpendNothing) {
    Monster* diggle = AddMonster("Diggle", 6, 3);
    Wand wand(FindItemDefByName("Wand of Test Sparks"));
    wand.charges = 0;
    EXPECT_EQ(wand.UseOn(diggle, &hero_), 0) << "empty";
    wand.charges = 2;
    wand.unpaid = 1;
    EXPECT_EQ(wand.UseOn(diggle, &hero_), 0) << "unpaid";
    ASSERT_EQ(dialogs_.texts.size(), 1u);
    EXPECT_EQ(dialogs_.texts[0], "Hey, it's a store not a firing range - buy before you try... and all sales are final!");
    EXPECT_EQ(wand.charges, 2);
    EXPECT_EQ(CastsOf(spark_), 0);
}

TEST_F(ConsumablesTest, UnlimitedWandsNeverSpendOnCreaturesButSquaresAlwaysSpend) {
    Monster* diggle = AddMonster("Diggle", 6, 3);
    Wand forever(FindItemDefByName("Wand of Forever"));
    forever.charges = 0;
    EXPECT_EQ(forever.UseOn(diggle, &hero_), 1) << "unlimited zaps with no charges";
    EXPECT_EQ(forever.charges, 0);
    EXPECT_EQ(forever.UseAtSquare(6, 3, &hero_), 0) << "at a square, 0 charges refuse even an unlimited wand";
    forever.charges = 3;
    EXPECT_EQ(forever.UseAtSquare(6, 3, &hero_), 1);
    EXPECT_EQ(forever.charges, 2) << "every zap at a square spends";
}

TEST_F(ConsumablesTest, AWandZappedAtAShopkeeperGoesToItsOffer) {
    Shopkeeper* keeper = new Shopkeeper();
    keeper->PlaceOnLevel(5, 3, level_.get(), 1);
    level_->shopkeepers.push_back(keeper);
    // The keeper's offer is answered with its first button (do not sell).
    const ShopDialogSet savedDialogs = ShopDialogs;
    ShopDialogs.show = [](const char*, const char*, const char*) { return 0; };
    Wand wand(FindItemDefByName("Wand of Test Sparks"));
    wand.charges = 2;
    wand.UseOn(keeper, &hero_);
    ShopDialogs = savedDialogs;
    EXPECT_EQ(wand.charges, 2);
    EXPECT_EQ(CastsOf(spark_), 0);
    level_->shopkeepers.clear();
}

TEST_F(ConsumablesTest, OldWandRecordsLoadWithTwoCharges) {
    Wand wand(FindItemDefByName("Wand of Test Sparks"));
    wand.charges = 7;
    SaveWriter out;
    out.version = SaveVersion{1, 0, 5};
    // A 1.0.5 record holds three words in place of the charges.
    ASSERT_TRUE(static_cast<Item&>(wand).Item::Save(out));
    out.WriteString("Wand of Test Sparks");
    out.WriteInt32(9);
    out.WriteInt32(9);
    out.WriteInt32(9);
    SaveReader in(out.Buffer());
    in.version = SaveVersion{1, 0, 5};
    Wand loaded(in);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(loaded.charges, 2);
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST_F(ConsumablesTest, EatingAndDrinkingTable) {
    struct Case {
        const char* name;
        const char* item;
        int32_t count;
        bool unpaid;
        bool vampire;
        int32_t target;  // 0 hero, 1 monster, 2 peaceful shopkeeper
        int32_t answer;
        int32_t countAfter;  // 0: used up
        const char* dialog;
        const char* sound;
        int32_t food, booze;  // regeneration added to the target
    };
    const Case cases[] = {
        {"food", "Ration", 3, false, false, 0, 1, 2, "", "eat", 6, 0},
        {"booze", "Rum", 1, false, false, 0, 1, 0, "", "drink", 0, 5},
        {"unpaid food", "Goat Cheese", 1, true, false, 0, 1, 1,
         "Hey, whaddaya think this is, a deli? Pay for your food before eating it!", "", 0, 0},
        {"vampire and cheese", "Goat Cheese", 1, false, true, 0, 0, 1,
         "You crave the blood of innocents, not this processed cheese of mortals!", "", 0, 0},
        {"vampire and bread", "Ration", 1, false, true, 0, 0, 1, "You crave the blood of innocents, not this food of mortals!",
         "", 0, 0},
        {"vampire drinks", "Rum", 2, false, true, 0, 1, 1, "", "drink", 0, 5},
        {"fed to a monster", "Ration", 2, false, false, 1, 1, 1, "", "eat", 6, 0},
        {"offered to a peaceful shopkeeper", "Ration", 2, false, false, 2, 0, 2, "", "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs_.texts.clear();
        Sounds().clear();
        hero_.skillIds[0] = 13;
        hero_.skillLevels[0] = c.vampire ? 1 : 0;
        hero_.foodRegenLeft = hero_.boozeRegenLeft = 0;
        Item* item = Make(c.item, c.count);
        item->unpaid = c.unpaid ? 1 : 0;
        hero_.quickSlots[4] = item;
        Hittable* target = &hero_;
        Shopkeeper* keeper = nullptr;
        if (c.target == 1) target = AddMonster("Diggle", 5, 5);
        if (c.target == 2) {
            keeper = new Shopkeeper();
            keeper->PlaceOnLevel(7, 7, level_.get(), 1);
            level_->shopkeepers.push_back(keeper);
            target = keeper;
        }
        target->foodRegenLeft = target->boozeRegenLeft = 0;
        EXPECT_EQ(item->UseOn(target, &hero_), c.answer);
        EXPECT_EQ(dialogs_.texts.empty() ? "" : dialogs_.texts[0], std::string(c.dialog));
        EXPECT_EQ(Sounds().empty() ? "" : Sounds()[0], std::string(c.sound));
        EXPECT_EQ(target->foodRegenLeft, c.food);
        EXPECT_EQ(target->boozeRegenLeft, c.booze);
        if (c.countAfter == 0) {
            EXPECT_EQ(hero_.quickSlots[4], nullptr) << "the last one leaves its belt slot";
            EXPECT_EQ(QueuedDeletionCount(), 1u);
            DeleteQueuedObjects();
        } else {
            EXPECT_EQ(item->count, c.countAfter);
            hero_.quickSlots[4] = nullptr;
            delete item;
        }
        level_->shopkeepers.clear();
    }
}

TEST_F(ConsumablesTest, MeatWithAVeganAbilityCastsFallenVeganThenTheFoodsEffect) {
    AbilityRecord* vegan = new AbilityRecord();
    vegan->name = "Leaf Eater";
    vegan->veganism = true;
    vegan->skillId = 40;
    vegan->level = 0;
    AbilityList.push_back(vegan);
    hero_.skillIds[0] = 40;
    hero_.skillLevels[0] = 1;
    Item* ham = Make("Ham Hock");
    EXPECT_EQ(ham->UseOn(&hero_, &hero_), 1);
    ASSERT_EQ(spellCalls_.casts.size(), 2u);
    EXPECT_EQ(spellCalls_.casts[0].spell, vegan_);
    EXPECT_EQ(spellCalls_.casts[1].spell, spark_);
    // Without the ability's level only the food's own effect is cast.
    spellCalls_ = SpellCallLog();
    hero_.skillLevels[0] = 0;
    Item* second = Make("Ham Hock");
    second->UseOn(&hero_, &hero_);
    ASSERT_EQ(spellCalls_.casts.size(), 1u);
    EXPECT_EQ(spellCalls_.casts[0].spell, spark_);
    DeleteQueuedObjects();
    delete vegan;
}

TEST_F(ConsumablesTest, TheHundredthDiggleEggSetsTheAchievementOnce) {
    for (int32_t eaten = 1; eaten <= 101; ++eaten) {
        Item* egg = Make("Diggle Egg");
        egg->UseOn(&hero_, &hero_);
        DeleteQueuedObjects();
        const bool has = Stats().find("achievement ACHIEVEMENT_HIGH_CHOLESTEROL") != std::string::npos;
        if (eaten == 99) {
            EXPECT_FALSE(has);
        } else if (eaten == 100) {
            EXPECT_TRUE(has);
        }
    }
    EXPECT_EQ(GetStatInt("STAT_DIGGLE_EGGS_EATEN"), 101);
}

TEST_F(ConsumablesTest, NamedFoodsCountTowardTheirAchievementsTable) {
    struct Case {
        const char* food;
        const char* stat;         // null: no statistic
        int32_t before;           // the statistic's value before the first bite
        const char* achievement;  // null: none
        int32_t bitesUntilAwarded;
    };
    const Case cases[] = {
        {"Deep Omelette", "STAT_DEEP_OMELETTES_EATEN", 97, "ACHIEVEMENT_MONSTERS_WITH_OMELETTES", 3},
        {"Root of T'Char", nullptr, 0, "ACHIEVEMENT_ROOT_OF_TCHAR", 1},
        {"Lutefisk", nullptr, 0, "ACHIEVEMENT_LUTEFISK", 1},
        {"Ration", nullptr, 0, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.food);
        SteamAPI_Shutdown();
        std::remove((tmp_.path() + "/store/stats.txt").c_str());
        ASSERT_TRUE(SteamAPI_Init());
        InitSteamStats();
        SteamAPI_RunCallbacks();
        if (c.stat != nullptr) AddToStat(c.stat, c.before);
        const std::string line = c.achievement != nullptr ? std::string("achievement ") + c.achievement + "\n" : "";
        for (int32_t bite = 1; bite <= 4; ++bite) {
            SCOPED_TRACE(bite);
            Item* food = Make(c.food);
            ASSERT_EQ(food->UseOn(&hero_, &hero_), 1);
            DeleteQueuedObjects();
            const std::string stats = Stats();
            if (c.achievement == nullptr) {
                EXPECT_EQ(stats.find("achievement "), std::string::npos) << stats;
            } else {
                const size_t at = stats.find(line);
                EXPECT_EQ(at != std::string::npos, bite >= c.bitesUntilAwarded) << stats;
                // Set once: never a second line.
                if (at != std::string::npos) {
                    EXPECT_EQ(stats.find(line, at + 1), std::string::npos);
                }
            }
            if (c.stat != nullptr) {
                EXPECT_EQ(GetStatInt(c.stat), c.before + bite);
            }
        }
    }
}

TEST_F(ConsumablesTest, PotionsAndMushroomsTable) {
    struct Case {
        const char* name;
        const char* item;
        int32_t count;
        bool unpaid;
        int32_t target;  // 0 hero, 1 monster, 2 peaceful shopkeeper
        int32_t answer;
        int32_t countAfter;
        const char* dialog;
        bool cast;
        bool known;
    };
    const Case cases[] = {
        {"potion drunk", "Healing Draught", 5, false, 0, 1, 4, "", true, true},
        {"last potion", "Healing Draught", 1, false, 0, 1, 0, "", true, true},
        {"unpaid potion", "Healing Draught", 2, true, 0, 0, 2,
         "Hey, whaddaya think this is, an open bar? Pay for your potion before you drink it!", false, false},
        {"potion on a monster is spent", "Healing Draught", 2, false, 1, 1, 1, "", false, false},
        {"potion on a peaceful shopkeeper", "Healing Draught", 2, false, 2, 0, 2, "", false, false},
        {"mushroom eaten", "Blue Cap", 2, false, 0, 1, 1, "", true, false},
        {"unpaid mushroom", "Blue Cap", 1, true, 0, 0, 1,
         "Hey, whaddaya think this is, a deli? Pay for your food before eating it!", false, false},
        {"mushroom offered to a monster", "Blue Cap", 2, false, 1, 1, 2, "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetKnownItemTypes();
        dialogs_.texts.clear();
        spellCalls_ = SpellCallLog();
        Item* item = Make(c.item, c.count);
        item->unpaid = c.unpaid ? 1 : 0;
        hero_.quickSlots[2] = item;
        Hittable* target = &hero_;
        if (c.target == 1) target = AddMonster("Diggle", 5, 5);
        if (c.target == 2) {
            Shopkeeper* keeper = new Shopkeeper();
            keeper->PlaceOnLevel(7, 7, level_.get(), 1);
            level_->shopkeepers.push_back(keeper);
            target = keeper;
        }
        EXPECT_EQ(item->UseOn(target, &hero_), c.answer);
        EXPECT_EQ(dialogs_.texts.empty() ? "" : dialogs_.texts[0], std::string(c.dialog));
        EXPECT_EQ(CastsOf(heal_), c.cast ? 1 : 0);
        if (c.countAfter == 0) {
            EXPECT_EQ(hero_.quickSlots[2], nullptr);
            EXPECT_TRUE(c.known ? IsItemTypeKnown(item) : true);
            DeleteQueuedObjects();
        } else {
            EXPECT_EQ(item->count, c.countAfter);
            EXPECT_EQ(IsItemTypeKnown(item), c.known);
            hero_.quickSlots[2] = nullptr;
            delete item;
        }
        level_->shopkeepers.clear();
    }
}

TEST_F(ConsumablesTest, PotionPickerSkipsCraftOutputsAndStopsOnListsWithoutLoot) {
    for (uint32_t seed = 0; seed < 50; ++seed) {
        CSRand(seed);
        const ItemDef* def = PickRandomPotionDef();
        ASSERT_NE(def, nullptr);
        EXPECT_EQ(def->name, "Healing Draught");
    }
    ClearItemDB();
    testing::internal::CaptureStdout();
    EXPECT_EQ(PickRandomPotionDef(), nullptr) << "empty list";
    EXPECT_EQ(PickRandomWandDef(), nullptr) << "empty list";
    ASSERT_TRUE(itemDBLoadText("<itemdb><item name=\"Only Crafted\" craftoutput=\"1\"><potion/></item></itemdb>", "x"));
    EXPECT_EQ(PickRandomPotionDef(), nullptr) << "only crafting outputs";
    testing::internal::GetCapturedStdout();
}

TEST_F(ConsumablesTest, MushroomShuffleIsAPermutationFixedByTheSeed) {
    ClearItemDB();
    std::string xml = "<itemdb>";
    for (int32_t i = 0; i < 6; ++i) xml += "<item name=\"M" + std::to_string(i) + "\"><mushroom/></item>";
    ASSERT_TRUE(itemDBLoadText(xml + "</itemdb>", "x"));
    auto order = [] {
        std::string names;
        for (const ItemDef* def : ItemDefLists.mushrooms) names += def->name;
        return names;
    };
    const std::string before = order();
    CSRand(7);
    ShuffleMushroomAppearances();
    const std::string first = order();
    std::string sorted = first;
    std::sort(sorted.begin(), sorted.end());
    std::string sortedBefore = before;
    std::sort(sortedBefore.begin(), sortedBefore.end());
    EXPECT_EQ(sorted, sortedBefore);
    EXPECT_NE(first, before);
    ClearItemDB();
    ASSERT_TRUE(itemDBLoadText(xml + "</itemdb>", "x"));
    CSRand(7);
    ShuffleMushroomAppearances();
    EXPECT_EQ(order(), first) << "the same seed gives the same order";
}

TEST_F(ConsumablesTest, ANewGamesGemOrderAndPotionSetCoverTheirDefinitionsOnly) {
    ClearItemDB();
    // Gems and potions between other kinds, so positions in the whole list are told apart.
    std::string xml = "<itemdb><item name=\"Pie\"><food/></item>";
    for (int32_t i = 0; i < 5; ++i) {
        xml += "<item name=\"G" + std::to_string(i) + "\"><gem/></item>";
        xml += "<item name=\"P" + std::to_string(i) + "\"><potion/></item>";
    }
    ASSERT_TRUE(itemDBLoadText(xml + "</itemdb>", "x"));
    auto names = [](const auto& positions) {
        std::vector<std::string> out;
        for (int32_t at : positions) out.push_back(ItemDefLists.all[static_cast<size_t>(at)]->name);
        return out;
    };
    CSRand(11);
    BuildShuffledItemOrder();
    const std::vector<std::string> first = names(ShuffledGemOrder);
    std::vector<std::string> sorted = first;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"G0", "G1", "G2", "G3", "G4"}));
    EXPECT_NE(first, sorted) << "seed 11 moves at least one gem";
    CSRand(11);
    BuildShuffledItemOrder();
    EXPECT_EQ(names(ShuffledGemOrder), first) << "the same seed gives the same order";

    UnidentifiedPotions.clear();
    ResetPotionSet();
    EXPECT_EQ(names(UnidentifiedPotions), (std::vector<std::string>{"P0", "P1", "P2", "P3", "P4"}));
    ClearItemDB();
    BuildShuffledItemOrder();
    ResetPotionSet();
    EXPECT_TRUE(ShuffledGemOrder.empty());
    EXPECT_TRUE(UnidentifiedPotions.empty());
}

}  // namespace

// Vending machines: the stock each kind is filled with, the bounded draws of thin lists, the
// prices and purchases, the window's hit areas and the theft of the vending-machine abilities.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/tweak.h"
#include "creatures/ability.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "items_fixtures/dispenser.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/shop_pedestal.h"
#include "levels/level.h"
#include "media/tooltip.h"
#include "interface/menu_test_fixture.h"

namespace {

const char kItems[] = R"(<itemdb>
  <item name="Quarrel" maxstack="9" type="6"><weapon/><price amount="2"/></item>
  <item name="Heavy Quarrel" type="6"><weapon/><price amount="3"/></item>
  <item name="Throwing Star" type="5"><weapon/><price amount="5"/></item>
  <item name="Bread"><food hp="5"/><price amount="4"/></item>
  <item name="Ale"><food hp="0" mp="5"/><price amount="6"/></item>
  <item name="Stew"><food hp="5" mp="5"/><price amount="8"/></item>
  <item name="Salt" alchemical="1"><price amount="3"/></item>
</itemdb>)";

class DispenserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        BuildItemLevelTables();
        ClearTweakVals();
        const std::string tweaks = R"(<tweakDB><tweak name="vending machine scale" ival="0" fval="1.5"/></tweakDB>)";
        LoadTweakValsFromBuffer(tweaks.data(), tweaks.size());
        CSRand(11);
        saved_ = CurrentPlayer;
        CurrentPlayer = &hero_;
        InventoryGrid.Clear();
    }
    void TearDown() override {
        std::set<Item*> carried;
        for (Item** place : CarriedPlaces()) {
            if (*place != nullptr && (*place)->level == nullptr) carried.insert(*place);
            *place = nullptr;
        }
        for (Item* item : carried) delete item;
        InventoryGrid.Clear();
        CurrentPlayer = saved_;
        ClearTweakVals();
        ClearItemDB();
        AbilityList.clear();
    }
    Player hero_;
    Player* saved_ = nullptr;
};

TEST_F(DispenserTest, EachKindStocksTwelveOfItsGoods) {
    struct Case {
        int32_t kind;
        std::vector<std::string> allowed;
        bool stacks;
    } cases[] = {
        {0, {"Quarrel", "Heavy Quarrel"}, true},
        {1, {"Bread", "Stew"}, false},
        {2, {"Ale", "Stew"}, false},
        {3, {"Throwing Star"}, true},
        {4, {"Salt"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Dispenser machine(c.kind);
        for (Item* item : machine.stock) {
            ASSERT_NE(item, nullptr);
            const std::string name = item->def->name;
            EXPECT_NE(std::find(c.allowed.begin(), c.allowed.end(), name), c.allowed.end()) << name;
            if (c.stacks) {
                EXPECT_EQ(item->stackable, 1);
                EXPECT_GE(item->count, 1);
                EXPECT_LE(item->count, name == "Quarrel" ? 9 : 15);
            } else {
                EXPECT_EQ(item->count, 1);
            }
        }
        EXPECT_EQ(machine.robbed, 0);
    }
}

TEST_F(DispenserTest, ThrownWeaponMachinesStockTheWeaponsOfTheirDepth) {
    ClearItemDB();
    ASSERT_TRUE(itemDBLoadText(R"(<itemdb>
      <item name="Throwing Star" type="5"><weapon level="0"/></item>
      <item name="Dart" type="5"><weapon level="6"/></item>
      <item name="Heavy Javelin" type="5"><weapon level="12"/></item>
      <item name="Quarrel" type="6"><weapon level="12"/></item>
    </itemdb>)", "thrown by level"));
    BuildItemLevelTables();
    // No spread around the depth, so each depth has exactly one weapon band.
    const std::string tweaks = R"(<tweakDB><tweak name="box muller std dev" ival="0" fval="0"/></tweakDB>)";
    LoadTweakValsFromBuffer(tweaks.data(), tweaks.size());
    struct Case {
        int32_t depth;
        const char* only;
    } cases[] = {
        {0, "Throwing Star"}, {4, "Throwing Star"}, {6, "Dart"}, {9, "Dart"}, {12, "Heavy Javelin"}, {20, "Heavy Javelin"},
    };
    Level* const savedLevel = CurrentLevel;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        Level level(0, c.depth);
        CurrentLevel = &level;
        for (int32_t machineNo = 0; machineNo < 4; ++machineNo) {
            Dispenser machine(3);
            for (Item* item : machine.stock) {
                ASSERT_NE(item, nullptr);
                EXPECT_EQ(item->def->name, c.only);
            }
        }
        CurrentLevel = savedLevel;
    }
}

TEST_F(DispenserTest, AFilledSlotsTooltipNamesThePriceAndTheHint) {
    Dispenser machine(1);
    ASSERT_NE(machine.stock[0], nullptr);
    const Dispenser::SlotTooltip tip = machine.TooltipOf(0);
    EXPECT_EQ(tip.title, machine.stock[0]->GetItemName() + " (" + std::to_string(machine.SlotPrice(0)) + " zorkmids)");
    EXPECT_EQ(tip.hint, "Click to Buy Item");
    EXPECT_EQ(tip.category, machine.stock[0]->GetCategoryName());
    delete machine.stock[0];
    machine.stock[0] = nullptr;
    EXPECT_EQ(machine.TooltipOf(0).hint, "") << "an empty slot has no tooltip";
}

TEST_F(DispenserTest, ThinListsLeaveSlotsEmpty) {
    ClearItemDB();
    ASSERT_TRUE(itemDBLoadText(R"(<itemdb><item name="Ale"><food hp="0" mp="5"/></item></itemdb>)", "thin"));
    for (int32_t kind : {0, 1, 3, 4, 7}) {
        Dispenser machine(kind);
        for (Item* item : machine.stock) EXPECT_EQ(item, nullptr) << kind;
    }
    Dispenser drinks(2);
    for (Item* item : drinks.stock) EXPECT_NE(item, nullptr);
}

TEST_F(DispenserTest, BuysAtTheShownPriceOnly) {
    ClearItemDB();
    ASSERT_TRUE(itemDBLoadText(R"(<itemdb>
      <item name="Apple"><food hp="2"/><price amount="9"/></item>
      <item name="Pear"><food hp="2"/><price amount="7"/></item>
      <item name="Bread"><food hp="5"/><price amount="4"/></item>
      <item name="Crumb"><food hp="1"/><price amount="1"/></item>
    </itemdb>)",
                               "priced food"));
    // The price shown is the value times 1.5, truncated; whoever holds exactly that buys.
    struct Case {
        const char* name;
        int32_t shown;
    } cases[] = {{"Apple", 13}, {"Pear", 10}, {"Bread", 6}, {"Crumb", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Dispenser machine(1);
        for (Item*& slot : machine.stock) {
            delete slot;
            slot = nullptr;
        }
        machine.stock[0] = CreateItem(FindItemDefByName(c.name));
        ASSERT_NE(machine.stock[0], nullptr);
        Item* first = machine.stock[0];
        EXPECT_EQ(machine.SlotPrice(0), c.shown);
        hero_.zorkmids = c.shown - 1;
        EXPECT_FALSE(machine.Buy(0));
        EXPECT_EQ(machine.stock[0], first);
        EXPECT_EQ(hero_.zorkmids, c.shown - 1);
        hero_.zorkmids = c.shown;
        EXPECT_TRUE(machine.Buy(0));
        EXPECT_EQ(hero_.zorkmids, 0);
        EXPECT_EQ(machine.stock[0], nullptr);
        EXPECT_FALSE(machine.Buy(0)) << "an empty slot sells nothing";
        EXPECT_EQ(machine.SlotPrice(0), 0);
    }
}

TEST_F(DispenserTest, ANegativeScaleMakesGoodsFreeNotPaying) {
    ClearTweakVals();
    const std::string tweaks = R"(<tweakDB><tweak name="vending machine scale" ival="0" fval="-1.5"/></tweakDB>)";
    LoadTweakValsFromBuffer(tweaks.data(), tweaks.size());
    Dispenser machine(1);
    ASSERT_NE(machine.stock[0], nullptr);
    EXPECT_EQ(machine.SlotPrice(0), 0);
    hero_.zorkmids = 5;
    EXPECT_TRUE(machine.Buy(0));
    EXPECT_EQ(hero_.zorkmids, 5) << "a sale never gives the hero money";
}

TEST_F(DispenserTest, WindowHitAreas) {
    Dispenser machine(4);
    struct Case {
        int32_t x, y, hit;
    } cases[] = {
        {100 + 298, 50, -2}, {100 + 318, 70, -2}, {100 + 319, 50, -1},  // the close box
        {100 + 20, 50 + 88, 0}, {100 + 84, 50 + 152, 0},                // slot 0 corners
        {100 + 85, 50 + 88, -1},                                        // between cells
        {100 + 20 + 72 * 3, 50 + 88 + 72 * 2, 11},                      // slot 11
    };
    for (const Case& c : cases) EXPECT_EQ(machine.HitTest(c.x, c.y, 100, 50), c.hit) << c.x << "," << c.y;
    Item* held = machine.stock[1];
    machine.stock[1] = nullptr;
    EXPECT_EQ(machine.HitTest(100 + 92, 50 + 88, 100, 50), -1) << "an empty cell is no target";
    delete held;
}

TEST_F(DispenserTest, OldMachinesLoadRobbedAndTheirSlotsRoundTrip) {
    Dispenser machine(0);
    for (const SaveVersion version : {SaveVersion{1, 0, 7}, SaveVersion{1, 0, 8}}) {
        SaveWriter out;
        out.version = version;
        ASSERT_TRUE(machine.Save(out));
        std::vector<uint8_t> bytes = out.Buffer();
        if (!version.AtLeast(kSaveV1_0_8)) bytes.resize(bytes.size() - 4);
        SaveReader in(bytes);
        in.version = version;
        Dispenser back(in);
        EXPECT_FALSE(in.Failed());
        EXPECT_EQ(back.robbed, version.AtLeast(kSaveV1_0_8) ? 0 : 1);
        for (int32_t i = 0; i < Dispenser::kSlots; ++i) {
            ASSERT_NE(back.stock[i], nullptr);
            EXPECT_EQ(back.stock[i]->def, machine.stock[i]->def);
            EXPECT_EQ(back.stock[i]->count, machine.stock[i]->count);
        }
    }
}

TEST_F(DispenserTest, EachVendingTheftAbilityStealsOneItemOnce) {
    static int32_t shown = 0;
    const ShopDialogSet saved = ShopDialogs;
    ShopDialogs.steal = [](Item*) { ++shown; };
    AbilityRecord sticky;
    AbilityRecord other;
    AbilityRecord unrelated;
    for (AbilityRecord* a : {&sticky, &other, &unrelated}) {
        a->skillId = 7;
        a->level = 0;
        a->vmTheft = a != &unrelated;
    }
    hero_.skillIds[0] = 7;
    hero_.skillLevels[0] = 1;
    struct Case {
        std::vector<AbilityRecord*> abilities;
        bool empty;
        int32_t stolen;
        int32_t robbed;
    } cases[] = {
        {{&unrelated}, false, 0, 0},
        {{&sticky, &unrelated}, false, 1, 1},
        {{&sticky, &other}, false, 2, 1},
        {{&sticky, &other}, true, 0, 1},
    };
    for (const Case& c : cases) {
        AbilityList = c.abilities;
        Dispenser machine(0);
        if (c.empty) {
            for (Item*& slot : machine.stock) {
                delete slot;
                slot = nullptr;
            }
        }
        shown = 0;
        machine.TryTheft();
        int32_t left = 0;
        for (Item* item : machine.stock) left += item != nullptr ? 1 : 0;
        EXPECT_EQ(shown, c.stolen);
        EXPECT_EQ(left, c.empty ? 0 : 12 - c.stolen);
        EXPECT_EQ(machine.robbed, c.robbed);
        machine.TryTheft();
        EXPECT_EQ(shown, c.stolen) << "a robbed machine is not robbed again";
        std::set<Item*> carried;
        for (Item** place : CarriedPlaces()) {
            if (*place != nullptr) carried.insert(*place);
            *place = nullptr;
        }
        EXPECT_EQ(static_cast<int32_t>(carried.size()), c.stolen);
        for (Item* item : carried) delete item;
        InventoryGrid.Clear();
    }
    ShopDialogs = saved;
}

// The window over a headless screen: with the pointer on the first of the goods, that slot's
// tooltip is drawn over the window (its black box stands on the screen where the window is).
class DispenserWindowTest : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        if (IsSkipped()) return;
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        BuildItemLevelTables();
        CSRand(11);
        saved_ = CurrentPlayer;
        CurrentPlayer = &hero_;
    }
    void TearDown() override {
        if (!IsSkipped()) {
            CurrentPlayer = saved_;
            ClearItemDB();
        }
        MenuScreenTest::TearDown();
    }
    Player hero_;
    Player* saved_ = nullptr;
};

TEST_F(DispenserWindowTest, TheTooltipOfTheGoodsUnderThePointerIsDrawnOverTheWindow) {
    Dispenser machine(1);
    ASSERT_NE(machine.stock[0], nullptr);
    // 1280 x 720: the 320 x 320 window at (480, 200), its first slot at (500, 288), 64 x 64.
    Script("move 530 320\nwait 200\nkey escape\n");
    machine.Activate();
    EXPECT_EQ(LastTooltipTitle(), machine.TooltipOf(0).title);
    const SDL_Rect box = LastTooltipBox();
    ASSERT_GT(box.w, 0);
    // The box's corner is black on the final screen: nothing was drawn over the tooltip.
    EXPECT_EQ(MenuPixelRgb(ScreenSurface, box.x + 1, box.y + 1), 0u);
}

}  // namespace

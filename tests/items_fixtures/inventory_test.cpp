#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/tweak.h"
#include "creatures/player.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/weapon.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/ticker.h"

namespace {

const char kItems[] = R"(<itemdb>
  <item name="Sword" type="0"><weapon level="0"/><price amount="41"/></item>
  <item name="Bolts" type="6"><weapon level="0"/></item>
  <item name="Knives" type="5"><weapon level="0"/></item>
  <item name="Brew"><potion/><price amount="10"/></item>
  <item name="Ruby"><gem/><price amount="7"/></item>
  <item name="Mail"><armour type="chest"/></item>
</itemdb>)";

class InventoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText(kItems, "test items"));
        const std::string tweaks = "<tweakDB><tweak name=\"store sell price scaler\" ival=\"0\" fval=\"0.5\"/></tweakDB>";
        LoadTweakValsFromBuffer(tweaks.data(), tweaks.size());
        savedHero_ = CurrentPlayer;
        CurrentPlayer = &hero_;
        InventoryGrid.Clear();
        ClearCursorItem();
        InventoryFullReported = false;
        ClearTickerLog();
    }
    void TearDown() override {
        for (Item*& cell : InventoryGrid.cells) {
            delete cell;
            cell = nullptr;
        }
        for (Item*& slot : hero_.quickSlots) {
            delete slot;
            slot = nullptr;
        }
        delete GetCursorItem();
        ClearCursorItem();
        for (Item* item : owned_) delete item;
        CurrentPlayer = savedHero_;
        ClearItemDB();
        ClearTweakVals();
    }
    Item* Make(const char* name) {
        const ItemDef* def = FindItemDefByName(name);
        switch (def->category) {
            case kItemWeapon: return new Weapon(def);
            case kItemPotion: return new Potion(def);
            case kItemGem: return new Gem(def);
            default: return new Armour(def);
        }
    }
    static int32_t Lines(const std::string& text) {
        const std::vector<std::string> log = TickerLog();
        return static_cast<int32_t>(std::count(log.begin(), log.end(), text));
    }
    Player hero_;
    Player* savedHero_ = nullptr;
    std::vector<Item*> owned_;  // items merged away (their deletion is only queued here)
};

TEST_F(InventoryTest, BoltsAndThrowingWeaponsGoToTheBeltAndASwordToTheGrid) {
    Item* bolts = Make("Bolts");
    Item* knives = Make("Knives");
    Item* sword = Make("Sword");
    ASSERT_TRUE(AddItemToInventory(bolts, 0));
    ASSERT_TRUE(AddItemToInventory(knives, 0));
    ASSERT_TRUE(AddItemToInventory(sword, 0));
    EXPECT_EQ(hero_.quickSlots[0], bolts);
    EXPECT_EQ(hero_.quickSlots[1], knives);
    EXPECT_EQ(InventoryGrid.cells[0], sword);
    EXPECT_TRUE(sword->inBackpack);
    // A second potion joins the belt stack; with noBelt a new kind goes to the grid.
    Item* brew = Make("Brew");
    Item* more = Make("Brew");
    more->count = 2;
    ASSERT_TRUE(AddItemToInventory(brew, 1));
    EXPECT_EQ(InventoryGrid.cells[1], brew);
    ASSERT_TRUE(AddItemToInventory(more, 0));
    owned_.push_back(more);
    EXPECT_EQ(brew->count, 3);
    CancelQueuedMoves(more);
}

TEST_F(InventoryTest, AFullPackIsReportedOncePerTurn) {
    for (int32_t i = 0; i < kInventoryCells; ++i) ASSERT_TRUE(AddItemToInventory(Make("Sword"), 1));
    for (Item*& slot : hero_.quickSlots) slot = Make("Mail");
    std::unique_ptr<Item> extra(Make("Sword"));
    EXPECT_FALSE(AddItemToInventory(extra.get(), 0));
    EXPECT_FALSE(AddItemToInventory(extra.get(), 0));
    EXPECT_EQ(Lines("Your inventory is full!"), 1);
    InventoryFullReported = false;  // what every turn does
    EXPECT_FALSE(AddItemToInventory(extra.get(), 0));
    EXPECT_EQ(Lines("Your inventory is full!"), 2);
}

TEST_F(InventoryTest, SellingPaysTheScaledValueButRefusesUnpaidAndQuestGoods) {
    ASSERT_TRUE(PlaceItemInGridCell(0, 0, Make("Sword")));
    Item* unpaid = Make("Ruby");
    unpaid->unpaid = 1;
    ASSERT_TRUE(PlaceItemInGridCell(1, 0, unpaid));
    Misc* relic = new Misc(3);
    ASSERT_TRUE(PlaceItemInGridCell(2, 0, relic));
    // Cells are 34 pixels from (26, 37) in the normal interface.
    Item* sword = InventoryGrid.cells[0];
    EXPECT_TRUE(SellItem(26 + 5, 37 + 5));
    EXPECT_EQ(hero_.zorkmids, 20);  // trunc(41 * 0.5)
    EXPECT_EQ(InventoryGrid.cells[0], nullptr);
    owned_.push_back(sword);
    CancelQueuedMoves(sword);
    EXPECT_FALSE(SellItem(26 + 34 + 5, 37 + 5));
    EXPECT_FALSE(SellItem(26 + 68 + 5, 37 + 5));
    EXPECT_EQ(hero_.zorkmids, 20);
}

TEST_F(InventoryTest, SortingMergesEqualStacksButNeverUnpaidIntoPaid) {
    Item* gemA = Make("Ruby");
    Item* gemB = Make("Ruby");
    Item* unpaidGem = Make("Ruby");
    unpaidGem->unpaid = 1;
    Item* sword = Make("Sword");
    Item* brew = Make("Brew");
    ASSERT_TRUE(PlaceItemInGridCell(0, 0, gemA));
    ASSERT_TRUE(PlaceItemInGridCell(3, 1, brew));
    ASSERT_TRUE(PlaceItemInGridCell(5, 2, gemB));
    ASSERT_TRUE(PlaceItemInGridCell(7, 5, sword));
    ASSERT_TRUE(PlaceItemInGridCell(1, 4, unpaidGem));
    SortInventory();
    owned_.push_back(gemB);
    CancelQueuedMoves(gemB);
    EXPECT_EQ(InventoryGrid.cells[0], sword);  // type 1
    EXPECT_EQ(InventoryGrid.cells[1], brew);   // type 3
    EXPECT_EQ(InventoryGrid.cells[2], gemA);   // type 7, the paid stack
    EXPECT_EQ(gemA->count, 2);
    EXPECT_EQ(InventoryGrid.cells[3], unpaidGem);
    EXPECT_EQ(unpaidGem->count, 1);
    EXPECT_EQ(InventoryGrid.cells[4], nullptr);
    EXPECT_EQ(gemA->gridX, 2);
}

TEST_F(InventoryTest, GridCellsOutsideTheBackpackAreRefused) {
    std::unique_ptr<Item> item(Make("Ruby"));
    const struct {
        int32_t x, y;
    } refused[] = {{8, 0}, {-1, 1}, {0, 6}, {0, -1}};
    for (const auto& c : refused) EXPECT_FALSE(PlaceItemInGridCell(c.x, c.y, item.get())) << c.x << "," << c.y;
    Item* corner = item.release();
    ASSERT_TRUE(PlaceItemInGridCell(7, 5, corner));
    EXPECT_EQ(InventoryGrid.cells[47], corner);
    std::unique_ptr<Item> other(Make("Ruby"));
    EXPECT_FALSE(PlaceItemInGridCell(7, 5, other.get()));
}

TEST_F(InventoryTest, UnpaidGoodsAreFoundInEveryCarriedPlace) {
    std::unique_ptr<Item> item(Make("Mail"));
    item->unpaid = 1;
    Item** places[] = {&hero_.quickSlots[4], &hero_.EquippedAt(kSlotAmmunition), &hero_.EquippedAt(kSlotFirstRing),
                       &hero_.reference19};
    for (Item** place : places) {
        *place = item.get();
        EXPECT_TRUE(PlayerHasUnpaidItem());
        MarkAllItemsPaid();
        EXPECT_FALSE(PlayerHasUnpaidItem());
        item->unpaid = 1;
        *place = nullptr;
    }
    SetCursorItem(item.get());
    EXPECT_TRUE(PlayerHasUnpaidItem());
    ClearCursorItem();
    EXPECT_FALSE(PlayerHasUnpaidItem());
}

TEST_F(InventoryTest, TakingOneFromAStackKeepsItsUnpaidState) {
    Item* stack = Make("Brew");
    stack->count = 3;
    stack->unpaid = 1;
    ASSERT_TRUE(PlaceItemInGridCell(0, 0, stack));
    Item* slot = stack;
    ASSERT_TRUE(TakeOneFromStack(&slot));
    ASSERT_NE(GetCursorItem(), nullptr);
    EXPECT_EQ(GetCursorItem()->count, 1);
    EXPECT_EQ(GetCursorItem()->unpaid, 1);
    EXPECT_EQ(stack->count, 2);
    ASSERT_TRUE(TakeOneFromStack(&slot));
    EXPECT_EQ(GetCursorItem()->count, 2);
    EXPECT_EQ(stack->count, 1);
}

}  // namespace

TEST_F(InventoryTest, TakingOneOntoAHeldStackNeverMixesPaidAndUnpaid) {
    struct Case {
        int32_t heldUnpaid;
        int32_t stackUnpaid;
        bool joins;
    };
    const Case cases[] = {{0, 0, true}, {1, 1, true}, {0, 1, false}, {1, 0, false}};
    for (const Case& c : cases) {
        Item* stack = Make("Brew");
        stack->stackable = 1;
        stack->count = 3;
        stack->unpaid = c.stackUnpaid;
        ASSERT_TRUE(PlaceItemInGridCell(0, 0, stack));
        Item* held = Make("Brew");
        held->stackable = 1;
        held->count = 1;
        held->unpaid = c.heldUnpaid;
        SetCursorItem(held);
        Item* slot = stack;
        const std::string label = "held unpaid " + std::to_string(c.heldUnpaid) + ", stack unpaid " +
                                  std::to_string(c.stackUnpaid);
        EXPECT_EQ(TakeOneFromStack(&slot), c.joins) << label;
        EXPECT_EQ(held->count, c.joins ? 2 : 1) << label;
        EXPECT_EQ(stack->count, c.joins ? 2 : 3) << label;
        EXPECT_EQ(held->unpaid, c.heldUnpaid) << label;
        EXPECT_EQ(GetCursorItem(), held) << label;
        // What the hero carries still owes the shop whenever an unpaid item was involved.
        EXPECT_EQ(PlayerHasUnpaidItem(), c.heldUnpaid != 0 || c.stackUnpaid != 0) << label;
        InventoryGrid.Remove(stack);
        delete stack;
        ClearCursorItem();
        delete held;
    }
}

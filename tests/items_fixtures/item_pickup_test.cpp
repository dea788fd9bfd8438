#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <memory>
#include <string>

#include "core/shell/config.h"
#include "creatures/player.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "levels/level.h"
#include "levels/object_queue.h"

namespace {

class ItemPickupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearItemDB();
        ASSERT_TRUE(itemDBLoadText("<itemdb><item name='Ruby'><gem/></item></itemdb>", "items"));
        savedHero_ = CurrentPlayer;
        savedLevel_ = CurrentLevel;
        CurrentPlayer = &hero_;
        level_.reset(new Level(0, 0));
        level_->SetSize(10, 10);
        CurrentLevel = level_.get();
        InventoryGrid.Clear();
        ClearCursorItem();
        savedAutoClick_ = AutoClick;
        savedAutoLoot_ = AutoLoot;
        savedSwitch_ = AutoLootSwitches[3];
        SDL_SetModState(KMOD_NONE);
    }
    void TearDown() override {
        SDL_SetModState(KMOD_NONE);
        AutoClick = savedAutoClick_;
        AutoLoot = savedAutoLoot_;
        AutoLootSwitches[3] = savedSwitch_;
        for (Item*& cell : InventoryGrid.cells) {
            delete cell;
            cell = nullptr;
        }
        delete GetCursorItem();
        ClearCursorItem();
        CurrentLevel = savedLevel_;
        level_.reset();
        CurrentPlayer = savedHero_;
        ClearItemDB();
    }
    Gem* Lay(int32_t x, int32_t y) {
        Gem* gem = new Gem(FindItemDefByName("Ruby"));
        gem->PlaceOnLevel(x, y, level_.get(), 0);
        return gem;
    }
    bool OnLevel(GameObj* obj) const {
        return std::find(level_->objects.begin(), level_->objects.end(), obj) != level_->objects.end();
    }
    Player hero_;
    std::unique_ptr<Level> level_;
    Player* savedHero_ = nullptr;
    Level* savedLevel_ = nullptr;
    int32_t savedAutoClick_ = 0;
    int32_t savedAutoLoot_ = 0;
    int32_t savedSwitch_ = 0;
};

TEST_F(ItemPickupTest, ShiftClickBagsAPlainClickHoldsAndAutoClickSwapsThem) {
    const struct {
        int32_t autoClick;
        SDLMod mods;
        bool toBag;
    } cases[] = {{0, KMOD_LSHIFT, true}, {0, KMOD_NONE, false}, {1, KMOD_NONE, true}, {1, KMOD_LSHIFT, false}};
    for (const auto& c : cases) {
        AutoClick = c.autoClick;
        SDL_SetModState(c.mods);
        Gem* gem = Lay(2, 2);
        EXPECT_EQ(gem->Activate(), 1);
        EXPECT_FALSE(OnLevel(gem));
        EXPECT_EQ(gem->level, nullptr);
        if (c.toBag) {
            EXPECT_EQ(InventoryGrid.cells[0], gem);
            InventoryGrid.cells[0] = nullptr;
        } else {
            EXPECT_EQ(GetCursorItem(), gem);
            ClearCursorItem();
        }
        delete gem;
    }
}

TEST_F(ItemPickupTest, AnItemHeldOnTheCursorIsNeverReplacedByAPickUp) {
    // A plain click and an alt click both take onto the cursor: with something already held,
    // the item stays where it lies and the held one is kept (before, the held one was lost).
    for (const SDLMod mods : {KMOD_NONE, KMOD_LALT}) {
        AutoClick = 0;
        SDL_SetModState(mods);
        Gem* held = new Gem(FindItemDefByName("Ruby"));
        SetCursorItem(held);
        Gem* gem = Lay(4, 4);
        EXPECT_EQ(gem->Activate(), 0) << mods;
        EXPECT_EQ(GetCursorItem(), held) << mods;
        EXPECT_TRUE(OnLevel(gem)) << mods;
        EXPECT_EQ(gem->level, level_.get()) << mods;  // the level deletes it with itself
        ClearCursorItem();
        delete held;
    }
}

TEST_F(ItemPickupTest, AFullPackLeavesTheItemOnTheFloor) {
    for (Item*& cell : InventoryGrid.cells) cell = new Misc(0);
    for (Item*& slot : hero_.quickSlots) slot = nullptr;
    SDL_SetModState(KMOD_LSHIFT);
    Gem* gem = Lay(3, 3);
    EXPECT_EQ(gem->Activate(), 0);
    EXPECT_TRUE(OnLevel(gem));
}

TEST_F(ItemPickupTest, WalkingOverPicksUpOnlyWithAutomaticPickUp) {
    Gem* gem = Lay(4, 4);
    AutoLoot = 1;
    AutoLootSwitches[3] = 0;
    gem->PlayerEntered();
    EXPECT_EQ(InventoryGrid.cells[0], nullptr);
    AutoLootSwitches[3] = 1;
    gem->PlayerEntered();
    EXPECT_EQ(InventoryGrid.cells[0], gem);
    // The move off the level is only queued: the level still owns the gem.
    CancelQueuedMoves(gem);
    InventoryGrid.cells[0] = nullptr;
}

TEST_F(ItemPickupTest, MoneyIsCollectedAtOnce) {
    Zorkmids* gold = new Zorkmids(37);
    gold->PlaceOnLevel(5, 5, level_.get(), 0);
    AutoLoot = 0;
    gold->PlayerEntered();
    EXPECT_EQ(hero_.zorkmids, 37);
    delete gold;  // its deletion was only queued
}

}  // namespace

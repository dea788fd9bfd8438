// Which element of the play screen takes a click, in both interface sizes, and the backpack
// cell under a point.
#include "core/shell/play_input_fixture.h"

#include "creatures/ability.h"
#include "creatures/skill_db.h"
#include "interface/hud_belts.h"
#include "items_fixtures/crafting.h"

namespace {

using namespace play_input_test;

std::vector<std::string> Taken;

class ClickDispatchTest : public PlayInputTest {
protected:
    void SetUp() override {
        PlayInputTest::SetUp();
        Taken.clear();
        SetClickObserver([](const char* element) { Taken.push_back(element); });
    }
    void UseLargeInterface(bool large) {
        Layout.largeInterface = large ? 1 : 0;
        use2XUI = Layout.largeInterface;
        UpdateScreenLayout();
    }
    void TearDown() override {
        use2XUI = 0;
        PlayInputTest::TearDown();
    }
};

TEST_F(ClickDispatchTest, EachClickGoesToTheOneElementOnTopAtThatPoint) {
    auto* held = Own<CountingItem>(0);
    auto* unpaid = Own<CountingItem>(0);
    unpaid->unpaid = 1;
    struct Case {
        const char* what;
        bool large;
        int x, y;
        int mods;
        bool inventory;
        bool cursorItem;
        const char* taker;  // null: nobody
    };
    // 1280 x 720: interface origin 128, bottom bar from y 592 (large: origin -160, bar from 504;
    // the swallow area and the bag mark are measured with the normal bar in both sizes).
    const Case cases[] = {
        {"menu-bar strip", false, 138, 615, 0, false, false, "menu bar"},
        {"swallow area", false, 711, 640, 0, false, false, "swallow"},
        {"skill slot 0", false, 760, 650, 0, false, false, "skill slot"},
        {"skill slot 8", false, 754 + 8 * 36 + 2, 640, 0, false, false, "skill slot"},
        {"bag mark with an item held", false, 602, 622, 0, false, true, "bag"},
        {"bag mark with nothing held is the level", false, 602, 622, 0, false, false, "level"},
        {"inventory window", false, 800, 100, 0, true, false, "inventory"},
        {"belt slot 0", false, 267, 653, 0, false, false, "belt"},
        {"belt's right edge", false, 262 + 324, 684, 0, false, false, "belt"},
        {"minimap", false, 1200, 50, 0, false, false, "minimap"},
        {"level", false, 224, 224, 0, false, false, "level"},
        {"ctrl walks", false, PX(5), PX(5), KMOD_LCTRL, false, false, "walk"},
        {"ctrl on the inventory does not walk", false, 800, 100, KMOD_RCTRL, true, false, "inventory"},
        {"ctrl on the menu bar walks", false, 138, 615, KMOD_LCTRL, false, false, "walk"},
        {"alt on a backpack item takes one", false, 750 + 26 + 5, 20 + 37 + 5, KMOD_LALT, true, false, "take one"},
        {"large menu-bar strip", true, 0, 570, 0, false, false, "menu bar"},
        {"large skill slot 0", true, 795, 600, 0, false, false, "skill slot"},
        {"large belt slot 0", true, 10, 620, 0, false, false, "belt"},
        {"large swallow area", true, 425, 640, 0, false, false, "swallow"},
        {"large bag mark over the belt", true, 350, 650, 0, false, true, "bag"},
        {"large belt beside the bag mark", true, 350, 650, 0, false, false, "belt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseLargeInterface(c.large);
        Layout.inventoryOpen = c.inventory ? 1 : 0;
        InventoryGrid.cells[0] = c.inventory ? unpaid : nullptr;
        if (c.inventory) unpaid->gridX = unpaid->gridY = 0;
        ClearCursorItem();
        if (c.cursorItem) SetCursorItem(held);
        Taken.clear();
        SDL_SetModState(static_cast<SDLMod>(c.mods));
        HandlePlayScreenClick(c.x, c.y, false);
        SDL_SetModState(KMOD_NONE);
        if (c.taker == nullptr) {
            EXPECT_TRUE(Taken.empty());
        } else {
            ASSERT_FALSE(Taken.empty());
            EXPECT_EQ(Taken.front(), c.taker);
        }
        // The bag took the held item: keep it out of the backpack for the next case.
        InventoryGrid.Clear();
        for (Item*& slot : hero->quickSlots) slot = nullptr;
    }
    EXPECT_EQ(TurnCount, 0);
}

TEST_F(ClickDispatchTest, TheOpenCraftingPanelKeepsTheClicksOnItFromTheLevelBelow) {
    const CraftPanelState saved = CraftPanel;
    CraftPanel.open = true;
    CraftPanel.x = 100;
    CraftPanel.y = 100;
    struct Case {
        int x, y;
        const char* taker;
    };
    // A point in the middle of the panel, then one well right of it.
    for (const Case& c : {Case{300, 300, "craft panel"}, Case{224, 40, "level"}}) {
        SCOPED_TRACE(c.taker);
        Taken.clear();
        HandlePlayScreenClick(c.x, c.y, false);
        ASSERT_FALSE(Taken.empty());
        EXPECT_EQ(Taken.front(), c.taker);
        EXPECT_EQ(Taken.size(), 1u) << "nothing under the panel takes the click too";
    }
    CraftPanel = saved;
}

TEST_F(ClickDispatchTest, ShiftClickOnTheBackpackSellsOnlyOnTheFloorOfAFriendlyShop) {
    auto* item = Own<CountingItem>(0);
    item->unpaid = 1;  // refused by the sale, so the item stays ours
    InventoryGrid.cells[0] = item;
    Layout.inventoryOpen = 1;
    const int x = 750 + 26 + 5;
    const int y = 20 + 37 + 5;
    SDL_SetModState(KMOD_LSHIFT);
    level->GetCell(5, 5)->type = SquareType::ShopFloor;
    HandlePlayScreenClick(x, y, false);
    ASSERT_FALSE(Taken.empty());
    EXPECT_EQ(Taken.front(), "sell");
    Taken.clear();
    level->shopkeepersAngry = 1;
    SetCursorItem(Own<CountingItem>(0));  // an item held: no drop either
    HandlePlayScreenClick(x, y, false);
    SDL_SetModState(KMOD_NONE);
    ASSERT_FALSE(Taken.empty());
    EXPECT_NE(Taken.front(), "sell");
}

TEST_F(ClickDispatchTest, NothingHappensAtZeroHealthAndAbilityPickerTakesEverything) {
    hero->health = 0;
    HandlePlayScreenClick(224, 224, false);
    HandlePlayScreenClick(224, 224, true);
    EXPECT_TRUE(Taken.empty());
    hero->health = 5;
    Layout.abilityPickerOpen = 1;
    HandlePlayScreenClick(138, 615, false);
    EXPECT_EQ(Taken, std::vector<std::string>{"picker"});
}

TEST_F(ClickDispatchTest, WhileTheAddArrowShowsASkillSlotClickOpensThePicker) {
    const std::vector<AbilityRecord*> savedAbilities = AbilityList;
    Spell spell;
    AbilityRecord ability;
    ability.skillId = 77;
    ability.level = 0;
    ability.spell = &spell;
    struct Case {
        const char* what;
        bool large;
        bool arrow;
        bool ability;
        int x, y;
        int pickerSlot;  // -1: the picker stays shut and the slot is used
    };
    // Normal: skill slots from (754, 639), 36 apart; large: from (789, 595), 70 apart.
    const Case cases[] = {
        {"arrow shown, low in slot 3", false, true, true, 754 + 3 * 36 + 20, 639 + 20, 3},
        {"arrow shown, bottom row of slot 8", false, true, true, 754 + 8 * 36 + 2, 639 + 35, 8},
        {"arrow shown, top 12 pixels of slot 3", false, true, true, 754 + 3 * 36 + 20, 639 + 11, -1},
        {"no arrow", false, false, true, 754 + 3 * 36 + 20, 639 + 20, -1},
        {"arrow but no ability for the belt", false, true, false, 754 + 3 * 36 + 20, 639 + 20, -1},
        {"large, arrow shown, slot 2", true, true, true, 789 + 2 * 70 + 40, 595 + 40, 2},
        {"large, top 12 pixels", true, true, true, 789 + 2 * 70 + 40, 595 + 5, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseLargeInterface(c.large);
        AbilityList.clear();
        if (c.ability) AbilityList.push_back(&ability);
        hero->skillIds[0] = 77;
        hero->skillLevels[0] = 1;
        BeltArrowHovered = c.arrow;
        Layout.abilityPickerOpen = 0;
        Layout.abilityPickerSlot = -1;
        Taken.clear();
        HandlePlayScreenClick(c.x, c.y, false);
        ASSERT_FALSE(Taken.empty());
        if (c.pickerSlot >= 0) {
            EXPECT_EQ(Taken.front(), "open picker");
            EXPECT_EQ(Layout.abilityPickerOpen, 1);
            EXPECT_EQ(Layout.abilityPickerSlot, c.pickerSlot);
        } else {
            EXPECT_EQ(Taken.front(), "skill slot");
            EXPECT_EQ(Layout.abilityPickerOpen, 0);
        }
    }
    BeltArrowHovered = false;
    Layout.abilityPickerOpen = 0;
    hero->skillLevels[0] = 0;
    AbilityList = savedAbilities;
}

TEST_F(ClickDispatchTest, RightClicksUseBeltAndBackpackItemsAndSkipSquaresOffTheLevel) {
    auto* potion = Own<CountingItem>(1);
    hero->quickSlots[2] = potion;
    HandlePlayScreenClick(262 + 2 * 36 + 5, 660, true);
    EXPECT_EQ(potion->uses, 1);
    EXPECT_EQ(TurnCount, 1);
    auto* packed = Own<CountingItem>(1);
    InventoryGrid.cells[9] = packed;
    packed->gridX = 1;
    packed->gridY = 1;
    Layout.inventoryOpen = 1;
    HandlePlayScreenClick(750 + 26 + 34 + 3, 20 + 37 + 34 + 3, true);
    EXPECT_EQ(packed->uses, 1);
    EXPECT_EQ(TurnCount, 2);
    // An active item aimed off the level is not used at all.
    Layout.inventoryOpen = 0;
    auto* wand = Own<CountingItem>(1);
    ActiveItem = wand;
    Taken.clear();
    HandlePlayScreenClick(PX(14), PX(2), true);
    EXPECT_TRUE(Taken.empty());
    EXPECT_EQ(TurnCount, 2);
    ActiveItem = nullptr;
}

TEST_F(ClickDispatchTest, TheBackpackCellUnderAPointIsOnlyEverInsideTheGrid) {
    struct Case {
        const char* what;
        bool large;
        int x, y;
        bool inside;
        int column, row;
    };
    const Case cases[] = {
        {"first cell", false, 776, 57, true, 0, 0},
        {"last cell", false, 776 + 271, 57 + 203, true, 7, 5},
        {"above the first row", false, 780, 56, false, 0, 0},
        {"left of the first column", false, 775, 60, false, 0, 0},
        {"right of the grid", false, 776 + 272, 60, false, 0, 0},
        {"below the grid", false, 780, 57 + 204, false, 0, 0},
        {"large first cell", true, 795, 89, true, 0, 0},
        {"large last cell", true, 795 + 527, 89 + 395, true, 7, 5},
        {"large right of the grid", true, 795 + 528, 100, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseLargeInterface(c.large);
        int32_t column = -1;
        int32_t row = -1;
        EXPECT_EQ(InventoryCellAt(c.x, c.y, &column, &row), c.inside);
        if (c.inside) {
            EXPECT_EQ(column, c.column);
            EXPECT_EQ(row, c.row);
        }
    }
}

}  // namespace

// The HUD panels: tooltip placement, the gold and cash pile, belts and cooldown digits, the menu
// bar, the minimap, the portrait, the inventory window, the character panel and the HUD
// tooltip texts, checked through the drawing recorder and the panels' own operations.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/input_log.h"
#include "core/random.h"
#include "core/text_db.h"
#include "core/shell/click_dispatch.h"
#include "core/tweak.h"
#include "creatures/player.h"
#include "creatures/status_overlays.h"
#include "interface/char_panel.h"
#include "interface/game_frame.h"
#include "interface/hud.h"
#include "interface/hud_belts.h"
#include "interface/hud_draw.h"
#include "interface/hud_surfaces.h"
#include "interface/inventory_window.h"
#include "interface/layout.h"
#include "interface/menu_bar.h"
#include "interface/minimap.h"
#include "media/sprite.h"
#include "interface/portrait.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/weapon.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/level_test_map.h"
#include "media/tooltip.h"
#include "tests/interface/frame_test_support.h"

namespace {

// ---- tooltips ------------------------------------------------------------------------------

TEST(TooltipPlacement, OpensBesideThePointerAndFlipsAtTheEdges) {
    struct Case {
        const char* what;
        int32_t w, h, extra, mx, my;
        int32_t x, y;
    };
    // Border 4, screen 1280 x 720. The whole box is w + 6 + 8 wide from x - 4.
    const Case cases[] = {
        {"room on both sides", 160, 40, 3, 100, 100, 124, 124},
        {"right edge: the box would end at 1280 + 1", 160, 40, 3, 1087, 100, 1087 - 166 - 8, 124},
        {"right edge: the box ends exactly at the edge", 160, 40, 3, 1086, 100, 1110, 124},
        {"bottom edge flips above the pointer", 160, 40, 3, 100, 660, 124, 660 - 40 - 5},
        {"bottom edge counts the extra 5 of icon rows", 160, 40, 5, 100, 652, 124, 652 - 40 - 5},
        {"bottom edge: extra 3 still fits", 160, 40, 3, 100, 653, 124, 677},
    };
    for (const Case& c : cases) {
        const TooltipPlacement at = PlaceTooltip(c.w, c.h, c.extra, 4, c.mx, c.my, 1280, 720);
        EXPECT_EQ(at.x, c.x) << c.what;
        EXPECT_EQ(at.y, c.y) << c.what;
        // Whatever the side, the box never runs off the right edge.
        EXPECT_LE(at.x - 4 + c.w + 6 + 8, 1280) << c.what;
    }
}

TEST(TooltipPlacement, IconRowsSplitTheWidthIntoEvenColumns) {
    EXPECT_EQ(TooltipIconColumn(160, 3), 52);
    EXPECT_EQ(TooltipIconColumn(256, 6), 42);
    EXPECT_EQ(TooltipIconColumn(160, 1), 160);
    EXPECT_EQ(TooltipIconColumn(160, 0), 0);
}

// ---- the HUD on a screen -------------------------------------------------------------------

class HudPanels : public testing::Test {
protected:
    void SetUp() override {
        savedLayout_ = Layout;
        savedHud_ = Hud;
        savedPlayer_ = CurrentPlayer;
        Layout = ScreenLayoutState();
        Hud = HudSurfaces();
        UpdateScreenLayout();
        SetHudDrawRecorder(&calls_);
        ClearTweakVals();
        ASSERT_TRUE(LoadTweakValsFromBuffer(kTweaks, sizeof kTweaks - 1));
    }
    void TearDown() override {
        SetHudDrawRecorder(nullptr);
        ClearCursorItem();
        InventoryGrid.Clear();
        ActiveItem = nullptr;
        if (ownHero_) {
            for (Item*& slot : ownHero_->quickSlots) slot = nullptr;
            for (Item*& slot : ownHero_->equipSlots) slot = nullptr;
        }
        ownHero_.reset();
        level_.reset();
        Hud = savedHud_;
        Layout = savedLayout_;
        CurrentPlayer = savedPlayer_;
        ClearTweakVals();
        ResetInputLog();
    }
    void UseLarge(bool large) {
        Layout.largeInterface = large ? 1 : 0;
        UpdateScreenLayout();
    }
    void UseScreen(int w, int h) {
        screen_.reset();  // the old screen hands ScreenSurface back before the new one takes it
        screen_.reset(new GuardedScreen(w, h));
        UpdateScreenLayout();
    }
    Player* MakeHero() {
        ownHero_.reset(new Player());
        CurrentPlayer = ownHero_.get();
        return ownHero_.get();
    }
    void MovePointer(int x, int y) {
        ASSERT_TRUE(OpenInputScriptText("move " + std::to_string(x) + " " + std::to_string(y) + "\n"));
        SDL_Event e;
        while (LoggedPollEvent(&e)) {
        }
    }
    const HudDrawCall* Find(const std::string& what) const {
        for (const HudDrawCall& call : calls_) {
            if (call.what == what) return &call;
        }
        return nullptr;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const HudDrawCall& call : calls_) names.push_back(call.what);
        return names;
    }

    static constexpr char kTweaks[] = R"(<tweakDB>
  <tweak name="hpregenturns" ival="10"/>
  <tweak name="spregenturns" ival="8"/>
  <tweak name="tooltip border size" ival="4"/>
</tweakDB>)";

    std::unique_ptr<GuardedScreen> screen_{new GuardedScreen(1280, 720)};
    std::vector<HudDrawCall> calls_;
    ScreenLayoutState savedLayout_;
    HudSurfaces savedHud_;
    Player* savedPlayer_ = nullptr;
    std::unique_ptr<Player> ownHero_;
    std::unique_ptr<ScopedTestLevel> level_;
};

TEST_F(HudPanels, GoldAndCashPileFollowTheAmountAndTheInterfaceSize) {
    struct Case {
        int32_t gold;
        const char* pile;  // null: no pile
    };
    const Case cases[] = {{0, nullptr},           {99, "cash1_noscale"},  {100, "cash2_noscale"},
                          {499, "cash2_noscale"}, {500, "cash3_noscale"}, {3999, "cash5_noscale"},
                          {4000, "cash6_noscale"}, {123456, "cash6_noscale"}};
    for (bool large : {false, true}) {
        UseLarge(large);
        const int32_t top = BottomBarTop();
        for (const Case& c : cases) {
            calls_.clear();
            DrawGoldAndCash(c.gold);
            const HudDrawCall* number = Find("\"" + std::to_string(c.gold) + "\"");
            ASSERT_NE(number, nullptr) << c.gold;
            EXPECT_EQ(number->x, Layout.interfaceX + (large ? 65 : 83));
            EXPECT_EQ(number->y, top + (large ? 141 : 61));
            ASSERT_EQ(calls_.size(), c.pile == nullptr ? 1u : 2u) << c.gold;
            if (c.pile == nullptr) continue;
            std::string want = c.pile;
            if (large) want.replace(want.find("_noscale"), 8, "_scale");
            EXPECT_EQ(calls_[1].what, want) << c.gold;
            EXPECT_EQ(calls_[1].x, Layout.interfaceX + (large ? 33 : 6));
            EXPECT_EQ(calls_[1].y, top + (large ? 71 : 56));
        }
    }
}

TEST_F(HudPanels, RectanglesAndSlotsAtBothScreenSizesAndInterfaceSizes) {
    struct Case {
        int w, h;
        bool large;
    };
    for (const Case& c : {Case{1280, 720, false}, Case{1024, 768, false}, Case{1280, 720, true},
                          Case{1024, 768, true}}) {
        UseScreen(c.w, c.h);
        UseLarge(c.large);
        const int32_t ox = c.w / 2 - (c.large ? 800 : 512);
        const int32_t top = BottomBarTop();
        const SDL_Rect portrait = GetPortraitRect();
        EXPECT_EQ(portrait.x, ox + (c.large ? 752 : 464));
        EXPECT_EQ(portrait.y, top + (c.large ? 100 : 20));
        for (int32_t i : {0, 8}) {
            const HudPoint item = BeltSlotOrigin(false, i);
            EXPECT_EQ(item.x, ox + (c.large ? 133 + 68 * i : 134 + 36 * i));
            EXPECT_EQ(item.y, top + (c.large ? 104 : 56));
            const HudPoint ability = BeltSlotOrigin(true, i);
            EXPECT_EQ(ability.x, ox + (c.large ? 949 + 70 * i : 626 + 36 * i));
            EXPECT_EQ(ability.y, top + (c.large ? 91 : 47));
        }
        const HudPoint menu = MenuBarButtonOrigin(4);
        EXPECT_EQ(menu.x, ox + (c.large ? 106 : 0) + 4 * 56);
        EXPECT_EQ(menu.y, top + (c.large ? 60 : 18));
        const HudPoint cell = InventoryCellOffset(7, 5);
        EXPECT_EQ(cell.x, c.large ? 45 + 66 * 7 : 26 + 34 * 7);
        EXPECT_EQ(cell.y, c.large ? 69 + 66 * 5 : 37 + 34 * 5);
        const SDL_Rect sort = InventorySortRect();
        EXPECT_EQ(sort.x, c.large ? 387 : 205);
        EXPECT_EQ(sort.w, c.large ? 84 : 52);
        EXPECT_EQ(InventoryCloseOffset().x, c.large ? 578 : 298);
    }
}

TEST_F(HudPanels, CooldownDigitsSitAroundTheSlotCentre) {
    SDL_Surface* digits[10];
    for (int i = 0; i < 10; ++i) digits[i] = Hud.digits[i] = SDL_CreateRGBSurface(0, 8, 12, 32, 0, 0, 0, 0);
    struct Case {
        int32_t turns;
        std::vector<std::string> what;
        std::vector<int32_t> x;
    };
    // Slot at (100, 200): centre 118 in the small interface.
    const Case cases[] = {
        {0, {}, {}},
        {7, {"cooldown shade", "digit 7"}, {100, 114}},
        {23, {"cooldown shade", "digit 2", "digit 3"}, {100, 110, 118}},
        {150, {"cooldown shade", "digit 9", "digit 9"}, {100, 110, 118}},
    };
    for (const Case& c : cases) {
        calls_.clear();
        DrawCooldownDigits(c.turns, 100, 200);
        EXPECT_EQ(Names(), c.what) << c.turns;
        for (size_t i = 0; i < c.x.size() && i < calls_.size(); ++i) {
            EXPECT_EQ(calls_[i].x, c.x[i]) << c.turns;
            EXPECT_EQ(calls_[i].y, 200) << c.turns;
        }
    }
    UseLarge(true);
    calls_.clear();
    DrawCooldownDigits(5, 100, 200);
    ASSERT_EQ(calls_.size(), 2u);
    EXPECT_EQ(calls_[1].x, 135 - 4);
    EXPECT_EQ(calls_[1].y, 218);
    for (SDL_Surface* s : digits) SDL_FreeSurface(s);
}

TEST_F(HudPanels, MenuBarIndexKeepsItsLeftMargin) {
    const int32_t left = Layout.interfaceX;
    const int32_t top = BottomBarTop() + 18;
    struct Case {
        int32_t x, y, index;
    };
    const Case cases[] = {
        {left, top, 0},          {left + 55, top + 24, 0},  {left + 56, top + 10, 1},
        {left + 279, top, 4},    {left + 280, top, -1},     {left - 55, top, 0},
        {left - 56, top, -1},    {left + 10, top - 1, -1},  {left + 10, top + 25, -1},
        {-1, top, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MenuBarIndexAt(c.x, c.y), c.index) << c.x - left << ", " << c.y - top;
        MenuBarHover = false;
        CheckMenuBarHover(c.x, c.y);
        EXPECT_EQ(MenuBarHover, c.index >= 0);
    }
    MenuBarHover = false;
}

// An item that fits the ring slots, writing down its equip calls.
class TestRing : public Item {
public:
    TestRing(std::vector<std::string>* log, const char* name) : log_(log), name_(name) { type = 3; }
    bool FitsEquipSlot(int32_t slot) override { return slot == 3 || slot == 4; }
    void OnEquip(int32_t slot) override { log_->push_back(name_ + " on " + std::to_string(slot)); }
    void OnUnequip(int32_t slot) override { log_->push_back(name_ + " off " + std::to_string(slot)); }

private:
    std::vector<std::string>* log_;
    std::string name_;
};

TEST_F(HudPanels, ARingDroppedOnThePanelFillsTheRingSlotsAndSwaps) {
    Player* hero = MakeHero();
    std::vector<std::string> log;
    TestRing first(&log, "first"), second(&log, "second"), third(&log, "third");
    // Dropped away from every slot: the first ring slot that takes it.
    SetCursorItem(&first);
    HandleCharPanelClick(20, 20);
    EXPECT_EQ(hero->EquippedAt(3), &first);
    EXPECT_EQ(GetCursorItem(), nullptr);
    // Slot 3 is taken, but the search takes the first fitting slot again: the old ring comes
    // to the cursor, taken off before the new one goes on.
    SetCursorItem(&second);
    HandleCharPanelClick(20, 20);
    EXPECT_EQ(hero->EquippedAt(3), &second);
    EXPECT_EQ(GetCursorItem(), &first);
    // Dropped on slot 4's square: it goes there.
    SetCursorItem(&third);
    const HudPoint slot4 = CharPanelSlotOffset(4);
    HandleCharPanelClick(slot4.x + 5, slot4.y + 5);
    EXPECT_EQ(hero->EquippedAt(4), &third);
    EXPECT_EQ(GetCursorItem(), nullptr);
    const std::vector<std::string> want = {"first on 3", "first off 3", "second on 3", "third on 4"};
    EXPECT_EQ(log, want);
    // An empty cursor on a full slot takes the ring off.
    HandleCharPanelClick(slot4.x + 32, slot4.y + 32);
    EXPECT_EQ(GetCursorItem(), &third);
    EXPECT_EQ(hero->EquippedAt(4), nullptr);
    EXPECT_EQ(log.back(), "third off 4");
    // An empty slot with an empty cursor does nothing.
    ClearCursorItem();
    EXPECT_FALSE(EquipSlotClick(slot4.x, slot4.y, slot4.x, slot4.y, hero->EquippedAt(4), 4));
}

TEST_F(HudPanels, ResistancesSwitchToTwoColumnsFromTheNinth) {
    Player* hero = MakeHero();
    for (int32_t t = 0; t < 8; ++t) hero->resistance[t] = 5;
    EXPECT_EQ(CharPanelResistanceCount(), 8);
    calls_.clear();
    DrawCharPanel(100, 100);
    EXPECT_EQ(Find("panel extended resistances"), nullptr);
    ASSERT_NE(Find("resistance 7"), nullptr);
    EXPECT_EQ(Find("resistance 7")->x, 100 + 53);
    EXPECT_EQ(Find("resistance 7")->y, 100 + 54 + 18 * 7);

    hero->resistance[12] = -3;
    calls_.clear();
    DrawCharPanel(100, 100);
    EXPECT_NE(Find("panel extended resistances"), nullptr);
    ASSERT_NE(Find("resistance 12"), nullptr);
    EXPECT_EQ(Find("resistance 12")->x, 100 + 33 + 32);
    EXPECT_EQ(Find("resistance 12")->y, 100 + 56);
    EXPECT_EQ(Find("resistance 0")->x, 100 + 33);
}

TEST_F(HudPanels, DamageRowsCountTheWeaponsInBothHands) {
    Player* hero = MakeHero();
    ItemDef sword, dagger;
    Weapon first(&sword), second(&dagger);
    first.damage[1] = 6;   // slashing
    second.damage[3] = 4;  // piercing
    second.damage[1] = 2;
    hero->damageBonus[6] = 3;  // voltaic
    struct Case {
        const char* what;
        Weapon* firstHand;
        Weapon* secondHand;
        int32_t slashing, piercing, rows;
    };
    const Case cases[] = {
        {"bare hands", nullptr, nullptr, 0, 0, 1},
        {"first hand only", &first, nullptr, 6, 0, 2},
        {"second hand only", nullptr, &second, 2, 4, 3},
        {"both hands", &first, &second, 8, 4, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hero->firstHandWeapon = c.firstHand;
        hero->secondHandWeapon = c.secondHand;
        EXPECT_EQ(CharPanelDamage(1), c.slashing);
        EXPECT_EQ(CharPanelDamage(3), c.piercing);
        EXPECT_EQ(CharPanelDamage(6), 3);
        EXPECT_EQ(CharPanelDamageCount(), c.rows);
    }
    hero->firstHandWeapon = hero->secondHandWeapon = nullptr;
}

TEST_F(HudPanels, HelpMarksAreDrawnWhereTheClickLooksForThem) {
    MakeHero();
    const char text[] = R"(<textdb>
  <questionblock panel="equip" name="resistances" x="-60" y="-52" w="14" h="14" text="Resist."/>
  <questionblock panel="equip" name="damage" x="-60" y="148" w="14" h="14" text="Damage."/>
</textdb>)";
    ClearTextDB();
    ASSERT_TRUE(LoadTextDBFromBuffer(text, sizeof text - 1, "test text"));
    calls_.clear();
    DrawCharPanel(100, 100);
    // The click handler looks at (entry x + 100, entry y + 100) from the panel's corner.
    ASSERT_NE(Find("help mark resistances"), nullptr);
    EXPECT_EQ(Find("help mark resistances")->x, 100 + 40);
    EXPECT_EQ(Find("help mark resistances")->y, 100 + 48);
    ASSERT_NE(Find("help mark damage"), nullptr);
    EXPECT_EQ(Find("help mark damage")->y, 100 + 248);
    ClearTextDB();
}

TEST_F(HudPanels, TheInventoryButtonPutsTheCursorItemIntoThePack) {
    MakeHero();
    Item carried;
    carried.type = 6;
    SetCursorItem(&carried);
    const HudPoint button = MenuBarButtonOrigin(2);
    HandleMenuBarClick(button.x + 10, button.y + 10);
    EXPECT_EQ(GetCursorItem(), nullptr);
    EXPECT_EQ(Layout.inventoryOpen, 0);
    // Without a cursor item the button toggles the window.
    HandleMenuBarClick(button.x + 10, button.y + 10);
    EXPECT_EQ(Layout.inventoryOpen, 1);
    HandleMenuBarClick(button.x + 10, button.y + 10);
    EXPECT_EQ(Layout.inventoryOpen, 0);
    // And the character button the panel.
    const HudPoint character = MenuBarButtonOrigin(1);
    HandleMenuBarClick(character.x, character.y);
    EXPECT_EQ(Layout.equipmentOpen, 1);
    InventoryGrid.Remove(&carried);
    for (Item*& slot : CurrentPlayer->quickSlots) {
        if (slot == &carried) slot = nullptr;
    }
}

TEST_F(HudPanels, EveryCloseCrossOfThePlayScreenClosesItsWindowWhereItIsDrawn) {
    Player* hero = MakeHero();
    hero->health = 10;
    struct Window {
        const char* what;
        bool large;
        int32_t* open;
        bool (*draw)();
    };
    const Window windows[] = {
        {"character panel", false, &Layout.equipmentOpen, [] { DrawCharPanel(Layout.equipmentX, Layout.equipmentY); return true; }},
        {"inventory window", false, &Layout.inventoryOpen, [] { return DrawInventoryWindow(); }},
        {"large inventory window", true, &Layout.inventoryOpen, [] { return DrawInventoryWindow(); }},
    };
    for (const Window& w : windows) {
        SCOPED_TRACE(w.what);
        UseLarge(w.large);
        Layout.inventoryX = 700;
        Layout.inventoryY = 40;
        *w.open = 1;
        calls_.clear();
        w.draw();
        const HudDrawCall* cross = Find("close cross");
        ASSERT_NE(cross, nullptr);
        // Every point of the 20 x 20 cross closes the window.
        const HudPoint points[] = {{1, 1}, {10, 10}, {18, 1}, {1, 18}, {18, 18}};
        for (const HudPoint& p : points) {
            *w.open = 1;
            HandlePlayScreenClick(cross->x + p.x, cross->y + p.y, false);
            EXPECT_EQ(*w.open, 0) << "click at " << cross->x + p.x << ", " << cross->y + p.y;
        }
    }
}

TEST_F(HudPanels, TheAddArrowShowsOverAnAbilitySlotFromTheSecondFrameOnlyOverTheBelt) {
    MakeHero();
    // 1280 x 720: ability slot i from (754 + 36 i, 639), 36 x 36; the arrow 21 pixels in.
    struct Case {
        const char* what;
        int x, y;
        int slot;  // -1: no arrow
    };
    const Case cases[] = {
        {"slot 0", 760, 645, 0},
        {"slot 8, bottom edge", 754 + 8 * 36 + 3, 639 + 36, 8},
        {"one pixel left of the belt", 753, 645, -1},
        {"35 pixels left of the belt", 719, 645, -1},
        {"right of slot 8", 754 + 9 * 36 + 1, 645, -1},
        {"above the row", 760, 638, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BeltHoverSlot = -1;
        MovePointer(c.x, c.y);
        calls_.clear();
        DrawBelts();
        EXPECT_EQ(Find("belt arrow"), nullptr) << "not in the first frame over a slot";
        calls_.clear();
        DrawBelts();
        const HudDrawCall* arrow = Find("belt arrow");
        if (c.slot < 0) {
            EXPECT_EQ(arrow, nullptr);
            EXPECT_EQ(BeltHoverSlot, -1);
        } else {
            ASSERT_NE(arrow, nullptr);
            EXPECT_EQ(arrow->x, 754 + 36 * c.slot + 21);
            EXPECT_EQ(arrow->y, 639 + 21);
        }
    }
    BeltHoverSlot = -1;
}

TEST_F(HudPanels, InventoryHasItemLooksInThePackAndOnTheBelt) {
    Player* hero = MakeHero();
    ItemDef herb, stone;
    Item onBelt(&herb);
    EXPECT_FALSE(InventoryHasItem(&herb));
    hero->quickSlots[4] = &onBelt;
    EXPECT_TRUE(InventoryHasItem(&herb));
    EXPECT_FALSE(InventoryHasItem(&stone));
    EXPECT_FALSE(InventoryHasItem(nullptr));
    Item inPack(&stone);
    InventoryGrid.cells[47] = &inPack;
    EXPECT_TRUE(InventoryHasItem(&stone));
}

TEST_F(HudPanels, ClosedInventoryWindowDrawsNothingAndAllowsTooltips) {
    Layout.inventoryOpen = 0;
    calls_.clear();
    EXPECT_TRUE(DrawInventoryWindow());
    EXPECT_TRUE(calls_.empty());
    Layout.inventoryOpen = 1;
    EXPECT_TRUE(DrawInventoryWindow());
    ASSERT_FALSE(calls_.empty());
    EXPECT_EQ(calls_[0].what, "inventory background");
    EXPECT_EQ(calls_[0].x, 750);
    EXPECT_EQ(calls_[0].y, 20);
    ASSERT_NE(Find("close button"), nullptr);
    EXPECT_EQ(Find("close button")->x, 750 + 298);
}

TEST_F(HudPanels, RecipeBookArtIsTheFortyOnePicturesInOrder) {
    const std::vector<std::string> files = RecipeBookArtFiles();
    ASSERT_EQ(files.size(), 41u);
    EXPECT_EQ(files[0], "ui/icons/icon_check.png");
    EXPECT_EQ(files[10], "ui/crafting/recipes_layoutbut_list1.png");
    EXPECT_EQ(files[11], "ui/gameplay/skilltome_arrowbutton_up0.png");
    EXPECT_EQ(files[18], "ui/gameplay/skilltome_arrowbutton_down3.png");
    EXPECT_EQ(files[19], "ui/crafting/recipes_tools_alchemy_kit0.png");
    EXPECT_EQ(files[32], "ui/crafting/recipes_tools_n-dimensional_lathe1.png");
    EXPECT_EQ(files[33], "ui/crafting/recipes_1ingredient_widget.png");
    EXPECT_EQ(files[40], "ui/crafting/recipes_4ingredient_widget_highlight.png");
}

TEST_F(HudPanels, HudTooltipTexts) {
    Player* hero = MakeHero();
    for (int32_t k = 0; k < kBuildSkillCount; ++k) hero->skillIds[k] = 100 + k;
    hero->stat[kStatLifeRegen] = 0;
    EXPECT_EQ(LifeTooltipText(), "You gain one point of life every 10 rounds.");
    // A vampire at level 0 regenerates as usual; from level 1 it does not.
    hero->skillIds[2] = 13;
    hero->skillLevels[2] = 0;
    EXPECT_EQ(LifeTooltipText(), "You gain one point of life every 10 rounds.");
    hero->skillLevels[2] = 1;
    EXPECT_EQ(LifeTooltipText(), "You gain no health because you are a vampire. Go eat some people or something.");
    hero->skillIds[2] = 102;
    hero->stat[kStatLifeRegen] = 5;
    EXPECT_EQ(LifeTooltipText(), "You gain one point of life every 5 rounds.");
    hero->stat[kStatLifeRegen] = 9;
    EXPECT_EQ(LifeTooltipText(), "You gain one point of life every round.");
    hero->stat[kStatManaRegen] = 7;
    EXPECT_EQ(ManaTooltipText(), "You gain one point of mana every round.");

    EXPECT_EQ(PortraitTooltipText(50, 100, "Testa"), "It's-a me, Testa!");
    EXPECT_EQ(PortraitTooltipText(49, 100, "Testa"), "You've felt better.");
    EXPECT_EQ(PortraitTooltipText(25, 100, "Testa"), "You've felt better.");
    EXPECT_EQ(PortraitTooltipText(24, 100, "Testa"), "Oh boy, this is gonna hurt, isn't it?");
}

// ---- minimap -------------------------------------------------------------------------------

TEST_F(HudPanels, MinimapWritesTheSquareColoursOfSeenSquares) {
    level_.reset(new ScopedTestLevel(4, 2, SquareType::Floor));
    Level& level = *level_->get();
    const uint8_t kinds[4] = {SquareType::Floor, SquareType::Wall, SquareType::ShopFloor, SquareType::ZooFloor};
    for (int32_t x = 0; x < 4; ++x) {
        level.GetCell(x, 0)->type = kinds[x];
        level.GetCell(x, 0)->flags = x % 2 == 0 ? SquareFlag::Explored : SquareFlag::Mapped;
        level.GetCell(x, 1)->type = kinds[x];  // never seen
    }
    level.GetCell(0, 1)->type = SquareType::StairsDown;
    level.GetCell(0, 1)->flags = SquareFlag::Explored;
    for (int32_t c = 1; c <= 4; ++c) {
        std::vector<uint8_t> pixels(static_cast<size_t>(100 * c) * 100 * c, 9);
        BuildMinimapPixels(level, c, pixels.data(), 100 * c);
        const uint8_t want[4] = {2, 4, 5, 3};
        for (int32_t x = 0; x < 4; ++x) {
            EXPECT_EQ(pixels[static_cast<size_t>(c * x)], want[x]) << c;
            EXPECT_EQ(pixels[static_cast<size_t>((c - 1) * 100 * c + c * x + c - 1)], want[x]) << c;
            EXPECT_EQ(pixels[static_cast<size_t>(c * 100 * c + c * x)], 0) << "unseen or staircase " << c;
        }
        EXPECT_EQ(pixels.back(), 0);
    }
}

TEST_F(HudPanels, MinimapOfALevelLargerThanItsSurfaceStaysInBounds) {
    level_.reset(new ScopedTestLevel(120, 120, SquareType::Wall));
    for (LevelCell& cell : level_->get()->squares) cell.flags = SquareFlag::Explored;
    for (int32_t c = 1; c <= 4; ++c) {
        // Exactly the surface's bytes: the sanitizer catches a write past them.
        std::vector<uint8_t> pixels(static_cast<size_t>(100 * c) * 100 * c);
        BuildMinimapPixels(*level_->get(), c, pixels.data(), 100 * c);
        EXPECT_EQ(pixels.back(), 4);
    }
    // Drawn whole with a hero far outside the map's squares.
    Player* hero = new Player();
    hero->PlaceOnLevel(110, 110, level_->get(), 0);
    CurrentPlayer = hero;
    Layout.minimapSize = 3;
    DrawMinimap();
    EXPECT_EQ(screen_->DamagedGuards(), 0u);
    FreeMinimap();
}

TEST_F(HudPanels, MinimapIconPointsAndButtonHover) {
    struct Case {
        int32_t size, x, y, px, py;
    };
    const Case cases[] = {
        {0, 0, 0, 1280 - 107, 3},    {0, 10, 20, 1280 - 97, 23},  {1, 10, 20, 1280 - 189, 41},
        {2, 10, 20, 1280 - 279, 61}, {3, 10, 20, 1280 - 373, 77}, {3, 0, 0, 1280 - 413, -3},
    };
    for (const Case& c : cases) {
        const HudPoint p = MinimapIconPoint(c.size, c.x, c.y, 1280);
        EXPECT_EQ(p.x, c.px) << c.size;
        EXPECT_EQ(p.y, c.py) << c.size;
    }
    EXPECT_TRUE(MinimapEnlargeHover(1280 - 20, 14, 1280));
    EXPECT_FALSE(MinimapEnlargeHover(1280 - 20, 15, 1280));
    EXPECT_TRUE(MinimapShrinkHover(1280, 0, 1280));
    EXPECT_TRUE(MinimapEnlargeHover(1280 - 14, 0, 1280) && MinimapShrinkHover(1280 - 14, 0, 1280));
}

TEST_F(HudPanels, MinimapDrawsLevelNumberRoomNameAndZooCount) {
    level_.reset(new ScopedTestLevel(10, 10, SquareType::Floor));
    Level& level = *level_->get();
    level.depth = 0;
    level.roomNames = {"Hall of Mops"};
    level.GetCell(3, 4)->room = 0;
    level.GetCell(5, 5)->room = 7;  // no such room: no name
    Player* hero = new Player();
    hero->PlaceOnLevel(3, 4, &level, 0);
    CurrentPlayer = hero;
    Layout.minimapSize = 1;
    calls_.clear();
    DrawMinimap();
    ASSERT_NE(Find("\"LEVEL 1\""), nullptr);
    EXPECT_EQ(Find("\"LEVEL 1\"")->x, 1280 - 200 - 4);
    EXPECT_EQ(Find("minimap hero")->x, 1280 - 209 + 6);
    EXPECT_EQ(Find("minimap background")->x, 1280 - 210);
    // The room name needs the font to be measured; without it nothing is written, with it
    // the line sits at 100 c + 16.
    for (const HudDrawCall& call : calls_) {
        if (call.what == "\"Hall of Mops\"") {
            EXPECT_EQ(call.y, 216);
        }
        EXPECT_EQ(call.what.find("monsters left in zoo"), std::string::npos);
    }
    hero->zooMonsterCount = 3;
    hero->x = 5;
    hero->y = 5;
    calls_.clear();
    DrawMinimap();
    ASSERT_NE(Find("\"3 monsters left in zoo\""), nullptr);
    EXPECT_EQ(Find("\"3 monsters left in zoo\"")->y, 234);
    FreeMinimap();
}

// The hero's and the monsters' marks point into the sprite table. A level change frees only
// the level's own sprites and the marks stay; once the table has been emptied they are
// dropped, not drawn from freed memory.
TEST_F(HudPanels, MinimapMarksOutliveALevelChangeAndAreDroppedWithTheSpriteTable) {
    level_.reset(new ScopedTestLevel(10, 10, SquareType::Floor));
    Player* hero = MakeHero();
    hero->PlaceOnLevel(3, 4, level_->get(), 0);
    Sprite* mark = new Sprite();
    mark->InitFromSurface(SDL_CreateRGBSurface(SDL_SWSURFACE, 5, 5, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0));
    ASSERT_TRUE(SpriteMgr_Add("minimap_player_0", mark));
    testing::internal::CaptureStdout();
    LoadMinimapIcons();
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(MinimapHeroMarks.male[0], mark);
    Layout.minimapSize = 0;
    DrawMinimap();
    Sprite* levelSprite = new Sprite();
    levelSprite->InitFromSurface(SDL_CreateRGBSurface(SDL_SWSURFACE, 5, 5, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0));
    levelSprite->transient = true;
    ASSERT_TRUE(SpriteMgr_Add("a level's own sprite", levelSprite));
    SpriteMgr_FreeTransient();  // as a level change does
    DrawMinimap();
    EXPECT_EQ(MinimapHeroMarks.male[0], mark);
    EXPECT_EQ(MinimapIcon(11, 0), mark);
    SpriteMgr_FreeAll();
    DrawMinimap();  // would draw the freed mark
    EXPECT_EQ(MinimapHeroMarks.male[0], nullptr);
    EXPECT_EQ(MinimapIcon(11, 0), nullptr);
    FreeMinimap();
}

// ---- portrait ------------------------------------------------------------------------------

TEST_F(HudPanels, PortraitTierByHealth) {
    struct Case {
        int32_t health, max, tier;
    };
    const Case cases[] = {{100, 100, 0}, {51, 100, 0}, {50, 100, 2}, {26, 100, 2},
                          {25, 100, 3},  {0, 100, 3},  {-5, 100, 3}, {5, 0, 3}};
    for (const Case& c : cases) EXPECT_EQ(PortraitTier(c.health, c.max), c.tier) << c.health << "/" << c.max;
}

TEST_F(HudPanels, PortraitWincesForASecondThenStaresAndShowsClosedEyesWhenDead) {
    SetFixedFrameTime(10);
    Player* hero = MakeHero();
    hero->stat[kStatLife] = 100;
    hero->health = 50;
    hero->female = 1;
    SetPortraitExpression(kPortraitOw);
    const int64_t start = PortraitStartMs;
    calls_.clear();
    DrawPortrait();
    ASSERT_NE(Find("portrait f ow 50"), nullptr);
    EXPECT_EQ(Find("portrait f ow 50")->x, GetPortraitRect().x);
    // Still wincing at 1000 ms after the hit; staring once more than a second has passed.
    AdvanceFakeClock(static_cast<Uint32>(start + 1000 - static_cast<int64_t>(LoggedGetTicks())));
    DrawPortrait();
    EXPECT_EQ(PortraitExpression, kPortraitOw);
    AdvanceFakeClock(1);
    DrawPortrait();
    EXPECT_EQ(PortraitExpression, kPortraitStare);

    hero->dead = 1;
    hero->health = 100;
    calls_.clear();
    DrawPortrait();
    EXPECT_EQ(Names().back(), "portrait closed eyes");
    SetFixedFrameTime(0);
    PortraitExpression = kPortraitStare;
    PortraitStartMs = -1;
}

TEST_F(HudPanels, TheIdleCycleFollowsTheSeedAndItsRules) {
    SetFixedFrameTime(10);
    Player* hero = MakeHero();
    hero->stat[kStatLife] = 100;
    hero->health = 100;
    // 400 steps of the idle cycle, each drawn just over a second after the step before (a
    // blink's step comes half a second sooner), from a seeded game generator.
    auto run = [&](uint32_t seed) {
        MTSeed(seed);
        PortraitExpression = kPortraitStare;
        PortraitStartMs = static_cast<int64_t>(LoggedGetTicks());
        std::vector<int32_t> sequence;
        for (int i = 0; i < 400; ++i) {
            const int64_t due = PortraitStartMs + 1001 - static_cast<int64_t>(LoggedGetTicks());
            if (due > 0) AdvanceFakeClock(static_cast<Uint32>(due));
            const int32_t before = PortraitExpression;
            DrawPortrait();
            if (PortraitExpression == kPortraitBlink && before != kPortraitBlink) {
                EXPECT_EQ(PortraitStartMs, static_cast<int64_t>(LoggedGetTicks()) - 500) << i;
            }
            sequence.push_back(PortraitExpression);
        }
        return sequence;
    };
    const std::vector<int32_t> first = run(20261211);
    EXPECT_EQ(run(20261211), first) << "the same seed gives the same faces";
    EXPECT_NE(run(7), first);
    int32_t seen[kPortraitExpressionCount] = {};
    int32_t previous = kPortraitStare;
    for (size_t i = 0; i < first.size(); ++i) {
        const int32_t e = first[i];
        ++seen[e];
        // Where each face may lead.
        switch (previous) {
            case kPortraitStare:
                EXPECT_TRUE(e == kPortraitStare || e == kPortraitBlink || e == kPortraitLookLeft || e == kPortraitLookRight) << i;
                break;
            case kPortraitLookLeft:
                EXPECT_TRUE(e == kPortraitLookRight || e == kPortraitStare) << i;
                break;
            case kPortraitLookRight:
                EXPECT_TRUE(e == kPortraitLookLeft || e == kPortraitStare) << i;
                break;
            default:
                EXPECT_EQ(e, kPortraitStare) << i;
                break;
        }
        previous = e;
    }
    // Staring most of the time, with every idle face among 400 steps and none of the others.
    EXPECT_GT(seen[kPortraitStare], 200);
    for (int32_t e : {kPortraitBlink, kPortraitLookLeft, kPortraitLookRight}) EXPECT_GT(seen[e], 0) << e;
    for (int32_t e : {kPortraitGrin, kPortraitOoo, kPortraitOw, kPortraitSad}) EXPECT_EQ(seen[e], 0) << e;
    SetFixedFrameTime(0);
    PortraitExpression = kPortraitStare;
    PortraitStartMs = -1;
}

TEST_F(HudPanels, TheLongerExpressionsStartASecondLater) {
    SetFixedFrameTime(10);
    for (int32_t e : {kPortraitGrin, kPortraitOoo, kPortraitSad}) {
        SetPortraitExpression(e);
        EXPECT_EQ(PortraitStartMs, static_cast<int64_t>(LoggedGetTicks()) + 1000) << e;
    }
    SetPortraitExpression(kPortraitOw);
    EXPECT_EQ(PortraitStartMs, static_cast<int64_t>(LoggedGetTicks()));
    SetFixedFrameTime(0);
    PortraitExpression = kPortraitStare;
    PortraitStartMs = -1;
}

}  // namespace

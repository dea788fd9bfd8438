// The key-binding and auto-pickup windows: the listed bindings, the row and square hit tests,
// which keys are refused, and whole openings driven by input scripts.
#include "interface/key_binding_window.h"
#include "interface/autopickup_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/command_state.h"
#include "core/key_bindings.h"
#include "core/shell/config.h"
#include "interface/game_frame.h"
#include "interface/menu_test_fixture.h"

namespace {

SDL_keysym Key(int32_t sym, int32_t mod = 0) {
    SDL_keysym k{};
    k.sym = static_cast<SDLKey>(sym);
    k.mod = static_cast<SDLMod>(mod);
    return k;
}

// Installs the default table with the debug flags given, and puts the old table back after.
class KeyTableGuard {
public:
    explicit KeyTableGuard(uint32_t debugFlags) : flags_(CmdLine.debugFlags) {
        CmdLine.debugFlags = debugFlags;
        saved_ = InitKeyBindings();
    }
    ~KeyTableGuard() {
        KeyBindingTable = saved_;
        CmdLine.debugFlags = flags_;
    }

private:
    uint32_t flags_;
    KeyBindingMap saved_;
};

TEST(KeyBindingListTest, ListsTheConfigurableEnabledBindingsInIdentifierOrder) {
    {
        KeyTableGuard table(0);
        EXPECT_EQ(ListedKeyBindings(),
                  (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "alchemy", "grinder",
                                            "hidden_anim_speed_double", "hidden_anim_speed_halve", "ingot",
                                            "lutefisk", "smithing", "still", "tinkerer"}));
    }
    KeyTableGuard table(1);
    EXPECT_EQ(ListedKeyBindings().size(), 28u);
}

TEST(KeyBindingListTest, RowsAnswerOnlyInsideTheKeyColumnAndTheList) {
    const struct {
        const char* name;
        int32_t rx, ry, top, count, entry;
    } cases[] = {
        {"first row", 300, 79, 0, 19, 0},
        {"row edges: left and right included", 298, 90, 0, 19, 0},
        {"right edge", 399, 90, 0, 19, 0},
        {"left of the column", 297, 90, 0, 19, -1},
        {"right of the column", 400, 90, 0, 19, -1},
        {"second row", 300, 108, 0, 19, 1},
        {"scrolled", 300, 108, 5, 19, 6},
        {"last row", 300, 79 + 10 * 29, 0, 19, 10},
        {"below the last row", 300, 79 + 11 * 29, 0, 19, -1},
        {"one above the first row", 300, 78, 0, 19, -1},
        {"40 above the first row", 300, 39, 0, 19, -1},
        {"past the list's end", 300, 79 + 5 * 29, 0, 4, -1},
        {"last entry of a short list", 300, 79 + 3 * 29, 0, 4, 3},
    };
    for (const auto& c : cases) EXPECT_EQ(KeyBindingEntryAt(c.rx, c.ry, c.top, c.count), c.entry) << c.name;
}

TEST(KeyBindingListTest, ScrollLimits) {
    EXPECT_FALSE(KeyBindingsCanScrollUp(0));
    EXPECT_TRUE(KeyBindingsCanScrollUp(1));
    EXPECT_TRUE(KeyBindingsCanScrollDown(7, 19));
    EXPECT_FALSE(KeyBindingsCanScrollDown(8, 19));
    EXPECT_FALSE(KeyBindingsCanScrollDown(0, 11));
    EXPECT_FALSE(KeyBindingsCanScrollDown(0, 3));
}

TEST(KeyBindingListTest, RefusedAndAcceptedKeys) {
    KeyTableGuard table(0);
    const struct {
        const char* name;
        const char* id;
        int32_t sym, mod;
        bool accepted;
    } cases[] = {
        {"a free key", "4", 'x', 0, true},
        {"its own key", "4", ' ', 0, true},
        {"another action's key", "4", 'w', 0, false},
        {"another action's key with its modifier", "4", '1', KMOD_LALT, false},
        {"the same key with another modifier is free", "4", '1', KMOD_LCTRL, true},
        {"Enter", "4", SDLK_RETURN, 0, false},
        {"Escape", "4", SDLK_ESCAPE, 0, false},
        {"a modifier key", "4", SDLK_LSHIFT, 0, false},
        {"a lock key", "4", SDLK_CAPSLOCK, 0, false},
        {"an unknown binding", "nothing", 'x', 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyAcceptableForBinding(c.id, Key(c.sym, c.mod)), c.accepted) << c.name;
    }
}

TEST(AutoPickupSquaresTest, SquaresAreHalfOpen) {
    const struct {
        int32_t rx, ry, category;
    } cases[] = {
        {23, 50, 0},  {94, 121, 0}, {95, 80, 1},   {95, 50, 1},   {22, 80, -1}, {455, 80, -1},
        {454, 80, 5}, {23, 122, 6}, {60, 121, 0},  {60, 193, 6},  {60, 194, -1}, {455, 150, -1},
        {400, 130, 11},
    };
    for (const auto& c : cases) EXPECT_EQ(AutoPickupCategoryAt(c.rx, c.ry), c.category) << c.rx << "," << c.ry;
}

class KeyWindowTest : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        table_.reset(new KeyTableGuard(0));
        MenuBarHover = false;
        for (int32_t i = 0; i < kAutoLootCount; ++i) savedLoot_[i] = AutoLootSwitches[i];
    }
    void TearDown() override {
        table_.reset();
        for (int32_t i = 0; i < kAutoLootCount; ++i) AutoLootSwitches[i] = savedLoot_[i];
        FreeAutoPickupArt();
        MenuScreenTest::TearDown();
    }
    std::unique_ptr<KeyTableGuard> table_;
    int32_t savedLoot_[kAutoLootCount] = {};
    // The 442 x 410 key panel centred on 1280 x 720 is at (419, 155): the key column runs
    // x 717..818, row r's top is 234 + 29 r; the cross is at (811, 155).
};

TEST_F(KeyWindowTest, ClickingARowAndPressingAKeyRebindsIt) {
    const struct {
        const char* name;
        const char* input;
        int32_t key;
    } cases[] = {
        {"x binds Rest", "wait 40\nclick 1 760 360\nkey x\nwait 40\nkey escape", 'x'},
        {"w is Up's", "wait 40\nclick 1 760 360\nkey w\nwait 40\nkey escape", ' '},
        {"Return is never bound", "wait 40\nclick 1 760 360\nkey return\nwait 40\nkey escape", ' '},
        {"Escape while waiting is refused and keeps the window",
         "wait 40\nclick 1 760 360\nkey escape\nwait 40\nkey escape", ' '},
        {"a click elsewhere cancels the wait", "wait 40\nclick 1 760 360\nclick 1 500 300\nkey x\nwait 40\nkey escape",
         ' '},
        {"a click 40 above the first row waits for nothing", "wait 40\nclick 1 760 194\nkey x\nwait 40\nkey escape",
         ' '},
        {"the cross closes", "wait 40\nclick 1 760 360\nclick 1 820 165\nkey x", ' '},
    };
    for (const auto& c : cases) {
        InitKeyBindings();
        Script(c.input);
        ShowKeyBindingsScreen();
        EXPECT_EQ(GetKeyBinding(kBindRest)->key, c.key) << c.name;
        EXPECT_EQ(GetKeyBinding(kBindUp)->key, 'w') << c.name;
    }
    InitKeyBindings();
    Script("wait 40\nclick 1 760 360\nkey x\nwait 40\nkey escape");
    ShowKeyBindingsScreen();
    EXPECT_EQ(GetKeyBinding(kBindRest)->WriteConfigLine(), "<keybinding pos=\"4\" value=\"120\" mod=\"0\"/>");
}

TEST_F(KeyWindowTest, AutoPickupSquaresToggleOneCategoryPerClick) {
    // The 478 x 216 panel centred on 1280 x 720 is at (401, 252).
    for (int32_t& s : AutoLootSwitches) s = 0;
    Script("wait 40\nclick 1 496 332\nwait 40\nkey escape");
    ShowAutoPickupScreen();
    std::vector<int32_t> expected(kAutoLootCount, 0);
    expected[1] = 1;
    EXPECT_EQ(std::vector<int32_t>(AutoLootSwitches, AutoLootSwitches + kAutoLootCount), expected);
    Script("wait 40\nclick 1 496 332\nclick 1 820 410\nclick 1 867 262");
    ShowAutoPickupScreen();
    expected[1] = 0;
    expected[11] = 1;
    EXPECT_EQ(std::vector<int32_t>(AutoLootSwitches, AutoLootSwitches + kAutoLootCount), expected);
}

}  // namespace

// The key-binding table: defaults, matching by modifier group, key names, configuration
// lines and the tutorial's save-and-restore of the table.
#include <gtest/gtest.h>

#include "core/command_state.h"
#include "core/key_bindings.h"

namespace {

SDL_keysym Key(int sym, int mod = 0) {
    SDL_keysym k{};
    k.sym = static_cast<SDLKey>(sym);
    k.mod = static_cast<SDLMod>(mod);
    return k;
}

class KeyBindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        CmdLine = CommandLineState();
        InitKeyBindings();
    }
    void TearDown() override {
        CmdLine = CommandLineState();
        InitKeyBindings();
    }
};

}  // namespace

TEST_F(KeyBindingTest, DefaultTableHoldsFortySixBindings) {
    EXPECT_EQ(KeyBindingTable.size(), 46u);
    int enabled = 0, configurable = 0;
    for (const auto& e : KeyBindingTable) {
        EXPECT_EQ(e.first, e.second.id);
        ASSERT_NE(e.second.label, nullptr);
        enabled += e.second.enabled;
        configurable += e.second.configurable && e.second.enabled;
    }
    EXPECT_EQ(enabled, 37);
    EXPECT_EQ(configurable, 19);  // ten actions, seven toolkits, two speed keys

    struct Row {
        const char* id;
        const char* label;
        int key;
        int mods;
        int character;
        int configurable;
        int enabled;
    } rows[] = {
        {"0", "Up", 'w', 0, 'w', 1, 1},
        {"4", "Rest", ' ', 0, ' ', 1, 1},
        {"9", "Quests", 'q', 0, 'q', 1, 1},
        {"alchemy", "Toggle Modular Alchemy Box", '1', 0x0300, '1', 1, 1},
        {"tinkerer", "Toggle Tinkerer Parts", '7', 0x0300, '7', 1, 1},
        {"belt1", "Belt 1", '1', 0x0003, '1', 0, 1},
        {"belt9", "Belt 9", '9', 0x0003, '9', 0, 1},
        {"skill5", "Skill 5", '5', 0, '5', 0, 1},
        {"hidden_anim_speed_double", "Double Animation Speed", '=', 0, '=', 1, 1},
        {"hidden_anim_speed_halve", "Halve Animation Speed", '-', 0, '-', 1, 1},
        {"hidden_trapdoor_up", "Hidden Trapdoor Up", 'p', 0x0003, 'P', 1, 0},
        {"hidden_screenshot", "Hidden Take Screenshot", 'g', 0x00C0, 'g', 1, 0},
        {"hidden_no_ui", "Hidden 2x UI", 't', 0x00C0, 't', 1, 0},
    };
    for (const Row& r : rows) {
        const KeyBinding* b = GetKeyBinding(r.id);
        ASSERT_NE(b, nullptr) << r.id;
        EXPECT_STREQ(b->label, r.label) << r.id;
        EXPECT_EQ(b->key, r.key) << r.id;
        EXPECT_EQ(b->modifiers, r.mods) << r.id;
        EXPECT_EQ(b->character, r.character) << r.id;
        EXPECT_EQ(b->configurable, r.configurable) << r.id;
        EXPECT_EQ(b->enabled, r.enabled) << r.id;
    }
    EXPECT_EQ(GetKeyBinding("nothing"), nullptr);

    CmdLine.debugFlags = kDebugGeneral;
    InitKeyBindings();
    EXPECT_EQ(GetKeyBinding("hidden_trapdoor_up")->enabled, 1);
    EXPECT_EQ(GetKeyBinding("hidden_level")->enabled, 1);
}

TEST_F(KeyBindingTest, ModifiersMatchByGroup) {
    struct Case {
        const char* id;
        int sym;
        int mod;
        bool matches;
    } cases[] = {
        {"belt1", '1', KMOD_LSHIFT, true},
        {"skill1", '1', KMOD_LSHIFT, false},
        {"belt1", '1', KMOD_RSHIFT, true},
        {"belt1", '1', KMOD_LSHIFT | KMOD_RSHIFT, true},
        {"belt1", '1', KMOD_LCTRL, false},
        {"skill1", '1', KMOD_LCTRL, false},
        {"belt1", '1', KMOD_LSHIFT | KMOD_LCTRL, false},
        {"skill1", '1', KMOD_NONE, true},
        {"belt1", '1', KMOD_NONE, false},
        {"skill1", '1', KMOD_CAPS, true},  // caps lock is no modifier
        {"belt1", '1', KMOD_CAPS, false},
        {"skill1", '1', KMOD_NUM, true},   // nor is num lock
        {"skill1", '1', KMOD_MODE, true},
        {"belt1", '1', KMOD_RSHIFT | KMOD_NUM | KMOD_CAPS, true},
        {"alchemy", '1', KMOD_RALT, true},
        {"alchemy", '1', KMOD_LALT, true},
        {"skill1", '1', KMOD_LALT, false},
        {"0", 'w', KMOD_NONE, true},
        {"0", 'w', KMOD_LMETA, false},
        {"0", 'w', KMOD_RMETA, false},
        {"0", 's', KMOD_NONE, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyBindingMatches(c.id, Key(c.sym, c.mod)), c.matches)
            << c.id << " key " << c.sym << " mod " << c.mod;
    }

    const KeyBinding* found = FindKeyBinding(Key('1', KMOD_RSHIFT));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->id, "belt1");
    found = FindKeyBinding(Key('1', KMOD_CAPS));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->id, "skill1");
    EXPECT_EQ(FindKeyBinding(Key('1', KMOD_LCTRL)), nullptr);
    // Without debug flags the debug bindings match nothing.
    EXPECT_EQ(FindKeyBinding(Key('p', KMOD_LSHIFT)), nullptr);
    EXPECT_FALSE(KeyBindingMatchesKey("hidden_trapdoor_down", Key('p')));

    CmdLine.debugFlags = kDebugGeneral;
    InitKeyBindings();
    found = FindKeyBinding(Key('p', KMOD_LSHIFT));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->id, "hidden_trapdoor_up");
    EXPECT_TRUE(KeyBindingMatches("hidden_screenshot", Key('g', KMOD_RCTRL)));
}

TEST_F(KeyBindingTest, MatchesKeyIgnoresModifiers) {
    EXPECT_TRUE(KeyBindingMatchesKey("0", Key('w', KMOD_LSHIFT | KMOD_LCTRL)));
    EXPECT_FALSE(KeyBindingMatchesKey("0", Key('a')));
    KeyBinding disabled = *GetKeyBinding("0");
    disabled.enabled = 0;
    EXPECT_FALSE(disabled.MatchesKey(Key('w')));
    EXPECT_FALSE(disabled.Matches(Key('w')));
}

TEST_F(KeyBindingTest, KeyNames) {
    struct Case {
        int key;
        int mods;
        const char* name;
    } cases[] = {
        {'g', 0x00C0, "C-g"},
        {'p', 0x0003, "P"},
        {283, 0, "F2"},
        {296, 0, "F15"},
        {' ', 0, "SPACE"},
        {13, 0, "ENTER"},
        {8, 0, "BACKSPACE"},
        {27, 0, "ESCAPE"},
        {'g', 0x00C0 | 0x0300, "A-C-g"},
        {283, 0x0003, "S-F2"},
        {'1', 0x0300, "A-1"},
        {'x', 0x0C00, "M-x"},
        {'=', 0, "="},
        // Keys without a printable character get a name, never a control character.
        {'1', 0x0003, "S-1"},
        {273, 0, "UP"},
        {9, 0, "TAB"},
        {5000, 0, "KEY 5000"},
    };
    for (const Case& c : cases) {
        KeyBinding b("test", "Test", c.key, c.mods, static_cast<uint16_t>(c.key), true);
        EXPECT_EQ(b.GetKeyName(), c.name) << c.key << " / " << c.mods;
    }
}

TEST_F(KeyBindingTest, ConfigurationLineFormat) {
    EXPECT_EQ(GetKeyBinding("0")->WriteConfigLine(), "<keybinding pos=\"0\" value=\"119\" mod=\"0\"/>");
    EXPECT_EQ(GetKeyBinding("alchemy")->WriteConfigLine(),
              "<keybinding pos=\"alchemy\" value=\"49\" mod=\"768\"/>");
    KeyBinding fresh;
    EXPECT_EQ(fresh.key, -1);
    EXPECT_EQ(fresh.modifiers, -1);
    EXPECT_EQ(fresh.enabled, 0);
    EXPECT_EQ(fresh.configurable, 1);
    EXPECT_EQ(fresh.WriteConfigLine(), "<keybinding pos=\"\" value=\"-1\" mod=\"-1\"/>");
}

TEST_F(KeyBindingTest, ConfigurationModifiersMustBeWholeGroups) {
    struct Case {
        int32_t mod;
        bool accepted;
    };
    const Case cases[] = {
        {0, true},
        {kModGroupShift, true},
        {kModGroupCtrl, true},
        {kModGroupAlt | kModGroupShift, true},
        {kModGroupShift | kModGroupCtrl | kModGroupAlt | kModGroupMeta, true},
        {-1, false},               // every bit: would never match any key
        {KMOD_LSHIFT, false},      // half a group
        {KMOD_RCTRL | kModGroupAlt, false},
        {KMOD_NUM, false},         // not a modifier group at all
        {KMOD_CAPS | kModGroupShift, false},
        {0x10000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mod);
        InitKeyBindings();
        EXPECT_EQ(IsWholeModifierMask(c.mod), c.accepted);
        EXPECT_EQ(ApplyKeyBindingConfigLine("0", 'x', c.mod), c.accepted);
        EXPECT_EQ(ApplyKeyBindingConfigLine("made_up", 'x', c.mod), c.accepted);
        const KeyBinding* up = GetKeyBinding("0");
        if (c.accepted) {
            EXPECT_EQ(up->key, 'x');
            EXPECT_EQ(up->modifiers, c.mod);
        } else {
            // Refused: the default stays and still works.
            EXPECT_EQ(up->key, 'w');
            EXPECT_EQ(up->modifiers, 0);
            EXPECT_TRUE(up->Matches(Key('w')));
            EXPECT_EQ(GetKeyBinding("made_up"), nullptr);
        }
    }
}

TEST_F(KeyBindingTest, RebindFromEventTakesWholeGroups) {
    KeyBinding* up = GetKeyBinding("0");
    up->SetFromEvent(Key('x', KMOD_RSHIFT | KMOD_LCTRL | KMOD_CAPS));
    EXPECT_EQ(up->key, 'x');
    EXPECT_EQ(up->character, 'x');
    EXPECT_EQ(up->modifiers, kModGroupShift | kModGroupCtrl);
    EXPECT_TRUE(up->Matches(Key('x', KMOD_LSHIFT | KMOD_RCTRL)));
    up->SetFromEvent(Key(273, KMOD_RALT | KMOD_LMETA));
    EXPECT_EQ(up->modifiers, kModGroupAlt | kModGroupMeta);
    EXPECT_EQ(up->character, 17);  // the low byte of 273
}

TEST_F(KeyBindingTest, TutorialRestoresTheUsersTable) {
    ApplyKeyBindingConfigLine("0", 273, 0);
    ApplyKeyBindingConfigLine("only_in_config", 65, 0);
    const KeyBindingMap users = InitKeyBindings();
    EXPECT_EQ(GetKeyBinding("0")->key, 'w');
    EXPECT_EQ(GetKeyBinding("only_in_config"), nullptr);
    KeyBindingTable = users;
    EXPECT_EQ(GetKeyBinding("0")->key, 273);
    ASSERT_NE(GetKeyBinding("only_in_config"), nullptr);
    EXPECT_EQ(GetKeyBinding("only_in_config")->key, 65);
}

TEST_F(KeyBindingTest, DebugTraceLogsTheInstallation) {
    CmdLine.debugFlags = kDebugKeyBindings | kDebugGeneral;
    testing::internal::CaptureStdout();
    InitKeyBindings();
    ApplyKeyBindingConfigLine("0", 273, 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("Installing default keybindings...\n"
                       "Keybinding: installing default <keybinding pos=\"0\" value=\"119\" mod=\"0\"/>\n"),
              0u);
    EXPECT_NE(out.find("... DONE!\nInstalling debug keybindings...\n"), std::string::npos);
    EXPECT_NE(out.find("Keybinding: installing debug <keybinding pos=\"hidden_no_ui\" value=\"116\" "
                       "mod=\"192\"/>\n... DONE!\n"),
              std::string::npos);
    EXPECT_NE(out.find("Keybinding: reading key 273, mod 0 at position 0\n"), std::string::npos);
}

#pragma once
// The table of named key bindings. Every keyboard command of the play screen is
// looked up here by its action identifier ("0", "belt3", "hidden_level" ...), never
// by key. The defaults are installed at start-up, the configuration file overrides
// them binding by binding and the configurable ones are written back to it.
#include <SDL.h>

#include <cstdint>
#include <map>
#include <string>

// Modifier groups: the SDL 1.2 bits of the left and right key of each group.
constexpr int32_t kModGroupShift = 0x0003;
constexpr int32_t kModGroupCtrl = 0x00C0;
constexpr int32_t kModGroupAlt = 0x0300;
constexpr int32_t kModGroupMeta = 0x0C00;

// Number of bindings of the default table, and how many of them are debug actions.
constexpr int kStandardKeyBindingCount = 37;
constexpr int kDebugKeyBindingCount = 9;

struct KeyBinding {
    std::string id;               // action identifier; the table key and the "pos" in config.xml
    int32_t key = -1;             // SDL 1.2 key symbol (printable keys: their ASCII code)
    int32_t modifiers = -1;       // whole modifier groups
    const char* label = "";       // display name of the action (never null)
    uint16_t character = 0;       // the character the key stands for
    uint8_t configurable = 1;     // config lines may change it, and it is written back
    uint8_t enabled = 0;          // the binding can match at all

    KeyBinding() = default;
    KeyBinding(const char* id, const char* label, int32_t key, int32_t modifiers,
               uint16_t character, bool configurable);

    // Key only, modifiers ignored (the move keys while a move key is held).
    bool MatchesKey(const SDL_keysym& event) const;
    // Key and modifier groups.
    bool Matches(const SDL_keysym& event) const;
    // Rebinds to the key and modifier groups of an event (the key-binding screen).
    void SetFromEvent(const SDL_keysym& event);
    // Display text of the key with its modifier prefixes ("C-g", "P", "F2", "SPACE").
    std::string GetKeyName() const;
    // The configuration line, without line end:
    // <keybinding pos="ID" value="KEY" mod="MODS"/>
    std::string WriteConfigLine() const;
};

// The identifiers of the bindings the game acts on ("pos" in config.xml).
constexpr const char* kBindUp = "0";
constexpr const char* kBindDown = "1";
constexpr const char* kBindLeft = "2";
constexpr const char* kBindRight = "3";
constexpr const char* kBindRest = "4";
constexpr const char* kBindSkills = "5";
constexpr const char* kBindInventory = "6";
constexpr const char* kBindEquipment = "7";
constexpr const char* kBindMenu = "8";
constexpr const char* kBindQuests = "9";
constexpr const char* kBindAlchemy = "alchemy";
constexpr const char* kBindGrinder = "grinder";
constexpr const char* kBindIngot = "ingot";
constexpr const char* kBindLutefisk = "lutefisk";
constexpr const char* kBindSmithing = "smithing";
constexpr const char* kBindStill = "still";
constexpr const char* kBindTinkerer = "tinkerer";
constexpr const char* kBindAnimSpeedDouble = "hidden_anim_speed_double";
constexpr const char* kBindAnimSpeedHalve = "hidden_anim_speed_halve";
constexpr const char* kBindTrapdoorDown = "hidden_trapdoor_down";
constexpr const char* kBindTrapdoorUp = "hidden_trapdoor_up";
constexpr const char* kBindFillInventory = "hidden_fill_inventory";
constexpr const char* kBindRevealMap = "hidden_reveal_map";
constexpr const char* kBindLevelBoost = "hidden_level";
constexpr const char* kBindScreenshot = "hidden_screenshot";
constexpr const char* kBindWalkToCursor = "hidden_astar";
constexpr const char* kBindLargeInterface = "hidden_2x_ui";
constexpr const char* kBindNoInterface = "hidden_no_ui";
// The belt and skill-bar bindings are "belt1".."belt9" and "skill1".."skill9".

// Ordered by byte-wise comparison of the identifiers.
using KeyBindingMap = std::map<std::string, KeyBinding>;
extern KeyBindingMap KeyBindingTable;

// True when the event's key symbol is `key`.
bool KeyEventHasKey(int32_t key, const SDL_keysym& event);
// True when the event's key symbol is `key` and, for each of the groups shift, ctrl, alt
// and meta, the event holds a key of the group exactly when the mask does. Left and right
// keys of a group are the same; caps lock, num lock and mode are not modifiers.
bool KeyEventMatches(int32_t key, int32_t modifierMask, const SDL_keysym& event);

// The first binding, in identifier order, that matches the event; null when none.
KeyBinding* FindKeyBinding(const SDL_keysym& event);

// Installs the default table and returns the table as it was before (the tutorial keeps
// it and assigns it back when it ends). The debug bindings are enabled exactly when the
// command line's debug-flag word is not zero.
KeyBindingMap InitKeyBindings();

// The default bindings in table order (standard first, then debug), without touching the
// live table; the debug bindings come out disabled.
KeyBindingMap DefaultKeyBindings();

// Lookup by action identifier; null when the table holds no such binding.
KeyBinding* GetKeyBinding(const std::string& id);
// Convenience tests by identifier: false when the binding does not exist.
bool KeyBindingMatches(const char* id, const SDL_keysym& event);
bool KeyBindingMatchesKey(const char* id, const SDL_keysym& event);

// True when the mask is a combination of whole modifier groups (0 included) and nothing else.
bool IsWholeModifierMask(int32_t mask);

// Applies one "keybinding" line of the configuration file. Lines for fixed bindings (belt
// and skill keys) are ignored; an identifier the table does not hold gets a binding that
// never matches and is never written back. A key outside the SDL key range, or a modifier
// mask that is not made of whole groups, is refused with a diagnostic and the binding keeps
// what it had. Returns true when the line was applied.
bool ApplyKeyBindingConfigLine(const std::string& pos, int32_t value, int32_t mod);

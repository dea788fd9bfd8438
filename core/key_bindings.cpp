#include "core/key_bindings.h"

#include <cstdio>
#include <vector>

#include "core/command_state.h"

KeyBindingMap KeyBindingTable;

KeyBinding::KeyBinding(const char* id_, const char* label_, int32_t key_, int32_t modifiers_,
                       uint16_t character_, bool configurable_)
    : id(id_),
      key(key_),
      modifiers(modifiers_),
      label(label_ ? label_ : ""),
      character(character_),
      configurable(configurable_ ? 1 : 0),
      enabled(1) {}

bool KeyEventHasKey(int32_t key, const SDL_keysym& event) {
    return static_cast<int32_t>(event.sym) == key;
}

bool KeyEventMatches(int32_t key, int32_t modifierMask, const SDL_keysym& event) {
    if (!KeyEventHasKey(key, event)) return false;
    const int32_t mod = static_cast<int32_t>(event.mod);
    static const int32_t kGroups[4] = {kModGroupAlt, kModGroupCtrl, kModGroupMeta, kModGroupShift};
    for (int32_t group : kGroups) {
        if (((mod & group) != 0) != ((modifierMask & group) != 0)) return false;
    }
    return true;
}

bool KeyBinding::MatchesKey(const SDL_keysym& event) const {
    return enabled && KeyEventHasKey(key, event);
}

bool KeyBinding::Matches(const SDL_keysym& event) const {
    return enabled && KeyEventMatches(key, modifiers, event);
}

void KeyBinding::SetFromEvent(const SDL_keysym& event) {
    const int32_t sym = static_cast<int32_t>(event.sym);
    const int32_t mod = static_cast<int32_t>(event.mod);
    key = sym;
    character = static_cast<uint16_t>(static_cast<int16_t>(static_cast<int8_t>(sym & 0xFF)));
    int32_t mask = 0;
    if (mod & 0x03) mask |= kModGroupShift;
    if (mod & 0xC0) mask |= kModGroupCtrl;
    if (mod & 0x0300) mask |= kModGroupAlt;
    if (mod & 0x0C00) mask |= kModGroupMeta;
    modifiers = mask;
}

namespace {

std::string SpecialKeyName(int32_t key) {
    static const struct {
        int32_t key;
        const char* name;
    } kNames[] = {
        {SDLK_TAB, "TAB"},           {SDLK_CLEAR, "CLEAR"},
        {SDLK_PAUSE, "PAUSE"},       {SDLK_DELETE, "DELETE"},
        {SDLK_KP_PERIOD, "KP ."},    {SDLK_KP_DIVIDE, "KP /"},
        {SDLK_KP_MULTIPLY, "KP *"},  {SDLK_KP_MINUS, "KP -"},
        {SDLK_KP_PLUS, "KP +"},      {SDLK_KP_ENTER, "KP ENTER"},
        {SDLK_KP_EQUALS, "KP ="},    {SDLK_UP, "UP"},
        {SDLK_DOWN, "DOWN"},         {SDLK_RIGHT, "RIGHT"},
        {SDLK_LEFT, "LEFT"},         {SDLK_INSERT, "INSERT"},
        {SDLK_HOME, "HOME"},         {SDLK_END, "END"},
        {SDLK_PAGEUP, "PAGE UP"},    {SDLK_PAGEDOWN, "PAGE DOWN"},
        {SDLK_NUMLOCK, "NUM LOCK"},  {SDLK_CAPSLOCK, "CAPS LOCK"},
        {SDLK_SCROLLOCK, "SCROLL LOCK"}, {SDLK_RSHIFT, "RIGHT SHIFT"},
        {SDLK_LSHIFT, "LEFT SHIFT"}, {SDLK_RCTRL, "RIGHT CTRL"},
        {SDLK_LCTRL, "LEFT CTRL"},   {SDLK_RALT, "RIGHT ALT"},
        {SDLK_LALT, "LEFT ALT"},     {SDLK_RMETA, "RIGHT META"},
        {SDLK_LMETA, "LEFT META"},   {SDLK_LSUPER, "LEFT SUPER"},
        {SDLK_RSUPER, "RIGHT SUPER"}, {SDLK_MODE, "ALT GR"},
        {SDLK_HELP, "HELP"},         {SDLK_PRINT, "PRINT"},
        {SDLK_SYSREQ, "SYSRQ"},      {SDLK_BREAK, "BREAK"},
        {SDLK_MENU, "MENU"},
    };
    if (key >= SDLK_KP0 && key <= SDLK_KP9) return "KP " + std::to_string(key - SDLK_KP0);
    for (const auto& n : kNames) {
        if (n.key == key) return n.name;
    }
    return "KEY " + std::to_string(key);
}

}  // namespace

std::string KeyBinding::GetKeyName() const {
    std::string name;
    bool characterName = false;
    const int low = key & 0xFF;
    if (key == SDLK_SPACE) {
        name = "SPACE";
    } else if (key == SDLK_RETURN) {
        name = "ENTER";
    } else if (key == SDLK_BACKSPACE) {
        name = "BACKSPACE";
    } else if (key == SDLK_ESCAPE) {
        name = "ESCAPE";
    } else if (key >= SDLK_F1 && key <= SDLK_F15) {
        name = "F" + std::to_string(key - (SDLK_F1 - 1));
    } else if (key > 32 && key < 127) {
        name = std::string(1, static_cast<char>(low));
        characterName = true;
    } else {
        // Keys without a printable character (arrows, keypad, tab ...) get a name of
        // their own, never a raw control character.
        name = SpecialKeyName(key);
    }

    if (modifiers & kModGroupShift) {
        if (characterName && low >= 'a' && low <= 'z') {
            name = std::string(1, static_cast<char>(low - 32));
        } else {
            name = "S-" + name;
        }
    }
    if ((modifiers & 0xFF) > 63) name = "C-" + name;
    if (modifiers & kModGroupAlt) name = "A-" + name;
    if (modifiers & kModGroupMeta) name = "M-" + name;
    return name;
}

std::string KeyBinding::WriteConfigLine() const {
    std::string line = "<keybinding pos=\"";
    line += id;
    line += "\" value=\"";
    line += std::to_string(key);
    line += "\" mod=\"";
    line += std::to_string(modifiers);
    line += "\"/>";
    return line;
}

namespace {

void StandardBindings(std::vector<KeyBinding>& out) {
    out.emplace_back(kBindUp, "Up", 'w', 0, 'w', true);
    out.emplace_back(kBindDown, "Down", 's', 0, 's', true);
    out.emplace_back(kBindLeft, "Left", 'a', 0, 'a', true);
    out.emplace_back(kBindRight, "Right", 'd', 0, 'd', true);
    out.emplace_back(kBindRest, "Rest", ' ', 0, ' ', true);
    out.emplace_back(kBindSkills, "Skills", 'k', 0, 'k', true);
    out.emplace_back(kBindInventory, "Inventory", 'i', 0, 'i', true);
    out.emplace_back(kBindEquipment, "Equipment", 'c', 0, 'c', true);
    out.emplace_back(kBindMenu, "Menu", 'm', 0, 'm', true);
    out.emplace_back(kBindQuests, "Quests", 'q', 0, 'q', true);
    out.emplace_back(kBindAlchemy, "Toggle Modular Alchemy Box", '1', kModGroupAlt, '1', true);
    out.emplace_back(kBindGrinder, "Toggle Elven Ingot Grinder", '2', kModGroupAlt, '2', true);
    out.emplace_back(kBindIngot, "Toggle Disposable Ingot Press", '3', kModGroupAlt, '3', true);
    out.emplace_back(kBindLutefisk, "Toggle Horadric Lutefisk Cube", '4', kModGroupAlt, '4', true);
    out.emplace_back(kBindSmithing, "Toggle Junior Smithing Kit", '5', kModGroupAlt, '5', true);
    out.emplace_back(kBindStill, "Toggle Porta-Still", '6', kModGroupAlt, '6', true);
    out.emplace_back(kBindTinkerer, "Toggle Tinkerer Parts", '7', kModGroupAlt, '7', true);
    static const char* const kBeltIds[9] = {"belt1", "belt2", "belt3", "belt4", "belt5",
                                            "belt6", "belt7", "belt8", "belt9"};
    static const char* const kBeltLabels[9] = {"Belt 1", "Belt 2", "Belt 3", "Belt 4", "Belt 5",
                                               "Belt 6", "Belt 7", "Belt 8", "Belt 9"};
    static const char* const kSkillIds[9] = {"skill1", "skill2", "skill3", "skill4", "skill5",
                                             "skill6", "skill7", "skill8", "skill9"};
    static const char* const kSkillLabels[9] = {"Skill 1", "Skill 2", "Skill 3",
                                                "Skill 4", "Skill 5", "Skill 6",
                                                "Skill 7", "Skill 8", "Skill 9"};
    for (int i = 0; i < 9; ++i) {
        out.emplace_back(kBeltIds[i], kBeltLabels[i], '1' + i, kModGroupShift, '1' + i, false);
    }
    for (int i = 0; i < 9; ++i) {
        out.emplace_back(kSkillIds[i], kSkillLabels[i], '1' + i, 0, '1' + i, false);
    }
    out.emplace_back(kBindAnimSpeedDouble, "Double Animation Speed", '=', 0, '=', true);
    out.emplace_back(kBindAnimSpeedHalve, "Halve Animation Speed", '-', 0, '-', true);
}

void DebugBindings(std::vector<KeyBinding>& out) {
    out.emplace_back(kBindTrapdoorDown, "Hidden Trapdoor Down", 'p', 0, 'p', true);
    out.emplace_back(kBindTrapdoorUp, "Hidden Trapdoor Up", 'p', kModGroupShift, 'P', true);
    out.emplace_back(kBindFillInventory, "Hidden Fill Inventory", 'i', kModGroupShift, 'I',
                     true);
    out.emplace_back(kBindRevealMap, "Hidden Reveal Map", 'l', kModGroupShift, 'L', true);
    out.emplace_back(kBindLevelBoost, "Hidden Level Boost", 'l', 0, 'l', true);
    out.emplace_back(kBindScreenshot, "Hidden Take Screenshot", 'g', kModGroupCtrl, 'g', true);
    out.emplace_back(kBindWalkToCursor, "Hidden Walk To Cursor", 'z', 0, 'z', true);
    out.emplace_back(kBindLargeInterface, "Hidden 2x UI", 't', 0, 't', true);
    out.emplace_back(kBindNoInterface, "Hidden 2x UI", 't', kModGroupCtrl, 't', true);
}

bool KeyBindingTrace() { return (CmdLine.debugFlags & kDebugKeyBindings) != 0; }

}  // namespace

KeyBindingMap DefaultKeyBindings() {
    std::vector<KeyBinding> standard, debug;
    StandardBindings(standard);
    DebugBindings(debug);
    KeyBindingMap table;
    for (const KeyBinding& b : standard) table[b.id] = b;
    for (KeyBinding b : debug) {
        b.enabled = 0;
        table[b.id] = b;
    }
    return table;
}

KeyBindingMap InitKeyBindings() {
    std::vector<KeyBinding> standard, debug;
    StandardBindings(standard);
    DebugBindings(debug);

    KeyBindingMap previous = KeyBindingTable;
    const bool trace = KeyBindingTrace();
    if (trace) printf("Installing default keybindings...\n");
    KeyBindingTable.clear();
    for (const KeyBinding& b : standard) {
        if (trace) printf("Keybinding: installing default %s\n", b.WriteConfigLine().c_str());
        KeyBindingTable[b.id] = b;
    }
    if (trace) {
        printf("... DONE!\n");
        printf("Installing debug keybindings...\n");
    }
    const bool debugOn = CmdLine.debugFlags != 0;
    for (KeyBinding& b : debug) {
        b.enabled = debugOn ? 1 : 0;
        if (trace) printf("Keybinding: installing debug %s\n", b.WriteConfigLine().c_str());
        KeyBindingTable[b.id] = b;
    }
    if (trace) printf("... DONE!\n");
    return previous;
}

KeyBinding* FindKeyBinding(const SDL_keysym& event) {
    for (auto& entry : KeyBindingTable) {
        if (entry.second.Matches(event)) return &entry.second;
    }
    return nullptr;
}

KeyBinding* GetKeyBinding(const std::string& id) {
    auto it = KeyBindingTable.find(id);
    return it == KeyBindingTable.end() ? nullptr : &it->second;
}

bool KeyBindingMatches(const char* id, const SDL_keysym& event) {
    const KeyBinding* b = id ? GetKeyBinding(id) : nullptr;
    return b && b->Matches(event);
}

bool KeyBindingMatchesKey(const char* id, const SDL_keysym& event) {
    const KeyBinding* b = id ? GetKeyBinding(id) : nullptr;
    return b && b->MatchesKey(event);
}

bool IsWholeModifierMask(int32_t mask) {
    static const int32_t kGroups[4] = {kModGroupShift, kModGroupCtrl, kModGroupAlt, kModGroupMeta};
    int32_t rest = mask;
    for (int32_t group : kGroups) {
        const int32_t bits = mask & group;
        if (bits != 0 && bits != group) return false;
        rest &= ~group;
    }
    return rest == 0;
}

bool ApplyKeyBindingConfigLine(const std::string& pos, int32_t value, int32_t mod) {
    auto it = KeyBindingTable.find(pos);
    if (it != KeyBindingTable.end() && !it->second.configurable) return false;
    if (value < 0 || value >= SDLK_LAST) {
        printf("Keybinding: ignoring key %d at position %s (not a key)\n", value, pos.c_str());
        return false;
    }
    if (!IsWholeModifierMask(mod)) {
        printf("Keybinding: ignoring mod %d at position %s (not a set of shift, ctrl, alt and meta)\n",
               mod, pos.c_str());
        return false;
    }
    KeyBinding& b = KeyBindingTable[pos];
    b.key = value;
    b.modifiers = mod;
    b.character = static_cast<uint16_t>(value & 0xFFFF);
    if (KeyBindingTrace()) {
        printf("Keybinding: reading key %d, mod %d at position %s\n", value, mod, pos.c_str());
    }
    return true;
}

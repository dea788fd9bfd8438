#include "core/shell/debug_keys.h"

#include <vector>

#include "core/command_state.h"
#include "core/input_log.h"
#include "core/key_bindings.h"
#include "core/random.h"
#include "core/shell/config.h"
#include "core/shell/game_input.h"
#include "creatures/player.h"
#include "interface/layout.h"
#include "interface/screenshot.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/weapon.h"
#include "levels/level.h"
#include "media/bob.h"


void (*TrapdoorKeyAction)(int32_t delta) = ChangeDepth;

namespace {

// A random entry of a definition list (the C generator), or null for an empty list.
const ItemDef* PickFrom(const std::vector<ItemDef*>& list) {
    if (list.empty()) return nullptr;
    return list[static_cast<size_t>(RandomInt(static_cast<int32_t>(list.size())))];
}

bool Matches(const char* id, const SDL_Event& event) {
    return KeyBindingMatches(id, event.key.keysym);
}

}  // namespace

Item* MakeRandomItem() {
    const int kind = CRand() >> 12;
    const ItemDef* def = nullptr;
    switch (kind) {
        case 0:
        case 1:
            def = PickFrom(ItemDefLists.all);
            return def != nullptr ? CreateItem(def) : nullptr;
        case 2:
            def = PickFrom(ItemDefLists.mushrooms);
            return def != nullptr ? new Mushroom(def) : nullptr;
        case 3:
            def = PickFrom(ItemDefLists.potions);
            return def != nullptr ? new Potion(def) : nullptr;
        case 4:
            def = PickFrom(ItemDefLists.wands);
            return def != nullptr ? new Wand(def) : nullptr;
        case 5:
            def = RandomWeaponDefByLevel(0, 0);
            return def != nullptr ? new Weapon(def) : nullptr;
        case 6:
            def = PickFrom(ItemDefLists.weapons);
            return def != nullptr ? new Weapon(def) : nullptr;
        default:
            def = RandomArmourDefByLevel(0);
            return def != nullptr ? new Armour(def) : nullptr;
    }
}

void DebugFillInventory() {
    for (int32_t cell = 0; cell < kInventoryCells; ++cell) {
        if (InventoryGrid.cells[cell] != nullptr) continue;
        Item* item = MakeRandomItem();
        if (item != nullptr) PutItemInBag(item);
    }
}

bool RunHiddenDebugActions(SDL_Event event) {
    if (event.type != SDL_KEYUP) return false;
    if (Matches(kBindAnimSpeedDouble, event)) {
        if (AnimationSpeedDivisor < 8) AnimationSpeedDivisor *= 2;
        return true;
    }
    if (Matches(kBindAnimSpeedHalve, event)) {
        if (AnimationSpeedDivisor > 1) AnimationSpeedDivisor /= 2;
        return true;
    }
    if (CmdLine.debugFlags == 0) return false;
    const bool down = Matches(kBindTrapdoorDown, event);
    if (down || Matches(kBindTrapdoorUp, event)) {
        TrapdoorKeyAction(down ? 1 : -1);
        return true;
    }
    // Filling the pack and revealing the map let the tests go on.
    if (Matches(kBindFillInventory, event)) DebugFillInventory();
    if (Matches(kBindRevealMap, event) && CurrentLevel != nullptr) CurrentLevel->RevealMap();
    if (Matches(kBindLevelBoost, event)) {
        if (Player* hero = CurrentPlayer) {
            hero->level += 15;
            hero->skillPoints += 15;
            hero->LevelUp();
        }
        return true;
    }
    if (Matches(kBindScreenshot, event)) {
        SaveScreenshot();
        return true;
    }
    if (Matches(kBindWalkToCursor, event)) {
        FlushInput();
        int x = 0;
        int y = 0;
        LoggedGetMouseState(&x, &y);
        int32_t sx = 0;
        int32_t sy = 0;
        ScreenToSquare(x, y, &sx, &sy);
        if (CurrentPlayer != nullptr) CurrentPlayer->WalkPathTo(sx, sy);
        return true;
    }
    if (Matches(kBindLargeInterface, event)) {
        Layout.largeInterface = Layout.largeInterface != 0 ? 0 : 1;
        use2XUI = Layout.largeInterface;
        UpdateScreenLayout();
        return true;
    }
    if (Matches(kBindNoInterface, event)) {
        Layout.hideInterface = Layout.hideInterface != 0 ? 0 : 1;
        return true;
    }
    return false;
}

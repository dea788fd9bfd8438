#include "items_fixtures/lockpick.h"

#include "creatures/player.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_kinds.h"
#include "core/tweak.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/eye_candy.h"
#include "media/sprite.h"

bool IsLockpick(const Item* item) {
    const Misc* misc = dynamic_cast<const Misc*>(item);
    return misc != nullptr && misc->type == kItemMisc && misc->Kind() == 0;  // kind 0: lockpicks
}

namespace {
// Unpaid shop lockpicks are the shop's, not the hero's to spend.
bool OwnLockpick(const Item* item) { return IsLockpick(item) && item->unpaid == 0; }
}  // namespace

LockpickPlace FindCarriedLockpick() {
    LockpickPlace place;
    if (CurrentPlayer != nullptr) {
        for (Item* item : CurrentPlayer->quickSlots) {
            if (OwnLockpick(item)) {
                place.item = item;
                place.onBelt = true;
                return place;
            }
        }
    }
    for (Item* item : InventoryGrid.cells) {
        if (OwnLockpick(item)) {
            place.item = item;
            return place;
        }
    }
    return place;
}

void UseUpOneLockpick(Item* item) {
    if (item == nullptr) return;
    if (item->count > 1) {
        --item->count;
        return;
    }
    RemoveItemFromGrid(item);
    RemoveItemFromQuickbar(item);
    ForgetCursorItem(item);
    InventoryChanged = true;
    QueueObjectDeletion(item);
}

void GiveLockpickExperience(Level* onLevel) {
    if (CurrentPlayer == nullptr) return;
    const int32_t depth = onLevel != nullptr ? onLevel->depth : 0;
    CurrentPlayer->AddExperience(GetTweakInt("lockpick exp") * (depth + 1), 0);
}

void ShowLockpickedCandy() {
    Player* hero = CurrentPlayer;
    Sprite* icon = EyeCandyIcons.lockpicked;
    if (hero == nullptr || icon == nullptr) return;
    SpawnEyeCandy(hero->bob.x + hero->bob.FrameWidth() / 2 - icon->width / 2, hero->bob.y, icon, 1, 0);
}

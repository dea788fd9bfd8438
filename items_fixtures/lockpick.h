#pragma once
// Lockpicks as chests and doors use them: finding the first one the hero carries and using
// one up.
#include <cstdint>

class Item;
class Level;

// A misc item of kind 0.
bool IsLockpick(const Item* item);

// Where a lockpick was found.
struct LockpickPlace {
    Item* item = nullptr;   // null when the hero carries none
    bool onBelt = false;    // found in a belt slot (else in a backpack cell)
};

// The first paid lockpick in the hero's nine belt slots in order, then in the backpack cells in
// order.
LockpickPlace FindCarriedLockpick();

// Uses one lockpick of the stack: a stack of more loses one from its count; a single one is
// queued for deletion and leaves every place that held it (belt slots, backpack cells, the
// cursor), so no place keeps a reference to it.
void UseUpOneLockpick(Item* item);

// The hero's skill that makes every lockpick succeed from level 1 on.
constexpr int32_t kLockPickingSkill = 26;

// Experience for a picked lock: tuning "lockpick exp" times (depth of the level + 1).
void GiveLockpickExperience(Level* onLevel);
// The "unlocked" icon rising from the hero, centred on the hero's picture.
void ShowLockpickedCandy();

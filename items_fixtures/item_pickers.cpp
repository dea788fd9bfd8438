#include "items_fixtures/item_pickers.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "core/random.h"
#include "core/tweak.h"
#include "items_fixtures/item_db.h"
#include "levels/level.h"

namespace {

using Accept = std::function<bool(const ItemDef*)>;

// Draws a bucket (or list) gives before a picker gives up on it.
constexpr int32_t kDrawsPerBucket = 100;
// Uniform draws a picker makes over a list with an acceptable entry before it takes the
// first acceptable entry after the last draw instead.
constexpr int32_t kUniformDraws = 10000;

int32_t Depth() {
    return CurrentLevel != nullptr ? CurrentLevel->depth : 0;
}

bool OnPortalLevel() {
    return CurrentLevel != nullptr && CurrentLevel->isSideDimension != 0;
}

// A normal deviate around the mean, truncated toward zero and clamped.
int32_t TargetLevel(int32_t mean, int32_t low, int32_t high) {
    const float deviate = RandomGaussian(static_cast<float>(mean), GetTweakFloat("box muller std dev"));
    const int32_t target = static_cast<int32_t>(std::max(-1.0e6f, std::min(1.0e6f, deviate)));
    return std::max(low, std::min(high, target));
}

const ItemDef* Uniform(const std::vector<ItemDef*>& list) {
    if (list.empty()) return nullptr;
    return list[static_cast<size_t>(RandomIndex(list.size()))];
}

const ItemDef* NoneFound(const char* what) {
    std::printf("itemDB: no %s definition to pick\n", what);
    return nullptr;
}

// Walks the buckets down from the one for target + 1: an empty bucket, or 100 rejected draws,
// moves one level lower; below bucket 0 the answer is none.
const ItemDef* PickFromBuckets(const std::vector<ItemDef*> (&buckets)[kItemLevelBuckets], int32_t target,
                               const Accept& accept, const char* what) {
    for (int32_t b = std::max(0, std::min(kItemLevelBuckets - 1, target + 1)); b >= 0; --b) {
        const std::vector<ItemDef*>& bucket = buckets[b];
        if (bucket.empty()) continue;
        for (int32_t draw = 0; draw < kDrawsPerBucket; ++draw) {
            const ItemDef* def = Uniform(bucket);
            if (accept(def)) return def;
        }
    }
    return NoneFound(what);
}

// A uniform draw that passes the test; none when no entry of the list could. A list whose
// acceptable entries are too rare for the bounded draws gives the first acceptable entry
// after the last one drawn (so every call ends).
const ItemDef* UniformWhere(const std::vector<ItemDef*>& list, const Accept& accept, const char* what) {
    if (std::none_of(list.begin(), list.end(), accept)) return NoneFound(what);
    size_t at = 0;
    for (int32_t draw = 0; draw < kUniformDraws; ++draw) {
        at = static_cast<size_t>(RandomIndex(list.size()));
        if (accept(list[at])) return list[at];
    }
    for (size_t step = 1; step <= list.size(); ++step) {
        const ItemDef* def = list[(at + step) % list.size()];
        if (accept(def)) return def;
    }
    return NoneFound(what);
}

bool IsAmmoOrThrown(const ItemDef* def) {
    return def->itemClass == kWeaponThrowing || def->itemClass == kWeaponAmmunition;
}

}  // namespace

const ItemDef* RandomArmourDefByLevel(int32_t offset) {
    int32_t target = OnPortalLevel() ? CRand() / 1639 : TargetLevel(Depth(), -1000000, 1000000) + offset;
    target = std::max(0, std::min(20, target));
    return PickFromBuckets(
        ItemDefLists.armourBuckets, target,
        [](const ItemDef* d) { return !d->craftOutput && !d->special && !d->debug; }, "armour");
}

const ItemDef* RandomWeaponDefByLevel(int32_t unique, int32_t offset) {
    int32_t target = OnPortalLevel() ? CRand() / 1639 : TargetLevel(Depth(), -1000000, 1000000) + offset;
    target = std::max(0, std::min(20, target));
    ItemDef* chosen = const_cast<ItemDef*>(PickFromBuckets(
        ItemDefLists.weaponBuckets, target,
        [unique](const ItemDef* d) {
            return !d->craftOutput && !d->debug && !IsAmmoOrThrown(d) && !d->special &&
                   (!d->artifact || (unique != 0 && !d->generated));
        },
        "weapon"));
    if (chosen != nullptr && chosen->artifact) chosen->generated = true;
    return chosen;
}

const ItemDef* RandomEquipmentDefByLevel(int32_t level, int32_t unique, int32_t armour) {
    const int32_t target = TargetLevel(level, 0, 20);
    ItemDef* chosen = const_cast<ItemDef*>(PickFromBuckets(
        armour != 0 ? ItemDefLists.armourBuckets : ItemDefLists.weaponBuckets, target,
        [unique, armour](const ItemDef* d) {
            if (d->special || d->debug) return false;
            if (armour == 0 && IsAmmoOrThrown(d)) return false;
            return (unique != 0 && !d->generated) || !d->artifact;
        },
        armour != 0 ? "armour" : "weapon"));
    if (chosen != nullptr && unique != 0) chosen->generated = true;
    return chosen;
}

const ItemDef* RandomThrowingWeaponDefByLevel() {
    const int32_t target = TargetLevel(Depth(), 0, 20);
    return PickFromBuckets(
        ItemDefLists.weaponBuckets, target,
        [](const ItemDef* d) {
            return d->itemClass == kWeaponThrowing && !d->debug && !d->special && !d->craftOutput;
        },
        "throwing weapon");
}

const ItemDef* RandomTrapDef() {
    const std::vector<ItemDef*>& traps = ItemDefLists.traps;
    if (traps.empty()) return NoneFound("trap");
    const int32_t target = TargetLevel(Depth() + 1, 1, 20);
    const ItemDef* def = nullptr;
    for (int32_t draw = 0; draw <= kDrawsPerBucket; ++draw) {
        def = Uniform(traps);
        if (!def->special && def->level == target) return def;
    }
    return def;
}

const ItemDef* RandomBoozeDefByLevel() {
    const std::vector<ItemDef*>& food = ItemDefLists.food;
    const ItemDef* def =
        UniformWhere(food, [](const ItemDef* d) { return d->mp != 0 && !d->special && !d->debug; }, "booze");
    if (def == nullptr) return nullptr;
    // After the bounded draws for the target level, the last booze drawn (never plain food).
    const int32_t target = TargetLevel(Depth() + 1, 1, 20);
    for (int32_t draw = 0; draw <= kDrawsPerBucket; ++draw) {
        const ItemDef* drawn = Uniform(food);
        if (drawn->mp == 0 || drawn->debug) continue;
        def = drawn;
        if (drawn->level == target) return def;
    }
    return def;
}

const ItemDef* RandomFoodDef() {
    return UniformWhere(
        ItemDefLists.food, [](const ItemDef* d) { return d->mp <= 0 && !d->special && !d->debug; }, "food");
}

const ItemDef* PickRandomFoodOrBoozeDef() {
    return MTOneChanceIn(2) ? RandomFoodDef() : RandomBoozeDefByLevel();
}

const ItemDef* RandomJewelleryDef() {
    return UniformWhere(
        ItemDefLists.armour,
        [](const ItemDef* d) {
            return (d->slot == kArmourRing || d->slot == 4 || d->slot == kArmourNeck) && !d->debug;
        },
        "jewellery");
}

const ItemDef* RandomGemDef() {
    return UniformWhere(ItemDefLists.gems, [](const ItemDef* d) { return !d->special; }, "gem");
}

const ItemDef* RandomMushroomDef() {
    return ItemDefLists.mushrooms.empty() ? NoneFound("mushroom") : Uniform(ItemDefLists.mushrooms);
}

const ItemDef* PickRandomPotionDef() {
    // Crafting outputs are never found as loot; a list of nothing else gives none at once.
    return UniformWhere(
        ItemDefLists.potions, [](const ItemDef* d) { return !d->craftOutput; }, "potion");
}

const ItemDef* PickRandomWandDef() {
    return ItemDefLists.wands.empty() ? NoneFound("wand") : Uniform(ItemDefLists.wands);
}

const ItemDef* RandomReagentDef() {
    return ItemDefLists.reagents.empty() ? NoneFound("reagent") : Uniform(ItemDefLists.reagents);
}

const ItemDef* RandomAmmunitionDef() {
    return ItemDefLists.ammunition.empty() ? NoneFound("ammunition") : Uniform(ItemDefLists.ammunition);
}

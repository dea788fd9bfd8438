#include "items_fixtures/item_creation.h"

#include <cmath>
#include <cstring>

#include "core/random.h"
#include "core/tweak.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/trap.h"
#include "items_fixtures/weapon.h"
#include "levels/level.h"

namespace {

int32_t DepthOf(const Level* level) {
    if (level == nullptr) level = CurrentLevel;
    return level != nullptr ? level->depth : 0;
}

// Power RandomInt(floor(depth / 4)) + 1: 1 below depth 4.
int32_t DepthPower(int32_t depth) {
    return RandomInt(static_cast<int32_t>(std::floor(depth * 0.25))) + 1;
}

Item* MakeArtifactOf(Item* item, int32_t power) {
    return MakeItemArtifact(item, power);
}

template <class T>
Item* Make(const ItemDef* def) {
    return def != nullptr ? new T(def) : nullptr;
}

Item* RandomOfType(const std::string& type, bool artifact) {
    if (type == "reagent" || type == "component") return CreateItem(RandomReagentDef());
    if (type == "potion") return Make<Potion>(PickRandomPotionDef());
    if (type == "wand") return Make<Wand>(PickRandomWandDef());
    if (type == "bolts") return Make<Weapon>(RandomAmmunitionDef());
    if (type == "trap") return Make<Trap>(RandomTrapDef());
    if (type == "weapon") {
        Item* item = Make<Weapon>(RandomWeaponDefByLevel(artifact ? 1 : 0, 0));
        return artifact ? MakeArtifactOf(item, RandomInt(3) + 1) : item;
    }
    if (type == "armour") {
        Item* item = Make<Armour>(RandomArmourDefByLevel(0));
        return artifact ? MakeArtifactOf(item, RandomInt(3) + 1) : item;
    }
    return nullptr;
}

}  // namespace

Item* CreateItem(const ItemDef* def) {
    if (def == nullptr) return nullptr;
    switch (def->category) {
        case kItemWeapon: return new Weapon(def);
        case kItemArmour: return new Armour(def);
        case kItemPotion: return new Potion(def);
        case kItemWand: return new Wand(def);
        case kItemFood: return new Food(def);
        case kItemGem: return new Gem(def);
        case kItemMushroom: return new Mushroom(def);
        case kItemReagent: return new Reagent(def);
        case kItemToolkit: return new Toolkit(def);
        case kItemTrap: return new Trap(def);
        default: return nullptr;
    }
}

Item* CreateItemFromDef(const ItemDef* def) {
    if (def == nullptr) return nullptr;
    switch (def->category) {
        case kItemPotion: return new Potion(def);
        case kItemFood: return new Food(def);
        case kItemGem: return new Gem(def);
        case kItemToolkit: return new Toolkit(def);
        default: return new Reagent(def);
    }
}

Item* CreateItemByName(const std::string& name) {
    const int32_t depth = DepthOf(nullptr);
    if (name == "zorkmids") {
        const int32_t n = GetTweakInt("gold drop per level") * (depth + 1);
        return new Zorkmids(n >= 1 && n <= 32766 ? RandomInt(n) + 5 : 5);
    }
    const ItemDef* def = FindItemDefByName(name);
    Item* item = CreateItem(def);
    if (item != nullptr && def->artifact && (def->category == kItemWeapon || def->category == kItemArmour)) {
        MakeArtifactOf(item, DepthPower(depth));
    }
    return item;
}

Item* CreateLootItem(const char* typeText, const char* nameText, Level* level, int32_t count, bool artifact) {
    const std::string type = typeText != nullptr ? typeText : "";
    const std::string name = nameText != nullptr ? nameText : "";
    const int32_t depth = DepthOf(level);
    Item* item = nullptr;
    if (type == "artifact") {
        item = MTOneChanceIn(2) ? Make<Weapon>(RandomWeaponDefByLevel(0, 0)) : Make<Armour>(RandomArmourDefByLevel(0));
        item = MakeArtifactOf(item, DepthPower(depth));
    } else if (type == "zorkmids") {
        item = new Zorkmids((RandomInt(15) + 2) * (depth + 1));
    } else if (type == "misc") {
        if (name == "lockpick" || name == "lockpicks") item = new Misc(0);
        else if (name == "spores") item = new Misc(1);
    } else if (name != "random") {
        item = CreateItemByName(name);
    } else {
        item = RandomOfType(type, artifact);
    }
    // A money pile keeps its amount: the count of a loot record is no multiplier for it.
    if (item != nullptr && count > 1 && dynamic_cast<Zorkmids*>(item) == nullptr) {
        item->stackable = 1;
        item->count = count;
    }
    return item;
}

Item* MakeItemArtifact(Item* item, int32_t power) {
    if (Weapon* weapon = dynamic_cast<Weapon*>(item)) {
        GenerateArtifact(&weapon->artifactRecord, power, weapon);
        weapon->isArtifact = true;
    } else if (Armour* armour = dynamic_cast<Armour*>(item)) {
        GenerateArtifact(&armour->artifactRecord, power, armour);
        armour->isArtifact = true;
    }
    return item;
}

// The starting kit of a new hero and the item-giving operations that tutorials, the debug
// keys and the quick start share.
#include <cstdio>
#include <string>

#include "core/random.h"
#include "core/shell/shell_services.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/skill_item.h"
#include "items_fixtures/weapon.h"

namespace {

// Weapon types of the definitions: crossbows go to the ammunition slot, throwing weapons
// never to a hand.
constexpr int32_t kCrossbowType = 4;
constexpr int32_t kThrownType = 5;
// Misc kinds.
constexpr int32_t kMiscLockpick = 0;
constexpr int32_t kMiscSpores = 1;

// Into the backpack; an item with no room left is reported and dropped from the game.
void StoreInBackpack(Item* item) {
    if (item == nullptr) return;
    if (AddItemToInventory(item, 1)) return;
    std::printf("No room for a starting %s\n", item->GetItemName().c_str());
    delete item;
}

Item* RandomFrom(const std::vector<ItemDef*>& list) {
    if (list.empty()) return nullptr;
    return CreateItem(list[static_cast<size_t>(RandomInt(static_cast<int32_t>(list.size())))]);
}

// The item of a loadout entry whose type is none of weapon, armour and misc.
Item* MakeLoadoutItem(const LoadoutEntry& entry) {
    if (!entry.subtype.empty() && entry.subtype != "random") return CreateItemByName(entry.subtype);
    const std::string& kind = entry.type;
    if (kind == "reagent" || kind == "component") return RandomFrom(ItemDefLists.reagents);
    if (kind == "mushroom") return RandomFrom(ItemDefLists.mushrooms);
    if (kind == "potion") return RandomFrom(ItemDefLists.potions);
    if (kind == "wand") return RandomFrom(ItemDefLists.wands);
    if (kind == "bolts") return RandomFrom(ItemDefLists.ammunition);
    if (kind == "trap") return CreateItem(RandomTrapDef());
    return nullptr;
}

bool SkillTypeLeads(int32_t type, const int32_t counts[kSkillTypeCount]) {
    const int32_t w = counts[0];
    const int32_t z = counts[1];
    const int32_t r = counts[2];
    switch (type) {
        case 0: return w >= z && w >= r;
        case 1: return z >= w && z >= r;
        case 2: return r >= z && r >= w;
        default: return false;
    }
}

}  // namespace

void GiveArmourByName(const std::string& definitionName, int32_t) {
    Player* hero = CurrentPlayer;
    Item* made = CreateItemByName(definitionName);
    Armour* piece = dynamic_cast<Armour*>(made);
    if (piece == nullptr || hero == nullptr) {
        delete made;
        return;
    }
    for (int32_t slot : {kSlotFirstHand, kSlotHead, kSlotChest, kSlotFeet, kSlotNeck, kSlotFirstRing, kSlotHands,
                         kSlotLegs, kSlotWaist}) {
        if (!piece->FitsEquipSlot(slot)) continue;
        // Only the first place it fits is tried: a shield never goes to the second hand
        // here, nor a ring to the second ring.
        if (hero->EquippedAt(slot) != nullptr) break;
        hero->EquippedAt(slot) = piece;
        piece->OnEquip(slot);
        return;
    }
    StoreInBackpack(piece);
}

void GiveWeaponByName(const std::string& definitionName, int32_t count) {
    Player* hero = CurrentPlayer;
    Item* made = CreateItemByName(definitionName);
    Weapon* weapon = dynamic_cast<Weapon*>(made);
    if (weapon == nullptr || hero == nullptr) {
        delete made;
        return;
    }
    if (count > 1) {
        weapon->stackable = 1;
        weapon->count = count;
    }
    if (weapon->Kind() == kCrossbowType && hero->crossbow == nullptr && hero->Ammunition() == nullptr) {
        hero->EquippedAt(kSlotAmmunition) = weapon;
        weapon->OnEquip(kSlotAmmunition);
        return;
    }
    if (weapon->Kind() != kThrownType && weapon->Kind() != kCrossbowType && hero->SecondHand() == nullptr) {
        hero->EquippedAt(kSlotSecondHand) = weapon;
        weapon->OnEquip(kSlotSecondHand);
        return;
    }
    StoreInBackpack(weapon);
}

void GiveAmmoByName(const std::string& definitionName, int32_t count) {
    Player* hero = CurrentPlayer;
    Item* made = CreateItemByName(definitionName);
    Weapon* weapon = dynamic_cast<Weapon*>(made);
    if (weapon == nullptr || hero == nullptr) {
        delete made;
        return;
    }
    if (count > 1) weapon->count = count;
    if (weapon->count > 1) {
        for (Item*& slot : hero->quickSlots) {
            if (slot != nullptr) continue;
            slot = weapon;
            return;
        }
    }
    StoreInBackpack(weapon);
}

void Player::GiveEquipmentByName(const std::string& definitionName) {
    const ItemDef* definition = FindItemDefByName(definitionName);
    if (definition != nullptr && definition->category == kItemArmour) {
        GiveArmourByName(definitionName, 1);
    } else {
        GiveWeaponByName(definitionName, 1);
    }
}

bool PlayerHasLockpick() {
    const auto isLockpick = [](Item* item) {
        const Misc* misc = dynamic_cast<const Misc*>(item);
        return misc != nullptr && misc->type == kItemMisc && misc->Kind() == kMiscLockpick;
    };
    if (CurrentPlayer != nullptr) {
        for (Item* item : CurrentPlayer->quickSlots) {
            if (isLockpick(item)) return true;
        }
    }
    for (Item* item : InventoryGrid.cells) {
        if (isLockpick(item)) return true;
    }
    return false;
}

void AddNewAbilitiesToBelt() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    for (AbilityRecord* ability : AbilityList) {
        if (ability == nullptr || ability->spell == nullptr) continue;
        if (ability->polymorphedOnly && hero->isPolymorphed == 0) continue;
        bool ownSkill = false;
        for (int32_t id : hero->skillIds) ownSkill = ownSkill || (id != kNoSkillId && id == ability->skillId);
        if (!ownSkill || ability->level != hero->GetSkillLevel(ability->skillId) - 1) continue;
        for (Item*& slot : hero->abilitySlots) {
            if (slot != nullptr) continue;
            slot = new SkillItem(ability);
            break;
        }
    }
}

void Player::GiveStartingKit(Player*) {
    Player* previous = CurrentPlayer;
    CurrentPlayer = this;
    // 1. Exactly seven chosen skills, each at level 1; an empty slot has no skill and no level.
    std::fill(std::begin(skillIds), std::end(skillIds), kNoSkillId);
    for (int32_t slot = 0; slot < kBuildSkillCount; ++slot) SetSkillLevel(slot, 0);
    int32_t counts[kSkillTypeCount] = {};
    int32_t filled = 0;
    for (const SkillRecord& record : SkillDB) {
        if (!record.chosen || IsPseudoSkillId(record.id)) continue;
        if (filled == kBuildSkillCount) {
            std::printf("GiveStartingKit: more than seven skills are chosen; \"%s\" is left out\n",
                        record.name.c_str());
            continue;
        }
        skillIds[filled] = record.id;
        SetSkillLevel(filled, 1);
        ++filled;
        if (record.type >= 0 && record.type < kSkillTypeCount) ++counts[record.type];
    }
    std::copy(std::begin(counts), std::end(counts), std::begin(skillTypePoints));
    const int32_t w = counts[0];
    const int32_t z = counts[1];
    const int32_t r = counts[2];
    // 2.
    const int32_t bases[kPrimaryStatCount] = {2 * w + z + r,     w + 2 * z + r,     w + z + 2 * r,
                                              2 * w + z + 2 * r, 2 * w + 2 * z + r, w + 2 * z + 2 * r};
    std::copy(std::begin(bases), std::end(bases), std::begin(primaryBase));
    // 3. The loadouts of the skills, in slot order.
    bool weaponGiven = false;
    bool torsoGiven = false;
    for (int32_t slot = 0; slot < filled; ++slot) {
        const SkillRecord* record = FindSkillById(skillIds[slot]);
        if (record == nullptr) continue;
        const bool leads = SkillTypeLeads(record->type, counts);
        for (const LoadoutEntry& entry : record->loadout) {
            if (!entry.always && !leads) continue;
            if (entry.type == "weapon") {
                if (entry.amount > 1) {
                    Item* extra = CreateItemByName(entry.subtype);
                    if (extra != nullptr) extra->count = entry.amount;
                    StoreInBackpack(extra);
                }
                if (!weaponGiven) {
                    GiveWeaponByName(entry.subtype, 1);
                    weaponGiven = true;
                } else {
                    GiveAmmoByName(entry.subtype, 1);
                }
            } else if (entry.type == "armour") {
                GiveArmourByName(entry.subtype, 1);
                torsoGiven = torsoGiven || Torso() != nullptr;
            } else if (entry.type == "misc") {
                Item* misc = nullptr;
                if (entry.subtype == "lockpick" || entry.subtype == "lockpicks") misc = new Misc(kMiscLockpick);
                if (entry.subtype == "spores") misc = new Misc(kMiscSpores);
                if (misc != nullptr && entry.amount > 1) misc->count = entry.amount;
                StoreInBackpack(misc);
            } else {
                Item* item = MakeLoadoutItem(entry);
                if (item != nullptr && entry.amount > 1) item->count = entry.amount;
                StoreInBackpack(item);
            }
        }
    }
    if (!TutorialFlag) {
        // 5. A torso garment of the leaning; 6. provisions.
        if (w >= z && w >= r) {
            GiveArmourByName("Leather Cuirass", 1);
        } else if (r > z || w >= z) {
            GiveArmourByName("Fine Linen Shirt", 1);
        } else if (!torsoGiven) {
            GiveArmourByName("Robe", 1);
        }
        StoreInBackpack(CreateItem(RandomBoozeDefByLevel()));
        StoreInBackpack(CreateItem(RandomFoodDef()));
        StoreInBackpack(CreateItem(RandomBoozeDefByLevel()));
        StoreInBackpack(CreateItem(RandomFoodDef()));
    }
    // 7.
    RecalculateStats();
    health = stat[kStatLife];
    mana = stat[kStatMana];
    if (!TutorialFlag) AddNewAbilitiesToBelt();
    CurrentPlayer = previous;
}

#pragma once
// The item database ("itemDB.xml"): item definitions, the lists generation draws from,
// and item creation.
//
// Stand-in: the lists start empty and the loader reads nothing; the pickers draw a uniform
// entry of their list (null while it is empty). Still to be built here: reading every definition over the
// layered files and mods, the per-level tables, the weighted pickers near a depth,
// artifacts (names, texts, bonuses), loot types and subtypes, and the known-subtype
// flags.
#include <cstdint>
#include <string>
#include <vector>

#include "creatures/buff.h"
#include "creatures/damage_type.h"

class Item;

// Extra values an item may carry on top of its definition.
struct ItemBonus {
    int32_t damage[kDamageTypeCount] = {};
    int32_t resistances[kDamageTypeCount] = {};
    int32_t secondaryStats[kSecondaryStatCount] = {};
    int32_t baseStats[kBaseStatCount] = {};
};

struct ItemDef {
    std::string name;
    std::string description;
    int32_t category = 0;
    int32_t type = 0;
    int32_t subtype = 0;
    int32_t level = 0;             // dungeon level it belongs to
    int32_t special = 0;           // generation draws again when it hits a special one
    int32_t weaponClass = 0;       // 5 = ammunition
    int32_t armourClass = 0;       // 3, 4 and 6 are ring-like
    int32_t maxStack = 1;
    int32_t manaRestore = 0;       // food
    int32_t healthRestore = 0;     // food
    int32_t damage[kDamageTypeCount] = {};
    int32_t resistances[kDamageTypeCount] = {};
    int32_t secondaryStats[kSecondaryStatCount] = {};
    int32_t baseStats[kBaseStatCount] = {};
    int32_t hasBonus = 0;
    ItemBonus bonus;
    int32_t known = 0;             // the subtype is identified

    int32_t GetWeaponClass() const { return weaponClass; }
};

// An artifact's generated name, text and bonuses.
struct ArtifactRecord {
    std::string name;
    std::string text;
    ItemBonus bonus;
};

// The definition lists of the database (owned).
struct ItemDefListSet {
    std::vector<ItemDef*> general;
    std::vector<ItemDef*> weapons;
    std::vector<ItemDef*> armour;
    std::vector<ItemDef*> ammunition;
    std::vector<ItemDef*> mushrooms;
    std::vector<ItemDef*> potions;
    std::vector<ItemDef*> wands;
    std::vector<ItemDef*> food;
    std::vector<ItemDef*> thrown;
    std::vector<ItemDef*> traps;
    std::vector<ItemDef*> reagents;  // crafting reagents scattered by generation
};
extern ItemDefListSet ItemDefLists;

void itemDBLoad(const char* file);
// Builds the item tables by dungeon level (after every item file and mod is read).
void BuildItemLevelTables();
void ClearItemDB();

Item* CreateItem(const ItemDef* definition);
Item* CreateItemFromDef(const ItemDef* definition);
// A new item of a loot type and subtype ("random" allowed), or null when the words
// describe nothing.
Item* CreateLootItem(const char* type, const char* subtype, int32_t level, int32_t amount,
                     int32_t artifact);
void GenerateArtifact(ArtifactRecord* record, int32_t power, Item* item);

const ItemDef* RandomWeaponDefByLevel();
const ItemDef* RandomArmourDefByLevel();
const ItemDef* RandomAmmoDefByLevel();
const ItemDef* RandomEquipmentDefByLevel(int32_t level, int32_t weapon);
const ItemDef* PickRandomPotionDef();
const ItemDef* PickRandomWandDef();
const ItemDef* PickRandomFoodOrBoozeDef();

// Clears the known flag of every item subtype.
void ResetKnownItemTypes();

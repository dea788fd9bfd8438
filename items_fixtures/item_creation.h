#pragma once
// Making items: from a definition, from a definition name, and from the type and name words
// of a loot record. Every routine answers a new item the caller owns, or null.
#include <cstdint>
#include <string>

#include "items_fixtures/item_db.h"

class Item;
class Level;

// An artifact's generated name, text and bonuses.
//
// Stand-in: the record carries the name and text only; the bonuses, the granted buff, the
// powers and their generation are still to be built (GenerateArtifact does nothing yet).
struct ArtifactRecord {
    std::string name;
    std::string text;
};

// The item class of the definition's category; null for a category without one.
Item* CreateItem(const ItemDef* definition);
// Room generation's factory: Potion, Food, Gem and Toolkit for their categories, a Reagent
// for every other.
Item* CreateItemFromDef(const ItemDef* definition);
// "zorkmids" is a money pile for the current depth; other names are definitions.
Item* CreateItemByName(const std::string& name);
// The item a loot record describes (type and name words, "random" allowed); the level gives
// the depth (the current level when null).
Item* CreateLootItem(const char* type, const char* name, Level* level, int32_t count, bool artifact);
void GenerateArtifact(ArtifactRecord* record, int32_t power, Item* item);

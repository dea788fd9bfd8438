#pragma once
// Making items: from a definition, from a definition name, and from the type and name words
// of a loot record. Every routine answers a new item the caller owns, or null.
#include <cstdint>
#include <string>

#include "items_fixtures/artifact.h"
#include "items_fixtures/item_db.h"

class Item;
class Level;

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
// Makes a weapon or armour piece an artifact of that power (its record generated and its
// artifact flag set); the item itself is answered.
Item* MakeItemArtifact(Item* item, int32_t power);

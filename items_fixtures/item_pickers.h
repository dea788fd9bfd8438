#pragma once
// Random item definitions for generation, loot, shops and fixtures. Every picker answers a
// record of the item database or null (with a line on standard output) when the tables hold
// nothing it may return; none reads past a table or draws without end.
#include <cstdint>

struct ItemDef;

// Armour near the current depth plus the offset (on a portal level anywhere in 0..20).
const ItemDef* RandomArmourDefByLevel(int32_t offset);
// A weapon that is neither thrown nor ammunition near the current depth plus the offset.
// With `unique` an artifact not yet handed out may come (and is then marked handed out).
const ItemDef* RandomWeaponDefByLevel(int32_t unique, int32_t offset);
// Armour (`armour` set) or a weapon near the given level.
const ItemDef* RandomEquipmentDefByLevel(int32_t level, int32_t unique, int32_t armour);
// A throwing weapon near the current depth.
const ItemDef* RandomThrowingWeaponDefByLevel();
const ItemDef* RandomTrapDef();
const ItemDef* RandomBoozeDefByLevel();
const ItemDef* RandomFoodDef();
// Food or booze, one chance in two each.
const ItemDef* PickRandomFoodOrBoozeDef();
const ItemDef* RandomJewelleryDef();
const ItemDef* RandomGemDef();
const ItemDef* RandomMushroomDef();
const ItemDef* PickRandomPotionDef();
const ItemDef* PickRandomWandDef();
const ItemDef* RandomReagentDef();
const ItemDef* RandomAmmunitionDef();

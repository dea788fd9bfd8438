// Stand-in: what is still to be built is listed at the top of items_fixtures/item_db.h.
#include "items_fixtures/item_db.h"

#include "core/random.h"
#include "items_fixtures/item.h"

ItemDefListSet ItemDefLists;

void itemDBLoad(const char*) {}

void BuildItemLevelTables() {}

namespace {
void FreeList(std::vector<ItemDef*>& list) {
    for (ItemDef* def : list) {
        delete def;
    }
    list.clear();
}
}  // namespace

void ClearItemDB() {
    FreeList(ItemDefLists.general);
    FreeList(ItemDefLists.weapons);
    FreeList(ItemDefLists.armour);
    FreeList(ItemDefLists.ammunition);
    FreeList(ItemDefLists.mushrooms);
    FreeList(ItemDefLists.potions);
    FreeList(ItemDefLists.wands);
    FreeList(ItemDefLists.food);
    FreeList(ItemDefLists.thrown);
    FreeList(ItemDefLists.traps);
    FreeList(ItemDefLists.reagents);
}

Item* CreateItem(const ItemDef* definition) {
    return definition == nullptr ? nullptr : new Item(definition);
}

Item* CreateItemFromDef(const ItemDef* definition) {
    return CreateItem(definition);
}

Item* CreateLootItem(const char*, const char*, int32_t, int32_t, int32_t) {
    return nullptr;
}

void GenerateArtifact(ArtifactRecord*, int32_t, Item*) {}

namespace {
// Stand-in pickers: a uniform entry of the list (C generator), null when it is empty.
const ItemDef* UniformPick(const std::vector<ItemDef*>& list) {
    if (list.empty()) return nullptr;
    return list[static_cast<size_t>(RandomInt(static_cast<int32_t>(list.size())))];
}
}  // namespace

const ItemDef* RandomWeaponDefByLevel() {
    return UniformPick(ItemDefLists.weapons);
}

const ItemDef* RandomArmourDefByLevel() {
    return UniformPick(ItemDefLists.armour);
}

const ItemDef* RandomAmmoDefByLevel() {
    return UniformPick(ItemDefLists.ammunition);
}

const ItemDef* RandomEquipmentDefByLevel(int32_t, int32_t weapon) {
    return UniformPick(weapon != 0 ? ItemDefLists.weapons : ItemDefLists.armour);
}

const ItemDef* PickRandomPotionDef() {
    return UniformPick(ItemDefLists.potions);
}

const ItemDef* PickRandomWandDef() {
    return UniformPick(ItemDefLists.wands);
}

const ItemDef* PickRandomFoodOrBoozeDef() {
    return UniformPick(ItemDefLists.food);
}

void ResetKnownItemTypes() {
    for (std::vector<ItemDef*>* list :
         {&ItemDefLists.general, &ItemDefLists.weapons, &ItemDefLists.armour,
          &ItemDefLists.ammunition, &ItemDefLists.mushrooms, &ItemDefLists.potions,
          &ItemDefLists.wands, &ItemDefLists.food, &ItemDefLists.thrown, &ItemDefLists.traps,
          &ItemDefLists.reagents}) {
        for (ItemDef* def : *list) {
            def->known = 0;
        }
    }
}

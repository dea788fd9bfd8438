// Stand-in: what is still to be built is listed at the top of items_fixtures/item_db.h.
#include "items_fixtures/item_db.h"

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

const ItemDef* RandomWeaponDefByLevel() {
    return nullptr;
}

const ItemDef* RandomArmourDefByLevel() {
    return nullptr;
}

const ItemDef* RandomAmmoDefByLevel() {
    return nullptr;
}

const ItemDef* RandomEquipmentDefByLevel(int32_t, int32_t) {
    return nullptr;
}

const ItemDef* PickRandomPotionDef() {
    return nullptr;
}

const ItemDef* PickRandomWandDef() {
    return nullptr;
}

const ItemDef* PickRandomFoodOrBoozeDef() {
    return nullptr;
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

// Stand-in: what is still to be built is listed at the top of items_fixtures/item.h.
#include "items_fixtures/item.h"

#include "items_fixtures/item_db.h"

Item::Item() {
    blocksMovement = 0;
    blocksSight = 0;
    passable = 1;
}

Item::Item(const ItemDef* definition) : Item() {
    def = definition;
    if (definition != nullptr) {
        name = definition->name;
        category = definition->category;
        type = definition->category;
        subtype = definition->index;
        stackable = definition->maxStack > 1 ? 1 : 0;
    }
}

Item::~Item() = default;

std::string Item::GetItemName() const {
    return name;
}

std::string Item::GetCategoryName() const {
    return "";
}

std::string Item::GetTooltipDescription() const {
    return def != nullptr ? def->description : std::string();
}

std::string Item::GetGameplayInfo() const {
    return "";
}

int32_t Item::Use() {
    return 0;
}

int32_t Item::UseOn(GameObj*) {
    return 0;
}

void Item::OnEquip() {}

void Item::OnUnequip() {}

bool Item::IsAutoPickupEnabled() const {
    return false;
}

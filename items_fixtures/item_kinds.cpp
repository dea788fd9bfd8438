// Stand-in: what is still to be built is listed at the top of items_fixtures/item_kinds.h.
#include "items_fixtures/item_kinds.h"

#include "items_fixtures/item_db.h"

Weapon::Weapon(const ItemDef* definition) : Item(definition) {
    type = 1;
}

Armour::Armour(const ItemDef* definition) : Item(definition) {
    type = 2;
}

Potion::Potion(const ItemDef* definition) : Item(definition) {}

Mushroom::Mushroom(const ItemDef* definition) : Item(definition) {
    category = kItemMushroom;
}

Wand::Wand(const ItemDef* definition) : Item(definition) {
    category = kItemWand;
}

Food::Food(const ItemDef* definition) : Item(definition) {
    type = 5;
}

Gem::Gem(const ItemDef* definition) : Item(definition) {}

Reagent::Reagent(const ItemDef* definition) : Item(definition) {}

Misc::Misc(int32_t miscKind) : kind(miscKind) {
    name = miscKind == 0 ? "Lockpicks" : "Oddment";
}

Zorkmids::Zorkmids(int32_t amount) {
    name = "Zorkmids";
    stackable = 1;
    count = amount;
}

SkillItem::SkillItem() = default;

int32_t SkillItem::Use() {
    return 1;
}

Toolkit::Toolkit(const std::string& toolKind) : kind(toolKind) {
    category = kItemToolkit;
}

Toolkit::Toolkit(const ItemDef* definition) : Item(definition) {
    if (definition != nullptr && definition->toolkitLayout != nullptr) kind = definition->toolkitLayout->tag;
}

int32_t Toolkit::Use() {
    return 0;
}

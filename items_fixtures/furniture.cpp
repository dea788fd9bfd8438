// Stand-in: what is still to be built is listed at the top of items_fixtures/furniture.h.
#include "items_fixtures/furniture.h"

#include "items_fixtures/item.h"

Chest::Chest(Level*) {}

Chest::~Chest() { delete content; }

EvilChest::EvilChest() = default;

UberChest::UberChest() = default;

UberChest::~UberChest() { delete content; }

Dispenser::Dispenser(int32_t dispenserKind) : kind(dispenserKind) {}

DiggleGod::DiggleGod(const char* name) : godName(name != nullptr ? name : "") {}

Dirt::Dirt() {
    blocksMovement = 0;
    blocksSight = 0;
    passable = 1;
}

Anvil::Anvil() = default;
Fountain::Fountain() = default;
Freezer::Freezer() = default;
LutefiskStatue::LutefiskStatue() = default;
Statue::Statue() = default;
ZarnochStatue::ZarnochStatue() = default;

Pedestal::Pedestal() = default;

ShopPedestal::ShopPedestal() = default;

ShopPedestal::~ShopPedestal() { delete stock; }

QuestBlocker::QuestBlocker(QuestRecord* questRecord) : quest(questRecord) {}

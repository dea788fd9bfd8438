// Stand-in: what is still to be built is listed at the top of items_fixtures/furniture.h.
#include "items_fixtures/furniture.h"

#include "items_fixtures/item.h"

Chest::Chest(Level*) {}

Chest::~Chest() { delete content; }

UberChest::UberChest() = default;

UberChest::~UberChest() { delete content; }

Dispenser::Dispenser(int32_t dispenserKind) : kind(dispenserKind) {}

DiggleGod::DiggleGod(const char* name) : godName(name != nullptr ? name : "") {}

Anvil::Anvil() = default;
LutefiskStatue::LutefiskStatue() = default;
ZarnochStatue::ZarnochStatue() = default;

ShopPedestal::ShopPedestal() = default;

ShopPedestal::~ShopPedestal() { delete stock; }

QuestBlocker::QuestBlocker(QuestRecord* questRecord) : quest(questRecord) {}

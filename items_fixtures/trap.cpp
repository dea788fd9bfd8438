// Stand-in: what is still to be built is listed at the top of items_fixtures/trap.h.
#include "items_fixtures/trap.h"

#include "core/class_registry.h"
#include "items_fixtures/item_db.h"

Trap::Trap(const ItemDef* definition) : Item(definition) {
    type = kItemTrap;
    stackable = 1;
}

uint32_t Trap::GetClassHash() {
    return TrapClassHash();
}

uint32_t Trap::TrapClassHash() {
    return GetRegisteredClassHash("Trap");
}


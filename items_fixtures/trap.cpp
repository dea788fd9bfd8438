// Stand-in: what is still to be built is listed at the top of items_fixtures/trap.h.
#include "items_fixtures/trap.h"

#include "core/class_registry.h"
#include "items_fixtures/item_db.h"

SERIALIZABLE_REGISTRATION(Trap);

namespace {

const ItemDef* OldTrap(int32_t position) {
    return ItemDefAt(position);
}

}  // namespace

Trap::Trap(const ItemDef* definition) : Item(definition) {
    type = kItemTrap;
    stackable = 1;
    if (definition != nullptr) charges = definition->trapCharges;
}

Trap::Trap(SaveReader& in) : Item(in) {
    type = kItemTrap;
    const ItemDef* definition = ReadItemDefinition(in, this, OldTrap);
    originX = in.ReadInt32();
    originY = in.ReadInt32();
    spotted = in.ReadBool() ? 1 : 0;
    disarmed = in.ReadBool();
    stackable = 1;
    if (definition != nullptr) charges = definition->trapCharges;
}

bool Trap::Save(SaveWriter& out) {
    bool ok = Item::Save(out);
    ok = WriteItemDefinition(out, this) && ok;
    ok = out.WriteInt32(originX) && ok;
    ok = out.WriteInt32(originY) && ok;
    ok = out.WriteBool(spotted != 0) && ok;
    return out.WriteBool(disarmed) && ok;
}

uint32_t Trap::GetClassHash() {
    return TrapClassHash();
}

int32_t Trap::GetClassIndex() {
    return GetRegisteredClassIndex("Trap");
}

uint32_t Trap::TrapClassHash() {
    return GetRegisteredClassHash("Trap");
}

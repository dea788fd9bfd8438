#include "items_fixtures/dispenser.h"

#include "items_fixtures/chest.h"
#include "items_fixtures/item.h"

FIXTURE_REGISTRATION(Dispenser)

namespace {

struct DispenserKind {
    const char* name;
    const char* series;
    const char* fileBase;
};

const DispenserKind kKinds[] = {
    {"Bolt Dispenser", "boltdispenser", "dungeon/dispenser_bolts"},
    {"Food Vendor", "fooddispenser", "dungeon/dispenser_food"},
    {"Drink Vendor", "drinkdispenser", "dungeon/dispenser_drink"},
    {"Handheld Weaponry Dispenser", "throwndispenser", "dungeon/dispenser_thrown"},
    {"Crafts Dispenser", "craftsdispenser", "dungeon/dispenser_crafts"},
};

const DispenserKind* KindOf(int32_t kind) {
    if (kind < 0 || kind >= static_cast<int32_t>(sizeof(kKinds) / sizeof(kKinds[0]))) return nullptr;
    return &kKinds[kind];
}

}  // namespace

Dispenser::Dispenser(int32_t dispenserKind) : kind(dispenserKind) { RefreshPicture(); }

Dispenser::Dispenser(SaveReader& in) : GameObj(in) {
    kind = in.ReadInt32();
    for (Item*& slot : stock) slot = ExpectItem(ReadEmbeddedObject(in), "dispenser");
    robbed = in.version.AtLeast(kSaveV1_0_8) ? (in.ReadBool() ? 1 : 0) : 1;
    RefreshPicture();
}

Dispenser::~Dispenser() {
    for (Item*& slot : stock) {
        delete slot;
        slot = nullptr;
    }
}

bool Dispenser::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    ok = out.WriteInt32(kind) && ok;
    for (Item* slot : stock) ok = WriteEmbeddedObject(out, slot) && ok;
    return out.WriteBool(robbed) && ok;
}

std::string Dispenser::GetName() {
    const DispenserKind* k = KindOf(kind);
    return k != nullptr ? k->name : "Dispenser";
}

void Dispenser::RefreshPicture() {
    // A kind outside the table wears the bolt machine's picture.
    const DispenserKind* k = KindOf(kind);
    if (k == nullptr) k = &kKinds[0];
    ShowFixtureSeries(*this, k->series, k->fileBase, 2, 0, 200, true);
}

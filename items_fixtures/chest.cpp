#include "items_fixtures/chest.h"

#include <cstdio>

#include "items_fixtures/item.h"
#include "levels/branch_db.h"
#include "levels/level.h"

FIXTURE_REGISTRATION(Chest)
FIXTURE_REGISTRATION(UberChest)

Item* ExpectItem(GameObj* object, const char* owner) {
    if (object == nullptr) return nullptr;
    Item* item = dynamic_cast<Item*>(object);
    if (item == nullptr) {
        std::printf("%s: the saved contents are not an item; they are dropped\n", owner);
        delete object;
    }
    return item;
}

// ---- Chest ---------------------------------------------------------------------------------

Chest::Chest(Level* onLevel) : pictureLevel(onLevel) {
    RefreshPicture();
}

Chest::Chest(SaveReader& in) : GameObj(in) {
    pictureLevel = level;
    content = ExpectItem(ReadEmbeddedObject(in), "chest");
    locked = in.ReadBool() ? 1 : 0;
    smashed = in.ReadBool() ? 1 : 0;
    RefreshPicture();
}

Chest::~Chest() { delete content; }

bool Chest::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    ok = WriteEmbeddedObject(out, content) && ok;
    ok = out.WriteBool(locked) && ok;
    return out.WriteBool(smashed) && ok;
}

void Chest::RefreshPicture() {
    static const BranchRecord kDefaultArt;
    Level* on = level != nullptr ? level : pictureLevel;
    const BranchRecord* branch = on != nullptr ? on->GetBranchRecord() : nullptr;
    if (branch == nullptr) branch = &kDefaultArt;
    const std::string& file = content != nullptr ? branch->chestClosed
                              : smashed != 0     ? branch->chestBroken
                                                 : branch->chestOpen;
    ShowFixtureSprite(*this, file.c_str(), file.c_str(), false);
}

// ---- UberChest -----------------------------------------------------------------------------

UberChest::UberChest() {
    RefreshPicture();
}

UberChest::UberChest(SaveReader& in) : GameObj(in) {
    content = ExpectItem(ReadEmbeddedObject(in), "uber chest");
    // Older saves carry no lock word: such a chest stays locked, as it was made.
    locked = in.version.AtLeast(kSaveV1_0_6) ? (in.ReadBool() ? 1 : 0) : 1;
    if (in.version.AtLeast(kSaveV1_0_10)) {
        furtherA = in.ReadInt32();
        furtherB = in.ReadInt32();
    }
    RefreshPicture();
}

UberChest::~UberChest() { delete content; }

bool UberChest::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    ok = WriteEmbeddedObject(out, content) && ok;
    ok = out.WriteBool(locked) && ok;
    ok = out.WriteInt32(furtherA) && ok;
    return out.WriteInt32(furtherB) && ok;
}

void UberChest::RefreshPicture() {
    ShowFixtureSprite(*this, "UberChest", "dungeon/uberchest.spr", false);
    ShowFixtureFrame(*this, locked != 0 ? 0 : content != nullptr ? 1 : 2);
}

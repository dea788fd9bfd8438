#include "items_fixtures/breakable.h"

#include <cstdio>

#include "core/command_state.h"
#include "items_fixtures/chest.h"
#include "items_fixtures/item.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "media/sprite.h"

// In the order of the saved-class table.
FIXTURE_REGISTRATION(Breakable)
FIXTURE_REGISTRATION(ZarnochStatue)

namespace {

// The tileset entry of a breakable, or null with a diagnostic when the index is outside the
// branch's list (a save or a branch file that changed). No level or branch: null, quietly.
const BreakableDef* TilesetEntry(Level* onLevel, int32_t index) {
    const BranchRecord* branch = onLevel != nullptr ? onLevel->GetBranchRecord() : nullptr;
    if (branch == nullptr) return nullptr;
    const BreakableDef* def = branch->GetBreakable(index);
    if (def == nullptr) {
        std::printf("breakable: tileset index %d is outside the %zu breakables of branch %d; placeholder picture\n",
                    index, branch->breakables.size(), branch->id);
    }
    return def;
}

// A record without a name gives no sprite (nothing is requested as a file).
Sprite* MakeIfNamed(const SpriteRecord& record) {
    if (record.image.empty() && record.series.empty()) return nullptr;
    return record.MakeSprite();
}

}  // namespace

// ---- Breakable -----------------------------------------------------------------------------

Breakable::Breakable(Level* onLevel, int32_t tilesetIndex, int32_t hitsNeeded, int32_t hitsAlreadyTaken)
    : branchIndex(tilesetIndex), hitsNeededToBreak(hitsNeeded), hitsTaken(hitsAlreadyTaken) {
    RefreshPicture(onLevel);
}

Breakable::Breakable(Level* onLevel, const SpriteRecord* intact, const SpriteRecord* breaking,
                     const SpriteRecord* broken, int32_t hitsNeeded, int32_t hitsAlreadyTaken)
    : hitsNeededToBreak(hitsNeeded), hitsTaken(hitsAlreadyTaken), hasRecords(true) {
    if (intact != nullptr) intactRecord = *intact;
    if (breaking != nullptr) breakingRecord = *breaking;
    if (broken != nullptr) brokenRecord = *broken;
    RefreshPicture(onLevel);
}

Breakable::Breakable(SaveReader& in) : GameObj(in) {
    const bool brokenNow = in.ReadBool();
    branchIndex = in.ReadInt32();
    contents = ExpectItem(ReadEmbeddedObject(in), "breakable");
    if (in.version.AtLeast(kSaveV1_0_8)) {
        hitsNeededToBreak = in.ReadInt32();
        hitsTaken = in.ReadInt32();
        if (branchIndex == -1) {
            intactRecord.Read(in);
            breakingRecord.Read(in);
            brokenRecord.Read(in);
            hasRecords = true;
        }
    } else {
        hitsNeededToBreak = 1;
        hitsTaken = brokenNow ? 1 : 0;
    }
    RefreshPicture(level);
}

Breakable::~Breakable() { delete contents; }

bool Breakable::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    ok = out.WriteBool(IsBroken() ? 1 : 0) && ok;
    ok = out.WriteInt32(branchIndex) && ok;
    ok = WriteEmbeddedObject(out, contents) && ok;
    ok = out.WriteInt32(hitsNeededToBreak) && ok;
    ok = out.WriteInt32(hitsTaken) && ok;
    if (branchIndex == -1) {
        ok = intactRecord.Write(out) && ok;
        ok = breakingRecord.Write(out) && ok;
        ok = brokenRecord.Write(out) && ok;
    }
    return ok;
}

void Breakable::RefreshPicture(Level* onLevel) {
    firstSprite = secondSprite = thirdSprite = nullptr;
    if (branchIndex != -1) {
        const BreakableDef* def = TilesetEntry(onLevel, branchIndex);
        if (def != nullptr) {
            if ((CmdLine.debugFlags & kDebugLoads) != 0) std::printf("loading breakable: name: %s\n", def->name.c_str());
            name = def->name;
            soundName = def->sfx.empty() ? "breakable" : def->sfx;
            firstSprite = def->sprite;
            secondSprite = def->breakSprite != nullptr ? def->breakSprite : firstSprite;
            thirdSprite = def->brokenSprite != nullptr ? def->brokenSprite : firstSprite;
        }
    } else if (hasRecords) {
        firstSprite = MakeIfNamed(intactRecord);
        secondSprite = MakeIfNamed(breakingRecord);
        thirdSprite = MakeIfNamed(brokenRecord);
    } else {
        std::printf("breakable: a custom breakable of an old save has no pictures; placeholder picture\n");
    }
    // Never without a picture: what cannot be had wears the placeholder.
    if (firstSprite == nullptr) firstSprite = FixturePlaceholderSprite();
    if (secondSprite == nullptr) secondSprite = firstSprite;
    if (thirdSprite == nullptr) thirdSprite = firstSprite;
    ShowState();
}

void Breakable::ShowState() {
    anchorMode = 1;
    bob.playing = false;
    bob.loop = false;
    bob.finished = false;
    bob.frameTimer = 0;
    if (!IsBroken()) {
        if (!bob.locked && bob.sprite != firstSprite && firstSprite != nullptr) bob.SetSprite(firstSprite);
        bob.frame = 0;
    } else {
        if (thirdSprite != nullptr) bob.SetSprite(thirdSprite);
        ShowFixtureFrame(*this, thirdSprite != nullptr ? thirdSprite->frameCount - 1 : 0);
    }
    bob.playing = false;
    bob.loop = false;
}

// ---- ZarnochStatue -------------------------------------------------------------------------

ZarnochStatue::ZarnochStatue() { RefreshPicture(); }

ZarnochStatue::ZarnochStatue(SaveReader& in) : GameObj(in) {
    broken = in.ReadBool() ? 1 : 0;
    if (broken != 0) blocksMovement = 0;
    RefreshPicture();
}

bool ZarnochStatue::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteBool(broken) && ok;
}

void ZarnochStatue::RefreshPicture() {
    if (broken != 0) {
        ShowFixtureSprite(*this, "zarnochstatue_broken", "dungeon/statue_zarnoch_broken.png", false);
    } else {
        ShowFixtureSprite(*this, "zarnochstatue", "dungeon/statue_zarnoch.png", false);
    }
}

#include "items_fixtures/breakable.h"

#include <cstdio>

#include "core/command_state.h"
#include "core/tweak.h"
#include "creatures/player.h"
#include "items_fixtures/chest.h"
#include "items_fixtures/item.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/effect_animation.h"
#include "media/eye_candy.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "store_platform/stats.h"

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
    coversSquareAbove = 1;
    blocksSight = 0;
    RefreshPicture(onLevel);
}

Breakable::Breakable(Level* onLevel, const SpriteRecord* intact, const SpriteRecord* breaking,
                     const SpriteRecord* broken, int32_t hitsNeeded, int32_t hitsAlreadyTaken)
    : hitsNeededToBreak(hitsNeeded), hitsTaken(hitsAlreadyTaken), hasRecords(true) {
    if (intact != nullptr) intactRecord = *intact;
    if (breaking != nullptr) breakingRecord = *breaking;
    if (broken != nullptr) brokenRecord = *broken;
    coversSquareAbove = 1;
    blocksSight = 0;
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

std::string Breakable::GetDescription() {
    if (IsBroken()) return "It's broken.";
    return hitsNeededToBreak - hitsTaken == 1 ? "Break" : "Beat it";
}

const char* Breakable::GetActionVerb() {
    if (IsBroken()) return nullptr;
    return hitsNeededToBreak - hitsTaken == 1 ? "Break" : "Beat it";
}

int32_t Breakable::Activate() {
    if (!IsBroken()) PlayerSwingAt(x, y, soundName.c_str());
    return Break();
}

void Breakable::Destroy() { QueueObjectDeletion(this); }

int32_t Breakable::Break() {
    if (IsBroken()) return 0;
    ++hitsTaken;
    AddRoomEvent("hit");
    if (!IsBroken()) {
        const int32_t frames = bob.sprite != nullptr ? bob.sprite->frameCount : 1;
        bob.frame = hitsTaken < frames - 1 ? hitsTaken : frames - 1;
        if (bob.frame < 0) bob.frame = 0;
        return 1;
    }
    AddRoomEvent("broken");
    PlayBobToEnd(&bob, secondSprite);
    ShowState();
    blocksMovement = 0;
    blocksSight = 0;
    if (contents != nullptr) {
        QueueObjectMove(contents, x, y, level);
        contents = nullptr;
    }
    return 1;
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

ZarnochStatue::ZarnochStatue() {
    coversSquareAbove = 1;
    RefreshPicture();
}

ZarnochStatue::ZarnochStatue(SaveReader& in) : GameObj(in) {
    broken = in.ReadBool() ? 1 : 0;
    if (broken != 0) blocksMovement = 0;
    RefreshPicture();
}

bool ZarnochStatue::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteBool(broken) && ok;
}

int32_t ZarnochStatue::Activate() {
    if (broken != 0) return 0;
    PlayerSwingAt(x, y, "breakable");
    HitByPlayer();
    return 1;
}

int32_t ZarnochStatue::BumpedByPlayer() {
    if (blocksMovement == 0) return 0;
    PlayerSwingAt(x, y, "breakable");
    HitByPlayer();
    return 1;
}

void ZarnochStatue::Shatter() {
    if (broken != 0) return;
    Sprite* breaking = SpriteMgr_GetOrLoadSeries("zarnoch_statue_break", "dungeon/state_zarnoch_break/state_zarnoch_break",
                                                 4, 0, 60, 1);
    PlayBobToEnd(&bob, breaking);
    broken = 1;
    RefreshPicture();
    blocksMovement = 0;
    blocksSight = 0;
    PlaySFX("vandalism");
    if (Sprite* icon = EyeCandyIcons.heroicVandalism) {
        SpawnEyeCandy(bob.x + bob.FrameWidth() / 2 - icon->width / 2, bob.y + 96, icon, 1, 0);
    }
    if (CurrentPlayer != nullptr) {
        const int32_t depth = level != nullptr ? level->depth : 0;
        CurrentPlayer->AddExperience(GetTweakInt("zarnoch statue break exp") * (depth + 1), 0);
    }
    AddToStat("STAT_HEROIC_VANDALISMS", 1);
    if (GetStatInt("STAT_HEROIC_VANDALISMS") == 500) AwardAchievement("ACHIEVEMENT_THE_CRITIC");
}

void ZarnochStatue::RefreshPicture() {
    if (broken != 0) {
        ShowFixtureSprite(*this, "zarnochstatue_broken", "dungeon/statue_zarnoch_broken.png", false);
    } else {
        ShowFixtureSprite(*this, "zarnochstatue", "dungeon/statue_zarnoch.png", false);
    }
}

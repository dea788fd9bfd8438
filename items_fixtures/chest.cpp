#include "items_fixtures/chest.h"

#include <cstdio>
#include <string>

#include "core/random.h"
#include "core/saturating.h"
#include "core/tweak.h"
#include "creatures/player.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/lockpick.h"
#include "items_fixtures/passages.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "platform/platform.h"
#include "media/ticker.h"

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

void HandOutContents(Item* contents, int32_t x, int32_t y, Level* onLevel) {
    if (contents == nullptr) return;
    if (contents->type == kItemZorkmids) {
        Zorkmids* money = dynamic_cast<Zorkmids*>(contents);
        if (CurrentPlayer != nullptr && money != nullptr) CurrentPlayer->GainZorkmids(money->amount);
        QueueObjectDeletion(contents);
        return;
    }
    QueueObjectMove(contents, x, y, onLevel);
}

namespace {

const char kPickBreaks[] = "The lockpick breaks when you attempt to use it!";

// The lock-picking roll: a hero with the skill never breaks a pick; else one chance in ten
// (a draw of 90 or more out of 100).
bool LockpickBreaks() {
    Player* hero = CurrentPlayer;
    if (hero != nullptr && hero->GetSkillLevel(kLockPickingSkill) > 0) return false;
    return MTRandomInt(100) >= 90;
}

}  // namespace

// ---- Chest ---------------------------------------------------------------------------------

Chest::Chest(Level* onLevel) : pictureLevel(onLevel) {
    locked = MTOneChanceIn(2) ? 1 : 0;
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

const char* Chest::GetActionVerb() {
    if (smashed != 0) return "(You Smashed It Up Good)";
    return content != nullptr ? "Open" : nullptr;
}

int32_t Chest::BumpedByPlayer() { return GetCursorItem() != nullptr ? Activate() : 0; }

void Chest::Destroy() { QueueObjectDeletion(this); }

void Chest::Unlock() {
    locked = 0;
    AddText("The chest unlocks!", true);
    PlaySFX("chest");
    ShowLockpickedCandy();
}

int32_t Chest::Activate() {
    if (content == nullptr) return 0;
    if (locked != 0) {
        const LockpickPlace pick = FindCarriedLockpick();
        if (pick.item != nullptr) {
            UseUpOneLockpick(pick.item);
            const bool broke = LockpickBreaks();
            if (broke) {
                AddText(kPickBreaks, true);
            } else {
                Unlock();
                // Only a pick taken from the backpack teaches the hero anything.
                if (!pick.onBelt) GiveLockpickExperience(level);
            }
            PlaySFX("key");
            if (broke) return 1;
        } else {
            PlaySFX("key");
            if (ShowItemDialog("The chest is locked! Bash it open?", "ui/dialog_but_yea", "ui/dialog_but_nay") != 0) {
                return 1;
            }
            PlayerSwingAt(x, y, "breakable");
            if (MTOneChanceIn(2)) {
                PlaySFX("chest");
                AddText("The chest flies open!", true);
            } else {
                AddText("The chest shatters into a million pieces!", true);
                smashed = 1;
                QueueObjectDeletion(content);
                content = nullptr;
                RefreshPicture();
                blocksMovement = 0;
                return 1;
            }
        }
    }
    return OpenUp();
}

int32_t Chest::OpenUp() {
    bob.frame = 0;
    blocksSight = 0;
    Item* given = content;
    content = nullptr;
    HandOutContents(given, x, y, level);
    RefreshPicture();
    blocksMovement = 0;
    return 1;
}

int32_t Chest::UseItemOn(Item* item) {
    if (!IsLockpick(item) || item->unpaid != 0 || locked == 0) return 0;  // shop picks are not spent
    PlaySFX("key");
    if (LockpickBreaks()) {
        AddText(kPickBreaks, true);
        UseUpOneLockpick(item);
        return 1;
    }
    locked = 0;
    AddText("The chest unlocks!", true);
    PlaySFX("chest");
    GiveLockpickExperience(level);
    // The lid is open; the contents wait inside until the chest is used.
    const BranchRecord* branch = level != nullptr ? level->GetBranchRecord() : nullptr;
    static const BranchRecord kDefaultArt;
    const std::string& file = (branch != nullptr ? branch : &kDefaultArt)->chestOpen;
    ShowFixtureSprite(*this, file.c_str(), file.c_str(), false);
    UseUpOneLockpick(item);
    return 1;
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

UberChest::~UberChest() {
    ForgetChestLinks(this);
    delete content;
}

int32_t UberChest::BumpedByPlayer() { return GetCursorItem() != nullptr ? Activate() : 0; }

void UberChest::Destroy() { QueueObjectDeletion(this); }

int32_t UberChest::Activate() {
    if (content == nullptr) return 0;
    if (locked != 0) {
        PlaySFX("key");
        AddText("The UberChest is locked!", true);
        return 1;
    }
    // The opened picture is the last of the three frames: nothing is left to play after it.
    ShowFixtureFrame(*this, 2);
    blocksSight = 0;
    Item* given = content;
    content = nullptr;
    HandOutContents(given, x, y, level);
    blocksMovement = 0;
    return 1;
}

void UberChest::DrawOnMinimap(int32_t px, int32_t py, int32_t zoom) {
    static const char* const kSuffix[] = {"", "_2x", "_3x", "_4x"};
    if (zoom < 0 || zoom > 3) return;
    char file[96];
    std::snprintf(file, sizeof file, "%s%s.png",
                  locked != 0 ? "ui/icons/minimap_uberchest_locked" : "ui/icons/minimap_uberchest", kSuffix[zoom]);
    // Loaded by the first frame that shows it; later frames only look it up.
    Sprite* icon = SpriteMgr_Find(file);
    if (icon == nullptr) icon = SpriteMgr_GetOrLoadPNG(file, GetResourceFilename(file).c_str(), 1);
    if (icon != nullptr) icon->DrawFrame(px, py, 0);
}

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

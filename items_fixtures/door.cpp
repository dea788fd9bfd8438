// Doors: opening, closing, picking and kicking the three parts of a doorway.
#include <cstdio>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/shell/shell_services.h"
#include "creatures/monster.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "items_fixtures/item.h"
#include "items_fixtures/lockpick.h"
#include "items_fixtures/passages.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/effect_animation.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/ticker.h"

namespace {

constexpr uint8_t kDoorOpenBit = 4;
constexpr uint8_t kDoorLockedBit = 2;

// The door art of a depth: the defaults, replaced by the last branch record whose first depth
// is that depth. Order: ew top, ew bottom, ns left, ns right.
void DoorArt(int32_t style, std::string names[4]) {
    static const BranchRecord kDefaults;
    const BranchRecord* chosen = &kDefaults;
    for (const BranchRecord* branch : Branches) {
        if (branch != nullptr && branch->minDepth == style) chosen = branch;
    }
    names[0] = chosen->doorEwTop;
    names[1] = chosen->doorEwBottom;
    names[2] = chosen->doorNsLeft;
    names[3] = chosen->doorNsRight;
}

int32_t Manhattan(const GameObj& a, const GameObj& b) {
    return std::abs(a.x - b.x) + std::abs(a.y - b.y);
}

void SetDoorBits(GameObj& part, uint8_t bit, bool on) {
    if (part.cell == nullptr) return;
    if (on) part.cell->doorFlags = static_cast<uint8_t>(part.cell->doorFlags | bit);
    else part.cell->doorFlags = static_cast<uint8_t>(part.cell->doorFlags & ~bit);
}

}  // namespace

Door::Door(int32_t doorOrientation, int32_t doorDepth, int32_t doorPart)
    : orientation(doorOrientation), depth(doorDepth), part(doorPart) {
    blocksMovement = 1;
    blocksSight = 1;
    coversSquareAbove = 1;
    SetUpPicture();
}

Door::Door(SaveReader& in) : Door(0, 0, 0) { (void)in; }

bool Door::Save(SaveWriter&) { return true; }

void Door::SetUpPicture() {
    if (orientation == 0) anchorMode = 1;
    else anchorMode = part == 0 ? 4 : part == 2 ? 5 : 1;
    if (part == 1) return;  // the middle part has no picture
    std::string names[4];
    DoorArt(depth, names);
    const std::string& name = names[(orientation != 0 ? 2 : 0) + (part == 2 ? 1 : 0)];
    if (name.empty()) return;
    Sprite* sprite = nullptr;
    if (name.find('.') != std::string::npos) {
        sprite = SpriteMgr_GetOrLoad(name.c_str(), name.c_str(), "", 0, 0);
    } else {
        sprite = SpriteMgr_GetOrLoadSeries(name.c_str(), name.c_str(), orientation == 0 ? 3 : 2, 0, 60, 1);
    }
    if (sprite == nullptr) sprite = FixturePlaceholderSprite();
    bob.SetSprite(sprite);
    bob.playing = false;
    bob.loop = false;
    ShowFixtureFrame(*this, IsClosed() ? 0 : orientation == 0 ? 2 : 1);
    if (orientation == 0 && part == 2) drawLayer = IsClosed() ? 1 : 2;
}

bool Door::IsClosedDoor() { return !ClickToMoveDisabled() && IsClosed(); }

int32_t Door::WalkPlayerBeside() {
    if (ClickToMoveDisabled()) return 0;
    if (!IsClosed()) return 1;
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return 1;
    if (orientation == 1) hero->WalkPathTo(x, hero->y >= y ? y + 1 : y - 1);
    else hero->WalkPathTo(hero->x < x ? x - 1 : x + 1, y);
    return 1;
}

int32_t Door::BumpedByPlayer() { return IsClosed() ? Activate() : 0; }

const char* Door::GetActionVerb() {
    if (IsClosed()) {
        if (locked == 0) return "Open Door";
        return PlayerHasLockpick() ? "Pick Lock" : "Kick Locked Door";
    }
    if (part == 1) return nullptr;
    const GameObj* hero = CurrentHero();
    return hero != nullptr && Manhattan(*hero, *this) <= 1 ? "Close Door" : nullptr;
}

void Door::HighlightNextDraw(const MapView& view) {
    if (IsClosed() && previous != nullptr && next != nullptr) {
        previous->GameObj::HighlightNextDraw(view);
        next->GameObj::HighlightNextDraw(view);
    }
    GameObj::HighlightNextDraw(view);
}

void Door::Destroy() { QueueObjectDeletion(this); }

void Door::Open() {
    open = true;
    blocksMovement = 0;
    blocksSight = 0;
    coversSquareAbove = 0;
    SetDoorBits(*this, kDoorOpenBit, true);
    ShowFixtureFrame(*this, orientation == 0 ? 2 : 1);
    if (orientation == 0 && part == 2) drawLayer = 2;
}

void Door::Close() {
    open = false;
    blocksMovement = 1;
    blocksSight = 1;
    coversSquareAbove = 1;
    ShowFixtureFrame(*this, 0);
    SetDoorBits(*this, kDoorOpenBit, false);
    if (orientation == 0 && part == 2) drawLayer = 1;
}

int32_t Door::Chain(Door* out[5]) {
    Door* candidates[5] = {this, previous, previous != nullptr ? previous->previous : nullptr, next,
                           next != nullptr ? next->next : nullptr};
    int32_t count = 0;
    for (Door* d : candidates) {
        if (d == nullptr) continue;
        bool seen = false;
        for (int32_t i = 0; i < count; ++i) seen = seen || out[i] == d;
        if (!seen) out[count++] = d;
    }
    return count;
}

void Door::OpenAll() {
    Door* parts[5];
    const int32_t n = Chain(parts);
    for (int32_t i = 0; i < n; ++i) parts[i]->Open();
}

void Door::CloseAll() {
    Door* parts[5];
    const int32_t n = Chain(parts);
    for (int32_t i = 0; i < n; ++i) parts[i]->Close();
}

int32_t Door::Activate() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return 0;
    if (Manhattan(*hero, *this) > 1) {
        if (locked != 0) PlaySFX("locked");
        return 0;
    }
    if (!IsClosed()) {
        // The middle of an open doorway cannot be closed.
        if (previous != nullptr && next != nullptr) return 0;
        Level* on = level;
        const auto blocked = [on](const GameObj* part) {
            return part != nullptr && on != nullptr && on->IsSquareBlocked(part->x, part->y, true, true);
        };
        if (blocked(this) || blocked(previous) || blocked(next)) {
            AddText("The doorway is blocked!", true);
            return 1;
        }
        PlaySFX("door_close");
        CloseAll();
        return 1;
    }
    if (locked != 0) {
        const LockpickPlace pick = FindCarriedLockpick();
        if (pick.item != nullptr) return Pick(pick.item);
        return Kick();
    }
    PlaySFX("door_open");
    OpenAll();
    return 1;
}

int32_t Door::Pick(Item* lockpick) {
    UseUpOneLockpick(lockpick);
    Player* hero = CurrentPlayer;
    const bool skilled = hero->GetSkillLevel(kLockPickingSkill) > 0;
    if (!skilled && RandomInt(100) >= 90) {
        AddText("The lockpick breaks when you attempt to use it!", true);
        return 1;
    }
    AddText("The door unlocks!", true);
    ShowLockpickedCandy();
    GiveLockpickExperience(level);
    Door* parts[5];
    const int32_t n = Chain(parts);
    for (int32_t i = 0; i < n; ++i) parts[i]->locked = 0;
    SetDoorBits(*this, kDoorLockedBit, false);
    if (previous != nullptr) SetDoorBits(*previous, kDoorLockedBit, false);
    if (next != nullptr) SetDoorBits(*next, kDoorLockedBit, false);
    PlaySFX("door_open");
    OpenAll();
    return 1;
}

int32_t Door::Kick() {
    Player* hero = CurrentPlayer;
    // The kick that faces the door: from the right the second kick, from the left the third,
    // from above the fourth, from below the first.
    int32_t kick = -1;
    int32_t facing = hero->facing;
    if (hero->x == x + 1 && hero->y == y) {
        kick = 1;
        facing = 1;
    } else if (hero->x == x - 1 && hero->y == y) {
        kick = 2;
        facing = 3;
    } else if (hero->x == x && hero->y == y - 1) {
        kick = 3;
        facing = 0;
    } else if (hero->x == x && hero->y == y + 1) {
        kick = 0;
        facing = 2;
    }
    PlaySFX(hero->GetAttackSoundName().c_str());
    if (kick >= 0) {
        hero->PlayAnimationToEnd(hero->KickSprite(kick));
        hero->facing = facing;
    }
    hero->SetIdleAnimation();
    if (!MTOneChanceIn(2) && kicks <= 2) {
        AddText("You kick the door but it resists your efforts!", true);
        ++kicks;
        if (MTOneChanceIn(3)) {
            AddText("That hurt your foot!", true);
            std::string cause = "in an accident of podiatry";
            if (!MTOneChanceIn(2)) {
                cause = hero->female != 0 ? "by sticking her foot through Death's door"
                                          : "by sticking his foot through Death's door";
            }
            hero->TakeDamage(2, nullptr, cause, 2, 0);
        }
        PlaySFX("locked");
        if (level != nullptr) {
            const int32_t noticeChance = std::max(0, 100 - hero->stat[kStatSneakiness]);
            const std::vector<GameObj*> monsters = level->monsters;
            for (GameObj* obj : monsters) {
                Monster* monster = dynamic_cast<Monster*>(obj);
                if (monster == nullptr) continue;
                const int32_t dx = monster->x - x;
                const int32_t dy = monster->y - y;
                if (dx * dx + dy * dy >= 25) continue;
                if (RandomInt(100) >= noticeChance) continue;
                const bool wasAsleep = monster->HasStatus(Monster::kStatusAsleep);
                monster->statusFlags = 0;
                if (wasAsleep && level->SquareKind(monster->x, monster->y) != SquareType::ZooFloor) {
                    AddText("A nearby monster has woken up as a result of your door kicking!", true);
                }
            }
        }
        return 1;
    }
    AddText("You shatter the door with your magnificent foot.", true);
    BreakDown();
    PlaySFX("breakable");
    return 1;
}

void Door::BreakDown() {
    Door* parts[5];
    const int32_t n = Chain(parts);
    Level* on = level;
    for (int32_t i = 0; i < n; ++i) {
        Door* d = parts[i];
        QueueObjectDeletion(d);
        // The parts stop blocking at once, so the way is open before the deletion runs.
        d->blocksMovement = 0;
        d->blocksSight = 0;
        if (on != nullptr) {
            if (LevelCell* square = on->GetCell(d->x, d->y)) {
                square->type = SquareType::Floor;
                square->doorFlags = 0;
            }
        }
    }
    for (int32_t i = 0; i < n; ++i) parts[i]->previous = parts[i]->next = nullptr;
    // The 3 x 3 squares around every part draw and route as floor from now on (the
    // rebuild clamps the region to the grid).
    if (on != nullptr && SpellLevel.rebuildGraphics != nullptr) {
        SpellLevel.rebuildGraphics(on, x - 2, y - 2, x + 3, y + 3);
    }
}

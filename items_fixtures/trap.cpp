#include "items_fixtures/trap.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/class_registry.h"
#include "core/random.h"
#include "core/tweak.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "items_fixtures/blockers.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/ticker.h"
#include "platform/platform.h"
#include "store_platform/stats.h"

SERIALIZABLE_REGISTRATION(Trap);

namespace {

constexpr int32_t kMountFloor = 0;
constexpr int32_t kMountWall = 1;
constexpr int32_t kMountNone = 2;

const ItemDef* OldTrap(int32_t position) {
    return ItemDefAt(position);
}

// The hidden-trap picture every trap wears until it shows its own icon.
Sprite* HiddenTrapSprite() {
    Sprite* sprite = SpriteMgr_GetOrLoadPNG("trap_hidden.png", GetResourceFilename("dungeon/trap_hidden.png").c_str(), 1);
    return sprite != nullptr ? sprite : FixturePlaceholderSprite();
}

// The step a mount walk takes from the trap: opposite to the facing (south steps north, west
// steps east, north steps south, east steps west).
void MountStep(int32_t facing, int32_t* dx, int32_t* dy) {
    *dx = 0;
    *dy = 0;
    switch (facing) {
        case 1: *dx = 1; break;
        case 2: *dy = 1; break;
        case 3: *dx = -1; break;
        default: *dy = -1; break;
    }
}

int32_t StatOf(const Hittable* who, int32_t stat) { return who != nullptr ? who->stat[stat] : 0; }

// The level when it is still alive (the current one or one of the game's), else null.
Level* LiveLevel(Level* candidate) {
    if (candidate == nullptr) return nullptr;
    if (candidate == CurrentLevel) return candidate;
    for (Level* known : GameLevels) {
        if (known == candidate) return candidate;
    }
    return nullptr;
}

}  // namespace

Trap::Trap(const ItemDef* definition) : Item(definition) {
    type = kItemTrap;
    count = 1;
    stackable = 1;
    if (definition != nullptr) {
        subtype = definition->index;
        charges = definition->trapCharges;
    }
    bob.SetSprite(HiddenTrapSprite());
    bob.playing = false;
    bob.frame = 0;
}

Trap::Trap(SaveReader& in) : Item(in) {
    type = kItemTrap;
    const ItemDef* definition = ReadItemDefinition(in, this, OldTrap);
    originX = in.ReadInt32();
    originY = in.ReadInt32();
    discovered = in.ReadBool() ? 1 : 0;
    disarmed = in.ReadBool();
    stackable = 1;
    if (definition != nullptr) charges = definition->trapCharges;
    originLevel = level;
    if (inBackpack == 0) {
        bob.SetSprite(HiddenTrapSprite());
        bob.playing = false;
        bob.frame = 0;
    }
}

bool Trap::Save(SaveWriter& out) {
    bool ok = Item::Save(out);
    ok = WriteItemDefinition(out, this) && ok;
    ok = out.WriteInt32(originX) && ok;
    ok = out.WriteInt32(originY) && ok;
    ok = out.WriteBool(discovered != 0) && ok;
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

int32_t Trap::Mount() const { return def != nullptr ? def->trapMount : kMountNone; }
int32_t Trap::TrapLevel() const { return def != nullptr ? def->level : 0; }

void Trap::CopyStateFrom(GameObj* other) {
    Item::CopyStateFrom(other);
    if (Trap* trap = dynamic_cast<Trap*>(other)) {
        disarmed = trap->disarmed;
        discovered = trap->discovered;
    }
}

bool Trap::WithinHeroSense() const {
    const Player* hero = CurrentPlayer;
    if (hero == nullptr) return false;
    return std::abs(hero->x - x) + std::abs(hero->y - y) <= hero->stat[kStatTrapSense];
}

std::string Trap::GetName() {
    if (!disarmed && unpaid == 0 && !WithinHeroSense()) return std::string();
    return DefinitionName();
}

const char* Trap::GetActionVerb() {
    if (!WithinHeroSense()) return "";
    const int32_t heroTrapLevel = StatOf(CurrentPlayer, kStatTrapLevel);
    if (disarmed || (TrapLevel() < heroTrapLevel && Mount() == kMountNone)) return "Pick Up Trap";
    return "Disarm Trap";
}

void Trap::Destroy() {
    RemoveOrigin(level);
    QueueObjectDeletion(this);
}

void Trap::Remove() {
    RemoveOrigin(level);
    QueueObjectDeletion(this);
    removed = true;
}

void Trap::RemoveOrigin(Level* from) {
    if (from == nullptr || def == nullptr || Mount() == kMountNone) return;
    LevelCell* square = from->GetCell(originX, originY);
    if (square == nullptr) return;
    for (GameObj* obj : square->contents) {
        Blocker* blocker = dynamic_cast<Blocker*>(obj);
        if (blocker != nullptr && blocker->tilesetIndex == -1 && blocker->spriteName == def->trapOrigin) {
            blocker->Destroy();
            return;
        }
    }
}

void Trap::PlaceOnLevel(int32_t newX, int32_t newY, Level* newLevel, int32_t flag) {
    // An origin left behind would fire for nobody, and a second one would come with the next
    // placing: the old one goes whenever the trap moves.
    if (Mount() != kMountNone) RemoveOrigin(level != nullptr ? level : LiveLevel(originLevel));
    originLevel = nullptr;
    Item::PlaceOnLevel(newX, newY, newLevel, flag);
    if (newLevel == nullptr || def == nullptr || inBackpack) return;
    int32_t dx = 0;
    int32_t dy = 0;
    MountStep(def->trapFacing, &dx, &dy);
    int32_t mx = newX;
    int32_t my = newY;
    if (Mount() == kMountWall) {
        for (;;) {
            const int32_t kind = newLevel->SquareKind(mx, my);
            // Off the grid, or a staircase before any wall: the trap cannot be mounted.
            if (kind < 0 || kind == SquareType::StairsUp || kind == SquareType::StairsDown) {
                QueueObjectDeletion(this);
                removed = true;
                return;
            }
            if (kind == SquareType::Rock || kind == SquareType::Wall) break;
            mx += dx;
            my += dy;
        }
    } else if (Mount() == kMountFloor) {
        if (newLevel->IsInside(newX + dx, newY + dy)) {
            mx = newX + dx;
            my = newY + dy;
            while (newLevel->SquareKind(mx + dx, my + dy) == SquareType::Floor) {
                mx += dx;
                my += dy;
                if (MTOneChanceIn(3)) break;
            }
        }
    } else {
        return;
    }
    originX = mx;
    originY = my;
    // A definition without an origin picture fires from the square all the same, with nothing
    // drawn there.
    if (def->trapOrigin.empty()) return;
    Blocker* origin = new Blocker(newLevel, 0, def->trapOrigin.c_str());
    QueueObjectMove(origin, mx, my, newLevel);
    originLevel = newLevel;
}

void Trap::ShowOwnIcon() {
    if (iconSprite != nullptr) {
        bob.SetSprite(iconSprite);
        bob.playing = false;
        if (def != nullptr && def->iconNo >= 0 && def->iconNo < iconSprite->frameCount) bob.frame = def->iconNo;
    }
}

void Trap::Draw(const MapView& view) {
    if (unpaid == 0) {
        if (discovered == 0 && !WithinHeroSense()) return;
        discovered = 1;
        if (TrapLevel() < StatOf(CurrentPlayer, kStatTrapLevel)) ShowOwnIcon();
    }
    Item::Draw(view);
}

void Trap::DrawOverlay(const MapView& view) {
    if (discovered == 0 || unpaid != 0 || level == nullptr) return;
    const int32_t below = level->SquareKind(x, y + 1);
    if (below != SquareType::Rock && below != SquareType::Wall) return;
    if (PlaceBob(view)) bob.DrawOutline();
}

void Trap::PlayerEntered() {
    if (unpaid != 0) return;
    const Player* hero = CurrentPlayer;
    const int32_t avoid =
        (StatOf(hero, kStatTrapSense) + StatOf(hero, kStatTrapLevel) + StatOf(hero, kStatSneakiness)) / 2;
    const int32_t roll = static_cast<int32_t>(MTRandomInt(100));
    PlaySFX("click");
    discovered = 1;
    if (roll > avoid) Trigger();
}

void Trap::MonsterEntered(GameObj* who) {
    if (unpaid != 0 || removed) return;
    Monster* monster = dynamic_cast<Monster*>(who);
    if (monster == nullptr || level == nullptr || level != CurrentLevel || monster->level != CurrentLevel) return;
    const LevelCell* square = level->GetCell(monster->x, monster->y);
    if (square == nullptr || !square->HasFlag(SquareFlag::Explored)) return;
    if (monster->record != nullptr && monster->record->terrain != 0) return;
    const int32_t avoid =
        monster->stat[kStatTrapSense] + monster->stat[kStatTrapLevel] + monster->stat[kStatSneakiness];
    const int32_t roll = static_cast<int32_t>(MTRandomInt(100));
    PlaySFX("click");
    discovered = 1;
    if (roll > avoid) {
        const std::string name = def != nullptr ? def->trapSpellName : std::string();
        Spell* spell = spellDBFindByName(name.c_str());
        if (spell == nullptr) {
            ShowErrorBox("Couldn't find trap spell " + name);
        } else {
            const bool mounted = Mount() != kMountNone;
            CastSpell(spell, mounted ? originX : monster->x, mounted ? originY : monster->y, monster->x, monster->y,
                      CurrentPlayer, false, true);
        }
    }
    Wear();
}

void Trap::Wear() {
    const int32_t trigger = def != nullptr ? def->trapTrigger : kMountNone;
    if (trigger == 0) {
        Remove();
    } else if (trigger == 1) {
        --charges;
        if (charges <= 0) Remove();
    }
}

void Trap::Trigger() {
    Player* hero = CurrentPlayer;
    if (hero != nullptr) {
        hero->SetIdleAnimation();
        hero->walkInterrupted = 1;
        hero->glowBob.UnlinkFromTiles();
    }
    const std::string name = def != nullptr ? def->trapSpellName : std::string();
    Spell* spell = spellDBFindByName(name.c_str());
    if (spell == nullptr) {
        // A trap whose spell is gone from the data casts nothing but still wears and counts.
        ShowErrorBox("Couldn't find trap spell " + name);
    } else {
        if (!spell->sfx.empty()) PlaySFX(spell->sfx.c_str());
        if (hero != nullptr) {
            const std::string cause = "by a " + DefinitionName();
            const bool mounted = Mount() != kMountNone;
            CastSpellWithCause(spell, mounted ? originX : hero->x, mounted ? originY : hero->y, hero->x, hero->y, hero,
                               cause.c_str());
        }
    }
    Wear();
    AddToStat("STAT_TRAPS_TRIGGERED", 1);
    if (GetStatInt("STAT_TRAPS_TRIGGERED") == kTrapAchievementCount) AwardAchievement("ACHIEVEMENT_HE_CHOOSE_POORLY");
}

void Trap::PickUp() {
    Level* from = level;
    if (Item::Activate() != 0 && level == nullptr) RemoveOrigin(from);
}

int32_t Trap::Activate() {
    Player* hero = CurrentPlayer;
    if (removed || hero == nullptr || (hero->x == x && hero->y == y && hero->GameObj::level == level)) return 0;
    if (unpaid != 0) {
        PickUp();
        return 1;
    }
    if (discovered == 0 && !WithinHeroSense()) return 0;
    const int32_t heroLevel = hero->stat[kStatTrapLevel];
    const int32_t trapLevel = TrapLevel();
    if (trapLevel < heroLevel && Mount() == kMountNone) {
        if (!crafted && !disarmed) {
            hero->AddExperience(GetTweakInt("trap XP scale") * (trapLevel + 1), 0);
        }
        disarmed = true;
        PickUp();
        return 1;
    }
    if (trapLevel > heroLevel) {
        // A trap far above the hero's level offers no chance at all, never a negative one.
        const int32_t chance = std::max(0, (heroLevel - trapLevel + 10) * 10);
        const int32_t shown = chance / 2;
        char text[96];
        std::snprintf(text, sizeof text, "Try to disarm the trap? You have a %i percent chance of success.", shown);
        if (ShowItemDialog(text, "ui/dialog_but_yea", "ui/dialog_but_nay") != 0) {
            ShowOwnIcon();
            return 1;
        }
        if (static_cast<int32_t>(MTRandomInt(100)) >= shown) Trigger();
        else Disarm();
        return 1;
    }
    Disarm();
    return 1;
}

void Trap::Disarm() {
    Player* hero = CurrentPlayer;
    if (!disarmed) {
        AddText("You disarm the trap!", true);
        if (!crafted && hero != nullptr) hero->AddExperience(GetTweakInt("trap XP scale") * (TrapLevel() + 1), 0);
        disarmed = true;
    }
    if (TrapLevel() < StatOf(hero, kStatTrapLevel) && Mount() == kMountNone) {
        if (MTOneChanceIn(2)) {
            AddText("The trap is destroyed when you disarm it.", true);
            Remove();
        } else {
            PickUp();
        }
    } else {
        Remove();
    }
    AddToStat("STAT_TRAPS_DISARMED", 1);
    if (GetStatInt("STAT_TRAPS_DISARMED") == kTrapAchievementCount) AwardAchievement("ACHIEVEMENT_PENITENT_MAN");
}

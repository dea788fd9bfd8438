#include "creatures/player.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "core/tweak.h"
#include "creatures/buff.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/field_of_view.h"
#include "levels/level.h"
#include "media/sprite.h"

Player* CurrentPlayer = nullptr;

GameObj* CurrentHero() { return CurrentPlayer; }

namespace {
// The tuning tables read the difficulty of the hero being played (easy without one).
int32_t CurrentHeroDifficulty() { return CurrentPlayer != nullptr ? CurrentPlayer->difficulty : 0; }
const bool DifficultySourceSet = (SetTweakDifficultySource(CurrentHeroDifficulty), true);
}  // namespace

bool VictoryFlag = false;

Player::Player() {
    // The hero stands centred on its square with its feet on the square's bottom edge.
    anchorMode = 1;
    std::fill(std::begin(skillIds), std::end(skillIds), kNoSkillId);
    // A new game starts with an empty cursor, closed toolkit windows and an empty backpack.
    ClearCursorItem();
    for (ToolkitWindow& window : ToolkitWindows) window.open = false;
    InventoryGrid.Clear();
    health = 5;
    mana = 5;
    statBonus[kStatLife] = 5;
    statBonus[kStatMana] = 5;
}

Player::~Player() {
    // Every item the hero carries belongs to it (equipment, both belts, the backpack and the
    // toolkit windows' contents); each is deleted once.
    std::set<Item*> owned;
    for (Item* item : equipSlots) owned.insert(item);
    for (Item* item : quickSlots) owned.insert(item);
    for (Item* item : abilitySlots) owned.insert(item);
    for (Item* item : stashedAbilitySlots) owned.insert(item);
    for (Item*& cell : InventoryGrid.cells) {
        owned.insert(cell);
        cell = nullptr;
    }
    for (ToolkitWindow& window : ToolkitWindows) {
        owned.insert(window.output);
        window.output = nullptr;
        for (Item*& slot : window.slots) {
            owned.insert(slot);
            slot = nullptr;
        }
    }
    owned.erase(nullptr);
    // What stands on a level belongs to that level.
    for (auto it = owned.begin(); it != owned.end();) it = (*it)->level != nullptr ? owned.erase(it) : std::next(it);
    // The buffs that equipment granted go with the items, not with the Hittable part.
    std::vector<Buff*> kept;
    for (Buff* buff : buffs) {
        if (!(buff->fromItem && buff->item != nullptr)) kept.push_back(buff);
    }
    buffs.swap(kept);
    for (Item* item : owned) delete item;
    if (CurrentPlayer == this) CurrentPlayer = nullptr;
}

void Player::GainZorkmids(int32_t amount) {
    const int64_t total = static_cast<int64_t>(zorkmids) + amount;
    zorkmids = static_cast<int32_t>(std::clamp<int64_t>(total, 0, kMaxSavedZorkmids));
}

namespace {

// File stem and male sprite-table name of every hero animation, in HeroAnim order.
struct HeroAnimEntry {
    const char* stem;
    const char* name;
};

constexpr HeroAnimEntry kHeroAnimEntries[] = {
    {"hero_slp_r", "player_sleep"},
    {"hero_idle_u", "playerIdleUp"},
    {"hero_idle_d", "playerIdleDown"},
    {"hero_idle_l", "playerIdleLeft"},
    {"hero_idle_r", "playerIdleRight"},
    {"hero_hit_u", "playerHitUp"},
    {"hero_hit_d", "playerHitDown"},
    {"hero_hit_l", "playerHitLeft"},
    {"hero_hit_r", "playerHitRight"},
    {"hero_run_u", "playerWalkUp"},
    {"hero_run_d", "playerWalkDown"},
    {"hero_run_l", "playerWalkLeft"},
    {"hero_run_r", "playerWalkRight"},
    {"hero_long_idle", "player_longidle"},
    {"hero_atk_wnd_r", "playerWandWaveR"},
    {"hero_atk_wnd_l", "playerWandWaveL"},
#define HERO_ATTACKS(stem, suffix)                                                        \
    {"hero_atk_" stem "_l", "playerAttackL_" suffix}, {"hero_atk_" stem "_r", "playerAttackR_" suffix}, \
        {"hero_atk_" stem "_d", "playerAttackF_" suffix}, {"hero_atk_" stem "_u", "playerAttackB_" suffix}
    HERO_ATTACKS("swd", "Sword"),
    HERO_ATTACKS("axe", "Axe"),
    HERO_ATTACKS("mace", "Mace"),
    HERO_ATTACKS("stk", "staff"),
    HERO_ATTACKS("bow", "bow"),
    HERO_ATTACKS("thr", "thrown"),
    HERO_ATTACKS("unarm", "Foot"),
#undef HERO_ATTACKS
    {"hero_read_scroll", "playerScroll"},
    {"hero_levelup_r", "playerLevelUp"},
    {"hero_drink_r", "playerPotion"},
    {"hero_eat_r", "playerEat"},
    {"hero_cast_d", "playerCastSpellD"},
    {"hero_cast_u", "playerCastSpellU"},
    {"hero_cast_l", "playerCastSpellL"},
    {"hero_cast_r", "playerCastSpellR"},
    {"hero_die", "playerDieR"},
    {"hero_die", "playerDieL"},
    {"hero_poison_r", "playerDieByPoisonR"},
    {"hero_poison_l", "playerDieByPoisonL"},
    {"hero_die_disintegrated_l", "playerDisintegratedL"},
    {"hero_die_disintegrated_r", "playerDisintegratedR"},
    {"hero_vanish_r", "playerVanishR"},
};
static_assert(sizeof(kHeroAnimEntries) / sizeof(kHeroAnimEntries[0]) == kHeroAnimCount,
              "one entry per hero animation");

}  // namespace

HeroAnimSource GetHeroAnimSource(int32_t anim, bool female) {
    HeroAnimSource source;
    if (anim < 0 || anim >= kHeroAnimCount) return source;
    const HeroAnimEntry& entry = kHeroAnimEntries[anim];
    if (!female) {
        source.name = entry.name;
        source.file = std::string("sprites/hero/") + entry.stem + ".spr";
        return source;
    }
    // The female names are the male ones behind "fem" with a capital first letter.
    source.name = entry.name;
    source.name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(source.name[0])));
    source.name = "fem" + source.name;
    // The female level-up frames have no side in their stem.
    const std::string stem = anim == kHeroLevelUp ? std::string("hero_levelup") : std::string(entry.stem);
    source.file = "sprites/fhero/" + stem + ".xml";
    return source;
}

void Player::PlaceOnLevel(int32_t px, int32_t py, Level* onLevel, int32_t flag) {
    GameObj::PlaceOnLevel(px, py, onLevel, flag);
    owningLevel = onLevel;
    if (onLevel != nullptr) onLevel->UpdateFieldOfView(x, y, SightRadius());
    if (flag != 0) return;
    // Buffs that end when the hero moves.
    for (size_t i = 0; i < buffs.size();) {
        Buff* buff = buffs[i];
        if (buff == nullptr || buff->destroyOnMove == 0) {
            ++i;
            continue;
        }
        RemoveBuff(buff);
        buffs.erase(std::find(buffs.begin(), buffs.end(), buff));
        if (!(buff->fromItem && buff->item != nullptr)) delete buff;
        i = 0;
    }
    // Money next to the hero is picked up.
    if (onLevel == nullptr || cell == nullptr) return;
    for (int32_t dy = -1; dy <= 1; ++dy) {
        for (int32_t dx = -1; dx <= 1; ++dx) {
            LevelCell* near = (dx != 0 || dy != 0) ? onLevel->GetCell(x + dx, y + dy) : nullptr;
            if (near == nullptr) continue;
            const std::vector<GameObj*> contents = near->contents;
            for (GameObj* obj : contents) {
                if (obj != nullptr && obj->IsItem() && static_cast<Item*>(obj)->type == kItemZorkmids) {
                    obj->PlayerEntered();
                }
            }
        }
    }
}

void Player::LoadAnimations(Player* hero) {
    Player* target = hero != nullptr ? hero : this;
    const bool isFemale = target->female != 0;
    for (int32_t anim = 0; anim < kHeroAnimCount; ++anim) {
        const HeroAnimSource source = GetHeroAnimSource(anim, isFemale);
        target->heroAnimations[anim] =
            isFemale ? SpriteMgr_GetOrLoadXML(source.name.c_str(), source.file.c_str(), 1)
                     : SpriteMgr_GetOrLoad(source.name.c_str(), source.file.c_str());
    }
    target->SetIdleAnimation();
}

Sprite* Player::IdleSpriteForFacing() const {
    switch (facing) {
        case 1: return heroAnimations[kHeroIdleLeft];
        case 2: return heroAnimations[kHeroIdleUp];
        case 3: return heroAnimations[kHeroIdleRight];
        default: return heroAnimations[kHeroIdleDown];
    }
}

void Player::InterruptWalk() {
    walkInterrupted = 1;
    walkingBob.UnlinkFromTiles();
}

Sprite* Player::KickSprite(int32_t index) const {
    // The unarmed strikes are stored left, right, front (down), back (up).
    static const int32_t kSideOfKick[4] = {3, 0, 1, 2};
    if (index < 0 || index > 3) return nullptr;
    return heroAnimations[HeroAttackAnim(kHeroWeaponGroups - 1, kSideOfKick[index])];
}

void Player::PlayVictoryAnimation() {
    Sprite* vanish = heroAnimations[kHeroVanishR];
    if (vanish == nullptr) return;
    PlayAnimationToEnd(vanish);
    // The picture stays on its last frame while the game waits for the click.
    bob.playing = false;
    bob.loop = false;
    bob.frame = vanish->frameCount > 0 ? vanish->frameCount - 1 : 0;
    bob.finished = true;
}

void Player::SetIdleAnimation() {
    if (dead) return;
    Sprite* idle = IdleSpriteForFacing();
    if (idle == nullptr) return;
    bob.SetSprite(idle);
    bob.loop = true;
    bob.playing = true;
}

int32_t ComputeSightRadius(const Player* hero) {
    if (hero == nullptr) return kBaseSightRadius;
    int32_t radius = kBaseSightRadius;
    for (int32_t slot = 0; slot < kBuildSkillCount; ++slot) {
        if (hero->skillIds[slot] != kFarSightSkillCode) continue;
        if (hero->skillLevels[slot] != 0) radius = kFarSightRadius;
        break;  // only the first slot holding the code counts
    }
    for (const Buff* buff : hero->buffs) {
        if (buff != nullptr) radius += buff->secondaryMods[kStatSight];
    }
    return radius;
}

RoomRecord* Level::GetPlayerRoomRecord() const {
    if (CurrentPlayer == nullptr) return nullptr;
    return GetRoomRecord(CurrentPlayer->currentRoom);
}

Item*& Player::EquippedAt(int32_t slot) {
    // Position of each slot number in equipSlots.
    static const int32_t kIndexOfSlot[kEquipSlotCount] = {2, 1, 0, 4, 3, 6, 7, 5, 8, 9, 10, 11};
    static Item* scratch = nullptr;
    if (slot < 0 || slot >= kEquipSlotCount) {
        scratch = nullptr;
        return scratch;
    }
    return equipSlots[kIndexOfSlot[slot]];
}

void Player::ForgetEquipped(const void* object) {
    if (object == nullptr) return;
    for (Item*& slot : equipSlots) {
        if (static_cast<const void*>(slot) == object) slot = nullptr;
    }
    if (static_cast<const void*>(reference19) == object) reference19 = nullptr;
    for (Armour** ref : {&torsoArmour, &firstHandShield, &secondHandShield, &headArmour, &shoes, &beltArmour, &gloves,
                         &pants}) {
        if (static_cast<const void*>(*ref) == object) *ref = nullptr;
    }
    for (Weapon** ref : {&firstHandWeapon, &secondHandWeapon, &crossbow}) {
        if (static_cast<const void*>(*ref) == object) *ref = nullptr;
    }
}

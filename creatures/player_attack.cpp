// The hero's melee strikes at a monster and the hero's throws.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/input_log.h"
#include "core/random.h"
#include "core/tweak.h"
#include "creatures/ability.h"
#include "creatures/combat.h"
#include "creatures/combat_feedback.h"
#include "creatures/monster.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/weapon.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/object_queue.h"
#include "levels/tile_effects.h"
#include "media/effect_animation.h"
#include "media/eye_candy.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/ticker.h"

namespace {

constexpr int32_t kThrowingSkill = 5;
constexpr int32_t kThrownGroup = 5;
constexpr int32_t kUnarmedGroup = 6;
// Sides of the hero's attack animations.
constexpr int32_t kSideLeft = 0;
constexpr int32_t kSideRight = 1;
constexpr int32_t kSideFront = 2;
constexpr int32_t kSideBack = 3;
// Directions of a monster's hurt sprites.
constexpr int32_t kHurtRight = 0;
constexpr int32_t kHurtLeft = 1;
constexpr int32_t kHurtUp = 2;
constexpr int32_t kHurtDown = 3;

void DiscardInputEvents() {
    SDL_Event event;
    while (LoggedPollEvent(&event)) {
    }
}


// The weapon class 0..3 that picks the hero's attack set, or -1 for the default set.
int32_t AttackGroup(Player* hero) {
    for (Item* item : {hero->SecondHand(), hero->FirstHand()}) {
        Weapon* weapon = dynamic_cast<Weapon*>(item);
        if (weapon == nullptr) continue;
        const int32_t weaponClass = GetWeaponClass(weapon->Kind());
        if (weaponClass >= 0 && weaponClass <= 3) return weaponClass;
    }
    return -1;
}

bool HoldsFruitfulStaff(Player* hero) {
    for (Item* item : {hero->SecondHand(), hero->FirstHand()}) {
        if (item != nullptr && item->def != nullptr && item->def->name == "Fruitful Staff") return true;
    }
    return false;
}

}  // namespace

int32_t Monster::Activate() {
    Player* hero = CurrentPlayer;
    return hero != nullptr ? hero->AttackMonster(this) : 0;
}

int32_t Player::AttackMonster(Monster* monster) {
    if (monster == nullptr || monster->dead != 0 || dead != 0) return 0;
    if (std::abs(monster->x - x) + std::abs(monster->y - y) != 1) return 0;
    std::string sound = "swing";
    if (SpellLevel.delayMonsterSpawning != nullptr) SpellLevel.delayMonsterSpawning(0);
    RemovePlayerInvisibility();
    int32_t strikes = 0;
    for (const Buff* buff : buffs) {
        if (buff != nullptr) strikes += buff->multiBuff;
    }
    if (strikes == 0) strikes = 1;
    if (strikes > 1) PlaySFX("combo");

    for (int32_t strike = 0; strike < strikes; ++strike) {
        const int32_t group = AttackGroup(this);
        const int32_t set = group >= 0 ? group : kUnarmedGroup;
        if (group < 0 && FirstHand() == nullptr) sound = GetAttackSoundName();
        int32_t side = kSideBack;
        int32_t hurt = kHurtDown;
        if (x == monster->x + 1) {
            facing = 1;
            side = kSideLeft;
            hurt = kHurtRight;
        } else if (x == monster->x - 1) {
            facing = 3;
            side = kSideRight;
            hurt = kHurtLeft;
        } else if (y == monster->y - 1) {
            facing = 0;
            side = kSideFront;
            hurt = kHurtUp;
        } else {
            facing = 2;
        }
        PlaySFX(sound.c_str());
        if (Sprite* swing = heroAnimations[HeroAttackAnim(set, side)]) PlayBobToEnd(&bob, swing);
        SetIdleAnimation();
        Sprite* previous = monster->bob.sprite;
        if (monster->hurtSprites[hurt] != nullptr) {
            PlayBobForTime(&monster->bob, monster->hurtSprites[hurt], GetTweakInt("monster hurt anim time"));
        }
        if (previous != nullptr) monster->bob.SetSprite(previous);

        if (!monster->noticed && IsInView(monster)) {
            SpawnFollowingEyeCandy(&monster->bob, EyeCandyIcons.alert, 1, 0);
        }
        monster->noticed = true;
        monster->statusFlags = 0;
        monster->pacifyTurns = 0;
        monster->attentionTurns = 0;
        ResolveMeleeAttack(this, monster);
        if (monster->dead != 0 && HoldsFruitfulStaff(this)) {
            static const char* const kFruits[] = {"Apple", "Plum", "Pear"};
            const ItemDef* def = FindItemDefByName(kFruits[RandomInt(3)]);
            if (def != nullptr) {
                Food* fruit = new Food(def);
                GrantCombatAchievement("ACHIEVEMENT_FRUIT");
                fruit->PlaceOnLevel(monster->x, monster->y, monster->level, 0);
            }
        }
        DiscardInputEvents();
    }
    UseUpAttackBuffs();
    return 1;
}

void Player::ThrowWeaponAt(Monster* target, Item* stack) {
    if (target == nullptr || stack == nullptr) return;
    Level* onLevel = GameObj::level;
    PlaySFX("bow");
    int32_t side = kSideBack;
    if (target->x > x) {
        facing = 3;
        side = kSideRight;
    } else if (target->x < x) {
        facing = 1;
        side = kSideLeft;
    } else if (target->y > y) {
        facing = 0;
        side = kSideFront;
    } else {
        facing = 2;
    }
    if (Sprite* toss = heroAnimations[HeroAttackAnim(kThrownGroup, side)]) PlayBobToEnd(&bob, toss);
    SetIdleAnimation();
    const ItemDef* def = stack->def;
    const std::string missileName = def != nullptr ? def->thrown : std::string();
    std::printf("attempting to shoot missile: %s\n", missileName.c_str());
    Sprite* missile = missileName.empty() ? nullptr : SpriteMgr_GetOrLoad(missileName.c_str());
    RemovePlayerInvisibility();

    if (missile != nullptr) {
        int32_t stopX = target->x;
        int32_t stopY = target->y;
        AnimateMissile(x, y, target->x, target->y, &stopX, &stopY, missile);
        --stack->count;
        if (def->hitSpell != nullptr) {
            if (!def->hitSpell->sfx.empty()) PlaySFX(def->hitSpell->sfx.c_str());
            CastSpell(def->hitSpell, x, y, stopX, stopY, this, false, false);
        }
        // Only a missile that reaches the monster's square hits it.
        if (stopX == target->x && stopY == target->y) {
            ThrownObject = stack;
            ResolveThrownAttack(this, target);
            ThrownObject = nullptr;
        }
        int32_t recovery = 0;
        for (AbilityRecord* ability : AbilityList) {
            if (ability != nullptr && ability->skillId == kThrowingSkill && PlayerHasAbilityLevel(ability)) {
                recovery += ability->recovery;
            }
        }
        UseUpAttackBuffs();
        const bool lands = PercentRoll() < GetTweakInt("hit ammo drop percent") + recovery;
        if (lands && onLevel != nullptr && onLevel->SquareKind(stopX, stopY) == SquareType::Floor &&
            !onLevel->IsSquareBlocked(stopX, stopY, false, false)) {
            Weapon* piece = new Weapon(def);
            piece->stackable = 1;
            piece->count = 1;
            piece->unpaid = stack->unpaid;  // shop goods thrown stay the shop's
            QueueObjectMove(piece, stopX, stopY, onLevel);
        }
        DiscardInputEvents();
    }
    if (stack->count <= 0) {
        QueueObjectDeletion(stack);
        AddText("You have run out of throwing weaponry!", true);
    }
}

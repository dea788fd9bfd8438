// The hero's damage intake and death.
#include <cstdio>
#include <string>

#include "core/random.h"
#include "core/shell/shell_services.h"
#include "creatures/combat.h"
#include "creatures/player.h"
#include "interface/ui_services.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/splat.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/effect_animation.h"
#include "media/music.h"
#include "media/sound.h"
#include "media/sprite.h"

namespace {

constexpr int32_t kIchorSkill = 13;

// Causes of death that carry their own achievement.
struct DeathCauseAchievement {
    const char* cause;
    const char* achievement;
};

const DeathCauseAchievement kDeathCauses[] = {
    {"by ignoring the boil water advisory", "ACHIEVEMENT_DONT_DRINK_THE_WATER"},
    {"in an accident of podiatry", "ACHIEVEMENT_DEATH_BY_DOOR"},
    {"by sticking his foot through Death's door", "ACHIEVEMENT_DEATH_BY_DOOR"},
    {"by sticking her foot through Death's door", "ACHIEVEMENT_DEATH_BY_DOOR"},
    {"by a Diggle", "ACHIEVEMENT_DEATH_BY_DIGGLE"},
    {"by a Sickly Diggle", "ACHIEVEMENT_DEATH_BY_SICKLY_DIGGLE"},
    {"by Brax", "ACHIEVEMENT_DEATH_BY_BRAX"},
    {"by a Dread Collector", "ACHIEVEMENT_DEATH_BY_DREAD_COLLECTOR"},
    {"by a Enraged Diggle", "ACHIEVEMENT_DEATH_BY_ENRAGED_DIGGLE"},
    {"by a Thrusty", "ACHIEVEMENT_DEATH_BY_THRUSTY"},
    {"by Lord Zarnoch", "ACHIEVEMENT_ITS_MY_DUNGEON"},
    {"by a Diggle Commando", "ACHIEVEMENT_DEATH_BY_DIGGLE_COMMANDO"},
    {"by a Arch Diggle", "ACHIEVEMENT_DEATH_BY_ARCH_DIGGLE"},
    {"by a Muscle Diggle", "ACHIEVEMENT_DEATH_BY_MUSCLE_DIGGLE"},
};

// The depth of the previous death in this process, and whether there was one.
int32_t PreviousDeathDepth = 0;
bool DiedBefore = false;

void PlayOneOf(const char* stem, int32_t count) {
    const int32_t pick = RandomInt(count) + 1;
    const std::string name = stem + std::to_string(pick);
    PlaySFX(name.c_str());
}

int32_t HitAnimationFor(int32_t facing) {
    switch (facing) {
        case 1: return kHeroHitLeft;
        case 2: return kHeroHitUp;
        case 3: return kHeroHitRight;
        default: return kHeroHitDown;
    }
}

}  // namespace

int32_t Player::TakeDamage(int32_t amount, GameObj*, const std::string& cause, int32_t damageType, int32_t unused) {
    return ApplyDamage(amount, cause, damageType, unused);
}

int32_t Player::ApplyDamage(int32_t amount, const std::string& cause, int32_t damageType, int32_t) {
    if (dead) return 0;
    const int32_t before = health;
    InterruptWalk();
    // A blow starts the wait for natural regeneration again.
    healthRegenCounter = 0;
    health -= amount;

    const int32_t maximum = stat[kStatLife];
    const bool ichorous = GetSkillLevel(kIchorSkill) > 0;
    if (health < maximum / 4 && before >= maximum / 4) {
        PlayOneOf("healthcritical", 3);
    } else if (health < maximum / 2 && before >= maximum / 2) {
        if (!ichorous) {
            PlayOneOf("healthlow", 2);
        } else if (health < maximum / 3) {
            PlayOneOf("blood", 3);
        }
    }
    std::printf("Player takes %i damage! Remaining HP: %i/%i\n", amount, health, maximum);

    Level* onLevel = GameObj::level;
    // Blood on the hero's square, one splat at most.
    if (onLevel != nullptr && !SquareHasSplat(onLevel, x, y)) {
        const int32_t variant = RandomInt(6);
        Splat* splat = new Splat(onLevel, ichorous ? "ichor" : "blood", variant);
        QueueObjectMove(splat, x, y, onLevel);
    }
    if (health < 0) health = 0;
    if (health > 0) {
        Sprite* hit = heroAnimations[HitAnimationFor(facing)];
        if (hit != nullptr) {
            bob.SetSprite(hit);
            bob.loop = false;
        }
        SetPortraitExpression(6);
    }
    deathCause = cause;
    for (Buff* buff : buffs) {
        if (buff == nullptr || buff->brittle <= 0) continue;
        if (--buff->brittle == 0) {
            buff->turnsLeft = 0;
            buff->attacks = 0;
            buff->manaUpkeep = 0;
            buff->expired = true;
        }
    }
    if (health > 0) {
        SetIdleAnimation();
        return 1;
    }

    health = 0;
    dead = 1;
    PlayMusic("tunes/death-open.ogg", "tunes/death-repeat.ogg");
    PendingMusicChange = true;
    if (TutorialFlag) GrantCombatAchievement("ACHIEVEMENT_HEROIC_FAILURE");
    for (const DeathCauseAchievement& entry : kDeathCauses) {
        if (deathCause == entry.cause) GrantCombatAchievement(entry.achievement);
    }
    const int32_t depth = onLevel != nullptr ? onLevel->depth : 0;
    if (PreviousDeathDepth == 0 && depth == 0 && DiedBefore && lastBuild != 0) {
        GrantCombatAchievement("ACHIEVEMENT_NORMANDY");
    }
    DiedBefore = true;
    PreviousDeathDepth = depth;
    FlushInput();
    ClearCursorItem();

    int32_t anim = kHeroDieR;
    if (damageType == kDamageToxic) anim = facing == 1 ? kHeroPoisonL : kHeroPoisonR;
    Sprite* death = heroAnimations[anim];
    if (death != nullptr) {
        PlayBobToEnd(&bob, death);
        // The hero stays down on the last frame.
        bob.SetSprite(death);
        bob.loop = false;
        bob.playing = false;
        bob.frame = death->frameCount > 0 ? death->frameCount - 1 : 0;
        bob.finished = true;
    }
    return 1;
}

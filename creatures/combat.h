#pragma once
// One attack between two creatures (the hero or monsters, in either role), in four forms: a
// melee strike, a thrown object, a crossbow shot and a weapon-like strike carried by a spell.
// Each form rolls avoidance, critical hits and blocks, adds up the damage over the sixteen
// damage types against resistances and armour, writes the combat lines to the ticker, shows
// icons and numbers, fires the trigger spells of buffs, abilities and equipment, and hands
// the total to the defender's TakeDamage.
#include <cstdint>
#include <string>

#include "creatures/damage_type.h"

class Hittable;
class Item;
class Level;

// The trigger kinds of buffs, abilities and item definitions.
enum class HitHook : int32_t {
    TargetHit,     // the hero's melee hit (before and after the damage)
    PlayerHit,     // the hero is hit in melee
    TargetKill,    // the owner killed the target
    Thrown,        // the hero's thrown object hits
    CrossbowShot,  // the hero's crossbow shot hits
    Dodge,         // the defender dodges a melee strike
    Counter,       // a defender counters a monster's melee strike
    Block,         // the defender blocks a melee strike
    Critical,      // the attacker lands a critical melee strike
    Food,          // the hero eats food (health points above 0)
    Booze,         // the hero drinks booze (mana points above 0)
    Consumable,    // the hero eats or drinks anything
};

// "after" values ApplyOnHitEffects may be asked to match (target-hit hooks only).
constexpr int32_t kAnyAfter = -1;
constexpr int32_t kBeforeDamage = 0;
constexpr int32_t kAfterDamage = 1;

// The object the hero is throwing while a throw resolves (null otherwise); ResolveThrownAttack
// reads its damage when it is a weapon.
extern Item* ThrownObject;

void ResolveMeleeAttack(Hittable* attacker, Hittable* defender);
void ResolveThrownAttack(Hittable* attacker, Hittable* defender);
// missile: the ammunition item or null.
void ResolveRangedAttack(Hittable* attacker, Hittable* defender, Item* missile);
void ResolveSpellStrike(Hittable* attacker, Hittable* defender, const int32_t damage[kDamageTypeCount]);

// Fires the owner's hooks of one kind at the target: its buffs', and for the hero its
// learned abilities' and its equipped items' (see combat.cpp); the hero casts every spell
// collected, in order. `after` (kAnyAfter for every hook) must equal the hook's after flag.
void ApplyOnHitEffects(Hittable* target, Hittable* owner, HitHook kind, int32_t after = kAnyAfter);

// The damage breakdown after a verb line: the three physical amounts as given, the others
// recomputed for the melee form (no missile) or the crossbow form.
void AddCombatDamageLine(int32_t crushing, int32_t slashing, int32_t blasting, Hittable* attacker,
                         Hittable* defender, Item* missile);
// The breakdown of sixteen amounts: " (", one group per positive type, ")" and a line break.
void AddDamageBreakdown(const int32_t amounts[kDamageTypeCount]);

// The cause of death an attacker gives: "by the player" for the hero, "by <name>" for a
// named creature, else "by a <name>" (always "by a " when alwaysArticle is set).
std::string AttackCause(Hittable* attacker, bool alwaysArticle = false);
// Sets and stores an achievement; nothing without the store platform's statistics.
void GrantCombatAchievement(const char* name);
// The hero's and the third-person verb of a damage type ("" outside 0..15).
const char* HeroDamageVerb(int32_t type);
const char* DamageVerb(int32_t type);
// The hit sound of a damage type, or null for the types without one.
const char* DamageHitSound(int32_t type);

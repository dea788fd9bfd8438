#pragma once
// Small shared routines of the combat code: the weapon-class mapping, the floating damage
// numbers over a struck creature, the spell-resistance rolls and the damage of one spell
// effect with its impact animations, sounds and messages.
#include <SDL.h>

#include <cstdint>

#include "creatures/damage_type.h"

class Hittable;

// 0 sword, 1 axe, 3 staff and 5 throwing stay; crossbow (4) and ammunition (6) give 4; every
// other value gives 2 (mace).
int32_t GetWeaponClass(int32_t weaponType);

// The amount rising over the target in a colour, with a black shadow.
void ShowFloatingNumber(int32_t amount, Hittable* target, SDL_Color colour);
void ShowFloatingNumberWhite(int32_t amount, Hittable* target);

// Whether the target's square is in the hero's view now.
bool IsInView(const Hittable* target);

// 1 when a spell takes effect on the target, 0 when it resists (a percent roll below its
// magic resistance, and only while its square is in view; the resist icon and "metal_get"
// then show it).
int32_t RollSpellResistance(Hittable* target);
// The same with a roll of 0..49, so each point of resistance counts twice; it resists out of
// view too, showing the icon and sound only in view.
int32_t RollSpellResistanceHalf(Hittable* target);

// Applies the damage of one spell effect from the caster (null: the hero) to the target:
// haywire and resistance rolls, scaling by the caster's primary (primaryIndex, or -1 for the
// secondary secondaryIndex), resistances, armour absorption of the physical part, impact
// animations and floating numbers in view, then TakeDamage with the cause (null: "by the
// player", "by <name>" for a named caster, "by a <name>"). Returns the damage dealt.
int32_t ResolveSpellDamage(Hittable* caster, Hittable* target, const int32_t base[kDamageTypeCount],
                           const float scale[kDamageTypeCount], bool allowHaywire, const char* cause,
                           int32_t primaryIndex, int32_t secondaryIndex);

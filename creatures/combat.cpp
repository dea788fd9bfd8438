#include "creatures/combat.h"

#include <algorithm>
#include <vector>

#include "core/random.h"
#include "core/tweak.h"
#include "creatures/ability.h"
#include "creatures/buff.h"
#include "creatures/combat_feedback.h"
#include "creatures/hittable.h"
#include "creatures/impact_sprites.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "items_fixtures/weapon.h"
#include "media/eye_candy.h"
#include "media/sound.h"
#include "media/ticker.h"
#include "media/tooltip.h"
#include "store_platform/stats.h"
#include "store_platform/store.h"

Item* ThrownObject = nullptr;

namespace {

const SDL_Color kWhite = {255, 255, 255, 0};
constexpr int32_t kPhysicalTypes = 3;  // crushing, slashing, blasting
constexpr int32_t kDualWieldSkill = 7;
constexpr int32_t kThrowingSkill = 5;
constexpr int32_t kCrossbowSkill = 4;
constexpr int32_t kUnarmedSkill = 6;

struct DamageWords {
    const char* heroVerb;
    const char* verb;
    const char* sound;
    SDL_Color colour;
};

const DamageWords kDamageWords[kDamageTypeCount] = {
    {"crush", "crushes", "crushing", {179, 128, 126, 0}},
    {"slash", "slashes", "slashing", {166, 179, 182, 0}},
    {"blast", "blasts", nullptr, {251, 210, 99, 0}},
    {"pierce", "pierces", "piercing", {238, 229, 212, 0}},
    {"ignite", "ignites", "conflagratory", {255, 81, 34, 0}},
    {"freeze", "freezes", nullptr, {80, 168, 249, 0}},
    {"shock", "shocks", nullptr, {170, 229, 236, 0}},
    {"poison", "poisons", "toxic", {89, 103, 44, 0}},
    {"bless", "blesses", "righteous", {255, 253, 220, 0}},
    {"curse", "curses", "necromantic", {113, 76, 154, 0}},
    {"dissolve", "dissolves", nullptr, {60, 181, 108, 0}},
    {"putrefy", "putrefies", "putrifying", {172, 102, 40, 0}},
    {"change", "changes", nullptr, {255, 198, 250, 0}},
    {"mystify", "mystifies", "aetherial", {189, 182, 255, 0}},
    {"choke", "chokes", nullptr, {115, 114, 127, 0}},
    {"philosophize", "philosophizes", nullptr, {138, 127, 127, 0}},
};

bool IsHero(const Hittable* creature) {
    return creature != nullptr && CurrentPlayer != nullptr &&
           static_cast<const GameObj*>(creature) == static_cast<const GameObj*>(CurrentPlayer);
}

void PlayHitSound(int32_t type) {
    const char* sound = DamageHitSound(type);
    if (sound != nullptr) PlaySFX(sound);
}

void ShowIcon(Hittable* creature, Sprite* icon) {
    if (creature != nullptr && icon != nullptr) SpawnFollowingEyeCandy(&creature->bob, icon, 1, 0);
}

void ShowImpact(Hittable* creature, int32_t type) {
    Sprite* impact = GetImpactSprite(type);
    if (creature != nullptr && impact != nullptr) SpawnFollowingEyeCandy(&creature->bob, impact, 0, 1);
}

// The hero's weapons in the two hands (second hand first), nulls left out.
std::vector<Weapon*> HandWeapons(Player* hero) {
    std::vector<Weapon*> weapons;
    if (hero == nullptr) return weapons;
    for (Item* item : {hero->FirstHand(), hero->SecondHand()}) {
        if (Weapon* weapon = dynamic_cast<Weapon*>(item)) weapons.push_back(weapon);
    }
    return weapons;
}

bool HandWeaponOfClass(Player* hero, int32_t weaponClass) {
    for (Weapon* weapon : HandWeapons(hero)) {
        if (GetWeaponClass(weapon->Kind()) == weaponClass) return true;
    }
    return false;
}

// The name part of a line about a creature: " something", " <custom name>" or " the <name>".
std::string ObjectPhrase(Hittable* creature) {
    const std::string name = creature->GetName();
    if (name.empty()) return " something";
    if (creature->isNamed) return " " + name;
    return " the " + name;
}

// The subject of a monster's line: its custom name, "The <name>" or "Something".
std::string SubjectPhrase(Hittable* creature) {
    const std::string name = creature->GetName();
    if (name.empty()) return "Something";
    if (creature->isNamed) return name;
    return "The " + name;
}

// The line a monster's attack writes: subject, verb, then the defender.
std::string MonsterVerbLine(Hittable* attacker, Hittable* defender, const char* verb) {
    std::string line = SubjectPhrase(attacker) + " " + verb;
    if (IsHero(defender)) return line + " you!";
    return line + ObjectPhrase(defender) + "!";
}

void AddDodgeLine(Hittable* defender) {
    AddText(IsHero(defender) ? "You dodge out of the way!" : "The monster dodges out of the way!", true);
}

void AddNoEffectLine(bool heroAttacked) {
    AddText(heroAttacked ? "Your weapon has no effect!" : "The attack has no effect!", true);
}

// The hero's learned abilities with a dodge-trigger spell roll their chance; each that
// succeeds is cast at the attacker.
void FireDodgeTriggers(Player* hero, Hittable* attacker) {
    for (AbilityRecord* ability : AbilityList) {
        if (ability == nullptr || ability->triggerOnDodge.spell == nullptr) continue;
        if (!PlayerHasAbilityLevel(ability)) continue;
        if (PercentRoll() >= ability->triggerOnDodge.percent) continue;
        Spell* spell = ability->triggerOnDodge.spell;
        if (!spell->sfx.empty()) PlaySFX(spell->sfx.c_str());
        CastSpell(spell, hero->x, hero->y, attacker->x, attacker->y, hero, false, false);
    }
}

// The other-group amount of one type for the melee form (hand weapons of the hero that are
// neither crossbow nor ammunition and the hero's melee skill damage, then the attacker's own
// damage), after resistance.
int32_t MeleeOtherAmount(Hittable* attacker, Hittable* defender, int32_t type) {
    int32_t sum = 0;
    if (IsHero(attacker)) {
        for (Weapon* weapon : HandWeapons(CurrentPlayer)) {
            if (weapon->Kind() == kWeaponCrossbow || weapon->Kind() == kWeaponAmmunition) continue;
            sum += weapon->damage[type];
        }
        sum += CurrentPlayer->meleeSkillDamage[type];
    }
    sum += attacker->damageBonus[type];
    if (sum > 0) sum -= defender->resistance[type];
    return std::max(sum, 0);
}

// The hero's crossbow in the ranged slot when its class is 4, else null.
Weapon* HeroCrossbow(Player* hero) {
    Weapon* crossbow = dynamic_cast<Weapon*>(hero->Ammunition());
    if (crossbow == nullptr) crossbow = hero->crossbow;
    if (crossbow != nullptr && GetWeaponClass(crossbow->Kind()) != 4) return nullptr;
    return crossbow;
}

int32_t ItemDamage(Item* item, int32_t type) {
    Weapon* weapon = dynamic_cast<Weapon*>(item);
    return weapon != nullptr ? weapon->damage[type] : 0;
}

int32_t RangedOtherAmount(Hittable* attacker, Hittable* defender, Item* missile, int32_t type) {
    int32_t sum = attacker->damageBonus[type];
    if (IsHero(attacker)) {
        sum += ItemDamage(HeroCrossbow(CurrentPlayer), type) + ItemDamage(missile, type);
        sum += CurrentPlayer->rangedSkillDamage[type];
    }
    if (sum > 0) sum -= defender->resistance[type];
    return std::max(sum, 0);
}

// Halves each other-group amount so that the pieces add up to the halved total: the odd
// amounts take the half points left over, lowest type first.
void HalveOtherGroup(int32_t amounts[kDamageTypeCount], int32_t halvedTotal) {
    bool odd[kDamageTypeCount] = {};
    int32_t sum = 0;
    for (int32_t t = kPhysicalTypes; t < kDamageTypeCount; ++t) {
        odd[t] = amounts[t] % 2 != 0;
        amounts[t] /= 2;
        sum += amounts[t];
    }
    for (int32_t t = kPhysicalTypes; t < kDamageTypeCount && sum < halvedTotal; ++t) {
        if (!odd[t]) continue;
        ++amounts[t];
        ++sum;
    }
}

void Melee(Hittable* attacker, Hittable* defender, bool isCounterStrike);

}  // namespace

// ---------------------------------------------------------------- shared helpers

const char* HeroDamageVerb(int32_t type) {
    return type >= 0 && type < kDamageTypeCount ? kDamageWords[type].heroVerb : "";
}

const char* DamageVerb(int32_t type) {
    return type >= 0 && type < kDamageTypeCount ? kDamageWords[type].verb : "";
}

const char* DamageHitSound(int32_t type) {
    return type >= 0 && type < kDamageTypeCount ? kDamageWords[type].sound : nullptr;
}

std::string AttackCause(Hittable* attacker, bool alwaysArticle) {
    if (attacker == nullptr || IsHero(attacker)) return "by the player";
    if (attacker->isNamed && !alwaysArticle) return "by " + attacker->GetName();
    return "by a " + attacker->GetName();
}

void GrantCombatAchievement(const char* name) {
    AwardAchievement(name);
}

void AddDamageBreakdown(const int32_t amounts[kDamageTypeCount]) {
    int32_t last = -1;
    for (int32_t t = 0; t < kDamageTypeCount; ++t) {
        if (amounts[t] > 0) last = t;
    }
    AddTickerEntry(new TextTickerEntry(" (", &kWhite));
    for (int32_t t = 0; t < kDamageTypeCount; ++t) {
        if (amounts[t] <= 0) continue;
        NonBreakingTickerEntry* group = new NonBreakingTickerEntry();
        group->AddPart(new IconTickerEntry(DamageTypeIcon(t), "icon"));
        group->AddPart(new TextTickerEntry(" " + std::to_string(amounts[t]) + " ", &kDamageWords[t].colour));
        group->AddPart(new TextTickerEntry(DamageTypeName(t), &kWhite));
        group->AddPart(new TextTickerEntry(t == last ? ")" : ", ", &kWhite));
        AddTickerEntry(group);
    }
    if (last < 0) AddTickerEntry(new TextTickerEntry(")", &kWhite));
    AddTickerEntry(new LineBreakTickerEntry());
}

void AddCombatDamageLine(int32_t crushing, int32_t slashing, int32_t blasting, Hittable* attacker,
                         Hittable* defender, Item* missile) {
    if (attacker == nullptr || defender == nullptr) return;
    int32_t amounts[kDamageTypeCount] = {crushing, slashing, blasting};
    for (int32_t t = kPhysicalTypes; t < kDamageTypeCount; ++t) {
        amounts[t] = missile != nullptr ? RangedOtherAmount(attacker, defender, missile, t)
                                        : MeleeOtherAmount(attacker, defender, t);
    }
    AddDamageBreakdown(amounts);
}

// ---------------------------------------------------------------- triggers

namespace {

// One hook seen the same way whatever carries it.
struct HookView {
    Spell* spell = nullptr;
    int32_t percentage = 100;
    const std::string* taxa = nullptr;
    int32_t after = 0;
};

const BuffHook* BuffHookOf(const Buff& buff, HitHook kind) {
    switch (kind) {
        case HitHook::TargetHit: return &buff.targetHitEffect;
        case HitHook::PlayerHit: return &buff.playerHitEffect;
        case HitHook::TargetKill: return &buff.targetKill;
        case HitHook::Thrown: return &buff.thrown;
        case HitHook::CrossbowShot: return &buff.crossbowShot;
        case HitHook::Dodge: return &buff.dodgeHook;
        case HitHook::Counter: return &buff.counterHook;
        case HitHook::Block: return &buff.blockHook;
        case HitHook::Critical: return &buff.criticalHook;
        case HitHook::Food: return &buff.foodHook;
        case HitHook::Booze: return &buff.boozeHook;
        case HitHook::Consumable: return &buff.consumableHook;
    }
    return nullptr;
}

HookView ViewOf(const Buff& buff, HitHook kind) {
    HookView view;
    const BuffHook* hook = BuffHookOf(buff, kind);
    if (hook == nullptr) return view;
    view.spell = hook->spell;
    view.percentage = hook->percentage;
    // These buff kinds filter by the target-hit hook's taxa, which the spell data leaves empty.
    const bool borrowsTaxa = kind == HitHook::Dodge || kind == HitHook::Thrown || kind == HitHook::CrossbowShot;
    view.taxa = borrowsTaxa ? &buff.targetHitEffect.taxa : &hook->taxa;
    view.after = buff.targetHitAfter ? 1 : 0;
    return view;
}

HookView ViewOf(const AbilityRecord& ability, HitHook kind) {
    const BuffHook* hook = nullptr;
    switch (kind) {
        case HitHook::TargetHit: hook = &ability.targetHitEffect; break;
        case HitHook::PlayerHit: hook = &ability.playerHitEffect; break;
        case HitHook::TargetKill: hook = &ability.targetKill; break;
        case HitHook::Thrown: hook = &ability.thrown; break;
        case HitHook::CrossbowShot: hook = &ability.crossbowShot; break;
        case HitHook::Dodge: hook = &ability.dodgeHook; break;
        case HitHook::Counter: hook = &ability.counterHook; break;
        case HitHook::Block: hook = &ability.blockHook; break;
        case HitHook::Critical: hook = &ability.criticalHook; break;
        case HitHook::Food: hook = &ability.foodHook; break;
        case HitHook::Booze: hook = &ability.boozeHook; break;
        case HitHook::Consumable: hook = &ability.consumableHook; break;
    }
    HookView view;
    if (hook == nullptr) return view;
    view.spell = hook->spell;
    view.percentage = hook->percentage;
    view.taxa = &hook->taxa;
    view.after = ability.targetHitAfter ? 1 : 0;
    return view;
}

HookView ViewOf(const ItemDef& def, HitHook kind) {
    const ItemEffectSlot* slot = nullptr;
    switch (kind) {
        case HitHook::TargetHit: slot = &def.targetHit; break;
        case HitHook::PlayerHit: slot = &def.playerHit; break;
        case HitHook::TargetKill: slot = &def.targetKill; break;
        case HitHook::Thrown: slot = &def.thrownHook; break;
        case HitHook::CrossbowShot: slot = &def.crossbowShot; break;
        case HitHook::Dodge: slot = &def.dodge; break;
        case HitHook::Counter: slot = &def.counter; break;
        case HitHook::Block: slot = &def.block; break;
        case HitHook::Critical: slot = &def.critical; break;
        case HitHook::Food: slot = &def.food; break;
        case HitHook::Booze: slot = &def.booze; break;
        case HitHook::Consumable: slot = &def.consumable; break;
    }
    HookView view;
    if (slot == nullptr) return view;
    view.spell = slot->spell;
    view.percentage = slot->percentage;
    view.taxa = &slot->taxa;
    view.after = slot->after != 0 ? 1 : 0;
    return view;
}

// The after, taxa and chance tests every hook passes before its spell is collected.
bool HookFires(const HookView& hook, Hittable* target, int32_t after) {
    if (hook.spell == nullptr) return false;
    if (after != kAnyAfter && hook.after != after) return false;
    if (hook.taxa != nullptr && !hook.taxa->empty()) {
        Monster* monster = dynamic_cast<Monster*>(target);
        if (monster != nullptr && (monster->record == nullptr || monster->record->taxa != *hook.taxa)) return false;
    }
    if (hook.percentage != 100 && PercentRoll() >= hook.percentage) return false;
    return true;
}

void PlaySpellSound(const Spell* spell) {
    if (!spell->sfx.empty()) PlaySFX(spell->sfx.c_str());
}

// Whether an ability counts now: weapon-skill abilities need a hand weapon of their class,
// the unarmed skill's empty hands and ranged slot.
bool AbilityApplies(Player* hero, const AbilityRecord& ability) {
    if (ability.skillId >= 0 && ability.skillId <= 3) return HandWeaponOfClass(hero, ability.skillId);
    if (ability.skillId == kUnarmedSkill) {
        return hero->FirstHand() == nullptr && hero->SecondHand() == nullptr && hero->Ammunition() == nullptr;
    }
    return true;
}

}  // namespace

void ApplyOnHitEffects(Hittable* target, Hittable* owner, HitHook kind, int32_t after) {
    if (target == nullptr || owner == nullptr) return;
    std::vector<Spell*> spells;
    for (Buff* buff : owner->buffs) {
        if (buff == nullptr) continue;
        const HookView hook = ViewOf(*buff, kind);
        if (!HookFires(hook, target, after)) continue;
        PlaySpellSound(hook.spell);
        spells.push_back(hook.spell);
    }
    if (!IsHero(owner)) return;
    Player* hero = CurrentPlayer;
    const bool targetIsMonster = target->IsMonster() != 0;
    for (AbilityRecord* ability : AbilityList) {
        if (ability == nullptr || !PlayerHasAbilityLevel(ability) || !AbilityApplies(hero, *ability)) continue;
        const HookView hook = ViewOf(*ability, kind);
        if (!HookFires(hook, target, after)) continue;
        PlaySpellSound(hook.spell);
        if (targetIsMonster) ShowFloatingText(target->bob, hook.spell->name);
        spells.push_back(hook.spell);
    }
    for (Item* item : hero->equipSlots) {
        if (item == nullptr || item->def == nullptr) continue;
        const HookView hook = ViewOf(*item->def, kind);
        if (!HookFires(hook, target, after)) continue;
        PlaySpellSound(hook.spell);
        spells.push_back(hook.spell);
    }
    for (Spell* spell : spells) CastSpell(spell, hero->x, hero->y, target->x, target->y, hero, false, false);
}

// ---------------------------------------------------------------- melee

namespace {

// The type with the largest amount, the lower type on ties, crushing when all are 0.
int32_t LeadingType(const int32_t amounts[kDamageTypeCount]) {
    int32_t leading = kDamageCrushing;
    for (int32_t t = 1; t < kDamageTypeCount; ++t) {
        if (amounts[t] > amounts[leading]) leading = t;
    }
    return leading;
}

// The physical weapon damage of the hero's hands: each weapon that is not a crossbow adds
// its damage less resistance per type; two weapons without the dual-wield skill are divided
// by the "bad dual wield penalty" (a weapon and a shield are not).
void AddHeroWeaponPhysical(Player* hero, Hittable* defender, int32_t physical[kPhysicalTypes]) {
    const std::vector<Weapon*> weapons = HandWeapons(hero);
    for (Weapon* weapon : weapons) {
        if (GetWeaponClass(weapon->Kind()) == 4) continue;
        for (int32_t t = 0; t < kPhysicalTypes; ++t) {
            if (weapon->damage[t] > 0) physical[t] += std::max(0, weapon->damage[t] - defender->resistance[t]);
        }
    }
    if (weapons.size() < 2 || hero->GetSkillLevel(kDualWieldSkill) > 0) return;
    const float penalty = GetTweakFloat("bad dual wield penalty");
    if (penalty <= 0.0f) return;
    for (int32_t t = 0; t < kPhysicalTypes; ++t) {
        physical[t] = static_cast<int32_t>(static_cast<float>(physical[t]) / penalty);
    }
}

void Melee(Hittable* attacker, Hittable* defender, bool isCounterStrike) {
    Player* hero = CurrentPlayer;
    const bool heroAttacks = IsHero(attacker);
    const bool heroDefends = IsHero(defender);
    const bool visible = IsInView(defender);

    // Four rolls, always in this order.
    const int critRoll = PercentRoll();
    const int blockRoll = PercentRoll();
    const int dodgeRoll = PercentRoll();
    const int counterRoll = PercentRoll();
    bool critical = critRoll < attacker->stat[kStatCrit];
    bool block = blockRoll < defender->stat[kStatBlock];
    const bool dodge = dodgeRoll < defender->stat[kStatDodge] - attacker->stat[kStatEdr];
    // A counter-strike is never countered in its turn.
    const bool counter = !isCounterStrike && counterRoll < defender->stat[kStatCounter];

    if (dodge) {
        if (visible) {
            ShowIcon(defender, EyeCandyIcons.dodge);
            PlaySFX("evade");
        }
        AddDodgeLine(defender);
        if (heroDefends) FireDodgeTriggers(hero, attacker);
        ApplyOnHitEffects(defender, defender, HitHook::Dodge);
        return;
    }
    if (critical && counter) {
        AddText(heroDefends ? "Critical hit - but you counter it!" : "Critical hit - but the monster counters it!", true);
        return;
    }
    if (critical && block) {
        AddText(heroDefends ? "Critical hit - but you block it!" : "Critical hit - but the monster blocks it!", true);
        critical = false;
        block = false;
    }
    if (critical) {
        PlaySFX("crit");
        ShowIcon(defender, EyeCandyIcons.crit);
        ApplyOnHitEffects(defender, attacker, HitHook::Critical);
    } else if (counter) {
        if (visible) {
            ShowIcon(defender, EyeCandyIcons.counter);
            PlaySFX("metal_get");
        }
        if (!heroAttacks) ApplyOnHitEffects(defender, defender, HitHook::Counter);
        const bool heroWasDead = hero != nullptr && hero->dead != 0;
        Melee(defender, attacker, true);
        if (heroAttacks && hero->dead != 0 && !heroWasDead) GrantCombatAchievement("ACHIEVEMENT_WEAK_KUNG_FU");
        return;
    } else if (block) {
        if (visible) {
            ShowIcon(defender, EyeCandyIcons.block);
            PlaySFX("metal_get");
        }
        ApplyOnHitEffects(defender, defender, HitHook::Block);
    }

    const int32_t bonus = attacker->stat[kStatMeleePower] * (critical ? 2 : 1);
    int32_t amounts[kDamageTypeCount] = {};
    if (heroAttacks) AddHeroWeaponPhysical(hero, defender, amounts);
    for (int32_t t = 0; t < kPhysicalTypes; ++t) amounts[t] += attacker->damageBonus[t];
    if (attacker->damageBonus[kDamageBlasting] > 0) {
        PlayHitSound(kDamageBlasting);
    } else if (attacker->damageBonus[kDamageSlashing] > 0) {
        PlayHitSound(kDamageSlashing);
    } else {
        PlayHitSound(kDamageCrushing);
    }
    int32_t physicalCount = 0;
    for (int32_t t = 0; t < kPhysicalTypes; ++t) {
        if (amounts[t] > 0) ++physicalCount;
    }
    if (physicalCount == 0) {
        amounts[kDamageCrushing] = bonus;
    } else {
        for (int32_t t = 0; t < kPhysicalTypes; ++t) {
            if (amounts[t] > 0) amounts[t] += bonus / physicalCount;
        }
    }
    for (int32_t t = 0; t < kPhysicalTypes; ++t) {
        amounts[t] = std::max(0, amounts[t] - defender->stat[kStatArmourAbsorption]);
        if (amounts[t] > 0 && visible) ShowImpact(defender, t);
    }

    int32_t otherCount = 0;
    int32_t otherTotal = 0;
    for (int32_t t = kPhysicalTypes; t < kDamageTypeCount; ++t) {
        amounts[t] = MeleeOtherAmount(attacker, defender, t);
        if (amounts[t] <= 0) continue;
        ++otherCount;
        otherTotal += amounts[t];
        PlayHitSound(t);
        if (visible) ShowImpact(defender, t);
    }
    const int32_t leading = LeadingType(amounts);

    if (block) {
        for (int32_t t = 0; t < kPhysicalTypes; ++t) amounts[t] /= 4;
        otherTotal /= 2;
        HalveOtherGroup(amounts, otherTotal);
    }
    const int32_t total = amounts[0] + amounts[1] + amounts[2] + otherTotal;
    if (total < 1) {
        AddNoEffectLine(heroAttacks);
    } else {
        std::string line;
        if (heroAttacks) {
            line = std::string("You ") + HeroDamageVerb(leading) + ObjectPhrase(defender) + "!";
        } else {
            line = MonsterVerbLine(attacker, defender, DamageVerb(leading));
        }
        AddText(line, false);
        // The breakdown shows what is dealt, after a block.
        AddDamageBreakdown(amounts);
        PlaySFX("impact");
        if (heroAttacks) ApplyOnHitEffects(defender, hero, HitHook::TargetHit, kBeforeDamage);
        defender->TakeDamage(total, attacker, AttackCause(attacker), 0, 0);
        if (heroAttacks) ApplyOnHitEffects(defender, hero, HitHook::TargetHit, kAfterDamage);
        if (visible) ShowFloatingNumber(total, defender, DamageTypeColour[leading]);
    }
    if (heroAttacks) {
        if (physicalCount + otherCount >= 7) GrantCombatAchievement("ACHIEVEMENT_TASTE_THE_RAINBOW");
        if (otherCount >= 13) GrantCombatAchievement("ACHIEVEMENT_DOUBLE_RAINBOW");
    }
    if (heroDefends) ApplyOnHitEffects(attacker, hero, HitHook::PlayerHit);
}

}  // namespace

void ResolveMeleeAttack(Hittable* attacker, Hittable* defender) {
    if (attacker == nullptr || defender == nullptr) return;
    Melee(attacker, defender, false);
}

// ---------------------------------------------------------------- thrown, shot, spell strike

namespace {

// The rolls of the thrown and crossbow forms: critical, then dodge (never after a critical
// hit), then block (never with one). False when the defender dodged.
bool RollMissileAvoidance(Hittable* attacker, Hittable* defender, bool* critical, bool* block) {
    *critical = PercentRoll() < attacker->stat[kStatCrit];
    if (*critical) {
        PlaySFX("crit");
        ShowIcon(defender, EyeCandyIcons.crit);
    }
    if (!*critical && PercentRoll() < defender->stat[kStatDodge]) {
        ShowIcon(defender, EyeCandyIcons.dodge);
        PlaySFX("evade");
        AddDodgeLine(defender);
        return false;
    }
    *block = !*critical && PercentRoll() < defender->stat[kStatBlock];
    if (*block) {
        PlaySFX("metal_get");
        ShowIcon(defender, EyeCandyIcons.block);
    }
    return true;
}

// Adds (sign 1) or takes off (sign -1) the damage of the hero's learned throwing abilities.
void ApplyThrowingAbilityDamage(Player* hero, int32_t sign) {
    for (AbilityRecord* ability : AbilityList) {
        if (ability == nullptr || ability->skillId != kThrowingSkill || !PlayerHasAbilityLevel(ability)) continue;
        for (int32_t t = 0; t < kDamageTypeCount; ++t) hero->damageBonus[t] += sign * ability->damage[t];
    }
}

// The impact of the physical part of a thrown object: blasting, slashing or crushing by the
// attacker's own damage.
int32_t ThrownImpactType(const Hittable* attacker) {
    if (attacker->damageBonus[kDamageBlasting] > 0) return kDamageBlasting;
    if (attacker->damageBonus[kDamageSlashing] > 0) return kDamageSlashing;
    return kDamageCrushing;
}

}  // namespace

void ResolveThrownAttack(Hittable* attacker, Hittable* defender) {
    if (attacker == nullptr || defender == nullptr) return;
    bool critical = false;
    bool block = false;
    if (!RollMissileAvoidance(attacker, defender, &critical, &block)) return;
    Player* hero = CurrentPlayer;
    const bool heroThrows = IsHero(attacker);
    int32_t bonus = attacker->stat[kStatMeleePower] * (critical ? 2 : 1);
    if (heroThrows) ApplyThrowingAbilityDamage(hero, 1);

    if (heroThrows && hero->GetSkillLevel(kThrowingSkill) <= 0) bonus /= 2;
    int32_t physical = bonus;
    if (heroThrows) {
        const bool skilled = hero->GetSkillLevel(kThrowingSkill) > 0;
        Weapon* weapon = dynamic_cast<Weapon*>(ThrownObject);
        if (weapon != nullptr) {
            int32_t sum = 0;
            for (int32_t t = 0; t < kPhysicalTypes; ++t) sum += std::max(0, weapon->damage[t] - defender->resistance[t]);
            sum = std::max(0, sum - defender->stat[kStatArmourAbsorption]);
            physical += skilled ? sum : sum / 2;
        }
    }
    for (int32_t t = 0; t < kPhysicalTypes; ++t) physical += attacker->damageBonus[t];
    if (!heroThrows) physical = std::max(0, physical - defender->stat[kStatArmourAbsorption]);
    if (physical > 0) ShowImpact(defender, ThrownImpactType(attacker));

    int32_t other = 0;
    for (int32_t t = kPhysicalTypes; t < kDamageTypeCount; ++t) {
        int32_t sum = attacker->damageBonus[t];
        if (heroThrows) sum += ItemDamage(ThrownObject, t);
        if (sum > 0) sum = std::max(0, sum - defender->resistance[t]);
        if (sum <= 0) continue;
        other += sum;
        ShowImpact(defender, t);
        ShowFloatingNumber(sum, defender, DamageTypeColour[t]);
    }
    if (heroThrows) ApplyThrowingAbilityDamage(hero, -1);
    if (block) {
        physical /= 4;
        other /= 2;
    }
    const int32_t total = physical + other;
    if (total < 1) {
        AddNoEffectLine(heroThrows);
        return;
    }
    if (heroThrows) ApplyOnHitEffects(defender, hero, HitHook::Thrown);
    PlaySFX("impact");
    defender->TakeDamage(total, attacker, AttackCause(attacker, true), 0, 0);
    ShowFloatingNumberWhite(total, defender);
}

void ResolveRangedAttack(Hittable* attacker, Hittable* defender, Item* missile) {
    if (attacker == nullptr || defender == nullptr) return;
    bool critical = false;
    bool block = false;
    if (!RollMissileAvoidance(attacker, defender, &critical, &block)) return;
    Player* hero = CurrentPlayer;
    const bool heroShoots = IsHero(attacker);

    int32_t physicalByType[kPhysicalTypes] = {};
    if (heroShoots) {
        const bool skilled = hero->GetSkillLevel(kCrossbowSkill) > 0;
        Weapon* crossbow = HeroCrossbow(hero);
        for (int32_t t = 0; t < kPhysicalTypes; ++t) {
            int32_t amount = std::max(0, ItemDamage(crossbow, t) - defender->resistance[t]);
            amount += std::max(0, ItemDamage(missile, t) - defender->resistance[t]);
            if (!skilled) amount /= 2;
            if (critical) amount *= 2;
            physicalByType[t] = amount;
        }
    } else {
        for (int32_t t = 0; t < kPhysicalTypes; ++t) physicalByType[t] = attacker->damageBonus[t];
    }
    int32_t physical = physicalByType[0] + physicalByType[1] + physicalByType[2];
    physical = std::max(0, physical - defender->stat[kStatArmourAbsorption]);
    if (physical > 0) {
        int32_t impact = kDamageSlashing;
        if (physicalByType[0] > physicalByType[1] && physicalByType[0] > physicalByType[2]) {
            impact = kDamageCrushing;
        } else if (physicalByType[2] >= physicalByType[1]) {
            impact = kDamageBlasting;
        }
        ShowImpact(defender, impact);
    }
    int32_t amounts[kDamageTypeCount] = {};
    int32_t other = 0;
    for (int32_t t = kPhysicalTypes; t < kDamageTypeCount; ++t) {
        amounts[t] = RangedOtherAmount(attacker, defender, missile, t);
        other += amounts[t];
        if (amounts[t] > 0) ShowImpact(defender, t);
    }
    if (block) {
        physical /= 4;
        other /= 2;
        HalveOtherGroup(amounts, other);
    }
    const int32_t total = physical + other;
    if (total < 1) {
        AddText(heroShoots ? "Your shot has no effect!" : "The attack has no effect!", true);
    } else {
        const std::string line = heroShoots ? "You shoot" + ObjectPhrase(defender) + "!"
                                            : MonsterVerbLine(attacker, defender, "shoots");
        AddText(line, false);
        // Armour comes off the physical sum, so the breakdown shows it under the leading
        // physical type: the pieces add up to what is dealt.
        int32_t shown[kDamageTypeCount] = {};
        std::copy(std::begin(amounts), std::end(amounts), std::begin(shown));
        int32_t leadPhysical = 0;
        for (int32_t t = 1; t < kPhysicalTypes; ++t) {
            if (physicalByType[t] > physicalByType[leadPhysical]) leadPhysical = t;
        }
        shown[leadPhysical] = physical;
        AddDamageBreakdown(shown);
        PlaySFX("impact");
        defender->TakeDamage(total, attacker, AttackCause(attacker), 0, 0);
        ShowFloatingNumberWhite(total, defender);
    }
    if (!heroShoots) return;
    ApplyOnHitEffects(defender, hero, HitHook::CrossbowShot);
    // The second pass: the learned crossbow and skill-12 abilities' target-hit spells while a
    // hand weapon has that class. Buffs carry no flag for this pass and take no part.
    for (AbilityRecord* ability : AbilityList) {
        if (ability == nullptr || ability->targetHitEffect.spell == nullptr) continue;
        if (ability->skillId != kCrossbowSkill && ability->skillId != 12) continue;
        if (!PlayerHasAbilityLevel(ability) || !HandWeaponOfClass(hero, ability->skillId)) continue;
        if (ability->targetHitEffect.percentage != 100 && PercentRoll() >= ability->targetHitEffect.percentage) continue;
        Spell* spell = ability->targetHitEffect.spell;
        PlaySpellSound(spell);
        ShowFloatingText(defender->bob, spell->name);
        CastSpell(spell, hero->x, hero->y, defender->x, defender->y, hero, false, false);
    }
}

void ResolveSpellStrike(Hittable* attacker, Hittable* defender, const int32_t damage[kDamageTypeCount]) {
    if (attacker == nullptr || defender == nullptr || damage == nullptr) return;
    const bool visible = IsInView(defender);
    const bool critical = PercentRoll() < attacker->stat[kStatCrit];
    if (critical && visible) {
        PlaySFX("crit");
        ShowIcon(defender, EyeCandyIcons.crit);
    }
    if (!critical && PercentRoll() < defender->stat[kStatDodge]) {
        if (visible) {
            ShowIcon(defender, EyeCandyIcons.dodge);
            PlaySFX("evade");
        }
        AddDodgeLine(defender);
        return;
    }
    if (!critical && PercentRoll() < defender->stat[kStatCounter]) {
        if (visible) {
            ShowIcon(defender, EyeCandyIcons.counter);
            PlaySFX("metal_get");
        }
        Melee(defender, attacker, true);
        return;
    }
    const bool block = !critical && PercentRoll() < defender->stat[kStatBlock];
    if (block && visible) {
        PlaySFX("metal_get");
        ShowIcon(defender, EyeCandyIcons.block);
    }
    int32_t physical = attacker->stat[kStatMeleePower] * (critical ? 2 : 1);
    for (int32_t t = 0; t < kPhysicalTypes; ++t) physical += std::max(0, damage[t] - defender->resistance[t]);
    physical = std::max(0, physical - defender->stat[kStatArmourAbsorption]);
    int32_t other = 0;
    for (int32_t t = kPhysicalTypes; t < kDamageTypeCount; ++t) other += std::max(0, damage[t] - defender->resistance[t]);
    if (block) {
        physical /= 4;
        other /= 2;
    }
    const int32_t total = physical + other;
    if (total < 1) {
        AddNoEffectLine(IsHero(attacker));
        return;
    }
    PlaySFX("impact");
    defender->TakeDamage(total, attacker, AttackCause(attacker), 0, 0);
    if (visible) ShowFloatingNumberWhite(total, defender);
}

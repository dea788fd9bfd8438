#pragma once
// An ability of a skill (one `ability` element of "skillDB.xml"): the skill level that grants
// it, its place in the skill tome, the spell it casts, and the modifiers and spell hooks it
// gives the hero. How it targets (target type, radius, template, anchoring, cooldown, item
// filter) is read from its spell.
#include <SDL.h>

#include <cstdint>
#include <string>

#include "creatures/buff.h"
#include "creatures/damage_type.h"

class Spell;

// A spell with the chance that it goes off (triggeroncast, triggerondodge).
struct SpellChance {
    Spell* spell = nullptr;
    int32_t percent = 0;
};

struct AbilityRecord {
    AbilityRecord() = default;
    AbilityRecord(const AbilityRecord&) = delete;
    AbilityRecord& operator=(const AbilityRecord&) = delete;
    ~AbilityRecord();

    std::string name;
    std::string description;
    std::string spellName;
    std::string icon;
    int32_t tomeX = 0;
    int32_t tomeY = 0;
    int32_t level = 0;     // the skill level (0-based) at which it becomes available
    int32_t skillId = 0;
    int32_t tomePage = 0;
    bool startSkill = false;
    int32_t secondaryMods[kSecondaryStatCount] = {};
    int32_t primaryMods[kPrimaryStatCount] = {};
    int32_t damage[kDamageTypeCount] = {};
    int32_t resist[kDamageTypeCount] = {};
    int32_t recovery = 0;
    BuffHook targetHitEffect;
    bool targetHitAfter = false;
    BuffHook playerHitEffect;
    BuffHook targetKill;
    BuffHook thrown;
    BuffHook crossbowShot;
    SpellChance triggerOnCast;
    SpellChance triggerOnDodge;
    BuffHook dodgeHook;
    BuffHook counterHook;
    BuffHook blockHook;
    BuffHook criticalHook;
    BuffHook foodHook;
    BuffHook boozeHook;
    BuffHook consumableHook;
    Spell* spell = nullptr;
    SDL_Surface* iconSprite = nullptr;  // owned; a placeholder when the icon is missing
    bool polymorphedOnly = false;
    std::string polymorphTag;
    bool veganism = false;
    bool doubleThrow = false;
    std::string friendlyTaxa;
    bool vmTheft = false;
    bool storeTheft = false;
};

// The target rules of an ability are those of its spell: CheckSpellTarget in creatures/spell.h.

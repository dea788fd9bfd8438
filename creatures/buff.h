#pragma once
// A timed effect on a creature.
//
// Stand-in: only the fields other subsystems read. Still to be built here: reading buffs
// from the spell and skill databases, applying their values to the derived statistics,
// durations and expiry, and their save block.
#include <cstdint>
#include <string>

#include "creatures/damage_type.h"

constexpr int32_t kSecondaryStatCount = 24;
constexpr int32_t kBaseStatCount = 6;

struct Buff {
    std::string name;
    std::string description;
    int32_t sightBonus = 0;                            // added to the hero's sight radius
    int32_t secondaryStats[kSecondaryStatCount] = {};  // in the order of the stat icons
    int32_t baseStats[kBaseStatCount] = {};
    int32_t damageBonuses[kDamageTypeCount] = {};
    int32_t resistances[kDamageTypeCount] = {};
    int32_t duration = 0;       // turns left
    // Together these say whether the hero may dismiss the buff: it may when it is
    // not permanent and not marked undismissable.
    int32_t permanent = 0;
    int32_t undismissable = 0;

    bool CanBeDismissed() const { return permanent == 0 && undismissable == 0; }
};

#pragma once
// An ability of a skill: what it targets, how it is shaped and what it casts.
//
// Stand-in: the fields other subsystems read, and a target test that accepts every
// square. Still to be built here: reading abilities from the skill database, the real
// target rules of each targeting type, and the ability belt.
#include <cstdint>
#include <string>

#include "creatures/buff.h"

class Spell;

struct AbilityRecord {
    std::string name;
    std::string description;
    int32_t targetingType = 0;    // 0..23 are meaningful to the target marking
    int32_t radius = 0;
    int32_t maneuverTemplate = -1;  // -1: a random template
    // 0 no rotation at the target, 1 at the hero and rotated, other values at the
    // target and rotated.
    int32_t anchorMode = 0;
    int32_t cooldown = 0;         // ready below 1
    std::string itemFilter = "any";  // "any", "wand", "gem", "mushroom", "artifact"
    Buff buff;                    // its value arrays are shown in the tooltip
    Spell* spell = nullptr;       // the spell it casts, or none
};

// True when the ability may be used on the target square.
bool CheckSpellTarget(const AbilityRecord* ability, int32_t heroX, int32_t heroY, int32_t targetX,
                      int32_t targetY);

#pragma once
// Anything that takes damage: the hero and the monsters.
//
// Stand-in: statistics are plain fields and the per-turn operations do nothing beyond
// the buff countdown. Still to be built here: the save blocks with the 16-int damage
// arrays and the class-registry entries, derived statistics in RecalculateStats,
// combat resolution, spell triggers and status effects.
#include <cstdint>
#include <vector>

#include "levels/game_obj.h"
#include "creatures/buff.h"
#include "creatures/damage_type.h"

class Hittable : public GameObj {
public:
    Hittable();
    ~Hittable() override;

    bool IsHittable() override { return true; }
    int32_t IsCreature() override { return 1; }

    int32_t dead = 0;  // set on death (and for the hero on drowning)
    int32_t health = 0;
    int32_t maxHealth = 0;
    int32_t mana = 0;
    int32_t maxMana = 0;
    int32_t baseStats[kBaseStatCount] = {};
    int32_t secondaryStats[kSecondaryStatCount] = {};
    int32_t damage[kDamageTypeCount] = {};
    int32_t resistances[kDamageTypeCount] = {};
    std::vector<Buff*> buffs;  // active buffs, owned

    // Counts buff durations down once per turn and removes expired buffs.
    virtual void UpdateBuffs();
    // Counts pending spell triggers down once per turn and fires the due ones.
    void TickSpellTriggers();
    // Recomputes the derived statistics, the maximum health among them.
    virtual void RecalculateStats();
    // Removes one active buff (the hero's dismissal); false when it is not active.
    bool RemoveBuff(Buff* buff);
};

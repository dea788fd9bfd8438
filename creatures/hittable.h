#pragma once
// Hittable: the common base of the hero and the monsters. A GameObj with health and mana,
// the statistic arrays, per-damage-type damage and resistance bonuses, the active buffs,
// the pending timed spell casts and the status counters that combat and spells set. It
// applies and removes buff modifiers, counts buffs down, regenerates what food and drink
// promised, fires timed spell triggers and spell mines, and saves its block after the
// GameObj block.
#include <cstdint>
#include <list>
#include <vector>

#include "creatures/buff.h"
#include "creatures/damage_type.h"
#include "levels/game_obj.h"

class Hittable;
class Spell;

// One pending timed cast on a creature.
struct SpellTrigger {
    int32_t turnsLeft = 0;
    bool repeats = false;  // fires every turn while the creature lives
    Spell* spell = nullptr;
    int32_t chance = 100;  // percent
    int32_t power = 0;
    // Who set it off: casts run as that creature's (null: the hero). A monster that goes
    // away takes the triggers it caused with it.
    Hittable* caster = nullptr;
};

class Hittable : public GameObj {
public:
    Hittable();
    // Reads the GameObj block and then the Hittable block.
    explicit Hittable(SaveReader& in);
    ~Hittable() override;

    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    bool IsHittable() override { return true; }
    int32_t IsCreature() override { return 1; }
    bool CanBeStunned() override { return true; }
    // The body (DrawBody), then the halos of the buffs above it.
    void Draw(const MapView& view) override;
    // The creature's own picture at its square.
    virtual void DrawBody(const MapView& view);
    void AdvanceAnimation(int32_t elapsedMs) override;
    void Update() override;
    void AddStunTurns(int32_t turns) override;

    // Does nothing here; the monster and the hero form their current values.
    virtual void RecalculateStats();
    // Appends the buff (the creature owns it from now on) and applies its modifiers.
    virtual void AddBuff(Buff* buff);
    // Takes the buff's modifiers off again; the buff stays in the list.
    virtual void RemoveBuff(Buff* buff);
    // Counts the buffs down and deletes those that ended (once per turn).
    virtual void UpdateBuffs();
    // countdownTurns += n; returns n.
    virtual int32_t AddCountdown(int32_t turns);
    virtual bool AlwaysTrue() { return true; }

    // Counts the pending spell triggers down and fires the due ones (once per turn).
    void TickSpellTriggers();
    // Drops every pending trigger that the creature caused.
    void DropTriggersCausedBy(const Hittable* causer);
    // Sets off the spell mines on the creature's square.
    void TriggerSpellMines();

    // Forms `primary` and then `stat` from base, bonus and percentage; a negative value
    // becomes 0 except, when heroRules is set, life and mana regeneration.
    void FormCurrentStats(bool heroRules);

    int32_t dead = 0;  // set on death (and for the hero on drowning); not saved here
    // Set while a load puts saved buffs back: AddBuff then only applies the modifiers.
    // Health and maximum are whole again once every buff is back, so no step on the way
    // may clamp them or count as a blow.
    bool restoringBuffs = false;

    int32_t damageBonus[kDamageTypeCount] = {};
    int32_t resistance[kDamageTypeCount] = {};
    std::vector<Buff*> buffs;  // owned, in the order they were added
    std::list<SpellTrigger> spellTriggers;
    int32_t health = 1;
    int32_t mana = 1;
    int32_t midasLevel = 0;
    int32_t foodRegenLeft = 0;
    int32_t boozeRegenLeft = 0;
    bool isNamed = false;
    bool hasPendingMove = false;
    int32_t pendingMoveX = -1;
    int32_t pendingMoveY = -1;
    int32_t statBase[kSecondaryStatCount] = {};
    int32_t statBonus[kSecondaryStatCount] = {};
    int32_t stat[kSecondaryStatCount] = {};  // stat[0] maximum health, stat[1] maximum mana
    int32_t skillTypePoints[kSkillTypeCount] = {};
    int32_t primaryBase[kPrimaryStatCount] = {};
    int32_t primaryBonus[kPrimaryStatCount] = {};
    int32_t primary[kPrimaryStatCount] = {};
    int32_t statPercent[kSecondaryStatCount];
    int32_t primaryPercent[kPrimaryStatCount];
    bool isOiled = false;
    bool isBurning = false;
    int32_t burnTurns = 0;
    bool isBleeding = false;
    int32_t bleedTurns = 0;
    int32_t stunTurns = 0;
    int32_t countdownTurns = 0;

private:
    void ReadBlock(SaveReader& in);
    // Adds (sign 1) or subtracts (sign -1) the buff's modifiers; true when health fell to
    // 0 or below on the way.
    bool ApplyModifiers(const Buff* buff, int32_t sign);
    // The cause texts of deaths by buffs.
    static const char* LosingAllHealthCause();
};

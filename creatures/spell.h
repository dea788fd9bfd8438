#pragma once
// Spells: the spell table read from "spellDB.xml" and the casting entry points.
//
// Stand-in: the table starts empty and the loader reads nothing; casting does nothing.
// Still to be built here: reading spell records (effects, costs, cooldowns, sounds,
// animations), CastSpell and ApplySpellEffects with every effect kind, the mana cost
// rules (stat-based reductions, minimum, growth with castCount) and the hero's casting
// of the selected ability with its mana, mute and cooldown rules.
#include <cstdint>
#include <string>
#include <vector>

class Hittable;
class Player;

class Spell {
public:
    std::string name;
    int32_t cooldown = 0;          // turns until it can be cast again; lowered every turn
    int32_t cooldownTurns = 0;     // the cooldown a cast starts
    int32_t cooldownBased = 0;     // the tooltip shows the cooldown instead of the mana cost
    int32_t castCount = 0;         // casts in the running game, saved with it
    int32_t manaCost = 0;
    int32_t minimumManaCost = 0;
    std::string sound;             // empty for none
};

// Every spell in database order; a spell mine stores an index into it. Owned.
extern std::vector<Spell*> SpellTable;

// Reads one spell file and appends its records; a missing file adds nothing.
void spellDBLoad(const char* file);
// The spell with exactly that name, or null.
Spell* spellDBFindByName(const char* name);
// The spell at an index of the table, or null outside it.
Spell* GetSpellByIndex(int32_t index);
// The hero's mana cost of the spell.
int32_t GetSpellManaCost(const Spell* spell);
// Casts the spell from the source square at the target square.
void CastSpell(Spell* spell, int32_t sourceX, int32_t sourceY, int32_t targetX, int32_t targetY,
               Hittable* caster, const char* cause, int32_t flags);
// Applies every effect of the spell on one square.
void ApplySpellEffects(Spell* spell, int32_t x, int32_t y, Hittable* caster, const char* cause,
                       int32_t flags);
// Sets the running cooldown of every spell to 0.
void ResetSpellCooldowns();
// The hero casts the selected ability at the spell target square.
void PlayerCastSelectedSpell(int32_t targetingType);
// Destroys every spell record.
void ClearSpellTable();

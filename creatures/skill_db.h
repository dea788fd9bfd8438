#pragma once
// The skill database ("skillDB.xml"): the skill table (SkillRecord by value, in file order),
// the ability list (AbilityRecord, in file order), the two pseudo-skills that AddDummySkills
// appends for character creation, and the questions asked about the hero's chosen skills.
// Later files append after earlier ones.
#include <cstdint>
#include <string>
#include <vector>

#include "creatures/ability.h"
#include "media/bob.h"

class Sprite;

// The ids of the pseudo-skills. Every other id, a hashed one that is negative as an int32
// included, is a real skill.
constexpr int32_t kLastChoiceSkillId = -1;
constexpr int32_t kRandomSkillsSkillId = -2;
bool IsPseudoSkillId(int32_t id);

// One item of a skill's starting kit.
struct LoadoutEntry {
    std::string type;     // the kind of item: weapon, armour, potion ...
    std::string subtype;
    int32_t amount = 1;
    bool always = false;
};

struct SkillRecord {
    std::string name;
    int32_t id = 0;      // the `id` attribute, or the lookup3 hash of `skillname`
    int32_t type = 0;    // SkillType
    std::string description;
    std::string icon;
    std::string achievement;
    std::vector<LoadoutEntry> loadout;
    uint8_t chosen = 0;  // set while the hero has chosen the skill
    uint8_t deprecated = 0;  // not offered at character creation
};

// Every skill record in table order; a skill index is a position in it.
extern std::vector<SkillRecord> SkillDB;
// Every ability in file order (owned).
extern std::vector<AbilityRecord*> AbilityList;
// The skill tome's learn animation (the numbered series "ui/gameplay/skilltome_learn").
extern Bob SkillTomeLearnBob;
// Gives SkillTomeLearnBob the "skilltome_learn" animation of the current sprite table (again
// after the table was emptied); AddDummySkills and the skill tome call it.
void AttachSkillTomeLearnSprite();

// Reads one skill file and appends its records; a missing file adds nothing.
void SkillDBLoad(const char* file);
// The same from text in memory; `file` names it in diagnostics. False on a parse error (the
// records read before it are kept).
bool SkillDBLoadFromText(const char* text, size_t length, const char* file);
// Appends "Last Choice" and "Random Skills" and loads the skill tome's learn animation.
void AddDummySkills();

// The hero has the ability: one of its seven slots holds the ability's skill and its level
// in that skill is above the ability's level.
bool PlayerHasAbilityLevel(const AbilityRecord* ability);
// The first skill with that id, or null.
SkillRecord* FindSkillById(int32_t id);
// The first ability with exactly that name, or null.
AbilityRecord* FindAbilityByName(const std::string& name);

// Fills the list with the indices of the skills offered at character creation: every record
// but the pseudo-skills and the deprecated ones.
void BuildChoosableSkillList(std::vector<int32_t>& skills);
// A random build: seven offered skills drawn by a shuffle, as indices in ascending order
// (every offered skill when fewer than seven are offered).
constexpr int32_t kRandomBuildSkillCount = 7;
void PickRandomSkills(std::vector<int32_t>& skills);
// Fills the list with the seven skill indices of the previous game ("last.txt").
void LoadLastSkillChoice(std::vector<int32_t>& skills);

// The record at an index, or null outside the table.
SkillRecord* GetSkillRecord(int32_t index);
// Clears the chosen flag of every record.
void ClearChosenSkills();
// Sets the chosen flag of one record; false for an index outside the table.
bool SetSkillChosen(int32_t index);
// Empties the skill table and the ability list.
void ResetSkillDB();

#pragma once
// The skill table ("skillDB.xml") and the skills offered at character creation.
//
// Stand-in: the table starts with twenty built-in skills of our own so that a hero can be
// built; the loader reads nothing yet and AddDummySkills appends two placeholder
// pseudo-skills. Still to be built here: reading skill records (levels, abilities,
// starting kits, descriptions, icons) over the layered files, the real pseudo-skills and
// the real list of offered skills.
#include <cstdint>
#include <string>
#include <vector>

struct SkillRecord {
    std::string name;
    std::string description;
    int32_t code = 0;      // the skill code kept in the hero's build
    uint8_t chosen = 0;    // set for the skills of the hero being made
    uint8_t excluded = 0;  // never offered at character creation
};

// Every skill record in table order; a skill index is a position in it.
extern std::vector<SkillRecord> SkillDB;

void SkillDBLoad(const char* file);
// Appends the pseudo-skill records after every skill file is read.
void AddDummySkills();
// Fills the list with the indices of the skills offered at character creation.
void BuildChoosableSkillList(std::vector<int32_t>& skills);
// Fills the list with the seven skill indices of the previous game ("last.txt").
void LoadLastSkillChoice(std::vector<int32_t>& skills);

// The record at an index, or null outside the table.
SkillRecord* GetSkillRecord(int32_t index);
// Clears the chosen flag of every record.
void ClearChosenSkills();
// Sets the chosen flag of one record; false for an index outside the table.
bool SetSkillChosen(int32_t index);
// Puts the table back to the built-in records.
void ResetSkillDB();

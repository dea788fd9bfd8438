#pragma once
// The monster database ("monDB.xml"): one record per kind of monster.
//
// Stand-in: the loader reads nothing yet and names come from a short built-in list.
// Still to be built here: reading every record field (statistics, art, AI, spells,
// drops), appending over the layered files, and names from the text database's word
// lists.
#include <cstdint>
#include <string>
#include <vector>

struct MonsterRecord {
    std::string name;
    std::string displayName;
    int32_t level = 0;       // 0..14: the monster-table index
    int32_t aquatic = 0;     // a swimmer, placed only on water
    int32_t excluded = 0;    // kept out of the per-depth monster tables
    std::string sprite;      // art base name
};

// Every record in database order. Owned.
extern std::vector<MonsterRecord*> MonsterDB;

void monDBLoad(const char* file);
MonsterRecord* monDBFindByName(const char* name);
MonsterRecord* monDBFindByDisplayName(const char* displayName);
// A random proper name for a named monster.
std::string MakeMonsterName();
void ClearMonsterDB();

#pragma once
// The experience table: the experience needed to leave each hero level.
#include <cstddef>
#include <cstdint>
#include <vector>

// Levels 0 to 49 have a threshold; a hero at level 50 or above gains no further level.
constexpr int32_t kExperienceTableSize = 50;

// Entry i: the experience needed to leave level i; filled by InitExperienceTable.
extern std::vector<int32_t> ExperienceTable;

// Fills the table from the tuning value "experience n" of the easy section:
// entry i = n + n * (i * (i + 1) / 2).
void InitExperienceTable();
// The same from a given n.
void InitExperienceTableFrom(int32_t n);
// Experience needed to leave a hero level; -1 outside the table (no level-up there).
int32_t ExperienceForLevel(int32_t level);

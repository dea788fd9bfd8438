#pragma once
// Experience needed per hero level.
//
// Stand-in: a simple growing table of our own. Still to be built here: the real
// progression and its tuning values.
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int32_t kMaxHeroLevel = 50;

// Experience needed to leave level i (index 0 unused); filled by InitExperienceTable.
extern std::vector<int32_t> ExperienceTable;

void InitExperienceTable();
// Experience needed to leave a hero level; 0 outside the table.
int32_t ExperienceForLevel(int32_t level);

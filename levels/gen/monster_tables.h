#pragma once
// The monsters of each monster level, built once from the monster database.
#include <cstdint>
#include <vector>

struct MonsterRecord;

constexpr int32_t kMonsterLevelCount = 15;

// One list per monster level 0..14 (records are owned by the monster database).
extern std::vector<MonsterRecord*> MonsterTables[kMonsterLevelCount];

// For every monster record in database order whose exclusion flag is clear, appends it
// to the table of its monster level. A record whose level lies outside 0..14 is left out
// with a diagnostic.
void InitMonsterTables();

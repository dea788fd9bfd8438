#pragma once
// A stamp for what a level's remembered squares show: it changes whenever they may have
// changed (every sight pass, RevealMap, MarkSquareSeen, ClearVisibility, a magic map), each
// time to a value no level has had before. A picture made from those squares (the minimap)
// is kept while the stamp stays.
#include <cstdint>

class Level;

// The level's stamp (a new one for a level asked for the first time).
uint64_t LevelSeenStamp(const Level* level);
// Gives the level a new stamp.
void NoteLevelSeenChange(const Level* level);
// Drops the level's stamp (a level being destroyed).
void ForgetLevelSeenStamp(const Level* level);

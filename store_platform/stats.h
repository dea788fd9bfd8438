#pragma once
// The game's statistics and achievements, as every event site records them.
//
// Stand-in: the statistics holder with its typed rows, the received-stats state and the
// asynchronous store are still to be built; until then these go straight to the local
// user-statistics file.
#include <cstdint>

// Adds `amount` to the named statistic and stores the statistics.
void AddToStat(const char* name, int32_t amount);
// The named statistic's integer value; 0 when it is unknown.
int32_t GetStatInt(const char* name);
// Sets the named achievement and stores the statistics.
void AwardAchievement(const char* name);

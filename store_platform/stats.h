#pragma once
// The game's store-platform statistics and achievements.
//
// One statistics holder (CSteamStats) keeps the eighteen named statistics of the game. It asks
// the platform for their values at start-up; until the platform's stats-received record has
// been pumped, GetStatInt answers 0 and AddToStat does nothing, so events in that window are
// not counted. Achievements are not kept here: each event awards its own with
// AwardAchievement, which needs only the user-statistics interface.
#include <cstdint>

#include "store_platform/callbacks.h"

// One row of the statistics table.
struct StatEntry {
    int32_t id;
    int32_t type;  // 0 integer, 1 float, 2 average rate
    const char* apiName;
    int32_t intValue;
    float floatValue;
    float rateCount;
    float rateLength;
};

constexpr int32_t kStatTypeInt = 0;
constexpr int32_t kStatTypeFloat = 1;
constexpr int32_t kStatTypeAvgRate = 2;
constexpr int32_t kGameStatCount = 18;

class CSteamStats {
public:
    CSteamStats(StatEntry* table, int32_t count);
    CSteamStats(const CSteamStats&) = delete;
    CSteamStats& operator=(const CSteamStats&) = delete;

    // False when the user-stats or user interface is absent or the user is not logged on;
    // otherwise the platform's answer to the request.
    bool RequestStats();
    // Pushes every row to the platform and stores; false before the stats were received.
    bool StoreStats();
    int32_t GetStatInt(const char* name) const;
    void AddToStat(const char* name, int32_t amount);

    void OnUserStatsReceived(UserStatsReceived_t* record);
    void OnUserStatsStored(UserStatsStored_t* record);

    uint64_t GameId() const { return gameId_; }
    bool StatsReceived() const { return statsReceived_; }
    const StatEntry* Table() const { return table_; }
    int32_t Count() const { return count_; }

private:
    uint64_t gameId_ = 0;
    StatEntry* table_;
    int32_t count_;
    bool statsReceived_ = false;
    CCallback<CSteamStats, UserStatsReceived_t, kUserStatsReceivedId> receivedCallback_;
    CCallback<CSteamStats, UserStatsStored_t, kUserStatsStoredId> storedCallback_;
};

// The one holder; null until InitSteamStats (or when it could not be made).
extern CSteamStats* SteamStats;

// Makes the holder over the game's statistics table, every value 0, and requests the values.
// Start-up calls it right after SteamAPI_Init. Calling it again replaces the holder.
void InitSteamStats();

// Adds `amount` to the named statistic and stores the statistics (nothing before the values
// were received).
void AddToStat(const char* name, int32_t amount);
// The named statistic's integer value; 0 before the values were received or when unknown.
int32_t GetStatInt(const char* name);
// Sets the named achievement and stores, whenever the user-statistics interface is there.
void AwardAchievement(const char* name);

// A counted event: adds 1 to the statistic, then awards each achievement whose count the
// statistic now equals exactly.
struct StatMilestone {
    int32_t count;
    const char* achievement;
};
void CountStatEvent(const char* stat, const StatMilestone* milestones, int32_t milestoneCount);
inline void CountStatEvent(const char* stat) { CountStatEvent(stat, nullptr, 0); }

// The both-genders achievement: the store keeps whether heroes of each gender were built (two
// flags, kept across runs); building one awards "ACHIEVEMENT_BOTH_GENDERS" once both are set.
void NoteHeroGenderBuilt(bool female);

#include "store_platform/stats.h"

#include "store_platform/store.h"

#include <cstdio>
#include <cstring>
#include <new>

CSteamStats* SteamStats = nullptr;

namespace {

StatEntry GameStats[kGameStatCount] = {
    {3, kStatTypeInt, "STAT_VICTORIES", 0, 0.0f, 0.0f, 0.0f},
    {4, kStatTypeInt, "STAT_PERMADEATH_VICTORIES", 0, 0.0f, 0.0f, 0.0f},
    {5, kStatTypeInt, "STAT_DEATHS", 0, 0.0f, 0.0f, 0.0f},
    {6, kStatTypeInt, "STAT_MONSTERS_KILLED", 0, 0.0f, 0.0f, 0.0f},
    {7, kStatTypeInt, "STAT_DIGGLES_KILLED", 0, 0.0f, 0.0f, 0.0f},
    {8, kStatTypeInt, "STAT_DIGGLE_EGGS_EATEN", 0, 0.0f, 0.0f, 0.0f},
    {9, kStatTypeInt, "STAT_TRAPS_DISARMED", 0, 0.0f, 0.0f, 0.0f},
    {10, kStatTypeInt, "STAT_TRAPS_TRIGGERED", 0, 0.0f, 0.0f, 0.0f},
    {11, kStatTypeInt, "STAT_LUTEFISK_SACRIFICED", 0, 0.0f, 0.0f, 0.0f},
    {12, kStatTypeInt, "STAT_LUTEFISK_MANUFACTURED", 0, 0.0f, 0.0f, 0.0f},
    {13, kStatTypeInt, "STAT_KRONGINGS", 0, 0.0f, 0.0f, 0.0f},
    {14, kStatTypeInt, "STAT_BAD_KRONGINGS", 0, 0.0f, 0.0f, 0.0f},
    {15, kStatTypeInt, "STAT_LEVELS_GAINED", 0, 0.0f, 0.0f, 0.0f},
    {16, kStatTypeInt, "STAT_ZORKMIDS_FOUND", 0, 0.0f, 0.0f, 0.0f},
    {18, kStatTypeInt, "STAT_DEEP_OMELETTES_EATEN", 0, 0.0f, 0.0f, 0.0f},
    {19, kStatTypeInt, "STAT_HEROIC_VANDALISMS", 0, 0.0f, 0.0f, 0.0f},
    {20, kStatTypeInt, "STAT_POTIONS_MIXED", 0, 0.0f, 0.0f, 0.0f},
    {22, kStatTypeInt, "STAT_WANDS_REPAIRED", 0, 0.0f, 0.0f, 0.0f},
};

// The store's names of the two gender flags.
constexpr const char* kMaleHeroFlag = "FLAG_MALE_HERO_BUILT";
constexpr const char* kFemaleHeroFlag = "FLAG_FEMALE_HERO_BUILT";

}  // namespace

CSteamStats::CSteamStats(StatEntry* table, int32_t count)
    : table_(table),
      count_(count),
      receivedCallback_(this, &CSteamStats::OnUserStatsReceived),
      storedCallback_(this, &CSteamStats::OnUserStatsStored) {
    if (StoreUtils* utils = SteamUtils()) {
        gameId_ = static_cast<uint64_t>(utils->GetAppID());
        RequestStats();
    }
}

bool CSteamStats::RequestStats() {
    StoreUserStats* stats = SteamUserStats();
    StoreUser* user = SteamUser();
    if (stats == nullptr || user == nullptr || !user->BLoggedOn()) return false;
    return stats->RequestCurrentStats();
}

bool CSteamStats::StoreStats() {
    if (!statsReceived_) return false;
    StoreUserStats* stats = SteamUserStats();
    if (stats == nullptr) return false;
    for (int32_t i = 0; i < count_; ++i) {
        StatEntry& row = table_[i];
        switch (row.type) {
            case kStatTypeInt:
                stats->SetStat(row.apiName, row.intValue);
                break;
            case kStatTypeFloat:
                stats->SetStatFloat(row.apiName, row.floatValue);
                break;
            case kStatTypeAvgRate:
                stats->UpdateAvgRateStat(row.apiName, row.rateCount, static_cast<double>(row.rateLength));
                stats->GetStatFloat(row.apiName, &row.floatValue);
                break;
            default:
                break;
        }
    }
    return stats->StoreStats();
}

int32_t CSteamStats::GetStatInt(const char* name) const {
    if (!statsReceived_ || name == nullptr) return 0;
    for (int32_t i = 0; i < count_; ++i) {
        if (std::strcmp(table_[i].apiName, name) == 0) return table_[i].intValue;
    }
    return 0;
}

void CSteamStats::AddToStat(const char* name, int32_t amount) {
    if (!statsReceived_) return;
    for (int32_t i = 0; name != nullptr && i < count_; ++i) {
        if (std::strcmp(table_[i].apiName, name) == 0) {
            // Wraps like the platform's 32-bit counters instead of overflowing.
            table_[i].intValue = static_cast<int32_t>(static_cast<uint32_t>(table_[i].intValue) + static_cast<uint32_t>(amount));
        }
    }
    StoreStats();
}

void CSteamStats::OnUserStatsReceived(UserStatsReceived_t* record) {
    if (record->m_nGameID != gameId_) return;
    if (record->m_eResult != kResultOK) {
        std::printf("RequestStats - failed, %d\n", record->m_eResult);
        return;
    }
    std::printf("Received stats and achievements from Steam\n");
    StoreUserStats* stats = SteamUserStats();
    for (int32_t i = 0; i < count_; ++i) {
        StatEntry& row = table_[i];
        if (stats == nullptr) break;
        if (row.type == kStatTypeInt) {
            stats->GetStat(row.apiName, &row.intValue);
        } else {
            stats->GetStatFloat(row.apiName, &row.floatValue);
        }
    }
    statsReceived_ = true;
}

void CSteamStats::OnUserStatsStored(UserStatsStored_t* record) {
    if (record->m_nGameID != gameId_) return;
    if (record->m_eResult == kResultOK) {
        std::printf("StoreStats - success\n");
    } else if (record->m_eResult == kResultInvalidParam) {
        std::printf("StoreStats - some failed to validate\n");
        UserStatsReceived_t reread;
        reread.m_nGameID = gameId_;
        reread.m_eResult = kResultOK;
        OnUserStatsReceived(&reread);
    } else {
        std::printf("StoreStats - failed, %d\n", record->m_eResult);
    }
}

void InitSteamStats() {
    delete SteamStats;
    SteamStats = nullptr;
    for (StatEntry& row : GameStats) {
        row.intValue = 0;
        row.floatValue = 0.0f;
        row.rateCount = 0.0f;
        row.rateLength = 0.0f;
    }
    SteamStats = new (std::nothrow) CSteamStats(GameStats, kGameStatCount);
}

void AddToStat(const char* name, int32_t amount) {
    if (SteamStats != nullptr) SteamStats->AddToStat(name, amount);
}

int32_t GetStatInt(const char* name) { return SteamStats != nullptr ? SteamStats->GetStatInt(name) : 0; }

void AwardAchievement(const char* name) {
    if (StoreUserStats* stats = SteamUserStats()) {
        stats->SetAchievement(name);
        stats->StoreStats();
    }
}

void CountStatEvent(const char* stat, const StatMilestone* milestones, int32_t milestoneCount) {
    if (SteamStats == nullptr) return;
    SteamStats->AddToStat(stat, 1);
    for (int32_t i = 0; i < milestoneCount; ++i) {
        if (SteamStats != nullptr && SteamStats->GetStatInt(stat) == milestones[i].count) {
            AwardAchievement(milestones[i].achievement);
        }
    }
}

void NoteHeroGenderBuilt(bool female) {
    StoreUserStats* stats = SteamUserStats();
    if (stats == nullptr) return;
    stats->SetStat(female ? kFemaleHeroFlag : kMaleHeroFlag, 1);
    int32_t male = 0;
    int32_t fem = 0;
    stats->GetStat(kMaleHeroFlag, &male);
    stats->GetStat(kFemaleHeroFlag, &fem);
    if (male != 0 && fem != 0) {
        AwardAchievement("ACHIEVEMENT_BOTH_GENDERS");
    } else {
        stats->StoreStats();
    }
}

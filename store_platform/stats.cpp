#include "store_platform/stats.h"

#include "store_platform/store.h"

void AddToStat(const char* name, int32_t amount) {
    StoreUserStats* stats = SteamUserStats();
    if (stats == nullptr) return;
    int32_t value = 0;
    stats->GetStat(name, &value);
    stats->SetStat(name, value + amount);
    stats->StoreStats();
}

int32_t GetStatInt(const char* name) {
    StoreUserStats* stats = SteamUserStats();
    int32_t value = 0;
    if (stats != nullptr) stats->GetStat(name, &value);
    return value;
}

void AwardAchievement(const char* name) {
    StoreUserStats* stats = SteamUserStats();
    if (stats == nullptr) return;
    stats->SetAchievement(name);
    stats->StoreStats();
}

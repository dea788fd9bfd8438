// Local stand-in of the store platform. What is still inactive is listed in store.h.
#include "store_platform/store.h"

#include "platform/atomic_file.h"
#include "platform/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>

namespace {

std::unique_ptr<StoreUserStats> UserStats;
bool CloudClearTaken = false;

bool ValidName(const char* name) {
    if (!name || !*name) return false;
    for (const char* c = name; *c; ++c) {
        unsigned char ch = static_cast<unsigned char>(*c);
        if (ch <= ' ' || ch == 0x7F) return false;
    }
    return true;
}

}  // namespace

bool SteamAPI_Init() {
    if (!UserStats) UserStats.reset(new StoreUserStats());
    return true;
}

void SteamAPI_Shutdown() {
    UserStats.reset();
}

void SteamAPI_RunCallbacks() {
    // Everything happens synchronously locally; nothing is pending.
}

StoreUserStats* SteamUserStats() {
    return UserStats.get();
}

std::string StoreUserStats::StatsFilePath() {
    return UserFilePath("store/stats.txt");
}

bool StoreUserStats::SetAchievement(const char* name) {
    if (!ValidName(name)) return false;
    achievements_.insert(name);
    return true;
}

bool StoreUserStats::ClearAchievement(const char* name) {
    if (!ValidName(name)) return false;
    achievements_.erase(name);
    return true;
}

bool StoreUserStats::GetAchievement(const char* name, bool* achieved) {
    if (!ValidName(name) || !achieved) return false;
    *achieved = achievements_.count(name) != 0;
    return true;
}

bool StoreUserStats::SetStat(const char* name, int32_t value) {
    if (!ValidName(name)) return false;
    stats_[name] = value;
    return true;
}

bool StoreUserStats::GetStat(const char* name, int32_t* value) {
    if (!ValidName(name) || !value) return false;
    auto it = stats_.find(name);
    if (it == stats_.end()) return false;
    *value = it->second;
    return true;
}

bool StoreUserStats::StoreStats() {
    const std::string user = GetUserDataPath();
    if (user.empty()) {
        printf("Could not write statistics: the user folder is unavailable\n");
        return false;
    }
    std::string folder = user + "store/";
    if (!MakeDirectoryTree(folder)) {
        printf("Could not create the statistics folder '%s'\n", folder.c_str());
        return false;
    }
    std::string content;
    for (const std::string& name : achievements_) content += "achievement " + name + "\n";
    for (const auto& stat : stats_) {
        content += "stat " + stat.first + " " + std::to_string(static_cast<long>(stat.second)) + "\n";
    }
    // Only a completely written file replaces the previous one.
    std::string error;
    if (!WriteFileAtomically(StatsFilePath(), content, &error)) {
        printf("Could not write statistics: %s\n", error.c_str());
        return false;
    }
    return true;
}

bool StoreUserStats::RequestCurrentStats() {
    achievements_.clear();
    stats_.clear();
    std::string path = StatsFilePath();
    FILE* f = OpenRegularFile(path);
    if (!f) return false;
    char line[512];
    int lineNumber = 0;
    while (fgets(line, sizeof(line), f)) {
        ++lineNumber;
        size_t len = strlen(line);
        if (len == sizeof(line) - 1 && line[len - 1] != '\n') {
            // Overlong line: skip the rest of it.
            printf("%s:%d: line too long, ignored\n", path.c_str(), lineNumber);
            int c;
            while ((c = fgetc(f)) != EOF && c != '\n') {
            }
            continue;
        }
        std::istringstream in(line);
        std::string kind, name, value, extra;
        in >> kind >> name >> value >> extra;
        if (kind.empty()) continue;
        if (kind == "achievement" && ValidName(name.c_str()) && value.empty()) {
            achievements_.insert(name);
            continue;
        }
        if (kind == "stat" && ValidName(name.c_str()) && !value.empty() && extra.empty()) {
            errno = 0;
            char* end = nullptr;
            long long v = strtoll(value.c_str(), &end, 10);
            if (errno == 0 && *end == '\0' && v >= INT32_MIN && v <= INT32_MAX) {
                stats_[name] = static_cast<int32_t>(v);
                continue;
            }
        }
        printf("%s:%d: unreadable statistics line ignored\n", path.c_str(), lineNumber);
    }
    fclose(f);
    return true;
}

void InitSteamStats() {
    if (StoreUserStats* stats = SteamUserStats()) stats->RequestCurrentStats();
}

void CreateLeaderboards() {
    // No leaderboards locally.
}

void InitSteamWorkshop() {
    // No subscriptions locally.
}

void RunModPublisher() {
    printf("Publishing mods to the Steam Workshop is not available in this build.\n");
}

void InitSteamCloud(bool clearCloud) {
    // "-nukesteamcloud": kept until cloud storage exists to act on it.
    CloudClearTaken = clearCloud;
}

bool CloudClearRequested() {
    return CloudClearTaken;
}

bool UploadCloudFile(const char* /*local*/, const char* /*cloudName*/) {
    return false;
}

bool DeleteCloudFile(const char* /*cloudName*/) {
    return false;
}

std::string GetWorkshopStatus() {
    return "Disabled";
}

// Local stand-in of the store platform: statistics and achievements kept in a small text file in
// the user folder, and the other store services present but inactive.
//
// Still a stand-in (a later store-platform change fills these in):
//   - achievements and statistics: kept locally in "store/stats.txt"; no game-side statistics
//     object, no stat tracking or achievement rules beyond setting/getting names and values;
//   - leaderboards: CreateLeaderboards requests nothing, no scores are uploaded;
//   - cloud files: UploadCloudFile and DeleteCloudFile report "unavailable" (false); the
//     clear-cloud request is only remembered;
//   - workshop: InitSteamWorkshop subscribes to nothing, GetWorkshopStatus says "Disabled";
//   - mod publisher: RunModPublisher only says that publishing is unavailable;
//   - callbacks: SteamAPI_RunCallbacks has nothing to deliver.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

// Starts the store platform. The local stand-in is always available: returns true.
bool SteamAPI_Init();

// Ends the store platform; SteamUserStats() is null afterwards until the next SteamAPI_Init.
void SteamAPI_Shutdown();

// Callback pump, run once at the end of every turn.
void SteamAPI_RunCallbacks();

// User statistics and achievements, file-backed ("store/stats.txt" in the user folder, one
// "achievement NAME" or "stat NAME VALUE" per line).
class StoreUserStats {
public:
    // Names are non-empty and hold no blanks or control characters; others are refused.
    bool SetAchievement(const char* name);
    bool ClearAchievement(const char* name);
    bool GetAchievement(const char* name, bool* achieved);
    bool SetStat(const char* name, int32_t value);
    bool GetStat(const char* name, int32_t* value);

    // Writes everything to the file (replacing it whole); false when it cannot be written.
    bool StoreStats();

    // Replaces the values in memory with the file's content; true when the file was read
    // (a missing file leaves everything empty and returns false).
    bool RequestCurrentStats();

    // Where the values are kept.
    static std::string StatsFilePath();

private:
    std::set<std::string> achievements_;
    std::map<std::string, int32_t> stats_;
};

// The user-statistics interface, or null when the store platform is not running.
StoreUserStats* SteamUserStats();

// Loads the statistics object's values, right after SteamAPI_Init.
void InitSteamStats();

// Requests the leaderboards (nothing to request locally).
void CreateLeaderboards();

// Sets up the workshop (disabled locally).
void InitSteamWorkshop();

// The mod publisher of "-publisher": not available here; says so and returns.
void RunModPublisher();

// Starts cloud storage and takes the clear-cloud request of "-nukesteamcloud".
void InitSteamCloud(bool clearCloud);

// True when InitSteamCloud took a clear-cloud request.
bool CloudClearRequested();

// Cloud copies of user files: unavailable here, both return false.
bool UploadCloudFile(const char* local, const char* cloudName);
bool DeleteCloudFile(const char* cloudName);

// Workshop subscription state for the mod launcher.
std::string GetWorkshopStatus();

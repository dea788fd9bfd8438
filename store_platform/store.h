// The local store platform: user statistics, achievements and leaderboards kept in a store
// folder, with the platform's asynchronous behaviour. Requests answer with records that the
// callback pump (SteamAPI_RunCallbacks) delivers first in, first out; nothing arrives outside
// the pump.
//
// Where the store lives: $VAULTMERE_STORE_DIR when set, else the user folder's "store/". Two
// user folders share one store by pointing this variable at the same folder.
//   stats.txt         one "achievement NAME" or "stat NAME VALUE" per line
//   leaderboards.txt  one "SCORE NAME" per board that holds a score
//   faults.txt        optional faults for tests (read by SteamAPI_Init), one per line:
//     delay N                 every reply is delivered N pumps later than the next pump
//     received-result R       the stats-received record carries result R (1 success)
//     stored-result R         the stats-stored records carry result R (1 success, 8 some values
//                             failed validation, anything else failure)
//     stats-gameid N          the stats records carry game id N (a foreign game when not ours)
//     absent userstats|user|utils   that interface is absent
//     logged-off              the user is not logged on
//     board-missing NAME      the leaderboard NAME is not found (NAME may hold blanks)
//     board-io-failure NAME   finding the leaderboard NAME fails with an I/O failure
//
// Writes of the statistics are coalesced: a store that sets a new achievement writes at once;
// a store of changed statistics alone is written at the next pump or at shutdown, so a turn in
// which many monsters die writes once.
//
// Still a stand-in (a later store-platform change fills these in):
//   - cloud files: UploadCloudFile and DeleteCloudFile report "unavailable" (false); the
//     clear-cloud request is only remembered;
//   - workshop: InitSteamWorkshop subscribes to nothing, GetWorkshopStatus says "Disabled";
//   - mod publisher: RunModPublisher only says that publishing is unavailable.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "store_platform/callbacks.h"

// The application id the local utilities interface reports.
constexpr uint32_t kLocalAppId = 0x5641u;

// The six boards the store holds from the start (keep-best scores).
constexpr int kStoreBoardCount = 6;
extern const char* const kStoreBoardNames[kStoreBoardCount];

// Faults a test injects (faults.txt, or SetStoreFaults in process).
struct StoreFaults {
    int32_t delayPumps = 0;
    int32_t receivedResult = kResultOK;
    int32_t storedResult = kResultOK;
    bool foreignGameId = false;
    uint64_t statsGameId = 0;
    bool noUserStats = false;
    bool noUser = false;
    bool noUtils = false;
    bool loggedOff = false;
    std::set<std::string> missingBoards;
    std::set<std::string> ioFailureBoards;
};

// Reads the faults file text; unknown or broken lines are reported and skipped.
StoreFaults ParseStoreFaults(const std::string& text, const std::string& source);

// Starts the store platform (reads the faults file, then the stored values). Returns true.
bool SteamAPI_Init();
// Ends the store platform: writes what is pending, drops undelivered records; the interfaces
// are null until the next SteamAPI_Init.
void SteamAPI_Shutdown();
// The callback pump: writes pending statistics, then delivers the records that are due.
void SteamAPI_RunCallbacks();
// Replaces the faults for the next requests (tests).
void SetStoreFaults(const StoreFaults& faults);
// The number of records waiting for a pump.
size_t PendingStoreRecords();

// User statistics, achievements and leaderboards.
class StoreUserStats {
public:
    // Names are non-empty and hold no blanks or control characters; others are refused.
    bool SetAchievement(const char* name);
    bool ClearAchievement(const char* name);
    bool GetAchievement(const char* name, bool* achieved);
    bool SetStat(const char* name, int32_t value);
    bool SetStatFloat(const char* name, float value);
    bool GetStat(const char* name, int32_t* value);
    bool GetStatFloat(const char* name, float* value);
    bool UpdateAvgRateStat(const char* name, float count, double length);

    // Stores everything: a new achievement writes the file at once (false when it cannot be
    // written), changed statistics alone at the next pump. A stats-stored record follows.
    bool StoreStats();

    // Re-reads the stored values (replacing those in memory, after writing any pending ones) and
    // answers with a stats-received record. True: the request was sent.
    bool RequestCurrentStats();

    // Starts finding a board; the result comes as a LeaderboardFindResult_t for the returned call.
    SteamAPICall_t FindLeaderboard(const char* name);
    // Method 1 keeps the better of the old and the new score, 2 always replaces it. Unknown
    // handles are answered with an unsuccessful upload record.
    SteamAPICall_t UploadLeaderboardScore(SteamLeaderboard_t board, int32_t method, int32_t score,
                                          const int32_t* details, int32_t detailCount);
    // The score a board holds (tests and tools); false when it holds none or is unknown.
    bool GetLeaderboardScore(const char* name, int32_t* score) const;

    // Where the values are kept.
    static std::string StatsFilePath();
    static std::string LeaderboardsFilePath();

    // Writes pending values (the pump and shutdown call it).
    void WritePending();
    // Reads the stored values into memory.
    void LoadFromDisk();

private:
    bool WriteStats();
    bool WriteBoards();

    std::set<std::string> achievements_;
    std::map<std::string, int32_t> stats_;
    std::map<std::string, float> floatStats_;
    std::map<std::string, int32_t> boards_;
    std::set<std::string> writtenAchievements_;
    bool statsDirty_ = false;
    bool boardsDirty_ = false;
};

class StoreUser {
public:
    bool BLoggedOn() const;
    uint64_t GetSteamID() const { return 0x0110000100000001ull; }
};

class StoreUtils {
public:
    uint32_t GetAppID() const { return kLocalAppId; }
};

// The interfaces, or null when the store is not running or the interface is absent.
StoreUserStats* SteamUserStats();
StoreUser* SteamUser();
StoreUtils* SteamUtils();

// The store folder, ending in "/".
std::string StoreFolder();

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

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
//     absent remote-storage   there are no cloud files and no workshop
//     cloud-refuse-write      every cloud write is refused
//     cloud-quota N           a cloud write that would make the cloud hold more than N bytes
//                             is refused
//     io-failure KIND         every answer of that kind comes with an I/O failure; KIND is
//                             enumerate, details, download, publish or update
//     short-read              cloud and workshop reads hand out one byte less than asked for
//     empty-page              enumeration pages hold no ids (the total stays right)
//     details-other-id        details answers name another file than the one asked about
//     download-size N         download answers state N bytes
//     die-before-upload NAME  the game kills itself (SIGKILL) when it is about to copy the
//                             user file NAME to the cloud, as a crash or a power cut between
//                             the local save and its cloud copy would end it
//   cloud/            the cloud files (see remote_storage.h)
//   workshop/         the workshop items, subscriptions and publications (remote_storage.h)
//   notify.txt        read and removed at the next pump: "subscribe ID" / "unsubscribe ID"
//                     lines change the subscriptions and post the notifications
//
// Writes of the statistics are coalesced: a store that sets a new achievement writes at once;
// a store of changed statistics alone is written at the next pump or at shutdown, so a turn in
// which many monsters die writes once.
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
    bool noRemoteStorage = false;
    bool cloudRefuseWrite = false;
    int64_t cloudQuota = -1;  // -1: no quota
    std::set<std::string> ioFailureKinds;
    bool shortRead = false;
    bool emptyPage = false;
    bool detailsOtherId = false;
    bool downloadSizeSet = false;
    int64_t downloadSize = 0;
    std::string dieBeforeUpload;  // "": never
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
// The faults in force.
const StoreFaults& CurrentStoreFaults();
// True between SteamAPI_Init and SteamAPI_Shutdown.
bool StoreRunning();
// Queues the answer of a new asynchronous call (its id and bytes) and returns the call handle.
SteamAPICall_t QueueStoreCallResult(int32_t id, const void* record, size_t size, bool ioFailure);
// Queues a broadcast record for every callback registered for `id`.
void QueueStoreBroadcast(int32_t id, const void* record, size_t size);
// Runs at every pump before the records are delivered (the remote storage's notifications).
void SetStorePumpHook(void (*hook)());

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
// Why `folder` cannot hold the store ("" when it can): it is empty (no user folder) or the root.
std::string StoreFolderProblem(const std::string& folder);
// Whether the store folder may be written; every writer of the store asks this first. The
// first refusal of a folder is reported.
bool StoreFolderUsable();


// Cloud copies of the user files, which the user-file writers upload.
#include "store_platform/cloud_files.h"

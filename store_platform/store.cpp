// The local store platform. What it keeps and how tests inject faults is described in store.h.
#include "store_platform/store.h"

#include "platform/atomic_file.h"
#include "platform/platform.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <sstream>
#include <vector>

const char* const kStoreBoardNames[kStoreBoardCount] = {
    "Elvishly Easy",      "Elvishly Easy + Permadeath", "Dwarven Moderation", "Dwarven Moderation + Permadeath",
    "Going Rogue",        "Going Rogue + Permadeath",
};

namespace {

std::unique_ptr<StoreUserStats> UserStats;
StoreUser User;
StoreUtils Utils;
bool Running = false;
StoreFaults Faults;
void (*PumpHook)() = nullptr;
bool ExitHookSet = false;

// One record waiting for the pump.
struct PendingRecord {
    int32_t id = 0;
    SteamAPICall_t call = 0;  // 0 for a broadcast record
    bool ioFailure = false;
    uint64_t duePump = 0;
    std::vector<unsigned char> bytes;
};

std::deque<PendingRecord> Pending;
uint64_t PumpCount = 0;
SteamAPICall_t NextCall = 1;

struct Registration {
    CCallbackBase* callback;
    int32_t id;
};
// Kept for the whole process (never destroyed): callback objects held by other globals
// unregister themselves while the program exits.
std::vector<Registration>& CallbackList() {
    static std::vector<Registration>* list = new std::vector<Registration>();
    return *list;
}
std::vector<std::pair<CCallbackBase*, SteamAPICall_t>>& CallResultList() {
    static std::vector<std::pair<CCallbackBase*, SteamAPICall_t>>* list =
        new std::vector<std::pair<CCallbackBase*, SteamAPICall_t>>();
    return *list;
}

void QueueBytes(int32_t id, const void* record, size_t size, SteamAPICall_t call, bool ioFailure) {
    PendingRecord pending;
    pending.id = id;
    pending.call = call;
    pending.ioFailure = ioFailure;
    pending.duePump = PumpCount + 1 + static_cast<uint64_t>(Faults.delayPumps > 0 ? Faults.delayPumps : 0);
    const unsigned char* raw = static_cast<const unsigned char*>(record);
    pending.bytes.assign(raw, raw + size);
    Pending.push_back(std::move(pending));
}

template <class P>
void Queue(int32_t id, const P& record, SteamAPICall_t call = 0, bool ioFailure = false) {
    QueueBytes(id, &record, sizeof(P), call, ioFailure);
}

uint64_t StatsGameId() {
    return Faults.foreignGameId ? Faults.statsGameId : static_cast<uint64_t>(kLocalAppId);
}

bool ValidName(const char* name) {
    if (!name || !*name) return false;
    for (const char* c = name; *c; ++c) {
        unsigned char ch = static_cast<unsigned char>(*c);
        if (ch <= ' ' || ch == 0x7F) return false;
    }
    return true;
}

int BoardIndex(const std::string& name) {
    for (int i = 0; i < kStoreBoardCount; ++i) {
        if (name == kStoreBoardNames[i]) return i;
    }
    return -1;
}

bool ParseInt(const std::string& text, long long low, long long high, long long* out) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long long v = strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high) return false;
    *out = v;
    return true;
}

void WritePendingAtExit() {
    if (UserStats) UserStats->WritePending();
}

void DeliverRecord(const PendingRecord& record) {
    if (record.call == 0) {
        // Copy: a handler may register or unregister callbacks.
        const std::vector<Registration> listeners = CallbackList();
        for (const Registration& r : listeners) {
            bool stillRegistered = false;
            for (const Registration& now : CallbackList()) stillRegistered |= now.callback == r.callback && now.id == r.id;
            if (r.id == record.id && stillRegistered) r.callback->Run(record.bytes.data());
        }
        return;
    }
    for (size_t i = 0; i < CallResultList().size(); ++i) {
        if (CallResultList()[i].second != record.call) continue;
        CCallbackBase* target = CallResultList()[i].first;
        CallResultList().erase(CallResultList().begin() + static_cast<std::ptrdiff_t>(i));
        target->RunResult(record.bytes.data(), record.ioFailure, record.call);
        return;
    }
}

}  // namespace

StoreFaults ParseStoreFaults(const std::string& text, const std::string& source) {
    StoreFaults faults;
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string word, value;
        words >> word;
        if (word.empty() || word[0] == '#') continue;
        std::getline(words >> std::ws, value);
        long long number = 0;
        bool ok = true;
        if (word == "delay") {
            ok = ParseInt(value, 0, 1000000, &number);
            if (ok) faults.delayPumps = static_cast<int32_t>(number);
        } else if (word == "received-result" || word == "stored-result") {
            ok = ParseInt(value, INT32_MIN, INT32_MAX, &number);
            if (ok) (word == "received-result" ? faults.receivedResult : faults.storedResult) = static_cast<int32_t>(number);
        } else if (word == "stats-gameid") {
            ok = ParseInt(value, 0, LLONG_MAX, &number);
            if (ok) {
                faults.foreignGameId = true;
                faults.statsGameId = static_cast<uint64_t>(number);
            }
        } else if (word == "absent" && value == "remote-storage") {
            faults.noRemoteStorage = true;
        } else if (word == "absent") {
            if (value == "userstats") faults.noUserStats = true;
            else if (value == "user") faults.noUser = true;
            else if (value == "utils") faults.noUtils = true;
            else ok = false;
        } else if (word == "logged-off" && value.empty()) {
            faults.loggedOff = true;
        } else if ((word == "board-missing" || word == "board-io-failure") && !value.empty()) {
            (word == "board-missing" ? faults.missingBoards : faults.ioFailureBoards).insert(value);
        } else if (word == "cloud-refuse-write" && value.empty()) {
            faults.cloudRefuseWrite = true;
        } else if (word == "cloud-quota") {
            ok = ParseInt(value, 0, LLONG_MAX, &number);
            if (ok) faults.cloudQuota = number;
        } else if (word == "io-failure" && (value == "enumerate" || value == "details" || value == "download" ||
                                            value == "publish" || value == "update")) {
            faults.ioFailureKinds.insert(value);
        } else if (word == "short-read" && value.empty()) {
            faults.shortRead = true;
        } else if (word == "empty-page" && value.empty()) {
            faults.emptyPage = true;
        } else if (word == "details-other-id" && value.empty()) {
            faults.detailsOtherId = true;
        } else if (word == "die-before-upload" && !value.empty()) {
            faults.dieBeforeUpload = value;
        } else if (word == "download-size") {
            ok = ParseInt(value, LLONG_MIN + 1, LLONG_MAX, &number);
            if (ok) {
                faults.downloadSizeSet = true;
                faults.downloadSize = number;
            }
        } else {
            ok = false;
        }
        if (!ok) printf("%s:%d: unknown store fault ignored\n", source.c_str(), lineNumber);
    }
    return faults;
}

std::string StoreFolder() {
    const char* dir = getenv("VAULTMERE_STORE_DIR");
    if (dir != nullptr && *dir != '\0') {
        std::string folder(dir);
        if (folder.back() != '/') folder += '/';
        return folder;
    }
    return UserFilePath("store/");
}

std::string StoreFolderProblem(const std::string& folder) {
    if (folder.empty()) return "there is no user folder to hold it";
    // Only separators and "." parts: the root itself.
    bool onlyRoot = folder[0] == '/';
    for (size_t i = 0; i < folder.size() && onlyRoot; ++i) {
        const bool dotPart = folder[i] == '.' && (i + 1 == folder.size() || folder[i + 1] == '/') && folder[i - 1] == '/';
        onlyRoot = folder[i] == '/' || dotPart;
    }
    if (!onlyRoot) {
        char resolved[PATH_MAX];
        onlyRoot = realpath(folder.c_str(), resolved) != nullptr && strcmp(resolved, "/") == 0;
    }
    if (onlyRoot) return "it is the root folder";
    return "";
}

bool StoreFolderUsable() {
    static std::string reported;
    const std::string folder = StoreFolder();
    const std::string problem = StoreFolderProblem(folder);
    if (problem.empty()) return true;
    if (reported != folder + "\n" + problem) {
        reported = folder + "\n" + problem;
        printf("The store folder '%s' is not used (%s): statistics, cloud files and the workshop are not kept\n",
               folder.c_str(), problem.c_str());
    }
    return false;
}

bool SteamAPI_Init() {
    Faults = StoreFaults();
    const std::string faultsPath = StoreFolder() + "faults.txt";
    if (FILE* f = OpenRegularFile(faultsPath)) {
        std::string text;
        char buffer[4096];
        size_t got = 0;
        while ((got = fread(buffer, 1, sizeof(buffer), f)) > 0 && text.size() < 1u << 20) text.append(buffer, got);
        fclose(f);
        Faults = ParseStoreFaults(text, faultsPath);
    }
    if (!UserStats) UserStats.reset(new StoreUserStats());
    UserStats->LoadFromDisk();
    Running = true;
    if (!ExitHookSet) {
        ExitHookSet = true;
        std::atexit(WritePendingAtExit);
    }
    return true;
}

void SteamAPI_Shutdown() {
    if (UserStats) UserStats->WritePending();
    UserStats.reset();
    Pending.clear();
    CallResultList().clear();
    Running = false;
}

void SetStoreFaults(const StoreFaults& faults) { Faults = faults; }

size_t PendingStoreRecords() { return Pending.size(); }

const StoreFaults& CurrentStoreFaults() { return Faults; }

bool StoreRunning() { return Running; }

SteamAPICall_t QueueStoreCallResult(int32_t id, const void* record, size_t size, bool ioFailure) {
    const SteamAPICall_t call = NextCall++;
    QueueBytes(id, record, size, call, ioFailure);
    return call;
}

void QueueStoreBroadcast(int32_t id, const void* record, size_t size) { QueueBytes(id, record, size, 0, false); }

void SetStorePumpHook(void (*hook)()) { PumpHook = hook; }

void SteamAPI_RunCallbacks() {
    if (UserStats) UserStats->WritePending();
    if (PumpHook != nullptr && Running) PumpHook();
    ++PumpCount;
    // Only what was queued before this pump; records queued by the handlers wait for the next.
    size_t due = 0;
    while (due < Pending.size() && Pending[due].duePump <= PumpCount) ++due;
    for (size_t i = 0; i < due && !Pending.empty(); ++i) {
        PendingRecord record = std::move(Pending.front());
        Pending.pop_front();
        DeliverRecord(record);
    }
}

void SteamAPI_RegisterCallback(CCallbackBase* callback, int32_t id) {
    if (callback == nullptr) return;
    CallbackList().push_back({callback, id});
}

void SteamAPI_UnregisterCallback(CCallbackBase* callback) {
    for (size_t i = CallbackList().size(); i-- > 0;) {
        if (CallbackList()[i].callback == callback) CallbackList().erase(CallbackList().begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void SteamAPI_RegisterCallResult(CCallbackBase* callback, SteamAPICall_t call) {
    if (callback == nullptr || call == 0) return;
    CallResultList().emplace_back(callback, call);
}

void SteamAPI_UnregisterCallResult(CCallbackBase* callback, SteamAPICall_t call) {
    for (size_t i = CallResultList().size(); i-- > 0;) {
        if (CallResultList()[i].first == callback && CallResultList()[i].second == call) {
            CallResultList().erase(CallResultList().begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

StoreUserStats* SteamUserStats() { return Running && !Faults.noUserStats ? UserStats.get() : nullptr; }
StoreUser* SteamUser() { return Running && !Faults.noUser ? &User : nullptr; }
StoreUtils* SteamUtils() { return Running && !Faults.noUtils ? &Utils : nullptr; }

bool StoreUser::BLoggedOn() const { return !Faults.loggedOff; }

std::string StoreUserStats::StatsFilePath() { return StoreFolder() + "stats.txt"; }
std::string StoreUserStats::LeaderboardsFilePath() { return StoreFolder() + "leaderboards.txt"; }

bool StoreUserStats::SetAchievement(const char* name) {
    if (!ValidName(name)) return false;
    achievements_.insert(name);
    return true;
}

bool StoreUserStats::ClearAchievement(const char* name) {
    if (!ValidName(name)) return false;
    if (achievements_.erase(name) != 0) statsDirty_ = true;
    return true;
}

bool StoreUserStats::GetAchievement(const char* name, bool* achieved) {
    if (!ValidName(name) || !achieved) return false;
    *achieved = achievements_.count(name) != 0;
    return true;
}

bool StoreUserStats::SetStat(const char* name, int32_t value) {
    if (!ValidName(name)) return false;
    auto it = stats_.find(name);
    if (it == stats_.end() || it->second != value) {
        stats_[name] = value;
        statsDirty_ = true;
    }
    return true;
}

bool StoreUserStats::SetStatFloat(const char* name, float value) {
    if (!ValidName(name)) return false;
    floatStats_[name] = value;
    return true;
}

bool StoreUserStats::GetStat(const char* name, int32_t* value) {
    if (!ValidName(name) || !value) return false;
    auto it = stats_.find(name);
    if (it == stats_.end()) return false;
    *value = it->second;
    return true;
}

bool StoreUserStats::GetStatFloat(const char* name, float* value) {
    if (!ValidName(name) || !value) return false;
    auto it = floatStats_.find(name);
    if (it == floatStats_.end()) return false;
    *value = it->second;
    return true;
}

bool StoreUserStats::UpdateAvgRateStat(const char* name, float count, double length) {
    if (!ValidName(name) || length <= 0.0) return false;
    floatStats_[name] = static_cast<float>(count / length);
    return true;
}

bool StoreUserStats::WriteStats() {
    const std::string folder = StoreFolder();
    if (!StoreFolderUsable() || !MakeDirectoryTree(folder)) {
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
    statsDirty_ = false;
    writtenAchievements_ = achievements_;
    return true;
}

bool StoreUserStats::WriteBoards() {
    const std::string folder = StoreFolder();
    if (!StoreFolderUsable() || !MakeDirectoryTree(folder)) return false;
    std::string content;
    for (const auto& board : boards_) content += std::to_string(static_cast<long>(board.second)) + " " + board.first + "\n";
    std::string error;
    if (!WriteFileAtomically(LeaderboardsFilePath(), content, &error)) {
        printf("Could not write the leaderboards: %s\n", error.c_str());
        return false;
    }
    boardsDirty_ = false;
    return true;
}

void StoreUserStats::WritePending() {
    if (statsDirty_ || achievements_ != writtenAchievements_) WriteStats();
    if (boardsDirty_) WriteBoards();
}

bool StoreUserStats::StoreStats() {
    bool ok = true;
    if (achievements_ != writtenAchievements_) {
        ok = WriteStats();
    }
    UserStatsStored_t record;
    record.m_nGameID = StatsGameId();
    record.m_eResult = ok ? Faults.storedResult : kResultFail;
    Queue(kUserStatsStoredId, record);
    return ok;
}

void StoreUserStats::LoadFromDisk() {
    achievements_.clear();
    stats_.clear();
    boards_.clear();
    statsDirty_ = false;
    boardsDirty_ = false;
    const std::string path = StatsFilePath();
    if (FILE* f = OpenRegularFile(path)) {
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
            long long v = 0;
            if (kind == "stat" && ValidName(name.c_str()) && extra.empty() && ParseInt(value, INT32_MIN, INT32_MAX, &v)) {
                stats_[name] = static_cast<int32_t>(v);
                continue;
            }
            printf("%s:%d: unreadable statistics line ignored\n", path.c_str(), lineNumber);
        }
        fclose(f);
    }
    writtenAchievements_ = achievements_;
    const std::string boardsPath = LeaderboardsFilePath();
    if (FILE* f = OpenRegularFile(boardsPath)) {
        char line[512];
        int lineNumber = 0;
        while (fgets(line, sizeof(line), f)) {
            ++lineNumber;
            std::string text(line);
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
            const size_t blank = text.find(' ');
            long long score = 0;
            if (blank != std::string::npos && ParseInt(text.substr(0, blank), INT32_MIN, INT32_MAX, &score) &&
                BoardIndex(text.substr(blank + 1)) >= 0) {
                boards_[text.substr(blank + 1)] = static_cast<int32_t>(score);
            } else if (!text.empty()) {
                printf("%s:%d: unreadable leaderboard line ignored\n", boardsPath.c_str(), lineNumber);
            }
        }
        fclose(f);
    }
}

bool StoreUserStats::RequestCurrentStats() {
    WritePending();
    LoadFromDisk();
    UserStatsReceived_t record;
    record.m_nGameID = StatsGameId();
    record.m_eResult = Faults.receivedResult;
    record.m_steamIDUser = User.GetSteamID();
    Queue(kUserStatsReceivedId, record);
    return true;
}

SteamAPICall_t StoreUserStats::FindLeaderboard(const char* name) {
    const SteamAPICall_t call = NextCall++;
    const std::string board = name != nullptr ? name : "";
    const int index = BoardIndex(board);
    LeaderboardFindResult_t record;
    const bool ioFailure = Faults.ioFailureBoards.count(board) != 0;
    if (index >= 0 && Faults.missingBoards.count(board) == 0 && !ioFailure) {
        record.m_hSteamLeaderboard = static_cast<SteamLeaderboard_t>(index + 1);
        record.m_bLeaderboardFound = 1;
    }
    Queue(kLeaderboardFindResultId, record, call, ioFailure);
    return call;
}

SteamAPICall_t StoreUserStats::UploadLeaderboardScore(SteamLeaderboard_t board, int32_t method, int32_t score,
                                                      const int32_t*, int32_t) {
    const SteamAPICall_t call = NextCall++;
    LeaderboardScoreUploaded_t record;
    record.m_hSteamLeaderboard = board;
    record.m_nScore = score;
    if (board >= 1 && board <= static_cast<SteamLeaderboard_t>(kStoreBoardCount) && (method == 1 || method == 2)) {
        const std::string name = kStoreBoardNames[board - 1];
        auto it = boards_.find(name);
        record.m_bSuccess = 1;
        if (it == boards_.end() || method == 2 || score > it->second) {
            record.m_bScoreChanged = it == boards_.end() || it->second != score;
            boards_[name] = score;
            boardsDirty_ = true;
        }
    }
    Queue(kLeaderboardScoreUploadedId, record, call);
    return call;
}

bool StoreUserStats::GetLeaderboardScore(const char* name, int32_t* score) const {
    if (name == nullptr || score == nullptr) return false;
    auto it = boards_.find(name);
    if (it == boards_.end()) return false;
    *score = it->second;
    return true;
}


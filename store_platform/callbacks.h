#pragma once
// Delivery of store-platform records to the game: broadcast records (stats received, stats
// stored) go to every callback object registered for their id, the result of one asynchronous
// call (a leaderboard find) to the call-result object bound to its 64-bit call handle.
// Records are delivered first in, first out, and only inside SteamAPI_RunCallbacks, on the
// main thread.
#include <cstdint>

// Record ids and layouts of the records the game uses.
constexpr int32_t kUserStatsReceivedId = 1101;
constexpr int32_t kUserStatsStoredId = 1102;
constexpr int32_t kLeaderboardFindResultId = 1104;
constexpr int32_t kLeaderboardScoreUploadedId = 1106;

// Results of the platform.
constexpr int32_t kResultOK = 1;
constexpr int32_t kResultFail = 2;
constexpr int32_t kResultInvalidParam = 8;

using SteamAPICall_t = uint64_t;
using SteamLeaderboard_t = uint64_t;

struct UserStatsReceived_t {
    uint64_t m_nGameID = 0;
    int32_t m_eResult = 0;
    uint64_t m_steamIDUser = 0;
};

struct UserStatsStored_t {
    uint64_t m_nGameID = 0;
    int32_t m_eResult = 0;
};

struct LeaderboardFindResult_t {
    SteamLeaderboard_t m_hSteamLeaderboard = 0;
    uint8_t m_bLeaderboardFound = 0;
};

struct LeaderboardScoreUploaded_t {
    uint8_t m_bSuccess = 0;
    SteamLeaderboard_t m_hSteamLeaderboard = 0;
    int32_t m_nScore = 0;
    uint8_t m_bScoreChanged = 0;
};

// What the pump calls: Run for a broadcast record, RunResult for a call result.
class CCallbackBase {
public:
    virtual ~CCallbackBase() = default;
    virtual void Run(const void* record) = 0;
    virtual void RunResult(const void* record, bool ioFailure, SteamAPICall_t call) = 0;
};

void SteamAPI_RegisterCallback(CCallbackBase* callback, int32_t id);
void SteamAPI_UnregisterCallback(CCallbackBase* callback);
void SteamAPI_RegisterCallResult(CCallbackBase* callback, SteamAPICall_t call);
void SteamAPI_UnregisterCallResult(CCallbackBase* callback, SteamAPICall_t call);

// Binds the broadcast record P (with its id) to a member function of T for the object's life.
template <class T, class P, int32_t Id>
class CCallback : public CCallbackBase {
public:
    using Handler = void (T::*)(P*);
    CCallback(T* object, Handler handler) : object_(object), handler_(handler) {
        SteamAPI_RegisterCallback(this, Id);
    }
    ~CCallback() override { SteamAPI_UnregisterCallback(this); }
    CCallback(const CCallback&) = delete;
    CCallback& operator=(const CCallback&) = delete;

    void Run(const void* record) override {
        P copy = *static_cast<const P*>(record);
        (object_->*handler_)(&copy);
    }
    void RunResult(const void* record, bool, SteamAPICall_t) override { Run(record); }

private:
    T* object_;
    Handler handler_;
};

// Binds the result of one asynchronous call to a member function of T.
template <class T, class P>
class CCallResult : public CCallbackBase {
public:
    using Handler = void (T::*)(P*, bool);
    CCallResult() = default;
    ~CCallResult() override { Cancel(); }
    CCallResult(const CCallResult&) = delete;
    CCallResult& operator=(const CCallResult&) = delete;

    // Binds the call (a pending one is dropped first); a zero handle registers nothing.
    void Set(SteamAPICall_t call, T* object, Handler handler) {
        Cancel();
        call_ = call;
        object_ = object;
        handler_ = handler;
        if (call_ != 0) SteamAPI_RegisterCallResult(this, call_);
    }
    bool IsActive() const { return call_ != 0; }
    void Cancel() {
        if (call_ != 0) SteamAPI_UnregisterCallResult(this, call_);
        call_ = 0;
    }

    // Without a call handle: clears the pending call and runs the handler without I/O failure.
    void Run(const void* record) override {
        call_ = 0;
        P copy = *static_cast<const P*>(record);
        if (object_ != nullptr) (object_->*handler_)(&copy, false);
    }
    void RunResult(const void* record, bool ioFailure, SteamAPICall_t call) override {
        if (call != call_) return;
        call_ = 0;
        P copy = *static_cast<const P*>(record);
        if (object_ != nullptr) (object_->*handler_)(&copy, ioFailure);
    }

private:
    SteamAPICall_t call_ = 0;
    T* object_ = nullptr;
    Handler handler_ = nullptr;
};

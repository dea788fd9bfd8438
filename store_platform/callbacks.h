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

// Remote storage: cloud files and the workshop.
constexpr int32_t kRemoteStoragePublishFileResultId = 1309;
constexpr int32_t kRemoteStorageEnumerateUserPublishedFilesResultId = 1312;
constexpr int32_t kRemoteStorageEnumerateUserSubscribedFilesResultId = 1314;
constexpr int32_t kRemoteStorageUpdatePublishedFileResultId = 1316;
constexpr int32_t kRemoteStorageDownloadUGCResultId = 1317;
constexpr int32_t kRemoteStorageGetPublishedFileDetailsResultId = 1318;
constexpr int32_t kRemoteStoragePublishedFileSubscribedId = 1321;
constexpr int32_t kRemoteStoragePublishedFileUnsubscribedId = 1322;

constexpr int32_t kResultFileNotFound = 9;
// What the workshop holders put in a file entry whose details are still to come.
constexpr int32_t kResultPendingDetails = 22;
constexpr int32_t kEnumeratePageSize = 50;

using PublishedFileId_t = uint64_t;
using UGCHandle_t = uint64_t;
using PublishedFileUpdateHandle_t = uint64_t;

struct SteamParamStringArray_t {
    const char** m_ppStrings = nullptr;
    int32_t m_nNumStrings = 0;
};

struct RemoteStorageEnumerateUserSubscribedFilesResult_t {
    int32_t m_eResult = 0;
    int32_t m_nResultsReturned = 0;
    int32_t m_nTotalResultCount = 0;
    PublishedFileId_t m_rgPublishedFileId[kEnumeratePageSize] = {};
    uint32_t m_rgRTimeSubscribed[kEnumeratePageSize] = {};
};

struct RemoteStorageEnumerateUserPublishedFilesResult_t {
    int32_t m_eResult = 0;
    int32_t m_nResultsReturned = 0;
    int32_t m_nTotalResultCount = 0;
    PublishedFileId_t m_rgPublishedFileId[kEnumeratePageSize] = {};
};

struct RemoteStorageGetPublishedFileDetailsResult_t {
    int32_t m_eResult = 0;
    PublishedFileId_t m_nPublishedFileId = 0;
    uint32_t m_nCreatorAppID = 0;
    uint32_t m_nConsumerAppID = 0;
    char m_rgchTitle[129] = {};
    char m_rgchDescription[8000] = {};
    UGCHandle_t m_hFile = 0;
    UGCHandle_t m_hPreviewFile = 0;
    uint64_t m_ulSteamIDOwner = 0;
    uint32_t m_rtimeCreated = 0;
    uint32_t m_rtimeUpdated = 0;
    int32_t m_eVisibility = 0;
    uint8_t m_bBanned = 0;
    uint8_t m_bAcceptedForUse = 0;
    uint8_t m_bTagsTruncated = 0;
    char m_rgchTags[1025] = {};
    char m_pchFileName[260] = {};
    int32_t m_nFileSize = 0;
    int32_t m_nPreviewFileSize = 0;
    char m_rgchURL[256] = {};
    int32_t m_eFileType = 0;
};

struct RemoteStorageDownloadUGCResult_t {
    int32_t m_eResult = 0;
    UGCHandle_t m_hFile = 0;
    uint32_t m_nAppID = 0;
    int32_t m_nSizeInBytes = 0;
    char m_pchFileName[260] = {};
    uint64_t m_ulSteamIDOwner = 0;
};

struct RemoteStoragePublishedFileSubscribed_t {
    PublishedFileId_t m_nPublishedFileId = 0;
    uint32_t m_nAppID = 0;
};

struct RemoteStoragePublishedFileUnsubscribed_t {
    PublishedFileId_t m_nPublishedFileId = 0;
    uint32_t m_nAppID = 0;
};

struct RemoteStoragePublishFileResult_t {
    int32_t m_eResult = 0;
    PublishedFileId_t m_nPublishedFileId = 0;
    uint8_t m_bUserNeedsToAcceptWorkshopLegalAgreement = 0;
};

struct RemoteStorageUpdatePublishedFileResult_t {
    int32_t m_eResult = 0;
    PublishedFileId_t m_nPublishedFileId = 0;
    uint8_t m_bUserNeedsToAcceptWorkshopLegalAgreement = 0;
};

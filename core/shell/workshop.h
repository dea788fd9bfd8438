// Workshop mods: the subscribed holder downloads the user's subscriptions into
// "steam_workshop/subscribed/" of the user folder and lists them in the game's mod list; the
// published holder does the same for the user's own publications, listed for the mod
// publisher. Each runs as a chain of asynchronous store calls, one at a time, advanced by the
// callback pump.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/shell/mods.h"
#include "store_platform/callbacks.h"

class StoreRemoteStorage;

// One file of a holder: the whole details record.
using WorkshopFileEntry = RemoteStorageGetPublishedFileDetailsResult_t;

// States of a holder.
enum WorkshopState : int32_t {
    kWorkshopEnumerating = 0,
    kWorkshopFetchingDetails = 1,
    kWorkshopDownloading = 2,
    kWorkshopIdle = 3,
};

// The largest workshop file downloaded.
constexpr int32_t kMaxWorkshopFileSize = 256 << 20;

class SteamWorkshopCallbacks {
public:
    explicit SteamWorkshopCallbacks(const std::string& name);
    virtual ~SteamWorkshopCallbacks();
    SteamWorkshopCallbacks(const SteamWorkshopCallbacks&) = delete;
    SteamWorkshopCallbacks& operator=(const SteamWorkshopCallbacks&) = delete;

    // Starts enumerating from `start`; false when the call could not be made.
    virtual bool EnumerateFiles(uint32_t start) = 0;
    virtual void AddModFromFileDetails(const WorkshopFileEntry& entry) = 0;

    // Creates the holder folder and enumerates from 0.
    void Start();
    std::string StatusText() const;
    // The folder of this holder's files, ending in '/'.
    std::string Folder() const;
    // holder folder + id + "-" + time updated + ".dat"
    std::string LocalPath(const WorkshopFileEntry& entry) const;

    void OnFilesEnumerated(RemoteStorageEnumerateUserSubscribedFilesResult_t* record, bool ioFailure);
    void OnFileDetails(RemoteStorageGetPublishedFileDetailsResult_t* record, bool ioFailure);
    void OnFileDownloaded(RemoteStorageDownloadUGCResult_t* record, bool ioFailure);

    StoreRemoteStorage* storage;
    std::vector<WorkshopFileEntry> files;
    int32_t state = kWorkshopIdle;
    std::string name;
    // Set when the chain came to an end after receiving the whole list.
    bool listedWhole = false;
    // Set when a file could not join a list (the mods were loaded already).
    bool missedSome = false;

protected:
    void ClearList();
    void FetchNextDetails();
    void DownloadNext();
    void CleanUpFolder();
    // Mounts the downloaded file, reads its description into `list` and unmounts it.
    void ReadModInto(std::vector<ModRecord>& list, const WorkshopFileEntry& entry);

    CCallResult<SteamWorkshopCallbacks, RemoteStorageGetPublishedFileDetailsResult_t> detailsCall_;
    CCallResult<SteamWorkshopCallbacks, RemoteStorageDownloadUGCResult_t> downloadCall_;
    PublishedFileId_t detailsFor_ = 0;
    UGCHandle_t downloadFor_ = 0;
    // Every file the enumeration announced was received.
    bool wholeList_ = false;
};

class SteamWorkshopCallbacksSubscribed : public SteamWorkshopCallbacks {
public:
    SteamWorkshopCallbacksSubscribed();
    bool EnumerateFiles(uint32_t start) override;
    void AddModFromFileDetails(const WorkshopFileEntry& entry) override;

    void OnSubscribedEnumerated(RemoteStorageEnumerateUserSubscribedFilesResult_t* record, bool ioFailure);
    void OnFileSubscribed(RemoteStoragePublishedFileSubscribed_t* record);
    void OnFileUnsubscribed(RemoteStoragePublishedFileUnsubscribed_t* record);

private:
    CCallResult<SteamWorkshopCallbacksSubscribed, RemoteStorageEnumerateUserSubscribedFilesResult_t> enumerateCall_;
    CCallback<SteamWorkshopCallbacksSubscribed, RemoteStoragePublishedFileSubscribed_t,
              kRemoteStoragePublishedFileSubscribedId>
        subscribed_;
    CCallback<SteamWorkshopCallbacksSubscribed, RemoteStoragePublishedFileUnsubscribed_t,
              kRemoteStoragePublishedFileUnsubscribedId>
        unsubscribed_;
};

class SteamWorkshopCallbacksPublished : public SteamWorkshopCallbacks {
public:
    SteamWorkshopCallbacksPublished();
    bool EnumerateFiles(uint32_t start) override;
    void AddModFromFileDetails(const WorkshopFileEntry& entry) override;
    void OnPublishedEnumerated(RemoteStorageEnumerateUserPublishedFilesResult_t* record, bool ioFailure);

    // Publication: -1 under way, 0 failed, 1 done.
    int32_t publishResult = 0;
    std::string tempContentName;
    std::string tempPreviewName;

    // Uploads the two files under new temporary cloud names and publishes them.
    void PublishMod(const std::string& contentPath, const std::string& previewPath, const std::string& title,
                    const std::string& description);
    // The same, updating the published file of `entry`.
    void UpdateMod(const WorkshopFileEntry& entry, const std::string& contentPath, const std::string& previewPath,
                   const std::string& title, const std::string& description);
    void OnModPublished(RemoteStoragePublishFileResult_t* record, bool ioFailure);
    void OnModUpdated(RemoteStorageUpdatePublishedFileResult_t* record, bool ioFailure);

private:
    bool UploadTemporaryFiles(const std::string& contentPath, const std::string& previewPath);
    CCallResult<SteamWorkshopCallbacksPublished, RemoteStorageEnumerateUserPublishedFilesResult_t> enumerateCall_;
    CCallResult<SteamWorkshopCallbacksPublished, RemoteStoragePublishFileResult_t> publishCall_;
    CCallResult<SteamWorkshopCallbacksPublished, RemoteStorageUpdatePublishedFileResult_t> updateCall_;
};

// The holders (null when the workshop is off or the store has no remote storage).
extern std::unique_ptr<SteamWorkshopCallbacksSubscribed> WorkshopSubscribed;
extern std::unique_ptr<SteamWorkshopCallbacksPublished> WorkshopPublished;
// The user's published mods, for the publisher.
extern std::vector<ModRecord> PublishedModList;

// Start-up, after the configuration: creates "steam_workshop" and starts both holders.
void InitSteamWorkshop();
// Replaces the published holder by a new one and starts it (after a publication).
void RestartPublishedHolder();
// Pumps the store's callbacks until the subscribed holder is idle with nothing pending, at most
// `maxPumps` times; true when it got there.
bool PumpWorkshopUntilIdle(int maxPumps);
// The pumps start-up gives the subscriptions before the mods are loaded (a few per file).
constexpr int kWorkshopPumpsBeforeMods = 20000;
// True when no workshop mod can join the mod list later in this run: the workshop is off or
// has no storage, or the subscribed holder has read its whole list and listed every file of
// it before the mods were loaded.
bool WorkshopListedEverySubscription();
// The status line of a holder: "Disabled" without one.
std::string GetWorkshopStatus(const SteamWorkshopCallbacks* holder);
std::string GetWorkshopStatus();
// The temporary cloud name of a preview: "workshop-preview-" + key + the extension after the
// last '.' of the file name (".jpg" when it has none).
std::string PreviewCloudName(const std::string& key, const std::string& previewPath);

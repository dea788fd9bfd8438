// The store platform's remote storage, kept in the local store folder (store.h): the user's
// cloud files and the workshop. Answers of the asynchronous calls arrive through the callback
// pump like every other store record.
//
//   cloud/NAME                  one cloud file, its bytes as written. Names are kept escaped
//                               (bytes other than letters, digits, '_' and '-', and a leading
//                               '.', become %XX), so any non-empty name is stored inside the
//                               folder and listed back as it was written.
//   workshop/items/ID/meta.txt  "title T", "description D", "author A", "updated N",
//                               "banned 0|1" lines (a newline in a text is written "\n")
//   workshop/items/ID/content   the published file
//   workshop/items/ID/preview   its preview picture
//   workshop/subscribed.txt     the subscribed ids, one per line, in subscription order
//   workshop/published.txt      the user's published ids, one per line
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "store_platform/callbacks.h"

using CloudWriteStream_t = uint64_t;

// One workshop item as the store keeps it.
struct WorkshopItem {
    PublishedFileId_t id = 0;
    std::string title;
    std::string description;
    std::string author;
    uint32_t timeUpdated = 0;
    bool banned = false;
    std::string content;
    std::string preview;
};

class StoreRemoteStorage {
public:
    StoreRemoteStorage();
    ~StoreRemoteStorage();
    StoreRemoteStorage(const StoreRemoteStorage&) = delete;
    StoreRemoteStorage& operator=(const StoreRemoteStorage&) = delete;

    // Cloud files.
    bool FileWrite(const char* name, const void* data, int32_t size);
    // The number of bytes copied (the first `size` bytes of the file at most); 0 for a missing
    // file.
    int32_t FileRead(const char* name, void* data, int32_t size);
    // True when the cloud holds an entry of that name, whether it can be read or not.
    bool FileExists(const char* name);
    // The length in bytes; 0 for a missing file, -1 for a file too long for the size field or
    // one that cannot be read as a file.
    int32_t GetFileSize(const char* name);
    // The time of the last write, in seconds since 1970; 0 for a missing file.
    int64_t GetFileTimestamp(const char* name);
    bool FileDelete(const char* name);
    // Lists the cloud, sorted by name; GetFileNameAndSize hands out names of that listing,
    // valid until the next GetFileCount (sizes as GetFileSize). Null for an index outside it.
    int32_t GetFileCount();
    const char* GetFileNameAndSize(int32_t index, int32_t* size);

    // A cloud file written in pieces: nothing of it is visible until Close, which stands or
    // falls as one FileWrite of all the pieces would (the refusals and the quota included).
    // Open answers 0 when the write is refused at once; Cancel drops what was written.
    CloudWriteStream_t FileWriteStreamOpen(const char* name);
    bool FileWriteStreamWriteChunk(CloudWriteStream_t stream, const void* data, int32_t size);
    bool FileWriteStreamClose(CloudWriteStream_t stream);
    bool FileWriteStreamCancel(CloudWriteStream_t stream);

    // Workshop.
    SteamAPICall_t EnumerateUserSubscribedFiles(uint32_t start);
    SteamAPICall_t EnumerateUserPublishedFiles(uint32_t start);
    SteamAPICall_t GetPublishedFileDetails(PublishedFileId_t id);
    SteamAPICall_t UGCDownload(UGCHandle_t file);
    // Copies the downloaded content of `file`; the bytes copied.
    int32_t UGCRead(UGCHandle_t file, void* data, int32_t size);
    SteamAPICall_t PublishWorkshopFile(const char* file, const char* preview, uint32_t consumerAppId,
                                       const char* title, const char* description, int32_t visibility,
                                       const SteamParamStringArray_t* tags, int32_t fileType);
    // 0 for an unknown id.
    PublishedFileUpdateHandle_t CreatePublishedFileUpdateRequest(PublishedFileId_t id);
    bool UpdatePublishedFileFile(PublishedFileUpdateHandle_t update, const char* file);
    bool UpdatePublishedFilePreviewFile(PublishedFileUpdateHandle_t update, const char* preview);
    bool UpdatePublishedFileTitle(PublishedFileUpdateHandle_t update, const char* title);
    bool UpdatePublishedFileDescription(PublishedFileUpdateHandle_t update, const char* description);
    bool UpdatePublishedFileTags(PublishedFileUpdateHandle_t update, const SteamParamStringArray_t* tags);
    SteamAPICall_t CommitPublishedFileUpdate(PublishedFileUpdateHandle_t update);

    // The local store's own tools (fixtures, tests and the control file).
    static std::string CloudFolder();
    static std::string WorkshopFolder();
    // Adds an item (a new id when item.id is 0) and returns its id; 0 when it cannot be written.
    PublishedFileId_t PutWorkshopItem(const WorkshopItem& item);
    bool GetWorkshopItem(PublishedFileId_t id, WorkshopItem* item);
    std::vector<PublishedFileId_t> SubscribedIds();
    std::vector<PublishedFileId_t> PublishedIds();
    // Changes a subscription; with `notify` the notification record is posted as well.
    void Subscribe(PublishedFileId_t id, bool notify);
    void Unsubscribe(PublishedFileId_t id, bool notify);
    // The file handle of an item's content.
    static UGCHandle_t ContentHandle(PublishedFileId_t id) { return id * 2 + 1; }
    // Every setter and commit called on an update handle, in order ("file", "preview",
    // "title", "description", "tags", "commit").
    std::vector<std::string> updateLog;

private:
    struct Update {
        PublishedFileUpdateHandle_t handle = 0;
        PublishedFileId_t id = 0;
        std::string file, preview, title, description;
        bool hasFile = false, hasPreview = false, hasTitle = false, hasDescription = false;
    };
    Update* FindUpdate(PublishedFileUpdateHandle_t update);
    SteamAPICall_t Enumerate(const std::vector<PublishedFileId_t>& ids, uint32_t start, bool subscribed);

    std::vector<std::string> listing_;
    std::vector<int32_t> listingSizes_;
    std::vector<Update> updates_;
    PublishedFileUpdateHandle_t nextUpdate_ = 1;
    std::vector<std::pair<UGCHandle_t, std::string>> downloads_;
    struct WriteStream;
    std::vector<std::unique_ptr<WriteStream>> streams_;
    CloudWriteStream_t nextStream_ = 1;
};

// The remote storage, or null when the store is not running or it is absent.
StoreRemoteStorage* SteamRemoteStorage();

// Reads and removes the control file (store.h), applying its lines; the pump calls it.
void ReadStoreNotifyFile();

// Encodes a cloud name for the cloud folder and back; "" for a name that cannot be stored.
std::string EscapeCloudName(const std::string& name);
std::string UnescapeCloudName(const std::string& stored);

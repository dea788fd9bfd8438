// Workshop subscriptions and downloads (see workshop.h).
#include "core/shell/workshop.h"

#include "core/random.h"
#include "core/shell/config.h"
#include "platform/platform.h"
#include "store_platform/remote_storage.h"
#include "store_platform/store.h"

#include <physfs.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

std::unique_ptr<SteamWorkshopCallbacksSubscribed> WorkshopSubscribed;
std::unique_ptr<SteamWorkshopCallbacksPublished> WorkshopPublished;
std::vector<ModRecord> PublishedModList;

namespace {

std::string WorkshopRoot() { return GetUserDataPath() + "steam_workshop/"; }

WorkshopFileEntry PendingEntry(PublishedFileId_t id) {
    WorkshopFileEntry entry;
    entry.m_nPublishedFileId = id;
    entry.m_eResult = kResultPendingDetails;
    return entry;
}

int64_t LocalFileSize(const std::string& path) {
    FILE* f = OpenRegularFile(path);
    if (f == nullptr) return -1;
    fseek(f, 0, SEEK_END);
    const long size = ftell(f);
    fclose(f);
    return size;
}

}  // namespace

SteamWorkshopCallbacks::SteamWorkshopCallbacks(const std::string& holderName)
    : storage(SteamRemoteStorage()), name(holderName) {}

SteamWorkshopCallbacks::~SteamWorkshopCallbacks() {
    detailsCall_.Cancel();
    downloadCall_.Cancel();
}

std::string SteamWorkshopCallbacks::Folder() const { return WorkshopRoot() + name + "/"; }

std::string SteamWorkshopCallbacks::LocalPath(const WorkshopFileEntry& entry) const {
    char file[64];
    snprintf(file, sizeof(file), "%" PRIu64 "-%u.dat", static_cast<uint64_t>(entry.m_nPublishedFileId),
             static_cast<unsigned>(entry.m_rtimeUpdated));
    return Folder() + file;
}

void SteamWorkshopCallbacks::Start() {
    MakeDirectoryTree(Folder());
    wholeList_ = false;
    listedWhole = false;
    state = kWorkshopEnumerating;
    if (!EnumerateFiles(0)) state = kWorkshopIdle;
}

std::string SteamWorkshopCallbacks::StatusText() const {
    switch (state) {
        case kWorkshopEnumerating: return "Getting subscription list";
        case kWorkshopFetchingDetails: return "Getting subscription details";
        case kWorkshopDownloading: return "Downloading subscriptions";
        default: return "";
    }
}

void SteamWorkshopCallbacks::ClearList() {
    files.clear();
    wholeList_ = false;
    listedWhole = false;
    state = kWorkshopIdle;
}

void SteamWorkshopCallbacks::OnFilesEnumerated(RemoteStorageEnumerateUserSubscribedFilesResult_t* record,
                                               bool ioFailure) {
    printf("Steam Workshop: enum subs (%d, %d)\n", record->m_nResultsReturned, record->m_nTotalResultCount);
    if (ioFailure || record->m_eResult != kResultOK || storage == nullptr) {
        printf("Steam Workshop: fail\n");
        ClearList();
        return;
    }
    const int32_t returned = std::max(0, std::min(record->m_nResultsReturned, kEnumeratePageSize));
    for (int32_t i = 0; i < returned; ++i) files.push_back(PendingEntry(record->m_rgPublishedFileId[i]));
    const int64_t total = record->m_nTotalResultCount;
    wholeList_ = static_cast<int64_t>(files.size()) >= total;
    // A page without ids while more are announced would ask for the same page for ever: the
    // list ends there, but as a part of the list; the folder is only cleaned up after a whole
    // one, so a subscribed file never listed in this run stays on disk.
    if (wholeList_ || returned == 0) {
        if (files.empty()) {
            if (wholeList_) CleanUpFolder();
            listedWhole = wholeList_;
            state = kWorkshopIdle;
            return;
        }
        state = kWorkshopFetchingDetails;
        FetchNextDetails();
        return;
    }
    if (!EnumerateFiles(static_cast<uint32_t>(files.size()))) ClearList();
}

void SteamWorkshopCallbacks::FetchNextDetails() {
    for (const WorkshopFileEntry& entry : files) {
        if (entry.m_eResult != kResultPendingDetails) continue;
        detailsFor_ = entry.m_nPublishedFileId;
        const SteamAPICall_t call = storage->GetPublishedFileDetails(entry.m_nPublishedFileId);
        if (call == 0) {
            ClearList();
            return;
        }
        state = kWorkshopFetchingDetails;
        detailsCall_.Set(call, this, &SteamWorkshopCallbacks::OnFileDetails);
        return;
    }
    state = kWorkshopDownloading;
    DownloadNext();
}

void SteamWorkshopCallbacks::OnFileDetails(RemoteStorageGetPublishedFileDetailsResult_t* record, bool ioFailure) {
    printf("Steam Workshop: details (%" PRIu64 ")\n", static_cast<uint64_t>(record->m_nPublishedFileId));
    if (ioFailure) {
        printf("Steam Workshop: fail\n");
        ClearList();
        return;
    }
    bool matched = false;
    for (WorkshopFileEntry& entry : files) {
        if (entry.m_bBanned || entry.m_nPublishedFileId != record->m_nPublishedFileId) continue;
        matched = true;
        entry = *record;
        if (record->m_eResult != kResultOK) {
            entry.m_eResult = kResultOK;
            entry.m_bBanned = 1;
        }
    }
    if (!matched || record->m_nPublishedFileId != detailsFor_) {
        // Details of another file than the one asked about: the asked one would be asked for
        // again and again, so it is skipped.
        for (WorkshopFileEntry& entry : files) {
            if (entry.m_nPublishedFileId == detailsFor_ && entry.m_eResult == kResultPendingDetails) {
                entry.m_eResult = kResultOK;
                entry.m_bBanned = 1;
            }
        }
    }
    FetchNextDetails();
}

void SteamWorkshopCallbacks::DownloadNext() {
    bool pendingSeen = false;
    for (WorkshopFileEntry& entry : files) {
        if (entry.m_bBanned) continue;
        if (entry.m_eResult == kResultPendingDetails) {
            pendingSeen = true;
            continue;
        }
        if (entry.m_nFileSize < 0 || entry.m_nFileSize > kMaxWorkshopFileSize) {
            entry.m_bBanned = 1;
            continue;
        }
        if (LocalFileSize(LocalPath(entry)) == entry.m_nFileSize) {
            AddModFromFileDetails(entry);
            continue;
        }
        const SteamAPICall_t call = storage->UGCDownload(entry.m_hFile);
        if (call == 0) {
            ClearList();
            return;
        }
        downloadFor_ = entry.m_hFile;
        downloadCall_.Set(call, this, &SteamWorkshopCallbacks::OnFileDownloaded);
        return;
    }
    if (pendingSeen) {
        state = kWorkshopFetchingDetails;
        FetchNextDetails();
    } else {
        if (wholeList_) CleanUpFolder();
        listedWhole = wholeList_;
        state = kWorkshopIdle;
    }
}

void SteamWorkshopCallbacks::OnFileDownloaded(RemoteStorageDownloadUGCResult_t* record, bool ioFailure) {
    printf("Steam Workshop: download (%" PRIu64 ")\n", static_cast<uint64_t>(record->m_hFile));
    if (ioFailure) {
        printf("Steam Workshop: fail\n");
        ClearList();
        return;
    }
    if (record->m_hFile != downloadFor_) {
        // An answer for another file: the one asked for would be asked for again and again.
        for (WorkshopFileEntry& entry : files) {
            if (entry.m_hFile == downloadFor_) entry.m_bBanned = 1;
        }
    }
    for (WorkshopFileEntry& entry : files) {
        if (entry.m_hFile != record->m_hFile || entry.m_bBanned) continue;
        const std::string path = LocalPath(entry);
        RemoveFile(path.c_str());
        const int32_t size = record->m_nSizeInBytes;
        // Checked before anything is allocated; the size must also be the one the details
        // stated, or the file would be downloaded again at every pass.
        if (size < 0 || size > kMaxWorkshopFileSize || size != entry.m_nFileSize) {
            printf("Steam Workshop: refusing a download of %d bytes\n", size);
            entry.m_bBanned = 1;
            continue;
        }
        std::vector<char> buffer(static_cast<size_t>(size));
        const int32_t got = size > 0 ? storage->UGCRead(record->m_hFile, buffer.data(), size) : 0;
        bool ok = got == size;
        if (ok) {
            FILE* f = fopen(path.c_str(), "wb");
            ok = f != nullptr;
            if (f != nullptr) {
                ok = (size == 0 || fwrite(buffer.data(), 1, static_cast<size_t>(size), f) == static_cast<size_t>(size));
                ok = fclose(f) == 0 && ok;
            }
        }
        if (!ok) {
            RemoveFile(path.c_str());
            entry.m_bBanned = 1;
        }
    }
    DownloadNext();
}

void SteamWorkshopCallbacks::CleanUpFolder() {
    DirScan scan;
    const std::string folder = Folder();
    const std::string pattern = folder + "*.dat";
    std::vector<std::string> doomed;
    for (int rc = FindFirstEntry(pattern.c_str(), &scan); rc == 0; rc = FindNextEntry(&scan)) {
        if (strcmp(scan.name, ".") == 0 || strcmp(scan.name, "..") == 0) continue;
        const std::string path = folder + scan.name;
        bool wanted = false;
        for (const WorkshopFileEntry& entry : files) {
            wanted |= LocalPath(entry) == path;
            // A listed file skipped in this run (its details were refused or named another
            // file) keeps whatever copy an earlier run downloaded: it is still subscribed.
            const std::string prefix = std::to_string(static_cast<uint64_t>(entry.m_nPublishedFileId)) + "-";
            wanted |= entry.m_bBanned && strncmp(scan.name, prefix.c_str(), prefix.size()) == 0;
        }
        if (!wanted) doomed.push_back(scan.name);
    }
    for (const std::string& file : doomed) {
        printf("deleting unnecessary Steam Workshop file '%s'\n", file.c_str());
        RemoveFile((folder + file).c_str());
    }
}

void SteamWorkshopCallbacks::ReadModInto(std::vector<ModRecord>& list, const WorkshopFileEntry& entry) {
    const std::string path = LocalPath(entry);
    if (!PHYSFS_mount(path.c_str(), "/", 1)) {
        printf("Steam Workshop: cannot open '%s'\n", path.c_str());
        return;
    }
    ParseModXml(list, path, entry.m_nPublishedFileId);
    PHYSFS_unmount(path.c_str());
}

SteamWorkshopCallbacksSubscribed::SteamWorkshopCallbacksSubscribed()
    : SteamWorkshopCallbacks("subscribed"),
      subscribed_(this, &SteamWorkshopCallbacksSubscribed::OnFileSubscribed),
      unsubscribed_(this, &SteamWorkshopCallbacksSubscribed::OnFileUnsubscribed) {}

bool SteamWorkshopCallbacksSubscribed::EnumerateFiles(uint32_t start) {
    if (storage == nullptr) return false;
    const SteamAPICall_t call = storage->EnumerateUserSubscribedFiles(start);
    if (call == 0) return false;
    enumerateCall_.Set(call, this, &SteamWorkshopCallbacksSubscribed::OnSubscribedEnumerated);
    return true;
}

void SteamWorkshopCallbacksSubscribed::OnSubscribedEnumerated(RemoteStorageEnumerateUserSubscribedFilesResult_t* record,
                                                              bool ioFailure) {
    OnFilesEnumerated(record, ioFailure);
}

void SteamWorkshopCallbacksSubscribed::AddModFromFileDetails(const WorkshopFileEntry& entry) {
    if (entry.m_bBanned) return;
    if (ModsLoaded) {
        missedSome = true;
        return;
    }
    for (const ModRecord& mod : ModList) {
        if (mod.workshopId == entry.m_nPublishedFileId) return;
    }
    const size_t before = ModList.size();
    ReadModInto(ModList, entry);
    // The configuration was read before the download listed it.
    if (ModList.size() > before && ModEnabledByConfig(ModList.back().name)) ModList.back().enabled = 1;
}

void SteamWorkshopCallbacksSubscribed::OnFileSubscribed(RemoteStoragePublishedFileSubscribed_t* record) {
    printf("Steam Workshop: subscribed to %" PRIu64 "\n", static_cast<uint64_t>(record->m_nPublishedFileId));
    if (state == kWorkshopEnumerating) return;
    bool found = false;
    for (WorkshopFileEntry& entry : files) {
        if (entry.m_nPublishedFileId != record->m_nPublishedFileId) continue;
        entry = PendingEntry(record->m_nPublishedFileId);
        found = true;
    }
    if (!found) files.push_back(PendingEntry(record->m_nPublishedFileId));
    if (state == kWorkshopIdle) {
        state = kWorkshopFetchingDetails;
        FetchNextDetails();
    }
}

void SteamWorkshopCallbacksSubscribed::OnFileUnsubscribed(RemoteStoragePublishedFileUnsubscribed_t* record) {
    const PublishedFileId_t id = record->m_nPublishedFileId;
    printf("Steam Workshop: unsubscribed from %" PRIu64 "\n", static_cast<uint64_t>(id));
    if (state == kWorkshopEnumerating) return;
    for (WorkshopFileEntry& entry : files) {
        if (entry.m_nPublishedFileId == id) entry.m_bBanned = 1;
    }
    if (!ModsLoaded) {
        ModList.erase(std::remove_if(ModList.begin(), ModList.end(),
                                     [id](const ModRecord& mod) { return mod.workshopId == id; }),
                      ModList.end());
    }
}

SteamWorkshopCallbacksPublished::SteamWorkshopCallbacksPublished() : SteamWorkshopCallbacks("published") {}

bool SteamWorkshopCallbacksPublished::EnumerateFiles(uint32_t start) {
    if (storage == nullptr) return false;
    const SteamAPICall_t call = storage->EnumerateUserPublishedFiles(start);
    if (call == 0) return false;
    enumerateCall_.Set(call, this, &SteamWorkshopCallbacksPublished::OnPublishedEnumerated);
    return true;
}

void SteamWorkshopCallbacksPublished::OnPublishedEnumerated(RemoteStorageEnumerateUserPublishedFilesResult_t* record,
                                                            bool ioFailure) {
    RemoteStorageEnumerateUserSubscribedFilesResult_t copy;
    copy.m_eResult = record->m_eResult;
    copy.m_nResultsReturned = record->m_nResultsReturned;
    copy.m_nTotalResultCount = record->m_nTotalResultCount;
    memcpy(copy.m_rgPublishedFileId, record->m_rgPublishedFileId, sizeof(copy.m_rgPublishedFileId));
    OnFilesEnumerated(&copy, ioFailure);
}

void SteamWorkshopCallbacksPublished::AddModFromFileDetails(const WorkshopFileEntry& entry) {
    if (entry.m_bBanned) return;
    for (const ModRecord& mod : PublishedModList) {
        if (mod.workshopId == entry.m_nPublishedFileId) return;
    }
    ReadModInto(PublishedModList, entry);
}

std::string PreviewCloudName(const std::string& key, const std::string& previewPath) {
    const size_t slash = previewPath.find_last_of("/\\");
    const std::string file = slash == std::string::npos ? previewPath : previewPath.substr(slash + 1);
    const size_t dot = file.rfind('.');
    std::string extension = dot == std::string::npos ? ".jpg" : file.substr(dot);
    if (extension.size() < 2) extension = ".jpg";
    return "workshop-preview-" + key + extension;
}

bool SteamWorkshopCallbacksPublished::UploadTemporaryFiles(const std::string& contentPath,
                                                           const std::string& previewPath) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string key;
    for (int i = 0; i < 16; ++i) {
        const int draw = CRand();
        key += kDigits[draw % 16];
    }
    tempContentName = "workshop-" + key + ".dat";
    tempPreviewName = PreviewCloudName(key, previewPath);
    if (storage == nullptr) return false;
    const std::string paths[2] = {contentPath, previewPath};
    const std::string names[2] = {tempContentName, tempPreviewName};
    for (int i = 0; i < 2; ++i) {
        uint32_t size = 0;
        const void* view = MapFileToMemory(paths[i].c_str(), &size);
        if (view == nullptr) continue;
        storage->FileWrite(names[i].c_str(), view, static_cast<int32_t>(size));
        UnmapFile(view);
    }
    return true;
}

void SteamWorkshopCallbacksPublished::PublishMod(const std::string& contentPath, const std::string& previewPath,
                                                 const std::string& title, const std::string& description) {
    publishResult = -1;
    if (!UploadTemporaryFiles(contentPath, previewPath)) {
        publishResult = 0;
        return;
    }
    SteamParamStringArray_t tags;
    const SteamAPICall_t call = storage->PublishWorkshopFile(tempContentName.c_str(), tempPreviewName.c_str(),
                                                             kLocalAppId, title.c_str(), description.c_str(), 0, &tags, 0);
    if (call == 0) {
        publishResult = 0;
        return;
    }
    publishCall_.Set(call, this, &SteamWorkshopCallbacksPublished::OnModPublished);
}

void SteamWorkshopCallbacksPublished::UpdateMod(const WorkshopFileEntry& entry, const std::string& contentPath,
                                                const std::string& previewPath, const std::string& title,
                                                const std::string& description) {
    publishResult = -1;
    if (!UploadTemporaryFiles(contentPath, previewPath)) {
        publishResult = 0;
        return;
    }
    const PublishedFileUpdateHandle_t update = storage->CreatePublishedFileUpdateRequest(entry.m_nPublishedFileId);
    SteamParamStringArray_t tags;
    bool ok = update != 0;
    ok = ok && storage->UpdatePublishedFileFile(update, tempContentName.c_str());
    ok = ok && storage->UpdatePublishedFilePreviewFile(update, tempPreviewName.c_str());
    ok = ok && storage->UpdatePublishedFileTitle(update, title.c_str());
    ok = ok && storage->UpdatePublishedFileDescription(update, description.c_str());
    ok = ok && storage->UpdatePublishedFileTags(update, &tags);
    const SteamAPICall_t call = ok ? storage->CommitPublishedFileUpdate(update) : 0;
    if (call == 0) {
        publishResult = 0;
        return;
    }
    updateCall_.Set(call, this, &SteamWorkshopCallbacksPublished::OnModUpdated);
}

void SteamWorkshopCallbacksPublished::OnModPublished(RemoteStoragePublishFileResult_t* record, bool ioFailure) {
    printf("Steam Workshop: publish!\n");
    if (!ioFailure && record->m_eResult == kResultOK) {
        publishResult = 1;
        storage->FileDelete(tempContentName.c_str());
        storage->FileDelete(tempPreviewName.c_str());
    } else {
        printf("Steam Workshop: fail\n");
        publishResult = 0;
    }
}

void SteamWorkshopCallbacksPublished::OnModUpdated(RemoteStorageUpdatePublishedFileResult_t* record, bool ioFailure) {
    printf("Steam Workshop: publish update!\n");
    if (!ioFailure && record->m_eResult == kResultOK) {
        publishResult = 1;
        storage->FileDelete(tempContentName.c_str());
        storage->FileDelete(tempPreviewName.c_str());
    } else {
        printf("Steam Workshop: fail\n");
        publishResult = 0;
    }
}

void InitSteamWorkshop() {
    WorkshopSubscribed.reset();
    WorkshopPublished.reset();
    if (!enableSteamWorkshop || SteamRemoteStorage() == nullptr) return;
    MakeDirectoryTree(WorkshopRoot());
    WorkshopSubscribed.reset(new SteamWorkshopCallbacksSubscribed());
    WorkshopSubscribed->Start();
    WorkshopPublished.reset(new SteamWorkshopCallbacksPublished());
    WorkshopPublished->Start();
}

void RestartPublishedHolder() {
    PublishedModList.clear();
    WorkshopPublished.reset();
    if (!enableSteamWorkshop || SteamRemoteStorage() == nullptr) return;
    WorkshopPublished.reset(new SteamWorkshopCallbacksPublished());
    WorkshopPublished->Start();
}

bool PumpWorkshopUntilIdle(int maxPumps) {
    for (int pumps = 0;; ++pumps) {
        if (WorkshopSubscribed == nullptr) return true;
        if (WorkshopSubscribed->state == kWorkshopIdle && PendingStoreRecords() == 0) return true;
        if (pumps >= maxPumps) return false;
        SteamAPI_RunCallbacks();
    }
}

bool WorkshopListedEverySubscription() {
    if (WorkshopSubscribed == nullptr) return true;
    return WorkshopSubscribed->listedWhole && !WorkshopSubscribed->missedSome;
}

std::string GetWorkshopStatus(const SteamWorkshopCallbacks* holder) {
    if (!enableSteamWorkshop || holder == nullptr) return "Disabled";
    return holder->StatusText();
}

std::string GetWorkshopStatus() { return GetWorkshopStatus(WorkshopSubscribed.get()); }

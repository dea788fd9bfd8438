// The local remote storage: cloud files and the workshop in the store folder.
#include "store_platform/remote_storage.h"

#include "platform/atomic_file.h"
#include "platform/platform.h"
#include "store_platform/store.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <memory>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sstream>

#include <sys/stat.h>

namespace {

StoreRemoteStorage RemoteStorage;
bool HookSet = false;

// Largest file the local store reads into memory.
constexpr int64_t kMaxStoredFile = 256ll << 20;

bool HasFault(const char* kind) { return CurrentStoreFaults().ioFailureKinds.count(kind) != 0; }

bool ReadFileBytes(const std::string& path, std::string* out) {
    out->clear();
    if (!StoreFolderUsable()) return false;
    FILE* f = OpenRegularFile(path);
    if (f == nullptr) return false;
    char buffer[65536];
    size_t got = 0;
    bool ok = true;
    while ((got = fread(buffer, 1, sizeof(buffer), f)) > 0) {
        out->append(buffer, got);
        if (static_cast<int64_t>(out->size()) > kMaxStoredFile) {
            ok = false;
            break;
        }
    }
    if (ferror(f)) ok = false;
    fclose(f);
    if (!ok) out->clear();
    return ok;
}

// The first `limit` bytes of a file at most; false for a missing or unreadable file.
bool ReadFilePrefix(const std::string& path, size_t limit, std::string* out) {
    out->clear();
    FILE* f = OpenRegularFile(path);
    if (f == nullptr) return false;
    char buffer[65536];
    bool ok = true;
    while (out->size() < limit) {
        const size_t got = fread(buffer, 1, std::min(sizeof(buffer), limit - out->size()), f);
        if (got == 0) break;
        out->append(buffer, got);
    }
    if (ferror(f)) ok = false;
    fclose(f);
    if (!ok) out->clear();
    return ok;
}

int64_t FileLength(const std::string& path) {
    FILE* f = OpenRegularFile(path);
    if (f == nullptr) return -1;
    fseek(f, 0, SEEK_END);
    const long length = ftell(f);
    fclose(f);
    return length;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    if (!StoreFolderUsable()) return false;
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && !MakeDirectoryTree(path.substr(0, slash + 1))) return false;
    std::string error;
    if (!WriteFileAtomically(path, bytes, &error)) {
        printf("Store: could not write '%s': %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

std::string ItemFolder(PublishedFileId_t id) {
    return StoreRemoteStorage::WorkshopFolder() + "items/" + std::to_string(static_cast<unsigned long long>(id)) + "/";
}

std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

std::string FromOneLine(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool ParseId(const std::string& text, PublishedFileId_t* id) {
    if (text.empty() || text.size() > 20) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    errno = 0;
    const unsigned long long v = strtoull(text.c_str(), nullptr, 10);
    if (errno != 0 || v == 0) return false;
    *id = v;
    return true;
}

std::vector<PublishedFileId_t> ReadIdList(const std::string& path) {
    std::vector<PublishedFileId_t> ids;
    std::string text;
    if (!ReadFileBytes(path, &text)) return ids;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        PublishedFileId_t id = 0;
        if (ParseId(line, &id) && std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
    }
    return ids;
}

bool WriteIdList(const std::string& path, const std::vector<PublishedFileId_t>& ids) {
    std::string text;
    for (PublishedFileId_t id : ids) text += std::to_string(static_cast<unsigned long long>(id)) + "\n";
    return WriteBytes(path, text);
}

void CopyText(char* target, size_t capacity, const std::string& text) {
    const size_t n = std::min(capacity - 1, text.size());
    memcpy(target, text.data(), n);
    target[n] = '\0';
}

uint32_t Now() { return static_cast<uint32_t>(time(nullptr)); }

int64_t CloudTotalBytes() {
    int64_t total = 0;
    if (StoreRemoteStorage::CloudFolder().empty()) return 0;
    DirScan scan;
    const std::string pattern = StoreRemoteStorage::CloudFolder() + "*";
    for (int rc = FindFirstEntry(pattern.c_str(), &scan); rc == 0; rc = FindNextEntry(&scan)) {
        if (!scan.isDirectory) total += static_cast<int64_t>(scan.size);
    }
    return total;
}

void PumpHook() { ReadStoreNotifyFile(); }

}  // namespace

std::string EscapeCloudName(const std::string& name) {
    if (name.empty()) return "";
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                           c == '-' || (c == '.' && i > 0);
        if (plain) {
            out += static_cast<char>(c);
        } else {
            char code[4];
            snprintf(code, sizeof(code), "%%%02X", c);
            out += code;
        }
    }
    return out;
}

std::string UnescapeCloudName(const std::string& stored) {
    std::string out;
    for (size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '%' && i + 2 < stored.size() + 0 && isxdigit(static_cast<unsigned char>(stored[i + 1])) &&
            isxdigit(static_cast<unsigned char>(stored[i + 2]))) {
            out += static_cast<char>(strtol(stored.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            out += stored[i];
        }
    }
    return out;
}

// A cloud file's path; "" for a name that cannot be stored or without a usable store folder.
static std::string CloudPath(const char* name) {
    if (name == nullptr) return "";
    const std::string folder = StoreRemoteStorage::CloudFolder();
    const std::string stored = EscapeCloudName(name);
    return folder.empty() || stored.empty() ? "" : folder + stored;
}

std::string StoreRemoteStorage::CloudFolder() { return StoreFolderUsable() ? StoreFolder() + "cloud/" : ""; }
std::string StoreRemoteStorage::WorkshopFolder() { return StoreFolderUsable() ? StoreFolder() + "workshop/" : ""; }

struct StoreRemoteStorage::WriteStream {
    CloudWriteStream_t handle = 0;
    std::unique_ptr<AtomicFileWriter> file;
    int64_t written = 0;
};

StoreRemoteStorage::StoreRemoteStorage() = default;
StoreRemoteStorage::~StoreRemoteStorage() = default;

StoreRemoteStorage* SteamRemoteStorage() {
    if (!StoreRunning() || CurrentStoreFaults().noRemoteStorage || !StoreFolderUsable()) return nullptr;
    if (!HookSet) {
        HookSet = true;
        SetStorePumpHook(PumpHook);
    }
    return &RemoteStorage;
}

bool StoreRemoteStorage::FileWrite(const char* name, const void* data, int32_t size) {
    if (size < 0 || (size > 0 && data == nullptr)) return false;
    const CloudWriteStream_t stream = FileWriteStreamOpen(name);
    if (stream == 0) return false;
    if (!FileWriteStreamWriteChunk(stream, data, size)) {
        FileWriteStreamCancel(stream);
        return false;
    }
    return FileWriteStreamClose(stream);
}

CloudWriteStream_t StoreRemoteStorage::FileWriteStreamOpen(const char* name) {
    const std::string path = CloudPath(name);
    if (path.empty() || CurrentStoreFaults().cloudRefuseWrite) return 0;
    if (!MakeDirectoryTree(CloudFolder())) {
        printf("Store: could not create the cloud folder '%s'\n", CloudFolder().c_str());
        return 0;
    }
    std::unique_ptr<WriteStream> stream(new WriteStream());
    stream->file.reset(new AtomicFileWriter(path));
    if (!stream->file->Open()) {
        printf("Store: could not write '%s': %s\n", path.c_str(), stream->file->error().c_str());
        return 0;
    }
    stream->handle = nextStream_++;
    streams_.push_back(std::move(stream));
    return streams_.back()->handle;
}

bool StoreRemoteStorage::FileWriteStreamWriteChunk(CloudWriteStream_t stream, const void* data, int32_t size) {
    for (auto& s : streams_) {
        if (s->handle != stream) continue;
        if (size < 0 || (size > 0 && data == nullptr)) return false;
        if (size == 0) return true;
        s->written += size;
        return s->file->Write(data, static_cast<size_t>(size));
    }
    return false;
}

bool StoreRemoteStorage::FileWriteStreamClose(CloudWriteStream_t stream) {
    for (size_t i = 0; i < streams_.size(); ++i) {
        if (streams_[i]->handle != stream) continue;
        std::unique_ptr<WriteStream> s = std::move(streams_[i]);
        streams_.erase(streams_.begin() + static_cast<std::ptrdiff_t>(i));
        const int64_t quota = CurrentStoreFaults().cloudQuota;
        if (CurrentStoreFaults().cloudRefuseWrite) {
            s->file->Discard();
            return false;
        }
        if (quota >= 0) {
            const int64_t old = FileLength(s->file->path());
            if (CloudTotalBytes() - (old > 0 ? old : 0) + s->written > quota) {
                s->file->Discard();
                return false;
            }
        }
        if (!s->file->Commit()) {
            printf("Store: could not write '%s': %s\n", s->file->path().c_str(), s->file->error().c_str());
            return false;
        }
        return true;
    }
    return false;
}

bool StoreRemoteStorage::FileWriteStreamCancel(CloudWriteStream_t stream) {
    for (size_t i = 0; i < streams_.size(); ++i) {
        if (streams_[i]->handle != stream) continue;
        streams_[i]->file->Discard();
        streams_.erase(streams_.begin() + static_cast<std::ptrdiff_t>(i));
        return true;
    }
    return false;
}

int32_t StoreRemoteStorage::FileRead(const char* name, void* data, int32_t size) {
    if (data == nullptr || size <= 0) return 0;
    std::string bytes;
    const std::string path = CloudPath(name);
    if (path.empty() || !ReadFilePrefix(path, static_cast<size_t>(size), &bytes)) return 0;
    size_t n = bytes.size();
    if (CurrentStoreFaults().shortRead && n > 0) --n;
    memcpy(data, bytes.data(), n);
    return static_cast<int32_t>(n);
}

bool StoreRemoteStorage::FileExists(const char* name) {
    // A file that is there but cannot be read (a pipe, a folder, no permission) still exists:
    // a sync must not take it for a file deleted elsewhere.
    const std::string path = CloudPath(name);
    struct stat st;
    return !path.empty() && lstat(path.c_str(), &st) == 0;
}

int32_t StoreRemoteStorage::GetFileSize(const char* name) {
    const std::string path = CloudPath(name);
    const int64_t length = path.empty() ? -1 : FileLength(path);
    if (length < 0) return FileExists(name) ? -1 : 0;
    return length > INT32_MAX ? -1 : static_cast<int32_t>(length);
}

int64_t StoreRemoteStorage::GetFileTimestamp(const char* name) {
    const std::string path = CloudPath(name);
    struct stat st;
    if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
    return static_cast<int64_t>(st.st_mtime);
}

bool StoreRemoteStorage::FileDelete(const char* name) {
    const std::string path = CloudPath(name);
    return !path.empty() && RemoveFile(path.c_str());
}

int32_t StoreRemoteStorage::GetFileCount() {
    listing_.clear();
    listingSizes_.clear();
    if (CloudFolder().empty()) return 0;
    std::vector<std::pair<std::string, int32_t>> found;
    DirScan scan;
    const std::string pattern = CloudFolder() + "*";
    for (int rc = FindFirstEntry(pattern.c_str(), &scan); rc == 0; rc = FindNextEntry(&scan)) {
        if (scan.isDirectory) continue;
        const std::string name = scan.name;
        // Temporary files of an interrupted write are not cloud files.
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0) continue;
        found.emplace_back(UnescapeCloudName(name), scan.size > INT32_MAX ? -1 : static_cast<int32_t>(scan.size));
    }
    std::sort(found.begin(), found.end());
    for (const auto& f : found) {
        listing_.push_back(f.first);
        listingSizes_.push_back(f.second);
    }
    return static_cast<int32_t>(listing_.size());
}

const char* StoreRemoteStorage::GetFileNameAndSize(int32_t index, int32_t* size) {
    if (size != nullptr) *size = 0;
    if (index < 0 || static_cast<size_t>(index) >= listing_.size()) return nullptr;
    if (size != nullptr) *size = listingSizes_[static_cast<size_t>(index)];
    return listing_[static_cast<size_t>(index)].c_str();
}

SteamAPICall_t StoreRemoteStorage::Enumerate(const std::vector<PublishedFileId_t>& ids, uint32_t start, bool subscribed) {
    RemoteStorageEnumerateUserSubscribedFilesResult_t page;
    page.m_eResult = kResultOK;
    page.m_nTotalResultCount = static_cast<int32_t>(ids.size());
    if (!CurrentStoreFaults().emptyPage) {
        for (size_t i = start; i < ids.size() && page.m_nResultsReturned < kEnumeratePageSize; ++i) {
            page.m_rgPublishedFileId[page.m_nResultsReturned] = ids[i];
            page.m_rgRTimeSubscribed[page.m_nResultsReturned] = Now();
            ++page.m_nResultsReturned;
        }
    }
    const bool io = HasFault("enumerate");
    if (subscribed) {
        return QueueStoreCallResult(kRemoteStorageEnumerateUserSubscribedFilesResultId, &page, sizeof(page), io);
    }
    RemoteStorageEnumerateUserPublishedFilesResult_t published;
    published.m_eResult = page.m_eResult;
    published.m_nResultsReturned = page.m_nResultsReturned;
    published.m_nTotalResultCount = page.m_nTotalResultCount;
    memcpy(published.m_rgPublishedFileId, page.m_rgPublishedFileId, sizeof(published.m_rgPublishedFileId));
    return QueueStoreCallResult(kRemoteStorageEnumerateUserPublishedFilesResultId, &published, sizeof(published), io);
}

SteamAPICall_t StoreRemoteStorage::EnumerateUserSubscribedFiles(uint32_t start) {
    return Enumerate(SubscribedIds(), start, true);
}

SteamAPICall_t StoreRemoteStorage::EnumerateUserPublishedFiles(uint32_t start) {
    return Enumerate(PublishedIds(), start, false);
}

SteamAPICall_t StoreRemoteStorage::GetPublishedFileDetails(PublishedFileId_t id) {
    // Large: kept off the stack.
    std::unique_ptr<RemoteStorageGetPublishedFileDetailsResult_t> details(new RemoteStorageGetPublishedFileDetailsResult_t());
    details->m_nPublishedFileId = CurrentStoreFaults().detailsOtherId ? id + 1000003 : id;
    WorkshopItem item;
    if (GetWorkshopItem(id, &item)) {
        details->m_eResult = kResultOK;
        details->m_nCreatorAppID = kLocalAppId;
        details->m_nConsumerAppID = kLocalAppId;
        CopyText(details->m_rgchTitle, sizeof(details->m_rgchTitle), item.title);
        CopyText(details->m_rgchDescription, sizeof(details->m_rgchDescription), item.description);
        details->m_hFile = ContentHandle(id);
        details->m_hPreviewFile = ContentHandle(id) + 1;
        details->m_rtimeCreated = item.timeUpdated;
        details->m_rtimeUpdated = item.timeUpdated;
        details->m_bBanned = item.banned ? 1 : 0;
        details->m_bAcceptedForUse = 1;
        details->m_nFileSize = static_cast<int32_t>(item.content.size());
        details->m_nPreviewFileSize = static_cast<int32_t>(item.preview.size());
    } else {
        details->m_eResult = kResultFileNotFound;
    }
    return QueueStoreCallResult(kRemoteStorageGetPublishedFileDetailsResultId, details.get(), sizeof(*details),
                                HasFault("details"));
}

SteamAPICall_t StoreRemoteStorage::UGCDownload(UGCHandle_t file) {
    RemoteStorageDownloadUGCResult_t record;
    record.m_hFile = file;
    record.m_nAppID = kLocalAppId;
    WorkshopItem item;
    const PublishedFileId_t id = file / 2;
    if (file % 2 == 1 && GetWorkshopItem(id, &item)) {
        record.m_eResult = kResultOK;
        record.m_nSizeInBytes = static_cast<int32_t>(item.content.size());
        downloads_.erase(std::remove_if(downloads_.begin(), downloads_.end(),
                                        [file](const std::pair<UGCHandle_t, std::string>& d) { return d.first == file; }),
                         downloads_.end());
        downloads_.emplace_back(file, item.content);
    } else {
        record.m_eResult = kResultFileNotFound;
    }
    if (CurrentStoreFaults().downloadSizeSet) {
        const int64_t size = CurrentStoreFaults().downloadSize;
        record.m_nSizeInBytes = size < INT32_MIN ? INT32_MIN : size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(size);
    }
    return QueueStoreCallResult(kRemoteStorageDownloadUGCResultId, &record, sizeof(record), HasFault("download"));
}

int32_t StoreRemoteStorage::UGCRead(UGCHandle_t file, void* data, int32_t size) {
    if (data == nullptr || size <= 0) return 0;
    for (const auto& d : downloads_) {
        if (d.first != file) continue;
        size_t n = std::min(d.second.size(), static_cast<size_t>(size));
        if (CurrentStoreFaults().shortRead && n > 0) --n;
        memcpy(data, d.second.data(), n);
        return static_cast<int32_t>(n);
    }
    return 0;
}

SteamAPICall_t StoreRemoteStorage::PublishWorkshopFile(const char* file, const char* preview, uint32_t, const char* title,
                                                       const char* description, int32_t, const SteamParamStringArray_t*,
                                                       int32_t) {
    RemoteStoragePublishFileResult_t record;
    record.m_eResult = kResultFail;
    WorkshopItem item;
    const std::string contentName = EscapeCloudName(file != nullptr ? file : "");
    const std::string previewName = EscapeCloudName(preview != nullptr ? preview : "");
    const bool io = HasFault("publish");
    if (!io && !contentName.empty() && !previewName.empty() && ReadFileBytes(CloudFolder() + contentName, &item.content) &&
        ReadFileBytes(CloudFolder() + previewName, &item.preview)) {
        item.title = title != nullptr ? title : "";
        item.description = description != nullptr ? description : "";
        item.author = "you";
        item.timeUpdated = Now();
        record.m_nPublishedFileId = PutWorkshopItem(item);
        if (record.m_nPublishedFileId != 0) {
            std::vector<PublishedFileId_t> ids = PublishedIds();
            ids.push_back(record.m_nPublishedFileId);
            if (WriteIdList(WorkshopFolder() + "published.txt", ids)) record.m_eResult = kResultOK;
        }
    }
    return QueueStoreCallResult(kRemoteStoragePublishFileResultId, &record, sizeof(record), io);
}

StoreRemoteStorage::Update* StoreRemoteStorage::FindUpdate(PublishedFileUpdateHandle_t update) {
    for (Update& u : updates_) {
        if (u.handle == update) return &u;
    }
    return nullptr;
}

PublishedFileUpdateHandle_t StoreRemoteStorage::CreatePublishedFileUpdateRequest(PublishedFileId_t id) {
    WorkshopItem item;
    if (!GetWorkshopItem(id, &item)) return 0;
    Update u;
    u.handle = nextUpdate_++;
    u.id = id;
    updates_.push_back(u);
    return u.handle;
}

bool StoreRemoteStorage::UpdatePublishedFileFile(PublishedFileUpdateHandle_t update, const char* file) {
    updateLog.push_back("file");
    Update* u = FindUpdate(update);
    if (u == nullptr || file == nullptr) return false;
    u->file = file;
    u->hasFile = true;
    return true;
}

bool StoreRemoteStorage::UpdatePublishedFilePreviewFile(PublishedFileUpdateHandle_t update, const char* preview) {
    updateLog.push_back("preview");
    Update* u = FindUpdate(update);
    if (u == nullptr || preview == nullptr) return false;
    u->preview = preview;
    u->hasPreview = true;
    return true;
}

bool StoreRemoteStorage::UpdatePublishedFileTitle(PublishedFileUpdateHandle_t update, const char* title) {
    updateLog.push_back("title");
    Update* u = FindUpdate(update);
    if (u == nullptr || title == nullptr) return false;
    u->title = title;
    u->hasTitle = true;
    return true;
}

bool StoreRemoteStorage::UpdatePublishedFileDescription(PublishedFileUpdateHandle_t update, const char* description) {
    updateLog.push_back("description");
    Update* u = FindUpdate(update);
    if (u == nullptr || description == nullptr) return false;
    u->description = description;
    u->hasDescription = true;
    return true;
}

bool StoreRemoteStorage::UpdatePublishedFileTags(PublishedFileUpdateHandle_t update, const SteamParamStringArray_t*) {
    updateLog.push_back("tags");
    return FindUpdate(update) != nullptr;
}

SteamAPICall_t StoreRemoteStorage::CommitPublishedFileUpdate(PublishedFileUpdateHandle_t update) {
    updateLog.push_back("commit");
    Update* u = FindUpdate(update);
    if (u == nullptr) return 0;
    const Update change = *u;
    updates_.erase(updates_.begin() + (u - updates_.data()));
    RemoteStorageUpdatePublishedFileResult_t record;
    record.m_eResult = kResultFail;
    record.m_nPublishedFileId = change.id;
    const bool io = HasFault("update");
    WorkshopItem item;
    bool ok = !io && GetWorkshopItem(change.id, &item);
    if (ok && change.hasFile) ok = ReadFileBytes(CloudFolder() + EscapeCloudName(change.file), &item.content);
    if (ok && change.hasPreview) ok = ReadFileBytes(CloudFolder() + EscapeCloudName(change.preview), &item.preview);
    if (ok) {
        if (change.hasTitle) item.title = change.title;
        if (change.hasDescription) item.description = change.description;
        // Every update is a new version, with a later time even within the same second.
        const uint32_t now = Now();
        item.timeUpdated = now > item.timeUpdated ? now : item.timeUpdated + 1;
        if (PutWorkshopItem(item) != 0) record.m_eResult = kResultOK;
    }
    return QueueStoreCallResult(kRemoteStorageUpdatePublishedFileResultId, &record, sizeof(record), io);
}

PublishedFileId_t StoreRemoteStorage::PutWorkshopItem(const WorkshopItem& given) {
    WorkshopItem item = given;
    if (item.id == 0) {
        // A new id above every id in use.
        PublishedFileId_t highest = 100000;
        if (WorkshopFolder().empty()) return 0;
        DirScan scan;
        const std::string pattern = WorkshopFolder() + "items/*";
        for (int rc = FindFirstEntry(pattern.c_str(), &scan); rc == 0; rc = FindNextEntry(&scan)) {
            PublishedFileId_t id = 0;
            if (ParseId(scan.name, &id) && id > highest) highest = id;
        }
        item.id = highest + 1;
    }
    const std::string folder = ItemFolder(item.id);
    std::string meta = "title " + OneLine(item.title) + "\ndescription " + OneLine(item.description) + "\nauthor " +
                       OneLine(item.author) + "\nupdated " + std::to_string(item.timeUpdated) + "\nbanned " +
                       (item.banned ? "1" : "0") + "\n";
    if (!WriteBytes(folder + "content", item.content) || !WriteBytes(folder + "preview", item.preview) ||
        !WriteBytes(folder + "meta.txt", meta)) {
        return 0;
    }
    return item.id;
}

bool StoreRemoteStorage::GetWorkshopItem(PublishedFileId_t id, WorkshopItem* item) {
    if (id == 0 || item == nullptr) return false;
    const std::string folder = ItemFolder(id);
    std::string meta;
    if (!ReadFileBytes(folder + "meta.txt", &meta)) return false;
    *item = WorkshopItem();
    item->id = id;
    std::istringstream in(meta);
    std::string line;
    while (std::getline(in, line)) {
        const size_t blank = line.find(' ');
        const std::string key = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? "" : FromOneLine(line.substr(blank + 1));
        if (key == "title") item->title = value;
        else if (key == "description") item->description = value;
        else if (key == "author") item->author = value;
        else if (key == "updated") item->timeUpdated = static_cast<uint32_t>(strtoul(value.c_str(), nullptr, 10));
        else if (key == "banned") item->banned = value == "1";
    }
    ReadFileBytes(folder + "preview", &item->preview);
    return ReadFileBytes(folder + "content", &item->content);
}

std::vector<PublishedFileId_t> StoreRemoteStorage::SubscribedIds() { return ReadIdList(WorkshopFolder() + "subscribed.txt"); }

std::vector<PublishedFileId_t> StoreRemoteStorage::PublishedIds() { return ReadIdList(WorkshopFolder() + "published.txt"); }

void StoreRemoteStorage::Subscribe(PublishedFileId_t id, bool notify) {
    std::vector<PublishedFileId_t> ids = SubscribedIds();
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) {
        ids.push_back(id);
        WriteIdList(WorkshopFolder() + "subscribed.txt", ids);
    }
    if (notify) {
        RemoteStoragePublishedFileSubscribed_t record;
        record.m_nPublishedFileId = id;
        record.m_nAppID = kLocalAppId;
        QueueStoreBroadcast(kRemoteStoragePublishedFileSubscribedId, &record, sizeof(record));
    }
}

void StoreRemoteStorage::Unsubscribe(PublishedFileId_t id, bool notify) {
    std::vector<PublishedFileId_t> ids = SubscribedIds();
    ids.erase(std::remove(ids.begin(), ids.end(), id), ids.end());
    WriteIdList(WorkshopFolder() + "subscribed.txt", ids);
    if (notify) {
        RemoteStoragePublishedFileUnsubscribed_t record;
        record.m_nPublishedFileId = id;
        record.m_nAppID = kLocalAppId;
        QueueStoreBroadcast(kRemoteStoragePublishedFileUnsubscribedId, &record, sizeof(record));
    }
}

void ReadStoreNotifyFile() {
    if (!StoreFolderUsable()) return;
    const std::string path = StoreFolder() + "notify.txt";
    std::string text;
    if (!ReadFileBytes(path, &text)) return;
    RemoveFile(path.c_str());
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t blank = line.find(' ');
        const std::string word = line.substr(0, blank);
        PublishedFileId_t id = 0;
        const bool hasId = blank != std::string::npos && ParseId(line.substr(blank + 1), &id);
        if (word == "subscribe" && hasId) {
            RemoteStorage.Subscribe(id, true);
        } else if (word == "unsubscribe" && hasId) {
            RemoteStorage.Unsubscribe(id, true);
        } else if (!line.empty()) {
            printf("%s:%d: unknown store notification ignored\n", path.c_str(), lineNumber);
        }
    }
}

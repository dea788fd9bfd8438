// The start-up step of the cloud copies (see cloud_sync.h).
#include "core/shell/cloud_sync.h"

#include "core/shell/saved_games.h"
#include "interface/ui_services.h"
#include "platform/platform.h"
#include "store_platform/cloud_files.h"
#include "store_platform/remote_storage.h"

#include <strings.h>
#include <sys/stat.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

const char* const kIndexName = "loadsave.dat";

void AskAndEmptyCloud(StoreRemoteStorage* storage) {
    const int32_t answer = ShowDialog(
        "WHOA. You're telling us to nuke your Steam Cloud files. THIS DELETES ALL YOUR ZARNOCH SAVE GAMES AND HIGH "
        "SCORES. Forever. Are you sure?!",
        "ui/dialog_but_yea", "ui/dialog_but_nay");
    if (answer != 0) {
        ShowDialog("Whew, okay, we're NOT deleting your Steam Cloud files. FOR NOW.", "ui/dialog_but_ok", nullptr);
        return;
    }
    ShowDialog("Okay, your Steam Cloud is being emptied in 3...2...1...", "ui/dialog_but_ok", nullptr);
    printf("Nuking Steam Cloud!\n");
    std::vector<std::string> names;
    const int32_t count = storage->GetFileCount();
    for (int32_t i = 0; i < count; ++i) {
        const char* name = storage->GetFileNameAndSize(i, nullptr);
        if (name != nullptr) names.push_back(name);
    }
    for (const std::string& name : names) {
        printf("  - Nuking '%s'!\n", name.c_str());
        storage->FileDelete(name.c_str());
    }
}

bool IsFixedUserFile(const std::string& name) {
    return name == "last.txt" || name == "hiscores.txt" || name == kIndexName;
}

// A name the cloud mirrors: the three fixed files, the saves and their thumbnails.
bool IsMirroredName(const std::string& name) {
    if (!IsSafeCloudName(name.c_str())) return false;
    return IsFixedUserFile(name) || (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".sav") == 0);
}

// The names of a sync, in order: the saves and thumbnails first, then the last build, the high
// scores and the index (which may keep only saves that survived the sync).
class SyncNames {
public:
    void Add(const std::string& name) {
        if (IsFixedUserFile(name) || !IsMirroredName(name) || !seen_.insert(name).second) return;
        names_.push_back(name);
    }
    std::vector<std::string> InOrder() const {
        std::vector<std::string> all = names_;
        all.insert(all.end(), {"last.txt", "hiscores.txt", kIndexName});
        return all;
    }

private:
    std::set<std::string> seen_;
    std::vector<std::string> names_;
};

// The local saves and thumbnails: those the index lists and every "*.sav" of the user folder.
void AddLocalNames(SyncNames* names) {
    ReadSaveIndex(nullptr);
    for (const SaveSlot& slot : SaveSlots) {
        if (slot.fileName.empty()) continue;
        names->Add(slot.fileName);
        names->Add("bitmap_" + slot.fileName);
    }
    DirScan scan;
    const std::string pattern = GetUserDataPath() + "*.sav";
    for (int rc = FindFirstEntry(pattern.c_str(), &scan); rc == 0; rc = FindNextEntry(&scan)) {
        if (!scan.isDirectory) names->Add(scan.name);
    }
}

// The cloud's user files; reports the names that cannot be user files. False when the cloud
// holds none.
bool AddCloudNames(StoreRemoteStorage* storage, SyncNames* names) {
    bool any = false;
    const int32_t count = storage->GetFileCount();
    std::vector<std::string> listed;
    for (int32_t i = 0; i < count; ++i) {
        const char* name = storage->GetFileNameAndSize(i, nullptr);
        if (name != nullptr) listed.push_back(name);
    }
    for (const std::string& name : listed) {
        if (!IsSafeCloudName(name.c_str())) {
            printf("Cloud file '%s' is not a user file name; not restored\n", name.c_str());
        } else if (IsMirroredName(name)) {
            names->Add(name);
            any = true;
        }
    }
    return any;
}

CloudSyncSide LocalSide(const std::string& path) {
    CloudSyncSide side;
    side.present = HashLocalFile(path, &side.hash);
    if (side.present) {
        side.time = LocalFileTimestamp(path);
    } else {
        // There but unreadable (a pipe, a folder, no permission): not a deleted file.
        struct stat st;
        side.present = side.broken = lstat(path.c_str(), &st) == 0;
    }
    return side;
}

CloudSyncSide CloudSide(StoreRemoteStorage* storage, const std::string& name) {
    CloudSyncSide side;
    const CloudHeader header = ReadCloudHeader(name.c_str(), &side.hash);
    side.present = header != CloudHeader::Missing;
    side.broken = header == CloudHeader::Broken;
    if (side.present) side.time = storage->GetFileTimestamp(name.c_str());
    return side;
}

// Notes the local index as uploaded when the cloud now holds it.
void NoteIndexIfUploaded(const std::string& path, CloudSyncRecord* record) {
    CloudFileHash local, cloud;
    if (HashLocalFile(path, &local) && ReadCloudHeader(kIndexName, &cloud) == CloudHeader::Valid && local == cloud) {
        record->Set(kIndexName, local, cloud);
    }
}

// Both indexes changed, or one changed: the chosen one's saves in its order, then the other's
// saves whose files are here, without the saves this sync deleted. Written locally and uploaded.
void MergeIndexes(const std::string& user, bool cloudFirst, const std::set<std::string>& deleted,
                  CloudSyncRecord* record) {
    const std::string cloudCopy = user + kIndexName + ".cloud";
    RemoveFile(cloudCopy.c_str());
    if (!DownloadCloudFile(kIndexName, cloudCopy.c_str(), nullptr)) {
        RemoveFile(cloudCopy.c_str());
        printf("The cloud's save index could not be read; the local one is kept\n");
        if (UploadCloudFile((user + kIndexName).c_str(), kIndexName)) NoteIndexIfUploaded(user + kIndexName, record);
        return;
    }
    ReadSaveIndex(cloudCopy.c_str());
    const std::vector<SaveSlot> cloudSlots = SaveSlots;
    RemoveFile(cloudCopy.c_str());
    ReadSaveIndex(nullptr);
    const std::vector<SaveSlot> localSlots = SaveSlots;
    const std::vector<SaveSlot>& first = cloudFirst ? cloudSlots : localSlots;
    const std::vector<SaveSlot>& second = cloudFirst ? localSlots : cloudSlots;
    std::vector<SaveSlot> merged;
    std::set<std::string> listed;
    for (const SaveSlot& slot : first) {
        if (!deleted.count(slot.fileName) && listed.insert(slot.fileName).second) merged.push_back(slot);
    }
    for (const SaveSlot& slot : second) {
        if (deleted.count(slot.fileName) || listed.count(slot.fileName)) continue;
        if (FILE* f = OpenRegularFile(user + slot.fileName)) {
            fclose(f);
            listed.insert(slot.fileName);
            merged.push_back(slot);
        }
    }
    SaveSlots = merged;
    if (WriteSaveIndex()) NoteIndexIfUploaded(user + kIndexName, record);
}

// Copy notes of single uploads and downloads go to the record the sync holds, written once.
class RecordingPause {
public:
    RecordingPause() { SetCloudSyncRecording(false); }
    ~RecordingPause() { SetCloudSyncRecording(true); }
};

}  // namespace

CloudSyncStep DecideCloudSyncStep(const CloudSyncSide& local, const CloudSyncSide& cloud,
                                  const CloudSyncRecord::Entry* last, bool deletable) {
    // A local file that cannot be read is neither copied, replaced nor taken as deleted.
    if (local.broken) return CloudSyncStep::Keep;
    if (!cloud.present) {
        if (!local.present) return CloudSyncStep::Keep;
        const bool unchanged = last != nullptr && local.hash == last->local;
        return unchanged && deletable ? CloudSyncStep::DeleteLocal : CloudSyncStep::Upload;
    }
    if (cloud.broken) return local.present ? CloudSyncStep::Upload : CloudSyncStep::Keep;
    if (!local.present) {
        const bool unchanged = last != nullptr && cloud.hash == last->cloud;
        return unchanged && deletable ? CloudSyncStep::DeleteCloud : CloudSyncStep::Download;
    }
    if (local.hash == cloud.hash) return CloudSyncStep::Keep;
    const bool localChanged = last == nullptr || local.hash != last->local;
    const bool cloudChanged = last == nullptr || cloud.hash != last->cloud;
    CloudSyncStep step = CloudSyncStep::Keep;
    if (localChanged && cloudChanged) {
        step = cloud.time > local.time ? CloudSyncStep::Download : CloudSyncStep::Upload;
    } else if (cloudChanged) {
        step = CloudSyncStep::Download;
    } else if (localChanged) {
        step = CloudSyncStep::Upload;
    }
    if (step == CloudSyncStep::Download && cloud.hash.length == 0 && local.hash.length > 0) step = CloudSyncStep::Upload;
    // Nor does an emptied save or thumbnail (never empty when the game writes it) replace the
    // cloud's copy: that copy comes back instead.
    if (step == CloudSyncStep::Upload && deletable && local.hash.length == 0 && cloud.hash.length > 0) {
        step = CloudSyncStep::Download;
    }
    return step;
}

void InitSteamCloud(bool& clearCloud) {
    const bool clearRequested = clearCloud;
    clearCloud = false;
    StoreRemoteStorage* storage = GetCloudStorage();
    if (storage == nullptr) return;
    if (clearRequested) AskAndEmptyCloud(storage);

    const std::string user = GetUserDataPath();
    if (user.empty()) return;
    RecordingPause pause;
    CloudSyncRecord record = CloudSyncRecord::Load();
    SyncNames names;
    AddLocalNames(&names);
    // A new or emptied cloud is seeded from the local files: nothing is deleted.
    if (!AddCloudNames(storage, &names)) record.Clear();

    std::set<std::string> deleted;
    for (const std::string& name : names.InOrder()) {
        const std::string path = user + name;
        const CloudSyncSide local = LocalSide(path);
        const CloudSyncSide cloud = CloudSide(storage, name);
        const CloudSyncStep step = DecideCloudSyncStep(local, cloud, record.Find(name), !IsFixedUserFile(name));
        if (name == kIndexName && local.present && cloud.present && !cloud.broken &&
            (step == CloudSyncStep::Download || step == CloudSyncStep::Upload)) {
            MergeIndexes(user, step == CloudSyncStep::Download, deleted, &record);
            continue;
        }
        CloudFileHash stated, written;
        switch (step) {
        case CloudSyncStep::Keep:
            if (local.broken || (cloud.broken && !local.present)) {
                printf("'%s' cannot be read %s; it is left as it is\n", name.c_str(),
                       local.broken ? "in the user folder" : "in the cloud");
                break;
            }
            if (local.present && cloud.present && local.hash == cloud.hash) record.Set(name, local.hash, cloud.hash);
            if (!local.present && !cloud.present) record.Erase(name);
            break;
        case CloudSyncStep::Upload:
            if (UploadCloudFile(path.c_str(), name.c_str(), &written)) {
                record.Set(name, written, written);
            } else {
                printf("Could not copy '%s' to the cloud; the local file is kept\n", name.c_str());
            }
            break;
        case CloudSyncStep::Download:
            if (DownloadCloudFile(name.c_str(), path.c_str(), nullptr, &stated, &written)) {
                record.Set(name, written, stated);
            }
            break;
        case CloudSyncStep::DeleteLocal:
            if (RemoveFile(path.c_str())) {
                printf("'%s' was deleted in another user folder; deleted here too\n", name.c_str());
                record.Erase(name);
                deleted.insert(name);
            }
            break;
        case CloudSyncStep::DeleteCloud:
            if (storage->FileDelete(name.c_str())) {
                record.Erase(name);
                deleted.insert(name);
            }
            break;
        }
    }
    record.Save();
    SaveSlots.clear();
    ReadSaveIndex(nullptr);
}

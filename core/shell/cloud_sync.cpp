// The start-up step of the cloud copies (see cloud_sync.h).
#include "core/shell/cloud_sync.h"

#include "core/shell/saved_games.h"
#include "interface/ui_services.h"
#include "platform/platform.h"
#include "store_platform/cloud_files.h"
#include "store_platform/remote_storage.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

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

// The user files that have cloud copies, in upload order: the last build, the high scores,
// the save index, then each listed save with its thumbnail.
std::vector<std::string> LocalUserFileNames() {
    std::vector<std::string> names = {"last.txt", "hiscores.txt", "loadsave.dat"};
    ReadSaveIndex(nullptr);
    for (const SaveSlot& slot : SaveSlots) {
        if (slot.fileName.empty()) continue;
        names.push_back(slot.fileName);
        names.push_back("bitmap_" + slot.fileName);
    }
    // Saves the index does not list are the player's too.
    DirScan scan;
    const std::string pattern = GetUserDataPath() + "*.sav";
    for (int rc = FindFirstEntry(pattern.c_str(), &scan); rc == 0; rc = FindNextEntry(&scan)) {
        if (scan.isDirectory) continue;
        bool listed = false;
        for (const std::string& n : names) listed |= n == scan.name;
        if (!listed) {
            names.push_back(scan.name);
            names.push_back(std::string("bitmap_") + scan.name);
        }
    }
    return names;
}

}  // namespace

void InitSteamCloud(bool& clearCloud) {
    const bool clearRequested = clearCloud;
    clearCloud = false;
    StoreRemoteStorage* storage = GetCloudStorage();
    if (storage == nullptr) return;
    if (clearRequested) AskAndEmptyCloud(storage);

    const std::string user = GetUserDataPath();
    if (user.empty()) return;
    // Seeds an empty cloud, and gives the cloud every user file it lacks.
    for (const std::string& name : LocalUserFileNames()) {
        if (!IsSafeCloudName(name.c_str()) || storage->FileExists(name.c_str())) continue;
        const std::string local = user + name;
        if (FILE* f = OpenRegularFile(local)) {
            fclose(f);
            UploadCloudFile(local.c_str(), name.c_str());
        }
    }

    std::vector<std::string> names;
    const int32_t count = storage->GetFileCount();
    for (int32_t i = 0; i < count; ++i) {
        const char* name = storage->GetFileNameAndSize(i, nullptr);
        if (name != nullptr) names.push_back(name);
    }
    for (const std::string& name : names) {
        if (!IsSafeCloudName(name.c_str())) {
            printf("Cloud file '%s' is not a user file name; not restored\n", name.c_str());
            continue;
        }
        // The local file is replaced only by a copy that decoded completely.
        DownloadCloudFile(name.c_str(), (user + name).c_str(), nullptr);
    }
}

// The start-up step of the cloud copies: which local files survive, which are replaced, what
// is uploaded, and the clear-cloud question.
#include "core/shell/cloud_sync.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>
#include <unistd.h>

#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/shell/saved_games.h"
#include "core/shell/shell_services.h"
#include "interface/menu_test_fixture.h"
#include "platform/atomic_file.h"
#include "store_platform/cloud_files.h"
#include "store_platform/remote_storage.h"
#include "store_platform/store.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

// The user files of one player: the last build, the high scores, an index listing one save,
// the save and its thumbnail.
const std::map<std::string, std::string> kPlayerFiles = {
    {"last.txt", "3 7 12 1 9 4 22\n"},
    {"hiscores.txt", "Morwen 4410\n"},
    {"bitmap_Morwen.sav", std::string("BM\0\0picture", 11)},
    {"Morwen.sav", std::string("save\0\x01\x02 bytes", 13)},
};

class CloudSyncTest : public testing::Test {
protected:
    void SetUp() override {
        SteamAPI_Shutdown();
        savedSwitch_ = enableSteamCloud;
        enableSteamCloud = 1;
        ResetCloudStorageLookup();
        ASSERT_TRUE(SteamAPI_Init());
    }
    void TearDown() override {
        SteamAPI_Shutdown();
        ResetCloudStorageLookup();
        enableSteamCloud = savedSwitch_;
        SaveSlots.clear();
    }
    std::string Local(const std::string& name) const { return user_.path() + "/" + name; }
    // Writes the player's files and an index listing the save.
    void WritePlayerFiles() {
        for (const auto& f : kPlayerFiles) ASSERT_TRUE(MakeFileWithParents(Local(f.first), f.second));
        SaveSlots.clear();
        SaveSlot slot;
        slot.fileName = "Morwen.sav";
        slot.line1 = "Morwen the Bold";
        slot.line2 = "on Floor 2 of the Gloomwood";
        SaveSlots.push_back(slot);
        ASSERT_TRUE(WriteSaveIndex());
    }
    void ExpectPlayerFiles() {
        for (const auto& f : kPlayerFiles) EXPECT_EQ(ReadWholeFile(Local(f.first)), f.second) << f.first;
        EXPECT_TRUE(FileExists(Local("loadsave.dat")));
    }
    void Sync(bool clear = false) {
        bool request = clear;
        testing::internal::CaptureStdout();
        InitSteamCloud(request);
        printed_ = testing::internal::GetCapturedStdout();
        EXPECT_FALSE(request) << "the request is cleared";
    }

    // The cloud's copy of a user file, decoded ("<none>" when the cloud lacks it).
    std::string CloudText(const std::string& name) {
        StoreRemoteStorage* storage = SteamRemoteStorage();
        if (!storage->FileExists(name.c_str())) return "<none>";
        std::string bytes(static_cast<size_t>(storage->GetFileSize(name.c_str())), '\0');
        if (!bytes.empty()) storage->FileRead(name.c_str(), &bytes[0], static_cast<int32_t>(bytes.size()));
        std::string data;
        return DecodeCloudFile(bytes, &data, nullptr) ? data : "<broken>";
    }
    // Moves a file's last write `seconds` into the past.
    static void SetAge(const std::string& path, int seconds) {
        struct utimbuf times;
        times.actime = times.modtime = time(nullptr) - seconds;
        ASSERT_EQ(utime(path.c_str(), &times), 0) << path;
    }
    // The file names the local save index lists.
    std::vector<std::string> IndexedSaves() {
        ReadSaveIndex(nullptr);
        std::vector<std::string> names;
        for (const SaveSlot& slot : SaveSlots) names.push_back(slot.fileName);
        return names;
    }
    // A save made in play: its file, then a slot at the head of the index (each uploaded).
    void SaveHero(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(WriteFileAtomically(Local(name), bytes));
        UploadCloudFile(Local(name).c_str(), name.c_str());
        ReadSaveIndex(nullptr);
        RemoveSaveSlot(name.c_str());
        SaveSlot slot;
        slot.fileName = name;
        slot.line1 = name + " the Brave";
        SaveSlots.insert(SaveSlots.begin(), slot);
        WriteSaveIndex();
    }

    TempDir user_;
    TempDir store_;
    ScopedEnv userEnv_{"VAULTMERE_USER_DIR", user_.path().c_str()};
    ScopedEnv storeEnv_{"VAULTMERE_STORE_DIR", store_.path().c_str()};
    int32_t savedSwitch_ = 1;
    std::string printed_;
};

}  // namespace

TEST_F(CloudSyncTest, AnEmptyCloudIsSeededAndTheLocalFilesStay) {
    WritePlayerFiles();
    Sync();
    ExpectPlayerFiles();
    StoreRemoteStorage* storage = SteamRemoteStorage();
    for (const auto& f : kPlayerFiles) EXPECT_TRUE(storage->FileExists(f.first.c_str())) << f.first;
    EXPECT_TRUE(storage->FileExists("loadsave.dat"));
    EXPECT_EQ(storage->GetFileCount(), 5);
}

TEST_F(CloudSyncTest, ACloudHoldingOnlyPublisherTemporariesLosesNoLocalFile) {
    WritePlayerFiles();
    StoreRemoteStorage* storage = SteamRemoteStorage();
    ASSERT_TRUE(storage->FileWrite("workshop-0123456789ABCDEF.dat", "PK\3\4zip", 7));
    ASSERT_TRUE(storage->FileWrite("workshop-preview-0123456789ABCDEF.png", "\x89PNG", 4));
    Sync();
    ExpectPlayerFiles();
    EXPECT_FALSE(FileExists(Local("workshop-0123456789ABCDEF.dat")));
    EXPECT_FALSE(FileExists(Local("workshop-preview-0123456789ABCDEF.png")));
    for (const auto& f : kPlayerFiles) EXPECT_TRUE(storage->FileExists(f.first.c_str())) << "uploaded: " << f.first;
}

TEST_F(CloudSyncTest, TheCloudsCopiesReplaceLocalOnesAndUnsafeNamesAreNotWritten) {
    // Another machine's files in the cloud.
    TempDir other;
    for (const auto& f : kPlayerFiles) {
        ASSERT_TRUE(MakeFileWithParents(other.file(f.first), f.second));
        ASSERT_TRUE(UploadCloudFile(other.file(f.first).c_str(), f.first.c_str()));
    }
    ASSERT_TRUE(MakeFileWithParents(other.file("evil"), "payload"));
    ASSERT_TRUE(UploadCloudFile(other.file("evil").c_str(), "../evil"));
    ASSERT_TRUE(UploadCloudFile(other.file("evil").c_str(), "sub/evil"));
    // This machine: an older high-score table, and a save the cloud lacks.
    ASSERT_TRUE(MakeFileWithParents(Local("hiscores.txt"), "Older 10\n"));
    SetAge(Local("hiscores.txt"), 3600);
    ASSERT_TRUE(MakeFileWithParents(Local("Local.sav"), "only here"));
    Sync();
    for (const auto& f : kPlayerFiles) EXPECT_EQ(ReadWholeFile(Local(f.first)), f.second) << f.first;
    EXPECT_EQ(ReadWholeFile(Local("Local.sav")), "only here");
    EXPECT_TRUE(SteamRemoteStorage()->FileExists("Local.sav"));
    EXPECT_FALSE(FileExists(user_.path() + "/../evil"));
    EXPECT_FALSE(FileExists(Local("sub/evil")));
    EXPECT_NE(printed_.find("'../evil' is not a user file name"), std::string::npos) << printed_;
}

TEST_F(CloudSyncTest, ALocalFileChangedSinceTheLastCopyIsUploadedNotReplaced) {
    // A kill between the local rename and the cloud copy, or a refused cloud write, leaves the
    // cloud's copy stale; the next start keeps the local file and uploads it.
    struct Case {
        const char* file;
        const char* contents;
        bool refused;
    } cases[] = {
        {"Morwen.sav", "save\x01 after ten more floors", false},
        {"Morwen.sav", "save\x01 after eleven more floors", true},
        {"hiscores.txt", "Morwen 9000\nMorwen 4410\n", false},
        {"hiscores.txt", "Morwen 9100\nMorwen 4410\n", true},
        {"last.txt", "3 7 12 1 9 4 23\n", false},
        {"bitmap_Morwen.sav", "BM newer picture", true},
    };
    WritePlayerFiles();
    Sync();
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteFileAtomically(Local(c.file), c.contents));
        if (c.refused) {
            StoreFaults faults;
            faults.cloudRefuseWrite = true;
            SetStoreFaults(faults);
            EXPECT_FALSE(UploadCloudFile(Local(c.file).c_str(), c.file));
            SetStoreFaults(StoreFaults());
        }
        Sync();
        EXPECT_EQ(ReadWholeFile(Local(c.file)), c.contents) << c.file << (c.refused ? " (refused)" : " (killed)");
        EXPECT_EQ(CloudText(c.file), c.contents) << c.file;
        Sync();
        EXPECT_EQ(ReadWholeFile(Local(c.file)), c.contents) << c.file << ", a second start";
    }
}

TEST_F(CloudSyncTest, ASaveMadeWhileTheCloudRefusedWritesSurvivesTheNextStart) {
    WritePlayerFiles();
    Sync();  // the first run
    // The second run saves a second hero while every cloud write is refused.
    StoreFaults faults;
    faults.cloudRefuseWrite = true;
    SetStoreFaults(faults);
    SaveHero("Sefton.sav", "Sefton's save");
    SetStoreFaults(StoreFaults());
    ASSERT_EQ(IndexedSaves(), (std::vector<std::string>{"Sefton.sav", "Morwen.sav"}));
    const std::string index = ReadWholeFile(Local("loadsave.dat"));
    // A plain third run.
    Sync();
    EXPECT_EQ(IndexedSaves(), (std::vector<std::string>{"Sefton.sav", "Morwen.sav"}));
    EXPECT_EQ(ReadWholeFile(Local("Sefton.sav")), "Sefton's save");
    EXPECT_EQ(CloudText("loadsave.dat"), index);
    EXPECT_EQ(CloudText("Sefton.sav"), "Sefton's save");
}

TEST_F(CloudSyncTest, TwoUserFoldersOnOneCloudCarryChangesAndDeletions) {
    TempDir other;
    auto inOther = [&](const std::function<void()>& step) {
        ScopedEnv otherUser("VAULTMERE_USER_DIR", other.path().c_str());
        step();
    };
    WritePlayerFiles();
    SaveHero("Sefton.sav", "Sefton's save");
    Sync();
    inOther([&] { Sync(); });
    EXPECT_EQ(ReadWholeFile(other.file("Morwen.sav")), kPlayerFiles.at("Morwen.sav"));

    // Here: Morwen's save is deleted and the high scores change.
    ASSERT_TRUE(DeleteSaveGame("Morwen.sav", true));
    ASSERT_TRUE(WriteFileAtomically(Local("hiscores.txt"), "Sefton 7000\n"));
    ASSERT_TRUE(UploadCloudFile(Local("hiscores.txt").c_str(), "hiscores.txt"));
    // There: a new hero is saved while the cloud refuses writes, so both indexes changed.
    inOther([&] {
        StoreFaults faults;
        faults.cloudRefuseWrite = true;
        SetStoreFaults(faults);
        ASSERT_TRUE(WriteFileAtomically(other.file("Aldith.sav"), "Aldith's save"));
        ReadSaveIndex(nullptr);
        SaveSlot slot;
        slot.fileName = "Aldith.sav";
        SaveSlots.insert(SaveSlots.begin(), slot);
        WriteSaveIndex();
        SetStoreFaults(StoreFaults());
        SetAge(other.file("loadsave.dat"), 60);
        testing::internal::CaptureStdout();
        bool request = false;
        InitSteamCloud(request);
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_NE(printed.find("'Morwen.sav' was deleted in another user folder"), std::string::npos) << printed;
        EXPECT_FALSE(FileExists(other.file("Morwen.sav")));
        EXPECT_FALSE(FileExists(other.file("bitmap_Morwen.sav")));
        EXPECT_EQ(IndexedSaves(), (std::vector<std::string>{"Sefton.sav", "Aldith.sav"}));
        EXPECT_EQ(ReadWholeFile(other.file("hiscores.txt")), "Sefton 7000\n");
    });
    EXPECT_EQ(CloudText("Morwen.sav"), "<none>");
    EXPECT_EQ(CloudText("bitmap_Morwen.sav"), "<none>");
    EXPECT_EQ(CloudText("Aldith.sav"), "Aldith's save");
    // Back here the deletion holds and the other folder's hero arrives.
    Sync();
    EXPECT_FALSE(FileExists(Local("Morwen.sav")));
    EXPECT_EQ(IndexedSaves(), (std::vector<std::string>{"Sefton.sav", "Aldith.sav"}));
    EXPECT_EQ(ReadWholeFile(Local("Aldith.sav")), "Aldith's save");
}

TEST_F(CloudSyncTest, EachStepFollowsTheSideThatChangedSinceTheLastCopy) {
    const CloudFileHash a{0x11111111u, 10}, b{0x22222222u, 12}, c{0x33333333u, 14}, empty{0, 0};
    const CloudSyncRecord::Entry lastA{a, a};
    using S = CloudSyncStep;
    struct Case {
        const char* name;
        bool local, cloud;
        CloudFileHash localHash, cloudHash;
        bool hasLast;
        bool deletable;
        int64_t localTime, cloudTime;
        bool broken;
        S step;
    } cases[] = {
        {"both alike", true, true, a, a, true, true, 5, 5, false, S::Keep},
        {"neither side", false, false, a, a, true, true, 5, 5, false, S::Keep},
        {"cloud changed", true, true, a, b, true, true, 9, 5, false, S::Download},
        {"local changed", true, true, b, a, true, true, 5, 9, false, S::Upload},
        {"both changed, cloud later", true, true, b, c, true, true, 5, 9, false, S::Download},
        {"both changed, local later", true, true, b, c, true, true, 9, 5, false, S::Upload},
        {"both changed, same second", true, true, b, c, true, true, 5, 5, false, S::Upload},
        {"never copied, cloud later", true, true, b, c, false, true, 5, 9, false, S::Download},
        {"never copied, local later", true, true, b, c, false, true, 9, 5, false, S::Upload},
        {"empty cloud copy is newer", true, true, a, empty, true, true, 5, 9, false, S::Upload},
        {"empty cloud copy, no record", true, true, b, empty, false, true, 5, 9, false, S::Upload},
        // A save is never empty: an emptied one is damage, and the cloud's copy comes back.
        {"emptied local save", true, true, empty, a, true, true, 9, 5, false, S::Download},
        {"empty local save, no record", true, true, empty, b, false, true, 9, 5, false, S::Download},
        {"emptied high scores", true, true, empty, a, true, false, 9, 5, false, S::Upload},
        {"new local file", true, false, b, a, false, true, 5, 0, false, S::Upload},
        {"changed, cloud deleted", true, false, b, a, true, true, 5, 0, false, S::Upload},
        {"unchanged, cloud deleted", true, false, a, a, true, true, 5, 0, false, S::DeleteLocal},
        {"unchanged index, cloud lost", true, false, a, a, true, false, 5, 0, false, S::Upload},
        {"new cloud file", false, true, a, b, false, true, 0, 5, false, S::Download},
        {"cloud changed, local deleted", false, true, a, b, true, true, 0, 5, false, S::Download},
        {"local deleted", false, true, a, a, true, true, 0, 5, false, S::DeleteCloud},
        {"local index lost", false, true, a, a, true, false, 0, 5, false, S::Download},
        {"broken cloud copy", true, true, a, b, true, true, 5, 9, true, S::Upload},
        {"broken cloud copy only", false, true, a, b, false, true, 0, 9, true, S::Keep},
    };
    for (const Case& k : cases) {
        CloudSyncSide local, cloud;
        local.present = k.local;
        local.hash = k.localHash;
        local.time = k.localTime;
        cloud.present = k.cloud;
        cloud.hash = k.cloudHash;
        cloud.time = k.cloudTime;
        cloud.broken = k.broken;
        EXPECT_EQ(static_cast<int>(DecideCloudSyncStep(local, cloud, k.hasLast ? &lastA : nullptr, k.deletable)),
                  static_cast<int>(k.step))
            << k.name;
    }
}

TEST_F(CloudSyncTest, HostileCloudCopiesLeaveTheLocalFilesAsTheyWere) {
    WritePlayerFiles();
    Sync();
    StoreRemoteStorage* storage = SteamRemoteStorage();
    // An empty save, an empty index, and a twelve-byte file claiming 256 MB.
    ASSERT_TRUE(storage->FileWrite("Morwen.sav", "", 0));
    ASSERT_TRUE(storage->FileWrite("loadsave.dat", "", 0));
    ASSERT_TRUE(storage->FileWrite("hiscores.txt", std::string("\0\0\0\0\0\0\0\x10\x78\x01\x03\0", 12).data(), 12));
    const std::string index = ReadWholeFile(Local("loadsave.dat"));
    // A named pipe among the saves is never opened for reading: nothing would write to it.
    ASSERT_EQ(mkfifo(Local("pipe.sav").c_str(), 0600), 0);
    Sync();
    ExpectPlayerFiles();
    EXPECT_FALSE(SteamRemoteStorage()->FileExists("pipe.sav"));
    EXPECT_EQ(ReadWholeFile(Local("loadsave.dat")), index);
    EXPECT_EQ(CloudText("Morwen.sav"), kPlayerFiles.at("Morwen.sav")) << "the good copy goes up again";
    EXPECT_EQ(CloudText("hiscores.txt"), kPlayerFiles.at("hiscores.txt"));
    EXPECT_EQ(CloudText("loadsave.dat"), index);
}

// A side whose file is there but cannot be read (a named pipe or a folder in its place, a read
// error) has not lost the file: the other side's copy is neither deleted nor written over it.
TEST_F(CloudSyncTest, AFileOneSideCannotReadIsNeitherDeletedNorReplaced) {
    WritePlayerFiles();
    SaveHero("Sefton.sav", "Sefton's save");
    Sync();
    const std::string cloud = StoreRemoteStorage::CloudFolder();
    // In the cloud: a pipe instead of Morwen's save, a folder instead of her picture.
    ASSERT_EQ(unlink((cloud + "Morwen.sav").c_str()), 0);
    ASSERT_EQ(mkfifo((cloud + "Morwen.sav").c_str(), 0600), 0);
    ASSERT_EQ(unlink((cloud + "bitmap_Morwen.sav").c_str()), 0);
    ASSERT_EQ(mkdir((cloud + "bitmap_Morwen.sav").c_str(), 0700), 0);
    // Here: a pipe instead of Sefton's save, a folder instead of his picture.
    ASSERT_TRUE(MakeFileWithParents(Local("bitmap_Sefton.sav"), "BM Sefton"));
    ASSERT_TRUE(UploadCloudFile(Local("bitmap_Sefton.sav").c_str(), "bitmap_Sefton.sav"));
    ASSERT_EQ(unlink(Local("Sefton.sav").c_str()), 0);
    ASSERT_EQ(mkfifo(Local("Sefton.sav").c_str(), 0600), 0);
    ASSERT_EQ(unlink(Local("bitmap_Sefton.sav").c_str()), 0);
    ASSERT_EQ(mkdir(Local("bitmap_Sefton.sav").c_str(), 0700), 0);
    for (int start = 1; start <= 2; ++start) {
        Sync();
        EXPECT_EQ(ReadWholeFile(Local("Morwen.sav")), kPlayerFiles.at("Morwen.sav")) << "start " << start;
        EXPECT_EQ(ReadWholeFile(Local("bitmap_Morwen.sav")), kPlayerFiles.at("bitmap_Morwen.sav")) << start;
        EXPECT_EQ(CloudText("Sefton.sav"), "Sefton's save") << "start " << start << "\n" << printed_;
        EXPECT_EQ(CloudText("bitmap_Sefton.sav"), "BM Sefton") << "start " << start;
        EXPECT_EQ(IndexedSaves(), (std::vector<std::string>{"Sefton.sav", "Morwen.sav"})) << start;
    }
}

// The record of the last copies is only a hint: damaged, cut, hostile or no file at all, a save
// made after the last copy (the game died before its cloud copy) is kept and uploaded.
TEST_F(CloudSyncTest, ADamagedRecordOfTheLastCopiesNeverCostsTheNewerSave) {
    const std::string newer = "save\x01 after three more floors";
    const std::string maxed = "ffffffff 4294967295 ffffffff 4294967295 Morwen.sav\n";
    const struct Case {
        const char* label;
        std::function<void(const std::string&, const std::string&)> damage;
    } cases[] = {
        {"cut in a line", [](const std::string& path, const std::string& text) {
             WriteWholeFile(path, text.substr(0, text.find("Morwen.sav") - 3));
         }},
        {"empty", [](const std::string& path, const std::string&) { WriteWholeFile(path, ""); }},
        {"missing fields", [](const std::string& path, const std::string& text) {
             WriteWholeFile(path, text.substr(0, text.find('\n') + 1) + "Morwen.sav\n12 Morwen.sav\n");
         }},
        {"huge numbers", [&](const std::string& path, const std::string& text) {
             WriteWholeFile(path, text.substr(0, text.find('\n') + 1) + maxed +
                                      "99999999999999999999 1 2 3 Morwen.sav\n" + std::string(1 << 16, 'x'));
         }},
        {"larger than any record", [](const std::string& path, const std::string& text) {
             WriteWholeFile(path, text + std::string(5 << 20, '\n'));
         }},
        {"a folder", [](const std::string& path, const std::string&) {
             std::remove(path.c_str());
             ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
         }},
        {"a pipe", [](const std::string& path, const std::string&) {
             std::remove(path.c_str());
             ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        WritePlayerFiles();
        Sync();
        const std::string path = CloudSyncRecord::Path();
        const std::string text = ReadWholeFile(path);
        ASSERT_NE(text.find("Morwen.sav"), std::string::npos) << text;
        // The newer save is on the disk; its cloud copy never started.
        ASSERT_TRUE(WriteFileAtomically(Local("Morwen.sav"), newer));
        c.damage(path, text);
        Sync();
        EXPECT_EQ(ReadWholeFile(Local("Morwen.sav")), newer) << printed_;
        EXPECT_EQ(CloudText("Morwen.sav"), newer) << printed_;
        EXPECT_EQ(IndexedSaves(), (std::vector<std::string>{"Morwen.sav"}));
        // A second start changes nothing.
        Sync();
        EXPECT_EQ(ReadWholeFile(Local("Morwen.sav")), newer) << printed_;
        rmdir(path.c_str());
        std::remove(path.c_str());
    }
}

TEST_F(CloudSyncTest, WithTheSwitchOffNothingMovesAndNoQuestionIsAsked) {
    enableSteamCloud = 0;
    ResetCloudStorageLookup();
    WritePlayerFiles();
    TempDir other;
    ASSERT_TRUE(MakeFileWithParents(other.file("x"), "cloud copy"));
    {
        enableSteamCloud = 1;
        ResetCloudStorageLookup();
        ASSERT_TRUE(UploadCloudFile(other.file("x").c_str(), "Other.sav"));
        enableSteamCloud = 0;
        ResetCloudStorageLookup();
    }
    Sync(true);  // would block in the question without a screen if it were asked
    ExpectPlayerFiles();
    EXPECT_FALSE(FileExists(Local("Other.sav")));
    EXPECT_FALSE(SteamRemoteStorage()->FileExists("hiscores.txt"));
}

namespace {

class CloudClearTest : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        if (IsSkipped()) return;
        storeEnv_.reset(new ScopedEnv("VAULTMERE_STORE_DIR", store_.path().c_str()));
        SteamAPI_Shutdown();
        savedSwitch_ = enableSteamCloud;
        enableSteamCloud = 1;
        ResetCloudStorageLookup();
        ASSERT_TRUE(SteamAPI_Init());
    }
    void TearDown() override {
        SteamAPI_Shutdown();
        ResetCloudStorageLookup();
        enableSteamCloud = savedSwitch_;
        storeEnv_.reset();
        MenuScreenTest::TearDown();
    }
    TempDir store_;
    std::unique_ptr<ScopedEnv> storeEnv_;
    int32_t savedSwitch_ = 1;
};

}  // namespace

TEST_F(CloudClearTest, YesEmptiesTheCloudAndSeedsItAgainNoKeepsIt) {
    StoreRemoteStorage* storage = SteamRemoteStorage();
    ASSERT_TRUE(MakeFileWithParents(user_.file("hiscores.txt"), "Mine 5\n"));
    ASSERT_TRUE(storage->FileWrite("Stale.sav", "junk", 4));

    // No: the cloud keeps its files.
    Script("wait 40\nclick 1 740 458\nwait 40\nclick 1 640 458");
    bool request = true;
    InitSteamCloud(request);
    EXPECT_FALSE(request);
    EXPECT_TRUE(storage->FileExists("Stale.sav"));

    // Yes: emptied, then seeded from the local files in the same start-up.
    Script("wait 40\nclick 1 540 458\nwait 40\nclick 1 640 458");
    request = true;
    testing::internal::CaptureStdout();
    InitSteamCloud(request);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("Nuking Steam Cloud!\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("  - Nuking 'Stale.sav'!\n"), std::string::npos) << printed;
    EXPECT_FALSE(storage->FileExists("Stale.sav"));
    EXPECT_TRUE(storage->FileExists("hiscores.txt"));
    EXPECT_EQ(ReadWholeFile(user_.file("hiscores.txt")), "Mine 5\n");
}

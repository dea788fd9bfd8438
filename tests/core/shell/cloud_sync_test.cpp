// The start-up step of the cloud copies: which local files survive, which are replaced, what
// is uploaded, and the clear-cloud question.
#include "core/shell/cloud_sync.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/shell/saved_games.h"
#include "core/shell/shell_services.h"
#include "interface/menu_test_fixture.h"
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
    ASSERT_TRUE(MakeFileWithParents(Local("Local.sav"), "only here"));
    Sync();
    for (const auto& f : kPlayerFiles) EXPECT_EQ(ReadWholeFile(Local(f.first)), f.second) << f.first;
    EXPECT_EQ(ReadWholeFile(Local("Local.sav")), "only here");
    EXPECT_TRUE(SteamRemoteStorage()->FileExists("Local.sav"));
    EXPECT_FALSE(FileExists(user_.path() + "/../evil"));
    EXPECT_FALSE(FileExists(Local("sub/evil")));
    EXPECT_NE(printed_.find("'../evil' is not a user file name"), std::string::npos) << printed_;
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

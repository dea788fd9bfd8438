// The local store stand-in: achievements and statistics kept in the user folder.
#include "store_platform/store.h"

#include "store_platform/leaderboards.h"
#include "store_platform/remote_storage.h"
#include "store_platform/stats.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/atomic_file.h"
#include "platform/platform.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

class LocalStoreTest : public testing::Test {
protected:
    void SetUp() override { SteamAPI_Shutdown(); }
    void TearDown() override { SteamAPI_Shutdown(); }
    TempDir tmp_;
    ScopedEnv user_{"VAULTMERE_USER_DIR", tmp_.path().c_str()};
};

}  // namespace

TEST_F(LocalStoreTest, AchievementsAndStatsAreStoredInTheUserFolderAndReloaded) {
    EXPECT_EQ(SteamUserStats(), nullptr);
    ASSERT_TRUE(SteamAPI_Init());
    InitSteamStats();
    StoreUserStats* stats = SteamUserStats();
    ASSERT_NE(stats, nullptr);
    EXPECT_EQ(StoreUserStats::StatsFilePath(), tmp_.path() + "/store/stats.txt");

    bool achieved = true;
    ASSERT_TRUE(stats->GetAchievement("ACHIEVEMENT_CRASH_GAME", &achieved));
    EXPECT_FALSE(achieved);
    EXPECT_TRUE(stats->SetAchievement("ACHIEVEMENT_CRASH_GAME"));
    EXPECT_TRUE(stats->SetAchievement("ACHIEVEMENT_ACCIDENTS_HAPPEN"));
    EXPECT_TRUE(stats->SetStat("STAT_DEATHS", 3));
    EXPECT_TRUE(stats->SetStat("STAT_DEATHS", -2147483647 - 1));
    EXPECT_TRUE(stats->SetStat("STAT_GOLD", 2147483647));
    ASSERT_TRUE(stats->StoreStats());

    EXPECT_EQ(ReadWholeFile(tmp_.path() + "/store/stats.txt"),
              "achievement ACHIEVEMENT_ACCIDENTS_HAPPEN\n"
              "achievement ACHIEVEMENT_CRASH_GAME\n"
              "stat STAT_DEATHS -2147483648\n"
              "stat STAT_GOLD 2147483647\n");

    // A later run sees the same values.
    SteamAPI_Shutdown();
    EXPECT_EQ(SteamUserStats(), nullptr);
    ASSERT_TRUE(SteamAPI_Init());
    InitSteamStats();
    stats = SteamUserStats();
    ASSERT_NE(stats, nullptr);
    achieved = false;
    ASSERT_TRUE(stats->GetAchievement("ACHIEVEMENT_CRASH_GAME", &achieved));
    EXPECT_TRUE(achieved);
    ASSERT_TRUE(stats->GetAchievement("ACHIEVEMENT_GUESS_WHOS_COMING_TO_DINNER", &achieved));
    EXPECT_FALSE(achieved);
    int32_t value = 0;
    ASSERT_TRUE(stats->GetStat("STAT_DEATHS", &value));
    EXPECT_EQ(value, -2147483647 - 1);
    ASSERT_TRUE(stats->GetStat("STAT_GOLD", &value));
    EXPECT_EQ(value, 2147483647);
    EXPECT_FALSE(stats->GetStat("STAT_NEVER_SET", &value));
}

TEST_F(LocalStoreTest, BadNamesAreRefusedAndABrokenFileLoadsOnlyItsGoodLines) {
    ASSERT_TRUE(SteamAPI_Init());
    StoreUserStats* stats = SteamUserStats();
    bool achieved = false;
    int32_t value = 0;
    for (const char* bad : {"", "two words", "new\nline", "tab\there"}) {
        EXPECT_FALSE(stats->SetAchievement(bad)) << bad;
        EXPECT_FALSE(stats->SetStat(bad, 1)) << bad;
    }
    EXPECT_FALSE(stats->SetAchievement(nullptr));
    EXPECT_FALSE(stats->GetAchievement(nullptr, &achieved));
    EXPECT_FALSE(stats->GetAchievement("A", nullptr));
    EXPECT_FALSE(stats->GetStat("A", nullptr));

    ASSERT_TRUE(MakeFileWithParents(tmp_.path() + "/store/stats.txt",
                                    "achievement GOOD_ONE\n"
                                    "achievement\n"
                                    "achievement TOO MANY\n"
                                    "stat FINE 42\n"
                                    "stat HUGE 99999999999\n"
                                    "stat WORDY forty\n"
                                    "stat NOVALUE\n"
                                    "garbage line here\n"
                                    "\n" +
                                        std::string(2000, 'x') + "\n"
                                    "achievement LAST_ONE"));
    testing::internal::CaptureStdout();
    EXPECT_TRUE(stats->RequestCurrentStats());
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("stats.txt:2:"), std::string::npos) << printed;

    ASSERT_TRUE(stats->GetAchievement("GOOD_ONE", &achieved));
    EXPECT_TRUE(achieved);
    ASSERT_TRUE(stats->GetAchievement("LAST_ONE", &achieved));
    EXPECT_TRUE(achieved);
    ASSERT_TRUE(stats->GetAchievement("TOO", &achieved));
    EXPECT_FALSE(achieved);
    ASSERT_TRUE(stats->GetStat("FINE", &value));
    EXPECT_EQ(value, 42);
    for (const char* missing : {"HUGE", "WORDY", "NOVALUE"}) EXPECT_FALSE(stats->GetStat(missing, &value)) << missing;
}

TEST_F(LocalStoreTest, WithoutARunningStoreTheCloudIsUnavailable) {
    ResetCloudStorageLookup();
    ASSERT_TRUE(MakeFileWithParents(tmp_.path() + "/hiscores.txt", "scores"));
    EXPECT_EQ(SteamRemoteStorage(), nullptr);
    EXPECT_FALSE(UploadCloudFile((tmp_.path() + "/hiscores.txt").c_str(), "hiscores.txt"));
    EXPECT_FALSE(DeleteCloudFile("hiscores.txt"));
    ResetCloudStorageLookup();

    // The remote storage can be absent from a running store.
    ASSERT_TRUE(MakeFileWithParents(tmp_.path() + "/store/faults.txt", "absent remote-storage\ncloud-quota 12\n"));
    ASSERT_TRUE(SteamAPI_Init());
    EXPECT_EQ(SteamRemoteStorage(), nullptr);
    EXPECT_EQ(CurrentStoreFaults().cloudQuota, 12);
    EXPECT_FALSE(UploadCloudFile((tmp_.path() + "/hiscores.txt").c_str(), "hiscores.txt"));
    ResetCloudStorageLookup();
}

TEST_F(LocalStoreTest, TheRootIsNoStoreFolderForAnyPartOfTheStore) {
    const bool cloudBefore = FileExists("/cloud");
    const bool workshopBefore = FileExists("/workshop");
    for (const char* root : {"/", "//", "/./", "/tmp/.."}) {
        ScopedEnv store("VAULTMERE_STORE_DIR", root);
        testing::internal::CaptureStdout();
        ASSERT_TRUE(SteamAPI_Init());
        InitSteamStats();
        ASSERT_EQ(SteamRemoteStorage(), nullptr) << root << ": no cloud files and no workshop";
        StoreUserStats* stats = SteamUserStats();
        ASSERT_NE(stats, nullptr);
        EXPECT_TRUE(stats->SetAchievement("ACHIEVEMENT_CRASH_GAME"));
        EXPECT_FALSE(stats->StoreStats()) << root;
        SteamAPI_Shutdown();
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_NE(printed.find("(it is the root folder)"), std::string::npos) << root << ": " << printed;
        EXPECT_EQ(StoreRemoteStorage::CloudFolder(), "") << root;
        EXPECT_EQ(StoreRemoteStorage::WorkshopFolder(), "") << root;
    }
    EXPECT_EQ(FileExists("/cloud"), cloudBefore);
    EXPECT_EQ(FileExists("/workshop"), workshopBefore);
    EXPECT_FALSE(FileExists("/stats.txt"));

    // A folder of its own is used, wherever it is named from.
    const std::string own = tmp_.path() + "/shared/../store";
    ScopedEnv store("VAULTMERE_STORE_DIR", own.c_str());
    ASSERT_TRUE(SteamAPI_Init());
    EXPECT_NE(SteamRemoteStorage(), nullptr);
    EXPECT_EQ(StoreRemoteStorage::CloudFolder(), own + "/cloud/");
    EXPECT_EQ(StoreFolderProblem(""), "there is no user folder to hold it");
}

TEST(StoreFaultsParsing, CloudAndWorkshopFaultsAreReadAndBadLinesReported) {
    testing::internal::CaptureStdout();
    const StoreFaults f = ParseStoreFaults(
        "cloud-refuse-write\nio-failure details\nio-failure download\nio-failure sideways\nshort-read\n"
        "empty-page\ndetails-other-id\ndownload-size -7\ncloud-quota -1\n",
        "faults.txt");
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(f.cloudRefuseWrite);
    EXPECT_EQ(f.ioFailureKinds, (std::set<std::string>{"details", "download"}));
    EXPECT_TRUE(f.shortRead);
    EXPECT_TRUE(f.emptyPage);
    EXPECT_TRUE(f.detailsOtherId);
    EXPECT_TRUE(f.downloadSizeSet);
    EXPECT_EQ(f.downloadSize, -7);
    EXPECT_EQ(f.cloudQuota, -1);
    EXPECT_NE(printed.find("faults.txt:4: unknown store fault ignored"), std::string::npos) << printed;
    EXPECT_NE(printed.find("faults.txt:9: unknown store fault ignored"), std::string::npos) << printed;
}

TEST_F(LocalStoreTest, AFailedStoreKeepsThePreviousFile) {
    ASSERT_TRUE(SteamAPI_Init());
    StoreUserStats* stats = SteamUserStats();
    ASSERT_TRUE(stats->SetStat("STAT_DEATHS", 1));
    ASSERT_TRUE(stats->StoreStats());
    const std::string before = ReadWholeFile(StoreUserStats::StatsFilePath());
    ASSERT_TRUE(stats->SetAchievement("ACHIEVEMENT_CRASH_GAME"));
    SetAtomicWriteHook([](AtomicWriteStep step, const std::string&) { return step != AtomicWriteStep::Write; });
    EXPECT_FALSE(stats->StoreStats());
    SetAtomicWriteHook(nullptr);
    EXPECT_EQ(ReadWholeFile(StoreUserStats::StatsFilePath()), before);
    EXPECT_FALSE(FileExists(StoreUserStats::StatsFilePath() + ".tmp"));
}

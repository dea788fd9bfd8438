// The statistics holder over the local store: when values count, thresholds, store results,
// foreign records, absent interfaces and the injectable faults.
#include "store_platform/stats.h"

#include <gtest/gtest.h>

#include <string>

#include "store_platform/store.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

size_t CountOf(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class StatsTest : public testing::Test {
protected:
    void SetUp() override { SteamAPI_Shutdown(); }
    void TearDown() override {
        SteamAPI_Shutdown();
        InitSteamStats();  // a holder with nothing received, for the tests that follow
    }

    // Starts the store with the faults file text (none when empty), makes the holder and pumps
    // `pumps` times; returns what was printed.
    std::string Start(const std::string& faults, int pumps = 1) {
        if (!faults.empty()) MakeFileWithParents(tmp_.file("store/faults.txt"), faults);
        testing::internal::CaptureStdout();
        SteamAPI_Init();
        InitSteamStats();
        for (int i = 0; i < pumps; ++i) SteamAPI_RunCallbacks();
        return testing::internal::GetCapturedStdout();
    }
    static std::string Pump() {
        testing::internal::CaptureStdout();
        SteamAPI_RunCallbacks();
        return testing::internal::GetCapturedStdout();
    }
    bool Achieved(const char* name) {
        bool achieved = false;
        StoreUserStats* stats = SteamUserStats();
        return stats != nullptr && stats->GetAchievement(name, &achieved) && achieved;
    }

    TempDir tmp_;
    ScopedEnv user_{"VAULTMERE_USER_DIR", tmp_.path().c_str()};
    ScopedEnv store_{"VAULTMERE_STORE_DIR", ""};
};

TEST_F(StatsTest, NothingCountsBeforeTheReceivedRecordIsPumped) {
    MakeFileWithParents(tmp_.file("store/stats.txt"), "stat STAT_MONSTERS_KILLED 5\n");
    testing::internal::CaptureStdout();
    SteamAPI_Init();
    InitSteamStats();
    const std::string requested = testing::internal::GetCapturedStdout();
    EXPECT_EQ(requested.find("Received"), std::string::npos) << "only the pump delivers";
    AddToStat("STAT_MONSTERS_KILLED", 1);
    EXPECT_EQ(GetStatInt("STAT_MONSTERS_KILLED"), 0);
    EXPECT_EQ(PendingStoreRecords(), 1u) << "no store before the values arrived";

    EXPECT_NE(Pump().find("Received stats and achievements from Steam\n"), std::string::npos);
    EXPECT_EQ(GetStatInt("STAT_MONSTERS_KILLED"), 5) << "the uncounted event stays uncounted";
    AddToStat("STAT_MONSTERS_KILLED", 1);
    EXPECT_EQ(GetStatInt("STAT_MONSTERS_KILLED"), 6);
    int32_t stored = 0;
    ASSERT_TRUE(SteamUserStats()->GetStat("STAT_MONSTERS_KILLED", &stored));
    EXPECT_EQ(stored, 6);
}

TEST_F(StatsTest, ThresholdsAwardOnTheExactCountOnly) {
    MakeFileWithParents(tmp_.file("store/stats.txt"), "stat STAT_DIGGLES_KILLED 9\nstat STAT_TRAPS_TRIGGERED 60\n");
    Start("");
    const StatMilestone diggles[] = {{10, "ACHIEVEMENT_ORNITHOLOGIST"}, {100, "ACHIEVEMENT_HMS_DEAGLE"}};
    CountStatEvent("STAT_DIGGLES_KILLED", diggles, 2);
    EXPECT_EQ(GetStatInt("STAT_DIGGLES_KILLED"), 10);
    EXPECT_TRUE(Achieved("ACHIEVEMENT_ORNITHOLOGIST"));
    EXPECT_NE(ReadWholeFile(tmp_.file("store/stats.txt")).find("achievement ACHIEVEMENT_ORNITHOLOGIST"),
              std::string::npos)
        << "a new achievement is written at once";
    SteamUserStats()->ClearAchievement("ACHIEVEMENT_ORNITHOLOGIST");
    CountStatEvent("STAT_DIGGLES_KILLED", diggles, 2);
    EXPECT_EQ(GetStatInt("STAT_DIGGLES_KILLED"), 11);
    EXPECT_FALSE(Achieved("ACHIEVEMENT_ORNITHOLOGIST")) << "10 to 11 awards nothing";
    // A count already past its threshold never awards by counting.
    const StatMilestone traps[] = {{50, "ACHIEVEMENT_HE_CHOOSE_POORLY"}};
    CountStatEvent("STAT_TRAPS_TRIGGERED", traps, 1);
    EXPECT_FALSE(Achieved("ACHIEVEMENT_HE_CHOOSE_POORLY"));
}

TEST_F(StatsTest, AnUnknownStatisticChangesNothingButStillStoresOnce) {
    Start("");
    ASSERT_EQ(PendingStoreRecords(), 0u);
    AddToStat("STAT_NOT_IN_THE_TABLE", 3);
    EXPECT_EQ(PendingStoreRecords(), 1u);
    EXPECT_EQ(GetStatInt("STAT_NOT_IN_THE_TABLE"), 0);
    const std::string printed = Pump();
    EXPECT_EQ(CountOf(printed, "StoreStats - success\n"), 1u) << printed;
    int32_t value = 0;
    EXPECT_FALSE(SteamUserStats()->GetStat("STAT_NOT_IN_THE_TABLE", &value));
}

TEST_F(StatsTest, StoreAndRequestResults) {
    struct Case {
        const char* faults;
        const char* expected;  // printed by the pump after one AddToStat
        size_t receivedLines;   // "Received ..." lines of that pump
    };
    const Case cases[] = {
        {"", "StoreStats - success\n", 0},
        {"stored-result 8\n", "StoreStats - some failed to validate\n", 1},
        {"stored-result 2\n", "StoreStats - failed, 2\n", 0},
        {"stored-result 17\n", "StoreStats - failed, 17\n", 0},
    };
    for (const Case& c : cases) {
        SteamAPI_Shutdown();
        MakeFileWithParents(tmp_.file("store/faults.txt"), c.faults);
        MakeFileWithParents(tmp_.file("store/stats.txt"), "");
        const std::string started = Start(c.faults);
        EXPECT_EQ(CountOf(started, "Received stats and achievements from Steam\n"), 1u) << c.faults;
        AddToStat("STAT_DEATHS", 1);
        // Result 8 re-reads every value from the platform: local counts follow it.
        SteamUserStats()->SetStat("STAT_DEATHS", 40);
        const std::string printed = Pump();
        EXPECT_NE(printed.find(c.expected), std::string::npos) << c.faults << printed;
        EXPECT_EQ(CountOf(printed, "Received stats and achievements from Steam\n"), c.receivedLines) << c.faults;
        EXPECT_EQ(GetStatInt("STAT_DEATHS"), c.receivedLines == 1 ? 40 : 1) << c.faults;
    }
}

TEST_F(StatsTest, RecordsThatDoNotCountMeanNothingIsEverCounted) {
    struct Case {
        const char* faults;
        const char* printed;  // at the first pump; "" for nothing about the request
    };
    const Case cases[] = {
        {"stats-gameid 12345\n", ""},
        {"received-result 2\n", "RequestStats - failed, 2\n"},
        {"logged-off\n", ""},
        {"absent user\n", ""},
        {"absent utils\n", ""},
    };
    for (const Case& c : cases) {
        SteamAPI_Shutdown();
        MakeFileWithParents(tmp_.file("store/stats.txt"), "stat STAT_DEATHS 7\n");
        const std::string printed = Start(c.faults, 3);
        EXPECT_EQ(printed.find("Received"), std::string::npos) << c.faults << printed;
        if (*c.printed != '\0') {
            EXPECT_NE(printed.find(c.printed), std::string::npos) << c.faults << printed;
        }
        AddToStat("STAT_DEATHS", 1);
        EXPECT_EQ(GetStatInt("STAT_DEATHS"), 0) << c.faults;
        EXPECT_EQ(PendingStoreRecords(), 0u) << c.faults << ": no store";
        // Achievements need only the user-statistics interface.
        AwardAchievement("ACHIEVEMENT_DROWNING");
        EXPECT_TRUE(Achieved("ACHIEVEMENT_DROWNING")) << c.faults;
        SteamAPI_Shutdown();
        EXPECT_NE(ReadWholeFile(tmp_.file("store/stats.txt")).find("stat STAT_DEATHS 7"), std::string::npos)
            << c.faults << ": the stored value is kept";
    }
    EXPECT_EQ(SteamStats->GameId(), 0u) << "no utilities interface, no game id";
}

TEST_F(StatsTest, WithoutTheUserStatisticsInterfaceNothingHappens) {
    Start("absent userstats\n", 2);
    EXPECT_EQ(SteamUserStats(), nullptr);
    AddToStat("STAT_DEATHS", 1);
    AwardAchievement("ACHIEVEMENT_DROWNING");
    CountStatEvent("STAT_DEATHS");
    EXPECT_EQ(GetStatInt("STAT_DEATHS"), 0);
    SteamAPI_Shutdown();
    EXPECT_FALSE(FileExists(tmp_.file("store/stats.txt")));
}

TEST_F(StatsTest, ADelayedReplyArrivesAfterItsPumps) {
    Start("delay 2\n", 0);
    for (int pump = 1; pump <= 2; ++pump) {
        EXPECT_EQ(Pump().find("Received"), std::string::npos) << pump;
        AddToStat("STAT_DEATHS", 1);
        EXPECT_EQ(GetStatInt("STAT_DEATHS"), 0) << pump;
    }
    EXPECT_NE(Pump().find("Received"), std::string::npos);
    AddToStat("STAT_DEATHS", 1);
    EXPECT_EQ(GetStatInt("STAT_DEATHS"), 1);
}

TEST_F(StatsTest, ManyEventsInOneTurnWriteTheFileOnceAtThePump) {
    Start("");
    const std::string before = ReadWholeFile(tmp_.file("store/stats.txt"));
    for (int kill = 0; kill < 200; ++kill) CountStatEvent("STAT_MONSTERS_KILLED");
    EXPECT_EQ(ReadWholeFile(tmp_.file("store/stats.txt")), before) << "nothing written per kill";
    Pump();
    EXPECT_NE(ReadWholeFile(tmp_.file("store/stats.txt")).find("stat STAT_MONSTERS_KILLED 200\n"), std::string::npos);
    // And at shutdown when no pump came.
    CountStatEvent("STAT_MONSTERS_KILLED");
    SteamAPI_Shutdown();
    EXPECT_NE(ReadWholeFile(tmp_.file("store/stats.txt")).find("stat STAT_MONSTERS_KILLED 201\n"), std::string::npos);
}

TEST_F(StatsTest, TheStoreFolderCanBeSharedByTwoUserFolders) {
    TempDir shared;
    ScopedEnv store("VAULTMERE_STORE_DIR", shared.path().c_str());
    Start("");
    AwardAchievement("ACHIEVEMENT_FRUIT");
    SteamAPI_Shutdown();
    EXPECT_NE(ReadWholeFile(shared.file("stats.txt")).find("achievement ACHIEVEMENT_FRUIT"), std::string::npos);
    EXPECT_FALSE(FileExists(tmp_.file("store/stats.txt")));
    TempDir otherUser;
    ScopedEnv user("VAULTMERE_USER_DIR", otherUser.path().c_str());
    Start("");
    EXPECT_TRUE(Achieved("ACHIEVEMENT_FRUIT"));
}

TEST_F(StatsTest, HeroesOfBothGendersAcrossRunsAwardTheirAchievement) {
    Start("");
    NoteHeroGenderBuilt(false);
    NoteHeroGenderBuilt(false);
    EXPECT_FALSE(Achieved("ACHIEVEMENT_BOTH_GENDERS"));
    SteamAPI_Shutdown();
    // The next run builds a heroine.
    Start("");
    NoteHeroGenderBuilt(true);
    EXPECT_TRUE(Achieved("ACHIEVEMENT_BOTH_GENDERS"));
    SteamAPI_Shutdown();
    const std::string file = ReadWholeFile(tmp_.file("store/stats.txt"));
    EXPECT_NE(file.find("achievement ACHIEVEMENT_BOTH_GENDERS"), std::string::npos) << file;
}

TEST(StoreFaults, LinesOfTheFaultsFile) {
    testing::internal::CaptureStdout();
    const StoreFaults f = ParseStoreFaults(
        "# comment\n"
        "delay 3\n"
        "received-result 2\n"
        "stored-result 8\n"
        "stats-gameid 77\n"
        "absent userstats\n"
        "absent user\n"
        "absent utils\n"
        "logged-off\n"
        "board-missing Going Rogue + Permadeath\n"
        "board-io-failure Elvishly Easy\r\n"
        "delay -1\n"
        "delay many\n"
        "absent everything\n"
        "logged-off now\n"
        "board-missing\n"
        "explode\n",
        "faults.txt");
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(f.delayPumps, 3);
    EXPECT_EQ(f.receivedResult, 2);
    EXPECT_EQ(f.storedResult, 8);
    EXPECT_TRUE(f.foreignGameId);
    EXPECT_EQ(f.statsGameId, 77u);
    EXPECT_TRUE(f.noUserStats && f.noUser && f.noUtils && f.loggedOff);
    EXPECT_EQ(f.missingBoards.count("Going Rogue + Permadeath"), 1u);
    EXPECT_EQ(f.ioFailureBoards.count("Elvishly Easy"), 1u);
    for (int line = 12; line <= 17; ++line) {
        EXPECT_NE(printed.find("faults.txt:" + std::to_string(line) + ": unknown store fault ignored"),
                  std::string::npos)
            << line << printed;
    }
    EXPECT_EQ(CountOf(printed, "unknown store fault"), 6u) << printed;
}

}  // namespace

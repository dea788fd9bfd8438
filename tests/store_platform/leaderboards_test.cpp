// The six leaderboards over the local store: finding them, uploads before and after the
// finds, keep-best scores and boards that are never found.
#include "store_platform/leaderboards.h"

#include <gtest/gtest.h>

#include <string>

#include "store_platform/store.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

class LeaderboardsTest : public testing::Test {
protected:
    void SetUp() override { SteamAPI_Shutdown(); }
    void TearDown() override {
        Leaderboards.clear();
        SteamAPI_Shutdown();
    }
    void Start(const std::string& faults) {
        if (!faults.empty()) MakeFileWithParents(tmp_.file("store/faults.txt"), faults);
        SteamAPI_Init();
        CreateLeaderboards();
    }
    int32_t Score(const char* board) {
        int32_t score = -1;
        return SteamUserStats()->GetLeaderboardScore(board, &score) ? score : -1;
    }
    SteamLeaderboard_t Handle(size_t i) const { return Leaderboards[i]->handle; }

    TempDir tmp_;
    ScopedEnv user_{"VAULTMERE_USER_DIR", tmp_.path().c_str()};
    ScopedEnv store_{"VAULTMERE_STORE_DIR", ""};
};

TEST_F(LeaderboardsTest, SixFindsStartInOrderAndAnEarlyUploadIsSkipped) {
    Start("delay 1\n");
    const char* const order[] = {"Elvishly Easy",      "Elvishly Easy + Permadeath", "Dwarven Moderation",
                                 "Dwarven Moderation + Permadeath", "Going Rogue", "Going Rogue + Permadeath"};
    ASSERT_EQ(Leaderboards.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(Leaderboards[i]->name, order[i]);
        EXPECT_EQ(Handle(i), 0u) << "the start-up pump did not deliver yet";
        EXPECT_TRUE(Leaderboards[i]->findResult.IsActive());
    }
    EXPECT_EQ(PendingStoreRecords(), 6u);
    UploadLeaderboardScore("Going Rogue", 500);
    EXPECT_EQ(PendingStoreRecords(), 6u) << "no handle, no upload";

    SteamAPI_RunCallbacks();
    for (size_t i = 0; i < 6; ++i) EXPECT_NE(Handle(i), 0u) << order[i];
    EXPECT_EQ(Score("Going Rogue"), -1) << "the early upload was not queued for later";

    UploadLeaderboardScore("Going Rogue", 120);
    UploadLeaderboardScore("Going Rogue", 80);
    EXPECT_EQ(Score("Going Rogue"), 120);
    UploadLeaderboardScore("Going Rogue", 121);
    EXPECT_EQ(Score("Going Rogue"), 121);
    EXPECT_EQ(Score("Going Rogue + Permadeath"), -1);
    SteamAPI_RunCallbacks();
    EXPECT_EQ(ReadWholeFile(tmp_.file("store/leaderboards.txt")), "121 Going Rogue\n");

    // The next run sees the kept score.
    Leaderboards.clear();
    SteamAPI_Shutdown();
    Start("");
    EXPECT_EQ(Score("Going Rogue"), 121);
}

TEST_F(LeaderboardsTest, BoardsThatAreNotFoundStayWithoutAHandle) {
    Start("board-missing Dwarven Moderation\nboard-io-failure Going Rogue + Permadeath\n");
    SteamAPI_RunCallbacks();
    for (size_t i = 0; i < 6; ++i) {
        const bool broken = Leaderboards[i]->name == "Dwarven Moderation" ||
                            Leaderboards[i]->name == "Going Rogue + Permadeath";
        EXPECT_EQ(Handle(i) == 0, broken) << Leaderboards[i]->name;
        EXPECT_FALSE(Leaderboards[i]->findResult.IsActive());
    }
    UploadLeaderboardScore("Dwarven Moderation", 10);
    UploadLeaderboardScore("Going Rogue + Permadeath", 10);
    UploadLeaderboardScore("Elvishly Easy", 10);
    EXPECT_EQ(Score("Dwarven Moderation"), -1);
    EXPECT_EQ(Score("Going Rogue + Permadeath"), -1);
    EXPECT_EQ(Score("Elvishly Easy"), 10);
}

TEST_F(LeaderboardsTest, RunScoresGoToTheBoardOfTheirDifficulty) {
    Start("");
    SteamAPI_RunCallbacks();
    struct Case {
        int32_t difficulty;
        bool permadeath;
        const char* board;  // null: nothing uploaded
    };
    const Case cases[] = {
        {0, false, "Elvishly Easy"},      {0, true, "Elvishly Easy + Permadeath"},
        {1, false, "Dwarven Moderation"}, {1, true, "Dwarven Moderation + Permadeath"},
        {2, false, "Going Rogue"},        {2, true, "Going Rogue + Permadeath"},
        {3, false, nullptr},              {-1, true, nullptr},
    };
    int32_t score = 1000;
    for (const Case& c : cases) {
        const size_t before = PendingStoreRecords();
        UploadRunScore(c.difficulty, c.permadeath, ++score);
        if (c.board == nullptr) {
            EXPECT_EQ(LeaderboardNameFor(c.difficulty, c.permadeath), nullptr);
            EXPECT_EQ(PendingStoreRecords(), before) << c.difficulty;
        } else {
            EXPECT_STREQ(LeaderboardNameFor(c.difficulty, c.permadeath), c.board);
            EXPECT_EQ(Score(c.board), score) << c.board;
        }
    }
    UploadLeaderboardScore("Going rogue", 5000);  // the whole name must match exactly
    UploadLeaderboardScore(nullptr, 5000);
    EXPECT_EQ(Score("Going Rogue"), 1005);
}

TEST_F(LeaderboardsTest, WithoutTheUserStatisticsInterfaceNoFindStarts) {
    Start("absent userstats\n");
    SteamAPI_RunCallbacks();
    ASSERT_EQ(Leaderboards.size(), 6u);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(Handle(i), 0u);
    UploadLeaderboardScore("Going Rogue", 1);
    EXPECT_EQ(PendingStoreRecords(), 0u);
}

}  // namespace

// Level changes: stairs down and up between listed and new levels with the autosave, a portal
// trip into a side dimension and back, the trapdoor keys, and a change abandoned because the
// new level has no staircase up.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/command_state.h"
#include "core/input_log.h"
#include "core/random.h"
#include "core/shell/game_lifecycle.h"
#include "core/shell/level_change.h"
#include "core/shell/play_loop.h"
#include "core/shell/saved_games.h"
#include "core/shell/turn_engine.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/player.h"
#include "items_fixtures/quest.h"
#include "levels/branch_db.h"
#include "levels/gen/level_gen_check.h"
#include "levels/level.h"
#include "levels/room_templates.h"
#include "media/effect_animation.h"
#include "media/music.h"
#include "media/screen.h"
#include "media/sprite.h"
#include "platform/platform.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

void SeedRandomGeneratorsForTest(uint32_t seed) {
    CSRand(seed);
    MTSeed(seed);
}

class LevelChangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_ = std::make_unique<ScopedEnv>("VAULTMERE_USER_DIR", user_.path().c_str());
        InstallTurnEngineHooks();
        ResetInputLog();
        SetFixedFrameTime(16);
        TutorialFlag = false;
        HeldTrackFlag = false;
        TrapdoorStack.clear();
        SaveSlots.clear();
    }
    void TearDown() override {
        if (CurrentPlayer != nullptr || !GameLevels.empty()) EndCurrentGame();
        CurrentLevel = nullptr;
        ClearActiveQuests();
        TrapdoorStack.clear();
        SaveSlots.clear();
        TutorialFlag = false;
        HeldTrackFlag = false;
        ResetInputLog();
        if (screenOwned_) {
            ScreenSurface = savedScreen_;
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
        if (generationData_) {
            RemoveSampleGenerationRecords();
            ClearBranches();
            ClearRoomTemplates();
            ClearTweakVals();
            ClearTextDB();
        }
        SpriteMgr_FreeAll();
        cwd_.reset();
    }
    void LoadOurGenerationData() {
        cwd_ = std::make_unique<ScopedWorkingDir>(VAULTMERE_GAME_ROOT);
        ASSERT_TRUE(LoadGenerationData(std::string(VAULTMERE_SOURCE_DIR) + "/data/game"));
        InstallSampleGenerationRecords();
        generationData_ = true;
    }
    void UseScreen() {
        savedScreen_ = ScreenSurface;
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        screenOwned_ = true;
        ScreenSurface = SDL_SetVideoMode(320, 200, 32, SDL_SWSURFACE);
        ASSERT_NE(ScreenSurface, nullptr) << SDL_GetError();
    }
    // A listed 12 x 12 level of floor with walls round it.
    static Level* AddLevel(int32_t depth) {
        Level* level = new Level(0, depth);
        level->SetSize(12, 12);
        for (int32_t y = 1; y < 11; ++y)
            for (int32_t x = 1; x < 11; ++x) level->GetCell(x, y)->type = SquareType::Floor;
        GameLevels.push_back(level);
        return level;
    }
    static void PutStairs(Level* level, int32_t x, int32_t y, uint8_t kind, uint8_t index, uint8_t room = 0) {
        LevelCell* cell = level->GetCell(x, y);
        cell->type = kind;
        cell->stairIndex = index;
        cell->room = room;
    }
    Player* StartOn(Level* level, int32_t x, int32_t y) {
        CurrentLevel = level;
        Player* hero = new Player();
        hero->name = "Hero";
        CurrentPlayer = hero;
        hero->PlaceOnLevel(x, y, level, 0);
        return hero;
    }
    static Level* HeroLevel() { return static_cast<GameObj*>(CurrentPlayer)->level; }

    TempDir user_;
    std::unique_ptr<ScopedEnv> env_;
    std::unique_ptr<ScopedWorkingDir> cwd_;
    SDL_Surface* savedScreen_ = nullptr;
    bool screenOwned_ = false;
    bool generationData_ = false;
};

// A held tune (shop, zoo) and the tune of a death both give way to a dungeon track at the
// next level change; otherwise the playing track goes on.
TEST_F(LevelChangeTest, ALevelChangeReplacesAHeldOrDeathTuneAtOnce) {
    struct Case {
        bool held;
        bool pending;
        bool replaced;
    };
    const Case cases[] = {{false, false, false}, {true, false, true}, {false, true, true}, {true, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.held) + " " + std::to_string(c.pending));
        PlayMusic("tunes/death-open.ogg", "tunes/death-repeat.ogg");
        HeldTrackFlag = c.held;
        PendingMusicChange = c.pending;
        AfterLevelChange();
        EXPECT_EQ(CurrentMusicIntro() != "tunes/death-open.ogg", c.replaced) << CurrentMusicIntro();
        EXPECT_FALSE(HeldTrackFlag);
        EXPECT_FALSE(PendingMusicChange);
    }
}

TEST_F(LevelChangeTest, StairsLeadToTheStaircaseOfTheSameIndexAndBackWithAnAutosaveEachWay) {
    Level* top = AddLevel(0);
    PutStairs(top, 3, 3, SquareType::StairsDown, 0);
    PutStairs(top, 8, 8, SquareType::StairsDown, 1);
    Level* below = AddLevel(1);
    PutStairs(below, 2, 9, SquareType::StairsUp, 0, 4);
    PutStairs(below, 9, 2, SquareType::StairsUp, 1, 5);
    Player* hero = StartOn(top, 8, 8);
    HeroInShopFlag = 1;
    HeldTrackFlag = true;
    static Bob waiting;
    QueueAnimation(&waiting, nullptr);

    testing::internal::CaptureStdout();
    DescendStairs(1, top->branchId, 1);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(HeroLevel(), below);
    EXPECT_EQ(CurrentLevel, below);
    EXPECT_EQ(hero->x, 9);
    EXPECT_EQ(hero->y, 2);
    EXPECT_EQ(hero->currentRoom, 5);
    EXPECT_EQ(below->previousRoom, -1);
    EXPECT_EQ(QueuedAnimationCount(), 0);
    EXPECT_EQ(HeroInShopFlag, 0);
    EXPECT_FALSE(HeldTrackFlag);
    ASSERT_TRUE(FileExists(user_.file("autosave.sav")));
    const std::string downSave = ReadWholeFile(user_.file("autosave.sav"));

    testing::internal::CaptureStdout();
    AscendStairs(1, below->branchId, 0);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(HeroLevel(), top);
    EXPECT_EQ(hero->x, 8);
    EXPECT_EQ(hero->y, 8);
    EXPECT_EQ(GameLevels.size(), 2u);
    EXPECT_NE(ReadWholeFile(user_.file("autosave.sav")), downSave);  // written on the lower level

    // A staircase up whose index has no partner takes the first staircase down.
    testing::internal::CaptureStdout();
    DescendStairs(0, top->branchId, 1);
    AscendStairs(7, below->branchId, 0);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(HeroLevel(), top);
    EXPECT_EQ(hero->x, 3);
    EXPECT_EQ(hero->y, 3);

    // The staircase up of the first level only autosaves.
    RemoveFile(user_.file("autosave.sav").c_str());
    testing::internal::CaptureStdout();
    AscendStairs(0, 0, -1);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(HeroLevel(), top);
    EXPECT_TRUE(FileExists(user_.file("autosave.sav")));
}

TEST_F(LevelChangeTest, ATutorialStaircaseNeverWritesTheAutosave) {
    Level* top = AddLevel(0);
    PutStairs(top, 3, 3, SquareType::StairsDown, 0);
    Level* below = AddLevel(1);
    PutStairs(below, 2, 2, SquareType::StairsUp, 0);
    StartOn(top, 3, 3);
    TutorialFlag = true;
    DescendStairs(0, top->branchId, 1);
    EXPECT_EQ(HeroLevel(), below);
    EXPECT_FALSE(FileExists(user_.file("autosave.sav")));
}

TEST_F(LevelChangeTest, StairsDownToANewDepthBuildAndListItsLevel) {
    LoadOurGenerationData();
    Level* top = AddLevel(0);
    PutStairs(top, 3, 3, SquareType::StairsDown, 0);
    Player* hero = StartOn(top, 3, 3);
    SeedRandomGeneratorsForTest(7);
    testing::internal::CaptureStdout();
    DescendStairs(0, top->branchId, 1);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(GameLevels.size(), 2u);
    Level* built = GameLevels[1];
    EXPECT_EQ(built->depth, 1);
    EXPECT_EQ(built->width, 100);
    EXPECT_EQ(HeroLevel(), built);
    EXPECT_EQ(built->SquareKind(hero->x, hero->y), SquareType::StairsUp);
    EXPECT_EQ(CurrentLevel, built);
}

TEST_F(LevelChangeTest, ANewLevelWithoutStairsUpIsReportedAndTheHeroStaysWithItsSprites) {
    LoadOurGenerationData();
    UseScreen();
    // Depth 0 levels have no staircase up: going down to depth 0 from deeper finds none.
    Level* deep = AddLevel(3);
    PutStairs(deep, 5, 5, SquareType::StairsDown, 0);
    Player* hero = StartOn(deep, 5, 5);
    const unsigned spritesBefore = SpriteMgr_Generation();
    ASSERT_TRUE(OpenInputScriptText("wait 50\nkey return\n"));
    testing::internal::CaptureStdout();
    DescendStairs(0, deep->branchId, 0);
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(InputScriptActive());  // the notice waited for its answer
    EXPECT_EQ(HeroLevel(), deep);
    EXPECT_EQ(CurrentLevel, deep);
    EXPECT_EQ(hero->x, 5);
    EXPECT_EQ(hero->y, 5);
    ASSERT_EQ(GameLevels.size(), 2u);  // the new level stays listed
    EXPECT_EQ(GameLevels[1]->depth, 0);
    EXPECT_EQ(SpriteMgr_Generation(), spritesBefore) << "no sprite in use was freed";
}

TEST_F(LevelChangeTest, APortalTripBuildsASideDimensionAndTheWayBackReturnsToTheLevelLeft) {
    LoadOurGenerationData();
    // Two levels of the same depth and branch: the way back is to the one the hero left.
    AddLevel(2);
    Level* here = AddLevel(2);
    Player* hero = StartOn(here, 6, 7);
    SeedRandomGeneratorsForTest(11);
    testing::internal::CaptureStdout();
    TravelThroughPortal();
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(GameLevels.size(), 3u);
    Level* side = GameLevels[2];
    EXPECT_EQ(side->isSideDimension, 1);
    EXPECT_EQ(side->depth, -1);
    EXPECT_EQ(side->returnDepth, 2);
    EXPECT_EQ(side->returnX, 6);
    EXPECT_EQ(side->returnY, 7);
    EXPECT_EQ(HeroLevel(), side);
    EXPECT_EQ(CurrentLevel, side);
    EXPECT_EQ(hero->x, side->startX);
    EXPECT_EQ(hero->y, side->startY);
    EXPECT_FALSE(FileExists(user_.file("autosave.sav")));

    TravelThroughPortal();
    EXPECT_EQ(GameLevels.size(), 2u);
    EXPECT_EQ(HeroLevel(), here);
    EXPECT_EQ(CurrentLevel, here);
    EXPECT_EQ(hero->x, 6);
    EXPECT_EQ(hero->y, 7);
    EXPECT_EQ(hero->currentRoom, kNoRoomIndex);
    EXPECT_FALSE(FileExists(user_.file("autosave.sav")));
}

TEST_F(LevelChangeTest, AfterALoadTheWayBackFromASideDimensionLeadsToTheLevelItWasEnteredFrom) {
    LoadOurGenerationData();
    // Two levels of the same depth and branch, told apart by a mark; the portal is taken from
    // the first, then from the second (which the first-of-its-depth rule would miss).
    for (int32_t entered : {0, 1}) {
        SCOPED_TRACE(entered);
        Level* levels[2] = {AddLevel(2), AddLevel(2)};
        for (int32_t i = 0; i < 2; ++i) levels[i]->GetCell(1, 1)->stairIndex = static_cast<uint8_t>(40 + i);
        StartOn(levels[entered], 6, 7);
        SeedRandomGeneratorsForTest(11);
        testing::internal::CaptureStdout();
        TravelThroughPortal();
        ASSERT_EQ(GameLevels.size(), 3u);
        EXPECT_TRUE(SaveGame("trip.sav"));
        EndCurrentGame();
        const bool loaded = LoadGame("trip.sav");
        const std::string loading = testing::internal::GetCapturedStdout();
        ASSERT_TRUE(loaded) << loading;
        ASSERT_EQ(GameLevels.size(), 3u);
        EXPECT_EQ(HeroLevel()->isSideDimension, 1);

        testing::internal::CaptureStdout();
        EXPECT_TRUE(SaveGame("again.sav"));
        TravelThroughPortal();
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(ReadWholeFile(user_.file("again.sav")), ReadWholeFile(user_.file("trip.sav")));
        ASSERT_EQ(GameLevels.size(), 2u);
        EXPECT_EQ(HeroLevel(), CurrentLevel);
        EXPECT_EQ(HeroLevel()->GetCell(1, 1)->stairIndex, 40 + entered);
        EXPECT_EQ(CurrentPlayer->x, 6);
        EXPECT_EQ(CurrentPlayer->y, 7);
        EndCurrentGame();
    }
}

TEST_F(LevelChangeTest, ALoadedOrNewGameStartsWithoutTheTrapdoorSquaresOfAnEarlierGame) {
    // A square the trapdoor of an earlier game left behind is no way up in this one.
    TrapdoorStack.emplace_back(3, 4);
    ResetGameState();
    AddLevel(0);
    Level* below = AddLevel(1);
    Player* hero = StartOn(below, 6, 7);
    ChangeDepth(-1);
    EXPECT_EQ(HeroLevel(), below);
    EXPECT_EQ(CurrentLevel, below);
    EXPECT_EQ(hero->x, 6);
    EXPECT_EQ(hero->y, 7);
    EXPECT_TRUE(TrapdoorStack.empty());
}

TEST_F(LevelChangeTest, TheTrapdoorKeysGoOneLevelDownAndBackToTheSquareLeft) {
    Level* top = AddLevel(0);
    Level* below = AddLevel(1);
    Player* hero = StartOn(top, 4, 6);
    ChangeDepth(2);  // only one level at a time
    ChangeDepth(-1);  // nothing above the first level
    EXPECT_EQ(HeroLevel(), top);

    SeedRandomGeneratorsForTest(3);
    ChangeDepth(1);
    EXPECT_EQ(HeroLevel(), below);
    EXPECT_EQ(CurrentLevel, below);
    for (auto [dx, dy] : {std::pair<int, int>{0, 0}, {0, -1}, {1, 0}, {0, 1}, {1, 1}}) {
        EXPECT_TRUE(below->IsSquarePassable(hero, hero->x + dx, hero->y + dy));
    }
    ASSERT_EQ(TrapdoorStack.size(), 1u);
    EXPECT_FALSE(FileExists(user_.file("autosave.sav")));

    ChangeDepth(-1);
    EXPECT_EQ(HeroLevel(), top);
    EXPECT_EQ(hero->x, 4);
    EXPECT_EQ(hero->y, 6);
    EXPECT_TRUE(TrapdoorStack.empty());
    ChangeDepth(-1);  // an empty trapdoor stack leads nowhere
    EXPECT_EQ(HeroLevel(), top);
}

// The last level holds the final boss; the trapdoor key never leads below it, whether the
// level below was listed already or would have to be built. The long dungeon's last level
// lies deeper, so there the same key still goes down.
TEST_F(LevelChangeTest, TheTrapdoorKeyStopsAtTheLastLevelOfTheDungeon) {
    struct Case {
        bool extended;
        int32_t from;
        bool goesDown;
    };
    for (const Case c : {Case{false, 9, false}, Case{false, 8, true}, Case{true, 9, true}, Case{true, 14, false}}) {
        SCOPED_TRACE(std::string(c.extended ? "long dungeon" : "normal dungeon") + " from depth " +
                     std::to_string(c.from));
        Level* here = AddLevel(c.from);
        Level* below = AddLevel(c.from + 1);
        Player* hero = StartOn(here, 4, 6);
        hero->extendedContent = c.extended ? 1 : 0;
        SeedRandomGeneratorsForTest(3);
        ChangeDepth(1);
        EXPECT_EQ(HeroLevel(), c.goesDown ? below : here);
        EXPECT_EQ(CurrentLevel, c.goesDown ? below : here);
        EXPECT_EQ(TrapdoorStack.size(), c.goesDown ? 1u : 0u);
        if (!c.goesDown) {
            EXPECT_EQ(hero->x, 4);
            EXPECT_EQ(hero->y, 6);
        }
        EndCurrentGame();
        CurrentLevel = nullptr;
        TrapdoorStack.clear();
    }
}

TEST_F(LevelChangeTest, TheTrapdoorGivesUpOnALevelWithNowhereToLand) {
    Level* top = AddLevel(0);
    Level* below = AddLevel(1);
    for (LevelCell& cell : below->squares) cell.type = SquareType::Wall;
    Player* hero = StartOn(top, 4, 6);
    testing::internal::CaptureStdout();
    ChangeDepth(1);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("no square to land on"), std::string::npos) << printed;
    EXPECT_EQ(HeroLevel(), top);
    EXPECT_EQ(hero->x, 4);
    EXPECT_TRUE(TrapdoorStack.empty());
}

}  // namespace

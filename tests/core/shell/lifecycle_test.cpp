// The life of one game: the reset before each game, the first level of a new game and of a
// tutorial, ending a game, loading that fails, and the save index with its file names.
#include <gtest/gtest.h>

#include "core/high_scores.h"
#include "core/command_state.h"
#include "core/shell/config.h"
#include "core/shell/game_input.h"
#include "core/shell/game_lifecycle.h"
#include "core/input_log.h"
#include "interface/choose_difficulty.h"
#include "media/effect_animation.h"
#include "media/screen.h"
#include "core/shell/play_loop.h"
#include "core/shell/saved_games.h"
#include "core/shell/turn_engine.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "interface/play_screen.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/quest.h"
#include "levels/level.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "levels/branch_db.h"
#include "levels/gen/level_gen_check.h"
#include "levels/room_templates.h"
#include "media/music.h"
#include "media/sprite.h"
#include "media/ticker.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> CapturedLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

class LifecycleTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_ = std::make_unique<ScopedEnv>("VAULTMERE_USER_DIR", user_.path().c_str());
        InstallTurnEngineHooks();
        ResetInputLog();
        SetFixedFrameTime(16);
        ClearTicker();
        ClearTickerLog();
        savedCmdLine_ = CmdLine;
        savedWelcome_ = completedATutorial;
        completedATutorial = 1;
        TutorialFlag = false;
    }
    void TearDown() override {
        if (CurrentPlayer != nullptr || !GameLevels.empty()) EndCurrentGame();
        CurrentLevel = nullptr;
        for (Spell* s : SpellList) delete s;
        SpellList.clear();
        SaveSlots.clear();
        CmdLine = savedCmdLine_;
        completedATutorial = savedWelcome_;
        TutorialFlag = false;
        HeldTrackFlag = false;
        ResetInputLog();
        ClearTickerLog();
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
            generationData_ = false;
        }
        SpriteMgr_FreeAll();
        cwd_.reset();
    }
    void LoadOurGenerationData() {
        // The art the levels ask for is in the assembled game folder.
        cwd_ = std::make_unique<ScopedWorkingDir>(VAULTMERE_GAME_ROOT);
        ASSERT_TRUE(LoadGenerationData(std::string(VAULTMERE_SOURCE_DIR) + "/data/game"));
        InstallSampleGenerationRecords();
        generationData_ = true;
    }
    // A hero on a small open level: a running game.
    Player* StartSmallGame() {
        Level* level = new Level(0, 0);
        level->SetSize(10, 10);
        for (int y = 1; y < 9; ++y)
            for (int x = 1; x < 9; ++x) level->GetCell(x, y)->type = SquareType::Floor;
        GameLevels.push_back(level);
        CurrentLevel = level;
        Player* hero = new Player();
        CurrentPlayer = hero;
        hero->PlaceOnLevel(4, 4, level, 0);
        return hero;
    }

    // Modal loops present frames (and the fake clock moves with them) on a small screen.
    void UseScreen() {
        savedScreen_ = ScreenSurface;
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        screenOwned_ = true;
        ScreenSurface = SDL_SetVideoMode(320, 200, 32, SDL_SWSURFACE);
        ASSERT_NE(ScreenSurface, nullptr) << SDL_GetError();
    }

    TempDir user_;
    std::unique_ptr<ScopedEnv> env_;
    std::unique_ptr<ScopedWorkingDir> cwd_;
    SDL_Surface* savedScreen_ = nullptr;
    bool screenOwned_ = false;
    CommandLineState savedCmdLine_;
    uint8_t savedWelcome_ = 0;
    bool generationData_ = false;
};

TEST_F(LifecycleTest, ResetGameStateClearsWhatTheLastGameLeftBehind) {
    Spell* spell = new Spell();
    spell->cooldownCounter = 4;
    spell->castCount = 9;
    SpellList.push_back(spell);
    Item skillItem;
    Item cursorItem;
    SelectedSkillItem = &skillItem;
    TooltipItem = &skillItem;
    SetCursorItem(&cursorItem);
    InventoryGrid.cells[3] = &skillItem;
    ActiveQuests.push_back(new QuestRecord());
    VictoryFlag = true;
    PendingMusicChange = true;
    SaveOnLeaveFlag = true;
    AddText("from the last game", true);
    Player* hero = StartSmallGame();
    QueueObjectMove(hero, 2, 2, CurrentLevel);
    StepFlags[1] = true;

    ResetGameState();

    EXPECT_EQ(spell->cooldownCounter, 0);
    EXPECT_EQ(spell->castCount, 0);
    EXPECT_EQ(SelectedSkillItem, nullptr);
    EXPECT_EQ(TooltipItem, nullptr);
    EXPECT_EQ(SelectedAbility, nullptr);
    EXPECT_EQ(GetCursorItem(), nullptr);
    EXPECT_EQ(InventoryGrid.cells[3], nullptr);
    EXPECT_TRUE(ActiveQuests.empty());
    EXPECT_FALSE(VictoryFlag);
    EXPECT_FALSE(PendingMusicChange);
    EXPECT_FALSE(SaveOnLeaveFlag);
    EXPECT_TRUE(TickerLines().empty());
    EXPECT_EQ(QueuedMoveCount(), 0u);
    EXPECT_FALSE(StepFlags[1]);
}

TEST_F(LifecycleTest, EndCurrentGameDestroysTheHeroAndEveryLevel) {
    StartSmallGame();
    GameLevels.push_back(new Level(0, 1));
    SaveOnLeaveFlag = true;
    static Bob waiting;  // outlives the game, as a Bob the queue must not keep would not
    QueueAnimation(&waiting, nullptr);
    EndCurrentGame();
    EXPECT_EQ(QueuedAnimationCount(), 0) << "no queued animation outlives the game";
    EXPECT_EQ(CurrentPlayer, nullptr);
    EXPECT_EQ(CurrentLevel, nullptr);
    EXPECT_TRUE(GameLevels.empty());
    EXPECT_FALSE(SaveOnLeaveFlag);
}

// An item whose deletion the test can see.
class WatchedItem : public Misc {
public:
    explicit WatchedItem(bool* gone) : Misc(0), gone_(gone) {}
    ~WatchedItem() override { *gone_ = true; }

private:
    bool* gone_;
};

TEST_F(LifecycleTest, EndCurrentGameDeletesTheItemLeftOnTheCursor) {
    // The item the player was moving belongs to the game that ends with it; it is neither
    // leaked nor left on the cursor of the next game.
    StartSmallGame();
    bool gone = false;
    SetCursorItem(new WatchedItem(&gone));
    EndCurrentGame();
    EXPECT_TRUE(gone);
    EXPECT_EQ(GetCursorItem(), nullptr);
}

TEST_F(LifecycleTest, TryingASaveWithAnItemOnTheCursorLeavesNothingOfIt) {
    // Start-up tries a save named on the command line and throws the game away again: the
    // loaded cursor item goes with it.
    StartSmallGame();
    SetCursorItem(new Misc(0));
    testing::internal::CaptureStdout();
    ASSERT_TRUE(SaveGame("held.sav"));
    EndCurrentGame();
    const bool loads = SavedGameLoads("held.sav");
    const std::string loading = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(loads) << loading;
    EXPECT_EQ(CurrentPlayer, nullptr);
    EXPECT_EQ(GetCursorItem(), nullptr);
}

TEST_F(LifecycleTest, ALoadThatFailsReportsItAndLeavesNoGameBehind) {
    // A save of our own whose game has a level but no hero, a file that is no save, and no
    // file at all.
    StartSmallGame();
    delete CurrentPlayer;
    CurrentPlayer = nullptr;
    ASSERT_TRUE(SaveGame("ours.sav"));
    EndCurrentGame();
    WriteWholeFile(user_.file("junk.sav"), "JUNKJUNKJUNKJUNK");
    Spell* spell = new Spell();
    SpellList.push_back(spell);
    for (const char* name : {"ours.sav", "junk.sav", "missing.sav"}) {
        SCOPED_TRACE(name);
        spell->castCount = 5;
        Item held;
        SelectedSkillItem = &held;
        testing::internal::CaptureStdout();
        const bool loaded = LoadAndPlay(name);
        const std::vector<std::string> lines = CapturedLines(testing::internal::GetCapturedStdout());
        EXPECT_FALSE(loaded);
        EXPECT_NE(std::find(lines.begin(), lines.end(), std::string("Couldn't load filename ") + name), lines.end());
        EXPECT_EQ(CurrentPlayer, nullptr);
        EXPECT_EQ(CurrentLevel, nullptr);
        EXPECT_TRUE(GameLevels.empty());
        // The reset ran before the load, whatever came of it.
        EXPECT_EQ(SelectedSkillItem, nullptr);
        EXPECT_EQ(spell->castCount, 0);
    }
    EXPECT_TRUE(LoadAndPlay(""));
}

TEST_F(LifecycleTest, ASaveChosenInTheMenuThatCannotBeLoadedIsReportedInADialog) {
    UseScreen();
    // Enter dismisses the notice; the program goes on (back to the menu).
    ASSERT_TRUE(OpenInputScriptText("wait 50\nkey return\n"));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(PlaySavedGameFromMenu("missing.sav"));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Couldn't load filename missing.sav"), std::string::npos) << out;
    EXPECT_FALSE(InputScriptActive());  // the dialog waited for the answer
    EXPECT_EQ(CurrentPlayer, nullptr);
    EXPECT_TRUE(GameLevels.empty());
}

TEST_F(LifecycleTest, ANewGameLevelIsSeventyFiveSquaresForAQuickGameElseAHundred) {
    LoadOurGenerationData();
    for (int quick : {1, 0}) {
        SCOPED_TRACE(quick);
        ClearTickerLog();
        Player* hero = new Player();
        hero->quickie = quick;
        CurrentPlayer = hero;
        NewGameCommon();
        ASSERT_NE(CurrentLevel, nullptr);
        const int side = quick ? 75 : 100;
        EXPECT_EQ(CurrentLevel->width, side);
        EXPECT_EQ(CurrentLevel->height, side);
        ASSERT_EQ(GameLevels.size(), 1u);
        EXPECT_EQ(GameLevels[0], CurrentLevel);
        EXPECT_EQ(static_cast<GameObj*>(hero)->level, CurrentLevel);
        EXPECT_EQ(hero->x, CurrentLevel->startX);
        EXPECT_EQ(hero->y, CurrentLevel->startY);
        EXPECT_FALSE(HeldTrackFlag);
        EXPECT_EQ(TickerLog(), std::vector<std::string>{"Welcome to Vaultmere!"});
        EndCurrentGame();
    }
}

TEST_F(LifecycleTest, TheWelcomeDialogsAreShownOnceThenRemembered) {
    LoadOurGenerationData();
    UseScreen();
    completedATutorial = 0;
    // Enter answers each notice; nothing is left for the game afterwards.
    ASSERT_TRUE(OpenInputScriptText("wait 50\nkey return\nwait 50\nkey return\n"));
    CurrentPlayer = new Player();
    NewGameCommon();
    EXPECT_EQ(completedATutorial, 1);
    EXPECT_FALSE(InputScriptActive());
    EndCurrentGame();

    // The next game shows none: the script is not touched.
    ASSERT_TRUE(OpenInputScriptText("key return\n"));
    CurrentPlayer = new Player();
    NewGameCommon();
    EXPECT_TRUE(InputScriptActive());
    EXPECT_EQ(TickerLog().back(), "Welcome to Vaultmere!");
}

TEST_F(LifecycleTest, TestRoomStartsOnTheNamedRoomAndAnUnknownNameFallsBackToARandomLevel) {
    LoadOurGenerationData();
    CmdLine.testRoom = true;
    CmdLine.testRoomName = "Starting Room";
    CmdLine.testRoomX = 2;
    CmdLine.testRoomY = 2;
    CurrentPlayer = new Player();
    NewGameCommon();
    ASSERT_NE(CurrentLevel, nullptr);
    EXPECT_EQ(CurrentLevel->rooms.size(), 1u);
    EXPECT_EQ(CurrentPlayer->x, CurrentLevel->startX);
    EndCurrentGame();

    CmdLine.testRoomName = "No Such Room Anywhere";
    CurrentPlayer = new Player();
    testing::internal::CaptureStdout();
    NewGameCommon();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("No test room \"No Such Room Anywhere\""), std::string::npos) << out;
    ASSERT_NE(CurrentLevel, nullptr);
    EXPECT_GT(CurrentLevel->rooms.size(), 1u);
    EXPECT_TRUE(CurrentLevel->IsOpenSquare(CurrentPlayer->x, CurrentPlayer->y));
}

TEST_F(LifecycleTest, ATutorialHoldsItsTuneAndPlacesTheHero) {
    LoadOurGenerationData();
    CurrentPlayer = new Player();
    StartTutorial("Starting Room", 2, 2);
    EXPECT_TRUE(HeldTrackFlag);
    ASSERT_NE(CurrentLevel, nullptr);
    ASSERT_EQ(GameLevels.size(), 1u);
    EXPECT_EQ(static_cast<GameObj*>(CurrentPlayer)->level, CurrentLevel);
    EXPECT_EQ(CurrentPlayer->x, CurrentLevel->startX);
    EXPECT_EQ(CurrentPlayer->y, CurrentLevel->startY);
    EXPECT_GT(CurrentPlayer->health, 0);
}

TEST_F(LifecycleTest, TheCreationScreensBackedOutOfGiveNoHero) {
    // Escape on the first screen goes back: no hero.
    ASSERT_TRUE(OpenInputScriptText("wait 50\nkey escape\n"));
    EXPECT_EQ(RunNewGameScreens(), nullptr);
    Player* hero = MakeDefaultHero();
    EXPECT_EQ(hero->name, "Hero");
    EXPECT_EQ(hero->saveName, "Hero.sav");
    EXPECT_EQ(hero->randomBuild, 1);
    delete hero;
}

TEST_F(LifecycleTest, GoingBackToTheDifficultyScreenKeepsTheExpansionChoice) {
    ResetSkillDB();
    std::string skills = "<skills>";
    for (int i = 0; i < 10; ++i) skills += "<skill name=\"S" + std::to_string(i) + "\" id=\"" + std::to_string(i) + "\"/>";
    skills += "</skills>";
    ASSERT_TRUE(SkillDBLoadFromText(skills.data(), skills.size(), "test//skillDB.xml"));
    AddDummySkills();
    // Difficulty: the expansion row toggled, Done; skills: Back; difficulty: Done; skills:
    // "Random Skills", Done; hero: a name, Done.
    ASSERT_TRUE(OpenInputScriptText("wait 50\nclick 1 500 590\nwait 50\nclick 1 1230 30\nwait 50\n"
                                    "click 1 60 30\nwait 50\nclick 1 1230 30\nwait 50\n"
                                    "click 1 978 490\nwait 50\nclick 1 1230 30\nwait 50\n"
                                    "key b\nwait 50\nclick 1 1230 30\n"));
    testing::internal::CaptureStdout();
    Player* hero = RunNewGameScreens();
    testing::internal::GetCapturedStdout();
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(hero->extendedContent, ExpansionPanelAvailable() ? 0 : 1);
    EXPECT_EQ(hero->name, "b");
    EXPECT_EQ(hero->skillList.size(), 7u);
    // The game's end takes the hero and the starting kit it was given.
    CurrentPlayer = hero;
    EndCurrentGame();
    ResetSkillDB();
}

TEST_F(LifecycleTest, TheDefaultHeroDrawsSevenSkillsAndStartsWithItsDerivedLife) {
    ResetSkillDB();
    std::string skills = "<skills>";
    for (int i = 0; i < 10; ++i) skills += "<skill name=\"S" + std::to_string(i) + "\" id=\"" + std::to_string(i) + "\"/>";
    skills += "</skills>";
    ASSERT_TRUE(SkillDBLoadFromText(skills.data(), skills.size(), "test//skillDB.xml"));
    testing::internal::CaptureStdout();
    Player* hero = MakeDefaultHero();
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(hero->skillList.size(), 7u);
    EXPECT_TRUE(std::is_sorted(hero->skillList.begin(), hero->skillList.end()));
    EXPECT_EQ(LoadLastTxt(static_cast<int32_t>(SkillDB.size())), hero->skillList) << "last.txt holds the real build";
    for (int32_t slot = 0; slot < 7; ++slot) EXPECT_EQ(hero->skillLevels[slot], 1);
    // Seven warrior skills: Burliness 14 and Caddishness 14, plus the new hero's 5.
    EXPECT_EQ(hero->stat[kStatLife], 33);
    EXPECT_EQ(hero->health, 33);
    EXPECT_EQ(hero->mana, hero->stat[kStatMana]);
    delete hero;
    ResetSkillDB();
}

TEST_F(LifecycleTest, UniqueSaveNamesSkipEveryNameTheIndexUses) {
    EXPECT_EQ(MakeUniqueSaveFileName("Nim"), "Nim.sav");
    SaveSlots.resize(2);
    SaveSlots[0].fileName = "Nim.sav";
    SaveSlots[1].fileName = "Nim_1.sav";
    EXPECT_EQ(MakeUniqueSaveFileName("Nim"), "Nim_2.sav");
    // A name never leads out of the user folder.
    EXPECT_EQ(MakeUniqueSaveFileName("../up/and:away"), ".._up_and_away.sav");
    EXPECT_EQ(MakeUniqueSaveFileName(""), "Hero.sav");
}

TEST_F(LifecycleTest, TheSaveIndexRoundTripsAndSurvivesBadFiles) {
    StartSmallGame();
    CurrentPlayer->name = "Ada";
    for (int i = 0; i < 7; ++i) CurrentPlayer->skillIds[i] = 10 + i;
    ASSERT_TRUE(SaveGame("first.sav"));
    ASSERT_TRUE(SaveGame("second.sav"));
    ASSERT_TRUE(SaveGame("first.sav"));  // saving again moves its record to the front
    EXPECT_EQ(ReadWholeFile(user_.file("loadsave.dat")),
              "2\nfirst.sav\nAda the Adventurer\non Floor 1 of \n10\n11\n12\n13\n14\n15\n16\n"
              "second.sav\nAda the Adventurer\non Floor 1 of \n10\n11\n12\n13\n14\n15\n16\n");

    // A count larger than the file stops at its end; an empty file name is dropped.
    WriteWholeFile(user_.file("odd.dat"), "999999\nx.sav\nl1\nl2\n1\n2\n3\n4\n5\n6\n7\n\nl1\nl2\n1\n2\n3\n4\n5\n6\n7\n");
    ReadSaveIndex(user_.file("odd.dat").c_str());
    ASSERT_EQ(SaveSlots.size(), 1u);
    EXPECT_EQ(SaveSlots[0].fileName, "x.sav");
    EXPECT_EQ(SaveSlots[0].skills[6], 7);
    ReadSaveIndex(user_.file("absent.dat").c_str());
    EXPECT_TRUE(SaveSlots.empty());

    // A save name that would leave the user folder is refused and writes nothing.
    EXPECT_FALSE(SaveGame("../escape.sav"));
    EXPECT_FALSE(FileExists(user_.path() + "/../escape.sav"));
}

TEST_F(LifecycleTest, DeletingASaveNeedsPermadeathUnlessForced) {
    Player* hero = StartSmallGame();
    ASSERT_TRUE(SaveGame("keep.sav"));
    hero->permadeath = 0;
    DeleteSaveGame("keep.sav", false);
    EXPECT_TRUE(FileExists(user_.file("keep.sav")));
    DeleteSaveGame("keep.sav", true);
    EXPECT_FALSE(FileExists(user_.file("keep.sav")));
    ReadSaveIndex(nullptr);
    EXPECT_TRUE(SaveSlots.empty());
}

}  // namespace

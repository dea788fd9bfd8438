// The play loop: the autosave timer, the save made on leaving, and the dungeon music rotation.
#include <gtest/gtest.h>

#include "core/shell/game_lifecycle.h"
#include "media/screen.h"
#include "core/input_log.h"
#include "core/shell/play_loop.h"
#include "core/random.h"
#include "core/shell/saved_games.h"
#include "core/shell/turn_engine.h"
#include "creatures/player.h"
#include "levels/level.h"
#include "media/music.h"
#include "media/ticker.h"
#include "platform/atomic_file.h"
#include "platform/platform.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

bool TickerLogHas(const std::string& line) {
    const std::vector<std::string> log = TickerLog();
    return std::find(log.begin(), log.end(), line) != log.end();
}

// A running game on a small open level in a fresh user folder, on the fake clock.
class PlayLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_ = std::make_unique<ScopedEnv>("VAULTMERE_USER_DIR", user_.path().c_str());
        InstallTurnEngineHooks();
        ResetInputLog();
        SetFixedFrameTime(16);
        ClearTicker();
        ClearTickerLog();
        TutorialFlag = false;
        LeaveGameFlag = false;
        SaveOnLeaveFlag = false;
        HeldTrackFlag = false;
        StartGame();
    }
    // A hero on a fresh level, the game's only one.
    void StartGame() {
        Level* level = new Level(0, 0);
        level->SetSize(12, 12);
        for (int y = 1; y < 11; ++y)
            for (int x = 1; x < 11; ++x) level->GetCell(x, y)->type = SquareType::Floor;
        GameLevels.push_back(level);
        CurrentLevel = level;
        hero = new Player();
        hero->name = "Tester";
        hero->saveName = "Tester.sav";
        hero->permadeath = 1;  // the settings window's second button saves and quits
        CurrentPlayer = hero;
        hero->PlaceOnLevel(5, 5, level, 0);
    }
    void TearDown() override {
        if (CurrentPlayer != nullptr || !GameLevels.empty()) EndCurrentGame();
        TutorialFlag = false;
        SaveOnLeaveFlag = false;
        HeldTrackFlag = false;
        ResetInputLog();
        ClearTickerLog();
        SaveSlots.clear();
        if (screenOwned_) {
            ScreenSurface = savedScreen_;
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
    }
    // The loop presents its frames (and the fake clock moves with them) on a small screen.
    void UseScreen() {
        savedScreen_ = ScreenSurface;
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        screenOwned_ = true;
        ScreenSurface = SDL_SetVideoMode(320, 200, 32, SDL_SWSURFACE);
        ASSERT_NE(ScreenSurface, nullptr) << SDL_GetError();
    }

    TempDir user_;
    std::unique_ptr<ScopedEnv> env_;
    Player* hero = nullptr;
    SDL_Surface* savedScreen_ = nullptr;
    bool screenOwned_ = false;
};

TEST_F(PlayLoopTest, AutosaveComesOnlyAfterMoreThanFiveMinutes) {
    uint32_t autosaveTime = LoggedGetTicks();
    const uint32_t start = autosaveTime;
    AdvanceFakeClock(kAutosaveIntervalMs);
    EXPECT_FALSE(AutosaveIfDue(&autosaveTime));
    EXPECT_FALSE(FileExists(user_.file("autosave.sav")));
    EXPECT_FALSE(TickerLogHas("Game autosaved."));
    EXPECT_EQ(autosaveTime, start);

    AdvanceFakeClock(1);
    EXPECT_TRUE(AutosaveIfDue(&autosaveTime));
    EXPECT_EQ(autosaveTime, start + kAutosaveIntervalMs + 1);
    EXPECT_TRUE(TickerLogHas("Game autosaved."));
    const std::string bytes = ReadWholeFile(user_.file("autosave.sav"));
    ASSERT_GE(bytes.size(), 16u);
    const unsigned char header[16] = {'Z', 'N', 'C', 'H', 1, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0};
    EXPECT_EQ(std::memcmp(bytes.data(), header, sizeof header), 0);

    // The index lists the autosave for the hero.
    ReadSaveIndex(nullptr);
    ASSERT_EQ(SaveSlots.size(), 1u);
    EXPECT_EQ(SaveSlots[0].fileName, "autosave.sav");
    EXPECT_EQ(SaveSlots[0].line1, "Tester the Adventurer");

    // The next one is five minutes after this one.
    AdvanceFakeClock(kAutosaveIntervalMs);
    EXPECT_FALSE(AutosaveIfDue(&autosaveTime));
}

TEST_F(PlayLoopTest, AFailedAutosaveSaysSoAndTriesAgainFiveMinutesLater) {
    // A folder where the file should be: the save cannot be written.
    ASSERT_TRUE(MakeDirectory(user_.file("autosave.sav").c_str()));
    uint32_t autosaveTime = LoggedGetTicks();
    AdvanceFakeClock(kAutosaveIntervalMs + 1);
    EXPECT_FALSE(AutosaveIfDue(&autosaveTime));
    EXPECT_EQ(TickerLog(), std::vector<std::string>{"Autosave failed!"});
    EXPECT_EQ(autosaveTime, LoggedGetTicks());
    AdvanceFakeClock(kAutosaveIntervalMs);
    EXPECT_FALSE(AutosaveIfDue(&autosaveTime));
    EXPECT_EQ(TickerLog().size(), 1u);
}

TEST_F(PlayLoopTest, NoAutosaveForADeadHeroOrInATutorial) {
    // The player's own autosave must survive a tutorial.
    WriteWholeFile(user_.file("autosave.sav"), "the player's game");
    uint32_t autosaveTime = LoggedGetTicks();
    AdvanceFakeClock(kAutosaveIntervalMs + 1);

    hero->dead = 1;
    EXPECT_FALSE(AutosaveIfDue(&autosaveTime));
    hero->dead = 0;
    TutorialFlag = true;
    EXPECT_FALSE(AutosaveIfDue(&autosaveTime));
    EXPECT_EQ(ReadWholeFile(user_.file("autosave.sav")), "the player's game");
    EXPECT_FALSE(TickerLogHas("Game autosaved."));
}

TEST_F(PlayLoopTest, LeavingSavesOnlyWhenAskedForALivingHeroAndClearsTheFlag) {
    // The hero leaves through the settings window (permadeath: its second button saves and
    // quits; the first, with its three questions answered yea, yea and OK, quits unsaved; in a
    // tutorial the second button leaves the tutorial).
    const char* const kSaveAndQuit = "key escape\nwait 300\nclick 1 585 426\n";
    const char* const kJustQuit =
        "key escape\nwait 300\nclick 1 433 426\nwait 300\nclick 1 540 458\nwait 300\nclick 1 540 458\n"
        "wait 300\nclick 1 640 458\n";
    const char* const kLeaveTutorial = "key escape\nwait 300\nclick 1 498 426\n";
    struct Case {
        const char* label;
        bool saveOnLeave;
        bool dead;
        bool tutorial;
        bool saved;
        const char* leave;
    };
    const Case cases[] = {
        {"asked", false, false, false, true, kSaveAndQuit},
        {"not asked", false, false, false, false, kJustQuit},
        {"dead hero", true, true, false, false, kSaveAndQuit},
        {"tutorial", true, false, true, false, kLeaveTutorial},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        if (CurrentPlayer == nullptr) StartGame();
        RemoveFile(user_.file("Tester.sav").c_str());
        hero->dead = c.dead ? 1 : 0;
        TutorialFlag = c.tutorial;
        SaveOnLeaveFlag = c.saveOnLeave;
        // A dead hero's release shows the death screen first: its epitaph and the high-score
        // table each wait for a mouse-button release.
        ASSERT_TRUE(OpenInputScriptText(c.dead && !c.tutorial ? "key escape\nwait 40\nclick 1 10 10\nwait 40\nclick 1 10 10\n"
                                                              : c.leave));
        RunGameLoop();
        EXPECT_EQ(FileExists(user_.file("Tester.sav")), c.saved);
        EXPECT_FALSE(SaveOnLeaveFlag);
        EXPECT_EQ(CurrentPlayer, nullptr);
        EXPECT_EQ(CurrentLevel, nullptr);
        EXPECT_TRUE(GameLevels.empty());
        TutorialFlag = false;
    }
}

// The hero's save fails at one step of the file replacement as often as asked.
AtomicWriteStep FailingStep = AtomicWriteStep::Open;
int FailuresLeft = 0;
bool FailHeroSave(AtomicWriteStep step, const std::string& path) {
    const std::string name = "/Tester.sav";
    const bool hero = path.size() >= name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0;
    if (!hero || step != FailingStep || FailuresLeft == 0) return true;
    --FailuresLeft;
    return false;
}

TEST_F(PlayLoopTest, AFailedSaveOnLeavingAsksTheHeroToTryAgainQuitUnsavedOrPlayOn) {
    // Settings window, save and quit; the failure's dialog answers yea (535, 458) or nay (700, 458).
    const std::string leave = "key escape\nwait 300\nclick 1 585 426\nwait 300\n";
    const std::string yea = "click 1 535 458\nwait 300\n";
    const std::string nay = "click 1 700 458\nwait 300\n";
    struct Case {
        const char* label;
        AtomicWriteStep step;
        int failures;
        std::string script;
        bool saved;      // the hero's save holds the game at the end
        int reported;    // failures told on standard error
    };
    const Case cases[] = {
        {"a full disk, freed before trying again", AtomicWriteStep::Flush, 1, leave + yea, true, 1},
        {"a read-only folder, quit without saving", AtomicWriteStep::Open, 100, leave + yea + nay + yea, false, 2},
        {"an I/O error on sync, back to the game, then left once it works", AtomicWriteStep::Sync, 1,
         leave + nay + nay + leave, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        if (CurrentPlayer == nullptr) StartGame();
        WriteWholeFile(user_.file("Tester.sav"), "the previous save");
        FailingStep = c.step;
        FailuresLeft = c.failures;
        SetAtomicWriteHook(FailHeroSave);
        ASSERT_TRUE(OpenInputScriptText(c.script));
        testing::internal::CaptureStderr();
        RunGameLoop();
        const std::string said = testing::internal::GetCapturedStderr();
        SetAtomicWriteHook(nullptr);
        size_t reported = 0;
        for (size_t at = said.find("the game could not be saved: cannot "); at != std::string::npos;
             at = said.find("the game could not be saved: cannot ", at + 1))
            ++reported;
        EXPECT_EQ(reported, static_cast<size_t>(c.reported)) << said;
        EXPECT_EQ(said.find("leaving the game without saving") != std::string::npos, !c.saved) << said;
        const std::string save = ReadWholeFile(user_.file("Tester.sav"));
        if (c.saved) {
            EXPECT_EQ(save.compare(0, 4, "ZNCH"), 0);
        } else {
            EXPECT_EQ(save, "the previous save");
        }
        EXPECT_FALSE(FileExists(user_.file("Tester.sav.tmp")));
        EXPECT_FALSE(SaveOnLeaveFlag);
        EXPECT_EQ(CurrentPlayer, nullptr) << "the game ended";
    }
}

TEST_F(PlayLoopTest, AHeroWithoutASaveNameGetsAFreshOneOnLeaving) {
    WriteWholeFile(user_.file("loadsave.dat"),
                   "1\nTester.sav\nTester the Adventurer\non Floor 1 of Somewhere\n1\n2\n3\n4\n5\n6\n7\n");
    hero->saveName.clear();
    SaveOnLeaveFlag = true;
    EXPECT_TRUE(SaveOnLeaveIfAsked());
    EXPECT_EQ(hero->saveName, "Tester_1.sav");
    EXPECT_TRUE(FileExists(user_.file("Tester_1.sav")));
}

TEST_F(PlayLoopTest, TheLoopRunsUntilTheHeroLeavesAndAutosavesOnTheWay) {
    // Frames of a minute and a bit: the fifth frame is past the five minutes.
    UseScreen();
    SetFixedFrameTime(60001);
    ASSERT_TRUE(OpenInputScriptText("wait 300010\nkey escape\nwait 300\nclick 1 585 426\n"));
    RunGameLoop();
    EXPECT_TRUE(FileExists(user_.file("autosave.sav")));
    EXPECT_TRUE(TickerLogHas("Game autosaved."));
    EXPECT_EQ(CurrentPlayer, nullptr);
}

// The music rotation, observed through the track the music module was last asked for.
class MusicRotationTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedFlag_ = MusicFlag;
        savedEnabled_ = MusicEnabled;
        MusicFlag = 1;
        MusicEnabled = 1;
        ResetInputLog();
        SetFixedFrameTime(16);
        HeldTrackFlag = false;
        SetLastMusicChoiceTime(LoggedGetTicks());
        SetCurrentDungeonTrackIndex(0);
        StopMusic();
    }
    void TearDown() override {
        StopMusic();
        MusicFlag = savedFlag_;
        MusicEnabled = savedEnabled_;
        HeldTrackFlag = false;
        ResetInputLog();
    }
    // The index the next rotation draws after seeding with the seed.
    static int32_t NextDraw(uint32_t seed) {
        CSRand(seed);
        const int32_t index = CRand() / (32767 / 16 + 1);
        CSRand(seed);
        return index;
    }
    static void ExpectTrack(int32_t index) {
        const DungeonTrack& t = GetDungeonTrack(index);
        if (t.opening != nullptr) {
            EXPECT_EQ(CurrentMusicIntro(), t.opening);
            EXPECT_EQ(CurrentMusicLoop(), t.loop);
        } else {
            EXPECT_EQ(CurrentMusicIntro(), t.loop);
            EXPECT_EQ(CurrentMusicLoop(), t.loop);  // the track loops itself
        }
    }

    int32_t savedFlag_ = 0;
    int32_t savedEnabled_ = 0;
};

TEST_F(MusicRotationTest, ForcedAlwaysStartsATrackEvenTheCurrentOne) {
    const int32_t drawn = NextDraw(77);
    SetCurrentDungeonTrackIndex(drawn);
    AdvanceFakeClock(1000);
    RotateDungeonMusic(true);
    ExpectTrack(drawn);
    EXPECT_EQ(CurrentDungeonTrackIndex(), drawn);
    EXPECT_EQ(LastMusicChoiceTime(), LoggedGetTicks());
}

TEST_F(MusicRotationTest, UnforcedWaitsMoreThanSixMinutes) {
    const uint32_t start = LastMusicChoiceTime();
    const int32_t drawn = NextDraw(1234);
    SetCurrentDungeonTrackIndex((drawn + 1) % 16);
    AdvanceFakeClock(kMusicRotationMs);
    RotateDungeonMusic(false);
    EXPECT_EQ(CurrentMusicIntro(), "");
    EXPECT_EQ(LastMusicChoiceTime(), start);
    // Nothing was drawn: the next draw is still the first of the seed.
    EXPECT_EQ(NextDraw(1234), drawn);

    AdvanceFakeClock(1);
    RotateDungeonMusic(false);
    ExpectTrack(drawn);
    EXPECT_EQ(CurrentDungeonTrackIndex(), drawn);
    EXPECT_EQ(LastMusicChoiceTime(), start + kMusicRotationMs + 1);
}

TEST_F(MusicRotationTest, UnforcedDrawOfTheCurrentTrackPlaysNothingButRestartsTheWait) {
    const int32_t drawn = NextDraw(99);
    SetCurrentDungeonTrackIndex(drawn);
    AdvanceFakeClock(kMusicRotationMs + 5);
    RotateDungeonMusic(false);
    EXPECT_EQ(CurrentMusicIntro(), "");
    EXPECT_EQ(CurrentDungeonTrackIndex(), drawn);
    EXPECT_EQ(LastMusicChoiceTime(), LoggedGetTicks());
}

TEST_F(MusicRotationTest, AHeldTrackBlocksUnforcedRotationsWithoutRestartingTheWait) {
    const uint32_t start = LastMusicChoiceTime();
    const int32_t drawn = NextDraw(4321);
    SetCurrentDungeonTrackIndex((drawn + 3) % 16);
    HeldTrackFlag = true;
    AdvanceFakeClock(kMusicRotationMs + 100);
    RotateDungeonMusic(false);
    EXPECT_EQ(CurrentMusicIntro(), "");
    EXPECT_EQ(LastMusicChoiceTime(), start);
    // A forced change is not held back.
    HeldTrackFlag = true;
    RotateDungeonMusic(true);
    ExpectTrack(drawn);

    // Once the flag is cleared, the first pass after six minutes changes the track.
    HeldTrackFlag = true;
    const uint32_t chosen = LastMusicChoiceTime();
    AdvanceFakeClock(kMusicRotationMs + 1);
    RotateDungeonMusic(false);
    EXPECT_EQ(LastMusicChoiceTime(), chosen);
    HeldTrackFlag = false;
    StopMusic();
    const int32_t next = NextDraw(555);
    SetCurrentDungeonTrackIndex((next + 1) % 16);
    RotateDungeonMusic(false);
    ExpectTrack(next);
}

TEST_F(MusicRotationTest, EverySixteenTracksCanBeChosen) {
    std::set<int32_t> seen;
    CSRand(2024);
    for (int i = 0; i < 400 && seen.size() < 16; ++i) {
        RotateDungeonMusic(true);
        const int32_t index = CurrentDungeonTrackIndex();
        ASSERT_GE(index, 0);
        ASSERT_LT(index, 16);
        ExpectTrack(index);
        seen.insert(index);
    }
    EXPECT_EQ(seen.size(), 16u);
    // The table itself, at both ends and at one with an opening piece.
    EXPECT_STREQ(GetDungeonTrack(0).loop, "tunes/chilled-repeat.ogg");
    EXPECT_EQ(GetDungeonTrack(0).opening, nullptr);
    EXPECT_STREQ(GetDungeonTrack(12).opening, "tunes/stygian-open.ogg");
    EXPECT_STREQ(GetDungeonTrack(15).loop, "tunes/veil-repeat.ogg");
}

}  // namespace

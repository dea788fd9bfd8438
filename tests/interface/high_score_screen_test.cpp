// The end of a run: the high-score table, the death screen (saves of a permadeath hero, the
// epitaph, the table entry) and the victory screen (achievements, music, pages, entry).
#include "interface/high_score_screen.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <string>
#include <vector>

#include "core/high_scores.h"
#include "core/input_log.h"
#include "core/shell/menu_hooks.h"
#include "core/shell/saved_games.h"
#include "creatures/player.h"
#include "interface/menu_frame.h"
#include "interface/menu_screen_hooks.h"
#include "interface/menu_test_fixture.h"
#include "interface/screens.h"
#include "levels/level.h"
#include "platform/platform.h"
#include "media/music.h"
#include "store_platform/leaderboards.h"
#include "store_platform/stats.h"
#include "store_platform/store.h"

namespace {

std::string Table(int entries) {
    std::string text;
    for (int i = 0; i < entries; ++i) {
        text += "Hero" + std::to_string(i) + " the Adventurer\n" + std::to_string(5000 - 100 * i) + "\nKilled by a rat\n";
    }
    return text;
}

TEST(EndOfRunRules, VictoryAchievementsByDifficultyPermadeathAndBuild) {
    struct Case {
        int difficulty;
        bool permadeath, random;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {0, false, false, {"ACHIEVEMENT_KILL_ZARNOCH_EASY"}},
        {0, true, false, {"ACHIEVEMENT_KILL_ZARNOCH_EASY", "ACHIEVEMENT_KILL_ZARNOCH_EASY_PERMADEATH"}},
        {1, false, true, {"ACHIEVEMENT_RANDOM_SKILLS_BUILD", "ACHIEVEMENT_KILL_ZARNOCH_MEDIUM"}},
        {1, true, false, {"ACHIEVEMENT_KILL_ZARNOCH_MEDIUM", "ACHIEVEMENT_KILL_ZARNOCH_MEDIUM_PERMADEATH"}},
        {2, false, false, {"ACHIEVEMENT_KILL_ZARNOCH_HARD"}},
        {2, true, true,
         {"ACHIEVEMENT_RANDOM_SKILLS_BUILD", "ACHIEVEMENT_KILL_ZARNOCH_HARD", "ACHIEVEMENT_KILL_ZARNOCH_HARD_PERMADEATH"}},
        {3, true, false, {}},
        {-1, false, true, {"ACHIEVEMENT_RANDOM_SKILLS_BUILD"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VictoryAchievements(c.difficulty, c.permadeath, c.random), c.names)
            << c.difficulty << " " << c.permadeath << " " << c.random;
    }
}

TEST(EndOfRunRules, EpitaphLevelLine) {
    Level first(0, 0);
    EXPECT_EQ(EpitaphLevelLine(&first), "on Level 1");
    Level deep(0, 6);
    EXPECT_EQ(EpitaphLevelLine(&deep), "on Level 7");
    Level side(0, -1);
    side.isSideDimension = 1;
    EXPECT_EQ(EpitaphLevelLine(&side), "in a mysterious dimension");
}

class EndOfRunScreenTest : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        if (IsSkipped()) return;
        InstallMenuScreenHooks();
        storeEnv_.reset(new ScopedEnv("VAULTMERE_STORE_DIR", ""));
        SteamAPI_Shutdown();
        SteamAPI_Init();
        InitSteamStats();
        SteamAPI_RunCallbacks();
        CreateLeaderboards();
        for (int i = 0; i < 4; ++i) SteamAPI_RunCallbacks();
        level_ = new Level(0, 0);
        CurrentLevel = level_;
        hero_ = new Player();
        CurrentPlayer = hero_;
        hero_->name = "Bob";
        hero_->saveName = "Bob.sav";
        hero_->score = 1234;
        hero_->difficulty = 1;
        hero_->deathCause = "by a giant rat";
        for (int i = 0; i < 7; ++i) hero_->skillIds[i] = 10 + i;
    }
    void TearDown() override {
        if (!IsSkipped()) {
            CurrentPlayer = nullptr;
            CurrentLevel = nullptr;
            delete hero_;
            delete level_;
            Leaderboards.clear();
            SteamAPI_Shutdown();
            InitSteamStats();
            ClearHighScores();
        }
        storeEnv_.reset();
        MenuScreenTest::TearDown();
    }

    // Index records and files: the hero's save and an autosave of the given first line and
    // skills.
    void MakeHeroSaves(const std::string& autosaveLine1, int autosaveSkillBase) {
        SaveSlots.clear();
        SaveSlot own;
        own.fileName = "Bob.sav";
        own.line1 = "Bob the Adventurer";
        for (int i = 0; i < 7; ++i) own.skills[i] = 10 + i;
        SaveSlot autosave = own;
        autosave.fileName = "autosave.sav";
        autosave.line1 = autosaveLine1;
        for (int i = 0; i < 7; ++i) autosave.skills[i] = autosaveSkillBase + i;
        SaveSlots.push_back(autosave);
        SaveSlots.push_back(own);
        ASSERT_TRUE(WriteSaveIndex());
        for (const char* f : {"Bob.sav", "bitmap_Bob.sav", "autosave.sav", "bitmap_autosave.sav"}) {
            WriteWholeFile(user_.file(f), "x");
        }
    }

    Level* level_ = nullptr;
    Player* hero_ = nullptr;
    std::unique_ptr<ScopedEnv> storeEnv_;
};

TEST_F(EndOfRunScreenTest, HighScoresShowTheFirstTenAndEndOnAnyRelease) {
    // The picture of eleven or twelve entries is the picture of ten; nine differ.
    std::vector<SDL_Surface*> shots;
    for (int entries : {10, 12, 11, 9}) {
        WriteWholeFile(user_.file("hiscores.txt"), Table(entries));
        Script("wait 40\nclick 1 10 10\n");
        ShowHighScores();
        shots.push_back(NewScreenSized(1280, 720));
        SDL_BlitSurface(ScreenSurface, nullptr, shots.back(), nullptr);
    }
    // The pointer's trail aside (top-left corner), the pictures compare.
    EXPECT_EQ(CountDifferentPixels(shots[0], 100, 100, shots[1], 100, 100, 1080, 600), 0);
    EXPECT_EQ(CountDifferentPixels(shots[0], 100, 100, shots[2], 100, 100, 1080, 600), 0);
    // Row 9 (y = cy - 140 + 360 = 580): its score lies left of cx + 240.
    EXPECT_GT(CountDifferentPixels(shots[0], 400, 580, shots[3], 400, 580, 480, 40), 0);
    EXPECT_GT(CountDifferentPixels(shots[0], 830, 580, shots[3], 830, 580, 50, 20), 0);
    EXPECT_EQ(CountDifferentPixels(shots[0], 881, 580, shots[3], 881, 580, 100, 40), 0);
    for (SDL_Surface* s : shots) SDL_FreeSurface(s);

    // A key press alone does not end it; a key release or a button release does.
    Script("keydown a\nwait 500\nkeyup a\n");
    ShowHighScores();
    EXPECT_GE(LoggedGetTicks(), 500u);
    Script("buttondown 3 50 50\nwait 300\nbuttonup 3 50 50\n");
    ShowHighScores();
    EXPECT_GE(LoggedGetTicks(), 300u);
}

TEST_F(EndOfRunScreenTest, DeathRemovesOnlyAPermadeathHerosOwnSaves) {
    struct Case {
        int permadeath;
        std::string autosaveLine1;
        int autosaveSkills;
        bool saveKept, autosaveKept;
    };
    const Case cases[] = {
        {1, "Bob the Adventurer", 10, false, false},
        {0, "Bob the Adventurer", 10, true, true},
        {1, "Alice the Adventurer", 10, false, true},  // another hero's autosave
        {1, "Bob the Adventurer", 20, false, true},    // same name, other skills
    };
    for (const Case& c : cases) {
        MakeHeroSaves(c.autosaveLine1, c.autosaveSkills);
        hero_->permadeath = c.permadeath;
        Script("wait 40\nclick 1 10 10\nwait 40\nclick 1 10 10\n");
        ShowDeathScreen();
        EXPECT_EQ(FileExists(user_.file("Bob.sav")), c.saveKept) << c.permadeath << " " << c.autosaveLine1;
        EXPECT_EQ(FileExists(user_.file("bitmap_Bob.sav")), c.saveKept);
        EXPECT_EQ(FileExists(user_.file("autosave.sav")), c.autosaveKept) << c.autosaveLine1 << c.autosaveSkills;
        ReadSaveIndex(nullptr);
        EXPECT_EQ(SaveSlots.size(), static_cast<size_t>((c.saveKept ? 1 : 0) + (c.autosaveKept ? 1 : 0)));
        std::remove(user_.file("hiscores.txt").c_str());
    }
}

TEST_F(EndOfRunScreenTest, DeathWaitsForAMouseReleaseAndEntersTheRunOnce) {
    hero_->permadeath = 1;
    // Keys do not end the epitaph; the button release does, then any release ends the table.
    Script("wait 40\nkey a\nkey escape\nwait 400\nclick 1 10 10\nwait 40\nclick 1 10 10\n");
    ShowDeathScreen();
    EXPECT_GE(LoggedGetTicks(), 400u);
    const std::string table = ReadWholeFile(user_.file("hiscores.txt"));
    EXPECT_EQ(table, "Bob the Adventurer\n1234\nby a giant rat\n");
    int32_t score = -1;
    ASSERT_NE(SteamUserStats(), nullptr);
    EXPECT_TRUE(SteamUserStats()->GetLeaderboardScore("Dwarven Moderation + Permadeath", &score));
    EXPECT_EQ(score, 1234);
    // The same run again is a duplicate: the file stays byte for byte.
    Script("wait 40\nclick 1 10 10\nwait 40\nclick 1 10 10\n");
    ShowDeathScreen();
    EXPECT_EQ(ReadWholeFile(user_.file("hiscores.txt")), table);
}

TEST_F(EndOfRunScreenTest, AnUnreadableTableIsNeverReplaced) {
    // A folder where the table should be cannot be read: nothing is written over it.
    ASSERT_TRUE(MakeDirectoryTree(user_.file("hiscores.txt")));
    EXPECT_FALSE(RecordHighScore("Bob the Adventurer", 10, "by a rat"));
    struct stat info;
    ASSERT_EQ(stat(user_.file("hiscores.txt").c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    // No file at all: the first entry makes it.
    ASSERT_EQ(rmdir(user_.file("hiscores.txt").c_str()), 0);
    EXPECT_TRUE(RecordHighScore("Bob the Adventurer", 10, "by a rat"));
    EXPECT_EQ(ReadWholeFile(user_.file("hiscores.txt")), "Bob the Adventurer\n10\nby a rat\n");
}

SDL_Surface* EpitaphShot = nullptr;
void TakeEpitaphShot() {
    if (EpitaphShot == nullptr) EpitaphShot = SDL_CreateRGBSurface(SDL_SWSURFACE, 1280, 720, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_BlitSurface(ScreenSurface, nullptr, EpitaphShot, nullptr);
}

// The lowest line of the picture below y 420 (cy + 60) holding pure black text pixels
// between cx - 250 and cx + 250.
int LowestTextLine(SDL_Surface* s) {
    int lowest = -1;
    for (int y = 420; y < 720; ++y)
        for (int x = 390; x < 890; ++x)
            if (MenuPixelRgb(s, x, y) == 0) lowest = y;
    return lowest;
}

TEST_F(EndOfRunScreenTest, LongCauseWrapsAndMovesTheLinesBelowDown) {
    hero_->permadeath = 0;
    SetScriptScreenshotTaker(TakeEpitaphShot);
    std::vector<int> lowest;
    for (const char* cause : {"by a rat",
                              "by a very large and exceedingly ill-tempered rat that had been waiting "
                              "patiently in the dark for a hero exactly like this one"}) {
        hero_->deathCause = cause;
        Script("wait 40\nscreenshot\nwait 40\nclick 1 10 10\nwait 40\nclick 1 10 10\n");
        ShowDeathScreen();
        ASSERT_NE(EpitaphShot, nullptr);
        lowest.push_back(LowestTextLine(EpitaphShot));
    }
    SetScriptScreenshotTaker(nullptr);
    SDL_FreeSurface(EpitaphShot);
    EpitaphShot = nullptr;
    ASSERT_GT(lowest[0], 420);
    // At least one more wrapped line of the 32-point font pushes the score line down.
    EXPECT_GE(lowest[1], lowest[0] + 30);
}

TEST_F(EndOfRunScreenTest, VictoryGrantsPlaysWaitsAndRecords) {
    hero_->difficulty = 2;
    hero_->permadeath = 1;
    hero_->randomBuild = 0;
    hero_->female = 1;
    // The picture and four pages each need a mouse release; keys are ignored.
    std::string script = "wait 40\nkey return\nwait 200\n";
    for (int i = 0; i < 5; ++i) script += "click 1 10 10\nwait 40\n";
    script += "click 1 10 10\n";
    Script(script);
    ShowVictoryScreen();
    EXPECT_GE(LoggedGetTicks(), 200u);
    EXPECT_EQ(CurrentMusicIntro(), "tunes/victory-intro.ogg");
    EXPECT_EQ(CurrentMusicLoop(), "tunes/victory-repeat.ogg");
    bool hard = false, hardPermadeath = false, random = true;
    SteamUserStats()->GetAchievement("ACHIEVEMENT_KILL_ZARNOCH_HARD", &hard);
    SteamUserStats()->GetAchievement("ACHIEVEMENT_KILL_ZARNOCH_HARD_PERMADEATH", &hardPermadeath);
    SteamUserStats()->GetAchievement("ACHIEVEMENT_RANDOM_SKILLS_BUILD", &random);
    EXPECT_TRUE(hard);
    EXPECT_TRUE(hardPermadeath);
    EXPECT_FALSE(random);
    EXPECT_EQ(hero_->deathCause, "Vanquished Lord Zarnoch!");
    EXPECT_EQ(ReadWholeFile(user_.file("hiscores.txt")), "Bob the Adventurer\n1234\nVanquished Lord Zarnoch!\n");
    int32_t score = -1;
    EXPECT_TRUE(SteamUserStats()->GetLeaderboardScore("Going Rogue + Permadeath", &score));
    EXPECT_EQ(score, 1234);
}

// The screen names itself inside the grave, says when the table is empty, and shows Back.
// Compared with the bare grave: the title band (y 90..130), the middle band where the empty
// text stands (y 320..360) and Back's corner.
TEST_F(EndOfRunScreenTest, HighScoresHaveATitleAnEmptyTextAndBack) {
    SDL_Surface* grave = DrawMenuBackground("ui/zarnoch_grave.png", nullptr);
    ASSERT_NE(grave, nullptr);
    struct Case {
        int entries;
        bool emptyText;
    };
    for (const Case c : {Case{0, true}, Case{1, false}}) {
        if (c.entries == 0) {
            std::remove(user_.file("hiscores.txt").c_str());
        } else {
            WriteWholeFile(user_.file("hiscores.txt"), Table(c.entries));
        }
        Script("wait 40\nclick 1 1270 710\n");
        ShowHighScores();
        EXPECT_GT(CountDifferentPixels(ScreenSurface, 440, 90, grave, 440, 90, 400, 40), 200) << c.entries;
        EXPECT_GT(CountDifferentPixels(ScreenSurface, 10, 10, grave, 10, 10, 100, 40), 500) << c.entries;
        const int middle = CountDifferentPixels(ScreenSurface, 440, 320, grave, 440, 320, 400, 40);
        if (c.emptyText) {
            EXPECT_GT(middle, 200);
        } else {
            // One row (y 220..260): nothing stands in the middle band.
            EXPECT_EQ(middle, 0);
        }
    }
    SDL_FreeSurface(grave);
}

}  // namespace

// Through the executable: what a save holds of the hero and of a level's monsters is what the
// game has again after -load-filename=, and what it saves again after that.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "creatures/monster.h"
#include "creatures/player.h"
#include "levels/level.h"
#include "support/run_game.h"
#include "tests/integration/in_process_game.h"
#include "tests/levels/save_bytes.h"

namespace {

const char kTutorialDone[] = "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n";

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

Buff* TimedBuff(const char* name, int32_t life) {
    Buff* buff = new Buff(name);
    buff->secondaryMods[kStatLife] = life;
    buff->turnsLeft = 50;
    return buff;
}

// A hero at 3 health of 15, alive only through a +10 Life buff, with a plain buff before it
// in its list (the hero keeps its buffs in name order), saved on an open level under that name.
void SaveLowHero(const std::string& userDir, const std::string& name) {
    InProcessGame game(userDir);
    ASSERT_TRUE(game.loaded());
    Level* level = new Level(0, 0);
    level->SetSize(20, 20);
    for (int y = 1; y < 19; ++y)
        for (int x = 1; x < 19; ++x) level->GetCell(x, y)->type = SquareType::Floor;
    GameLevels.push_back(level);
    CurrentLevel = level;
    Player* hero = new Player();
    hero->name = "Hero";
    // The leave script presses the exits of a permadeath hero's settings window.
    hero->permadeath = 1;
    for (int i = 0; i < 7; ++i) hero->skillIds[i] = i;
    CurrentPlayer = hero;
    hero->PlaceOnLevel(9, 9, level, 0);
    hero->RecalculateStats();
    hero->AddBuff(TimedBuff("Iron Skin", 0));
    hero->AddBuff(TimedBuff("Second Wind", 10));
    hero->health = 3;
    ASSERT_EQ(hero->stat[kStatLife], 15);
    testing::internal::CaptureStdout();
    const bool saved = SaveGame(name.c_str());
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(saved);
}

TEST(SavedStateSession, AHeroSavedAtThreeHealthWithTwoBuffsLoadsAliveWithThatHealth) {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), kTutorialDone);
    SaveLowHero(user.path(), "Hero.sav");
    const std::string save = ReadWholeFile(user.file("Hero.sav"));
    ASSERT_GT(save.size(), 16u);

    WriteWholeFile(user.file("script.txt"), std::string("wait 301000\n") + kLeaveGameScript + kQuitFromMenuScript);
    GameRun run = RunGame({"-no-initial-config", "-load-filename=Hero.sav"}, user.path(),
                          {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}, {"VAULTMERE_FRAME_MS", "500"}});
    ASSERT_EQ(run.exitCode, 0) << TailOf(run.output);
    EXPECT_FALSE(Contains(run.output, "Player takes")) << TailOf(run.output);
    // Alive and in play: the game autosaved after five minutes, which it does only for a
    // living hero.
    ASSERT_TRUE(FileExists(user.file("autosave.sav"))) << TailOf(run.output);

    InProcessGame game(user.path());
    ASSERT_TRUE(game.loaded());
    std::string printed;
    ASSERT_TRUE(game.Load("autosave.sav", &printed)) << TailOf(printed);
    ASSERT_NE(CurrentPlayer, nullptr);
    EXPECT_EQ(CurrentPlayer->dead, 0);
    EXPECT_EQ(CurrentPlayer->health, 3);
    EXPECT_EQ(CurrentPlayer->stat[kStatLife], 15);
    std::vector<std::string> names;
    for (const Buff* buff : CurrentPlayer->buffs) names.push_back(buff->name);
    EXPECT_EQ(names.size(), 2u);
    EXPECT_TRUE(std::find(names.begin(), names.end(), "Iron Skin") != names.end());
    EXPECT_TRUE(std::find(names.begin(), names.end(), "Second Wind") != names.end());
}

// The monsters of the current level that sleep, in the save of that name.
int CountSleepers(const TempDir& user, const std::string& name) {
    InProcessGame game(user.path());
    EXPECT_TRUE(game.loaded());
    std::string printed;
    EXPECT_TRUE(game.Load(name, &printed)) << TailOf(printed);
    if (CurrentLevel == nullptr) return -1;
    int sleepers = 0;
    for (GameObj* obj : CurrentLevel->monsters) {
        const Monster* monster = dynamic_cast<const Monster*>(obj);
        if (monster != nullptr && monster->HasStatus(Monster::kStatusAsleep)) ++sleepers;
    }
    return sleepers;
}

TEST(SavedStateSession, TheMonsterGalleryKeepsItsThreeSleepersAcrossALoad) {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), kTutorialDone);
    // No turn passes: fast frames carry the clock past the autosave, then the game is left.
    WriteWholeFile(user.file("script.txt"),
                   std::string("seed 3\nwait 600\nframes 1000x320\nwait 310000\n") + kLeaveGameScript);
    GameRun played = RunGame({"-no-initial-config", "-player-random-build", "-testroom", "Monster Gallery", "-x", "8",
                              "-y", "4"},
                             user.path(), {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}});
    ASSERT_EQ(played.exitCode, 0) << TailOf(played.output);
    ASSERT_TRUE(FileExists(user.file("autosave.sav"))) << TailOf(played.output);
    const std::string first = ReadWholeFile(user.file("autosave.sav"));
    EXPECT_EQ(CountSleepers(user, "autosave.sav"), 3) << "as placed on this seed";

    // Loaded by the game and saved again, twice over: the same sleepers, the same bytes.
    std::string previous = first;
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE("load " + std::to_string(round));
        const std::string again =
            LoadAndAutosave(user, "gallery.sav", previous, std::string(kLeaveGameScript) + kQuitFromMenuScript);
        ASSERT_GT(again.size(), 16u);
        EXPECT_EQ(FirstByteDifference(std::vector<uint8_t>(again.begin(), again.end()),
                                      std::vector<uint8_t>(first.begin(), first.end())),
                  "");
        WriteWholeFile(user.file("reloaded.sav"), again);
        EXPECT_EQ(CountSleepers(user, "reloaded.sav"), 3);
        previous = again;
    }
}

}  // namespace

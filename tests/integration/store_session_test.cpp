// The real executable with the local store: the input script's screenshot, and whole games
// played with store faults injected through the store folder.
#include <gtest/gtest.h>

#include <SDL.h>

#include <map>
#include <string>

#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Leaves the play screen with Escape, then quits from the main menu.
const char* const kLeaveAndQuit = kLeaveGameScript;

TEST(StoreSession, AScriptScreenshotPhotographsTheTitleMenu) {
    TempDir user;
    WriteWholeFile(user.file("script.txt"), std::string("wait 300\nscreenshot\n") + kQuitFromMenuScript);
    GameRun run = RunGame({"-no-initial-config"}, user.path(), {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Contains(run.output, "Input script: screenshot saved to " + user.file("bitmap_0.bmp"))) << run.output;
    SDL_Surface* shot = SDL_LoadBMP(user.file("bitmap_0.bmp").c_str());
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(shot->w, 1280);
    EXPECT_EQ(shot->h, 720);
    // Not a black frame: the menu was drawn.
    SDL_LockSurface(shot);
    int lit = 0;
    for (int y = 0; y < shot->h; y += 8) {
        const Uint8* row = static_cast<const Uint8*>(shot->pixels) + y * shot->pitch;
        for (int x = 0; x < shot->w * shot->format->BytesPerPixel; x += 8 * shot->format->BytesPerPixel) lit += row[x] != 0;
    }
    SDL_UnlockSurface(shot);
    SDL_FreeSurface(shot);
    EXPECT_GT(lit, 1000);
}

TEST(StoreSession, AGameRunsWithEveryStoreFault) {
    const char* const faults[] = {
        "absent userstats\n", "absent user\nabsent utils\n", "logged-off\n", "delay 5\nstored-result 8\n",
        "board-missing Going Rogue\nboard-io-failure Elvishly Easy\n",
    };
    for (const char* fault : faults) {
        TempDir user;
        WriteWholeFile(user.file("config.xml"),
                       "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
        MakeFileWithParents(user.file("store/faults.txt"), fault);
        std::string script = "seed 1\nwait 200\n";
        for (int i = 0; i < 20; ++i) script += "key space\nwait 20\n";
        WriteWholeFile(user.file("script.txt"), script + kLeaveAndQuit);
        GameRun run = RunGame({"-no-initial-config", "-player-random-build", "-debug-flag"}, user.path(),
                              {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}});
        EXPECT_EQ(run.exitCode, 0) << fault << run.output;
        EXPECT_TRUE(Contains(run.output, "Leaving the game after ")) << fault << run.output;
        EXPECT_FALSE(Contains(run.output, "unknown store fault")) << fault;
        const bool counts = std::string(fault).find("absent") == std::string::npos &&
                            std::string(fault).find("logged-off") == std::string::npos;
        EXPECT_EQ(Contains(run.output, "Received stats and achievements from Steam"), counts) << fault;
    }
}

}  // namespace

namespace {

TEST(StoreSession, QuickStartsOfBothGendersAwardTheirAchievementAcrossRuns) {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    WriteWholeFile(user.file("script.txt"), std::string("seed 3\nwait 200\n") + kLeaveAndQuit);
    const std::map<std::string, std::string> env = {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}};
    for (const char* gender : {"-player-male", "-player-male", "-player-female"}) {
        const bool last = std::string(gender) == "-player-female";
        GameRun run = RunGame({"-no-initial-config", "-player-random-build", gender}, user.path(), env);
        ASSERT_EQ(run.exitCode, 0) << gender << run.output;
        const std::string stats = ReadWholeFile(user.file("store/stats.txt"));
        EXPECT_EQ(Contains(stats, "achievement ACHIEVEMENT_BOTH_GENDERS"), last) << gender << stats;
    }
}

}  // namespace

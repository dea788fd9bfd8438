// The real executable, headless: a hero resting on a seeded first level is found and struck by
// the monsters, the same way in every run.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

#include "support/run_game.h"

namespace {

struct Session {
    GameRun run;
    std::string tickerLog;
};

// 400 rests on the level of seed 1, where the monsters find the resting hero, then Escape twice
// and "Quit".
Session RestFourHundredTurns() {
    TempDir user;
    WriteWholeFile(user.file("config.xml"),
                   "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    std::ostringstream script;
    script << "seed 1\nwait 200\n";  // a level where monsters find the resting hero
    for (int i = 0; i < 400; ++i) script << "key space\nwait 20\n";
    // Escape opens the settings window, whose second button saves and quits. A hero who died
    // meanwhile sees the epitaph and the high-score table instead, each ended by one of those
    // clicks; then the menu is left by Escape and "Quit".
    script << kLeaveGameScript;
    script << "wait 300\nkey escape\nwait 300\nclick 1 535 458\n";
    WriteWholeFile(user.file("script.txt"), script.str());
    Session s;
    s.run = RunGame({"-no-initial-config", "-player-random-build", "-debug-flag"}, user.path(),
                    {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                     {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}});
    s.tickerLog = ReadWholeFile(user.file("ticker.txt"));
    return s;
}

TEST(CombatSession, RestingHeroesAreStruckTheSameWayEveryRun) {
    const Session first = RestFourHundredTurns();
    ASSERT_EQ(first.run.exitCode, 0) << first.run.output;
    EXPECT_NE(first.run.output.find("Player takes "), std::string::npos) << first.run.output;
    const std::regex attackLine("(The [A-Za-z ]+|Something) [a-z]+ you!");
    EXPECT_TRUE(std::regex_search(first.tickerLog, attackLine)) << first.tickerLog;
    EXPECT_NE(first.run.output.find("Leaving the game after "), std::string::npos) << first.run.output;

    const Session second = RestFourHundredTurns();
    ASSERT_EQ(second.run.exitCode, 0) << second.run.output;
    EXPECT_EQ(second.tickerLog, first.tickerLog);
}

}  // namespace

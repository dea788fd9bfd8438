// The real executable, headless: a hero resting on a seeded first level is found and struck by
// the monsters, the same way in every run.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

#include "support/run_game.h"

namespace {

using Session = TickerRun;

// 400 rests on the level of seed 1, where the monsters find the resting hero, then the game is
// left (the epitaph and high scores of a hero who died included) and "Quit".
Session RestFourHundredTurns() {
    std::ostringstream script;
    script << "seed 1\nwait 200\n";  // a level where monsters find the resting hero
    for (int i = 0; i < 400; ++i) script << "key space\nwait 20\n";
    script << kLeaveGameScript << "wait 300\nkey escape\nwait 300\nclick 1 535 458\n";
    return RunRandomHeroWithTicker(script.str());
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

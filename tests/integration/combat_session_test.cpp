// The real executable, headless: a hero resting on a seeded first level is found and struck by
// the monsters in melee, the same way in every run.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

#include "support/run_game.h"

namespace {

using Session = TickerRun;

// 400 rests on the level of seed 2, where a Mud Newt finds the resting hero and bites as well
// as spits, then the game is left (the epitaph and high scores of a hero who died included)
// and "Quit".
Session RestFourHundredTurns() {
    std::ostringstream script;
    script << "seed 2\nwait 200\n";  // a level where monsters find the resting hero
    for (int i = 0; i < 400; ++i) script << "key space\nwait 20\n";
    script << kLeaveGameScript << "wait 300\nkey escape\nwait 300\nclick 1 535 458\n";
    return RunRandomHeroWithTicker(script.str());
}

TEST(CombatSession, RestingHeroesAreStruckTheSameWayEveryRun) {
    const Session first = RestFourHundredTurns();
    ASSERT_EQ(first.run.exitCode, 0) << first.run.output;
    EXPECT_NE(first.run.output.find("Player takes "), std::string::npos) << first.run.output;
    // A melee blow: the verb line of a damage type with its breakdown (a spell's line has
    // none), and the hero takes what the breakdown adds up to.
    const std::regex meleeLine(
        "(The [A-Za-z ]+|Something) (crushes|slashes|blasts|pierces|ignites|freezes|shocks|poisons|blesses|curses|"
        "dissolves|putrefies|changes|mystifies|chokes|philosophizes) you! \\(([^)\n]*)\\)");
    std::smatch blow;
    ASSERT_TRUE(std::regex_search(first.tickerLog, blow, meleeLine)) << first.tickerLog;
    const std::string breakdown = blow[3].str();
    const std::regex amount("\\] (\\d+) [a-z]+");
    int dealt = 0;
    for (auto it = std::sregex_iterator(breakdown.begin(), breakdown.end(), amount); it != std::sregex_iterator(); ++it) {
        dealt += std::stoi((*it)[1]);
    }
    EXPECT_GT(dealt, 0) << blow[0];
    EXPECT_NE(first.run.output.find("Player takes " + std::to_string(dealt) + " damage!"), std::string::npos)
        << blow[0] << "\n" << first.run.output;
    EXPECT_NE(first.run.output.find("Leaving the game after "), std::string::npos) << first.run.output;

    const Session second = RestFourHundredTurns();
    ASSERT_EQ(second.run.exitCode, 0) << second.run.output;
    EXPECT_EQ(second.tickerLog, first.tickerLog);
}

}  // namespace

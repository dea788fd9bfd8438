// The real executable, headless: a hero resting on a seeded first level is found and struck by
// the monsters in melee, the same way in every run; a hero of the sword strikes with its skill.
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
    script << "seed 4\nwait 200\n";  // a level where monsters find the resting hero
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

namespace {

// The hero of the default build (the first seven skills, swordplay among them, so the Rusty
// Blade in hand and the sword's stance learned) beside a Diggle of the Monster Gallery on
// seed 3, striking west a few times.
TickerRun StrikeFromTheSwordStance() {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    WriteWholeFile(user.file("last.txt"), "0\n1\n2\n3\n4\n5\n6\n");
    std::string script = "seed 3\nwait 300\n";
    for (int i = 0; i < 3; ++i) script += "click 1 640 405\nwait 300\n";
    script += kLeaveGameScript;
    WriteWholeFile(user.file("script.txt"), script);
    TickerRun r;
    r.run = RunGame({"-no-initial-config", "-player-last-build", "-debug-flag", "-testroom", "Monster Gallery", "-x",
                     "9", "-y", "6"},
                    user.path(),
                    {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                     {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}});
    r.tickerLog = ReadWholeFile(user.file("ticker.txt"));
    return r;
}

TEST(CombatSession, TheHerosSwordSkillAddsItsPiercingDamageToEveryBlow) {
    const TickerRun r = StrikeFromTheSwordStance();
    ASSERT_EQ(r.run.exitCode, 0) << r.run.output;
    // The blade deals slashing only; the piercing of the breakdown is the stance's, and the
    // monster takes the whole of what the breakdown adds up to.
    const std::regex heroBlow("You [a-z]+ the ([A-Za-z ]+)! \\(([^)\n]*)\\)");
    std::smatch blow;
    ASSERT_TRUE(std::regex_search(r.tickerLog, blow, heroBlow)) << r.tickerLog;
    const std::string breakdown = blow[2].str();
    EXPECT_NE(breakdown.find("[icon] 2 piercing"), std::string::npos) << blow[0];
    const std::regex amount("\\] (\\d+) ([a-z]+)");
    int dealt = 0;
    for (auto it = std::sregex_iterator(breakdown.begin(), breakdown.end(), amount); it != std::sregex_iterator(); ++it) {
        dealt += std::stoi((*it)[1]);
    }
    EXPECT_NE(r.run.output.find("Monster takes " + std::to_string(dealt) + " damage by the player"), std::string::npos)
        << blow[0] << "\n" << r.run.output;
    // Every blow of the hero carries it.
    size_t blows = 0;
    for (auto it = std::sregex_iterator(r.tickerLog.begin(), r.tickerLog.end(), heroBlow); it != std::sregex_iterator();
         ++it, ++blows) {
        EXPECT_NE((*it)[2].str().find("[icon] 2 piercing"), std::string::npos) << (*it)[0];
    }
    EXPECT_GE(blows, 2u) << r.tickerLog;
}

}  // namespace

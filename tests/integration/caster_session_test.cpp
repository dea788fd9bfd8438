// The real executable, headless: on a seeded first level a spell-casting monster finds the
// resting hero, announces its spell in the ticker and hurts him with it, the same way in every
// run.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/run_game.h"

namespace {

// A first level on which a Mud Newt, the spitting caster of the first depth, reaches the
// resting hero and spits at him until he dies; the hero gains no level on the way (a level
// gained opens the skill tome, which this script does not close).
constexpr int kCasterSeed = 30;

using Session = TickerRun;

// Rests on the level of the seed, answering every notice (a level gained) with Return, then
// leaves the game (the epitaph and high scores of a hero who died included) and quits.
Session RestNearTheCaster(int rests) {
    std::ostringstream script;
    script << "seed " << kCasterSeed << "\nwait 200\n";
    for (int i = 0; i < rests; ++i) script << "key space\nwait 20\nkey return\nwait 20\n";
    script << kLeaveGameScript << "wait 300\nkey escape\nwait 300\nclick 1 535 458\n";
    return RunRandomHeroWithTicker(script.str());
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

TEST(CasterSession, ACasterAnnouncesItsSpellAndHurtsTheRestingHeroTheSameWayEveryRun) {
    const Session first = RestNearTheCaster(400);
    ASSERT_EQ(first.run.exitCode, 0) << first.run.output;
    const int casts = Count(first.tickerLog, "The Mud Newt spits bile at you!\n");
    EXPECT_GE(casts, 2) << first.tickerLog;
    // Each spit lands its 4 toxic and 2 acidic points on the unprotected hero; the newt's bite
    // does 1.
    EXPECT_EQ(Count(first.run.output, "Player takes 6 damage!"), casts) << first.run.output;
    EXPECT_EQ(Count(first.tickerLog, "does no damage"), 0) << first.tickerLog;
    EXPECT_NE(first.run.output.find("Leaving the game after "), std::string::npos) << first.run.output;

    const Session second = RestNearTheCaster(400);
    ASSERT_EQ(second.run.exitCode, 0) << second.run.output;
    EXPECT_EQ(second.tickerLog, first.tickerLog);
}

}  // namespace

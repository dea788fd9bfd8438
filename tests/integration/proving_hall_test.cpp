// The scripted Proving Hall through the executable: its room scripts run every turn from the
// hero's entry on, and two runs on the fixed clock write the same ticker log, equal to the
// committed one.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/run_game.h"

namespace {

const char* const kGolden = VAULTMERE_SOURCE_DIR "/tests/integration/golden/proving_hall_ticker.txt";

std::string PlayHall() {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    std::string script = "seed 11\nwait 300\n";
    for (int i = 0; i < 4; ++i) script += "key space\nwait 40\n";
    script += "wait 300\nkey escape\nwait 300\nclick 1 585 426\nwait 300\nkey escape\nwait 300\nclick 1 535 458\n";
    WriteWholeFile(user.file("script.txt"), script);
    GameRun run = RunGame({"-no-initial-config", "-player-random-build", "-testroom", "Proving Hall", "-x", "3", "-y", "3"},
                          user.path(),
                          {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                           {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output.find("not found"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("roomScript:"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("couldn't"), std::string::npos) << run.output;
    return ReadWholeFile(user.file("ticker.txt"));
}

}  // namespace

TEST(ProvingHall, TheGreetingShowsOnceAndTwoRunsWriteTheCommittedTickerLog) {
    const std::string first = PlayHall();
    const size_t welcome = first.find("Welcome to the Proving Hall. Pull both levers.\n");
    ASSERT_NE(welcome, std::string::npos) << first;
    EXPECT_EQ(first.find("Welcome to the Proving Hall.", welcome + 1), std::string::npos) << "repeat 1";
    EXPECT_EQ(first.find("The gate grinds open"), std::string::npos) << "no lever was pulled";
    std::ifstream in(kGolden, std::ios::binary);
    std::stringstream golden;
    golden << in.rdbuf();
    EXPECT_EQ(first, golden.str());
    EXPECT_EQ(PlayHall(), first);
}

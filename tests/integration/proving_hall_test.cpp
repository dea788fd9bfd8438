// The scripted Proving Hall through the executable: its room scripts run every turn from the
// hero's entry on, and two runs on the fixed clock write the same ticker log, equal to the
// committed one.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_game.h"

namespace {

const char* const kGolden = VAULTMERE_SOURCE_DIR "/tests/integration/golden/proving_hall_ticker.txt";

struct HallRun {
    std::string ticker;
    std::string output;
};

// The hall from its start square (3, 3), played by these moves of an input script and left
// through the settings window; with the debug flag when asked.
HallRun PlayHallScript(const std::string& moves, bool debugFlag = true) {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    const std::string script = "seed 11\nwait 300\n" + moves + kLeaveGameScript;
    WriteWholeFile(user.file("script.txt"), script);
    std::vector<std::string> args = {"-no-initial-config", "-player-random-build", "-testroom", "Proving Hall",
                                     "-x", "3", "-y", "3"};
    if (debugFlag) args.insert(args.begin() + 2, "-debug-flag");
    GameRun run = RunGame(args, user.path(),
                          {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                           {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output.find("not found"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("roomScript:"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("couldn't"), std::string::npos) << run.output;
    return {ReadWholeFile(user.file("ticker.txt")), run.output};
}

std::string Golden(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream golden;
    golden << in.rdbuf();
    return golden.str();
}

// The hall waited through four turns, without the debug flag.
std::string PlayHall() {
    std::string moves;
    for (int i = 0; i < 4; ++i) moves += "key space\nwait 40\n";
    return PlayHallScript(moves, false).ticker;
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

// Arrow keys held for a frame or two move the hero one square; the view keeps the hero at
// (704, 405) on a 1280 x 720 screen, so the lever west of it is clicked at (640, 405).
std::string Step(const char* arrow) {
    return std::string("keydown ") + arrow + "\nwait 100\nkeyup " + arrow + "\nwait 300\n";
}
const char* const kPullWest = "click 1 640 405\nwait 300\n";

TEST(ProvingHall, BothLeversOpenTheGateTheClockRunsDryAndTheHeroWalksThrough) {
    // Up beside the left lever and pull it, down twice beside the right one and pull it; four
    // rests for the clock; then up and east through the gate square (6, 3) to (8, 3).
    std::string moves = Step("up") + kPullWest + Step("down") + Step("down") + kPullWest;
    for (int i = 0; i < 4; ++i) moves += "key space\nwait 300\n";
    moves += Step("up");
    for (int i = 0; i < 5; ++i) moves += Step("right");
    const HallRun first = PlayHallScript(moves);
    for (const char* line : {"The left lever clanks.\n", "The gate grinds open and the hourglass turns.\n",
                             "Sand trickles down.\n", "The hourglass runs dry.\n"}) {
        EXPECT_NE(first.ticker.find(line), std::string::npos) << line << first.ticker;
    }
    EXPECT_EQ(Golden(VAULTMERE_SOURCE_DIR "/tests/integration/golden/proving_hall_gate_ticker.txt"), first.ticker);
    // Every move and pull took its turn: 2 pulls, 4 rests and 9 steps. On seed 11 the hall's
    // corner is (82, 21): the hero started on (85, 24) and ends on (90, 24), beyond the gate.
    const size_t leaving = first.output.find("Leaving the game after 15 turns of the hero, at (90, 24)\n");
    ASSERT_NE(leaving, std::string::npos) << first.output;
    const HallRun second = PlayHallScript(moves);
    EXPECT_EQ(second.ticker, first.ticker);
    const std::string line = first.output.substr(leaving, first.output.find('\n', leaving) - leaving);
    EXPECT_NE(second.output.find(line), std::string::npos) << line << second.output;
}

// The play screen's input in the real executable: a key step on the fixed frame clock, the
// window keys before the settings, and a recorded session of walking, fighting, picking up and
// casting that replays as the same game.
#include <gtest/gtest.h>

#include "support/run_game.h"

#include <cstdlib>
#include <sstream>
#include <string>

namespace {

const char* const kLeaveAndQuit = kLeaveGameScript;

struct Played {
    GameRun run;
    std::string tickerLog;
};

Played Play(const std::string& script, std::map<std::string, std::string> env, const std::string& recordTo = "") {
    TempDir user;
    WriteWholeFile(user.file("config.xml"),
                   "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    WriteWholeFile(user.file("script.txt"), script);
    env["VAULTMERE_INPUT_SCRIPT"] = user.file("script.txt");
    env["VAULTMERE_TICKER_LOG"] = user.file("ticker.txt");
    if (!recordTo.empty()) env["VAULTMERE_INPUT_RECORD"] = recordTo;
    Played p;
    p.run = RunGame({"-no-initial-config", "-player-random-build", "-debug-flag"}, user.path(), env);
    p.tickerLog = ReadWholeFile(user.file("ticker.txt"));
    return p;
}

std::string LeavingLine(const std::string& output) {
    const std::string marker = "Leaving the game after ";
    const size_t at = output.find(marker);
    if (at == std::string::npos) return "";
    return output.substr(at, output.find('\n', at) - at);
}

int Turns(const std::string& output) {
    const std::string line = LeavingLine(output);
    return line.empty() ? -1 : std::atoi(line.c_str() + 23);
}

// The hero's final square "x, y" of the leaving line.
std::pair<int, int> FinalSquare(const std::string& output) {
    const std::string line = LeavingLine(output);
    const size_t at = line.find(", at (");
    if (at == std::string::npos) return {-1, -1};
    return {std::atoi(line.c_str() + at + 6), std::atoi(line.c_str() + line.find(", ", at + 6) + 2)};
}

TEST(PlayInputSession, ADPressOnThirtyMillisecondFramesWalksOneSquareWithOneTurn) {
    const std::map<std::string, std::string> env = {{"VAULTMERE_FRAME_MS", "30"}};
    Played still = Play(std::string("seed 1\nwait 300\n") + kLeaveAndQuit, env);
    ASSERT_EQ(still.run.exitCode, 0) << still.run.output;
    ASSERT_EQ(Turns(still.run.output), 0) << still.run.output;
    // The key is let go long before the square is done: the step finishes all the same.
    Played stepped = Play(std::string("seed 1\nwait 300\nkeydown d\nwait 60\nkeyup d\nwait 600\n") + kLeaveAndQuit, env);
    ASSERT_EQ(stepped.run.exitCode, 0) << stepped.run.output;
    EXPECT_EQ(Turns(stepped.run.output), 1) << stepped.run.output;
    const auto start = FinalSquare(still.run.output);
    const auto end = FinalSquare(stepped.run.output);
    EXPECT_EQ(end.first, start.first + 1);
    EXPECT_EQ(end.second, start.second);
}

TEST(PlayInputSession, EscapeClosesTheOpenWindowsBeforeItLeavesTheGame) {
    // Inventory and equipment open; two Escapes close them and the game goes on (the rest
    // counts), the third leaves.
    const std::string script = std::string("seed 1\nwait 300\nkey i\nwait 50\nkey c\nwait 50\n") +
                               "key escape\nwait 50\nkey escape\nwait 50\nkey space\nwait 100\n" + kLeaveAndQuit;
    Played p = Play(script, {{"VAULTMERE_FRAME_MS", "30"}});
    ASSERT_EQ(p.run.exitCode, 0) << p.run.output;
    EXPECT_EQ(Turns(p.run.output), 1) << p.run.output;
}

TEST(PlayInputSession, ARecordedSessionOfWalkingFightingPickingUpAndCastingReplaysTheSame) {
    std::ostringstream script;
    script << "wait 300\n";
    script << "keydown right\nwait 900\nkeyup right\nwait 100\nkeydown down\nwait 700\nkeyup down\nwait 100\n";
    // Select the first ability, aim it with the right button held, cast on release.
    script << "key 1\nwait 50\nbuttondown 3 700 300\nmove 720 330\nwait 50\nbuttonup 3 720 330\nwait 500\n";
    // Clicks on the squares around the hero: attacks, pick-ups, short walks; the belt by key.
    script << "click 1 640 360\nwait 300\nclick 1 704 424\nwait 600\nclick 1 576 424\nwait 600\n";
    script << "key 1 shift\nwait 200\nclick 3 640 424\nwait 300\nkey space\nwait 100\n";
    script << "keydown w\nwait 500\nkeyup w\nwait 100\n";
    script << "key escape\nwait 300\nclick 1 585 426\nwait 300\nkey escape\nwait 300\nclick 1 535 458\n";
    TempDir dir;
    Played live = Play(script.str(), {{"VAULTMERE_FRAME_MS", "0"}}, dir.file("recording.txt"));
    ASSERT_EQ(live.run.exitCode, 0) << live.run.output;
    ASSERT_NE(LeavingLine(live.run.output), "") << live.run.output;
    const std::string recording = ReadWholeFile(dir.file("recording.txt"));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Played replay = Play(recording, {});
        ASSERT_EQ(replay.run.exitCode, 0) << replay.run.output;
        EXPECT_EQ(LeavingLine(replay.run.output), LeavingLine(live.run.output));
        EXPECT_EQ(replay.tickerLog, live.tickerLog);
    }
}

}  // namespace

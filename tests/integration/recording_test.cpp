// Recording a session of the real executable and replaying the recording plays the same game.
#include <gtest/gtest.h>

#include "support/run_game.h"

#include <sstream>
#include <string>

namespace {

// The line the play loop prints with -debug-flag as the hero leaves the game: the number of
// hero turns and the hero's square ("" when it is missing).
std::string LeavingLine(const std::string& output) {
    const std::string marker = "Leaving the game after ";
    const size_t at = output.find(marker);
    if (at == std::string::npos) return "";
    return output.substr(at, output.find('\n', at) - at);
}

struct Played {
    GameRun run;
    std::string tickerLog;
};

Played Play(const std::map<std::string, std::string>& extraEnv) {
    TempDir user;
    WriteWholeFile(user.file("config.xml"),
                   "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    std::map<std::string, std::string> env = extraEnv;
    env["VAULTMERE_TICKER_LOG"] = user.file("ticker.txt");
    Played p;
    p.run = RunGame({"-no-initial-config", "-player-random-build", "-debug-flag"}, user.path(), env);
    p.tickerLog = ReadWholeFile(user.file("ticker.txt"));
    return p;
}

TEST(Recording, ARealTimeSessionReplaysFromItsRecordingAsTheSameGame) {
    // Rests, walks by held keys (how far depends on the frame times) and by a click, then
    // leave and quit; played on the real clock as a player would.
    // The seed is fixed so the clicked walk is short enough to end well before the Escape:
    // a walk still under way takes the first Escape as its interruption.
    std::ostringstream script;
    script << "seed 1\nwait 300\n";
    for (int i = 0; i < 30; ++i) script << "key space\nwait 20\n";
    script << "keydown right\nwait 1100\nkeyup right\nwait 100\nkeydown up\nwait 1100\nkeyup up\nwait 100\n";
    script << "click 1 200 400\nwait 4000\n";
    script << "key escape\nwait 300\nclick 1 585 426\nwait 300\nkey escape\nwait 300\nclick 1 535 458\n";
    TempDir dir;
    WriteWholeFile(dir.file("script.txt"), script.str());

    Played live = Play({{"VAULTMERE_INPUT_SCRIPT", dir.file("script.txt")},
                        {"VAULTMERE_FRAME_MS", "0"},
                        {"VAULTMERE_INPUT_RECORD", dir.file("recording.txt")}});
    ASSERT_EQ(live.run.exitCode, 0) << live.run.output;
    const std::string recording = ReadWholeFile(dir.file("recording.txt"));
    ASSERT_NE(LeavingLine(live.run.output), "") << live.run.output;

    Played replay = Play({{"VAULTMERE_INPUT_SCRIPT", dir.file("recording.txt")}});
    ASSERT_EQ(replay.run.exitCode, 0) << replay.run.output;
    EXPECT_EQ(LeavingLine(replay.run.output), LeavingLine(live.run.output)) << recording;
    EXPECT_EQ(replay.tickerLog, live.tickerLog);
    EXPECT_NE(live.tickerLog.find("Welcome to Vaultmere!"), std::string::npos) << live.tickerLog;
}

}  // namespace

// The play screen's input in the real executable: a key step on the fixed frame clock, the
// window keys before the settings, and a recorded session of walking, fighting, picking up and
// casting that replays as the same game.
#include <gtest/gtest.h>

#include "support/run_game.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kLeaveAndQuit = kLeaveGameScript;

struct Played {
    GameRun run;
    std::string tickerLog;
};

const std::vector<std::string> kRandomHero = {"-no-initial-config", "-player-random-build", "-debug-flag"};

Played Play(const std::string& script, std::map<std::string, std::string> env, const std::string& recordTo = "",
            const std::vector<std::string>& args = kRandomHero) {
    TempDir user;
    WriteWholeFile(user.file("config.xml"),
                   "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    // The last build, for the heroes that ask for it: the first seven skills.
    WriteWholeFile(user.file("last.txt"), "0\n1\n2\n3\n4\n5\n6\n");
    WriteWholeFile(user.file("script.txt"), script);
    env["VAULTMERE_INPUT_SCRIPT"] = user.file("script.txt");
    env["VAULTMERE_TICKER_LOG"] = user.file("ticker.txt");
    if (!recordTo.empty()) env["VAULTMERE_INPUT_RECORD"] = recordTo;
    Played p;
    p.run = RunGame(args, user.path(), env);
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

// A hero of the first seven skills (the Rusty Blade in hand, the axe's Cleaving Blow on ability
// key 1) in the Tinker's Workshop on seed 5, next to the Sickly Diggle east of (9, 7): a strike
// with the blade, the blow cast at the diggle, a walk up and west beside the steaks and a
// shift-click that picks them up.
TEST(PlayInputSession, ARecordedSessionOfWalkingFightingPickingUpAndCastingReplaysTheSame) {
    const std::vector<std::string> args = {"-no-initial-config", "-player-last-build", "-debug-flag", "-testroom",
                                           "Tinker's Workshop", "-x", "9", "-y", "7"};
    const auto step = [](const char* arrow) {
        return std::string("keydown ") + arrow + "\nwait 100\nkeyup " + arrow + "\nwait 300\n";
    };
    std::ostringstream script;
    script << "seed 5\nwait 300\n";
    script << "click 1 768 416\nwait 400\n";
    // Select the first ability, aim it with the right button held, cast on release.
    script << "key 1\nwait 50\nbuttondown 3 768 416\nmove 770 420\nwait 50\nbuttonup 3 770 420\nwait 500\n";
    script << step("up") << step("left") << step("left");
    script << "keydown left_shift\nclick 1 640 352\nwait 300\nkeyup left_shift\nwait 200\n";
    script << kLeaveAndQuit;
    TempDir dir;
    Played live = Play(script.str(), {{"VAULTMERE_FRAME_MS", "30"}}, dir.file("recording.txt"), args);
    ASSERT_EQ(live.run.exitCode, 0) << live.run.output;
    // A strike: the blade's line and its breakdown, 5 slashing and the stance's 2 piercing.
    const size_t strike = live.tickerLog.find("You slash the Sickly Diggle! ([icon] 5 slashing, [icon] 2 piercing)\n");
    EXPECT_NE(strike, std::string::npos) << live.tickerLog;
    EXPECT_NE(live.run.output.find("Monster takes 7 damage by the player"), std::string::npos) << live.run.output;
    // A cast: Cleaving Blow's 8 slashing and 2 crushing, with no blade line of its own, fell the diggle.
    const size_t cast = live.run.output.find("Monster takes 10 damage by the player");
    EXPECT_NE(cast, std::string::npos) << live.run.output;
    EXPECT_GT(cast, live.run.output.find("Monster takes 7 damage by the player")) << live.run.output;
    EXPECT_EQ(live.tickerLog.find("You slash", strike + 1), std::string::npos) << live.tickerLog;
    EXPECT_NE(live.tickerLog.find("The Sickly Diggle collapses"), std::string::npos) << live.tickerLog;
    // A pick-up: the five steaks leave with the hero, who took six turns (strike, cast, three
    // steps, pick-up).
    EXPECT_EQ(Turns(live.run.output), 6) << live.run.output;
    const size_t leaves = live.run.output.find("The hero leaves with ");
    ASSERT_NE(leaves, std::string::npos) << live.run.output;
    const std::string carrying = live.run.output.substr(leaves);
    EXPECT_NE(carrying.substr(0, carrying.find('\n')).find("; Aged Steak(5)"), std::string::npos) << carrying;

    const std::string recording = ReadWholeFile(dir.file("recording.txt"));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Played replay = Play(recording, {}, "", args);
        ASSERT_EQ(replay.run.exitCode, 0) << replay.run.output;
        EXPECT_EQ(LeavingLine(replay.run.output), LeavingLine(live.run.output));
        EXPECT_EQ(replay.tickerLog, live.tickerLog);
    }
}

TEST(PlayInputSession, AGameLeftWaitingAfterItsScriptEndsByItselfAndKeepsItsSave) {
    // The level boost opens the level-up notice and then the skill tome; the script's leave
    // keys go to those, so the game is still running when the script has played out. With no
    // window nothing else can answer: the game must end on its own, saving, long before the
    // harness would kill it.
    const std::string script = std::string("seed 1\nwait 300\nkey l\nwait 500\nclick 1 640 352\nwait 800\n") +
                               kLeaveAndQuit;
    TempDir user;
    WriteWholeFile(user.file("config.xml"),
                   "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    WriteWholeFile(user.file("script.txt"), script);
    const GameRun run = RunGame(kRandomHero, user.path(),
                                {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}, {"VAULTMERE_FRAME_MS", "30"}}, 100);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("character has leveled"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Input script: played to its end"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("gets no other input; ending it"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Ending on a termination signal"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("without saving the game"), std::string::npos) << run.output;
    EXPECT_TRUE(FileExists(user.file("Random Hero.sav")));
}

}  // namespace

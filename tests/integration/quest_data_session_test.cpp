// A new game reads the quest shrine kinds: its generated levels get their shrine without a
// data diagnostic, and no quest art is missing.
#include <gtest/gtest.h>

#include <string>

#include "support/run_game.h"

namespace {

TEST(QuestDataSession, ANewGameFindsItsQuestShrineKinds) {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    std::string script = "seed 1\nwait 200\n";
    for (int i = 0; i < 20; ++i) script += "key space\nwait 20\n";
    script += kLeaveGameScript;
    WriteWholeFile(user.file("script.txt"), script);
    const GameRun run = RunGame({"-no-initial-config", "-player-random-build", "-debug-flag"}, user.path(),
                                {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Leaving the game after "), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("ZARNOCH ERROR"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("quest"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("not found"), std::string::npos) << run.output;
}

}  // namespace

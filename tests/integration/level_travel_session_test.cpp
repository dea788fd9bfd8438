// Level changes in the real executable: with the debug flag, the hidden trapdoor key takes the
// hero one level down at once, without an autosave; the game saved on leaving says so.
#include <gtest/gtest.h>

#include <string>

#include "support/run_game.h"

TEST(LevelTravelSession, TheTrapdoorKeyTakesTheHeroOneLevelDownWithoutAnAutosave) {
    struct Case {
        const char* label;
        const char* keys;
        const char* floor;
    };
    const Case cases[] = {
        {"no key", "", "on Floor 1 of "},
        {"the trapdoor key once", "key p\nwait 500\n", "on Floor 2 of "},
        {"down twice and up again", "key p\nwait 500\nkey p\nwait 500\nkey p shift\nwait 500\n", "on Floor 2 of "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir user;
        WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
        // Left through the settings window's save-and-quit of a permadeath hero, then quit.
        WriteWholeFile(user.file("script.txt"), std::string("seed 9\nwait 500\n") + c.keys +
                                                    "wait 300\nkey escape\nwait 300\nclick 1 585 426\nwait 300\n"
                                                    "key escape\nwait 300\nclick 1 535 458\n");
        GameRun run = RunGame({"-no-initial-config", "-player-random-build", "-debug-flag"}, user.path(),
                              {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}});
        ASSERT_EQ(run.exitCode, 0) << run.output;
        const std::string index = ReadWholeFile(user.file("loadsave.dat"));
        EXPECT_NE(index.find(c.floor), std::string::npos) << index;
        EXPECT_FALSE(FileExists(user.file("autosave.sav")));
    }
}

// SIGTERM and SIGINT end the real executable as quitting does, at the title screen and in
// play, with or without an input script playing.
#include <gtest/gtest.h>

#include "support/run_game.h"

#include <signal.h>

#include <dirent.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The saved games (".sav" files) in a folder.
std::vector<std::string> SavedGames(const std::string& dir) {
    std::vector<std::string> found;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* entry = readdir(d)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".sav") == 0) found.push_back(name);
        }
        closedir(d);
    }
    return found;
}

struct SignalCase {
    const char* label;
    bool inPlay;     // a hero is playing (quick start) rather than the title menu showing
    bool scripted;   // an input script is still playing when the signal comes
    int signal;
};

TEST(Termination, ASignalEndsTheGameAsQuittingDoes) {
    const std::vector<SignalCase> cases = {
        {"title, SIGTERM", false, false, SIGTERM},
        {"title, SIGINT, script playing", false, true, SIGINT},
        {"play, SIGTERM", true, false, SIGTERM},
        {"play, SIGTERM, script playing", true, true, SIGTERM},
        {"play, SIGINT", true, false, SIGINT},
        {"title, SIGHUP", false, false, SIGHUP},
        {"play, SIGHUP", true, false, SIGHUP},
    };
    for (const SignalCase& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir user;
        // The welcome notices are behind us, so that a hero is at once in play.
        WriteWholeFile(user.file("config.xml"),
                       "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
        std::map<std::string, std::string> env = {{"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}};
        if (c.scripted) {
            // A script that is still waiting when the signal comes.
            WriteWholeFile(user.file("script.txt"), "wait 100000000\nkey escape\n");
            env["VAULTMERE_INPUT_SCRIPT"] = user.file("script.txt");
        }
        std::vector<std::string> args = {"-no-initial-config", "-startuptime"};
        if (c.inPlay) args.push_back("-player-random-build");
        const std::string tickerLog = user.file("ticker.txt");
        const bool inPlay = c.inPlay;
        SignalledRun run = RunGameAndSignal(
            args, user.path(), env,
            [&](const std::string& output) {
                if (inPlay) return Contains(ReadWholeFile(tickerLog), "Welcome to Vaultmere!");
                return Contains(output, "seconds to: turnpage");
            },
            c.signal);
        ASSERT_TRUE(run.signalSent) << run.output;
        EXPECT_EQ(run.exitCode, 0) << run.output;
        EXPECT_FALSE(FileExists(user.file("cookie.txt")));
        EXPECT_TRUE(Contains(ReadWholeFile(user.file("config.xml")), "<config>")) << run.output;
        // In play the game is saved as save-and-leave saves it; at the title there is nothing to save.
        EXPECT_EQ(SavedGames(user.path()).size(), c.inPlay ? 1u : 0u) << run.output;
    }
}

TEST(Termination, ASignalWhoseSaveFailsEndsNonZeroWithTheReasonOnStandardError) {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    // A folder stands where the hero's save would go: the save cannot replace it.
    ASSERT_EQ(system(("mkdir " + user.file("Tess.sav")).c_str()), 0);
    const std::string tickerLog = user.file("ticker.txt");
    SignalledRun run = RunGameAndSignal(
        {"-no-initial-config", "-player-random-build", "-player-name=Tess"}, user.path(),
        {{"VAULTMERE_TICKER_LOG", tickerLog}},
        [&](const std::string&) { return Contains(ReadWholeFile(tickerLog), "Welcome to Vaultmere!"); }, SIGTERM);
    ASSERT_TRUE(run.signalSent) << run.output;
    EXPECT_EQ(run.exitCode, 6) << run.output;
    EXPECT_TRUE(Contains(run.output, "Vaultmere: ended by a signal without saving the game: cannot rename")) << run.output;
    EXPECT_EQ(SavedGames(user.path()), std::vector<std::string>{"Tess.sav"}) << "only the folder in the way";
    EXPECT_FALSE(FileExists(user.file("cookie.txt")));
}

TEST(Termination, ASecondRunOnTheSameUserFolderSaysTheGameIsRunningAndLeavesItsFilesAlone) {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    GameRun second;
    std::string configMeanwhile;
    std::string cookieMeanwhile;
    SignalledRun first = RunGameAndSignal(
        {"-no-initial-config", "-startuptime"}, user.path(), {},
        [&](const std::string& output) {
            if (!Contains(output, "seconds to: turnpage")) return false;
            // The first run is at its title menu: a second one on the same folder.
            second = RunGame({"-no-initial-config", "-player-random-build"}, user.path());
            configMeanwhile = ReadWholeFile(user.file("config.xml"));
            cookieMeanwhile = ReadWholeFile(user.file("cookie.txt"));
            return true;
        },
        SIGHUP);
    ASSERT_TRUE(first.signalSent) << first.output;
    EXPECT_EQ(second.exitCode, 5) << second.output;
    EXPECT_TRUE(Contains(second.output, "Vaultmere is already running with the user folder " + user.path() + "/"))
        << second.output;
    EXPECT_FALSE(Contains(second.output, "vaultmere: version")) << second.output;
    EXPECT_EQ(configMeanwhile, "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    EXPECT_EQ(cookieMeanwhile, "this is the magic cookie. don't eat it. throw it away.") << "the first run's cookie stays";
    EXPECT_TRUE(SavedGames(user.path()).empty());
    // SIGHUP ends the first run as quitting does.
    EXPECT_EQ(first.exitCode, 0) << first.output;
    EXPECT_FALSE(FileExists(user.file("cookie.txt")));
    // Once it is gone the folder is free again.
    WriteWholeFile(user.file("quit.txt"), kQuitFromMenuScript);
    GameRun third = RunGame({"-no-initial-config"}, user.path(), {{"VAULTMERE_INPUT_SCRIPT", user.file("quit.txt")}});
    EXPECT_EQ(third.exitCode, 0) << third.output;
}

}  // namespace

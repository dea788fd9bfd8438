// What start-up does before the game proper, through the executable: the termination signals
// are caught before the input script is read, the subscribed workshop mods are in the mod list
// before the enabled mods are loaded, and the mod publisher draws from seeded generators.
#include <gtest/gtest.h>
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>

#include <map>
#include <set>
#include <string>

#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

const char* const kWelcomeShown = "<setting name=\"completedATutorial\" value=\"1\"/>\n";

std::string ModXml(const std::string& name) {
    return "<zarnochmod><name text=\"" + name + "\"/><author text=\"Ines\"/><description text=\"d\"/></zarnochmod>";
}

// The names of the files in a folder, "." and ".." left out.
std::set<std::string> FileNames(const std::string& dir) {
    std::set<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* entry = readdir(d)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.insert(name);
        }
        closedir(d);
    }
    return names;
}

}  // namespace

TEST(StartOrder, ASignalWhileTheInputScriptIsOpenedEndsTheRunInOrder) {
    // A named pipe nobody writes to: opening it to read would wait for ever.
    TempDir user;
    WriteWholeFile(user.file("config.xml"), std::string("<config>\n") + kWelcomeShown + "</config>\n");
    const std::string pipe = user.file("script.fifo");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // The signal comes once the script was looked at, or after three seconds when the run
    // never gets past it.
    int asked = 0;
    SignalledRun run = RunGameAndSignal(
        {"-no-initial-config"}, user.path(), {{"VAULTMERE_INPUT_SCRIPT", pipe}},
        [&asked](const std::string& output) { return Contains(output, "Input script") || ++asked > 150; }, SIGTERM,
        60);
    ASSERT_TRUE(run.signalSent) << run.output;
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Contains(run.output, "Input script " + pipe + " is missing or not a regular file")) << run.output;
    EXPECT_FALSE(FileExists(user.file("cookie.txt")));
}

TEST(StartOrder, AnEnabledWorkshopModIsLoadedAndKeptWithoutTheLauncher) {
    TempDir user, store;
    WriteWholeFile(user.file("config.xml"),
                   std::string("<config>\n") + kWelcomeShown + "<mod name=\"Workshop Two\" />\n</config>\n");
    // The mod's text database is broken on purpose: its loader says so when the mod is read.
    const std::string zip =
        BuildStoredZip({{"mod/mod.xml", ModXml("Workshop Two")}, {"mod/text.xml", "<text><material text='x'>"}});
    ASSERT_TRUE(MakeFileWithParents(store.file("workshop/items/100002/meta.txt"),
                                    "title Workshop Two\ndescription d\nauthor Ines\nupdated 77\nbanned 0\n"));
    ASSERT_TRUE(MakeFileWithParents(store.file("workshop/items/100002/content"), zip));
    ASSERT_TRUE(MakeFileWithParents(store.file("workshop/items/100002/preview"), "p"));
    ASSERT_TRUE(MakeFileWithParents(store.file("workshop/subscribed.txt"), "100002\n"));
    WriteWholeFile(user.file("script.txt"), kQuitFromMenuScript);
    GameRun run = RunGame({"-no-initial-config"}, user.path(),
                          {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}, {"VAULTMERE_STORE_DIR", store.path()}});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Contains(run.output, "LoadTextDB: mod//text.xml: ")) << run.output;
    EXPECT_EQ(ReadWholeFile(user.file("steam_workshop/subscribed/100002-77.dat")), zip);
    EXPECT_TRUE(Contains(ReadWholeFile(user.file("config.xml")), "<mod name=\"Workshop Two\" />\n"))
        << ReadWholeFile(user.file("config.xml"));
}

TEST(StartOrder, ThePublishersTemporaryNamesFollowTheSeed) {
    // A publication the store never answers leaves its two temporary files in the cloud. Two
    // runs with one seed draw the same names, a run with another seed others.
    struct Case {
        unsigned seed;
        std::set<std::string> names;
    } cases[] = {{3, {}}, {3, {}}, {4, {}}};
    for (Case& c : cases) {
        TempDir user, store;
        ASSERT_TRUE(MakeFileWithParents(user.file("up/mod.zip"), BuildStoredZip({{"mod/mod.xml", ModXml("Slow")}})));
        ASSERT_TRUE(MakeFileWithParents(store.file("faults.txt"), "delay 1000000\n"));
        WriteWholeFile(user.file("script.txt"), "seed " + std::to_string(c.seed) +
                                                    "\nwait 200\nclick 1 300 560\nwait 200\nclick 1 200 488\n"
                                                    "wait 300\nquit\n");
        std::map<std::string, std::string> env = {
            {"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
            {"VAULTMERE_STORE_DIR", store.path()},
            {"VAULTMERE_OPEN_FILE_ANSWERS",
             user.file("up/mod.zip") + "\n" + std::string(VAULTMERE_GAME_ROOT) + "/ui/startup/picker_thumb0.png"}};
        GameRun run = RunGame({"-no-initial-config", "-publisher"}, user.path(), env, 60);
        ASSERT_EQ(run.exitCode, 0) << run.output;
        c.names = FileNames(store.file("cloud"));
        ASSERT_EQ(c.names.size(), 2u) << run.output;
    }
    EXPECT_EQ(cases[0].names, cases[1].names);
    EXPECT_NE(cases[0].names, cases[2].names);
}

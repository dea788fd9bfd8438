// The real executable with a shared store: user files follow the player to a second user
// folder, the start-up launcher and its mod screen, and the mod publisher.
#include <gtest/gtest.h>
#include <dirent.h>
#include <signal.h>

#include <cstdio>
#include <map>
#include <string>

#include "store_platform/cloud_files.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The user files the cloud mirrors.
std::map<std::string, std::string> UserFiles(const std::string& dir) {
    std::map<std::string, std::string> files;
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) return files;
    while (dirent* entry = readdir(d)) {
        const std::string name = entry->d_name;
        const bool save = name.size() > 4 && name.compare(name.size() - 4, 4, ".sav") == 0;
        if (save || name == "loadsave.dat" || name == "hiscores.txt" || name == "last.txt") {
            files[name] = ReadWholeFile(dir + "/" + name);
        }
    }
    closedir(d);
    return files;
}

std::map<std::string, std::string> Env(const TempDir& user, const std::string& store, const std::string& script) {
    WriteWholeFile(user.file("script.txt"), script);
    return {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}, {"VAULTMERE_STORE_DIR", store}};
}

const char* const kWelcomeShown = "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n";

std::string ModXml(const std::string& name) {
    return "<zarnochmod><name text=\"" + name + "\"/><author text=\"Ines\"/><description text=\"Made for a test\"/>"
           "</zarnochmod>";
}

}  // namespace

TEST(CloudSession, SavesIndexScoresAndBuildFollowThePlayerToASecondFolder) {
    TempDir a, b, off, store;
    WriteWholeFile(a.file("config.xml"), kWelcomeShown);
    WriteWholeFile(a.file("hiscores.txt"), "Brannoc 5120\n");
    // A game in play is saved when the game is told to end.
    std::map<std::string, std::string> env = Env(a, store.path(), "seed 3\nwait 100000000\nkey escape\n");
    env["VAULTMERE_TICKER_LOG"] = a.file("ticker.txt");
    const std::string tickerLog = a.file("ticker.txt");
    SignalledRun first = RunGameAndSignal(
        {"-no-initial-config", "-player-random-build"}, a.path(), env,
        [&](const std::string&) { return Contains(ReadWholeFile(tickerLog), "Welcome to Vaultmere!"); }, SIGTERM);
    ASSERT_TRUE(first.signalSent) << first.output;
    ASSERT_EQ(first.exitCode, 0) << first.output;
    const std::map<std::string, std::string> mine = UserFiles(a.path());
    ASSERT_TRUE(mine.count("loadsave.dat") && mine.count("last.txt") && mine.count("hiscores.txt")) << first.output;
    bool hasSave = false;
    for (const auto& f : mine) hasSave |= f.first.rfind("bitmap_", 0) != 0 && f.first.find(".sav") != std::string::npos;
    EXPECT_TRUE(hasSave) << first.output;

    GameRun second = RunGame({"-no-initial-config"}, b.path(), Env(b, store.path(), kQuitFromMenuScript));
    ASSERT_EQ(second.exitCode, 0) << second.output;
    EXPECT_EQ(UserFiles(b.path()), mine);

    // With the cloud switched off nothing arrives, and the clear-cloud request asks nothing.
    WriteWholeFile(off.file("config.xml"), "<config>\n<setting name=\"enableSteamCloud\" value=\"0\"/>\n</config>\n");
    GameRun third = RunGame({"-no-initial-config", "-nukesteamcloud"}, off.path(), Env(off, store.path(), kQuitFromMenuScript));
    EXPECT_EQ(third.exitCode, 0) << third.output;
    EXPECT_FALSE(Contains(third.output, "Nuking")) << third.output;
    EXPECT_TRUE(UserFiles(off.path()).count("loadsave.dat") == 0) << third.output;
}

// The cloud copy of a file as the local store keeps it, decoded; "(none)" when it is missing or
// broken.
std::string CloudCopy(const TempDir& store, const std::string& name) {
    if (!FileExists(store.file("cloud/" + name))) return "(none)";
    std::string data;
    uint32_t crc = 0;
    return DecodeCloudFile(ReadWholeFile(store.file("cloud/" + name)), &data, &crc) ? data : "(none)";
}

// The game dies right after its save replaced the local file and before the cloud copy was
// made. The next start keeps that newest save (the cloud's copy is the older one) and brings
// the cloud up to it.
TEST(CloudSession, ADeathBetweenTheLocalSaveAndItsCloudCopyKeepsTheNewSaveAndUploadsIt) {
    TempDir user, store;
    WriteWholeFile(user.file("config.xml"), kWelcomeShown);
    const std::string tickerLog = user.file("ticker.txt");
    std::map<std::string, std::string> env = Env(user, store.path(), "seed 3\nwait 100000000\n");
    env["VAULTMERE_TICKER_LOG"] = tickerLog;
    SignalledRun first = RunGameAndSignal(
        {"-no-initial-config", "-player-random-build", "-player-name=Tess"}, user.path(), env,
        [&](const std::string&) { return Contains(ReadWholeFile(tickerLog), "Welcome to Vaultmere!"); }, SIGTERM);
    ASSERT_TRUE(first.signalSent) << first.output;
    ASSERT_EQ(first.exitCode, 0) << first.output;
    const std::string older = ReadWholeFile(user.file("Tess.sav"));
    ASSERT_FALSE(older.empty()) << first.output;
    ASSERT_EQ(CloudCopy(store, "Tess.sav"), older);

    // The hero walks about, then saves and leaves; the game dies as it turns to the cloud copy.
    WriteWholeFile(store.file("faults.txt"), "die-before-upload Tess.sav\n");
    GameRun killed = RunGame(
        {"-no-initial-config", "-load-filename=Tess.sav"}, user.path(),
        Env(user, store.path(),
            std::string("seed 4\nwait 300\nkey left\nwait 200\nkey up\nwait 200\nkey right\nwait 200\nkey down\n") +
                "wait 200\n" + kLeaveGameScript));
    EXPECT_EQ(killed.exitCode, 128 + SIGKILL) << killed.output;
    const std::string newer = ReadWholeFile(user.file("Tess.sav"));
    ASSERT_NE(newer, older) << "the second run saved nothing new\n" << killed.output;
    ASSERT_EQ(CloudCopy(store, "Tess.sav"), older) << "the death came after the cloud copy";
    EXPECT_FALSE(FileExists(user.file("Tess.sav.tmp")));

    // A plain start and quit: the newest save stays, and the cloud gets it.
    std::remove(store.file("faults.txt").c_str());
    GameRun restart = RunGame({"-no-initial-config"}, user.path(), Env(user, store.path(), kQuitFromMenuScript));
    ASSERT_EQ(restart.exitCode, 0) << restart.output;
    EXPECT_EQ(ReadWholeFile(user.file("Tess.sav")), newer) << "rolled back to the cloud's older copy";
    EXPECT_EQ(CloudCopy(store, "Tess.sav"), newer) << restart.output;
}

TEST(LauncherSession, ClicksFlipSettingsEnableAModAndStartTheGame) {
    TempDir user, store;
    WriteWholeFile(user.file("config.xml"), kWelcomeShown);
    ASSERT_TRUE(MakeFileWithParents(user.file("mods/local_one/mod/mod.xml"), ModXml("Local One")));
    // A workshop subscription, which the launcher's frames download and list after the local mod.
    const std::string zip = BuildStoredZip({{"mod/mod.xml", ModXml("Workshop One")}});
    ASSERT_TRUE(MakeFileWithParents(store.file("workshop/items/100001/meta.txt"),
                                    "title Workshop One\ndescription d\nauthor Ines\nupdated 1234\nbanned 0\n"));
    ASSERT_TRUE(MakeFileWithParents(store.file("workshop/items/100001/content"), zip));
    ASSERT_TRUE(MakeFileWithParents(store.file("workshop/items/100001/preview"), "p"));
    ASSERT_TRUE(MakeFileWithParents(store.file("workshop/subscribed.txt"), "100001\n"));
    // Full screen (205, 316), Mods (300, 444), both rows, Start on the mod screen; then quit from
    // the main menu. The title splash of a first start runs before the menu.
    const std::string script = std::string("wait 100\nclick 1 205 316\nwait 400\nclick 1 300 444\nwait 100\n") +
                               "click 1 100 110\nclick 1 100 174\nwait 100\nclick 1 600 560\nwait 5000\n" +
                               kQuitFromMenuScript;
    GameRun run = RunGame({}, user.path(), Env(user, store.path(), script));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string config = ReadWholeFile(user.file("config.xml"));
    EXPECT_TRUE(Contains(config, "<setting name=\"useFullscreen\" value=\"1\"")) << config;
    EXPECT_TRUE(Contains(config, "<mod name=\"Local One\" />")) << config;
    EXPECT_TRUE(Contains(config, "<mod name=\"Workshop One\" />")) << config;
    EXPECT_EQ(ReadWholeFile(user.file("steam_workshop/subscribed/100001-1234.dat")), zip);
    EXPECT_FALSE(FileExists(user.file("cookie.txt")));

    // Quit (100, 444) ends the program in the launcher: of the start-up steps (printed with
    // -startuptime) the main menu's never comes.
    TempDir quitter;
    GameRun quit = RunGame({"-startuptime"}, quitter.path(), Env(quitter, store.path(), "wait 100\nclick 1 100 444\n"));
    EXPECT_EQ(quit.exitCode, 0) << quit.output;
    EXPECT_FALSE(FileExists(quitter.file("cookie.txt")));
    EXPECT_TRUE(Contains(quit.output, "[LogLoadProgress]")) << quit.output;
    EXPECT_FALSE(Contains(quit.output, "MainMenu")) << quit.output;

    // Without a script a headless first start goes on to the main menu by itself.
    TempDir plain;
    SignalledRun headless = RunGameAndSignal(
        {"-startuptime"}, plain.path(), {{"VAULTMERE_STORE_DIR", store.path()}},
        [](const std::string& output) { return Contains(output, "seconds to: turnpage"); }, SIGTERM);
    EXPECT_TRUE(headless.signalSent) << headless.output;
    EXPECT_EQ(headless.exitCode, 0) << headless.output;
    EXPECT_TRUE(Contains(headless.output, "seconds to: LaunchInitialConfig")) << headless.output;
}

TEST(PublisherSession, PublishesAZipWithAPreviewAndRefusesBadFiles) {
    TempDir user, store;
    ASSERT_TRUE(MakeFileWithParents(user.file("up/mod.zip"), BuildStoredZip({{"mod/mod.xml", ModXml("Gable End")}})));
    WriteWholeFile(user.file("up/plain.zip"), "not an archive");
    const std::string preview = std::string(VAULTMERE_GAME_ROOT) + "/ui/startup/picker_thumb0.png";
    // New (300, 560); yes on the scroll (200, 488); OK of the result (400, 398); then the list is
    // read again: the first row (100, 130) and its page (100, 560); Exit (700, 560).
    std::map<std::string, std::string> env =
        Env(user, store.path(),
            "wait 200\nclick 1 300 560\nwait 200\nclick 1 200 488\nwait 400\nclick 1 400 398\nwait 400\n"
            "click 1 100 130\nwait 100\nclick 1 100 560\nwait 100\nclick 1 700 560\n");
    env["VAULTMERE_OPEN_FILE_ANSWERS"] = user.file("up/mod.zip") + "\n" + preview;
    env["VAULTMERE_SHELL_RECORD"] = user.file("shell.txt");
    GameRun run = RunGame({"-no-initial-config", "-publisher"}, user.path(), env);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Contains(run.output, "Your mod is published!")) << run.output;
    EXPECT_FALSE(Contains(ReadWholeFile(store.file("workshop/published.txt")), "\n\n"));
    const std::string published = ReadWholeFile(store.file("workshop/published.txt"));
    ASSERT_FALSE(published.empty()) << run.output;
    EXPECT_EQ(ReadWholeFile(user.file("shell.txt")),
              "https://community.vaultmere.invalid/sharedfiles/filedetails/?id=" + published);
    DIR* cloud = opendir(store.file("cloud").c_str());
    int cloudFiles = 0;
    while (cloud != nullptr && readdir(cloud) != nullptr) ++cloudFiles;
    if (cloud != nullptr) closedir(cloud);
    EXPECT_LE(cloudFiles, 2) << "only . and ..";
    EXPECT_FALSE(FileExists(user.file("cookie.txt")));

    // A file that is not an archive: the refusal (OK at (400, 398)) and nothing uploaded.
    TempDir second;
    env = Env(second, store.path(), "wait 200\nclick 1 300 560\nwait 200\nclick 1 400 398\nwait 200\nclick 1 700 560\n");
    env["VAULTMERE_OPEN_FILE_ANSWERS"] = user.file("up/plain.zip");
    const std::string before = ReadWholeFile(store.file("workshop/published.txt"));
    GameRun refused = RunGame({"-no-initial-config", "-publisher"}, second.path(), env);
    EXPECT_EQ(refused.exitCode, 0) << refused.output;
    EXPECT_EQ(ReadWholeFile(store.file("workshop/published.txt")), before);
}

TEST(PublisherSession, ClosingTheWindowWhileWaitingEndsInOrder) {
    TempDir user, store;
    ASSERT_TRUE(MakeFileWithParents(user.file("up/mod.zip"), BuildStoredZip({{"mod/mod.xml", ModXml("Slow One")}})));
    // The store never answers within the run.
    ASSERT_TRUE(MakeFileWithParents(store.file("faults.txt"), "delay 1000000\n"));
    std::map<std::string, std::string> env =
        Env(user, store.path(), "wait 200\nclick 1 300 560\nwait 200\nclick 1 200 488\nwait 300\nquit\n");
    env["VAULTMERE_OPEN_FILE_ANSWERS"] =
        user.file("up/mod.zip") + "\n" + std::string(VAULTMERE_GAME_ROOT) + "/ui/startup/picker_thumb0.png";
    GameRun run = RunGame({"-no-initial-config", "-publisher"}, user.path(), env, 60);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_FALSE(Contains(run.output, "Your mod is published!")) << run.output;
    EXPECT_FALSE(FileExists(user.file("cookie.txt")));
    // No answer arrived: the temporary files stay in the cloud.
    DIR* cloud = opendir(store.file("cloud").c_str());
    int cloudFiles = 0;
    while (cloud != nullptr && readdir(cloud) != nullptr) ++cloudFiles;
    if (cloud != nullptr) closedir(cloud);
    EXPECT_EQ(cloudFiles, 4) << ". and .. and the two temporary files";
}

TEST(LauncherSession, TheModScreenAndThePublisherAnswerEveryMouseButton) {
    // The mod screen: Mods (300, 444) by the left button, then the row of the one mod
    // (100, 110) and Start (600, 560) by other buttons. The right button turns the mod on and
    // the middle one starts the game with it; a turn of the wheel over the row is no click, so
    // a left Start after it starts the game without the mod.
    struct Case {
        const char* name;
        const char* clicks;
        bool modOn;
    };
    const Case cases[] = {
        {"right on the row, middle on Start", "click 3 100 110\nwait 100\nclick 2 600 560\n", true},
        {"left on the row, right on Start", "click 1 100 110\nwait 100\nclick 3 600 560\n", true},
        {"the wheel over the row, left on Start", "click 4 100 110\nwait 100\nclick 5 100 110\nwait 100\n"
                                                   "click 4 100 110\nwait 100\nclick 1 600 560\n", false},
    };
    for (const Case& c : cases) {
        TempDir user, store;
        WriteWholeFile(user.file("config.xml"), kWelcomeShown);
        ASSERT_TRUE(MakeFileWithParents(user.file("mods/local_one/mod/mod.xml"), ModXml("Local One")));
        GameRun run = RunGame({}, user.path(),
                              Env(user, store.path(),
                                  std::string("wait 100\nclick 1 300 444\nwait 200\n") + c.clicks + "wait 5000\n" +
                                      kQuitFromMenuScript),
                              60);
        EXPECT_EQ(run.exitCode, 0) << c.name << "\n" << run.output;
        EXPECT_EQ(Contains(ReadWholeFile(user.file("config.xml")), "Local One"), c.modOn) << c.name;
    }
    // Quit (150, 560) by the right button ends the program; the left clicks after it (the
    // mod's row, Start) find no mod screen left.
    TempDir user, store;
    WriteWholeFile(user.file("config.xml"), kWelcomeShown);
    ASSERT_TRUE(MakeFileWithParents(user.file("mods/local_one/mod/mod.xml"), ModXml("Local One")));
    GameRun launcher = RunGame({"-startuptime"}, user.path(),
                               Env(user, store.path(),
                                   std::string("wait 100\nclick 1 300 444\nwait 200\nclick 3 150 560\nwait 200\n") +
                                       "click 1 100 110\nwait 100\nclick 1 600 560\nwait 5000\n" + kQuitFromMenuScript),
                               60);
    EXPECT_EQ(launcher.exitCode, 0) << launcher.output;
    EXPECT_FALSE(Contains(ReadWholeFile(user.file("config.xml")), "Local One")) << "the mod screen was still open";
    // The right button's Quit ended the program in the launcher, before any main menu.
    EXPECT_TRUE(Contains(launcher.output, "[LogLoadProgress]")) << launcher.output;
    EXPECT_FALSE(Contains(launcher.output, "MainMenu")) << launcher.output;
    // The publisher: Exit (700, 560) by the middle button; the publication clicks after it
    // (New, the file answers, OK) find no publisher left.
    TempDir second;
    ASSERT_TRUE(MakeFileWithParents(second.file("up/mod.zip"), BuildStoredZip({{"mod/mod.xml", ModXml("Late One")}})));
    std::map<std::string, std::string> env =
        Env(second, store.path(),
            "wait 200\nclick 2 700 560\nwait 200\nclick 1 300 560\nwait 200\nclick 1 200 488\nwait 400\n"
            "click 1 400 398\nwait 400\nclick 1 700 560\n");
    env["VAULTMERE_OPEN_FILE_ANSWERS"] =
        second.file("up/mod.zip") + "\n" + std::string(VAULTMERE_GAME_ROOT) + "/ui/startup/picker_thumb0.png";
    GameRun publisher = RunGame({"-no-initial-config", "-publisher"}, second.path(), env, 60);
    EXPECT_EQ(publisher.exitCode, 0) << publisher.output;
    EXPECT_FALSE(Contains(publisher.output, "Your mod is published!")) << publisher.output;
}

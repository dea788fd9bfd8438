// Save and quit on a disk that takes no more: the real executable tells the player why, keeps
// the game open and lets the player try again, go back to the game or quit without saving.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/run_game.h"

namespace {

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// A game folder whose executable runs with every file it writes limited to `bytes`: a save
// fails as on a full disk while the small user files still fit.
void MakeFullDiskGameFolder(const TempDir& game, long bytes) {
    LinkGameFolder(game.path());
    std::remove(game.file("vaultmere").c_str());
    WriteWholeFile(game.file("vaultmere"), "#!/bin/sh\nexec prlimit --fsize=" + std::to_string(bytes) + " -- '" +
                                               std::string(VAULTMERE_GAME_ROOT) + "/vaultmere' \"$@\"\n");
    chmod(game.file("vaultmere").c_str(), 0755);
}

TEST(SaveFailureSession, SaveAndQuitOnAFullDiskKeepsTheGameOpenWithADialog) {
    if (std::system("prlimit --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "prlimit is not installed";
    TempDir game, user;
    MakeFullDiskGameFolder(game, 64 * 1024);
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    // The dialog's buttons at 1280 x 720: yea at (535, 458), nay at (700, 458). Save and quit;
    // "Try again?" nay; "Quit without saving?" nay: back in the game. Save and quit again; try
    // again (yea), which fails too; nay; quit without saving (yea); then quit the title menu.
    const char* const kScript =
        "seed 4\nwait 500\nkey escape\nwait 300\nclick 1 585 426\n"
        "wait 300\nclick 1 700 458\nwait 300\nclick 1 700 458\n"
        "wait 300\nkey escape\nwait 300\nclick 1 585 426\n"
        "wait 300\nclick 1 535 458\nwait 300\nclick 1 700 458\nwait 300\nclick 1 535 458\n"
        "wait 300\nkey escape\nwait 300\nclick 1 535 458\n";
    WriteWholeFile(user.file("script.txt"), kScript);
    GameRun run = RunGame({"-no-initial-config", "-player-random-build", "-player-name=Tess"}, user.path(),
                          {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}}, 120, game.path());
    EXPECT_EQ(run.exitCode, 0) << run.output;
    // Three saves were tried (the first leave, the retry, the second leave) and each failed
    // with its reason; only the player's last choice left the game, unsaved.
    EXPECT_EQ(Count(run.output, "SaveGame: Tess.sav not saved ("), 3u) << run.output;
    EXPECT_EQ(Count(run.output, "Vaultmere: the game could not be saved: cannot "), 3u) << run.output;
    EXPECT_EQ(Count(run.output, "File too large"), 6u) << run.output;
    EXPECT_EQ(Count(run.output, "Vaultmere: leaving the game without saving it"), 1u) << run.output;
    EXPECT_FALSE(FileExists(user.file("Tess.sav")));
    EXPECT_FALSE(FileExists(user.file("Tess.sav.tmp")));
    EXPECT_FALSE(FileExists(user.file("cookie.txt")));
}

}  // namespace

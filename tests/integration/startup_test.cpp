// Start-up and shutdown of the real executable, run headless in the assembled game folder.
#include <gtest/gtest.h>

#include "support/run_game.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

const std::vector<std::string> kFullStartupLabels = {
    "start", "SDL_Init", "LoadTweakVals", "LoadFonts", "LoadFonts", "LoadMods", "InitMusic",
    "LoadDialogs", "LoadSFX", "LoadHighScores", "SetVideoMode", "SpriteMgr_Init",
    "LoadManeuverTemplates", "spellDBLoad", "LoadQuestDB", "LoadSpeechDB", "monDBLoad",
    "SkillDBLoad", "itemDBLoad", "craftDBLoad", "branchDBLoad", "LoadRoomTemplates", "LoadTextDB",
    "ReallyLoadMods", "InitMonsterTables", "AddDummySkills", "MenuBarLoad", "QuestUIArtLoad",
    "ui/gamplay images", "LoadGlobalImages", "LoadRecipeBookArt", "LoadEyeCandy", "LoadPortraits",
    "InitShops", "InitSteamCloud", "PlayMusic", "MainMenu loading", "turnpage"};

// Environment for a run that quits from the main menu by a scripted Escape, confirmed with the
// quit screen's Quit button.
std::map<std::string, std::string> QuitFromMenu(const TempDir& dir) {
    WriteWholeFile(dir.file("quit.txt"), kQuitFromMenuScript);
    return {{"VAULTMERE_INPUT_SCRIPT", dir.file("quit.txt")}};
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Lines that would tell a player that a file the game needs is missing or broken.
std::vector<std::string> MissingFileLines(const std::string& output) {
    std::vector<std::string> found;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        for (const char* marker : {"Could not load", "Couldn't load", "ould not open", "ouldn't open",
                                   "issing", "not found", "Horribly Broken", "ZARNOCH ERROR"}) {
            if (Contains(line, marker)) {
                found.push_back(line);
                break;
            }
        }
    }
    return found;
}

TEST(Startup, PublisherModeStopsAfterTheEarlySteps) {
    TempDir user;
    GameRun run = RunGame({"-no-initial-config", "-startuptime", "-publisher"}, user.path());
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Contains(run.output, "vaultmere: version 1.0.10\n")) << run.output;
    EXPECT_TRUE(Contains(run.output, "SDL version 1.2.")) << run.output;
    std::vector<std::string> expected = {"start", "SDL_Init", "LoadTweakVals", "LoadFonts",
                                         "LoadFonts", "LoadMods", "InitMusic", "LoadDialogs"};
    EXPECT_EQ(LoadProgressLabels(run.output), expected) << run.output;
    EXPECT_FALSE(FileExists(user.file("cookie.txt")));
    EXPECT_TRUE(FileExists(user.file("config.xml")));
}

TEST(Startup, FullStartupReportsEveryStepAndQuitsCleanly) {
    TempDir user;
    GameRun run = RunGame({"-no-initial-config", "-startuptime"}, user.path(), QuitFromMenu(user));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(LoadProgressLabels(run.output), kFullStartupLabels) << run.output;
    EXPECT_EQ(MissingFileLines(run.output), std::vector<std::string>()) << run.output;
    EXPECT_FALSE(FileExists(user.file("cookie.txt")));
    EXPECT_TRUE(FileExists(user.file("config.xml")));
}

TEST(Startup, WithoutStartupTimeNoProgressLines) {
    TempDir user;
    GameRun run = RunGame({"-no-initial-config"}, user.path(), QuitFromMenu(user));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(LoadProgressLabels(run.output).empty()) << run.output;
}

TEST(Startup, LeftoverCookieRecordsTheCrashAchievementOnce) {
    TempDir user;
    WriteWholeFile(user.file("cookie.txt"), "this is the magic cookie. don't eat it. throw it away.");
    GameRun first = RunGame({"-no-initial-config"}, user.path(), QuitFromMenu(user));
    ASSERT_EQ(first.exitCode, 0) << first.output;
    EXPECT_FALSE(FileExists(user.file("cookie.txt")));
    GameRun second = RunGame({"-no-initial-config"}, user.path(), QuitFromMenu(user));
    ASSERT_EQ(second.exitCode, 0) << second.output;

    std::string stats = ReadWholeFile(user.file("store/stats.txt"));
    size_t count = 0;
    for (size_t at = stats.find("ACHIEVEMENT_CRASH_GAME"); at != std::string::npos;
         at = stats.find("ACHIEVEMENT_CRASH_GAME", at + 1))
        ++count;
    EXPECT_EQ(count, 1u) << stats;
}

TEST(Startup, KilledRunLeavesTheCookie) {
    TempDir user;
    // Nothing ever answers the main menu, so the run is killed by the time limit.
    GameRun run = RunGame({"-no-initial-config"}, user.path(), {}, 2);
    EXPECT_EQ(run.exitCode, 128 + 9) << run.output;
    // Standard output goes out line by line, so what was printed before the kill is there.
    EXPECT_TRUE(Contains(run.output, "vaultmere: version 1.0.10\n")) << run.output;
    EXPECT_EQ(ReadWholeFile(user.file("cookie.txt")), "this is the magic cookie. don't eat it. throw it away.");
    EXPECT_EQ(ReadWholeFile(user.file("cookie.txt")).size(), 54u);
}

// The share of the pixels in which two screenshots of the same size differ; -1 when either
// cannot be read.
double ChangedShare(const std::string& a_file, const std::string& b_file) {
    SDL_Surface* a = SDL_LoadBMP(a_file.c_str());
    SDL_Surface* b = SDL_LoadBMP(b_file.c_str());
    double share = -1;
    if (a != nullptr && b != nullptr && a->w == b->w && a->h == b->h && a->format->BytesPerPixel == b->format->BytesPerPixel) {
        const int bpp = a->format->BytesPerPixel;
        long changed = 0;
        for (int y = 0; y < a->h; ++y) {
            for (int x = 0; x < a->w; ++x) {
                const Uint8* pa = static_cast<const Uint8*>(a->pixels) + y * a->pitch + x * bpp;
                const Uint8* pb = static_cast<const Uint8*>(b->pixels) + y * b->pitch + x * bpp;
                changed += std::memcmp(pa, pb, static_cast<size_t>(bpp)) != 0 ? 1 : 0;
            }
        }
        share = static_cast<double>(changed) / (static_cast<double>(a->w) * a->h);
    }
    if (a != nullptr) SDL_FreeSurface(a);
    if (b != nullptr) SDL_FreeSurface(b);
    return share;
}

TEST(Startup, MenuEntriesAreClickable) {
    TempDir user;
    // "High scores" is the third entry: its table covers the menu until a mouse-button release,
    // and the menu shows again. Screenshots of the menu, the table and the menu once more.
    // (New game starts a game: see the game-session tests.)
    WriteWholeFile(user.file("s.txt"), std::string("wait 300\nscreenshot\nclick 1 960 354\nwait 300\nscreenshot\n"
                                                   "click 1 640 457\nwait 300\nscreenshot\n") +
                                           kQuitFromMenuScript);
    GameRun run = RunGame({"-no-initial-config"}, user.path(), {{"VAULTMERE_INPUT_SCRIPT", user.file("s.txt")}});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_FALSE(Contains(run.output, "is not available yet")) << run.output;
    EXPECT_FALSE(Contains(run.output, "zarnoch_grave")) << run.output;
    const double table = ChangedShare(user.file("bitmap_0.bmp"), user.file("bitmap_1.bmp"));
    const double back = ChangedShare(user.file("bitmap_0.bmp"), user.file("bitmap_2.bmp"));
    EXPECT_GT(table, 0.3) << "the high-score table covers the menu\n" << run.output;
    EXPECT_GE(back, 0.0) << run.output;
    EXPECT_LT(back, 0.05) << "the menu shows again after the table";
}

TEST(Startup, MissingFontExitsWithTwoAndKeepsTheUsersConfiguration) {
    TempDir user, game;
    LinkGameFolder(game.path());
    ASSERT_EQ(std::system(("rm " + game.file("fonts")).c_str()), 0);
    const std::string own = "<config>\n<setting name=\"enableMusic\" value=\"0\"/>\n</config>\n";
    WriteWholeFile(user.file("config.xml"), own);
    GameRun run = RunGame({"-no-initial-config"}, user.path(), {}, 120, game.path());
    EXPECT_EQ(run.exitCode, 2) << run.output;
    EXPECT_EQ(ReadWholeFile(user.file("config.xml")), own);
    EXPECT_FALSE(FileExists(user.file("cookie.txt")));
}

// The play screen's art and the notices' pictures are left for the first game: a picture
// missing from them is reported when a game starts, not on the way to the title menu.
TEST(Startup, ThePlayScreensArtWaitsForTheFirstGame) {
    TempDir game;
    LinkGameFolder(game.path());
    // The same folder without one of the shared pictures and one of the notices' pictures.
    const std::string ui = game.file("ui");
    const std::string relink = "rm " + ui + " && mkdir " + ui + " && for f in " VAULTMERE_GAME_ROOT
                               "/ui/*; do case \"${f##*/}\" in 32x32_dither.png|dialog_alert_bigger.png) ;; "
                               "*) ln -s \"$f\" " + ui + "/;; esac; done";
    ASSERT_EQ(std::system(relink.c_str()), 0);
    const std::vector<std::string> missing = {"ui/32x32_dither.png", "ui/dialog_alert_bigger.png"};

    TempDir menuUser;
    GameRun toMenu = RunGame({"-no-initial-config"}, menuUser.path(), QuitFromMenu(menuUser), 120, game.path());
    EXPECT_EQ(toMenu.exitCode, 0) << toMenu.output;
    for (const std::string& name : missing) EXPECT_FALSE(Contains(toMenu.output, name)) << toMenu.output;

    TempDir playUser;
    WriteWholeFile(playUser.file("config.xml"),
                   "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
    WriteWholeFile(playUser.file("s.txt"), std::string("wait 300\nkey escape\nwait 300\nclick 1 585 426\nwait 300\n") + kQuitFromMenuScript);
    GameRun played = RunGame({"-no-initial-config", "-player-random-build"}, playUser.path(),
                             {{"VAULTMERE_INPUT_SCRIPT", playUser.file("s.txt")}}, 120, game.path());
    EXPECT_EQ(played.exitCode, 0) << played.output;
    const std::string notFound = "File named ui/32x32_dither.png not found";
    const size_t first = played.output.find(notFound);
    EXPECT_NE(first, std::string::npos) << played.output;
    EXPECT_EQ(played.output.find(notFound, first + 1), std::string::npos) << "reported once: " << played.output;
    EXPECT_TRUE(Contains(played.output, "Could not read the dialog picture ui/dialog_alert_bigger.png")) << played.output;
}

TEST(Startup, LogIsRotated) {
    // The rotation works in the working directory: give the run a game folder of its own.
    TempDir user, game;
    LinkGameFolder(game.path());
    const std::string log = game.file("log.log");
    const std::string last = game.file("lastlog.log");
    WriteWholeFile(last, "older");
    WriteWholeFile(log, "newer");
    GameRun run = RunGame({"-no-initial-config", "-publisher"}, user.path(), {}, 120, game.path());
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(ReadWholeFile(last), "newer");
    EXPECT_FALSE(FileExists(log));
    run = RunGame({"-no-initial-config", "-publisher"}, user.path(), {}, 120, game.path());
    EXPECT_FALSE(FileExists(last));
}

TEST(Startup, BogusVideoDriverExitsWithOne) {
    TempDir user;
    GameRun run = RunGame({"-no-initial-config"}, user.path(), {{"SDL_VIDEODRIVER", "bogus"}});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_TRUE(Contains(run.output, "Unable to init SDL: ")) << run.output;
    EXPECT_FALSE(FileExists(user.file("cookie.txt")));
}

TEST(Startup, OpenGLWithoutADisplayExitsWithOne) {
    TempDir user;
    GameRun run = RunGame({"-no-initial-config", "-opengl"}, user.path());
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_TRUE(Contains(run.output, "Unable to load OpenGL: ") ||
                Contains(run.output, "Unable to set video mode: "))
        << run.output;
    EXPECT_FALSE(FileExists(user.file("cookie.txt")));
}

TEST(Startup, DocsExitsWithoutLeavingACookie) {
    TempDir user;
    GameRun run = RunGame({"-docs"}, user.path());
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_FALSE(FileExists(user.file("cookie.txt")));
}

TEST(Startup, CommandLineWindowAndSoundOptionsNeverReachTheConfiguration) {
    TempDir user;
    GameRun first = RunGame({"-no-initial-config", "-publisher"}, user.path());
    ASSERT_EQ(first.exitCode, 0) << first.output;
    const std::string defaults = ReadWholeFile(user.file("config.xml"));
    GameRun second = RunGame({"-no-initial-config", "-w", "-publisher"}, user.path());
    GameRun third = RunGame({"-no-initial-config", "-nomusic", "-publisher"}, user.path());
    GameRun fourth = RunGame({"-no-initial-config", "-nosound", "-publisher"}, user.path());
    EXPECT_EQ(ReadWholeFile(user.file("config.xml")), defaults);
}

TEST(Startup, AnUnusableUserFolderStopsStartUpBeforeAnythingIsWritten) {
    TempDir outside, game;
    LinkGameFolder(game.path());
    WriteWholeFile(outside.file("plainfile"), "x");
    // A file, a folder below a file, and a folder that exists but takes no files.
    for (const std::string& folder : {outside.file("plainfile"), outside.file("plainfile/Vaultmere"),
                                      std::string("/proc/self")}) {
        SCOPED_TRACE(folder);
        GameRun run = RunGame({"-no-initial-config", "-player-random-build"}, folder, {}, 120, game.path());
        EXPECT_EQ(run.exitCode, 4) << run.output;
        EXPECT_TRUE(Contains(run.output, "Vaultmere cannot start: the user folder " + folder + "/")) << run.output;
        EXPECT_FALSE(Contains(run.output, "vaultmere: version")) << "stopped before anything else ran";
        for (const char* file : {"config.xml", "cookie.txt", "autosave.sav", "loadsave.dat", "last.txt",
                                 "hiscores.txt"}) {
            EXPECT_FALSE(FileExists(game.file(file))) << file;
        }
        EXPECT_EQ(ReadWholeFile(outside.file("plainfile")), "x");
    }
}

TEST(Startup, ABrokenConfigurationIsKeptAsBadWhileTheExitRewritesIt) {
    TempDir user;
    const std::string broken =
        "<config>\n<setting name=\"enableColourBlind\" value=\"1\"/>\n<setting name=\"use2XUI\" value=\"1\">\n"
        "<setting name=\"WASDActive\" value=\"1\"/>\n";
    WriteWholeFile(user.file("config.xml"), broken);
    GameRun run = RunGame({"-no-initial-config", "-publisher"}, user.path());
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Contains(run.output, "at line 5, column 0")) << run.output;
    EXPECT_TRUE(Contains(run.output, "kept as " + user.file("config.xml.bad"))) << run.output;
    EXPECT_EQ(ReadWholeFile(user.file("config.xml.bad")), broken);
    const std::string rewritten = ReadWholeFile(user.file("config.xml"));
    EXPECT_TRUE(Contains(rewritten, "name=\"enableColourBlind\" value=\"1\"")) << rewritten;
    EXPECT_TRUE(Contains(rewritten, "</config>\n")) << rewritten;
    // Only the damaged line is lost: the setting after it is read, and the line is named.
    EXPECT_TRUE(Contains(run.output, "config.xml line 3 skipped: <setting name=\"use2XUI\" value=\"1\">")) << run.output;
    EXPECT_TRUE(Contains(rewritten, "name=\"WASDActive\" value=\"1\"")) << rewritten;
    EXPECT_TRUE(Contains(rewritten, "name=\"use2XUI\" value=\"0\"")) << rewritten;
}

}  // namespace

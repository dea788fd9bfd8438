// Whole games played by the real executable, headless, from an input script on the fake clock.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "interface/menu_main.h"
#include "support/run_game.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The button "Quit" of the quit confirmation on a 1280 x 720 screen.
const char* const kConfirmQuit = "click 1 535 458\n";

// Leaves the play screen with Escape, then quits from the main menu.
std::string LeaveAndQuit() {
    return std::string("wait 300\nkey escape\nwait 300\nclick 1 585 426\nwait 300\nkey escape\nwait 300\n") + kConfirmQuit;
}

// The same for a hero made on the creation screens, who plays without permadeath unless its box
// is ticked: "save and quit" is the settings window's first button.
std::string LeaveWithoutPermadeathAndQuit() {
    return std::string("wait 300\nkey escape\nwait 300\nclick 1 433 426\nwait 300\nkey escape\nwait 300\n") + kConfirmQuit;
}

// A user folder whose configuration says the welcome dialogs were shown already.
void WelcomeAlreadyShown(const TempDir& user) {
    WriteWholeFile(user.file("config.xml"), "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n");
}

// The number in "Leaving the game after N turns" (-1 when the line is missing).
int TurnsReported(const std::string& output) {
    const std::string marker = "Leaving the game after ";
    const size_t at = output.find(marker);
    if (at == std::string::npos) return -1;
    return std::atoi(output.c_str() + at + marker.size());
}

// The hero's square in "Leaving the game after N turns of the hero, at (X, Y)" ("" when the
// line is missing).
std::string FinalSquareReported(const std::string& output) {
    const size_t line = output.find("Leaving the game after ");
    if (line == std::string::npos) return "";
    const size_t at = output.find(", at (", line);
    const size_t end = output.find(')', at);
    if (at == std::string::npos || end == std::string::npos || output.find('\n', line) < end) return "";
    return output.substr(at + 6, end - at - 6);
}

// The two intro pictures of a new game: a Return press passes the first, a click the second.
const std::string kPassIntro = "wait 300\nkeydown return\nwait 100\nkeyup return\nwait 300\nclick 1 640 360\n";

struct Session {
    GameRun run;
    std::string tickerLog;
    std::string lastBuild;  // last.txt
};

Session PlaySession(const std::string& script, const std::vector<std::string>& args) {
    TempDir user;
    WelcomeAlreadyShown(user);
    WriteWholeFile(user.file("script.txt"), script);
    Session s;
    s.run = RunGame(args, user.path(),
                    {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                     {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}});
    s.tickerLog = ReadWholeFile(user.file("ticker.txt"));
    s.lastBuild = ReadWholeFile(user.file("last.txt"));
    return s;
}

// 200 rests with a frame or two between them, a walk by keys and a walk by a click, on the
// level of seed 2, where no monster comes to the resting hero.
std::string TwoHundredTurns() {
    std::ostringstream script;
    script << "seed 2\nwait 200\n";
    for (int i = 0; i < 200; ++i) script << "key space\nwait 20\n";
    script << "keydown right\nwait 1200\nkeyup right\nwait 100\n";
    script << "keydown up\nwait 1200\nkeyup up\nwait 100\n";
    script << "click 1 200 400\nwait 3000\n";
    return script.str() + LeaveAndQuit();
}

TEST(GameSession, TwoHundredTurnsThenLeaveAndQuitTheSameWayTwice) {
    const std::vector<std::string> args = {"-no-initial-config", "-player-random-build", "-debug-flag"};
    const std::string script = TwoHundredTurns();
    Session first = PlaySession(script, args);
    ASSERT_EQ(first.run.exitCode, 0) << first.run.output;
    EXPECT_GE(TurnsReported(first.run.output), 200) << first.run.output;
    // Every picture, sound and tune the game loads on the way is there.
    EXPECT_FALSE(Contains(first.run.output, "not found")) << first.run.output;
    EXPECT_FALSE(Contains(first.run.output, "Couldn't load")) << first.run.output;
    EXPECT_EQ(first.tickerLog.rfind("Welcome to Vaultmere!\n", 0), 0u) << first.tickerLog;

    Session second = PlaySession(script, args);
    ASSERT_EQ(second.run.exitCode, 0) << second.run.output;
    EXPECT_EQ(TurnsReported(second.run.output), TurnsReported(first.run.output));
    EXPECT_EQ(second.tickerLog, first.tickerLog);
    // The walks end on the same square.
    const std::string square = FinalSquareReported(first.run.output);
    EXPECT_NE(square, "") << first.run.output;
    EXPECT_EQ(FinalSquareReported(second.run.output), square) << second.run.output;
    // The random build is the hero's seven skills, and last.txt holds exactly them.
    std::istringstream build(first.lastBuild);
    std::vector<int32_t> skills;
    for (int32_t index = 0; build >> index;) skills.push_back(index);
    EXPECT_EQ(skills.size(), 7u) << first.lastBuild;
    EXPECT_TRUE(std::is_sorted(skills.begin(), skills.end())) << first.lastBuild;
    EXPECT_EQ(std::adjacent_find(skills.begin(), skills.end()), skills.end()) << first.lastBuild;
}

TEST(GameSession, NewGameFromTheMenuStartsARandomHeroEveryTime) {
    const MainMenuLayout menu = ComputeMainMenuLayout(1280, 720);
    const std::string newGame = "click 1 " + std::to_string(menu.buttonX + 100) + " " +
                                std::to_string(menu.ButtonTop(0) + 20) + "\n";
    // The creation screens: Done on the difficulty screen, "Random Skills" and Done on the
    // skill screen, a name typed and Done on the hero screen (1280 x 720: the skill screen's
    // corner is (128, 60), Done lies in the top-right corner).
    const std::string creation = "wait 300\nclick 1 1230 30\nwait 300\nclick 1 978 490\nwait 300\n"
                                 "click 1 1230 30\nwait 300\nkey a\nkey n\nkey n\nwait 100\n"
                                 "click 1 1230 30\n" + kPassIntro;
    // Two games in one run: the ticker greets each of them.
    const std::string script = "wait 500\n" + newGame + creation + "wait 500\nkey space\nwait 100\nkey escape\nwait 300\nclick 1 433 426\nwait 500\n" +
                               newGame + creation + "wait 500\nkey space\n" + LeaveWithoutPermadeathAndQuit();
    Session s = PlaySession(script, {"-no-initial-config", "-debug-flag"});
    ASSERT_EQ(s.run.exitCode, 0) << s.run.output;
    EXPECT_EQ(TurnsReported(s.run.output), 1) << s.run.output;
    // The random build went to last.txt: seven distinct skills in ascending order.
    std::istringstream build(s.lastBuild);
    std::vector<int32_t> skills;
    for (int32_t index = 0; build >> index;) skills.push_back(index);
    EXPECT_EQ(skills.size(), 7u) << s.lastBuild;
    EXPECT_TRUE(std::is_sorted(skills.begin(), skills.end())) << s.lastBuild;
    // Each game greets once; the other lines name the rooms the hero discovers.
    std::istringstream lines(s.tickerLog);
    int32_t welcomes = 0;
    std::string line;
    while (std::getline(lines, line)) {
        if (line == "Welcome to Vaultmere!") {
            ++welcomes;
        } else {
            EXPECT_TRUE(line.rfind("You have discovered ", 0) == 0 && line.back() == '!') << line;
        }
    }
    EXPECT_EQ(welcomes, 2) << s.tickerLog;
    EXPECT_EQ(s.tickerLog.rfind("Welcome to Vaultmere!\n", 0), 0u) << s.tickerLog;
}

TEST(GameSession, ANewHeroIsMadeOnTheCreationScreens) {
    const MainMenuLayout menu = ComputeMainMenuLayout(1280, 720);
    std::ostringstream script;
    script << "wait 500\nclick 1 " << menu.buttonX + 100 << " " << menu.ButtonTop(0) + 20 << "\n";
    // Difficulty: "hard" (panel corner (400, 70), row offset 240), then Done.
    script << "wait 300\nclick 1 500 310\nwait 100\nclick 1 1230 30\nwait 300\n";
    // Skills: six cells of the first row, Done (refused: six are not enough), the seventh and
    // an eighth cell (refused: seven are chosen), Done.
    for (int i = 0; i < 6; ++i) script << "click 1 " << 283 + 78 * i << " 100\nwait 50\n";
    script << "click 1 1230 30\nwait 100\n";
    script << "click 1 " << 283 + 78 * 6 << " 100\nwait 50\nclick 1 " << 283 + 78 * 7 << " 100\nwait 50\n";
    script << "click 1 1230 30\nwait 300\n";
    // Hero: "Te.sta" typed (the full stop is refused), the female portrait, Done.
    script << "key t shift\nkey e\nkey 46\nkey s\nkey t\nkey a\nwait 100\nclick 1 723 519\nwait 100\n"
              "click 1 1230 30\n" << kPassIntro;
    script << "wait 500\nkey space\n" << LeaveWithoutPermadeathAndQuit();
    Session s = PlaySession(script.str(), {"-no-initial-config", "-debug-flag"});
    ASSERT_EQ(s.run.exitCode, 0) << s.run.output;
    EXPECT_EQ(TurnsReported(s.run.output), 1) << s.run.output;
    EXPECT_FALSE(Contains(s.run.output, "not found")) << s.run.output;
    EXPECT_EQ(s.tickerLog.rfind("Welcome to Vaultmere!\n", 0), 0u) << s.tickerLog;
    // The seven clicked skills, not the eighth.
    std::istringstream build(s.lastBuild);
    std::vector<int32_t> skills;
    for (int32_t index = 0; build >> index;) skills.push_back(index);
    std::sort(skills.begin(), skills.end());
    EXPECT_EQ(skills, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6})) << s.lastBuild;
}

TEST(GameSession, TheWelcomeDialogsComeOnceAndAreRemembered) {
    TempDir user;
    // Enter answers each of the two notices; the game then runs as usual.
    WriteWholeFile(user.file("script.txt"), "wait 300\nkey return\nwait 300\nkey return\nwait 300\nkey space\n" +
                                                LeaveAndQuit());
    GameRun run = RunGame({"-no-initial-config", "-player-random-build", "-debug-flag"}, user.path(),
                          {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(TurnsReported(run.output), 1) << run.output;
    EXPECT_TRUE(Contains(ReadWholeFile(user.file("config.xml")), "name=\"completedATutorial\" value=\"1\""));
}

TEST(GameSession, AQuickStartWithASaveThatCannotBeLoadedFailsWithAMessage) {
    TempDir user;
    WriteWholeFile(user.file("broken.sav"), "this is not a saved game");
    // A named pipe is never opened for reading: nothing would ever write to it.
    ASSERT_EQ(mkfifo(user.file("pipe.sav").c_str(), 0600), 0);
    for (const char* name : {"missing.sav", "broken.sav", "pipe.sav"}) {
        SCOPED_TRACE(name);
        GameRun run = RunGame({"-no-initial-config", std::string("-load-filename=") + name}, user.path(), {}, 60);
        EXPECT_NE(run.exitCode, 0) << run.output;
        EXPECT_TRUE(Contains(run.output, std::string("Couldn't load filename ") + name)) << run.output;
        EXPECT_FALSE(FileExists(user.file("cookie.txt")));
    }
}

}  // namespace

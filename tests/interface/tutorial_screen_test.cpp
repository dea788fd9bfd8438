// The tutorial list: scrolling, which clicks start a tutorial, the notice, going on to the
// next tutorial, the stars, and the player's own settings held aside and given back.
#include "interface/tutorial_screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/key_bindings.h"
#include "core/shell/config.h"
#include "core/shell/menu_hooks.h"
#include "core/shell/shell_services.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "interface/menu_frame.h"
#include "interface/menu_screen_hooks.h"
#include "interface/menu_test_fixture.h"
#include "interface/screens.h"
#include "levels/tutorial.h"

namespace {

struct Started {
    std::string tutorial;
    std::string room;
    int32_t x, y;
    int32_t upKey;        // the "0" binding's key while it ran
    int32_t autoLootSum;  // the twelve switches added up
    bool tutorialMode;
    std::vector<int32_t> chosenIds;
};

std::vector<Started> StartedTutorials;
// What each finished tutorial sets the continue flag to, in order (0 when the list runs out).
std::vector<int32_t> ContinueAnswers;

void RecordStart(const char* room, int32_t x, int32_t y) {
    Started s;
    s.tutorial = CurrentTutorial != nullptr ? CurrentTutorial->name : "";
    s.room = room;
    s.x = x;
    s.y = y;
    s.upKey = GetKeyBinding("0") != nullptr ? GetKeyBinding("0")->key : -1;
    s.autoLootSum = 0;
    for (int32_t v : AutoLootSwitches) s.autoLootSum += v;
    s.tutorialMode = TutorialFlag;
    for (const SkillRecord& r : SkillDB) {
        if (r.chosen) s.chosenIds.push_back(r.id);
    }
    StartedTutorials.push_back(s);
}

// The play loop of a tutorial: it ends at once, completed, with the next answer; the game
// is torn down as the real loop does.
void FinishTutorial() {
    if (CurrentTutorial != nullptr) CurrentTutorial->completed = 1;
    const size_t n = StartedTutorials.size();
    TutorialContinueFlag = n <= ContinueAnswers.size() ? ContinueAnswers[n - 1] : 0;
    delete CurrentPlayer;
    CurrentPlayer = nullptr;
}

void Nothing() {}

class TutorialScreenTest : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        if (IsSkipped()) return;
        InstallMenuScreenHooks();
        MenuHooks.startTutorial = RecordStart;
        MenuHooks.advanceTurn = Nothing;
        MenuHooks.runGameLoop = FinishTutorial;
        StartedTutorials.clear();
        ContinueAnswers.clear();
        ClearTutorials();
        for (int i = 0; i < 8; ++i) {
            Tutorial* t = new Tutorial();
            t->name = "Lesson " + std::to_string(i);
            t->description = "What lesson " + std::to_string(i) + " teaches.";
            t->room = "tutorial_room_" + std::to_string(i);
            t->playerStartX = 3 + i;
            t->playerStartY = 4;
            Tutorials.push_back(t);
        }
        TutorialsLoaded = true;
        savedSkills_ = SkillDB;
        SkillDB.clear();
        for (int i = 0; i < 4; ++i) {
            SkillRecord r;
            r.name = "Skill " + std::to_string(i);
            r.id = 100 + i;
            SkillDB.push_back(r);
        }
        SkillDB[3].chosen = 1;  // the last hero's
        Tutorials[0]->skills = {100, 101};
        Tutorials[1]->skills = {102};
        // The player's own settings, written to and read from config.xml.
        ResetConfigToDefaults();
        InitKeyBindings();
        WriteWholeFile(user_.file("config.xml"),
                       "<config>\n<keybinding pos=\"0\" value=\"105\" mod=\"0\"/>\n"
                       "<autoloot pos=\"0\" value=\"1\"/>\n<autoloot pos=\"5\" value=\"1\"/>\n</config>\n");
        testing::internal::CaptureStdout();
        LoadConfig();
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(GetKeyBinding("0")->key, 105);
        ASSERT_EQ(AutoLootSwitches[5], 1);
    }
    void TearDown() override {
        if (!IsSkipped()) {
            ClearTutorials();
            SkillDB = savedSkills_;
            MenuHooks = MenuScreenHooks();
            ResetConfigToDefaults();
            InitKeyBindings();
            ClearAutoLoot();
            TutorialFlag = false;
            CurrentTutorial = nullptr;
        }
        MenuScreenTest::TearDown();
    }

    void Run(const std::string& script) {
        Script(script);
        ShowTutorialScreen();
        EXPECT_EQ(MenuBackground, nullptr);
    }

    std::vector<SkillRecord> savedSkills_;
};

// 1280 x 720 with the 780 x 600 panel: (px, py) = (250, 60); row r at (398, 137 + 86 r),
// 520 x 80; the arrows at (933, 341) and (933, 405), 32 x 40; Back at (0, 0), 128 x 64.
std::string Row(int r, int button = 1) {
    return "click " + std::to_string(button) + " 500 " + std::to_string(160 + 86 * r) + "\nwait 40\n";
}
const char* const kNotice = "wait 40\nkey return\nwait 40\n";
const char* const kLeave = "wait 40\nkey escape\n";

TEST_F(TutorialScreenTest, ClicksThatStartNothing) {
    struct Case {
        std::string script;
        const char* what;
    };
    const Case cases[] = {
        {Row(0, 3), "a right-button release on a row"},
        {Row(0, 2), "a middle-button release on a row"},
        {"click 1 500 130\nwait 40\n", "a click above the first row"},
        {"click 1 397 160\nwait 40\n", "a click left of the rows"},
    };
    for (const Case& c : cases) {
        Run("wait 40\n" + c.script + kLeave);
        EXPECT_TRUE(StartedTutorials.empty()) << c.what;
    }
    // With three tutorials, a click on the fourth row's place starts nothing.
    while (Tutorials.size() > 3) {
        delete Tutorials.back();
        Tutorials.pop_back();
    }
    Run("wait 40\n" + Row(3) + kLeave);
    EXPECT_TRUE(StartedTutorials.empty());
}

TEST_F(TutorialScreenTest, TheWheelScrollsOneRowAStep) {
    struct Case {
        std::string scroll;
        std::string started;
    };
    const Case cases[] = {
        {"click 5 500 300\nwait 40\n", "Lesson 1"},
        {"click 5 500 300\nwait 40\nclick 5 500 300\nwait 40\n", "Lesson 2"},
        // Eight tutorials scroll two rows at most.
        {"click 5 1 1\nclick 5 1 1\nclick 5 1 1\nclick 5 1 1\nwait 40\n", "Lesson 2"},
        {"click 5 1 1\nclick 5 1 1\nclick 4 1 1\nwait 40\n", "Lesson 1"},
        {"click 4 1 1\nwait 40\n", "Lesson 0"},
        // The down arrow, clicked with the left button.
        {"click 1 940 420\nwait 40\n", "Lesson 1"},
    };
    for (const Case& c : cases) {
        StartedTutorials.clear();
        Run("wait 40\n" + c.scroll + Row(0) + kNotice + kLeave);
        ASSERT_EQ(StartedTutorials.size(), 1u) << c.scroll;
        EXPECT_EQ(StartedTutorials[0].tutorial, c.started) << c.scroll;
    }
}

TEST_F(TutorialScreenTest, StartsWithDefaultsAndGivesThePlayersSettingsBack) {
    const int32_t defaultUp = DefaultKeyBindings()["0"].key;
    ASSERT_NE(defaultUp, 105);
    Run("wait 40\n" + Row(0) + kNotice + kLeave);
    ASSERT_EQ(StartedTutorials.size(), 1u);
    const Started& s = StartedTutorials[0];
    EXPECT_EQ(s.tutorial, "Lesson 0");
    EXPECT_EQ(s.room, "tutorial_room_0");
    EXPECT_EQ(s.x, 3);
    EXPECT_EQ(s.y, 4);
    EXPECT_EQ(s.upKey, defaultUp);
    EXPECT_EQ(s.autoLootSum, 0);
    EXPECT_TRUE(s.tutorialMode);
    // Only the tutorial's skills are chosen while it runs.
    EXPECT_EQ(s.chosenIds, (std::vector<int32_t>{100, 101}));
    // Afterwards: the player's binding and switches, the last hero's skill flag alone.
    EXPECT_FALSE(TutorialFlag);
    EXPECT_EQ(GetKeyBinding("0")->key, 105);
    EXPECT_EQ(AutoLootSwitches[0], 1);
    EXPECT_EQ(AutoLootSwitches[5], 1);
    EXPECT_EQ(SkillDB[0].chosen, 0);
    EXPECT_EQ(SkillDB[1].chosen, 0);
    EXPECT_EQ(SkillDB[3].chosen, 1);
    ASSERT_TRUE(WriteConfig());
    const std::string config = ReadWholeFile(user_.file("config.xml"));
    EXPECT_NE(config.find("<keybinding pos=\"0\" value=\"105\""), std::string::npos) << config;
    EXPECT_NE(config.find("<autoloot pos=\"5\" value=\"1\"/>"), std::string::npos) << config;
}

void WriteConfigWhilePlaying() {
    FinishTutorial();
    WriteConfig();
}

TEST_F(TutorialScreenTest, ConfigWrittenDuringATutorialKeepsThePlayersValues) {
    MenuHooks.runGameLoop = WriteConfigWhilePlaying;
    Run("wait 40\n" + Row(0) + kNotice + kLeave);
    ASSERT_EQ(StartedTutorials.size(), 1u);
    const std::string config = ReadWholeFile(user_.file("config.xml"));
    EXPECT_NE(config.find("<keybinding pos=\"0\" value=\"105\""), std::string::npos) << config;
    EXPECT_NE(config.find("<autoloot pos=\"0\" value=\"1\"/>"), std::string::npos) << config;
    EXPECT_NE(config.find("<autoloot pos=\"5\" value=\"1\"/>"), std::string::npos) << config;
    // The tutorial just finished is recorded as completed.
    EXPECT_NE(config.find("<tutorial name=\"Lesson 0\""), std::string::npos) << config;
}

TEST_F(TutorialScreenTest, GoingOnChainsWithoutTheNoticeAndStopsWhenAsked) {
    // Lesson 5 goes on to 6, 6 to 7, and 7 is the last: the list shows again.
    ContinueAnswers = {1, 1, 1};
    // One notice only: a second Return would be taken by nothing (the screen ignores keys).
    Run("wait 40\n" + Row(5) + kNotice + kLeave);
    ASSERT_EQ(StartedTutorials.size(), 3u);
    EXPECT_EQ(StartedTutorials[0].tutorial, "Lesson 5");
    EXPECT_EQ(StartedTutorials[1].tutorial, "Lesson 6");
    EXPECT_EQ(StartedTutorials[2].tutorial, "Lesson 7");
    // A cleared flag returns to the list; the next tutorial of the same visit shows no notice.
    StartedTutorials.clear();
    ContinueAnswers = {0, 0};
    Run("wait 40\n" + Row(0) + kNotice + Row(1) + "wait 40\n" + Row(2) + kLeave);
    ASSERT_EQ(StartedTutorials.size(), 3u);
    EXPECT_EQ(StartedTutorials[1].tutorial, "Lesson 1");
    EXPECT_EQ(StartedTutorials[2].tutorial, "Lesson 2");
}

TEST_F(TutorialScreenTest, CompletedTutorialsShowTheirStars) {
    Tutorials[1]->completed = 1;
    Run("wait 40\n" + std::string(kLeave));
    // The star at (rowX - 40, rowY + 6): row 1 at (398, 223) puts it at (358, 229), 32 x 32.
    SDL_Surface* shown = NewScreenSized(1280, 720);
    SDL_BlitSurface(ScreenSurface, nullptr, shown, nullptr);
    Tutorials[1]->completed = 0;
    Run("wait 40\n" + std::string(kLeave));
    EXPECT_GT(CountDifferentPixels(shown, 358, 229, ScreenSurface, 358, 229, 32, 32), 50);
    // Row 0 has no star either way.
    EXPECT_EQ(CountDifferentPixels(shown, 358, 143, ScreenSurface, 358, 143, 32, 32), 0);
    SDL_FreeSurface(shown);
}

TEST_F(TutorialScreenTest, BackButtonBoxIncludesItsEdgesAndEscapeMustBeReleased) {
    Script("wait 40\nkeydown escape\nwait 300\nclick 1 128 64\n");
    ShowTutorialScreen();
    EXPECT_GE(LoggedGetTicks(), 300u);
    EXPECT_TRUE(StartedTutorials.empty());
}

// A name too long for the large font stays left of the row's roller: the roller (20 pixels
// from 496 into the row; the panel shows through the row's last few) of a row with a long name
// looks as that of a row with a short one.
TEST_F(TutorialScreenTest, LongNamesStayLeftOfTheRoller) {
    Tutorials[0]->name = "Tutorial Chamber: Provisions and Pantries";
    Tutorials[1]->name = "Short";
    Run(kLeave);
    // Rows at (398, 137) and (398, 223); the rollers from x 398 + 496.
    EXPECT_EQ(CountDifferentPixels(ScreenSurface, 894, 137, ScreenSurface, 894, 223, 20, 60), 0);
    // The long name is written, and differs from the short one.
    EXPECT_GT(CountDifferentPixels(ScreenSurface, 485, 142, ScreenSurface, 485, 228, 400, 30), 100);
}

}  // namespace

// The command line: start-up options, the quick-start hero and the save to load.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/shell/command_line.h"
#include "core/shell/config.h"
#include "core/high_scores.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

// An argument vector that stays alive for the call.
class Args {
public:
    explicit Args(std::vector<std::string> args) : storage_(std::move(args)) {
        storage_.insert(storage_.begin(), "vaultmere");
        for (std::string& arg : storage_) {
            pointers_.push_back(&arg[0]);
        }
        pointers_.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(storage_.size()); }
    char** argv() { return pointers_.data(); }

private:
    std::vector<std::string> storage_;
    std::vector<char*> pointers_;
};

CommandLineState Parse(std::vector<std::string> args) {
    CmdLine = CommandLineState();
    Args a(std::move(args));
    ParseCommandLine(a.argc(), a.argv());
    CommandLineState result = CmdLine;
    CmdLine = CommandLineState();
    return result;
}

}  // namespace

TEST(CommandLineTest, DefaultsBeforeAnyOption) {
    const CommandLineState s = Parse({});
    EXPECT_EQ(s.debugFlags, 0u);
    EXPECT_FALSE(s.testRoom);
    EXPECT_EQ(s.testRoomName, "");
    EXPECT_EQ(s.testRoomX, 0);
    EXPECT_EQ(s.testRoomY, 0);
    EXPECT_FALSE(s.fullScreen);
    EXPECT_FALSE(s.windowForced);
    EXPECT_EQ(s.screenWidth, 1280);
    EXPECT_EQ(s.screenHeight, 720);
    EXPECT_FALSE(s.res1024);
    EXPECT_TRUE(s.initialConfig);
    EXPECT_FALSE(s.splashShown);
    EXPECT_FALSE(s.startupTime);
    EXPECT_FALSE(s.openGL);
    EXPECT_TRUE(s.music);
    EXPECT_TRUE(s.sound);
    EXPECT_FALSE(s.clearCloud);
    EXPECT_FALSE(s.publisher);
}

TEST(CommandLineTest, PrintsTheProgramPathFirst) {
    testing::internal::CaptureStdout();
    Parse({"-nomusic"});
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("argv[i]: vaultmere\n", 0), 0u) << out;
}

TEST(CommandLineTest, OptionTable) {
    struct Case {
        std::vector<std::string> args;
        std::function<void(const CommandLineState&)> check;
    };
    const Case cases[] = {
        {{"-debug-flag"}, [](const CommandLineState& s) { EXPECT_EQ(s.debugFlags, kDebugGeneral); }},
        {{"-debug-flag-audio"},
         [](const CommandLineState& s) { EXPECT_EQ(s.debugFlags, kDebugGeneral | kDebugAudio); }},
        {{"-debug-flag-loads"},
         [](const CommandLineState& s) { EXPECT_EQ(s.debugFlags, kDebugGeneral | kDebugLoads); }},
        {{"-debug-flag-room-scripts"},
         [](const CommandLineState& s) { EXPECT_EQ(s.debugFlags, kDebugGeneral | kDebugRoomScripts); }},
        {{"-debug-flag-key-bindings"},
         [](const CommandLineState& s) { EXPECT_EQ(s.debugFlags, kDebugGeneral | kDebugKeyBindings); }},
        {{"-debug-flag-loads", "-debug-flag-audio", "-debug-flag-room-scripts", "-debug-flag-key-bindings"},
         [](const CommandLineState& s) { EXPECT_EQ(s.debugFlags, 2u | 4u | 8u | 16u | 32u); }},
        {{"-debug"}, [](const CommandLineState& s) { EXPECT_EQ(s.debugFlags, 0u) << "shorter than the option"; }},
        {{"-w"},
         [](const CommandLineState& s) {
             EXPECT_FALSE(s.fullScreen);
             EXPECT_TRUE(s.windowForced);
         }},
        {{"-windowed"}, [](const CommandLineState& s) { EXPECT_TRUE(s.windowForced) << "prefix match"; }},
        {{"-res-1024"},
         [](const CommandLineState& s) {
             EXPECT_TRUE(s.res1024);
             EXPECT_EQ(s.screenWidth, 1024);
             EXPECT_EQ(s.screenHeight, 768);
         }},
        {{"-no-initial-config"},
         [](const CommandLineState& s) {
             EXPECT_FALSE(s.initialConfig);
             EXPECT_TRUE(s.splashShown);
         }},
        {{"-startuptime"}, [](const CommandLineState& s) { EXPECT_TRUE(s.startupTime); }},
        {{"-opengl"}, [](const CommandLineState& s) { EXPECT_TRUE(s.openGL); }},
        {{"-nukesteamcloud"}, [](const CommandLineState& s) { EXPECT_TRUE(s.clearCloud); }},
        {{"-publisher"}, [](const CommandLineState& s) { EXPECT_TRUE(s.publisher); }},
        {{"-nomusic", "-nosound"},
         [](const CommandLineState& s) {
             EXPECT_FALSE(s.music);
             EXPECT_FALSE(s.sound);
         }},
        // One argument sets at most one option of the second table.
        {{"-nomusic-nosound"},
         [](const CommandLineState& s) {
             EXPECT_FALSE(s.music);
             EXPECT_TRUE(s.sound);
         }},
        {{"-x", "5", "-y", "7"},
         [](const CommandLineState& s) {
             EXPECT_EQ(s.testRoomX, 5);
             EXPECT_EQ(s.testRoomY, 7);
             EXPECT_FALSE(s.testRoom) << "a position alone starts no test room";
         }},
        {{"-x", "12px", "-y", "abc"},
         [](const CommandLineState& s) {
             EXPECT_EQ(s.testRoomX, 12);
             EXPECT_EQ(s.testRoomY, 0);
         }},
        {{"-testroom", "crypt", "-x", "-3"},
         [](const CommandLineState& s) {
             EXPECT_TRUE(s.testRoom);
             EXPECT_EQ(s.testRoomName, "crypt");
             EXPECT_EQ(s.testRoomX, -3);
         }},
        // A value is taken as it is, and the rest of the pass looks at it.
        {{"-testroom", "-nomusic"},
         [](const CommandLineState& s) {
             EXPECT_EQ(s.testRoomName, "-nomusic");
             EXPECT_FALSE(s.music);
         }},
        // A value option as the last argument reads nothing past the list.
        {{"-testroom"},
         [](const CommandLineState& s) {
             EXPECT_FALSE(s.testRoom);
             EXPECT_EQ(s.testRoomName, "");
         }},
        {{"-x", "4", "-y"},
         [](const CommandLineState& s) {
             EXPECT_EQ(s.testRoomX, 4);
             EXPECT_EQ(s.testRoomY, 0);
         }},
        {{"-bogus", "plain", ""},
         [](const CommandLineState& s) {
             EXPECT_EQ(s.debugFlags, 0u);
             EXPECT_TRUE(s.music);
             EXPECT_TRUE(s.initialConfig);
         }},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const std::string& a : c.args) {
            joined += "[" + a + "]";
        }
        SCOPED_TRACE(joined);
        testing::internal::CaptureStdout();
        const CommandLineState s = Parse(c.args);
        testing::internal::GetCapturedStdout();
        c.check(s);
    }
}

TEST(CommandLineTest, StringStartsWith) {
    EXPECT_TRUE(StringStartsWith("-debug-flag-loads", "-debug-flag"));
    EXPECT_TRUE(StringStartsWith("abc", ""));
    EXPECT_TRUE(StringStartsWith("abc", "abc"));
    EXPECT_FALSE(StringStartsWith("ab", "abc"));
    EXPECT_FALSE(StringStartsWith("", "a"));
    EXPECT_FALSE(StringStartsWith("-W", "-w"));
}

TEST(CommandLineTest, LoadFilenameTakesTheLastOne) {
    {
        Args a({"-w"});
        EXPECT_EQ(GetLoadFilenameArg(a.argc(), a.argv()), "");
    }
    {
        Args a({"-load-filename=first.sav", "-w", "-load-filename=second.sav"});
        EXPECT_EQ(GetLoadFilenameArg(a.argc(), a.argv()), "second.sav");
    }
    {
        Args a({"-load-filename=kept.sav", "-load-filename="});
        EXPECT_EQ(GetLoadFilenameArg(a.argc(), a.argv()), "");
    }
    {
        // The program path is not an option.
        char path[] = "-load-filename=program";
        char* argv[] = {path, nullptr};
        EXPECT_EQ(GetLoadFilenameArg(1, argv), "");
    }
    EXPECT_EQ(GetLoadFilenameArg(0, nullptr), "");
}

TEST(CommandLineDeathTest, DocsPrintsTheReferenceAndExitsCleanly) {
    TempDir user;
    ScopedEnv env("VAULTMERE_USER_DIR", user.path().c_str());
    EXPECT_EXIT(
        {
            Args a({"-docs", "-nomusic"});
            ParseCommandLine(a.argc(), a.argv());
        },
        testing::ExitedWithCode(0), "");
    EXPECT_FALSE(FileExists(user.file("cookie.txt")));
}

// The quick-start hero, with the user folder in a temporary place.
class QuickStartTest : public ::testing::Test {
protected:
    QuickStartTest() : env_("VAULTMERE_USER_DIR", user_.path().c_str()) {}
    void SetUp() override {
        // Twenty plain skills stand for the skill database.
        ResetSkillDB();
        std::string skills = "<skills>";
        for (int i = 0; i < 20; ++i) skills += "<skill name=\"S" + std::to_string(i) + "\" id=\"" + std::to_string(i) + "\"/>";
        skills += "</skills>";
        SkillDBLoadFromText(skills.data(), skills.size(), "test//skillDB.xml");
        savedGender_ = currentGenderChoice;
        currentGenderChoice = 0;
        CurrentPlayer = nullptr;
    }
    void TearDown() override {
        currentGenderChoice = savedGender_;
        CurrentPlayer = nullptr;
        ResetSkillDB();
    }
    Player* Make(std::vector<std::string> args) {
        Args a(std::move(args));
        testing::internal::CaptureStdout();
        Player* hero = CreatePlayerFromCommandLine(a.argc(), a.argv());
        testing::internal::GetCapturedStdout();
        return hero;
    }
    std::vector<int32_t> Chosen() {
        std::vector<int32_t> chosen;
        for (size_t i = 0; i < SkillDB.size(); ++i) {
            if (SkillDB[i].chosen) {
                chosen.push_back(static_cast<int32_t>(i));
            }
        }
        return chosen;
    }
    // A random build: seven different offered skills in ascending order.
    static void ExpectSevenOfferedSkills(const std::vector<int32_t>& skills) {
        std::vector<int32_t> offered;
        BuildChoosableSkillList(offered);
        ASSERT_EQ(skills.size(), 7u);
        EXPECT_TRUE(std::is_sorted(skills.begin(), skills.end()));
        EXPECT_EQ(std::adjacent_find(skills.begin(), skills.end()), skills.end());
        for (int32_t index : skills) EXPECT_NE(std::find(offered.begin(), offered.end(), index), offered.end());
    }
    TempDir user_;
    ScopedEnv env_;
    int32_t savedGender_ = 0;
};

TEST_F(QuickStartTest, NoPlayerOptionMakesNoHero) {
    EXPECT_EQ(Make({}), nullptr);
    EXPECT_EQ(Make({"-w", "-load-filename=x.sav", "-player"}), nullptr);
    EXPECT_EQ(CreatePlayerFromCommandLine(0, nullptr), nullptr);
    EXPECT_FALSE(FileExists(user_.file("last.txt"))) << "no build is written without a hero";
}

TEST_F(QuickStartTest, DefaultsOfTheQuickStartHero) {
    currentGenderChoice = 1;
    Player* hero = Make({"-player-name=Quinn"});
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(hero->difficulty, 1);
    EXPECT_EQ(hero->female, 1) << "gender of the last hero";
    EXPECT_EQ(hero->permadeath, 1);
    EXPECT_EQ(hero->quickie, 0);
    EXPECT_EQ(hero->randomBuild, 1);
    EXPECT_EQ(hero->lastBuild, 0);
    EXPECT_EQ(hero->name, "Quinn");
    EXPECT_FLOAT_EQ(hero->offsetX, 0.0f);
    EXPECT_FLOAT_EQ(hero->offsetY, 0.0f);
    ExpectSevenOfferedSkills(hero->skillList);
    EXPECT_EQ(Chosen(), hero->skillList) << "the hero's skills are marked chosen";
    EXPECT_EQ(CurrentPlayer, nullptr) << "restored after the starting kit";
    EXPECT_EQ(LoadLastTxt(static_cast<int32_t>(SkillDB.size())), hero->skillList) << "last.txt holds the real build";
    delete hero;
}

TEST_F(QuickStartTest, ValueOptionsAndTheirRanges) {
    struct Case {
        std::vector<std::string> args;
        int32_t difficulty, permadeath, quickie, female;
        std::string name;
    };
    const Case cases[] = {
        {{"-player-difficulty=7"}, 1, 1, 0, 0, "Random Hero"},
        {{"-player-difficulty=0"}, 0, 1, 0, 0, "Random Hero"},
        {{"-player-difficulty=2"}, 2, 1, 0, 0, "Random Hero"},
        {{"-player-difficulty=-1"}, 1, 1, 0, 0, "Random Hero"},
        {{"-player-difficulty=abc"}, 0, 1, 0, 0, "Random Hero"},
        {{"-player-difficulty=99999999999999"}, 1, 1, 0, 0, "Random Hero"},
        {{"-player-permadeath=2"}, 1, 1, 0, 0, "Random Hero"},
        {{"-player-permadeath=0"}, 1, 0, 0, 0, "Random Hero"},
        {{"-player-quickie=1"}, 1, 1, 1, 0, "Random Hero"},
        {{"-player-quickie=5"}, 1, 1, 0, 0, "Random Hero"},
        {{"-player-female"}, 1, 1, 0, 1, "Random Hero"},
        {{"-player-female", "-player-male"}, 1, 1, 0, 0, "Random Hero"},
        {{"-player-name="}, 1, 1, 0, 0, ""},
        {{"-player-name=Ann Marie", "-player-name=Bo"}, 1, 1, 0, 0, "Bo"},
        // Line breaks and other control characters never reach the line-based user files.
        {{"-player-name=Ann\nMarie"}, 1, 1, 0, 0, "Ann Marie"},
        {{"-player-name=Ann\r\n\tMarie\n"}, 1, 1, 0, 0, "Ann Marie"},
        {{"-player-name=\x1b[31mRed\x7f"}, 1, 1, 0, 0, "[31mRed"},
        {{"-player-name=\n"}, 1, 1, 0, 0, ""},
        {{"-w", "-player-difficulty=2", "-player-quickie=1", "-player-permadeath=0", "-player-female",
          "-player-name=All"},
         2, 0, 1, 1, "All"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        Player* hero = Make(c.args);
        ASSERT_NE(hero, nullptr);
        EXPECT_EQ(hero->difficulty, c.difficulty);
        EXPECT_EQ(hero->permadeath, c.permadeath);
        EXPECT_EQ(hero->quickie, c.quickie);
        EXPECT_EQ(hero->female, c.female);
        EXPECT_EQ(hero->name, c.name);
        delete hero;
    }
}

TEST_F(QuickStartTest, LastBuildTakesThePreviousSkillsAndRandomBuildGivesThemBack) {
    ASSERT_GE(SkillDB.size(), 10u);
    const std::vector<int32_t> previous = {9, 3, 1, 4, 0, 5, 2};
    ASSERT_TRUE(SaveLastTxt(previous));

    Player* hero = Make({"-player-last-build"});
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(hero->lastBuild, 1);
    EXPECT_EQ(hero->randomBuild, 0);
    EXPECT_EQ(hero->skillList, previous);
    std::vector<int32_t> sorted = previous;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(Chosen(), sorted);
    EXPECT_EQ(LoadLastTxt(static_cast<int32_t>(SkillDB.size())), previous);
    delete hero;

    hero = Make({"-player-last-build", "-player-random-build"});
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(hero->lastBuild, 0);
    EXPECT_EQ(hero->randomBuild, 1);
    ExpectSevenOfferedSkills(hero->skillList);
    EXPECT_EQ(LoadLastTxt(static_cast<int32_t>(SkillDB.size())), hero->skillList);
    delete hero;
}

TEST_F(QuickStartTest, ApplyChosenSkillsMarksOnlyTheListAndRestoresTheCurrentHero) {
    Player other;
    Player hero;
    CurrentPlayer = &other;
    SetSkillChosen(7);
    testing::internal::CaptureStdout();
    ApplyChosenSkills(&hero, {2, 4, 6, -1, 100000});
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(Chosen(), (std::vector<int32_t>{2, 4, 6})) << "unknown indices are skipped";
    EXPECT_EQ(CurrentPlayer, &other);
    CurrentPlayer = nullptr;
}

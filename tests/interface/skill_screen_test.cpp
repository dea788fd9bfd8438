// The skill selection screen driven by input scripts: the "Random Skills" and "Last Choice"
// shortcuts and when Done lets the player go on.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/random.h"
#include "creatures/skill_db.h"
#include "interface/choose_skills.h"
#include "interface/screens.h"
#include "menu_test_fixture.h"

namespace {

// On a 1280 x 720 screen the screen's corner is (128, 60).
const char* const kClickRandom = "wait 50\nclick 1 978 490\n";
const char* const kClickLastChoice = "wait 50\nclick 1 888 490\n";
const char* const kClickDone = "wait 50\nclick 1 1230 30\n";
const char* const kEscape = "wait 50\nkey escape\n";

class SkillScreen : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        if (IsSkipped()) return;
        savedScroll_ = SkillScrollPosition;
        SkillScrollPosition = 0;
        ResetSkillDB();
        // Twenty real skills, then the two pseudo-skills at positions 20 and 21.
        std::string xml = "<skills>";
        for (int i = 0; i < kRealSkills; ++i) {
            xml += "<skill name=\"Knack " + std::to_string(i) + "\" id=\"" + std::to_string(i) + "\"/>";
        }
        xml += "</skills>";
        ASSERT_TRUE(SkillDBLoadFromText(xml.data(), xml.size(), "test//skillDB.xml"));
        AddDummySkills();
    }
    void TearDown() override {
        if (!IsSkipped()) {
            ResetSkillDB();
            SkillScrollPosition = savedScroll_;
        }
        MenuScreenTest::TearDown();
    }
    // Runs the screen on the script; `chosen` is the list the screen works on.
    bool Run(const std::string& script, std::vector<int32_t>& chosen) {
        Script(script);
        int32_t usedRandom = -1;
        int32_t usedLast = -1;
        testing::internal::CaptureStdout();
        const bool done = ShowChooseSkillsScreen(chosen, &usedRandom, &usedLast);
        testing::internal::GetCapturedStdout();
        lastUsedRandom_ = usedRandom;
        lastUsedLast_ = usedLast;
        return done;
    }
    static constexpr int kRealSkills = 20;
    int32_t savedScroll_ = 0;
    int32_t lastUsedRandom_ = -1;
    int32_t lastUsedLast_ = -1;
};

// Seven distinct real skills in ascending order.
void ExpectRandomBuild(const std::vector<int32_t>& skills) {
    EXPECT_EQ(skills.size(), 7u);
    EXPECT_TRUE(std::is_sorted(skills.begin(), skills.end()));
    EXPECT_EQ(std::adjacent_find(skills.begin(), skills.end()), skills.end());
    for (int32_t s : skills) EXPECT_TRUE(s >= 0 && s < 20) << s;
}

TEST_F(SkillScreen, RandomSkillsTwiceGivesTwoDifferentSortedBuildsThatTheSeedRepeats) {
    CSRand(4242);
    std::vector<int32_t> first;
    EXPECT_FALSE(Run(std::string(kClickRandom) + kEscape, first));
    EXPECT_EQ(lastUsedRandom_, 1);
    EXPECT_EQ(lastUsedLast_, 0);
    ExpectRandomBuild(first);
    // A second press draws again and replaces the whole list.
    std::vector<int32_t> second = first;
    EXPECT_FALSE(Run(std::string(kClickRandom) + kEscape, second));
    ExpectRandomBuild(second);
    EXPECT_NE(second, first);
    // The same seed gives the same first build again; seven skills let Done through.
    CSRand(4242);
    std::vector<int32_t> again;
    EXPECT_TRUE(Run(std::string(kClickRandom) + kClickDone, again));
    EXPECT_EQ(again, first);
}

TEST_F(SkillScreen, LastChoiceKeepsTheValidSkillsOfAHandEditedFileAndDoneWaitsForSeven) {
    struct Case {
        const char* what;
        const char* lastTxt;
        std::vector<int32_t> want;
        bool doneAccepted;
    };
    const Case cases[] = {
        {"seven good skills", "4\n2\n9\n11\n0\n19\n7\n", {4, 2, 9, 11, 0, 19, 7}, true},
        // 99 is out of range, 5 comes twice, 20 and 21 are the pseudo-skills, -1 is nothing.
        {"bad entries dropped", "3\n99\n5\n5\n20\n21\n-1\n7\n", {3, 5}, false},
        {"not a number ends the list", "1\n2\nthree\n4\n", {1, 2}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteWholeFile(user_.file("last.txt"), c.lastTxt);
        std::vector<int32_t> chosen = {8, 9};
        // Done is pressed, then Escape in case Done refused.
        const bool done = Run(std::string(kClickLastChoice) + kClickDone + kEscape, chosen);
        EXPECT_EQ(lastUsedLast_, 1);
        EXPECT_EQ(lastUsedRandom_, 0);
        EXPECT_EQ(chosen, c.want);
        EXPECT_EQ(done, c.doneAccepted);
    }
}

TEST_F(SkillScreen, TheEighthSkillIsRefusedAndDoneOpensAtSeven) {
    // The grid's first row: cells 78 wide from x = 244, y = 62.
    auto cell = [](int i) { return "wait 50\nclick 1 " + std::to_string(283 + 78 * i) + " 100\n"; };
    std::string six;
    for (int i = 0; i < 6; ++i) six += cell(i);
    std::vector<int32_t> chosen;
    EXPECT_FALSE(Run(six + kClickDone + kEscape, chosen)) << "six skills are not enough";
    EXPECT_EQ(chosen, (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
    chosen.clear();
    EXPECT_TRUE(Run(six + cell(6) + cell(7) + kClickDone, chosen));
    EXPECT_EQ(chosen, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6}));
    // A chosen skill clicked again goes; another takes its place.
    EXPECT_TRUE(Run(cell(2) + cell(9) + kClickDone, chosen));
    EXPECT_EQ(chosen, (std::vector<int32_t>{0, 1, 3, 4, 5, 6, 9}));
}

}  // namespace

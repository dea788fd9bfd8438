// The credits pages, the intro pictures and the plea of the quit screen.
#include "interface/credits_screen.h"
#include "interface/intro_screen.h"

#include <gtest/gtest.h>

#include <string>

#include "core/input_log.h"
#include "core/random.h"
#include "interface/menu_frame.h"
#include "interface/menu_test_fixture.h"
#include "interface/screens.h"
#include "media/image.h"
#include "media/sound.h"

namespace {

TEST(CreditsTable, KindsHeightsAndThreePages) {
    const CreditEntry heading = {"Heading", nullptr, nullptr};
    const CreditEntry pictured = {"Name", "Role", "skills/skill_swordplay.png"};
    const CreditEntry plain = {"Name", "Role", nullptr};
    const CreditEntry spacer = {nullptr, nullptr, nullptr};
    EXPECT_EQ(KindOfCredit(heading), CreditKind::Heading);
    EXPECT_EQ(KindOfCredit(pictured), CreditKind::WithPicture);
    EXPECT_EQ(KindOfCredit(plain), CreditKind::WithoutPicture);
    EXPECT_EQ(KindOfCredit(spacer), CreditKind::Spacer);
    EXPECT_EQ(CreditEntryHeight(CreditKind::WithPicture), 72);
    EXPECT_EQ(CreditEntryHeight(CreditKind::WithoutPicture), 72);
    EXPECT_EQ(CreditEntryHeight(CreditKind::Heading), 48);
    EXPECT_EQ(CreditEntryHeight(CreditKind::Spacer), 48);
    EXPECT_GT(kCreditCount, 2 * kCreditsPerPage);
    EXPECT_LE(kCreditCount, 3 * kCreditsPerPage);
    int kinds[4] = {};
    bool helpers = false, thanks = false;
    for (int32_t i = 0; i < kCreditCount; ++i) {
        ++kinds[static_cast<int>(KindOfCredit(kCredits[i]))];
        if (kCredits[i].first && std::string(kCredits[i].first) == "with the help of these fine people") helpers = true;
        if (kCredits[i].first && std::string(kCredits[i].first) == "with thanks to") thanks = true;
    }
    for (int k = 0; k < 4; ++k) EXPECT_GT(kinds[k], 0) << "kind " << k;
    EXPECT_TRUE(helpers);
    EXPECT_TRUE(thanks);
}

TEST(IntroPictures, SecondPictureFollowsTheGender) {
    EXPECT_STREQ(IntroPicture(0, 0), "ui/zarnoch_intro1.png");
    EXPECT_STREQ(IntroPicture(0, 1), "ui/zarnoch_intro1.png");
    EXPECT_STREQ(IntroPicture(1, 0), "ui/zarnoch_intro2.png");
    EXPECT_STREQ(IntroPicture(1, 1), "ui/zarnoch_intro2_fem.png");
    EXPECT_STREQ(IntroPicture(1, 7), "ui/zarnoch_intro2_fem.png");
}

using MenuScreensTest = MenuScreenTest;

TEST_F(MenuScreensTest, CreditPicturesAreInTheData) {
    for (int32_t i = 0; i < kCreditCount; ++i) {
        if (kCredits[i].picture == nullptr) continue;
        SDL_Surface* picture = LoadImage(kCredits[i].picture);
        EXPECT_NE(picture, nullptr) << kCredits[i].picture;
        if (picture) SDL_FreeSurface(picture);
    }
}

TEST_F(MenuScreensTest, CreditsTurnThreePagesOnEscapeReleasesAndClicks) {
    struct Case {
        std::string script;
        Uint32 atLeast;
    };
    const Case cases[] = {
        // Three turns end the credits: two Escape releases and a click.
        {"wait 40\nkey escape\nwait 40\nkey escape\nwait 40\nclick 1 10 10\n", 0},
        // An Escape press alone turns nothing: the three turns come after it.
        {"wait 40\nkeydown escape\nwait 600\nkeyup escape\nwait 40\nclick 3 10 10\nwait 40\nclick 1 5 5\n", 600},
        // Other keys turn nothing.
        {"wait 40\nkey a\nkey return\nwait 500\nclick 1 1 1\nclick 1 1 1\nclick 1 1 1\n", 500},
    };
    for (const Case& c : cases) {
        Script(c.script);
        ShowCredits();
        EXPECT_GE(LoggedGetTicks(), c.atLeast) << c.script;
        EXPECT_EQ(MenuBackground, nullptr);
    }
}

TEST_F(MenuScreensTest, IntroAdvancesOnReturnPressOrButtonRelease) {
    struct Case {
        std::string script;
        Uint32 atLeast;
    };
    const Case cases[] = {
        {"wait 40\nkeydown return\nwait 40\nclick 1 10 10\n", 0},
        // A Return release and other keys do nothing; the second picture waits too.
        {"wait 40\nkeyup return\nkey a\nkey escape\nwait 500\nclick 1 10 10\nwait 300\nkeydown return\n", 800},
    };
    for (const Case& c : cases) {
        Script(c.script);
        ShowIntro(1);
        EXPECT_GE(LoggedGetTicks(), c.atLeast) << c.script;
        EXPECT_EQ(MenuBackground, nullptr);
    }
}

int PleaCount = 0;
void CountPlea(const char* name) {
    if (std::string(name) == "pleasedontgo") ++PleaCount;
}

TEST_F(MenuScreensTest, QuitScreenPleadsAboutOneVisitInFive) {
    SetSFXRequestObserver(CountPlea);
    PleaCount = 0;
    MTSeed(2026);
    constexpr int kVisits = 200;
    for (int i = 0; i < kVisits; ++i) {
        Script("click 1 10 10\n");
        ASSERT_EQ(ShowQuitScreen(), 0);
    }
    SetSFXRequestObserver(nullptr);
    EXPECT_GT(PleaCount, 25);
    EXPECT_LT(PleaCount, 55);
}

}  // namespace

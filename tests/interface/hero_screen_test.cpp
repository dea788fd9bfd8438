// The hero screen driven by input scripts (typing, Backspace, the name's length limit, Return,
// the portraits and their shade), and which portrait file goes into which slot.
#include <gtest/gtest.h>
#include <physfs.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "interface/choose_hero.h"
#include "interface/portrait.h"
#include "interface/screens.h"
#include "media/image.h"
#include "menu_test_fixture.h"
#include "tools/art_writer.h"

namespace {

// On 1280 x 720 the male portrait covers (527..623, 471..567), the female one (675..771,
// 471..567); Back is at (0, 0), 128 x 64.
const char* const kClickMale = "wait 40\nclick 1 575 520\n";
const char* const kClickFemale = "wait 40\nclick 1 720 520\n";
const char* const kClickBack = "wait 40\nclick 1 60 30\n";

class HeroScreenTest : public MenuScreenTest {
protected:
    // Runs the screen on the script from the name given; the screen's answer.
    int32_t Run(const std::string& script, std::string& name, int32_t& female) {
        Script(script);
        char buffer[1024] = {};
        std::strncpy(buffer, name.c_str(), sizeof buffer - 1);
        testing::internal::CaptureStdout();
        const int32_t result = ShowChooseHeroScreen(buffer, sizeof buffer, &female);
        testing::internal::GetCapturedStdout();
        name = buffer;
        return result;
    }
};

TEST_F(HeroScreenTest, KeysTypeEraseAndFinishTheName) {
    struct Case {
        const char* what;
        const char* start;
        std::string keys;
        int32_t result;
        const char* name;
    };
    const Case cases[] = {
        {"typed, then Return", "", "key a\nkey d\nkey a\nkey return\n", 1, "ada"},
        {"shift gives capitals", "", "key b shift\nkey o\nkey return\n", 1, "Bo"},
        {"Backspace takes the last letter", "", "key a\nkey b\nkey backspace\nkey c\nkey return\n", 1, "ac"},
        {"Backspace on an empty name does nothing", "", "key backspace\nkey backspace\nkey x\nkey return\n", 1, "x"},
        {"a kept name is edited", "Ada", "key backspace\nkey m\nkey return\n", 1, "Adm"},
        {"Return on an empty name stays", "", std::string("key return\n") + kClickBack, 0, ""},
        {"Return after erasing everything stays", "Al", std::string("key backspace\nkey backspace\nkey return\n") + kClickBack, 0, ""},
        {"fourteen letters at most", "",
         "key q\nkey w\nkey e\nkey r\nkey t\nkey y\nkey u\nkey i\nkey o\nkey p\nkey a\nkey s\nkey d\nkey f\n"
         "key g\nkey h\nkey return\n",
         1, "qwertyuiopasdf"},
        {"room again after a Backspace at fourteen", "qwertyuiopasdf", "key z\nkey backspace\nkey z\nkey return\n", 1,
         "qwertyuiopasdz"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string name = c.start;
        int32_t female = 0;
        EXPECT_EQ(Run("wait 40\n" + c.keys, name, female), c.result);
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(female, 0);
    }
}

TEST_F(HeroScreenTest, ChoosingAPortraitShadesTheOtherOnlyOnce) {
    // At rest (male chosen) the female portrait is shaded once and the male one clear.
    std::string name = "Ada";
    int32_t female = 0;
    ASSERT_EQ(Run("wait 40\nkey return\n", name, female), 1);
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> rest(NewScreenSized(1280, 720), SDL_FreeSurface);
    SDL_BlitSurface(ScreenSurface, nullptr, rest.get(), nullptr);
    struct Case {
        const char* what;
        std::string clicks;
        int32_t female;
    };
    const Case cases[] = {
        {"female, then male again", std::string(kClickFemale) + kClickMale, 0},
        {"back and forth twice", std::string(kClickFemale) + kClickMale + kClickFemale + kClickMale, 0},
        {"male clicked while chosen", std::string(kClickMale) + kClickMale, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        female = 0;
        ASSERT_EQ(Run(c.clicks + "wait 40\nkey return\n", name, female), 1);
        EXPECT_EQ(female, c.female);
        EXPECT_EQ(CountDifferentPixels(ScreenSurface, 527, 471, rest.get(), 527, 471, 96, 96), 0) << "male portrait";
        EXPECT_EQ(CountDifferentPixels(ScreenSurface, 675, 471, rest.get(), 675, 471, 96, 96), 0) << "female portrait";
    }
    // The female chosen: the same two pictures, the shade on the other side.
    female = 0;
    ASSERT_EQ(Run(std::string(kClickFemale) + "wait 40\nkey return\n", name, female), 1);
    EXPECT_EQ(female, 1);
    EXPECT_GT(CountDifferentPixels(ScreenSurface, 527, 471, rest.get(), 527, 471, 96, 96), 100);
}

// Every portrait file as a 4 x 4 picture of its own colour in a folder searched first.
class PortraitFilesTest : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        const char* const tiers[] = {"100", "50", "25"};
        const char* const faces[] = {"stare", "lookleft", "lookright", "blink", "grin", "ooo", "ow", "sad"};
        int n = 0;
        for (const char* gender : {"portrait_", "portraitf_"}) {
            for (const char* tier : tiers) {
                for (const char* face : faces) {
                    const std::string file = std::string("ui/portrait/") + gender + tier + "_" + face + ".png";
                    artw::Canvas canvas(4, 4);
                    const artw::Rgba colour{static_cast<uint8_t>(10 + 5 * n), static_cast<uint8_t>(250 - 5 * n), 77, 255};
                    for (int y = 0; y < 4; ++y)
                        for (int x = 0; x < 4; ++x) canvas.Set(x, y, colour);
                    const artw::Bytes png = artw::EncodeRgbaPng(canvas);
                    ASSERT_TRUE(MakeFileWithParents(dir_.file(file), std::string(png.begin(), png.end())));
                    colours_[file] = (uint32_t(colour.r) << 16) | (uint32_t(colour.g) << 8) | colour.b;
                    ++n;
                }
            }
        }
        ASSERT_NE(PHYSFS_mount(dir_.path().c_str(), nullptr, 0), 0);
    }
    void TearDown() override {
        if (!IsSkipped()) {
            FreePortraits();
            PHYSFS_unmount(dir_.path().c_str());
        }
        MenuScreenTest::TearDown();
    }
    TempDir dir_;
    std::map<std::string, uint32_t> colours_;
};

TEST_F(PortraitFilesTest, EachSlotHoldsItsOwnFile) {
    struct Case {
        int32_t female, expression, tier;
        const char* file;
    };
    const Case cases[] = {
        {0, kPortraitStare, 0, "ui/portrait/portrait_100_stare.png"},
        {0, kPortraitStare, 1, "ui/portrait/portrait_100_stare.png"},
        {0, kPortraitStare, 2, "ui/portrait/portrait_50_stare.png"},
        {0, kPortraitStare, 3, "ui/portrait/portrait_25_stare.png"},
        {0, kPortraitLookLeft, 0, "ui/portrait/portrait_100_lookleft.png"},
        {0, kPortraitLookRight, 2, "ui/portrait/portrait_50_lookright.png"},
        {0, kPortraitBlink, 3, "ui/portrait/portrait_25_blink.png"},
        {0, kPortraitGrin, 1, "ui/portrait/portrait_100_grin.png"},
        {0, kPortraitSad, 3, "ui/portrait/portrait_25_sad.png"},
        {1, kPortraitStare, 0, "ui/portrait/portraitf_100_stare.png"},
        {1, kPortraitOoo, 2, "ui/portrait/portraitf_50_ooo.png"},
        {1, kPortraitOw, 3, "ui/portrait/portraitf_25_ow.png"},
        {1, kPortraitOw, 1, "ui/portrait/portraitf_100_ow.png"},
        {1, kPortraitSad, 2, "ui/portrait/portraitf_50_sad.png"},
    };
    testing::internal::CaptureStdout();
    LoadPortraits();
    PortraitPicture(0, kPortraitStare, 0);  // waits for the pictures
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        SDL_Surface* picture = PortraitPicture(c.female, c.expression, c.tier);
        ASSERT_NE(picture, nullptr);
        ASSERT_EQ(picture->w, 4);
        EXPECT_EQ(MenuPixelRgb(picture, 1, 1), colours_.at(c.file));
    }
}

}  // namespace

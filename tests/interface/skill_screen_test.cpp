// The skill selection screen driven by input scripts: the "Random Skills" and "Last Choice"
// shortcuts and when Done lets the player go on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/random.h"
#include "creatures/skill_db.h"
#include "interface/choose_skills.h"
#include "interface/menu_frame.h"
#include "interface/screens.h"
#include "media/text.h"
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

// The number of the picture's opaque pixels that the screen does not show at (x, y) (each
// channel within 2); -1 when
// the picture has no opaque pixel at all.
int OpaquePixelsNotShown(SDL_Surface* picture, SDL_Surface* screen, int x, int y) {
    int opaque = 0;
    int missing = 0;
    for (int py = 0; py < picture->h; ++py) {
        for (int px = 0; px < picture->w; ++px) {
            Uint32 pixel = 0;
            const Uint8* p = static_cast<const Uint8*>(picture->pixels) + py * picture->pitch + px * picture->format->BytesPerPixel;
            std::memcpy(&pixel, p, picture->format->BytesPerPixel);
            Uint8 r, g, b, a;
            SDL_GetRGBA(pixel, picture->format, &r, &g, &b, &a);
            if (a != 255) continue;
            ++opaque;
            // Blending an opaque pixel may leave it one step off its colour.
            const uint32_t shown = MenuPixelRgb(screen, x + px, y + py);
            const int dr = std::abs(int((shown >> 16) & 0xFF) - r);
            const int dg = std::abs(int((shown >> 8) & 0xFF) - g);
            const int db = std::abs(int(shown & 0xFF) - b);
            missing += dr > 2 || dg > 2 || db > 2 ? 1 : 0;
        }
    }
    return opaque == 0 ? -1 : missing;
}

TEST_F(SkillScreen, EachShortcutShowsItsOwnIconAndNameAndDoesWhatItSays) {
    // On 1280 x 720 the "Last Choice" icon stands at (878, 465), "Random Skills" at (958, 465),
    // 72 x 72; a hovered shortcut's name is centred at (426, 580).
    struct Case {
        const char* name;
        int32_t id;
        int x;
        bool random;
    };
    const Case cases[] = {{"Last Choice", -1, 878, false}, {"Random Skills", -2, 958, true}};
    // The shortcuts at rest, with the info area empty.
    std::vector<int32_t> chosen;
    ASSERT_FALSE(Run(kEscape, chosen));
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> rest(NewScreenSized(1280, 720), SDL_FreeSurface);
    SDL_BlitSurface(ScreenSurface, nullptr, rest.get(), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto record = std::find_if(SkillDB.begin(), SkillDB.end(), [&](const SkillRecord& r) { return r.id == c.id; });
        ASSERT_NE(record, SkillDB.end());
        ASSERT_EQ(record->name, c.name);
        // The icon drawn is the record's own.
        SDL_Surface* icon = LoadMenuPicture(record->icon.c_str(), 72, 72);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(OpaquePixelsNotShown(icon, rest.get(), c.x, 465), 0);
        SDL_FreeSurface(icon);
        // Hovering it writes its name.
        const std::string at2 = std::to_string(c.x + 30) + " 495";
        chosen.clear();
        ASSERT_FALSE(Run("wait 50\nmove " + at2 + "\nwait 50\n" + kEscape, chosen));
        std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> named(NewScreenSized(1280, 720), SDL_FreeSurface);
        SDL_BlitSurface(rest.get(), nullptr, named.get(), nullptr);
        DrawLargeTextCentered(426, 580, c.name, named.get());
        EXPECT_EQ(CountDifferentPixels(ScreenSurface, 244, 540, named.get(), 244, 540, 350, 80), 0);
        // Moving off it leaves nothing of its 78 x 76 glow behind.
        ASSERT_FALSE(Run("wait 50\nmove " + at2 + "\nwait 50\nmove 640 700\nwait 50\n" + kEscape, chosen));
        EXPECT_EQ(CountDifferentPixels(ScreenSurface, c.x - 4, 461, rest.get(), c.x - 4, 461, 78, 76), 0);
        // Clicking it does what the name says.
        chosen = {8};
        Run("wait 50\nclick 1 " + at2 + "\n" + kEscape, chosen);
        EXPECT_EQ(lastUsedRandom_, c.random ? 1 : 0);
        EXPECT_EQ(lastUsedLast_, c.random ? 0 : 1);
        if (!c.random) {
            EXPECT_EQ(chosen, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6})) << "no last.txt: the first seven";
        }
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

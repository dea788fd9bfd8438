// The in-game settings window: slider arithmetic, the click boxes, and whole openings driven
// by input scripts (sliders, toggles, help texts and every way out).
#include "interface/settings_window.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <functional>
#include <string>
#include <vector>

#include "core/shell/config.h"
#include "core/shell/game_lifecycle.h"
#include "core/shell/play_loop.h"
#include "core/shell/saved_games.h"
#include "core/text_db.h"
#include "creatures/player.h"
#include "interface/hud_draw.h"
#include "interface/menu_test_fixture.h"
#include "interface/play_screen.h"
#include "interface/screens.h"
#include "levels/level.h"
#include "levels/tutorial.h"
#include "platform/platform.h"

namespace {

TEST(SettingsSliderTest, OffsetsAndVolumesConvertByTruncation) {
    const struct {
        int32_t offset;
        int32_t volume;
    } toVolume[] = {{0, 0}, {1, 0}, {3, 1}, {5, 1}, {145, 50}, {288, 99}, {289, 99}, {290, 100}};
    for (const auto& c : toVolume) EXPECT_EQ(SliderVolumeFromOffset(c.offset), c.volume) << c.offset;
    const struct {
        int32_t volume;
        int32_t offset;
    } toOffset[] = {{0, 0}, {1, 2}, {50, 145}, {99, 287}, {100, 290}};
    for (const auto& c : toOffset) EXPECT_EQ(SliderOffsetFromVolume(c.volume), c.offset) << c.volume;
}

TEST(SettingsTogglesTest, ClickBoxesAreStrictlyInside) {
    const struct {
        int32_t rx, ry, toggle;
    } cases[] = {
        {155, 24, 0}, {147, 16, 0}, {163, 32, 0}, {146, 24, -1}, {164, 24, -1}, {155, 15, -1},
        {155, 44, 1}, {155, 64, 2}, {155, 34, -1}, {383, 44, 3}, {383, 64, 4}, {383, 24, -1},
        {392, 64, -1}, {374, 64, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(SettingsToggleAt(c.rx, c.ry), c.toggle) << c.rx << "," << c.ry;
    const char* keys[] = {"AutoClick", "WASDActive", "AutoLoot", "use2XUI", "DisableClickToMove"};
    for (int32_t i = 0; i < kSettingsToggleCount; ++i) EXPECT_STREQ(GetSettingsToggles()[i].key, keys[i]);
}

// Loads the shipped text file's help entries (and clears them when it goes).
struct ShippedTextDB {
    ShippedTextDB() {
        std::ifstream in(std::string(VAULTMERE_SOURCE_DIR) + "/data/game/text.xml", std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        const std::string xml = ss.str();
        ClearTextDB();
        loaded = LoadTextDBFromBuffer(xml.data(), xml.size(), "text.xml");
    }
    ~ShippedTextDB() { ClearTextDB(); }
    bool loaded = false;
};

TEST(SettingsHelpTest, HelpAreasNameOnlyThisWindowsControlsAndStayClearOfClickBoxes) {
    ShippedTextDB db;
    ASSERT_TRUE(db.loaded);
    const std::vector<TextBlock>& blocks = GetQuestionBlocks("config");
    std::vector<std::string> names;
    for (const TextBlock& b : blocks) names.push_back(b.name);
    EXPECT_EQ(names, (std::vector<std::string>{"autoclick", "wasd", "autoloot", "largeui", "clicktomove", "music",
                                              "sound"}));
    // Every click box of the window outside a tutorial: x, y, right, bottom (relative).
    const SDL_Rect boxes[] = {
        {146, 15, 18, 18}, {146, 35, 18, 18}, {146, 55, 18, 18}, {374, 35, 18, 18}, {374, 55, 18, 18},
        {418, 18, 176, 24}, {418, 48, 176, 24}, {235, 84, 290, 18}, {235, 116, 290, 18},
        {38, 146, 140, 40}, {190, 146, 140, 40}, {374, 146, 140, 40}, {608, 0, 22, 22},
    };
    for (const TextBlock& b : blocks) {
        EXPECT_GT(b.w, 0) << b.name;
        EXPECT_GT(b.h, 0) << b.name;
        EXPECT_GE(b.x, 0) << b.name;
        EXPECT_LE(b.x + b.w, kSettingsPanelWidth) << b.name;
        for (const SDL_Rect& r : boxes) {
            const bool apart = b.x + b.w < r.x || r.x + r.w < b.x || b.y + b.h < r.y || r.y + r.h < b.y;
            EXPECT_TRUE(apart) << b.name << " overlaps the box at " << r.x << "," << r.y;
        }
    }
}

class SettingsWindowTest : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        text_.reset(new ShippedTextDB());
        level_ = new Level(0, 0);
        level_->SetSize(10, 10);
        GameLevels.push_back(level_);
        CurrentLevel = level_;
        hero_ = new Player();
        CurrentPlayer = hero_;
        hero_->PlaceOnLevel(4, 4, level_, 0);
        hero_->name = "Ada";
        hero_->saveName = "Ada.sav";
        hero_->permadeath = 0;
        TutorialFlag = false;
        SaveOnLeaveFlag = false;
        MenuBarHover = false;
        SetSFXRequestObserver(&CountSound);
        Sounds().clear();
        savedAutoLoot_ = AutoLoot;
        saved2x_ = use2XUI;
    }
    void TearDown() override {
        SetSFXRequestObserver(nullptr);
        AutoLoot = savedAutoLoot_;
        use2XUI = saved2x_;
        TutorialFlag = false;
        SaveOnLeaveFlag = false;
        if (CurrentPlayer != nullptr || !GameLevels.empty()) EndCurrentGame();
        CurrentLevel = nullptr;
        SaveSlots.clear();
        text_.reset();
        MenuScreenTest::TearDown();
    }
    static std::vector<std::string>& Sounds() {
        static std::vector<std::string> sounds;
        return sounds;
    }
    static void CountSound(const char* name) { Sounds().push_back(name); }
    static int Count(const char* name) {
        int n = 0;
        for (const std::string& s : Sounds()) n += s == name ? 1 : 0;
        return n;
    }
    int32_t Run(const std::string& script) {
        Script(script);
        return ShowSettingsScreen();
    }
    bool UserFileExists(const char* name) const { return FileExists(user_.file(name)); }

    // The 630 x 200 panel centred on 1280 x 720.
    static constexpr int kX = 325;
    static constexpr int kY = 260;
    // Slider tracks start at x 560; the music band is y 344..362, the sound band 376..394.
    static constexpr int kTrack = 560;
    std::unique_ptr<ShippedTextDB> text_;
    Level* level_ = nullptr;
    Player* hero_ = nullptr;
    int32_t savedAutoLoot_ = 0;
    int32_t saved2x_ = 0;
};

TEST_F(SettingsWindowTest, SliderPressesSetTheVolumes) {
    const struct {
        const char* name;
        int32_t offset;
        int32_t y;
        int32_t sound, music;
    } cases[] = {
        {"sound, 5 pixels in", 5, 385, 0, 100},
        {"sound, last pixel", 289, 385, 99, 100},
        {"sound, middle", 145, 385, 50, 100},
        {"music, 5 pixels in", 5, 353, 100, 0},
        {"music, last pixel", 289, 353, 100, 99},
        {"on the track's start: nothing", 0, 385, 100, 100},
        {"on the band's edge: nothing", 100, 376, 100, 100},
    };
    for (const auto& c : cases) {
        SetConfiguredSFXVolume(100);
        SetConfiguredMusicVolume(100);
        const std::string x = std::to_string(kTrack + c.offset);
        EXPECT_EQ(Run("wait 40\nclick 1 " + x + " " + std::to_string(c.y) + "\nwait 40\nkey escape"), 0) << c.name;
        EXPECT_EQ(ConfiguredSFXVolume(), c.sound) << c.name;
        EXPECT_EQ(ConfiguredMusicVolume(), c.music) << c.name;
    }
}

TEST_F(SettingsWindowTest, DraggingTheSoundSliderSpeaksAndTheMusicSliderIsSilent) {
    SetConfiguredSFXVolume(100);
    SetConfiguredMusicVolume(100);
    Run("wait 40\nbuttondown 1 660 385\nmove 700 385\nmove 740 385\nmove 740 300\nbuttonup 1 760 385\n"
        "wait 40\nkey escape");
    // Two moves inside the band and the release speak; the move out of the band does not.
    EXPECT_EQ(Count("tutorialrespond"), 3);
    EXPECT_EQ(ConfiguredSFXVolume(), SliderVolumeFromOffset(200));
    Sounds().clear();
    Run("wait 40\nbuttondown 1 660 353\nmove 700 353\nmove 740 353\nbuttonup 1 760 353\nwait 40\nkey escape");
    EXPECT_EQ(Count("tutorialrespond"), 0);
    EXPECT_EQ(ConfiguredMusicVolume(), SliderVolumeFromOffset(200));
}

TEST_F(SettingsWindowTest, TogglesFlipAndTheLargeInterfaceRelaysTheScreenAtOnce) {
    AutoLoot = 0;
    use2XUI = 0;
    UpdateScreenLayout();
    const int32_t smallX = Layout.interfaceX;
    EXPECT_EQ(Run("wait 40\nclick 1 480 324\nclick 1 708 304\nwait 40\nkey escape"), 0);
    EXPECT_EQ(AutoLoot, 1);
    EXPECT_EQ(use2XUI, 1);
    EXPECT_EQ(Layout.largeInterface, 1);
    EXPECT_NE(Layout.interfaceX, smallX);
    // Twice is off again.
    Run("wait 40\nclick 1 480 324\nclick 1 480 324\nwait 40\nkey escape");
    EXPECT_EQ(AutoLoot, 1);
}

TEST_F(SettingsWindowTest, AnOpenHelpTextSwallowsPressesAndOnlyTheNextReleaseClosesIt) {
    SetConfiguredSFXVolume(100);
    AutoLoot = 0;
    // A release on the AutoLoot label opens its help; the press on the slider and the release
    // on the check box are swallowed (the release only closes the text).
    Run("wait 40\nclick 1 360 323\nwait 40\nbuttondown 1 600 385\nbuttonup 1 480 324\nwait 40\nkey escape");
    EXPECT_EQ(ConfiguredSFXVolume(), 100);
    EXPECT_EQ(AutoLoot, 0);
    // With the help closed the same click flips it.
    Run("wait 40\nclick 1 360 323\nwait 40\nclick 1 480 324\nclick 1 480 324\nwait 40\nkey escape");
    EXPECT_EQ(AutoLoot, 1);
}

TEST_F(SettingsWindowTest, ExitButtonsInEachKindOfGame) {
    const struct {
        const char* name;
        int32_t permadeath;
        bool tutorial;
        const char* input;
        int32_t result;
        bool saveOnLeave;
    } cases[] = {
        {"save and quit", 0, false, "wait 40\nclick 1 433 426", 1, true},
        {"save and continue", 0, false, "wait 40\nclick 1 585 426", 0, false},
        {"return", 0, false, "wait 40\nclick 1 769 426", 0, false},
        {"close cross", 0, false, "wait 40\nclick 1 945 270", 0, false},
        {"permadeath: save and quit", 1, false, "wait 40\nclick 1 585 426", 1, true},
        {"permadeath: return", 1, false, "wait 40\nclick 1 769 426", 0, false},
        {"tutorial: leave", 0, true, "wait 40\nclick 1 498 426", 1, false},
        {"tutorial: the first button is not there", 0, true, "wait 40\nclick 1 400 426\nwait 40\nclick 1 702 426", 0,
         false},
        {"escape", 0, false, "wait 40\nkey escape", 0, false},
    };
    for (const auto& c : cases) {
        hero_->permadeath = c.permadeath;
        TutorialFlag = c.tutorial;
        TutorialContinueFlag = 1;
        SaveOnLeaveFlag = false;
        EXPECT_EQ(Run(c.input), c.result) << c.name;
        EXPECT_EQ(SaveOnLeaveFlag, c.saveOnLeave) << c.name;
        EXPECT_EQ(TutorialContinueFlag, c.tutorial && c.result == 1 ? 0 : 1) << c.name;
    }
}

TEST_F(SettingsWindowTest, SaveAndContinueWritesTheSaveAndAWholeThumbnail) {
    EXPECT_EQ(Run("wait 40\nclick 1 585 426"), 0);
    EXPECT_TRUE(UserFileExists("Ada.sav"));
    ASSERT_TRUE(UserFileExists("bitmap_Ada.sav"));
    ASSERT_NE(SaveThumbnailSurface, nullptr);
    EXPECT_EQ(SaveThumbnailSurface->w, 360);
    EXPECT_EQ(SaveThumbnailSurface->h, 240);
    // A dead hero cannot save: the click does nothing and the window stays.
    RemoveFile(user_.file("Ada.sav").c_str());
    hero_->dead = 1;
    EXPECT_EQ(Run("wait 40\nclick 1 585 426\nwait 40\nkey escape"), 0);
    EXPECT_FALSE(UserFileExists("Ada.sav"));
}

TEST_F(SettingsWindowTest, JustQuitDeletesOnlyAfterTwoYeasAndOnlyThisHerosAutosave) {
    // The question boxes' yea lies at (540, 458), nay at (740, 458); the notice's OK at (640, 458).
    const struct {
        const char* name;
        const char* answers;
        bool autosaveIsOurs;
        int32_t result;
        bool saveGone, autosaveGone;
    } cases[] = {
        {"yea, yea", "click 1 540 458\nwait 40\nclick 1 540 458\nwait 40\nclick 1 640 458", true, 1, true, true},
        {"yea, yea, another hero's autosave", "click 1 540 458\nwait 40\nclick 1 540 458\nwait 40\nclick 1 640 458",
         false, 1, true, false},
        {"nay", "click 1 740 458", true, 0, false, false},
        {"yea, nay", "click 1 540 458\nwait 40\nclick 1 740 458", true, 0, false, false},
    };
    for (const auto& c : cases) {
        hero_->permadeath = 1;
        hero_->name = "Ada";
        ASSERT_TRUE(SaveGame("Ada.sav"));
        if (!c.autosaveIsOurs) hero_->name = "Bea";
        ASSERT_TRUE(SaveGame("autosave.sav"));
        hero_->name = "Ada";
        SaveOnLeaveFlag = true;
        EXPECT_EQ(Run(std::string("wait 40\nclick 1 433 426\nwait 40\n") + c.answers), c.result) << c.name;
        EXPECT_EQ(!UserFileExists("Ada.sav"), c.saveGone) << c.name;
        EXPECT_EQ(!UserFileExists("bitmap_Ada.sav"), c.saveGone) << c.name;
        EXPECT_EQ(!UserFileExists("autosave.sav"), c.autosaveGone) << c.name;
        EXPECT_EQ(SaveOnLeaveFlag, !c.saveGone) << c.name;
    }
}

}  // namespace

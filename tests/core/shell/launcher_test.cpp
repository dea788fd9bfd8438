// The launcher's click handling: check boxes, sliders, the resolution picker, the buttons and
// the mod screen.
#include "core/shell/launcher.h"

#include "core/shell/config.h"
#include "media/display_settings.h"
#include "tests/core/user_config_fixture.h"

namespace {

void SetModes(const std::vector<std::pair<int, int>>& sizes) {
    static SDL_Rect rects[16];
    static SDL_Rect* list[17];
    size_t i = 0;
    for (; i < sizes.size() && i < 16; ++i) {
        rects[i].x = 0;
        rects[i].y = 0;
        rects[i].w = static_cast<Uint16>(sizes[i].first);
        rects[i].h = static_cast<Uint16>(sizes[i].second);
        list[i] = &rects[i];
    }
    list[i] = nullptr;
    BuildVideoModeListFrom(list);
}

class LauncherTest : public UserConfigTest {};

}  // namespace

TEST_F(LauncherTest, CheckBoxesAndButtonsAnswerOnTheirAreas) {
    struct Case {
        int x, y;
        int32_t* setting;
        LauncherAction action;
    } cases[] = {
        {205, 316, &useFullscreen, LauncherAction::None},  {195, 306, &useFullscreen, LauncherAction::None},
        {215, 326 - 1, &useFullscreen, LauncherAction::None}, {205, 336, &smoothScaling, LauncherAction::None},
        {205, 356, &enableColourBlind, LauncherAction::None}, {553, 384, &enableMusic, LauncherAction::None},
        {553, 406, &enableSound, LauncherAction::None},       {400, 440, nullptr, LauncherAction::Start},
        {596, 460, nullptr, LauncherAction::Start},           {300, 444, nullptr, LauncherAction::Mods},
        {100, 444, nullptr, LauncherAction::Quit},            {20, 20, nullptr, LauncherAction::None},
        {216, 316, nullptr, LauncherAction::None},
    };
    for (const Case& c : cases) {
        LauncherState state;
        int32_t* watched[] = {&useFullscreen, &smoothScaling, &enableColourBlind, &enableMusic, &enableSound};
        int32_t before[5];
        for (int i = 0; i < 5; ++i) before[i] = *watched[i];
        EXPECT_EQ(LauncherRelease(state, c.x, c.y), c.action) << c.x << "," << c.y;
        for (int i = 0; i < 5; ++i) {
            const bool flipped = *watched[i] != before[i];
            EXPECT_EQ(flipped, watched[i] == c.setting) << c.x << "," << c.y << " setting " << i;
            EXPECT_TRUE(*watched[i] == 0 || *watched[i] == 1);
        }
    }
}

TEST_F(LauncherTest, SlidersSetTheVolumesWhileDragged) {
    LauncherState state;
    LauncherPress(state, kSliderLeft + kSliderLength / 2, 384, false);
    EXPECT_EQ(ConfiguredMusicVolume(), 50);
    LauncherPress(state, kSliderLeft - 40, 300, true);  // dragged out to the left
    EXPECT_EQ(ConfiguredMusicVolume(), 0);
    LauncherPress(state, kSliderLeft + kSliderLength + 40, 300, true);
    EXPECT_EQ(ConfiguredMusicVolume(), 100);
    EXPECT_EQ(LauncherRelease(state, 20, 20), LauncherAction::None);
    LauncherPress(state, kSliderLeft + kSliderLength / 4, 406, false);
    EXPECT_EQ(ConfiguredSFXVolume(), 25);
    EXPECT_EQ(ConfiguredMusicVolume(), 100);
    LauncherRelease(state, 20, 20);
    LauncherPress(state, 300, 300, true);  // not dragging: nothing moves
    EXPECT_EQ(ConfiguredSFXVolume(), 25);
}

TEST_F(LauncherTest, ThePickerScrollsAndPicksAndStaysShutWithoutModes) {
    LauncherState state;
    SetModes({});
    currentResolution = 0;
    LauncherRelease(state, 480, 336);
    EXPECT_FALSE(state.pickerOpen) << "no list to open";

    SetModes({{1600, 900}, {1280, 720}, {1024, 600}});
    ASSERT_EQ(VideoModeCount, 3);
    LauncherRelease(state, 480, 336);
    ASSERT_TRUE(state.pickerOpen);
    LauncherRelease(state, 560, 415);  // down: all three already shown
    EXPECT_EQ(state.pickerTop, 0);
    LauncherRelease(state, 480, 348 + 18 * 2 + 5);
    EXPECT_EQ(currentResolution, 2);
    EXPECT_FALSE(state.pickerOpen);
    LauncherRelease(state, 480, 336);
    LauncherRelease(state, 480, 348 + 18 * 3 + 5);  // the fourth row shows no mode: closes
    EXPECT_FALSE(state.pickerOpen);
    EXPECT_EQ(currentResolution, 2);

    SetModes({{1920, 1080}, {1856, 1080}, {1600, 900}, {1280, 720}, {1152, 648}, {1024, 600}});
    currentResolution = 0;
    LauncherRelease(state, 480, 336);
    ASSERT_TRUE(state.pickerOpen);
    const int expectedTops[] = {1, 2, 2};
    for (int top : expectedTops) {
        LauncherRelease(state, 560, 415);
        EXPECT_EQ(state.pickerTop, top);
    }
    LauncherRelease(state, 560, 355);
    EXPECT_EQ(state.pickerTop, 1);
    LauncherRelease(state, 480, 348 + 5);
    EXPECT_EQ(currentResolution, 1);
    LauncherRelease(state, 480, 336);
    LauncherRelease(state, 100, 100);  // outside: closes, nothing else
    EXPECT_FALSE(state.pickerOpen);
    EXPECT_EQ(useFullscreen, 0);
}

TEST_F(LauncherTest, ModScreenRowsArrowsAndButtons) {
    for (int i = 0; i < 8; ++i) {
        ModRecord m;
        m.name = "Mod " + std::to_string(i);
        m.workshopId = i == 1 ? 900001 : 0;
        ModList.push_back(m);
    }
    int32_t scroll = 0;
    EXPECT_EQ(ModScreenRelease(scroll, kModRowLeft + 10, kModRowTop + 64 * 1 + 10), kModScreenStay);
    EXPECT_EQ(ModList[1].enabled, 1);
    EXPECT_EQ(ModScreenRelease(scroll, 770, 330), kModScreenStay);
    EXPECT_EQ(scroll, 1);
    EXPECT_EQ(ModScreenRelease(scroll, 770, 330), kModScreenStay);
    EXPECT_EQ(scroll, 2);
    EXPECT_EQ(ModScreenRelease(scroll, 770, 330), kModScreenStay);
    EXPECT_EQ(scroll, 2) << "the last mod is shown";
    EXPECT_EQ(ModScreenRelease(scroll, kModRowLeft + 10, kModRowTop + 64 * 5 + 10), kModScreenStay);
    EXPECT_EQ(ModList[7].enabled, 1);
    EXPECT_EQ(ModScreenRelease(scroll, 770, 270), kModScreenStay);
    EXPECT_EQ(scroll, 1);
    ModList.resize(2);
    scroll = 0;
    EXPECT_EQ(ModScreenRelease(scroll, kModRowLeft + 10, kModRowTop + 64 * 4 + 10), kModScreenStay);
    EXPECT_EQ(ModList[0].enabled, 0);
    EXPECT_EQ(ModList[1].enabled, 1);
    EXPECT_EQ(ModScreenRelease(scroll, 600, 560), 1);
    EXPECT_EQ(ModScreenRelease(scroll, 400, 560), 0);
    EXPECT_EQ(ModScreenRelease(scroll, 100, 560), -1);
}

TEST(ModScreenClickTest, AnyButtonReleaseClicksButTheWheelAndPressesDoNot) {
    struct Case {
        Uint8 type;
        Uint8 button;
        bool click;
    };
    const Case cases[] = {
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, true},       {SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, true},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, true},      {SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELUP, false},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_WHEELDOWN, false}, {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, false},
        {SDL_KEYUP, 0, false},
    };
    for (const Case& c : cases) {
        SDL_Event event{};
        event.type = c.type;
        if (c.type == SDL_KEYUP) {
            event.key.type = c.type;
        } else {
            event.button.type = c.type;
            event.button.button = c.button;
        }
        EXPECT_EQ(IsModScreenClick(event), c.click) << int(c.type) << " " << int(c.button);
    }
}

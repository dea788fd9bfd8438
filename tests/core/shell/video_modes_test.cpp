// The video-mode list and the window the game opens with.
#include "core/command_state.h"
#include "tests/core/user_config_fixture.h"

namespace {

struct ModeListFixture {
    std::vector<SDL_Rect> rects;
    std::vector<SDL_Rect*> list;
    explicit ModeListFixture(std::initializer_list<std::pair<int, int>> sizes) {
        for (const auto& s : sizes) {
            SDL_Rect r{};
            r.w = static_cast<Uint16>(s.first);
            r.h = static_cast<Uint16>(s.second);
            rects.push_back(r);
        }
        for (SDL_Rect& r : rects) list.push_back(&r);
        list.push_back(nullptr);
    }
    SDL_Rect** modes() { return list.data(); }
};

using VideoModeTest = UserConfigTest;

}  // namespace

TEST_F(VideoModeTest, OnlyModesOfAtLeast1024By600AreListedInOrder) {
    ModeListFixture platform({{1920, 1080}, {1024, 576}, {800, 600}, {1280, 720}, {1023, 768},
                              {1024, 600}});
    BuildVideoModeListFrom(platform.modes());
    ASSERT_EQ(VideoModeCount, 3);
    ASSERT_EQ(VideoModes.size(), 3u);
    EXPECT_EQ(VideoModes[0].width, 1920);
    EXPECT_EQ(VideoModes[1].width, 1280);
    EXPECT_EQ(VideoModes[1].height, 720);
    EXPECT_EQ(VideoModes[2].width, 1024);
    EXPECT_EQ(VideoModes[2].height, 600);

    // No modes, or "any mode": the list is empty (and a second build does not append).
    BuildVideoModeListFrom(reinterpret_cast<SDL_Rect**>(-1));
    EXPECT_EQ(VideoModeCount, 0);
    BuildVideoModeListFrom(nullptr);
    EXPECT_TRUE(VideoModes.empty());
    ModeListFixture small({{800, 600}});
    BuildVideoModeListFrom(small.modes());
    EXPECT_EQ(VideoModeCount, 0);
}

TEST_F(VideoModeTest, BuildingWithoutOrUnderTheDummyDriverIsSafe) {
    BuildVideoModeList();  // video not initialised in this process
    EXPECT_EQ(VideoModeCount, static_cast<int32_t>(VideoModes.size()));
    ScopedEnv driver("SDL_VIDEODRIVER", "dummy");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    BuildVideoModeList();
    EXPECT_EQ(VideoModeCount, static_cast<int32_t>(VideoModes.size()));
    for (const VideoMode& m : VideoModes) {
        EXPECT_GE(m.width, 1024);
        EXPECT_GE(m.height, 600);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST_F(VideoModeTest, ResolutionIndexOutsideTheListBecomesZero) {
    struct Case {
        int modes;
        int32_t index;
        int32_t expected;
    } cases[] = {{3, 0, 0},  {3, 2, 2},  {3, 3, 0},         {3, -1, 0},
                 {0, 0, 0},  {0, 1, 0},  {1, INT32_MAX, 0}, {1, INT32_MIN, 0}};
    for (const Case& c : cases) {
        SetModeList(c.modes);
        currentResolution = c.index;
        ValidateResolutionIndex();
        EXPECT_EQ(currentResolution, c.expected) << c.modes << " modes, index " << c.index;
    }
}

TEST_F(VideoModeTest, StartupWindowNeverIndexesAnEmptyList) {
    struct Case {
        int modes;
        int32_t index;
        bool res1024;
        bool windowForced;
        int32_t fullscreenSetting;
        bool modeChosen;
        int32_t width, height;
        bool fullScreen;
    } cases[] = {
        {0, 0, false, false, 0, true, 1280, 720, false},   // empty list: keep 1280x720
        {0, 5, false, false, 1, true, 1280, 720, true},    // index past an empty list
        {2, 1, false, false, 0, true, 1856, 1080, false},  // the chosen mode
        {2, 1, false, false, 0, false, 1280, 720, false},  // launcher skipped
        {2, 7, false, false, 0, true, 1280, 720, false},   // index past the list
        {2, 0, true, false, 0, true, 1024, 768, false},    // -res-1024 wins
        {0, 0, true, false, 0, false, 1024, 768, false},
        {2, 0, false, true, 1, true, 1920, 1080, false},   // -w forces a window
        {2, 0, false, false, 1, true, 1920, 1080, true},
    };
    for (const Case& c : cases) {
        ResetRunState();
        SetModeList(c.modes);
        currentResolution = c.index;
        CmdLine.res1024 = c.res1024;
        if (c.res1024) {
            CmdLine.screenWidth = 1024;
            CmdLine.screenHeight = 768;
        }
        CmdLine.windowForced = c.windowForced;
        useFullscreen = c.fullscreenSetting;
        const ScreenSettings s = GetStartupScreenSettings(c.modeChosen);
        EXPECT_EQ(s.width, c.width) << c.modes << "/" << c.index;
        EXPECT_EQ(s.height, c.height) << c.modes << "/" << c.index;
        EXPECT_EQ(s.fullScreen, c.fullScreen) << c.modes << "/" << c.index;
        ApplyStartupScreenSettings(c.modeChosen);
        EXPECT_EQ(CmdLine.screenWidth, c.width);
        EXPECT_EQ(CmdLine.screenHeight, c.height);
        EXPECT_EQ(CmdLine.fullScreen, c.fullScreen);
        EXPECT_EQ(useFullscreen, c.fullscreenSetting);  // the setting itself is untouched
    }
}

// The input script's "screenshot" command: taken by whichever loop polls when the replay
// reaches it, here a notice's.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/input_log.h"
#include "core/input_script.h"
#include "interface/menu_test_fixture.h"
#include "interface/notices.h"
#include "interface/ui_services.h"
#include "interface/screenshot.h"
#include "media/image.h"

namespace {

int Shots = 0;
std::string ShotPath;
void TakeShot() {
    ++Shots;
    ShotPath = SaveScreenshot();
}

class ScriptScreenshotTest : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        Shots = 0;
        ShotPath.clear();
        SetScriptScreenshotTaker(TakeShot);
    }
    void TearDown() override {
        SetScriptScreenshotTaker(nullptr);
        FreeNoticePictures();
        MenuScreenTest::TearDown();
    }
};

TEST_F(ScriptScreenshotTest, ANoticeIsPhotographedWhileItIsOpen) {
    Script("wait 40\nscreenshot\nwait 40\nkey return\nscreenshot");
    ShowStealDialog(nullptr);
    EXPECT_EQ(Shots, 1) << "the second comes only when something polls again";
    ASSERT_EQ(ShotPath, user_.path() + "/bitmap_0.bmp");
    SDL_Surface* shot = SDL_LoadBMP(ShotPath.c_str());
    ASSERT_NE(shot, nullptr);
    SDL_Surface* steal = LoadImage("ui/gameplay/dialog_steal.png");
    ASSERT_NE(steal, nullptr);
    const int x = 640 - steal->w / 2;
    const int y = 360 - steal->h / 2;
    SDL_Surface* ref = NewScreenSized(1280, 720);
    SDL_FillRect(ref, nullptr, SDL_MapRGB(ref->format, 0, 0, 0));
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(steal, nullptr, ref, &at);
    EXPECT_EQ(CountDifferentPixels(shot, x + 100, y + 20, ref, x + 100, y + 20, steal->w - 200, steal->h - 40), 0);
    EXPECT_EQ(CountDifferentPixels(shot, 1000, 20, ref, 1000, 20, 200, 100), 0) << "the black play screen beside it";
    SDL_Event event;
    while (LoggedPollEvent(&event)) {
    }
    EXPECT_EQ(Shots, 2);
    for (SDL_Surface* s : {shot, steal, ref}) SDL_FreeSurface(s);
}

TEST_F(ScriptScreenshotTest, WithoutATakerTheCommandIsSkipped) {
    SetScriptScreenshotTaker(nullptr);
    testing::internal::CaptureStdout();
    Script("screenshot\nkey a");
    SDL_Event event;
    ASSERT_TRUE(LoggedPollEvent(&event));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(event.type, SDL_KEYDOWN);
    EXPECT_NE(printed.find("screenshot skipped"), std::string::npos) << printed;
}

TEST(ScriptScreenshotCommand, IsReadAsItsOwnCommand) {
    std::istringstream good("screenshot\nscreenshot   # with a comment\n");
    ParsedScript parsed;
    ASSERT_TRUE(ParseInputScript(good, "good", parsed));
    ASSERT_EQ(parsed.commands.size(), 2u);
    EXPECT_EQ(parsed.commands[0].kind, ScriptCommand::Screenshot);
    std::istringstream bad("screenshot now\n");
    ParsedScript rejected;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(ParseInputScript(bad, "bad", rejected));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("line 1"), std::string::npos);
}

}  // namespace

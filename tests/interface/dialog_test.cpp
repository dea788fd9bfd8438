// The message box: which input closes it with which answer and sound, and what it draws.
#include "media/screen.h"
#include "interface/dialogs.h"

#include <gtest/gtest.h>

#include <string>

#include "creatures/player.h"
#include "interface/menu_test_fixture.h"
#include "media/audio_device.h"
#include "media/image.h"

namespace {

// At 1280 x 720 with the 420 x 260 box and 32-pixel-high buttons the click row lies strictly
// between y = 442 and y = 474 (b = 360 + 130 - 32 = 458).
constexpr const char* kNoSound = "(nothing yet)";

class DialogTest : public MenuScreenTest {
protected:
    // Runs the dialog on a script; the answer, with the last sound requested.
    int32_t Run(const std::string& input, const char* first, const char* second, std::string* sound) {
        PlaySFX(kNoSound);  // an unknown name: plays nothing, but marks "no sound since"
        Script(input);
        const int32_t answer = ShowDialog("Are you quite sure about this?", first, second);
        *sound = LastRequestedSFX();
        return answer;
    }
};

TEST_F(DialogTest, AnswersAndSoundsForEachWayOut) {
    struct Case {
        const char* name;
        bool question;
        const char* input;
        int32_t answer;
        const char* sound;
    };
    const Case cases[] = {
        {"notice button", false, "wait 40\nclick 1 640 458", 1, "click"},
        {"notice Enter", false, "wait 40\nkey return", 1, kNoSound},
        {"notice: the Enter press alone stays open", false,
         "wait 40\nkeydown return\nwait 40\nclick 1 700 460", 1, "click"},
        {"notice ignores Escape, other keys and the other mouse buttons", false,
         "wait 40\nkey escape\nkey space\nclick 3 640 458\nclick 2 640 458\nquit\nwait 40\nkeyup return", 1, kNoSound},
        {"notice click edges", false,
         "wait 40\nclick 1 562 458\nclick 1 718 458\nclick 1 640 442\nclick 1 640 474\nwait 40\nkey return", 1, kNoSound},
        {"question first", true, "wait 40\nclick 1 540 458", 0, "key"},
        {"question first, far left", true, "wait 40\nclick 1 323 443", 0, "key"},
        {"question second", true, "wait 40\nclick 1 740 458", 1, "click"},
        {"question second, far right", true, "wait 40\nclick 1 806 473", 1, "click"},
        {"question ignores every key and the other buttons", true,
         "wait 40\nkey return\nkey escape\nclick 3 540 458\nclick 2 740 458\nwait 40\nclick 1 740 458", 1, "click"},
        {"question: the first button's edges and the gap hit nothing", true,
         "wait 40\nclick 1 322 458\nclick 1 640 458\nclick 1 540 442\nclick 1 540 474\nwait 40\nclick 1 740 458", 1, "click"},
        {"question: the second button's edges and the gap hit nothing", true,
         "wait 40\nclick 1 656 458\nclick 1 648 458\nclick 1 807 458\nclick 1 740 474\nwait 40\nclick 1 540 458", 0, "key"},
        {"a click already queued when the box opens is dropped", false, "click 1 640 458\nwait 40\nkey return", 1,
         kNoSound},
    };
    for (const Case& c : cases) {
        std::string sound;
        const int32_t answer = c.question ? Run(c.input, "ui/dialog_but_yea", "ui/dialog_but_nay", &sound)
                                          : Run(c.input, "ui/dialog_but_ok", nullptr, &sound);
        EXPECT_EQ(answer, c.answer) << c.name;
        EXPECT_EQ(sound, c.sound) << c.name;
    }
}

TEST_F(DialogTest, ItsSoundsAreRealEffects) {
    const bool hadDevice = AudioDeviceAvailable();
    ASSERT_TRUE(InitAudioDevice());
    LoadSFX();
    EXPECT_NE(SoundEffectBuffer("click"), 0u);
    EXPECT_NE(SoundEffectBuffer("key"), 0u);
    ShutdownSFX();
    if (!hadDevice) ShutdownAudioDevice();
}

TEST_F(DialogTest, DrawsTheBoxTheTextAndBothButtonsCentred) {
    SDL_FillRect(ScreenSurface, nullptr, SDL_MapRGB(ScreenSurface->format, 0, 0, 0));
    std::string sound;
    // The other art names of the yes/no pair find the same pictures ignoring case.
    testing::internal::CaptureStdout();
    EXPECT_EQ(Run("wait 40\nmove 20 20\nwait 40\nclick 1 540 458", "ui/dialog_but_Yea", "ui/dialog_but_Nay", &sound), 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("could not be read"), std::string::npos) << out;

    SDL_Surface* ref = NewScreenSized(1280, 720);
    SDL_FillRect(ref, nullptr, SDL_MapRGB(ref->format, 0, 0, 0));
    SDL_Surface* box = LoadImage("ui/dialog_alert.png");
    SDL_Surface* yes = LoadImage("ui/dialog_but_yea0.png");
    SDL_Surface* no = LoadImage("ui/dialog_but_nay0.png");
    ASSERT_TRUE(box && yes && no);
    ASSERT_EQ(box->w, 420);
    ASSERT_EQ(box->h, 260);
    SDL_Rect at = {430, 230, 0, 0};
    SDL_BlitSurface(box, nullptr, ref, &at);
    SDL_Rect yesAt = {static_cast<Sint16>(430 + 105 - yes->w / 2), static_cast<Sint16>(230 + 260 - yes->h - 16), 0, 0};
    SDL_Rect noAt = {static_cast<Sint16>(430 + 315 - no->w / 2), static_cast<Sint16>(230 + 260 - no->h - 16), 0, 0};
    const SDL_Rect yesRect = {yesAt.x, yesAt.y, static_cast<Uint16>(yes->w), static_cast<Uint16>(yes->h)};
    const SDL_Rect noRect = {noAt.x, noAt.y, static_cast<Uint16>(no->w), static_cast<Uint16>(no->h)};
    SDL_BlitSurface(yes, nullptr, ref, &yesAt);
    SDL_BlitSurface(no, nullptr, ref, &noAt);
    EXPECT_EQ(CountDifferentPixels(ScreenSurface, yesRect.x, yesRect.y, ref, yesRect.x, yesRect.y, yesRect.w, yesRect.h), 0);
    EXPECT_EQ(CountDifferentPixels(ScreenSurface, noRect.x, noRect.y, ref, noRect.x, noRect.y, noRect.w, noRect.h), 0);
    // The buttons lie inside their click areas.
    EXPECT_GT(yesRect.x, 640 - 318);
    EXPECT_LT(yesRect.x + yesRect.w, 640);
    EXPECT_GT(noRect.x, 640 + 16);
    EXPECT_LT(noRect.x + noRect.w, 640 + 167);
    // The text is written in the box's text area, and nowhere else.
    EXPECT_GT(CountDifferentPixels(ScreenSurface, 462, 278, ref, 462, 278, 356, 30), 100);
    EXPECT_EQ(CountDifferentPixels(ScreenSurface, 430, 230, ref, 430, 230, 420, 40), 0);
    for (SDL_Surface* s : {ref, box, yes, no}) SDL_FreeSurface(s);
}

TEST_F(DialogTest, HeldButtonShowsItsPressedPicture) {
    std::string sound;
    EXPECT_EQ(Run("wait 40\nbuttondown 1 640 458\nwait 60\nbuttonup 1 640 458", "ui/dialog_but_ok", nullptr, &sound), 1);
    SDL_Surface* pressed = LoadImage("ui/dialog_but_ok2.png");
    SDL_Surface* rest = LoadImage("ui/dialog_but_ok0.png");
    SDL_Surface* box = LoadImage("ui/dialog_alert.png");
    ASSERT_TRUE(pressed && rest && box);
    SDL_Surface* ref = NewScreenSized(1280, 720);
    SDL_FillRect(ref, nullptr, SDL_MapRGB(ref->format, 0, 0, 0));
    SDL_Rect at = {430, 230, 0, 0};
    SDL_BlitSurface(box, nullptr, ref, &at);
    SDL_Rect b = {static_cast<Sint16>(640 - pressed->w / 2), static_cast<Sint16>(490 - pressed->h - 16), 0, 0};
    SDL_BlitSurface(pressed, nullptr, ref, &b);
    // Left half only: the pointer may be drawn at the pointer position.
    EXPECT_EQ(CountDifferentPixels(ScreenSurface, 640 - pressed->w / 2, 442, ref, 640 - pressed->w / 2, 442, pressed->w / 2 - 2, pressed->h), 0);
    for (SDL_Surface* s : {pressed, rest, box, ref}) SDL_FreeSurface(s);
}

TEST_F(DialogTest, TheHeroStandsStillUnderTheBox) {
    Player hero;
    hero.offsetX = 0.5f;
    hero.offsetY = -0.25f;
    Player* saved = CurrentPlayer;
    CurrentPlayer = &hero;
    std::string sound;
    EXPECT_EQ(Run("wait 40\nkey return", "ui/dialog_but_ok", nullptr, &sound), 1);
    CurrentPlayer = saved;
    EXPECT_EQ(hero.offsetX, 0.0f);
    EXPECT_EQ(hero.offsetY, 0.0f);
}

TEST(DialogClickAreas, FixedDistancesFromTheScreenCentre) {
    // Box 260 high, first button 32 high: b = 458 at 1280 x 720.
    Layout = ScreenLayoutState();
    EXPECT_EQ(DialogButtonAt(640, 458, false, 260, 32), 1);
    EXPECT_EQ(DialogButtonAt(563, 443, false, 260, 32), 1);
    EXPECT_EQ(DialogButtonAt(562, 458, false, 260, 32), -1);
    EXPECT_EQ(DialogButtonAt(323, 458, true, 260, 32), 0);
    EXPECT_EQ(DialogButtonAt(639, 458, true, 260, 32), 0);
    EXPECT_EQ(DialogButtonAt(640, 458, true, 260, 32), -1);
    EXPECT_EQ(DialogButtonAt(656, 458, true, 260, 32), -1);
    EXPECT_EQ(DialogButtonAt(657, 458, true, 260, 32), 1);
    EXPECT_EQ(DialogButtonAt(806, 458, true, 260, 32), 1);
    EXPECT_EQ(DialogButtonAt(807, 458, true, 260, 32), -1);
    // The row moves with the box and the first button's height.
    EXPECT_EQ(DialogButtonAt(540, 458, true, 300, 32), -1);
    EXPECT_EQ(DialogButtonAt(540, 478, true, 300, 32), 0);
    EXPECT_EQ(DialogButtonAt(540, 448, true, 260, 52), 0);
}

TEST(AutoSurfaceHolder, FreesWhatItHolds) {
    // Freed surfaces are not observable directly; ASan reports a leak or a double free.
    {
        AutoSurface held(SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 32, 0xFF0000, 0xFF00, 0xFF, 0));
        ASSERT_NE(held.get(), nullptr);
        held.Reset(SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 2, 32, 0xFF0000, 0xFF00, 0xFF, 0));
        EXPECT_EQ(held->w, 2);
        SDL_Surface* kept = held.Release();
        EXPECT_EQ(held.get(), nullptr);
        SDL_FreeSurface(kept);
    }
    AutoSurface empty;
    EXPECT_EQ(empty.get(), nullptr);
}

}  // namespace

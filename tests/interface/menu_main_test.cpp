// The title screen and main menu: layout, the picture it composes, choosing with the mouse,
// the opening splash, and screenshots taken from it.
#include "core/command_state.h"
#include "media/screen.h"
#include "interface/menu_main.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interface/menu_frame.h"
#include "interface/screens.h"
#include "media/font.h"
#include "media/image.h"
#include "media/text.h"
#include "interface/menu_test_fixture.h"

namespace {

constexpr int kPanelW = 352;
constexpr int kPanelH = 360;

TEST(MainMenuLayout, PanelAndButtonsFollowTheScreenSize) {
    const MainMenuLayout wide = ComputeMainMenuLayout(1280, 720);
    EXPECT_EQ(wide.menuX, 800);
    EXPECT_EQ(wide.menuY, 180);
    EXPECT_EQ(wide.buttonX, 856);
    EXPECT_EQ(wide.ButtonTop(0), 244);
    EXPECT_EQ(wide.ButtonTop(5), 464);
    const MainMenuLayout square = ComputeMainMenuLayout(1024, 768);
    EXPECT_EQ(square.menuX, 640);
    EXPECT_EQ(square.menuY, 192);
    EXPECT_EQ(square.buttonX, 696);
    EXPECT_EQ(square.ButtonTop(0), 256);
}

TEST(MainMenuLayout, HoverRowsAtTheirEdges) {
    const MainMenuLayout l = ComputeMainMenuLayout(1280, 720);  // panel at (800, 180)
    struct Case {
        int x, y, row;
    };
    const Case cases[] = {
        {900, 180 + 32, -1},  // above the rows
        {900, 180 + 33, 0},   // the strip above the first button
        {900, 180 + 63, 0},
        {900, 180 + 107, 0},
        {900, 180 + 108, 1},
        {900, 180 + 151, 1},
        {900, 180 + 152, 2},
        {900, 180 + 327, 5},
        {900, 180 + 328, 6},  // below the last button
        {900, 180 + kPanelH, 6},
        {900, 180 + kPanelH + 1, -1},
        {800, 300, -1},  // the panel's left and right edges are outside
        {801, 300, 1},
        {800 + kPanelW - 1, 300, 1},
        {800 + kPanelW, 300, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MainMenuHoverRow(l, kPanelW, kPanelH, c.x, c.y), c.row) << c.x << ", " << c.y;
    }
}

TEST(MainMenuLayout, VersionTextEndsWithTheEmptyBuildSuffix) {
    EXPECT_STREQ(MainMenuVersionText(), "1.0.10 ");
}

class MainMenuTest : public MenuScreenTest {
protected:
    // The picture a button row shows: the title picture's middle, the panel, the hover picture
    // and, at rest, the rest picture over it.
    SDL_Surface* ReferenceScreen(int hoverRow) {
        SDL_Surface* ref = NewScreenSized(1280, 720);
        SDL_Surface* title = LoadImage("ui/zarnoch_main_big.png");
        SDL_Surface* panel = LoadImage("ui/menus/main_menubg_short.png");
        EXPECT_NE(title, nullptr);
        EXPECT_NE(panel, nullptr);
        DrawTitlePictureMiddle(title, ref);
        SDL_Rect at = {800, 180, 0, 0};
        SDL_BlitSurface(panel, nullptr, ref, &at);
        static const char* const kNames[] = {"newgame", "loadgame", "highscores", "credits", "tutorial", "quit"};
        for (int r = 0; r < 6; ++r) {
            const std::string base = std::string("ui/menus/main_") + kNames[r];
            for (const char* state : r == hoverRow ? std::vector<const char*>{"1"} : std::vector<const char*>{"1", "0"}) {
                SDL_Surface* button = LoadImage((base + state + ".png").c_str());
                EXPECT_NE(button, nullptr) << base << state;
                if (!button) continue;
                SDL_Rect b = {856, static_cast<Sint16>(244 + 44 * r), 0, 0};
                SDL_BlitSurface(button, nullptr, ref, &b);
                SDL_FreeSurface(button);
            }
        }
        SDL_FreeSurface(title);
        SDL_FreeSurface(panel);
        return ref;
    }
};

TEST_F(MainMenuTest, ScreenshotShowsTheTitleAndTheSixButtonsWithTheHoveredOneLit) {
    // Point at "High Scores", take a screenshot with F12, then leave with Escape.
    Script("wait 50\nmove 1000 350\nwait 100\nkey f12\nwait 50\nkey escape\n");
    EXPECT_EQ(MainMenu(), kMenuQuit);
    EXPECT_EQ(LastRequestedSFX(), "turnpage");

    const std::string shot = user_.file("bitmap_0.bmp");
    ASSERT_TRUE(FileExists(shot));
    SDL_Surface* picture = SDL_LoadBMP(shot.c_str());
    ASSERT_NE(picture, nullptr) << SDL_GetError();
    ASSERT_EQ(picture->w, 1280);
    ASSERT_EQ(picture->h, 720);
    SDL_Surface* ref = ReferenceScreen(2);
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(CountDifferentPixels(picture, 856, 244 + 44 * r, ref, 856, 244 + 44 * r, 240, 40), 0) << "row " << r;
    }
    // The lit button really differs from its resting look.
    SDL_Surface* rest = ReferenceScreen(-1);
    EXPECT_GT(CountDifferentPixels(picture, 856, 244 + 88, rest, 856, 244 + 88, 240, 40), 1000);
    // The title lettering is gold over the dark title picture.
    int gold = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 150; x < 770; ++x) {
            const uint32_t c = MenuPixelRgb(picture, x, y);
            gold += ((c >> 16) > 180 && ((c >> 8) & 0xFF) > 140 && (c & 0xFF) < 120) ? 1 : 0;
        }
    EXPECT_GT(gold, 2000);
    // The version in the bottom-left corner.
    EXPECT_GT(CountDifferentPixels(picture, 0, 695, ref, 0, 695, 80, 25), 30);
    SDL_FreeSurface(ref);
    SDL_FreeSurface(rest);
    SDL_FreeSurface(picture);
    EXPECT_EQ(MenuBackground, nullptr) << "the background is freed when the menu ends";
}

// The whole menu screen, pixel for pixel, is what drawing the title picture's middle onto a
// black screen and the lettering, version and buttons over it gives.
TEST_F(MainMenuTest, TheWholeScreenIsTheTitleWithTheMenuOverIt) {
    Script("wait 50\nkey f12\nwait 50\nkey escape\n");  // the pointer stays at (0, 0)
    EXPECT_EQ(MainMenu(), kMenuQuit);
    SDL_Surface* picture = SDL_LoadBMP(user_.file("bitmap_0.bmp").c_str());
    ASSERT_NE(picture, nullptr) << SDL_GetError();
    SDL_Surface* ref = ReferenceScreen(-1);
    SDL_Surface* lettering = LoadImage("ui/menus/main_titletext.png");
    ASSERT_NE(lettering, nullptr);
    SDL_Rect at = {150, 0, 0, 0};
    SDL_BlitSurface(lettering, nullptr, ref, &at);
    DrawText(1, 720 - 24, MainMenuVersionText(), kTextBlack, ref, MediumFont);
    DrawText(0, 720 - 25, MainMenuVersionText(), kTextGold, ref, MediumFont);
    // Everything but the pointer's corner.
    EXPECT_EQ(CountDifferentPixels(picture, 64, 0, ref, 64, 0, 1280 - 64, 720), 0);
    EXPECT_EQ(CountDifferentPixels(picture, 0, 64, ref, 0, 64, 64, 720 - 64), 0);
    for (SDL_Surface* s : {picture, ref, lettering}) SDL_FreeSurface(s);
}

TEST_F(MainMenuTest, ReleasesChooseTheRowUnderThePointer) {
    struct Case {
        const char* input;
        int32_t result;
        const char* sound;
    };
    const Case cases[] = {
        {"click 1 960 266", kMenuNewGame, "large_wooden_drop"},
        {"click 1 960 216", kMenuNewGame, "large_wooden_drop"},  // above the first button
        {"click 1 960 310", kMenuLoadGame, "large_wooden_drop"},
        {"click 1 960 354", kMenuHighScores, "large_wooden_drop"},
        {"click 1 960 398", kMenuCredits, "large_wooden_drop"},
        {"click 1 960 442", kMenuTutorials, "large_wooden_drop"},
        {"click 1 960 486", kMenuQuit, "large_wooden_drop"},
        {"click 1 960 530", kMenuShowAgain, "large_wooden_drop"},  // the panel below Quit
        {"click 3 960 310", kMenuLoadGame, "large_wooden_drop"},   // any button
        {"click 4 960 354", kMenuHighScores, "large_wooden_drop"}, // a wheel step
        {"quit", kMenuShowAgain, "turnpage"},
        {"click 1 700 300", kMenuQuit, "turnpage"},  // outside the panel: nothing; Escape then
        {"click 1 960 541", kMenuQuit, "turnpage"},
        {"key a\nkey return\nkey space", kMenuQuit, "turnpage"},  // other keys do nothing
        {"buttondown 1 960 266", kMenuQuit, "turnpage"},          // a press alone does nothing
    };
    for (const Case& c : cases) {
        Script(std::string("wait 40\n") + c.input + "\nwait 40\nkey escape\n");
        EXPECT_EQ(MainMenu(), c.result) << c.input;
        EXPECT_EQ(LastRequestedSFX(), c.sound) << c.input;
    }
}

TEST_F(MainMenuTest, SplashEndsOnAReleaseAndShowsOnlyOnce) {
    CmdLine.splashShown = false;
    // A key press does not end the splash; the first release (a click on New Game) only ends
    // it; the second click chooses Load Game.
    Script("wait 500\nkeydown a\nwait 500\nclick 1 960 266\nwait 100\nclick 1 960 310\nwait 100\nkey escape\n");
    EXPECT_EQ(MainMenu(), kMenuLoadGame);
    EXPECT_TRUE(CmdLine.splashShown);
    EXPECT_LT(LoggedGetTicks(), 4000u);

    // Shown again: no splash, the first click chooses, and "turnpage" plays again.
    Script("wait 40\nmove 100 100\nwait 40\nkey escape\n");
    EXPECT_EQ(MainMenu(), kMenuQuit);
    EXPECT_EQ(LastRequestedSFX(), "turnpage");
    Script("wait 40\nclick 1 960 266\nwait 40\nkey escape\n");
    EXPECT_EQ(MainMenu(), kMenuNewGame);
}

TEST_F(MainMenuTest, SplashEndsByItselfAfterFourSeconds) {
    CmdLine.splashShown = false;
    Script("wait 4100\nclick 1 960 310\nwait 100\nkey escape\n");
    EXPECT_EQ(MainMenu(), kMenuLoadGame);
    EXPECT_GE(LoggedGetTicks(), 4000u);
}

TEST_F(MainMenuTest, ClosingTheWindowDuringTheSplashShowsTheMenuAgain) {
    CmdLine.splashShown = false;
    Script("wait 100\nquit\n");
    EXPECT_EQ(MainMenu(), kMenuShowAgain);
    EXPECT_EQ(MenuBackground, nullptr);
}

TEST_F(MainMenuTest, ButtonsMoveWithTheScreenSize) {
    UseScreen(1024, 768);
    // First button at (696, 256), 240 x 40.
    Script("wait 40\nclick 1 700 260\nwait 40\nkey escape\n");
    EXPECT_EQ(MainMenu(), kMenuNewGame);
    Script("wait 40\nclick 1 700 256\nwait 40\nclick 1 990 300\nwait 40\nkey escape\n");
    EXPECT_EQ(MainMenu(), kMenuNewGame);  // (700, 256) is on row 0 too
    Script("wait 40\nclick 1 639 300\nwait 40\nkey escape\n");
    EXPECT_EQ(MainMenu(), kMenuQuit);
}

TEST_F(MainMenuTest, QuitScreenAnswersByWhereTheButtonIsReleased) {
    // Box 420 x 260 at (430, 230); Quit at (475, 442) and Stay at (685, 442), 120 x 32 each.
    struct Case {
        const char* input;
        int32_t result;
    };
    const Case cases[] = {
        {"click 1 535 458", 1},
        {"click 1 475 442", 1},  // the rectangle's edges count
        {"click 1 595 474", 1},
        {"click 1 474 458", 0},
        {"click 1 745 458", 0},  // Stay
        {"click 1 100 100", 0},  // anywhere else
        {"key escape\nquit\nwait 40\nclick 3 535 458", 1},  // Escape and closing do nothing
    };
    for (const Case& c : cases) {
        Script(std::string("wait 40\n") + c.input + "\n");
        EXPECT_EQ(ShowQuitScreen(), c.result) << c.input;
        EXPECT_EQ(MenuBackground, nullptr);
    }
}

TEST_F(MainMenuTest, QuitScreenShowsTheButtonStates) {
    // Hold the left button over Quit: its held picture is drawn.
    Script("wait 40\nbuttondown 1 535 458\nwait 80\nbuttonup 1 745 458\n");
    EXPECT_EQ(ShowQuitScreen(), 0);
    SDL_Surface* held = LoadImage("ui/dialog_but_quit2.png");
    SDL_Surface* dialogBox = LoadImage("ui/dialog_alert.png");
    ASSERT_NE(held, nullptr);
    ASSERT_NE(dialogBox, nullptr);
    SDL_Surface* ref = NewScreenSized(1280, 720);
    SDL_Surface* title = LoadImage("ui/zarnoch_main_big.png");
    DrawTitlePictureMiddle(title, ref);
    SDL_Rect at = {430, 230, 0, 0};
    SDL_BlitSurface(dialogBox, nullptr, ref, &at);
    SDL_Rect button = {475, 442, 0, 0};
    SDL_BlitSurface(held, nullptr, ref, &button);
    // The pointer is drawn at (535, 458): compare the button's left part, left of it.
    EXPECT_EQ(CountDifferentPixels(ScreenSurface, 475, 442, ref, 475, 442, 58, 32), 0);
    for (SDL_Surface* s : {held, dialogBox, ref, title}) SDL_FreeSurface(s);
}

// The real program under the headless drivers: the menu comes up, F12 writes the screenshot
// into the user folder, Escape asks to quit and the quit screen's Quit button ends the run.
TEST(MainMenuRun, TheGameShowsTheMenuAndTakesAScreenshot) {
    TempDir user;
    WriteWholeFile(user.file("s.txt"), "wait 300\nmove 1000 266\nwait 100\nkey f12\nwait 100\nkey escape\nwait 100\nclick 1 535 458\n");
    GameRun run = RunGame({"-no-initial-config"}, user.path(), {{"VAULTMERE_INPUT_SCRIPT", user.file("s.txt")}});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    SDL_Surface* picture = SDL_LoadBMP(user.file("bitmap_0.bmp").c_str());
    ASSERT_NE(picture, nullptr) << run.output;
    EXPECT_EQ(picture->w, 1280);
    EXPECT_EQ(picture->h, 720);
    // Every button differs from the panel around it, and the hovered New Game from the others.
    auto rowColour = [&](int row) { return MenuPixelRgb(picture, 866, 252 + 44 * row); };
    for (int r = 1; r < 6; ++r) EXPECT_NE(rowColour(r), MenuPixelRgb(picture, 1120, 252 + 44 * r)) << r;
    EXPECT_NE(rowColour(0), rowColour(1));
    SDL_FreeSurface(picture);
}

}  // namespace

// A tutorial played to its end by the real executable: chosen from the main menu's tutorial
// list, every text answered and every awaited deed done, then the next tutorial chained and
// left through the settings window. The player's own key binding and auto-loot switches
// come back afterwards, the completion is remembered and no autosave is written.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "interface/menu_main.h"
#include "support/run_game.h"

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The player's configuration: Inventory bound to J instead of I, two auto-loot switches on.
const char* const kPlayersConfig =
    "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n"
    "<keybinding pos=\"6\" value=\"106\" mod=\"0\"/>\n"
    "<autoloot pos=\"0\" value=\"1\"/>\n<autoloot pos=\"5\" value=\"1\"/>\n</config>\n";

std::string ClickTutorialsButton() {
    const MainMenuLayout menu = ComputeMainMenuLayout(1280, 720);
    return "click 1 " + std::to_string(menu.buttonX + 100) + " " + std::to_string(menu.ButtonTop(4) + 20) + "\n";
}

// 1280 x 720: the first row of the tutorial list; a one-button text answered by Return; the
// completion picture's "Next Tutorial" (480 x 420 centred, the button at (237, 360)); the
// tutorial settings window's "Leave tutorial" (630 x 200 centred, the button at (103, 146)).
const char* const kFirstRow = "click 1 500 160\n";
const char* const kAnswerText = "wait 300\nkey return\n";
const char* const kNextTutorial = "wait 300\nclick 1 717 526\n";
const char* const kLeaveTutorial = "wait 300\nkey escape\nwait 300\nclick 1 498 426\n";
const char* const kQuitFromList = "wait 300\nkey escape\nwait 300\nkey escape\nwait 300\nclick 1 535 458\n";

// Pixels that differ between two screenshots in a square of the given side at (x, y).
int32_t DifferentPixels(const std::string& first, const std::string& second, int32_t x, int32_t y, int32_t side) {
    SDL_Surface* a = SDL_LoadBMP(first.c_str());
    SDL_Surface* b = SDL_LoadBMP(second.c_str());
    int32_t differ = -1;
    if (a != nullptr && b != nullptr && a->format->BytesPerPixel == b->format->BytesPerPixel) {
        differ = 0;
        SDL_LockSurface(a);
        SDL_LockSurface(b);
        const int32_t bpp = a->format->BytesPerPixel;
        for (int32_t row = y; row < y + side; ++row) {
            const uint8_t* pa = static_cast<const uint8_t*>(a->pixels) + row * a->pitch + x * bpp;
            const uint8_t* pb = static_cast<const uint8_t*>(b->pixels) + row * b->pitch + x * bpp;
            for (int32_t col = 0; col < side; ++col) differ += std::memcmp(pa + col * bpp, pb + col * bpp, bpp) != 0 ? 1 : 0;
        }
        SDL_UnlockSurface(a);
        SDL_UnlockSurface(b);
    }
    if (a != nullptr) SDL_FreeSurface(a);
    if (b != nullptr) SDL_FreeSurface(b);
    return differ;
}

}  // namespace

TEST(TutorialSession, TheFirstTutorialIsPlayedToItsEndChainsToTheNextAndLeavesThePlayersSettings) {
    TempDir user;
    WriteWholeFile(user.file("config.xml"), kPlayersConfig);
    // The list as it is before (a screenshot), the first row and its notice; the movement
    // tutorial's three texts with the inventory opened by I (the tutorial plays on the
    // default keys) after the second; "Next Tutorial"; the levers tutorial's first text, and
    // out through the settings window to the list; the menu; quit.
    std::string script = "wait 500\n" + ClickTutorialsButton() + "wait 300\nscreenshot\n" + kFirstRow +
                         "wait 300\nkey return\nwait 500\n";
    script += std::string(kAnswerText) + kAnswerText + "wait 300\nkey i\n" + kAnswerText;
    script += std::string(kNextTutorial) + "wait 500\n" + kAnswerText + kLeaveTutorial + kQuitFromList;
    WriteWholeFile(user.file("script.txt"), script);
    GameRun run = RunGame({"-no-initial-config", "-debug-flag"}, user.path(),
                          {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")},
                           {"VAULTMERE_TICKER_LOG", user.file("ticker.txt")}});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_FALSE(Contains(run.output, "not found")) << run.output;
    EXPECT_FALSE(FileExists(user.file("autosave.sav")));
    const std::string config = ReadWholeFile(user.file("config.xml"));
    EXPECT_TRUE(Contains(config, "<tutorial name=\"Tutorial Chamber: Movement\" complete=\"1\" />")) << config;
    EXPECT_FALSE(Contains(config, "<tutorial name=\"Tutorial Chamber: Levers\" complete=\"1\"")) << config;
    EXPECT_TRUE(Contains(config, "<keybinding pos=\"6\" value=\"106\"")) << config;
    EXPECT_TRUE(Contains(config, "<autoloot pos=\"0\" value=\"1\"/>")) << config;
    EXPECT_TRUE(Contains(config, "<autoloot pos=\"5\" value=\"1\"/>")) << config;
    // Two games were played: the first to its end, the second until it was left (without a
    // notice before it: a Return taken by one would leave the script a text behind).
    size_t games = 0;
    for (size_t at = run.output.find("Leaving the game after "); at != std::string::npos;
         at = run.output.find("Leaving the game after ", at + 1)) {
        ++games;
    }
    EXPECT_EQ(games, 2u) << run.output;
    const std::string before = user.file("list_before.bmp");
    ASSERT_EQ(std::rename(user.file("bitmap_0.bmp").c_str(), before.c_str()), 0);

    // The next visit shows the first row's star: (rowX - 40, rowY + 6) = (358, 143), 32 x 32.
    WriteWholeFile(user.file("script.txt"), "wait 500\n" + ClickTutorialsButton() + "wait 300\nscreenshot\n" + kQuitFromList);
    GameRun again = RunGame({"-no-initial-config"}, user.path(), {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}});
    ASSERT_EQ(again.exitCode, 0) << again.output;
    EXPECT_GT(DifferentPixels(before, user.file("bitmap_0.bmp"), 358, 143, 32), 50);
    EXPECT_EQ(DifferentPixels(before, user.file("bitmap_0.bmp"), 358, 229, 32), 0) << "the second row has no star";
}

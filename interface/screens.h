#pragma once
// The full-screen menus: title menu, character creation, load, high scores, credits,
// intro, settings, tutorials, death, victory and quit.
//
// The title and main menu (interface/menu_main.*) and the quit confirmation
// (interface/menu_quit.cpp) run on the shared menu frame of interface/menu_frame.h.
//
// Stand-in: the other screens draw nothing and answer at once with the choice that lets a
// run end cleanly: creation screens go back, the load screen cancels. Still to be built
// here: every other screen's art, drawing and input loop, the high-score entries of the
// death and victory screens (with deleting the hero's saves on death), the settings
// toggles and sliders, the save thumbnail, and the tutorial list with starting and
// running a tutorial.
#include <cstdint>
#include <string>
#include <vector>

// Main-menu answers.
enum MainMenuChoice : int32_t {
    kMenuNewGame = 0,
    kMenuLoadGame = 1,
    kMenuHighScores = 2,
    kMenuCredits = 3,
    kMenuTutorials = 4,
    kMenuQuit = 5,
};

// Shows the title and main menu until a choice is made: a MainMenuChoice, or 6 (show the
// menu again) for a window-close request or a click on the panel below the last button.
// Escape released chooses kMenuQuit; F12 (or the screenshot binding) takes a screenshot.
int32_t MainMenu();
// The quit confirmation: 1 to quit, 0 to stay.
int32_t ShowQuitScreen();
extern const char* const kQuitScreenText;
// Positive for forward, anything else for back.
int32_t ShowChooseDifficultyScreen(int32_t* difficulty, int32_t* permadeath, int32_t* quickie,
                                   int32_t* extraOption);
// Positive for forward, anything else for back; name is a 1024-character buffer.
int32_t ShowChooseHeroScreen(char* name, int32_t work, int32_t* female);
// True for forward, false for back.
bool ShowChooseSkillsScreen(std::vector<int32_t>& skills, int32_t* randomBuild, int32_t* lastBuild);
void ShowDeathScreen();
void ShowVictoryScreen();
void ShowHighScores();
void ShowCredits();
void ShowIntro(int32_t female);
// The chosen save name; empty when cancelled.
std::string ShowLoadGameScreen();
// 1 when the player chose to leave the game.
int32_t ShowSettingsScreen();
void ShowTutorialScreen();

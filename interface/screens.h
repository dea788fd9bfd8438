#pragma once
// The full-screen menus: title menu, character creation, load, high scores, credits,
// intro, settings, tutorials, death, victory and quit.
//
// The title and main menu (interface/menu_main.*) and the quit confirmation
// (interface/menu_quit.cpp) run on the shared menu frame of interface/menu_frame.h.
//
// The three new-game screens live in interface/choose_difficulty.*, choose_skills.* and
// choose_hero.*.
//
// The load screen (interface/load_game_screen.*), the high-score, death and victory screens
// (high_score_screen.*), the credits (credits_screen.*), the intro pictures (intro_screen.*),
// the tutorial list (tutorial_screen.*) and the settings window (settings_window.*) each have
// their own files.
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
// The difficulty screen: 1 forward, 0 back (Back, Escape). Any other key release goes
// forward. The expansion flag keeps the value it is given (its default is set once per new
// hero by the caller).
int32_t ShowChooseDifficultyScreen(int32_t* difficulty, int32_t* permadeath, int32_t* quickie,
                                   int32_t* expansion);
// The name and gender screen: 1 forward (Done or Return with a name), 0 back. name is a
// zero-terminated buffer of `capacity` bytes that keeps what an earlier visit typed.
int32_t ShowChooseHeroScreen(char* name, int32_t capacity, int32_t* female);
// The skill screen: true for Done with seven skills, false for back (Back or Escape). The
// flags tell whether the last grid or shortcut click was "Random Skills" or "Last Choice".
bool ShowChooseSkillsScreen(std::vector<int32_t>& skills, int32_t* randomBuild, int32_t* lastBuild);
void ShowDeathScreen();
void ShowVictoryScreen();
void ShowHighScores();
void ShowCredits();
void ShowIntro(int32_t female);
// The chosen save name; empty when cancelled.
std::string ShowLoadGameScreen();
// The in-game settings window (interface/settings_window.*): 0 to go back to the game, 1 when
// the play loop must end.
int32_t ShowSettingsScreen();
void ShowTutorialScreen();

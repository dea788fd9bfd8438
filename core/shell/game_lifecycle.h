#pragma once
// The main-menu loop and the life of one game: a game starts with a new hero, a loaded save
// or a tutorial, runs the play loop and is torn down afterwards, so that the next game starts
// from a clean state.
#include <cstdint>
#include <string>

class Player;

// The view offsets reset at every new game: the view pixel offsets and the view origin.
// Plays a new game with the hero (the game takes the hero over); returns when it has ended.
void PlayGame(Player* hero);
// Plays a saved game; an empty name does nothing (and answers true). False - after printing
// "Couldn't load filename <name>" - when the save cannot be loaded; nothing of it is left.
bool LoadAndPlay(std::string saveName);
// Loads the save as LoadAndPlay would and throws the game away again: true when it loads.
// Start-up tries the save named on the command line so before anything copies it elsewhere.
bool SavedGameLoads(const std::string& saveName);
// The character-creation screens: a new hero ready to play, or null when the player backed
// out of the first screen.
Player* RunNewGameScreens();
// A hero as the creation screens start it, given a random build, a name and a save name.
Player* MakeDefaultHero();
// A new hero as every creation path starts it: medium difficulty, no drawing offset, the
// gender of the last hero, the given build choice, no skills yet.
Player* NewCreationHero(bool randomBuild);
// Builds the first level of a new game around CurrentPlayer.
void NewGameCommon();
// Starts a tutorial game on a level built around one room template, the hero at (x, y).
// CurrentPlayer must be set.
void StartTutorial(const char* templateName, int32_t x, int32_t y);
// Clears the per-game state shared by new, loaded and tutorial games.
void ResetGameState();
// Destroys the hero and every level of the running game.
void EndCurrentGame();
// The menu's way to play a save: LoadAndPlay, and when the save cannot be loaded a dialog
// saying so (the menu is shown again afterwards). False when it could not be loaded.
bool PlaySavedGameFromMenu(const std::string& saveName);
// The main-menu loop, until quitting is confirmed.
void RunMainMenuLoop();

// The text of the dialog shown when a save chosen in the menu cannot be loaded.
extern const char* const kLoadFailedDialogText;

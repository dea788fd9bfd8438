#pragma once
// The main-menu loop and the life of one game.
//
// Stand-in: the menu loop acts on quit only; new game, load game, high scores, credits and
// tutorials answer that they are not available yet. PlayGame and LoadAndPlay hand the hero back
// at once. The game lifecycle (new game, play loop, level teardown) fills these in.
#include <string>

class Player;

void PlayGame(Player* hero);
// Loads and plays a save; false when it cannot be loaded.
bool LoadAndPlay(const std::string& saveName);
void RunMainMenuLoop();

#include "core/game_lifecycle.h"

#include "creatures/player.h"
#include "interface/screens.h"

#include <cstdio>

void PlayGame(Player* hero) {
    CurrentPlayer = hero;
    std::printf("Starting a game is not available yet\n");
    CurrentPlayer = nullptr;
    delete hero;
}

bool LoadAndPlay(const std::string& saveName) {
    std::printf("Loading \"%s\" is not available yet\n", saveName.c_str());
    return false;
}

void RunMainMenuLoop() {
    for (;;) {
        int choice = MainMenu();
        if (choice == 5) {
            if (ShowQuitScreen()) return;
            continue;
        }
        static const char* const kNames[] = {"New game", "Load game", "High scores", "Credits", "Tutorials"};
        if (choice >= 0 && choice < 5) std::printf("%s is not available yet\n", kNames[choice]);
    }
}

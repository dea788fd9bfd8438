// Stand-in: what is still to be built is listed at the top of interface/screens.h.
#include "interface/screens.h"

void ShowDeathScreen() {}

void ShowVictoryScreen() {}

void ShowHighScores() {}

void ShowCredits() {}

void ShowIntro(int32_t) {}

std::string ShowLoadGameScreen() {
    return std::string();
}

void ShowTutorialScreen() {}

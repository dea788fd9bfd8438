// Stand-in: what is still to be built is listed at the top of interface/screens.h.
#include "interface/screens.h"

int32_t ShowChooseDifficultyScreen(int32_t*, int32_t*, int32_t*, int32_t*) {
    return 0;
}

int32_t ShowChooseHeroScreen(char*, int32_t, int32_t*) {
    return 0;
}

bool ShowChooseSkillsScreen(std::vector<int32_t>&, int32_t*, int32_t*) {
    return false;
}

void ShowDeathScreen() {}

void ShowVictoryScreen() {}

void ShowHighScores() {}

void ShowCredits() {}

void ShowIntro(int32_t) {}

std::string ShowLoadGameScreen() {
    return std::string();
}

int32_t ShowSettingsScreen() {
    return 0;
}

void ShowTutorialScreen() {}

#pragma once
// The first new-game screen: difficulty (easy, normal, hard) and the permadeath, quickie and
// expansion options. ShowChooseDifficultyScreen is declared in interface/screens.h.
#include <cstdint>

// What a click on the panel at offset (dx, dy) from its corner does: the rows are tested from
// the top and the first that holds the point wins.
enum DifficultyClick : int32_t {
    kDifficultyNothing = -1,
    kDifficultyEasy = 0,
    kDifficultyNormal = 1,
    kDifficultyHard = 2,
    kDifficultyTogglePermadeath = 3,
    kDifficultyToggleQuickie = 4,
    kDifficultyToggleExpansion = 5,
};
DifficultyClick DifficultyClickAt(int32_t dx, int32_t dy);

// True when the expansion panel of the screen can be loaded: the expansion option is then on
// by default for a new hero.
bool ExpansionPanelAvailable();

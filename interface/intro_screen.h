#pragma once
// The two story pictures shown between the new-game screens and the first turn of a new game.
// ShowIntro itself is declared in interface/screens.h.
#include <cstdint>

// The picture of a step (0 or 1) for a hero of that gender flag (nonzero: female).
const char* IntroPicture(int32_t step, int32_t female);

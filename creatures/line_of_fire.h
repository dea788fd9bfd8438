#pragma once
// Whether a missile can fly in a straight line between two squares of the current level.
#include <cstdint>

class Level;

// True when nothing blocks the straight line from (x0, y0) to (x1, y1): walls, rock and
// blocking objects and monsters in between (the hero does not count). Neither end square
// is tested. The level is the current level unless one is given; without one, false.
bool MissilePathClear(int32_t x0, int32_t y0, int32_t x1, int32_t y1, const Level* level = nullptr);

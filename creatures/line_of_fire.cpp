#include "creatures/line_of_fire.h"

#include <cstdlib>

#include "levels/level.h"
#include "levels/level_cell.h"

bool MissilePathClear(int32_t x0, int32_t y0, int32_t x1, int32_t y1, const Level* level) {
    if (x0 == x1 && y0 == y1) return true;
    if (level == nullptr) level = CurrentLevel;
    if (level == nullptr) return false;
    const int32_t dx = x1 - x0;
    const int32_t dy = y1 - y0;
    int32_t steps = 0;
    double stepX = 0.0;
    double stepY = 0.0;
    if (std::abs(dx) > std::abs(dy)) {
        steps = std::abs(dx);
        const double sign = dx > 0 ? 1.0 : -1.0;
        stepX = sign;
        stepY = sign * static_cast<double>(dy) / static_cast<double>(dx);
    } else {
        steps = std::abs(dy);
        const double sign = dy > 0 ? 1.0 : -1.0;
        stepY = sign;
        stepX = sign * static_cast<double>(dx) / static_cast<double>(dy);
    }
    double x = x0;
    double y = y0;
    for (int32_t i = 0; i < steps; ++i) {
        x += stepX;
        y += stepY;
        const int32_t sx = static_cast<int32_t>(x);
        const int32_t sy = static_cast<int32_t>(y);
        if (sx == x1 && sy == y1) continue;
        const int32_t kind = level->SquareKind(sx, sy);
        // Outside the grid counts as rock.
        if (kind == SquareType::Wall || kind <= SquareType::Rock) return false;
        if (level->IsSquareBlocked(sx, sy, false, true)) return false;
    }
    return true;
}

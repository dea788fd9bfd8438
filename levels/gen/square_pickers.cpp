#include "levels/gen/square_pickers.h"

#include "levels/level.h"
#include "levels/object_queue.h"
#include "levels/room_templates.h"

namespace {

Level* Resolve(Level* level) { return level != nullptr ? level : CurrentLevel; }

// A plain floor square with nothing on it or on its way there, and plain floor all around
// (inside the grid).
bool IsOpenFloorSpot(const Level& level, int32_t x, int32_t y) {
    const LevelCell* cell = level.GetCell(x, y);
    return cell != nullptr && cell->type == SquareType::Floor && cell->contents.empty() &&
           level.IsClearFloor3x3(x, y) && !IsQueuedMoveTarget(&level, x, y);
}

// A liquid square that no object stands on or is on its way to.
bool IsFreeLiquidSpot(const Level& level, int32_t x, int32_t y) {
    const LevelCell* cell = level.GetCell(x, y);
    return cell != nullptr && level.IsLiquidSquare(x, y) && cell->contents.empty() &&
           !IsQueuedMoveTarget(&level, x, y);
}

template <class Test>
int32_t DrawInRect(int32_t* outX, int32_t* outY, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                   Level* level, Test fits) {
    if (level == nullptr) return 0;
    return DrawSquareUntil(nullptr, x0, y0, x1 - x0, y1 - y0, outX, outY,
                           [&](int32_t x, int32_t y) { return fits(*level, x, y); },
                           kRectPickerDraws) ? 1 : 0;
}

}  // namespace

int32_t PickRandomLiquidSquareInRect(int32_t* outX, int32_t* outY, int32_t x0, int32_t y0,
                                     int32_t x1, int32_t y1, Level* level) {
    return DrawInRect(outX, outY, x0, y0, x1, y1, Resolve(level), IsFreeLiquidSpot);
}

int32_t PickRandomOpenSquareInRect(int32_t* outX, int32_t* outY, int32_t x0, int32_t y0,
                                   int32_t x1, int32_t y1, Level* level) {
    return DrawInRect(outX, outY, x0, y0, x1, y1, Resolve(level), IsOpenFloorSpot);
}

int32_t FindOpenSquareNear(int32_t* outX, int32_t* outY, int32_t x, int32_t y, Level* level) {
    level = Resolve(level);
    if (level == nullptr) return 0;
    for (int32_t dx = -3; dx <= 3; ++dx) {
        for (int32_t dy = -3; dy <= 3; ++dy) {
            if (IsOpenFloorSpot(*level, x + dx, y + dy)) {
                *outX = x + dx;
                *outY = y + dy;
                return 1;
            }
        }
    }
    return 0;
}

int32_t PickRandomOpenSquare(int32_t* outX, int32_t* outY, Level* level) {
    if (level == nullptr || level->width <= 0 || level->height <= 0) return 0;
    auto fits = [level](int32_t x, int32_t y) {
        const LevelCell* cell = level->GetCell(x, y);
        if (cell == nullptr || cell->type != SquareType::Floor) return false;
        const RoomTemplate* tmpl = level->GetRoomTemplate(cell->room);
        if (tmpl != nullptr && (tmpl->noblockers != 0 || tmpl->notreasure != 0)) return false;
        return cell->contents.empty() && level->IsClearFloor3x3(x, y);
    };
    return DrawSquareUntil(nullptr, 0, 0, level->width, level->height, outX, outY, fits,
                           kOpenSquarePickerDraws) ? 1 : 0;
}

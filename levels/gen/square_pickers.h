#pragma once
// Square pickers: random or nearby squares of a level that fit a purpose.
//
// Every picker is bounded: it makes at most a fixed number of draws (or scans a fixed
// neighbourhood) and answers 1 when it found a square, 0 when nothing fits. Draws use the
// C-library generator, r(n) = CRand() / (32767 / n + 1).
#include <cstdint>
#include <type_traits>

#include "core/random.h"
#include "levels/gen/level_layout.h"

class Level;

// The bounded "draw until one fits" search of every placement: squares x = x0 + r(width),
// y = y0 + r(height) drawn with the C-library generator until `fits` holds for one. `fits`
// takes (x, y) or (x, y, draw index). True with the square written; false after `maxDraws`
// draws, with the outputs holding the last draw and the search noted as given up under
// `what` (null: not noted).
template <class Fits>
bool DrawSquareUntil(const char* what, int32_t x0, int32_t y0, int32_t width, int32_t height,
                     int32_t* outX, int32_t* outY, Fits fits, int32_t maxDraws = kMaxSquareDraws) {
    for (int32_t draw = 0; draw < maxDraws; ++draw) {
        const int32_t x = x0 + RandomInt(width);
        const int32_t y = y0 + RandomInt(height);
        *outX = x;
        *outY = y;
        bool found = false;
        if constexpr (std::is_invocable_v<Fits, int32_t, int32_t, int32_t>) {
            found = fits(x, y, draw);
        } else {
            found = fits(x, y);
        }
        if (found) return true;
    }
    if (what != nullptr) NoteSearchGivenUp(what);
    return false;
}

// Draws a rectangle picker makes before it gives up.
constexpr int32_t kRectPickerDraws = 51;
// Draws PickRandomOpenSquare makes before it gives up.
constexpr int32_t kOpenSquarePickerDraws = 125000;

// A liquid square with no object on it and none on its way there (a queued move), drawn at
// x = x0 + r(x1 - x0), y = y0 + r(y1 - y0) (x1 and y1 themselves are never drawn). 1 with the square written, or 0 after the last draw (the outputs then
// hold that draw). The level is the current level unless one is given.
int32_t PickRandomLiquidSquareInRect(int32_t* outX, int32_t* outY, int32_t x0, int32_t y0,
                                     int32_t x1, int32_t y1, Level* level = nullptr);
// The same draws for a plain floor square with no object on it or on its way there, whose
// 3x3 block is plain floor.
int32_t PickRandomOpenSquareInRect(int32_t* outX, int32_t* outY, int32_t x0, int32_t y0,
                                   int32_t x1, int32_t y1, Level* level = nullptr);
// The first square (x + dx, y + dy), dx = -3..3 outer, dy = -3..3 inner, that is plain floor
// with no object and a plain-floor 3x3 block; 1 with it written, 0 when none.
int32_t FindOpenSquareNear(int32_t* outX, int32_t* outY, int32_t x, int32_t y,
                           Level* level = nullptr);
// A square drawn over the whole level that is plain floor, in a room whose template allows
// blockers and treasure, with no object and a plain-floor 3x3 block. 1 with it written;
// 0 when nothing fits after the last draw (the outputs then hold that draw) or when the
// level is null or empty (outputs untouched).
int32_t PickRandomOpenSquare(int32_t* outX, int32_t* outY, Level* level);

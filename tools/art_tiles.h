// Tile sheets of the dungeon branches: wall tops, wall faces and stairs, the shore pieces laid
// over liquids, and floors, in square cells eight to a row (see DrawTileSheet).
#pragma once

#include "tools/art_writer.h"

#include <cstdint>
#include <vector>

namespace artw {

// Sides and corners of a liquid square whose neighbour is dry land.
namespace shore {
constexpr uint8_t kU = 1, kD = 2, kL = 4, kR = 8;       // a rim along the side
constexpr uint8_t kUL = 1, kUR = 2, kDL = 4, kDR = 8;   // a rounded spit in the corner
}  // namespace shore

// One named liquid-edge tile of the sheet: its cell and the land it shows.
struct LiquidEdgeCell {
  const char* name;
  int col, row;
  uint8_t rims;     // shore::kU ...
  uint8_t corners;  // shore::kUL ...
};

// The 33 liquid tiles the tile-layer pass asks for ("water", bare, and the 32 shore pieces),
// each in a cell of its own: row 2 of the sheet, then rows 4 and on.
const std::vector<LiquidEdgeCell>& LiquidEdgeCells();

// Draws one liquid-edge cell: see-through where the liquid shows, a shore of earth with a
// light line of foam along the water where the neighbour is dry.
void DrawLiquidEdge(Canvas& c, int x0, int y0, int size, const LiquidEdgeCell& cell);

// Columns of row 1 holding the stairs up and down (data/game/branchDB.xml names them).
constexpr int kStairsUpCol = 6, kStairsDownCol = 7;

// A branch's tile sheet: square cells of width / 8, rows from the top: 0 pale tops of walls,
// 1 brick wall faces (the last two cells stairs up and down into a dark opening), 2 the bare liquid and the first
// shore pieces, 3 flagstone floors, 4 and on the other shore pieces. The tint colours walls
// and floors of the branch.
void DrawTileSheet(Canvas& c, Rgba tint);

}  // namespace artw

// Branch tile sheets (see art_tiles.h).
#include "tools/art_tiles.h"

#include "tools/art_draw.h"
#include "tools/art_fixtures.h"

#include <algorithm>
#include <cmath>

namespace artw {

const std::vector<LiquidEdgeCell>& LiquidEdgeCells() {
  using namespace shore;
  struct Land {
    const char* name;
    uint8_t rims, corners;
  };
  // In the names u, d, l and r are the dry sides; the words after the first name dry corners.
  static const Land kLand[] = {
      {"water", 0, 0},
      {"water_vert_cap_t", kL | kR | kU, 0},
      {"water_vert_cap_b", kL | kR | kD, 0},
      {"water_horiz_cap_l", kU | kD | kL, 0},
      {"water_horiz_cap_r", kU | kD | kR, 0},
      {"water_horiz", kU | kD, 0},
      {"water_vert", kL | kR, 0},
      {"water_cap_corner_dr", kU | kL, kDR},
      {"water_cap_corner_dl", kU | kR, kDL},
      {"water_cap_corner_ur", kD | kL, kUR},
      {"water_cap_corner_ul", kD | kR, kUL},
      {"water_r", kR, 0},
      {"water_l", kL, 0},
      {"water_u", kU, 0},
      {"water_d", kD, 0},
      {"water_ul", kU | kL, 0},
      {"water_ur", kU | kR, 0},
      {"water_dl", kD | kL, 0},
      {"water_dr", kD | kR, 0},
      {"water_corner_ul", 0, kUL},
      {"water_corner_ur", 0, kUR},
      {"water_corner_dl", 0, kDL},
      {"water_corner_dr", 0, kDR},
      {"water_corner_ul_dl", 0, kUL | kDL},
      {"water_corner_ur_dr", 0, kUR | kDR},
      {"water_corner_ul_ur", 0, kUL | kUR},
      {"water_corner_dl_dr", 0, kDL | kDR},
      {"water_l_ur_dr", kL, kUR | kDR},
      {"water_r_ul_dl", kR, kUL | kDL},
      {"water_d_ul_ur", kD, kUL | kUR},
      {"water_u_dl_dr", kU, kDL | kDR},
      {"water_l_ur", kL, kUR},
      {"water_l_dr", kL, kDR},
  };
  static const std::vector<LiquidEdgeCell> cells = [] {
    std::vector<LiquidEdgeCell> out;
    int k = 0;
    for (const Land& l : kLand) {
      const int col = k < 8 ? k : (k - 8) % 8;
      const int row = k < 8 ? 2 : 4 + (k - 8) / 8;
      out.push_back(LiquidEdgeCell{l.name, col, row, l.rims, l.corners});
      ++k;
    }
    return out;
  }();
  return cells;
}

namespace {

// True where the cell shows land: a band along each dry side, rounded where two bands meet,
// and a rounded spit in each dry corner.
bool IsLand(int x, int y, int size, const LiquidEdgeCell& cell) {
  using namespace shore;
  const float rim = std::max(2.0f, size / 6.0f);
  const float px = x + 0.5f, py = y + 0.5f, far = static_cast<float>(size);
  const bool u = cell.rims & kU, d = cell.rims & kD, l = cell.rims & kL, r = cell.rims & kR;
  if ((u && py < rim) || (d && py > far - rim) || (l && px < rim) || (r && px > far - rim))
    return true;
  // Inner corner between two bands: the water edge curves round with radius rim.
  auto curve = [&](bool a, bool b, float cx, float cy, float sx, float sy) {
    if (!a || !b) return false;
    const float dx = (px - cx) * sx, dy = (py - cy) * sy;  // > 0 towards the water
    return dx < rim && dy < rim && dx > 0 && dy > 0 &&
           (rim - dx) * (rim - dx) + (rim - dy) * (rim - dy) > rim * rim;
  };
  if (curve(u, l, rim, rim, 1, 1) || curve(u, r, far - rim, rim, -1, 1) ||
      curve(d, l, rim, far - rim, 1, -1) || curve(d, r, far - rim, far - rim, -1, -1))
    return true;
  const float spit = rim * 1.6f;
  auto near = [&](bool on, float cx, float cy) {
    return on && (px - cx) * (px - cx) + (py - cy) * (py - cy) < spit * spit;
  };
  return near(cell.corners & kUL, 0, 0) || near(cell.corners & kUR, far, 0) ||
         near(cell.corners & kDL, 0, far) || near(cell.corners & kDR, far, far);
}

}  // namespace

void DrawLiquidEdge(Canvas& c, int x0, int y0, int size, const LiquidEdgeCell& cell) {
  const Rgba earth{112, 88, 58, 255};
  const Rgba foam{206, 226, 236, 255};
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      if (!IsLand(x, y, size, cell)) continue;
      // Foam where the land meets the water inside the cell.
      bool shoreLine = false;
      for (int k = 0; k < 4 && !shoreLine; ++k) {
        const int nx = x + (k == 0) - (k == 1), ny = y + (k == 2) - (k == 3);
        if (nx >= 0 && ny >= 0 && nx < size && ny < size && !IsLand(nx, ny, size, cell))
          shoreLine = true;
      }
      const float grain = 0.86f + 0.2f * static_cast<float>(Hash3(x / 2, y / 2, 21) % 5) / 4.0f;
      c.Set(x0 + x, y0 + y, shoreLine ? foam : Shade(earth, grain));
    }
}

namespace {

// The pale stone of wall tops and stairs, in the branch's colour.
Rgba PaleStone(Rgba tint) { return Mix(Rgba{214, 210, 196, 255}, tint, 0.45f); }

// Cells of rows 0, 1 and 3 (row 2 and rows below 3 hold the liquid edges, the last two cells
// of row 1 the stairs).
void DrawWallOrFloorCell(Canvas& c, int x0, int y0, int size, int row, int col, Rgba tint) {
  const Rgba top = PaleStone(tint);
  const Rgba topEdge = Shade(top, 0.75f);
  const Rgba brick = Mix(Rgba{176, 92, 44, 255}, tint, 0.3f);
  const Rgba mortar = Shade(brick, 0.55f);
  const Rgba floor = Mix(Rgba{50, 48, 46, 255}, tint, 0.32f);
  const Rgba floorAlt = Shade(floor, col % 2 ? 0.88f : 1.08f);
  const Rgba grout = Shade(floor, 0.6f);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const bool edge = x == 0 || y == 0 || x == size - 1 || y == size - 1;
      Rgba px{0, 0, 0, 0};
      if (row == 0) {
        px = edge ? topEdge : top;
      } else if (row == 1) {
        const int course = std::max(2, size / 4);
        const int brickW = std::max(4, size / 2);
        const int offset = (y / course) % 2 ? brickW / 2 : 0;
        px = (y % course == 0 || (x + offset) % brickW == 0) ? mortar : brick;
      } else {
        const int half = std::max(2, size / 2);
        px = (x % half == 0 || y % half == 0) ? grout : floorAlt;
      }
      c.Set(x0 + x, y0 + y, px);
    }
}

}  // namespace

void DrawTileSheet(Canvas& c, Rgba tint) {
  const int cell = std::max(1, c.width / 8);
  const int rows = c.height / cell;
  for (int row = 0; row < std::min(rows, 4); ++row) {
    if (row == 2) continue;
    for (int col = 0; col < 8; ++col) {
      if (row == 1 && (col == kStairsUpCol || col == kStairsDownCol)) continue;
      DrawWallOrFloorCell(c, col * cell, row * cell, cell, row, col, tint);
    }
  }
  // Stairs of pale stone going into the dark, so that they stand out from the brick.
  if (rows > 1) {
    DrawStairsCell(c, kStairsUpCol * cell, cell, cell, true, PaleStone(tint));
    DrawStairsCell(c, kStairsDownCol * cell, cell, cell, false, PaleStone(tint));
  }
  for (const LiquidEdgeCell& e : LiquidEdgeCells())
    if (e.row < rows) DrawLiquidEdge(c, e.col * cell, e.row * cell, cell, e);
}

}  // namespace artw

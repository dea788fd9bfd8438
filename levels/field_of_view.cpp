#include "levels/field_of_view.h"

#include "levels/branch_db.h"
#include "levels/level.h"
#include "levels/seen_stamp.h"

bool ZooDiscovered = false;

namespace {

SightPassHook AfterSightPass = nullptr;

constexpr uint8_t kPerTurnBits = SquareFlag::InSight | SquareFlag::Visible | SquareFlag::Lit;
constexpr uint8_t kSeenBits =
    SquareFlag::InSight | SquareFlag::SightMark | SquareFlag::Mapped | SquareFlag::Lit;

// The eight rays in casting order: N, NE, E, SE, S, SW, W, NW.
enum Ray { kN, kNE, kE, kSE, kS, kSW, kW, kNW, kRayCount };
constexpr int32_t kRayDX[kRayCount] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int32_t kRayDY[kRayCount] = {-1, -1, 0, 1, 1, 1, 0, -1};

// Geometry of one octant scan.
struct Octant {
    bool rows;        // lines are rows (y -/+ d) rather than columns (x -/+ d)
    int32_t lineDir;  // -1: lines at y - d (or x - d); +1: at y + d (or x + d)
    int32_t slopeSign;// first/last along the line: centre + slopeSign * slope * d
    int32_t walk;     // +1 up (increasing coordinate), -1 down
    int32_t diagDir;  // the diagonal ray's coordinate along the line: x (or y) + diagDir * d
};

constexpr Octant kOctants[8] = {
    {true, -1, -1, 1, -1},   // 1: N, NW
    {true, -1, -1, -1, 1},   // 2: N, NE
    {false, -1, -1, 1, -1},  // 3: NW, W
    {false, -1, -1, -1, 1},  // 4: SW, W
    {true, 1, 1, 1, -1},     // 5: SW, S
    {true, 1, 1, -1, 1},     // 6: SE, S
    {false, 1, 1, 1, -1},    // 7: NE, E
    {false, 1, 1, -1, 1},    // 8: SE, E
};

// Closing slope (at a blocking square after an open one) and opening slope (at an open
// square after a blocking one) of each scan; c runs along the line, L is the line.
double ClosingSlope(int32_t octant, double cx, double cy, double c, double L) {
    switch (octant) {
        case 1: return FovSlope(cx, cy, c - 0.000001, L + 0.999999);
        case 2: return FovSlope(cx, cy, c + 1.0, L + 0.99999);
        case 3: return FovInverseSlope(cx, cy, L + 0.99999, c - 0.00001);
        case 4: return FovInverseSlope(cx, cy, L + 0.99999, c + 1.0);
        case 5: return FovSlope(cx, cy, c - 0.00001, L);
        case 6: return FovSlope(cx, cy, c + 1.0, L);
        case 7: return FovInverseSlope(cx, cy, L, c - 0.00001);
        default: return FovInverseSlope(cx, cy, L, c + 1.0);
    }
}

double OpeningSlope(int32_t octant, double cx, double cy, double c, double L) {
    switch (octant) {
        case 1: return FovSlope(cx, cy, c, L);
        case 2: return FovSlope(cx, cy, c + 0.9999999, L);
        case 3: return FovInverseSlope(cx, cy, L, c);
        case 4: return FovInverseSlope(cx, cy, L, c + 0.99999);
        case 5: return FovSlope(cx, cy, c, L + 0.99999);
        case 6: return FovSlope(cx, cy, c + 0.99999, L + 0.99999);
        case 7: return FovInverseSlope(cx, cy, L + 0.99999, c);
        default: return FovInverseSlope(cx, cy, L + 0.99999, c + 0.99999);
    }
}

// A drawn tile: present and naming at least one cell.
bool HasDrawnTile(const BranchTileRange* tile) { return tile != nullptr && tile->IsValid(); }

// The box of the squares one sight pass has marked (inclusive; empty while x1 < x0).
struct Extent {
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t x1 = -1;
    int32_t y1 = -1;
    void Add(int32_t x, int32_t y) {
        if (x1 < x0) {
            x0 = x1 = x;
            y0 = y1 = y;
            return;
        }
        if (x < x0) x0 = x;
        if (x > x1) x1 = x;
        if (y < y0) y0 = y;
        if (y > y1) y1 = y;
    }
};

// Marks a square seen for a pass that keeps its own extent; nothing outside the grid. With
// no extent the level's own MarkSquareSeen marks it (and widens the sight box).
void MarkSeen(Level& level, Extent* extent, int32_t x, int32_t y) {
    if (extent == nullptr) {
        level.MarkSquareSeen(x, y);
        return;
    }
    if (!level.IsInside(x, y)) return;
    level.squares[static_cast<size_t>(x) + static_cast<size_t>(y) * static_cast<size_t>(level.width)].flags |=
        kSeenBits;
    extent->Add(x, y);
}

// True when the level's sight box was recorded for its present grid.
bool SightBoxFitsGrid(const Level& level) {
    return level.sightBox.grid == level.squares.data() && level.sightBox.count == level.squares.size();
}

// The shadow-casting scan of one octant (1..8), recursive at every blocking run.
void ScanOctant(Level& level, Extent* extent, int32_t octant, int32_t x, int32_t y, int32_t d0,
                int32_t r, double s, double e) {
    if (d0 > r) return;
    const Octant& o = kOctants[octant - 1];
    double cx = x + 0.5;
    double cy = y + 0.5;
    double along = o.rows ? cx : cy;
    int32_t straight = o.rows ? x : y;
    for (int32_t d = d0; d <= r; ++d) {
        int32_t line = (o.rows ? y : x) + o.lineDir * d;
        int32_t diagonal = straight + o.diagDir * d;
        // Truncation toward zero, as the conversion to an integer does.
        int32_t first = static_cast<int32_t>(along + o.slopeSign * s * d);
        int32_t last = static_cast<int32_t>(along + o.slopeSign * e * d);
        auto squareX = [&](int32_t c) { return o.rows ? c : line; };
        auto squareY = [&](int32_t c) { return o.rows ? line : c; };
        // Squares on the rays are the rays' to mark; a scan only tests them.
        auto markUnlessRay = [&](int32_t c) {
            if (c != diagonal && c != straight) MarkSeen(level, extent, squareX(c), squareY(c));
        };

        markUnlessRay(first);
        bool blocked = level.BlocksSight(squareX(first), squareY(first));
        for (int32_t c = first + o.walk; o.walk > 0 ? c <= last : c >= last; c += o.walk) {
            markUnlessRay(c);
            if (level.BlocksSight(squareX(c), squareY(c))) {
                if (!blocked) {
                    ScanOctant(level, extent, octant, x, y, d + 1, r, s,
                               ClosingSlope(octant, cx, cy, c, line));
                }
                blocked = true;
            } else {
                if (blocked) s = OpeningSlope(octant, cx, cy, c, line);
                blocked = false;
            }
        }
        if (blocked) return;
    }
}

}  // namespace

void SetAfterSightPassHook(SightPassHook hook) { AfterSightPass = hook; }

double FovSlope(double ax, double ay, double bx, double by) {
    if (ay == by) return 0.0;
    return (ax - bx) / (ay - by);
}

double FovInverseSlope(double ax, double ay, double bx, double by) {
    double slope = FovSlope(ax, ay, bx, by);
    if (slope == 0.0) return 0.0;
    return 1.0 / slope;
}

void Level::ClearVisibility() {
    NoteLevelSeenChange(this);
    for (LevelCell& cell : squares) cell.flags &= static_cast<uint8_t>(~kPerTurnBits);
    sightBox = SightBox();
    sightBox.grid = squares.data();
    sightBox.count = squares.size();
}

void Level::MarkSquareSeen(int32_t x, int32_t y) {
    LevelCell* cell = GetCell(x, y);
    if (cell == nullptr) return;
    cell->flags |= kSeenBits;
    NoteLevelSeenChange(this);
    // A box recorded for another grid already stands for the whole level.
    if (!SightBoxFitsGrid(*this)) return;
    Extent box{sightBox.x0, sightBox.y0, sightBox.x1, sightBox.y1};
    box.Add(x, y);
    sightBox.x0 = box.x0;
    sightBox.y0 = box.y0;
    sightBox.x1 = box.x1;
    sightBox.y1 = box.y1;
}

bool Level::BlocksSight(int32_t x, int32_t y) const {
    const LevelCell* cell = GetCell(x, y);
    if (cell == nullptr) return true;
    if (cell->type == SquareType::Wall || cell->type == SquareType::Rock) return true;
    return HasSightBlocker(x, y);
}

void Level::RevealMap() {
    NoteLevelSeenChange(this);
    for (LevelCell& cell : squares) cell.flags |= kSeenBits;
    sightBox.grid = nullptr;  // the whole level
}

void Level::ScanOctant1(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, nullptr, 1, x, y, d0, r, s, e);
}
void Level::ScanOctant2(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, nullptr, 2, x, y, d0, r, s, e);
}
void Level::ScanOctant3(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, nullptr, 3, x, y, d0, r, s, e);
}
void Level::ScanOctant4(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, nullptr, 4, x, y, d0, r, s, e);
}
void Level::ScanOctant5(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, nullptr, 5, x, y, d0, r, s, e);
}
void Level::ScanOctant6(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, nullptr, 6, x, y, d0, r, s, e);
}
void Level::ScanOctant7(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, nullptr, 7, x, y, d0, r, s, e);
}
void Level::ScanOctant8(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, nullptr, 8, x, y, d0, r, s, e);
}

void Level::UpdateFieldOfView(int32_t x, int32_t y, int32_t radius) {
    NoteLevelSeenChange(this);
    // The per-turn bits of the last pass (and of whatever marked squares since) lie in the
    // sight box; everything outside it has none.
    if (SightBoxFitsGrid(*this)) {
        const size_t w = static_cast<size_t>(width);
        for (int32_t sy = sightBox.y0; sy <= sightBox.y1; ++sy) {
            LevelCell* row = squares.data() + static_cast<size_t>(sy) * w;
            for (int32_t sx = sightBox.x0; sx <= sightBox.x1; ++sx) {
                row[sx].flags &= static_cast<uint8_t>(~kPerTurnBits);
            }
        }
    } else {
        for (LevelCell& cell : squares) cell.flags &= static_cast<uint8_t>(~kPerTurnBits);
    }

    Extent marked;
    MarkSeen(*this, &marked, x, y);
    const int32_t r = radius;

    if (r >= 1) {
        int32_t reach[kRayCount];
        for (int32_t ray = 0; ray < kRayCount; ++ray) {
            reach[ray] = r + 1;
            for (int32_t k = 1; k <= r; ++k) {
                int32_t sx = x + kRayDX[ray] * k;
                int32_t sy = y + kRayDY[ray] * k;
                MarkSeen(*this, &marked, sx, sy);
                if (BlocksSight(sx, sy)) {
                    reach[ray] = k;
                    break;
                }
            }
        }
        auto open = [&](Ray a, Ray b) { return reach[a] != 1 || reach[b] != 1; };
        if (open(kN, kNW)) ScanOctant(*this, &marked, 1, x, y, 1, r, 1.0, 0.0);
        if (open(kN, kNE)) ScanOctant(*this, &marked, 2, x, y, 1, r, -1.0, 0.0);
        if (open(kNW, kW)) ScanOctant(*this, &marked, 3, x, y, 1, r, 1.0, 0.0);
        if (open(kSW, kW)) ScanOctant(*this, &marked, 4, x, y, 1, r, -1.0, 0.0);
        if (open(kSW, kS)) ScanOctant(*this, &marked, 5, x, y, 1, r, -1.0, 0.0);
        if (open(kSE, kS)) ScanOctant(*this, &marked, 6, x, y, 1, r, 1.0, 0.0);
        if (open(kNE, kE)) ScanOctant(*this, &marked, 7, x, y, 1, r, -1.0, 0.0);
        if (open(kSE, kE)) ScanOctant(*this, &marked, 8, x, y, 1, r, 1.0, 0.0);
    }

    // Drawing bits. Only squares in sight (all inside the marked box) and visible walls (in
    // sight too) act, each on itself and on the squares just above and below it; seeing a
    // discovered zoo shows every zoo square of the level.
    const size_t w = static_cast<size_t>(width);
    bool zooSeen = false;
    if (ZooDiscovered) {
        for (int32_t sy = marked.y0; sy <= marked.y1 && !zooSeen; ++sy) {
            for (int32_t sx = marked.x0; sx <= marked.x1; ++sx) {
                const LevelCell& cell = squares[static_cast<size_t>(sx) + static_cast<size_t>(sy) * w];
                if (cell.type == SquareType::ZooFloor && cell.HasFlag(SquareFlag::InSight)) {
                    zooSeen = true;
                    break;
                }
            }
        }
    }
    auto top = [&](size_t i) { return i < topTileMap.size() ? topTileMap[i] : nullptr; };
    auto drawsBody = [&](size_t i) {
        return (i < wallTileMap.size() && HasDrawnTile(wallTileMap[i])) ||
               (i < baseTileMap.size() && HasDrawnTile(baseTileMap[i]));
    };
    constexpr uint8_t kShown = SquareFlag::Explored | SquareFlag::Visible;
    constexpr uint8_t kMappedLit = SquareFlag::Lit | SquareFlag::Mapped;
    Extent box = marked;
    if (zooSeen) box = Extent{0, 0, width - 1, height - 1};
    for (int32_t sy = box.y0; sy <= box.y1; ++sy) {
        for (int32_t sx = box.x0; sx <= box.x1; ++sx) {
            const size_t i = static_cast<size_t>(sx) + static_cast<size_t>(sy) * w;
            LevelCell& cell = squares[i];
            if (zooSeen && cell.type == SquareType::ZooFloor) cell.flags |= kShown;
            if (cell.HasFlag(SquareFlag::InSight)) {
                cell.flags |= kShown;
                const bool hasTop = top(i) != nullptr;
                if (hasTop && sy > 0) squares[i - w].flags |= kMappedLit;
                if (hasTop && sy < height - 1 && squares[i + w].type == SquareType::Rock) {
                    cell.flags &= static_cast<uint8_t>(~kShown);
                }
                if (drawsBody(i) && sy >= 2 && top(i - w) != nullptr) squares[i - w].flags |= kMappedLit;
            }
            if (cell.type == SquareType::Wall && cell.HasFlag(SquareFlag::Visible) && sy + 1 < height) {
                LevelCell& below = squares[i + w];
                if (below.type == SquareType::Wall || below.type == SquareType::Rock) below.flags |= kMappedLit;
            }
        }
    }

    // What the next pass has to clear: the box worked on and the rows just above and below.
    sightBox = SightBox();
    if (box.x1 >= box.x0) {
        sightBox.x0 = box.x0;
        sightBox.x1 = box.x1;
        sightBox.y0 = box.y0 > 0 ? box.y0 - 1 : 0;
        sightBox.y1 = box.y1 < height - 1 ? box.y1 + 1 : height - 1;
    }
    sightBox.grid = squares.data();
    sightBox.count = squares.size();

    if (AfterSightPass != nullptr) AfterSightPass();
}

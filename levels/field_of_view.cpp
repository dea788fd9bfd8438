#include "levels/field_of_view.h"

#include "creatures/player.h"
#include "levels/branch_db.h"
#include "levels/level.h"

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

// The shadow-casting scan of one octant (1..8), recursive at every blocking run.
void ScanOctant(Level& level, int32_t octant, int32_t x, int32_t y, int32_t d0, int32_t r,
                double s, double e) {
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
            if (c != diagonal && c != straight) level.MarkSquareSeen(squareX(c), squareY(c));
        };

        markUnlessRay(first);
        bool blocked = level.BlocksSight(squareX(first), squareY(first));
        for (int32_t c = first + o.walk; o.walk > 0 ? c <= last : c >= last; c += o.walk) {
            markUnlessRay(c);
            if (level.BlocksSight(squareX(c), squareY(c))) {
                if (!blocked) {
                    ScanOctant(level, octant, x, y, d + 1, r, s,
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

int32_t ComputeSightRadius(const Player* hero) {
    if (hero == nullptr) return kBaseSightRadius;
    int32_t radius = kBaseSightRadius;
    for (int32_t slot = 0; slot < kBuildSkillCount; ++slot) {
        if (hero->skills[slot] != kFarSightSkillCode) continue;
        if (hero->skillLevels[slot] != 0) radius = kFarSightRadius;
        break;  // only the first slot holding the code counts
    }
    for (const Buff* buff : hero->buffs) {
        if (buff != nullptr) radius += buff->secondaryMods[kStatSight];
    }
    return radius;
}

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
    for (LevelCell& cell : squares) cell.flags &= static_cast<uint8_t>(~kPerTurnBits);
}

void Level::MarkSquareSeen(int32_t x, int32_t y) {
    LevelCell* cell = GetCell(x, y);
    if (cell != nullptr) cell->flags |= kSeenBits;
}

bool Level::BlocksSight(int32_t x, int32_t y) const {
    const LevelCell* cell = GetCell(x, y);
    if (cell == nullptr) return true;
    if (cell->type == SquareType::Wall || cell->type == SquareType::Rock) return true;
    return HasSightBlocker(x, y);
}

void Level::RevealMap() {
    for (int32_t x = 0; x < width; ++x) {
        for (int32_t y = 0; y < height; ++y) MarkSquareSeen(x, y);
    }
}

void Level::ScanOctant1(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, 1, x, y, d0, r, s, e);
}
void Level::ScanOctant2(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, 2, x, y, d0, r, s, e);
}
void Level::ScanOctant3(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, 3, x, y, d0, r, s, e);
}
void Level::ScanOctant4(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, 4, x, y, d0, r, s, e);
}
void Level::ScanOctant5(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, 5, x, y, d0, r, s, e);
}
void Level::ScanOctant6(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, 6, x, y, d0, r, s, e);
}
void Level::ScanOctant7(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, 7, x, y, d0, r, s, e);
}
void Level::ScanOctant8(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e) {
    ScanOctant(*this, 8, x, y, d0, r, s, e);
}

void Level::UpdateFieldOfView(int32_t x, int32_t y) {
    ClearVisibility();
    MarkSquareSeen(x, y);
    int32_t r = ComputeSightRadius(CurrentPlayer);

    if (r >= 1) {
        int32_t reach[kRayCount];
        for (int32_t ray = 0; ray < kRayCount; ++ray) {
            reach[ray] = r + 1;
            for (int32_t k = 1; k <= r; ++k) {
                int32_t sx = x + kRayDX[ray] * k;
                int32_t sy = y + kRayDY[ray] * k;
                MarkSquareSeen(sx, sy);
                if (BlocksSight(sx, sy)) {
                    reach[ray] = k;
                    break;
                }
            }
        }
        auto open = [&](Ray a, Ray b) { return reach[a] != 1 || reach[b] != 1; };
        if (open(kN, kNW)) ScanOctant1(x, y, 1, r, 1.0, 0.0);
        if (open(kN, kNE)) ScanOctant2(x, y, 1, r, -1.0, 0.0);
        if (open(kNW, kW)) ScanOctant3(x, y, 1, r, 1.0, 0.0);
        if (open(kSW, kW)) ScanOctant4(x, y, 1, r, -1.0, 0.0);
        if (open(kSW, kS)) ScanOctant5(x, y, 1, r, -1.0, 0.0);
        if (open(kSE, kS)) ScanOctant6(x, y, 1, r, 1.0, 0.0);
        if (open(kNE, kE)) ScanOctant7(x, y, 1, r, -1.0, 0.0);
        if (open(kSE, kE)) ScanOctant8(x, y, 1, r, 1.0, 0.0);
    }

    // Drawing bits.
    bool zooSeen = false;
    if (ZooDiscovered) {
        for (const LevelCell& cell : squares) {
            if (cell.type == SquareType::ZooFloor && cell.HasFlag(SquareFlag::InSight)) {
                zooSeen = true;
                break;
            }
        }
    }
    constexpr uint8_t kShown = SquareFlag::Explored | SquareFlag::Visible;
    constexpr uint8_t kMappedLit = SquareFlag::Lit | SquareFlag::Mapped;
    for (int32_t sx = 0; sx < width; ++sx) {
        for (int32_t sy = 0; sy < height; ++sy) {
            LevelCell& cell = squares[static_cast<size_t>(sx) + static_cast<size_t>(sy) * width];
            if (zooSeen && cell.type == SquareType::ZooFloor) cell.flags |= kShown;
            if (cell.HasFlag(SquareFlag::InSight)) {
                cell.flags |= kShown;
                bool hasTop = TopTile(sx, sy) != nullptr;
                if (hasTop && sy > 0) GetCell(sx, sy - 1)->flags |= kMappedLit;
                if (hasTop && sy < height - 1 && GetCell(sx, sy + 1)->type == SquareType::Rock) {
                    cell.flags &= static_cast<uint8_t>(~kShown);
                }
                bool drawsBody = HasDrawnTile(WallTile(sx, sy)) || HasDrawnTile(BaseTile(sx, sy));
                if (drawsBody && sy >= 2 && TopTile(sx, sy - 1) != nullptr) {
                    GetCell(sx, sy - 1)->flags |= kMappedLit;
                }
            }
            if (cell.type == SquareType::Wall && cell.HasFlag(SquareFlag::Visible) &&
                sy + 1 < height) {
                LevelCell* below = GetCell(sx, sy + 1);
                if (below->type == SquareType::Wall || below->type == SquareType::Rock) {
                    below->flags |= kMappedLit;
                }
            }
        }
    }

    if (AfterSightPass != nullptr) AfterSightPass();
}

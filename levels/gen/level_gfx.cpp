#include "levels/gen/level_gfx.h"

#include <cstdio>
#include <vector>

#include "core/random.h"
#include "levels/branch_db.h"
#include "levels/level.h"

namespace {

const char* const kTileNames[static_cast<int>(LevelTile::Count)] = {
    "",
    "wall", "wall_l", "wall_r", "wall_lr", "stairsup", "stairsdown",
    "top_c", "top_allfour", "top_cup_lur", "top_cup_dlu", "top_cup_dru", "top_cup_ldr",
    "top_adj_ul", "top_adj_ur", "top_adj_dr", "top_adj_dl", "top_ul", "top_ur", "top_dr", "top_dl",
    "top_l_add_ud", "top_r_add_ud", "top_u_add_lr", "top_d_add_lr", "top_lr", "top_ud",
    "top_r_add_u", "top_r_add_d", "top_l_add_u", "top_l_add_d", "top_u_add_r", "top_u_add_l",
    "top_d_add_r", "top_d_add_l",
    "top_u", "top_r", "top_d", "top_l",
    "top_dia_ul_ur", "top_dia_ur_dr", "top_dia_ul_dl", "top_dia_dl_dr", "top_dia_ul",
    "top_dia_ur", "top_dia_dl", "top_dia_dr",
    "water", "water_vert_cap_t", "water_vert_cap_b", "water_horiz_cap_l", "water_horiz_cap_r",
    "water_horiz", "water_vert",
    "water_cap_corner_dr", "water_cap_corner_dl", "water_cap_corner_ur", "water_cap_corner_ul",
    "water_r", "water_l", "water_u", "water_d", "water_ul", "water_ur", "water_dl", "water_dr",
    "water_corner_ul", "water_corner_ur", "water_corner_dl", "water_corner_dr",
    "water_corner_ul_dl", "water_corner_ur_dr", "water_corner_ul_ur", "water_corner_dl_dr",
    "water_l_ur_dr", "water_r_ul_dl", "water_d_ul_ur", "water_u_dl_dr", "water_l_ur", "water_l_dr",
    "fluid_water", "fluid_ice", "fluid_lava", "fluid_goo",
};

// The plain tile of a tile's family, used when the branch lacks the variant.
LevelTile FamilyOf(LevelTile tile) {
    const int t = static_cast<int>(tile);
    if (t >= static_cast<int>(LevelTile::WallL) && t <= static_cast<int>(LevelTile::WallLR)) {
        return LevelTile::Wall;
    }
    if (t > static_cast<int>(LevelTile::TopC) && t <= static_cast<int>(LevelTile::TopDiaDR)) {
        return LevelTile::TopC;
    }
    if (t > static_cast<int>(LevelTile::Water) && t <= static_cast<int>(LevelTile::WaterLDR)) {
        return LevelTile::Water;
    }
    return LevelTile::None;
}

bool All(uint8_t mask, uint8_t bits) { return (mask & bits) == bits; }

// A uniformly chosen entry of a tile list (C generator), or null for an empty list.
BranchTileRange* PickUniform(std::vector<BranchTileRange>& list) {
    if (list.empty()) return nullptr;
    int32_t index = RandomInt(static_cast<int32_t>(list.size()));
    if (index < 0 || index >= static_cast<int32_t>(list.size())) index = 0;
    return &list[static_cast<size_t>(index)];
}

}  // namespace

const char* LevelTileName(LevelTile tile) {
    const int t = static_cast<int>(tile);
    if (t < 0 || t >= static_cast<int>(LevelTile::Count)) return "";
    return kTileNames[t];
}

LevelTile TopTileForOpenNeighbours(uint8_t o) {
    using namespace Neighbour;
    const bool openU = (o & U) != 0, openD = (o & D) != 0, openL = (o & L) != 0,
               openR = (o & R) != 0;
    if (All(o, L | R | U | D)) return LevelTile::TopAllFour;
    if (All(o, L | R | U)) return LevelTile::TopCupLUR;
    if (All(o, D | L | U)) return LevelTile::TopCupDLU;
    if (All(o, D | R | U)) return LevelTile::TopCupDRU;
    if (All(o, L | D | R)) return LevelTile::TopCupLDR;
    if (All(o, UL | U | L | DR)) return LevelTile::TopAdjUL;
    if (All(o, U | UR | R | DL)) return LevelTile::TopAdjUR;
    if (All(o, D | DR | R | UL)) return LevelTile::TopAdjDR;
    if (All(o, DL | D | L | UR)) return LevelTile::TopAdjDL;
    if (All(o, UL | U | L)) return LevelTile::TopUL;
    if (All(o, U | UR | R)) return LevelTile::TopUR;
    if (All(o, D | DR | R)) return LevelTile::TopDR;
    if (All(o, DL | D | L)) return LevelTile::TopDL;
    if (All(o, L | UR | DR) && !openR) return openD ? LevelTile::TopAdjDL : LevelTile::TopLAddUD;
    if (All(o, R | UL | DL) && !openL) return openD ? LevelTile::TopAdjDR : LevelTile::TopRAddUD;
    if (All(o, U | DR | DL) && !openD) return LevelTile::TopUAddLR;
    if (All(o, D | UR | UL) && !openU) return LevelTile::TopDAddLR;
    if (All(o, L | R)) return LevelTile::TopLR;
    if (All(o, U | D)) return LevelTile::TopUD;
    if (All(o, R | UL)) return LevelTile::TopRAddU;
    if (All(o, R | DL)) return openD ? LevelTile::TopDR : LevelTile::TopRAddD;
    if (All(o, L | UR)) return LevelTile::TopLAddU;
    if (All(o, L | DR)) return openD ? LevelTile::TopDL : LevelTile::TopLAddD;
    if (All(o, U | DR)) return LevelTile::TopUAddR;
    if (All(o, U | DL)) return LevelTile::TopUAddL;
    if (All(o, D | UR)) return openR ? LevelTile::TopDR : LevelTile::TopDAddR;
    if (All(o, D | UL)) return LevelTile::TopDAddL;
    if (All(o, R | D) && (o & DR) == 0) return LevelTile::TopDR;
    if (All(o, L | DL | D)) return LevelTile::TopDL;
    if (openU) return LevelTile::TopU;
    if (openL) return LevelTile::TopL;
    if (openR) return LevelTile::TopR;
    if (openD) return LevelTile::TopD;
    if (All(o, UL | UR)) return LevelTile::TopDiaULUR;
    if (All(o, UR | DR)) return LevelTile::TopDiaURDR;
    if (All(o, UL | DL)) return LevelTile::TopDiaULDL;
    if (All(o, DL | DR)) return LevelTile::TopDiaDLDR;
    if (o & UL) return LevelTile::TopDiaUL;
    if (o & UR) return LevelTile::TopDiaUR;
    if (o & DL) return LevelTile::TopDiaDL;
    if (o & DR) return LevelTile::TopDiaDR;
    return LevelTile::TopC;
}

LiquidEdgeTiles LiquidTilesForDryNeighbours(uint8_t d) {
    using namespace Neighbour;
    using T = LevelTile;
    const bool dryU = (d & U) != 0, dryD = (d & D) != 0, dryL = (d & L) != 0,
               dryR = (d & R) != 0, dryUL = (d & UL) != 0, dryUR = (d & UR) != 0,
               dryDL = (d & DL) != 0, dryDR = (d & DR) != 0;
    auto one = [](T base) { return LiquidEdgeTiles{base, T::None}; };
    auto two = [](T base, T second) { return LiquidEdgeTiles{base, second}; };

    if (All(d, L | R | U)) return one(T::WaterVertCapT);
    if (All(d, L | R | D)) return one(T::WaterVertCapB);
    if (All(d, U | D | L)) return one(T::WaterHorizCapL);
    if (All(d, U | D | R)) return one(T::WaterHorizCapR);
    if (All(d, UL | U | UR | D)) return one(T::WaterHoriz);
    if (All(d, DL | D | DR | U)) return one(T::WaterHoriz);
    if (All(d, L | UL | DL | R)) return one(T::WaterVert);
    if (All(d, R | UR | DR | L)) return one(T::WaterVert);
    if (All(d, UL | U | L | DR)) return one(T::WaterCapCornerDR);
    if (All(d, U | UR | R | DL)) return one(T::WaterCapCornerDL);
    if (All(d, DL | D | L | UR)) return one(T::WaterCapCornerUR);
    if (All(d, D | DR | R | UL)) return one(T::WaterCapCornerUL);
    if (All(d, UR | R | DR | UL | DL)) return two(T::WaterR, T::WaterCornerULDL);
    if (All(d, UL | L | DL | UR | DR)) return two(T::WaterL, T::WaterCornerURDR);
    if (All(d, DL | D | DR | UR)) return dryR ? one(T::WaterDR) : two(T::WaterD, T::WaterCornerUR);
    if (All(d, UL | U | UR | DL)) {
        return two(dryL ? T::WaterUL : T::WaterU, dryDR ? T::WaterCornerDLDR : T::WaterCornerDL);
    }
    if (All(d, UL | U | UR | DR)) return two(dryR ? T::WaterUR : T::WaterU, T::WaterCornerDR);
    if (All(d, DL | D | DR | UL)) {
        if (dryL) return one(T::WaterDL);  // the wall layer is cleared
        return two(T::WaterD, dryUR ? T::WaterCornerULUR : T::WaterCornerUL);
    }
    if (All(d, UR | R | DR | UL)) return two(T::WaterR, T::WaterCornerUL);
    if (All(d, UL | L | DL | UR)) return two(T::WaterL, T::WaterCornerUR);
    if (All(d, U | UL | L)) return one(T::WaterUL);
    if (All(d, U | UR | R)) return one(T::WaterUR);
    if (All(d, R | DR | D)) return one(T::WaterDR);
    if (All(d, L | DL | D)) return one(T::WaterDL);
    if (All(d, L | UR | DR)) return one(T::WaterLURDR);
    if (All(d, R | UL | DL)) return one(T::WaterRULDL);
    if (All(d, D | UL | UR)) return one(T::WaterDULUR);
    if (All(d, U | DL | DR)) return one(T::WaterUDLDR);
    if (All(d, L | R)) return one(T::WaterVert);
    if (All(d, U | D)) return one(T::WaterHoriz);
    if (All(d, L | UR)) return one(T::WaterLUR);
    if (All(d, L | DR)) return one(T::WaterLDR);
    if (All(d, U | UR | DR)) return two(T::WaterU, T::WaterCornerURDR);
    if (All(d, UL | UR | R) && !dryU) return two(T::WaterR, T::WaterCornerUL);
    if (All(d, UL | UR) && !dryU) {
        T second = T::None;
        if (dryDL && dryDR) {
            second = T::WaterCornerDLDR;
        } else if (dryDL) {
            second = T::WaterCornerDL;
        } else if (dryDR) {
            second = T::WaterCornerDR;
        }
        return two(T::WaterCornerULUR, second);
    }
    if (All(d, DL | DR) && !dryD) {
        if (dryR) return two(T::WaterR, T::WaterCornerDLDR);
        return two(T::WaterCornerDLDR, dryUR ? T::WaterCornerUR : T::None);
    }
    if (All(d, DL | UL) && !dryL) {
        if (dryU) return two(T::WaterU, T::WaterCornerDL);
        return one(T::WaterCornerULDL);
    }
    if (All(d, DR | UR) && !dryR) return one(T::WaterCornerURDR);
    if (!dryU && dryD) return two(T::WaterD, dryUR ? T::WaterCornerUR : T::None);
    if (!dryU && !dryD && !dryL && !dryR) {
        if (dryUL) return one(T::WaterCornerUL);
        if (dryUR) return one(T::WaterCornerUR);
        if (dryDL) return one(T::WaterCornerDL);
        if (dryDR) return one(T::WaterCornerDR);
        return one(T::Water);
    }
    if (!dryU && !dryD && !dryL) {  // so R is dry
        T second = T::None;
        if (dryDL && dryUL) {
            second = T::WaterCornerULDL;
        } else if (dryDL) {
            second = T::WaterCornerDL;
        } else if (dryUL) {
            second = T::WaterCornerUL;
        }
        return two(T::WaterR, second);
    }
    if (!dryU && !dryD) return one(T::WaterL);  // L is dry
    // Every remaining case has U dry.
    T second = T::None;
    if (dryDR && dryDL) {
        second = T::WaterCornerDLDR;
    } else if (dryDR) {
        second = T::WaterCornerDR;
    } else if (dryDL) {
        second = T::WaterCornerDL;
    }
    return two(T::WaterU, second);
}

LevelTileSet::LevelTileSet(BranchRecord* record) : branch(record) {
    if (branch == nullptr) return;
    for (int t = 1; t < static_cast<int>(LevelTile::Count); ++t) {
        BranchTileRange* tile = branch->FindTile(kTileNames[t]);
        // A tile naming no cells would be drawn from outside the tileset.
        if (tile != nullptr && !tile->IsValid()) tile = nullptr;
        tiles[t] = tile;
    }
    for (int t = 1; t < static_cast<int>(LevelTile::Count); ++t) {
        if (tiles[t] == nullptr) {
            LevelTile family = FamilyOf(static_cast<LevelTile>(t));
            if (family != LevelTile::None) tiles[t] = tiles[static_cast<int>(family)];
        }
    }
}

namespace {

// Rule answers for every neighbour mask, worked out once.
struct MaskTables {
    LevelTile top[256];
    LiquidEdgeTiles liquid[256];
    MaskTables() {
        for (int m = 0; m < 256; ++m) {
            top[m] = TopTileForOpenNeighbours(static_cast<uint8_t>(m));
            liquid[m] = LiquidTilesForDryNeighbours(static_cast<uint8_t>(m));
        }
    }
};

const MaskTables& Tables() {
    static const MaskTables tables;
    return tables;
}

// The bits of the eight neighbours of padded cell p (rows of `pitch` cells) whose byte in
// `grid` is not 0.
uint8_t GridMask(const std::vector<uint8_t>& grid, size_t p, size_t pitch) {
    using namespace Neighbour;
    uint8_t mask = 0;
    if (grid[p - pitch]) mask |= U;
    if (grid[p + pitch]) mask |= D;
    if (grid[p - 1]) mask |= L;
    if (grid[p + 1]) mask |= R;
    if (grid[p - pitch - 1]) mask |= UL;
    if (grid[p - pitch + 1]) mask |= UR;
    if (grid[p + pitch - 1]) mask |= DL;
    if (grid[p + pitch + 1]) mask |= DR;
    return mask;
}

// The graphics pass over one clamped region. The square kinds of the region and a ring of
// one square round it are copied into a compact grid first (kOutside beyond the level's
// edge), so the passes read bytes in a row instead of whole squares.
class GfxPass {
public:
    GfxPass(Level& level, const LevelTileSet& set, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
        : lv(level), tiles(set), x0(x0), y0(y0), x1(x1), y1(y1),
          pitch(static_cast<size_t>(x1 - x0 + 2)), kinds(pitch * static_cast<size_t>(y1 - y0 + 2)) {
        for (int32_t y = y0 - 1; y <= y1; ++y) {
            for (int32_t x = x0 - 1; x <= x1; ++x) {
                kinds[Padded(x, y)] = lv.IsInside(x, y) ? lv.squares[Index(x, y)].type : kOutside;
            }
        }
    }

    void Run() {
        ClearRegion();
        if (tiles.branch == nullptr) return;
        BasePass();
        WallFacePass();
        TopPasses();
        LiquidEdgePass();
    }

private:
    static constexpr uint8_t kOutside = 0xFF;

    size_t Index(int32_t x, int32_t y) const {
        return static_cast<size_t>(x) + static_cast<size_t>(y) * static_cast<size_t>(lv.width);
    }
    // Cell of the compact grid for a square of the region or of the ring round it.
    size_t Padded(int32_t x, int32_t y) const {
        return static_cast<size_t>(x - x0 + 1) + static_cast<size_t>(y - y0 + 1) * pitch;
    }
    // Kind of (x, y) as Level::SquareKind answers it (-1 outside the level).
    int32_t Kind(int32_t x, int32_t y) const {
        const uint8_t k = kinds[Padded(x, y)];
        return k == kOutside ? -1 : k;
    }
    BranchTileRange* Tile(LevelTile t) const { return tiles.Get(t); }
    bool IsWallAt(int32_t x, int32_t y) const { return Kind(x, y) == SquareType::Wall; }

    void ClearRegion() {
        for (int32_t y = y0; y < y1; ++y) {
            for (int32_t x = x0; x < x1; ++x) {
                const size_t i = Index(x, y);
                lv.baseTileMap[i] = nullptr;
                lv.wallTileMap[i] = nullptr;
                lv.topTileMap[i] = nullptr;
            }
        }
    }

    void BasePass() {
        BranchRecord& branch = *tiles.branch;
        for (int32_t x = x0; x < x1; ++x) {
            for (int32_t y = y0; y < y1; ++y) {
                const size_t i = Index(x, y);
                switch (Kind(x, y)) {
                    case SquareType::Floor:
                    case SquareType::FloorVariant:
                    case SquareType::Door:
                    case SquareType::ShopFloor:
                    case SquareType::ZooFloor:
                        lv.baseTileMap[i] = PickUniform(branch.floors);
                        break;
                    case SquareType::Wall:
                        lv.wallTileMap[i] = Tile(LevelTile::Wall);
                        if (MTOneChanceIn(4) && !branch.wallDecor.empty()) {
                            lv.wallTileMap[i] = PickUniform(branch.wallDecor);
                        }
                        break;
                    case SquareType::StairsUp:
                        lv.baseTileMap[i] = Tile(LevelTile::StairsUp);
                        break;
                    case SquareType::StairsDown:
                        lv.baseTileMap[i] = Tile(LevelTile::StairsDown);
                        break;
                    case SquareType::Water:
                    case SquareType::Lava:
                    case SquareType::Goo:
                    case SquareType::Ice:
                        lv.baseTileMap[i] = Tile(LevelTile::Water);
                        break;
                    default:
                        break;
                }
            }
        }
    }

    void WallFacePass() {
        BranchRecord& branch = *tiles.branch;
        for (int32_t x = x0; x < x1; ++x) {
            for (int32_t y = y1 - 1; y >= y0; --y) {
                const size_t i = Index(x, y);
                if (lv.wallTileMap[i] == nullptr) continue;
                if (y == 0) {
                    lv.wallTileMap[i] = Tile(LevelTile::Wall);
                    continue;
                }
                if (lv.baseTileMap[Index(x, y - 1)] != nullptr) continue;
                lv.wallTileMap[i] = nullptr;
                const int32_t below = Kind(x, y + 1);
                if (y < lv.height - 2 && (below == SquareType::Wall || below == SquareType::Rock)) {
                    continue;
                }
                // The square shows its front face.
                lv.baseTileMap[i] = Tile(LevelTile::Wall);
                if ((MTRandom32() >> 30) == 0 && !branch.wallDecor.empty()) {
                    lv.baseTileMap[i] = PickUniform(branch.wallDecor);
                }
                if (x > 0 && x < lv.width) {
                    // The right neighbour exists only left of the last column; the edge of
                    // the grid counts as no wall.
                    const bool wallLeft = IsWallAt(x - 1, y);
                    const bool wallRight = x < lv.width - 1 && IsWallAt(x + 1, y);
                    if (!wallLeft && !wallRight) {
                        lv.baseTileMap[i] = Tile(LevelTile::WallLR);
                    } else if (!wallLeft) {
                        lv.baseTileMap[i] = Tile(LevelTile::WallL);
                    } else if (!wallRight) {
                        lv.baseTileMap[i] = Tile(LevelTile::WallR);
                    }
                }
            }
        }
    }

    void TopPasses() {
        BranchTileRange* topC = Tile(LevelTile::TopC);
        for (int32_t y = y0; y < y1; ++y) {
            for (int32_t x = x0; x < x1; ++x) {
                const size_t i = Index(x, y);
                if (lv.baseTileMap[i] == nullptr) lv.topTileMap[i] = topC;
            }
        }
        if (topC == nullptr) return;
        // Open: inside the level and without a top. The variants below only swap one top
        // for another, so what is open stays the same while they are chosen.
        std::vector<uint8_t> open(kinds.size(), 0);
        for (int32_t y = y0 - 1; y <= y1; ++y) {
            for (int32_t x = x0 - 1; x <= x1; ++x) {
                open[Padded(x, y)] = lv.IsInside(x, y) && lv.topTileMap[Index(x, y)] == nullptr ? 1 : 0;
            }
        }
        const MaskTables& rules = Tables();
        for (int32_t y = y0; y < y1; ++y) {
            for (int32_t x = x0; x < x1; ++x) {
                const size_t i = Index(x, y);
                if (lv.topTileMap[i] == nullptr) continue;
                BranchTileRange* tile = Tile(rules.top[GridMask(open, Padded(x, y), pitch)]);
                if (tile != nullptr) lv.topTileMap[i] = tile;
            }
        }
    }

    void LiquidEdgePass() {
        // Dry: beyond the level's edge, or not of a liquid kind.
        std::vector<uint8_t> dry(kinds.size(), 0);
        bool anyLiquid = false;
        for (size_t p = 0; p < kinds.size(); ++p) {
            const bool liquid = kinds[p] != kOutside && IsLiquidSquareType(kinds[p]);
            dry[p] = liquid ? 0 : 1;
            anyLiquid = anyLiquid || liquid;
        }
        if (!anyLiquid) return;
        const MaskTables& rules = Tables();
        for (int32_t x = x0; x < x1; ++x) {
            for (int32_t y = y0; y < y1; ++y) {
                if (dry[Padded(x, y)] != 0) continue;
                const LiquidEdgeTiles chosen = rules.liquid[GridMask(dry, Padded(x, y), pitch)];
                const size_t i = Index(x, y);
                lv.baseTileMap[i] = Tile(chosen.base);
                lv.wallTileMap[i] = Tile(chosen.second);
            }
        }
    }

    Level& lv;
    const LevelTileSet& tiles;
    const int32_t x0, y0, x1, y1;
    const size_t pitch;          // cells per row of the compact grid
    std::vector<uint8_t> kinds;  // square kinds of the region and its ring
};

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

void GenLevelGFXRep(Level* level, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    if (level == nullptr) return;
    level->EnsureSquareMaps();
    x0 = Clamp(x0, 0, level->width);
    y0 = Clamp(y0, 0, level->height);
    x1 = Clamp(x1, 0, level->width);
    y1 = Clamp(y1, 0, level->height);
    if (x0 >= x1 || y0 >= y1) return;
    const LevelTileSet tiles(level->GetBranchRecord());
    GfxPass(*level, tiles, x0, y0, x1, y1).Run();
}

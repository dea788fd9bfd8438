#pragma once
// The level's picture: which tile of the branch's tileset every square shows, in three
// layers (base: floors, stairs, liquids and wall faces; wall: the wall body and liquid
// corners; top: the flat tops of walls and rock seen from above).
//
// The layers are worked out once per level (and again over a region when squares change
// kind); drawing (levels/level_draw.h) only paints them.
#include <cstdint>

class Level;
struct BranchRecord;
struct BranchTileRange;

// Every named tile the graphics pass asks the branch for.
enum class LevelTile : uint8_t {
    None = 0,
    Wall, WallL, WallR, WallLR, StairsUp, StairsDown,
    TopC, TopAllFour, TopCupLUR, TopCupDLU, TopCupDRU, TopCupLDR,
    TopAdjUL, TopAdjUR, TopAdjDR, TopAdjDL, TopUL, TopUR, TopDR, TopDL,
    TopLAddUD, TopRAddUD, TopUAddLR, TopDAddLR, TopLR, TopUD,
    TopRAddU, TopRAddD, TopLAddU, TopLAddD, TopUAddR, TopUAddL, TopDAddR, TopDAddL,
    TopU, TopR, TopD, TopL,
    TopDiaULUR, TopDiaURDR, TopDiaULDL, TopDiaDLDR, TopDiaUL, TopDiaUR, TopDiaDL, TopDiaDR,
    Water, WaterVertCapT, WaterVertCapB, WaterHorizCapL, WaterHorizCapR, WaterHoriz, WaterVert,
    WaterCapCornerDR, WaterCapCornerDL, WaterCapCornerUR, WaterCapCornerUL,
    WaterR, WaterL, WaterU, WaterD, WaterUL, WaterUR, WaterDL, WaterDR,
    WaterCornerUL, WaterCornerUR, WaterCornerDL, WaterCornerDR,
    WaterCornerULDL, WaterCornerURDR, WaterCornerULUR, WaterCornerDLDR,
    WaterLURDR, WaterRULDL, WaterDULUR, WaterUDLDR, WaterLUR, WaterLDR,
    FluidWater, FluidIce, FluidLava, FluidGoo,
    Count
};

// The tile's name in the branch's tile map ("" for None).
const char* LevelTileName(LevelTile tile);

// The eight neighbours of a square as bits of a mask.
namespace Neighbour {
enum : uint8_t {
    U = 0x01,
    D = 0x02,
    L = 0x04,
    R = 0x08,
    UL = 0x10,
    UR = 0x20,
    DL = 0x40,
    DR = 0x80,
};
}  // namespace Neighbour

// The top-layer variant of a square whose open neighbours (inside the grid and without a
// top tile) are the bits of `open`: the first matching rule wins; TopC when none matches.
LevelTile TopTileForOpenNeighbours(uint8_t open);

// What the liquid-edge rules give a liquid square: `base` goes into the base layer and
// `second` into the wall layer (None: the wall layer holds nothing).
struct LiquidEdgeTiles {
    LevelTile base = LevelTile::Water;
    LevelTile second = LevelTile::None;
};
// The liquid-edge tiles of a liquid square whose dry neighbours (outside the grid or not of
// a liquid kind) are the bits of `dry`: the first matching rule wins.
LiquidEdgeTiles LiquidTilesForDryNeighbours(uint8_t dry);

// The branch's tiles looked up by name once, for a whole pass or frame. A name the branch
// lacks falls back to the plain tile of its family (a wall face to "wall", a top variant to
// "top_c", a liquid edge to "water"), so a square is never left blank because of one missing
// variant; a missing family tile stays null.
struct LevelTileSet {
    explicit LevelTileSet(BranchRecord* branch);
    BranchTileRange* Get(LevelTile tile) const { return tiles[static_cast<int>(tile)]; }

    BranchRecord* branch = nullptr;
    BranchTileRange* tiles[static_cast<int>(LevelTile::Count)] = {};
};

// Rebuilds the three tile layers of the squares x0 <= x < x1, y0 <= y < y1. The bounds are
// clamped to the grid (negative ones become 0, ones past the edge the width or height), so
// callers may pass a region larger than the level. Creates the per-square maps that are
// still missing. A level without a branch record gets empty layers over the region.
void GenLevelGFXRep(Level* level, int32_t x0, int32_t y0, int32_t x1, int32_t y1);

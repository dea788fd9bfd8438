#pragma once
// A branch made in the test for the level graphics tests: every tile name the graphics pass
// asks for, laid out like our tilesets (row 0 tops, row 1 walls and stairs, row 2 liquid
// edges, row 3 floors; 8 cells of 64 pixels across), with a tileset picture whose rows have
// one flat colour each. The branch table is swapped out while it lives.
#include <SDL.h>

#include <string>
#include <vector>

#include "levels/branch_db.h"
#include "levels/gen/level_gfx.h"
#include "media/image.h"

namespace gfxtest {

constexpr int kCell = 64;
// Flat colours of the tileset rows and of the liquid sheet rows.
constexpr Uint32 kTopColour = 0xD8D8C0;
constexpr Uint32 kWallColour = 0xC06020;
constexpr Uint32 kLiquidEdgeColour = 0x2050D0;
constexpr Uint32 kFloorColour = 0x40A040;
constexpr Uint32 kSheetColours[4] = {0xA0E0FF, 0xFF5010, 0x1030A0, 0x70C030};  // ice lava water goo

inline SDL_Surface* MakeRgbSurface(int w, int h) {
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
}

inline void FillCell(SDL_Surface* s, int cx, int cy, Uint32 rgb) {
    SDL_Rect r;
    r.x = static_cast<Sint16>(cx * kCell);
    r.y = static_cast<Sint16>(cy * kCell);
    r.w = kCell;
    r.h = kCell;
    SDL_FillRect(s, &r, SDL_MapRGB(s->format, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
}

inline Uint32 PixelRgb(SDL_Surface* s, int x, int y) {
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * 4;
    Uint32 pixel = *reinterpret_cast<const Uint32*>(p);
    Uint8 r, g, b;
    SDL_GetRGB(pixel, s->format, &r, &g, &b);
    return (Uint32(r) << 16) | (Uint32(g) << 8) | b;
}

class TestBranch {
public:
    explicit TestBranch(bool withDecor = false, int32_t id = 7) {
        saved_ = Branches;
        Branches.clear();
        record_ = new BranchRecord();
        record_->id = id;
        record_->name = "testbranch";
        record_->minDepth = 0;
        record_->maxDepth = 100;
        for (int t = 1; t < static_cast<int>(LevelTile::Count); ++t) {
            const std::string name = LevelTileName(static_cast<LevelTile>(t));
            int row = 2;
            if (name.compare(0, 4, "top_") == 0) row = 0;
            if (name.compare(0, 4, "wall") == 0 || name.compare(0, 6, "stairs") == 0) row = 1;
            BranchTileRange tile;
            tile.startX = tile.endX = t % 8;
            tile.startY = tile.endY = row;
            if (name.compare(0, 6, "fluid_") == 0) {
                tile.startX = tile.endX = 0;
                tile.numframes = 8;
                tile.skip = 1;
            }
            record_->tiles[name] = tile;
        }
        for (int i = 0; i < 3; ++i) {
            BranchTileRange floor;
            floor.startX = floor.endX = i;
            floor.startY = floor.endY = 3;
            record_->floors.push_back(floor);
        }
        if (withDecor) {
            BranchTileRange decor;
            decor.startX = decor.endX = 4;
            decor.startY = decor.endY = 1;
            record_->wallDecor.push_back(decor);
        }
        SDL_Surface* tileset = MakeRgbSurface(8 * kCell, 4 * kCell);
        const Uint32 rows[4] = {kTopColour, kWallColour, kLiquidEdgeColour, kFloorColour};
        for (int cy = 0; cy < 4; ++cy)
            for (int cx = 0; cx < 8; ++cx) FillCell(tileset, cx, cy, rows[cy]);
        record_->tilesetImage = new ImageRecord();
        record_->tilesetImage->surface = tileset;
        Branches.push_back(record_);
    }
    ~TestBranch() {
        ClearBranches();
        Branches = saved_;
    }
    TestBranch(const TestBranch&) = delete;
    TestBranch& operator=(const TestBranch&) = delete;

    BranchRecord* record() const { return record_; }

    // The name under which the branch holds this tile ("floor", "wallDecor", a tile name),
    // "" for null and "?" for a tile the branch does not hold.
    std::string NameOf(const BranchTileRange* tile) const {
        if (tile == nullptr) return "";
        for (auto& entry : record_->tiles)
            if (&entry.second == tile) return entry.first;
        for (auto& floor : record_->floors)
            if (&floor == tile) return "floor";
        for (auto& decor : record_->wallDecor)
            if (&decor == tile) return "wallDecor";
        return "?";
    }

private:
    std::vector<BranchRecord*> saved_;
    BranchRecord* record_ = nullptr;
};

}  // namespace gfxtest

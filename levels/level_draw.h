#pragma once
// Painting the level each frame (Level::DrawFluids, then Level::Draw): the animated liquid
// underlay, the base layer, the tops of walls and rock, the shading of unseen squares and
// the objects on visible squares. Only the squares in view (plus one row above and one
// column left) are touched; nothing is allocated per frame.
#include <SDL.h>

#include <cstdint>
#include <vector>

class Level;
struct MapView;
class Sprite;
struct BranchTileRange;

// The shared liquid sheet "tilesets/liquids.png": rows ice, lava, water, goo, one tile high
// each, one column per animation frame. Owned here.
extern SDL_Surface* LiquidsTilesetImage;
// The shading sprite "dungeon/shades_lg.spr": frame 0 darkens an unseen square, frames 1-8
// darken one edge or corner of a seen square next to an unseen one, 9-17 outline the drawn
// area. Owned here.
extern Sprite* LevelShadingSprite;

// Loads both pictures unless they are loaded already (start-up calls it; the first drawing
// call tries it once when nobody did). A missing file leaves its pointer null: the fluids
// or the shading are then not drawn.
void LoadLevelDrawArt();
// Frees both and allows a new load.
void FreeLevelDrawArt();
// Hands the drawing pictures over (tests, tools); the previous ones are freed.
void SetLevelDrawArt(SDL_Surface* liquids, Sprite* shading);

// The squares a view draws: first..last inclusive in each axis, clamped to the grid (empty
// when last < first). The window starts one column left and one row above the view.
struct LevelViewWindow {
    int32_t firstX = 0;
    int32_t firstY = 0;
    int32_t lastX = -1;
    int32_t lastY = -1;
};
LevelViewWindow ComputeLevelViewWindow(const Level& level, int32_t viewX, int32_t viewY,
                                       int32_t offsetX, int32_t offsetY, int32_t tileWidth,
                                       int32_t tileHeight, int32_t screenWidth,
                                       int32_t screenHeight);

// Blits a tile of the tileset at the square whose top-left pixel is (px, py): the tile's
// rectangle of cells is anchored at the bottom of the square (tall tiles reach upward) and an
// animated tile is shifted right by frame x skip cells. A tile whose cells do not lie inside
// the tileset is not drawn. Returns the tile's height in cells (0 when nothing was drawn).
int32_t DrawLevelTile(SDL_Surface* tileset, const BranchTileRange& tile, SDL_Surface* screen,
                      int32_t px, int32_t py, int32_t tileWidth, int32_t tileHeight);

// Level::DrawMap with pictures that lie between the base layer and the tops (the glints):
// the kept map is copied, then only inside each of the areas the map is painted again with
// `between` called after its base layer; the objects come last. The pixels are those of
// clearing the screen, Level::DrawFluids, `between` and Level::Draw.
void DrawMapWithInlays(Level& level, const MapView& view, const std::vector<SDL_Rect>& areas,
                       void (*between)(void*), void* context);

#include "levels/level_draw.h"

#include <algorithm>
#include <cstring>

#include "levels/game_obj.h"
#include "media/screen.h"
#include "levels/branch_db.h"
#include "levels/level.h"
#include "media/image.h"
#include "media/sprite.h"
#include "platform/platform.h"

SDL_Surface* LiquidsTilesetImage = nullptr;
Sprite* LevelShadingSprite = nullptr;

namespace {

bool drawArtTried = false;

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Row of the liquid sheet for a liquid kind.
int32_t FluidSheetRow(uint8_t kind) {
    switch (kind) {
        case SquareType::Ice: return 0;
        case SquareType::Lava: return 1;
        case SquareType::Water: return 2;
        default: return 3;  // goo
    }
}

// Where the frame's drawing happens: the target surface, the tile size and the window.
struct DrawContext {
    SDL_Surface* screen = nullptr;
    int32_t tileW = 64;
    int32_t tileH = 64;
    int32_t viewX = 0;
    int32_t viewY = 0;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    LevelViewWindow window;

    // Squares of the window lie within two tiles of the screen, so these fit easily.
    int32_t PixelX(int32_t x) const {
        return static_cast<int32_t>((static_cast<int64_t>(x) - viewX) * tileW - offsetX);
    }
    int32_t PixelY(int32_t y) const {
        return static_cast<int32_t>((static_cast<int64_t>(y) - viewY) * tileH - offsetY);
    }
};

bool MakeContext(const Level& level, const MapView& view, DrawContext* ctx) {
    const int32_t vx = view.originX;
    const int32_t vy = view.originY;
    const int32_t ox = view.pixelX;
    const int32_t oy = view.pixelY;
    ctx->screen = ScreenSurface;
    if (ctx->screen == nullptr || level.width <= 0 || level.height <= 0) return false;
    ctx->tileW = view.tileWidth > 0 ? view.tileWidth : 64;
    ctx->tileH = view.tileHeight > 0 ? view.tileHeight : 64;
    ctx->offsetX = ox;
    ctx->offsetY = oy;
    ctx->viewX = vx;
    ctx->viewY = vy;
    ctx->window = ComputeLevelViewWindow(level, vx, vy, ctx->offsetX, ctx->offsetY, ctx->tileW,
                                         ctx->tileH, ctx->screen->w, ctx->screen->h);
    return ctx->window.lastX >= ctx->window.firstX && ctx->window.lastY >= ctx->window.firstY;
}

void MarkDrawn(Level& level, int32_t x, int32_t y, int32_t cellsHigh) {
    const size_t w = static_cast<size_t>(level.width);
    level.drawnMap[static_cast<size_t>(x) + static_cast<size_t>(y) * w] = 1;
    if (cellsHigh > 1 && y > 0) {
        level.drawnMap[static_cast<size_t>(x) + static_cast<size_t>(y - 1) * w] = 1;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Pictures

void LoadLevelDrawArt() {
    drawArtTried = true;
    if (LiquidsTilesetImage == nullptr) {
        LiquidsTilesetImage = LoadAlphaImage(GetResourceFilename("tilesets/liquids.png").c_str());
    }
    if (LevelShadingSprite == nullptr) {
        LevelShadingSprite = new Sprite();
        LevelShadingSprite->Load("dungeon/shades_lg.spr", nullptr, -1, 0, 1);
    }
}

void FreeLevelDrawArt() {
    if (LiquidsTilesetImage != nullptr) SDL_FreeSurface(LiquidsTilesetImage);
    LiquidsTilesetImage = nullptr;
    delete LevelShadingSprite;
    LevelShadingSprite = nullptr;
    drawArtTried = false;
}

void SetLevelDrawArt(SDL_Surface* liquids, Sprite* shading) {
    if (LiquidsTilesetImage != nullptr && LiquidsTilesetImage != liquids) {
        SDL_FreeSurface(LiquidsTilesetImage);
    }
    if (LevelShadingSprite != shading) delete LevelShadingSprite;
    LiquidsTilesetImage = liquids;
    LevelShadingSprite = shading;
    drawArtTried = true;
}

// ---------------------------------------------------------------------------------------------
// Geometry

LevelViewWindow ComputeLevelViewWindow(const Level& level, int32_t viewX, int32_t viewY,
                                       int32_t offsetX, int32_t offsetY, int32_t tileWidth,
                                       int32_t tileHeight, int32_t screenWidth,
                                       int32_t screenHeight) {
    LevelViewWindow win;
    if (tileWidth <= 0 || tileHeight <= 0 || screenWidth <= 0 || screenHeight <= 0) return win;
    // Square x starts at pixel (x - viewX) * tile - offset; the window holds every square
    // that reaches into the screen, plus one column left and one row above.
    const int64_t firstX = viewX + FloorDiv(offsetX, tileWidth) - 1;
    const int64_t firstY = viewY + FloorDiv(offsetY, tileHeight) - 1;
    const int64_t lastX = viewX + FloorDiv(static_cast<int64_t>(offsetX) + screenWidth - 1, tileWidth);
    const int64_t lastY = viewY + FloorDiv(static_cast<int64_t>(offsetY) + screenHeight - 1, tileHeight);
    win.firstX = static_cast<int32_t>(std::max<int64_t>(firstX, 0));
    win.firstY = static_cast<int32_t>(std::max<int64_t>(firstY, 0));
    win.lastX = static_cast<int32_t>(std::min<int64_t>(lastX, level.width - 1));
    win.lastY = static_cast<int32_t>(std::min<int64_t>(lastY, level.height - 1));
    if (win.lastX < win.firstX || win.lastY < win.firstY) {
        win = LevelViewWindow();
    }
    return win;
}

int32_t DrawLevelTile(SDL_Surface* tileset, const BranchTileRange& tile, SDL_Surface* screen,
                      int32_t px, int32_t py, int32_t tileWidth, int32_t tileHeight) {
    if (tileset == nullptr || screen == nullptr || !tile.IsValid()) return 0;
    const int64_t cellsWide = static_cast<int64_t>(tile.endX) - tile.startX + 1;
    const int64_t cellsHigh = static_cast<int64_t>(tile.endY) - tile.startY + 1;
    int64_t cellX = tile.startX;
    if (tile.numframes > 1) {
        const int64_t frame = std::max<int64_t>(0, std::min<int64_t>(tile.frame, tile.numframes - 1));
        cellX += frame * tile.skip;
    }
    // The cells must lie inside the tileset picture.
    const int64_t srcX = cellX * tileWidth;
    const int64_t srcY = static_cast<int64_t>(tile.startY) * tileHeight;
    const int64_t srcW = cellsWide * tileWidth;
    const int64_t srcH = cellsHigh * tileHeight;
    if (srcX < 0 || srcY < 0 || srcX + srcW > tileset->w || srcY + srcH > tileset->h) return 0;
    SDL_Rect src;
    src.x = static_cast<Sint16>(srcX);
    src.y = static_cast<Sint16>(srcY);
    src.w = static_cast<Uint16>(srcW);
    src.h = static_cast<Uint16>(srcH);
    SDL_Rect dest;
    dest.x = static_cast<Sint16>(px);
    dest.y = static_cast<Sint16>(py + tileHeight - srcH);
    dest.w = 0;
    dest.h = 0;
    SDL_UpperBlit(tileset, &src, screen, &dest);
    return static_cast<int32_t>(cellsHigh);
}

// ---------------------------------------------------------------------------------------------
// Drawing

void Level::DrawFluids(const MapView& view) {
    if (width <= 0 || height <= 0) return;
    EnsureSquareMaps();
    std::memset(fluidVisibleMap.data(), 0, fluidVisibleMap.size());
    std::memset(drawnMap.data(), 0, drawnMap.size());
    if (!drawArtTried) LoadLevelDrawArt();

    BranchRecord* branch = GetBranchRecord();
    const BranchTileRange* fluidTiles[4] = {nullptr, nullptr, nullptr, nullptr};  // by sheet row
    if (branch != nullptr) {
        fluidTiles[0] = branch->FindTile("fluid_ice");
        fluidTiles[1] = branch->FindTile("fluid_lava");
        fluidTiles[2] = branch->FindTile("fluid_water");
        fluidTiles[3] = branch->FindTile("fluid_goo");
    }
    if (tilesetImage == nullptr) return;
    DrawContext ctx;
    if (!MakeContext(*this, view, &ctx)) return;

    SDL_Surface* sheet = LiquidsTilesetImage;
    const int32_t sheetColumns = sheet != nullptr ? sheet->w / ctx.tileW : 0;
    const int32_t sheetRows = sheet != nullptr ? sheet->h / ctx.tileH : 0;
    const size_t w = static_cast<size_t>(width);
    for (int32_t y = ctx.window.firstY; y <= ctx.window.lastY; ++y) {
        for (int32_t x = ctx.window.firstX; x <= ctx.window.lastX; ++x) {
            const size_t i = static_cast<size_t>(x) + static_cast<size_t>(y) * w;
            const LevelCell& cell = squares[i];
            if (!cell.HasFlag(SquareFlag::Explored)) continue;
            fluidVisibleMap[i] = cell.HasFlag(SquareFlag::Visible) ? 1 : 0;
            const int32_t px = ctx.PixelX(x);
            const int32_t py = ctx.PixelY(y);
            if (IsLiquidSquareType(cell.type) && sheetColumns > 0) {
                const int32_t row = FluidSheetRow(cell.type);
                const BranchTileRange* fluid = fluidTiles[row];
                int32_t column = fluid != nullptr ? fluid->frame : 0;
                // A frame from data beyond the sheet wraps around instead of reading outside.
                column %= sheetColumns;
                if (column < 0) column += sheetColumns;
                if (row < sheetRows) {
                    SDL_Rect src;
                    src.x = static_cast<Sint16>(column * ctx.tileW);
                    src.y = static_cast<Sint16>(row * ctx.tileH);
                    src.w = static_cast<Uint16>(ctx.tileW);
                    src.h = static_cast<Uint16>(ctx.tileH);
                    SDL_Rect dest;
                    dest.x = static_cast<Sint16>(px);
                    dest.y = static_cast<Sint16>(py);
                    dest.w = 0;
                    dest.h = 0;
                    SDL_UpperBlit(sheet, &src, ctx.screen, &dest);
                }
            }
            const BranchTileRange* base = baseTileMap[i];
            if (base != nullptr) {
                const int32_t high =
                    DrawLevelTile(tilesetImage, *base, ctx.screen, px, py, ctx.tileW, ctx.tileH);
                if (high > 0) MarkDrawn(*this, x, y, high);
            }
        }
    }
}

namespace {

struct NeighbourFrame {
    int8_t dx;
    int8_t dy;
    int8_t frame;
};
// Darkening of a seen square's side or corner next to an unseen square.
constexpr NeighbourFrame kEdgeFrames[8] = {{0, -1, 1}, {0, 1, 2},  {-1, 0, 3}, {1, 0, 4},
                                           {1, 1, 5},  {-1, 1, 6}, {-1, -1, 7}, {1, -1, 8}};
// Outline of the drawn area towards an undrawn neighbour.
constexpr NeighbourFrame kOutlineFrames[8] = {{-1, 0, 9},  {0, -1, 10}, {1, 0, 11}, {0, 1, 12},
                                              {-1, 1, 14}, {1, -1, 15}, {-1, -1, 16}, {1, 1, 17}};
constexpr int32_t kUnseenFrame = 0;
constexpr int32_t kBesideDrawnFrame = 13;

}  // namespace

void Level::Draw(const MapView& view) {
    ReapFinishedEffects();
    if (tilesetImage == nullptr || width <= 0 || height <= 0) return;
    EnsureSquareMaps();
    DrawContext ctx;
    if (!MakeContext(*this, view, &ctx)) return;
    const LevelViewWindow& win = ctx.window;
    const size_t w = static_cast<size_t>(width);
    auto index = [w](int32_t x, int32_t y) {
        return static_cast<size_t>(x) + static_cast<size_t>(y) * w;
    };

    // 1. Tops of walls and rock on remembered squares.
    for (int32_t y = win.firstY; y <= win.lastY; ++y) {
        for (int32_t x = win.firstX; x <= win.lastX; ++x) {
            const size_t i = index(x, y);
            const BranchTileRange* top = topTileMap[i];
            if (top == nullptr || !squares[i].HasFlag(SquareFlag::Mapped)) continue;
            const int32_t high = DrawLevelTile(tilesetImage, *top, ctx.screen, ctx.PixelX(x),
                                               ctx.PixelY(y), ctx.tileW, ctx.tileH);
            if (high > 0) MarkDrawn(*this, x, y, high);
        }
    }

    // 2. Shading.
    Sprite* shades = LevelShadingSprite;
    if (shades != nullptr) {
        for (int32_t y = win.firstY; y <= win.lastY; ++y) {
            for (int32_t x = win.firstX; x <= win.lastX; ++x) {
                const size_t i = index(x, y);
                const int32_t px = ctx.PixelX(x);
                const int32_t py = ctx.PixelY(y);
                const bool border = x == 0 || y == 0 || x == width - 1 || y == height - 1;
                if (fluidVisibleMap[i] == 0) {
                    shades->DrawFrame(px, py, kUnseenFrame);
                } else if (!border) {
                    for (const NeighbourFrame& n : kEdgeFrames) {
                        if (fluidVisibleMap[index(x + n.dx, y + n.dy)] == 0) {
                            shades->DrawFrame(px, py, n.frame);
                        }
                    }
                }
                if (drawnMap[i] != 0) {
                    for (const NeighbourFrame& n : kOutlineFrames) {
                        const int32_t nx = x + n.dx;
                        const int32_t ny = y + n.dy;
                        // Beyond the grid's edge there is nothing to outline against.
                        if (!IsInside(nx, ny)) continue;
                        if (drawnMap[index(nx, ny)] == 0) shades->DrawFrame(px, py, n.frame);
                    }
                } else if (!border) {
                    for (const NeighbourFrame& n : kOutlineFrames) {
                        if (drawnMap[index(x + n.dx, y + n.dy)] != 0) {
                            shades->DrawFrame(px, py, kBesideDrawnFrame);
                            break;
                        }
                    }
                }
            }
        }
    }

    // 3. Objects on visible squares, placed from the same view.
    for (int32_t y = win.firstY; y <= win.lastY; ++y) {
        for (int32_t x = win.firstX; x <= win.lastX; ++x) {
            const LevelCell& cell = squares[index(x, y)];
            if (!cell.HasFlag(SquareFlag::Visible) || cell.contents.empty()) continue;
            for (size_t k = 0; k < cell.contents.size(); ++k) {
                GameObj* obj = cell.contents[k];
                if (obj != nullptr) obj->Draw(view);
            }
        }
    }
}

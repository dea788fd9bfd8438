#include "levels/level_draw.h"

#include <algorithm>
#include <cstring>
#include <vector>

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
// Goes up whenever the drawing pictures are loaded, handed over or freed.
uint32_t drawArtGeneration = 0;
// Frees the kept map picture (Level::DrawMap).
void ForgetMapPicture();

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
    ++drawArtGeneration;
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
    ++drawArtGeneration;
    ForgetMapPicture();
}

void SetLevelDrawArt(SDL_Surface* liquids, Sprite* shading) {
    if (LiquidsTilesetImage != nullptr && LiquidsTilesetImage != liquids) {
        SDL_FreeSurface(LiquidsTilesetImage);
    }
    if (LevelShadingSprite != shading) delete LevelShadingSprite;
    LiquidsTilesetImage = liquids;
    LevelShadingSprite = shading;
    drawArtTried = true;
    ++drawArtGeneration;
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

namespace {

// One blit of the map picture: a rectangle of a picture to a point of the screen.
struct MapBlit {
    SDL_Surface* source;
    SDL_Rect from;
    Sint16 x;
    Sint16 y;
    Uint32 unused;  // keeps the record free of padding, so records compare bytewise
};
static_assert(sizeof(MapBlit) == 24, "MapBlit must have no padding");

bool SameBlits(const std::vector<MapBlit>& a, const std::vector<MapBlit>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(MapBlit)) == 0);
}

// The picture of the map painted last by Level::DrawMap, kept with the blits it was painted
// from and everything else its pixels depend on. Painting the same blits again onto the same
// kind of screen gives the same pixels, so the picture is copied instead.
struct MapPicture {
    SDL_Surface* layer = nullptr;
    std::vector<MapBlit> blits;     // the blits of this frame
    std::vector<MapBlit> painted;   // the blits the layer holds
    bool valid = false;
    const Level* level = nullptr;
    SDL_Surface* screen = nullptr;
    SDL_Rect clip = {0, 0, 0, 0};
    uint32_t artGeneration = 0;
    uint32_t imageGeneration = 0;
};

MapPicture mapPicture;

void ForgetMapPicture() {
    if (mapPicture.layer != nullptr) SDL_FreeSurface(mapPicture.layer);
    mapPicture.layer = nullptr;
    mapPicture.valid = false;
    mapPicture.painted.clear();
}

// Fills the clip rectangle of a surface with pixel value 0 (black), row by row.
void ClearClipArea(SDL_Surface* surface) {
    const SDL_Rect& clip = surface->clip_rect;
    if (SDL_MUSTLOCK(surface) || surface->pixels == nullptr) {
        SDL_FillRect(surface, nullptr, 0);
        return;
    }
    const size_t bpp = surface->format->BytesPerPixel;
    const size_t rowBytes = static_cast<size_t>(clip.w) * bpp;
    Uint8* row = static_cast<Uint8*>(surface->pixels) + static_cast<size_t>(clip.y) * surface->pitch + clip.x * bpp;
    for (int y = 0; y < clip.h; ++y, row += surface->pitch) std::memset(row, 0, rowBytes);
}

// Copies the pixels of the clip rectangle of `to` from the same place of `from` (a surface
// of the same size and format), row by row.
void CopyClipArea(SDL_Surface* from, SDL_Surface* to) {
    if (SDL_MUSTLOCK(to) || to->pixels == nullptr || from->pixels == nullptr) {
        SDL_Rect whole = to->clip_rect;
        SDL_Rect at = whole;
        SDL_UpperBlit(from, &whole, to, &at);
        return;
    }
    const SDL_Rect& clip = to->clip_rect;
    const size_t bpp = to->format->BytesPerPixel;
    const size_t rowBytes = static_cast<size_t>(clip.w) * bpp;
    const size_t offset = static_cast<size_t>(clip.x) * bpp;
    for (int y = clip.y; y < clip.y + clip.h; ++y) {
        std::memcpy(static_cast<Uint8*>(to->pixels) + static_cast<size_t>(y) * to->pitch + offset,
                    static_cast<const Uint8*>(from->pixels) + static_cast<size_t>(y) * from->pitch + offset,
                    rowBytes);
    }
}

bool SameFormat(const SDL_Surface* a, const SDL_Surface* b) {
    const SDL_PixelFormat& f = *a->format;
    const SDL_PixelFormat& g = *b->format;
    return a->w == b->w && a->h == b->h && f.BitsPerPixel == g.BitsPerPixel && f.Rmask == g.Rmask &&
           f.Gmask == g.Gmask && f.Bmask == g.Bmask && f.Amask == g.Amask && f.palette == nullptr &&
           g.palette == nullptr;
}

// Where the blits of a painting pass go: straight to the screen, or into a list.
class MapPainter {
public:
    MapPainter(SDL_Surface* screen, std::vector<MapBlit>* list) : screen_(screen), list_(list) {}

    void Blit(SDL_Surface* source, const SDL_Rect& from, int32_t x, int32_t y) {
        if (list_ != nullptr) {
            MapBlit blit;
            blit.source = source;
            blit.from = from;
            blit.x = static_cast<Sint16>(x);
            blit.y = static_cast<Sint16>(y);
            blit.unused = 0;
            list_->push_back(blit);
            return;
        }
        SDL_Rect src = from;
        SDL_Rect dest;
        dest.x = static_cast<Sint16>(x);
        dest.y = static_cast<Sint16>(y);
        dest.w = 0;
        dest.h = 0;
        SDL_UpperBlit(source, &src, screen_, &dest);
    }
    // A whole frame of a sprite, as Sprite::DrawFrame blits it; nothing for a missing frame.
    void Frame(Sprite* sprite, int32_t x, int32_t y, int32_t frame) {
        if (sprite->frames == nullptr || frame < 0 || frame >= sprite->frameCount) return;
        SDL_Surface* picture = sprite->frames[frame];
        if (picture == nullptr) return;
        SDL_Rect whole;
        whole.x = 0;
        whole.y = 0;
        whole.w = static_cast<Uint16>(picture->w);
        whole.h = static_cast<Uint16>(picture->h);
        Blit(picture, whole, x, y);
    }

private:
    SDL_Surface* screen_;
    std::vector<MapBlit>* list_;
};

// The tileset rectangle of a tile drawn at the square whose top row is py, and the row its
// picture starts at; the tile's height in cells, 0 when it is not drawn.
int32_t TileBlit(SDL_Surface* tileset, const BranchTileRange& tile, int32_t py, int32_t tileWidth,
                 int32_t tileHeight, SDL_Rect* src, int32_t* destY) {
    if (tileset == nullptr || !tile.IsValid()) return 0;
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
    src->x = static_cast<Sint16>(srcX);
    src->y = static_cast<Sint16>(srcY);
    src->w = static_cast<Uint16>(srcW);
    src->h = static_cast<Uint16>(srcH);
    *destY = static_cast<int32_t>(py + tileHeight - srcH);
    return static_cast<int32_t>(cellsHigh);
}

int32_t PaintTile(MapPainter& painter, SDL_Surface* tileset, const BranchTileRange& tile, int32_t px,
                  int32_t py, int32_t tileWidth, int32_t tileHeight) {
    SDL_Rect src;
    int32_t destY = 0;
    const int32_t high = TileBlit(tileset, tile, py, tileWidth, tileHeight, &src, &destY);
    if (high > 0) painter.Blit(tileset, src, px, destY);
    return high;
}

}  // namespace

int32_t DrawLevelTile(SDL_Surface* tileset, const BranchTileRange& tile, SDL_Surface* screen,
                      int32_t px, int32_t py, int32_t tileWidth, int32_t tileHeight) {
    if (screen == nullptr) return 0;
    MapPainter painter(screen, nullptr);
    return PaintTile(painter, tileset, tile, px, py, tileWidth, tileHeight);
}

// ---------------------------------------------------------------------------------------------
// Drawing

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

// The liquid underlay and the base layer (Level::DrawFluids), through a painter.
void Level::PaintFluids(const MapView& view, void* painterPtr) {
    MapPainter& painter = *static_cast<MapPainter*>(painterPtr);
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
                    painter.Blit(sheet, src, px, py);
                }
            }
            const BranchTileRange* base = baseTileMap[i];
            if (base != nullptr) {
                const int32_t high = PaintTile(painter, tilesetImage, *base, px, py, ctx.tileW, ctx.tileH);
                if (high > 0) MarkDrawn(*this, x, y, high);
            }
        }
    }
}

// The tops and the shading (the first two steps of Level::Draw), through a painter; false
// when the level draws nothing (no tileset, no squares or no square in view).
bool Level::PaintTopsAndShading(const MapView& view, void* painterPtr) {
    MapPainter& painter = *static_cast<MapPainter*>(painterPtr);
    if (tilesetImage == nullptr || width <= 0 || height <= 0) return false;
    EnsureSquareMaps();
    DrawContext ctx;
    if (!MakeContext(*this, view, &ctx)) return false;
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
            const int32_t high =
                PaintTile(painter, tilesetImage, *top, ctx.PixelX(x), ctx.PixelY(y), ctx.tileW, ctx.tileH);
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
                    painter.Frame(shades, px, py, kUnseenFrame);
                } else if (!border) {
                    for (const NeighbourFrame& n : kEdgeFrames) {
                        if (fluidVisibleMap[index(x + n.dx, y + n.dy)] == 0) {
                            painter.Frame(shades, px, py, n.frame);
                        }
                    }
                }
                if (drawnMap[i] != 0) {
                    for (const NeighbourFrame& n : kOutlineFrames) {
                        const int32_t nx = x + n.dx;
                        const int32_t ny = y + n.dy;
                        // Beyond the grid's edge there is nothing to outline against.
                        if (!IsInside(nx, ny)) continue;
                        if (drawnMap[index(nx, ny)] == 0) painter.Frame(shades, px, py, n.frame);
                    }
                } else if (!border) {
                    for (const NeighbourFrame& n : kOutlineFrames) {
                        if (drawnMap[index(x + n.dx, y + n.dy)] != 0) {
                            painter.Frame(shades, px, py, kBesideDrawnFrame);
                            break;
                        }
                    }
                }
            }
        }
    }
    return true;
}

namespace {

// A Bob linked to a square: centred on it across, and standing on its bottom edge or, when
// it asks for it, centred on it up and down too.
void DrawLinkedBob(Bob* bob, int32_t x, int32_t y, const MapView& view) {
    if (bob == nullptr || bob->sprite == nullptr) return;
    const int32_t w = bob->FrameWidth();
    const int32_t h = bob->FrameHeight();
    bob->x = (x - view.originX) * view.tileWidth - w / 2 + view.tileWidth / 2 - view.pixelX;
    bob->y = bob->centreVertically ? (y - view.originY) * view.tileHeight + view.tileHeight / 2 - h / 2 - view.pixelY
                                   : (y - view.originY + 1) * view.tileHeight - h - view.pixelY;
    bob->Draw();
}

}  // namespace

void Level::DrawObjects(const MapView& view) {
    DrawContext ctx;
    if (!MakeContext(*this, view, &ctx)) return;
    const LevelViewWindow& win = ctx.window;
    const size_t w = static_cast<size_t>(width);
    // 3. Objects on visible squares, placed from the same view, one pass per draw layer.
    bool higherLayers = false;
    for (int32_t layer = 0; layer < kDrawLayerCount; ++layer) {
        if (layer > 1 && !higherLayers) break;
        for (int32_t y = win.firstY; y <= win.lastY; ++y) {
            for (int32_t x = win.firstX; x <= win.lastX; ++x) {
                const LevelCell& cell = squares[static_cast<size_t>(x) + static_cast<size_t>(y) * w];
                if (!cell.HasFlag(SquareFlag::Visible) || cell.contents.empty()) continue;
                for (size_t k = 0; k < cell.contents.size(); ++k) {
                    GameObj* obj = cell.contents[k];
                    if (obj == nullptr) continue;
                    const int32_t own = std::min(std::max(obj->drawLayer, 0), kDrawLayerCount - 1);
                    if (own > 1) higherLayers = true;
                    if (own == layer) obj->Draw(view);
                }
            }
        }
    }
    // The pictures linked to the squares (effects, the walk's destination mark) over what
    // stands on them.
    for (int32_t y = win.firstY; y <= win.lastY; ++y) {
        for (int32_t x = win.firstX; x <= win.lastX; ++x) {
            const LevelCell& cell = squares[static_cast<size_t>(x) + static_cast<size_t>(y) * w];
            if (!cell.HasFlag(SquareFlag::Visible)) continue;
            for (Bob* linked : cell.bobs) DrawLinkedBob(linked, x, y, view);
        }
    }
}

namespace {

bool Meets(const SDL_Rect& a, int32_t x, int32_t y, int32_t w, int32_t h) {
    return x < a.x + a.w && a.x < x + w && y < a.y + a.h && a.y < y + h;
}

// Which blits reach which part of the screen: the screen's clip rectangle in cells of 64
// pixels, each listing the blits that reach into it, in painting order. Kept from frame to
// frame, so that once grown it makes nothing.
class BlitGrid {
public:
    static constexpr int32_t kShift = 6;

    void Build(const SDL_Rect& whole, const std::vector<MapBlit>& blits) {
        whole_ = whole;
        columns_ = (whole.w + (1 << kShift) - 1) >> kShift;
        rows_ = (whole.h + (1 << kShift) - 1) >> kShift;
        const size_t cellCount = static_cast<size_t>(columns_) * static_cast<size_t>(rows_);
        if (cells_.size() < cellCount) cells_.resize(cellCount);
        for (size_t c = 0; c < cellCount; ++c) cells_[c].clear();
        for (size_t i = 0; i < blits.size(); ++i) {
            const MapBlit& b = blits[i];
            int32_t c0 = 0, r0 = 0, c1 = -1, r1 = -1;
            if (!Span(b.x, b.y, b.from.w, b.from.h, &c0, &r0, &c1, &r1)) continue;
            for (int32_t r = r0; r <= r1; ++r) {
                for (int32_t c = c0; c <= c1; ++c) {
                    cells_[static_cast<size_t>(r * columns_ + c)].push_back(static_cast<uint32_t>(i));
                }
            }
        }
    }
    // The blits that may reach into the area, in painting order.
    const std::vector<uint32_t>& Near(const SDL_Rect& area) {
        near_.clear();
        int32_t c0 = 0, r0 = 0, c1 = -1, r1 = -1;
        if (Span(area.x, area.y, area.w, area.h, &c0, &r0, &c1, &r1)) {
            for (int32_t r = r0; r <= r1; ++r) {
                for (int32_t c = c0; c <= c1; ++c) {
                    const std::vector<uint32_t>& cell = cells_[static_cast<size_t>(r * columns_ + c)];
                    near_.insert(near_.end(), cell.begin(), cell.end());
                }
            }
            if (r0 != r1 || c0 != c1) {
                std::sort(near_.begin(), near_.end());
                near_.erase(std::unique(near_.begin(), near_.end()), near_.end());
            }
        }
        return near_;
    }

private:
    // The cells a rectangle covers (within the grid); false when it lies outside.
    bool Span(int32_t x, int32_t y, int32_t w, int32_t h, int32_t* c0, int32_t* r0, int32_t* c1, int32_t* r1) const {
        const int32_t x0 = std::max<int32_t>(x, whole_.x);
        const int32_t y0 = std::max<int32_t>(y, whole_.y);
        const int32_t x1 = std::min<int32_t>(x + w, whole_.x + whole_.w);
        const int32_t y1 = std::min<int32_t>(y + h, whole_.y + whole_.h);
        if (x0 >= x1 || y0 >= y1) return false;
        *c0 = (x0 - whole_.x) >> kShift;
        *r0 = (y0 - whole_.y) >> kShift;
        *c1 = (x1 - 1 - whole_.x) >> kShift;
        *r1 = (y1 - 1 - whole_.y) >> kShift;
        return true;
    }

    SDL_Rect whole_ = {0, 0, 0, 0};
    int32_t columns_ = 0;
    int32_t rows_ = 0;
    std::vector<std::vector<uint32_t>> cells_;
    std::vector<uint32_t> near_;
};

BlitGrid blitGrid;

// Paints the frame's map blits again inside each area (clipped to it): cleared, the blits of
// the base layer, `between`, the rest. Inside an area the pixels are those of painting the
// whole map with `between` in its place; outside it nothing changes.
void RepaintAreas(SDL_Surface* screen, const std::vector<MapBlit>& blits, size_t baseBlits,
                  const std::vector<SDL_Rect>& areas, void (*between)(void*), void* context) {
    const SDL_Rect whole = screen->clip_rect;
    MapPainter direct(screen, nullptr);
    blitGrid.Build(whole, blits);
    for (const SDL_Rect& area : areas) {
        const int32_t x0 = std::max<int32_t>(area.x, whole.x);
        const int32_t y0 = std::max<int32_t>(area.y, whole.y);
        const int32_t x1 = std::min<int32_t>(area.x + area.w, whole.x + whole.w);
        const int32_t y1 = std::min<int32_t>(area.y + area.h, whole.y + whole.h);
        if (x0 >= x1 || y0 >= y1) continue;
        SDL_Rect clip;
        clip.x = static_cast<Sint16>(x0);
        clip.y = static_cast<Sint16>(y0);
        clip.w = static_cast<Uint16>(x1 - x0);
        clip.h = static_cast<Uint16>(y1 - y0);
        SDL_SetClipRect(screen, &clip);
        SDL_FillRect(screen, nullptr, 0);
        bool betweenDone = between == nullptr;
        for (const uint32_t i : blitGrid.Near(clip)) {
            if (!betweenDone && i >= baseBlits) {
                between(context);
                betweenDone = true;
            }
            const MapBlit& b = blits[i];
            if (Meets(clip, b.x, b.y, b.from.w, b.from.h)) direct.Blit(b.source, b.from, b.x, b.y);
        }
        if (!betweenDone) between(context);
    }
    SDL_SetClipRect(screen, &whole);
}

}  // namespace

void Level::DrawFluids(const MapView& view) {
    MapPainter painter(ScreenSurface, nullptr);
    PaintFluids(view, &painter);
}

void Level::Draw(const MapView& view) {
    ReapFinishedEffects();
    MapPainter painter(ScreenSurface, nullptr);
    if (!PaintTopsAndShading(view, &painter)) return;
    DrawObjects(view);
}

namespace {

// What DrawMapWithInlays asks the DrawMap it calls to paint between the layers.
struct MapInlays {
    const std::vector<SDL_Rect>* areas = nullptr;
    void (*between)(void*) = nullptr;
    void* context = nullptr;
};
MapInlays pendingInlays;

}  // namespace

void DrawMapWithInlays(Level& level, const MapView& view, const std::vector<SDL_Rect>& areas,
                       void (*between)(void*), void* context) {
    pendingInlays.areas = &areas;
    pendingInlays.between = between;
    pendingInlays.context = context;
    level.DrawMap(view);
}

void Level::DrawMap(const MapView& view) {
    const MapInlays inlays = pendingInlays;
    pendingInlays = MapInlays();
    SDL_Surface* screen = ScreenSurface;
    MapPicture& pic = mapPicture;
    pic.blits.clear();
    MapPainter recorder(screen, &pic.blits);
    PaintFluids(view, &recorder);
    const size_t baseBlits = pic.blits.size();
    ReapFinishedEffects();
    const bool objects = PaintTopsAndShading(view, &recorder);
    if (screen != nullptr && !pic.blits.empty()) {
        const bool same = pic.valid && pic.layer != nullptr && pic.level == this && pic.screen == screen &&
                          SameFormat(pic.layer, screen) && pic.clip.x == screen->clip_rect.x &&
                          pic.clip.y == screen->clip_rect.y && pic.clip.w == screen->clip_rect.w &&
                          pic.clip.h == screen->clip_rect.h && pic.artGeneration == drawArtGeneration &&
                          pic.imageGeneration == LevelImageGeneration() && SameBlits(pic.blits, pic.painted);
        if (!same) {
            if (pic.layer != nullptr && !SameFormat(pic.layer, screen)) ForgetMapPicture();
            if (pic.layer == nullptr && screen->format->palette == nullptr) {
                const SDL_PixelFormat& f = *screen->format;
                pic.layer = SDL_CreateRGBSurface(SDL_SWSURFACE, screen->w, screen->h, f.BitsPerPixel, f.Rmask,
                                                 f.Gmask, f.Bmask, f.Amask);
                // The layer takes the screen's pixels as they are, never blended.
                if (pic.layer != nullptr) SDL_SetAlpha(pic.layer, 0, 0);
            }
            pic.valid = false;
            if (pic.layer != nullptr) {
                SDL_SetClipRect(pic.layer, &screen->clip_rect);
                SDL_FillRect(pic.layer, nullptr, 0);
                MapPainter layerPainter(pic.layer, nullptr);
                for (const MapBlit& b : pic.blits) layerPainter.Blit(b.source, b.from, b.x, b.y);
                pic.painted.swap(pic.blits);
                pic.valid = true;
                pic.level = this;
                pic.screen = screen;
                pic.clip = screen->clip_rect;
                pic.artGeneration = drawArtGeneration;
                pic.imageGeneration = LevelImageGeneration();
            }
        }
        if (pic.valid) {
            CopyClipArea(pic.layer, screen);
        } else {
            // No layer to be had: paint the blits straight onto the cleared screen.
            ClearClipArea(screen);
            MapPainter direct(screen, nullptr);
            for (const MapBlit& b : pic.blits) direct.Blit(b.source, b.from, b.x, b.y);
        }
    } else if (screen != nullptr) {
        ClearClipArea(screen);
    }
    if (screen != nullptr && inlays.areas != nullptr && !inlays.areas->empty()) {
        RepaintAreas(screen, pic.valid ? pic.painted : pic.blits, baseBlits, *inlays.areas, inlays.between,
                     inlays.context);
    }
    if (objects) DrawObjects(view);
}

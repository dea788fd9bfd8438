// Drawing a level into a 1280 x 720 software surface: what lands on screen, where, and what
// stays untouched.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>
#include <vector>

#include "levels/game_obj.h"
#include "media/screen.h"
#include "interface/layout.h"
#include "levels/level.h"
#include "levels/level_draw.h"
#include "levels/gen/level_gfx.h"
#include "media/sprite.h"
#include "tests/levels/level_gfx_test_branch.h"
#include "tests/levels/level_test_map.h"

namespace {

using namespace gfxtest;

constexpr Uint32 kSentinel = 0xFF00FF;

class LevelDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedScreen_ = ScreenSurface;
        savedTileW_ = Layout.view.tileWidth;
        savedTileH_ = Layout.view.tileHeight;
        Layout.view.tileWidth = kCell;
        Layout.view.tileHeight = kCell;
        screen_ = MakeRgbSurface(1280, 720);
        ScreenSurface = screen_;
        ClearScreen();
        SDL_Surface* sheet = MakeRgbSurface(8 * kCell, 4 * kCell);
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 8; ++col) FillCell(sheet, col, row, kSheetColours[row]);
        sheet_ = sheet;
        SetLevelDrawArt(sheet, nullptr);
    }
    void TearDown() override {
        FreeLevelDrawArt();
        ScreenSurface = savedScreen_;
        SDL_FreeSurface(screen_);
        Layout.view.tileWidth = savedTileW_;
        Layout.view.tileHeight = savedTileH_;
    }

    void ClearScreen() {
        SDL_FillRect(screen_, nullptr, SDL_MapRGB(screen_->format, 0xFF, 0x00, 0xFF));
    }
    Uint32 At(int x, int y) { return PixelRgb(screen_, x, y); }
    // The colour at the centre of square (x, y) for a view at the origin without offsets.
    Uint32 Square(int x, int y) { return At(x * kCell + kCell / 2, y * kCell + kCell / 2); }

    static void SetAllFlags(Level& level, uint8_t flags) {
        for (LevelCell& cell : level.squares) cell.flags = flags;
    }
    static MapView View(int vx, int vy, int ox, int oy) {
        MapView view;
        view.tileWidth = kCell;
        view.tileHeight = kCell;
        view.originX = vx;
        view.originY = vy;
        view.pixelX = ox;
        view.pixelY = oy;
        return view;
    }
    void DrawBoth(Level& level, int vx, int vy, int ox, int oy) {
        const MapView view = View(vx, vy, ox, oy);
        level.DrawFluids(view);
        level.Draw(view);
    }
    // Pixels inside [x0, x1) x [y0, y1) that are not the sentinel, and outside it that are.
    void ExpectPaintedExactly(int x0, int y0, int x1, int y1) {
        int paintedOutside = 0;
        int blankInside = 0;
        for (int y = 0; y < 720; ++y) {
            for (int x = 0; x < 1280; ++x) {
                const bool inside = x >= x0 && x < x1 && y >= y0 && y < y1;
                const bool blank = At(x, y) == kSentinel;
                if (inside && blank) ++blankInside;
                if (!inside && !blank) ++paintedOutside;
            }
        }
        EXPECT_EQ(blankInside, 0);
        EXPECT_EQ(paintedOutside, 0);
    }

    const uint8_t kSeen = SquareFlag::Explored | SquareFlag::Visible | SquareFlag::Mapped;
    SDL_Surface* screen_ = nullptr;
    SDL_Surface* sheet_ = nullptr;
    SDL_Surface* savedScreen_ = nullptr;
    int32_t savedTileW_ = 64;
    int32_t savedTileH_ = 64;
};

TEST_F(LevelDrawTest, ASmallLevelPaintsItsSquaresAndNothingElse) {
    TestBranch branch;
    Level level(0, 1);
    FillLevelFromMap(level, {"   #####  ", "   #...#  ", "   #.~.#  ", "   #####  ", "          "});
    SetAllFlags(level, kSeen);
    GenLevelGFXRep(&level, 0, 0, level.width, level.height);
    ASSERT_NE(level.tilesetImage, nullptr);

    DrawBoth(level, 0, 0, 0, 0);
    ExpectPaintedExactly(0, 0, 10 * kCell, 5 * kCell);

    // Scrolled so the level starts two squares right and one down, less the pixel offsets.
    ClearScreen();
    DrawBoth(level, -2, -1, 20, 10);
    ExpectPaintedExactly(2 * kCell - 20, kCell - 10, 12 * kCell - 20, 6 * kCell - 10);

    // Scrolled so only its lower right part shows in the top left corner.
    ClearScreen();
    DrawBoth(level, 7, 3, 0, 0);
    ExpectPaintedExactly(0, 0, 3 * kCell, 2 * kCell);
}

TEST_F(LevelDrawTest, ALargeLevelFillsTheScreenAtAnyScroll) {
    TestBranch branch;
    Level level(0, 1);
    level.SetSize(100, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            level.GetCell(x, y)->type = (x % 7 == 0 || y % 9 == 0) ? SquareType::Wall : SquareType::Floor;
    SetAllFlags(level, kSeen);
    GenLevelGFXRep(&level, 0, 0, 100, 100);
    const int offsets[][2] = {{0, 0}, {20, -30}, {-63, 63}, {64, -64}};
    for (const auto& o : offsets) {
        ClearScreen();
        DrawBoth(level, 40, 40, o[0], o[1]);
        ExpectPaintedExactly(0, 0, 1280, 720);
    }
    // Only the squares of the window are touched: squares far away keep an empty draw mark.
    EXPECT_EQ(level.drawnMap[5 + 5 * 100], 0);
    EXPECT_EQ(level.drawnMap[45 + 45 * 100], 1);
}

TEST_F(LevelDrawTest, ViewsFarOutsideTheLevelDrawNothing) {
    TestBranch branch;
    Level level(0, 1);
    FillLevelFromMap(level, {"...", "...", "..."});
    SetAllFlags(level, kSeen);
    GenLevelGFXRep(&level, 0, 0, 3, 3);
    const int views[][4] = {{1000000, 0, 0, 0},   {0, -1000000, 0, 0},      {-40000, -40000, 0, 0},
                            {2147483000, 5, 0, 0}, {0, 0, 1000000, -1000000}, {-30, 0, 0, 0}};
    for (const auto& v : views) {
        ClearScreen();
        DrawBoth(level, v[0], v[1], v[2], v[3]);
        ExpectPaintedExactly(0, 0, 0, 0);
    }
}

TEST_F(LevelDrawTest, WallsFloorsLiquidsAndTopsShowDifferentColours) {
    TestBranch branch;
    Level level(0, 1);
    FillLevelFromMap(level, {"      ",
                             " #### ",
                             " .~~. ",
                             " .~~. ",
                             "      "});
    SetAllFlags(level, kSeen);
    GenLevelGFXRep(&level, 0, 0, level.width, level.height);
    DrawBoth(level, 0, 0, 0, 0);
    EXPECT_EQ(Square(0, 0), kTopColour);
    EXPECT_EQ(Square(2, 1), kWallColour);
    EXPECT_EQ(Square(1, 2), kFloorColour);
    EXPECT_EQ(Square(2, 2), kLiquidEdgeColour);
    const Uint32 colours[4] = {kTopColour, kWallColour, kFloorColour, kLiquidEdgeColour};
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b) EXPECT_NE(colours[a], colours[b]);
}

TEST_F(LevelDrawTest, LiquidsWithoutEdgeTilesShowTheirSheetRowAtTheFluidFrame) {
    TestBranch branch;
    for (auto it = branch.record()->tiles.begin(); it != branch.record()->tiles.end();) {
        it = it->first.compare(0, 5, "water") == 0 ? branch.record()->tiles.erase(it) : std::next(it);
    }
    // Column 3 of the water row gets its own colour; the water animation shows frame 3.
    FillCell(sheet_, 3, 2, 0x123456);
    branch.record()->tiles["fluid_water"].frame = 3;
    Level level(0, 1);
    FillLevelFromMap(level, {"~LGI."});
    // Not mapped: a liquid without a base tile gets a top like rock, which is not drawn then.
    SetAllFlags(level, SquareFlag::Explored | SquareFlag::Visible);
    GenLevelGFXRep(&level, 0, 0, 5, 1);
    DrawBoth(level, 0, 0, 0, 0);
    EXPECT_EQ(Square(0, 0), 0x123456u);
    EXPECT_EQ(Square(1, 0), kSheetColours[1]);  // lava
    EXPECT_EQ(Square(2, 0), kSheetColours[3]);  // goo
    EXPECT_EQ(Square(3, 0), kSheetColours[0]);  // ice
    EXPECT_EQ(Square(4, 0), kFloorColour);
    // A frame from data beyond the sheet wraps around instead of reading outside it.
    branch.record()->tiles["fluid_water"].frame = 11;
    ClearScreen();
    DrawBoth(level, 0, 0, 0, 0);
    EXPECT_EQ(Square(0, 0), 0x123456u);
    branch.record()->tiles["fluid_water"].frame = -5;
    ClearScreen();
    DrawBoth(level, 0, 0, 0, 0);
    EXPECT_EQ(Square(0, 0), 0x123456u);
}

TEST_F(LevelDrawTest, OnlyExploredSquaresShowTheirBaseAndOnlyMappedOnesTheirTop) {
    TestBranch branch;
    Level level(0, 1);
    FillLevelFromMap(level, {"  ..", "  .."});
    GenLevelGFXRep(&level, 0, 0, 4, 2);
    level.GetCell(0, 0)->flags = SquareFlag::Mapped;    // rock, remembered
    level.GetCell(1, 0)->flags = SquareFlag::Explored;  // rock, not remembered: no top
    level.GetCell(2, 0)->flags = SquareFlag::Explored | SquareFlag::Visible;
    level.GetCell(3, 0)->flags = SquareFlag::Mapped;    // floor never explored: no base
    DrawBoth(level, 0, 0, 0, 0);
    EXPECT_EQ(Square(0, 0), kTopColour);
    EXPECT_EQ(Square(1, 0), kSentinel);
    EXPECT_EQ(Square(2, 0), kFloorColour);
    EXPECT_EQ(Square(3, 0), kSentinel);
    EXPECT_EQ(level.fluidVisibleMap[2], 1);
    EXPECT_EQ(level.fluidVisibleMap[1], 0);  // explored, not visible
    EXPECT_EQ(level.drawnMap[0], 1);
    EXPECT_EQ(level.drawnMap[1], 0);
    EXPECT_EQ(level.drawnMap[2], 1);
    EXPECT_EQ(level.drawnMap[3], 0);
}

TEST_F(LevelDrawTest, TallTilesReachUpAndAnimatedTilesMoveAlongTheirRow) {
    TestBranch branch;
    BranchTileRange& up = branch.record()->tiles["stairsup"];
    up.startX = up.endX = 6;
    up.startY = 0;
    up.endY = 1;  // two cells high: a top-coloured cell above a wall-coloured one
    BranchTileRange& down = branch.record()->tiles["stairsdown"];
    down.startX = down.endX = 0;
    down.numframes = 4;
    down.skip = 2;
    down.frame = 2;  // cell 4 of row 1
    SDL_Surface* tileset = branch.record()->tilesetImage->surface;
    FillCell(tileset, 4, 1, 0x00FFFF);
    Level level(0, 1);
    FillLevelFromMap(level, {"...", "<.>"});
    SetAllFlags(level, SquareFlag::Explored | SquareFlag::Visible);  // nothing mapped: no tops
    GenLevelGFXRep(&level, 0, 0, 3, 2);
    DrawBoth(level, 0, 0, 0, 0);
    EXPECT_EQ(Square(0, 1), kWallColour);
    EXPECT_EQ(Square(0, 0), kTopColour);  // the upper cell covers the square above
    EXPECT_EQ(level.drawnMap[0], 1);
    EXPECT_EQ(Square(2, 1), 0x00FFFFu);
    // A frame past the animation's end stays on its last frame's cells (x = 6), inside the sheet.
    down.frame = 9;
    ClearScreen();
    DrawBoth(level, 0, 0, 0, 0);
    EXPECT_EQ(Square(2, 1), kWallColour);
}

TEST_F(LevelDrawTest, TilesOutsideTheTilesetAreNotDrawn) {
    TestBranch branch;
    SDL_Surface* tileset = branch.record()->tilesetImage->surface;
    BranchTileRange tile;
    tile.startX = tile.endX = 8;  // one past the last column
    tile.startY = tile.endY = 0;
    EXPECT_EQ(DrawLevelTile(tileset, tile, screen_, 0, 0, kCell, kCell), 0);
    tile.startX = 2;
    tile.endX = 9;  // runs past the right edge
    EXPECT_EQ(DrawLevelTile(tileset, tile, screen_, 0, 0, kCell, kCell), 0);
    tile.startX = tile.endX = 1;
    tile.startY = tile.endY = 4;
    EXPECT_EQ(DrawLevelTile(tileset, tile, screen_, 0, 0, kCell, kCell), 0);
    tile.startY = tile.endY = 0;
    tile.numframes = 10;
    tile.skip = 1;
    tile.frame = 9;  // the animation walks out of the sheet
    EXPECT_EQ(DrawLevelTile(tileset, tile, screen_, 0, 0, kCell, kCell), 0);
    tile.frame = 6;
    EXPECT_EQ(DrawLevelTile(tileset, tile, screen_, 0, 0, kCell, kCell), 1);
    tile.startX = -1;
    EXPECT_EQ(DrawLevelTile(tileset, tile, screen_, 0, 0, kCell, kCell), 0);

    // Through the level: the square stays blank and unmarked.
    branch.record()->floors.assign(1, BranchTileRange());
    branch.record()->floors[0].startX = branch.record()->floors[0].endX = 30;
    branch.record()->floors[0].startY = branch.record()->floors[0].endY = 3;
    Level level(0, 1);
    FillLevelFromMap(level, {"."});
    SetAllFlags(level, kSeen);
    GenLevelGFXRep(&level, 0, 0, 1, 1);
    ClearScreen();
    DrawBoth(level, 0, 0, 0, 0);
    EXPECT_EQ(Square(0, 0), kSentinel);
    EXPECT_EQ(level.drawnMap[0], 0);
}

TEST_F(LevelDrawTest, UnseenSquaresAreShaded) {
    TestBranch branch;
    SDL_Surface* dark = MakeRgbSurface(kCell, kCell);
    SDL_FillRect(dark, nullptr, SDL_MapRGB(dark->format, 0, 0, 0));
    Sprite* shades = new Sprite();
    shades->InitFromSurface(dark);
    SetLevelDrawArt(sheet_, shades);
    Level level(0, 1);
    FillLevelFromMap(level, {"....", "...."});
    SetAllFlags(level, SquareFlag::Explored | SquareFlag::Mapped);
    level.GetCell(1, 0)->flags |= SquareFlag::Visible;
    GenLevelGFXRep(&level, 0, 0, 4, 2);
    DrawBoth(level, 0, 0, 0, 0);
    EXPECT_EQ(Square(1, 0), kFloorColour);
    EXPECT_EQ(Square(0, 0), 0x000000u);
    EXPECT_EQ(Square(3, 1), 0x000000u);
}

class CountingObj : public GameObj {
public:
    void Draw(const MapView& view) override {
        ++draws;
        lastView = view;
    }
    int draws = 0;
    MapView lastView;
};

TEST_F(LevelDrawTest, ObjectsAreDrawnOnVisibleSquaresOnly) {
    TestBranch branch;
    Level level(0, 1);
    FillLevelFromMap(level, {"....", "...."});
    SetAllFlags(level, SquareFlag::Explored | SquareFlag::Mapped);
    level.GetCell(1, 1)->flags |= SquareFlag::Visible;
    GenLevelGFXRep(&level, 0, 0, 4, 2);
    CountingObj seen, hidden, alsoSeen;
    level.GetCell(1, 1)->contents = {&seen, &alsoSeen};
    level.GetCell(2, 1)->contents = {&hidden};
    DrawBoth(level, 0, 0, 0, 0);
    EXPECT_EQ(seen.draws, 1);
    EXPECT_EQ(alsoSeen.draws, 1);
    EXPECT_EQ(hidden.draws, 0);
    // The objects place themselves from the same view.
    level.Draw(View(-3, 2, 5, 6));
    EXPECT_EQ(seen.lastView.originX, -3);
    EXPECT_EQ(seen.lastView.originY, 2);
    EXPECT_EQ(seen.lastView.pixelX, 5);
    EXPECT_EQ(seen.lastView.pixelY, 6);
    EXPECT_EQ(seen.lastView.tileWidth, kCell);
    EXPECT_EQ(seen.lastView.tileHeight, kCell);
    for (LevelCell& cell : level.squares) cell.contents.clear();
}

TEST_F(LevelDrawTest, WithoutATilesetNothingIsDrawn) {
    TestBranch branch;
    Level level(0, 1);
    FillLevelFromMap(level, {"..~", "#.."});
    SetAllFlags(level, kSeen);
    GenLevelGFXRep(&level, 0, 0, 3, 2);
    level.tilesetImage = nullptr;
    DrawBoth(level, 0, 0, 0, 0);
    ExpectPaintedExactly(0, 0, 0, 0);
    // A level that never had its graphics worked out draws nothing either, and does not crash.
    Level bare(0, 1);
    FillLevelFromMap(bare, {"..", ".."});
    SetAllFlags(bare, kSeen);
    DrawBoth(bare, 0, 0, 0, 0);
    ExpectPaintedExactly(0, 0, 0, 0);
    // Nor does a level without squares.
    Level empty(0, 1);
    DrawBoth(empty, 0, 0, 0, 0);
    ExpectPaintedExactly(0, 0, 0, 0);
}

}  // namespace

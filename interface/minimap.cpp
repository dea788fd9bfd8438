#include "interface/minimap.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/input_log.h"
#include "creatures/player.h"
#include "creatures/status_overlays.h"
#include "interface/hud.h"
#include "interface/hud_draw.h"
#include "interface/layout.h"
#include "items_fixtures/item.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/seen_stamp.h"
#include "media/font.h"
#include "media/image.h"
#include "media/screen.h"
#include "media/sprite.h"
#include "media/sprite_draw_list.h"
#include "media/text.h"
#include "media/ticker.h"

const char* const kMinimapIconKindNames[kMinimapIconKinds] = {
    "krong",    "krong_used", "bookshelf", "bookshelf_used", "lutefisk",  "lutefisk_used",
    "quest",    "quest_used", "questtarget", "monster0",     "monster1",  "player",
    "fplayer",  "stairsup",   "stairsdown", "mellow",        "eyeball",   "monolith",
    "teleport", "uberchest",  "uberchest_locked", "digglegod"};

namespace {

enum IconKind : int32_t {
    kIconQuest = 6,
    kIconQuestUsed = 7,
    kIconQuestTarget = 8,
    kIconMonster1 = 10,
    kIconPlayer = 11,
    kIconFemalePlayer = 12,
};

Sprite* icons[kMinimapIconKinds][4] = {};
// Whether LoadMinimapIcons has filled the marks, and the sprite table's generation then.
bool iconsLoaded = false;
unsigned iconsGeneration = 0;
SDL_Surface* mapSurfaces[4] = {};
// Kept here rather than in the layout, which is rebuilt whole at times.
SDL_Surface* backgrounds[4] = {};
SDL_Surface* enlarge[2] = {};
SDL_Surface* shrink[2] = {};

SDL_Surface* MakeMapSurface(int32_t c) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, kMinimapSquares * c, kMinimapSquares * c, 8, 0, 0, 0, 0);
    if (s == nullptr) return nullptr;
    SDL_Color palette[256];
    std::memset(palette, 0, sizeof palette);
    palette[1] = {255, 0, 0, 0};
    palette[2] = {32, 32, 32, 0};
    palette[3] = {0, 255, 255, 0};
    palette[4] = {192, 192, 192, 0};
    palette[5] = {255, 0, 255, 0};
    SDL_SetColors(s, palette, 0, 256);
    SDL_SetColorKey(s, SDL_SRCCOLORKEY, 0);
    return s;
}

void LoadMissingPictures() {
    for (int32_t i = 0; i < 4; ++i) {
        if (backgrounds[i] == nullptr) {
            const std::string file = "ui/gameplay/minimap_bg" + std::to_string(i + 1) + "x.png";
            backgrounds[i] = LoadImage(file.c_str());
        }
        if (mapSurfaces[i] == nullptr) mapSurfaces[i] = MakeMapSurface(i + 1);
    }
    for (int32_t s = 0; s < 2; ++s) {
        if (enlarge[s] == nullptr) {
            enlarge[s] = LoadImage(("ui/gameplay/minimap_but_maximize" + std::to_string(s) + ".png").c_str());
        }
        if (shrink[s] == nullptr) {
            shrink[s] = LoadImage(("ui/gameplay/minimap_but_minimize" + std::to_string(s) + ".png").c_str());
        }
    }
}

bool Seen(const LevelCell& cell) {
    return (cell.flags & (SquareFlag::Explored | SquareFlag::Mapped)) != 0;
}

int32_t ClampedSize() {
    const int32_t size = Layout.minimapSize;
    return size < 0 ? 0 : (size > 3 ? 3 : size);
}

struct MinimapSquare {
    int16_t x;
    int16_t y;
};

// One pass over the minimap's part of the level, row by row as the squares lie in memory:
// paints the map (when `pixels` is given) and lists the seen squares that hold objects.
void ScanMinimapSquares(const Level& level, int32_t c, uint8_t* pixels, int32_t pitch,
                        std::vector<MinimapSquare>* withObjects) {
    if (pixels != nullptr) {
        const int32_t side = kMinimapSquares * c;
        for (int32_t row = 0; row < side; ++row) std::memset(pixels + row * pitch, 0, static_cast<size_t>(side));
    }
    if (withObjects != nullptr) withObjects->clear();
    const int32_t w = level.width < kMinimapSquares ? level.width : kMinimapSquares;
    const int32_t h = level.height < kMinimapSquares ? level.height : kMinimapSquares;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const LevelCell* cell = level.GetCell(x, y);
            if (cell == nullptr || !Seen(*cell)) continue;
            if (withObjects != nullptr && !cell->contents.empty()) {
                withObjects->push_back({static_cast<int16_t>(x), static_cast<int16_t>(y)});
            }
            if (pixels == nullptr) continue;
            uint8_t colour = 0;
            if (cell->type == SquareType::Floor) {
                colour = 2;
            } else if (cell->type == SquareType::ShopFloor) {
                colour = 5;
            } else if (cell->type == SquareType::ZooFloor) {
                colour = 3;
            } else if (cell->type == SquareType::Wall) {
                colour = 4;
            }
            if (colour == 0) continue;
            for (int32_t dy = 0; dy < c; ++dy) {
                std::memset(pixels + (c * y + dy) * pitch + c * x, colour, static_cast<size_t>(c));
            }
        }
    }
}

// The squares again, column by column and top to bottom in each column (the order the icons,
// which overlap, are drawn in). The list is kept, so a frame makes nothing for it once grown.
const std::vector<MinimapSquare>& ByColumn(const std::vector<MinimapSquare>& byRow) {
    static std::vector<MinimapSquare> byColumn;
    int32_t start[kMinimapSquares + 1] = {};
    for (const MinimapSquare& square : byRow) ++start[square.x + 1];
    for (int32_t x = 0; x < kMinimapSquares; ++x) start[x + 1] += start[x];
    byColumn.resize(byRow.size());
    for (const MinimapSquare& square : byRow) byColumn[static_cast<size_t>(start[square.x]++)] = square;
    return byColumn;
}

std::string IconName(int32_t kind, int32_t size) {
    return "minimap_" + std::string(kMinimapIconKindNames[kind]) + "_" + std::to_string(size);
}

void SetMarksFromIcons() {
    for (int32_t size = 0; size < 4; ++size) {
        MinimapMonsterMarks.quest[size] = icons[kIconQuest][size];
        MinimapMonsterMarks.questDead[size] = icons[kIconQuestUsed][size];
        MinimapMonsterMarks.commander[size] = icons[kIconMonster1][size];
        MinimapQuestItemMarks[size] = icons[kIconQuestTarget][size];
        MinimapHeroMarks.male[size] = icons[kIconPlayer][size];
        MinimapHeroMarks.female[size] = icons[kIconFemalePlayer][size];
    }
}

// The icons are pointers into the sprite table. Whenever sprites have been destroyed since
// they were taken (a level change frees the level's own sprites, shutdown frees them all),
// each is looked up again by its name: one that is gone becomes null and draws nothing,
// instead of being drawn from freed memory.
void RefreshMinimapIcons() {
    iconsGeneration = SpriteMgr_Generation();
    for (int32_t kind = 0; kind < kMinimapIconKinds; ++kind) {
        for (int32_t size = 0; size < 4; ++size) {
            if (icons[kind][size] != nullptr) icons[kind][size] = SpriteMgr_Find(IconName(kind, size).c_str());
        }
    }
    SetMarksFromIcons();
}

}  // namespace

void LoadMinimapIcons() {
    iconsLoaded = true;
    iconsGeneration = SpriteMgr_Generation();
    for (int32_t kind = 0; kind < kMinimapIconKinds; ++kind) {
        for (int32_t size = 0; size < 4; ++size) {
            std::string file = std::string("ui/icons/minimap_") + kMinimapIconKindNames[kind];
            if (size == 0) {
                file += kind == kMinimapIconKinds - 1 ? "_1x.png" : ".png";
            } else {
                file += "_" + std::to_string(size + 1) + "x.png";
            }
            icons[kind][size] = SpriteMgr_GetOrLoadPNG(IconName(kind, size).c_str(), file.c_str(), 0);
        }
    }
    SetMarksFromIcons();
}

Sprite* MinimapIcon(int32_t kind, int32_t size) {
    if (kind < 0 || kind >= kMinimapIconKinds || size < 0 || size > 3) return nullptr;
    return icons[kind][size];
}

void BuildMinimapPixels(const Level& level, int32_t c, uint8_t* pixels, int32_t pitch) {
    ScanMinimapSquares(level, c, pixels, pitch, nullptr);
}

HudPoint MinimapIconPoint(int32_t size, int32_t x, int32_t y, int32_t W) {
    HudPoint p;
    switch (size) {
        case 0: p.x = W - 107 + x; p.y = 3 + y; break;
        case 1: p.x = W - 209 + 2 * x; p.y = 1 + 2 * y; break;
        case 2: p.x = W - 309 + 3 * x; p.y = 1 + 3 * y; break;
        default: p.x = W - 413 + 4 * x; p.y = 4 * y - 3; break;
    }
    return p;
}

bool MinimapEnlargeHover(int32_t mx, int32_t my, int32_t W) {
    return mx >= W - 28 && mx <= W - 14 && my <= 14;
}

bool MinimapShrinkHover(int32_t mx, int32_t my, int32_t W) {
    return mx >= W - 14 && mx <= W && my <= 14;
}

namespace {

// The minimap's picture kept between frames: the map of seen squares in the screen's format
// (colour-keyed and run-length coded, so a frame copies only its coloured runs) and the icons
// of what stands on them, in drawing order. Both are made again when the level's seen squares
// change (every turn's sight pass changes them), or the size, the screen, the sprite table or
// the number of objects; otherwise a frame blits the kept map and icons without looking at a
// square. The background is blended over whatever lies under it, so it is blitted every frame.
struct MinimapPicture {
    SDL_Surface* map = nullptr;
    std::vector<SpriteDrawCall> icons;
    bool valid = false;
    const Level* level = nullptr;
    uint64_t seenStamp = 0;
    const Player* hero = nullptr;
    int32_t size = -1;
    int32_t screenWidth = 0;
    unsigned spriteGeneration = 0;
    size_t spriteCount = 0;
    size_t objectCount = 0;
    SDL_Surface* screen = nullptr;
    SDL_PixelFormat format = {};
};

MinimapPicture kept;

void ForgetMinimapPicture() {
    SDL_FreeSurface(kept.map);
    kept.map = nullptr;
    kept.valid = false;
    kept.icons.clear();
}

bool SameFormatAs(const SDL_PixelFormat& f, const SDL_Surface* screen) {
    const SDL_PixelFormat& g = *screen->format;
    return f.BitsPerPixel == g.BitsPerPixel && f.Rmask == g.Rmask && f.Gmask == g.Gmask && f.Bmask == g.Bmask &&
           f.Amask == g.Amask && g.palette == nullptr;
}

// Scans the level's squares into the map surface of the size and lists the icons of what
// stands on the seen squares, in drawing order (column by column, top to bottom).
void ScanMapAndIcons(const Level& level, const Player* hero, int32_t size, int32_t W,
                     std::vector<SpriteDrawCall>* icons) {
    static std::vector<MinimapSquare> withObjects;
    const int32_t c = size + 1;
    SDL_Surface* map = mapSurfaces[size];
    if (map != nullptr && SDL_LockSurface(map) == 0) {
        ScanMinimapSquares(level, c, static_cast<uint8_t*>(map->pixels), map->pitch, &withObjects);
        SDL_UnlockSurface(map);
    } else {
        ScanMinimapSquares(level, c, nullptr, 0, &withObjects);
    }
    icons->clear();
    SetSpriteDrawList(icons);
    for (const MinimapSquare& square : ByColumn(withObjects)) {
        const LevelCell* cell = level.GetCell(square.x, square.y);
        const HudPoint p = MinimapIconPoint(size, square.x, square.y, W);
        for (GameObj* object : cell->contents) {
            if (object != nullptr && object != hero) object->DrawOnMinimap(p.x, p.y, size);
        }
    }
    SetSpriteDrawList(nullptr);
}

bool KeptPictureFits(const Level& level, const Player* hero, int32_t size, int32_t W) {
    return kept.valid && kept.level == &level && kept.seenStamp == LevelSeenStamp(&level) && kept.hero == hero &&
           kept.size == size && kept.screenWidth == W && kept.spriteGeneration == SpriteMgr_Generation() &&
           kept.spriteCount == SpriteMgr_Count() && kept.objectCount == level.objects.size() &&
           kept.screen == ScreenSurface && ScreenSurface != nullptr && SameFormatAs(kept.format, ScreenSurface);
}

// Makes the kept picture for the screen. Without a screen of the usual kind the map stays
// in its 8-bit surface and is blitted from there.
void BuildMinimapPicture(const Level& level, const Player* hero, int32_t size, int32_t W) {
    ForgetMinimapPicture();
    ScanMapAndIcons(level, hero, size, W, &kept.icons);
    SDL_Surface* screen = ScreenSurface;
    SDL_Surface* map = mapSurfaces[size];
    if (screen != nullptr && map != nullptr && screen->format->palette == nullptr) {
        // The same pixels an 8-bit blit would write: every palette colour mapped to the
        // screen's format; the colour key (black) stays see-through.
        kept.map = SDL_ConvertSurface(map, screen->format, SDL_SRCCOLORKEY);
        if (kept.map != nullptr) SDL_SetColorKey(kept.map, SDL_SRCCOLORKEY | SDL_RLEACCEL, kept.map->format->colorkey);
    }
    kept.valid = true;
    kept.level = &level;
    kept.seenStamp = LevelSeenStamp(&level);
    kept.hero = hero;
    kept.size = size;
    kept.screenWidth = W;
    kept.spriteGeneration = SpriteMgr_Generation();
    kept.spriteCount = SpriteMgr_Count();
    kept.objectCount = level.objects.size();
    kept.screen = screen;
    if (screen != nullptr) kept.format = *screen->format;
}

}  // namespace

void DrawMinimap() {
    Level* level = CurrentLevel;
    Player* hero = CurrentPlayer;
    const int32_t W = Layout.screenWidth;
    const int32_t size = ClampedSize();
    const int32_t c = size + 1;
    if (level != nullptr && hero != nullptr) {
        LoadMissingPictures();
        if (iconsLoaded && iconsGeneration != SpriteMgr_Generation()) RefreshMinimapIcons();
        if (!KeptPictureFits(*level, hero, size, W)) BuildMinimapPicture(*level, hero, size, W);
        HudBlit(backgrounds[size], "minimap background", W - 100 * c - 10, 0);
        HudBlit(kept.map != nullptr ? kept.map : mapSurfaces[size], "minimap map", W - 100 * c - 5, 5);
        if (ScreenSurface != nullptr) {
            for (const SpriteDrawCall& icon : kept.icons) icon.sprite->DrawFrame(icon.x, icon.y, icon.frame);
        }
        const HudPoint p = MinimapIconPoint(size, hero->x, hero->y, W);
        HudRecord("minimap hero", p.x, p.y);
        if (ScreenSurface != nullptr) hero->DrawOnMinimap(p.x, p.y, size);
        const std::string depth = "LEVEL " + std::to_string(level->depth + 1);
        HudRecordText(depth, W - 100 * c - 4, 7);
        DrawText(W - 100 * c - 4, 7, depth, kTextWhite, nullptr, SmallFont);
        int mx = 0;
        int my = 0;
        LoggedGetMouseState(&mx, &my);
        HudBlit(enlarge[MinimapEnlargeHover(mx, my, W) ? 1 : 0], "minimap enlarge", W - 28, 0);
        HudBlit(shrink[MinimapShrinkHover(mx, my, W) ? 1 : 0], "minimap shrink", W - 14, 0);
    }
    DrawTicker();
    if (level == nullptr || hero == nullptr) return;
    const LevelCell* heroCell = level->GetCell(hero->x, hero->y);
    if (heroCell != nullptr) {
        const std::string& room = level->GetRoomName(heroCell->room);
        if (!room.empty()) {
            const int32_t x = W - TextWidth(room, TickerFont) - 16;
            HudRecordText(room, x, 100 * c + 16);
            DrawText(x, 100 * c + 16, room, kTextWhite, nullptr, TickerFont);
        }
    }
    if (hero->zooMonsterCount >= 1) {
        const std::string zoo = std::to_string(hero->zooMonsterCount) + " monsters left in zoo";
        const int32_t x = W - TextWidth(zoo, TickerFont) - 16;
        HudRecordText(zoo, x, 100 * c + 34);
        DrawText(x, 100 * c + 34, zoo, kTextWhite, nullptr, TickerFont);
    }
}

void FreeMinimap() {
    ForgetMinimapPicture();
    for (int32_t i = 0; i < 4; ++i) {
        SDL_FreeSurface(mapSurfaces[i]);
        mapSurfaces[i] = nullptr;
        SDL_FreeSurface(backgrounds[i]);
        backgrounds[i] = nullptr;
    }
    for (int32_t s = 0; s < 2; ++s) {
        SDL_FreeSurface(enlarge[s]);
        SDL_FreeSurface(shrink[s]);
        enlarge[s] = nullptr;
        shrink[s] = nullptr;
    }
}

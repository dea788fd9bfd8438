// The layout pass after the rooms are finished: stairs, treasures, reagents, breakables, dirt,
// traps, levers, shelves, statues and the long dungeon's portal.
#include <cstdio>

#include "core/random.h"
#include "core/tweak.h"
#include "items_fixtures/blockers.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/passages.h"
#include "items_fixtures/trap.h"
#include "levels/branch_db.h"
#include "levels/gen/level_content.h"
#include "levels/gen/level_layout.h"
#include "levels/gen/square_pickers.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "levels/room_templates.h"

namespace {

bool RoomAllows(const Level& level, int32_t x, int32_t y, int32_t RoomTemplate::*flag) {
    const LevelCell* cell = level.GetCell(x, y);
    if (cell == nullptr) return false;
    const RoomTemplate* t = level.GetRoomTemplate(cell->room);
    return t == nullptr || t->*flag == 0;
}

// Draws C-random squares over the whole level until `fits` holds; false (counted in the
// report) when the bounded draws found none.
template <class Fits>
bool DrawSquare(const char* what, Level& level, int32_t* outX, int32_t* outY, Fits fits) {
    return DrawSquareUntil(what, 0, 0, level.width, level.height, outX, outY, fits);
}

// The square rule of loose reagents, breakables, dirt and traps: passable, not on the last
// row and no wall below.
bool ScatterBase(const Level& level, int32_t x, int32_t y) {
    return level.IsSquarePassable(nullptr, x, y) && y < level.height - 1 &&
           level.SquareKind(x, y + 1) != SquareType::Wall;
}

bool PlainEmptyFloor(const Level& level, int32_t x, int32_t y) {
    const LevelCell* cell = level.GetCell(x, y);
    return cell != nullptr && cell->type == SquareType::Floor && cell->contents.empty();
}

// The rule of levers, shelves, statues and the portal: x = 1 + C(width - 2), y = 1 + C(height - 2)
// with clear 3 x 3 floor, no object, and a room that allows blockers.
bool PlaceOnClearFloor(Level& level, GameObj* obj) {
    int32_t x = 0;
    int32_t y = 0;
    if (DrawSquareUntil("clear floor square", 1, 1, level.width - 2, level.height - 2, &x, &y,
                        [&level](int32_t sx, int32_t sy) {
                            return level.IsClearFloor3x3(sx, sy) && !level.HasObjectAt(sx, sy) &&
                                   RoomAllows(level, sx, sy, &RoomTemplate::noblockers);
                        })) {
        obj->PlaceOnLevel(x, y, &level, 0);
        return true;
    }
    delete obj;
    return false;
}

// A breakable of the branch drawn with the game generator; null (nothing drawn) when the
// branch has none.
Breakable* NewBranchBreakable(Level& level) {
    BranchRecord* branch = level.GetBranchRecord();
    if (branch == nullptr || branch->breakables.empty()) return nullptr;
    int32_t index = static_cast<int32_t>(MTRandomInt(static_cast<uint32_t>(branch->breakables.size())));
    return new Breakable(&level, index, 1, 0);
}

bool PlaceBreakable(Level& level, Breakable* breakable) {
    int32_t x = 0;
    int32_t y = 0;
    bool found = DrawSquare("breakable square", level, &x, &y, [&](int32_t cx, int32_t cy) {
        return ScatterBase(level, cx, cy) && RoomAllows(level, cx, cy, &RoomTemplate::notreasure) &&
               PlainEmptyFloor(level, cx, cy);
    });
    if (!found) {
        delete breakable;
        return false;
    }
    breakable->PlaceOnLevel(x, y, &level, 0);
    return true;
}

// One stair marker: a wall square with walls beside it, wall or rock above, and open floor
// below, with nothing on the three squares; at least 20 squares from the stairs already
// marked (after enough rejections the last candidate is taken).
bool FindStairSquare(Level& level, const std::vector<std::pair<int32_t, int32_t>>& marked,
                     int32_t* outX, int32_t* outY) {
    auto isWallOrRock = [&](int32_t x, int32_t y) {
        int32_t kind = level.SquareKind(x, y);
        return kind == SquareType::Wall || kind == SquareType::Rock;
    };
    int32_t rejections = 0;
    bool haveCandidate = false;
    for (int32_t draw = 0; draw < kMaxStairDraws; ++draw) {
        int32_t x = 1 + static_cast<int32_t>(MTRandomInt(static_cast<uint32_t>(level.width - 2)));
        int32_t y = 1 + static_cast<int32_t>(MTRandomInt(static_cast<uint32_t>(level.height - 2)));
        if (level.SquareKind(x, y) != SquareType::Wall) continue;
        if (level.SquareKind(x - 1, y) != SquareType::Wall || level.SquareKind(x + 1, y) != SquareType::Wall) continue;
        if (!isWallOrRock(x - 1, y - 1) || !isWallOrRock(x, y - 1) || !isWallOrRock(x + 1, y - 1)) continue;
        if (level.SquareKind(x, y + 1) != SquareType::Floor || level.IsSquareBlocked(x, y + 1, true, true)) continue;
        if (level.HasObjectAt(x, y - 1) || level.HasObjectAt(x, y) || level.HasObjectAt(x, y + 1)) continue;
        *outX = x;
        *outY = y;
        haveCandidate = true;
        bool farEnough = true;
        for (const auto& stair : marked) {
            int32_t ddx = stair.first - x;
            int32_t ddy = stair.second - y;
            if (ddx * ddx + ddy * ddy < 400) farEnough = false;
        }
        if (farEnough || ++rejections >= kStairDistanceRejections) return true;
    }
    if (!haveCandidate) NoteSearchGivenUp("stair square");
    return haveCandidate;
}

}  // namespace

void PlaceLevelStairs(Level* level) {
    const int32_t n = StairsPerLevel();
    const bool last = level->depth >= LastDungeonDepth();
    std::vector<std::pair<int32_t, int32_t>> marked;
    for (int32_t number = 0; number < 2 * n; ++number) {
        const bool up = number < n;
        if (up && level->depth == 0) continue;
        if (!up && last) continue;
        int32_t x = 0;
        int32_t y = 0;
        if (!FindStairSquare(*level, marked, &x, &y)) {
            ReportGenerationError("levelLayout", __LINE__,
                                  up ? "no square can take an up staircase" : "no square can take a down staircase");
            continue;
        }
        LevelCell* cell = level->GetCell(x, y);
        cell->type = up ? SquareType::StairsUp : SquareType::StairsDown;
        cell->stairIndex = static_cast<uint8_t>(number % n);
        marked.emplace_back(x, y);
    }
    level->PlaceStairs();
    ApplyDeferredObjectMoves();
}

void ScatterLevelTreasures(Level* level) {
    int32_t count = static_cast<int32_t>(MTRandomInt(static_cast<uint32_t>(GetTweakInt("maximum additional treasures")))) +
                    GetTweakInt("minimum number of treasures");
    if (QuickGameFlag()) count /= 3;
    for (int32_t i = 0; i < count; ++i) level->PlaceTreasure(false);
    ApplyDeferredObjectMoves();
}

void ScatterLevelExtras(Level* level) {
    const bool quick = QuickGameFlag();
    Level& lv = *level;

    // Reagents.
    int32_t reagents = GetTweakInt("number of reagents per level");
    if (quick) reagents /= 3;
    for (int32_t i = 0; i < reagents; ++i) {
        const ItemDef* def = RandomReagentDef();
        Item* item = CreateItemFromDef(def);
        if (item == nullptr) break;  // no reagent definitions
        item->reagent = 1;
        if (MTOneChanceIn(5)) {
            Breakable* breakable = NewBranchBreakable(lv);
            if (breakable != nullptr) {
                breakable->contents = item;
                PlaceBreakable(lv, breakable);
                continue;
            }
        }
        int32_t x = 0;
        int32_t y = 0;
        bool found = DrawSquare("reagent square", lv, &x, &y, [&](int32_t cx, int32_t cy) {
            return ScatterBase(lv, cx, cy) && lv.SquareKind(cx, cy) != SquareType::ShopFloor &&
                   RoomAllows(lv, cx, cy, &RoomTemplate::notreasure);
        });
        if (found) item->PlaceOnLevel(x, y, &lv, 0);
        else delete item;
    }

    // Breakables, a quarter of them holding something to eat, drink or throw.
    int32_t breakables = 10 + static_cast<int32_t>(MTRandomInt(20));
    if (quick) breakables /= 4;
    for (int32_t i = 0; i < breakables; ++i) {
        Breakable* breakable = NewBranchBreakable(lv);
        if (breakable == nullptr) break;  // the branch has none
        if (MTOneChanceIn(4)) breakable->contents = RollConsumableLoot();
        PlaceBreakable(lv, breakable);
    }

    // Dirt.
    int32_t dirt = static_cast<int32_t>(MTRandomInt(static_cast<uint32_t>(lv.depth + 5)));
    for (int32_t i = 0; i < dirt; ++i) {
        int32_t x = 0;
        int32_t y = 0;
        if (DrawSquare("dirt square", lv, &x, &y, [&](int32_t cx, int32_t cy) {
                return ScatterBase(lv, cx, cy) && PlainEmptyFloor(lv, cx, cy) &&
                       RoomAllows(lv, cx, cy, &RoomTemplate::notreasure);
            })) {
            (new Dirt())->PlaceOnLevel(x, y, &lv, 0);
        }
    }

    // Traps.
    int32_t traps = RandomInt(lv.depth + 3) + GetTweakInt("num traps per level");
    if (quick) traps /= 4;
    for (int32_t i = 0; i < traps; ++i) {
        const ItemDef* def = RandomTrapDef();
        if (def == nullptr) break;  // no trap definitions
        int32_t x = 0;
        int32_t y = 0;
        if (DrawSquare("trap square", lv, &x, &y, [&](int32_t cx, int32_t cy) {
                return ScatterBase(lv, cx, cy) && !lv.HasObjectAt(cx, cy) &&
                       lv.SquareKind(cx, cy) != SquareType::ShopFloor &&
                       RoomAllows(lv, cx, cy, &RoomTemplate::notraps);
            })) {
            (new Trap(def))->PlaceOnLevel(x, y, &lv, 0);
        }
    }

    // Levers.
    int32_t levers = CRand() / 8192;
    for (int32_t i = 0; i < levers; ++i) {
        Lever* lever = new Lever();
        lever->kind = MTOneChanceIn(2) ? 0 : 2;  // a trap lever or a plain switch
        PlaceOnClearFloor(lv, lever);
    }

    // Shelves and statues.
    int32_t shelves = GetTweakInt("num shelves per level");
    if (quick) shelves /= 2;
    for (int32_t i = 0; i < shelves; ++i) PlaceOnClearFloor(lv, new Bookshelf());
    for (int32_t i = 0, n = GetTweakInt("num quest statues"); i < n; ++i) PlaceOnClearFloor(lv, new Statue());
    for (int32_t i = 0, n = GetTweakInt("num lutefisk statues"); i < n; ++i) PlaceOnClearFloor(lv, new LutefiskStatue());
    for (int32_t i = 0, n = GetTweakInt("zarnoch statues per level"); i < n; ++i) PlaceOnClearFloor(lv, new ZarnochStatue());

    // The long dungeon's portal.
    if (MTOneChanceIn(5) && ExtendedContentFlag()) PlaceOnClearFloor(lv, new Portal());
    ApplyDeferredObjectMoves();
}

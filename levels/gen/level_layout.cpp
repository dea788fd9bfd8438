// Template placement: stamping, the layout passes, doors and room finishing.
#include "levels/gen/level_layout.h"

#include <algorithm>
#include <cstdio>

#include "core/random.h"
#include "core/text_db.h"
#include "core/tweak.h"
#include "creatures/player.h"
#include "creatures/shopkeeper.h"
#include "items_fixtures/blockers.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/passages.h"
#include "levels/branch_db.h"
#include "levels/game_obj.h"
#include "levels/gen/level_content.h"
#include "levels/gen/square_pickers.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "levels/room_templates.h"

namespace {

GenerationReport gReport;
std::vector<PlacedRoom> gPlacedRooms;
std::vector<std::pair<int32_t, int32_t>> gDoors;
size_t gDoorHead = 0;
int32_t gFloorCount = 0;

int32_t gScopeDepth = 0;

// Resets the generation state and every square (a layout start or restart).
void ResetLayout(Level& level) {
    gFloorCount = 0;
    level.ClearRooms();
    std::fill(RoomTemplateCounters.begin(), RoomTemplateCounters.end(), 0);
    gPlacedRooms.clear();
    gDoors.clear();
    gDoorHead = 0;
    for (int32_t y = 0; y < level.height; ++y) {
        for (int32_t x = 0; x < level.width; ++x) {
            LevelCell* cell = level.GetCell(x, y);
            cell->type = SquareType::Rock;
            cell->flags = 0;  // a marked wall of a discarded attempt goes too
            cell->room = 0;
            cell->doorFlags = 0;
            cell->stairIndex = 0;
            cell->pathNode.x = x;
            cell->pathNode.y = y;
        }
    }
}

// Index of the template in the table (its counter), or -1.
int32_t TemplateIndex(const RoomTemplate* t) {
    for (size_t i = 0; i < RoomTemplates.size(); ++i) {
        if (RoomTemplates[i] == t) return static_cast<int32_t>(i);
    }
    return -1;
}

void SetTemplateCounter(const RoomTemplate* t) {
    int32_t index = TemplateIndex(t);
    if (index >= 0 && static_cast<size_t>(index) < RoomTemplateCounters.size()) {
        RoomTemplateCounters[static_cast<size_t>(index)] = 1;
    }
}

int32_t TemplateCounter(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= RoomTemplateCounters.size()) return 0;
    return RoomTemplateCounters[static_cast<size_t>(index)];
}

RoomTemplate* DrawTemplate() {
    if (RoomTemplates.empty()) return nullptr;
    return RoomTemplates[MTRandomInt(static_cast<uint32_t>(RoomTemplates.size()))];
}

// A new room record for a template about to be stamped at (x, y).
RoomRecord* AddRoomRecord(Level& level, RoomTemplate* t, int32_t x, int32_t y) {
    RoomRecord* record = new RoomRecord(static_cast<int32_t>(level.rooms.size()));
    record->left = x;
    record->top = y;
    record->right = x + t->width;
    record->bottom = y + t->height;
    record->roomTemplate = t;
    record->shopOrZoo = t->shop != 0 || t->zoo != 0;
    level.rooms.push_back(record);
    return record;
}

// The first room of a pass: placed at random, away from the level's first square.
void PlaceFirstRoom(Level& level, RoomTemplate* t, int32_t* outX, int32_t* outY) {
    int32_t x = 1 + static_cast<int32_t>(MTRandomInt(static_cast<uint32_t>(level.width - t->width - 1)));
    int32_t y = 1 + static_cast<int32_t>(MTRandomInt(static_cast<uint32_t>(level.height - t->height - 1)));
    AddRoomRecord(level, t, x, y);
    level.StampRoomTemplate(t, x, y);
    SetTemplateCounter(t);
    *outX = x;
    *outY = y;
}

// Tries the template's door tiles on the door square (dx, dy); places it at the first fit.
bool TryPlaceAtDoor(Level& level, RoomTemplate* t, int32_t dx, int32_t dy) {
    if (level.nextRoomNumber >= kNoRoomIndex) return false;  // room numbers are used up
    for (const auto& door : t->DoorTiles()) {
        int32_t x = dx - door.first;
        int32_t y = dy - door.second;
        if (!level.CanPlaceRoomTemplate(t, x, y)) continue;
        RoomRecord* record = AddRoomRecord(level, t, x, y);
        RoomRecord* owner = level.GetRoomRecordAt(dx, dy);
        if (owner != nullptr && owner != record) {
            owner->neighbours.push_back(record);
            record->neighbours.push_back(owner);
        }
        if (t->digglegod != 0) level.hasDiggleGodRoom = 1;
        if (t->shop != 0) level.hasShop = 1;
        if (t->zoo != 0) level.hasZoo = 1;
        level.StampRoomTemplate(t, x, y);
        SetTemplateCounter(t);
        return true;
    }
    return false;
}

// The first template of a level below depth 0 without seeds: a random one for the depth with
// at least three doors; after the bounded draws the first such template of the table.
RoomTemplate* DrawFirstTemplate(int32_t depth) {
    for (int32_t draw = 0; draw < kMaxFirstRoomDraws; ++draw) {
        RoomTemplate* t = DrawTemplate();
        if (t != nullptr && t->AllowsDepth(depth) && t->CountTiles(RoomTile::Door) >= 3) return t;
    }
    for (RoomTemplate* t : RoomTemplates) {
        if (t->AllowsDepth(depth) && t->CountTiles(RoomTile::Door) >= 3) return t;
    }
    return nullptr;
}

bool IsPortalExcluded(const RoomTemplate* t) {
    return t->quest != 0 || t->zoo != 0 || t->shop != 0 || t->digglegod != 0 || t->special != 0;
}

bool SizeAccepted(const Level& level) {
    int32_t rooms = level.roomCount - level.shopsPlaced;
    if (QuickGameFlag()) return rooms >= 11 && gFloorCount >= 800;
    return rooms >= 16 && gFloorCount >= 3000;
}

// The hero's square on a single-room level: the room's square (px, py) when it lies inside
// the room and can be stood on. Otherwise - an offset outside the room, a wall, an object in
// the way - the open square of the level nearest to it, with a diagnostic. False when the
// level has no square to stand on at all (the start is then the room's corner).
bool PlaceSingleRoomStart(Level& level, const RoomTemplate& t, int32_t ox, int32_t oy, int32_t px, int32_t py,
                          int32_t line) {
    const bool inRoom = px >= 0 && py >= 0 && px < t.width && py < t.height;
    const int32_t wantX = ox + std::min(std::max(px, 0), std::max(t.width - 1, 0));
    const int32_t wantY = oy + std::min(std::max(py, 0), std::max(t.height - 1, 0));
    level.startX = wantX;
    level.startY = wantY;
    if (inRoom && level.IsSquarePassable(nullptr, wantX, wantY)) return true;
    bool found = false;
    int64_t best = 0;
    for (int32_t y = 0; y < level.height; ++y) {
        for (int32_t x = 0; x < level.width; ++x) {
            if (!level.IsSquarePassable(nullptr, x, y)) continue;
            const int64_t dx = x - wantX;
            const int64_t dy = y - wantY;
            if (found && dx * dx + dy * dy >= best) continue;
            found = true;
            best = dx * dx + dy * dy;
            level.startX = x;
            level.startY = y;
        }
    }
    const std::string asked = "the start (" + std::to_string(px) + ", " + std::to_string(py) + ") of room \"" +
                              t.name + "\" " + (inRoom ? "cannot be stood on" : "lies outside the room");
    if (!found) {
        level.startX = std::max(0, std::min(ox, level.width - 1));
        level.startY = std::max(0, std::min(oy, level.height - 1));
        ReportGenerationError("roomTemplate", line, asked + " and the room has no open square");
        return false;
    }
    ReportGenerationError("roomTemplate", line,
                          asked + "; the hero starts at (" + std::to_string(level.startX - ox) + ", " +
                              std::to_string(level.startY - oy) + ") instead");
    return true;
}

// A single-template level (tutorials and the test room).
bool GenSingleRoomLevel(Level& level, const char* name, int32_t px, int32_t py, int32_t line) {
    int32_t side = QuickGameFlag() ? 75 : 100;
    level.SetSize(side, side);
    ResetLayout(level);
    RoomTemplate* t = FindFirstRoomTemplate(name != nullptr ? name : "");
    if (t == nullptr) {
        ReportGenerationError("roomTemplate", line, "BAD TUTORIAL LEVEL");
        return false;
    }
    BeginGenerationScope();
    int32_t ox = 1 + RandomInt(level.width - t->width - 1);
    int32_t oy = 1 + RandomInt(level.height - t->height - 1);
    AddRoomRecord(level, t, ox, oy);
    level.StampRoomTemplate(t, ox, oy);
    // A door drawn into the template stands as a door here too, as on a generated level.
    level.FixBadDoors();
    level.FinishRooms();
    EndGenerationScope();
    return PlaceSingleRoomStart(level, *t, ox, oy, px, py, line);
}

}  // namespace

// ---- report, state, moves ----------------------------------------------------------------

GenerationReport& LastGenerationReport() { return gReport; }
void ResetGenerationReport() { gReport = GenerationReport(); }

void ReportGenerationError(const char* where, int32_t line, const std::string& text) {
    std::printf("ZARNOCH ERROR: %s, line %i: %s\n", where, line, text.c_str());
    gReport.errors.push_back(text);
}

void NoteSearchGivenUp(const char* what) {
    ++gReport.searchesGivenUp;
    ++gReport.givenUpBySearch[what != nullptr ? what : ""];
}

void ClearLayoutState() {
    gPlacedRooms.clear();
    gDoors.clear();
    gDoorHead = 0;
    gFloorCount = 0;
}

std::vector<PlacedRoom>& PlacedRooms() { return gPlacedRooms; }
int32_t LayoutFloorCount() { return gFloorCount; }
const std::vector<std::pair<int32_t, int32_t>>& PendingDoors() { return gDoors; }

void BeginGenerationScope() { ++gScopeDepth; }

void EndGenerationScope() {
    if (gScopeDepth > 0) --gScopeDepth;
    if (gScopeDepth == 0) ApplyDeferredObjectMoves();
}

bool QuickGameFlag() { return CurrentPlayer != nullptr && CurrentPlayer->quickie != 0; }
bool ExtendedContentFlag() { return CurrentPlayer != nullptr && CurrentPlayer->extendedContent != 0; }
int32_t LastDungeonDepth() { return ExtendedContentFlag() ? 14 : 9; }
int32_t MaxShopsPerLevel() { return QuickGameFlag() ? 1 : GetTweakInt("max shops"); }

// ---- stamping ------------------------------------------------------------------------------

bool Level::CanPlaceRoomTemplate(const RoomTemplate* t, int32_t x, int32_t y) const {
    if (t == nullptr) return false;
    if (t->width <= 0 || t->height <= 0) return true;
    // Every square of the rectangle, blank ones too, keeps three squares from the edge.
    const int64_t right = static_cast<int64_t>(x) + t->width - 1;
    const int64_t bottom = static_cast<int64_t>(y) + t->height - 1;
    if (x < 3 || y < 3 || right >= width - 3 || bottom >= height - 3) return false;
    const size_t w = static_cast<size_t>(width);
    for (int32_t r = 0; r < t->height; ++r) {
        const uint8_t* tiles = t->tiles.data() + static_cast<size_t>(r) * static_cast<size_t>(t->width);
        const LevelCell* row = squares.data() + static_cast<size_t>(y + r) * w + static_cast<size_t>(x);
        for (int32_t c = 0; c < t->width; ++c) {
            const uint8_t tile = tiles[c];
            if (tile == 0) continue;
            const uint8_t square = row[c].type;
            if (square == 0) continue;
            if (tile == RoomTile::Wall && square == SquareType::Wall) continue;
            if (tile == RoomTile::Door && square == SquareType::Door) continue;
            return false;
        }
    }
    return true;
}

void Level::StampRoomTemplate(RoomTemplate* t, int32_t x, int32_t y) {
    if (t == nullptr) return;
    const uint8_t roomNumber = nextRoomNumber;
    for (int32_t r = 0; r < t->height; ++r) {
        for (int32_t c = 0; c < t->width; ++c) {
            const size_t at = static_cast<size_t>(c) + static_cast<size_t>(r) * static_cast<size_t>(t->width);
            uint8_t tile = t->TileAt(c, r);
            if (tile == 0) continue;
            LevelCell* s = GetCell(x + c, y + r);
            if (s == nullptr) continue;  // a template larger than the level is cut at its edge
            if (tile == RoomTile::Door && s->type != SquareType::Door) gDoors.emplace_back(x + c, y + r);
            s->type = tile;
            if (s->type == SquareType::Floor) ++gFloorCount;
            if (s->type == SquareType::Door) {
                s->doorFlags = (at < t->doorLayer.size() && t->doorLayer[at] == 1) ? 0 : 1;
                if (MTOneChanceIn(2)) s->doorFlags |= 2;
            }
            if (IsLiquidSquareType(s->type)) {
                if (depth == 3) s->type = SquareType::Water;
                else if (depth == 6) s->type = SquareType::Ice;
                else if (depth == 8 || depth == 9) s->type = SquareType::Lava;
            }
            if (s->type == SquareType::Wall && at < t->markLayer.size() && t->markLayer[at] == 4) {
                s->flags |= SquareFlag::MarkedWall;
            }
            if (s->type == SquareType::BlockedFloor) {
                s->type = SquareType::Floor;
                s->flags |= SquareFlag::Blocked;
            }
            if (t->shop != 0 && s->type == SquareType::Floor) s->type = SquareType::ShopFloor;
            if (t->zoo != 0 && s->type == SquareType::Floor) s->type = SquareType::ZooFloor;
            s->room = roomNumber;
        }
    }
    std::string title;
    std::string noun;
    MakeRandomTitle(title, noun);
    roomNames.push_back(title);
    PlacedRoom placed;
    placed.left = x;
    placed.top = y;
    placed.right = x + t->width;
    placed.bottom = y + t->height;
    placed.nameWord = noun;
    placed.roomTemplate = t;
    // Every stamped shop is finished with its keeper and stocked pedestals, whichever pass
    // stamped it: grown at a door, the first room of a level, or a single-room level.
    if (t->shop != 0) {
        placed.shop = true;
        placed.smallSX = x + t->smallSX;
        placed.smallSY = y + t->smallSY;
        placed.bigSX = x + t->bigSX;
        placed.bigSY = y + t->bigSY;
    }
    placed.zoo = t->zoo != 0;
    gPlacedRooms.push_back(placed);
    ++roomCount;
    if (t->shop != 0) ++shopsPlaced;
    TakeRoomNumber();
}

// ---- doors and rooms -----------------------------------------------------------------------

void Level::FixBadDoors() {
    for (int32_t x = 0; x < width; ++x) {
        for (int32_t y = height - 2; y >= 1; --y) {
            LevelCell* cell = GetCell(x, y);
            if (cell->type != SquareType::Door) continue;
            const bool sideBySide = (cell->doorFlags & 1) != 0;
            if (sideBySide && SquareKind(x - 2, y) == SquareType::Floor &&
                SquareKind(x + 2, y) == SquareType::Floor) {
                std::printf("fixing bad door at %i %i\n", x, y);
                cell->type = SquareType::Floor;
                continue;
            }
            Door* parts[3];
            for (int32_t part = 0; part < 3; ++part) {
                parts[part] = new Door(sideBySide ? 1 : 0, depth, part);
                if ((cell->doorFlags & 2) != 0) parts[part]->locked = 1;
            }
            parts[0]->next = parts[1];
            parts[1]->previous = parts[0];
            parts[1]->next = parts[2];
            parts[2]->previous = parts[1];
            for (int32_t part = 0; part < 3; ++part) {
                int32_t offset = part - 1;
                if (sideBySide) parts[part]->PlaceOnLevel(x + offset, y, this, 0);
                else parts[part]->PlaceOnLevel(x, y + offset, this, 0);
                if ((cell->doorFlags & 4) != 0) parts[part]->Open();
            }
        }
    }
}

void Level::FinishRooms() {
    std::vector<std::pair<int32_t, int32_t>> doors;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (GetCell(x, y)->type == SquareType::Door) doors.emplace_back(x, y);
        }
    }
    // Every door square found above frames itself with floor: its eight neighbours become
    // floor, a neighbouring door square too (the doors standing on it stay).
    for (const auto& door : doors) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            for (int32_t dx = -1; dx <= 1; ++dx) {
                if (dx == 0 && dy == 0) continue;
                LevelCell* n = GetCell(door.first + dx, door.second + dy);
                if (n != nullptr) n->type = SquareType::Floor;
            }
        }
    }
    for (int32_t x = 0; x < width; ++x) {
        for (int32_t y = 0; y + 1 < height; ++y) {
            if (GetCell(x, y)->type == SquareType::Rock && GetCell(x, y + 1)->type == SquareType::Floor) {
                GetCell(x, y)->type = SquareType::Wall;
            }
        }
    }
    const TextDB& text = GetTextDB();
    for (const PlacedRoom& placed : gPlacedRooms) {
        RoomTemplate* t = placed.roomTemplate;
        if (t == nullptr) continue;
        for (const auto& record : t->records) {
            if (record) record->Spawn(placed.left, placed.top, this);
        }
        if (!placed.nameWord.empty()) {
            for (const NounDescription& entry : text.nounDescriptions) {
                if (entry.noun != placed.nameWord) continue;
                uint8_t mark = entry.kind == kNounPainting ? 1 : entry.kind == kNounStatue ? 2
                             : entry.kind == kNounFloor ? 3 : 0;
                if (mark == 0) continue;
                for (int32_t c = 0; c < t->width; ++c) {
                    for (int32_t r = 0; r < t->height; ++r) {
                        size_t at = static_cast<size_t>(c) + static_cast<size_t>(r) * static_cast<size_t>(t->width);
                        if (at >= t->markLayer.size() || t->markLayer[at] != mark) continue;
                        if (!IsInside(placed.left + c, placed.top + r)) continue;
                        GameObj* fixture;
                        if (mark == 3) fixture = new Engraving(this, -1, entry.description.c_str());
                        else fixture = new Blocker(this, -1, entry.description.c_str());
                        fixture->PlaceOnLevel(placed.left + c, placed.top + r, this, 0);
                    }
                }
            }
        }
        if (!placed.shop) continue;
        Shopkeeper* keeper = new Shopkeeper();
        keeper->variant = CRand() / 8192;
        keeper->guardX = placed.smallSX;
        keeper->guardY = placed.smallSY;
        keeper->homeX = placed.bigSX;
        keeper->homeY = placed.bigSY;
        if (IsInside(placed.bigSX, placed.bigSY) && keeper->HasKeeperRecord()) {
            keeper->PlaceOnLevel(placed.bigSX, placed.bigSY, this, 0);  // joins the shopkeeper list
            std::printf("spawning shopkeeper: %i %i\n", placed.smallSX, placed.smallSY);
        } else {
            delete keeper;
        }
        for (const auto& spot : t->itemSpots) {
            int32_t sx = placed.left + spot.first;
            int32_t sy = placed.top + spot.second;
            if (!IsInside(sx, sy)) continue;
            ShopPedestal* pedestal = new ShopPedestal();
            const ItemDef* def = nullptr;
            if (MTRandomInt(4) != 0) {
                def = MTRandomInt(2) != 0 ? RandomArmourDefByLevel(0) : RandomWeaponDefByLevel(0, 0);
            } else if (!ItemDefLists.all.empty()) {
                def = ItemDefLists.all[static_cast<size_t>(
                    RandomInt(static_cast<int32_t>(ItemDefLists.all.size())))];
            }
            Item* item = CreateItem(def);
            if (item != nullptr) {
                item->unpaid = 1;
                if (def->category == kItemWeapon &&
                    (def->itemClass == kWeaponThrowing || def->itemClass == kWeaponAmmunition)) {
                    item->stackable = 1;
                    item->count = CRand() / 4682 + 2;
                    if (def->maxStack >= 1) item->count = std::min(item->count, def->maxStack);
                }
            }
            pedestal->stock = item;
            pedestal->PlaceOnLevel(sx, sy, this, 0);
        }
    }
}

// ---- the layout passes ---------------------------------------------------------------------

bool Level::GenRoomLayout(int32_t newWidth, int32_t newHeight) {
    ResetGenerationReport();
    BeginGenerationScope();
    BranchRecord* branch = GetBranchRecord();
    SetSize(newWidth, newHeight);
    bool accepted = false;
    bool warnedSeed = false;
    for (int32_t attempt = 0; attempt < kMaxLayoutAttempts && !accepted; ++attempt) {
        gReport.layoutAttempts = attempt + 1;
        ResetLayout(*this);
        RoomTemplate* first = nullptr;
        if (depth == 0) {
            first = RoomTemplates.empty() ? nullptr : RoomTemplates.front();
        } else {
            if (branch != nullptr && !branch->seeds.empty()) {
                const std::string& seed =
                    branch->seeds[static_cast<size_t>(RandomInt(static_cast<int32_t>(branch->seeds.size())))];
                first = FindFirstRoomTemplate(seed);
                if (first == nullptr && !warnedSeed) {
                    ReportGenerationError("roomTemplate", __LINE__,
                                          "no room template named \"" + seed +
                                              "\" for a branch seed; a random first room is used");
                    warnedSeed = true;
                }
            }
            if (first == nullptr) first = DrawFirstTemplate(depth);
        }
        if (first == nullptr) {
            ReportGenerationError("roomTemplate", __LINE__, "no room template can start a level at this depth");
            break;
        }
        int32_t fx = 0;
        int32_t fy = 0;
        PlaceFirstRoom(*this, first, &fx, &fy);
        if (depth == 0) {
            startX = fx + 4;
            startY = fy + 4;
        }
        while (gDoorHead < gDoors.size()) {
            const int32_t dx = gDoors[gDoorHead].first;
            const int32_t dy = gDoors[gDoorHead].second;
            int32_t counted = 0;
            bool placed = false;
            for (int32_t draw = 0; draw < kMaxDrawsPerDoor && counted < kCountedDrawsPerDoor && !placed; ++draw) {
                int32_t index = RoomTemplates.empty()
                                    ? -1
                                    : static_cast<int32_t>(MTRandomInt(static_cast<uint32_t>(RoomTemplates.size())));
                if (index < 0) break;
                RoomTemplate* t = RoomTemplates[static_cast<size_t>(index)];
                if (t->quest != 0) continue;
                if (t->zoo != 0 && hasZoo != 0) continue;
                if (t->digglegod != 0 && hasDiggleGodRoom != 0) continue;
                if (t->shop != 0 && shopsPlaced >= MaxShopsPerLevel()) continue;
                if (t->special != 0 && TemplateCounter(index) != 0) continue;
                ++counted;
                if (!t->AllowsDepth(depth)) continue;
                placed = TryPlaceAtDoor(*this, t, dx, dy);
            }
            if (!placed) GetCell(dx, dy)->type = SquareType::Wall;
            ++gDoorHead;
        }
        accepted = SizeAccepted(*this);
    }
    gReport.layoutAccepted = accepted;
    if (!accepted && roomCount > 0) {
        ReportGenerationError("levelLayout", __LINE__,
                              "the room templates never reached the acceptance size; the last attempt is kept");
    }
    FixBadDoors();
    FinishRooms();
    ApplyDeferredObjectMoves();
    AddLeverCloset();
    PlaceLevelStairs(this);
    ScatterLevelTreasures(this);
    ScatterLevelExtras(this);
    EndGenerationScope();
    return accepted;
}

bool Level::GenPortalLevelContent(int32_t newWidth, int32_t newHeight, int32_t roomTarget) {
    ResetGenerationReport();
    Level* previous = CurrentLevel;
    CurrentLevel = this;
    BeginGenerationScope();
    if (Branches.empty()) {
        ReportGenerationError("branchDB", __LINE__, "no branch records; the portal level keeps its branch");
    } else {
        BranchRecord* branch = Branches[static_cast<size_t>(RandomInt(static_cast<int32_t>(Branches.size())))];
        branchId = branch->id;
        tilesetImage = branch->GetTilesetImage();
    }
    isSideDimension = 1;
    SetSize(newWidth, newHeight);
    bool accepted = false;
    RoomRecord* lastRoom = nullptr;
    for (int32_t attempt = 0; attempt < kMaxPortalLayoutAttempts && !accepted; ++attempt) {
        gReport.layoutAttempts = attempt + 1;
        ResetLayout(*this);
        RoomTemplate* first = nullptr;
        for (int32_t draw = 0; draw < kMaxFirstRoomDraws && first == nullptr; ++draw) {
            RoomTemplate* t = DrawTemplate();
            if (t != nullptr && t->zoo == 0 && t->shop == 0 && t->special == 0 && t->digglegod == 0 &&
                t->CountTiles(RoomTile::Door) >= 2) {
                first = t;
            }
        }
        if (first == nullptr) {
            ReportGenerationError("roomTemplate", __LINE__, "no room template can start a portal level");
            break;
        }
        int32_t fx = 0;
        int32_t fy = 0;
        PlaceFirstRoom(*this, first, &fx, &fy);
        DrawSquareUntil("portal level start", fx, fy, first->width, first->height, &startX, &startY,
                        [this](int32_t x, int32_t y) { return SquareKind(x, y) == SquareType::Floor; });
        for (int32_t pass = 0; pass < roomTarget && gDoorHead < gDoors.size(); ++pass) {
            const int32_t dx = gDoors[gDoorHead].first;
            const int32_t dy = gDoors[gDoorHead].second;
            bool placed = false;
            for (int32_t draw = 0; draw < kCountedDrawsPerDoor && !placed; ++draw) {
                RoomTemplate* t = DrawTemplate();
                if (t == nullptr || IsPortalExcluded(t)) continue;
                placed = TryPlaceAtDoor(*this, t, dx, dy);
            }
            if (!placed) GetCell(dx, dy)->type = SquareType::Wall;
            ++gDoorHead;
        }
        accepted = roomCount == roomTarget;
    }
    gReport.layoutAccepted = accepted;
    if (!accepted && roomCount > 0) {
        ReportGenerationError("levelLayout", __LINE__,
                              "the portal level never reached its room target; the last attempt is kept");
    }
    if (!rooms.empty()) lastRoom = rooms.back();
    if (lastRoom != nullptr) {
        int32_t px = 0;
        int32_t py = 0;
        // The first 30 draws also want clear floor all around; later ones take any floor.
        if (DrawSquareUntil("portal square", lastRoom->left, lastRoom->top, lastRoom->right - lastRoom->left,
                            lastRoom->bottom - lastRoom->top, &px, &py, [this](int32_t x, int32_t y, int32_t draw) {
                                return SquareKind(x, y) == SquareType::Floor && (draw >= 29 || IsClearFloor3x3(x, y));
                            })) {
            (new Portal())->PlaceOnLevel(px, py, this, 0);
        }
    }
    FixBadDoors();
    FinishRooms();
    ApplyDeferredObjectMoves();
    ScatterLevelTreasures(this);
    EndGenerationScope();
    CurrentLevel = previous;
    return accepted;
}

bool Level::GenTutorialLevel(const char* templateName, int32_t px, int32_t py) {
    ResetGenerationReport();
    return GenSingleRoomLevel(*this, templateName, px, py, 988);
}

bool Level::GenTestRoomLevel(const char* templateName, int32_t px, int32_t py) {
    ResetGenerationReport();
    return GenSingleRoomLevel(*this, templateName, px, py, 1081);
}

void Level::PlaceStairs() {
    const int32_t last = LastDungeonDepth();
    for (int32_t x = 0; x < width; ++x) {
        for (int32_t y = height - 2; y >= 1; --y) {
            LevelCell* cell = GetCell(x, y);
            if (cell->type == SquareType::StairsUp) {
                if (depth == 0) {
                    cell->type = SquareType::Floor;
                } else {
                    (new Stairs(1))->PlaceOnLevel(x, y, this, 0);
                    GetCell(x, y - 1)->type = SquareType::Wall;
                }
            } else if (cell->type == SquareType::StairsDown) {
                if (depth < last) (new Stairs(0))->PlaceOnLevel(x, y, this, 0);
                GetCell(x, y - 1)->type = SquareType::Wall;
            }
        }
    }
}

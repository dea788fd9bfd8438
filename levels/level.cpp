#include "levels/level.h"
#include "levels/seen_stamp.h"

#include <algorithm>

#include "levels/game_obj.h"
#include "levels/branch_db.h"
#include "media/bob.h"

Level* CurrentLevel = nullptr;
std::vector<Level*> GameLevels;
Level* LevelBeingLoaded = nullptr;

namespace {

template <class T>
bool EraseFirst(std::vector<T*>& list, T* item) {
    auto found = std::find(list.begin(), list.end(), item);
    if (found == list.end()) return false;
    list.erase(found);
    return true;
}

bool IsHero(GameObj* obj) { return obj != nullptr && obj->IsPlayer(); }

}  // namespace

// ---- construction --------------------------------------------------------------------

Level::Level(int32_t, int32_t levelDepth) : depth(levelDepth) {
    BranchRecord* branch = FindBranchForDepth(levelDepth);
    if (branch != nullptr) {
        branchId = branch->id;
        tilesetImage = branch->GetTilesetImage();
    }
}

Level* Level::LevelForLoading() { return new Level(NoBranchLookup{}); }

Level::~Level() {
    ForgetLevelSeenStamp(this);
    ClearRooms();
    // Each object's destructor takes it off its square and off this level.
    std::vector<GameObj*> doomed = objects;
    for (GameObj* obj : doomed) delete obj;
    objects.clear();
    monsters.clear();
    shopkeepers.clear();
    customBlockers.clear();
    questBlocker = nullptr;
    for (LevelCell& cell : squares) {
        for (GameObj* obj : cell.contents) {
            if (obj->cell == &cell) obj->cell = nullptr;
        }
        cell.contents.clear();
    }
    spellMines.clear();  // the squares own the mines
    squares.clear();
    if (CurrentLevel == this) CurrentLevel = nullptr;
    if (LevelBeingLoaded == this) LevelBeingLoaded = nullptr;
}

// ---- grid ----------------------------------------------------------------------------

void Level::SetSize(int32_t newWidth, int32_t newHeight) {
    if (newWidth < 0) newWidth = 0;
    if (newHeight < 0) newHeight = 0;
    // Objects standing on the old squares are taken off them first.
    for (GameObj* obj : objects) obj->cell = nullptr;
    for (LevelCell& cell : squares) cell.contents.clear();
    spellMines.clear();
    squares = std::vector<LevelCell>(static_cast<size_t>(newWidth) * static_cast<size_t>(newHeight));
    width = newWidth;
    height = newHeight;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            AStarSquare& node = squares[Index(x, y)].pathNode;
            node.x = x;
            node.y = y;
        }
    }
    fluidVisibleMap.clear();
    drawnMap.clear();
    baseTileMap.clear();
    wallTileMap.clear();
    topTileMap.clear();
    highlightMap.clear();
    waterSquares.clear();
}


// ---- square queries ------------------------------------------------------------------

bool Level::LacksWallTop(int32_t x, int32_t y) const {
    return IsInside(x, y) && TopTile(x, y) == nullptr;
}

bool Level::IsClearFloor3x3(int32_t x, int32_t y) const {
    if (!IsInside(x, y)) return false;
    for (int32_t dy = -1; dy <= 1; ++dy) {
        for (int32_t dx = -1; dx <= 1; ++dx) {
            int32_t nx = x + dx;
            int32_t ny = y + dy;
            if (!IsInside(nx, ny)) continue;
            if (squares[Index(nx, ny)].type != SquareType::Floor) return false;
        }
    }
    return true;
}

bool Level::IsOpenSquare(int32_t x, int32_t y) const {
    if (!IsInside(x, y)) return false;
    int32_t kind = squares[Index(x, y)].type;
    return kind != SquareType::FloorVariant && IsWalkableSquareType(kind);
}

bool Level::IsSquareBlocked(int32_t x, int32_t y, bool countPlayer, bool countMonsters) const {
    const LevelCell* cell = GetCell(x, y);
    if (cell == nullptr) return true;
    if (cell->HasFlag(SquareFlag::Blocked)) return true;
    for (GameObj* obj : cell->contents) {
        if (obj->blocksMovement == 0) continue;
        if (obj->IsPlayer()) {
            if (countPlayer) return true;
        } else if (obj->IsMonster() != 0) {
            if (countMonsters) return true;
        } else {
            return true;
        }
    }
    return false;
}

bool Level::IsSquareBlockedFor(int32_t x, int32_t y, const GameObj* self) const {
    const LevelCell* cell = GetCell(x, y);
    if (cell == nullptr) return true;
    if (cell->HasFlag(SquareFlag::Blocked)) return true;
    for (GameObj* obj : cell->contents) {
        if (obj != self && obj->blocksMovement != 0) return true;
    }
    return false;
}

bool Level::IsSquareObstructed(int32_t x, int32_t y, bool countPlayer) const {
    const LevelCell* cell = GetCell(x, y);
    if (cell == nullptr) return true;
    if (cell->HasFlag(SquareFlag::Blocked)) return true;
    for (GameObj* obj : cell->contents) {
        if (obj->blocksMovement == 0 || obj->passable != 0) continue;
        if (obj->IsPlayer() && !countPlayer) continue;
        return true;
    }
    return false;
}

bool Level::HasSightBlocker(int32_t x, int32_t y) const {
    const LevelCell* cell = GetCell(x, y);
    if (cell == nullptr) return false;
    for (GameObj* obj : cell->contents) {
        if (obj->blocksSight != 0 && !obj->IsPlayer()) return true;
    }
    return false;
}

bool Level::IsSquarePassable(GameObj* mover, int32_t x, int32_t y, bool ignoreObjects,
                             bool allowLiquid) const {
    const LevelCell* cell = GetCell(x, y);
    if (cell == nullptr) return false;
    bool moverIsHero = IsHero(mover);
    if (IsLiquidSquareType(cell->type)) {
        bool heroCrosses = moverIsHero && mover->CrossesLiquid();
        if (allowLiquid || heroCrosses) return true;
    }
    if (cell->HasFlag(SquareFlag::Blocked)) return false;
    if (!IsWalkableSquareType(cell->type)) return false;
    if (ignoreObjects || cell->contents.empty()) return true;
    // The hero's own bump logic handles what stands in its way.
    if (moverIsHero) return true;
    for (GameObj* obj : cell->contents) {
        if (obj->blocksMovement != 0 && obj->passable == 0 && obj != mover && !obj->IsPlayer()) {
            return false;
        }
    }
    return true;
}

bool Level::IsSquarePassableForMonster(GameObj*, int32_t x, int32_t y,
                                       int32_t movementKind) const {
    const LevelCell* cell = GetCell(x, y);
    if (cell == nullptr) return false;
    int32_t kind = cell->type;
    bool accepted;
    if (movementKind == 1) {
        accepted = kind == SquareType::Water || kind == SquareType::Lava || kind == SquareType::Goo;
    } else if (movementKind == 0) {
        accepted = IsWalkableSquareType(kind);
    } else {
        accepted = IsWalkableSquareType(kind) || IsLiquidSquareType(kind);
    }
    if (!accepted) return false;
    for (GameObj* obj : cell->contents) {
        if (obj->blocksMovement != 0) return false;
    }
    return true;
}

// ---- branch and tiles ----------------------------------------------------------------

BranchRecord* Level::GetBranchRecord() const { return FindBranchById(branchId); }

void Level::EnsureSquareMaps() {
    size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (drawnMap.size() != count) drawnMap.assign(count, 0);
    if (fluidVisibleMap.size() != count) fluidVisibleMap.assign(count, 0);
    if (baseTileMap.size() != count) baseTileMap.assign(count, nullptr);
    if (wallTileMap.size() != count) wallTileMap.assign(count, nullptr);
    if (topTileMap.size() != count) topTileMap.assign(count, nullptr);
    if (highlightMap.size() != count) highlightMap.assign(count, 0);
}

bool Level::HasSquareMaps() const {
    size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    return drawnMap.size() == count && fluidVisibleMap.size() == count &&
           baseTileMap.size() == count && wallTileMap.size() == count &&
           topTileMap.size() == count && highlightMap.size() == count;
}

void Level::ClearHighlights() { std::fill(highlightMap.begin(), highlightMap.end(), 0); }

void Level::HighlightSquare(int32_t x, int32_t y) {
    if (!IsInside(x, y) || highlightMap.size() <= Index(x, y)) return;
    highlightMap[Index(x, y)] = 1;
}

// ---- objects -------------------------------------------------------------------------

void Level::AddObject(GameObj* obj) {
    objects.push_back(obj);
    if (obj->IsMonster() != 0 && std::find(monsters.begin(), monsters.end(), obj) == monsters.end()) {
        monsters.push_back(obj);
    }
}

void Level::RemoveObject(GameObj* obj) {
    // Erased from monsters whenever listed there, even when the object is being
    // destroyed and no longer answers IsMonster: no dangling entry may stay behind.
    EraseFirst(monsters, obj);
    EraseFirst(objects, obj);
    // The side lists point at objects too; none may keep a pointer to one that leaves.
    shopkeepers.erase(std::remove(shopkeepers.begin(), shopkeepers.end(), obj), shopkeepers.end());
    customBlockers.erase(std::remove(customBlockers.begin(), customBlockers.end(), obj),
                         customBlockers.end());
    if (questBlocker == obj) questBlocker = nullptr;
}

GameObj* Level::FindObjectByRoomID(int32_t room, const std::string& roomId) {
    for (GameObj* obj : objects) {
        if (obj->MatchesRoomID(this, room, roomId)) return obj;
    }
    return nullptr;
}

bool Level::HasObjectAt(int32_t x, int32_t y) const {
    const LevelCell* cell = GetCell(x, y);
    return cell != nullptr && !cell->contents.empty();
}

void Level::AddRoomEvent(int32_t room, const std::string& roomId, const std::string& eventName) {
    roomEvents[std::make_pair(room, roomId)].insert(eventName);
}

bool Level::HasRoomEvent(int32_t room, const std::string& roomId,
                         const std::string& eventName) const {
    auto found = roomEvents.find(std::make_pair(room, roomId));
    return found != roomEvents.end() && found->second.count(eventName) != 0;
}

// ---- effects and spell mines ---------------------------------------------------------

Bob* Level::AdoptEffectBob(std::unique_ptr<Bob> bob, int32_t x, int32_t y) {
    LevelCell* cell = GetCell(x, y);
    if (cell == nullptr) return nullptr;
    return cell->AdoptDecoration(std::move(bob));
}

int32_t Level::ReapFinishedEffects() {
    int32_t reaped = 0;
    for (LevelCell& cell : squares) {
        if (!cell.decorations.empty()) reaped += cell.ReapFinishedDecorations();
    }
    return reaped;
}

SpellMine* Level::AddSpellMine(int32_t x, int32_t y, Spell* spell, int32_t spellIndex,
                               GameObj* caster, int32_t value) {
    LevelCell* cell = GetCell(x, y);
    if (cell == nullptr) return nullptr;
    SpellMine* mine = new SpellMine;
    mine->cell = cell;
    mine->spell = spell;
    mine->spellIndex = spellIndex;
    mine->caster = caster;
    mine->value = value;
    cell->mines.push_back(mine);
    spellMines.push_back(mine);
    return mine;
}

bool Level::RemoveSpellMine(SpellMine* mine) {
    if (mine == nullptr || !EraseFirst(spellMines, mine)) return false;
    if (mine->cell != nullptr) EraseFirst(mine->cell->mines, mine);
    delete mine;
    return true;
}

// ---- rooms ---------------------------------------------------------------------------

int32_t Level::TakeRoomNumber() {
    if (nextRoomNumber >= kNoRoomIndex) return -1;
    return nextRoomNumber++;
}

void Level::ClearRooms() {
    for (RoomRecord* record : rooms) delete record;
    rooms.clear();
    roomNames.clear();
    nextRoomNumber = 0;
    roomCount = 0;
    shopsPlaced = 0;
    hasDiggleGodRoom = 0;
    hasShop = 0;
    hasZoo = 0;
}

RoomRecord* Level::GetRoomRecord(int32_t index) const {
    if (index < 0 || index == kNoRoomIndex) return nullptr;
    if (static_cast<size_t>(index) >= rooms.size()) return nullptr;
    return rooms[static_cast<size_t>(index)];
}

RoomTemplate* Level::GetRoomTemplate(int32_t index) const {
    RoomRecord* record = GetRoomRecord(index);
    return record != nullptr ? record->roomTemplate : nullptr;
}

RoomRecord* Level::GetRoomRecordAt(int32_t x, int32_t y) const {
    const LevelCell* cell = GetCell(x, y);
    return cell != nullptr ? GetRoomRecord(cell->room) : nullptr;
}

const std::string& Level::GetRoomName(int32_t index) const {
    static const std::string kNone;
    if (index < 0 || index == kNoRoomIndex) return kNone;
    if (static_cast<size_t>(index) >= roomNames.size()) return kNone;
    return roomNames[static_cast<size_t>(index)];
}

void LinkBobToTile(Bob* bob, int32_t x, int32_t y) {
    if (bob == nullptr || CurrentLevel == nullptr) return;
    LevelCell* cell = CurrentLevel->GetCell(x, y);
    if (cell != nullptr) bob->LinkInto(&cell->bobs);
}

#include "levels/level.h"

#include <algorithm>

#include "core/game_obj.h"
#include "media/bob.h"

Level* CurrentLevel = nullptr;
std::vector<Level*> GameLevels;

namespace {

template <class T>
bool EraseFirst(std::vector<T*>& list, T* item) {
    auto found = std::find(list.begin(), list.end(), item);
    if (found == list.end()) return false;
    list.erase(found);
    return true;
}

}  // namespace

LevelCell::LevelCell() = default;

LevelCell::~LevelCell() {
    // A Bob still linked here must not keep a pointer to a square that is gone.
    for (Bob* bob : bobs) {
        auto& cells = bob->linkedCells;
        cells.erase(std::remove(cells.begin(), cells.end(), this), cells.end());
    }
    bobs.clear();
    // Objects are owned by the level; only forget them.
    for (GameObj* obj : contents) {
        if (obj->cell == this) obj->cell = nullptr;
    }
    contents.clear();
}

void LevelCell::RemoveObject(GameObj* obj) {
    EraseFirst(contents, obj);
    if (obj->cell == this) obj->cell = nullptr;
}

Level::Level(int32_t, int32_t levelDepth) : depth(levelDepth) {}

Level* Level::LevelForLoading() { return new Level(0, 0); }

Level::~Level() {
    // Each object's destructor takes it off its square and off this level.
    std::vector<GameObj*> doomed = objects;
    for (GameObj* obj : doomed) delete obj;
    objects.clear();
    monsters.clear();
    if (CurrentLevel == this) CurrentLevel = nullptr;
}

void Level::SetSize(int32_t newWidth, int32_t newHeight) {
    if (newWidth < 0) newWidth = 0;
    if (newHeight < 0) newHeight = 0;
    // Objects standing on the old squares are taken off them first.
    for (GameObj* obj : objects) obj->cell = nullptr;
    squares = std::vector<LevelCell>(static_cast<size_t>(newWidth) * static_cast<size_t>(newHeight));
    width = newWidth;
    height = newHeight;
}

bool Level::IsInside(int32_t x, int32_t y) const {
    return x >= 0 && y >= 0 && x < width && y < height;
}

LevelCell* Level::GetCell(int32_t x, int32_t y) {
    if (!IsInside(x, y)) return nullptr;
    return &squares[static_cast<size_t>(x) + static_cast<size_t>(y) * static_cast<size_t>(width)];
}

void Level::AddObject(GameObj* obj) { objects.push_back(obj); }

void Level::RemoveObject(GameObj* obj) {
    // Erased from monsters whenever listed there, even when the object is being
    // destroyed and no longer answers IsMonster: no dangling entry may stay behind.
    EraseFirst(monsters, obj);
    EraseFirst(objects, obj);
}

GameObj* Level::FindObjectByRoomID(int32_t room, const std::string& roomId) {
    for (GameObj* obj : objects) {
        if (obj->MatchesRoomID(this, room, roomId)) return obj;
    }
    return nullptr;
}

void Level::AddRoomEvent(int32_t room, const std::string& roomId, const std::string& eventName) {
    roomEvents[std::make_pair(room, roomId)].insert(eventName);
}

bool Level::HasRoomEvent(int32_t room, const std::string& roomId,
                         const std::string& eventName) const {
    auto found = roomEvents.find(std::make_pair(room, roomId));
    return found != roomEvents.end() && found->second.count(eventName) != 0;
}

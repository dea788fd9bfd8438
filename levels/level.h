#pragma once
// Level: one floor of the dungeon - a grid of squares (LevelCell) and the game objects
// standing on it.
//
// Stand-in - the smallest level the object model needs. Still to come with the levels
// work: rooms and room records, room names, spell mines, custom blockers, the per-square
// tile and draw maps, the tileset image and the branch lookup at construction, side
// dimension fields' use, shopkeepers, water squares, lever walls, script success
// counters, the square queries (passability, liquids, sight blockers), square pickers,
// generation, graphics, saving and loading. LevelCell still lacks its decorations, spell
// mines and path node.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class Bob;
class GameObj;

// Square kinds (values of LevelCell::type).
namespace SquareType {
enum : uint8_t {
    Rock = 0,
    Floor = 1,
    Wall = 2,
    StairsUp = 3,
    StairsDown = 4,
    FloorVariant = 5,
    Door = 6,
    Water = 7,
    Lava = 8,
    Goo = 9,
    Ice = 10,
    ShopFloor = 13,
    ZooFloor = 14,
    BlockedFloor = 15,
};
}  // namespace SquareType

// Square flag bits (LevelCell::flags).
namespace SquareFlag {
enum : uint8_t {
    Blocked = 0x01,
    Explored = 0x02,
    Visible = 0x04,
    Lit = 0x08,
    Mapped = 0x10,
    InSight = 0x20,
    SightMark = 0x40,
    MarkedWall = 0x80,
};
}  // namespace SquareFlag

class LevelCell {
public:
    LevelCell();
    ~LevelCell();
    // Squares never move: objects and Bobs keep pointers to them.
    LevelCell(const LevelCell&) = delete;
    LevelCell& operator=(const LevelCell&) = delete;

    // Erases the first occurrence of obj from contents and clears the object's square.
    void RemoveObject(GameObj* obj);

    uint8_t type = SquareType::Rock;
    uint8_t room = 0;
    uint8_t stairIndex = 0;
    uint8_t doorFlags = 0;
    uint8_t flags = 0;
    std::vector<GameObj*> contents;  // not owned: the level's objects own them
    std::vector<Bob*> bobs;          // Bobs drawn with this square, not owned
};

class Level {
public:
    // The first argument is not read.
    Level(int32_t unused, int32_t depth);
    // The empty state a saved level is read into: no squares, no branch lookup.
    static Level* LevelForLoading();
    // Deletes every object on the level.
    ~Level();

    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    // Sets the grid size and creates width x height empty squares (generation and
    // loading call it once).
    void SetSize(int32_t newWidth, int32_t newHeight);
    bool IsInside(int32_t x, int32_t y) const;
    // The square (x, y), or null outside the grid.
    LevelCell* GetCell(int32_t x, int32_t y);

    void AddObject(GameObj* obj);
    // Erases the first occurrence from monsters and from objects; does not delete.
    void RemoveObject(GameObj* obj);
    // The first object whose MatchesRoomID(this, room, roomId) answers true, or null.
    GameObj* FindObjectByRoomID(int32_t room, const std::string& roomId);

    void AddRoomEvent(int32_t room, const std::string& roomId, const std::string& eventName);
    bool HasRoomEvent(int32_t room, const std::string& roomId, const std::string& eventName) const;
    void ClearRoomEvents() { roomEvents.clear(); }

    std::vector<LevelCell> squares;  // x + y * width
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 0;
    int32_t branchId = 0;
    int32_t isSideDimension = 0;
    int32_t returnDepth = 0;
    int32_t returnX = 0;
    int32_t returnY = 0;
    int32_t startX = 0;
    int32_t startY = 0;
    int32_t previousRoom = -1;
    std::vector<GameObj*> objects;   // every object on the level
    std::vector<GameObj*> monsters;  // the monsters among objects
    std::map<std::pair<int32_t, std::string>, std::set<std::string>> roomEvents;
};

// The level being played; null between games.
extern Level* CurrentLevel;
// Every level of the running game in order of creation (owned); empty between games.
extern std::vector<Level*> GameLevels;

#pragma once
// LevelCell: one square of a level - its kind, room, flags, the objects standing on it,
// its spell mines, the decorations it owns, the Bobs drawn with it and its path node.
#include <cstdint>
#include <memory>
#include <vector>

#include "levels/path_finding.h"

class Bob;
class GameObj;
class SaveReader;
class SaveWriter;
class Spell;
class LevelCell;

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

// The room byte of a square, and of the hero's room indices, that means "no room".
constexpr uint8_t kNoRoomIndex = 255;

// Walkable kinds: floor, both staircases, floor variant, door, shop and zoo floor.
bool IsWalkableSquareType(int32_t kind);
// Plain floor only.
bool IsPlainFloorType(int32_t kind);
// Water, lava, goo and ice.
inline bool IsLiquidSquareType(int32_t kind) {
    return kind == SquareType::Water || kind == SquareType::Lava || kind == SquareType::Goo ||
           kind == SquareType::Ice;
}

// A spell lying armed on a square. Owned by its square's mines list; the level's
// spellMines list only points at it.
struct SpellMine {
    LevelCell* cell = nullptr;
    Spell* spell = nullptr;
    int32_t spellIndex = -1;
    GameObj* caster = nullptr;
    int32_t value = 0;
    int32_t turnsLeft = -1;  // counted down every turn; -1 never expires
};

class LevelCell {
public:
    LevelCell();
    // Deletes its spell mines and decorations, unlinks the Bobs still linked to it and
    // forgets the objects standing on it (the level owns those).
    ~LevelCell();
    // Squares never move: objects, Bobs and path records keep pointers to them.
    LevelCell(const LevelCell&) = delete;
    LevelCell& operator=(const LevelCell&) = delete;

    // Erases the first occurrence of obj from contents and clears the object's square.
    void RemoveObject(GameObj* obj);
    bool HasObjects() const { return !contents.empty(); }
    bool HasFlag(uint8_t flag) const { return (flags & flag) != 0; }

    // Decorations: Bobs that the square owns (effects handed to the level, decorative
    // animations). The square is their one owner: it takes them as unique pointers, links
    // them to itself for drawing and is the only one to delete them - when they are reaped
    // or with itself. Returns the Bob, now owned here (null for null).
    Bob* AdoptDecoration(std::unique_ptr<Bob> bob);
    bool OwnsDecoration(const Bob* bob) const;
    // Deletes the owned decorations that are marked delete-when-done and finished. Bobs
    // merely linked here (an object's own Bob, say) are never deleted, whatever their
    // flags. Returns how many were deleted.
    int32_t ReapFinishedDecorations();

    // The square record of a save (levels/level_save.cpp). Doors are left out: the door
    // pass rebuilds them from doorFlags. Load creates the objects through the class registry
    // (each places itself) and keeps the mines of a current-format stream.
    bool Save(SaveWriter& out);
    void Load(SaveReader& in);

    uint8_t type = SquareType::Rock;
    uint8_t room = 0;
    uint8_t stairIndex = 0;
    uint8_t doorFlags = 0;
    uint8_t flags = 0;
    std::vector<std::unique_ptr<Bob>> decorations;
    std::vector<SpellMine*> mines;   // owned
    std::vector<GameObj*> contents;  // not owned: the level's objects own them
    std::vector<Bob*> bobs;          // Bobs drawn with this square, not owned
    AStarSquare pathNode;
};

#pragma once
// Fixtures that move the hero or open the way: doors, levers, stairs, portals and
// teleporters.
//
// Stand-in: doors and levers keep their fields, their records and the obvious state changes.
// Still to be built here: door chains and drawing, lever kinds (opening wall squares, uber
// chests), the tutorial report (2).
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"
#include "levels/game_obj.h"

class Door : public GameObj {
public:
    // orientation 1: the three parts stand side by side along x; 0 along y.
    // part 0, 1 or 2: first, middle or last.
    Door(int32_t orientation, int32_t depth, int32_t part);
    // A level keeps its doors in the door squares' flags and builds them again after a load,
    // so a door writes nothing and its load constructor reads nothing.
    explicit Door(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();

    bool IsDoorOrChest() override { return true; }
    int32_t IsDoorOrLever() override { return 1; }
    bool IsClosedDoor() override { return !open; }
    int32_t Activate() override;
    void Open();

    int32_t orientation = 0;
    int32_t depth = 0;
    int32_t part = 0;
    int32_t locked = 0;
    bool open = false;
    Door* previous = nullptr;
    Door* next = nullptr;
};

// Save block after the Activatable block: kind, targetX, targetY. A lever linked to a chest
// first takes the chest's current square as its target; a loaded lever has no link.
class Lever : public Activatable {
public:
    Lever();
    explicit Lever(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Lever"; }
    const char* GetActionVerb() override { return "Pull Lever"; }
    bool IsLever() override { return true; }
    int32_t IsDoorOrLever() override { return 1; }

    int32_t state = 0;        // generation sets 0 or 2
    int32_t kind = 0;         // 1 opens a wall square of the level, 3 linked to an uber chest
    int32_t targetX = 0;
    int32_t targetY = 0;
    GameObj* linked = nullptr;

private:
    void RefreshPicture();
};

// A staircase object on a stair square: the level draws the stairs themselves. Stepping on
// it takes the hero up or down. Save block: up (word).
class Stairs : public GameObj {
public:
    explicit Stairs(int32_t up);
    explicit Stairs(SaveReader& in);
    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Stairs"; }
    bool IsMovable() override { return false; }
    void PlayerEntered() override;
    int32_t up = 0;

private:
    void RefreshPicture();
};

// "Mysterious Portal": stepping in uses it up and sends the hero through. No own save words.
class Portal : public GameObj {
public:
    Portal();
    explicit Portal(SaveReader& in);
    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Mysterious Portal"; }
    bool IsMovable() override { return false; }
    void PlayerEntered() override;

private:
    void RefreshPicture();
};

// One glyph of a pair: stepping on it moves the hero to the partner square, when that square
// is plain floor. Save block: partnerX, partnerY.
class Teleporter : public GameObj {
public:
    Teleporter(int32_t partnerX, int32_t partnerY);
    explicit Teleporter(SaveReader& in);
    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Satanic Displacement Glyph"; }
    void PlayerEntered() override;
    int32_t partnerX = 0;
    int32_t partnerY = 0;

private:
    void RefreshPicture();
};

// The level changes that stairs and portals ask for (the game shell's, unless a test puts
// its own here).
struct PassageTravel {
    void (*descend)(int32_t stairIndex, int32_t branchId, int32_t depth);
    void (*ascend)(int32_t stairIndex, int32_t branchId, int32_t depth);
    void (*portal)();
};
extern PassageTravel PassageTravelActions;

#pragma once
// Fixtures that move the hero or open the way: doors, levers, stairs, portals and
// teleporters.
//
// Stand-in: fields and the obvious state changes. Still to be built here: door chains
// and drawing, lever kinds (opening wall squares, uber chests) and the tutorial report
// (2), staircase and portal travel (AscendStairs / DescendStairs / TravelThroughPortal),
// teleporting, and saving.
#include <cstdint>

#include "levels/game_obj.h"

class Door : public GameObj {
public:
    // orientation 1: the three parts stand side by side along x; 0 along y.
    // part 0, 1 or 2: first, middle or last.
    Door(int32_t orientation, int32_t depth, int32_t part);

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

class Lever : public Activatable {
public:
    Lever();
    bool IsLever() override { return true; }
    int32_t IsDoorOrLever() override { return 1; }

    int32_t state = 0;        // generation sets 0 or 2
    int32_t kind = 0;         // 1 opens a wall square of the level, 3 linked to an uber chest
    int32_t targetX = 0;
    int32_t targetY = 0;
    GameObj* linked = nullptr;
};

class Stairs : public GameObj {
public:
    explicit Stairs(int32_t up);
    void PlayerEntered() override;
    int32_t up = 0;
};

class Portal : public GameObj {
public:
    Portal();
    void PlayerEntered() override;
};

class Teleporter : public GameObj {
public:
    Teleporter(int32_t destinationX, int32_t destinationY);
    int32_t destinationX = 0;
    int32_t destinationY = 0;
};

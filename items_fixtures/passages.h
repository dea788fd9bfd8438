#pragma once
// Fixtures that move the hero or open the way: doors, levers, stairs, portals and
// teleporters. Doors and levers do their work in door.cpp and lever.cpp.
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"
#include "levels/game_obj.h"

// One of the three parts of a door standing across a doorway: side 0, the middle (1) that
// the hero walks through, and side 2. Opening or closing one part moves all three. The door
// square's flags keep the state (bit 1 orientation, 2 locked, 4 open); every change is
// written back there, and the level builds its doors again from them after a load.
class Door : public GameObj {
public:
    // orientation 0: the parts stand at (x, y - 1), (x, y), (x, y + 1) and the hero passes
    // from west to east; 1: at (x - 1, y), (x, y), (x + 1, y), passing from north to south.
    // depth: of the door's level, choosing the branch art. part 0, 1 or 2: side.
    Door(int32_t orientation, int32_t depth, int32_t part);
    // A level keeps its doors in the door squares' flags and builds them again after a load,
    // so a door writes nothing and its load constructor reads nothing.
    explicit Door(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();

    std::string GetName() override { return "Door"; }
    bool IsDoorOrChest() override { return true; }
    int32_t IsDoorOrLever() override { return 1; }
    // False while click-to-move is disabled; else whether the door is shut.
    bool IsClosedDoor() override;
    bool IsClosed() const { return blocksMovement != 0; }
    int32_t WalkPlayerBeside() override;
    int32_t BumpedByPlayer() override;
    const char* GetActionVerb() override;
    void HighlightNextDraw(const MapView& view) override;
    int32_t Activate() override;
    void Destroy() override;
    // One part's state change (flags, picture, square's open bit, draw layer).
    void Open();
    void Close();

    int32_t orientation = 0;
    int32_t depth = 0;  // style: the depth whose branch art the door wears
    int32_t part = 0;   // side
    int32_t locked = 0;
    int32_t kicks = 0;
    bool open = false;
    Door* previous = nullptr;  // linkA: the part before (none for side 0)
    Door* next = nullptr;      // linkB: the part after (none for side 2)

private:
    void SetUpPicture();
    // This part and the parts reachable through the links (at most five; none twice).
    int32_t Chain(Door* out[5]);
    void OpenAll();
    void CloseAll();
    int32_t Pick(Item* lockpick);
    int32_t Kick();
    // The kicked-in door: every part goes, its squares become floor.
    void BreakDown();
};

// Save block after the Activatable block: kind, targetX, targetY. A lever linked to a chest
// first takes the chest's current square as its target; a loaded lever has no link.
class Lever : public Activatable {
public:
    Lever();
    explicit Lever(SaveReader& in);
    ~Lever() override;

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Lever"; }
    const char* GetActionVerb() override { return "Pull Lever"; }
    bool IsLever() override { return true; }
    int32_t IsDoorOrLever() override { return 1; }

    int32_t BumpedByPlayer() override { return Activate(); }
    int32_t Activate() override;
    void Destroy() override;
    void Draw(const MapView& view) override;

    // 0 plain switch (any value but 1, 2, 3), 1 opens the wall square at the target, 2 springs
    // traps around itself, 3 unlocks the linked uber chest.
    int32_t kind = 0;
    int32_t targetX = 0;
    int32_t targetY = 0;
    GameObj* linked = nullptr;  // kind 3: the uber chest; not saved; cleared when the chest goes

private:
    void RefreshPicture();
    // The one-shot kinds' second pull.
    int32_t Stuck();
};

// Every lever linked to the chest forgets it (the chest is being destroyed). A lever keeps the
// square it last knew, so its record stays the same.
void ForgetChestLinks(const GameObj* chest);

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
    // The up or the down stairs icon.
    void DrawOnMinimap(int32_t x, int32_t y, int32_t zoom) override;
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
    void DrawOnMinimap(int32_t x, int32_t y, int32_t zoom) override;
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

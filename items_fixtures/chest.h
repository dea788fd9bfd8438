#pragma once
// Chests: the branch's ordinary chest and the rarer uber chest a lever closet unlocks.
//
// Stand-in: the records, pictures and registrations are built; opening, lock picking,
// bashing and the lock roll of a new chest are still to be built (a new chest starts
// unlocked).
//
// Chest save block after the GameObj block: contents (embedded object), locked, smashed.
// UberChest: contents, locked (from 1.0.6; older chests load locked), then two further
// words (from 1.0.10; older saves give 0).
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

class Level;
class Item;

class Chest : public GameObj {
public:
    explicit Chest(Level* onLevel);
    explicit Chest(SaveReader& in);
    ~Chest() override;  // deletes its content

    FIXTURE_CLASS_MEMBERS();
    bool IsDoorOrChest() override { return true; }
    std::string GetName() override { return "Chest"; }

    // The branch picture for the state: closed while it holds something, broken once
    // smashed, open otherwise.
    void RefreshPicture();

    Item* content = nullptr;
    int32_t locked = 0;
    int32_t smashed = 0;

private:
    Level* pictureLevel = nullptr;  // whose branch art the chest wears
};

class UberChest : public GameObj {
public:
    UberChest();
    explicit UberChest(SaveReader& in);
    ~UberChest() override;  // deletes its content

    FIXTURE_CLASS_MEMBERS();
    bool IsUberChest() override { return true; }
    std::string GetName() override { return "UberChest(TM)"; }
    const char* GetActionVerb() override { return "Open"; }

    // Frame 0 locked, 1 unlocked and full, 2 unlocked and empty.
    void RefreshPicture();

    Item* content = nullptr;  // the artifact inside
    int32_t locked = 1;
    int32_t furtherA = 0;
    int32_t furtherB = 0;
};

// Keeps an embedded object that must be an item; anything else is reported and deleted.
Item* ExpectItem(GameObj* object, const char* owner);

#pragma once
// Chests: the branch's ordinary chest and the rarer uber chest a lever closet unlocks.
//
// A chest opens when the hero uses it; a locked one takes a lockpick (belt first, then
// backpack) or, without one, may be bashed. An uber chest opens only once its lever has
// unlocked it.
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
    // A new chest: empty, not smashed, locked on one chance in two.
    explicit Chest(Level* onLevel);
    explicit Chest(SaveReader& in);
    ~Chest() override;  // deletes its content

    FIXTURE_CLASS_MEMBERS();
    bool IsDoorOrChest() override { return true; }
    std::string GetName() override { return "Chest"; }
    const char* GetActionVerb() override;
    // With an item on the mouse cursor the bump uses the chest; else nothing.
    int32_t BumpedByPlayer() override;
    int32_t Activate() override;
    // A lockpick dropped on a locked chest.
    int32_t UseItemOn(Item* item) override;
    void Destroy() override;

    // The branch picture for the state: closed while it holds something, broken once
    // smashed, open otherwise.
    void RefreshPicture();

    Item* content = nullptr;
    int32_t locked = 0;
    int32_t smashed = 0;

private:
    // Opens the (unlocked or bashed) chest and hands out the contents.
    int32_t OpenUp();
    // The successful pick: unlocked, its line, sound and eye candy.
    void Unlock();

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
    int32_t BumpedByPlayer() override;
    int32_t Activate() override;
    void Destroy() override;
    void DrawOnMinimap(int32_t x, int32_t y, int32_t zoom) override;

    // Frame 0 locked, 1 unlocked and full, 2 unlocked and empty.
    void RefreshPicture();

    Item* content = nullptr;  // the artifact inside
    int32_t locked = 1;
    int32_t furtherA = 0;
    int32_t furtherB = 0;
};

// Hands a chest's contents out: money into the hero's purse (the pile is queued for deletion),
// anything else onto the square (x, y) of the level.
void HandOutContents(Item* contents, int32_t x, int32_t y, Level* onLevel);

// Keeps an embedded object that must be an item; anything else is reported and deleted.
Item* ExpectItem(GameObj* object, const char* owner);

#pragma once
// The other dungeon fixtures: shelves, chests, vending machines, statues, pedestals and
// the rest of the room furniture.
//
// Stand-in: constructors and the fields other subsystems write. Still to be built here:
// each fixture's art, activation (searching shelves with the tutorial report 16, opening
// chests, vending, the shrines, anvils, barbecues), shop pedestal stock, quest blockers,
// tooltips and saving. The fixtures that are built live in their own files, included below.
#include <cstdint>
#include <string>

#include "items_fixtures/bbq.h"
#include "items_fixtures/bookshelf.h"
#include "items_fixtures/dirt.h"
#include "items_fixtures/evil_chest.h"
#include "items_fixtures/fountain.h"
#include "items_fixtures/freezer.h"
#include "items_fixtures/quest_statue.h"
#include "items_fixtures/reading_stands.h"
#include "levels/game_obj.h"

class Level;
class Item;
class QuestRecord;

class Chest : public GameObj {
public:
    explicit Chest(Level* onLevel);
    ~Chest() override;  // deletes its content
    bool IsDoorOrChest() override { return true; }
    Item* content = nullptr;
    std::string image;  // the closed-chest picture of the level's branch
};

class UberChest : public GameObj {
public:
    UberChest();
    ~UberChest() override;  // deletes its content
    bool IsUberChest() override { return true; }
    Item* content = nullptr;  // the artifact inside
};

// A vending machine: kind 0 bolts, 1 food, 2 drinks, 3 thrown weapons, 4 crafting goods.
class Dispenser : public GameObj {
public:
    explicit Dispenser(int32_t kind);
    int32_t kind = 0;
};

// The statue of a named god.
class DiggleGod : public GameObj {
public:
    explicit DiggleGod(const char* godName);
    std::string godName;
};

class Anvil : public GameObj {
public:
    Anvil();
    bool IsAnvil() override { return true; }
};

class LutefiskStatue : public GameObj { public: LutefiskStatue(); };
class ZarnochStatue : public GameObj { public: ZarnochStatue(); };

class ShopPedestal : public GameObj {
public:
    ShopPedestal();
    ~ShopPedestal() override;  // deletes its stock
    Item* stock = nullptr;
};

// The fixture that stands for a level's quest.
class QuestBlocker : public GameObj {
public:
    explicit QuestBlocker(QuestRecord* quest);
    QuestRecord* quest = nullptr;
};

#pragma once
// The other dungeon fixtures: shelves, chests, vending machines, statues, pedestals and
// the rest of the room furniture.
//
// Stand-in: constructors and the fields other subsystems write. Still to be built here:
// the bookshelf (searching with the tutorial report 16) and the barbecue: art, activation,
// tooltips and saving. The fixtures that are built live in their own files, included below.
#include <cstdint>
#include <string>

#include "items_fixtures/anvil.h"
#include "items_fixtures/breakable.h"
#include "items_fixtures/chest.h"
#include "items_fixtures/dirt.h"
#include "items_fixtures/dispenser.h"
#include "items_fixtures/evil_chest.h"
#include "items_fixtures/fountain.h"
#include "items_fixtures/freezer.h"
#include "items_fixtures/quest_blocker.h"
#include "items_fixtures/quest_statue.h"
#include "items_fixtures/reading_stands.h"
#include "items_fixtures/shop_pedestal.h"
#include "items_fixtures/shrines.h"
#include "levels/game_obj.h"

class Level;
class Item;
class QuestRecord;

class Bookshelf : public GameObj {
public:
    Bookshelf();
    int32_t Activate() override;
    std::string contentsItemName;
};

class BBQ : public GameObj { public: BBQ(); };

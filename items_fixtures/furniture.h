#pragma once
// The dungeon furniture, one header for all: each fixture lives in its own file pair,
// included below.
#include <cstdint>
#include <string>

#include "items_fixtures/anvil.h"
#include "items_fixtures/bbq.h"
#include "items_fixtures/bookshelf.h"
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


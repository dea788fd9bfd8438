// The room conditions that look at monsters, clocks and items (their classes are declared
// with the level model in levels/room_conditions.h).
#include "creatures/monster.h"
#include "items_fixtures/blockers.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/room_conditions.h"
#include "levels/room_templates.h"

namespace {

// The monster's dead flag, or -1 (warned) when the object is no monster.
int32_t DeadFlagOf(GameObj* object) {
    if (object->IsMonster() == 0) {
        RoomScriptWarning("Object is not a monster!\n");
        return -1;
    }
    return static_cast<Monster*>(object)->dead != 0 ? 1 : 0;
}

// The object as a clock, or null (warned).
Clock* ClockOf(GameObj* object) {
    if (!object->IsClock()) {
        RoomScriptWarning("Object (id='%s') is not a clock!\n", object->GetRoomID().c_str());
        return nullptr;
    }
    return static_cast<Clock*>(object);
}

}  // namespace

bool IsDeadCondition::TestObject(GameObj* object, int32_t) { return DeadFlagOf(object) == 1; }

bool IsAliveCondition::TestObject(GameObj* object, int32_t) { return DeadFlagOf(object) == 0; }

bool StartedCondition::TestObject(GameObj* object, int32_t) {
    Clock* clock = ClockOf(object);
    return clock != nullptr && clock->IsRunning() == (started != 0);
}

bool StoppedCondition::TestObject(GameObj* object, int32_t) {
    Clock* clock = ClockOf(object);
    return clock != nullptr && clock->IsStopped() == (stopped != 0);
}

TypeAtCondition::~TypeAtCondition() { delete exemplar; }

bool TypeAtCondition::Evaluate(int32_t room) {
    if (exemplar == nullptr) {
        exemplar = CreateLootItem(type.c_str(), subtype.c_str(), CurrentLevel, 1, false);
        if (exemplar == nullptr) {
            RoomScriptWarning("TypeAtCondition: couldn't create exemplar item of type = '%s' and subtype = '%s'",
                              type.c_str(), subtype.c_str());
            return false;
        }
    }
    const RoomRecord* record = CurrentLevel != nullptr ? CurrentLevel->GetRoomRecord(room) : nullptr;
    if (record == nullptr) return false;
    const LevelCell* cell = CurrentLevel->GetCell(record->left + x, record->top + y);
    if (cell == nullptr) return false;
    const bool anySubtype = subtype == "random";
    for (GameObj* object : cell->contents) {
        if (!object->IsItem()) continue;
        const Item* item = static_cast<const Item*>(object);
        if (item->type != exemplar->type) continue;
        if (anySubtype || item->subtype == exemplar->subtype) return true;
    }
    return false;
}

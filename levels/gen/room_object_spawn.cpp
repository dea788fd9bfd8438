// Spawning the room object records of levels/room_object_records.h: each record builds its
// creature, item or fixture, places it and labels it.
#include <cstdio>

#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "items_fixtures/blockers.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/passages.h"
#include "items_fixtures/trap.h"
#include "levels/level.h"
#include "levels/room_object_records.h"

namespace {

// "room '<template>': no <what> named '<name>'" and false.
bool NothingNamed(const RoomObjectRecord& record, const char* what, const std::string& name) {
    std::printf("roomScript: room '%s': no %s named '%s'\n", record.templateName.c_str(), what, name.c_str());
    return false;
}

const ItemDef* FindTrapDef(const std::string& name) {
    for (const ItemDef* def : ItemDefLists.traps) {
        if (def != nullptr && def->name == name) return def;
    }
    return nullptr;
}

// The fixture of an element type, or null for a type no element has.
GameObj* MakeElement(const RoomElementRecord& record) {
    const std::string& t = record.type;
    if (t == "bookshelf") {
        Bookshelf* shelf = new Bookshelf();
        if (!record.contents.empty()) shelf->recipeName = record.contents;
        return shelf;
    }
    if (t == "lever") return new Lever();
    if (t == "lutefiskstatue") return new LutefiskStatue();
    if (t == "portal") return new Portal();
    if (t == "anvil") return new Anvil();
    if (t == "statue") return new Statue();
    if (t == "zarnochstatue") return new ZarnochStatue();
    if (t == "evilchest") return new EvilChest();
    if (t == "freezer") return new Freezer();
    if (t == "bbq") return new BBQ();
    if (t == "fountain") return new Fountain();
    if (t == "digglegod") return new DiggleGod(record.name.c_str());
    if (t == "craftvending") return new Dispenser(4);
    if (t == "foodvending") return new Dispenser(1);
    if (t == "boltvending") return new Dispenser(0);
    if (t == "drinkvending") return new Dispenser(2);
    if (t == "thrownvending") return new Dispenser(3);
    if (t == "dirt") return new Dirt();
    return nullptr;
}

}  // namespace

void RoomObjectRecord::ApplyCommonFields(GameObj* object, int32_t px, int32_t py, Level* level) {
    if (object == nullptr) return;
    object->PlaceOnLevel(px, py, level, 0);
    object->SetRoomID(id);
    object->movable = can_push & 0xFF;
}

void CustomRecord::ApplyCommonFields(GameObj* object, int32_t px, int32_t py, Level* level) {
    RoomObjectRecord::ApplyCommonFields(object, px, py, level);
    if (object == nullptr) return;
    if (visblockGiven != 0) object->blocksSight = visblock;
    if (passableGiven != 0) object->blocksMovement = passable != 0 ? 0 : 1;
}

void CustomRecord::CopyNameAndDescription(GameObj* object) const {
    if (Blocker* blocker = dynamic_cast<Blocker*>(object)) {
        blocker->name = name;
        blocker->description = objectDescription;
    } else if (Engraving* engraving = dynamic_cast<Engraving*>(object)) {
        engraving->name = name;
        engraving->description = objectDescription;
    } else if (Breakable* breakable = dynamic_cast<Breakable*>(object)) {
        breakable->name = name;
        breakable->description = objectDescription;
    }
}

void RoomClockRecord::ApplyCommonFields(GameObj* object, int32_t px, int32_t py, Level* level) {
    CustomRecord::ApplyCommonFields(object, px, py, level);
    Clock* clock = dynamic_cast<Clock*>(object);
    if (clock == nullptr || remainingGiven == 0) return;
    std::printf("time remaining was read!\n");
    clock->SetValue(remaining);
}

bool CustomBlockerRecord::Spawn(int32_t originX, int32_t originY, Level* level) {
    if (!HasPicture()) return false;  // refused, with its diagnostic, when read
    if (!RollPercent()) return false;
    Blocker* blocker = png.IsSeries()
                           ? new Blocker(level, -1, png.series.c_str(), png.first, png.count, png.delay)
                           : new Blocker(level, -1, png.image.c_str());
    CopyNameAndDescription(blocker);
    ApplyCommonFields(blocker, originX + x, originY + y, level);
    if (level != nullptr) level->customBlockers.push_back(blocker);
    return true;
}

bool CustomEngravingRecord::Spawn(int32_t originX, int32_t originY, Level* level) {
    if (!HasPicture()) return false;  // refused, with its diagnostic, when read
    if (!RollPercent()) return false;
    Engraving* engraving = png.IsSeries()
                               ? new Engraving(level, -1, png.series.c_str(), png.first, png.count, png.delay)
                               : new Engraving(level, -1, png.image.c_str());
    CopyNameAndDescription(engraving);
    ApplyCommonFields(engraving, originX + x, originY + y, level);
    return true;
}

bool CustomBreakableRecord::Spawn(int32_t originX, int32_t originY, Level* level) {
    if (!HasPicture()) return false;  // refused, with its diagnostic, when read
    if (!RollPercent()) return false;
    Breakable* breakable =
        new Breakable(level, &png, breakingGiven != 0 ? &breaking : &png, &broken, hitsNeededToBreak, hitsTaken);
    CopyNameAndDescription(breakable);
    ApplyCommonFields(breakable, originX + x, originY + y, level);
    return true;
}

bool RoomClockRecord::Spawn(int32_t originX, int32_t originY, Level* level) {
    if (!HasPicture()) return false;  // refused, with its diagnostic, when read
    Clock* clock = png.IsSeries() ? new Clock(level, -1, png.series.c_str(), png.first, png.count, png.delay,
                                              initial, remaining, started)
                                  : new Clock(level, -1, png.image.c_str(), initial, remaining, started);
    CopyNameAndDescription(clock);
    ApplyCommonFields(clock, originX + x, originY + y, level);
    if (level != nullptr) level->customBlockers.push_back(clock);
    return true;
}

bool RoomTrapRecord::Spawn(int32_t originX, int32_t originY, Level* level) {
    if (!RollPercent()) return false;
    const ItemDef* def = name.empty() ? RandomTrapDef() : FindTrapDef(name);
    if (def == nullptr) {
        if (!name.empty()) return NothingNamed(*this, "trap", name);
        return true;
    }
    ApplyCommonFields(new Trap(def), originX + x, originY + y, level);
    return true;
}

bool RoomMonsterRecord::Spawn(int32_t originX, int32_t originY, Level* level) {
    if (!RollPercent()) return false;
    const int32_t px = originX + x;
    const int32_t py = originY + y;
    Monster* monster = nullptr;
    if (!name.empty()) {
        MonsterRecord* record = monDBFindByDisplayName(name.c_str());
        if (record == nullptr) return NothingNamed(*this, "monster", name);
        monster = new Monster(record);
    } else if (level != nullptr) {
        monster = level->SpawnMonster(px, py, false, true, false);
    }
    ApplyCommonFields(monster, px, py, level);
    return true;
}

bool RoomPedestalRecord::Spawn(int32_t originX, int32_t originY, Level* level) {
    if (!RollPercent()) return false;
    Pedestal* pedestal = new Pedestal();
    pedestal->title = name;
    pedestal->text = text;
    ApplyCommonFields(pedestal, originX + x, originY + y, level);
    return true;
}

bool RoomElementRecord::Spawn(int32_t originX, int32_t originY, Level* level) {
    if (!RollPercent()) return false;
    GameObj* fixture = MakeElement(*this);
    if (fixture == nullptr) return NothingNamed(*this, "element type", type);
    ApplyCommonFields(fixture, originX + x, originY + y, level);
    return true;
}

bool RoomLootRecord::Spawn(int32_t originX, int32_t originY, Level* level) {
    if (!RollPercent()) return false;
    Item* item = CreateLootItem(type.c_str(), subtype.c_str(), level, amount, artifact != 0);
    ApplyCommonFields(item, originX + x, originY + y, level);
    return true;
}

bool RoomHordeRecord::Spawn(int32_t originX, int32_t originY, Level* level) {
    if (!RollPercent()) return false;
    if (level != nullptr) {
        level->SpawnHorde(originX + x, originY + y, nullptr, name.empty() ? nullptr : name.c_str(), min, additional);
    }
    return true;
}

bool RoomLeverRecord::Spawn(int32_t originX, int32_t originY, Level* level) {
    if (!RollPercent()) return false;
    Lever* lever = new Lever();
    lever->SetActivated(activated != 0);
    std::printf("activated: %d\n", lever->IsActivated() ? 1 : 0);
    ApplyCommonFields(lever, originX + x, originY + y, level);
    return true;
}

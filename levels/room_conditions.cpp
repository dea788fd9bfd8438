#include "levels/room_conditions.h"

#include <ostream>

#include "levels/game_obj.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/room_templates.h"

const char* const kRoomConditionTypes[11] = {
    "isdead", "isalive", "activated", "activated_changed", "at", "event",
    "type_at", "entered", "exited", "started", "stopped",
};

// ---- common ----------------------------------------------------------------------------------

RoomCondition::~RoomCondition() = default;

void RoomCondition::Read(RoomAttributeMap map, const RoomReadContext& ctx) {
    line = ctx.line;
    column = ctx.column;
    XMLReadWriter rw(&ctx);
    DeclareProperties(rw);
    rw.Read(&map, true);
}

void RoomCondition::DeclareProperties(XMLReadWriter& rw) {
    DeclareProperty<BoolProperty>(rw,
                          "set to ``1`` to take the boolean not of this condition (default is ``0``).\n\n"
                          "  For example, ``<isdead id=\"monster\" not=\"1\" />`` is equivalent to "
                          "``<isalive id=\"monster\" />``.",
                          std::string("not"), &notFlag, 0, nullptr);
}

void RoomCondition::WriteReference(std::ostream& out) {
    out << description << "\n\n";
    XMLReadWriter rw;
    DeclareProperties(rw);
    rw.WriteReference(out);
}

bool RoomCondition::Holds(int32_t room) { return Evaluate(room) != (notFlag != 0); }

void ObjectCondition::DeclareProperties(XMLReadWriter& rw) {
    RoomCondition::DeclareProperties(rw);
    DeclareProperty<StringProperty>(rw, "A string label uniquely identifying a game object within the current room.",
                            std::string("id"), &id, 1, nullptr);
    const std::string text = "what to return if there is no game object with label ``id``.\n\n"
                             "  The default is ``notfound=\"" + std::to_string(notfound) + "\"``.";
    DeclareProperty<BoolProperty>(rw, text.c_str(), std::string("notfound"), &notfound, 0, nullptr);
}

bool ObjectCondition::Evaluate(int32_t room) {
    GameObj* object = CurrentLevel != nullptr ? CurrentLevel->FindObjectByRoomID(room, id) : nullptr;
    if (object == nullptr) return notfound != 0;
    return TestObject(object, room);
}

bool ObjectCondition::TestObject(GameObj*, int32_t) { return false; }

// ---- per class declarations --------------------------------------------------------------------

void ActivatedCondition::DeclareProperties(XMLReadWriter& rw) {
    ObjectCondition::DeclareProperties(rw);
    DeclareProperty<BoolProperty>(rw,
                          "the activation state to compare the ``lever``'s current activation state to -- ``1`` "
                          "for *activated*, ``0`` for *de-activated*.",
                          std::string("activated"), &activated, 0, nullptr);
}

void ActivatedChangedCondition::DeclareProperties(XMLReadWriter& rw) {
    ObjectCondition::DeclareProperties(rw);
    DeclareProperty<IntProperty>(rw,
                         "the activation state to compare the ``lever``'s new activation state to -- ``1`` for "
                         "*activated*, ``0`` for *de-activated*.",
                         std::string("activated"), &activated, 0, nullptr);
}

void AtCondition::DeclareProperties(XMLReadWriter& rw) {
    ObjectCondition::DeclareProperties(rw);
    DeclareProperty<PointProperty>(rw,
                           "the tile X and tile Y to compare the game object's tile X and tile Y to.  You may also "
                           "specify an ``at`` location.",
                           std::string(), &x, &y, 1, nullptr);
}

void EventCondition::DeclareProperties(XMLReadWriter& rw) {
    ObjectCondition::DeclareProperties(rw);
    DeclareProperty<StringProperty>(rw,
                            "the triggered event.  Currently,\n\n"
                            "    * ``hit`` (for ``custombreakable`` game objects)\n"
                            "    * ``broken`` (for ``custombreakable`` game objects)\n\n"
                            "  are supported.",
                            std::string("event_type"), &event_type, 1, nullptr);
}

void TypeAtCondition::DeclareProperties(XMLReadWriter& rw) {
    RoomCondition::DeclareProperties(rw);
    DeclareProperty<PointProperty>(rw,
                           "the tile X and tile Y to test if it contains the specified ``type`` of game object.  "
                           "You may also specify an ``at`` location.",
                           std::string(), &x, &y, 1, nullptr);
    DeclareProperty<StringProperty>(rw, "the ``type`` of object to search for (a valid ``loot`` ``type``).",
                            std::string("type"), &type, 1, nullptr);
    DeclareProperty<StringProperty>(rw, "the ``subtype`` of object to test for (a valid ``loot`` ``subtype``).",
                            std::string("subtype"), &subtype, 0, nullptr);
}

void StartedCondition::DeclareProperties(XMLReadWriter& rw) {
    ObjectCondition::DeclareProperties(rw);
    DeclareProperty<BoolProperty>(rw,
                          "the started state to compare the ``clock``'s current started state to -- ``1`` for "
                          "*started* (the default), ``0`` for *stopped*.\n\n"
                          "  For example, ``<started id=\"clock\" />`` checks if ``clock`` is started, and "
                          "``<started id=\"clock\" started=\"0\" />`` checks if ``clock`` has ``started=\"0\"``, "
                          "meaning that it is stopped.",
                          std::string("started"), &started, 0, nullptr);
}

void StoppedCondition::DeclareProperties(XMLReadWriter& rw) {
    ObjectCondition::DeclareProperties(rw);
    DeclareProperty<BoolProperty>(rw,
                          "the stopped state to compare the ``clock``'s current stopped state to -- ``1`` for "
                          "*stopped* (the default), ``0`` for *started*.\n\n"
                          "  For example, ``<stopped id=\"clock\" />`` checks if ``clock`` is stopped, and "
                          "``<stopped id=\"clock\" stopped=\"0\" />`` checks if ``clock`` has ``stopped=\"0\"``, "
                          "meaning that it is started.",
                          std::string("stopped"), &stopped, 0, nullptr);
}

// ---- the hero's room ---------------------------------------------------------------------------

int32_t HeroRoomOn(const Level* level) {
    GameObj* hero = CurrentHero();
    if (hero == nullptr || level == nullptr) return -1;
    const LevelCell* cell = level->GetCell(hero->x, hero->y);
    if (cell == nullptr) return -1;
    const RoomRecord* record = level->GetRoomRecord(cell->room);
    return record != nullptr ? record->roomId : -1;
}

bool EnteredCondition::Evaluate(int32_t room) {
    if (CurrentLevel == nullptr) return false;
    const RoomRecord* record = CurrentLevel->GetRoomRecord(room);
    if (record == nullptr) return false;
    const int32_t hero = HeroRoomOn(CurrentLevel);
    return hero == record->roomId && CurrentLevel->previousRoom != record->roomId;
}

bool ExitedCondition::Evaluate(int32_t room) {
    if (CurrentLevel == nullptr) return false;
    const RoomRecord* record = CurrentLevel->GetRoomRecord(room);
    if (record == nullptr) return false;
    const int32_t hero = HeroRoomOn(CurrentLevel);
    return CurrentLevel->previousRoom == record->roomId && hero != record->roomId;
}

// ---- factory -----------------------------------------------------------------------------------

RoomCondition* CreateRoomCondition(const std::string& keyword) {
    RoomCondition* c = nullptr;
    const char* text = nullptr;
    if (keyword == "isdead") {
        c = new IsDeadCondition();
        text = "True if the specified ``monster`` is dead.";
    } else if (keyword == "isalive") {
        c = new IsAliveCondition();
        text = "True if the specified ``monster`` is alive.";
    } else if (keyword == "activated") {
        c = new ActivatedCondition();
        text = "True if the specified ``lever`` has activation state equal to ``activated``.";
    } else if (keyword == "activated_changed") {
        c = new ActivatedChangedCondition();
        text = "True if the specified ``lever`` had its activation state changed to ``activated`` this game tick.";
    } else if (keyword == "at") {
        c = new AtCondition();
        text = "True if the specified game object has the given tile X and tile Y.";
    } else if (keyword == "event") {
        c = new EventCondition();
        text = "True if the specified event was triggered by the specified game object this game tick.";
    } else if (keyword == "type_at") {
        c = new TypeAtCondition();
        text = "True if the given tile X and tile Y contains an object of the specified type.";
    } else if (keyword == "entered") {
        c = new EnteredCondition();
        text = "True if the player entered this room this game tick.";
    } else if (keyword == "exited") {
        c = new ExitedCondition();
        text = "True if the player exited this room this game tick.";
    } else if (keyword == "started") {
        c = new StartedCondition();
        text = "True if the specified ``clock`` has started state equal to ``started``.";
    } else if (keyword == "stopped") {
        c = new StoppedCondition();
        text = "True if the specified ``clock`` has stopped state equal to ``stopped``.";
    } else {
        return nullptr;
    }
    c->keyword = keyword;
    c->SetDescription(text);
    return c;
}

RoomCondition* ReadRoomCondition(RoomAttributeMap map, const RoomReadContext& ctx) {
    std::string type;
    {
        XMLReadWriter head(&ctx);
        head.AddProperty(new StringProperty("condition_type", &type, 1, nullptr));
        head.Read(&map, false);
    }
    RoomCondition* cond = CreateRoomCondition(type);
    if (cond == nullptr) {
        RoomsXmlWarning("Bad condition_type='%s'", type.c_str());
        return nullptr;
    }
    cond->Read(map, ctx);
    return cond;
}

// ---- tests that need only the level model --------------------------------------------------------

bool ActivatedCondition::TestObject(GameObj* object, int32_t) {
    if (!object->IsActivatable()) {
        RoomScriptWarning("Object (id='%s') is not activatable!\n", object->GetRoomID().c_str());
        return false;
    }
    return static_cast<Activatable*>(object)->IsActivated() == (activated != 0);
}

bool ActivatedChangedCondition::TestObject(GameObj* object, int32_t) {
    if (!object->IsActivatable()) {
        RoomScriptWarning("Object is not activatable!\n");
        return false;
    }
    Activatable* a = static_cast<Activatable*>(object);
    if (!a->HasActivationChanged()) return false;
    if (activated != 0 && activated != 1) return true;
    return a->IsActivated() == (activated == 1);
}

bool AtCondition::TestObject(GameObj* object, int32_t room) {
    const RoomRecord* record = CurrentLevel != nullptr ? CurrentLevel->GetRoomRecord(room) : nullptr;
    if (record == nullptr) return false;
    return object->x == record->left + x && object->y == record->top + y;
}

bool EventCondition::TestObject(GameObj* object, int32_t room) {
    return CurrentLevel != nullptr && CurrentLevel->HasRoomEvent(room, object->GetRoomID(), event_type);
}

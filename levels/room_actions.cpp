#include "levels/room_actions.h"

#include <ostream>

#include "levels/game_obj.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "levels/room_templates.h"
#include "media/ticker.h"

const char* const kRoomActionTypes[6] = {"remove", "move", "ticker", "create", "set", "spell"};

// ---- common ----------------------------------------------------------------------------------

RoomAction::~RoomAction() = default;

void RoomAction::Read(RoomAttributeMap map, const RoomReadContext& ctx) {
    line = ctx.line;
    column = ctx.column;
    XMLReadWriter rw(&ctx);
    DeclareProperties(rw);
    rw.Read(&map, true);
}

void RoomAction::WriteReference(std::ostream& out) {
    out << description << "\n\n";
    XMLReadWriter rw;
    DeclareProperties(rw);
    rw.WriteReference(out);
}

void ObjectAction::DeclareProperties(XMLReadWriter& rw) {
    DeclareProperty<StringProperty>(rw, "A string label uniquely identifying a game object within the current room.",
                            std::string("id"), &id, 1, nullptr);
}

void ObjectAction::Execute(int32_t room) {
    if (CurrentLevel == nullptr) return;
    GameObj* object = CurrentLevel->FindObjectByRoomID(room, id);
    if (object != nullptr) ActOnObject(object, room);
}

// ---- remove, move, ticker, create ------------------------------------------------------------

void RemoveObjectAction::ActOnObject(GameObj* object, int32_t) { QueueObjectDeletion(object); }

void MoveObjectAction::DeclareProperties(XMLReadWriter& rw) {
    ObjectAction::DeclareProperties(rw);
    DeclareProperty<PointProperty>(rw,
                           "the tile X and tile Y to move the game object to.  You may also specify an ``at`` "
                           "location.",
                           std::string(), &x, &y, 1, nullptr);
}

void MoveObjectAction::ActOnObject(GameObj* object, int32_t room) {
    const RoomRecord* record = CurrentLevel->GetRoomRecord(room);
    if (record == nullptr) return;
    object->PlaceOnLevel(record->left + x, record->top + y, CurrentLevel, 1);
}

void ShowTickerTextAction::DeclareProperties(XMLReadWriter& rw) {
    DeclareProperty<StringProperty>(rw, "the text to display in the ticker.", std::string("text"), &text, 1, nullptr);
}

void ShowTickerTextAction::Execute(int32_t) { AddText(text, true); }

void CreateAction::DeclareProperties(XMLReadWriter& rw) {
    DeclareProperty<StringProperty>(rw,
                            "the type of game object to create.  This should be a tag valid in a ``<room></room>`` "
                            "block in ``rooms.xml``.\n\n"
                            "  All attributes other than ``create_type`` are parsed by the specified tag exactly as "
                            "if they were in a ``<room></room>`` block.",
                            std::string("create_type"), &create_type, 1, nullptr);
}

void CreateAction::Read(RoomAttributeMap map, const RoomReadContext& ctx) {
    line = ctx.line;
    column = ctx.column;
    {
        XMLReadWriter rw(&ctx);
        DeclareProperties(rw);
        rw.Read(&map, false);
    }
    record.reset(ReadRoomObjectRecord(create_type, map, ctx));
    if (!record) RoomsXmlWarning("<action action_type='create'>: couldn't create create_type='%s'", create_type.c_str());
}

void CreateAction::Execute(int32_t room) {
    if (!record || CurrentLevel == nullptr) return;
    const RoomRecord* r = CurrentLevel->GetRoomRecord(room);
    if (r == nullptr) return;
    record->Spawn(r->left, r->top, CurrentLevel);
}

// ---- declarations of set and spell (their behaviour is in levels/gen/room_action_exec.cpp) --------

void SetObjectPropertyAction::DeclareProperties(XMLReadWriter& rw) {
    ObjectAction::DeclareProperties(rw);
    DeclareProperty<StringProperty>(rw,
                            "the property to set.  Currently,\n\n"
                            "    * ``passable`` (for ``customblocker`` game objects)\n"
                            "    * ``started`` (for ``clock`` game objects)\n"
                            "    * ``stopped`` (for ``clock`` game objects)\n\n"
                            "  are supported.",
                            std::string("set_type"), &set_type, 1, nullptr);
    DeclareProperty<IntProperty>(rw,
                         "the value to set the property to.  Currently, all values are either ``0`` (for "
                         "``false``) or ``1`` (for ``true``).",
                         std::string("value"), &value, 1, nullptr);
}

void SpellAction::DeclareProperties(XMLReadWriter& rw) {
    DeclareProperty<StringProperty>(rw,
                            "the spell name to be cast, as it appears in ``spellDB.xml``.  Example: "
                            "``casts=\"Weak Firebolt\".``",
                            std::string("casts"), &casts, 1, nullptr);
    DeclareProperty<PointProperty>(rw,
                           "the source position of the spell.  If not specified, defaults to player's tile X and "
                           "tile Y.",
                           std::string("source"), &sourceX, &sourceY, 0, nullptr);
    DeclareProperty<PointProperty>(rw,
                           "the target position of the spell.  If not specified, defaults to player's tile X and "
                           "tile Y.",
                           std::string("target"), &targetX, &targetY, 0, nullptr);
}

// ---- factory -----------------------------------------------------------------------------------

RoomAction* CreateRoomAction(const std::string& keyword) {
    RoomAction* a = nullptr;
    const char* text = nullptr;
    if (keyword == "remove") {
        a = new RemoveObjectAction();
        text = "Remove a game object from the game entirely.";
    } else if (keyword == "move") {
        a = new MoveObjectAction();
        text = "Move a game object to a new tile of the level.";
    } else if (keyword == "ticker") {
        a = new ShowTickerTextAction();
        text = "Display text in the ticker.";
    } else if (keyword == "create") {
        a = new CreateAction();
        text = "Create a brand new game object at a certain tile.";
    } else if (keyword == "set") {
        a = new SetObjectPropertyAction();
        text = "Set a property on an existing game object.";
    } else if (keyword == "spell") {
        a = new SpellAction();
        text = "Cast a spell.";
    } else {
        return nullptr;
    }
    a->keyword = keyword;
    a->SetDescription(text);
    return a;
}

RoomAction* ReadRoomAction(RoomAttributeMap map, const RoomReadContext& ctx) {
    std::string on, type;
    {
        XMLReadWriter head(&ctx);
        head.AddProperty(new StringProperty("on", &on, 1, nullptr));
        head.AddProperty(new StringProperty("action_type", &type, 1, nullptr));
        head.Read(&map, false);
    }
    if (on != "success" && on != "failure") RoomsXmlWarning("Bad on='%s'\n", on.c_str());
    RoomAction* action = CreateRoomAction(type);
    if (action == nullptr) {
        RoomsXmlWarning("Bad action_type='%s'", type.c_str());
        return nullptr;
    }
    action->on = on;
    action->Read(map, ctx);
    return action;
}

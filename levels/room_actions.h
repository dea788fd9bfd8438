#pragma once
// Room actions: the <action> elements of a room script, executed in order when the script
// fires. Each class declares its attributes as typed properties (levels/room_script_model.h),
// which both read the element and write its entry of the -docs reference.
//
// The class declarations and their reading live here, with the level model; the Execute bodies
// cast spells, create objects and start clocks and live with level generation
// (levels/gen/room_action_exec.cpp).
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include "levels/room_object_records.h"
#include "levels/room_script_model.h"

class GameObj;
class Spell;

class RoomAction {
public:
    RoomAction() = default;
    virtual ~RoomAction();
    RoomAction(const RoomAction&) = delete;
    RoomAction& operator=(const RoomAction&) = delete;

    virtual void Execute(int32_t room) = 0;
    // Reads the attributes (a copy of the element's map) strictly through the declarations.
    virtual void Read(RoomAttributeMap map, const RoomReadContext& ctx);
    virtual void DeclareProperties(XMLReadWriter& rw) = 0;
    virtual void SetDescription(const std::string& text) { description = text; }
    // The description, an empty line, then each property's reference entry.
    virtual void WriteReference(std::ostream& out);

    std::string keyword;  // the action_type it was made for
    std::string on;       // "success" or "failure" as written
    int32_t line = 0;
    int32_t column = 0;
    std::string description;
};

// An action on the object that carries a room-script label in the room; nothing happens
// when no object carries it.
class ObjectAction : public RoomAction {
public:
    void Execute(int32_t room) override;
    void DeclareProperties(XMLReadWriter& rw) override;
    virtual void ActOnObject(GameObj* object, int32_t room) = 0;
    std::string id;
};

class RemoveObjectAction : public ObjectAction {
public:
    void ActOnObject(GameObj* object, int32_t room) override;
};

class MoveObjectAction : public ObjectAction {
public:
    void DeclareProperties(XMLReadWriter& rw) override;
    void ActOnObject(GameObj* object, int32_t room) override;
    int32_t x = 0;
    int32_t y = 0;
};

class SetObjectPropertyAction : public ObjectAction {
public:
    void DeclareProperties(XMLReadWriter& rw) override;
    void ActOnObject(GameObj* object, int32_t room) override;
    std::string set_type;
    int32_t value = 0;
};

class ShowTickerTextAction : public RoomAction {
public:
    void Execute(int32_t room) override;
    void DeclareProperties(XMLReadWriter& rw) override;
    std::string text;
};

class CreateAction : public RoomAction {
public:
    void Execute(int32_t room) override;
    // Reads create_type, then lets a record of that tag read everything else strictly.
    void Read(RoomAttributeMap map, const RoomReadContext& ctx) override;
    void DeclareProperties(XMLReadWriter& rw) override;
    std::string create_type;
    std::unique_ptr<RoomObjectRecord> record;  // null when the tag is not a record tag
};

class SpellAction : public RoomAction {
public:
    void Execute(int32_t room) override;
    // The common read, then the spell looked up by name (warned when unknown).
    void Read(RoomAttributeMap map, const RoomReadContext& ctx) override;
    void DeclareProperties(XMLReadWriter& rw) override;
    std::string casts;
    Spell* spell = nullptr;  // the spell table's record, or null
    int32_t sourceX = -1;    // -1: not given
    int32_t sourceY = -1;
    int32_t targetX = -1;
    int32_t targetY = -1;
};

// The action keywords in reference order.
extern const char* const kRoomActionTypes[6];

// A new action for the keyword with its description, or null for an unknown keyword.
RoomAction* CreateRoomAction(const std::string& keyword);
// A new action from an <action> element (its on, action_type and the rest), or null
// (reported) for an unknown type.
RoomAction* ReadRoomAction(RoomAttributeMap map, const RoomReadContext& ctx);


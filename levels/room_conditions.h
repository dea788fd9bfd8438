#pragma once
// Room conditions: the <condition> elements of a room script. A script fires when all of its
// conditions hold for the room it belongs to; a condition holds when Evaluate differs from its
// `not` flag. Each class declares its attributes as typed properties (levels/room_script_model.h),
// which both read the element and write its entry of the -docs reference.
//
// The class declarations and their reading live here, with the level model; the Evaluate
// bodies look at monsters, clocks and items and live with level generation
// (levels/gen/room_condition_eval.cpp).
#include <cstdint>
#include <iosfwd>
#include <string>

#include "levels/room_script_model.h"

class GameObj;
class Item;

class RoomCondition {
public:
    RoomCondition() = default;
    virtual ~RoomCondition();
    RoomCondition(const RoomCondition&) = delete;
    RoomCondition& operator=(const RoomCondition&) = delete;

    // The raw answer for the room (an index into the current level's room records).
    virtual bool Evaluate(int32_t room) = 0;
    // Reads the attributes (a copy of the element's map) strictly through the declarations.
    virtual void Read(RoomAttributeMap map, const RoomReadContext& ctx);
    virtual void DeclareProperties(XMLReadWriter& rw);
    virtual void SetDescription(const std::string& text) { description = text; }
    // The description, an empty line, then each property's reference entry.
    virtual void WriteReference(std::ostream& out);

    // True when the condition holds: Evaluate differs from `not`.
    bool Holds(int32_t room);

    std::string keyword;  // the condition_type it was made for
    int32_t line = 0;
    int32_t column = 0;
    uint8_t notFlag = 0;  // attribute "not"
    std::string description;
};

// A condition about the object that carries a room-script label in the room.
class ObjectCondition : public RoomCondition {
public:
    bool Evaluate(int32_t room) override;
    void DeclareProperties(XMLReadWriter& rw) override;
    virtual bool TestObject(GameObj* object, int32_t room);

    uint8_t notfound = 1;  // the answer when no object carries the label
    std::string id;
};

class IsDeadCondition : public ObjectCondition {
public:
    bool TestObject(GameObj* object, int32_t room) override;
};

class IsAliveCondition : public ObjectCondition {
public:
    bool TestObject(GameObj* object, int32_t room) override;
};

class ActivatedCondition : public ObjectCondition {
public:
    ActivatedCondition() { notfound = 0; }
    void DeclareProperties(XMLReadWriter& rw) override;
    bool TestObject(GameObj* object, int32_t room) override;
    uint8_t activated = 1;
};

class ActivatedChangedCondition : public ObjectCondition {
public:
    void DeclareProperties(XMLReadWriter& rw) override;
    bool TestObject(GameObj* object, int32_t room) override;
    int32_t activated = -1;  // 0 or 1: only a change to that state; anything else: any change
};

class AtCondition : public ObjectCondition {
public:
    AtCondition() { notfound = 0; }
    void DeclareProperties(XMLReadWriter& rw) override;
    bool TestObject(GameObj* object, int32_t room) override;
    int32_t x = 0;
    int32_t y = 0;
};

class EventCondition : public ObjectCondition {
public:
    EventCondition() { notfound = 0; }
    void DeclareProperties(XMLReadWriter& rw) override;
    bool TestObject(GameObj* object, int32_t room) override;
    std::string event_type;
};

class TypeAtCondition : public RoomCondition {
public:
    ~TypeAtCondition() override;
    bool Evaluate(int32_t room) override;
    void DeclareProperties(XMLReadWriter& rw) override;

    int32_t x = 0;
    int32_t y = 0;
    std::string type;
    std::string subtype = "random";
    Item* exemplar = nullptr;  // owned; made on the first evaluation
};

class EnteredCondition : public RoomCondition {
public:
    bool Evaluate(int32_t room) override;
};

class ExitedCondition : public RoomCondition {
public:
    bool Evaluate(int32_t room) override;
};

class StartedCondition : public ObjectCondition {
public:
    StartedCondition() { notfound = 0; }
    void DeclareProperties(XMLReadWriter& rw) override;
    bool TestObject(GameObj* object, int32_t room) override;
    uint8_t started = 1;
};

class StoppedCondition : public ObjectCondition {
public:
    StoppedCondition() { notfound = 0; }
    void DeclareProperties(XMLReadWriter& rw) override;
    bool TestObject(GameObj* object, int32_t room) override;
    uint8_t stopped = 1;
};

// The condition keywords in reference order.
extern const char* const kRoomConditionTypes[11];

// A new condition for the keyword with its description, or null for an unknown keyword.
RoomCondition* CreateRoomCondition(const std::string& keyword);
// A new condition from a <condition> element (its condition_type and the rest), or null
// (reported) for an unknown type.
RoomCondition* ReadRoomCondition(RoomAttributeMap map, const RoomReadContext& ctx);

class Level;
// The hero's room on the level (the room ID of the record of the hero's square), or -1 when
// the hero stands in no room, is not there, or the room index has no record.
int32_t HeroRoomOn(const Level* level);

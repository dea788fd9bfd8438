#pragma once
// Room object records: what a room template puts into a room - a monster, a horde, a trap,
// loot, a fixture, a lever, a clock or a custom object with its own picture. Each record is a
// tag standing directly inside a <room> of "rooms.xml" (or the record a "create" action
// keeps); it reads its attributes through the typed properties it declares, and `Spawn`
// builds its object when the room is placed (the Spawn bodies live with level generation,
// levels/gen/room_object_spawn.cpp, which knows the creature and fixture classes).
//
// Spawn rolls the record's percent (no roll at 100 or more; the clock never rolls), builds
// the object, places it at (origin + x, origin + y), labels it with `id` and sets `movable`
// from `can_push`. A name that matches nothing is reported with the template and the name,
// and Spawn then answers false.
#include <cstdint>
#include <iosfwd>
#include <string>

#include "levels/room_script_model.h"

class GameObj;
class Level;

class RoomObjectRecord {
public:
    RoomObjectRecord() = default;
    virtual ~RoomObjectRecord();
    RoomObjectRecord(const RoomObjectRecord&) = delete;
    RoomObjectRecord& operator=(const RoomObjectRecord&) = delete;

    virtual void DeclareProperties(XMLReadWriter& rw);
    // Reads the element's attributes (the map is a copy), strictly.
    virtual void Read(RoomAttributeMap map, const RoomReadContext& ctx);
    // False when the percent roll fails or (reported) nothing of that name exists; true
    // otherwise.
    virtual bool Spawn(int32_t originX, int32_t originY, Level* level) = 0;
    // Places the object, labels it and sets its movable flag; nothing for no object.
    virtual void ApplyCommonFields(GameObj* object, int32_t x, int32_t y, Level* level);
    virtual void SetDescription(const std::string& text) { description = text; }
    virtual void WriteReference(std::ostream& out);

    // True when the percent roll lets the record spawn (draws only below 100).
    bool RollPercent() const;

    std::string tag;         // the element name it was read from
    std::string templateName;  // the room it belongs to ("" for a create action's record)
    int32_t line = 0;
    int32_t column = 0;
    std::string id;
    int32_t x = 0;
    int32_t y = 0;
    int32_t percent = 100;
    int32_t can_push = 1;
    std::string description;
};

// The draw of the percent roll (0..32767); the C generator unless a test sets it.
extern int (*RoomRecordPercentDraw)();

// The fields of records drawn with their own picture.
class CustomRecord : public RoomObjectRecord {
public:
    void DeclareProperties(XMLReadWriter& rw) override;
    void ApplyCommonFields(GameObj* object, int32_t x, int32_t y, Level* level) override;
    // The name and tooltip text go into the object (a Blocker, Clock, Engraving or Breakable).
    void CopyNameAndDescription(GameObj* object) const;
    // True when "png" was given whole (one picture, or all four parts of a series). A record
    // without it is refused when read and makes nothing.
    bool HasPicture() const { return png.IsSeries() || !png.image.empty(); }

    std::string name;
    std::string objectDescription;  // attribute "description"
    uint8_t passable = 0;
    uint8_t passableGiven = 0;
    SpriteRecord png;
    uint8_t visblock = 0;
    uint8_t visblockGiven = 0;
};

class CustomBlockerRecord : public CustomRecord {
public:
    bool Spawn(int32_t originX, int32_t originY, Level* level) override;
};

class CustomEngravingRecord : public CustomRecord {
public:
    bool Spawn(int32_t originX, int32_t originY, Level* level) override;
};

class CustomBreakableRecord : public CustomRecord {
public:
    void DeclareProperties(XMLReadWriter& rw) override;
    bool Spawn(int32_t originX, int32_t originY, Level* level) override;

    SpriteRecord breaking;
    uint8_t breakingGiven = 0;
    SpriteRecord broken;
    int32_t hitsNeededToBreak = 1;
    int32_t hitsTaken = 0;
};

class RoomClockRecord : public CustomRecord {
public:
    void DeclareProperties(XMLReadWriter& rw) override;
    void ApplyCommonFields(GameObj* object, int32_t x, int32_t y, Level* level) override;
    // Never rolls: a clock is always placed.
    bool Spawn(int32_t originX, int32_t originY, Level* level) override;

    int32_t initial = 0;
    int32_t remaining = -1;
    uint8_t remainingGiven = 0;
    uint8_t started = 0;
};

class RoomTrapRecord : public RoomObjectRecord {
public:
    void DeclareProperties(XMLReadWriter& rw) override;
    bool Spawn(int32_t originX, int32_t originY, Level* level) override;
    std::string name;
};

class RoomMonsterRecord : public RoomObjectRecord {
public:
    void DeclareProperties(XMLReadWriter& rw) override;
    bool Spawn(int32_t originX, int32_t originY, Level* level) override;
    std::string name;
};

class RoomPedestalRecord : public RoomObjectRecord {
public:
    void DeclareProperties(XMLReadWriter& rw) override;
    bool Spawn(int32_t originX, int32_t originY, Level* level) override;
    std::string name;
    std::string text;
};

class RoomElementRecord : public RoomObjectRecord {
public:
    void DeclareProperties(XMLReadWriter& rw) override;
    bool Spawn(int32_t originX, int32_t originY, Level* level) override;
    std::string type;
    std::string name;
    std::string contents;
};

class RoomLootRecord : public RoomObjectRecord {
public:
    void DeclareProperties(XMLReadWriter& rw) override;
    bool Spawn(int32_t originX, int32_t originY, Level* level) override;
    std::string type;
    std::string subtype = "random";
    int32_t amount = 1;
    uint8_t artifact = 0;
};

class RoomHordeRecord : public RoomObjectRecord {
public:
    void DeclareProperties(XMLReadWriter& rw) override;
    // The horde's monsters get no label and keep their own movable flag.
    bool Spawn(int32_t originX, int32_t originY, Level* level) override;
    std::string name;
    int32_t min = -1;
    int32_t additional = -1;
};

class RoomLeverRecord : public RoomObjectRecord {
public:
    void DeclareProperties(XMLReadWriter& rw) override;
    bool Spawn(int32_t originX, int32_t originY, Level* level) override;
    uint8_t activated = 0;
};

// A new record for the tag ("customblocker", "customengraving", "custombreakable", "trap",
// "monster", "pedestal", "element", "loot", "horde", "lever", "clock"), or null.
RoomObjectRecord* CreateRoomObjectRecord(const std::string& tag);
// A new record of the tag read from the attributes, or null for a tag no record has.
RoomObjectRecord* ReadRoomObjectRecord(const std::string& tag, RoomAttributeMap map, const RoomReadContext& ctx);
// The element types an "element" record knows, in table order.
extern const char* const kRoomElementTypes[18];

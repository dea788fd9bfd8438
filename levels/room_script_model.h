#pragma once
// Room-script elements of "rooms.xml" as read: the object records that stand in a room, and
// the conditions and actions of its scripts.
//
// Every element is read against the declaration of its keyword (the attributes it takes,
// their kinds and whether they are required), with the reading rules of room scripts:
// attribute names are exact, integers by the C library's decimal conversion, booleans are
// integers that are not 0, a point is "at" (a location letter of the room's map) or both "x"
// and "y", a sprite is one image name or a whole numbered series. What a declaration does
// not use is reported, and so is a missing required attribute. The values are kept with the
// element, so nothing of the file is lost.
//
// Stand-in: the elements are kept as values only. Still to be built here: the condition,
// action and object-record class families with their behaviour (evaluating conditions,
// executing actions, spawning records), the property classes and their reference text, and
// the save form of SpriteRecord.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class Sprite;
struct RoomTemplate;

// Attribute name -> value, in ascending byte order of the name. Reading consumes entries.
using RoomAttributeMap = std::map<std::string, std::string>;
// From the parser's null-terminated array of alternating names and values (null: empty).
RoomAttributeMap MakeAttributeMap(const char** attributes);

enum class RoomPropertyKind : uint8_t { String, Integer, Boolean, Point, Sprite };

// One declared attribute (for a point the prefix of "at", "x", "y"; for a sprite the name
// that "Sprite", "First", "Num", "Rate" and "Animate" are appended to).
struct RoomPropertyDecl {
    const char* name;
    RoomPropertyKind kind;
    bool required;
};

// A picture description: one image, or a numbered series when `series` is not empty.
struct SpriteRecord {
    std::string image;
    std::string series;
    int32_t first = 0;
    int32_t count = 0;
    int32_t delay = 0;  // milliseconds per frame

    // The sprite from the sprite table (which owns it).
    Sprite* MakeSprite() const;
};

// The values one element gave for its declared properties.
struct RoomScriptElement {
    std::string keyword;   // record tag, condition_type or action_type
    int32_t line = 0;      // where the element stands in its file
    int32_t column = 0;
    std::map<std::string, std::string> values;                    // string, integer, boolean
    std::map<std::string, std::pair<int32_t, int32_t>> points;    // by prefix ("" = own point)
    std::map<std::string, SpriteRecord> sprites;                  // by name

    bool Has(const std::string& name) const;  // any kind
    std::string GetString(const std::string& name, const std::string& fallback = "") const;
    int32_t GetInt(const std::string& name, int32_t fallback = 0) const;
    bool GetBool(const std::string& name, bool fallback = false) const;
    // False (x and y untouched) when the point was not given.
    bool GetPoint(const std::string& prefix, int32_t& x, int32_t& y) const;
    const SpriteRecord* GetSprite(const std::string& name) const;
};

// What to put into a room: "monster", "horde", "trap", "loot", "lever", "clock", "pedestal",
// "element", "customblocker", "customengraving" or "custombreakable" (the keyword).
struct RoomObjectRecord : RoomScriptElement {
    std::string id;        // room-script label of the spawned object
    int32_t x = 0;         // square relative to the room origin
    int32_t y = 0;
    int32_t percent = 100; // chance of appearing
    int32_t can_push = 1;
};

struct RoomCondition : RoomScriptElement {
    uint8_t notFlag = 0;   // attribute "not"
};

struct RoomAction : RoomScriptElement {
    std::string on;                            // "success" or "failure" as written
    std::unique_ptr<RoomObjectRecord> record;  // what a "create" action spawns, or null
};

// One <script> of a room template.
class RoomScript {
public:
    explicit RoomScript(int32_t repeatCount = 1) : repeat(repeatCount) {}
    void SetRepeat(int32_t count) { repeat = count; }
    int32_t GetRepeat() const { return repeat; }
    void AddCondition(RoomCondition* c) { conditions.emplace_back(c); }
    void AddSuccessAction(RoomAction* a) { successActions.emplace_back(a); }
    void AddFailureAction(RoomAction* a) { failureActions.emplace_back(a); }

    int32_t repeat;  // -1 without limit
    std::vector<std::unique_ptr<RoomCondition>> conditions;
    std::vector<std::unique_ptr<RoomAction>> successActions;
    std::vector<std::unique_ptr<RoomAction>> failureActions;
};

// Where an element is read: the room template whose at-locations the points use (null:
// none), and the element's position for the element's records.
struct RoomReadContext {
    RoomTemplate* room = nullptr;
    const std::map<char, std::pair<int32_t, int32_t>>* atLocations = nullptr;
    int32_t line = 0;
    int32_t column = 0;
};

// Tells whether the spell database knows a spell name; the spell action's "casts" is checked
// with it while rooms are read (null: no check). The spell database sets it.
using SpellNameCheck = bool (*)(const std::string& name);
void SetRoomScriptSpellCheck(SpellNameCheck check);

// The declared properties of a record tag, condition type or action type, in declaration
// order; null for a keyword that is not known.
const std::vector<RoomPropertyDecl>* RoomObjectRecordDeclaration(const std::string& tag);
const std::vector<RoomPropertyDecl>* RoomConditionDeclaration(const std::string& type);
const std::vector<RoomPropertyDecl>* RoomActionDeclaration(const std::string& type);

// Reads the declared properties out of the map into the element (consuming what they use).
// Missing required ones are reported; with `strict`, so is everything left in the map.
void ReadRoomProperties(const std::vector<RoomPropertyDecl>& decls, RoomAttributeMap& map, bool strict,
                        RoomScriptElement& out, const RoomReadContext& ctx);

// A new record read from the element's attributes, or null for a tag no record has.
RoomObjectRecord* ReadRoomObjectRecord(const std::string& tag, RoomAttributeMap map, const RoomReadContext& ctx);
// A new condition from a <condition> element, or null (reported) for an unknown type.
RoomCondition* ReadRoomCondition(RoomAttributeMap map, const RoomReadContext& ctx);
// A new action from an <action> element, or null (reported) for an unknown type.
RoomAction* ReadRoomAction(RoomAttributeMap map, const RoomReadContext& ctx);

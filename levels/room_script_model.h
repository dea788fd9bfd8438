#pragma once
// Room-script elements of "rooms.xml" as read: the attribute map, the typed properties an
// element class declares, the XMLReadWriter that reads one element through them, and
// SpriteRecord, the picture description that custom objects keep and save. The object
// records of a room are in levels/room_object_records.h.
//
// Reading rules: attribute names compare without regard to case; integers by the C library's
// decimal conversion; a boolean is an integer that is not 0; a point is "at" (a location
// letter of the room's map) or both "x" and "y"; a sprite is one image name or a whole
// numbered series. What no property uses is reported, and so is a missing required
// attribute; no reading problem stops loading.
// The conditions and actions of room scripts are in levels/room_conditions.h and
// levels/room_actions.h, the scripts themselves in levels/room_script.h.
#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class SaveReader;
class SaveWriter;
class Sprite;
struct RoomTemplate;

// Orders attribute names by their lower-case bytes, so names match without regard to case.
struct AttributeNameLess {
    bool operator()(const std::string& a, const std::string& b) const;
};
// Attribute name -> value, in ascending order of the name. Reading consumes entries.
using RoomAttributeMap = std::map<std::string, std::string, AttributeNameLess>;
// From the parser's null-terminated array of alternating names and values (null: empty).
RoomAttributeMap MakeAttributeMap(const char** attributes);

// Where an element is read: the room template whose at-locations the points use (null:
// none), and the element's position for the element's records.
struct RoomReadContext {
    RoomTemplate* room = nullptr;
    const std::map<char, std::pair<int32_t, int32_t>>* atLocations = nullptr;
    int32_t line = 0;
    int32_t column = 0;
};

// A picture description: one image, or a numbered series when `series` is not empty.
struct SpriteRecord {
    SpriteRecord() = default;
    SpriteRecord(const SpriteRecord& other) = default;
    SpriteRecord& operator=(const SpriteRecord& other) = default;

    std::string image;
    std::string series;
    int32_t first = 0;
    int32_t count = 0;
    int32_t delay = 0;  // milliseconds per frame

    bool IsSeries() const { return !series.empty(); }
    // The sprite from the sprite table (which owns it).
    Sprite* MakeSprite() const;
    // Save form: kind word (0 image, 1 series); the image name, or the series name, count,
    // first and delay. True when every field was written.
    bool Write(SaveWriter& out) const;
    // Reads the save form; an unknown kind fails the reader.
    void Read(SaveReader& in);
};

// ---- properties ---------------------------------------------------------------------------

// One declared attribute (for a point the prefix of "at", "x", "y"; for a sprite the name that
// "Sprite", "First", "Num", "Rate" and "Animate" are appended to). The found flag, when given,
// belongs to the declaring object; the constructor clears it and reading sets it.
class Property {
public:
    Property(const std::string& name, int32_t requirement, uint8_t* found);
    virtual ~Property();
    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;

    virtual void Set(const std::string& value) = 0;
    // Consumes what it uses from the map; false when its attributes are not there.
    virtual bool Read(RoomAttributeMap& map) = 0;
    virtual bool IsRequired() const { return requirement == 1; }
    virtual std::string GetTypeName() const = 0;
    virtual void SetDescription(const std::string& text) { description = text; }
    // "<name> (*<type>*, **required**|optional)\n  <description>\n".
    virtual void WriteReference(std::ostream& out) const;

    std::string name;
    std::string description;
    int32_t requirement = 0;
    uint8_t* found = nullptr;
    const RoomReadContext* context = nullptr;  // set by the XMLReadWriter that holds it
};

class SimpleProperty : public Property {
public:
    using Property::Property;
    bool Read(RoomAttributeMap& map) override;
};

class StringProperty : public SimpleProperty {
public:
    StringProperty(const std::string& name, std::string* target, int32_t requirement, uint8_t* found);
    void Set(const std::string& value) override;
    std::string GetTypeName() const override { return "string"; }
    std::string* target;
};

class IntProperty : public SimpleProperty {
public:
    IntProperty(const std::string& name, int32_t* target, int32_t requirement, uint8_t* found);
    void Set(const std::string& value) override;
    std::string GetTypeName() const override { return "integer"; }
    int32_t* target;
};

class BoolProperty : public SimpleProperty {
public:
    BoolProperty(const std::string& name, uint8_t* target, int32_t requirement, uint8_t* found);
    void Set(const std::string& value) override;
    std::string GetTypeName() const override { return "boolean"; }
    uint8_t* target;
};

class PointProperty : public Property {
public:
    PointProperty(const std::string& name, int32_t* x, int32_t* y, int32_t requirement, uint8_t* found);
    void Set(const std::string& value) override;
    bool Read(RoomAttributeMap& map) override;
    std::string GetTypeName() const override { return "point"; }
    void WriteReference(std::ostream& out) const override;
    int32_t* x;
    int32_t* y;
};

class SpriteProperty : public Property {
public:
    SpriteProperty(const std::string& name, SpriteRecord* target, int32_t requirement, uint8_t* found);
    void Set(const std::string& value) override;
    bool Read(RoomAttributeMap& map) override;
    std::string GetTypeName() const override { return "sprite"; }
    void WriteReference(std::ostream& out) const override;
    SpriteRecord* target;
};

// The properties of one object, in declaration order (owned).
class XMLReadWriter {
public:
    explicit XMLReadWriter(const RoomReadContext* context = nullptr) : context_(context) {}
    XMLReadWriter(const XMLReadWriter&) = delete;
    XMLReadWriter& operator=(const XMLReadWriter&) = delete;

    // Warns about a name already held; keeps the property in every case.
    void AddProperty(Property* property);
    // Reads every property from the map, consuming what they use; with `strict`, reports
    // what is left. Never fails: unread fields keep their values.
    void Read(RoomAttributeMap* map, bool strict);
    void WriteReference(std::ostream& out) const;
    const std::vector<std::unique_ptr<Property>>& Properties() const { return properties_; }

private:
    const RoomReadContext* context_;
    std::vector<std::unique_ptr<Property>> properties_;
};

// Builds one property of type P from the arguments, gives it its reference text and adds it.
template <class P, class... Args>
void DeclareProperty(XMLReadWriter& rw, const char* text, Args... args) {
    P* property = new P(args...);
    property->SetDescription(text);
    rw.AddProperty(property);
}

// Tells whether the spell database knows a spell name; the spell action's "casts" is checked
// with it while rooms are read (null: no check). The spell database sets it.
using SpellNameCheck = bool (*)(const std::string& name);
void SetRoomScriptSpellCheck(SpellNameCheck check);
// The check set above, or null.
SpellNameCheck RoomScriptSpellCheck();

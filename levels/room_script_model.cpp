#include "levels/room_script_model.h"

#include <cctype>
#include <cstdio>
#include <ostream>

#include "core/command_state.h"
#include "core/save_stream.h"
#include "core/xml_util.h"
#include "levels/room_templates.h"
#include "media/sprite.h"

namespace {

SpellNameCheck SpellKnown = nullptr;

}  // namespace

// ---- attribute map -------------------------------------------------------------------------

bool AttributeNameLess::operator()(const std::string& a, const std::string& b) const {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb;
    }
    return a.size() < b.size();
}

RoomAttributeMap MakeAttributeMap(const char** attributes) {
    RoomAttributeMap map;
    if (attributes == nullptr) return map;
    for (int i = 0; attributes[i] != nullptr && attributes[i + 1] != nullptr; i += 2) {
        map.emplace(attributes[i], attributes[i + 1]);
    }
    return map;
}

// ---- SpriteRecord ----------------------------------------------------------------------------

Sprite* SpriteRecord::MakeSprite() const {
    if (!series.empty()) {
        return SpriteMgr_GetOrLoadSeries(series.c_str(), series.c_str(), count, first, delay, 1);
    }
    return SpriteMgr_GetOrLoad(image.c_str(), image.c_str(), "", 0, 0, 0);
}

bool SpriteRecord::Write(SaveWriter& out) const {
    if (!IsSeries()) {
        bool ok = out.WriteInt32(0);
        return out.WriteString(image) && ok;
    }
    bool ok = out.WriteInt32(1);
    ok = out.WriteString(series) && ok;
    ok = out.WriteInt32(count) && ok;
    ok = out.WriteInt32(first) && ok;
    return out.WriteInt32(delay) && ok;
}

void SpriteRecord::Read(SaveReader& in) {
    const int32_t kind = in.ReadInt32();
    if (in.Failed()) return;
    if (kind == 0) {
        image = in.ReadString();
        series.clear();
        return;
    }
    if (kind != 1) {
        in.Fail("sprite record of unknown kind " + std::to_string(kind));
        return;
    }
    series = in.ReadString();
    count = in.ReadInt32();
    first = in.ReadInt32();
    delay = in.ReadInt32();
}

// ---- properties ------------------------------------------------------------------------------

Property::Property(const std::string& propertyName, int32_t required, uint8_t* foundFlag)
    : name(propertyName), requirement(required), found(foundFlag) {
    if (found != nullptr) *found = 0;
}

Property::~Property() = default;

void Property::WriteReference(std::ostream& out) const {
    out << name << " (*" << GetTypeName() << "*, " << (IsRequired() ? "**required**" : "optional") << ")\n  "
        << description << "\n";
}

bool SimpleProperty::Read(RoomAttributeMap& map) {
    auto it = map.find(name);
    if (it == map.end()) return false;
    const std::string value = it->second;
    map.erase(it);
    Set(value);
    return true;
}

StringProperty::StringProperty(const std::string& n, std::string* t, int32_t r, uint8_t* f)
    : SimpleProperty(n, r, f), target(t) {}
void StringProperty::Set(const std::string& value) {
    if (target != nullptr) *target = value;
}

IntProperty::IntProperty(const std::string& n, int32_t* t, int32_t r, uint8_t* f) : SimpleProperty(n, r, f), target(t) {}
void IntProperty::Set(const std::string& value) {
    if (target != nullptr) *target = ParseDecimalInt32(value.c_str());
}

BoolProperty::BoolProperty(const std::string& n, uint8_t* t, int32_t r, uint8_t* f) : SimpleProperty(n, r, f), target(t) {}
void BoolProperty::Set(const std::string& value) {
    if (target != nullptr) *target = ParseDecimalInt32(value.c_str()) != 0 ? 1 : 0;
}

PointProperty::PointProperty(const std::string& n, int32_t* px, int32_t* py, int32_t r, uint8_t* f)
    : Property(n, r, f), x(px), y(py) {}

void PointProperty::Set(const std::string&) { RoomScriptWarning("PointProperty::Set should never be called!"); }

bool PointProperty::Read(RoomAttributeMap& map) {
    const std::string atName = name + "at", xName = name + "x", yName = name + "y";
    auto at = map.find(atName);
    if (at != map.end()) {
        if (map.count(xName)) RoomsXmlWarning("don't give x and at\n");
        if (map.count(yName)) RoomsXmlWarning("don't give y and at\n");
        const std::string text = at->second;
        if (text.size() != 1) RoomsXmlWarning("at=\"character\" must be single character");
        const char letter = text.empty() ? '\0' : text[0];
        int32_t px = 0, py = 0;
        bool known = false;
        if (context != nullptr && context->atLocations != nullptr) {
            auto loc = context->atLocations->find(letter);
            if (loc != context->atLocations->end()) {
                px = loc->second.first;
                py = loc->second.second;
                known = true;
            }
        }
        if (!known) RoomsXmlWarning("couldn't find at=\"%c\"", letter);
        if (CmdLine.debugFlags & kDebugRoomScripts) {
            std::printf("roomScript: popping=\"%c\" -> (%d, %d)\n", letter, px, py);
        }
        map.erase(at);
        // Only a location of the map becomes floor: an unknown letter leaves the room as drawn.
        RoomTemplate* room = context != nullptr ? context->room : nullptr;
        if (known && room != nullptr && px >= 0 && py >= 0 && px < room->width && py < room->height) {
            room->tiles[static_cast<size_t>(px + py * room->width)] = RoomTile::Floor;
            room->ForgetDoorTiles();
        }
        if (x != nullptr) *x = px;
        if (y != nullptr) *y = py;
        return true;
    }
    auto xi = map.find(xName), yi = map.find(yName);
    if (xi == map.end() || yi == map.end()) return false;
    const int32_t px = ParseDecimalInt32(xi->second.c_str());
    const int32_t py = ParseDecimalInt32(yi->second.c_str());
    map.erase(xName);
    map.erase(yName);
    if (x != nullptr) *x = px;
    if (y != nullptr) *y = py;
    return true;
}

void PointProperty::WriteReference(std::ostream& out) const {
    out << name << "at (or both " << name << "X and " << name << "Y) (*" << GetTypeName() << "*, "
        << (IsRequired() ? "**required**" : "optional") << ")\n  " << description << "\n";
}

SpriteProperty::SpriteProperty(const std::string& n, SpriteRecord* t, int32_t r, uint8_t* f)
    : Property(n, r, f), target(t) {}

void SpriteProperty::Set(const std::string&) { RoomScriptWarning("SpriteProperty::Set should never be called!"); }

bool SpriteProperty::Read(RoomAttributeMap& map) {
    static const char* const kSuffixes[] = {"Sprite", "First", "Num", "Rate", "Animate"};
    auto single = map.find(name);
    if (single != map.end()) {
        for (const char* suffix : kSuffixes) {
            if (map.count(name + suffix)) RoomsXmlWarning("don't give %s and %s\n", name.c_str(), (name + suffix).c_str());
        }
        if (target != nullptr) target->image = single->second;
        map.erase(single);
        return true;
    }
    for (int i = 0; i < 4; ++i) {
        if (!map.count(name + kSuffixes[i])) return false;
    }
    if (target != nullptr) {
        target->series = map[name + "Sprite"];
        target->first = ParseDecimalInt32(map[name + "First"].c_str());
        target->count = ParseDecimalInt32(map[name + "Num"].c_str());
        target->delay = ParseDecimalInt32(map[name + "Rate"].c_str());
    }
    for (const char* suffix : kSuffixes) map.erase(name + suffix);
    return true;
}

void SpriteProperty::WriteReference(std::ostream& out) const {
    out << name << " (or all of " << name << "Sprite, " << name << "First, " << name << "Num, " << name
        << "Rate and sometimes " << name << "Animate) (*" << GetTypeName() << "*, "
        << (IsRequired() ? "**required**" : "optional") << ")\n  " << description << "\n";
}

// ---- XMLReadWriter ---------------------------------------------------------------------------

void XMLReadWriter::AddProperty(Property* property) {
    if (property == nullptr) return;
    for (const auto& held : properties_) {
        if (held->name == property->name) {
            RoomScriptWarning("roomScript: found duplicate property name '%s'\n", property->name.c_str());
            break;
        }
    }
    property->context = context_;
    properties_.emplace_back(property);
}

void XMLReadWriter::Read(RoomAttributeMap* map, bool strict) {
    if (map == nullptr) return;
    for (const auto& property : properties_) {
        if (property->Read(*map)) {
            if (property->found != nullptr) *property->found = 1;
        } else if (property->requirement != 0) {
            RoomsXmlWarning("roomScript: didn't find required attribute '%s'\n", property->name.c_str());
        }
    }
    if (strict && !map->empty()) {
        for (const auto& entry : *map) std::printf("roomScript: didn't use attribute '%s'\n", entry.first.c_str());
        RoomsXmlWarning("roomScript: didn't use all attributes!\n");
    }
}

void XMLReadWriter::WriteReference(std::ostream& out) const {
    for (const auto& property : properties_) {
        property->WriteReference(out);
        out << "\n";
    }
}

void SetRoomScriptSpellCheck(SpellNameCheck check) { SpellKnown = check; }

SpellNameCheck RoomScriptSpellCheck() { return SpellKnown; }

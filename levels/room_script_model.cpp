#include "levels/room_script_model.h"

#include <cctype>
#include <cstdio>
#include <deque>
#include <ostream>

#include "core/command_state.h"
#include "core/save_stream.h"
#include "core/xml_util.h"
#include "levels/room_object_records.h"
#include "levels/room_templates.h"
#include "media/sprite.h"

namespace {

SpellNameCheck SpellKnown = nullptr;

using K = RoomPropertyKind;

std::vector<RoomPropertyDecl> With(std::vector<RoomPropertyDecl> base, std::vector<RoomPropertyDecl> own) {
    base.insert(base.end(), own.begin(), own.end());
    return base;
}

std::vector<RoomPropertyDecl> ObjectCondition(std::vector<RoomPropertyDecl> own) {
    return With({{"not", K::Boolean, false}, {"id", K::String, true}, {"notfound", K::Boolean, false}}, own);
}

const std::map<std::string, std::vector<RoomPropertyDecl>>& ConditionTable() {
    static const std::map<std::string, std::vector<RoomPropertyDecl>> table = {
        {"isdead", ObjectCondition({})},
        {"isalive", ObjectCondition({})},
        {"activated", ObjectCondition({{"activated", K::Boolean, false}})},
        {"activated_changed", ObjectCondition({{"activated", K::Integer, false}})},
        {"at", ObjectCondition({{"", K::Point, true}})},
        {"event", ObjectCondition({{"event_type", K::String, true}})},
        {"type_at", {{"not", K::Boolean, false}, {"", K::Point, true}, {"type", K::String, true},
                     {"subtype", K::String, false}}},
        {"entered", {{"not", K::Boolean, false}}},
        {"exited", {{"not", K::Boolean, false}}},
        {"started", ObjectCondition({{"started", K::Boolean, false}})},
        {"stopped", ObjectCondition({{"stopped", K::Boolean, false}})},
    };
    return table;
}

const std::map<std::string, std::vector<RoomPropertyDecl>>& ActionTable() {
    static const std::map<std::string, std::vector<RoomPropertyDecl>> table = {
        {"remove", {{"id", K::String, true}}},
        {"move", {{"id", K::String, true}, {"", K::Point, true}}},
        {"ticker", {{"text", K::String, true}}},
        {"create", {{"create_type", K::String, true}}},
        {"set", {{"id", K::String, true}, {"set_type", K::String, true}, {"value", K::Integer, true}}},
        {"spell", {{"casts", K::String, true}, {"source", K::Point, false}, {"target", K::Point, false}}},
    };
    return table;
}

const std::vector<RoomPropertyDecl>* Lookup(const std::map<std::string, std::vector<RoomPropertyDecl>>& table,
                                            const std::string& key) {
    auto it = table.find(key);
    return it == table.end() ? nullptr : &it->second;
}

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

// ---- conditions and actions (value form) ----------------------------------------------------

RoomAction::~RoomAction() = default;

bool RoomScriptElement::Has(const std::string& name) const {
    return values.count(name) != 0 || points.count(name) != 0 || sprites.count(name) != 0;
}

std::string RoomScriptElement::GetString(const std::string& name, const std::string& fallback) const {
    auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
}

int32_t RoomScriptElement::GetInt(const std::string& name, int32_t fallback) const {
    auto it = values.find(name);
    return it == values.end() ? fallback : ParseDecimalInt32(it->second.c_str());
}

bool RoomScriptElement::GetBool(const std::string& name, bool fallback) const {
    auto it = values.find(name);
    return it == values.end() ? fallback : ParseDecimalInt32(it->second.c_str()) != 0;
}

bool RoomScriptElement::GetPoint(const std::string& prefix, int32_t& x, int32_t& y) const {
    auto it = points.find(prefix);
    if (it == points.end()) return false;
    x = it->second.first;
    y = it->second.second;
    return true;
}

const SpriteRecord* RoomScriptElement::GetSprite(const std::string& name) const {
    auto it = sprites.find(name);
    return it == sprites.end() ? nullptr : &it->second;
}

const std::vector<RoomPropertyDecl>* RoomConditionDeclaration(const std::string& type) {
    return Lookup(ConditionTable(), type);
}

const std::vector<RoomPropertyDecl>* RoomActionDeclaration(const std::string& type) {
    return Lookup(ActionTable(), type);
}

void ReadRoomProperties(const std::vector<RoomPropertyDecl>& decls, RoomAttributeMap& map, bool strict,
                        RoomScriptElement& out, const RoomReadContext& ctx) {
    // Each declared property reads into a holder of its own; what was found goes to the element.
    struct Holder {
        const RoomPropertyDecl* decl = nullptr;
        std::string text;
        int32_t x = 0, y = 0;
        SpriteRecord sprite;
        uint8_t found = 0;
    };
    std::deque<Holder> holders;
    XMLReadWriter rw(&ctx);
    for (const RoomPropertyDecl& d : decls) {
        holders.emplace_back();
        holders.back().decl = &d;
        Holder& h = holders.back();
        const int32_t required = d.required ? 1 : 0;
        switch (d.kind) {
            case K::Point: rw.AddProperty(new PointProperty(d.name, &h.x, &h.y, required, &h.found)); break;
            case K::Sprite: rw.AddProperty(new SpriteProperty(d.name, &h.sprite, required, &h.found)); break;
            default: rw.AddProperty(new StringProperty(d.name, &h.text, required, &h.found)); break;
        }
    }
    rw.Read(&map, strict);
    for (const Holder& h : holders) {
        if (h.found == 0) continue;
        switch (h.decl->kind) {
            case K::Point: out.points[h.decl->name] = {h.x, h.y}; break;
            case K::Sprite: out.sprites[h.decl->name] = h.sprite; break;
            default: out.values[h.decl->name] = h.text; break;
        }
    }
}

RoomCondition* ReadRoomCondition(RoomAttributeMap map, const RoomReadContext& ctx) {
    RoomScriptElement head;
    static const std::vector<RoomPropertyDecl> kType = {{"condition_type", K::String, true}};
    ReadRoomProperties(kType, map, false, head, ctx);
    const std::string type = head.GetString("condition_type");
    const std::vector<RoomPropertyDecl>* decls = RoomConditionDeclaration(type);
    if (decls == nullptr) {
        RoomsXmlWarning("Bad condition_type='%s'", type.c_str());
        return nullptr;
    }
    auto* cond = new RoomCondition();
    cond->keyword = type;
    cond->line = ctx.line;
    cond->column = ctx.column;
    ReadRoomProperties(*decls, map, true, *cond, ctx);
    cond->notFlag = cond->GetBool("not") ? 1 : 0;
    return cond;
}

void SetRoomScriptSpellCheck(SpellNameCheck check) { SpellKnown = check; }

RoomAction* ReadRoomAction(RoomAttributeMap map, const RoomReadContext& ctx) {
    RoomScriptElement head;
    static const std::vector<RoomPropertyDecl> kHead = {{"on", K::String, true}, {"action_type", K::String, true}};
    ReadRoomProperties(kHead, map, false, head, ctx);
    const std::string on = head.GetString("on");
    if (on != "success" && on != "failure") RoomsXmlWarning("Bad on='%s'\n", on.c_str());
    const std::string type = head.GetString("action_type");
    const std::vector<RoomPropertyDecl>* decls = RoomActionDeclaration(type);
    if (decls == nullptr) {
        RoomsXmlWarning("Bad action_type='%s'", type.c_str());
        return nullptr;
    }
    auto* action = new RoomAction();
    action->keyword = type;
    action->on = on;
    action->line = ctx.line;
    action->column = ctx.column;
    if (type == "create") {
        // The record takes every attribute but create_type, strictly, as inside a room.
        ReadRoomProperties(*decls, map, false, *action, ctx);
        const std::string tag = action->GetString("create_type");
        action->record.reset(ReadRoomObjectRecord(tag, map, ctx));
        if (!action->record) {
            RoomsXmlWarning("<action action_type='create'>: couldn't create create_type='%s'", tag.c_str());
        }
    } else {
        ReadRoomProperties(*decls, map, true, *action, ctx);
        if (type == "spell") {
            const std::string casts = action->GetString("casts");
            if (SpellKnown != nullptr && !SpellKnown(casts)) {
                RoomsXmlWarning("couldn't find casts='%s'", casts.c_str());
            }
        }
    }
    return action;
}

#include "levels/room_script_model.h"

#include <cstdio>

#include "core/command_state.h"
#include "core/xml_util.h"
#include "levels/room_templates.h"
#include "media/sprite.h"

namespace {

SpellNameCheck SpellKnown = nullptr;

using K = RoomPropertyKind;

// Attributes every object record takes, in declaration order.
std::vector<RoomPropertyDecl> CommonRecord() {
    return {{"", K::Point, true}, {"percent", K::Integer, false}, {"can_push", K::Integer, false},
            {"id", K::String, false}};
}

// The common ones and those of records drawn with their own picture.
std::vector<RoomPropertyDecl> CustomRecord() {
    std::vector<RoomPropertyDecl> d = CommonRecord();
    d.insert(d.end(), {{"name", K::String, false}, {"description", K::String, false},
                       {"passable", K::Boolean, false}, {"visblock", K::Boolean, false},
                       {"png", K::Sprite, true}});
    return d;
}

std::vector<RoomPropertyDecl> With(std::vector<RoomPropertyDecl> base, std::vector<RoomPropertyDecl> own) {
    base.insert(base.end(), own.begin(), own.end());
    return base;
}

const std::map<std::string, std::vector<RoomPropertyDecl>>& RecordTable() {
    static const std::map<std::string, std::vector<RoomPropertyDecl>> table = {
        {"customblocker", CustomRecord()},
        {"customengraving", CustomRecord()},
        {"custombreakable", With(CustomRecord(), {{"hitsNeededToBreak", K::Integer, false},
                                                  {"hitsTaken", K::Integer, false},
                                                  {"breaking", K::Sprite, false},
                                                  {"broken", K::Sprite, true}})},
        {"trap", With(CommonRecord(), {{"name", K::String, false}})},
        {"monster", With(CommonRecord(), {{"name", K::String, false}})},
        {"pedestal", With(CommonRecord(), {{"name", K::String, true}, {"text", K::String, true}})},
        {"element", With(CommonRecord(), {{"type", K::String, true}, {"name", K::String, false},
                                          {"contents", K::String, false}})},
        {"loot", With(CommonRecord(), {{"amount", K::Integer, false}, {"type", K::String, false},
                                       {"subtype", K::String, false}, {"artifact", K::Boolean, false}})},
        {"horde", With(CommonRecord(), {{"name", K::String, false}, {"min", K::Integer, false},
                                        {"additional", K::Integer, false}})},
        {"lever", With(CommonRecord(), {{"activated", K::Boolean, false}})},
        {"clock", With(CustomRecord(), {{"initial", K::Integer, true}, {"remaining", K::Integer, false},
                                        {"started", K::Boolean, false}})},
    };
    return table;
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

bool Take(RoomAttributeMap& map, const std::string& name, std::string& value) {
    auto it = map.find(name);
    if (it == map.end()) return false;
    value = it->second;
    map.erase(it);
    return true;
}

bool ReadPoint(const std::string& prefix, RoomAttributeMap& map, RoomScriptElement& out, const RoomReadContext& ctx) {
    const std::string atName = prefix + "at", xName = prefix + "x", yName = prefix + "y";
    auto at = map.find(atName);
    if (at != map.end()) {
        if (map.count(xName)) RoomsXmlWarning("don't give x and at\n");
        if (map.count(yName)) RoomsXmlWarning("don't give y and at\n");
        const std::string text = at->second;
        if (text.size() != 1) RoomsXmlWarning("at=\"character\" must be single character");
        const char letter = text.empty() ? '\0' : text[0];
        int32_t x = 0, y = 0;
        bool found = false;
        if (ctx.atLocations != nullptr) {
            auto loc = ctx.atLocations->find(letter);
            if (loc != ctx.atLocations->end()) {
                x = loc->second.first;
                y = loc->second.second;
                found = true;
            }
        }
        if (!found) RoomsXmlWarning("couldn't find at=\"%c\"", letter);
        if (CmdLine.debugFlags & kDebugRoomScripts) {
            std::printf("roomScript: popping=\"%c\" -> (%d, %d)\n", letter, x, y);
        }
        map.erase(at);
        // Only a location of the map becomes floor: an unknown letter leaves the room as drawn.
        if (found && ctx.room != nullptr && x >= 0 && y >= 0 && x < ctx.room->width && y < ctx.room->height) {
            ctx.room->tiles[static_cast<size_t>(x + y * ctx.room->width)] = RoomTile::Floor;
            ctx.room->ForgetDoorTiles();
        }
        out.points[prefix] = {x, y};
        return true;
    }
    auto xi = map.find(xName), yi = map.find(yName);
    if (xi == map.end() || yi == map.end()) return false;
    out.points[prefix] = {ParseDecimalInt32(xi->second.c_str()), ParseDecimalInt32(yi->second.c_str())};
    map.erase(xName);
    map.erase(yName);
    return true;
}

bool ReadSprite(const std::string& name, RoomAttributeMap& map, RoomScriptElement& out) {
    static const char* const kSuffixes[] = {"Sprite", "First", "Num", "Rate", "Animate"};
    auto single = map.find(name);
    if (single != map.end()) {
        for (const char* suffix : kSuffixes) {
            if (map.count(name + suffix)) {
                RoomsXmlWarning("don't give %s and %s\n", name.c_str(), (name + suffix).c_str());
            }
        }
        SpriteRecord rec;
        rec.image = single->second;
        map.erase(single);
        out.sprites[name] = rec;
        return true;
    }
    for (int i = 0; i < 4; ++i) {
        if (!map.count(name + kSuffixes[i])) return false;
    }
    SpriteRecord rec;
    rec.series = map[name + "Sprite"];
    rec.first = ParseDecimalInt32(map[name + "First"].c_str());
    rec.count = ParseDecimalInt32(map[name + "Num"].c_str());
    rec.delay = ParseDecimalInt32(map[name + "Rate"].c_str());
    for (const char* suffix : kSuffixes) map.erase(name + suffix);
    out.sprites[name] = rec;
    return true;
}

}  // namespace

RoomAttributeMap MakeAttributeMap(const char** attributes) {
    RoomAttributeMap map;
    if (attributes == nullptr) return map;
    for (int i = 0; attributes[i] != nullptr && attributes[i + 1] != nullptr; i += 2) {
        map[attributes[i]] = attributes[i + 1];
    }
    return map;
}

Sprite* SpriteRecord::MakeSprite() const {
    if (!series.empty()) {
        return SpriteMgr_GetOrLoadSeries(series.c_str(), series.c_str(), count, first, delay, 1);
    }
    return SpriteMgr_GetOrLoad(image.c_str(), image.c_str(), "", 0, 0, 0);
}

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

const std::vector<RoomPropertyDecl>* RoomObjectRecordDeclaration(const std::string& tag) {
    return Lookup(RecordTable(), tag);
}

const std::vector<RoomPropertyDecl>* RoomConditionDeclaration(const std::string& type) {
    return Lookup(ConditionTable(), type);
}

const std::vector<RoomPropertyDecl>* RoomActionDeclaration(const std::string& type) {
    return Lookup(ActionTable(), type);
}

void ReadRoomProperties(const std::vector<RoomPropertyDecl>& decls, RoomAttributeMap& map, bool strict,
                        RoomScriptElement& out, const RoomReadContext& ctx) {
    for (const RoomPropertyDecl& d : decls) {
        bool found = false;
        switch (d.kind) {
            case K::Point:
                found = ReadPoint(d.name, map, out, ctx);
                break;
            case K::Sprite:
                found = ReadSprite(d.name, map, out);
                break;
            default: {
                std::string value;
                found = Take(map, d.name, value);
                if (found) out.values[d.name] = value;
                break;
            }
        }
        if (!found && d.required) RoomsXmlWarning("roomScript: didn't find required attribute '%s'\n", d.name);
    }
    if (strict && !map.empty()) {
        for (const auto& entry : map) std::printf("roomScript: didn't use attribute '%s'\n", entry.first.c_str());
        RoomsXmlWarning("roomScript: didn't use all attributes!\n");
    }
}

RoomObjectRecord* ReadRoomObjectRecord(const std::string& tag, RoomAttributeMap map, const RoomReadContext& ctx) {
    const std::vector<RoomPropertyDecl>* decls = RoomObjectRecordDeclaration(tag);
    if (decls == nullptr) return nullptr;
    auto* rec = new RoomObjectRecord();
    rec->keyword = tag;
    rec->line = ctx.line;
    rec->column = ctx.column;
    ReadRoomProperties(*decls, map, true, *rec, ctx);
    rec->GetPoint("", rec->x, rec->y);
    rec->percent = rec->GetInt("percent", 100);
    rec->can_push = rec->GetInt("can_push", 1);
    rec->id = rec->GetString("id");
    return rec;
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

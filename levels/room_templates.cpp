#include "levels/room_templates.h"

#include <strings.h>

#include <climits>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include <expat.h>

#include "core/command_state.h"
#include "core/xml_util.h"
#include "platform/vfs.h"

std::vector<RoomTemplate*> RoomTemplates;
std::vector<RoomTemplate*> NamedOnlyRoomTemplates;
std::map<std::string, RoomTemplate*> RoomTemplateMap;
std::vector<int32_t> RoomTemplateCounters;

// ---------------------------------------------------------------------------------------------
// Templates

RoomTemplate::RoomTemplate(const std::string& templateName, int32_t w, int32_t h)
    : width(w), height(h), name(templateName) {
    const size_t size = (w > 0 && h > 0) ? static_cast<size_t>(w) * static_cast<size_t>(h) : 0;
    tiles.assign(size, 0);
    doorLayer.assign(size, 0);
    markLayer.assign(size, 0);
}

int32_t RoomTemplate::CountTiles(uint8_t code) const {
    int32_t n = 0;
    for (uint8_t t : tiles) n += t == code ? 1 : 0;
    return n;
}

const std::vector<std::pair<int32_t, int32_t>>& RoomTemplate::DoorTiles() const {
    if (doorsKnown_) return doors_;
    doors_.clear();
    for (int32_t r = 0; r < height; ++r) {
        for (int32_t c = 0; c < width; ++c) {
            if (TileAt(c, r) == RoomTile::Door) doors_.emplace_back(c, r);
        }
    }
    doorsKnown_ = true;
    return doors_;
}

// ---------------------------------------------------------------------------------------------
// Warnings

namespace {

XML_Parser currentParser = nullptr;
int32_t fallbackLine = 0;
int32_t fallbackColumn = 0;

void VWarn(bool withPosition, const char* format, va_list args) {
    if (withPosition) {
        int line = fallbackLine, column = fallbackColumn;
        if (currentParser != nullptr) {
            line = static_cast<int>(XML_GetCurrentLineNumber(currentParser));
            column = static_cast<int>(XML_GetCurrentColumnNumber(currentParser));
        }
        std::fprintf(stderr, "line:%d, column:%d\n", line, column);
    }
    std::vfprintf(stderr, format, args);
    std::fprintf(stderr, "\n");
}

}  // namespace

void RoomScriptWarning(const char* format, ...) {
    va_list args;
    va_start(args, format);
    VWarn(false, format, args);
    va_end(args);
}

void RoomsXmlWarning(const char* format, ...) {
    va_list args;
    va_start(args, format);
    VWarn(true, format, args);
    va_end(args);
}

void SetRoomsXmlPosition(int32_t line, int32_t column) {
    fallbackLine = line;
    fallbackColumn = column;
}

// ---------------------------------------------------------------------------------------------
// Reading

namespace {

struct RoomsReadState {
    XML_Parser parser = nullptr;
    RoomTemplate* current = nullptr;
    RoomScript* script = nullptr;
    int32_t row = 0;
    bool badRowsReported = false;
    bool dropping = false;  // the current room has an impossible size: it is read past
    std::map<char, std::pair<int32_t, int32_t>> atLocations;
};

bool NameIs(const XML_Char* name, const char* wanted) { return strcasecmp(name, wanted) == 0; }

RoomReadContext Context(RoomsReadState& st) {
    RoomReadContext ctx;
    ctx.room = st.current;
    ctx.atLocations = &st.atLocations;
    ctx.line = static_cast<int32_t>(XML_GetCurrentLineNumber(st.parser));
    ctx.column = static_cast<int32_t>(XML_GetCurrentColumnNumber(st.parser));
    return ctx;
}

bool Debugging() { return (CmdLine.debugFlags & kDebugRoomScripts) != 0; }

// The value of the last attribute of that name (ignoring case), or null.
const char* Attr(const XML_Char** attributes, const char* name) {
    const char* found = nullptr;
    for (int i = 0; attributes[i] != nullptr && attributes[i + 1] != nullptr; i += 2) {
        if (strcasecmp(attributes[i], name) == 0) found = attributes[i + 1];
    }
    return found;
}

void StartRoom(RoomsReadState& st, const XML_Char** attributes) {
    if (st.current != nullptr) {
        RoomsXmlWarning("roomScript: room '%s' is not closed before the next room; it is dropped",
                        st.current->name.c_str());
        delete st.current;
        st.current = nullptr;
    }
    const char* name = Attr(attributes, "name");
    const int32_t w = ParseDecimalInt32(Attr(attributes, "width"));
    const int32_t h = ParseDecimalInt32(Attr(attributes, "height"));
    st.dropping = w < 1 || h < 1 || w > kMaxRoomTemplateSide || h > kMaxRoomTemplateSide;
    if (st.dropping) {
        // Refused before anything is allocated for it.
        RoomsXmlWarning("roomScript: room '%s' has the size %d x %d (1 to %d each way); it is dropped",
                        name ? name : "", w, h, kMaxRoomTemplateSide);
    }
    st.current = new RoomTemplate(name ? name : "", st.dropping ? 0 : w, st.dropping ? 0 : h);
    st.row = 0;
    st.badRowsReported = false;
    st.atLocations.clear();
}

void ReadFlags(RoomsReadState& st, const XML_Char** attributes) {
    RoomTemplate* t = st.current;
    for (int i = 0; attributes[i] != nullptr && attributes[i + 1] != nullptr; i += 2) {
        const char* key = attributes[i];
        const int32_t value = ParseDecimalInt32(attributes[i + 1]);
        const int32_t flag = value != 0 ? 1 : 0;
        if (strcasecmp(key, "digglegod") == 0) t->digglegod = flag;
        else if (strcasecmp(key, "shop") == 0) t->shop = flag;
        else if (strcasecmp(key, "zoo") == 0) t->zoo = flag;
        else if (strcasecmp(key, "special") == 0) t->special = flag;
        else if (strcasecmp(key, "notraps") == 0) t->notraps = flag;
        else if (strcasecmp(key, "nomonsters") == 0) t->nomonsters = flag;
        else if (strcasecmp(key, "noblockers") == 0) t->noblockers = flag;
        else if (strcasecmp(key, "notreasure") == 0) t->notreasure = flag;
        else if (strcasecmp(key, "quest") == 0) t->quest = flag;
        else if (strcasecmp(key, "byname") == 0) t->byName = flag;
        else if (strcasecmp(key, "minLevel") == 0) t->minLevel = value;
        else if (strcasecmp(key, "maxLevel") == 0) t->maxLevel = value;
    }
}

void ReadRow(RoomsReadState& st, const XML_Char** attributes) {
    RoomTemplate* t = st.current;
    const char* textAttr = Attr(attributes, "text");
    const std::string text = textAttr ? textAttr : "";
    const int32_t row = st.row++;
    if (row >= t->height) {
        if (!st.badRowsReported) {
            RoomsXmlWarning("roomScript: room '%s' has more rows than its height %d; the extra rows are ignored",
                            t->name.c_str(), t->height);
            st.badRowsReported = true;
        }
        return;
    }
    if (static_cast<int64_t>(text.size()) > t->width) {
        RoomsXmlWarning("roomScript: row %d of room '%s' is longer than the width %d; the rest is ignored", row,
                        t->name.c_str(), t->width);
    }
    for (int32_t c = 0; c < t->width && static_cast<size_t>(c) < text.size(); ++c) {
        const char ch = text[static_cast<size_t>(c)];
        const size_t i = static_cast<size_t>(c + row * t->width);
        switch (ch) {
            case ' ': t->tiles[i] = RoomTile::None; break;
            case '.': t->tiles[i] = RoomTile::Floor; break;
            case 's': t->tiles[i] = RoomTile::Floor; t->smallSX = c; t->smallSY = row; break;
            case 'S': t->tiles[i] = RoomTile::Floor; t->bigSX = c; t->bigSY = row; break;
            case 'i': t->tiles[i] = RoomTile::Floor; t->itemSpots.emplace_back(c, row); break;
            case '@': t->tiles[i] = RoomTile::Floor; t->markLayer[i] = 2; break;
            case '^': t->tiles[i] = RoomTile::Floor; t->markLayer[i] = 3; break;
            case '#': t->tiles[i] = RoomTile::Wall; break;
            case 'P': t->tiles[i] = RoomTile::Wall; t->markLayer[i] = 1; break;
            case '!': t->tiles[i] = RoomTile::Wall; t->markLayer[i] = 4; break;
            case 'D': t->tiles[i] = RoomTile::Door; t->doorLayer[i] = 0; break;
            case 'd': t->tiles[i] = RoomTile::Door; t->doorLayer[i] = 1; break;
            case 'W': t->tiles[i] = RoomTile::Water; break;
            case 'L': t->tiles[i] = RoomTile::Lava; break;
            case 'G': t->tiles[i] = RoomTile::Goo; break;
            case 'I': t->tiles[i] = RoomTile::Ice; break;
            case 'X': t->tiles[i] = RoomTile::Special; break;
            default:
                if (ch >= '1' && ch <= '9') {
                    if (st.atLocations.count(ch)) {
                        // A letter given twice cannot name one square: the first stays.
                        std::printf("roomScript: repeated at location '%c'\n", ch);
                        RoomsXmlWarning("roomScript: room '%s' repeats at location '%c'; the first one is kept",
                                        t->name.c_str(), ch);
                    } else {
                        st.atLocations[ch] = {c, row};
                        if (Debugging()) {
                            std::printf("roomScript: pushing at=\"%c\" -> (%d, %d)\n", ch, c, row);
                        }
                    }
                } else {
                    RoomsXmlWarning("roomScript: Found unknown tile '%c'\n", ch);
                }
                break;
        }
    }
}

void EndRoom(RoomsReadState& st) {
    RoomTemplate* t = st.current;
    st.current = nullptr;
    st.row = 0;
    if (Debugging()) {
        std::vector<char> unused;
        for (const auto& loc : st.atLocations) {
            if (t->TileAt(loc.second.first, loc.second.second) == RoomTile::None) unused.push_back(loc.first);
        }
        if (!unused.empty()) {
            std::printf("roomScript: did not use all at locations!\n");
            for (char ch : unused) std::printf("roomScript: did not use at '%c'\n", ch);
        }
    }
    st.atLocations.clear();
    if (st.dropping) {
        st.dropping = false;
        delete t;
        return;
    }
    // A room without squares is kept like any other (it counts in the random draws of the
    // layout pass and is found by name) but can never be placed; most likely its rows are
    // missing, so it is reported.
    if (t->CountTiles(RoomTile::None) == static_cast<int32_t>(t->tiles.size())) {
        RoomsXmlWarning("roomScript: room '%s' has no squares; it can never be placed", t->name.c_str());
    }
    // A room used only by its name (a tutorial's, a test room) stays out of the table that
    // generation draws from, so it changes no generated level.
    if (t->byName != 0) NamedOnlyRoomTemplates.push_back(t);
    else RoomTemplates.push_back(t);
}

void XMLCALL RoomsStartElement(void* userData, const XML_Char* el, const XML_Char** attributes) {
    RoomsReadState& st = *static_cast<RoomsReadState*>(userData);
    if (st.script != nullptr) {
        if (NameIs(el, "condition")) {
            RoomCondition* c = ReadRoomCondition(MakeAttributeMap(attributes), Context(st));
            if (c != nullptr) st.script->AddCondition(c);
        } else if (NameIs(el, "action")) {
            RoomAction* a = ReadRoomAction(MakeAttributeMap(attributes), Context(st));
            if (a != nullptr) {
                if (a->on == "success") st.script->AddSuccessAction(a);
                else st.script->AddFailureAction(a);
            }
        } else {
            RoomsXmlWarning("roomScript: '%s' is not read inside a script", el);
        }
        return;
    }
    if (NameIs(el, "roomdb")) return;
    if (NameIs(el, "room")) {
        StartRoom(st, attributes);
        return;
    }
    if (st.dropping) return;  // nothing inside a refused room is read
    if (NameIs(el, "flags") || NameIs(el, "row")) {
        if (st.current == nullptr) return;  // outside a room these carry nothing
        if (NameIs(el, "flags")) ReadFlags(st, attributes);
        else ReadRow(st, attributes);
        return;
    }
    if (NameIs(el, "script") && st.current != nullptr) {
        const char* repeat = Attr(attributes, "repeat");
        const int32_t count = repeat ? ParseDecimalInt32(repeat) : 1;
        st.script = new RoomScript(count);
        if (Debugging()) std::printf("roomScript: opening room script (repeat=%d)\n", count);
        return;
    }
    if (st.current == nullptr) {
        RoomsXmlWarning("roomScript: curTemplate NULL while parsing '%s'\n", el);
        return;
    }
    std::string tag = el;
    for (char& ch : tag) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    RoomObjectRecord* rec = ReadRoomObjectRecord(tag, MakeAttributeMap(attributes), Context(st));
    if (rec != nullptr) {
        st.current->records.emplace_back(rec);
    } else {
        // Nothing would be made of it: say so rather than lose it without a word.
        RoomsXmlWarning("roomScript: unknown element '%s' in room '%s' is ignored", el, st.current->name.c_str());
    }
}

void XMLCALL RoomsEndElement(void* userData, const XML_Char* el) {
    RoomsReadState& st = *static_cast<RoomsReadState*>(userData);
    if (NameIs(el, "room") && st.script == nullptr) {
        if (st.current != nullptr) EndRoom(st);
        else st.atLocations.clear();
    } else if (NameIs(el, "script") && st.script != nullptr) {
        if (st.current != nullptr) st.current->scripts.emplace_back(st.script);
        else delete st.script;
        st.script = nullptr;
    }
}

}  // namespace

bool LoadRoomTemplatesFromBuffer(const char* data, size_t length, const char* label) {
    if (length > static_cast<size_t>(INT_MAX)) {
        std::printf("roomScript: %s is too large to read\n", label ? label : "");
        return false;
    }
    RoomsReadState st;
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (parser == nullptr) return false;
    st.parser = parser;
    XML_Parser previous = currentParser;
    currentParser = parser;
    XML_SetUserData(parser, &st);
    XML_SetElementHandler(parser, RoomsStartElement, RoomsEndElement);
    const bool ok = XML_Parse(parser, data ? data : "", static_cast<int>(length), 1) != XML_STATUS_ERROR;
    if (!ok) {
        std::printf("roomScript: %s, line %d, column %d: %s; the rest of the file is not read\n",
                    label ? label : "", static_cast<int>(XML_GetCurrentLineNumber(parser)),
                    static_cast<int>(XML_GetCurrentColumnNumber(parser)), XML_ErrorString(XML_GetErrorCode(parser)));
    }
    // A room or script left open by a broken file never entered the table.
    delete st.script;
    delete st.current;
    currentParser = previous;
    XML_ParserFree(parser);
    RoomTemplateCounters.assign(RoomTemplates.size(), 0);
    return ok;
}

void LoadRoomTemplates(const char* file) {
    if (file == nullptr || !VfsExists(file)) return;
    std::vector<char> buffer;
    if (!VfsReadFile(file, buffer)) return;
    LoadRoomTemplatesFromBuffer(buffer.data(), buffer.size(), file);
}

void BuildRoomTemplateMap() {
    RoomTemplateMap.clear();
    for (RoomTemplate* t : RoomTemplates) RoomTemplateMap[t->name] = t;
}

namespace {

RoomTemplate* FindNamedOnly(const std::string& name) {
    for (RoomTemplate* t : NamedOnlyRoomTemplates) {
        if (t->name == name) return t;
    }
    return nullptr;
}

}  // namespace

RoomTemplate* FindRoomTemplate(const std::string& name) {
    auto it = RoomTemplateMap.find(name);
    return it == RoomTemplateMap.end() ? FindNamedOnly(name) : it->second;
}

RoomTemplate* FindFirstRoomTemplate(const std::string& name) {
    for (RoomTemplate* t : RoomTemplates) {
        if (t->name == name) return t;
    }
    return FindNamedOnly(name);
}

void ClearRoomTemplates() {
    RoomTemplateMap.clear();
    for (RoomTemplate* t : RoomTemplates) delete t;
    RoomTemplates.clear();
    for (RoomTemplate* t : NamedOnlyRoomTemplates) delete t;
    NamedOnlyRoomTemplates.clear();
    RoomTemplateCounters.clear();
}

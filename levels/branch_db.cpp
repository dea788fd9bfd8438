#include "levels/branch_db.h"

#include <strings.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/random.h"
#include "core/tweak.h"
#include "core/xml_util.h"
#include "media/image.h"
#include "media/sprite.h"
#include "platform/vfs.h"

std::vector<BranchRecord*> Branches;

// ---------------------------------------------------------------------------------------------
// Records

bool BranchTileRange::IsValid() const {
    return startX >= 0 && startY >= 0 && endX >= startX && endY >= startY;
}

bool BranchTileRange::FitsImage(int32_t cellsAcross, int32_t cellsDown) const {
    if (!IsValid()) return false;
    const int64_t frames = numframes > 1 ? numframes : 1;
    const int64_t lastX = static_cast<int64_t>(endX) + (frames - 1) * static_cast<int64_t>(skip);
    const int64_t firstX = static_cast<int64_t>(startX) + (skip < 0 ? (frames - 1) * skip : 0);
    return firstX >= 0 && lastX < cellsAcross && endY < cellsDown;
}

BranchRecord::~BranchRecord() { delete tilesetImage; }

BranchTileRange* BranchRecord::FindTile(const std::string& tileName) {
    auto it = tiles.find(tileName);
    return it == tiles.end() ? nullptr : &it->second;
}

const BranchTileRange* BranchRecord::FindTile(const std::string& tileName) const {
    auto it = tiles.find(tileName);
    return it == tiles.end() ? nullptr : &it->second;
}

const BreakableDef* BranchRecord::GetBreakable(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= breakables.size()) return nullptr;
    return &breakables[static_cast<size_t>(index)];
}

const BlockerDef* BranchRecord::GetBlocker(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= blockers.size()) return nullptr;
    return &blockers[static_cast<size_t>(index)];
}

SDL_Surface* BranchRecord::GetTilesetImage() {
    if (tilesetImage == nullptr && !tileset.empty()) {
        auto* image = new ImageRecord();
        if (image->LoadImageDoubled(tileset.c_str())) {
            tilesetImage = image;
        } else {
            delete image;
        }
    }
    return tilesetImage != nullptr ? tilesetImage->surface : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Reading

namespace {

struct BranchReadState {
    int32_t depth = 0;                 // element nesting counter
    BranchRecord* current = nullptr;   // the branch being read
    XML_Parser parser = nullptr;
    const char* label = "";
};

bool NameIs(const XML_Char* name, const char* wanted) { return strcasecmp(name, wanted) == 0; }

// The value of the last attribute of that name (ignoring case), or null.
const char* Attr(const XML_Char** attributes, const char* name) {
    const char* found = nullptr;
    for (int i = 0; attributes[i] != nullptr && attributes[i + 1] != nullptr; i += 2) {
        if (strcasecmp(attributes[i], name) == 0) found = attributes[i + 1];
    }
    return found;
}

void ReadString(const XML_Char** attributes, const char* name, std::string& out) {
    if (const char* v = Attr(attributes, name)) out = v;
}

void ReadInt(const XML_Char** attributes, const char* name, int32_t& out) {
    if (const char* v = Attr(attributes, name)) out = ParseDecimalInt32(v);
}

void ReadBool(const XML_Char** attributes, const char* name, uint8_t& out) {
    if (const char* v = Attr(attributes, name)) out = ParseDecimalInt32(v) != 0 ? 1 : 0;
}

void Warn(const BranchReadState& st, const char* what, const std::string& detail) {
    std::printf("branchDB: %s, line %d, column %d: %s%s\n", st.label,
                static_cast<int>(XML_GetCurrentLineNumber(st.parser)),
                static_cast<int>(XML_GetCurrentColumnNumber(st.parser)), what, detail.c_str());
}

void ResolveBreakableSprites(BreakableDef& def, const std::string& spriteName) {
    if (!def.pngSprite.empty()) {
        def.sprite = SpriteMgr_GetOrLoadSeries(def.pngSprite.c_str(), def.pngSprite.c_str(), def.pngNum,
                                               def.pngFirst, def.pngRate, 1);
    } else if (!def.png.empty()) {
        def.sprite = SpriteMgr_GetOrLoadPNG(def.png.c_str(), def.png.c_str(), 1);
    } else if (!spriteName.empty()) {
        def.sprite = SpriteMgr_GetOrLoad(spriteName.c_str(), spriteName.c_str(), "", 0, 0);
    }
    // A picture without a name is not requested: the fixture then falls back to its intact
    // picture instead of an empty table entry named "".
    if (!def.pngSeriesBreak.empty()) {
        def.breakSprite = SpriteMgr_GetOrLoadSeries(def.pngSeriesBreak.c_str(), def.pngSeriesBreak.c_str(),
                                                    def.pngBreakNum, def.pngBreakFirst, def.pngBreakRate, 1);
    }
    if (!def.pngBroken.empty()) {
        def.brokenSprite = SpriteMgr_GetOrLoadPNG(def.pngBroken.c_str(), def.pngBroken.c_str(), 1);
    }
}

void ResolveBlockerSprite(BlockerDef& def, const std::string& spriteName) {
    if (!spriteName.empty()) {
        def.sprite = SpriteMgr_GetOrLoad(spriteName.c_str(), spriteName.c_str(), "", 0, 0);
    } else if (!def.pngSprite.empty()) {
        def.sprite = SpriteMgr_GetOrLoadSeries(def.pngSprite.c_str(), def.pngSprite.c_str(), def.pngNum,
                                               def.pngFirst, def.pngRate, 1);
    } else if (!def.png.empty()) {
        def.sprite = SpriteMgr_GetOrLoadPNG(def.png.c_str(), def.png.c_str(), 1);
    }
}

void ReadTile(BranchReadState& st, const XML_Char** attributes) {
    BranchRecord* b = st.current;
    BranchTileRange tile;
    std::string name;
    ReadString(attributes, "name", name);
    ReadInt(attributes, "startX", tile.startX);
    ReadInt(attributes, "startY", tile.startY);
    tile.endX = tile.startX;
    tile.endY = tile.startY;
    ReadInt(attributes, "endX", tile.endX);
    ReadInt(attributes, "endY", tile.endY);
    ReadInt(attributes, "skip", tile.skip);
    ReadInt(attributes, "numframes", tile.numframes);
    ReadInt(attributes, "framerate", tile.framerate);
    uint8_t pingpong = 0;
    ReadBool(attributes, "pingpong", pingpong);
    tile.pingpong = pingpong;
    if (!tile.IsValid()) {
        // Drawing such a tile would read outside the tileset image.
        Warn(st, "tile names no cells of the tileset: ", name.empty() ? std::string("(no name)") : name);
    }
    if (name == "wallDecor") {
        b->wallDecor.push_back(tile);
    } else if (name == "floor") {
        b->floors.push_back(tile);
    } else {
        b->tiles[name] = tile;
    }
}

void XMLCALL BranchDBStartElement(void* userData, const XML_Char* el, const XML_Char** attributes) {
    BranchReadState& st = *static_cast<BranchReadState*>(userData);
    ++st.depth;
    if (NameIs(el, "branch")) {
        if (st.current != nullptr) {
            Warn(st, "branch opened inside the unfinished branch ", st.current->name);
            delete st.current;
        }
        st.current = new BranchRecord();
        st.current->genlakes = 0;
        st.current->genshops = 0;
        ReadString(attributes, "name", st.current->name);
        ReadInt(attributes, "id", st.current->id);
        ReadInt(attributes, "depth", st.current->depth);
        ReadInt(attributes, "generator", st.current->generator);
        ReadBool(attributes, "corners", st.current->corners);
        return;
    }
    BranchRecord* b = st.current;
    if (b == nullptr) return;  // elements outside a branch carry nothing
    if (NameIs(el, "leveldata")) {
        ReadInt(attributes, "min", b->minDepth);
        ReadInt(attributes, "max", b->maxDepth);
        ReadString(attributes, "banner", b->banner);
        ReadBool(attributes, "genshops", b->genshops);
        ReadBool(attributes, "genlakes", b->genlakes);
        ReadBool(attributes, "gencoffins", b->gencoffins);
    } else if (NameIs(el, "map")) {
        BranchMapEntry entry;
        ReadString(attributes, "map", entry.map);
        ReadInt(attributes, "level", entry.level);
        b->maps.push_back(entry);
    } else if (NameIs(el, "tileset")) {
        ReadString(attributes, "name", b->tileset);
    } else if (NameIs(el, "breakable")) {
        BreakableDef def;
        std::string spriteName;
        ReadString(attributes, "name", def.name);
        ReadString(attributes, "png", def.png);
        ReadString(attributes, "pngSprite", def.pngSprite);
        ReadInt(attributes, "pngFirst", def.pngFirst);
        ReadInt(attributes, "pngNum", def.pngNum);
        ReadInt(attributes, "pngRate", def.pngRate);
        ReadString(attributes, "pngBroken", def.pngBroken);
        ReadString(attributes, "pngSeriesBreak", def.pngSeriesBreak);
        ReadInt(attributes, "pngBreakFirst", def.pngBreakFirst);
        ReadInt(attributes, "pngBreakNum", def.pngBreakNum);
        ReadInt(attributes, "pngBreakRate", def.pngBreakRate);
        ReadString(attributes, "sfx", def.sfx);
        ReadInt(attributes, "vis", def.vis);
        ReadString(attributes, "sprite", spriteName);
        ResolveBreakableSprites(def, spriteName);
        b->breakables.push_back(def);
    } else if (NameIs(el, "blocker")) {
        BlockerDef def;
        std::string spriteName;
        ReadString(attributes, "png", def.png);
        ReadString(attributes, "pngSprite", def.pngSprite);
        ReadInt(attributes, "pngFirst", def.pngFirst);
        ReadInt(attributes, "pngNum", def.pngNum);
        ReadInt(attributes, "pngRate", def.pngRate);
        ReadInt(attributes, "passable", def.passable);
        ReadInt(attributes, "animate", def.animate);
        ReadString(attributes, "sprite", spriteName);
        ResolveBlockerSprite(def, spriteName);
        b->blockers.push_back(def);
    } else if (NameIs(el, "chestinfo")) {
        ReadString(attributes, "open", b->chestOpen);
        ReadString(attributes, "closed", b->chestClosed);
        ReadString(attributes, "broken", b->chestBroken);
    } else if (NameIs(el, "doorinfo")) {
        ReadString(attributes, "ew_top", b->doorEwTop);
        ReadString(attributes, "ew_bottom", b->doorEwBottom);
        ReadString(attributes, "ns_left", b->doorNsLeft);
        ReadString(attributes, "ns_right", b->doorNsRight);
    } else if (NameIs(el, "seed")) {
        std::string seed;
        ReadString(attributes, "name", seed);
        b->seeds.push_back(seed);
    } else if (NameIs(el, "tile")) {
        ReadTile(st, attributes);
    } else if (NameIs(el, "music")) {
        ReadString(attributes, "name", b->music);
    }
}

void XMLCALL BranchDBEndElement(void* userData, const XML_Char* el) {
    BranchReadState& st = *static_cast<BranchReadState*>(userData);
    --st.depth;
    if (NameIs(el, "branch") && st.current != nullptr) {
        if (st.current->minDepth > st.current->maxDepth) {
            Warn(st, "depth range is empty (min above max) in branch ", st.current->name);
        }
        Branches.push_back(st.current);
        st.current = nullptr;
    }
}

// Every record draws its chosen depth again and forgets its tileset image.
void RedrawChosenDepths() {
    for (BranchRecord* b : Branches) {
        const int64_t n = static_cast<int64_t>(b->maxDepth) - b->minDepth + 1;
        const int32_t draw = (n < 1 || n > 32766) ? 0 : RandomInt(static_cast<int32_t>(n));
        b->chosenDepth = static_cast<int32_t>(static_cast<int64_t>(b->minDepth) + draw);
        delete b->tilesetImage;
        b->tilesetImage = nullptr;
    }
}

}  // namespace

bool branchDBLoadFromBuffer(const char* data, size_t length, const char* label) {
    if (length > static_cast<size_t>(INT32_MAX)) {
        std::printf("branchDB: %s is too large to read\n", label);
        return false;
    }
    BranchReadState st;
    st.label = label ? label : "";
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (parser == nullptr) return false;
    st.parser = parser;
    XML_SetUserData(parser, &st);
    XML_SetElementHandler(parser, BranchDBStartElement, BranchDBEndElement);
    const bool ok = XML_Parse(parser, data ? data : "", static_cast<int>(length), 1) != XML_STATUS_ERROR;
    if (!ok) {
        std::printf("branchDB: %s, line %d, column %d: %s; the rest of the file is not read\n", st.label,
                    static_cast<int>(XML_GetCurrentLineNumber(parser)),
                    static_cast<int>(XML_GetCurrentColumnNumber(parser)),
                    XML_ErrorString(XML_GetErrorCode(parser)));
    }
    // A branch left open by a broken file never entered the table.
    delete st.current;
    st.current = nullptr;
    XML_ParserFree(parser);
    RedrawChosenDepths();
    return ok;
}

void branchDBLoad(const char* file) {
    if (file == nullptr || !VfsExists(file)) return;
    std::vector<char> buffer;
    if (!VfsReadFile(file, buffer)) return;
    branchDBLoadFromBuffer(buffer.data(), buffer.size(), file);
}

BranchRecord* FindBranchForDepth(int32_t depth) {
    for (BranchRecord* b : Branches) {
        if (b->minDepth <= depth && b->maxDepth >= depth) return b;
    }
    return nullptr;
}

BranchRecord* FindBranchById(int32_t id) {
    for (BranchRecord* b : Branches) {
        if (b->id == id) return b;
    }
    return nullptr;
}

BranchRecord* FindBranch(int32_t id, int32_t depth) {
    for (BranchRecord* b : Branches) {
        if (b->id == id && depth >= b->minDepth && depth <= b->maxDepth) return b;
    }
    return nullptr;
}

int32_t DeepestBranchDepth() {
    int32_t deepest = -1;
    for (const BranchRecord* b : Branches) {
        if (b->maxDepth > deepest) deepest = b->maxDepth;
    }
    return deepest;
}

void ClearBranches() {
    for (BranchRecord* b : Branches) delete b;
    Branches.clear();
}

int32_t StairsPerLevel() {
    // The bad value last reported: each bad value is reported once, not with every level,
    // and again only after a good value was read in between.
    static bool reported = false;
    static int32_t reportedValue = 0;
    const int32_t n = GetTweakInt("numstairs");
    if (n < 1) {
        if (!reported || reportedValue != n) {
            std::printf("ZARNOCH ERROR: %s, line %i: %s\n", "branchDB", __LINE__,
                        "\"numstairs\" is below 1; every level still gets one staircase each way");
        }
        reported = true;
        reportedValue = n;
        return 1;
    }
    reported = false;
    return n;
}

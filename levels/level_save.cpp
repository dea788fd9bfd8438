#include "levels/level_save.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <typeinfo>

#include "core/class_registry.h"
#include "core/command_state.h"
#include "core/save_stream.h"
#include "levels/game_obj.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/room_templates.h"

namespace {

// Index = legacy template index; null entries were left empty.
const char* const kLegacyRoomTemplates[kLegacyRoomTemplateCount] = {
    "Starting Room",  // 0
    "Tutorial Chamber: Movement",  // 1
    "Tutorial Chamber: Combat",  // 2
    "Tutorial Chamber: Item Use",  // 3
    "Tutorial Chamber: Combat Skills",  // 4
    "Tutorial Chamber: Equipment Maintenance",  // 5
    "Tutorial Chamber: Crossbows",  // 6
    "Tutorial Chamber: Food",  // 7
    "Tutorial Chamber: Thrown Weapons",  // 8
    "Tutorial Chamber: Resistances",  // 9
    "Tutorial Chamber: Potions",  // 10
    "Tutorial Chamber: Wands",  // 11
    "Tutorial Chamber: Magic",  // 12
    "Tutorial Chamber: Buffs",  // 13
    "Tutorial Chamber: Alchemy",  // 14
    "Tutorial Chamber: Tinkering",  // 15
    "Tutorial Chamber: Thrown Weapons",  // 16
    "10x10 shop",  // 17
    "Smaller Side-entrance Shop",  // 18
    "Corner Store",  // 19
    "9x10 shop (S)",  // 20
    "Smaller Shop 1",  // 21
    nullptr,  // 22
    "11x11 Monstrous Zoo U",  // 23
    "11x11 Monstrous Zoo D",  // 24
    "I Heard You Like Mudkips",  // 25
    "7x7 room, treasure",  // 26
    "7x8 room, treasure artifact",  // 27
    "20x20 Large Treasury",  // 28
    "Small Forge",  // 29
    "Smithery",  // 30
    "Magma Forge",  // 31
    "Small Smelter",  // 32
    "Magma Smelter",  // 33
    "Small Alchemy Lab",  // 34
    "Small Workshop",  // 35
    "Archery Range",  // 36
    "Magic Library",  // 37
    "Healing Pool",  // 38
    "Not A Healing Pool",  // 39
    "Magic Buffing Chamber",  // 40
    "Dead Adventurer",  // 41
    "Diggle Nest",  // 42
    "Small Diggle Nest 1",  // 43
    "Small Diggle Nest 2",  // 44
    "9x3 hallway",  // 45
    "Ignition Hall 1",  // 46
    "nw L-hall",  // 47
    "ne L-hall",  // 48
    "sw L-hall",  // 49
    "se L-hall",  // 50
    "Batty Cave",  // 51
    "Some Dungeon Rooms",  // 52
    "30x22, The Great Hall",  // 53
    "Propaganda Hall 1",  // 54
    "Propaganda Hall 2",  // 55
    "9x9 theme room",  // 56
    "Indulgent Tomb 1",  // 57
    "Indulgent Tomb 2",  // 58
    "Indulgent Tomb 3",  // 59
    "Strongly Themed 11x11 room",  // 60
    "11x12 corner tomb",  // 61
    "Stone Coffins",  // 62
    "Stone Coffins 2",  // 63
    "3x9 hallway w/ decor",  // 64
    "watery hall",  // 65
    "9x9 ns divided room",  // 66
    "Barred Room",  // 67
    "small L bracket",  // 68
    "small R bracket",  // 69
    "Wide Catacombs",  // 70
    "Tall Tomb Complex",  // 71
    "12x16 Twisted Hall",  // 72
    "6x12 Twisted Hall",  // 73
    "Small Catacomb",  // 74
    "Room",  // 75
    "Medium Catacomb",  // 76
    "Small Tomb",  // 77
    "11x11 west-facing gooey junction",  // 78
    "11x11 room with a goo",  // 79
    "11x9 goo column",  // 80
    "9x9 goo vat",  // 81
    "9x9 goo vat with secret",  // 82
    "10x10 ew divided room w/ goo",  // 83
    "9x9 ew divided room 2",  // 84
    "12x11 ew divided room",  // 85
    "15x15, The Circle",  // 86
    "15x14 Async U-hall",  // 87
    "14x7 techhall",  // 88
    "14x7 techhall 2",  // 89
    "Computer Lab",  // 90
    "Octo Lab",  // 91
    "Zap Hall 1",  // 92
    "Zap Hall 2",  // 93
    "E1M1 treasure nook",  // 94
    "24x21 room",  // 95
    "Phobos, Baby",  // 96
    "15x15 room, toxic refinery",  // 97
    nullptr,  // 98
    "skinny dungeons",  // 99
    "Goo Bridge",  // 100
    "Knee Deep In The Goo",  // 101
    "10x8 ew divided pool",  // 102
    "11x11 west-facing watery junction",  // 103
    "9x8 ew divided pool",  // 104
    "10x8 ew divided pool",  // 105
    "10x8 ns divided pool",  // 106
    "ew sauna hall",  // 107
    "ns sauna hall",  // 108
    "Watery Crossroads",  // 109
    "Watery Crossroads with traps",  // 110
    "15x15 room",  // 111
    "22x18 room cluster",  // 112
    "15x15 room w/moats II",  // 113
    "15x15 room w/moats",  // 114
    "Watery Hall, tall",  // 115
    "Watery Hall, wide",  // 116
    "The Isle of Zarnoch",  // 117
    "Traps for Treasure",  // 118
    "15x15 crossroads",  // 119
    "A Hall",  // 120
    "9x12 ns divided room",  // 121
    "13x15 atriums",  // 122
    "The Stacks 1",  // 123
    "Smaller Bookish Room",  // 124
    "The Donut of Study",  // 125
    "6x6 NW corner",  // 126
    "Rough passage",  // 127
    "Rough passage 2",  // 128
    "Rough passage 3",  // 129
    "6x6 NE corner",  // 130
    "6x6 SW corner",  // 131
    "9x30 room",  // 132
    "16x6 SE corner",  // 133
    "15x15, The Flooded Chamber",  // 134
    "15x15, The Dome of Excavation",  // 135
    "Frozen Filler Room",  // 136
    "Ice Wyrm Nest",  // 137
    "9x9 ice rink",  // 138
    "The Incredibly Screwed Up Room of Meat",  // 139
    "The Icy Grip",  // 140
    "Mine Junction",  // 141
    "ew mine corridor",  // 142
    "ns mine corridor",  // 143
    "Mining Facility Alpha",  // 144
    "9x30 mine corridor",  // 145
    "The Room with (potentially) many doors",  // 146
    "Small Lava Chamber",  // 147
    "9x11 lava pit",  // 148
    "Long Hot Room",  // 149
    "Hot Box",  // 150
    "Hot Box 2",  // 151
    "The Embedded Circles",  // 152
    "Another Day in the Lump Factory",  // 153
    "Lava Cavern",  // 154
    "Lava Pools",  // 155
    "Fiery Crossroads",  // 156
    "Small Lava Chamber Corner",  // 157
    "Lava Sorting Chamber",  // 158
    "Slipgate Room",  // 159
    "The Shrine of Pain",  // 160
    "20x20 room cluster",  // 161
    "Small Shrine of Caketown",  // 162
    "Large Shrine of Zozerezevizeru",  // 163
    "Medium Shrine of Zozerezevizeru",  // 164
    "Small Shrine of Zozerezevizeru",  // 165
    "Medium Shrine of The Vededuve Rez",  // 166
    "Small Shrine of The Vededuve Rez",  // 167
    "Small Shrine of Krong",  // 168
    "Medium Shrine of Krong",  // 169
    "Large Shrine of Zozerezevizeru",  // 170
    "Medium Shrine of Zozerezevizeru",  // 171
    "Medium Shrine of The Vededuve Rez",  // 172
    "7x7 Lutefisk Vault",  // 173
    "Cube Sanctum",  // 174
    "Small Diggle Nest 3",  // 175
    "Small Diggle Nest 4",  // 176
    "Small Diggle Nest 5",  // 177
    "Small Diggle Nest 6",  // 178
    "Dark Tomb 1",  // 179
    "Dark Tomb 2",  // 180
    "Dark Tomb 3",  // 181
    "Dark Tomb 4",  // 182
    "Sulphurous Store",  // 183
    "Powder Room",  // 184
    "Rogue Tricks 1",  // 185
    "Basic block",  // 186
    "Basic Vert Hall",  // 187
    "Basic Horz Hall",  // 188
    "Ninja Hall 1",  // 189
    "Ninja Hall 2",  // 190
    "Mini Ninja Room 1",  // 191
    "Mini Ninja Room 2",  // 192
    "Mustache Fighting Ring",  // 193
    "Mechanical Halls 1",  // 194
    "Mechanical Halls 2",  // 195
    "Mechanical Halls 3",  // 196
    "Mechanical Halls 4",  // 197
    "ew forest corridor",  // 198
    "ns forest corridor",  // 199
    "Confusing Forest Paths",  // 200
    "The Jiggy Circle",  // 201
    "Basic Bone Room 1",  // 202
    "Basic Bone Room 2",  // 203
    "Hall of Skulls",  // 204
    "Breakable Test",  // 205
    "World of Goo",  // 206
    "More Loot",  // 207
    "Room of Demands",  // 208
    "Mass Pitting",  // 209
    "Dwarven Mail System",  // 210
    "Room of Levers",  // 211
    "Control Point",  // 212
    "Control Point 2",  // 213
    "Customs",  // 214
    "Split",  // 215
    "Split 2",  // 216
    nullptr,  // 217
    nullptr,  // 218
    "The Pit",  // 219
    "Antimagic Testing Chamber",  // 220
    "Brimstone Testing Chamber",  // 221
    "Healing Chamber",  // 222
    "Fun Chamber",  // 223
    "Small Shrine of Zozerezevizeru",  // 224
    "Small Corrupted Shrine of Krong",  // 225
    "Corrupted Shrine of Krong",  // 226
    "Small Corrupted Shrine of The Vededuve Rez",  // 227
    "Medium Shrine of the Diggle God of War",  // 228
    "Medium Shrine of the Diggle God of Fertility",  // 229
    "Medium Shrine of the Diggle God of Death",  // 230
    "Medium Shrine of the Diggle God of Digging",  // 231
    "Medium Shrine of the Diggle God of Secrets",  // 232
    "Goo Ambush 1",  // 233
};

// Smallest sizes of the records a count announces (what the rest of the stream must hold
// at least once per element).
constexpr size_t kMinObjectBytes = 4 + 12 * 4;   // class key and the oldest GameObj block
constexpr size_t kMinMineBytes = 8;
constexpr size_t kMinRoomEntryBytes = 4 + 4 + 4 + 7 * 4 + 4;  // name, key, record
constexpr size_t kMinSquareBytes = 1 + 8 * 4 + 4 + 4 + 4;     // 1.0.9 square, nothing on it
constexpr int32_t kMaxRoomRecords = 4096;
constexpr int32_t kMaxScriptCounters = 1 << 20;

// The room key the level writes for a room and its neighbours refer to.
uint32_t RoomKey(const RoomRecord* record) {
    return record != nullptr ? static_cast<uint32_t>(record->roomId) : 0xFFFFFFFFu;
}

// The class key a stream of that version names the object's class by: the hash from 1.0.7
// on, the index into the legacy class table before (0xFFFFFFFF when the table lacks it).
uint32_t ClassKeyFor(GameObj* obj, const SaveVersion& version) {
    if (version.AtLeast(kSaveHashedClassKeys)) return obj->GetClassHash();
    const std::string name = DynamicClassName(obj);
    for (uint32_t key = 0; key < kLegacyClassCount; ++key) {
        if (name == LegacyClassName(key)) return key;
    }
    return 0xFFFFFFFFu;
}

bool WriteFlag(SaveWriter& out, const LevelCell& cell, uint8_t flag) {
    return out.WriteInt32(cell.HasFlag(flag) ? 1 : 0);
}

void ReadFlag(SaveReader& in, LevelCell& cell, uint8_t flag) {
    if (in.ReadInt32() != 0) {
        cell.flags |= flag;
    } else {
        cell.flags &= static_cast<uint8_t>(~flag);
    }
}

}  // namespace

const char* LegacyRoomTemplateName(int32_t storedIndex, const SaveVersion& version) {
    int32_t index = storedIndex;
    if (version == kSaveV1_0_8 && index >= 191) index -= 5;
    if (index < 0 || index >= kLegacyRoomTemplateCount) return nullptr;
    return kLegacyRoomTemplates[index];
}

std::string DynamicClassName(const GameObj* obj) {
    if (obj == nullptr) return std::string();
    const char* mangled = typeid(*obj).name();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = (status == 0 && plain != nullptr) ? plain : mangled;
    std::free(plain);
    return name;
}

namespace {

// Whether a class's mangled type name is that of the plain (global, not nested) class `name`:
// the name's length in decimal, then the name. Spares the demangling of every object a save
// asks about.
bool MangledNameIs(const char* mangled, const std::string& name) {
    const std::string length = std::to_string(name.size());
    return std::strncmp(mangled, length.c_str(), length.size()) == 0 &&
           std::strcmp(mangled + length.size(), name.c_str()) == 0;
}

}  // namespace

bool IsDoorObject(GameObj* obj) {
    if (obj == nullptr) return false;
    if (std::strcmp(typeid(*obj).name(), "4Door") == 0) return true;
    // The registry is asked only about an object that carries the door's key.
    static const uint32_t doorNameKey = ClassNameHash("Door");
    return obj->GetClassHash() == doorNameKey && GetRegisteredClassHash("Door") == doorNameKey;
}

std::string MissingSaveRecordClass(GameObj* obj) {
    if (obj == nullptr) return std::string();
    const SerializableDefinition* answered =
        SerializableRegistry::Instance().FindByKey(obj->GetClassHash(), kCurrentSaveVersion);
    if (answered != nullptr && MangledNameIs(typeid(*obj).name(), answered->name)) return std::string();
    const std::string own = DynamicClassName(obj);
    if (answered != nullptr && answered->name == own) return std::string();
    return own;
}

GameObj* FindUnsavableObject(Level* level) {
    if (level == nullptr) return nullptr;
    for (LevelCell& cell : level->squares) {
        for (GameObj* obj : cell.contents) {
            if (!IsDoorObject(obj) && !MissingSaveRecordClass(obj).empty()) return obj;
        }
    }
    return nullptr;
}

// ---- room records ------------------------------------------------------------------------

bool RoomRecord::Save(SaveWriter& out) const {
    bool ok = out.WriteInt32(static_cast<int32_t>(neighbours.size()));
    for (const RoomRecord* neighbour : neighbours) ok = out.WriteUInt32(RoomKey(neighbour)) && ok;
    ok = out.WriteBool(active) && ok;
    ok = out.WriteBool(shopOrZoo ? 1 : 0) && ok;
    ok = out.WriteInt32(roomId) && ok;
    ok = out.WriteInt32(left) && ok;
    ok = out.WriteInt32(top) && ok;
    ok = out.WriteInt32(right) && ok;
    ok = out.WriteInt32(bottom) && ok;
    if (out.version.AtLeast(kSaveV1_0_10)) {
        ok = out.WriteString(roomTemplate != nullptr ? roomTemplate->name : std::string()) && ok;
    } else {
        // Older formats are only ever read, never written; an index names no template.
        ok = out.WriteInt32(-1) && ok;
    }
    if (out.version.AtLeast(kSaveV1_0_7)) ok = out.WriteInt32(extra) && ok;
    return ok;
}

void RoomRecord::Load(SaveReader& in) {
    const int32_t count = in.ReadCount(4);
    for (int32_t i = 0; i < count; ++i) pendingNeighbourKeys.push_back(in.ReadUInt32());
    active = in.ReadInt32() != 0 ? 1 : 0;
    shopOrZoo = in.ReadInt32() != 0;
    roomId = in.ReadInt32();
    left = in.ReadInt32();
    top = in.ReadInt32();
    right = in.ReadInt32();
    bottom = in.ReadInt32();
    std::string name;
    bool known = true;
    if (in.version.AtLeast(kSaveV1_0_10)) {
        name = in.ReadString();
    } else {
        const int32_t index = in.ReadInt32();
        const char* legacy = LegacyRoomTemplateName(index, in.version);
        if (legacy != nullptr) {
            name = legacy;
        } else {
            known = false;
            if (!in.Failed()) {
                std::printf("RoomRecord: the room template index %d names no template; the first template stands in\n",
                            index);
            }
        }
    }
    roomTemplate = known ? FindRoomTemplate(name) : nullptr;
    if (roomTemplate == nullptr) {
        if (known && !in.Failed()) {
            std::printf("RoomRecord: no room template \"%s\"; the first template stands in\n", name.c_str());
        }
        roomTemplate = RoomTemplates.empty() ? nullptr : RoomTemplates.front();
    }
    if (in.version.AtLeast(kSaveV1_0_7)) extra = in.ReadInt32();
}

// ---- squares -----------------------------------------------------------------------------

bool LevelCell::Save(SaveWriter& out) {
    bool ok = out.WriteByte(room);
    ok = out.WriteInt32(type) && ok;
    ok = out.WriteInt32(doorFlags) && ok;
    ok = WriteFlag(out, *this, SquareFlag::Blocked) && ok;
    ok = out.WriteInt32(stairIndex) && ok;
    ok = WriteFlag(out, *this, SquareFlag::Explored) && ok;
    ok = WriteFlag(out, *this, SquareFlag::Visible) && ok;
    ok = WriteFlag(out, *this, SquareFlag::Lit) && ok;
    ok = WriteFlag(out, *this, SquareFlag::Mapped) && ok;
    if (out.version.AtLeast(kSaveV1_0_10)) ok = WriteFlag(out, *this, SquareFlag::MarkedWall) && ok;
    int32_t count = 0;
    for (GameObj* obj : contents) count += IsDoorObject(obj) ? 0 : 1;
    ok = out.WriteInt32(count) && ok;
    for (GameObj* obj : contents) {
        if (IsDoorObject(obj)) continue;
        const std::string missing = MissingSaveRecordClass(obj);
        if (!missing.empty()) {
            std::printf("LevelCell: a %s at (%d, %d) has no save record\n", missing.c_str(), obj->x, obj->y);
            return false;
        }
        ok = out.WriteUInt32(ClassKeyFor(obj, out.version)) && ok;
        ok = obj->Save(out) && ok;
    }
    ok = out.WriteInt32(static_cast<int32_t>(mines.size())) && ok;
    for (const SpellMine* mine : mines) {
        ok = out.WriteInt32(mine->value) && ok;
        ok = out.WriteInt32(mine->spellIndex) && ok;
    }
    ok = out.WriteUInt32(kSquareEndMarker) && ok;
    return ok && !out.Failed();
}

void LevelCell::Load(SaveReader& in) {
    room = in.ReadByte();
    type = static_cast<uint8_t>(in.ReadInt32());
    doorFlags = static_cast<uint8_t>(in.ReadInt32());
    ReadFlag(in, *this, SquareFlag::Blocked);
    stairIndex = static_cast<uint8_t>(in.ReadInt32());
    ReadFlag(in, *this, SquareFlag::Explored);
    ReadFlag(in, *this, SquareFlag::Visible);
    ReadFlag(in, *this, SquareFlag::Lit);
    ReadFlag(in, *this, SquareFlag::Mapped);
    if (in.version.AtLeast(kSaveV1_0_10)) ReadFlag(in, *this, SquareFlag::MarkedWall);
    const int32_t objectCount = in.ReadCount(kMinObjectBytes);
    for (int32_t i = 0; i < objectCount && !in.Failed(); ++i) {
        const uint32_t key = in.ReadUInt32();
        Serializable* created = SerializableRegistry::Instance().CreateFromSave(key, in);
        GameObj* obj = dynamic_cast<GameObj*>(created);
        if (created != nullptr && obj == nullptr) {
            delete created;
            in.Fail("a square holds a saved object that is not a game object");
        } else if (obj != nullptr && obj->dropAfterLoad) {
            delete obj;  // an item of a kind the data no longer has
        } else if (obj != nullptr && obj->level == nullptr) {
            // Its saved depth and branch name no listed level: nothing would own it, and the
            // next save would be without it. The whole load goes instead.
            in.Fail("a saved " + DynamicClassName(obj) + " at (" + std::to_string(obj->x) + ", " +
                    std::to_string(obj->y) + ") belongs to no level");
            delete obj;
        } else if (obj != nullptr && obj->cell == nullptr) {
            // On its level but on no square of it: saves write objects through their squares.
            const Level* home = obj->level;
            in.Fail("a saved " + DynamicClassName(obj) + " at (" + std::to_string(obj->x) + ", " +
                    std::to_string(obj->y) + ") is outside the " + std::to_string(home->width) + " x " +
                    std::to_string(home->height) + " grid of floor " + std::to_string(home->depth));
        }
        // Otherwise the object has placed itself on its level (which owns it, also when the
        // load fails).
    }
    const int32_t mineCount = in.ReadCount(kMinMineBytes);
    for (int32_t i = 0; i < mineCount && !in.Failed(); ++i) {
        const int32_t value = in.ReadInt32();
        const int32_t spellIndex = in.ReadInt32();
        // Mines are kept from 1.0.10 on; older streams stored them in a form now dropped.
        if (!in.version.AtLeast(kSaveV1_0_10) || in.Failed()) continue;
        SpellMine* mine = new SpellMine;
        mine->cell = this;
        mine->spellIndex = spellIndex;
        mine->value = value;
        mine->caster = CurrentHero();  // the loader fills in the spell and the hero afterwards
        mines.push_back(mine);
    }
    in.ReadUInt32();  // end marker, not compared
}

// ---- the level record --------------------------------------------------------------------

bool Level::SaveRoomScriptState(SaveWriter& out) const {
    bool ok = out.WriteInt32(previousRoom);
    ok = out.WriteInt32(static_cast<int32_t>(scriptSuccesses.size())) && ok;
    for (const auto& entry : scriptSuccesses) {
        ok = out.WriteInt32(entry.first.first) && ok;
        ok = out.WriteInt32(entry.first.second) && ok;
        ok = out.WriteInt32(entry.second) && ok;
    }
    ok = out.WriteUInt32(kRoomScriptStateEndMarker) && ok;
    return ok && !out.Failed();
}

void Level::LoadRoomScriptState(SaveReader& in) {
    previousRoom = in.ReadInt32();
    scriptSuccesses.clear();
    const int32_t count = in.ReadCount(12, kMaxScriptCounters);
    for (int32_t i = 0; i < count && !in.Failed(); ++i) {
        const int32_t roomIndex = in.ReadInt32();
        const int32_t scriptIndex = in.ReadInt32();
        const int32_t successes = in.ReadInt32();
        if (!in.Failed()) scriptSuccesses[std::make_pair(roomIndex, scriptIndex)] = successes;
    }
    in.ReadUInt32();  // end marker, not compared
}

bool Level::Save(SaveWriter& out) {
    if (GameObj* unsavable = FindUnsavableObject(this)) {
        std::printf("Level::Save: a %s on floor %d at (%d, %d) has no save record\n",
                    MissingSaveRecordClass(unsavable).c_str(), depth, unsavable->x, unsavable->y);
        return false;
    }
    bool ok = out.WriteInt32(static_cast<int32_t>(rooms.size()));
    for (size_t i = 0; i < rooms.size(); ++i) {
        ok = out.WriteString(i < roomNames.size() ? roomNames[i] : std::string()) && ok;
        ok = out.WriteUInt32(RoomKey(rooms[i])) && ok;
        ok = rooms[i]->Save(out) && ok;
    }
    ok = out.WriteInt32(width) && ok;
    ok = out.WriteInt32(height) && ok;
    ok = out.WriteInt32(depth) && ok;
    ok = out.WriteInt32(branchId) && ok;
    for (int32_t x = 0; x < width && ok; ++x) {
        for (int32_t y = 0; y < height && ok; ++y) ok = GetCell(x, y)->Save(out) && ok;
    }
    if (out.version.AtLeast(kSaveV1_0_8)) ok = SaveRoomScriptState(out) && ok;
    if (out.version.AtLeast(kSaveV1_0_9)) {
        ok = out.WriteBool(isSideDimension) && ok;
        ok = out.WriteInt32(returnDepth) && ok;
        ok = out.WriteInt32(returnX) && ok;
        ok = out.WriteInt32(returnY) && ok;
    }
    return ok && !out.Failed();
}

void ReadLevelRooms(Level* level, SaveReader& in) {
    level->ClearRooms();
    const int32_t count = in.ReadCount(kMinRoomEntryBytes, kMaxRoomRecords);
    level->roomCount = count;
    std::map<uint32_t, RoomRecord*> byKey;
    for (int32_t i = 0; i < count && !in.Failed(); ++i) {
        level->roomNames.push_back(in.ReadString());
        const uint32_t key = in.ReadUInt32();
        RoomRecord* record = new RoomRecord(i);
        record->Load(in);
        level->rooms.push_back(record);
        byKey.emplace(key, record);  // the first room of a key keeps it
    }
    for (RoomRecord* record : level->rooms) {
        record->neighbours.clear();
        for (uint32_t key : record->pendingNeighbourKeys) {
            auto found = byKey.find(key);
            record->neighbours.push_back(found != byKey.end() ? found->second : nullptr);
        }
        record->pendingNeighbourKeys.clear();
    }
    level->roomCount = static_cast<int32_t>(level->rooms.size());
    level->nextRoomNumber = static_cast<uint8_t>(level->rooms.size() < kNoRoomIndex ? level->rooms.size()
                                                                                     : kNoRoomIndex);
}

void ReadLevelSquares(Level* level, SaveReader& in) {
    const uint64_t squares = static_cast<uint64_t>(level->width) * static_cast<uint64_t>(level->height);
    if (!in.CanHold(squares * kMinSquareBytes)) {
        in.Fail("a level of " + std::to_string(level->width) + " x " + std::to_string(level->height) +
                " squares is larger than the rest of the file");
        return;
    }
    level->SetSize(level->width, level->height);
    GameLevels.push_back(level);
    Level* outer = LevelBeingLoaded;
    LevelBeingLoaded = level;
    for (int32_t x = 0; x < level->width && !in.Failed(); ++x) {
        for (int32_t y = 0; y < level->height && !in.Failed(); ++y) {
            if ((CmdLine.debugFlags & kDebugLoads) != 0) std::printf("loading square: %i %i\n", x, y);
            LevelCell* cell = level->GetCell(x, y);
            cell->Load(in);
            for (SpellMine* mine : cell->mines) level->spellMines.push_back(mine);
        }
    }
    LevelBeingLoaded = outer;
}

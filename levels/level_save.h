#pragma once
// The level's part of a saved game: the record of each placed room (RoomRecord::Save and
// Load), of each square (LevelCell::Save and Load), the room-script state and the level
// record around them (Level::Save). Level::Load, which also rebuilds what the record does
// not hold, is in levels/gen/level_load.cpp; it reads through the helpers below.
#include <cstdint>
#include <string>

class GameObj;
class Level;
class SaveReader;
struct SaveVersion;

// End markers of a square record and of the room-script state.
constexpr uint32_t kSquareEndMarker = 0xBAADF00Du;
constexpr uint32_t kRoomScriptStateEndMarker = 0xDEADBEEFu;

// Saves before 1.0.10 name a room's template by an index into this fixed table.
constexpr int32_t kLegacyRoomTemplateCount = 234;
// The name of a stored legacy index as a stream of that version means it (1.0.8 stored the
// indices from 191 on five too high); null for an index outside the table or an entry that
// is left empty.
const char* LegacyRoomTemplateName(int32_t storedIndex, const SaveVersion& version);

// The class name of an object's own type, as the class registry spells it.
std::string DynamicClassName(const GameObj* obj);
// Doors are never written with their square: the door pass rebuilds them.
bool IsDoorObject(GameObj* obj);
// "" when the object can be saved: its class key names a registered class of its own type.
// Otherwise the name of its class, which has no save record (yet).
std::string MissingSaveRecordClass(GameObj* obj);
// The first object on the level (doors aside) that cannot be saved, or null.
GameObj* FindUnsavableObject(Level* level);

// Steps of Level::Load: the room records with their names and neighbour links; then, with
// the size, depth and branch already read, the squares (printing one "loading square" line
// each, with the level listed in GameLevels and objects landing on it).
void ReadLevelRooms(Level* level, SaveReader& in);
void ReadLevelSquares(Level* level, SaveReader& in);
// Gives every chest lever (kind 3) of the level the last uber chest on its target square; a
// lever whose target is outside the grid or holds no uber chest keeps its link. Part of
// Level::Load (levels/gen/level_load.cpp).
void RelinkChestLevers(Level* level);
// The largest grid side a save may give a level.
constexpr int32_t kMaxSavedLevelSide = 1024;

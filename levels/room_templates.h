#pragma once
// Room templates ("rooms.xml"): hand-made rooms as letter maps with flags, a depth range,
// the objects to create in them and their scripts; and the index of them by name.
//
// Templates accumulate over the layered files ("game//", "expansion//" ... and each mod's
// "mod//"); they are never removed. By name, the last definition wins.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "levels/room_object_records.h"
#include "levels/room_script.h"
#include "levels/room_script_model.h"

// Square codes of a template's `tiles` (the level's square kinds they become).
namespace RoomTile {
enum : uint8_t {
    None = 0,     // not part of the room
    Floor = 1,
    Wall = 2,
    Door = 6,
    Water = 7,
    Lava = 8,
    Goo = 9,
    Ice = 10,
    Special = 15,  // stamped as floor with the square flag
};
}  // namespace RoomTile

struct RoomTemplate {
    RoomTemplate(const std::string& templateName, int32_t w, int32_t h);
    RoomTemplate(const RoomTemplate&) = delete;
    RoomTemplate& operator=(const RoomTemplate&) = delete;

    int32_t width = 0;
    int32_t height = 0;
    int32_t minLevel = 0;
    int32_t maxLevel = 25;
    std::string name;
    std::vector<uint8_t> tiles;      // width x height, index column + row * width
    std::vector<uint8_t> doorLayer;  // 0 for "D", 1 for "d"
    std::vector<uint8_t> markLayer;  // 1 "P", 2 "@", 3 "^", 4 "!"
    int32_t bigSX = 0;               // the last "S"
    int32_t bigSY = 0;
    int32_t smallSX = 0;             // the last "s"
    int32_t smallSY = 0;
    std::vector<std::unique_ptr<RoomObjectRecord>> records;
    std::vector<std::pair<int32_t, int32_t>> itemSpots;  // every "i", in reading order
    std::vector<std::unique_ptr<RoomScript>> scripts;
    int32_t shop = 0;
    int32_t zoo = 0;
    int32_t quest = 0;
    int32_t byName = 0;  // flag "byname": never drawn by generation
    int32_t special = 0;
    int32_t digglegod = 0;
    int32_t notraps = 0;
    int32_t nomonsters = 0;
    int32_t noblockers = 0;
    int32_t notreasure = 0;

    // The code at (column, row); 0 outside the map.
    uint8_t TileAt(int32_t column, int32_t row) const {
        if (column < 0 || row < 0 || column >= width || row >= height) return 0;
        return tiles[static_cast<size_t>(column + row * width)];
    }
    // How many squares carry that code.
    int32_t CountTiles(uint8_t code) const;
    // The door squares (column, row) in row-major order, worked out on the first call and
    // kept; whoever changes `tiles` after that calls ForgetDoorTiles.
    const std::vector<std::pair<int32_t, int32_t>>& DoorTiles() const;
    void ForgetDoorTiles() { doorsKnown_ = false; }
    // True when the depth lies in minLevel..maxLevel.
    bool AllowsDepth(int32_t depth) const { return minLevel <= depth && depth <= maxLevel; }

private:
    mutable std::vector<std::pair<int32_t, int32_t>> doors_;
    mutable bool doorsKnown_ = false;
};

// Largest width or height a template may have; a larger one is refused when read.
constexpr int32_t kMaxRoomTemplateSide = 256;

// Every template in reading order (owned), but those flagged byname.
extern std::vector<RoomTemplate*> RoomTemplates;
// The templates flagged byname (owned): found only by their names (tutorials, test rooms),
// never drawn by generation.
extern std::vector<RoomTemplate*> NamedOnlyRoomTemplates;
// Name -> template; a name defined more than once maps to its last definition.
extern std::map<std::string, RoomTemplate*> RoomTemplateMap;
// One counter per template of the table, zero-filled after each file (generation uses them).
extern std::vector<int32_t> RoomTemplateCounters;

// Reads one rooms file through the virtual file system and appends its templates; a missing
// file is skipped silently.
void LoadRoomTemplates(const char* file);
// The same over a document held in memory; `label` names it in diagnostics. False when the
// XML is malformed (templates closed before the error stay).
bool LoadRoomTemplatesFromBuffer(const char* data, size_t length, const char* label);
// Fills the name map from the table (the later of two templates of one name wins).
void BuildRoomTemplateMap();
// The template of that name through the name map, else the first byname template of that
// name, or null.
RoomTemplate* FindRoomTemplate(const std::string& name);
// The first template in table order with exactly that name, else the first byname one, or null.
RoomTemplate* FindFirstRoomTemplate(const std::string& name);
void ClearRoomTemplates();

// Room-script warnings, on standard error: the message and a newline.
void RoomScriptWarning(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same with "line:%d, column:%d\n" of the element being read first (while a rooms file
// or a room-script element is read).
void RoomsXmlWarning(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The position RoomsXmlWarning reports while no rooms parser runs (element readers set it).
void SetRoomsXmlPosition(int32_t line, int32_t column);

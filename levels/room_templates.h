#pragma once
// Room templates ("rooms.xml") and the index of them by name.
//
// Stand-in: the loader reads nothing yet; the name index is built from whatever records
// exist. Still to be built here: reading templates (grids, legends, scripts, object
// records) over the layered files and mods, with the room-script vocabulary.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct RoomTemplate {
    std::string name;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<std::string> rows;
};

// Every template in reading order (owned).
extern std::vector<RoomTemplate*> RoomTemplates;
// Name -> template; a name defined more than once maps to its last definition.
extern std::map<std::string, RoomTemplate*> RoomTemplateMap;

void LoadRoomTemplates(const char* file);
void BuildRoomTemplateMap();
// The template of that name, or null.
RoomTemplate* FindRoomTemplate(const std::string& name);
void ClearRoomTemplates();

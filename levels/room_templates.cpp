// Stand-in: what is still to be built is listed at the top of levels/room_templates.h.
#include "levels/room_templates.h"

std::vector<RoomTemplate*> RoomTemplates;
std::map<std::string, RoomTemplate*> RoomTemplateMap;

void LoadRoomTemplates(const char*) {}

void BuildRoomTemplateMap() {
    RoomTemplateMap.clear();
    for (RoomTemplate* tmpl : RoomTemplates) {
        RoomTemplateMap[tmpl->name] = tmpl;
    }
}

RoomTemplate* FindRoomTemplate(const std::string& name) {
    auto it = RoomTemplateMap.find(name);
    return it == RoomTemplateMap.end() ? nullptr : it->second;
}

void ClearRoomTemplates() {
    RoomTemplateMap.clear();
    for (RoomTemplate* tmpl : RoomTemplates) {
        delete tmpl;
    }
    RoomTemplates.clear();
}

#pragma once
// Maneuver templates ("manTemplateDB.xml"): small grids of squares that shape where an
// area spell acts around its caster. Read at start-up and by mod loading; spell casting
// and the target marking of abilities pick one by number or at random.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ManeuverTemplate {
    int32_t width = 0;
    int32_t height = 0;
    int32_t id = -1;
    bool hasWall = false;
    int32_t affectsPlayer = 0;
    std::string art;
    std::string icon;
    std::vector<uint8_t> grid;  // width x height, row-major: 0 ".", 1 "@", 2 "#"

    // The cell at (x, y); 0 outside the grid.
    uint8_t At(int32_t x, int32_t y) const;
};

// Every template in file order. Owned.
extern std::vector<ManeuverTemplate*> ManeuverTemplateTable;

// Appends the templates of one file; an absent file does nothing.
void LoadManeuverTemplates(const char* file);
// The same for text in memory; false on a parse error (the templates read before it stay).
bool LoadManeuverTemplatesFromText(const char* text, size_t length, const char* file);
// The template a spell's number names: -1 a random one (C generator over the table size),
// otherwise the last template with that id; null when there is none (or the table is empty).
const ManeuverTemplate* FindManeuverTemplate(int32_t id);
void ClearManeuverTemplates();

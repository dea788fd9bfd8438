#pragma once
// Maneuver templates: small grids that shape area abilities ("manTemplateDB.xml").
//
// Stand-in: the loader reads nothing yet. Still to be built here: reading the templates
// (id, width, height, flag and the width x height grid) from the XML file.
#include <cstddef>
#include <cstdint>
#include <vector>

struct ManeuverTemplate {
    int32_t id = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t flag = 0;
    std::vector<uint8_t> cells;  // width x height, row by row: 2 anchor, 1 affected, 0 none

    // The cell at (x, y); 0 outside the grid.
    uint8_t At(int32_t x, int32_t y) const;
};

extern std::vector<ManeuverTemplate> ManeuverTemplates;

void LoadManeuverTemplates(const char* file);
// The template with that id, or null.
const ManeuverTemplate* FindManeuverTemplate(int32_t id);

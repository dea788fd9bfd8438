// Stand-in: what is still to be built is listed at the top of creatures/maneuver.h.
#include "creatures/maneuver.h"

std::vector<ManeuverTemplate> ManeuverTemplates;

uint8_t ManeuverTemplate::At(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return 0;
    }
    const size_t index = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    return index < cells.size() ? cells[index] : 0;
}

void LoadManeuverTemplates(const char*) {}

const ManeuverTemplate* FindManeuverTemplate(int32_t id) {
    for (const ManeuverTemplate& tmpl : ManeuverTemplates) {
        if (tmpl.id == id) {
            return &tmpl;
        }
    }
    return nullptr;
}

#include "creatures/maneuver.h"

#include "core/random.h"
#include "creatures/db_xml.h"

std::vector<ManeuverTemplate*> ManeuverTemplateTable;

namespace {
// The records live until the process exits.
struct ReleaseAtExit {
    ~ReleaseAtExit() { ClearManeuverTemplates(); }
} Release;
}  // namespace

namespace {

constexpr const char* kLabel = "LoadManeuverTemplates";
// Larger grids are refused: no ability reaches that far.
constexpr int32_t kMaxSide = 64;

struct TemplateParse {
    DbParse db;  // first: the parse helpers hand this struct over as a DbParse
    ManeuverTemplate* current = nullptr;
    int32_t row = 0;
};

void OpenTemplate(TemplateParse& st, const XML_Char** atts) {
    delete st.current;  // a template opened inside another one replaces it
    ManeuverTemplate* t = new ManeuverTemplate();
    t->width = DbInt(atts, "width", 0);
    t->height = DbInt(atts, "height", 0);
    t->id = DbInt(atts, "name", -1);
    t->affectsPlayer = DbInt(atts, "affectsPlayer", 0);
    t->art = DbString(atts, "art", "");
    t->icon = DbString(atts, "icon", "");
    if (t->width < 0 || t->height < 0 || t->width > kMaxSide || t->height > kMaxSide) {
        st.db.Warn(kLabel, "template " + std::to_string(t->id) + " has a " + std::to_string(t->width) + " x " +
                               std::to_string(t->height) + " grid that does not fit; it gets no cells");
        t->width = 0;
        t->height = 0;
    }
    t->grid.assign(static_cast<size_t>(t->width) * static_cast<size_t>(t->height), 0);
    st.current = t;
    st.row = 0;
}

void ReadRow(TemplateParse& st, const XML_Char** atts) {
    ManeuverTemplate* t = st.current;
    if (st.row >= t->height) {
        st.db.Warn(kLabel, "template " + std::to_string(t->id) + " has more rows than its height; row ignored");
        ++st.row;
        return;
    }
    const std::string text = DbString(atts, "text", "");
    if (static_cast<int32_t>(text.size()) < t->width) {
        st.db.Warn(kLabel, "template " + std::to_string(t->id) + " row " + std::to_string(st.row) +
                               " is shorter than its width; the missing cells stay empty");
    }
    for (int32_t x = 0; x < t->width && x < static_cast<int32_t>(text.size()); ++x) {
        uint8_t& cell = t->grid[static_cast<size_t>(st.row) * static_cast<size_t>(t->width) + static_cast<size_t>(x)];
        switch (text[static_cast<size_t>(x)]) {
            case '#':
                cell = 2;
                t->hasWall = true;
                break;
            case '.': cell = 0; break;
            case '@': cell = 1; break;
            default: break;
        }
    }
    ++st.row;
}

void XMLCALL TemplateStart(void* data, const XML_Char* el, const XML_Char** atts) {
    TemplateParse& st = *static_cast<TemplateParse*>(data);
    if (ElementIs(el, "template")) {
        OpenTemplate(st, atts);
    } else if (ElementIs(el, "row") && st.current != nullptr) {
        ReadRow(st, atts);
    }
}

void XMLCALL TemplateEnd(void* data, const XML_Char* el) {
    TemplateParse& st = *static_cast<TemplateParse*>(data);
    if (ElementIs(el, "template") && st.current != nullptr) {
        ManeuverTemplateTable.push_back(st.current);
        st.current = nullptr;
        st.row = 0;
    }
}

}  // namespace

uint8_t ManeuverTemplate::At(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    const size_t index = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    return index < grid.size() ? grid[index] : 0;
}

void LoadManeuverTemplates(const char* file) {
    TemplateParse st;
    ParseDatabaseFile(file, kLabel, TemplateStart, TemplateEnd, &st.db);
    delete st.current;
}

bool LoadManeuverTemplatesFromText(const char* text, size_t length, const char* file) {
    TemplateParse st;
    const bool ok = ParseDatabase(text, length, kLabel, file, TemplateStart, TemplateEnd, &st.db);
    delete st.current;
    return ok;
}

const ManeuverTemplate* FindManeuverTemplate(int32_t id) {
    if (ManeuverTemplateTable.empty()) return nullptr;
    if (id == -1) {
        return ManeuverTemplateTable[static_cast<size_t>(RandomInt(static_cast<int32_t>(ManeuverTemplateTable.size())))];
    }
    const ManeuverTemplate* found = nullptr;
    for (const ManeuverTemplate* t : ManeuverTemplateTable) {
        if (t != nullptr && t->id == id) found = t;
    }
    return found;
}

void ClearManeuverTemplates() {
    for (ManeuverTemplate* t : ManeuverTemplateTable) delete t;
    ManeuverTemplateTable.clear();
}

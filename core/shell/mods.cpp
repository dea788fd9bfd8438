#include "core/shell/mods.h"

#include "core/xml_util.h"

#include <expat.h>
#include <physfs.h>
#include <strings.h>

#include <cstdio>
#include <cstring>

#include "core/shell/config.h"
#include "core/text_db.h"
#include "core/shell/video_modes.h"
#include "creatures/maneuver.h"
#include "creatures/monster_db.h"
#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/item_db.h"
#include "levels/branch_db.h"
#include "levels/room_templates.h"
#include "platform/platform.h"

std::vector<ModRecord> ModList;
int32_t ModsLoaded = 0;

namespace {
// The names the configuration enabled, for mods that join the list later (workshop downloads).
std::vector<std::string> ConfiguredModNames;
}  // namespace

const char* const kModDatabaseFiles[9] = {
    "mod//spellDB.xml", "mod//monDB.xml",  "mod//skillDB.xml",
    "mod//itemDB.xml",  "mod//craftDB.xml", "mod//branchDB.xml",
    "mod//rooms.xml",   "mod//text.xml",   "mod//manTemplateDB.xml",
};

namespace {

struct ModXmlState {
    ModRecord* record;
    bool valid;
};

void ModXmlStartElement(void* userData, const XML_Char* name, const XML_Char** attributes) {
    ModXmlState* state = static_cast<ModXmlState*>(userData);
    std::string* field = nullptr;
    if (strcmp(name, "name") == 0) {
        field = &state->record->name;
    } else if (strcmp(name, "author") == 0) {
        field = &state->record->author;
    } else if (strcmp(name, "description") == 0) {
        field = &state->record->description;
    }
    if (field == nullptr) return;
    const char* text = FindXmlAttribute(attributes, "text");
    if (text != nullptr) *field = text;
}

void ModXmlEndElement(void* userData, const XML_Char* name) {
    ModXmlState* state = static_cast<ModXmlState*>(userData);
    if (strcmp(name, "zarnochmod") == 0) {
        state->record->enabled = 0;
        state->valid = true;
    }
}

// The name of the description file inside the mount of `path`: "mod/mod.xml", or the same
// with other letter case. Empty when that mount holds none; a file of the same name in
// another part of the search path does not count.
std::string FindModXmlOf(const std::string& path) {
    const char* exact = "mod/mod.xml";
    if (PHYSFS_exists(exact)) {
        const char* dir = PHYSFS_getRealDir(exact);
        if (dir != nullptr && path == dir) return exact;
    }
    std::string found;
    char** top = PHYSFS_enumerateFiles("");
    for (char** t = top; t != nullptr && *t != nullptr && found.empty(); ++t) {
        if (strcasecmp(*t, "mod") != 0 || !PHYSFS_isDirectory(*t)) continue;
        const std::string folder = *t;
        char** inner = PHYSFS_enumerateFiles(folder.c_str());
        for (char** f = inner; f != nullptr && *f != nullptr; ++f) {
            if (strcasecmp(*f, "mod.xml") != 0) continue;
            const std::string candidate = folder + "/" + *f;
            const char* dir = PHYSFS_getRealDir(candidate.c_str());
            if (dir != nullptr && path == dir && !PHYSFS_isDirectory(candidate.c_str())) {
                found = candidate;
                break;
            }
        }
        PHYSFS_freeList(inner);
    }
    PHYSFS_freeList(top);
    return found;
}

bool ReadVfsFile(const std::string& name, std::vector<char>& out) {
    out.clear();
    PHYSFS_File* f = PHYSFS_openRead(name.c_str());
    if (f == nullptr) return false;
    const PHYSFS_sint64 length = PHYSFS_fileLength(f);
    bool ok = length >= 0 && length < (1 << 24);
    if (ok) {
        out.resize(static_cast<size_t>(length));
        ok = length == 0 ||
             PHYSFS_read(f, out.data(), 1, static_cast<PHYSFS_uint32>(length)) == length;
    }
    PHYSFS_close(f);
    if (!ok) out.clear();
    return ok;
}

void LoadModDatabase(int index, const char* file) {
    // The loaders skip a file that is missing.
    switch (index) {
        case 0: spellDBLoad(file); break;
        case 1: monDBLoad(file); break;
        case 2: SkillDBLoad(file); break;
        case 3: itemDBLoad(file); break;
        case 4: craftDBLoad(file); break;
        case 5: branchDBLoad(file); break;
        case 6: LoadRoomTemplates(file); break;
        case 7: LoadTextDB(file); break;
        default: LoadManeuverTemplates(file); break;
    }
}

}  // namespace

bool ParseModXmlText(const char* data, size_t length, ModRecord& record) {
    ModXmlState state{&record, false};
    XmlHandlers handlers;
    handlers.start = ModXmlStartElement;
    handlers.end = ModXmlEndElement;
    handlers.userData = &state;
    ParseXmlDocument(data, length, handlers);
    return state.valid;
}

int ParseModXml(std::vector<ModRecord>& list, const std::string& path, uint64_t workshopId) {
    const std::string file = FindModXmlOf(path);
    if (file.empty()) return 1;
    // Every description starts from an empty record: one mod never shows another's texts.
    ModRecord record;
    record.path = path;
    record.workshopId = workshopId;
    std::vector<char> data;
    if (!ReadVfsFile(file, data)) return 1;
    if (ParseModXmlText(data.data(), data.size(), record)) list.push_back(record);
    return 1;
}

void LoadMods() {
    ModList.clear();
    ConfiguredModNames.clear();
    const std::string user = GetUserDataPath();
    const std::string pattern = user + "mods/*";
    DirScan scan;
    for (int rc = FindFirstEntry(pattern.c_str(), &scan); rc == 0; rc = FindNextEntry(&scan)) {
        if (strcmp(scan.name, ".") == 0 || strcmp(scan.name, "..") == 0) continue;
        const std::string path = user + "mods/" + scan.name;
        printf("%s\n", path.c_str());
        if (!PHYSFS_mount(path.c_str(), "/", 1)) {
            printf("result is no good!\n");
            continue;
        }
        ParseModXml(ModList, path, 0);
        PHYSFS_unmount(path.c_str());
    }
}

bool ModEnabledByConfig(const std::string& name) {
    for (const std::string& n : ConfiguredModNames) {
        if (n == name) return true;
    }
    return false;
}

const std::vector<std::string>& ModNamesEnabledByConfig() { return ConfiguredModNames; }

void EnableModsNamed(const std::string& name) {
    if (!ModEnabledByConfig(name)) ConfiguredModNames.push_back(name);
    for (ModRecord& m : ModList) {
        if (m.name == name) m.enabled = 1;
    }
}

void ReallyLoadMods() {
    for (const ModRecord& m : ModList) {
        if (!m.enabled) continue;
        if (!PHYSFS_mount(m.path.c_str(), "/", 0)) {
            printf("result is no good!\n");
            continue;
        }
        for (int i = 0; i < 9; ++i) LoadModDatabase(i, kModDatabaseFiles[i]);
        PHYSFS_unmount(m.path.c_str());
    }
    for (const ModRecord& m : ModList) {
        if (m.enabled && !PHYSFS_mount(m.path.c_str(), "/", 0)) printf("result is no good!\n");
    }
    ModsLoaded = 1;
}

bool IsPointInRect(int x, int y, const SDL_Rect& rect) {
    const int left = rect.x;
    const int top = rect.y;
    return left <= x && x <= left + static_cast<int>(rect.w) && top <= y &&
           y <= top + static_cast<int>(rect.h);
}

// LaunchInitialConfig and RunModLauncher: see launcher.cpp.

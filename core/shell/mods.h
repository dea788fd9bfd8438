#pragma once
// Mods: folders under "mods" in the user folder, each holding a "mod" sub-folder with a
// "mod.xml" description and any of the game's data files. The folder is scanned at
// start-up, the configuration enables mods by name, and after the base databases are
// loaded every enabled mod's databases are read on top of them.
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

struct ModRecord {
    std::string path;          // the mod's folder as mounted
    std::string name;          // from "mod.xml"
    std::string author;
    std::string description;
    int32_t enabled = 0;       // 0 when discovered
    uint64_t workshopId = 0;   // published file of the mod service; 0 for a local folder
};

// Every mod found, in discovery order.
extern std::vector<ModRecord> ModList;
// 1 once ReallyLoadMods has run.
extern int32_t ModsLoaded;

// Scans user folder + "mods/*": mounts each entry, reads its "mod/mod.xml" and unmounts it
// again. The list is rebuilt from scratch.
void LoadMods();

// With `path` mounted: when "mod/mod.xml" of that mount exists and is a valid description
// (the end tag of "zarnochmod" is reached), appends a record to `list`. Returns 1.
int ParseModXml(std::vector<ModRecord>& list, const std::string& path, uint64_t workshopId);
// Parses a "mod.xml" text into `record` (name, author, description); true when valid.
bool ParseModXmlText(const char* data, size_t length, ModRecord& record);

// Sets the enabled flag of every listed mod of that name (the configuration's "mod" lines),
// and remembers the name for mods listed later in the run.
void EnableModsNamed(const std::string& name);
// True when the configuration enabled a mod of that name (forgotten by LoadMods).
bool ModEnabledByConfig(const std::string& name);
// The names the configuration enabled, in the order read (emptied by LoadMods).
const std::vector<std::string>& ModNamesEnabledByConfig();

// The mod databases in the order they are read, relative to a mod's root.
extern const char* const kModDatabaseFiles[9];

// For each enabled mod in list order: mounts it in front of the search path, reads its
// databases and unmounts it; then mounts every enabled mod again in front of the search
// path (a later mod in front of an earlier one) and sets ModsLoaded.
void ReallyLoadMods();

// The start-up launcher (display, sound and mod choices before the game window opens).
void LaunchInitialConfig();
// The mod screen of the launcher: 1 start the game, 0 back, -1 quit.
int RunModLauncher();

// Edges included: rect.x <= x <= rect.x + rect.w and rect.y <= y <= rect.y + rect.h.
bool IsPointInRect(int x, int y, const SDL_Rect& rect);

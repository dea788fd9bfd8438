#pragma once
// What the full-screen menu screens need of the game shell above them: the save index and
// the deletion of saves, the saves of a dead hero, the settings of the configuration file
// and the steps of starting and playing a tutorial game. The shell fills the entries
// (InstallMenuScreenHooks, core/shell/menu_hooks.h) before it runs a menu or a game; tests
// put their own in. An unset entry does nothing and answers false or an empty result.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct KeyBinding;

constexpr int32_t kSavedGameSkillCount = 7;

// One record of the save index as the load screen shows it.
struct SavedGameRow {
    std::string fileName;
    std::string line1;  // the row's label: "<hero> the <title>"
    std::string line2;  // where the hero stands
    int32_t skills[kSavedGameSkillCount] = {};
};

struct MenuScreenHooks {
    // Replaces the rows by the records of the save index. False when the index is there but
    // could not be read whole (the rows then hold what could be read).
    bool (*readSaveIndex)(std::vector<SavedGameRow>* rows) = nullptr;
    // Writes the rows as the save index, replacing it whole. False when nothing was written.
    bool (*writeSaveIndex)(const std::vector<SavedGameRow>& rows) = nullptr;
    // Deletes a save, its thumbnail and its record, whatever the hero. False when the index
    // could not be rewritten.
    bool (*deleteSave)(const std::string& fileName) = nullptr;
    // The end of a permadeath hero's run: deletes its save, and the autosave when the
    // autosave is this hero's.
    void (*deleteDeadHeroSaves)() = nullptr;

    // Replaces the twelve auto-loot switches, returning the ones replaced.
    std::vector<int32_t> (*exchangeAutoLoot)(const std::vector<int32_t>& values) = nullptr;
    // While set (non-null), the configuration file is written with these bindings and
    // switches instead of the ones in force; null for both writes the ones in force again.
    void (*holdConfigValues)(const std::map<std::string, KeyBinding>* bindings,
                             const std::vector<int32_t>* autoLoot) = nullptr;

    // The tutorial game: builds its level around the current hero and starts its music;
    // runs one turn; runs the play loop until the game ends (the loop tears the game down);
    // drops the pending input.
    void (*startTutorial)(const char* room, int32_t x, int32_t y) = nullptr;
    void (*advanceTurn)() = nullptr;
    void (*runGameLoop)() = nullptr;
    void (*discardEvents)() = nullptr;
};

// The entries in force.
extern MenuScreenHooks MenuHooks;

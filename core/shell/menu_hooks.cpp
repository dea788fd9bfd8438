#include "core/shell/menu_hooks.h"

#include "core/shell/config.h"
#include "core/shell/game_lifecycle.h"
#include "core/shell/play_input.h"
#include "core/shell/play_loop.h"
#include "core/shell/saved_games.h"
#include "creatures/player.h"
#include "interface/menu_screen_hooks.h"
#include "platform/platform.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kIndexLineLimit = 254;

// An index line as the index writes it back: control characters become blanks and the line
// is cut to its limit before a UTF-8 continuation byte.
std::string AsIndexLine(const std::string& text) {
    std::string line = text;
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    if (line.size() > kIndexLineLimit) {
        size_t cut = kIndexLineLimit;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        line.resize(cut);
    }
    return line;
}

// True when the index file is missing (an empty list) or reads whole: a count line that is
// a plain non-negative number and at least ten lines for each record it counts.
bool SaveIndexReadsWhole() {
    const std::string path = UserFilePath("loadsave.dat");
    if (path.empty()) return false;
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return true;
    FILE* in = OpenRegularFile(path);
    if (in == nullptr) return false;
    std::string first;
    long lines = 0;
    bool firstDone = false;
    int c = 0;
    long lastEnd = -1;
    long position = 0;
    while ((c = std::fgetc(in)) != EOF) {
        if (c == '\n') {
            ++lines;
            firstDone = true;
            lastEnd = position;
        } else if (!firstDone) {
            first += static_cast<char>(c);
        }
        ++position;
    }
    std::fclose(in);
    if (lastEnd + 1 < position) ++lines;  // a last line without its line end
    while (!first.empty() && (first.back() == '\r' || first.back() == ' ')) first.pop_back();
    if (first.empty() || first.size() > 9) return false;
    for (char ch : first) {
        if (!std::isdigit(static_cast<unsigned char>(ch))) return false;
    }
    const long count = std::atol(first.c_str());
    return lines >= 1 + 10 * count;
}

bool ReadRows(std::vector<SavedGameRow>* rows) {
    ReadSaveIndex(nullptr);
    if (rows != nullptr) {
        rows->clear();
        for (const SaveSlot& slot : SaveSlots) {
            SavedGameRow row;
            row.fileName = slot.fileName;
            row.line1 = slot.line1;
            row.line2 = slot.line2;
            for (int32_t i = 0; i < kSavedGameSkillCount; ++i) row.skills[i] = slot.skills[i];
            rows->push_back(row);
        }
    }
    return SaveIndexReadsWhole();
}

bool WriteRows(const std::vector<SavedGameRow>& rows) {
    SaveSlots.clear();
    for (const SavedGameRow& row : rows) {
        SaveSlot slot;
        slot.fileName = row.fileName;
        slot.line1 = row.line1;
        slot.line2 = row.line2;
        for (int32_t i = 0; i < kSavedGameSkillCount; ++i) slot.skills[i] = row.skills[i];
        SaveSlots.push_back(slot);
    }
    return WriteSaveIndex();
}

bool DeleteForced(const std::string& fileName) {
    return DeleteSaveGame(fileName.c_str(), true);
}

void DeleteHeroSavesHook() {
    DeleteDeadHeroSaves();
}

void StartTutorialHook(const char* room, int32_t x, int32_t y) {
    StartTutorial(room, x, y);
}

void HoldConfigHook(const KeyBindingMap* bindings, const std::vector<int32_t>* autoLoot) {
    SetHeldConfigValues(bindings, autoLoot);
}

}  // namespace

bool AutosaveBelongsToHero(const Player* hero) {
    if (hero == nullptr) return false;
    ReadSaveIndex(nullptr);
    const std::string line1 = AsIndexLine(hero->name + " the " + hero->GetTitle());
    for (const SaveSlot& slot : SaveSlots) {
        if (slot.fileName != kAutosaveFileName) continue;
        if (slot.line1 != line1) return false;
        for (int32_t i = 0; i < kSaveSlotSkillCount; ++i) {
            if (slot.skills[i] != hero->skillIds[i]) return false;
        }
        return true;
    }
    return false;
}

void DeleteDeadHeroSaves() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr || hero->permadeath == 0) return;
    // Whose the autosave is, is settled before anything is removed.
    const bool ownAutosave = AutosaveBelongsToHero(hero);
    if (!hero->saveName.empty()) DeleteSaveGame(hero->saveName.c_str(), false);
    if (ownAutosave) DeleteSaveGame(kAutosaveFileName, false);
}

void InstallMenuScreenHooks() {
    MenuHooks.readSaveIndex = ReadRows;
    MenuHooks.writeSaveIndex = WriteRows;
    MenuHooks.deleteSave = DeleteForced;
    MenuHooks.deleteDeadHeroSaves = DeleteHeroSavesHook;
    MenuHooks.exchangeAutoLoot = ExchangeAutoLoot;
    MenuHooks.holdConfigValues = HoldConfigHook;
    MenuHooks.startTutorial = StartTutorialHook;
    MenuHooks.advanceTurn = AdvanceTurn;
    MenuHooks.runGameLoop = RunGameLoop;
    MenuHooks.discardEvents = DiscardEvents;
}

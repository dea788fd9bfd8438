#pragma once
// Saved games: the save file in the user folder, its thumbnail, and the save index
// "loadsave.dat" that the load-game screen lists.
//
// A save holds the header, the spells' cast counters, the active quests and every level of
// the run with the objects on it (the hero among them); each object is written through its
// class's own save record, so a game holding an object whose class has none is not saved.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t kSaveSlotSkillCount = 7;
// A save is read whole into memory; a file larger than this (about 500 levels) is refused
// as no saved game before anything is allocated.
constexpr size_t kMaxSaveFileBytes = 256u << 20;

// One record of the save index.
struct SaveSlot {
    std::string fileName;  // empty marks a removed record
    std::string line1;     // "<hero name> the <title>"
    std::string line2;     // "on Floor <depth> of <branch name>"
    uint32_t screenWord = 0;  // the load-game screen's own; never stored
    int32_t skills[kSaveSlotSkillCount] = {};
};

// The save-slot list, newest first.
extern std::vector<SaveSlot> SaveSlots;

// Writes the save (and its thumbnail when the thumbnail surface exists) to the user folder
// and puts its record at the front of the index. Each file is replaced whole: a save that
// fails leaves the previous save of that name and the index as they were. True when the
// save and the index were written (a thumbnail that fails is only reported).
bool SaveGame(const char* name);
// Why the last SaveGame returned false, in a few words for the player ("" after a success).
const std::string& LastSaveGameError();
// Reads a save into an empty game: the quests, every level with its objects, then the hero's
// level becomes the current one. The hero's save name becomes the file name, except for
// "autosave.sav", whose hero goes on under the newest index record of the same hero (name,
// title and seven skills) or a fresh name. False, with a message and nothing of the save
// left behind, when the file cannot be opened (only regular files are) or is larger than
// kMaxSaveFileBytes, its magic is wrong,
// a count or a block does not fit the file, or no hero or no level was read.
bool LoadGame(const char* name);
// Replaces the save-slot list by the records of the index file; null reads the user
// folder's "loadsave.dat". A missing file gives an empty list.
void ReadSaveIndex(const char* path);
// Writes the save-slot list to the user folder's "loadsave.dat", replacing it whole; each
// text field is kept to one line of at most 254 bytes so that every record reads back.
// False when it could not be written (the previous index then stays).
bool WriteSaveIndex();
// Empties the file name of every record with that file name.
void RemoveSaveSlot(const char* name);
// name + ".sav", or name + "_" + n + ".sav" with the smallest n >= 1 that no record uses.
// Characters that would leave the user folder become '_' and the name part is kept to 200
// bytes, so that the file, its "bitmap_" picture and the index line stay within limits.
std::string MakeUniqueSaveFileName(const char* name);
// Deletes the save, its thumbnail and its record; unless forced, only for a permadeath hero.
// False when the index could not be rewritten.
bool DeleteSaveGame(const char* name, bool force);
// True when the index's record of "autosave.sav" is the current hero's (same first line and
// the same seven skills); false without a hero or without such a record.
bool AutosaveRecordIsCurrentHero();

#pragma once
// What the game shell provides to the layers beneath it: the turn, input flushing and
// start-up timing. Declarations only; core/shell/ defines them. Lower layers call these and
// include nothing else of core/shell/.
#include <cstdint>
#include <string>

// Runs one world turn.
void AdvanceTurn();
// A candidate flavour line for this turn; one of the turn's candidates may be shown.
void AddAmbientMessage(const std::string& text);
// Set while a tutorial game runs.
extern bool TutorialFlag;
// Set to leave the running game at the end of the current pass of the play loop.
extern bool LeaveGameFlag;

// Stops every walk (held keys, queued move keys, a walk along a path) and drops the
// queued input events.
void FlushInput();
// After the hero has moved onto a square: its room, shop music and theft, an ambient line,
// and what lies on the square.
void HandlePlayerEnteredSquare();

// Chooses and starts a dungeon track when due, or at once when forced.
void RotateDungeonMusic(bool forced);

// Reports a finished start-up or loading step with -startuptime.
void LogLoadProgress(const char* label);

// The automatic pick-up switches of the configuration, one per item group (0..11), and
// their master switch.
extern int32_t AutoLootSwitches[12];
extern int32_t AutoLoot;
// Swaps plain and Shift clicks on floor items.
extern int32_t AutoClick;
// The doubled interface setting.
extern int32_t use2XUI;

// Level changes. The stairs pass the index of the staircase under the hero, the level's
// branch id and the depth they lead to; the trapdoor keys pass +1 or -1.
void DescendStairs(int32_t stairIndex, int32_t branchId, int32_t depth);
void AscendStairs(int32_t stairIndex, int32_t branchId, int32_t depth);
void TravelThroughPortal();
void ChangeDepth(int32_t delta);

// The configuration's store switches (cloud copies of the user files, the workshop).
extern int32_t enableSteamCloud;
extern int32_t enableSteamWorkshop;

// The settings window's part of the shell: the settings it flips, the volumes it sets, the
// save-on-leave flag and the saved games it writes or deletes.
extern int32_t WASDActive;
extern int32_t DisableClickToMove;
extern bool SaveOnLeaveFlag;
void SetConfiguredSFXVolume(int32_t percent);
void SetConfiguredMusicVolume(int32_t percent);
int32_t ConfiguredSFXVolume();
int32_t ConfiguredMusicVolume();
bool SaveGame(const char* name);
// Why the last SaveGame failed ("" after a success).
const std::string& LastSaveGameError();
bool DeleteSaveGame(const char* name, bool force);
// True when the save index's record of "autosave.sav" belongs to the current hero (the same
// first line and the same seven skills).
bool AutosaveRecordIsCurrentHero();

// Doors: whether the "DisableClickToMove" setting is on (a click on a closed door then uses
// it at once instead of walking the hero beside it).
bool ClickToMoveDisabled();

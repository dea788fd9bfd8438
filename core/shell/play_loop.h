#pragma once
// The loop of a game in progress: draw the frame, present it, handle the input (which runs
// turns), rotate the dungeon music and autosave on a timer, until the hero leaves the game.
#include <cstdint>

#include "core/shell/shell_services.h"

// Set to end the play loop after the current pass (the input loop, the menu bar, the
// settings screen and the tutorial steps set it); cleared when the loop starts.
extern bool LeaveGameFlag;
// Set by the settings screen's save-and-quit choices: the game is saved under the hero's
// save name when the loop ends. Cleared whenever a game ends, so that a later game is not
// saved unasked.
extern bool SaveOnLeaveFlag;
// Set while the tune playing may not be replaced by the dungeon rotation (shops, monster
// zoos, thieves, tutorials); cleared by every level change and every new game.
extern bool HeldTrackFlag;

// An autosave is due when more than this many milliseconds have passed since the last one.
constexpr uint32_t kAutosaveIntervalMs = 300000;
// An unforced music rotation is due when more than this many milliseconds have passed since
// the last track choice.
constexpr int32_t kMusicRotationMs = 360000;
constexpr int32_t kDungeonTrackCount = 16;
// The autosave's file name, in the user folder.
extern const char* const kAutosaveFileName;

// One tune of the dungeon rotation: a looping track and an opening piece played once before
// it (null when there is none).
struct DungeonTrack {
    const char* loop;
    const char* opening;
};
// The track at an index of the rotation (0..15; other indices give track 0).
const DungeonTrack& GetDungeonTrack(int32_t index);

// A tool that plays the game itself sets this: it runs once every pass of the play loop,
// after the pass's input, and acts through the same calls a click or a key makes. Null (the
// default) in the game.
extern void (*PlayLoopDriver)();

// Runs the game until the leave-game flag is set, then saves when asked and ends the game.
void RunGameLoop();

// Chooses and starts a dungeon track when six minutes have passed since the last choice
// (and no held track plays), or at once when forced.
void RotateDungeonMusic(bool forced);

// The autosave step of one pass: saves to "autosave.sav" when more than five minutes have
// passed since *autosaveTime, a hero exists, the hero is alive and no tutorial runs, and
// posts "Game autosaved." (or "Autosave failed!" when the save failed); then *autosaveTime
// becomes the current ticks. True when it saved.
bool AutosaveIfDue(uint32_t* autosaveTime);

// The save made when the loop ends: under the hero's save name when the save-on-leave flag
// is set, a hero exists, the hero is alive and no tutorial runs. True when it saved.
bool SaveOnLeaveIfAsked();
// The end of the loop: the save made on leaving (when asked). When it fails the player is told
// why and chooses: try again, quit without saving, or go back to the game. True to leave the
// game, false to go on playing.
bool LeaveAfterSaving();

// The music rotation's state, for tests and for the level changes.
int32_t CurrentDungeonTrackIndex();
void SetCurrentDungeonTrackIndex(int32_t index);
uint32_t LastMusicChoiceTime();
void SetLastMusicChoiceTime(uint32_t ticks);

#pragma once
// The user's preferences, kept in "config.xml" in the user folder.
//
// The settings below hold the user's own choices, exactly as read from and written to the
// file. Command-line overrides ("-w", "-nomusic", "-nosound") act on the effective values
// only (see the Effective... functions) and never reach the file.
#include <expat.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/key_bindings.h"
#include "media/display_settings.h"

constexpr int kAutoLootCount = 12;

// Settings, in the order the file lists them.
extern int32_t currentResolution;     // index into the video-mode list
extern int32_t useFullscreen;         // 1 = full screen
extern int32_t enableSteamCloud;      // copy user files to cloud storage
extern int32_t enableSteamWorkshop;   // use the mod publishing service
extern int32_t enableMusic;           // music on (the user's choice)
extern int32_t enableSound;           // sound effects on (the user's choice)
extern int32_t DisableClickToMove;    // a floor click does not walk the hero there
extern int32_t AutoLoot;              // master switch of automatic pick-up
extern int32_t AutoClick;             // swaps plain and shift click on floor items
extern int32_t WASDActive;            // movement on W, A, S, D
extern uint8_t completedATutorial;    // 0 or 1
extern int32_t minimapSize;           // 0..3
extern int32_t& MinimapSize;          // the same value under the minimap's name
extern int32_t use2XUI;               // doubled interface art
extern int32_t currentGenderChoice;   // 0 or 1: hero gender preselected for a new game

// Automatic pick-up switch of each item category.
extern int32_t AutoLootSwitches[kAutoLootCount];

constexpr int32_t kMaxMinimapSize = 3;
constexpr int32_t kDefaultVolume = 100;

// Reads "config.xml" (or converts an old "config.txt" once). Called once by start-up,
// after the mods folder was scanned, the tutorial list loaded and the video modes listed.
// A file with an XML error is kept as "config.xml.bad" (said on standard error with the
// line and column) before anything can rewrite it; the settings before the error apply.
void LoadConfig();
// Writes "config.xml" from the current values, replacing it whole. Does nothing before
// LoadConfig has run, so that an early exit cannot replace the user's file with start values,
// nor in a run whose broken file could not be kept aside. False when nothing was written
// (the previous file then stays as it was).
bool WriteConfig();
// True once LoadConfig has run (WriteConfig may then be registered to run at exit).
bool ConfigWasLoaded();

// expat start-element handler of "config.xml": applies one element.
void ConfigStartElement(void* userData, const XML_Char* name, const XML_Char** attributes);
// Applies a whole "config.xml" text (as LoadConfig does with the file). False on an XML
// error, described in `error` when given ("<what> at line L, column C").
bool ParseConfigText(const char* data, size_t length, std::string* error = nullptr);
// Reads a configuration text that is not well-formed line by line: every line that is a whole
// element (or several) takes effect, every other line is named on standard error as skipped.
// The numbers of the skipped lines, from 1.
std::vector<int32_t> RecoverConfigLines(const char* data, size_t length, const std::string& fileName);
// The text WriteConfig puts into the file.
std::string BuildConfigText();

// Returns the twelve auto-loot switches and sets all of them to 0.
std::vector<int32_t> ClearAutoLoot();
// Returns the twelve switches and replaces them by `values` (missing entries count as 0).
std::vector<int32_t> ExchangeAutoLoot(const std::vector<int32_t>& values);

// Held values: while set (non-null), WriteConfig writes these key bindings and auto-loot
// switches instead of the ones in force (a screen that runs with temporary settings keeps
// the player's own in the file, at exit too). Null for both writes the ones in force again.
// The pointed-to values must live until they are released.
void SetHeldConfigValues(const KeyBindingMap* bindings, const std::vector<int32_t>* autoLoot);

// What this run actually uses.
bool EffectiveFullscreen();     // useFullscreen, unless "-w"
bool EffectiveMusicEnabled();   // enableMusic, unless "-nomusic"
bool EffectiveSoundEnabled();   // enableSound, unless "-nosound"
// Hands the effective music and sound switches to the music and sound modules.
void SyncAudioSwitches();

// The volumes in percent (0..100). Setting one stores the user's value and passes it to the
// module while that module is on; the saved value is the user's own, also while "-nosound"
// or "-nomusic" keep the module silent.
void SetConfiguredSFXVolume(int32_t percent);
void SetConfiguredMusicVolume(int32_t percent);
int32_t ConfiguredSFXVolume();
int32_t ConfiguredMusicVolume();

// Escapes a text for use inside a double-quoted XML attribute.
std::string XmlEscapeAttribute(const std::string& text);

// Puts every setting back to its start value and forgets that the file was read (tests).
void ResetConfigToDefaults();

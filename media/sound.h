#pragma once
// Sound effects by name.
//
// "game/soundfx.xml" (read through the virtual file system) lists the effects: every
// element named "sound" gives an effect name ("name") and a WAV file ("wave"), read from
// the operating system's file system by its relative name. LoadSFX loads each file into an
// OpenAL buffer once; PlaySFX plays a named effect on the next of eight sources in turn at
// the effect volume. Main thread only.
//
// Without an OpenAL device (see media/audio_device.h) nothing is loaded and every call here
// is a no-op; a WAV that is missing or unplayable leaves its name undefined (silence).
#include <cstddef>
#include <cstdint>
#include <string>

// 1 while sound effects are on (command line "-nosound" and the configuration clear it).
extern int32_t SoundEnabled;
// The gain every effect starts with (percent / 100).
extern float SoundGain;

constexpr int kSoundSourceCount = 8;

// Reads "game/soundfx.xml" and loads every effect it names (when sound is on). Opens the
// shared audio device first when nothing has tried yet.
void LoadSFX();
// LoadSFX on the background audio set-up (media/audio_device.h), after the music's set-up:
// start-up goes on while the effects load, and the first call here that needs them waits.
void LoadSFXInBackground();
// Parses a whole soundfx.xml text and loads every effect it names; what was defined before
// an XML error stays. False when the text is not well-formed.
bool LoadSFXFromText(const char* text, size_t length);
// Loads one effect: nothing when the name is defined already (the first definition wins);
// a file that cannot be read or played is skipped silently.
void LoadSoundEffect(const char* name, const char* waveFile);
// Plays the named effect; nothing while sound is off or for an unknown name.
void PlaySFX(const char* name);
// Stops and deletes the eight sources and every effect buffer; empties the table.
void ShutdownSFX();

// The effect volume in percent, clamped to 0..100; ignored while sound is off. The percent
// itself is kept beside the gain, so it reads back exactly (a volume read from and written to
// the configuration on every run never drifts down through the gain's rounding).
void SetSFXVolume(int percent);
// The effect volume in percent as last set; 0 while sound is off.
int GetSFXVolume();

// Inspection (tests and diagnostics).
// Number of defined effects.
size_t SoundEffectCount();
// The OpenAL buffer of a defined effect, 0 when the name is not defined.
uint32_t SoundEffectBuffer(const char* name);
// Index of the source the next effect takes (0..7).
int NextSoundSourceIndex();
// OpenAL name of source `index` (0 while the sources do not exist or index is out of range).
uint32_t SoundSourceName(int index);
// The name given to the last PlaySFX call while sound was on (empty before any).
const std::string& LastRequestedSFX();
// Called with the name of every PlaySFX request made while sound is on (null: none).
using SFXRequestObserver = void (*)(const char* name);
void SetSFXRequestObserver(SFXRequestObserver observer);

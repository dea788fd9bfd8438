#pragma once
// Sound effects by name.
//
// Stand-in: nothing is loaded or played yet; the switches and the effect volume are
// kept so that the settings and the configuration file work. Still to be built here:
// reading "game/soundfx.xml", LoadSoundEffect / ParseWav (WAV files into OpenAL
// buffers, the SoundTable), the eight-source round robin of PlaySFX and ShutdownSFX.
#include <cstdint>
#include <string>

// 1 while sound effects are on (command line "-nosound" and the configuration clear it).
extern int32_t SoundEnabled;
// The gain every effect starts with (percent / 100).
extern float SoundGain;

void LoadSFX();
void LoadSoundEffect(const char* name, const char* waveFile);
void PlaySFX(const char* name);
void ShutdownSFX();

// The effect volume in percent, clamped to 0..100; ignored while sound is off.
void SetSFXVolume(int percent);
// The effect volume in percent as read back from the stored gain; 0 while sound is off.
int GetSFXVolume();

// The name given to the last PlaySFX call while sound was on (empty before any).
const std::string& LastRequestedSFX();

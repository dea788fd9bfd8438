#pragma once
// Streamed music.
//
// Stand-in: no audio is opened and nothing is decoded or played yet; the switches, the
// volume and the name of the requested track are kept. Still to be built here: OpenAL
// set-up, the music thread (50 ms wake-ups under MusicMutex), Ogg Vorbis streaming in
// quarter-second buffers, cross-fades and the three start modes, PlayMusicOnce's
// single play, and ShutdownAudio joining the thread before releasing audio.
#include <cstdint>
#include <string>

// The music setting of the command line ("-nomusic") and configuration; every public
// music call does nothing while it is 0.
extern int32_t MusicFlag;
// Set by SetMusicEnabled; while 0 no new track starts.
extern int32_t MusicEnabled;
// The music volume as a gain (percent / 100).
extern float MusicGain;

// Start modes of PlayMusic and PlayMusicOnce.
enum MusicMode : int32_t { kMusicCrossFade = 0, kMusicFadeThenStart = 1, kMusicCut = 2 };

void InitMusic();
// Starts a looping track: the intro, then the loop file for ever (an empty or null loop
// file loops the intro itself).
void PlayMusic(const char* intro, const char* loop, int32_t mode = kMusicCrossFade);
void PlayMusicOnce(const char* file, int32_t mode = kMusicCrossFade);
void StopMusic();
void SetMusicEnabled(bool enabled);
// Clamped to 0..100.
void SetMusicVolume(int percent);
// Read back from the stored gain (may be one lower than set); 0 while MusicFlag is 0.
int GetMusicVolume();
void ShutdownAudio();

// The track that PlayMusic / PlayMusicOnce last started (empty after StopMusic).
const std::string& CurrentMusicIntro();
const std::string& CurrentMusicLoop();

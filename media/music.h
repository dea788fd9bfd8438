#pragma once
// Streamed music: Ogg Vorbis files played through OpenAL on two channels (one fading out,
// one fading in), kept fed by a music thread that wakes every 50 ms. Every public call and
// every pass of the thread hold MusicMutex; ShutdownAudio joins the thread first.
#include <cstdint>
#include <string>

// The music setting of the command line ("-nomusic") and configuration; every public
// music call does nothing while it is 0.
extern int32_t MusicFlag;
// Set by SetMusicEnabled (under the music mutex); while 0 the music thread does no work
// and no new track starts.
extern int32_t MusicEnabled;
// The music volume as a gain (percent / 100).
extern float MusicGain;
// Set by the hero's death (its own tune then plays); the next level change clears it and
// picks a new dungeon track at once.
extern bool PendingMusicChange;

// Start modes of PlayMusic and PlayMusicOnce; any other value behaves as a cross-fade.
enum MusicMode : int32_t { kMusicCrossFade = 0, kMusicFadeThenStart = 1, kMusicCut = 2 };

// Fade lengths in milliseconds.
constexpr uint32_t kMusicFadeOutMs = 500;
constexpr uint32_t kMusicFadeInMs = 2000;

// Opens the shared audio device, creates the two music channels and starts the music thread.
void InitMusic();
// Starts a looping track: the intro, then the loop file for ever (an empty or null loop
// file loops the intro itself).
void PlayMusic(const char* intro, const char* loop, int32_t mode = kMusicCrossFade);
// Plays one file once; its channel is freed when it has played out.
void PlayMusicOnce(const char* file, int32_t mode = kMusicCrossFade);
// Fades the playing track out over 500 ms and drops a track waiting to start.
void StopMusic();
void SetMusicEnabled(bool enabled);
// Clamped to 0..100; kept as the integer percent, so it reads back exactly.
void SetMusicVolume(int percent);
// The volume in percent as last set; 0 while MusicFlag is 0.
int GetMusicVolume();
// Stops the music thread, then releases the music channels, the sound effects and the
// audio device.
void ShutdownAudio();

// The track that PlayMusic / PlayMusicOnce last asked for (the loop name is the intro when
// the intro loops itself, empty for a single play); both empty after StopMusic.
const std::string& CurrentMusicIntro();
const std::string& CurrentMusicLoop();

// ---- Test hooks -------------------------------------------------------------------------

// What one channel is doing, read under the music mutex.
struct MusicChannelState {
    bool active = false;
    bool current = false;
    bool fading = false;
    bool pending = false;
    bool loop = false;
    float gain = 0.0f;          // the source's gain
    int32_t sourceState = 0;    // AL_PLAYING, AL_STOPPED, ...
    int32_t queued = 0;         // buffers the channel counts as queued
    int32_t sourceQueued = 0;   // buffers OpenAL holds on the source
    int32_t held = 0;           // filled buffers waiting behind a format change
    int32_t rate = 0;
    int32_t channels = 0;
    std::string track;          // file now decoding
    std::string nextTrack;      // loop file waiting behind the intro
};

namespace music_test {
// InitMusic without the music thread (its passes are then run by RunPass).
void InitWithoutThread();
// One pass of the music thread's work (without its 50 ms sleep).
void RunPass();
// Replaces SDL_GetTicks for the fades while set.
void SetClock(uint32_t now);
void UseRealClock();
// Runs right after each music buffer upload, on whichever thread uploads (null: nothing).
void SetAfterUploadHook(void (*hook)());
// Uploads 16-bit samples even when the float extension exists (false restores the default).
void ForceSixteenBit(bool force);
bool Float32InUse();
MusicChannelState Channel(int index);
// Track changes in order: "open NAME", "next NAME" (the loop file follows the intro),
// "rewind NAME" (a looping file starts again), "end NAME" (a channel's track is over).
// Recorded only after ClearEvents has switched the log on.
std::string Events();
void ClearEvents();
bool ThreadRunning();
}  // namespace music_test

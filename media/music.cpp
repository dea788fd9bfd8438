#include "media/music.h"

#include <AL/al.h>
#include <SDL.h>
#include <SDL_mutex.h>
#include <SDL_thread.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "core/command_state.h"
#include "media/audio_device.h"
#include "media/music_stream.h"
#include "media/sound.h"

int32_t MusicFlag = 1;
int32_t MusicEnabled = 1;
float MusicGain = 1.0f;
bool PendingMusicChange = false;

namespace {

struct MusicChannel {
    bool active = false;
    MusicTrack track;
    uint32_t fadeStart = 0;
    uint32_t fadeDuration = 0;
    ALuint source = 0;
    ALuint buffers[2] = {0, 0};
    int32_t queued = 0;
    bool loop = false;
    MusicTrack nextTrack;
    bool ended = false;             // the track cannot be refilled any more
    std::vector<uint8_t> staging;   // decoded audio for one buffer
    // Filled buffers of another format than the ones on the source (the loop file behind an
    // intro of another sample rate or channel count). OpenAL queues only buffers of one format,
    // so these wait, in order, until the source has played the others out.
    ALuint held[2] = {0, 0};
    int32_t heldCount = 0;
};

SDL_mutex* MusicMutex = nullptr;
SDL_Thread* MusicThread = nullptr;
std::atomic<uint8_t> MusicThreadQuit{0};

bool Float32Supported = false;
ALenum FormatMonoFloat32 = 0;
ALenum FormatStereoFloat32 = 0;
bool ForceSixteenBitSamples = false;

MusicChannel Channels[2];
MusicChannel* CurrentStream = nullptr;
MusicChannel* FadingStream = nullptr;
MusicChannel* PendingStream = nullptr;
bool ChannelsReady = false;  // the sources and buffers exist on an open device

int32_t MusicPercent = 100;
std::string RequestedIntro;
std::string RequestedLoop;

std::atomic<bool> FakeClockOn{false};
std::atomic<uint32_t> FakeClock{0};
std::string EventLog;
bool EventLogOn = false;  // tests switch the log on; the game never grows it
void (*AfterUploadHook)() = nullptr;

// Made on the main thread before the music thread exists, destroyed after it has been joined.
SDL_mutex* MusicMutexHandle() {
    if (MusicMutex == nullptr) MusicMutex = SDL_CreateMutex();
    return MusicMutex;
}

// Holds MusicMutex for one scope, so every way out of a call releases it.
class MusicLock {
public:
    explicit MusicLock(SDL_mutex* mutex) : mutex_(mutex) {
        if (mutex_ != nullptr) SDL_mutexP(mutex_);
    }
    ~MusicLock() {
        if (mutex_ != nullptr) SDL_mutexV(mutex_);
    }
    MusicLock(const MusicLock&) = delete;
    MusicLock& operator=(const MusicLock&) = delete;

private:
    SDL_mutex* mutex_;
};

uint32_t Now() {
    return FakeClockOn.load() ? FakeClock.load() : SDL_GetTicks();
}

void NoteEvent(const char* what, const std::string& name) {
    if (!EventLogOn) return;
    EventLog += what;
    EventLog += ' ';
    EventLog += name;
    EventLog += '\n';
}

bool UseFloatSamples() {
    return Float32Supported && !ForceSixteenBitSamples;
}

void SetGain(MusicChannel& ch, float gain) {
    alSourcef(ch.source, AL_GAIN, gain);
}

void StopStream(MusicChannel& ch) {
    if (ch.active && ChannelsReady) {
        alSourceStop(ch.source);
        alSourcei(ch.source, AL_BUFFER, 0);
    }
    CloseMusicTrack(ch.track);
    CloseMusicTrack(ch.nextTrack);
    ch.active = false;
    ch.fadeStart = 0;
    ch.fadeDuration = 0;
    ch.queued = 0;
    ch.heldCount = 0;
    ch.loop = false;
    ch.ended = false;
}

// Decodes about a quarter second of the channel's track into one buffer. The upload is judged
// by what the buffer then holds, as the sound effects do: the OpenAL error state is shared with
// the main thread, whose errors must neither end a track nor be swallowed here.
bool FillBuffer(MusicChannel& ch, ALuint buffer) {
    const bool asFloat = UseFloatSamples();
    const size_t bytes = DecodeMusicQuarter(ch.track, ch.staging, asFloat);
    if (bytes == 0 || bytes > static_cast<size_t>(INT32_MAX)) return false;
    const bool stereo = ch.track.OutputChannels() == 2;
    ALenum format;
    if (asFloat) {
        format = stereo ? FormatStereoFloat32 : FormatMonoFloat32;
    } else {
        format = stereo ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
    }
    alBufferData(buffer, format, ch.staging.data(), static_cast<ALsizei>(bytes), ch.track.rate);
    if (AfterUploadHook != nullptr) AfterUploadHook();
    ALint size = 0;
    ALint rate = 0;
    alGetBufferi(buffer, AL_SIZE, &size);
    alGetBufferi(buffer, AL_FREQUENCY, &rate);
    return size == static_cast<ALint>(bytes) && rate == ch.track.rate;
}

// Puts one buffer on the source; true when the source took it (its queue grew by one).
bool QueueOnSource(MusicChannel& ch, ALuint buffer) {
    ALint before = 0;
    ALint after = 0;
    alGetSourcei(ch.source, AL_BUFFERS_QUEUED, &before);
    alSourceQueueBuffers(ch.source, 1, &buffer);
    alGetSourcei(ch.source, AL_BUFFERS_QUEUED, &after);
    if (after != before + 1) return false;
    ++ch.queued;
    return true;
}

// Queues a filled buffer behind the others, or holds it while the source still has buffers of
// another format.
void QueueFilled(MusicChannel& ch, ALuint buffer) {
    if (ch.heldCount == 0 && QueueOnSource(ch, buffer)) return;
    if (ch.heldCount < 2) ch.held[ch.heldCount++] = buffer;
}

// Once the source has played out its old format: stop it, unqueue everything and queue the
// held buffers on it afresh. A buffer the source refuses even then cannot be played: the track
// ends. True when something was queued.
bool RestartWithHeld(MusicChannel& ch) {
    alSourceStop(ch.source);
    alSourcei(ch.source, AL_BUFFER, 0);
    ch.queued = 0;
    const int32_t count = ch.heldCount;
    ch.heldCount = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (!QueueOnSource(ch, ch.held[i])) {
            ch.ended = true;
            NoteEvent("end", ch.track.name);
            break;
        }
    }
    return ch.queued > 0;
}

// Fills one buffer; when the track has run out and loops, goes on with the loop file behind
// the intro or starts the file again, and tries once more. A file that gives nothing even
// then has ended: it is not reopened again and again.
bool FillBufferLooping(MusicChannel& ch, ALuint buffer) {
    if (ch.ended) return false;
    if (FillBuffer(ch, buffer)) return true;
    if (ch.loop) {
        bool reopened;
        if (ch.nextTrack.IsOpen()) {
            MoveMusicTrack(ch.track, ch.nextTrack);
            NoteEvent("next", ch.track.name);
            reopened = true;
        } else {
            reopened = RewindMusicTrack(ch.track);
            if (reopened) NoteEvent("rewind", ch.track.name);
        }
        if (reopened && FillBuffer(ch, buffer)) return true;
    }
    ch.ended = true;
    NoteEvent("end", ch.track.name);
    return false;
}

// Refills the buffers the source has played. True when the channel has finished: its track
// cannot be refilled and its last buffer has played out.
bool ServiceChannel(MusicChannel& ch) {
    ALint processed = 0;
    alGetSourcei(ch.source, AL_BUFFERS_PROCESSED, &processed);
    if (processed > ch.queued) processed = ch.queued;
    ALuint played[2] = {0, 0};
    if (processed > 0) {
        alSourceUnqueueBuffers(ch.source, processed, played);
        ch.queued -= processed;
    }
    bool restarted = false;
    if (ch.heldCount > 0 && ch.queued == 0) restarted = RestartWithHeld(ch);
    int count = 0;
    for (int i = 0; i < processed; ++i) {
        if (!FillBufferLooping(ch, played[i])) break;
        QueueFilled(ch, played[i]);
        ++count;
    }
    if ((count > 0 || restarted) && ch.queued > 0) {
        ALint state = 0;
        alGetSourcei(ch.source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING) alSourcePlay(ch.source);
    }
    return ch.ended && ch.queued == 0 && ch.heldCount == 0;
}

void StartPending(uint32_t now) {
    MusicChannel& ch = *PendingStream;
    PendingStream = nullptr;
    ch.fadeStart = now;
    ch.fadeDuration = kMusicFadeInMs;
    SetGain(ch, 0.0f);
    alSourcePlay(ch.source);
    CurrentStream = &ch;
}

void UpdateFades(bool forced) {
    const uint32_t now = Now();
    if (CurrentStream != nullptr && (CurrentStream->fadeDuration != 0 || forced)) {
        MusicChannel& ch = *CurrentStream;
        float factor = 1.0f;
        const uint32_t elapsed = now - ch.fadeStart;
        if (ch.fadeDuration != 0 && elapsed < ch.fadeDuration) {
            factor = static_cast<float>(elapsed) / static_cast<float>(ch.fadeDuration);
        } else {
            ch.fadeStart = 0;
            ch.fadeDuration = 0;
        }
        SetGain(ch, MusicGain * factor);
    }
    if (FadingStream != nullptr && (FadingStream->fadeDuration != 0 || forced)) {
        MusicChannel& ch = *FadingStream;
        const uint32_t elapsed = now - ch.fadeStart;
        if (ch.fadeDuration != 0 && elapsed < ch.fadeDuration) {
            SetGain(ch, MusicGain * static_cast<float>(ch.fadeDuration - elapsed) /
                            static_cast<float>(ch.fadeDuration));
        } else {
            StopStream(ch);
            FadingStream = nullptr;
            if (PendingStream != nullptr) StartPending(now);
        }
    }
}

// The playing track becomes the fading one (it stops being current, so the end of its
// fade-out cannot bring it back at full volume).
void FadeOutCurrent(uint32_t now) {
    if (CurrentStream == nullptr) return;
    if (FadingStream != nullptr && FadingStream != CurrentStream) StopStream(*FadingStream);
    CurrentStream->fadeStart = now;
    CurrentStream->fadeDuration = kMusicFadeOutMs;
    FadingStream = CurrentStream;
    CurrentStream = nullptr;
}

void StartTrack(const char* first, const char* second, int32_t mode, bool loop) {
    const uint32_t now = Now();
    if (PendingStream != nullptr) StopStream(*PendingStream);
    PendingStream = nullptr;
    if (FadingStream != nullptr) StopStream(*FadingStream);
    FadingStream = nullptr;
    if (mode != kMusicCut) FadeOutCurrent(now);

    MusicChannel& ch = !Channels[0].active ? Channels[0] : Channels[1];
    StopStream(ch);
    ch.loop = loop;
    const bool hasSecond = second != nullptr && second[0] != '\0';
    if (!OpenMusicTrack(ch.track, first) || (hasSecond && !OpenMusicTrack(ch.nextTrack, second))) {
        printf("Could not open music file %s\n", ch.track.IsOpen() ? second : first);
        StopStream(ch);
        return;
    }
    NoteEvent("open", ch.track.name);

    alSourceStop(ch.source);
    alSourcei(ch.source, AL_BUFFER, 0);
    ch.queued = 0;
    ch.heldCount = 0;
    if (FillBufferLooping(ch, ch.buffers[0])) {
        QueueFilled(ch, ch.buffers[0]);
        if (FillBufferLooping(ch, ch.buffers[1])) QueueFilled(ch, ch.buffers[1]);
    }
    ch.active = true;

    if (mode == kMusicFadeThenStart) {
        SetGain(ch, 0.0f);
        PendingStream = &ch;
        if (FadingStream == nullptr) StartPending(now);  // nothing to wait for
        return;
    }
    if (mode == kMusicCut) {
        SetGain(ch, MusicGain);
        ch.fadeStart = 0;
        ch.fadeDuration = 0;
        if (CurrentStream != nullptr) StopStream(*CurrentStream);
    } else {
        SetGain(ch, 0.0f);
        ch.fadeStart = now;
        ch.fadeDuration = kMusicFadeInMs;
    }
    alSourcePlay(ch.source);
    CurrentStream = &ch;
}

// One wake-up of the music thread (the caller holds nothing).
void MusicPass() {
    MusicLock lock(MusicMutex);
    if (!MusicEnabled || !ChannelsReady) return;
    if (CurrentStream != nullptr && !CurrentStream->active) CurrentStream = nullptr;
    if (FadingStream != nullptr && !FadingStream->active) FadingStream = nullptr;
    if (PendingStream != nullptr && !PendingStream->active) PendingStream = nullptr;
    UpdateFades(false);
    if (CurrentStream != nullptr && ServiceChannel(*CurrentStream)) {
        StopStream(*CurrentStream);
        CurrentStream = nullptr;
    }
    if (FadingStream != nullptr && ServiceChannel(*FadingStream)) {
        StopStream(*FadingStream);
        FadingStream = nullptr;
    }
}

int MusicThreadMain(void*) {
    while (!MusicThreadQuit.load()) {
        SDL_Delay(50);
        if (MusicThreadQuit.load()) break;
        MusicPass();
    }
    return 0;
}

void ReleaseChannelObjects() {
    for (MusicChannel& ch : Channels) {
        if (ch.source != 0) alDeleteSources(1, &ch.source);
        alDeleteBuffers(2, ch.buffers);
        ch.source = 0;
        ch.buffers[0] = ch.buffers[1] = 0;
        std::vector<uint8_t>().swap(ch.staging);
    }
}

void InitMusicDevice(bool startThread) {
    MusicMutexHandle();
    if (ChannelsReady) return;
    if (!InitAudioDevice()) return;  // it has printed the failure
    {
        MusicLock lock(MusicMutex);
        Float32Supported = alIsExtensionPresent("AL_EXT_float32") == AL_TRUE;
        if (Float32Supported) {
            FormatMonoFloat32 = alGetEnumValue("AL_FORMAT_MONO_FLOAT32");
            FormatStereoFloat32 = alGetEnumValue("AL_FORMAT_STEREO_FLOAT32");
            Float32Supported = FormatMonoFloat32 != 0 && FormatStereoFloat32 != 0 &&
                               FormatMonoFloat32 != -1 && FormatStereoFloat32 != -1;
        }
        alGetError();
        bool made = true;
        for (MusicChannel& ch : Channels) {
            alGenSources(1, &ch.source);
            if (alGetError() != AL_NO_ERROR) ch.source = 0, made = false;
            alGenBuffers(2, ch.buffers);
            if (alGetError() != AL_NO_ERROR) ch.buffers[0] = ch.buffers[1] = 0, made = false;
        }
        if (!made) {
            printf("Could not create the music sources\n");
            ReleaseChannelObjects();
            return;
        }
        ChannelsReady = true;
    }
    MusicThreadQuit = 0;
    if (startThread) MusicThread = SDL_CreateThread(MusicThreadMain, nullptr);
}

}  // namespace

void InitMusic() {
    // Opening the device takes a while; start-up goes on meanwhile, and every call below
    // waits for the set-up first.
    MusicMutexHandle();
    RunAudioSetupInBackground([] { InitMusicDevice(true); });
}

void PlayMusic(const char* intro, const char* loop, int32_t mode) {
    WaitForAudioSetup();
    MusicLock lock(MusicMutexHandle());
    if (!MusicFlag || !MusicEnabled || intro == nullptr) return;
    RequestedIntro = intro;
    RequestedLoop = (loop != nullptr && loop[0] != '\0') ? loop : intro;
    if (!ChannelsReady) return;
    StartTrack(intro, loop, mode, true);
}

void PlayMusicOnce(const char* file, int32_t mode) {
    WaitForAudioSetup();
    MusicLock lock(MusicMutexHandle());
    if (!MusicFlag || !MusicEnabled || file == nullptr) return;
    RequestedIntro = file;
    RequestedLoop.clear();
    if (!ChannelsReady) return;
    StartTrack(file, nullptr, mode, false);
}

void StopMusic() {
    WaitForAudioSetup();
    MusicLock lock(MusicMutexHandle());
    if (!MusicFlag) return;
    RequestedIntro.clear();
    RequestedLoop.clear();
    if (!ChannelsReady) return;
    if (PendingStream != nullptr) StopStream(*PendingStream);
    PendingStream = nullptr;
    FadeOutCurrent(Now());
}

void SetMusicEnabled(bool enabled) {
    MusicLock lock(MusicMutexHandle());
    if (!MusicFlag) return;
    MusicEnabled = enabled ? 1 : 0;
}

void SetMusicVolume(int percent) {
    MusicLock lock(MusicMutexHandle());
    if (!MusicFlag) return;
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    if (CmdLine.debugFlags & kDebugAudio) {
        printf("setting music volume to %d percent\n", percent);
    }
    MusicPercent = percent;
    MusicGain = static_cast<float>(percent / 100.0);
    if (ChannelsReady) UpdateFades(true);
}

int GetMusicVolume() {
    MusicLock lock(MusicMutexHandle());
    if (!MusicFlag) return 0;
    return MusicPercent;
}

void ShutdownAudio() {
    WaitForAudioSetup();
    if (MusicThread != nullptr) {
        MusicThreadQuit = 1;
        SDL_WaitThread(MusicThread, nullptr);
        MusicThread = nullptr;
    }
    if (ChannelsReady) {
        for (MusicChannel& ch : Channels) StopStream(ch);
        CurrentStream = FadingStream = PendingStream = nullptr;
        ReleaseChannelObjects();
        ChannelsReady = false;
    }
    if (MusicMutex != nullptr) {
        SDL_DestroyMutex(MusicMutex);
        MusicMutex = nullptr;
    }
    ShutdownSFX();
    ShutdownAudioDevice();
}

const std::string& CurrentMusicIntro() {
    WaitForAudioSetup();
    return RequestedIntro;
}

const std::string& CurrentMusicLoop() {
    WaitForAudioSetup();
    return RequestedLoop;
}

namespace music_test {

void InitWithoutThread() {
    WaitForAudioSetup();
    InitMusicDevice(false);
}

void RunPass() {
    WaitForAudioSetup();
    MusicPass();
}

void SetClock(uint32_t now) {
    FakeClock = now;
    FakeClockOn = true;
}

void UseRealClock() {
    FakeClockOn = false;
}

void SetAfterUploadHook(void (*hook)()) {
    WaitForAudioSetup();
    MusicLock lock(MusicMutexHandle());
    AfterUploadHook = hook;
}

void ForceSixteenBit(bool force) {
    WaitForAudioSetup();
    MusicLock lock(MusicMutexHandle());
    ForceSixteenBitSamples = force;
}

bool Float32InUse() {
    WaitForAudioSetup();
    MusicLock lock(MusicMutexHandle());
    return UseFloatSamples();
}

MusicChannelState Channel(int index) {
    WaitForAudioSetup();
    MusicChannelState state;
    if (index < 0 || index > 1) return state;
    MusicLock lock(MusicMutexHandle());
    const MusicChannel& ch = Channels[index];
    state.active = ch.active;
    state.current = CurrentStream == &ch;
    state.fading = FadingStream == &ch;
    state.pending = PendingStream == &ch;
    state.loop = ch.loop;
    state.queued = ch.queued;
    state.held = ch.heldCount;
    state.rate = ch.track.rate;
    state.channels = ch.track.channels;
    state.track = ch.track.name;
    state.nextTrack = ch.nextTrack.name;
    if (ChannelsReady) {
        ALfloat gain = 0.0f;
        alGetSourcef(ch.source, AL_GAIN, &gain);
        state.gain = gain;
        ALint sourceState = 0;
        alGetSourcei(ch.source, AL_SOURCE_STATE, &sourceState);
        state.sourceState = sourceState;
        ALint onSource = 0;
        alGetSourcei(ch.source, AL_BUFFERS_QUEUED, &onSource);
        state.sourceQueued = onSource;
    }
    return state;
}

std::string Events() {
    WaitForAudioSetup();
    MusicLock lock(MusicMutexHandle());
    return EventLog;
}

void ClearEvents() {
    WaitForAudioSetup();
    MusicLock lock(MusicMutexHandle());
    EventLog.clear();
    EventLogOn = true;
}

bool ThreadRunning() {
    WaitForAudioSetup();
    return MusicThread != nullptr;
}

}  // namespace music_test

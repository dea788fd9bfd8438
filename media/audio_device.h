#pragma once
// The one OpenAL device and context that sound effects and music share.
//
// InitAudioDevice opens the default device, creates a context on it, makes it current,
// processes it and prints the driver strings ("AL_VENDOR: ...", "AL_RENDERER: ...",
// "AL_VERSION: ...", "AL_EXTENSIONS: ..."). When the device or the context cannot be made
// it prints "Failed to initialize OpenAL!" itself (callers must not print it again) and
// every later call returns false at once without trying again, so the message appears once
// per run. ShutdownAudioDevice releases both; a later InitAudioDevice may open them anew.
//
// Main thread only (and the background set-up). The music thread may call AudioDeviceAvailable.

// Runs `work` (the music's set-up, which opens the device, and the loading of the sound
// effects) on a thread of its own, so that start-up goes on meanwhile; work given while
// earlier work still runs follows it in order on the same thread. Every call here, and every
// main-thread call of the music and the sound effects, first waits for all of it to end
// (WaitForAudioSetup); calls made by the work itself and by the music thread do not wait.
void RunAudioSetupInBackground(void (*work)());
// Waits until all the work given to RunAudioSetupInBackground has ended. Returns at once on
// any thread but the one that gave it, and when none is running.
void WaitForAudioSetup();

// Opens the device and context when that was not tried yet; true while they are open.
bool InitAudioDevice();
// Opens a named device instead of the default one (tests use a name that does not exist
// to reach the failure path). Same rules as InitAudioDevice.
bool InitAudioDeviceNamed(const char* deviceName);
// True while a device and its context are open and current.
bool AudioDeviceAvailable();
// Suspends and destroys the context and closes the device; afterwards the set-up may be
// tried again. Everything made on the context (sources, buffers) must be released first.
void ShutdownAudioDevice();

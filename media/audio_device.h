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
// Main thread only. The music thread may call AudioDeviceAvailable.

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

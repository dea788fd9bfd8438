#include "media/audio_device.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

enum class DeviceState { kUntried, kOpen, kFailed };

std::atomic<DeviceState> state{DeviceState::kUntried};
ALCdevice* device = nullptr;
ALCcontext* context = nullptr;

const char* DriverString(ALenum which) {
    const ALchar* text = alGetString(which);
    return text != nullptr ? text : "";
}

bool OpenDevice(const char* deviceName) {
    device = alcOpenDevice(deviceName);
    if (device == nullptr) {
        return false;
    }
    context = alcCreateContext(device, nullptr);
    if (context == nullptr) {
        alcCloseDevice(device);
        device = nullptr;
        return false;
    }
    if (alcMakeContextCurrent(context) != ALC_TRUE) {
        alcDestroyContext(context);
        alcCloseDevice(device);
        context = nullptr;
        device = nullptr;
        return false;
    }
    alcProcessContext(context);
    printf("AL_VENDOR: %s\n", DriverString(AL_VENDOR));
    printf("AL_RENDERER: %s\n", DriverString(AL_RENDERER));
    printf("AL_VERSION: %s\n", DriverString(AL_VERSION));
    printf("AL_EXTENSIONS: %s\n", DriverString(AL_EXTENSIONS));
    return true;
}

// A set-up thread still running at exit is waited for, never left to end the process.
struct SetupThread {
    std::thread thread;
    std::thread::id starter;
    ~SetupThread() {
        if (thread.joinable()) thread.join();
    }
};
SetupThread setup;

}  // namespace

void RunAudioSetupInBackground(void (*work)()) {
    WaitForAudioSetup();
    setup.starter = std::this_thread::get_id();
    setup.thread = std::thread(work);
}

void WaitForAudioSetup() {
    if (setup.thread.joinable() && std::this_thread::get_id() == setup.starter) setup.thread.join();
}

bool InitAudioDeviceNamed(const char* deviceName) {
    WaitForAudioSetup();
    switch (state.load()) {
        case DeviceState::kOpen: return true;
        case DeviceState::kFailed: return false;
        case DeviceState::kUntried: break;
    }
    if (OpenDevice(deviceName)) {
        state = DeviceState::kOpen;
        return true;
    }
    printf("Failed to initialize OpenAL!\n");
    fflush(stdout);
    state = DeviceState::kFailed;
    return false;
}

bool InitAudioDevice() {
    return InitAudioDeviceNamed(nullptr);
}

bool AudioDeviceAvailable() {
    WaitForAudioSetup();
    return state.load() == DeviceState::kOpen;
}

void ShutdownAudioDevice() {
    WaitForAudioSetup();
    if (context != nullptr) {
        alcSuspendContext(context);
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
        context = nullptr;
    }
    if (device != nullptr) {
        alcCloseDevice(device);
        device = nullptr;
    }
    state = DeviceState::kUntried;
}

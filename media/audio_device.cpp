#include "media/audio_device.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/efx.h>

#include <atomic>
#include <cstdio>
#include <deque>
#include <mutex>
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
    // The game plays a handful of effects and two music streams at once and uses no effect
    // sends; without sends the mixer keeps less memory for each of its voices. A device that
    // refuses these wishes gets its defaults.
    const ALCint attributes[] = {ALC_MONO_SOURCES, 24, ALC_STEREO_SOURCES, 8, ALC_MAX_AUXILIARY_SENDS, 0, 0};
    context = alcCreateContext(device, attributes);
    if (context == nullptr) context = alcCreateContext(device, nullptr);
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

// The background set-up: one worker at a time runs the queued jobs in order and ends when
// the queue is empty. A worker still running at exit is waited for, never left to end the
// process.
struct SetupWorker {
    std::mutex mutex;
    std::deque<void (*)()> jobs;
    bool running = false;  // a worker is taking jobs from the queue
    std::thread thread;
    std::thread::id starter;
    ~SetupWorker() {
        if (thread.joinable()) thread.join();
    }
};
SetupWorker setup;

void RunSetupJobs() {
    for (;;) {
        void (*job)() = nullptr;
        {
            std::lock_guard<std::mutex> lock(setup.mutex);
            if (setup.jobs.empty()) {
                setup.running = false;
                return;
            }
            job = setup.jobs.front();
            setup.jobs.pop_front();
        }
        job();
    }
}

}  // namespace

void RunAudioSetupInBackground(void (*work)()) {
    std::lock_guard<std::mutex> lock(setup.mutex);
    setup.jobs.push_back(work);
    if (setup.running) return;  // the running worker takes it after the jobs before it
    if (setup.thread.joinable()) setup.thread.join();  // a worker that has finished its queue
    setup.starter = std::this_thread::get_id();
    setup.running = true;
    setup.thread = std::thread(RunSetupJobs);
}

void WaitForAudioSetup() {
    if (std::this_thread::get_id() != setup.starter) return;
    std::thread finished;
    {
        std::lock_guard<std::mutex> lock(setup.mutex);
        if (!setup.thread.joinable()) return;
        finished.swap(setup.thread);
    }
    finished.join();  // the worker ends once its queue is empty, and nothing else adds to it
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

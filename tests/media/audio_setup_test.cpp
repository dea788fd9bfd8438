// The audio set-up that start-up runs in the background: it runs on a thread of its own, it
// is waited for, and a wait from inside it returns at once instead of waiting for itself.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "media/audio_device.h"

namespace {

std::atomic<bool> workDone{false};
std::atomic<bool> ranElsewhere{false};
std::thread::id testThread;

void Work() {
    ranElsewhere = std::this_thread::get_id() != testThread;
    WaitForAudioSetup();  // from inside the set-up: returns at once instead of waiting for itself
    workDone = true;
}

TEST(AudioSetup, RunsOnAThreadOfItsOwnAndIsWaitedFor) {
    testThread = std::this_thread::get_id();
    workDone = false;
    RunAudioSetupInBackground(Work);
    WaitForAudioSetup();
    EXPECT_TRUE(workDone);
    EXPECT_TRUE(ranElsewhere);
    WaitForAudioSetup();  // nothing running: returns at once
}

}  // namespace

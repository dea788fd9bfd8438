// The audio set-up that start-up runs in the background: it runs on a thread of its own, it
// is waited for, and a wait from inside it returns at once instead of waiting for itself.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

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

std::vector<int> jobOrder;
std::vector<std::thread::id> jobThreads;

void FirstJob() {
    jobOrder.push_back(1);
    jobThreads.push_back(std::this_thread::get_id());
}

void SecondJob() {
    jobOrder.push_back(2);
    jobThreads.push_back(std::this_thread::get_id());
}

// Work given while earlier work runs follows it, off the caller's thread; one wait covers both.
TEST(AudioSetup, LaterWorkFollowsEarlierWorkInOrder) {
    jobOrder.clear();
    jobThreads.clear();
    RunAudioSetupInBackground(FirstJob);
    RunAudioSetupInBackground(SecondJob);
    WaitForAudioSetup();
    EXPECT_EQ(jobOrder, (std::vector<int>{1, 2}));
    ASSERT_EQ(jobThreads.size(), 2u);
    EXPECT_NE(jobThreads[0], std::this_thread::get_id());
    EXPECT_NE(jobThreads[1], std::this_thread::get_id());
}

}  // namespace

// The logged input layer: script replay, the fixed frame clock and recording.
#include <gtest/gtest.h>

#include "core/input_log.h"
#include "support/run_game.h"

#include <vector>

namespace {

class InputLogTest : public ::testing::Test {
protected:
    void SetUp() override { ResetInputLog(); }
    void TearDown() override { ResetInputLog(); }

    // Polls until nothing is pending, presenting a (surface-less) frame after each empty poll,
    // for at most the given number of frames.
    std::vector<SDL_Event> Drain(int frames) {
        std::vector<SDL_Event> events;
        SDL_Event e;
        for (int i = 0; i < frames; ++i) {
            while (LoggedPollEvent(&e)) events.push_back(e);
            PresentFrame(nullptr);
        }
        return events;
    }
};

TEST_F(InputLogTest, FixedFrameClockAdvancesOnlyWithFrames) {
    SetFixedFrameTime(10);
    EXPECT_EQ(LoggedGetTicks(), 0u);
    PresentFrame(nullptr);
    PresentFrame(nullptr);
    EXPECT_EQ(LoggedGetTicks(), 20u);
    AdvanceFakeClock(300001);
    EXPECT_EQ(LoggedGetTicks(), 300021u);
}

TEST_F(InputLogTest, ScriptEventsArriveInOrderWithTheirState) {
    ASSERT_TRUE(OpenInputScriptText(
        "# a comment line\n"
        "move 100 200\n"
        "keydown a shift\n"
        "keyup a\n"
        "buttondown 1 5 6\n"
        "quit\n"));
    SDL_Event e;
    ASSERT_EQ(LoggedPollEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_MOUSEMOTION);
    int x = 0, y = 0;
    LoggedGetMouseState(&x, &y);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 200);

    ASSERT_EQ(LoggedPollEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_KEYDOWN);
    EXPECT_EQ(e.key.keysym.sym, SDLK_a);
    EXPECT_EQ(e.key.keysym.unicode, 'A');
    EXPECT_TRUE(LoggedGetModState() & KMOD_SHIFT);

    ASSERT_EQ(LoggedPollEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_KEYUP);
    EXPECT_FALSE(LoggedGetModState() & KMOD_SHIFT);

    ASSERT_EQ(LoggedPollEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_MOUSEBUTTONDOWN);
    EXPECT_EQ(LoggedGetMouseState(nullptr, nullptr), SDL_BUTTON(1));

    ASSERT_EQ(LoggedPollEvent(&e), 1);
    EXPECT_EQ(e.type, SDL_QUIT);
    EXPECT_EQ(LoggedPollEvent(&e), 0);
    EXPECT_FALSE(InputScriptActive());
}

TEST_F(InputLogTest, WaitHoldsEventsUntilTheClockHasAdvanced) {
    SetFixedFrameTime(16);
    ASSERT_TRUE(OpenInputScriptText("wait 100\nkey escape\n"));
    SDL_Event e;
    int frames = 0;
    while (!LoggedPollEvent(&e)) {
        PresentFrame(nullptr);
        ASSERT_LT(++frames, 100);
    }
    EXPECT_EQ(e.type, SDL_KEYDOWN);
    EXPECT_EQ(e.key.keysym.sym, SDLK_ESCAPE);
    EXPECT_GE(LoggedGetTicks(), 100u);
    EXPECT_EQ(frames, 7);  // 7 frames of 16 ms are the first to pass 100 ms
}

TEST_F(InputLogTest, BadScriptLinesAreRefused) {
    for (const char* bad : {"jump 3\n", "key nosuchkey\n", "move -1 4\n", "click 9 1 1\n", "wait -5\n",
                            "key a hyper\n", "move 4\n"}) {
        ResetInputLog();
        EXPECT_FALSE(OpenInputScriptText(bad)) << bad;
        EXPECT_FALSE(InputScriptActive()) << bad;
    }
}

TEST_F(InputLogTest, RecordingReplaysToTheSameEvents) {
    TempDir dir;
    const std::string script =
        "move 10 20\nwait 48\nkeydown left_shift shift\nkey x shift\nwait 32\nclick 3 40 50\nquit\n";
    SetFixedFrameTime(16);
    ASSERT_TRUE(OpenInputScriptText(script));
    ASSERT_TRUE(OpenInputRecord(dir.file("rec.txt")));
    std::vector<SDL_Event> first = Drain(20);
    CloseInputLog();

    ResetInputLog();
    SetFixedFrameTime(16);
    ASSERT_TRUE(OpenInputScript(dir.file("rec.txt"))) << ReadWholeFile(dir.file("rec.txt"));
    std::vector<SDL_Event> second = Drain(20);

    ASSERT_EQ(first.size(), 7u);
    ASSERT_EQ(second.size(), first.size()) << ReadWholeFile(dir.file("rec.txt"));
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].type, second[i].type) << i;
        if (first[i].type == SDL_KEYDOWN || first[i].type == SDL_KEYUP) {
            EXPECT_EQ(first[i].key.keysym.sym, second[i].key.keysym.sym) << i;
            EXPECT_EQ(first[i].key.keysym.mod & KMOD_SHIFT, second[i].key.keysym.mod & KMOD_SHIFT) << i;
        }
    }
}

}  // namespace

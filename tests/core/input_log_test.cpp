// The logged input layer: script replay, the fixed frame clock and recording.
#include <gtest/gtest.h>

#include "core/input_log.h"
#include "core/input_script.h"
#include "core/random.h"
#include "support/run_game.h"

#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

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

// A tool's script source is asked only while no script plays, and what it answers plays as a
// script; an empty answer gives no input.
std::vector<std::string> SourceAnswers;
int SourceCalls = 0;
std::string NextSourceAnswer() {
    const size_t call = static_cast<size_t>(SourceCalls++);
    return call < SourceAnswers.size() ? SourceAnswers[call] : std::string();
}

TEST_F(InputLogTest, AScriptSourceIsAskedOnlyWhileNoScriptPlaysAndItsAnswerPlays) {
    SourceAnswers = {"", "key a\nkey b\n", ""};
    SourceCalls = 0;
    SetInputScriptSource(NextSourceAnswer);
    SDL_Event e;
    EXPECT_EQ(LoggedPollEvent(&e), 0);  // asked once: nothing this time
    EXPECT_EQ(SourceCalls, 1);
    std::vector<SDLKey> keys;
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(LoggedPollEvent(&e), 1) << i;
        if (e.type == SDL_KEYDOWN) keys.push_back(e.key.keysym.sym);
    }
    EXPECT_EQ(keys, (std::vector<SDLKey>{SDLK_a, SDLK_b}));
    // The four events came from one answer: the source was not asked while it played.
    EXPECT_EQ(SourceCalls, 2);
    EXPECT_EQ(LoggedPollEvent(&e), 0);
    EXPECT_EQ(SourceCalls, 3);
    // A reset turns the source off.
    ResetInputLog();
    EXPECT_EQ(LoggedPollEvent(&e), 0);
    EXPECT_EQ(SourceCalls, 3);
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
                            "key a hyper\n", "move 4\n", "seed\n", "seed -3\n", "seed 4294967296\n",
                            "frames\n", "frames 16x0\n", "frames 16x\n", "frames 9y2\n"}) {
        ResetInputLog();
        EXPECT_FALSE(OpenInputScriptText(bad)) << bad;
        EXPECT_FALSE(InputScriptActive()) << bad;
    }
}

TEST_F(InputLogTest, ScriptFilesThatNeverEndOrAreTooLargeAreRefusedWithAReason) {
    TempDir dir;
    const std::string longest = "wait 1" + std::string(kMaxScriptLineBytes - 6, ' ');
    std::string large;
    while (large.size() <= kMaxScriptBytes) large += "wait 1\n";
    WriteWholeFile(dir.file("longest.txt"), longest + "\n" + longest);
    WriteWholeFile(dir.file("endless.txt"), std::string(1 << 20, 'w'));
    WriteWholeFile(dir.file("second.txt"), "wait 1\n" + longest + " \nwait 2\n");
    WriteWholeFile(dir.file("large.txt"), large);
    const std::string notRegular = "is missing or not a regular file";
    struct Case {
        std::string path;
        bool accepted;
        std::string said;
    } cases[] = {
        {dir.file("longest.txt"), true, ""},
        {"/dev/zero", false, notRegular},
        {dir.path(), false, notRegular},
        {dir.file("missing.txt"), false, notRegular},
        {dir.file("endless.txt"), false, "line 1 is longer than 4096 bytes"},
        {dir.file("second.txt"), false, "line 2 is longer than 4096 bytes"},
        {dir.file("large.txt"), false, "is larger than 16777216 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ResetInputLog();
        testing::internal::CaptureStdout();
        EXPECT_EQ(OpenInputScript(c.path), c.accepted);
        const std::string said = testing::internal::GetCapturedStdout();
        EXPECT_EQ(InputScriptActive(), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(said, "");
        } else {
            EXPECT_NE(said.find("Input script " + c.path), std::string::npos) << said;
            EXPECT_NE(said.find(c.said), std::string::npos) << said;
        }
    }
    // A script handed over as text meets the same limits.
    ResetInputLog();
    testing::internal::CaptureStdout();
    EXPECT_FALSE(OpenInputScriptText(longest + "x\n"));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("line 1 is longer than 4096 bytes"), std::string::npos);
}

// A script saved by an editor with CRLF line ends reads as its LF form; the CR of a line end
// is no part of the line, so a line of exactly the limit stays within it.
TEST_F(InputLogTest, CrlfLineEndsReadAsLfLineEndsUpToTheLineLimit) {
    const std::string longest = "wait 1" + std::string(kMaxScriptLineBytes - 6, ' ');
    const std::string lf = "seed 12\nframes 16x2\nkey escape shift\n" + longest + "\nclick 1 20 30\nscreenshot\nwait 5";
    struct Case {
        const char* label;
        std::string text;
        bool accepted;
    } cases[] = {
        {"LF", lf + "\n", true},
        {"CRLF", ReplaceAll(lf, "\n", "\r\n") + "\r\n", true},
        {"CRLF, last line without its LF", ReplaceAll(lf, "\n", "\r\n") + "\r", true},
        {"CRLF, a line one byte over", "wait 1\r\n" + longest + "x\r\nwait 2\r\n", false},
    };
    ParsedScript reference;
    std::istringstream lfIn(lf + "\n");
    ASSERT_TRUE(ParseInputScript(lfIn, "lf", reference));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ParsedScript parsed;
        std::istringstream in(c.text);
        testing::internal::CaptureStdout();
        const bool accepted = ParseInputScript(in, c.label, parsed);
        const std::string said = testing::internal::GetCapturedStdout();
        ASSERT_EQ(accepted, c.accepted) << said;
        if (!accepted) {
            EXPECT_NE(said.find("line 2 is longer than 4096 bytes"), std::string::npos) << said;
            continue;
        }
        EXPECT_EQ(said, "");
        EXPECT_TRUE(parsed.hasSeed);
        EXPECT_EQ(parsed.seed, 12u);
        ASSERT_EQ(parsed.frames.size(), 1u);
        EXPECT_EQ(parsed.frames[0].ms, reference.frames[0].ms);
        EXPECT_EQ(parsed.frames[0].count, 2u);
        ASSERT_EQ(parsed.commands.size(), reference.commands.size());
        for (size_t i = 0; i < parsed.commands.size(); ++i) {
            const ScriptCommand& a = parsed.commands[i];
            const ScriptCommand& b = reference.commands[i];
            EXPECT_EQ(a.kind, b.kind) << i;
            EXPECT_EQ(a.waitMs, b.waitMs) << i;
            EXPECT_EQ(a.event.type, b.event.type) << i;
            if (a.event.type == SDL_KEYDOWN || a.event.type == SDL_KEYUP) {
                EXPECT_EQ(a.event.key.keysym.sym, b.event.key.keysym.sym) << i;
                EXPECT_EQ(a.event.key.keysym.mod, b.event.key.keysym.mod) << i;
            }
        }
        // seed and frames are no commands: the key's two events, the long wait, the click's two
        // events, the screenshot and the last wait.
        EXPECT_EQ(parsed.commands.size(), 7u);
        EXPECT_EQ(parsed.commands.back().waitMs, 5u);
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

TEST_F(InputLogTest, AScriptsSeedAndFrameTimesDriveTheGeneratorsAndTheClock) {
    ASSERT_TRUE(OpenInputScriptText("frames 5 7x2\nseed 4242\nwait 40\nkey a\nframes 1\n"));
    EXPECT_EQ(LoggedRandomSeed(), 4242u);
    std::vector<Uint32> ticks;
    for (int i = 0; i < 6; ++i) {
        PresentFrame(nullptr);
        ticks.push_back(LoggedGetTicks());
    }
    // The frame times in order, then the replay's own 16 ms.
    EXPECT_EQ(ticks, (std::vector<Uint32>{5, 12, 19, 20, 36, 52}));
}

TEST_F(InputLogTest, ATerminationRequestRunsTheHandlerAtTheNextPollEvenDuringAReplay) {
    static int calls = 0;
    calls = 0;
    const TerminationHandler previous = SetTerminationHandler([] { ++calls; });
    ASSERT_TRUE(OpenInputScriptText("wait 100000\nkey a\n"));
    SDL_Event e;
    EXPECT_EQ(LoggedPollEvent(&e), 0);
    EXPECT_EQ(calls, 0);
    RequestTermination();
    EXPECT_TRUE(TerminationRequested());
    LoggedPollEvent(&e);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(TerminationRequested());
    LoggedPollEvent(&e);
    EXPECT_EQ(calls, 1);

    // Without a handler the request stays raised for whoever looks.
    SetTerminationHandler(nullptr);
    RequestTermination();
    LoggedPollEvent(&e);
    EXPECT_TRUE(TerminationRequested());
    SetTerminationHandler(previous);
}

TEST_F(InputLogTest, ModifiersFollowTheKeyEvents) {
    // After each delivered event: is shift held, is ctrl held.
    struct Case {
        const char* script;
        std::vector<std::pair<bool, bool>> held;
    };
    const std::vector<Case> cases = {
        // The key's own modifiers go up with the key.
        {"key 1 shift\nclick 1 5 5\n", {{true, false}, {false, false}, {false, false}, {false, false}}},
        {"keydown a ctrl\nbuttondown 1 5 5\nkeyup a ctrl\nbuttonup 1 5 5\n",
         {{false, true}, {false, true}, {false, false}, {false, false}}},
        // A modifier key holds its modifier until it goes up, whatever other keys do.
        {"keydown left_shift shift\nkey x shift\nclick 1 5 5\nkeyup left_shift\nclick 1 5 5\n",
         {{true, false}, {true, false}, {true, false}, {true, false}, {true, false},
          {false, false}, {false, false}, {false, false}}},
        {"keydown left_ctrl\nkey b shift\nkeyup left_ctrl\n",
         {{false, true}, {true, true}, {false, true}, {false, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        ResetInputLog();
        ASSERT_TRUE(OpenInputScriptText(c.script));
        SDL_Event e;
        for (size_t i = 0; i < c.held.size(); ++i) {
            ASSERT_EQ(LoggedPollEvent(&e), 1) << i;
            EXPECT_EQ((LoggedGetModState() & KMOD_SHIFT) != 0, c.held[i].first) << i;
            EXPECT_EQ((LoggedGetModState() & KMOD_CTRL) != 0, c.held[i].second) << i;
        }
    }
}

// Tests that feed real events through SDL's own queue (the dummy video driver has one).
class RealInputTest : public InputLogTest {
protected:
    void SetUp() override {
        ownVideo_ = SDL_WasInit(SDL_INIT_VIDEO) == 0;
        if (ownVideo_) {
            ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        }
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
        InputLogTest::SetUp();
    }
    void TearDown() override {
        InputLogTest::TearDown();
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
        if (ownVideo_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    static void PushKey(SDLKey key, SDLMod mods, bool down) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.type = e.type;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = key;
        e.key.keysym.mod = mods;
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }
    static void PushButton(int button, int x, int y, bool down) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.type = e.type;
        e.button.button = static_cast<Uint8>(button);
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = static_cast<Uint16>(x);
        e.button.y = static_cast<Uint16>(y);
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }

    bool ownVideo_ = false;
};

// What one frame of a session saw: the clock, the input events delivered and the state
// read after them.
struct FrameSeen {
    Uint32 ticks;
    std::vector<std::string> events;
    SDLMod mods;
    int mouseX, mouseY;
    bool operator==(const FrameSeen& o) const {
        return ticks == o.ticks && events == o.events && mods == o.mods && mouseX == o.mouseX &&
               mouseY == o.mouseY;
    }
};

std::string Describe(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return std::string(e.type == SDL_KEYDOWN ? "down " : "up ") + std::to_string(e.key.keysym.sym) + " " +
               std::to_string(e.key.keysym.mod);
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return std::string(e.type == SDL_MOUSEBUTTONDOWN ? "press " : "release ") + std::to_string(e.button.button) +
               " " + std::to_string(e.button.x) + "," + std::to_string(e.button.y);
    case SDL_QUIT:
        return "quit";
    default:
        return "";
    }
}

// One frame: present, then poll until nothing is pending.
FrameSeen PlayFrame() {
    PresentFrame(nullptr);
    FrameSeen seen;
    seen.ticks = LoggedGetTicks();
    SDL_Event e;
    while (LoggedPollEvent(&e)) {
        const std::string text = Describe(e);
        if (!text.empty()) seen.events.push_back(text);
    }
    seen.mods = LoggedGetModState();
    LoggedGetMouseState(&seen.mouseX, &seen.mouseY);
    return seen;
}

TEST_F(RealInputTest, ARecordedRealSessionReplaysWithItsSeedClockAndInput) {
    TempDir dir;
    // A real session: the real clock and events from SDL's queue, arriving between frames.
    ASSERT_TRUE(OpenInputRecord(dir.file("rec.txt")));
    SDL_Delay(7);
    SeedRandomGenerators();
    const uint32_t firstDraw = MTRandom32();
    const int firstCDraw = CRand();
    std::vector<FrameSeen> live;
    for (int frame = 0; frame < 40; ++frame) {
        if (frame == 3) PushButton(1, 30, 40, true);
        if (frame == 4) PushButton(1, 30, 41, false);
        if (frame == 10) {
            PushKey(SDLK_LSHIFT, KMOD_LSHIFT, true);
            PushKey(SDLK_x, KMOD_LSHIFT, true);
        }
        if (frame == 11) PushKey(SDLK_x, KMOD_LSHIFT, false);
        if (frame == 17) PushKey(SDLK_LSHIFT, KMOD_NONE, false);
        if (frame % 9 == 0) SDL_Delay(5);  // uneven frame times
        live.push_back(PlayFrame());
    }
    CloseInputLog();
    const std::string recording = ReadWholeFile(dir.file("rec.txt"));

    ResetInputLog();
    ASSERT_TRUE(OpenInputScript(dir.file("rec.txt"))) << recording;
    SeedRandomGenerators();
    EXPECT_EQ(MTRandom32(), firstDraw) << recording;
    EXPECT_EQ(CRand(), firstCDraw) << recording;
    for (size_t i = 0; i < live.size(); ++i) {
        const FrameSeen replayed = PlayFrame();
        EXPECT_TRUE(replayed == live[i]) << "frame " << i << ": ticks " << replayed.ticks << " against "
                                         << live[i].ticks << "\n" << recording;
    }
}

TEST_F(RealInputTest, AfterTheScriptTheRealDevicesAndClockTakeOver) {
    ASSERT_TRUE(OpenInputScriptText("wait 32\nkey a\nmove 70 80\n"));
    PushKey(SDLK_b, KMOD_NONE, true);  // dropped: the script is playing
    std::vector<std::string> events;
    for (int frame = 0; frame < 4; ++frame) {
        for (const std::string& e : PlayFrame().events) events.push_back(e);
    }
    EXPECT_EQ(events, (std::vector<std::string>{"down 97 0", "up 97 0"}));
    EXPECT_FALSE(InputScriptActive());

    // The pointer stays where the script left it until the real mouse says otherwise.
    int x = 0, y = 0;
    LoggedGetMouseState(&x, &y);
    EXPECT_EQ(x, 70);
    EXPECT_EQ(y, 80);
    PushKey(SDLK_c, KMOD_NONE, true);
    SDL_Event e;
    ASSERT_EQ(LoggedPollEvent(&e), 1);
    EXPECT_EQ(Describe(e), "down 99 0");

    // The clock runs in real time again, on from where the script's clock stood.
    const Uint32 before = LoggedGetTicks();
    EXPECT_GE(before, 32u);
    SDL_Delay(30);
    EXPECT_GE(LoggedGetTicks(), before + 25);
}

TEST_F(RealInputTest, ARealQuitRequestIsHonouredWhileAScriptPlays) {
    ASSERT_TRUE(OpenInputScriptText("wait 100000\nkey a\n"));
    PushKey(SDLK_b, KMOD_NONE, true);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    EXPECT_EQ(PlayFrame().events, std::vector<std::string>{"quit"});
    EXPECT_TRUE(InputScriptActive());
    EXPECT_TRUE(PlayFrame().events.empty());
}

}  // namespace

// Music through the OpenAL null device: intros and loops, single plays, fades and their
// modes, switching music off and on, the volume, and shutting down.
#include <gtest/gtest.h>

#include <AL/al.h>
#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "media/audio_device.h"
#include "media/music.h"

namespace {

std::string Fixture(const char* name) {
    return std::string(VAULTMERE_SOURCE_DIR) + "/tests/media/music_fixtures/" + name;
}

std::string Tune(const char* name) {
    return std::string(VAULTMERE_SOURCE_DIR) + "/data/tunes/" + name;
}

// Polls until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return condition();
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class MusicTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 0);
        MusicFlag = 1;
        SetMusicEnabled(true);
        SetMusicVolume(100);
    }
    void TearDown() override {
        music_test::SetAfterUploadHook(nullptr);
        ShutdownAudio();
        music_test::UseRealClock();
        music_test::ForceSixteenBit(false);
        MusicFlag = 1;
        SetMusicEnabled(true);
        SetMusicVolume(100);
    }
    void StartWithThread() {
        InitMusic();
        ASSERT_TRUE(AudioDeviceAvailable());
        ASSERT_TRUE(music_test::ThreadRunning());
        music_test::ClearEvents();
    }
    void StartWithoutThread() {
        music_test::InitWithoutThread();
        ASSERT_TRUE(AudioDeviceAvailable());
        ASSERT_FALSE(music_test::ThreadRunning());
        music_test::ClearEvents();
    }
    static const MusicChannelState Channel(int i) { return music_test::Channel(i); }
};

struct LoopCase {
    const char* intro;
    const char* loop;
    std::string expected;  // the first track changes, in order
};

TEST_F(MusicTest, AnIntroPlaysOnceThenItsLoopRepeats) {
    const LoopCase cases[] = {
        {"intro.ogg", "loop.ogg",
         "open " + Fixture("intro.ogg") + "\nnext " + Fixture("loop.ogg") + "\nrewind " +
             Fixture("loop.ogg") + "\nrewind " + Fixture("loop.ogg") + "\n"},
        // With no loop file the intro loops itself.
        {"once.ogg", "",
         "open " + Fixture("once.ogg") + "\nrewind " + Fixture("once.ogg") + "\nrewind " +
             Fixture("once.ogg") + "\n"},
    };
    StartWithThread();
    for (const LoopCase& c : cases) {
        SCOPED_TRACE(c.intro);
        music_test::ClearEvents();
        const std::string loop = c.loop[0] ? Fixture(c.loop) : "";
        PlayMusic(Fixture(c.intro).c_str(), loop.c_str(), kMusicCut);
        ASSERT_TRUE(WaitFor([&] { return Count(music_test::Events(), "rewind ") >= 2; }, 3000))
            << music_test::Events();
        EXPECT_EQ(music_test::Events().substr(0, c.expected.size()), c.expected);
        EXPECT_FALSE(Contains(music_test::Events(), "end "));
        const MusicChannelState ch = Channel(0).current ? Channel(0) : Channel(1);
        EXPECT_TRUE(ch.current);
        EXPECT_TRUE(ch.loop);
        EXPECT_EQ(ch.sourceState, AL_PLAYING);
        EXPECT_FLOAT_EQ(ch.gain, 1.0f);
    }
}

struct FormatChangeCase {
    const char* what;
    std::string intro;
    std::string loop;
    int32_t channels;  // of the loop file
    int32_t rate;
};

// OpenAL queues only buffers of one format on a source: where the loop file differs from the
// intro in sample rate or channel count, the source is restarted with the new format once the
// intro has played out, and the loop goes on for good.
TEST_F(MusicTest, AnIntroAndLoopOfDifferentFormatsKeepPlaying) {
    const FormatChangeCase cases[] = {
        {"mono 8 kHz intro, stereo 11 kHz loop, change in the first two buffers", Fixture("intro.ogg"),
         Fixture("stereo.ogg"), 2, 11025},
        {"stereo intro, mono loop", Fixture("stereo.ogg"), Fixture("intro.ogg"), 1, 8000},
        {"change while playing (1.5 s intro)", Tune("thief-open.ogg"), Fixture("stereo.ogg"), 2, 11025},
    };
    StartWithThread();
    for (const FormatChangeCase& c : cases) {
        SCOPED_TRACE(c.what);
        music_test::ClearEvents();
        PlayMusic(c.intro.c_str(), c.loop.c_str(), kMusicCut);
        ASSERT_TRUE(WaitFor([&] { return Count(music_test::Events(), "rewind " + c.loop) >= 2; }, 6000))
            << music_test::Events();
        EXPECT_TRUE(Contains(music_test::Events(), "next " + c.loop));
        EXPECT_FALSE(Contains(music_test::Events(), "end "));
        const MusicChannelState ch = Channel(0).current ? Channel(0) : Channel(1);
        EXPECT_TRUE(ch.current);
        EXPECT_EQ(ch.channels, c.channels);
        EXPECT_EQ(ch.rate, c.rate);
        EXPECT_EQ(ch.sourceState, AL_PLAYING);
        EXPECT_EQ(ch.queued, ch.sourceQueued);  // the count never drifts from the source's
        EXPECT_GT(ch.queued, 0);
        EXPECT_EQ(ch.held, 0);  // nothing waits once the loop plays
    }
}

int UploadsSeen = 0;

// An OpenAL error raised by the main thread (a sound effect, say) while the music thread uploads:
// simulated by a hook that runs right after the upload.
void MainThreadErrorOnFirstUpload() {
    if (UploadsSeen++ == 0) alSourcei(0xFFFFFFF0u, AL_LOOPING, AL_FALSE);  // no such source
}

TEST_F(MusicTest, AnOpenALErrorOfTheMainThreadNeitherSkipsATrackNorIsSwallowed) {
    StartWithoutThread();
    ASSERT_EQ(alGetError(), AL_NO_ERROR);
    UploadsSeen = 0;
    music_test::SetAfterUploadHook(MainThreadErrorOnFirstUpload);
    const std::string intro = Tune("thief-open.ogg");  // longer than the two first buffers
    PlayMusic(intro.c_str(), Fixture("loop.ogg").c_str(), kMusicCut);
    music_test::SetAfterUploadHook(nullptr);
    EXPECT_GE(UploadsSeen, 2);
    EXPECT_EQ(music_test::Events(), "open " + intro + "\n");  // the intro was not skipped
    const MusicChannelState ch = Channel(0);
    EXPECT_EQ(ch.track, intro);
    EXPECT_EQ(ch.queued, 2);
    EXPECT_EQ(ch.sourceQueued, 2);
    EXPECT_EQ(alGetError(), AL_INVALID_NAME);  // still there for the code that caused it
}

TEST_F(MusicTest, ASinglePlayEndsAfterItsLastBufferAndFreesItsChannel) {
    StartWithThread();
    PlayMusicOnce(Fixture("once.ogg").c_str(), kMusicCut);
    EXPECT_EQ(CurrentMusicIntro(), Fixture("once.ogg"));
    EXPECT_EQ(CurrentMusicLoop(), "");
    const MusicChannelState started = Channel(0);
    EXPECT_TRUE(started.active);
    EXPECT_TRUE(started.current);
    EXPECT_FALSE(started.loop);
    EXPECT_EQ(started.sourceState, AL_PLAYING);

    ASSERT_TRUE(WaitFor([&] { return !Channel(0).active; }, 3000));
    EXPECT_FALSE(Channel(0).current);
    EXPECT_EQ(music_test::Events(), "open " + Fixture("once.ogg") + "\nend " + Fixture("once.ogg") + "\n");

    // The freed channel takes the next track.
    PlayMusicOnce(Fixture("once.ogg").c_str(), kMusicCut);
    EXPECT_TRUE(Channel(0).current);
    EXPECT_FALSE(Channel(1).active);
}

struct GainStep {
    uint32_t now;
    int volume;        // set before the pass, -1 for none
    bool oldActive;
    float oldGain;
    float newGain;
};

// Playing track on channel 0 from a cut at 10000; a cross-fade to channel 1 starts at 20000:
// the old one fades out over 500 ms and stops, the new one fades in over 2000 ms.
TEST_F(MusicTest, ACrossFadeMovesBothGainsOverTheFadeWindows) {
    StartWithoutThread();
    music_test::SetClock(10000);
    PlayMusic(Fixture("loop.ogg").c_str(), "", kMusicCut);
    EXPECT_TRUE(Channel(0).current);
    EXPECT_FLOAT_EQ(Channel(0).gain, 1.0f);

    music_test::SetClock(20000);
    PlayMusic(Fixture("intro.ogg").c_str(), Fixture("loop.ogg").c_str(), kMusicCrossFade);
    EXPECT_TRUE(Channel(0).fading);
    EXPECT_FALSE(Channel(0).current);
    EXPECT_TRUE(Channel(1).current);
    EXPECT_FLOAT_EQ(Channel(1).gain, 0.0f);
    EXPECT_TRUE(Channel(1).loop);

    const GainStep steps[] = {
        {20125, -1, true, 0.75f, 0.0625f},
        {20250, -1, true, 0.5f, 0.125f},
        {20250, 50, true, 0.25f, 0.0625f},  // a new volume scales both at once
        {20250, 100, true, 0.5f, 0.125f},
        {20375, -1, true, 0.25f, 0.1875f},
        {20500, -1, false, 0.0f, 0.25f},
        {21000, -1, false, 0.0f, 0.5f},
        {22000, -1, false, 0.0f, 1.0f},
        {25000, -1, false, 0.0f, 1.0f},
    };
    for (const GainStep& s : steps) {
        SCOPED_TRACE(s.now);
        music_test::SetClock(s.now);
        if (s.volume >= 0) {
            SetMusicVolume(s.volume);
        } else {
            music_test::RunPass();
        }
        EXPECT_EQ(Channel(0).active, s.oldActive);
        EXPECT_EQ(Channel(0).fading, s.oldActive);
        if (s.oldActive) {
            EXPECT_NEAR(Channel(0).gain, s.oldGain, 1e-5);
        }
        EXPECT_TRUE(Channel(1).current);
        EXPECT_NEAR(Channel(1).gain, s.newGain, 1e-5);
    }
}

TEST_F(MusicTest, ASecondStartWithinTheFadeStopsTheFadingTrackAtOnce) {
    StartWithoutThread();
    music_test::SetClock(1000);
    PlayMusic(Fixture("loop.ogg").c_str(), "", kMusicCut);  // channel 0
    music_test::SetClock(2000);
    PlayMusic(Fixture("once.ogg").c_str(), "");  // channel 1, channel 0 fades
    music_test::SetClock(2100);
    PlayMusic(Fixture("intro.ogg").c_str(), "");  // 0 stops, 1 fades, 0 takes the new track
    EXPECT_TRUE(Channel(0).current);
    EXPECT_EQ(Channel(0).track, Fixture("intro.ogg"));
    EXPECT_FLOAT_EQ(Channel(0).gain, 0.0f);
    EXPECT_TRUE(Channel(1).fading);
    EXPECT_EQ(Channel(1).track, Fixture("once.ogg"));
}

// A track that cannot be opened: after a fade-out the old track stays silent and stopped; a
// cut keeps the old track playing.
TEST_F(MusicTest, ANewTrackThatCannotBeOpenedLeavesSilenceAfterAFade) {
    for (int32_t mode : {kMusicCrossFade, kMusicFadeThenStart, kMusicCut}) {
        SCOPED_TRACE(mode);
        StartWithoutThread();
        music_test::SetClock(1000);
        PlayMusic(Fixture("loop.ogg").c_str(), "", kMusicCut);
        music_test::SetClock(2000);
        PlayMusic(Fixture("missing.ogg").c_str(), "", mode);
        for (uint32_t t : {2250u, 2500u, 3000u, 6000u}) {
            music_test::SetClock(t);
            music_test::RunPass();
            if (mode == kMusicCut) {
                EXPECT_TRUE(Channel(0).current);
                EXPECT_FLOAT_EQ(Channel(0).gain, 1.0f);
            } else if (t == 2250u) {
                EXPECT_TRUE(Channel(0).fading);
                EXPECT_NEAR(Channel(0).gain, 0.5f, 1e-5);
            } else {
                EXPECT_FALSE(Channel(0).active) << t;
                EXPECT_FALSE(Channel(0).current) << t;
            }
            EXPECT_FALSE(Channel(1).active);
        }
        // A missing loop file behind a good intro is refused the same way.
        PlayMusic(Fixture("intro.ogg").c_str(), Fixture("missing.ogg").c_str(), kMusicCut);
        EXPECT_NE(Channel(0).track, Fixture("intro.ogg"));
        EXPECT_NE(Channel(1).track, Fixture("intro.ogg"));
        EXPECT_EQ(Channel(0).current, mode == kMusicCut);
        ShutdownAudio();
    }
}

TEST_F(MusicTest, FadeThenStartWaitsForTheFadeOut) {
    StartWithoutThread();
    music_test::SetClock(1000);
    PlayMusic(Fixture("loop.ogg").c_str(), "", kMusicCut);
    music_test::SetClock(2000);
    PlayMusic(Fixture("once.ogg").c_str(), "", kMusicFadeThenStart);
    EXPECT_TRUE(Channel(0).fading);
    EXPECT_TRUE(Channel(1).pending);
    EXPECT_NE(Channel(1).sourceState, AL_PLAYING);

    music_test::SetClock(2250);
    music_test::RunPass();
    EXPECT_TRUE(Channel(1).pending);
    EXPECT_NEAR(Channel(0).gain, 0.5f, 1e-5);

    music_test::SetClock(2500);
    music_test::RunPass();
    EXPECT_FALSE(Channel(0).active);
    EXPECT_TRUE(Channel(1).current);
    EXPECT_EQ(Channel(1).sourceState, AL_PLAYING);
    music_test::SetClock(3500);
    music_test::RunPass();
    EXPECT_NEAR(Channel(1).gain, 0.5f, 1e-5);

    // With nothing playing there is nothing to wait for: it fades in at once.
    StopMusic();
    music_test::SetClock(5000);
    music_test::RunPass();
    PlayMusic(Fixture("loop.ogg").c_str(), "", kMusicFadeThenStart);
    const MusicChannelState ch = Channel(0).current ? Channel(0) : Channel(1);
    EXPECT_TRUE(ch.current);
    EXPECT_EQ(ch.sourceState, AL_PLAYING);
}

TEST_F(MusicTest, StopMusicFadesOutAndDropsTheWaitingTrack) {
    StartWithoutThread();
    music_test::SetClock(1000);
    PlayMusic(Fixture("loop.ogg").c_str(), "", kMusicCut);
    music_test::SetClock(2000);
    PlayMusic(Fixture("once.ogg").c_str(), "", kMusicFadeThenStart);
    StopMusic();
    EXPECT_EQ(CurrentMusicIntro(), "");
    EXPECT_FALSE(Channel(1).active);
    EXPECT_TRUE(Channel(0).fading);
    music_test::SetClock(2600);
    music_test::RunPass();
    EXPECT_FALSE(Channel(0).active);
    EXPECT_FALSE(Channel(1).active);
}

TEST_F(MusicTest, SwitchingMusicOffDrainsTheQueueAndOnResumesTheSameStream) {
    StartWithThread();
    PlayMusic(Fixture("loop.ogg").c_str(), "", kMusicCut);
    ASSERT_TRUE(WaitFor([&] { return Count(music_test::Events(), "rewind ") >= 1; }, 3000));

    SetMusicEnabled(false);
    ASSERT_TRUE(WaitFor([&] { return Channel(0).sourceState == AL_STOPPED; }, 3000));
    const std::string drained = music_test::Events();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(music_test::Events(), drained);  // nothing refilled while off
    EXPECT_EQ(Channel(0).sourceState, AL_STOPPED);
    EXPECT_TRUE(Channel(0).current);

    PlayMusic(Fixture("intro.ogg").c_str(), "", kMusicCut);  // no new track while off
    EXPECT_EQ(Channel(0).track, Fixture("loop.ogg"));
    EXPECT_FALSE(Channel(1).active);

    SetMusicEnabled(true);
    ASSERT_TRUE(WaitFor([&] { return Channel(0).sourceState == AL_PLAYING; }, 3000));
    ASSERT_TRUE(WaitFor([&] { return Count(music_test::Events(), "rewind ") > Count(drained, "rewind "); }, 3000));
    EXPECT_EQ(Channel(0).track, Fixture("loop.ogg"));
    EXPECT_FALSE(Contains(music_test::Events(), "open " + Fixture("intro.ogg")));
}

TEST_F(MusicTest, ALoopingFileWithoutAudioIsNotReopenedForEver) {
    StartWithoutThread();
    PlayMusic(Fixture("empty.ogg").c_str(), "", kMusicCut);
    for (int i = 0; i < 5; ++i) music_test::RunPass();
    EXPECT_LE(Count(music_test::Events(), "rewind "), 1u) << music_test::Events();
    EXPECT_FALSE(Channel(0).active);
    // An intro followed by a silent loop file plays the intro, then ends.
    StartWithoutThread();
    music_test::ClearEvents();
    PlayMusic(Fixture("once.ogg").c_str(), Fixture("empty.ogg").c_str(), kMusicCut);
    ASSERT_TRUE(WaitFor([&] {
        music_test::RunPass();
        return !Channel(0).active;
    }, 3000));
    EXPECT_LE(Count(music_test::Events(), "rewind "), 1u) << music_test::Events();
}

TEST_F(MusicTest, SixteenBitUploadsWhenFloatIsNotUsed) {
    StartWithThread();
    EXPECT_TRUE(music_test::Float32InUse());  // the null device has the float extension
    for (bool sixteen : {true, false}) {
        music_test::ForceSixteenBit(sixteen);
        EXPECT_EQ(music_test::Float32InUse(), !sixteen);
        music_test::ClearEvents();
        PlayMusic(Fixture("stereo.ogg").c_str(), "", kMusicCut);
        ASSERT_TRUE(WaitFor([&] { return Count(music_test::Events(), "rewind ") >= 1; }, 3000));
        const MusicChannelState ch = Channel(0).current ? Channel(0) : Channel(1);
        EXPECT_EQ(ch.channels, 2);
        EXPECT_EQ(ch.sourceState, AL_PLAYING);
    }
}

TEST_F(MusicTest, ShutdownJoinsTheThreadPromptlyAndLaterCallsDoNothing) {
    StartWithThread();
    PlayMusic(Fixture("intro.ogg").c_str(), Fixture("loop.ogg").c_str(), kMusicCrossFade);
    PlayMusic(Fixture("loop.ogg").c_str(), "", kMusicCrossFade);
    const auto start = std::chrono::steady_clock::now();
    ShutdownAudio();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 500);
    EXPECT_FALSE(music_test::ThreadRunning());
    EXPECT_FALSE(AudioDeviceAvailable());
    EXPECT_FALSE(Channel(0).active);
    EXPECT_FALSE(Channel(1).active);

    PlayMusic(Fixture("loop.ogg").c_str(), "");
    PlayMusicOnce(Fixture("once.ogg").c_str());
    StopMusic();
    SetMusicVolume(30);
    EXPECT_EQ(GetMusicVolume(), 30);
    ShutdownAudio();  // a second shutdown is harmless
}

// With no device every call is a no-op that still keeps the settings.
TEST_F(MusicTest, WithoutADeviceEveryCallIsSafe) {
    EXPECT_FALSE(InitAudioDeviceNamed("no such audio device"));
    InitMusic();
    EXPECT_FALSE(music_test::ThreadRunning());
    PlayMusic(Fixture("loop.ogg").c_str(), "");
    EXPECT_EQ(CurrentMusicIntro(), Fixture("loop.ogg"));
    PlayMusicOnce(Fixture("once.ogg").c_str(), kMusicCut);
    SetMusicVolume(40);
    EXPECT_EQ(GetMusicVolume(), 40);
    SetMusicEnabled(false);
    SetMusicEnabled(true);
    music_test::RunPass();
    StopMusic();
    EXPECT_FALSE(Channel(0).active);
    EXPECT_FALSE(Channel(1).active);
}

// Volumes are kept as integer percents: they read back exactly however often they are
// written, and switching music off (or starting with it disabled) never writes 0 over them.
TEST_F(MusicTest, VolumesReadBackExactlyAndSurviveMusicBeingOff) {
    for (int percent = 0; percent <= 100; ++percent) {
        int value = percent;
        for (int round = 0; round < 100; ++round) {
            SetMusicVolume(value);
            value = GetMusicVolume();
        }
        EXPECT_EQ(value, percent);
        EXPECT_FLOAT_EQ(MusicGain, static_cast<float>(percent / 100.0));
    }
    SetMusicVolume(29);
    MusicFlag = 0;
    EXPECT_EQ(GetMusicVolume(), 0);
    SetMusicVolume(0);
    MusicFlag = 1;
    EXPECT_EQ(GetMusicVolume(), 29);

    SetMusicEnabled(false);
    InitMusic();
    EXPECT_EQ(GetMusicVolume(), 29);
    SetMusicEnabled(true);
}

// Every public call gives the mutex back, whichever way it leaves: another thread can take it.
TEST_F(MusicTest, EveryCallReleasesTheMutexOnEveryPath) {
    StartWithThread();
    const std::function<void()> calls[] = {
        [] { PlayMusic(nullptr, nullptr); },
        [] { PlayMusic(Fixture("missing.ogg").c_str(), ""); },
        [] { PlayMusic(Fixture("intro.ogg").c_str(), Fixture("missing.ogg").c_str(), kMusicCut); },
        [] { PlayMusic(Fixture("loop.ogg").c_str(), "", 7); },
        [] { PlayMusicOnce(nullptr); },
        [] { PlayMusicOnce(Fixture("once.ogg").c_str(), kMusicFadeThenStart); },
        [] { StopMusic(); },
        [] { SetMusicVolume(-3); },
        [] { GetMusicVolume(); },
        [] { SetMusicEnabled(false); },
        [] { PlayMusic(Fixture("loop.ogg").c_str(), ""); },
        [] { SetMusicEnabled(true); },
        [] { MusicFlag = 0; },
        [] { PlayMusic(Fixture("loop.ogg").c_str(), ""); },
        [] { PlayMusicOnce(Fixture("loop.ogg").c_str()); },
        [] { StopMusic(); },
        [] { SetMusicVolume(50); },
        [] { GetMusicVolume(); },
        [] { SetMusicEnabled(true); },
        [] { MusicFlag = 1; },
    };
    int index = 0;
    for (const auto& call : calls) {
        call();
        auto done = std::make_shared<std::atomic<bool>>(false);
        std::thread other([done] {
            music_test::Events();  // takes the mutex
            *done = true;
        });
        const bool taken = WaitFor([&] { return done->load(); }, 2000);
        EXPECT_TRUE(taken) << "call " << index << " kept the music mutex";
        if (!taken) {
            other.detach();
            return;
        }
        other.join();
        ++index;
    }
}

}  // namespace

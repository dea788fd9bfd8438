// Sound effects through OpenAL (the null driver): the effect table, the eight-source round
// robin, the effect volume and what happens with files that cannot be played.
#include <AL/al.h>
#include <gtest/gtest.h>

#include <string>

#include "media/audio_device.h"
#include "media/music.h"
#include "media/sound.h"
#include "media/wav_builder.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

using namespace wavtest;

class SoundEffectsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SoundEnabled = 1;
        SetSFXVolume(100);
        ShutdownSFX();
        ASSERT_TRUE(InitAudioDevice()) << "the null OpenAL driver should open";
        cwd_.reset(new ScopedWorkingDir(dir_.path()));
        ASSERT_TRUE(cwd_->ok());
    }
    void TearDown() override {
        ShutdownSFX();
        cwd_.reset();
        SoundEnabled = 1;
        SetSFXVolume(100);
    }

    // Writes a WAV file (relative to the working directory, which is the temp folder).
    void WriteFile(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(MakeFileWithParents(dir_.file(name), bytes)) << name;
    }

    static ALint BufferSize(ALuint buffer) {
        ALint size = -1;
        alGetBufferi(buffer, AL_SIZE, &size);
        return size;
    }
    static ALint SourceBuffer(int index) {
        ALint buffer = -1;
        alGetSourcei(SoundSourceName(index), AL_BUFFER, &buffer);
        return buffer;
    }
    static ALint SourceState(int index) {
        ALint state = 0;
        alGetSourcei(SoundSourceName(index), AL_SOURCE_STATE, &state);
        return state;
    }

    TempDir dir_;
    std::unique_ptr<ScopedWorkingDir> cwd_;
};

TEST_F(SoundEffectsTest, NinthEffectTakesTheFirstSourceAgain) {
    WriteFile("sfx/long.wav", SimpleWav(22050));   // one second: still playing when reused
    WriteFile("sfx/other.wav", SimpleWav(11025));
    LoadSoundEffect("long", "sfx/long.wav");
    LoadSoundEffect("other", "sfx/other.wav");
    ASSERT_EQ(SoundEffectCount(), 2u);
    const ALuint longBuffer = SoundEffectBuffer("long");
    const ALuint otherBuffer = SoundEffectBuffer("other");

    EXPECT_EQ(SoundSourceName(0), 0u) << "sources are made on the first effect";
    for (int i = 0; i < kSoundSourceCount; ++i) {
        EXPECT_EQ(NextSoundSourceIndex(), i);
        PlaySFX("long");
    }
    EXPECT_EQ(NextSoundSourceIndex(), 0);
    for (int i = 0; i < kSoundSourceCount; ++i) {
        ASSERT_NE(SoundSourceName(i), 0u);
        for (int j = 0; j < i; ++j) EXPECT_NE(SoundSourceName(i), SoundSourceName(j));
        EXPECT_EQ(SourceBuffer(i), static_cast<ALint>(longBuffer)) << i;
        EXPECT_EQ(SourceState(i), AL_PLAYING) << i;
    }

    PlaySFX("other");  // the ninth: cuts the first source off and plays there
    EXPECT_EQ(NextSoundSourceIndex(), 1);
    EXPECT_EQ(SourceBuffer(0), static_cast<ALint>(otherBuffer));
    EXPECT_EQ(SourceState(0), AL_PLAYING);
    for (int i = 1; i < kSoundSourceCount; ++i) EXPECT_EQ(SourceBuffer(i), static_cast<ALint>(longBuffer)) << i;
}

TEST_F(SoundEffectsTest, UnknownNamesPlayNothing) {
    WriteFile("a.wav", SimpleWav(100));
    LoadSoundEffect("known", "a.wav");
    PlaySFX("unknown");
    PlaySFX("");
    PlaySFX(nullptr);
    PlaySFX("KNOWN");  // names are compared byte for byte
    EXPECT_EQ(SoundSourceName(0), 0u) << "no source was needed";
    EXPECT_EQ(NextSoundSourceIndex(), 0);
    PlaySFX("known");
    EXPECT_EQ(NextSoundSourceIndex(), 1);
    PlaySFX("unknown");
    EXPECT_EQ(NextSoundSourceIndex(), 1);
}

TEST_F(SoundEffectsTest, FirstDefinitionOfANameWins) {
    WriteFile("sfx/first.wav", SimpleWav(100));
    WriteFile("sfx/second.wav", SimpleWav(300));
    const std::string xml =
        "<soundfx>\n"
        "  <sound name=\"thud\" wave=\"sfx/first.wav\"/>\n"
        "  <sound name=\"thud\" wave=\"sfx/second.wav\"/>\n"
        "  <sound name=\"later\" wave=\"sfx/second.wav\" extra=\"ignored\"/>\n"
        "  <other name=\"notasound\" wave=\"sfx/first.wav\"/>\n"
        "</soundfx>\n";
    EXPECT_TRUE(LoadSFXFromText(xml.data(), xml.size()));
    EXPECT_EQ(SoundEffectCount(), 2u);
    EXPECT_EQ(BufferSize(SoundEffectBuffer("thud")), 200);
    EXPECT_EQ(BufferSize(SoundEffectBuffer("later")), 600);
    EXPECT_EQ(SoundEffectBuffer("notasound"), 0u);

    // Loading the same list again changes nothing.
    const ALuint thud = SoundEffectBuffer("thud");
    EXPECT_TRUE(LoadSFXFromText(xml.data(), xml.size()));
    EXPECT_EQ(SoundEffectCount(), 2u);
    EXPECT_EQ(SoundEffectBuffer("thud"), thud);
}

TEST_F(SoundEffectsTest, MissingOrUnplayableFilesLeaveTheNameUndefined) {
    WriteFile("good.wav", SimpleWav(50));
    WriteFile("deep.wav", Riff(Chunk("fmt ", FmtBody(1, 1, 22050, 24)) + Chunk("data", std::string(9, 's'))));
    WriteFile("cut.wav", SimpleWav(50).substr(0, 60));
    WriteFile("empty.wav", "");
    WriteFile("text.wav", "this is not a sound");
    LoadSoundEffect("missing", "no/such/file.wav");
    LoadSoundEffect("deep", "deep.wav");
    LoadSoundEffect("cut", "cut.wav");
    LoadSoundEffect("empty", "empty.wav");
    LoadSoundEffect("text", "text.wav");
    LoadSoundEffect("folder", "sfx");
    EXPECT_EQ(SoundEffectCount(), 0u);
    for (const char* name : {"missing", "deep", "cut", "empty", "text", "folder"}) {
        EXPECT_EQ(SoundEffectBuffer(name), 0u) << name;
        PlaySFX(name);
    }
    EXPECT_EQ(NextSoundSourceIndex(), 0);

    // A name that failed once can still be defined by a later entry with a good file.
    LoadSoundEffect("missing", "good.wav");
    const ALuint buffer = SoundEffectBuffer("missing");
    ASSERT_NE(buffer, 0u);
    EXPECT_TRUE(alIsBuffer(buffer));
    EXPECT_EQ(BufferSize(buffer), 100);
}

TEST_F(SoundEffectsTest, WaveNamesMissingOnCaseAreFoundIgnoringCase) {
    WriteFile("Sfx/Chime.WAV", SimpleWav(40));
    LoadSoundEffect("chime", "sfx/chime.wav");
    EXPECT_NE(SoundEffectBuffer("chime"), 0u);
}

TEST_F(SoundEffectsTest, BrokenListKeepsWhatCameBeforeTheError) {
    WriteFile("a.wav", SimpleWav(10));
    WriteFile("b.wav", SimpleWav(20));
    const std::string xml =
        "<soundfx><sound name=\"a\" wave=\"a.wav\"/><sound wave=\"b.wav\"/><sound name=\"x\" "
        "wave=\"b.wav\"></oops><sound name=\"b\" wave=\"b.wav\"/></soundfx>";
    EXPECT_FALSE(LoadSFXFromText(xml.data(), xml.size()));
    EXPECT_NE(SoundEffectBuffer("a"), 0u);
    EXPECT_NE(SoundEffectBuffer(""), 0u) << "a sound without a name is defined under the empty name";
    EXPECT_NE(SoundEffectBuffer("x"), 0u);
    EXPECT_EQ(SoundEffectBuffer("b"), 0u);
}

TEST_F(SoundEffectsTest, EffectsStartAtTheVolumeSetBeforehand) {
    WriteFile("a.wav", SimpleWav(22050));
    LoadSoundEffect("a", "a.wav");
    SetSFXVolume(50);
    PlaySFX("a");
    SetSFXVolume(150);
    PlaySFX("a");
    SetSFXVolume(-5);
    PlaySFX("a");
    const float expected[] = {0.5f, 1.0f, 0.0f};
    for (int i = 0; i < 3; ++i) {
        ALfloat gain = -1;
        alGetSourcef(SoundSourceName(i), AL_GAIN, &gain);
        EXPECT_FLOAT_EQ(gain, expected[i]) << i;
    }
}

TEST_F(SoundEffectsTest, SoundOffLoadsAndPlaysNothing) {
    WriteFile("a.wav", SimpleWav(10));
    const std::string xml = "<soundfx><sound name=\"a\" wave=\"a.wav\"/></soundfx>";
    SoundEnabled = 0;
    LoadSoundEffect("a", "a.wav");
    LoadSFXFromText(xml.data(), xml.size());
    EXPECT_EQ(SoundEffectCount(), 0u);
    SoundEnabled = 1;
    LoadSoundEffect("a", "a.wav");
    SoundEnabled = 0;
    PlaySFX("a");
    EXPECT_EQ(SoundSourceName(0), 0u);
    EXPECT_EQ(GetSFXVolume(), 0);
}

TEST_F(SoundEffectsTest, ShutdownReleasesSourcesAndBuffers) {
    WriteFile("a.wav", SimpleWav(10));
    LoadSoundEffect("a", "a.wav");
    const ALuint buffer = SoundEffectBuffer("a");
    PlaySFX("a");
    PlaySFX("a");
    const ALuint source = SoundSourceName(0);
    ASSERT_TRUE(alIsSource(source));
    ShutdownSFX();
    EXPECT_FALSE(alIsSource(source));
    EXPECT_FALSE(alIsBuffer(buffer));
    EXPECT_EQ(SoundEffectCount(), 0u);
    EXPECT_EQ(SoundSourceName(0), 0u);
    EXPECT_EQ(NextSoundSourceIndex(), 0);
    PlaySFX("a");  // gone: nothing plays, nothing breaks
    EXPECT_EQ(SoundSourceName(0), 0u);

    // Loaded again, the sources are made anew and the round robin starts at 0.
    LoadSoundEffect("a", "a.wav");
    PlaySFX("a");
    EXPECT_NE(SoundSourceName(0), 0u);
    EXPECT_EQ(NextSoundSourceIndex(), 1);
}

// Without an OpenAL device every effect call is a no-op and the failure is told once.
TEST(SoundWithoutDevice, EveryCallIsANoOp) {
    TempDir dir;
    ScopedWorkingDir cwd(dir.path());
    ASSERT_TRUE(MakeFileWithParents(dir.file("a.wav"), SimpleWav(100)));
    SoundEnabled = 1;
    ShutdownAudio();  // music, effects and the device

    testing::internal::CaptureStdout();
    EXPECT_FALSE(InitAudioDeviceNamed("no such OpenAL device"));
    EXPECT_FALSE(AudioDeviceAvailable());
    EXPECT_FALSE(InitAudioDevice()) << "a failed set-up is not tried again";
    const std::string xml = "<soundfx><sound name=\"a\" wave=\"a.wav\"/></soundfx>";
    LoadSFXFromText(xml.data(), xml.size());
    LoadSoundEffect("b", "a.wav");
    PlaySFX("a");
    SetSFXVolume(30);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "Failed to initialize OpenAL!\n");
    EXPECT_EQ(SoundEffectCount(), 0u);
    EXPECT_EQ(SoundSourceName(0), 0u);
    EXPECT_EQ(GetSFXVolume(), 30);
    ShutdownSFX();

    // After a shutdown the set-up may be tried again.
    ShutdownAudioDevice();
    testing::internal::CaptureStdout();
    EXPECT_TRUE(InitAudioDevice());
    EXPECT_NE(testing::internal::GetCapturedStdout().find("AL_RENDERER: "), std::string::npos);
    LoadSoundEffect("b", "a.wav");
    EXPECT_NE(SoundEffectBuffer("b"), 0u);
    ShutdownSFX();
    SetSFXVolume(100);
}

// Without an OpenAL device the game says so once and runs on in silence.
TEST(SoundWithoutDevice, GameRunsSilentlyWhenOpenALCannotStart) {
    TempDir user;
    WriteWholeFile(user.file("quit.txt"), kQuitFromMenuScript);
    GameRun run = RunGame({"-no-initial-config"}, user.path(),
                          {{"ALSOFT_DRIVERS", "no-such-driver"}, {"VAULTMERE_INPUT_SCRIPT", user.file("quit.txt")}});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    size_t count = 0;
    for (size_t at = run.output.find("Failed to initialize OpenAL!"); at != std::string::npos;
         at = run.output.find("Failed to initialize OpenAL!", at + 1)) {
        ++count;
    }
    EXPECT_EQ(count, 1u) << run.output;
    EXPECT_EQ(run.output.find("AL_VENDOR"), std::string::npos) << run.output;
}

TEST(SoundWithoutDevice, GameWithDeviceLoadsEveryEffectQuietly) {
    TempDir user;
    WriteWholeFile(user.file("quit.txt"), kQuitFromMenuScript);
    GameRun run = RunGame({"-no-initial-config"}, user.path(), {{"VAULTMERE_INPUT_SCRIPT", user.file("quit.txt")}});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("AL_VENDOR: "), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("Failed to initialize OpenAL!"), std::string::npos) << run.output;
}

}  // namespace

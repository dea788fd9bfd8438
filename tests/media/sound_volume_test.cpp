// The effect and music volumes survive being written to and read from config.xml on every
// run, whatever the gain truncation reads back, and runs with "-nosound" / "-nomusic" never
// write over them.
#include <gtest/gtest.h>

#include <string>

#include "core/command_state.h"
#include "core/user_config_fixture.h"

namespace {

std::string VolumeLine(const char* name, int value) {
    return std::string("<setting name=\"") + name + "\" value=\"" + std::to_string(value) + "\"/>\n";
}

// One run of the program as far as the configuration goes: start values, read, write.
void OneRun(bool sound, bool music) {
    ResetRunState();
    CmdLine.sound = sound;
    CmdLine.music = music;
    LoadConfig();
    WriteConfig();
}

class VolumeRoundTripTest : public UserConfigTest {};

TEST_F(VolumeRoundTripTest, AHundredRunsKeepEveryVolume) {
    for (int volume = 0; volume <= 100; ++volume) {
        ResetRunState();
        LoadConfig();
        SetConfiguredSFXVolume(volume);
        SetConfiguredMusicVolume(100 - volume);
        WriteConfig();
        for (int run = 0; run < 100; ++run) {
            // Every tenth run is started with the audio switched off on the command line.
            const bool silent = run % 10 == 9;
            OneRun(!silent, !silent);
        }
        const std::string file = ReadUserFile("config.xml");
        ASSERT_NE(file.find(VolumeLine("SFXVolume", volume)), std::string::npos) << volume << "\n" << file;
        ASSERT_NE(file.find(VolumeLine("VolumeMusic", 100 - volume)), std::string::npos) << volume << "\n" << file;
    }
}

TEST_F(VolumeRoundTripTest, TextRoundTripKeepsEveryVolume) {
    for (int volume = 0; volume <= 100; ++volume) {
        ResetRunState();
        SetConfiguredSFXVolume(volume);
        SetConfiguredMusicVolume(volume);
        std::string text = BuildConfigText();
        for (int run = 0; run < 100; ++run) {
            ResetRunState();
            ParseConfigText(text.data(), text.size());
            text = BuildConfigText();
        }
        EXPECT_NE(text.find(VolumeLine("SFXVolume", volume)), std::string::npos) << volume;
        EXPECT_NE(text.find(VolumeLine("VolumeMusic", volume)), std::string::npos) << volume;
    }
}

TEST_F(VolumeRoundTripTest, NoSoundRunKeepsTheUsersVolume) {
    WriteUserFile("config.xml", std::string("<config>\n") + VolumeLine("SFXVolume", 4) + VolumeLine("VolumeMusic", 29) +
                                    "</config>\n");
    OneRun(false, false);
    EXPECT_EQ(SoundEnabled, 0);
    EXPECT_EQ(GetSFXVolume(), 0);
    const std::string file = ReadUserFile("config.xml");
    EXPECT_NE(file.find(VolumeLine("SFXVolume", 4)), std::string::npos) << file;
    EXPECT_NE(file.find(VolumeLine("VolumeMusic", 29)), std::string::npos) << file;

    // The next ordinary run plays at the user's volume again.
    OneRun(true, true);
    EXPECT_EQ(SoundEnabled, 1);
    EXPECT_FLOAT_EQ(SoundGain, 0.04f);
    EXPECT_EQ(ConfiguredSFXVolume(), 4);
}

TEST_F(VolumeRoundTripTest, VolumeChangedInTheGameIsSavedExactly) {
    OneRun(true, true);
    for (int volume : {4, 29, 57, 3}) {
        SetSFXVolume(volume);  // the settings window talks to the sound module directly
        WriteConfig();
        for (int run = 0; run < 5; ++run) OneRun(true, true);
        EXPECT_EQ(GetSFXVolume(), volume);
        EXPECT_NE(ReadUserFile("config.xml").find(VolumeLine("SFXVolume", volume)), std::string::npos) << volume;
    }
}

TEST(SoundVolume, EveryPercentReadsBackExactlyAndSetsTheGain) {
    SoundEnabled = 1;
    for (int set = -5; set <= 150; ++set) {
        const int expected = set < 0 ? 0 : set > 100 ? 100 : set;
        SetSFXVolume(set);
        EXPECT_EQ(GetSFXVolume(), expected) << set;
        EXPECT_EQ(SoundGain, static_cast<float>(expected / 100.0)) << set;
    }
    SetSFXVolume(100);
}

}  // namespace

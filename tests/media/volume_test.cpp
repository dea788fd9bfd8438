// Effect and music volumes: set in percent, kept as a gain, read back truncated.
#include <gtest/gtest.h>

#include "media/music.h"
#include "media/sound.h"

namespace {

struct VolumeCase {
    int set;
    int readBack;
};

// Volumes are kept as whole percents and read back exactly (a gain read back through a
// float would lose one on some values); out-of-range values are clamped.
const VolumeCase kCases[] = {
    {0, 0}, {1, 1}, {2, 2}, {5, 5}, {10, 10}, {25, 25}, {29, 29},
    {50, 50}, {100, 100}, {150, 100}, {-5, 0},
};

class VolumeTest : public testing::Test {
protected:
    void TearDown() override {
        SoundEnabled = 1;
        MusicFlag = 1;
        SetSFXVolume(100);
        SetMusicVolume(100);
    }
};

TEST_F(VolumeTest, EffectVolumeReadsBackFromTheStoredGain) {
    for (const VolumeCase& c : kCases) {
        SetSFXVolume(c.set);
        EXPECT_EQ(GetSFXVolume(), c.readBack) << "set " << c.set;
    }
}

TEST_F(VolumeTest, MusicVolumeReadsBackFromTheStoredGain) {
    for (const VolumeCase& c : kCases) {
        SetMusicVolume(c.set);
        EXPECT_EQ(GetMusicVolume(), c.readBack) << "set " << c.set;
    }
}

TEST_F(VolumeTest, SwitchedOffAudioReadsZeroAndIgnoresChanges) {
    SetSFXVolume(40);
    SetMusicVolume(40);
    SoundEnabled = 0;
    MusicFlag = 0;
    EXPECT_EQ(GetSFXVolume(), 0);
    EXPECT_EQ(GetMusicVolume(), 0);
    SetSFXVolume(90);
    SetMusicVolume(90);
    SoundEnabled = 1;
    MusicFlag = 1;
    EXPECT_EQ(GetSFXVolume(), 40);
    EXPECT_EQ(GetMusicVolume(), 40);
}

TEST_F(VolumeTest, MusicRequestsAreKeptOnlyWhileMusicIsOn) {
    PlayMusic("tunes/finaltitle.ogg", "");
    EXPECT_EQ(CurrentMusicIntro(), "tunes/finaltitle.ogg");
    EXPECT_EQ(CurrentMusicLoop(), "tunes/finaltitle.ogg");  // an empty loop file loops the intro
    StopMusic();
    EXPECT_EQ(CurrentMusicIntro(), "");
    MusicFlag = 0;
    PlayMusic("tunes/other.ogg", "tunes/other-loop.ogg");
    EXPECT_EQ(CurrentMusicIntro(), "");
}

}  // namespace

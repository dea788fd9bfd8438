// Decoding music files a quarter second at a time, and the conversion of decoded samples.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "media/music_stream.h"
#include "support/run_game.h"

namespace {

std::string Fixture(const char* name) {
    return std::string(VAULTMERE_SOURCE_DIR) + "/tests/media/music_fixtures/" + name;
}

std::vector<int16_t> AsShorts(const std::vector<uint8_t>& bytes) {
    std::vector<int16_t> out(bytes.size() / 2);
    if (!out.empty()) std::memcpy(out.data(), bytes.data(), out.size() * 2);
    return out;
}

std::vector<float> AsFloats(const std::vector<uint8_t>& bytes) {
    std::vector<float> out(bytes.size() / 4);
    if (!out.empty()) std::memcpy(out.data(), bytes.data(), out.size() * 4);
    return out;
}

TEST(MusicSamples, FloatsAreClampedBeforeTheSixteenBitConversion) {
    float plane[] = {0.5f, 1.5f, -2.0f, std::numeric_limits<float>::quiet_NaN(), -1.0f, 1.0f,
                     std::numeric_limits<float>::infinity()};
    float* pcm[] = {plane};
    const int n = static_cast<int>(sizeof plane / sizeof plane[0]);

    std::vector<uint8_t> staging;
    AppendMusicSamples(staging, pcm, 1, 1, n, false);
    EXPECT_EQ(AsShorts(staging), (std::vector<int16_t>{16383, 32767, -32767, 0, -32767, 32767, 32767}));

    staging.clear();
    AppendMusicSamples(staging, pcm, 1, 1, n, true);
    EXPECT_EQ(AsFloats(staging), (std::vector<float>{0.5f, 1.0f, -1.0f, 0.0f, -1.0f, 1.0f, 1.0f}));
}

TEST(MusicSamples, ChannelsAreInterleavedAndWideFilesMixedDownToStereo) {
    struct Case {
        int sourceChannels;
        int outputChannels;
        std::vector<int16_t> expected;  // two frames
    };
    // Plane c holds (c + 1) / 10 in every frame.
    const Case cases[] = {
        {1, 1, {3276, 3276}},
        {1, 2, {3276, 3276, 3276, 3276}},              // mono feeds both sides
        {2, 2, {3276, 6553, 3276, 6553}},
        {4, 2, {3276, 6553, 3276, 6553}},              // front left, front right
        {6, 2, {3276, 9830, 3276, 9830}},              // left, (centre), right
        {3, 2, {3276, 9830, 3276, 9830}},
    };
    for (const Case& c : cases) {
        std::vector<std::vector<float>> planes(c.sourceChannels);
        std::vector<float*> pcm;
        for (int p = 0; p < c.sourceChannels; ++p) {
            planes[p].assign(2, (p + 1) / 10.0f);
            pcm.push_back(planes[p].data());
        }
        std::vector<uint8_t> staging;
        AppendMusicSamples(staging, pcm.data(), c.sourceChannels, c.outputChannels, 2, false);
        EXPECT_EQ(AsShorts(staging), c.expected) << c.sourceChannels << " -> " << c.outputChannels;
    }
}

struct DecodeCase {
    const char* file;
    int32_t rate;
    int32_t channels;
    int32_t outputChannels;
    int milliseconds;
};

// The staging area grows to whatever a quarter second of the file needs: 192 kHz stereo float
// is far above the 128 KB a fixed area would hold.
TEST(MusicDecoding, QuarterSecondsCoverTheWholeFileAtAnyRateAndChannelCount) {
    const DecodeCase cases[] = {
        {"intro.ogg", 8000, 1, 1, 100},
        {"stereo.ogg", 11025, 2, 2, 200},
        {"six.ogg", 22050, 6, 2, 300},
        {"hirate.ogg", 192000, 2, 2, 300},
    };
    for (bool asFloat : {true, false}) {
        for (const DecodeCase& c : cases) {
            SCOPED_TRACE(std::string(c.file) + (asFloat ? " float" : " 16-bit"));
            MusicTrack track;
            ASSERT_TRUE(OpenMusicTrack(track, Fixture(c.file).c_str()));
            EXPECT_EQ(track.rate, c.rate);
            EXPECT_EQ(track.channels, c.channels);
            EXPECT_EQ(track.OutputChannels(), c.outputChannels);

            const size_t valueSize = asFloat ? 4 : 2;
            const size_t frameSize = valueSize * c.outputChannels;
            const size_t quarter = static_cast<size_t>(c.rate) * c.outputChannels / 4 * valueSize;
            const size_t expectedFrames = static_cast<size_t>(c.rate) * c.milliseconds / 1000;
            std::vector<uint8_t> staging;
            size_t frames = 0;
            int pieces = 0;
            size_t bytes;
            while ((bytes = DecodeMusicQuarter(track, staging, asFloat)) > 0) {
                ASSERT_EQ(bytes, staging.size());
                ASSERT_EQ(bytes % frameSize, 0u);
                frames += bytes / frameSize;
                // Every piece but the last reaches the quarter second.
                if (frames < expectedFrames) {
                    EXPECT_GE(bytes, quarter);
                }
                ASSERT_LT(++pieces, 100);
            }
            EXPECT_NEAR(static_cast<double>(frames), static_cast<double>(expectedFrames),
                        expectedFrames * 0.02 + 64);
            EXPECT_EQ(DecodeMusicQuarter(track, staging, asFloat), 0u);  // stays ended
            CloseMusicTrack(track);
        }
    }
}

TEST(MusicDecoding, RewindStartsTheSameAudioAgain) {
    MusicTrack track;
    ASSERT_TRUE(OpenMusicTrack(track, Fixture("once.ogg").c_str()));
    std::vector<uint8_t> first;
    std::vector<uint8_t> piece;
    while (DecodeMusicQuarter(track, piece, false) > 0) first.insert(first.end(), piece.begin(), piece.end());
    ASSERT_FALSE(first.empty());
    ASSERT_TRUE(RewindMusicTrack(track));
    std::vector<uint8_t> again;
    while (DecodeMusicQuarter(track, piece, false) > 0) again.insert(again.end(), piece.begin(), piece.end());
    EXPECT_EQ(again, first);
    CloseMusicTrack(track);
    EXPECT_FALSE(track.IsOpen());
    EXPECT_EQ(track.data, nullptr);
}

TEST(MusicDecoding, UnplayableFilesAreRefused) {
    TempDir dir;
    WriteWholeFile(dir.file("text.ogg"), std::string(5000, 'x'));
    const std::string whole = ReadWholeFile(Fixture("intro.ogg"));
    ASSERT_GT(whole.size(), 200u);
    WriteWholeFile(dir.file("cut.ogg"), whole.substr(0, 200));  // headers cut short
    std::string wrongMagic = whole;
    wrongMagic[0] = 'X';
    WriteWholeFile(dir.file("magic.ogg"), wrongMagic);
    WriteWholeFile(dir.file("zero.ogg"), "");

    for (const std::string& name : {dir.file("missing.ogg"), dir.file("text.ogg"), dir.file("cut.ogg"),
                                    dir.file("magic.ogg"), dir.file("zero.ogg"), std::string()}) {
        MusicTrack track;
        EXPECT_FALSE(OpenMusicTrack(track, name.c_str())) << name;
        EXPECT_FALSE(track.IsOpen());
        EXPECT_EQ(track.data, nullptr);
        std::vector<uint8_t> staging;
        EXPECT_EQ(DecodeMusicQuarter(track, staging, false), 0u);
    }
    MusicTrack track;
    EXPECT_FALSE(OpenMusicTrack(track, nullptr));
}

TEST(MusicDecoding, AFileWithoutAudioDecodesToNothing) {
    MusicTrack track;
    if (!OpenMusicTrack(track, Fixture("empty.ogg").c_str())) return;  // refused is fine too
    std::vector<uint8_t> staging;
    EXPECT_EQ(DecodeMusicQuarter(track, staging, true), 0u);
    CloseMusicTrack(track);
}

// Every tune the game plays is in the data, decodes, and no two are the same piece.
TEST(MusicData, EveryTuneDecodesAndEachIsItsOwnPiece) {
    const char* kTunes[] = {
        "finaltitle", "tutorial-repeat", "chilled-repeat", "dervish-open", "dervish-repeat",
        "elegy-repeat", "ghosts-open", "ghosts-repeat", "heck-repeat", "house-open", "house-repeat",
        "icebattle-repeat", "icecave-repeat", "mining-open", "mining-repeat", "pits-open",
        "pits-repeat", "spelunk-repeat", "subter-open", "subter-repeat", "stygian-open",
        "stygian-repeat", "swamp-repeat", "temple-repeat", "veil-repeat", "shop-open",
        "shop-repeat", "thief-open", "thief-repeat", "brawl-open", "brawl-repeat", "death-open",
        "death-repeat", "victory-intro", "victory-repeat", "orb-unlooped"};
    std::set<std::vector<uint8_t>> openings;
    for (const char* tune : kTunes) {
        SCOPED_TRACE(tune);
        const std::string path = std::string(VAULTMERE_SOURCE_DIR) + "/data/tunes/" + tune + ".ogg";
        MusicTrack track;
        ASSERT_TRUE(OpenMusicTrack(track, path.c_str()));
        EXPECT_LE(track.channels, 2);
        std::vector<uint8_t> staging;
        std::vector<uint8_t> opening;
        size_t frames = 0;
        size_t bytes;
        while ((bytes = DecodeMusicQuarter(track, staging, false)) > 0) {
            if (opening.empty()) opening = staging;
            frames += bytes / 2 / track.OutputChannels();
        }
        const double seconds = static_cast<double>(frames) / track.rate;
        EXPECT_GE(seconds, 1.0);
        EXPECT_LE(seconds, 12.0);
        EXPECT_TRUE(openings.insert(opening).second) << "same opening as another tune";
        CloseMusicTrack(track);
    }
}

}  // namespace

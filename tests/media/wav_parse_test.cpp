// WAV parsing from bytes: accepted layouts and what is refused.
#include <gtest/gtest.h>

#include "media/wav.h"
#include "media/wav_builder.h"

namespace {

using namespace wavtest;

struct AcceptCase {
    const char* label;
    std::string bytes;
    int32_t format;
    size_t sampleOffset;  // where the samples start in the bytes
    uint32_t size;
    int32_t rate;
};

std::vector<AcceptCase> AcceptCases() {
    const std::string fmt16 = Chunk("fmt ", FmtBody(1, 1, 22050, 16));
    const std::string samples = Mono16(5);
    std::vector<AcceptCase> cases;
    cases.push_back({"plain 16-bit mono", Riff(fmt16 + Chunk("data", samples)), kWavFormatMono16, 12 + 24 + 8, 10, 22050});
    {
        const std::string list = Chunk("LIST", std::string("INFOtest", 8));
        const std::string junk = Chunk("junk", std::string(6, 'j'));
        cases.push_back({"chunks before fmt and before data",
                         Riff(list + fmt16 + junk + Chunk("data", samples)), kWavFormatMono16,
                         12 + list.size() + 24 + junk.size() + 8, 10, 22050});
    }
    {
        // An odd-sized chunk is followed by a pad byte; the next chunk starts after it.
        const std::string odd = Chunk("note", std::string("abc"));
        EXPECT_EQ(odd.size(), 12u);
        cases.push_back({"odd chunk with its pad byte", Riff(odd + fmt16 + odd + Chunk("data", samples)),
                         kWavFormatMono16, 12 + 12 + 24 + 12 + 8, 10, 22050});
    }
    cases.push_back({"18-byte fmt", Riff(Chunk("fmt ", FmtBody(1, 1, 11025, 16, U16(0))) + Chunk("data", samples)),
                     kWavFormatMono16, 12 + 26 + 8, 10, 11025});
    cases.push_back({"8-bit stereo", Riff(Chunk("fmt ", FmtBody(1, 2, 8000, 8)) + Chunk("data", "abcdef")),
                     kWavFormatStereo8, 12 + 24 + 8, 6, 8000});
    cases.push_back({"8-bit mono, odd data at the very end",
                     Riff(Chunk("fmt ", FmtBody(1, 1, 8000, 8)) + Chunk("data", 3, "xyz")), kWavFormatMono8,
                     12 + 24 + 8, 3, 8000});
    cases.push_back({"16-bit stereo", Riff(Chunk("fmt ", FmtBody(1, 2, 44100, 16)) + Chunk("data", std::string(8, 'q'))),
                     kWavFormatStereo16, 12 + 24 + 8, 8, 44100});
    cases.push_back({"a part frame at the end is left out",
                     Riff(Chunk("fmt ", FmtBody(1, 2, 44100, 16)) + Chunk("data", std::string(7, 'q'))),
                     kWavFormatStereo16, 12 + 24 + 8, 4, 44100});
    cases.push_back({"RIFF size field is not trusted",
                     "RIFF" + U32(4) + "WAVE" + fmt16 + Chunk("data", samples), kWavFormatMono16, 12 + 24 + 8, 10, 22050});
    return cases;
}

TEST(WavParse, AcceptedLayouts) {
    for (const AcceptCase& c : AcceptCases()) {
        WavSamples wav;
        ASSERT_TRUE(ParseWav(c.bytes.data(), c.bytes.size(), &wav)) << c.label;
        EXPECT_EQ(wav.format, c.format) << c.label;
        EXPECT_EQ(wav.samples, reinterpret_cast<const uint8_t*>(c.bytes.data()) + c.sampleOffset) << c.label;
        EXPECT_EQ(wav.size, c.size) << c.label;
        EXPECT_EQ(wav.rate, c.rate) << c.label;
    }
}

TEST(WavParse, SeparateOutValues) {
    const std::string bytes = SimpleWav(4, 16000);
    int32_t format = 0, rate = 0;
    const void* samples = nullptr;
    uint32_t size = 0;
    ASSERT_TRUE(ParseWav(bytes.data(), bytes.size(), &format, &samples, &size, &rate));
    EXPECT_EQ(format, 0x1101);
    EXPECT_EQ(samples, bytes.data() + 44);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(rate, 16000);
}

struct RejectCase {
    const char* label;
    std::string bytes;
};

std::vector<RejectCase> RejectCases() {
    const std::string fmt16 = Chunk("fmt ", FmtBody(1, 1, 22050, 16));
    const std::string data = Chunk("data", Mono16(5));
    const std::string good = Riff(fmt16 + data);
    std::vector<RejectCase> cases = {
        {"24-bit", Riff(Chunk("fmt ", FmtBody(1, 1, 22050, 24)) + Chunk("data", std::string(9, 's')))},
        {"4 channels", Riff(Chunk("fmt ", FmtBody(1, 4, 22050, 16)) + Chunk("data", std::string(16, 's')))},
        {"no channels", Riff(Chunk("fmt ", FmtBody(1, 0, 22050, 16)) + data)},
        {"float samples", Riff(Chunk("fmt ", FmtBody(3, 1, 22050, 32)) + Chunk("data", std::string(8, 's')))},
        {"not PCM", Riff(Chunk("fmt ", FmtBody(2, 1, 22050, 16)) + data)},
        {"rate 0", Riff(Chunk("fmt ", FmtBody(1, 1, 0, 16)) + data)},
        {"rate beyond 2^31", Riff(Chunk("fmt ", FmtBody(1, 1, 0x80000000u, 16)) + data)},
        {"RIFX", Riff(fmt16 + data, "RIFX")},
        {"not WAVE", Riff(fmt16 + data, "RIFF", "AVI ")},
        {"truncated data", good.substr(0, good.size() - 1)},
        {"data size past the end", Riff(fmt16 + Chunk("data", 0xFFFFFFF0u, Mono16(5)))},
        // 32-bit offset arithmetic would wrap this size back into the file.
        {"chunk size that wraps 32 bits", Riff(Chunk("LIST", 0xFFFFFFFCu, "") + fmt16 + data)},
        {"chunk size past the end before fmt", Riff(Chunk("LIST", 1000, "abcd") + fmt16 + data)},
        {"fmt shorter than 16", Riff(Chunk("fmt ", FmtBody(1, 1, 22050, 16).substr(0, 14)) + data)},
        {"fmt past the end", Riff(Chunk("fmt ", 16, FmtBody(1, 1, 22050, 16).substr(0, 10)))},
        {"no fmt", Riff(data)},
        {"data before fmt only", Riff(data + fmt16)},
        {"no data", Riff(fmt16)},
        {"empty data", Riff(fmt16 + Chunk("data", ""))},
        {"less than one frame", Riff(Chunk("fmt ", FmtBody(1, 2, 22050, 16)) + Chunk("data", "abc"))},
        {"header only", std::string("RIFF") + U32(4) + "WAVE"},
        {"shorter than a header", std::string("RIFF\0\0\0\0WAV", 11)},
        {"empty", std::string()},
        // The odd chunk's pad byte is missing: the next chunk would start one byte early.
        {"pad byte missing", Riff(Chunk("note", 3, "abc") + fmt16 + data)},
    };
    return cases;
}

TEST(WavParse, RefusedInputs) {
    for (const RejectCase& c : RejectCases()) {
        WavSamples wav;
        wav.format = -7;
        EXPECT_FALSE(ParseWav(c.bytes.data(), c.bytes.size(), &wav)) << c.label;
        EXPECT_EQ(wav.format, -7) << c.label << ": out-value changed on failure";
    }
    EXPECT_FALSE(ParseWav(nullptr, 100, nullptr));
}

// Every prefix of a valid file is refused without reading past it (run under ASan).
TEST(WavParse, EveryTruncationIsRefused) {
    const std::string list = Chunk("LIST", std::string("INFOabc", 7));
    const std::string full = Riff(list + Chunk("fmt ", FmtBody(1, 2, 22050, 16, U16(0))) + Chunk("data", Mono16(6)));
    for (size_t length = 0; length < full.size(); ++length) {
        std::vector<uint8_t> copy(full.begin(), full.begin() + static_cast<long>(length));
        WavSamples wav;
        EXPECT_FALSE(ParseWav(copy.data(), copy.size(), &wav)) << length;
    }
    WavSamples wav;
    EXPECT_TRUE(ParseWav(full.data(), full.size(), &wav));
}

}  // namespace

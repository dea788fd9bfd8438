// The checks a music file passes before the decoder sees it, and a corpus of damaged files
// (truncated, bit-flipped, headers rewritten with good checksums) that must all be refused or
// decode cleanly. The sanitizer build runs the same corpus under AddressSanitizer and
// LeakSanitizer.
#include "media/ogg_vorbis_check.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "media/music_stream.h"
#include "support/run_game.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string Fixture(const char* name) {
    return std::string(VAULTMERE_SOURCE_DIR) + "/tests/media/music_fixtures/" + name;
}

Bytes ReadBytes(const std::string& path) {
    const std::string s = ReadWholeFile(path);
    return Bytes(s.begin(), s.end());
}

struct PageSpan {
    size_t offset;
    size_t size;
    size_t bodyOffset;
};

// The pages of a well-formed file, in order.
std::vector<PageSpan> Pages(const Bytes& file) {
    std::vector<PageSpan> pages;
    size_t pos = 0;
    while (pos + 27 <= file.size() && std::memcmp(&file[pos], "OggS", 4) == 0) {
        const int segments = file[pos + 26];
        size_t body = 0;
        for (int i = 0; i < segments; ++i) body += file[pos + 27 + i];
        pages.push_back({pos, 27 + segments + body, pos + 27 + segments});
        pos += 27 + segments + body;
    }
    return pages;
}

void PutU32(Bytes& file, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Gives every whole page of the file its right checksum again.
void RefreshChecksums(Bytes& file) {
    for (const PageSpan& page : Pages(file)) {
        if (page.offset + page.size > file.size()) break;
        PutU32(file, page.offset + 22, OggPageChecksum(&file[page.offset], page.size));
    }
}

// Index of the first audio page: header pages carry granule position 0.
size_t FirstAudioPage(const Bytes& file) {
    const std::vector<PageSpan> pages = Pages(file);
    for (size_t i = 0; i < pages.size(); ++i) {
        for (int b = 6; b < 14; ++b) {
            if (file[pages[i].offset + b] != 0) return i;
        }
    }
    ADD_FAILURE() << "no audio page";
    return pages.size();
}

// Offset of the first byte of a header packet ("\x01vorbis", "\x03vorbis", "\x05vorbis").
size_t HeaderAt(const Bytes& file, uint8_t type) {
    const uint8_t pattern[7] = {type, 'v', 'o', 'r', 'b', 'i', 's'};
    for (size_t i = 0; i + 7 <= file.size(); ++i) {
        if (std::memcmp(&file[i], pattern, 7) == 0) return i;
    }
    ADD_FAILURE() << "no header packet of type " << int(type);
    return 0;
}

bool Check(const Bytes& file, OggVorbisFacts* facts = nullptr) {
    return CheckOggVorbis(file.data(), file.size(), kMusicMaxRate, facts);
}

// Opens the bytes the way the music streams do and, when that works, decodes them to the end.
// Returns the number of sample frames decoded, or -1 when the file was refused.
long OpenAndDecode(const Bytes& file) {
    MusicTrack track;
    if (!OpenMusicTrackOnMemory(track, file.data(), static_cast<uint32_t>(file.size()), "corpus")) return -1;
    std::vector<uint8_t> staging;
    long frames = 0;
    size_t bytes;
    int pieces = 0;
    while ((bytes = DecodeMusicQuarter(track, staging, true)) > 0 && ++pieces < 10000) {
        frames += static_cast<long>(bytes / 4 / track.OutputChannels());
    }
    EXPECT_LT(pieces, 10000) << "decoding never ended";
    CloseMusicTrack(track);
    return frames;
}

struct FixtureFacts {
    const char* file;
    int32_t channels;
    int32_t rate;
};

TEST(OggVorbisCheck, GoodFilesPassWithWhatTheirHeadersSay) {
    const FixtureFacts cases[] = {
        {"intro.ogg", 1, 8000}, {"loop.ogg", 1, 8000}, {"once.ogg", 1, 8000}, {"stereo.ogg", 2, 11025},
        {"six.ogg", 6, 22050},  {"hirate.ogg", 2, 192000}, {"empty.ogg", 1, 8000},
    };
    for (const FixtureFacts& c : cases) {
        const Bytes file = ReadBytes(Fixture(c.file));
        OggVorbisFacts facts;
        ASSERT_TRUE(Check(file, &facts)) << c.file;
        EXPECT_EQ(facts.channels, c.channels) << c.file;
        EXPECT_EQ(facts.rate, c.rate) << c.file;
        EXPECT_GE(facts.blockSizeShort, 64) << c.file;
        EXPECT_LE(facts.blockSizeShort, facts.blockSizeLong) << c.file;
        // A rate above what the caller allows is refused.
        EXPECT_FALSE(CheckOggVorbis(file.data(), file.size(), c.rate - 1, nullptr)) << c.file;
    }
    const Bytes tune = ReadBytes(std::string(VAULTMERE_SOURCE_DIR) + "/data/tunes/finaltitle.ogg");
    EXPECT_TRUE(Check(tune));
    EXPECT_FALSE(CheckOggVorbis(nullptr, 10, kMusicMaxRate, nullptr));
    EXPECT_FALSE(Check(Bytes()));
}

TEST(OggVorbisCheck, PageChecksumMatchesTheFile) {
    const Bytes file = ReadBytes(Fixture("intro.ogg"));
    const std::vector<PageSpan> pages = Pages(file);
    ASSERT_GE(pages.size(), 3u);
    for (const PageSpan& page : pages) {
        const uint32_t stored = uint32_t(file[page.offset + 22]) | (uint32_t(file[page.offset + 23]) << 8) |
                                (uint32_t(file[page.offset + 24]) << 16) | (uint32_t(file[page.offset + 25]) << 24);
        EXPECT_EQ(OggPageChecksum(&file[page.offset], page.size), stored) << "page at " << page.offset;
    }
    // The known value of the checksum over a small page-like block.
    const uint8_t block[28] = {'O', 'g', 'g', 'S', 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0,
                               0xAA, 0xBB, 0xCC, 0xDD, 1, 0};
    uint8_t zeroed[28];
    std::memcpy(zeroed, block, sizeof block);
    std::memset(zeroed + 22, 0, 4);
    EXPECT_EQ(OggPageChecksum(block, sizeof block), OggPageChecksum(zeroed, sizeof zeroed));
}

struct Damage {
    const char* what;
    std::function<void(Bytes&)> apply;
    bool refreshChecksums;
};

// Damage of the container and of the three headers. Most of it is written back with good page
// checksums, so that the check of the headers themselves is what refuses the file.
TEST(OggVorbisCheck, DamagedContainersAndHeadersAreRefused) {
    const Bytes good = ReadBytes(Fixture("intro.ogg"));
    const size_t ident = HeaderAt(good, 1);
    const size_t comment = HeaderAt(good, 3);
    const size_t setup = HeaderAt(good, 5);
    const uint32_t vendorLength = uint32_t(good[comment + 7]);
    const size_t countAt = comment + 11 + vendorLength;
    const std::vector<PageSpan> pages = Pages(good);
    ASSERT_GE(pages.size(), 3u);  // identification; comment and setup; audio
    const PageSpan audio = pages.back();

    const Damage cases[] = {
        // The comment header of the file that crashed the game: two comments announced, none
        // there. The decoder then frees pointers it never set.
        {"comment count 2", [&](Bytes& f) { PutU32(f, countAt, 2); }, true},
        {"comment count 2^30", [&](Bytes& f) { PutU32(f, countAt, 1u << 30); }, true},
        {"vendor length 2^31 - 16", [&](Bytes& f) { PutU32(f, comment + 7, 0x7FFFFFF0u); }, true},
        {"vendor length past the packet", [&](Bytes& f) { PutU32(f, comment + 7, 0x30000034u); }, true},
        {"comment framing bit clear", [&](Bytes& f) { f[countAt + 4] = 0; }, true},
        {"no channels", [&](Bytes& f) { f[ident + 11] = 0; }, true},
        {"17 channels", [&](Bytes& f) { f[ident + 11] = 17; }, true},
        {"rate 0", [&](Bytes& f) { PutU32(f, ident + 12, 0); }, true},
        {"rate above the limit", [&](Bytes& f) { PutU32(f, ident + 12, kMusicMaxRate + 1); }, true},
        {"short block 2^5", [&](Bytes& f) { f[ident + 28] = static_cast<uint8_t>((f[ident + 28] & 0xF0) | 5); }, true},
        {"long block 2^14", [&](Bytes& f) { f[ident + 28] = static_cast<uint8_t>((f[ident + 28] & 0x0F) | 0xE0); }, true},
        {"short block longer than long", [&](Bytes& f) { f[ident + 28] = 0x9B; }, true},
        {"identification framing bit clear", [&](Bytes& f) { f[ident + 29] = 0; }, true},
        {"Vorbis version 1", [&](Bytes& f) { f[ident + 7] = 1; }, true},
        {"codebook sync", [&](Bytes& f) { f[setup + 8] ^= 0x01; }, true},
        {"setup type", [&](Bytes& f) { f[setup] = 7; }, true},
        {"first page without its opening flag", [&](Bytes& f) { f[5] = 0; }, true},
        {"second stream", [&](Bytes& f) { f[audio.offset + 14] ^= 1; }, true},
        {"second opening page", [&](Bytes& f) { f[audio.offset + 5] |= 2; }, true},
        {"page sequence skips", [&](Bytes& f) { f[audio.offset + 18] += 1; }, true},
        {"continued flag on a fresh packet", [&](Bytes& f) { f[audio.offset + 5] ^= 1; }, true},
        {"capture pattern", [&](Bytes& f) { f[audio.offset + 3] = 'T'; }, true},
        {"structure version", [&](Bytes& f) { f[audio.offset + 4] = 1; }, true},
        {"bytes after the last page", [&](Bytes& f) { f.insert(f.end(), {'O', 'g', 'g'}); }, true},
        {"checksum of an audio page", [&](Bytes& f) { f[audio.bodyOffset + 3] ^= 0x10; }, false},
        {"checksum of the comment page", [&](Bytes& f) { f[countAt] ^= 0x01; }, false},
        {"setup header cut short", [&](Bytes& f) { f.resize(pages[1].offset + pages[1].size - 40); }, false},
        {"only the identification page", [&](Bytes& f) { f.resize(pages[0].size); }, false},
    };
    ASSERT_TRUE(Check(good));
    ASSERT_GT(OpenAndDecode(good), 0);
    for (const Damage& d : cases) {
        Bytes file = good;
        d.apply(file);
        if (d.refreshChecksums) RefreshChecksums(file);
        EXPECT_FALSE(Check(file)) << d.what;
        EXPECT_EQ(OpenAndDecode(file), -1) << d.what;
    }
}

// Every cut of a good file: only a cut between pages, after the headers, leaves a file that is
// still Ogg Vorbis (a shorter one); every other cut is refused.
TEST(OggVorbisCorpus, TruncatedFilesAreRefusedUnlessCutBetweenAudioPages) {
    for (const char* name : {"intro.ogg", "stereo.ogg"}) {
        const Bytes good = ReadBytes(Fixture(name));
        const std::vector<PageSpan> pages = Pages(good);
        std::set<size_t> cleanCuts;  // between pages, after the setup header
        for (size_t i = FirstAudioPage(good); i < pages.size(); ++i) cleanCuts.insert(pages[i].offset);
        for (size_t length = 0; length < good.size(); ++length) {
            const Bytes cut(good.begin(), good.begin() + static_cast<long>(length));
            const bool kept = Check(cut);
            ASSERT_EQ(kept, cleanCuts.count(length) == 1) << name << " cut at " << length;
            const long frames = OpenAndDecode(cut);
            EXPECT_EQ(frames >= 0, kept) << name << " cut at " << length;
        }
    }
}

// Single bit flips anywhere: with the checksums left alone every one is refused; with them
// written back the headers are checked for real, and whatever passes must decode to an end.
TEST(OggVorbisCorpus, BitFlippedFilesAreRefusedOrDecodeSafely) {
    std::mt19937 random(20240611u);
    for (const char* name : {"intro.ogg", "six.ogg"}) {
        const Bytes good = ReadBytes(Fixture(name));
        const long goodFrames = OpenAndDecode(good);
        ASSERT_GT(goodFrames, 0) << name;
        const size_t headerEnd = Pages(good)[FirstAudioPage(good)].offset;  // the header pages
        int opened = 0;
        for (int i = 0; i < 1000; ++i) {
            Bytes file = good;
            // Two in three flips land in the header pages, where the decoder is most fragile.
            const size_t limit = (i % 3 != 0) ? headerEnd : file.size();
            const size_t at = random() % limit;
            file[at] ^= static_cast<uint8_t>(1u << (random() % 8));
            EXPECT_FALSE(Check(file)) << name << " flip at " << at;
            RefreshChecksums(file);
            const bool passes = Check(file);
            const long frames = OpenAndDecode(file);
            if (frames >= 0) {
                ++opened;
                EXPECT_TRUE(passes) << name << " flip at " << at;
                EXPECT_LE(frames, goodFrames * 2 + 8192) << name << " flip at " << at;
            }
        }
        EXPECT_GT(opened, 0) << name;  // flips in audio data still play
    }
}

// The damaged comment header that crashed the game (two comments announced, none there),
// rebuilt from a good file with good page checksums.
Bytes CrashingTune() {
    Bytes file = ReadBytes(Fixture("intro.ogg"));
    const size_t comment = HeaderAt(file, 3);
    PutU32(file, comment + 11 + file[comment + 7], 2);
    RefreshChecksums(file);
    return file;
}

TEST(OggVorbisCorpus, TheCrashingTitleTuneIsRefused) {
    const Bytes file = CrashingTune();
    TempDir dir;
    WriteWholeFile(dir.file("crash.ogg"), std::string(file.begin(), file.end()));
    MusicTrack track;
    EXPECT_FALSE(OpenMusicTrack(track, dir.file("crash.ogg").c_str()));
    EXPECT_FALSE(track.IsOpen());
    EXPECT_EQ(track.data, nullptr);
}

// The game in a folder of its own (links to the assembled one) whose title tune is the crashing
// file: it starts, says the tune cannot be opened, runs its menu in silence and quits cleanly.
TEST(OggVorbisCorpus, ACorruptTitleTuneLeavesTheGameRunningInSilence) {
    TempDir user, game;
    LinkGameFolder(game.path());
    const std::string tunes = game.file("tunes");
    ASSERT_EQ(std::system(("rm " + tunes + " && mkdir " + tunes + " && ln -s " + VAULTMERE_GAME_ROOT +
                           "/tunes/* " + tunes + "/ && rm " + tunes + "/finaltitle.ogg")
                              .c_str()),
              0);
    const Bytes crash = CrashingTune();
    WriteWholeFile(tunes + "/finaltitle.ogg", std::string(crash.begin(), crash.end()));
    WriteWholeFile(user.file("quit.txt"), kQuitFromMenuScript);
    const GameRun run = RunGame({"-no-initial-config"}, user.path(),
                                {{"VAULTMERE_INPUT_SCRIPT", user.file("quit.txt")}}, 120, game.path());
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Could not open music file tunes/finaltitle.ogg\n"), std::string::npos) << run.output;
    for (const char* marker : {"Horribly Broken", "not found", "Could not load", "Couldn't load"}) {
        EXPECT_EQ(run.output.find(marker), std::string::npos) << marker << " in\n" << run.output;
    }
}

}  // namespace

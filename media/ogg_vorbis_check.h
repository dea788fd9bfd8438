#pragma once
// The checks a music file passes before the Vorbis decoder is given it. The decoder trusts the
// file: damaged headers make it crash, leak or ask for gigabytes. So the whole Ogg container is
// walked first (capture patterns, page checksums, one logical stream, every page complete) and
// the three Vorbis headers are read in full (identification, comment and setup), with every count
// and size bounded by the bytes that hold it. A file that fails any check is not Ogg Vorbis.
#include <cstddef>
#include <cstdint>

// Largest channel count the decoder can hold.
constexpr int32_t kVorbisMaxChannels = 16;

struct OggVorbisFacts {
    int32_t channels = 0;
    int32_t rate = 0;
    int32_t blockSizeShort = 0;  // samples
    int32_t blockSizeLong = 0;
};

// True when the bytes are one complete, undamaged Ogg Vorbis stream the decoder can read:
// sample rate 1..maxRate, 1..kVorbisMaxChannels channels. `facts` (may be null) gets what the
// identification header says.
bool CheckOggVorbis(const uint8_t* data, size_t size, int32_t maxRate, OggVorbisFacts* facts);

// The checksum of one Ogg page (header and body, `length` bytes), computed with its checksum
// field taken as zero.
uint32_t OggPageChecksum(const uint8_t* page, size_t length);

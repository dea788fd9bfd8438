#pragma once
// One Ogg Vorbis file being decoded for the music streams: the whole file is mapped, checked
// (media/ogg_vorbis_check.h) and only then given to a push-data decoder, and decoded audio is
// gathered a quarter second at a time into a staging area that grows to whatever the decoder
// produces. The decoder works in a memory area of the track's own, so nothing it allocates can
// outlive the track or grow past a fixed bound.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct stb_vorbis;

// Highest sample rate a music file may declare; anything above is refused as unplayable.
constexpr int32_t kMusicMaxRate = 384000;

// The decoder's memory area starts at this size and doubles while the decoder asks for more,
// up to the largest.
constexpr size_t kMusicDecoderMemory = 256 * 1024;
constexpr size_t kMusicDecoderMemoryMax = 16 * 1024 * 1024;

struct MusicTrack {
    MusicTrack() = default;
    MusicTrack(MusicTrack&&) = default;
    MusicTrack& operator=(MusicTrack&&) = default;
    MusicTrack(const MusicTrack&) = delete;
    MusicTrack& operator=(const MusicTrack&) = delete;

    stb_vorbis* decoder = nullptr;
    const uint8_t* data = nullptr;  // the whole file (a view from MapFileToMemory, or borrowed)
    uint32_t size = 0;
    uint32_t consumed = 0;  // bytes the decoder has used so far
    int32_t rate = 0;
    int32_t channels = 0;   // as the decoder reports them
    bool mapped = false;    // data is a view of ours to release
    std::string name;
    std::vector<char> memory;  // everything the decoder allocates lives here

    bool IsOpen() const { return decoder != nullptr; }
    // 1 or 2: files with more channels are mixed down to stereo.
    int32_t OutputChannels() const { return channels >= 2 ? 2 : 1; }
};

// Maps a file (the name passes through GetResourceFilename) and opens a decoder on it.
// False (and the track left closed) when the file is missing, empty or not playable Vorbis
// (CheckOggVorbis refuses it, or the decoder does).
bool OpenMusicTrack(MusicTrack& track, const char* file);

// Opens a decoder on bytes the caller keeps alive for as long as the track is open.
bool OpenMusicTrackOnMemory(MusicTrack& track, const uint8_t* data, uint32_t size,
                            const std::string& name);

// Closes the decoder and reopens it on the same data from the start.
bool RewindMusicTrack(MusicTrack& track);

// Closes the decoder and releases the file view; the record is empty afterwards.
void CloseMusicTrack(MusicTrack& track);

// Hands the open track over: `to` (closed first) takes it and `from` is left empty.
void MoveMusicTrack(MusicTrack& to, MusicTrack& from);

// Decodes frames until at least (rate x output channels) / 4 sample values are gathered or
// the file ends, replacing the staging contents. Samples are floats when asFloat, otherwise
// signed 16-bit. Returns the number of bytes gathered (0 when the track has ended).
size_t DecodeMusicQuarter(MusicTrack& track, std::vector<uint8_t>& staging, bool asFloat);

// Appends `samples` frames of decoder output (`sourceChannels` planar float arrays) to the
// staging area as `outputChannels` interleaved values. Floats are clamped to -1 .. 1 (NaN
// becomes 0) before a 16-bit conversion (value x 32767, truncated).
void AppendMusicSamples(std::vector<uint8_t>& staging, float** pcm, int sourceChannels,
                        int outputChannels, int samples, bool asFloat);

#include "media/music_stream.h"

#include <climits>
#include <cstring>
#include <utility>

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

#include "media/ogg_vorbis_check.h"
#include "platform/platform.h"

namespace {

int ClampedLength(uint32_t bytes) {
    return bytes > static_cast<uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(bytes);
}

// Opens the decoder on track.data from the start; fills rate and channels. The file is checked
// first unless it has been already (a rewind). The decoder's memory area grows while the decoder
// reports that it is too small, up to kMusicDecoderMemoryMax.
bool OpenDecoder(MusicTrack& track, bool check) {
    if (track.data == nullptr || track.size == 0) return false;
    OggVorbisFacts facts;
    if (check && !CheckOggVorbis(track.data, track.size, kMusicMaxRate, &facts)) return false;
    size_t memory = track.memory.empty() ? kMusicDecoderMemory : track.memory.size();
    for (;;) {
        if (track.memory.size() != memory) std::vector<char>(memory).swap(track.memory);
        stb_vorbis_alloc area;
        area.alloc_buffer = track.memory.data();
        area.alloc_buffer_length_in_bytes = static_cast<int>(memory);
        int used = 0;
        int error = 0;
        stb_vorbis* decoder =
            stb_vorbis_open_pushdata(track.data, ClampedLength(track.size), &used, &error, &area);
        if (decoder != nullptr) {
            const stb_vorbis_info info = stb_vorbis_get_info(decoder);
            if (info.channels < 1 || info.sample_rate < 1 ||
                info.sample_rate > static_cast<unsigned>(kMusicMaxRate) || used < 0 ||
                static_cast<uint32_t>(used) > track.size) {
                stb_vorbis_close(decoder);
                return false;
            }
            track.decoder = decoder;
            track.consumed = static_cast<uint32_t>(used);
            track.rate = static_cast<int32_t>(info.sample_rate);
            track.channels = info.channels;
            return true;
        }
        if (error != VORBIS_outofmem || memory >= kMusicDecoderMemoryMax) return false;
        memory *= 2;
    }
}

// Which decoder channel feeds the right-hand output: Vorbis orders 3, 5 and more channels as
// left, centre, right, ...; 4 channels as front left, front right, rear left, rear right.
int RightSourceChannel(int sourceChannels) {
    if (sourceChannels <= 1) return 0;
    if (sourceChannels == 2 || sourceChannels == 4) return 1;
    return 2;
}

float ClampSample(float v) {
    if (v != v) return 0.0f;  // NaN
    if (v > 1.0f) return 1.0f;
    if (v < -1.0f) return -1.0f;
    return v;
}

}  // namespace

bool OpenMusicTrackOnMemory(MusicTrack& track, const uint8_t* data, uint32_t size,
                            const std::string& name) {
    CloseMusicTrack(track);
    track.data = data;
    track.size = size;
    track.mapped = false;
    track.name = name;
    if (!OpenDecoder(track, true)) {
        track = MusicTrack();
        return false;
    }
    return true;
}

bool OpenMusicTrack(MusicTrack& track, const char* file) {
    CloseMusicTrack(track);
    if (file == nullptr || file[0] == '\0') return false;
    uint32_t size = 0;
    const void* view = MapFileToMemory(GetResourceFilename(file).c_str(), &size);
    if (view == nullptr) return false;
    track.data = static_cast<const uint8_t*>(view);
    track.size = size;
    track.mapped = true;
    track.name = file;
    if (!OpenDecoder(track, true)) {
        CloseMusicTrack(track);
        return false;
    }
    return true;
}

bool RewindMusicTrack(MusicTrack& track) {
    if (track.decoder != nullptr) {
        stb_vorbis_close(track.decoder);
        track.decoder = nullptr;
    }
    track.consumed = 0;
    return OpenDecoder(track, false);
}

void CloseMusicTrack(MusicTrack& track) {
    if (track.decoder != nullptr) stb_vorbis_close(track.decoder);
    if (track.mapped && track.data != nullptr) UnmapFile(track.data);
    track = MusicTrack();
}

void MoveMusicTrack(MusicTrack& to, MusicTrack& from) {
    if (&to == &from) return;
    CloseMusicTrack(to);
    to = std::move(from);  // the decoder's memory moves with it, unchanged
    from = MusicTrack();
}

void AppendMusicSamples(std::vector<uint8_t>& staging, float** pcm, int sourceChannels,
                        int outputChannels, int samples, bool asFloat) {
    if (pcm == nullptr || samples <= 0 || sourceChannels < 1) return;
    if (outputChannels != 2) outputChannels = 1;
    const int right = RightSourceChannel(sourceChannels);  // mono feeds both sides
    const size_t valueSize = asFloat ? sizeof(float) : sizeof(int16_t);
    const size_t start = staging.size();
    staging.resize(start + static_cast<size_t>(samples) * outputChannels * valueSize);
    uint8_t* out = staging.data() + start;
    for (int i = 0; i < samples; ++i) {
        for (int c = 0; c < outputChannels; ++c) {
            const float* plane = pcm[c == 0 ? 0 : right];
            const float v = plane != nullptr ? plane[i] : 0.0f;
            if (asFloat) {
                const float clamped = ClampSample(v);
                std::memcpy(out, &clamped, sizeof clamped);
            } else {
                const int16_t s = static_cast<int16_t>(ClampSample(v) * 32767.0f);
                std::memcpy(out, &s, sizeof s);
            }
            out += valueSize;
        }
    }
}

size_t DecodeMusicQuarter(MusicTrack& track, std::vector<uint8_t>& staging, bool asFloat) {
    staging.clear();
    if (!track.IsOpen()) return 0;
    const int outputChannels = track.OutputChannels();
    const uint64_t target = static_cast<uint64_t>(track.rate) * outputChannels / 4;
    uint64_t gathered = 0;
    while (gathered < target || gathered == 0) {
        if (track.consumed >= track.size) break;
        int frameChannels = 0;
        int samples = 0;
        float** pcm = nullptr;
        const int used = stb_vorbis_decode_frame_pushdata(
            track.decoder, track.data + track.consumed, ClampedLength(track.size - track.consumed),
            &frameChannels, &pcm, &samples);
        if (used < 0) break;
        if (static_cast<uint32_t>(used) > track.size - track.consumed) {
            track.consumed = track.size;
        } else {
            track.consumed += static_cast<uint32_t>(used);
        }
        if (samples > 0 && pcm != nullptr) {
            const int channels = frameChannels < track.channels ? frameChannels : track.channels;
            AppendMusicSamples(staging, pcm, channels, outputChannels, samples, asFloat);
            gathered += static_cast<uint64_t>(samples) * outputChannels;
        }
        if (used == 0) break;  // no progress: the rest of the file cannot be decoded
    }
    return staging.size();
}

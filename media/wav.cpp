#include "media/wav.h"

#include <cstring>

namespace {

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint16_t ReadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

bool IdIs(const uint8_t* p, const char* id) {
    return memcmp(p, id, 4) == 0;
}

constexpr uint64_t kRiffHeaderSize = 12;
constexpr uint64_t kChunkHeaderSize = 8;
constexpr uint32_t kMinFmtSize = 16;

struct Fmt {
    uint16_t tag = 0;
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint16_t bits = 0;
};

}  // namespace

bool ParseWav(const void* bytes, uint64_t length, WavSamples* out) {
    if (bytes == nullptr || out == nullptr || length < kRiffHeaderSize) {
        return false;
    }
    const uint8_t* data = static_cast<const uint8_t*>(bytes);
    if (!IdIs(data, "RIFF") || !IdIs(data + 8, "WAVE")) {
        return false;
    }

    bool haveFmt = false;
    Fmt fmt;
    uint64_t offset = kRiffHeaderSize;
    while (offset <= length && length - offset >= kChunkHeaderSize) {
        const uint8_t* chunk = data + offset;
        const uint64_t size = ReadU32(chunk + 4);
        const uint64_t body = offset + kChunkHeaderSize;
        const uint64_t available = length - body;

        if (IdIs(chunk, "fmt ") && !haveFmt) {
            if (size < kMinFmtSize || size > available) {
                return false;
            }
            fmt.tag = ReadU16(data + body);
            fmt.channels = ReadU16(data + body + 2);
            fmt.rate = ReadU32(data + body + 4);
            fmt.bits = ReadU16(data + body + 14);
            haveFmt = true;
        } else if (IdIs(chunk, "data") && haveFmt) {
            if (size > available) {
                return false;
            }
            if (fmt.tag != 1 || (fmt.channels != 1 && fmt.channels != 2) ||
                (fmt.bits != 8 && fmt.bits != 16) || fmt.rate == 0 || fmt.rate > 0x7FFFFFFFu) {
                return false;
            }
            const uint32_t frameSize = fmt.channels * (fmt.bits / 8u);
            const uint32_t usable = static_cast<uint32_t>(size) - static_cast<uint32_t>(size) % frameSize;
            if (usable == 0) {
                return false;
            }
            if (fmt.bits == 8) {
                out->format = fmt.channels == 1 ? kWavFormatMono8 : kWavFormatStereo8;
            } else {
                out->format = fmt.channels == 1 ? kWavFormatMono16 : kWavFormatStereo16;
            }
            out->samples = data + body;
            out->size = usable;
            out->rate = static_cast<int32_t>(fmt.rate);
            return true;
        }
        // Skip the chunk and the pad byte that keeps chunks on even offsets.
        offset = body + size + (size & 1u);
    }
    return false;
}

bool ParseWav(const void* bytes, uint64_t length, int32_t* format, const void** samples,
              uint32_t* size, int32_t* rate) {
    WavSamples wav;
    if (!ParseWav(bytes, length, &wav)) {
        return false;
    }
    if (format != nullptr) *format = wav.format;
    if (samples != nullptr) *samples = wav.samples;
    if (size != nullptr) *size = wav.size;
    if (rate != nullptr) *rate = wav.rate;
    return true;
}

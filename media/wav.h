#pragma once
// WAV (RIFF PCM) parsing from bytes in memory.
#include <cstddef>
#include <cstdint>

// OpenAL sample formats a WAV file can yield.
constexpr int32_t kWavFormatMono8 = 0x1100;
constexpr int32_t kWavFormatMono16 = 0x1101;
constexpr int32_t kWavFormatStereo8 = 0x1102;
constexpr int32_t kWavFormatStereo16 = 0x1103;

// What a parsed WAV file holds. `samples` points into the parsed bytes.
struct WavSamples {
    int32_t format = 0;              // one of the kWavFormat... values
    const uint8_t* samples = nullptr;
    uint32_t size = 0;               // bytes of samples, a whole number of sample frames
    int32_t rate = 0;                // samples per second
};

// Parses a little-endian RIFF "WAVE" file: chunks before "fmt " and between "fmt " and
// "data" are skipped by their size (plus the pad byte that follows an odd-sized chunk); the
// fmt chunk must be at least 16 bytes, PCM (tag 1), 1 or 2 channels, 8 or 16 bits, a rate
// from 1 to 2^31 - 1; the data chunk must lie wholly inside the bytes. A data size that is
// not a whole number of sample frames is cut down to one; no frame at all is refused.
// Every offset is computed in 64 bits. False (and `out` untouched) for anything else.
bool ParseWav(const void* bytes, uint64_t length, WavSamples* out);

// The same with separate out-values.
bool ParseWav(const void* bytes, uint64_t length, int32_t* format, const void** samples,
              uint32_t* size, int32_t* rate);

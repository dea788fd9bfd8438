#pragma once
// Byte-level WAV fixtures: chunks put together by hand, little-endian.
#include <cstdint>
#include <string>
#include <vector>

namespace wavtest {

inline std::string U32(uint32_t v) {
    std::string out;
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return out;
}

inline std::string U16(uint16_t v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

// A chunk: id, the given size field and the body (with no pad byte added).
inline std::string Chunk(const std::string& id, uint32_t size, const std::string& body) {
    return id + U32(size) + body;
}

// A chunk whose size field is its body's length, plus the pad byte an odd body needs.
inline std::string Chunk(const std::string& id, const std::string& body) {
    std::string out = Chunk(id, static_cast<uint32_t>(body.size()), body);
    if (body.size() % 2 != 0) out.push_back('\0');
    return out;
}

// The body of a PCM fmt chunk (16 bytes, or more with `extra` appended).
inline std::string FmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                           const std::string& extra = "") {
    const uint16_t align = static_cast<uint16_t>(channels * (bits / 8));
    return U16(tag) + U16(channels) + U32(rate) + U32(rate * align) + U16(align) + U16(bits) + extra;
}

inline std::string Riff(const std::string& chunks, const std::string& magic = "RIFF",
                        const std::string& form = "WAVE") {
    return magic + U32(static_cast<uint32_t>(4 + chunks.size())) + form + chunks;
}

// `frames` sample frames of 16-bit mono: a rising ramp, so files of different lengths differ.
inline std::string Mono16(uint32_t frames) {
    std::string out;
    for (uint32_t i = 0; i < frames; ++i) out += U16(static_cast<uint16_t>(i * 97));
    return out;
}

// A whole 16-bit mono PCM file.
inline std::string SimpleWav(uint32_t frames, uint32_t rate = 22050) {
    return Riff(Chunk("fmt ", FmtBody(1, 1, rate, 16)) + Chunk("data", Mono16(frames)));
}

}  // namespace wavtest

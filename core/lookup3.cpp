#include "core/lookup3.h"

namespace {

inline uint32_t Rotate(uint32_t value, int bits) {
    return (value << bits) | (value >> (32 - bits));
}

// Reversibly scrambles the three state words after each 12-byte block.
inline void Mix(uint32_t& a, uint32_t& b, uint32_t& c) {
    a -= c; a ^= Rotate(c, 4);  c += b;
    b -= a; b ^= Rotate(a, 6);  a += c;
    c -= b; c ^= Rotate(b, 8);  b += a;
    a -= c; a ^= Rotate(c, 16); c += b;
    b -= a; b ^= Rotate(a, 19); a += c;
    c -= b; c ^= Rotate(b, 4);  b += a;
}

// Final avalanche of the three state words; c is the hash.
inline void Final(uint32_t& a, uint32_t& b, uint32_t& c) {
    c ^= b; c -= Rotate(b, 14);
    a ^= c; a -= Rotate(c, 11);
    b ^= a; b -= Rotate(a, 25);
    c ^= b; c -= Rotate(b, 16);
    a ^= c; a -= Rotate(c, 4);
    b ^= a; b -= Rotate(a, 14);
    c ^= b; c -= Rotate(b, 24);
}

// Adds up to 12 bytes into the state: bytes 0-3 go to a, 4-7 to b, 8-11 to c, each word
// little-endian.
inline void AddBlock(const uint8_t* bytes, size_t count, uint32_t& a, uint32_t& b, uint32_t& c) {
    uint32_t* words[3] = {&a, &b, &c};
    for (size_t i = 0; i < count; ++i) {
        *words[i / 4] += static_cast<uint32_t>(bytes[i]) << (8 * (i % 4));
    }
}

}  // namespace

uint32_t hashlittle(const void* key, size_t length, uint32_t initval) {
    const uint8_t* bytes = static_cast<const uint8_t*>(key);
    uint32_t a = 0xDEADBEEFu + static_cast<uint32_t>(length) + initval;
    uint32_t b = a;
    uint32_t c = a;

    while (length > 12) {
        AddBlock(bytes, 12, a, b, c);
        Mix(a, b, c);
        bytes += 12;
        length -= 12;
    }
    if (length == 0) return c;  // nothing left: no final mixing
    AddBlock(bytes, length, a, b, c);
    Final(a, b, c);
    return c;
}

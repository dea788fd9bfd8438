#pragma once
// Reader for palette PNGs (colour type 3) that keeps one palette index per pixel and hands the
// palette out, which the general image decoder cannot do. Bit depths 1, 2, 4 and 8, both
// interlace methods. Every other kind of PNG is left to the general decoder.
#include <cstddef>
#include <cstdint>
#include <vector>

struct PalettePng {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> indices;  // width x height palette indices, rows top to bottom
    uint8_t palette[256][4] = {};  // R, G, B, A; entries past the PLTE chunk are all 0
    int32_t paletteEntries = 0;    // entries the PLTE chunk gave
    bool hasTransparency = false;  // a tRNS chunk was present
};

// Reads the picture size from the header: true when the bytes start with a PNG signature and an
// IHDR chunk (whose checksum matches), and every chunk up to IEND fits in `length`.
bool ReadPngSize(const uint8_t* bytes, size_t length, uint32_t* width, uint32_t* height);

// True when the bytes start with a PNG signature and an IHDR chunk of colour type 3.
bool IsPalettePng(const uint8_t* bytes, size_t length);

// Decodes a palette PNG. False for anything else and for a damaged file (bad chunk lengths or
// checksums, missing PLTE or IDAT, bad compressed data, too little image data, an index past
// the palette is allowed and reads as that entry). `out` is only complete on success.
bool DecodePalettePng(const uint8_t* bytes, size_t length, PalettePng* out);

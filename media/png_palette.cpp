#include "media/png_palette.h"

#include <zlib.h>

#include <cstring>

namespace {

const uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
const uint32_t kMaxSide = 16384;
const uint64_t kMaxPixels = 64ull * 1024 * 1024;

uint32_t ReadU32BE(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

struct Header {
    uint32_t width = 0;
    uint32_t height = 0;
    int depth = 0;
    int colourType = 0;
    int interlace = 0;
};

bool ReadHeader(const uint8_t* bytes, size_t length, Header* h) {
    // Signature, then IHDR: length 13, type, 13 bytes, checksum.
    if (bytes == nullptr || length < 8 + 8 + 13 + 4) return false;
    if (memcmp(bytes, kSignature, 8) != 0) return false;
    if (ReadU32BE(bytes + 8) != 13 || memcmp(bytes + 12, "IHDR", 4) != 0) return false;
    const uint8_t* d = bytes + 16;
    h->width = ReadU32BE(d);
    h->height = ReadU32BE(d + 4);
    h->depth = d[8];
    h->colourType = d[9];
    h->interlace = d[12];
    return d[10] == 0 && d[11] == 0;  // compression and filter method
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = p > a ? p - a : a - p;
    const int pb = p > b ? p - b : b - p;
    const int pc = p > c ? p - c : c - p;
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Undoes the row filters of one (sub-)image in place; rows are 1 filter byte + rowBytes.
// bpp is the filter's byte distance (1 for every palette depth).
bool Unfilter(uint8_t* data, uint32_t rows, size_t rowBytes) {
    const uint8_t* prior = nullptr;
    for (uint32_t y = 0; y < rows; ++y) {
        uint8_t* row = data + y * (rowBytes + 1);
        const int filter = row[0];
        uint8_t* cur = row + 1;
        for (size_t i = 0; i < rowBytes; ++i) {
            const int left = i >= 1 ? cur[i - 1] : 0;
            const int up = prior != nullptr ? prior[i] : 0;
            const int upLeft = (prior != nullptr && i >= 1) ? prior[i - 1] : 0;
            switch (filter) {
                case 0: break;
                case 1: cur[i] = static_cast<uint8_t>(cur[i] + left); break;
                case 2: cur[i] = static_cast<uint8_t>(cur[i] + up); break;
                case 3: cur[i] = static_cast<uint8_t>(cur[i] + ((left + up) >> 1)); break;
                case 4: cur[i] = static_cast<uint8_t>(cur[i] + Paeth(left, up, upLeft)); break;
                default: return false;
            }
        }
        prior = cur;
    }
    return true;
}

size_t RowBytes(uint32_t width, int depth) {
    return (static_cast<size_t>(width) * depth + 7) / 8;
}

// Index of pixel x in an unfiltered row of the given depth.
inline uint8_t IndexAt(const uint8_t* row, uint32_t x, int depth) {
    if (depth == 8) return row[x];
    const uint32_t bit = x * depth;
    const int shift = 8 - depth - static_cast<int>(bit & 7);
    return static_cast<uint8_t>((row[bit >> 3] >> shift) & ((1 << depth) - 1));
}

bool Inflate(const std::vector<uint8_t>& packed, std::vector<uint8_t>& raw) {
    z_stream zs;
    memset(&zs, 0, sizeof zs);
    if (inflateInit(&zs) != Z_OK) return false;
    zs.next_in = const_cast<Bytef*>(packed.data());
    zs.avail_in = static_cast<uInt>(packed.size());
    zs.next_out = raw.data();
    zs.avail_out = static_cast<uInt>(raw.size());
    const int rc = inflate(&zs, Z_FINISH);
    const size_t produced = raw.size() - zs.avail_out;
    inflateEnd(&zs);
    // The stream may carry more than the image needs (ignored) but never less.
    return (rc == Z_STREAM_END || rc == Z_BUF_ERROR || rc == Z_OK) && produced == raw.size();
}

}  // namespace

bool ReadPngSize(const uint8_t* bytes, size_t length, uint32_t* width, uint32_t* height) {
    Header h;
    if (!ReadHeader(bytes, length, &h)) return false;
    // The header chunk's own checksum: a damaged size is not believed.
    const uint32_t crc = static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), bytes + 12, 17));
    if (crc != ReadU32BE(bytes + 29)) return false;
    // Every chunk up to the end chunk fits in the bytes there are: a decoder sizes its buffers
    // by the stated lengths, and a length past the end would have it ask for gigabytes.
    for (size_t at = 8; at < length;) {
        if (length - at < 12) return false;  // no room for a chunk's length, type and checksum
        const uint32_t chunk = ReadU32BE(bytes + at);
        if (chunk > length - at - 12) return false;
        const bool end = memcmp(bytes + at + 4, "IEND", 4) == 0;
        at += 12 + static_cast<size_t>(chunk);
        if (end) break;
    }
    *width = h.width;
    *height = h.height;
    return true;
}

bool IsPalettePng(const uint8_t* bytes, size_t length) {
    Header h;
    return ReadHeader(bytes, length, &h) && h.colourType == 3;
}

bool DecodePalettePng(const uint8_t* bytes, size_t length, PalettePng* out) {
    Header h;
    if (out == nullptr || !ReadHeader(bytes, length, &h) || h.colourType != 3) return false;
    if (h.depth != 1 && h.depth != 2 && h.depth != 4 && h.depth != 8) return false;
    if (h.interlace > 1 || h.width == 0 || h.height == 0) return false;
    if (h.width > kMaxSide || h.height > kMaxSide ||
        static_cast<uint64_t>(h.width) * h.height > kMaxPixels)
        return false;

    memset(out->palette, 0, sizeof out->palette);
    out->paletteEntries = 0;
    out->hasTransparency = false;
    std::vector<uint8_t> packed;
    bool havePalette = false;
    bool ended = false;
    size_t pos = 8;
    while (pos + 12 <= length) {
        const uint32_t size = ReadU32BE(bytes + pos);
        if (size > length - pos - 12) return false;
        const uint8_t* type = bytes + pos + 4;
        const uint8_t* data = bytes + pos + 8;
        const uint32_t crc = static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), type, size + 4));
        if (crc != ReadU32BE(data + size)) return false;
        if (memcmp(type, "PLTE", 4) == 0) {
            if (size == 0 || size % 3 != 0 || size > 768) return false;
            out->paletteEntries = static_cast<int32_t>(size / 3);
            for (uint32_t i = 0; i < size / 3; ++i) {
                out->palette[i][0] = data[i * 3];
                out->palette[i][1] = data[i * 3 + 1];
                out->palette[i][2] = data[i * 3 + 2];
                out->palette[i][3] = 255;
            }
            havePalette = true;
        } else if (memcmp(type, "tRNS", 4) == 0) {
            out->hasTransparency = true;
            for (uint32_t i = 0; i < size && i < 256; ++i) out->palette[i][3] = data[i];
        } else if (memcmp(type, "IDAT", 4) == 0) {
            packed.insert(packed.end(), data, data + size);
        } else if (memcmp(type, "IEND", 4) == 0) {
            ended = true;
            break;
        }
        pos += 12 + size;
    }
    if (!havePalette || packed.empty() || !ended) return false;

    // Pass layout: one pass, or the seven Adam7 passes.
    static const int kStartX[7] = {0, 4, 0, 2, 0, 1, 0};
    static const int kStartY[7] = {0, 0, 4, 0, 2, 0, 1};
    static const int kStepX[7] = {8, 8, 4, 4, 2, 2, 1};
    static const int kStepY[7] = {8, 8, 8, 4, 4, 2, 2};
    struct Pass {
        uint32_t w, h, x0, y0, dx, dy;
    };
    std::vector<Pass> passes;
    if (h.interlace == 0) {
        passes.push_back(Pass{h.width, h.height, 0, 0, 1, 1});
    } else {
        for (int p = 0; p < 7; ++p) {
            const uint32_t w = (h.width + kStepX[p] - 1 - kStartX[p]) / kStepX[p];
            const uint32_t hh = (h.height + kStepY[p] - 1 - kStartY[p]) / kStepY[p];
            if (h.width <= static_cast<uint32_t>(kStartX[p]) || h.height <= static_cast<uint32_t>(kStartY[p]))
                continue;
            passes.push_back(Pass{w, hh, uint32_t(kStartX[p]), uint32_t(kStartY[p]), uint32_t(kStepX[p]),
                                  uint32_t(kStepY[p])});
        }
    }
    size_t total = 0;
    for (const Pass& p : passes) total += (RowBytes(p.w, h.depth) + 1) * p.h;
    std::vector<uint8_t> raw(total);
    if (!Inflate(packed, raw)) return false;

    out->width = static_cast<int32_t>(h.width);
    out->height = static_cast<int32_t>(h.height);
    out->indices.assign(static_cast<size_t>(h.width) * h.height, 0);
    size_t offset = 0;
    for (const Pass& p : passes) {
        const size_t rowBytes = RowBytes(p.w, h.depth);
        uint8_t* data = raw.data() + offset;
        if (!Unfilter(data, p.h, rowBytes)) return false;
        for (uint32_t y = 0; y < p.h; ++y) {
            const uint8_t* row = data + y * (rowBytes + 1) + 1;
            uint8_t* dest = &out->indices[static_cast<size_t>(p.y0 + y * p.dy) * h.width];
            for (uint32_t x = 0; x < p.w; ++x) dest[p.x0 + x * p.dx] = IndexAt(row, x, h.depth);
        }
        offset += (rowBytes + 1) * p.h;
    }
    return true;
}

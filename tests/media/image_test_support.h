#pragma once
// Shared by the picture, sprite and Bob tests: a fixture that runs each test in an empty folder
// mounted as the data tree, and small PNG builders (palette PNGs of any bit depth, row filter
// and interlace method; RGB and RGBA PNGs).
#include <gtest/gtest.h>
#include <physfs.h>
#include <zlib.h>

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "media/screen.h"
#include "platform/vfs.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"
#include "tools/art_writer.h"

namespace media_test {

using Bytes = std::vector<uint8_t>;

class DataFolderTest : public testing::Test {
protected:
    void SetUp() override {
        wasInit_ = PHYSFS_isInit() != 0;
        if (wasInit_) PHYSFS_deinit();
        cwd_.reset(new ScopedWorkingDir(tmp_.path()));
        ASSERT_TRUE(cwd_->ok());
        savedScreen_ = ScreenSurface;
        ScreenSurface = nullptr;
    }
    void TearDown() override {
        if (ScreenSurface != nullptr && ScreenSurface != savedScreen_) SDL_FreeSurface(ScreenSurface);
        ScreenSurface = savedScreen_;
        if (PHYSFS_isInit()) PHYSFS_deinit();
        cwd_.reset();
        if (wasInit_) PHYSFS_init(nullptr);
    }
    // Writes the files, then mounts the folder (the mount lists what exists at that moment).
    static void Put(const std::string& path, const Bytes& bytes) {
        ASSERT_TRUE(MakeFileWithParents(path, std::string(bytes.begin(), bytes.end()))) << path;
    }
    static void Put(const std::string& path, const std::string& text) {
        ASSERT_TRUE(MakeFileWithParents(path, text)) << path;
    }
    static void Mount() { MountDataTree(); }

    TempDir tmp_;
    std::unique_ptr<ScopedWorkingDir> cwd_;
    bool wasInit_ = false;
    SDL_Surface* savedScreen_ = nullptr;
};

inline void PutU32BE(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

inline void Chunk(Bytes& out, const char* type, const Bytes& data) {
    PutU32BE(out, static_cast<uint32_t>(data.size()));
    const size_t at = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutU32BE(out, static_cast<uint32_t>(crc32(0, out.data() + at, static_cast<uInt>(4 + data.size()))));
}

inline int PaethPredict(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Packs and filters the rows of one (sub-)image: row r uses filter (firstFilter + r) % 5. bpp is
// the byte distance to the pixel on the left (1 for palette rows).
inline void AppendFilteredRows(Bytes& raw, const std::vector<Bytes>& rows, int firstFilter, size_t bpp = 1) {
    Bytes prior;
    for (size_t r = 0; r < rows.size(); ++r) {
        const Bytes& cur = rows[r];
        const int filter = static_cast<int>((firstFilter + r) % 5);
        raw.push_back(static_cast<uint8_t>(filter));
        for (size_t i = 0; i < cur.size(); ++i) {
            const int left = i >= bpp ? cur[i - bpp] : 0;
            const int up = prior.empty() ? 0 : prior[i];
            const int upLeft = (!prior.empty() && i >= bpp) ? prior[i - bpp] : 0;
            int predicted = 0;
            switch (filter) {
                case 1: predicted = left; break;
                case 2: predicted = up; break;
                case 3: predicted = (left + up) / 2; break;
                case 4: predicted = PaethPredict(left, up, upLeft); break;
                default: break;
            }
            raw.push_back(static_cast<uint8_t>(cur[i] - predicted));
        }
        prior = cur;
    }
}

inline Bytes PackRow(const uint8_t* indices, int count, int depth) {
    Bytes row((static_cast<size_t>(count) * depth + 7) / 8, 0);
    for (int x = 0; x < count; ++x) {
        const int bit = x * depth;
        row[bit / 8] |= static_cast<uint8_t>(indices[x] << (8 - depth - bit % 8));
    }
    return row;
}

struct PaletteSpec {
    int width = 1;
    int height = 1;
    int depth = 8;           // 1, 2, 4 or 8
    bool interlaced = false;
    int firstFilter = 0;     // row filters cycle through all five from this one
    std::vector<uint8_t> indices;        // width x height
    std::vector<artw::Rgba> palette;     // PLTE entries
    std::vector<uint8_t> alphas;         // tRNS entries (none: no tRNS chunk)
};

inline Bytes EncodePalettePng(const PaletteSpec& s) {
    Bytes out = {137, 80, 78, 71, 13, 10, 26, 10};
    Bytes ihdr;
    PutU32BE(ihdr, static_cast<uint32_t>(s.width));
    PutU32BE(ihdr, static_cast<uint32_t>(s.height));
    ihdr.push_back(static_cast<uint8_t>(s.depth));
    ihdr.push_back(3);
    ihdr.push_back(0);
    ihdr.push_back(0);
    ihdr.push_back(s.interlaced ? 1 : 0);
    Chunk(out, "IHDR", ihdr);
    Bytes plte;
    for (const artw::Rgba& c : s.palette) {
        plte.push_back(c.r);
        plte.push_back(c.g);
        plte.push_back(c.b);
    }
    Chunk(out, "PLTE", plte);
    if (!s.alphas.empty()) Chunk(out, "tRNS", s.alphas);

    Bytes raw;
    static const int kX0[7] = {0, 4, 0, 2, 0, 1, 0}, kY0[7] = {0, 0, 4, 0, 2, 0, 1};
    static const int kDx[7] = {8, 8, 4, 4, 2, 2, 1}, kDy[7] = {8, 8, 8, 4, 4, 2, 2};
    const int passes = s.interlaced ? 7 : 1;
    for (int p = 0; p < passes; ++p) {
        const int x0 = s.interlaced ? kX0[p] : 0, y0 = s.interlaced ? kY0[p] : 0;
        const int dx = s.interlaced ? kDx[p] : 1, dy = s.interlaced ? kDy[p] : 1;
        std::vector<Bytes> rows;
        for (int y = y0; y < s.height; y += dy) {
            std::vector<uint8_t> picked;
            for (int x = x0; x < s.width; x += dx) picked.push_back(s.indices[static_cast<size_t>(y) * s.width + x]);
            if (picked.empty()) break;
            rows.push_back(PackRow(picked.data(), static_cast<int>(picked.size()), s.depth));
        }
        AppendFilteredRows(raw, rows, s.firstFilter + p);
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(size);
    compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6);
    packed.resize(size);
    // Split the image data over two chunks, as encoders may.
    const size_t half = packed.size() / 2;
    Chunk(out, "IDAT", Bytes(packed.begin(), packed.begin() + half));
    Chunk(out, "IDAT", Bytes(packed.begin() + half, packed.end()));
    Chunk(out, "IEND", Bytes());
    return out;
}

inline void AppendBytes(void* context, void* data, int size) {
    Bytes* out = static_cast<Bytes*>(context);
    out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

// True-colour PNG of 3 (RGB) or 4 (RGBA) channels, or 1 / 2 for grey.
inline Bytes EncodePng(int width, int height, int channels, const std::vector<uint8_t>& pixels) {
    Bytes out;
    stbi_write_png_to_func(&AppendBytes, &out, width, height, channels, pixels.data(), width * channels);
    return out;
}

// The 32-bit value of pixel (x, y) of a 32-bit surface.
inline uint32_t Pixel32(SDL_Surface* s, int x, int y) {
    uint32_t v;
    memcpy(&v, static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * 4, 4);
    return v;
}

inline uint8_t Pixel8(SDL_Surface* s, int x, int y) {
    return static_cast<uint8_t*>(s->pixels)[y * s->pitch + x];
}

}  // namespace media_test

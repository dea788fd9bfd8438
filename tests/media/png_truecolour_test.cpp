// The quick path of the picture decoder (8-bit grey, grey + alpha, RGB and RGBA PNGs) against
// the general decoder: the same pixels for every filter and channel request, and every file
// it does not take handed on, so the loaders still give what the general decoder gives.
#include <stb_image.h>

#include <cstring>
#include <string>
#include <vector>

#include "media/image.h"
#include "media/png_truecolour.h"
#include "tests/media/image_test_support.h"

namespace {

using media_test::AppendFilteredRows;
using media_test::Bytes;
using media_test::Chunk;
using media_test::PutU32BE;

struct PngParts {
    int width = 1;
    int height = 1;
    int depth = 8;
    int colourType = 6;
    bool interlaced = false;
    Bytes filtered;                 // the filtered rows, as they are compressed
    Bytes afterHeader;              // chunks written between the header and the image data
    int dataChunks = 2;             // the compressed data is split over this many chunks
    bool withEnd = true;            // an IEND chunk closes the file
    Bytes trailingStreamBytes;      // compressed bytes appended after the zlib stream
};

Bytes Assemble(const PngParts& p, void (*damage)(Bytes& compressed) = nullptr) {
    Bytes out = {137, 80, 78, 71, 13, 10, 26, 10};
    Bytes ihdr;
    PutU32BE(ihdr, static_cast<uint32_t>(p.width));
    PutU32BE(ihdr, static_cast<uint32_t>(p.height));
    ihdr.push_back(static_cast<uint8_t>(p.depth));
    ihdr.push_back(static_cast<uint8_t>(p.colourType));
    ihdr.push_back(0);
    ihdr.push_back(0);
    ihdr.push_back(p.interlaced ? 1 : 0);
    Chunk(out, "IHDR", ihdr);
    out.insert(out.end(), p.afterHeader.begin(), p.afterHeader.end());
    uLongf size = compressBound(static_cast<uLong>(p.filtered.size()));
    Bytes packed(size);
    compress2(packed.data(), &size, p.filtered.data(), static_cast<uLong>(p.filtered.size()), 6);
    packed.resize(size);
    if (damage != nullptr) damage(packed);
    packed.insert(packed.end(), p.trailingStreamBytes.begin(), p.trailingStreamBytes.end());
    const size_t part = packed.size() / static_cast<size_t>(p.dataChunks);
    for (int c = 0; c < p.dataChunks; ++c) {
        const size_t from = part * static_cast<size_t>(c);
        const size_t to = c + 1 == p.dataChunks ? packed.size() : from + part;
        Chunk(out, "IDAT", Bytes(packed.begin() + from, packed.begin() + to));
    }
    if (p.withEnd) Chunk(out, "IEND", Bytes());
    return out;
}

// Seeded noise with runs, so that every filter has something to predict.
Bytes Pixels(int count, uint32_t seed) {
    Bytes out;
    for (int i = 0; i < count; ++i) {
        seed = seed * 214013u + 2531011u;
        out.push_back(static_cast<uint8_t>((i % 7 < 3) ? (seed >> 16) : (i * 13)));
    }
    return out;
}

PngParts Truecolour(int width, int height, int channels, int firstFilter, uint32_t seed) {
    static const int kColourType[5] = {0, 0, 4, 2, 6};
    PngParts p;
    p.width = width;
    p.height = height;
    p.colourType = kColourType[channels];
    const Bytes pixels = Pixels(width * height * channels, seed);
    std::vector<Bytes> rows;
    for (int y = 0; y < height; ++y) {
        const auto at = pixels.begin() + static_cast<long>(y) * width * channels;
        rows.emplace_back(at, at + width * channels);
    }
    AppendFilteredRows(p.filtered, rows, firstFilter, static_cast<size_t>(channels));
    return p;
}

// The general decoder's answer: the pixels, or empty when it refuses the file.
Bytes Reference(const Bytes& png, int requested, int* channels) {
    int w = 0, h = 0, own = 0;
    stbi_uc* pixels = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &own, requested);
    if (pixels == nullptr) return Bytes();
    *channels = requested != 0 ? requested : own;
    Bytes out(pixels, pixels + static_cast<size_t>(w) * h * *channels);
    stbi_image_free(pixels);
    return out;
}

TEST(TruecolourPng, GivesTheGeneralDecodersPixels) {
    struct Shape {
        int w, h;
    };
    const Shape shapes[] = {{1, 1}, {13, 7}, {64, 3}};
    uint32_t seed = 7;
    for (int channels = 1; channels <= 4; ++channels) {
        for (const Shape& shape : shapes) {
            for (int firstFilter = 0; firstFilter < 5; ++firstFilter) {
                PngParts parts = Truecolour(shape.w, shape.h, channels, firstFilter, ++seed);
                // An ancillary chunk before the data and the data over three chunks.
                Chunk(parts.afterHeader, "tEXt", Bytes{'a', 0, 'b'});
                parts.dataChunks = 3;
                const Bytes png = Assemble(parts);
                for (int requested : {0, 4}) {
                    const std::string label = std::to_string(channels) + " channels " + std::to_string(shape.w) +
                                              "x" + std::to_string(shape.h) + " filter " +
                                              std::to_string(firstFilter) + " requested " + std::to_string(requested);
                    int wantChannels = 0;
                    const Bytes want = Reference(png, requested, &wantChannels);
                    ASSERT_FALSE(want.empty()) << label;
                    std::vector<uint8_t> got;
                    int w = 0, h = 0, n = 0;
                    ASSERT_TRUE(DecodeTruecolourPng(png.data(), png.size(), requested, got, &w, &h, &n)) << label;
                    EXPECT_EQ(w, shape.w) << label;
                    EXPECT_EQ(h, shape.h) << label;
                    EXPECT_EQ(n, wantChannels) << label;
                    EXPECT_EQ(got, want) << label;
                }
                // The surface loader decodes into its surface rows directly: RGBA bytes.
                SDL_Surface* surface = CreateSurfaceFromImageData(png.data(), png.size());
                ASSERT_NE(surface, nullptr);
                int n = 0;
                const Bytes rgba = Reference(png, 4, &n);
                for (int y = 0; y < shape.h; ++y) {
                    EXPECT_EQ(0, memcmp(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch,
                                        rgba.data() + static_cast<size_t>(y) * shape.w * 4, shape.w * 4))
                        << channels << " channels, row " << y;
                }
                SDL_FreeSurface(surface);
            }
        }
    }
}

// Files the quick path declines or finds damaged go to the general decoder, whose answer
// (pixels or refusal) every loader keeps.
TEST(TruecolourPng, HandsWhatItDoesNotTakeToTheGeneralDecoder) {
    struct Case {
        const char* name;
        Bytes png;
        bool quick;  // whether the quick path takes it
    };
    std::vector<Case> cases;
    {
        PngParts p = Truecolour(5, 4, 4, 0, 1);
        p.trailingStreamBytes = {1, 2, 3};  // after the end of the stream: ignored by both
        cases.push_back({"bytes after the stream", Assemble(p), true});
    }
    {
        PngParts p = Truecolour(5, 4, 3, 0, 2);
        Bytes key;
        for (int i = 0; i < 3; ++i) {
            key.push_back(0);
            key.push_back(p.filtered[1 + i]);  // the first pixel's colour becomes transparent
        }
        Chunk(p.afterHeader, "tRNS", key);
        cases.push_back({"colour key", Assemble(p), false});
    }
    {
        PngParts p;
        p.width = 3;
        p.height = 2;
        p.depth = 16;
        p.colourType = 0;
        p.filtered = {0, 1, 2, 200, 100, 255, 255, 0, 0, 0, 0, 128, 0, 7};
        cases.push_back({"16-bit grey", Assemble(p), false});
    }
    {
        // 2 x 2 RGBA, interlaced: pass 1 holds pixel (0, 0), pass 6 pixel (1, 0), pass 7 row 1.
        PngParts p;
        p.width = 2;
        p.height = 2;
        p.interlaced = true;
        p.filtered = {0, 10, 20, 30, 255, 0, 40, 50, 60, 128, 0, 70, 80, 90, 255, 100, 110, 120, 0};
        cases.push_back({"interlaced", Assemble(p), false});
    }
    {
        PngParts p = Truecolour(6, 3, 4, 4, 3);
        cases.push_back({"damaged stream checksum", Assemble(p, [](Bytes& z) { z.back() ^= 0x5A; }), false});
    }
    {
        PngParts p = Truecolour(6, 3, 4, 1, 4);
        p.filtered.resize(p.filtered.size() - 5);
        cases.push_back({"too little image data", Assemble(p), false});
    }
    {
        PngParts p = Truecolour(6, 3, 2, 2, 5);
        p.filtered[0] = 9;
        cases.push_back({"unknown row filter", Assemble(p), false});
    }
    {
        PngParts p = Truecolour(4, 4, 4, 3, 6);
        Chunk(p.afterHeader, "ZZZZ", Bytes{1});
        cases.push_back({"unknown critical chunk", Assemble(p), false});
    }
    {
        PngParts p = Truecolour(4, 4, 4, 3, 7);
        p.withEnd = false;
        cases.push_back({"no end chunk", Assemble(p), false});
    }

    for (const Case& c : cases) {
        std::vector<uint8_t> quick;
        int w = 0, h = 0, n = 0;
        EXPECT_EQ(DecodeTruecolourPng(c.png.data(), c.png.size(), 4, quick, &w, &h, &n), c.quick) << c.name;
        int channels = 0;
        const Bytes want = Reference(c.png, 4, &channels);
        std::vector<uint8_t> got;
        EXPECT_EQ(DecodeImageBytes(c.png.data(), c.png.size(), 4, got, &w, &h, &n), !want.empty()) << c.name;
        EXPECT_EQ(got, want) << c.name;
        SDL_Surface* surface = CreateSurfaceFromImageData(c.png.data(), c.png.size());
        EXPECT_EQ(surface != nullptr, !want.empty()) << c.name;
        if (surface != nullptr) {
            EXPECT_EQ(0, memcmp(surface->pixels, want.data(), want.size())) << c.name;  // pitch = width x 4
            SDL_FreeSurface(surface);
        }
        if (c.quick) {
            EXPECT_EQ(quick, want) << c.name;
        }
    }
}

}  // namespace

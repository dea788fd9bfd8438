#pragma once
// The quick path of the picture decoder: 8-bit, non-interlaced grey, grey + alpha, RGB and
// RGBA PNGs, inflated with zlib a row at a time and unfiltered straight into the caller's
// pixels. Almost all of the game's art is of this kind. It gives exactly the pixels the
// general decoder gives; whatever it does not take (other depths, interlacing, transparency
// or palette chunks, unknown critical chunks, damaged or incomplete data) it declines, and the
// caller hands the file to the general decoder.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class TruecolourPng {
public:
    // Reads the header and walks the chunks; false when the picture is declined. The bytes
    // must stay alive while the picture is decoded.
    bool Open(const uint8_t* bytes, size_t length);

    int Width() const { return static_cast<int>(width_); }
    int Height() const { return static_cast<int>(height_); }
    // The file's own channel count: 1 grey, 2 grey + alpha, 3 RGB, 4 RGBA.
    int Channels() const { return channels_; }

    // Decodes into Height() rows of Width() pixels of `channels` bytes, rows `pitch` bytes
    // apart. `channels` is the file's own count or 4 (RGBA: grey becomes g, g, g and a missing
    // alpha 255); any other count is refused. False when the data turns out damaged or
    // incomplete; the rows may then be partly written.
    bool DecodeInto(uint8_t* dest, size_t pitch, int channels) const;
    // The same for the w x h part at (x, y) only, which must lie inside the picture: its rows
    // go to dest. The whole file is still read and checked, so a damaged file is refused
    // whichever part is asked for.
    bool DecodePartInto(int x, int y, int w, int h, uint8_t* dest, size_t pitch, int channels) const;

private:
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    int channels_ = 0;
    std::vector<std::pair<const uint8_t*, uint32_t>> data_;  // the image data chunks in order
};

// The whole quick path into a vector: width x height pixels of *channels bytes with no gaps.
// `requested` is 0 (the file's own channel count) or 4. False when the picture is declined or
// damaged; `pixels` is then left empty.
bool DecodeTruecolourPng(const uint8_t* bytes, size_t length, int requested, std::vector<uint8_t>& pixels,
                         int* width, int* height, int* channels);

#include "media/png_truecolour.h"

#include <zlib.h>

#include <cstring>
#include <new>

namespace {

const uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
const uint32_t kMaxSide = 16384;

uint32_t ReadU32BE(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

// Channels of an 8-bit colour type this path takes; 0 for the others.
int ChannelsOf(int colourType) {
    switch (colourType) {
        case 0: return 1;  // grey
        case 2: return 3;  // RGB
        case 4: return 2;  // grey + alpha
        case 6: return 4;  // RGBA
        default: return 0;
    }
}

inline uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = p > a ? p - a : a - p;
    const int pb = p > b ? p - b : b - p;
    const int pc = p > c ? p - c : c - p;
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// Undoes the row filter of one row in place; `prior` is the row above, already unfiltered
// (zeros for the first row). bpp is the byte distance to the pixel on the left.
bool UnfilterRow(int filter, uint8_t* cur, const uint8_t* prior, size_t rowBytes, size_t bpp) {
    switch (filter) {
        case 0:
            return true;
        case 1:
            for (size_t i = bpp; i < rowBytes; ++i) cur[i] = static_cast<uint8_t>(cur[i] + cur[i - bpp]);
            return true;
        case 2:
            for (size_t i = 0; i < rowBytes; ++i) cur[i] = static_cast<uint8_t>(cur[i] + prior[i]);
            return true;
        case 3:
            for (size_t i = 0; i < bpp; ++i) cur[i] = static_cast<uint8_t>(cur[i] + (prior[i] >> 1));
            for (size_t i = bpp; i < rowBytes; ++i) {
                cur[i] = static_cast<uint8_t>(cur[i] + ((cur[i - bpp] + prior[i]) >> 1));
            }
            return true;
        case 4:
            for (size_t i = 0; i < bpp; ++i) cur[i] = static_cast<uint8_t>(cur[i] + prior[i]);
            for (size_t i = bpp; i < rowBytes; ++i) {
                cur[i] = static_cast<uint8_t>(cur[i] + Paeth(cur[i - bpp], prior[i], prior[i - bpp]));
            }
            return true;
        default:
            return false;
    }
}

// Pulls inflated bytes out of the image data chunks in order.
class ChunkInflater {
public:
    explicit ChunkInflater(const std::vector<std::pair<const uint8_t*, uint32_t>>& chunks) : chunks_(chunks) {
        memset(&zs_, 0, sizeof zs_);
        ok_ = inflateInit(&zs_) == Z_OK;
    }
    ~ChunkInflater() {
        if (ok_) inflateEnd(&zs_);
    }
    ChunkInflater(const ChunkInflater&) = delete;
    ChunkInflater& operator=(const ChunkInflater&) = delete;

    // Fills `out` with the next n bytes; false when the stream is broken or ends before.
    bool Pull(uint8_t* out, size_t n) {
        if (!ok_) return false;
        zs_.next_out = out;
        zs_.avail_out = static_cast<uInt>(n);
        while (zs_.avail_out > 0) {
            if (ended_ || !Step()) return false;
        }
        return true;
    }

    // Reads the rest of the stream, which must end properly; what it holds past the picture
    // is dropped.
    bool Finish() {
        if (!ok_) return false;
        uint8_t spill[4096];
        while (!ended_) {
            zs_.next_out = spill;
            zs_.avail_out = sizeof spill;
            if (!Step()) return false;
        }
        return true;
    }

private:
    // One call of the inflater, fed with the next chunk when the last is used up.
    bool Step() {
        if (zs_.avail_in == 0 && next_ < chunks_.size()) {
            zs_.next_in = const_cast<Bytef*>(chunks_[next_].first);
            zs_.avail_in = chunks_[next_].second;
            ++next_;
        }
        const int rc = inflate(&zs_, Z_NO_FLUSH);
        if (rc == Z_STREAM_END) {
            ended_ = true;
            return true;
        }
        if (rc == Z_OK) return true;
        // No progress: fine only while there are chunks left to feed.
        return rc == Z_BUF_ERROR && (zs_.avail_in > 0 || next_ < chunks_.size());
    }

    const std::vector<std::pair<const uint8_t*, uint32_t>>& chunks_;
    z_stream zs_;
    size_t next_ = 0;
    bool ok_ = false;
    bool ended_ = false;
};

}  // namespace

bool TruecolourPng::Open(const uint8_t* bytes, size_t length) {
    width_ = height_ = 0;
    channels_ = 0;
    data_.clear();
    // Signature, then the header chunk: length 13, "IHDR", 13 bytes, checksum.
    if (bytes == nullptr || length < 8 + 25 || memcmp(bytes, kSignature, 8) != 0) return false;
    if (ReadU32BE(bytes + 8) != 13 || memcmp(bytes + 12, "IHDR", 4) != 0) return false;
    const uint8_t* ihdr = bytes + 16;
    const uint32_t w = ReadU32BE(ihdr);
    const uint32_t h = ReadU32BE(ihdr + 4);
    const int own = ChannelsOf(ihdr[9]);
    if (ihdr[8] != 8 || own == 0 || ihdr[10] != 0 || ihdr[11] != 0 || ihdr[12] != 0) return false;
    if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) return false;

    bool ended = false;
    size_t pos = 8 + 25;
    while (pos + 12 <= length) {
        const uint32_t size = ReadU32BE(bytes + pos);
        if (size > length - pos - 12) return false;
        const uint8_t* type = bytes + pos + 4;
        if (memcmp(type, "IDAT", 4) == 0) {
            data_.emplace_back(bytes + pos + 8, size);
        } else if (memcmp(type, "IEND", 4) == 0) {
            ended = true;
            break;
        } else if ((type[0] & 0x20) == 0 || memcmp(type, "tRNS", 4) == 0) {
            // A second header, a palette, a transparency key or a critical chunk of another
            // kind: the general decoder judges those.
            return false;
        }
        pos += 12 + size;
    }
    if (!ended || data_.empty()) {
        data_.clear();
        return false;
    }
    width_ = w;
    height_ = h;
    channels_ = own;
    return true;
}

bool TruecolourPng::DecodeInto(uint8_t* dest, size_t pitch, int channels) const {
    return DecodePartInto(0, 0, Width(), Height(), dest, pitch, channels);
}

bool TruecolourPng::DecodePartInto(int partX, int partY, int partW, int partH, uint8_t* dest, size_t pitch,
                                   int channels) const {
    if (channels_ == 0 || dest == nullptr || (channels != channels_ && channels != 4)) return false;
    if (partX < 0 || partY < 0 || partW <= 0 || partH <= 0 || partX + partW > Width() || partY + partH > Height()) {
        return false;
    }
    const uint32_t firstRow = static_cast<uint32_t>(partY);
    const uint32_t endRow = static_cast<uint32_t>(partY + partH);
    const size_t own = static_cast<size_t>(channels_);
    const size_t rowBytes = static_cast<size_t>(width_) * own;
    std::vector<uint8_t> rows;
    try {
        rows.assign(2 * rowBytes, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    uint8_t* cur = rows.data();
    uint8_t* prior = rows.data() + rowBytes;  // zeros above the first row
    ChunkInflater inflater(data_);
    for (uint32_t y = 0; y < height_; ++y) {
        uint8_t filter = 0;
        if (!inflater.Pull(&filter, 1) || !inflater.Pull(cur, rowBytes)) return false;
        if (y >= endRow) {
            // Below the part: only read and checked.
            if (filter > 4) return false;
            continue;
        }
        if (!UnfilterRow(filter, cur, prior, rowBytes, own)) return false;
        if (y >= firstRow) {
            uint8_t* out = dest + static_cast<size_t>(y - firstRow) * pitch;
            const uint8_t* src = cur + static_cast<size_t>(partX) * own;
            if (static_cast<size_t>(channels) == own) {
                memcpy(out, src, static_cast<size_t>(partW) * own);
            } else {
                for (int x = 0; x < partW; ++x, out += 4, src += own) {
                    switch (own) {
                        case 1: out[0] = out[1] = out[2] = src[0]; out[3] = 255; break;
                        case 2: out[0] = out[1] = out[2] = src[0]; out[3] = src[1]; break;
                        default: out[0] = src[0]; out[1] = src[1]; out[2] = src[2]; out[3] = 255; break;
                    }
                }
            }
        }
        uint8_t* done = cur;
        cur = prior;
        prior = done;
    }
    return inflater.Finish();
}

bool DecodeTruecolourPng(const uint8_t* bytes, size_t length, int requested, std::vector<uint8_t>& pixels,
                         int* width, int* height, int* channels) {
    pixels.clear();
    TruecolourPng png;
    if ((requested != 0 && requested != 4) || !png.Open(bytes, length)) return false;
    const int count = requested == 0 ? png.Channels() : requested;
    const size_t pitch = static_cast<size_t>(png.Width()) * count;
    try {
        pixels.resize(pitch * png.Height());
    } catch (const std::bad_alloc&) {
        pixels.clear();
        return false;
    }
    if (!png.DecodeInto(pixels.data(), pitch, count)) {
        pixels.clear();
        return false;
    }
    *width = png.Width();
    *height = png.Height();
    *channels = count;
    return true;
}

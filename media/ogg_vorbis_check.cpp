#include "media/ogg_vorbis_check.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// The Ogg container.

const size_t kPageHeader = 27;
const uint8_t kFlagContinued = 1;
const uint8_t kFlagFirst = 2;
const uint8_t kFlagLast = 4;

uint32_t ReadU32LE(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

struct ChecksumTable {
    uint32_t entries[256];
    ChecksumTable() {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i << 24;
            for (int bit = 0; bit < 8; ++bit) r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
            entries[i] = r;
        }
    }
};

struct Page {
    uint8_t flags = 0;
    uint32_t serial = 0;
    uint32_t sequence = 0;
    const uint8_t* lacing = nullptr;
    int segments = 0;
    const uint8_t* body = nullptr;
    size_t size = 0;  // header, lacing values and body
};

// One whole, undamaged page at `data` (`available` bytes from there on).
bool ReadPage(const uint8_t* data, size_t available, Page* page) {
    if (available < kPageHeader || memcmp(data, "OggS", 4) != 0) return false;
    if (data[4] != 0) return false;                        // stream structure version
    if ((data[5] & ~(kFlagContinued | kFlagFirst | kFlagLast)) != 0) return false;
    page->flags = data[5];
    page->serial = ReadU32LE(data + 14);
    page->sequence = ReadU32LE(data + 18);
    page->segments = data[26];
    if (available - kPageHeader < static_cast<size_t>(page->segments)) return false;
    page->lacing = data + kPageHeader;
    size_t bodySize = 0;
    for (int i = 0; i < page->segments; ++i) bodySize += page->lacing[i];
    const size_t headerSize = kPageHeader + page->segments;
    if (available - headerSize < bodySize) return false;
    page->body = data + headerSize;
    page->size = headerSize + bodySize;
    return OggPageChecksum(data, page->size) == ReadU32LE(data + 22);
}

// ---------------------------------------------------------------------------------------------
// Bits of a Vorbis header packet, least significant first.

class BitReader {
public:
    BitReader(const uint8_t* data, size_t size) : data_(data), bits_(static_cast<uint64_t>(size) * 8) {}
    // 0 to 32 bits; past the end of the packet the reader goes bad and gives 0.
    uint32_t Bits(int count) {
        if (bad || static_cast<uint64_t>(count) > bits_ - pos_) {
            bad = true;
            return 0;
        }
        uint32_t value = 0;
        for (int i = 0; i < count; ++i, ++pos_) value |= uint32_t((data_[pos_ >> 3] >> (pos_ & 7)) & 1) << i;
        return value;
    }
    // Steps over `count` bits.
    void Skip(uint64_t count) {
        if (bad || count > bits_ - pos_) {
            bad = true;
            return;
        }
        pos_ += count;
    }
    bool bad = false;

private:
    const uint8_t* data_;
    uint64_t bits_;
    uint64_t pos_ = 0;
};

// Bits needed for n (0 for 0 and below), as the decoder counts them.
int ILog(int64_t n) {
    int bits = 0;
    while (n > 0) {
        ++bits;
        n >>= 1;
    }
    return bits;
}

bool VorbisPacketStart(const std::vector<uint8_t>& packet, uint8_t type) {
    return packet.size() >= 7 && packet[0] == type && memcmp(packet.data() + 1, "vorbis", 6) == 0;
}

bool CheckIdentification(const std::vector<uint8_t>& packet, int32_t maxRate, OggVorbisFacts* facts) {
    if (packet.size() != 30 || !VorbisPacketStart(packet, 1)) return false;
    const uint8_t* p = packet.data();
    if (ReadU32LE(p + 7) != 0) return false;  // Vorbis version
    const int channels = p[11];
    const uint32_t rate = ReadU32LE(p + 12);
    const int shortLog = p[28] & 15;
    const int longLog = p[28] >> 4;
    if (channels < 1 || channels > kVorbisMaxChannels) return false;
    if (rate < 1 || maxRate < 1 || rate > static_cast<uint32_t>(maxRate)) return false;
    if (shortLog < 6 || shortLog > 13 || longLog < 6 || longLog > 13 || shortLog > longLog) return false;
    if ((p[29] & 1) == 0) return false;  // framing
    facts->channels = channels;
    facts->rate = static_cast<int32_t>(rate);
    facts->blockSizeShort = 1 << shortLog;
    facts->blockSizeLong = 1 << longLog;
    return true;
}

bool CheckComment(const std::vector<uint8_t>& packet) {
    if (!VorbisPacketStart(packet, 3)) return false;
    size_t pos = 7;
    // A length or count must fit the bytes that are left.
    auto field = [&](uint32_t* value) {
        if (packet.size() - pos < 4) return false;
        *value = ReadU32LE(packet.data() + pos);
        pos += 4;
        return true;
    };
    uint32_t vendor = 0, count = 0;
    if (!field(&vendor) || vendor > packet.size() - pos) return false;
    pos += vendor;
    if (!field(&count) || count > (packet.size() - pos) / 4) return false;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t length = 0;
        if (!field(&length) || length > packet.size() - pos) return false;
        pos += length;
    }
    return pos < packet.size() && (packet[pos] & 1) != 0;  // framing
}

// The decoder's count of lookup values for a lookup-1 codebook, computed its way (single
// precision, then doubles); -1 where that computation leaves the range of an int.
int64_t DecoderLookup1Values(int64_t entries, int64_t dimensions) {
    const float logEntries = static_cast<float>(std::log(static_cast<double>(static_cast<float>(entries))));
    const double root = std::floor(std::exp(static_cast<double>(logEntries / static_cast<float>(dimensions))));
    if (!(root >= 0.0 && root < 2147483647.0)) return -1;
    int64_t r = static_cast<int64_t>(root);
    const double up = std::pow(static_cast<double>(static_cast<float>(r) + 1.0f), static_cast<double>(dimensions));
    if (!(up < 2147483647.0)) return -1;
    if (static_cast<int64_t>(std::floor(up)) <= entries) ++r;
    const double next = std::pow(static_cast<double>(static_cast<float>(r) + 1.0f), static_cast<double>(dimensions));
    const double at = std::pow(static_cast<double>(static_cast<float>(r)), static_cast<double>(dimensions));
    if (!(next < 2147483647.0) || next <= static_cast<double>(entries)) return -1;
    if (static_cast<int64_t>(std::floor(at)) > entries) return -1;
    return r;
}

// The largest r with r^dimensions <= entries.
int64_t ExactLookup1Values(int64_t entries, int64_t dimensions) {
    auto fits = [&](int64_t r) {
        int64_t power = 1;
        for (int64_t i = 0; i < dimensions; ++i) {
            power *= r;
            if (power > entries) return false;
        }
        return true;
    };
    int64_t low = 0, high = entries + 1;  // fits(low), !fits(high) for entries >= 1
    while (high - low > 1) {
        const int64_t mid = low + (high - low) / 2;
        if (fits(mid)) {
            low = mid;
        } else {
            high = mid;
        }
    }
    return low;
}

struct Codebook {
    int64_t entries = 0;
    int64_t dimensions = 0;
};

bool CheckCodebook(BitReader& r, Codebook* book) {
    if (r.Bits(24) != 0x564342) return false;  // "BCV"
    book->dimensions = r.Bits(16);
    book->entries = r.Bits(24);
    if (r.bad || book->dimensions == 0 || book->entries == 0) return false;
    const bool ordered = r.Bits(1) != 0;
    if (ordered) {
        int64_t entry = 0;
        int64_t length = r.Bits(5) + 1;
        while (entry < book->entries) {
            const int64_t count = r.Bits(ILog(book->entries - entry));
            if (r.bad || length >= 32 || entry + count > book->entries) return false;
            entry += count;
            ++length;
        }
    } else {
        const bool sparse = r.Bits(1) != 0;
        for (int64_t i = 0; i < book->entries; ++i) {
            if (sparse && r.Bits(1) == 0) continue;
            if (r.Bits(5) + 1 == 32 || r.bad) return false;
        }
    }
    const uint32_t lookup = r.Bits(4);
    if (lookup > 2) return false;
    if (lookup == 0) return !r.bad;
    r.Bits(32);  // minimum value
    r.Bits(32);  // delta value
    const int valueBits = static_cast<int>(r.Bits(4)) + 1;
    r.Bits(1);  // sequence flag
    // The decoder keeps entries x dimensions floats; far beyond any real codebook, and its
    // size arithmetic would overflow past this.
    if (book->entries * book->dimensions > (int64_t(1) << 24)) return false;
    int64_t values;
    if (lookup == 1) {
        values = ExactLookup1Values(book->entries, book->dimensions);
        if (values != DecoderLookup1Values(book->entries, book->dimensions)) return false;
    } else {
        values = book->entries * book->dimensions;
    }
    if (values <= 0) return false;
    r.Skip(static_cast<uint64_t>(values) * valueBits);
    return !r.bad;
}

bool CheckFloor(BitReader& r, int codebooks) {
    if (r.Bits(16) != 1) return false;  // only floor type 1 is decoded
    const int partitions = static_cast<int>(r.Bits(5));
    int classOf[32];
    int maxClass = -1;
    for (int i = 0; i < partitions; ++i) {
        classOf[i] = static_cast<int>(r.Bits(4));
        maxClass = std::max(maxClass, classOf[i]);
    }
    int classDimensions[16];
    for (int c = 0; c <= maxClass; ++c) {
        classDimensions[c] = static_cast<int>(r.Bits(3)) + 1;
        const int subclasses = static_cast<int>(r.Bits(2));
        if (subclasses != 0 && static_cast<int>(r.Bits(8)) >= codebooks) return false;
        for (int k = 0; k < (1 << subclasses); ++k) {
            if (static_cast<int>(r.Bits(8)) - 1 >= codebooks) return false;
        }
    }
    r.Bits(2);  // multiplier
    const int rangeBits = static_cast<int>(r.Bits(4));
    std::vector<uint32_t> xs = {0, 1u << rangeBits};
    for (int i = 0; i < partitions; ++i) {
        for (int k = 0; k < classDimensions[classOf[i]]; ++k) xs.push_back(r.Bits(rangeBits));
    }
    if (r.bad) return false;
    std::sort(xs.begin(), xs.end());
    return std::adjacent_find(xs.begin(), xs.end()) == xs.end();
}

bool CheckResidue(BitReader& r, const std::vector<Codebook>& books) {
    const int codebooks = static_cast<int>(books.size());
    if (r.Bits(16) > 2) return false;
    const uint32_t begin = r.Bits(24);
    const uint32_t end = r.Bits(24);
    if (end < begin) return false;
    r.Bits(24);  // partition size - 1
    const int classifications = static_cast<int>(r.Bits(6)) + 1;
    const int classBook = static_cast<int>(r.Bits(8));
    if (classBook >= codebooks) return false;
    int cascade[64];
    for (int i = 0; i < classifications; ++i) {
        const int low = static_cast<int>(r.Bits(3));
        const int high = r.Bits(1) != 0 ? static_cast<int>(r.Bits(5)) : 0;
        cascade[i] = high * 8 + low;
    }
    for (int i = 0; i < classifications; ++i) {
        for (int k = 0; k < 8; ++k) {
            if ((cascade[i] & (1 << k)) != 0 && static_cast<int>(r.Bits(8)) >= codebooks) return false;
        }
    }
    return !r.bad;
}

bool CheckMapping(BitReader& r, int channels, int floors, int residues) {
    if (r.Bits(16) != 0) return false;
    const int submaps = r.Bits(1) != 0 ? static_cast<int>(r.Bits(4)) + 1 : 1;
    if (submaps > 15) return false;  // the decoder keeps room for 15
    if (r.Bits(1) != 0) {
        const int steps = static_cast<int>(r.Bits(8)) + 1;
        if (steps > channels) return false;
        const int width = ILog(channels - 1);
        for (int k = 0; k < steps; ++k) {
            const int magnitude = static_cast<int>(r.Bits(width));
            const int angle = static_cast<int>(r.Bits(width));
            if (magnitude >= channels || angle >= channels || magnitude == angle) return false;
        }
    }
    if (r.Bits(2) != 0) return false;  // reserved
    if (submaps > 1) {
        for (int c = 0; c < channels; ++c) {
            if (static_cast<int>(r.Bits(4)) >= submaps) return false;
        }
    }
    for (int s = 0; s < submaps; ++s) {
        r.Bits(8);  // unused
        if (static_cast<int>(r.Bits(8)) >= floors || static_cast<int>(r.Bits(8)) >= residues) return false;
    }
    return !r.bad;
}

bool CheckSetup(const std::vector<uint8_t>& packet, int channels) {
    if (!VorbisPacketStart(packet, 5)) return false;
    BitReader r(packet.data() + 7, packet.size() - 7);
    std::vector<Codebook> books(r.Bits(8) + 1);
    for (Codebook& book : books) {
        if (!CheckCodebook(r, &book)) return false;
    }
    const int times = static_cast<int>(r.Bits(6)) + 1;
    for (int i = 0; i < times; ++i) {
        if (r.Bits(16) != 0) return false;
    }
    const int floors = static_cast<int>(r.Bits(6)) + 1;
    for (int i = 0; i < floors; ++i) {
        if (!CheckFloor(r, static_cast<int>(books.size()))) return false;
    }
    const int residues = static_cast<int>(r.Bits(6)) + 1;
    for (int i = 0; i < residues; ++i) {
        if (!CheckResidue(r, books)) return false;
    }
    const int mappings = static_cast<int>(r.Bits(6)) + 1;
    for (int i = 0; i < mappings; ++i) {
        if (!CheckMapping(r, channels, floors, residues)) return false;
    }
    const int modes = static_cast<int>(r.Bits(6)) + 1;
    for (int i = 0; i < modes; ++i) {
        r.Bits(1);  // block flag
        if (r.Bits(16) != 0 || r.Bits(16) != 0) return false;  // window and transform types
        if (static_cast<int>(r.Bits(8)) >= mappings) return false;
    }
    return r.Bits(1) == 1 && !r.bad;  // framing
}

}  // namespace

uint32_t OggPageChecksum(const uint8_t* page, size_t length) {
    static const ChecksumTable table;
    uint32_t crc = 0;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t byte = (i >= 22 && i < 26) ? 0 : page[i];
        crc = (crc << 8) ^ table.entries[((crc >> 24) ^ byte) & 0xFF];
    }
    return crc;
}

bool CheckOggVorbis(const uint8_t* data, size_t size, int32_t maxRate, OggVorbisFacts* facts) {
    if (data == nullptr || size == 0 || size > static_cast<size_t>(INT_MAX)) return false;
    // The three header packets, gathered from the pages while every page is checked.
    std::vector<uint8_t> headers[3];
    int complete = 0;
    bool inPacket = false;
    uint32_t serial = 0;
    uint32_t sequence = 0;
    size_t pos = 0;
    for (int index = 0; pos < size; ++index) {
        Page page;
        if (!ReadPage(data + pos, size - pos, &page)) return false;
        if (index == 0) {
            // The identification header alone on a first page that opens the stream.
            if (page.flags != kFlagFirst || page.segments != 1 || page.lacing[0] != 30) return false;
            serial = page.serial;
        } else if ((page.flags & kFlagFirst) != 0 || page.serial != serial || page.sequence != sequence + 1) {
            return false;  // a second stream, or a page lost or out of order
        }
        // A page continues a packet exactly when the page before left one open.
        if (((page.flags & kFlagContinued) != 0) != inPacket) return false;
        sequence = page.sequence;
        const uint8_t* body = page.body;
        for (int s = 0; s < page.segments; ++s) {
            const uint8_t lace = page.lacing[s];
            if (complete < 3) headers[complete].insert(headers[complete].end(), body, body + lace);
            body += lace;
            inPacket = lace == 255;
            if (!inPacket && complete < 3) ++complete;
        }
        pos += page.size;
        if ((page.flags & kFlagLast) != 0 && pos != size) return false;  // nothing after the end
    }
    if (complete < 3) return false;  // the setup header is cut short
    OggVorbisFacts found;
    if (!CheckIdentification(headers[0], maxRate, &found) || !CheckComment(headers[1]) ||
        !CheckSetup(headers[2], found.channels)) {
        return false;
    }
    if (facts != nullptr) *facts = found;
    return true;
}

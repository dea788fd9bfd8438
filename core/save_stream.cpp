#include "core/save_stream.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace {

// Strings are read in pieces of this size when the stream length is unknown, so a
// lying length runs out of data before it runs out of memory.
constexpr size_t kStringChunk = 64 * 1024;

void EncodeWord(uint32_t value, uint8_t bytes[4]) {
    bytes[0] = static_cast<uint8_t>(value & 0xFFu);
    bytes[1] = static_cast<uint8_t>((value >> 8) & 0xFFu);
    bytes[2] = static_cast<uint8_t>((value >> 16) & 0xFFu);
    bytes[3] = static_cast<uint8_t>((value >> 24) & 0xFFu);
}

uint32_t DecodeWord(const uint8_t bytes[4]) {
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

}  // namespace

bool SaveVersion::AtLeast(int32_t M, int32_t m, int32_t p) const {
    if (major != M) return major > M;
    if (minor != m) return minor > m;
    return patch >= p;
}

bool operator==(const SaveVersion& a, const SaveVersion& b) {
    return a.major == b.major && a.minor == b.minor && a.patch == b.patch;
}

// ---------------------------------------------------------------- writer

SaveWriter::SaveWriter(size_t reserve) { buffer_.reserve(reserve); }

SaveWriter::SaveWriter(FILE* file) : file_(file) {}

bool SaveWriter::WriteBytes(const void* data, size_t size) {
    if (failed_) return false;
    if (size == 0) return true;
    if (file_ == nullptr) {
        const uint8_t* bytes = static_cast<const uint8_t*>(data);
        buffer_.insert(buffer_.end(), bytes, bytes + size);
        written_ += size;
        return true;
    }
    size_t done = fwrite(data, 1, size, file_);
    written_ += done;
    if (done != size) {
        failed_ = true;
        error_ = errno != 0 ? std::strerror(errno) : "the stream refused the bytes";
        return false;
    }
    return true;
}

bool SaveWriter::WriteByte(uint8_t value) { return WriteBytes(&value, 1); }

bool SaveWriter::WriteUInt32(uint32_t value) {
    if (file_ == nullptr && !failed_) {
        // The memory writer's common case, without a trip through WriteBytes.
        uint8_t bytes[4];
        EncodeWord(value, bytes);
        if (buffer_.capacity() - buffer_.size() < 4) buffer_.reserve(buffer_.capacity() * 2 + 4096);
        for (uint8_t byte : bytes) buffer_.push_back(byte);
        written_ += 4;
        return true;
    }
    uint8_t bytes[4];
    EncodeWord(value, bytes);
    return WriteBytes(bytes, 4);
}

bool SaveWriter::WriteInt32(int32_t value) { return WriteUInt32(static_cast<uint32_t>(value)); }

bool SaveWriter::WriteFloat(float value) {
    uint32_t bits = 0;
    static_assert(sizeof(bits) == sizeof(value), "float must be 32 bits");
    std::memcpy(&bits, &value, sizeof(bits));
    return WriteUInt32(bits);
}

bool SaveWriter::WriteBool(int32_t value) { return WriteInt32(value != 0 ? 1 : 0); }

bool SaveWriter::WriteString(const std::string& text) {
    // Stored up to the first NUL: the format cannot carry one.
    size_t length = std::strlen(text.c_str());
    if (length > static_cast<size_t>(INT32_MAX)) {
        failed_ = true;
        return false;
    }
    bool ok = WriteInt32(static_cast<int32_t>(length));
    if (length > 0) ok = WriteBytes(text.data(), length) && ok;
    return ok;
}

bool SaveWriter::WriteDamageArray(const int32_t source[kDamageArrayLength]) {
    bool ok = true;
    for (int i = 0; i < kDamageArrayLength; ++i) ok = WriteInt32(source[i]) && ok;
    return ok;
}

// ---------------------------------------------------------------- reader

SaveReader::SaveReader(const void* data, size_t size)
    : data_(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size),
      size_(size) {}

SaveReader::SaveReader(const std::vector<uint8_t>& data) : data_(data), size_(data.size()) {}

SaveReader::SaveReader(std::vector<uint8_t>&& data) : data_(std::move(data)), size_(data_.size()) {}

SaveReader::SaveReader(FILE* file) : file_(file), sizeKnown_(false) {
    if (file_ == nullptr) {
        sizeKnown_ = true;
        size_ = 0;
        return;
    }
    // Measure what is left from the current position, when the stream allows it.
    long start = ftell(file_);
    if (start >= 0 && fseek(file_, 0, SEEK_END) == 0) {
        long end = ftell(file_);
        if (fseek(file_, start, SEEK_SET) == 0 && end >= start) {
            size_ = static_cast<uint64_t>(end - start);
            sizeKnown_ = true;
        }
    }
}

uint64_t SaveReader::Remaining() const {
    if (!sizeKnown_) return UINT64_MAX;
    return position_ < size_ ? size_ - position_ : 0;
}

bool SaveReader::CanHold(uint64_t bytes) const { return !failed_ && bytes <= Remaining(); }

void SaveReader::Fail(const std::string& message) {
    if (failed_) return;
    failed_ = true;
    error_ = message;
    printf("save stream: %s\n", message.c_str());
}

size_t SaveReader::ReadRaw(void* destination, size_t size) {
    if (file_ == nullptr) {
        uint64_t left = Remaining();
        size_t take = size < left ? size : static_cast<size_t>(left);
        if (take > 0) std::memcpy(destination, data_.data() + position_, take);
        position_ += take;
        return take;
    }
    size_t got = fread(destination, 1, size, file_);
    position_ += got;
    return got;
}

bool SaveReader::ReadBytes(void* destination, size_t size) {
    uint8_t* out = static_cast<uint8_t*>(destination);
    if (failed_) {
        if (size > 0) std::memset(out, 0, size);
        return false;
    }
    size_t got = size > 0 ? ReadRaw(out, size) : 0;
    if (got != size) {
        std::memset(out + got, 0, size - got);
        Fail("unexpected end of stream at byte " + std::to_string(position_) + " (wanted " +
             std::to_string(size) + " bytes, got " + std::to_string(got) + ")");
        return false;
    }
    return true;
}

uint8_t SaveReader::ReadByte() {
    uint8_t value = 0;
    ReadBytes(&value, 1);
    return value;
}

uint32_t SaveReader::ReadUInt32() {
    if (file_ == nullptr && !failed_ && position_ + 4 <= size_) {
        // The memory reader's common case: a whole word is there.
        const uint32_t value = DecodeWord(data_.data() + position_);
        position_ += 4;
        return value;
    }
    uint8_t bytes[4];
    if (!ReadBytes(bytes, 4)) return 0;  // a word cut short is no word
    return DecodeWord(bytes);
}

int32_t SaveReader::ReadInt32() { return static_cast<int32_t>(ReadUInt32()); }

float SaveReader::ReadFloat() {
    uint32_t bits = ReadUInt32();
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

bool SaveReader::ReadBool() { return ReadInt32() != 0; }

std::string SaveReader::ReadString() {
    int32_t length = ReadInt32();
    if (failed_) return std::string();
    // A count of 0 or less stands for the empty string (a missing name is written as -1).
    if (length <= 0) return std::string();
    if (!CanHold(static_cast<uint64_t>(length))) {
        Fail("string length " + std::to_string(length) + " exceeds the " +
             std::to_string(Remaining()) + " bytes left in the stream");
        return std::string();
    }
    std::string text;
    size_t left = static_cast<size_t>(length);
    while (left > 0 && !failed_) {
        size_t piece = left < kStringChunk ? left : kStringChunk;
        size_t at = text.size();
        text.resize(at + piece);
        if (!ReadBytes(&text[at], piece)) return std::string();
        left -= piece;
    }
    size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return text;
}

void SaveReader::ReadDamageArray(int32_t destination[kDamageArrayLength]) {
    for (int i = 0; i < kDamageArrayLength; ++i) destination[i] = ReadInt32();
}

int32_t SaveReader::ReadCount(size_t bytesPerElement, int32_t maxCount) {
    int32_t count = ReadInt32();
    if (failed_) return 0;
    if (count < 0) {
        Fail("negative count " + std::to_string(count));
        return 0;
    }
    if (count > maxCount) {
        Fail("count " + std::to_string(count) + " is above the limit " + std::to_string(maxCount));
        return 0;
    }
    uint64_t need = static_cast<uint64_t>(count) * static_cast<uint64_t>(bytesPerElement);
    if (!CanHold(need)) {
        Fail("count " + std::to_string(count) + " needs " + std::to_string(need) +
             " bytes but only " + std::to_string(Remaining()) + " are left in the stream");
        return 0;
    }
    return count;
}

int32_t SaveReader::ReadInt32InRange(int32_t lo, int32_t hi, const char* field) {
    const int32_t value = ReadInt32();
    if (failed_) return lo;
    if (value < lo || value > hi) {
        Fail(std::string(field) + " of " + std::to_string(value) + " is outside " + std::to_string(lo) + ".." +
             std::to_string(hi));
        return lo;
    }
    return value;
}

// ---------------------------------------------------------------- free forms

int32_t ReadInt32(SaveReader& in) { return in.ReadInt32(); }

void ReadDamageArray(int32_t destination[kDamageArrayLength], SaveReader& in) {
    in.ReadDamageArray(destination);
}

bool WriteDamageArray(const int32_t source[kDamageArrayLength], SaveWriter& out) {
    return out.WriteDamageArray(source);
}

bool WriteString(SaveWriter& out, const std::string& text) { return out.WriteString(text); }

std::string ReadString(SaveReader& in) { return in.ReadString(); }

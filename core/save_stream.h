#pragma once
// The save stream: the few primitives every serialiser uses to write and read a saved
// game, and the version triple that decides which fields a stream holds.
//
// Every value is a fixed-width little-endian integer, written and read byte by byte so
// the format does not depend on the host. A SaveWriter/SaveReader works either on a
// FILE* (not owned, the caller opens and closes it) or on an in-memory buffer.
//
// Reading never trusts the file: a word that is not there reads as 0, and a string
// length beyond the stream, or an element count that is negative or larger than what the
// stream can still hold, is refused instead of allocated; a string length of 0 or less
// reads as the empty string. Any such problem sets a sticky error on the
// reader; from then on every read returns 0/empty without touching the stream, and the
// loader checks Failed() to throw the whole load away.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/version.h"

// Version triple of the stream being written or read.
struct SaveVersion {
    int32_t major;
    int32_t minor;
    int32_t patch;

    // True when this version is M.m.p or later: majors compared first, then minors,
    // then patches.
    bool AtLeast(int32_t M, int32_t m, int32_t p) const;
    bool AtLeast(const SaveVersion& other) const { return AtLeast(other.major, other.minor, other.patch); }
};

// The releases that changed the save format. A field a release added is read only from
// streams of that release or later, and written only for them: `version.AtLeast(kSaveV1_0_8)`.
constexpr SaveVersion kSaveV1_0_2{1, 0, 2};
constexpr SaveVersion kSaveV1_0_3{1, 0, 3};
constexpr SaveVersion kSaveV1_0_4{1, 0, 4};
constexpr SaveVersion kSaveV1_0_5{1, 0, 5};
constexpr SaveVersion kSaveV1_0_6{1, 0, 6};
constexpr SaveVersion kSaveV1_0_7{1, 0, 7};
constexpr SaveVersion kSaveV1_0_8{1, 0, 8};
constexpr SaveVersion kSaveV1_0_9{1, 0, 9};
constexpr SaveVersion kSaveV1_0_10{1, 0, 10};

// What the format gates of the object model are named after.
constexpr SaveVersion kSaveHashedClassKeys = kSaveV1_0_7;  // before: an index into the legacy table
constexpr SaveVersion kSaveObjectRoomIds = kSaveV1_0_8;    // the GameObj block ends in the room id

bool operator==(const SaveVersion& a, const SaveVersion& b);

// The format this program writes.
constexpr SaveVersion kCurrentSaveVersion{kVersionMajor, kVersionMinor, kVersionBuild};

// A damage array holds one word per damage type: always this many words.
constexpr int kDamageArrayLength = 16;

class SaveWriter {
public:
    // Writes into a growing memory buffer (see Buffer()), with room for `reserve` bytes made
    // at once.
    explicit SaveWriter(size_t reserve = 0);
    // Writes to an open stream; the writer does not close it.
    explicit SaveWriter(FILE* file);

    SaveWriter(const SaveWriter&) = delete;
    SaveWriter& operator=(const SaveWriter&) = delete;

    bool WriteBytes(const void* data, size_t size);
    bool WriteByte(uint8_t value);
    bool WriteInt32(int32_t value);
    bool WriteUInt32(uint32_t value);
    bool WriteFloat(float value);
    // A boolean stored as a word: 1 for any nonzero value, else 0.
    bool WriteBool(int32_t value);
    // The length up to the first NUL as a word, then that many bytes.
    bool WriteString(const std::string& text);
    bool WriteDamageArray(const int32_t source[kDamageArrayLength]);

    // True once any write has failed; later writes are refused.
    bool Failed() const { return failed_; }
    // Why the first failed write failed (the system's words), or "".
    const std::string& Error() const { return error_; }
    // The bytes written so far (memory writers only).
    const std::vector<uint8_t>& Buffer() const { return buffer_; }
    size_t BytesWritten() const { return written_; }

    // Version of the stream being written; gated fields test it.
    SaveVersion version = kCurrentSaveVersion;

private:
    FILE* file_ = nullptr;
    std::vector<uint8_t> buffer_;
    size_t written_ = 0;
    bool failed_ = false;
    std::string error_;
};

class SaveReader {
public:
    // Reads from a copy of the given bytes.
    SaveReader(const void* data, size_t size);
    explicit SaveReader(const std::vector<uint8_t>& data);
    // Reads from these bytes, taken over without a copy.
    explicit SaveReader(std::vector<uint8_t>&& data);
    // Reads from an open stream from its current position; the reader does not close it.
    // When the stream can be measured, counts are checked against the bytes left in it.
    explicit SaveReader(FILE* file);

    SaveReader(const SaveReader&) = delete;
    SaveReader& operator=(const SaveReader&) = delete;

    // Reads exactly size bytes; on a short read the destination is zero-filled past
    // what arrived and the reader fails.
    bool ReadBytes(void* destination, size_t size);
    uint8_t ReadByte();
    int32_t ReadInt32();
    uint32_t ReadUInt32();
    float ReadFloat();
    // A boolean stored as a word: any nonzero word is true.
    bool ReadBool();
    // A length word then the bytes; the text is cut at the first NUL. A length of 0 or
    // less gives "" and reads nothing more; one beyond the end of the stream fails the
    // reader.
    std::string ReadString();
    // 16 words; missing words are stored as 0.
    void ReadDamageArray(int32_t destination[kDamageArrayLength]);
    // Reads an element count for a list whose elements take at least bytesPerElement
    // bytes each. A negative count, one above maxCount, or one the rest of the stream
    // cannot hold fails the reader and gives 0.
    int32_t ReadCount(size_t bytesPerElement, int32_t maxCount = INT32_MAX);
    // Reads a word that only means something within lo..hi. A value outside fails the reader
    // with a message naming the field and the value, and gives lo, so that nothing computes
    // with it before the loader throws the load away.
    int32_t ReadInt32InRange(int32_t lo, int32_t hi, const char* field);

    // True when the stream may still hold this many bytes (always true when the size
    // of the stream is unknown).
    bool CanHold(uint64_t bytes) const;
    // Bytes left, or UINT64_MAX when the size of the stream is unknown.
    uint64_t Remaining() const;
    uint64_t Position() const { return position_; }

    // Marks the stream broken with a message (printed once); sticky.
    void Fail(const std::string& message);
    bool Failed() const { return failed_; }
    const std::string& Error() const { return error_; }

    // Version of the stream being read; the loader sets it from the file header.
    SaveVersion version = kCurrentSaveVersion;

private:
    size_t ReadRaw(void* destination, size_t size);

    FILE* file_ = nullptr;
    std::vector<uint8_t> data_;
    uint64_t position_ = 0;
    uint64_t size_ = 0;
    bool sizeKnown_ = true;
    bool failed_ = false;
    std::string error_;
};

// Convenience forms under the names the serialisers use.
int32_t ReadInt32(SaveReader& in);
void ReadDamageArray(int32_t destination[kDamageArrayLength], SaveReader& in);
bool WriteDamageArray(const int32_t source[kDamageArrayLength], SaveWriter& out);
bool WriteString(SaveWriter& out, const std::string& text);
std::string ReadString(SaveReader& in);

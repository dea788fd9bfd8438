// Cloud copies of the user files. Each cloud file holds the local file behind an 8-byte header
// (little-endian CRC-32 of the contents, then their length) as a zlib stream; an empty file is
// an empty cloud file. Files are compressed and restored a piece at a time, never held whole
// in memory. All of it only while the configuration's cloud switch is on and the store has
// remote storage; the switch is read once, at the first use. Every copy between the user
// folder and the cloud is noted in the sync record (cloud_sync_record.h).
#pragma once

#include <cstdint>
#include <string>

#include "store_platform/cloud_sync_record.h"

class StoreRemoteStorage;

// The largest file uploaded or restored; a header stating more is refused before anything is
// allocated.
constexpr uint32_t kMaxCloudFileLength = 64u << 20;
// Deflate makes at most this many bytes of one byte of its stream.
constexpr uint32_t kMaxInflateRatio = 1032;
// The zlib level of the uploads: the fastest. A save is mostly runs of the same words, so level 1
// already makes a 7 MB save about 330 KB, three times as fast as level 6 makes 200 KB of it, and
// the cloud copy was the largest part of a save-and-quit.
constexpr int kCloudCompressionLevel = 1;

// The remote storage, or null (cloud switch off, or no remote storage). The first call decides
// for the rest of the process.
StoreRemoteStorage* GetCloudStorage();
// Tests: the next GetCloudStorage decides again.
void ResetCloudStorageLookup();

// The cloud form of `data`; false when compression fails.
bool EncodeCloudFile(const std::string& data, std::string* cloud);
// The contents of a cloud file: true only for an empty file, or a complete header and a stream
// that inflates to exactly the stated length (the CRC is handed out, not checked). A stated
// length above kMaxCloudFileLength, or more than the stream can hold, is refused before
// anything is allocated.
bool DecodeCloudFile(const std::string& cloud, std::string* data, uint32_t* crc);
// Whether a cloud file of `cloudSize` bytes may hold `length` bytes of contents.
bool CloudLengthPlausible(uint32_t length, uint64_t cloudSize);

// The CRC-32 and length of a local file's contents; false when it cannot be read (missing, not
// a regular file, longer than 4 GiB).
bool HashLocalFile(const std::string& path, CloudFileHash* hash);
// What a cloud file states about its contents.
enum class CloudHeader {
    Missing,  // no such cloud file
    Valid,    // an empty file, or a header with a plausible length
    Broken,   // too short for a header, too long, or stating an implausible length
};
CloudHeader ReadCloudHeader(const char* cloudName, CloudFileHash* stated);
// The time of the last write of a local file, in seconds since 1970; 0 for a missing file.
int64_t LocalFileTimestamp(const std::string& path);

// A cloud name that may become a file of the user folder: not empty, no separator, no "..",
// no control character.
bool IsSafeCloudName(const char* name);

// Uploads a local file (an empty one as a 0-byte cloud file). False without storage, for an
// unreadable file or one above kMaxCloudFileLength, when compression fails or the store
// refuses the write. `hash` (when given) receives the uploaded contents' hash.
bool UploadCloudFile(const char* local, const char* cloudName, CloudFileHash* hash = nullptr);
// Restores a cloud file to `local`: the contents go to a temporary file first, which replaces
// `local` only when the whole file decoded and was written. An empty cloud file never replaces
// a local file that is not empty, and a cloud file too long for the size field is refused.
// False otherwise (with a diagnostic); `local` is then left as it was. `stated` and `written`
// (when given) receive the header's hash and the restored contents' hash.
bool DownloadCloudFile(const char* cloudName, const char* local, uint32_t* crc, CloudFileHash* stated = nullptr,
                       CloudFileHash* written = nullptr);
// False without storage or when the cloud lacks the name.
bool DeleteCloudFile(const char* cloudName);

// Tests and the start-up sync: whether uploads, downloads and deletions of user files note
// themselves in the sync record (on by default; the sync notes its own in one write).
void SetCloudSyncRecording(bool on);

// Cloud copies of the user files. Each cloud file holds the local file behind an 8-byte header
// (little-endian CRC-32 of the contents, then their length) as a zlib stream of level 9; an
// empty file is an empty cloud file. All of it only while the configuration's cloud switch is
// on and the store has remote storage; the switch is read once, at the first use.
#pragma once

#include <cstdint>
#include <string>

class StoreRemoteStorage;

// The largest file the cloud restores; a header stating more is refused before anything is
// allocated.
constexpr uint32_t kMaxCloudFileLength = 256u << 20;

// The remote storage, or null (cloud switch off, or no remote storage). The first call decides
// for the rest of the process.
StoreRemoteStorage* GetCloudStorage();
// Tests: the next GetCloudStorage decides again.
void ResetCloudStorageLookup();

// The cloud form of `data`; false when compression fails.
bool EncodeCloudFile(const std::string& data, std::string* cloud);
// The contents of a cloud file: true only for an empty file, or a complete header and a stream
// that inflates to exactly the stated length (the CRC is handed out, not checked).
bool DecodeCloudFile(const std::string& cloud, std::string* data, uint32_t* crc);

// A cloud name that may become a file of the user folder: not empty, no separator, no "..",
// no control character.
bool IsSafeCloudName(const char* name);

// Uploads a local file (an empty one as a 0-byte cloud file). False without storage, for an
// unreadable file, when compression fails or the store refuses the write.
bool UploadCloudFile(const char* local, const char* cloudName);
// Restores a cloud file to `local`: the contents go to a temporary file first, which replaces
// `local` only when the whole file decoded and was written. False otherwise; `local` is then
// left as it was.
bool DownloadCloudFile(const char* cloudName, const char* local, uint32_t* crc);
// False without storage or when the cloud lacks the name.
bool DeleteCloudFile(const char* cloudName);

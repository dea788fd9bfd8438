// Cloud copies of the user files (see cloud_files.h).
#include "store_platform/cloud_files.h"

#include "core/shell/shell_services.h"
#include "platform/atomic_file.h"
#include "platform/platform.h"
#include "store_platform/remote_storage.h"
#include "store_platform/store.h"

#include <zlib.h>

#include <signal.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

bool LookupDone = false;
StoreRemoteStorage* CachedStorage = nullptr;
bool RecordCopies = true;

// The pieces a file is compressed and restored in.
constexpr size_t kChunk = 64 * 1024;

void PutLE32(unsigned char* out, uint32_t v) {
    out[0] = static_cast<unsigned char>(v);
    out[1] = static_cast<unsigned char>(v >> 8);
    out[2] = static_cast<unsigned char>(v >> 16);
    out[3] = static_cast<unsigned char>(v >> 24);
}

uint32_t GetLE32(const unsigned char* in) {
    return static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 | static_cast<uint32_t>(in[2]) << 16 |
           static_cast<uint32_t>(in[3]) << 24;
}

// CRC-32 of zlib and ZIP (zlib's table-driven form gives the same value as the bitwise one).
uint32_t Crc32(const unsigned char* data, size_t length) {
    uLong crc = crc32(0L, Z_NULL, 0);
    while (length > 0) {
        const uInt piece = static_cast<uInt>(std::min<size_t>(length, 1u << 30));
        crc = crc32(crc, data, piece);
        data += piece;
        length -= piece;
    }
    return static_cast<uint32_t>(crc);
}

// Compresses `length` bytes behind the header, handing each finished piece to `sink`; false
// when compression or the sink fails.
bool EncodeStream(const unsigned char* data, size_t length, const std::function<bool(const void*, size_t)>& sink) {
    unsigned char header[8];
    PutLE32(header, Crc32(data, length));
    PutLE32(header + 4, static_cast<uint32_t>(length));
    if (!sink(header, sizeof(header))) return false;
    z_stream z = {};
    if (deflateInit(&z, kCloudCompressionLevel) != Z_OK) return false;
    std::vector<unsigned char> out(kChunk);
    z.next_in = const_cast<Bytef*>(data);
    size_t left = length;
    int rc = Z_OK;
    bool ok = true;
    do {
        if (z.avail_in == 0 && left > 0) {
            const uInt piece = static_cast<uInt>(std::min<size_t>(left, 1u << 30));
            z.avail_in = piece;
            left -= piece;
        }
        const int flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        rc = deflate(&z, flush);
        if (rc == Z_STREAM_ERROR) {
            ok = false;
            break;
        }
        const size_t produced = out.size() - z.avail_out;
        if (produced > 0 && !sink(out.data(), produced)) {
            ok = false;
            break;
        }
    } while (rc != Z_STREAM_END);
    deflateEnd(&z);
    return ok;
}

// Inflates the stream behind a header stating `length` bytes, handing each piece to `sink`.
// True only when the stream is complete and makes exactly `length` bytes; `crc` receives the
// CRC-32 of what was made.
bool DecodeStream(const unsigned char* stream, size_t size, uint32_t length,
                  const std::function<bool(const void*, size_t)>& sink, uint32_t* crc) {
    z_stream z = {};
    if (inflateInit(&z) != Z_OK) return false;
    std::vector<unsigned char> out(kChunk);
    z.next_in = const_cast<Bytef*>(stream);
    z.avail_in = static_cast<uInt>(size);
    uint64_t made = 0;
    uLong sum = crc32(0L, Z_NULL, 0);
    int rc = Z_OK;
    bool ok = true;
    while (ok && rc != Z_STREAM_END) {
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        rc = inflate(&z, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) {
            ok = false;
            break;
        }
        const size_t produced = out.size() - z.avail_out;
        made += produced;
        if (made > length) {
            ok = false;
            break;
        }
        sum = crc32(sum, out.data(), static_cast<uInt>(produced));
        if (produced > 0 && !sink(out.data(), produced)) ok = false;
        // No progress without the stream's end: it was cut off.
        if (rc == Z_OK && produced == 0 && z.avail_in == 0) ok = false;
    }
    inflateEnd(&z);
    if (crc != nullptr) *crc = static_cast<uint32_t>(sum);
    return ok && made == length;
}

// Whether `local` is the user folder's file of that cloud name, whose copies the record notes.
bool IsRecordedUserFile(const char* local, const char* cloudName) {
    if (!RecordCopies) return false;
    const std::string folder = GetUserDataPath();
    const std::string path = local;
    if (folder.empty() || path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0) return false;
    return strcasecmp(path.c_str() + folder.size(), cloudName) == 0;
}

void NoteCopy(const char* cloudName, const CloudFileHash& local, const CloudFileHash& cloud) {
    CloudSyncRecord record = CloudSyncRecord::Load();
    record.Set(cloudName, local, cloud);
    record.Save();
}

}  // namespace

StoreRemoteStorage* GetCloudStorage() {
    if (!LookupDone) {
        LookupDone = true;
        CachedStorage = enableSteamCloud ? SteamRemoteStorage() : nullptr;
    }
    return CachedStorage;
}

void ResetCloudStorageLookup() {
    LookupDone = false;
    CachedStorage = nullptr;
}

void SetCloudSyncRecording(bool on) { RecordCopies = on; }

bool CloudLengthPlausible(uint32_t length, uint64_t cloudSize) {
    if (length == 0 || length > kMaxCloudFileLength || cloudSize <= 8) return false;
    return static_cast<uint64_t>(length) <= (cloudSize - 8) * kMaxInflateRatio;
}

bool EncodeCloudFile(const std::string& data, std::string* cloud) {
    cloud->clear();
    if (data.empty()) return true;
    std::string out;
    const bool ok = EncodeStream(reinterpret_cast<const unsigned char*>(data.data()), data.size(),
                                 [&out](const void* piece, size_t n) {
                                     out.append(static_cast<const char*>(piece), n);
                                     return true;
                                 });
    if (ok) cloud->swap(out);
    return ok;
}

bool DecodeCloudFile(const std::string& cloud, std::string* data, uint32_t* crc) {
    data->clear();
    if (cloud.empty()) return true;
    if (cloud.size() < 8) return false;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(cloud.data());
    const uint32_t length = GetLE32(bytes + 4);
    // A zero-length file never has a header; a stream stating 0 bytes is not one of ours.
    if (!CloudLengthPlausible(length, cloud.size())) return false;
    if (crc != nullptr) *crc = GetLE32(bytes);
    std::string out;
    const bool ok = DecodeStream(bytes + 8, cloud.size() - 8, length,
                                 [&out](const void* piece, size_t n) {
                                     out.append(static_cast<const char*>(piece), n);
                                     return true;
                                 },
                                 nullptr);
    if (!ok) return false;
    data->swap(out);
    return true;
}

// Maps a regular file only: a named pipe or a device would block the open or never end.
static const void* MapRegularFile(const char* path, uint32_t* size) {
    FILE* f = OpenRegularFile(path);
    if (f == nullptr) return nullptr;
    fclose(f);
    return MapFileToMemory(path, size);
}

bool HashLocalFile(const std::string& path, CloudFileHash* hash) {
    uint32_t size = 0;
    const void* view = MapRegularFile(path.c_str(), &size);
    if (view == nullptr) return false;
    hash->length = size;
    hash->crc = Crc32(static_cast<const unsigned char*>(view), size);
    UnmapFile(view);
    return true;
}

int64_t LocalFileTimestamp(const std::string& path) {
    struct stat st;
    if (path.empty() || stat(path.c_str(), &st) != 0) return 0;
    return static_cast<int64_t>(st.st_mtime);
}

CloudHeader ReadCloudHeader(const char* cloudName, CloudFileHash* stated) {
    *stated = CloudFileHash();
    StoreRemoteStorage* storage = GetCloudStorage();
    if (storage == nullptr || cloudName == nullptr || !storage->FileExists(cloudName)) return CloudHeader::Missing;
    const int32_t size = storage->GetFileSize(cloudName);
    if (size == 0) return CloudHeader::Valid;
    if (size < 8) return CloudHeader::Broken;
    unsigned char header[8];
    if (storage->FileRead(cloudName, header, 8) != 8) return CloudHeader::Broken;
    stated->crc = GetLE32(header);
    stated->length = GetLE32(header + 4);
    return CloudLengthPlausible(stated->length, static_cast<uint64_t>(size)) ? CloudHeader::Valid : CloudHeader::Broken;
}

bool IsSafeCloudName(const char* name) {
    if (name == nullptr || *name == '\0') return false;
    if (strstr(name, "..") != nullptr) return false;
    for (const char* c = name; *c; ++c) {
        const unsigned char ch = static_cast<unsigned char>(*c);
        if (ch == '/' || ch == '\\' || ch == ':' || ch < 0x20 || ch == 0x7F) return false;
    }
    return strcmp(name, ".") != 0;
}

bool UploadCloudFile(const char* local, const char* cloudName, CloudFileHash* hash) {
    StoreRemoteStorage* storage = GetCloudStorage();
    if (storage == nullptr || local == nullptr || cloudName == nullptr) return false;
    if (CurrentStoreFaults().dieBeforeUpload == cloudName) {
        std::fflush(stdout);
        raise(SIGKILL);
    }
    uint32_t size = 0;
    const void* view = MapRegularFile(local, &size);
    if (view == nullptr) return false;
    const unsigned char* bytes = static_cast<const unsigned char*>(view);
    CloudFileHash uploaded;
    uploaded.length = size;
    bool ok = false;
    if (size == 0) {
        ok = storage->FileWrite(cloudName, "", 0);
    } else if (size > kMaxCloudFileLength) {
        printf("'%s' is too large for the cloud (%u bytes)\n", local, size);
    } else if (const CloudWriteStream_t stream = storage->FileWriteStreamOpen(cloudName)) {
        uploaded.crc = Crc32(bytes, size);
        ok = EncodeStream(bytes, size, [storage, stream](const void* piece, size_t n) {
            return storage->FileWriteStreamWriteChunk(stream, piece, static_cast<int32_t>(n));
        });
        ok = ok ? storage->FileWriteStreamClose(stream) : (storage->FileWriteStreamCancel(stream), false);
    }
    UnmapFile(view);
    if (!ok) return false;
    if (hash != nullptr) *hash = uploaded;
    if (IsRecordedUserFile(local, cloudName)) NoteCopy(cloudName, uploaded, uploaded);
    return true;
}

bool DownloadCloudFile(const char* cloudName, const char* local, uint32_t* crc, CloudFileHash* stated,
                       CloudFileHash* written) {
    StoreRemoteStorage* storage = GetCloudStorage();
    if (storage == nullptr || cloudName == nullptr || local == nullptr || !storage->FileExists(cloudName)) return false;
    const int32_t size = storage->GetFileSize(cloudName);
    CloudFileHash header;
    CloudFileHash made;
    if (size < 0 || static_cast<uint32_t>(size) > kMaxCloudFileLength + kMaxCloudFileLength / 512 + 64) {
        printf("Cloud file '%s' is too large to restore or cannot be read; '%s' is kept\n", cloudName, local);
        return false;
    }
    if (size == 0) {
        unsigned char probe = 0;
        CloudFileHash present;
        if (storage->FileRead(cloudName, &probe, 1) != 0) {
            printf("Cloud file '%s' is not the empty file it is listed as; '%s' is kept\n", cloudName, local);
            return false;
        }
        if (HashLocalFile(local, &present) && present.length > 0) {
            printf("Cloud file '%s' is empty; it does not replace '%s'\n", cloudName, local);
            return false;
        }
        std::string error;
        if (!WriteFileAtomically(local, "", &error)) {
            printf("Could not restore '%s' from the cloud: %s\n", local, error.c_str());
            return false;
        }
    } else {
        std::string cloud(static_cast<size_t>(size), '\0');
        if (storage->FileRead(cloudName, &cloud[0], size) < size) {
            printf("Cloud file '%s' could not be read whole; '%s' is kept\n", cloudName, local);
            return false;
        }
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(cloud.data());
        if (size >= 8) {
            header.crc = GetLE32(bytes);
            header.length = GetLE32(bytes + 4);
        }
        if (size < 8 || !CloudLengthPlausible(header.length, static_cast<uint64_t>(size))) {
            printf("Cloud file '%s' is not a cloud copy of a user file; '%s' is kept\n", cloudName, local);
            return false;
        }
        // Only a completely written copy replaces the local file.
        AtomicFileWriter out(local);
        if (!out.Open()) {
            printf("Could not restore '%s' from the cloud: %s\n", local, out.error().c_str());
            return false;
        }
        made.length = header.length;
        const bool decoded = DecodeStream(
            bytes + 8, cloud.size() - 8, header.length,
            [&out](const void* piece, size_t n) { return out.Write(piece, n); }, &made.crc);
        if (!decoded) {
            out.Discard();
            printf("Cloud file '%s' is damaged; '%s' is kept\n", cloudName, local);
            return false;
        }
        if (!out.Commit()) {
            printf("Could not restore '%s' from the cloud: %s\n", local, out.error().c_str());
            return false;
        }
        if (crc != nullptr) *crc = header.crc;
    }
    if (stated != nullptr) *stated = header;
    if (written != nullptr) *written = made;
    if (IsRecordedUserFile(local, cloudName)) NoteCopy(cloudName, made, header);
    return true;
}

bool DeleteCloudFile(const char* cloudName) {
    StoreRemoteStorage* storage = GetCloudStorage();
    if (storage == nullptr || cloudName == nullptr || !storage->FileExists(cloudName)) return false;
    if (!storage->FileDelete(cloudName)) return false;
    if (RecordCopies) {
        CloudSyncRecord record = CloudSyncRecord::Load();
        if (record.Find(cloudName) != nullptr) {
            record.Erase(cloudName);
            record.Save();
        }
    }
    return true;
}

// Cloud copies of the user files (see cloud_files.h).
#include "store_platform/cloud_files.h"

#include "core/shell/shell_services.h"
#include "platform/atomic_file.h"
#include "platform/platform.h"
#include "store_platform/remote_storage.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

bool LookupDone = false;
StoreRemoteStorage* CachedStorage = nullptr;

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

// CRC-32 of zlib and ZIP, bit by bit.
uint32_t Crc32(const unsigned char* data, size_t length) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

bool EncodeBytes(const unsigned char* data, size_t length, std::vector<unsigned char>* out) {
    // Room for incompressible data: twice the length plus 24 is above zlib's worst case.
    const size_t capacity = length * 2 + 24;
    out->assign(capacity + 8, 0);
    uLongf written = static_cast<uLongf>(capacity);
    if (compress2(out->data() + 8, &written, data, static_cast<uLong>(length), 9) != Z_OK) {
        out->clear();
        return false;
    }
    PutLE32(out->data(), Crc32(data, length));
    PutLE32(out->data() + 4, static_cast<uint32_t>(length));
    out->resize(8 + written);
    return true;
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

bool EncodeCloudFile(const std::string& data, std::string* cloud) {
    cloud->clear();
    if (data.empty()) return true;
    std::vector<unsigned char> out;
    if (!EncodeBytes(reinterpret_cast<const unsigned char*>(data.data()), data.size(), &out)) return false;
    cloud->assign(reinterpret_cast<const char*>(out.data()), out.size());
    return true;
}

bool DecodeCloudFile(const std::string& cloud, std::string* data, uint32_t* crc) {
    data->clear();
    if (cloud.empty()) return true;
    if (cloud.size() < 8) return false;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(cloud.data());
    const uint32_t length = GetLE32(bytes + 4);
    if (length > kMaxCloudFileLength) return false;
    if (crc != nullptr) *crc = GetLE32(bytes);
    std::string out(length, '\0');
    uLongf inflated = static_cast<uLongf>(length);
    // A zero-length file never has a header; a stream stating 0 bytes is not one of ours.
    if (length == 0) return false;
    const int rc = uncompress(reinterpret_cast<Bytef*>(&out[0]), &inflated, bytes + 8,
                              static_cast<uLong>(cloud.size() - 8));
    if (rc != Z_OK || inflated != length) return false;
    *data = std::move(out);
    return true;
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

bool UploadCloudFile(const char* local, const char* cloudName) {
    StoreRemoteStorage* storage = GetCloudStorage();
    if (storage == nullptr || local == nullptr || cloudName == nullptr) return false;
    uint32_t size = 0;
    const void* view = MapFileToMemory(local, &size);
    if (view == nullptr) return false;
    bool ok = false;
    if (size == 0) {
        ok = storage->FileWrite(cloudName, "", 0);
    } else {
        std::vector<unsigned char> out;
        if (size <= kMaxCloudFileLength && EncodeBytes(static_cast<const unsigned char*>(view), size, &out)) {
            ok = storage->FileWrite(cloudName, out.data(), static_cast<int32_t>(out.size()));
        }
    }
    UnmapFile(view);
    return ok;
}

bool DownloadCloudFile(const char* cloudName, const char* local, uint32_t* crc) {
    StoreRemoteStorage* storage = GetCloudStorage();
    if (storage == nullptr || cloudName == nullptr || local == nullptr || !storage->FileExists(cloudName)) return false;
    const int32_t size = storage->GetFileSize(cloudName);
    std::string data;
    if (size > 0) {
        if (static_cast<uint32_t>(size) > kMaxCloudFileLength * 2u + 32u) return false;
        std::string cloud(static_cast<size_t>(size), '\0');
        if (storage->FileRead(cloudName, &cloud[0], size) < size) return false;
        if (!DecodeCloudFile(cloud, &data, crc)) return false;
    }
    // Only a completely written copy replaces the local file.
    std::string error;
    if (!WriteFileAtomically(local, data, &error)) {
        printf("Could not restore '%s' from the cloud: %s\n", local, error.c_str());
        return false;
    }
    return true;
}

bool DeleteCloudFile(const char* cloudName) {
    StoreRemoteStorage* storage = GetCloudStorage();
    if (storage == nullptr || cloudName == nullptr || !storage->FileExists(cloudName)) return false;
    return storage->FileDelete(cloudName);
}

// The record of the last copies between the user folder and the cloud (see cloud_sync_record.h).
#include "store_platform/cloud_sync_record.h"

#include "platform/atomic_file.h"
#include "platform/platform.h"
#include "store_platform/remote_storage.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

const char* const kRecordFileName = "cloud_sync.txt";
const char* const kFirstWord = "cloud-sync 1 ";
// A record larger than this is not one of ours.
constexpr long kMaxRecordBytes = 4l << 20;

bool ParseHex32(const std::string& text, uint32_t* value) {
    if (text.size() != 8) return false;
    for (char c : text) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex) return false;
    }
    *value = static_cast<uint32_t>(strtoul(text.c_str(), nullptr, 16));
    return true;
}

bool ParseLength(const std::string& text, uint32_t* value) {
    if (text.empty() || text.size() > 10) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    const unsigned long long v = strtoull(text.c_str(), nullptr, 10);
    if (v > UINT32_MAX) return false;
    *value = static_cast<uint32_t>(v);
    return true;
}

// The next blank-separated word of `line` from `at`; false at the end.
bool NextWord(const std::string& line, size_t* at, std::string* word) {
    const size_t blank = line.find(' ', *at);
    if (blank == std::string::npos) return false;
    *word = line.substr(*at, blank - *at);
    *at = blank + 1;
    return true;
}

}  // namespace

std::string CloudSyncRecord::Path() {
    const std::string folder = GetUserDataPath();
    return folder.empty() ? "" : folder + kRecordFileName;
}

CloudSyncRecord CloudSyncRecord::Load() {
    const std::string path = Path();
    std::string text;
    if (FILE* f = OpenRegularFile(path)) {
        char buffer[65536];
        size_t got = 0;
        while ((got = fread(buffer, 1, sizeof(buffer), f)) > 0 && static_cast<long>(text.size()) <= kMaxRecordBytes) {
            text.append(buffer, got);
        }
        fclose(f);
    }
    if (static_cast<long>(text.size()) > kMaxRecordBytes) {
        printf("%s is too large; it is not used\n", path.c_str());
        return CloudSyncRecord();
    }
    return Parse(text, StoreRemoteStorage::CloudFolder());
}

bool CloudSyncRecord::Save() const {
    const std::string path = Path();
    std::string error;
    if (!WriteFileAtomically(path, Format(StoreRemoteStorage::CloudFolder()), &error)) {
        printf("The record of the cloud copies could not be written: %s\n",
               path.empty() ? "the user folder is unavailable" : error.c_str());
        return false;
    }
    return true;
}

const CloudSyncRecord::Entry* CloudSyncRecord::Find(const std::string& name) const {
    const auto found = entries_.find(name);
    return found == entries_.end() ? nullptr : &found->second;
}

void CloudSyncRecord::Set(const std::string& name, const CloudFileHash& local, const CloudFileHash& cloud) {
    entries_[name] = Entry{local, cloud};
}

void CloudSyncRecord::Erase(const std::string& name) { entries_.erase(name); }

std::string CloudSyncRecord::Format(const std::string& cloudFolder) const {
    std::string text = kFirstWord + cloudFolder + "\n";
    char line[64];
    for (const auto& e : entries_) {
        snprintf(line, sizeof(line), "%08x %u %08x %u ", e.second.local.crc, e.second.local.length, e.second.cloud.crc,
                 e.second.cloud.length);
        text += line + e.first + "\n";
    }
    return text;
}

CloudSyncRecord CloudSyncRecord::Parse(const std::string& text, const std::string& cloudFolder) {
    CloudSyncRecord record;
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kFirstWord + cloudFolder) return record;
    while (std::getline(in, line)) {
        size_t at = 0;
        std::string w[4];
        bool ok = true;
        for (std::string& word : w) ok = ok && NextWord(line, &at, &word);
        Entry entry;
        ok = ok && ParseHex32(w[0], &entry.local.crc) && ParseLength(w[1], &entry.local.length) &&
             ParseHex32(w[2], &entry.cloud.crc) && ParseLength(w[3], &entry.cloud.length) && at < line.size();
        if (ok) record.entries_[line.substr(at)] = entry;
    }
    return record;
}

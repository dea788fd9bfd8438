// What the cloud and the user folder held when a user file was last copied between them, kept
// beside the user files ("cloud_sync.txt"). The start-up sync compares both sides with it: a
// side that still holds the recorded contents has not changed since, so the other side's copy
// is the newer one; a side that lost a file it held then had it deleted.
//
// The file: a first line "cloud-sync 1 FOLDER" naming the cloud folder it describes, then one
// line per user file, "LOCALCRC LOCALLENGTH CLOUDCRC CLOUDLENGTH NAME" (the CRCs as eight hex
// digits, the lengths in decimal; NAME is the rest of the line). A record kept for another
// cloud folder, or one that cannot be read, counts as empty.
#pragma once

#include <cstdint>
#include <map>
#include <string>

// The CRC-32 and the length of a file's contents, as a cloud file's header states them.
struct CloudFileHash {
    uint32_t crc = 0;
    uint32_t length = 0;
    bool operator==(const CloudFileHash& o) const { return crc == o.crc && length == o.length; }
    bool operator!=(const CloudFileHash& o) const { return !(*this == o); }
};

class CloudSyncRecord {
public:
    struct Entry {
        CloudFileHash local;  // the user folder's file as it was then
        CloudFileHash cloud;  // the cloud file's header as it was then
    };

    // The user folder's record of the current cloud folder.
    static CloudSyncRecord Load();
    // Replaces the record file whole; false (with a diagnostic) when it cannot be written.
    bool Save() const;
    // Where the record is kept; "" without a user folder.
    static std::string Path();

    const Entry* Find(const std::string& name) const;
    void Set(const std::string& name, const CloudFileHash& local, const CloudFileHash& cloud);
    void Erase(const std::string& name);
    void Clear() { entries_.clear(); }
    bool Empty() const { return entries_.empty(); }

    // The text of the record file, and the record it holds for `cloudFolder` (empty for another
    // folder; broken lines are skipped).
    std::string Format(const std::string& cloudFolder) const;
    static CloudSyncRecord Parse(const std::string& text, const std::string& cloudFolder);

private:
    std::map<std::string, Entry> entries_;
};

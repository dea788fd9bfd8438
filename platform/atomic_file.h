// Whole-file replacement for user files (configuration, high scores, the last build, the save
// index, saves and thumbnails, the store's records).
//
// The new content goes into a temporary file beside the target (target + ".tmp"), which is
// flushed and synced to the disk and then renamed over the target. A full disk, a failed write
// or a kill at any moment therefore leaves either the complete old file or the complete new
// one, never a cut-off file. A temporary file left by a killed run is ignored by every reader
// and replaced by the next write.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// One replacement of one file. Open() starts it, the caller writes through file(), Commit()
// finishes it. Anything not committed (a failure, an early return) is discarded when the
// object goes, and the target is left exactly as it was.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file (replacing a stale one). False, with error() set, when it
    // cannot be made; an empty path is always refused.
    bool Open();
    // The stream to write to; null before Open() succeeded and after Commit() or Discard().
    FILE* file() const { return file_; }
    // Writes bytes; false (and the whole replacement fails) when not all of them were written.
    bool Write(const void* data, size_t size);
    // Flushes, syncs, closes and renames over the target. False, with error() set, when any
    // step failed or any earlier write failed; the target is then untouched.
    bool Commit();
    // Drops the temporary file; the target is untouched.
    void Discard();

    const std::string& path() const { return path_; }
    const std::string& tempPath() const { return temp_; }
    // What went wrong, for diagnostics ("" while nothing did).
    const std::string& error() const { return error_; }

private:
    bool Fail(const char* step);

    std::string path_;
    std::string temp_;
    std::string error_;
    FILE* file_ = nullptr;
    bool failed_ = false;
};

// Replaces the file with `size` bytes. True when the new content is in place; on false the old
// file is untouched and, when `error` is given, it says why.
bool WriteFileAtomically(const std::string& path, const void* data, size_t size,
                         std::string* error = nullptr);
bool WriteFileAtomically(const std::string& path, const std::string& content,
                         std::string* error = nullptr);

// The steps of a replacement, in order, for the failure hook below.
enum class AtomicWriteStep { Open, Write, Flush, Sync, Close, Rename };

// Test hook: called before each step with the target path; returning false makes that step
// fail as a full disk or a read-only folder would. Null (the default) lets every step run.
using AtomicWriteHook = bool (*)(AtomicWriteStep step, const std::string& path);
void SetAtomicWriteHook(AtomicWriteHook hook);

// Whole-file replacement through a synced temporary file and a rename (POSIX).
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace {

AtomicWriteHook WriteHook = nullptr;

const char* StepName(AtomicWriteStep step) {
    switch (step) {
        case AtomicWriteStep::Open: return "create";
        case AtomicWriteStep::Write: return "write";
        case AtomicWriteStep::Flush: return "flush";
        case AtomicWriteStep::Sync: return "sync";
        case AtomicWriteStep::Close: return "close";
        case AtomicWriteStep::Rename: return "rename";
    }
    return "write";
}

// False when the test hook makes the step fail (errno is then set as a full disk would).
bool HookAllows(AtomicWriteStep step, const std::string& path) {
    if (WriteHook == nullptr || WriteHook(step, path)) return true;
    errno = ENOSPC;
    return false;
}

// Makes the rename itself durable. A failure here cannot be undone (the new file is already
// in place) and is not reported.
void SyncFolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

void SetAtomicWriteHook(AtomicWriteHook hook) {
    WriteHook = hook;
}

AtomicFileWriter::AtomicFileWriter(std::string path) : path_(std::move(path)) {
    if (!path_.empty()) temp_ = path_ + ".tmp";
}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

bool AtomicFileWriter::Fail(const char* step) {
    const int code = errno;
    error_ = std::string("cannot ") + step + " " + (temp_.empty() ? path_ : temp_) + ": " +
             (code != 0 ? std::strerror(code) : "failed");
    failed_ = true;
    Discard();
    return false;
}

bool AtomicFileWriter::Open() {
    Discard();
    failed_ = false;
    error_.clear();
    if (path_.empty()) {
        errno = ENOENT;
        return Fail("create a file without a name");
    }
    if (!HookAllows(AtomicWriteStep::Open, path_)) return Fail(StepName(AtomicWriteStep::Open));
    // A temporary file left by a killed run is simply replaced.
    if (unlink(temp_.c_str()) != 0 && errno != ENOENT) return Fail("remove the stale");
    const int fd = open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) return Fail(StepName(AtomicWriteStep::Open));
    // The replacement keeps the permissions of the file it replaces.
    struct stat old;
    if (stat(path_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) fchmod(fd, old.st_mode & 07777);
    file_ = fdopen(fd, "wb");
    if (file_ == nullptr) {
        const int code = errno;
        close(fd);
        errno = code;
        return Fail(StepName(AtomicWriteStep::Open));
    }
    return true;
}

bool AtomicFileWriter::Write(const void* data, size_t size) {
    if (file_ == nullptr) {
        errno = EBADF;
        return Fail(StepName(AtomicWriteStep::Write));
    }
    if (size == 0) return true;
    if (!HookAllows(AtomicWriteStep::Write, path_) || std::fwrite(data, 1, size, file_) != size) {
        return Fail(StepName(AtomicWriteStep::Write));
    }
    return true;
}

bool AtomicFileWriter::Commit() {
    if (file_ == nullptr) {
        if (error_.empty()) {
            errno = EBADF;
            return Fail("finish");
        }
        return false;
    }
    errno = EIO;
    if (failed_ || std::ferror(file_)) return Fail(StepName(AtomicWriteStep::Write));
    if (!HookAllows(AtomicWriteStep::Flush, path_) || std::fflush(file_) != 0) {
        return Fail(StepName(AtomicWriteStep::Flush));
    }
    if (!HookAllows(AtomicWriteStep::Sync, path_) || fsync(fileno(file_)) != 0) {
        return Fail(StepName(AtomicWriteStep::Sync));
    }
    const bool closeAllowed = HookAllows(AtomicWriteStep::Close, path_);
    const int closeCode = closeAllowed ? 0 : errno;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!closeAllowed || !closed) {
        if (!closeAllowed) errno = closeCode;
        return Fail(StepName(AtomicWriteStep::Close));
    }
    if (!HookAllows(AtomicWriteStep::Rename, path_) || std::rename(temp_.c_str(), path_.c_str()) != 0) {
        return Fail(StepName(AtomicWriteStep::Rename));
    }
    SyncFolderOf(path_);
    return true;
}

void AtomicFileWriter::Discard() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
        unlink(temp_.c_str());
    } else if (failed_ && !temp_.empty()) {
        unlink(temp_.c_str());
    }
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size, std::string* error) {
    AtomicFileWriter writer(path);
    const bool ok = writer.Open() && writer.Write(data, size) && writer.Commit();
    if (!ok && error != nullptr) *error = writer.error();
    return ok;
}

bool WriteFileAtomically(const std::string& path, const std::string& content, std::string* error) {
    return WriteFileAtomically(path, content.data(), content.size(), error);
}

#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

void (*RaceHook)(const std::string&) = nullptr;
int (*LockFunction)(int, int) = nullptr;

int TakeLock(int fd) { return LockFunction != nullptr ? LockFunction(fd, LOCK_EX | LOCK_NB) : flock(fd, LOCK_EX | LOCK_NB); }

// True when the path names the file the descriptor has open (a folder's path may lead there
// through a symbolic link; a lock file's never does).
bool PathNamesDescriptor(const std::string& path, int fd, bool folder) {
    struct stat byPath;
    struct stat byDescriptor;
    const int found = folder ? stat(path.c_str(), &byPath) : lstat(path.c_str(), &byPath);
    if (fstat(fd, &byDescriptor) != 0 || found != 0) return false;
    return byPath.st_dev == byDescriptor.st_dev && byPath.st_ino == byDescriptor.st_ino;
}

// Enough for any number of runs starting and ending at once; each retry means another run
// removed the file in the meantime.
constexpr int kAttempts = 64;

}  // namespace

PathLock LockPath(const std::string& path, bool folder, const std::string& what) {
    PathLock result;
    const int flags = folder ? (O_RDONLY | O_DIRECTORY | O_CLOEXEC) : (O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const int fd = open(path.c_str(), flags, 0666);
        if (fd < 0) {
            result.problem = std::strerror(errno);
            return result;
        }
        if (RaceHook != nullptr) RaceHook(path);
        if (TakeLock(fd) != 0) {
            const int code = errno;
            if (code == EWOULDBLOCK) {
                close(fd);
                result.state = LockState::Busy;
                return result;
            }
            // No locks on this file system (NFS without a lock service, for one). The game is
            // still played: refusing to start there would shut its players out altogether.
            result.state = LockState::Unguarded;
            result.fd = fd;
            result.problem = std::strerror(code);
            std::fprintf(stderr,
                         "Vaultmere: %s cannot be locked (%s); the game goes on, but a second run on it "
                         "would not be noticed and the last run to write would win\n",
                         what.c_str(), result.problem.c_str());
            return result;
        }
        if (PathNamesDescriptor(path, fd, folder)) {
            result.state = LockState::Held;
            result.fd = fd;
            return result;
        }
        // The file was removed (and perhaps made again by another run) between the opening and
        // the lock: this lock guards nothing.
        close(fd);
    }
    result.problem = "the lock file keeps being replaced";
    return result;
}

void ReleaseLockFile(PathLock* lock, const std::string& path) {
    if (lock->fd < 0) return;
    // Removed while this run still holds it, and only when it is still this run's file.
    if (PathNamesDescriptor(path, lock->fd, false)) unlink(path.c_str());
    close(lock->fd);
    lock->fd = -1;
    lock->state = LockState::Unusable;
}

void CloseLock(PathLock* lock) {
    if (lock->fd < 0) return;
    close(lock->fd);
    lock->fd = -1;
    lock->state = LockState::Unusable;
}

void SetLockRaceHook(void (*hook)(const std::string& path)) { RaceHook = hook; }

void SetLockFunction(int (*lockFunction)(int fd, int operation)) { LockFunction = lockFunction; }

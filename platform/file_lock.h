// Exclusive locks that keep two runs of the game off one folder: a lock file (made when
// missing) or a folder itself, locked through a descriptor the run keeps open until it ends.
//
// A run that ends removes its lock file and then closes it. Another run may have opened the
// file just before it was removed and take the lock on it afterwards: a lock on a file that no
// longer has the path. So once the lock is taken, the path must still name the locked file;
// when it does not, the file is opened again and the lock taken anew.
#pragma once

#include <string>

enum class LockState {
    Held,        // this run holds the lock
    Busy,        // another run holds it
    Unguarded,   // the file system has no locks (ENOLCK on NFS, for one): open, but not locked
    Unusable,    // the path cannot be opened (or made); see problem
};

struct PathLock {
    LockState state = LockState::Unusable;
    int fd = -1;           // open for Held and Unguarded, -1 otherwise
    std::string problem;   // the system's words for Unusable and Unguarded
};

// Opens the file (made with mode 0666 when missing; never through a symbolic link), or the
// folder when `folder`, and takes an exclusive lock without waiting. Unguarded is said on
// stderr, naming `what` (for instance "the user folder /home/a/"): the run goes on, but a
// second run would not be noticed.
PathLock LockPath(const std::string& path, bool folder, const std::string& what);

// Gives the lock up: a lock file is removed while still locked (only when the path still
// names it), then closed. Does nothing for a lock that is not open.
void ReleaseLockFile(PathLock* lock, const std::string& path);
// Closes the lock, a folder's or a file's, and removes nothing.
void CloseLock(PathLock* lock);

// Tests: runs between the opening and the locking, to stage what another run does meanwhile
// (null: nothing).
void SetLockRaceHook(void (*hook)(const std::string& path));
// Tests: replaces the system's flock (null: the system's).
void SetLockFunction(int (*lockFunction)(int fd, int operation));

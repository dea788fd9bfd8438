// The locks that keep two runs off one folder: a second taker is turned away, also from another
// process; a lock file removed and made again between another run's opening and locking is
// never mistaken for a lock; a file system without locks is said on stderr and played on.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/file_lock.h"
#include "support/run_game.h"

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// What another run does while this one is between opening and locking the file.
int OtherRunFd = -1;
bool OtherRunMakesANewFile = true;

void OtherRunReplacesTheFile(const std::string& path) {
    unlink(path.c_str());
    if (!OtherRunMakesANewFile) return;
    OtherRunFd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (OtherRunFd >= 0) flock(OtherRunFd, LOCK_EX | LOCK_NB);
}

int NoLocksHere(int, int) {
    errno = ENOLCK;
    return -1;
}

class FileLockTest : public testing::Test {
protected:
    void TearDown() override {
        SetLockRaceHook(nullptr);
        SetLockFunction(nullptr);
        if (OtherRunFd >= 0) close(OtherRunFd);
        OtherRunFd = -1;
        OtherRunMakesANewFile = true;
    }
    TempDir dir_;
};

TEST_F(FileLockTest, ASecondTakerIsTurnedAwayUntilTheFirstGivesTheLockUp) {
    const std::string path = dir_.file("cookie.txt");
    PathLock first = LockPath(path, false, "the test folder");
    ASSERT_EQ(first.state, LockState::Held);
    EXPECT_TRUE(FileExists(path));
    PathLock second = LockPath(path, false, "the test folder");
    EXPECT_EQ(second.state, LockState::Busy);
    EXPECT_EQ(second.fd, -1);
    ReleaseLockFile(&first, path);
    EXPECT_FALSE(FileExists(path)) << "removed while still locked";
    EXPECT_EQ(first.fd, -1);
    PathLock third = LockPath(path, false, "the test folder");
    EXPECT_EQ(third.state, LockState::Held);
    ReleaseLockFile(&third, path);

    // A folder is locked as a whole.
    PathLock folder = LockPath(dir_.path(), true, "the test folder");
    ASSERT_EQ(folder.state, LockState::Held);
    EXPECT_EQ(LockPath(dir_.path(), true, "the test folder").state, LockState::Busy);
    CloseLock(&folder);
    PathLock again = LockPath(dir_.path(), true, "the test folder");
    EXPECT_EQ(again.state, LockState::Held);
    CloseLock(&again);
    EXPECT_EQ(LockPath(dir_.file("missing/"), true, "the test folder").state, LockState::Unusable);

    // Reached through a symbolic link, it is the same folder.
    ASSERT_EQ(mkdir(dir_.file("store").c_str(), 0755), 0);
    ASSERT_EQ(symlink(dir_.file("store").c_str(), dir_.file("link").c_str()), 0);
    PathLock linked = LockPath(dir_.file("link"), true, "the test folder");
    ASSERT_EQ(linked.state, LockState::Held);
    EXPECT_EQ(LockPath(dir_.file("store/"), true, "the test folder").state, LockState::Busy);
    CloseLock(&linked);
}

TEST_F(FileLockTest, AnotherProcessHoldingTheLockTurnsThisOneAway) {
    const std::string path = dir_.file("cookie.txt");
    int ready[2];
    int finish[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(finish), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        PathLock held = LockPath(path, false, "the test folder");
        const char state = held.state == LockState::Held ? 'H' : 'x';
        if (write(ready[1], &state, 1) != 1) _exit(2);
        char go = 0;
        if (read(finish[0], &go, 1) != 1) _exit(3);
        ReleaseLockFile(&held, path);
        _exit(0);
    }
    char state = 0;
    ASSERT_EQ(read(ready[0], &state, 1), 1);
    EXPECT_EQ(state, 'H');
    EXPECT_EQ(LockPath(path, false, "the test folder").state, LockState::Busy);
    const char go = 'g';
    ASSERT_EQ(write(finish[1], &go, 1), 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    PathLock mine = LockPath(path, false, "the test folder");
    EXPECT_EQ(mine.state, LockState::Held);
    ReleaseLockFile(&mine, path);
    for (int fd : {ready[0], ready[1], finish[0], finish[1]}) close(fd);
}

TEST_F(FileLockTest, ALockOnAFileRemovedMeanwhileIsNeverTakenForTheLock) {
    const std::string path = dir_.file("cookie.txt");
    // Another run removes the file this one has just opened and makes and locks a new one: the
    // lock this run then gets on the removed file guards nothing, and the other run holds the
    // folder.
    SetLockRaceHook(OtherRunReplacesTheFile);
    PathLock lock = LockPath(path, false, "the test folder");
    SetLockRaceHook(nullptr);
    EXPECT_EQ(lock.state, LockState::Busy);
    EXPECT_EQ(lock.fd, -1);
    ASSERT_GE(OtherRunFd, 0);

    // The other run removes it and ends before making a new one: this run makes and holds it.
    close(OtherRunFd);
    OtherRunFd = -1;
    OtherRunMakesANewFile = false;
    int calls = 0;
    static int* count = nullptr;
    count = &calls;
    SetLockRaceHook([](const std::string& p) {
        if ((*count)++ == 0) OtherRunReplacesTheFile(p);
    });
    PathLock taken = LockPath(path, false, "the test folder");
    SetLockRaceHook(nullptr);
    ASSERT_EQ(taken.state, LockState::Held);
    EXPECT_EQ(calls, 2) << "opened again once";
    struct stat byPath;
    struct stat byFd;
    ASSERT_EQ(stat(path.c_str(), &byPath), 0);
    ASSERT_EQ(fstat(taken.fd, &byFd), 0);
    EXPECT_EQ(byPath.st_ino, byFd.st_ino) << "the lock is on the file the path names";
    ReleaseLockFile(&taken, path);
}

TEST_F(FileLockTest, AFileSystemWithoutLocksIsSaidOnStandardErrorAndPlayedOn) {
    const std::string path = dir_.file("cookie.txt");
    SetLockFunction(NoLocksHere);
    testing::internal::CaptureStderr();
    PathLock lock = LockPath(path, false, "the user folder " + dir_.path() + "/");
    const std::string said = testing::internal::GetCapturedStderr();
    SetLockFunction(nullptr);
    EXPECT_EQ(lock.state, LockState::Unguarded);
    EXPECT_GE(lock.fd, 0);
    EXPECT_TRUE(Contains(said, "Vaultmere: the user folder " + dir_.path() + "/ cannot be locked (No locks available)"))
        << said;
    EXPECT_TRUE(Contains(said, "a second run on it would not be noticed")) << said;
    ReleaseLockFile(&lock, path);
    EXPECT_FALSE(FileExists(path));
}

}  // namespace

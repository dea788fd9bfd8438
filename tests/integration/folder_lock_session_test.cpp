// The real executable holds its folders until the very end: the crash cookie, whose lock keeps
// a second run off the user folder, goes only after every user and store file was written at
// exit; and a second run on another user folder but the same store folder is turned away.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/run_game.h"

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

const char* const kWelcomeShown = "<config>\n<setting name=\"completedATutorial\" value=\"1\"/>\n</config>\n";

struct FileEvent {
    std::string name;  // "store/" in front for the store folder
    uint32_t mask;
};

// Watches a few folders for files being written, renamed into place or removed, in order.
class FolderWatch {
public:
    FolderWatch() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
    ~FolderWatch() {
        if (fd_ >= 0) close(fd_);
    }
    bool Add(const std::string& folder, const std::string& prefix) {
        const int wd = inotify_add_watch(fd_, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE);
        if (wd < 0) return false;
        if (prefixes_.size() <= static_cast<size_t>(wd)) prefixes_.resize(static_cast<size_t>(wd) + 1);
        prefixes_[static_cast<size_t>(wd)] = prefix;
        return true;
    }
    std::vector<FileEvent> Events() {
        std::vector<FileEvent> events;
        alignas(inotify_event) char buffer[64 * 1024];
        for (ssize_t got; (got = read(fd_, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + got;) {
                const inotify_event* e = reinterpret_cast<const inotify_event*>(at);
                if ((e->mask & IN_Q_OVERFLOW) != 0) events.push_back({"<overflow>", e->mask});
                if (e->len > 0 && e->wd >= 0 && static_cast<size_t>(e->wd) < prefixes_.size()) {
                    events.push_back({prefixes_[static_cast<size_t>(e->wd)] + e->name, e->mask});
                }
                at += sizeof(inotify_event) + e->len;
            }
        }
        return events;
    }

private:
    int fd_;
    std::vector<std::string> prefixes_;
};

TEST(FolderLockSession, TheCookieGoesOnlyAfterEveryUserAndStoreFileWasWrittenAtExit) {
    struct Case {
        const char* label;
        std::vector<std::string> args;
        const char* script;
        std::vector<std::string> written;  // files the exit writes (at least these)
    };
    const Case cases[] = {
        {"quit from the title menu", {"-no-initial-config"}, kQuitFromMenuScript, {"config.xml"}},
        {"a game saved and left", {"-no-initial-config", "-player-random-build", "-player-name=Tess"}, kLeaveGameScript,
         {"config.xml", "Tess.sav", "store/stats.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir user;
        TempDir store;
        WriteWholeFile(user.file("config.xml"), kWelcomeShown);
        WriteWholeFile(user.file("script.txt"), c.script);
        FolderWatch watch;
        ASSERT_TRUE(watch.Add(user.path(), ""));
        ASSERT_TRUE(watch.Add(store.path(), "store/"));
        GameRun run = RunGame(c.args, user.path(),
                              {{"VAULTMERE_INPUT_SCRIPT", user.file("script.txt")}, {"VAULTMERE_STORE_DIR", store.path()}});
        ASSERT_EQ(run.exitCode, 0) << run.output;
        const std::vector<FileEvent> events = watch.Events();
        size_t cookieGone = events.size();
        for (size_t i = 0; i < events.size(); ++i) {
            ASSERT_NE(events[i].name, "<overflow>");
            if (events[i].name == "cookie.txt" && (events[i].mask & IN_DELETE) != 0) cookieGone = i;
        }
        ASSERT_LT(cookieGone, events.size()) << "the cookie was removed";
        for (const std::string& name : c.written) {
            bool seen = false;
            for (const FileEvent& e : events) seen |= e.name == name;
            EXPECT_TRUE(seen) << name << " was written";
        }
        // Nothing of the user or store folder is written after the cookie (and its lock) went.
        for (size_t i = cookieGone + 1; i < events.size(); ++i) {
            EXPECT_EQ(events[i].name, "cookie.txt") << events[i].name << " written after the cookie was removed";
        }
    }
}

TEST(FolderLockSession, ASecondRunOnAnotherUserFolderButTheSameStoreFolderIsTurnedAway) {
    TempDir firstUser;
    TempDir secondUser;
    TempDir store;
    WriteWholeFile(firstUser.file("config.xml"), kWelcomeShown);
    GameRun second;
    SignalledRun first = RunGameAndSignal(
        {"-no-initial-config", "-startuptime"}, firstUser.path(), {{"VAULTMERE_STORE_DIR", store.path()}},
        [&](const std::string& output) {
            if (!Contains(output, "seconds to: turnpage")) return false;
            // The first run is at its title menu: a second one with a user folder of its own.
            second = RunGame({"-no-initial-config", "-player-random-build"}, secondUser.path(),
                             {{"VAULTMERE_STORE_DIR", store.path()}});
            return true;
        },
        SIGTERM);
    ASSERT_TRUE(first.signalSent) << first.output;
    EXPECT_EQ(first.exitCode, 0) << first.output;
    EXPECT_EQ(second.exitCode, 5) << second.output;
    EXPECT_TRUE(Contains(second.output, "Vaultmere is already running with the store folder " + store.path() + "/"))
        << second.output;
    EXPECT_FALSE(Contains(second.output, "vaultmere: version")) << second.output;
    // The second run left its user folder as empty as it found it.
    std::vector<std::string> left;
    if (DIR* d = opendir(secondUser.path().c_str())) {
        while (dirent* entry = readdir(d)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") left.push_back(name);
        }
        closedir(d);
    }
    EXPECT_TRUE(left.empty()) << left.front();
    // Once the first run is gone the store folder is free again.
    WriteWholeFile(secondUser.file("quit.txt"), kQuitFromMenuScript);
    GameRun third = RunGame({"-no-initial-config"}, secondUser.path(),
                            {{"VAULTMERE_INPUT_SCRIPT", secondUser.file("quit.txt")}, {"VAULTMERE_STORE_DIR", store.path()}});
    EXPECT_EQ(third.exitCode, 0) << third.output;
}

}  // namespace

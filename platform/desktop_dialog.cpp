#include "platform/desktop_dialog.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

extern char** environ;

namespace {

DesktopDialogs Mode = DesktopDialogs::Auto;

// Title and message of every box shown in this run, so a burst of one failure shows one box.
// Made on first use: the test suite sets the mode while static objects are still being made.
std::set<std::string>& ShownBoxes() {
    static std::set<std::string> shown;
    return shown;
}
const size_t kMaxRemembered = 256;

const size_t kMaxOutput = 64 * 1024;

bool EnvSet(const char* name) {
    const char* value = getenv(name);
    return value != nullptr && *value != '\0';
}

bool IsExecutableFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// Waits for the child to end (with WNOHANG only looks: *running is then set while it runs, and
// -1 returned). The exit code, or -1 when it did not exit normally.
int WaitForChild(pid_t child, int flags, bool* running = nullptr) {
    int status = 0;
    pid_t got;
    while ((got = waitpid(child, &status, flags)) < 0) {
        if (errno != EINTR) return -1;
    }
    if (got == 0) {
        if (running != nullptr) *running = true;
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Reads what is there on the non-blocking pipe into *output, keeping at most kMaxOutput bytes;
// true at the end of the pipe.
bool DrainPipe(int fd, std::string* output, bool* overflowed) {
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno != EAGAIN && errno != EWOULDBLOCK;
        if (n == 0) return true;
        const size_t room = kMaxOutput - output->size();
        output->append(buffer, std::min(static_cast<size_t>(n), room));
        if (static_cast<size_t>(n) > room) *overflowed = true;
        if (*overflowed) return false;
    }
}

// Collects the child's answer from the read end of its output pipe while waiting for it. The
// wait lasts as long as the dialog is open; it ends early when the program has said more than
// any answer holds (it is then killed: *overflowed, and the answer is the first kMaxOutput
// bytes), and it does not outlast the program itself when something it started keeps the
// pipe open. Returns the exit code, or -1.
int ReadAnswer(pid_t child, int fd, std::string* output, bool* overflowed) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    for (;;) {
        pollfd watched{fd, POLLIN, 0};
        const int ready = poll(&watched, 1, 100);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0 && DrainPipe(fd, output, overflowed)) break;  // the pipe's end
        if (*overflowed) {
            kill(child, SIGKILL);
            WaitForChild(child, 0);
            return -1;
        }
        bool running = false;
        const int code = WaitForChild(child, WNOHANG, &running);
        if (!running) {
            // Ended: what it wrote before it ended is all there is of the answer.
            DrainPipe(fd, output, overflowed);
            return code;
        }
    }
    return WaitForChild(child, 0);
}

}  // namespace

void SetDesktopDialogs(DesktopDialogs mode) {
    Mode = mode;
    ShownBoxes().clear();
}

bool DesktopDialogsWanted() {
    switch (Mode) {
        case DesktopDialogs::Always: return true;
        case DesktopDialogs::Never: return false;
        case DesktopDialogs::Auto: break;
    }
    if (!EnvSet("DISPLAY") && !EnvSet("WAYLAND_DISPLAY")) return false;
    const char* driver = getenv("SDL_VIDEODRIVER");
    if (driver != nullptr && strcmp(driver, "dummy") == 0) return false;
    return !EnvSet("VAULTMERE_INPUT_SCRIPT");
}

std::string FirstProgramOnPath(const std::vector<std::string>& names) {
    const char* path = getenv("PATH");
    if (path == nullptr) return "";
    for (const std::string& name : names) {
        const char* start = path;
        while (true) {
            const char* end = strchr(start, ':');
            std::string folder = end ? std::string(start, end) : std::string(start);
            if (folder.empty()) folder = ".";
            const std::string candidate = folder + "/" + name;
            if (IsExecutableFile(candidate)) return candidate;
            if (end == nullptr) break;
            start = end + 1;
        }
    }
    return "";
}

int RunDialogProgram(const std::vector<std::string>& argv, std::string* output) {
    if (argv.empty()) return -1;
    std::vector<std::string> args(argv);
    std::vector<char*> cargv;
    for (std::string& a : args) cargv.push_back(&a[0]);
    cargv.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    if (output != nullptr && pipe2(pipeFds, O_CLOEXEC) != 0) return -1;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (output != nullptr) posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);

    pid_t child = 0;
    const int spawned = posix_spawnp(&child, cargv[0], &actions, nullptr, cargv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (output != nullptr) close(pipeFds[1]);
    if (spawned != 0) {
        if (output != nullptr) close(pipeFds[0]);
        return -1;
    }

    if (output == nullptr) return WaitForChild(child, 0);
    output->clear();
    bool overflowed = false;
    const int code = ReadAnswer(child, pipeFds[0], output, &overflowed);
    close(pipeFds[0]);
    return overflowed ? -1 : code;
}

bool ShowDesktopMessage(const std::string& title, const std::string& message) {
    if (!DesktopDialogsWanted()) return false;
    const std::string key = title + '\n' + message;
    if (ShownBoxes().count(key) != 0) return false;

    const std::string program = FirstProgramOnPath({"zenity", "kdialog", "xmessage"});
    if (program.empty()) return false;
    const std::string name = program.substr(program.rfind('/') + 1);
    std::vector<std::string> argv;
    if (name == "zenity") {
        argv = {program, "--error", "--title=" + title, "--text=" + message, "--no-markup"};
    } else if (name == "kdialog") {
        argv = {program, "--title", title, "--error", message};
    } else {
        // xmessage reads leading dashes as options; a space keeps the message a message.
        const std::string text = (!message.empty() && message[0] == '-') ? " " + message : message;
        argv = {program, "-title", title, "-center", "-buttons", "OK:0", "-default", "OK", text};
    }
    if (RunDialogProgram(argv, nullptr) < 0) return false;
    // The memory stays small: when full it starts over, and the box just shown is remembered.
    if (ShownBoxes().size() >= kMaxRemembered) ShownBoxes().clear();
    ShownBoxes().insert(key);
    return true;
}

bool AskDesktopFileName(const std::string& title, std::string* path) {
    path->clear();
    if (!DesktopDialogsWanted()) return false;
    const std::string program = FirstProgramOnPath({"zenity", "kdialog"});
    if (program.empty()) return false;
    const std::string name = program.substr(program.rfind('/') + 1);
    std::vector<std::string> argv;
    if (name == "zenity") {
        argv = {program, "--file-selection", "--title=" + title};
    } else {
        argv = {program, "--title", title, "--getopenfilename", "."};
    }
    std::string answer;
    const int code = RunDialogProgram(argv, &answer);
    if (answer.size() >= kMaxOutput) {
        // Longer than any path: what was read is only its start, so nothing is chosen.
        fprintf(stderr, "The file chooser answered more than %zu bytes; taken as a cancel\n", kMaxOutput);
        return true;
    }
    if (code < 0) return false;
    // The chooser prints the path and a line end; any other exit code is a cancel.
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
    if (code == 0) *path = answer;
    return true;
}

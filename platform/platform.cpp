// POSIX implementation of the platform layer.
#include "platform/platform.h"

#include "platform/desktop_dialog.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/wait.h>
#include <strings.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

namespace {

bool IsDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Backslashes become '/', runs of separators become one.
std::string NormaliseSeparators(const std::string& name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (c == '\\') c = '/';
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out.push_back(c);
    }
    return out;
}

std::string HomeFolder() {
    const char* home = getenv("HOME");
    if (home && *home) return home;
    struct passwd* pw = getpwuid(getuid());
    if (pw && pw->pw_dir && *pw->pw_dir) return pw->pw_dir;
    return "";
}

// Views handed out by MapFileToMemory with their lengths, for munmap. Sound effects are mapped
// on the main thread and music on its own thread, so the table is guarded.
std::mutex MappedViewsMutex;
std::map<const void*, size_t> MappedViews;

// The answer a test set for AskOpenFileName; unset, the desktop's chooser is asked.
bool AskOpenFileNameAnswerSet = false;
std::string AskOpenFileNameAnswer;
// How many answers of $VAULTMERE_OPEN_FILE_ANSWERS have been handed out.
size_t OpenFileAnswersTaken = 0;

std::vector<std::string>* ShellRecord = nullptr;

// The view handed out for an empty file: nothing to map, but the file was read.
const unsigned char EmptyView[1] = {0};

long NextScanHandle = 1;

// Every message goes to standard error; on a desktop it is also shown as a modal box.
void ShowMessage(const char* title, const std::string& text) {
    fprintf(stderr, "%s\n%s\n", title, text.c_str());
    fflush(stderr);
    ShowDesktopMessage(title, text);
}

// Fills the record with entry `scan->next` and advances.
void TakeEntry(DirScan* scan) {
    const std::string& entry = scan->entries[scan->next++];
    StoreEntryName(scan, entry.c_str());
    scan->isDirectory = false;
    scan->size = 0;
    struct stat st;
    std::string full = (scan->folder.empty() ? std::string() : scan->folder) + entry;
    if (stat(full.c_str(), &st) == 0) {
        scan->isDirectory = S_ISDIR(st.st_mode);
        if (!scan->isDirectory) scan->size = static_cast<uint64_t>(st.st_size);
    }
}

void CloseScan(DirScan* scan) {
    scan->handle = -1;
    scan->entries.clear();
    scan->next = 0;
}

}  // namespace

bool MakeDirectory(const char* path) {
    if (!path || !*path) return false;
    return mkdir(path, 0777) == 0;
}

bool MakeDirectoryTree(const std::string& path) {
    if (path.empty()) return false;
    std::string p = NormaliseSeparators(path);
    for (size_t i = 1; i <= p.size(); ++i) {
        if (i == p.size() || p[i] == '/') {
            std::string part = p.substr(0, i);
            if (!IsDirectory(part) && mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
        }
    }
    return IsDirectory(p);
}

namespace {

// The user folder's path and, when it cannot be used, why.
struct UserFolder {
    std::string path;     // ends in '/'; "" when unusable
    std::string problem;  // "" when usable
};

UserFolder LocateUserFolder() {
    UserFolder result;
    std::string path;
    const char* over = getenv("VAULTMERE_USER_DIR");
    if (over && *over) {
        path = over;
    } else {
        const char* xdg = getenv("XDG_DATA_HOME");
        std::string base;
        if (xdg && xdg[0] == '/') {
            base = xdg;  // relative values are invalid and ignored
        } else {
            std::string home = HomeFolder();
            if (home.empty()) {
                result.problem = "no home folder is known for the user folder";
                return result;
            }
            base = home + "/.local/share";
        }
        if (base.back() != '/') base += '/';
        path = base + "Tinwhistle Games/Vaultmere";
    }
    if (path.back() != '/') path += '/';
    if (!IsDirectory(path) && !MakeDirectoryTree(path)) {
        const int code = errno;
        if (PathExists(path.substr(0, path.size() - 1))) {
            result.problem = "the user folder " + path + " is not a folder";
        } else {
            result.problem = "the user folder " + path + " cannot be created (" +
                             std::string(code != 0 ? strerror(code) : "unknown error") + ")";
        }
        return result;
    }
    result.path = path;
    return result;
}

}  // namespace

std::string GetUserDataPath() {
    return LocateUserFolder().path;
}

std::string UserDataPathProblem() {
    return LocateUserFolder().problem;
}

std::string UserFilePath(const std::string& name) {
    const std::string folder = GetUserDataPath();
    if (folder.empty() || name.empty()) return std::string();
    return folder + name;
}

FILE* OpenRegularFile(const std::string& path) {
    if (path.empty()) return nullptr;
    // Non-blocking, so that opening a named pipe returns at once; checked before any read.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags != -1) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    FILE* file = fdopen(fd, "rb");
    if (file == nullptr) close(fd);
    return file;
}

const void* MapFileToMemory(const char* name, uint32_t* size) {
    if (size) *size = 0;
    if (!name) return nullptr;
    int fd = open(name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
        static_cast<uint64_t>(st.st_size) > UINT32_MAX) {
        // A length that does not fit the size field would be reported wrongly.
        close(fd);
        return nullptr;
    }
    if (st.st_size == 0) {
        // Empty files cannot be mapped, but they were read: a view of no bytes.
        close(fd);
        return EmptyView;
    }
    size_t length = static_cast<size_t>(st.st_size);
    void* view = mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);  // the view stays valid
    if (view == MAP_FAILED) return nullptr;
    {
        std::lock_guard<std::mutex> lock(MappedViewsMutex);
        MappedViews[view] = length;
    }
    if (size) *size = static_cast<uint32_t>(length);
    return view;
}

void UnmapFile(const void* view) {
    if (!view || view == EmptyView) return;
    size_t length = 0;
    {
        std::lock_guard<std::mutex> lock(MappedViewsMutex);
        auto it = MappedViews.find(view);
        if (it == MappedViews.end()) return;
        length = it->second;
        MappedViews.erase(it);
    }
    munmap(const_cast<void*>(view), length);
}

bool RemoveFile(const char* path) {
    if (!path || !*path) return false;
    return unlink(path) == 0;
}

bool OpenWithShell(const char* target) {
    if (target == nullptr || *target == '\0') return false;
    if (ShellRecord != nullptr) {
        ShellRecord->push_back(target);
        return true;
    }
    const char* recordFile = getenv("VAULTMERE_SHELL_RECORD");
    if (recordFile != nullptr && *recordFile != '\0') {
        FILE* f = fopen(recordFile, "ab");
        if (f == nullptr) return false;
        const bool ok = fprintf(f, "%s\n", target) > 0;
        return fclose(f) == 0 && ok;
    }
    // The target is one argument of the opener; no shell reads it.
    char program[] = "xdg-open";
    std::string argument(target);
    char* argv[] = {program, &argument[0], nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, program, nullptr, nullptr, argv, environ) != 0) return false;
    // The opener hands the target to the desktop and ends; its status is collected without
    // waiting for a browser.
    int status = 0;
    waitpid(child, &status, WNOHANG);
    return true;
}

void RecordShellOpens(std::vector<std::string>* record) { ShellRecord = record; }

void StoreEntryName(DirScan* scan, const char* name) {
    size_t n = strnlen(name, sizeof(scan->name) - 1);
    memcpy(scan->name, name, n);
    scan->name[n] = '\0';
}

int FindFirstEntry(const char* pattern, DirScan* scan) {
    if (!scan) return 1;
    CloseScan(scan);
    scan->name[0] = '\0';
    scan->folder.clear();
    if (!pattern || !*pattern) return 1;

    std::string p = NormaliseSeparators(pattern);
    std::string folder, mask;
    size_t slash = p.rfind('/');
    if (slash == std::string::npos) {
        mask = p;
    } else {
        folder = p.substr(0, slash + 1);
        mask = p.substr(slash + 1);
    }
    if (mask.empty()) return 1;
    if (mask == "*.*") mask = "*";  // matches names without a dot as well

    if (!folder.empty()) {
        std::string found = GetResourceFilename(folder);
        if (found.back() != '/') found += '/';
        folder = found;
    }
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return 1;
    while (struct dirent* ent = readdir(dir)) {
        if (fnmatch(mask.c_str(), ent->d_name, FNM_CASEFOLD) == 0) scan->entries.push_back(ent->d_name);
    }
    closedir(dir);
    if (scan->entries.empty()) return 1;
    std::sort(scan->entries.begin(), scan->entries.end());

    scan->folder = folder;
    scan->handle = NextScanHandle++;
    if (NextScanHandle < 0) NextScanHandle = 1;
    TakeEntry(scan);
    return 0;
}

int FindNextEntry(DirScan* scan) {
    if (!scan || scan->handle == -1) return 1;
    if (scan->next >= scan->entries.size()) {
        CloseScan(scan);
        return 1;
    }
    TakeEntry(scan);
    return 0;
}

void ShowErrorBox(std::string message) {
    ShowMessage("An error!", message);
}

void ShowBrokenArtBox(const std::string& file, BrokenArtKind kind) {
    std::string text;
    switch (kind) {
        case BrokenArtKind::Png:
            text = "Couldn't load PNG file " + file + ". The game will now crash.";
            break;
        case BrokenArtKind::SpriteFile:
            text = "Couldn't load sprite file " + file + ". A placeholder is shown in its place.";
            break;
        case BrokenArtKind::FrameList:
            text = "Couldn't load frame list " + file + ". A placeholder is shown in its place.";
            break;
        case BrokenArtKind::PngSeries:
            text = "Couldn't load picture series " + file + ". A placeholder is shown in its place.";
            break;
        case BrokenArtKind::Palette:
            text = "Couldn't load palette file " + file + ". The sprite keeps its own colours.";
            break;
    }
    ShowMessage("Some Art is Horribly Broken", text);
}

std::string GetResourceFilename(std::string name) {
    if (name.empty() || PathExists(name)) return name;

    std::string p = NormaliseSeparators(name);
    if (PathExists(p)) return p;

    // Walk the components, matching each one ignoring case in the folder found so far.
    std::vector<std::string> parts;
    size_t pos = (p[0] == '/') ? 1 : 0;
    while (pos < p.size()) {
        size_t end = p.find('/', pos);
        if (end == std::string::npos) end = p.size();
        parts.push_back(p.substr(pos, end - pos));
        pos = end + 1;
    }
    std::string found = (p[0] == '/') ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        std::string exact = found + part;
        if (part == "." || part == ".." || PathExists(exact)) {
            found = exact;
        } else {
            DIR* dir = opendir(found.empty() ? "." : found.c_str());
            if (!dir) return name;
            std::string match;
            while (struct dirent* ent = readdir(dir)) {
                if (strcasecmp(ent->d_name, part.c_str()) == 0 && (match.empty() || match > ent->d_name))
                    match = ent->d_name;
            }
            closedir(dir);
            if (match.empty()) return name;
            found += match;
        }
        if (i + 1 < parts.size()) found += '/';
    }
    if (p.back() == '/' && !found.empty() && found.back() != '/') found += '/';
    return found.empty() ? name : found;
}

namespace {

// The next line of $VAULTMERE_OPEN_FILE_ANSWERS; an empty line or the end answers "cancelled".
std::string NextScriptedOpenFileAnswer(const std::string& text) {
    size_t start = 0;
    for (size_t i = 0; i < OpenFileAnswersTaken && start <= text.size(); ++i) {
        const size_t end = text.find('\n', start);
        start = end == std::string::npos ? text.size() + 1 : end + 1;
    }
    ++OpenFileAnswersTaken;
    if (start > text.size()) return "";
    const size_t end = text.find('\n', start);
    std::string answer = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!answer.empty() && answer.back() == '\r') answer.pop_back();
    return answer;
}

}  // namespace

std::string AskOpenFileName(const char* title) {
    const char* answers = getenv("VAULTMERE_OPEN_FILE_ANSWERS");
    if (answers != nullptr) return NextScriptedOpenFileAnswer(answers);
    if (AskOpenFileNameAnswerSet) return AskOpenFileNameAnswer;

    // The chooser runs in its own process; the working directory is put back all the same,
    // whatever was chosen.
    char saved[4096];
    const bool haveSaved = getcwd(saved, sizeof saved) != nullptr;
    std::string chosen;
    AskDesktopFileName(title ? title : "", &chosen);
    if (haveSaved && chdir(saved) != 0) {
        fprintf(stderr, "AskOpenFileName: couldn't return to %s\n", saved);
    }
    return chosen;
}

void ResetOpenFileAnswers() {
    OpenFileAnswersTaken = 0;
    AskOpenFileNameAnswerSet = false;
    AskOpenFileNameAnswer.clear();
}

void SetAskOpenFileNameAnswer(const std::string& answer) {
    AskOpenFileNameAnswerSet = true;
    AskOpenFileNameAnswer = answer;
}

void OpenDebugConsole() {
}

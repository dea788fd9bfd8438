// File-system and desktop operations the rest of the game relies on (POSIX build).
// Message boxes and the file chooser go through the desktop's dialog programs
// (platform/desktop_dialog.h); OpenDebugConsole does nothing, since diagnostics already go to
// the terminal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The user folder (configuration, saves, high scores, mods, crash cookie). Always ends in '/'.
// $VAULTMERE_USER_DIR replaces the whole path; otherwise $XDG_DATA_HOME (or ~/.local/share)
// + "Tinwhistle Games/Vaultmere/". Created with all missing parents. "" when it cannot be used
// (start-up then stops, see UserDataPathProblem).
std::string GetUserDataPath();

// Why the user folder cannot be used, naming the folder ("" when it can).
std::string UserDataPathProblem();

// A file in the user folder: the folder + name, or "" when the folder cannot be used, so that
// no user file is ever read from or written to the working directory instead.
std::string UserFilePath(const std::string& name);

// Opens an existing regular file for reading in binary mode. Null for anything else (a missing
// file, a folder, a named pipe or device, which would block or never end) without waiting.
FILE* OpenRegularFile(const std::string& path);

// Creates one directory; true on success (false when it exists already or cannot be made).
bool MakeDirectory(const char* path);

// Creates a directory and all its missing parents; true when the directory exists afterwards.
bool MakeDirectoryTree(const std::string& path);

// Read-only view of a whole file. *size is set to 0 first, and to the file's length when a view
// is returned. Null when the file cannot be opened or is larger than 4 GiB - 1. An empty file
// gives a non-null view with *size 0, so that it is told apart from an unreadable one.
const void* MapFileToMemory(const char* name, uint32_t* size);

// Releases a view from MapFileToMemory; null and unknown pointers are ignored. Thread-safe.
void UnmapFile(const void* view);

// Deletes a file; true on success.
bool RemoveFile(const char* path);

// Asks the desktop to open a document or address: starts "xdg-open" with the target as its one
// argument (no shell). When $VAULTMERE_SHELL_RECORD names a file, or a record is set, the target
// is appended there instead. False when nothing could be started or recorded.
bool OpenWithShell(const char* target);
// Tests: OpenWithShell appends each target to `record` instead (null ends the recording).
void RecordShellOpens(std::vector<std::string>* record);

// One folder scan. The names are listed once by FindFirstEntry, sorted by name, and handed out
// one at a time. `handle` is -1 when no scan is open.
struct DirScan {
    long handle = -1;
    char name[1024] = {0};      // current entry, cut to 1023 characters
    bool isDirectory = false;   // current entry is a folder
    uint64_t size = 0;          // current entry's size in bytes (0 for folders)

    // Scan state.
    std::string folder;                 // folder being listed, ends in '/' (or "" for ".")
    std::vector<std::string> entries;   // matching names, sorted
    size_t next = 0;                    // index of the entry FindNextEntry hands out next
};

// Starts a scan over a pattern such as "mods/*" or "C:\\saves\\*.sav" ('\\' and '/' are both
// separators; the last component is a wildcard pattern matched ignoring case). Returns 0 and
// fills the record with the first entry, or 1 when nothing matches (handle then -1).
int FindFirstEntry(const char* pattern, DirScan* scan);

// 0 with the next entry in the record; 1 at the end (the scan is then closed) and on every
// call after that.
int FindNextEntry(DirScan* scan);

// Copies an entry name into the record's buffer, cut to 1023 characters.
void StoreEntryName(DirScan* scan, const char* name);

// Error report with the title "An error!": always on standard error, and on a desktop also a
// modal box with an OK button that is waited for (see DesktopDialogsWanted).
void ShowErrorBox(std::string message);

// The kinds of art file whose failure to load is reported.
enum class BrokenArtKind { Png, SpriteFile, FrameList, PngSeries, Palette };

// Report for art that could not be loaded, titled "Some Art is Horribly Broken", naming the kind
// of file: "Couldn't load PNG file <file>. The game will now crash." for a PNG; the other kinds
// say what stands in for the art instead. Shown as ShowErrorBox is.
void ShowBrokenArtBox(const std::string& file, BrokenArtKind kind);

// The name under which a data or user file is opened. When the exact path does not exist, the
// path is walked component by component ('\\' and '/' both separate, doubled separators are
// accepted) and each component is matched ignoring case; the found path is returned, or the
// name unchanged when nothing matches.
std::string GetResourceFilename(std::string name);

// The open-file dialog. Returns the chosen path, or "" when cancelled. The working directory is
// left as it was. Answered, in this order, by the lines of $VAULTMERE_OPEN_FILE_ANSWERS (one per
// call; an empty line or the end is a cancel), by the answer a test set with
// SetAskOpenFileNameAnswer, or by the desktop's file chooser; "" when none of them is there.
std::string AskOpenFileName(const char* title);

// Sets what AskOpenFileName returns (tests); "" means "cancelled".
void SetAskOpenFileNameAnswer(const std::string& answer);
// Starts handing out $VAULTMERE_OPEN_FILE_ANSWERS from its first line again and forgets the
// answer a test set (tests).
void ResetOpenFileAnswers();

// Opens a console window for diagnostics where the platform needs one; nothing here.
void OpenDebugConsole();

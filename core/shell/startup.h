#pragma once
// Process start-up and shutdown.
#include <string>

#include "core/shell/shell_services.h"

int GameMain(int argc, char** argv);

// Exit codes of a run that did not end as the player chose (1 and 2: SDL, the video mode or
// the fonts could not be set up).
constexpr int kExitLoadFailed = 3;          // the save named by -load-filename= could not be loaded
constexpr int kExitUserFolderUnusable = 4;  // the user folder cannot be made or written
constexpr int kExitAlreadyRunning = 5;      // another run holds the user folder
constexpr int kExitGameNotSaved = 6;        // ended by a signal, and the game could not be saved

// Reports a finished start-up step with -startuptime and remembers when it ended.
void LogLoadProgress(const char* label);
// Resets both start-up timing marks to the current ticks.
void ResetLoadProgress();

// Loads the art only the play screen uses, which start-up leaves for the first game: the
// quest log's pictures (QuestUIArtLoad), the notices' pictures, the crafting panel's pictures,
// the portraits, the minimap icons, the impact series, the bottom-bar pictures and the shared
// pictures (LoadGlobalImages). Does nothing before start-up has reached that step or once done.
void LoadGameplayArt();

// Deletes the target, then renames the source to it; the rename's result.
bool MoveFileReplacing(const char* from, const char* to);
void QuitAudioAndSDL();
// Ends the process from anywhere in start-up: the exit handlers run, and the last of them
// removes the cookie and gives the user folder up.
[[noreturn]] void ExitEarly(int code);

// The crash cookie's text and path ("" when the user folder is unavailable).
extern const char* const kCookieText;
std::string CookiePath();

// True once the previous run was found not to have ended cleanly.
extern bool CrashFlag;

// Modal boxes and the file chooser on a Linux desktop, shown through the dialog programs
// desktops ship (zenity, kdialog, xmessage). Each program is started directly with its
// arguments as a vector (no shell reads them) and waited for.
#pragma once

#include <string>
#include <vector>

// When dialogs are shown. Auto: when a display is set ($DISPLAY or $WAYLAND_DISPLAY) and the game
// does not run headless (SDL's dummy video driver, or an input script replaying the session).
// The test suite sets Never; tests of the dialogs themselves set Always.
enum class DesktopDialogs { Auto, Always, Never };

// Sets the mode and forgets which boxes were shown already.
void SetDesktopDialogs(DesktopDialogs mode);

// True when a dialog may be shown now.
bool DesktopDialogsWanted();

// The full path of the first of `names` found as an executable file on $PATH, or "".
std::string FirstProgramOnPath(const std::vector<std::string>& names);

// Starts argv[0] (looked up on $PATH) with these arguments, standard input from /dev/null, and
// waits for it. Its standard output (at most 64 KiB) goes to *output when that is given; a
// program that writes more is killed at once, and the wait ends when the program does, even
// while something it started still holds its output open. The program inherits no descriptor
// of the game but its standard ones. Returns the exit code, or -1 when it could not be started,
// did not exit normally or was killed.
int RunDialogProgram(const std::vector<std::string>& argv, std::string* output);

// A modal box with the title, the message and an OK button, through the first of zenity, kdialog
// and xmessage on $PATH. A box with the same title and message as one shown before in this run
// is not shown again (a burst of one failure). False when no box was shown.
bool ShowDesktopMessage(const std::string& title, const std::string& message);

// The desktop's file chooser (zenity, else kdialog). True when a chooser ran; *path is then the
// chosen file, or "" when it was cancelled. False when no chooser is wanted or present.
bool AskDesktopFileName(const std::string& title, std::string* path);

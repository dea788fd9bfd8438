#pragma once
// Runs the game executable in the assembled game folder and collects what it prints.
#include <functional>
#include <map>
#include <string>
#include <vector>

struct GameRun {
    int exitCode = -1;
    std::string output;  // standard output and standard error together
};

// A fresh, empty temporary folder, removed when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Runs the game with the headless drivers, VAULTMERE_USER_DIR set to userDir and the extra
// environment entries given (an empty value removes the entry).
GameRun RunGame(const std::vector<std::string>& args, const std::string& userDir,
                const std::map<std::string, std::string>& env = {}, int timeoutSeconds = 120,
                const std::string& workDir = "");

// Starts the game as RunGame does, asks `ready` every 20 ms (with the output so far) whether
// the moment has come, then sends the signal and collects the rest of the run. A run still
// going timeoutSeconds after its start is killed (exit code 128 + 9); so is one that ends or
// is never ready before the signal could be sent (signalSent then stays false).
struct SignalledRun : GameRun {
    bool signalSent = false;
};
SignalledRun RunGameAndSignal(const std::vector<std::string>& args, const std::string& userDir,
                              const std::map<std::string, std::string>& env,
                              const std::function<bool(const std::string& output)>& ready, int signal,
                              int timeoutSeconds = 120);

// Fills dir with links to every entry of the assembled game folder, so a test can run the game
// in a folder of its own.
void LinkGameFolder(const std::string& dir);

// Input-script lines that leave the title menu: Escape, then "Quit" on the quit screen.
extern const char* const kQuitFromMenuScript;
// Input-script lines that leave a game in play: Escape opens the settings window, whose second
// button saves and quits; then the same again, which a hero who died meets as the epitaph and
// the high-score table, each ended by that click.
extern const char* const kLeaveGameScript;

// A run of `-no-initial-config -player-random-build -debug-flag` in a fresh user folder (the
// tutorial offer already answered) with this input script, and the ticker log it wrote.
struct TickerRun {
    GameRun run;
    std::string tickerLog;
};
TickerRun RunRandomHeroWithTicker(const std::string& script);

std::string ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& text);
// The labels of the "[LogLoadProgress]" lines, in order.
std::vector<std::string> LoadProgressLabels(const std::string& output);

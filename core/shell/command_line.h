#pragma once
// The command line: start-up flags, debug traces, a test room, the window, and a
// quick start that makes a hero or loads a save without the menus.
// Every option is recognised by prefix: an argument matches an option when it
// begins with the option's text.
#include <cstdint>
#include <string>
#include <vector>

class Player;

// Debug-flag bits.
constexpr uint32_t kDebugGeneral = 2;
constexpr uint32_t kDebugLoads = 4;
constexpr uint32_t kDebugRoomScripts = 8;
constexpr uint32_t kDebugKeyBindings = 16;
constexpr uint32_t kDebugAudio = 32;

struct CommandLineState {
    uint32_t debugFlags = 0;
    bool testRoom = false;
    std::string testRoomName;
    int32_t testRoomX = 0;
    int32_t testRoomY = 0;
    bool fullScreen = false;     // the configuration may turn it on unless windowForced
    bool windowForced = false;   // "-w": keep a window whatever the configuration says
    int32_t screenWidth = 1280;
    int32_t screenHeight = 720;
    bool res1024 = false;        // "-res-1024": 1024x768 whatever the configuration says
    bool initialConfig = true;
    bool splashShown = false;
    bool startupTime = false;
    bool openGL = false;
    bool music = true;           // "-nomusic" turns it off for this run only
    bool sound = true;           // "-nosound" turns it off for this run only
    bool clearCloud = false;
    bool publisher = false;
};

extern CommandLineState CmdLine;

// Reads the start-up options into CmdLine. Prints the program path, starts the
// virtual file system with it (unless already started), then reads the options
// from argument 1 on. "-docs" prints the room-script reference and ends the process.
bool ParseCommandLine(int argc, char** argv);

// A new hero made from the "-player-..." options, skills applied, or null when no
// argument is a "-player-" option.
Player* CreatePlayerFromCommandLine(int argc, char** argv);

// The text after "-load-filename=" of the last argument (from argument 1 on) that
// begins with it, or "".
std::string GetLoadFilenameArg(int argc, char** argv);

bool StringStartsWith(std::string text, std::string prefix);

// Marks the listed skills as chosen in the skill table (clearing all others),
// writes them to "last.txt", then gives the hero its starting kit and animations
// (with CurrentPlayer pointing at the hero meanwhile).
void ApplyChosenSkills(Player* hero, const std::vector<int32_t>& skills);

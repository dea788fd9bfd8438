#pragma once
// The start-up options of this run and the debug-flag word, as the command line set
// them. Read everywhere; written by the command-line parser (and by tests).
#include <cstdint>
#include <string>

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

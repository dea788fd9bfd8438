#pragma once
// The text format of input scripts (see core/input_log.h for the commands): reading a script
// into commands, frame times and a seed, and the lines a recording writes.
#include <SDL.h>

#include <deque>
#include <istream>
#include <string>
#include <vector>

struct ScriptCommand {
    enum Kind { Wait, Event, Screenshot } kind = Event;
    Uint32 waitMs = 0;
    SDL_Event event{};
};

// A run of frames of one length.
struct FrameRun {
    Uint32 ms = 0;
    Uint32 count = 0;
};

struct ParsedScript {
    std::deque<ScriptCommand> commands;
    std::deque<FrameRun> frames;
    bool hasSeed = false;
    Uint32 seed = 0;
};

// The longest line and the largest script read; anything longer is refused whole.
constexpr size_t kMaxScriptLineBytes = 4096;
constexpr size_t kMaxScriptBytes = 16u << 20;

// Reads a whole script; on an error prints the line ("Input script SOURCE, line N: cannot read
// ...") and returns false. A line longer than kMaxScriptLineBytes ("... line N is longer than
// 4096 bytes") or a script larger than kMaxScriptBytes ("... is larger than 16777216 bytes") is
// refused as soon as the limit is passed, before more is read.
bool ParseInputScript(std::istream& in, const std::string& source, ParsedScript& parsed);

// The script words for a key (its name, or its number) and for modifiers ("" for none).
std::string KeyToken(SDLKey key);
std::string ModsToken(SDLMod mods);
// The script line of an event; "" for the kinds a script has no command for.
std::string ScriptLineFor(const SDL_Event& e);
// A "frames" line for the given runs ("MS" or "MSxN" each).
std::string FramesLine(const std::vector<FrameRun>& runs);

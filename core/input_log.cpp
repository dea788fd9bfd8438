#include "core/input_log.h"

#include "core/command_state.h"
#include "media/opengl_present.h"

#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

struct ScriptCommand {
    enum Kind { Wait, Event } kind = Event;
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

struct InputLogState {
    bool initialised = false;

    // The clock. On the frame clock the time is `clock` and moves on only when a frame is
    // presented: by the next replayed frame time, else by fixedFrameMs, else (0) by the real
    // time that has passed. Off it, the time is the real clock plus realOffset.
    bool frameClock = false;
    Uint32 fixedFrameMs = 0;
    Uint32 clock = 0;
    Uint32 realOffset = 0;
    bool realClockReplay = false;   // VAULTMERE_FRAME_MS=0: scripts play on the real clock
    bool replayOwnsClock = false;   // the replay turned the fixed frame time on
    std::deque<FrameRun> frameTimes;

    // Replay.
    bool replaying = false;
    std::deque<ScriptCommand> script;
    bool waiting = false;
    Uint32 waitUntil = 0;
    bool hasSeed = false;
    Uint32 seed = 0;

    // The pointer and modifiers as the delivered events left them; read instead of SDL's
    // while a script plays, while recording and after a script has played.
    bool trackedInput = false;
    int mouseX = 0, mouseY = 0;
    Uint8 mouseButtons = 0;
    SDLMod modState = KMOD_NONE;
    SDLMod heldModifierKeys = KMOD_NONE;

    // Recording. A wait counts from the first poll after the previous recorded event, which
    // is when a replay reaches it.
    FILE* record = nullptr;
    bool recordBaseSet = false;
    Uint32 recordBase = 0;
    std::vector<FrameRun> pendingFrames;
};

InputLogState& State() {
    static InputLogState state;
    return state;
}

volatile sig_atomic_t terminationFlag = 0;
TerminationHandler terminationHandler = nullptr;

Uint32 RealTicks() {
    return SDL_GetTicks() + State().realOffset;
}

// Key names of the script format; keys without a name are written as their number.
struct NamedKey {
    const char* name;
    SDLKey key;
};

const NamedKey kNamedKeys[] = {
    {"space", SDLK_SPACE}, {"backspace", SDLK_BACKSPACE}, {"tab", SDLK_TAB}, {"return", SDLK_RETURN},
    {"escape", SDLK_ESCAPE}, {"delete", SDLK_DELETE}, {"kp0", SDLK_KP0}, {"kp1", SDLK_KP1},
    {"kp2", SDLK_KP2}, {"kp3", SDLK_KP3}, {"kp4", SDLK_KP4}, {"kp5", SDLK_KP5}, {"kp6", SDLK_KP6},
    {"kp7", SDLK_KP7}, {"kp8", SDLK_KP8}, {"kp9", SDLK_KP9}, {"kp_period", SDLK_KP_PERIOD},
    {"kp_divide", SDLK_KP_DIVIDE}, {"kp_multiply", SDLK_KP_MULTIPLY}, {"kp_minus", SDLK_KP_MINUS},
    {"kp_plus", SDLK_KP_PLUS}, {"kp_enter", SDLK_KP_ENTER}, {"kp_equals", SDLK_KP_EQUALS},
    {"up", SDLK_UP}, {"down", SDLK_DOWN}, {"right", SDLK_RIGHT}, {"left", SDLK_LEFT},
    {"insert", SDLK_INSERT}, {"home", SDLK_HOME}, {"end", SDLK_END}, {"page_up", SDLK_PAGEUP},
    {"page_down", SDLK_PAGEDOWN}, {"f1", SDLK_F1}, {"f2", SDLK_F2}, {"f3", SDLK_F3}, {"f4", SDLK_F4},
    {"f5", SDLK_F5}, {"f6", SDLK_F6}, {"f7", SDLK_F7}, {"f8", SDLK_F8}, {"f9", SDLK_F9},
    {"f10", SDLK_F10}, {"f11", SDLK_F11}, {"f12", SDLK_F12}, {"f13", SDLK_F13}, {"f14", SDLK_F14},
    {"f15", SDLK_F15}, {"numlock", SDLK_NUMLOCK}, {"capslock", SDLK_CAPSLOCK},
    {"scrollock", SDLK_SCROLLOCK}, {"right_shift", SDLK_RSHIFT}, {"left_shift", SDLK_LSHIFT},
    {"right_ctrl", SDLK_RCTRL}, {"left_ctrl", SDLK_LCTRL}, {"right_alt", SDLK_RALT},
    {"left_alt", SDLK_LALT}, {"right_meta", SDLK_RMETA}, {"left_meta", SDLK_LMETA},
    {"left_super", SDLK_LSUPER}, {"right_super", SDLK_RSUPER},
};

std::string KeyToken(SDLKey key) {
    for (const NamedKey& named : kNamedKeys) {
        if (named.key == key) return named.name;
    }
    if (key > 32 && key < 127 && key != '#') return std::string(1, static_cast<char>(key));
    return std::to_string(static_cast<int>(key));
}

bool ParseKey(const std::string& token, SDLKey* key) {
    for (const NamedKey& named : kNamedKeys) {
        if (token == named.name) {
            *key = named.key;
            return true;
        }
    }
    if (token.size() == 1 && token[0] > 32 && token[0] < 127) {
        char c = token[0];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        *key = static_cast<SDLKey>(c);
        return true;
    }
    if (!token.empty() && std::isdigit(static_cast<unsigned char>(token[0]))) {
        char* end = nullptr;
        long value = std::strtol(token.c_str(), &end, 10);
        if (*end != '\0' || value <= SDLK_FIRST || value >= SDLK_LAST) return false;
        *key = static_cast<SDLKey>(value);
        return true;
    }
    return false;
}

bool ParseMods(const std::string& token, SDLMod* mods) {
    int result = KMOD_NONE;
    std::stringstream parts(token);
    std::string part;
    while (std::getline(parts, part, '+')) {
        if (part == "shift") result |= KMOD_LSHIFT;
        else if (part == "ctrl") result |= KMOD_LCTRL;
        else if (part == "alt") result |= KMOD_LALT;
        else if (part == "meta") result |= KMOD_LMETA;
        else if (part == "caps") result |= KMOD_CAPS;
        else if (part == "num") result |= KMOD_NUM;
        else if (part == "none") continue;
        else return false;
    }
    *mods = static_cast<SDLMod>(result);
    return true;
}

std::string ModsToken(SDLMod mods) {
    std::string out;
    auto add = [&out](const char* name) {
        if (!out.empty()) out += '+';
        out += name;
    };
    if (mods & KMOD_SHIFT) add("shift");
    if (mods & KMOD_CTRL) add("ctrl");
    if (mods & KMOD_ALT) add("alt");
    if (mods & KMOD_META) add("meta");
    if (mods & KMOD_CAPS) add("caps");
    if (mods & KMOD_NUM) add("num");
    return out;
}

Uint16 UnicodeFor(SDLKey key, SDLMod mods) {
    if (key < 32 || key > 126) return 0;
    char c = static_cast<char>(key);
    if ((mods & KMOD_SHIFT) && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return static_cast<Uint16>(c);
}

SDL_Event KeyEvent(bool down, SDLKey key, SDLMod mods) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.type = e.type;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mods;
    e.key.keysym.unicode = down ? UnicodeFor(key, mods) : 0;
    return e;
}

SDL_Event ButtonEvent(bool down, int button, int x, int y) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.type = e.type;
    e.button.button = static_cast<Uint8>(button);
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = static_cast<Uint16>(x);
    e.button.y = static_cast<Uint16>(y);
    return e;
}

SDL_Event MotionEvent(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.type = e.type;
    e.motion.x = static_cast<Uint16>(x);
    e.motion.y = static_cast<Uint16>(y);
    return e;
}

// Reads one token of a "frames" line: MS, or MSxN for N frames of MS.
bool ParseFrameRun(const std::string& token, FrameRun* run) {
    char* end = nullptr;
    if (token.empty() || !std::isdigit(static_cast<unsigned char>(token[0]))) return false;
    const unsigned long ms = std::strtoul(token.c_str(), &end, 10);
    unsigned long count = 1;
    if (*end == 'x') {
        const char* countText = end + 1;
        if (!std::isdigit(static_cast<unsigned char>(*countText))) return false;
        count = std::strtoul(countText, &end, 10);
    }
    if (*end != '\0' || ms > 600000 || count < 1 || count > 100000000) return false;
    run->ms = static_cast<Uint32>(ms);
    run->count = static_cast<Uint32>(count);
    return true;
}

// Parses a script; on an error prints the line and returns false.
bool ParseScript(std::istream& in, const std::string& source, ParsedScript& parsed) {
    std::deque<ScriptCommand>& out = parsed.commands;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::stringstream words(line);
        std::string cmd;
        if (!(words >> cmd)) continue;
        auto fail = [&]() {
            std::printf("Input script %s, line %i: cannot read \"%s\"\n", source.c_str(), lineNo, line.c_str());
            return false;
        };
        ScriptCommand command;
        if (cmd == "wait") {
            long ms = -1;
            if (!(words >> ms) || ms < 0) return fail();
            command.kind = ScriptCommand::Wait;
            command.waitMs = static_cast<Uint32>(ms);
            out.push_back(command);
        } else if (cmd == "keydown" || cmd == "keyup" || cmd == "key") {
            std::string keyName, modName;
            SDLKey key;
            SDLMod mods = KMOD_NONE;
            if (!(words >> keyName) || !ParseKey(keyName, &key)) return fail();
            if ((words >> modName) && !ParseMods(modName, &mods)) return fail();
            if (cmd != "keyup") {
                command.event = KeyEvent(true, key, mods);
                out.push_back(command);
            }
            if (cmd != "keydown") {
                command.event = KeyEvent(false, key, mods);
                out.push_back(command);
            }
        } else if (cmd == "move") {
            int x, y;
            if (!(words >> x >> y) || x < 0 || y < 0 || x > 65535 || y > 65535) return fail();
            command.event = MotionEvent(x, y);
            out.push_back(command);
        } else if (cmd == "buttondown" || cmd == "buttonup" || cmd == "click") {
            int button, x, y;
            if (!(words >> button >> x >> y) || button < 1 || button > 5 || x < 0 || y < 0 ||
                x > 65535 || y > 65535)
                return fail();
            if (cmd != "buttonup") {
                command.event = ButtonEvent(true, button, x, y);
                out.push_back(command);
            }
            if (cmd != "buttondown") {
                command.event = ButtonEvent(false, button, x, y);
                out.push_back(command);
            }
        } else if (cmd == "quit") {
            command.event.type = SDL_QUIT;
            command.event.quit.type = SDL_QUIT;
            out.push_back(command);
        } else if (cmd == "seed") {
            std::string value;
            if (!(words >> value) || value.empty() || !std::isdigit(static_cast<unsigned char>(value[0])))
                return fail();
            char* end = nullptr;
            const unsigned long long seed = std::strtoull(value.c_str(), &end, 10);
            if (*end != '\0' || seed > 0xFFFFFFFFull) return fail();
            parsed.hasSeed = true;
            parsed.seed = static_cast<Uint32>(seed);
        } else if (cmd == "frames") {
            std::string token;
            bool any = false;
            while (words >> token) {
                FrameRun run;
                if (!ParseFrameRun(token, &run)) return fail();
                parsed.frames.push_back(run);
                any = true;
            }
            if (!any) return fail();
        } else {
            return fail();
        }
    }
    return true;
}

// ---------------------------------------------------------------- recording

void FlushRecordedFrames() {
    InputLogState& s = State();
    if (!s.record || s.pendingFrames.empty()) return;
    std::string line = "frames";
    for (const FrameRun& run : s.pendingFrames) {
        line += ' ' + std::to_string(run.ms);
        if (run.count > 1) line += 'x' + std::to_string(run.count);
    }
    std::fprintf(s.record, "%s\n", line.c_str());
    s.pendingFrames.clear();
}

void RecordFrame(Uint32 ms) {
    InputLogState& s = State();
    if (!s.record) return;
    if (!s.pendingFrames.empty() && s.pendingFrames.back().ms == ms) {
        ++s.pendingFrames.back().count;
        return;
    }
    if (s.pendingFrames.size() >= 16) FlushRecordedFrames();
    s.pendingFrames.push_back(FrameRun{ms, 1});
}

// Notes the first poll after a recorded event: the next wait counts from here.
void MarkRecordBase() {
    InputLogState& s = State();
    if (!s.record || s.recordBaseSet) return;
    s.recordBase = LoggedGetTicks();
    s.recordBaseSet = true;
}

void RecordLine(const std::string& text) {
    InputLogState& s = State();
    if (!s.record) return;
    FlushRecordedFrames();
    MarkRecordBase();
    const Uint32 now = LoggedGetTicks();
    if (now != s.recordBase) std::fprintf(s.record, "wait %u\n", static_cast<unsigned>(now - s.recordBase));
    std::fprintf(s.record, "%s\n", text.c_str());
    s.recordBaseSet = false;
}

void RecordEvent(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        std::string line = (e.type == SDL_KEYDOWN ? "keydown " : "keyup ") + KeyToken(e.key.keysym.sym);
        std::string mods = ModsToken(e.key.keysym.mod);
        if (!mods.empty()) line += " " + mods;
        RecordLine(line);
        break;
    }
    case SDL_MOUSEMOTION:
        RecordLine("move " + std::to_string(e.motion.x) + " " + std::to_string(e.motion.y));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        RecordLine(std::string(e.type == SDL_MOUSEBUTTONDOWN ? "buttondown " : "buttonup ") +
                   std::to_string(e.button.button) + " " + std::to_string(e.button.x) + " " +
                   std::to_string(e.button.y));
        break;
    case SDL_QUIT:
        RecordLine("quit");
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- input state

SDLMod ModifierOfKey(SDLKey key) {
    switch (key) {
    case SDLK_LSHIFT: return KMOD_LSHIFT;
    case SDLK_RSHIFT: return KMOD_RSHIFT;
    case SDLK_LCTRL: return KMOD_LCTRL;
    case SDLK_RCTRL: return KMOD_RCTRL;
    case SDLK_LALT: return KMOD_LALT;
    case SDLK_RALT: return KMOD_RALT;
    case SDLK_LMETA: return KMOD_LMETA;
    case SDLK_RMETA: return KMOD_RMETA;
    default: return KMOD_NONE;
    }
}

// Keeps the pointer and modifier state in step with the delivered events. A key's own
// modifiers are held while it is down and go up with it; a modifier key holds its modifier
// from its keydown to its keyup.
void TrackState(const SDL_Event& e) {
    InputLogState& s = State();
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const bool down = e.type == SDL_KEYDOWN;
        const int own = ModifierOfKey(e.key.keysym.sym);
        int held = s.heldModifierKeys;
        held = down ? (held | own) : (held & ~own);
        s.heldModifierKeys = static_cast<SDLMod>(held);
        s.modState = static_cast<SDLMod>(down ? (held | e.key.keysym.mod) : held);
        break;
    }
    case SDL_MOUSEMOTION:
        s.mouseX = e.motion.x;
        s.mouseY = e.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
        s.mouseX = e.button.x;
        s.mouseY = e.button.y;
        if (e.button.button <= 8) s.mouseButtons |= SDL_BUTTON(e.button.button);
        break;
    case SDL_MOUSEBUTTONUP:
        s.mouseX = e.button.x;
        s.mouseY = e.button.y;
        if (e.button.button <= 8) s.mouseButtons &= static_cast<Uint8>(~SDL_BUTTON(e.button.button));
        break;
    default:
        break;
    }
}

int Deliver(const SDL_Event& e, SDL_Event* event) {
    TrackState(e);
    RecordEvent(e);
    if (event) *event = e;
    return 1;
}

// ---------------------------------------------------------------- clock and replay

// Leaves the frame clock the replay turned on: the real clock goes on from where it stood
// (still moved on frame by frame while recording).
void HandClockBack() {
    InputLogState& s = State();
    if (!s.replayOwnsClock) return;
    s.replayOwnsClock = false;
    s.fixedFrameMs = 0;
    s.realOffset = s.clock - SDL_GetTicks();
    s.frameClock = s.record != nullptr;
}

void EndReplay() {
    InputLogState& s = State();
    s.replaying = false;
    s.waiting = false;
    if (s.frameTimes.empty()) HandClockBack();
}

// The next event of the script once its wait is over; false while it waits or when done.
bool NextScriptEvent(SDL_Event* out) {
    InputLogState& s = State();
    while (!s.script.empty()) {
        ScriptCommand& next = s.script.front();
        if (next.kind == ScriptCommand::Wait) {
            if (!s.waiting) {
                s.waiting = true;
                s.waitUntil = LoggedGetTicks() + next.waitMs;
            }
            if (static_cast<Sint32>(LoggedGetTicks() - s.waitUntil) < 0) return false;
            s.waiting = false;
            s.script.pop_front();
            continue;
        }
        *out = next.event;
        s.script.pop_front();
        if (s.script.empty()) EndReplay();
        return true;
    }
    EndReplay();
    return false;
}

void AdvanceFrameClock() {
    InputLogState& s = State();
    if (!s.frameClock) {
        SDL_Delay(2);
        return;
    }
    const Uint32 before = s.clock;
    if (!s.frameTimes.empty()) {
        FrameRun& run = s.frameTimes.front();
        s.clock += run.ms;
        if (--run.count == 0) s.frameTimes.pop_front();
        if (s.frameTimes.empty() && !s.replaying) HandClockBack();
    } else if (s.fixedFrameMs) {
        s.clock += s.fixedFrameMs;
    } else {
        SDL_Delay(2);
        const Uint32 now = RealTicks();
        if (static_cast<Sint32>(now - s.clock) > 0) s.clock = now;
    }
    RecordFrame(s.clock - before);
}

bool StartReplay(std::istream& in, const std::string& source) {
    InputLogState& s = State();
    ParsedScript parsed;
    if (!ParseScript(in, source, parsed)) return false;
    s.script = std::move(parsed.commands);
    s.frameTimes = std::move(parsed.frames);
    s.hasSeed = parsed.hasSeed;
    s.seed = parsed.seed;
    s.replaying = true;
    s.waiting = false;
    s.trackedInput = true;
    // Unless a fixed frame time is on already, the replay turns one on (and hands the clock
    // back when it is done); recorded frame times need the frame clock even on the real clock.
    const bool fixedAlready = s.frameClock && s.fixedFrameMs != 0;
    if (!fixedAlready && !s.realClockReplay) {
        s.frameClock = true;
        s.fixedFrameMs = 16;
        s.replayOwnsClock = true;
    } else if (!s.frameClock && !s.frameTimes.empty()) {
        s.frameClock = true;
        s.replayOwnsClock = true;
    }
    return true;
}

}  // namespace

void InitInputLog() {
    InputLogState& s = State();
    if (s.initialised) return;
    s.initialised = true;
    if (const char* frame = std::getenv("VAULTMERE_FRAME_MS")) {
        char* end = nullptr;
        const long ms = std::strtol(frame, &end, 10);
        if (*frame && *end == '\0' && ms == 0) s.realClockReplay = true;
        if (ms > 0 && ms < 60000) SetFixedFrameTime(static_cast<Uint32>(ms));
    }
    if (const char* record = std::getenv("VAULTMERE_INPUT_RECORD")) {
        if (*record && !OpenInputRecord(record)) std::printf("Input record %s could not be opened\n", record);
    }
    if (const char* script = std::getenv("VAULTMERE_INPUT_SCRIPT")) {
        if (*script && !OpenInputScript(script)) std::printf("Input script %s could not be read\n", script);
    }
}

bool OpenInputScript(const std::string& path) {
    std::ifstream in(path);
    if (!in) return false;
    return StartReplay(in, path);
}

bool OpenInputScriptText(const std::string& text) {
    std::istringstream in(text);
    return StartReplay(in, "(text)");
}

bool OpenInputRecord(const std::string& path) {
    CloseInputLog();
    InputLogState& s = State();
    s.record = std::fopen(path.c_str(), "w");
    if (!s.record) return false;
    s.recordBaseSet = false;
    s.pendingFrames.clear();
    s.trackedInput = true;
    if (!s.frameClock) {
        // Recording in real time: from here the clock moves on frame by frame, from 0 as a
        // replay's does. (Before SDL is set up its clock means nothing; it starts at 0 then.)
        s.clock = 0;
        s.realOffset = SDL_WasInit(SDL_INIT_EVERYTHING) ? 0 - SDL_GetTicks() : 0;
        s.frameClock = true;
        s.fixedFrameMs = 0;
    }
    return true;
}

void SetFixedFrameTime(Uint32 ms) {
    InputLogState& s = State();
    s.fixedFrameMs = ms;
    s.replayOwnsClock = false;
    if (ms) {
        s.frameClock = true;
    } else {
        s.frameClock = s.record != nullptr;
    }
}

void AdvanceFakeClock(Uint32 ms) {
    InputLogState& s = State();
    if (s.frameClock) s.clock += ms;
}

bool InputScriptActive() {
    const InputLogState& s = State();
    return s.replaying && !s.script.empty();
}

void ResetInputLog() {
    CloseInputLog();
    InputLogState& s = State();
    s = InputLogState();
    s.initialised = true;
    terminationFlag = 0;
}

Uint32 LoggedGetTicks() {
    const InputLogState& s = State();
    if (s.frameClock) return s.clock;
    return RealTicks();
}

Uint32 LoggedRandomSeed() {
    InputLogState& s = State();
    Uint32 seed;
    if (s.hasSeed) {
        seed = s.seed;
    } else if (s.frameClock && (s.fixedFrameMs != 0 || !s.frameTimes.empty())) {
        seed = s.clock;
    } else {
        seed = RealTicks();
    }
    if (s.record) {
        FlushRecordedFrames();
        std::fprintf(s.record, "seed %u\n", static_cast<unsigned>(seed));
    }
    return seed;
}

void RequestTermination() {
    terminationFlag = 1;
}

bool TerminationRequested() {
    return terminationFlag != 0;
}

TerminationHandler SetTerminationHandler(TerminationHandler handler) {
    TerminationHandler previous = terminationHandler;
    terminationHandler = handler;
    return previous;
}

int LoggedPollEvent(SDL_Event* event) {
    if (terminationFlag && terminationHandler) {
        terminationFlag = 0;
        terminationHandler();
    }
    InputLogState& s = State();
    MarkRecordBase();
    SDL_Event e;
    if (s.replaying) {
        // While a script plays, the real events are drained and dropped; a quit request
        // (the window's close button) still gets through.
        bool quit = false;
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) quit = true;
        }
        if (quit) {
            e = SDL_Event{};
            e.type = SDL_QUIT;
            e.quit.type = SDL_QUIT;
            return Deliver(e, event);
        }
        if (NextScriptEvent(&e)) return Deliver(e, event);
        return 0;
    }
    if (!SDL_PollEvent(&e)) return 0;
    return Deliver(e, event);
}

Uint8 LoggedGetMouseState(int* x, int* y) {
    const InputLogState& s = State();
    if (!s.trackedInput) return SDL_GetMouseState(x, y);
    if (x) *x = s.mouseX;
    if (y) *y = s.mouseY;
    return s.mouseButtons;
}

SDLMod LoggedGetModState() {
    const InputLogState& s = State();
    if (!s.trackedInput) return SDL_GetModState();
    return s.modState;
}

void CloseInputLog() {
    InputLogState& s = State();
    if (s.record) {
        FlushRecordedFrames();
        std::fclose(s.record);
        s.record = nullptr;
    }
}

void PresentFrame(SDL_Surface* surface) {
    if (CmdLine.openGL) {
        PresentScreenOpenGL(surface);
    } else if (surface) {
        SDL_Flip(surface);
    }
    AdvanceFrameClock();
}

int BlitSurface(SDL_Surface* src, SDL_Rect* srcRect, SDL_Surface* dst, SDL_Rect* dstRect) {
    return SDL_UpperBlit(src, srcRect, dst, dstRect);
}

#include "core/input_log.h"

#include "core/command_state.h"
#include "core/input_script.h"
#include "platform/platform.h"

#include <csignal>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <sstream>
#include <vector>

namespace {

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
    // A script that played to its end: when (on the game clock), and whether the game was
    // already told that nothing more can come.
    // Events read and handed back (UnreadInputEvent), delivered before anything new.
    std::deque<SDL_Event> unread;
    bool scriptPlayedOut = false;
    Uint32 scriptEndedAt = 0;
    bool idleEndAnnounced = false;

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
InputScriptSource scriptSource = nullptr;

Uint32 RealTicks() {
    return SDL_GetTicks() + State().realOffset;
}

// ---------------------------------------------------------------- recording

void FlushRecordedFrames() {
    InputLogState& s = State();
    if (!s.record || s.pendingFrames.empty()) return;
    std::fprintf(s.record, "%s\n", FramesLine(s.pendingFrames).c_str());
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
    const std::string line = ScriptLineFor(e);
    if (!line.empty()) RecordLine(line);
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
    const bool played = s.replaying;
    s.replaying = false;
    s.waiting = false;
    if (s.frameTimes.empty()) HandClockBack();
    if (played) {
        s.scriptPlayedOut = true;
        s.scriptEndedAt = LoggedGetTicks();
    }
}

// True when the game has no window a player could type or click into.
bool HeadlessVideo() {
    char name[32] = {};
    return SDL_VideoDriverName(name, sizeof name) != nullptr && std::strcmp(name, "dummy") == 0;
}

// A window-less game whose script has played out can get no more input: a game still running
// kIdleAfterScriptMs later (a window or a notice waiting for an answer the script did not
// give) would spin its frames for ever. It ends as on a termination request, which saves.
// A game that is handed script text on demand (a script source) is never idle in this sense.
void EndIdleHeadlessGame() {
    InputLogState& s = State();
    if (scriptSource != nullptr) return;
    if (!s.scriptPlayedOut || s.replaying || s.idleEndAnnounced) return;
    if (LoggedGetTicks() - s.scriptEndedAt <= kIdleAfterScriptMs || !HeadlessVideo()) return;
    s.idleEndAnnounced = true;
    std::printf("Input script: played to its end %u ms ago and a game without a window gets no other input; "
                "ending it\n",
                static_cast<unsigned>(LoggedGetTicks() - s.scriptEndedAt));
    std::fflush(stdout);
    RequestTermination();
}

// Kept apart from the replay state: resetting the layer keeps it.
ScriptScreenshotTaker ScreenshotTaker = nullptr;

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
        if (next.kind == ScriptCommand::Screenshot) {
            s.script.pop_front();
            if (ScreenshotTaker != nullptr) {
                ScreenshotTaker();
            } else {
                std::printf("Input script: no screenshot taker, screenshot skipped\n");
            }
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
    if (!ParseInputScript(in, source, parsed)) return false;
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
    // Only a regular file: a pipe or a device would block or never end.
    FILE* file = OpenRegularFile(path);
    if (file == nullptr) {
        std::printf("Input script %s is missing or not a regular file\n", path.c_str());
        return false;
    }
    std::string text;
    char chunk[65536];
    size_t got = 0;
    while (text.size() <= kMaxScriptBytes && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        text.append(chunk, got);
    }
    std::fclose(file);
    // The parser refuses what is too large, without reading more of it.
    std::istringstream in(text);
    return StartReplay(in, path);
}

void SetInputScriptSource(InputScriptSource source) { scriptSource = source; }

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

void SetScriptScreenshotTaker(ScriptScreenshotTaker taker) { ScreenshotTaker = taker; }

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
    scriptSource = nullptr;
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

void UnreadInputEvent(const SDL_Event& event) {
    State().unread.push_back(event);
}

void DropUnreadInputEvents() {
    State().unread.clear();
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
    EndIdleHeadlessGame();
    if (terminationFlag && terminationHandler) {
        terminationFlag = 0;
        terminationHandler();
    }
    InputLogState& s = State();
    if (!s.unread.empty()) {
        // Read once already: tracked and recorded then.
        if (event) *event = s.unread.front();
        s.unread.pop_front();
        return 1;
    }
    MarkRecordBase();
    if (scriptSource != nullptr && !InputScriptActive()) {
        const std::string text = scriptSource();
        if (!text.empty()) OpenInputScriptText(text);
    }
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

namespace {
FramePresenter Presenter = nullptr;
}  // namespace

void SetFramePresenter(FramePresenter presenter) { Presenter = presenter; }

void PresentFrame(SDL_Surface* surface) {
    if (Presenter) {
        Presenter(surface);
    } else if (surface) {
        SDL_Flip(surface);
    }
    AdvanceFrameClock();
}

int BlitSurface(SDL_Surface* src, SDL_Rect* srcRect, SDL_Surface* dst, SDL_Rect* dstRect) {
    return SDL_UpperBlit(src, srcRect, dst, dstRect);
}

#include "core/input_log.h"


#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <sstream>

namespace {

struct ScriptCommand {
    enum Kind { Wait, Event } kind = Event;
    Uint32 waitMs = 0;
    SDL_Event event{};
};

struct InputLogState {
    bool initialised = false;
    Uint32 fixedFrameMs = 0;      // 0: the real clock
    Uint32 fakeClock = 0;
    bool replaying = false;
    std::deque<ScriptCommand> script;
    bool waiting = false;
    Uint32 waitUntil = 0;
    int mouseX = 0, mouseY = 0;
    Uint8 mouseButtons = 0;
    SDLMod modState = KMOD_NONE;
    FILE* record = nullptr;
    Uint32 lastRecordTicks = 0;
};

InputLogState& State() {
    static InputLogState state;
    return state;
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

// Parses a script; on an error prints the line and returns false.
bool ParseScript(std::istream& in, const std::string& source, std::deque<ScriptCommand>& out) {
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
        } else {
            return fail();
        }
    }
    return true;
}

void RecordLine(const std::string& text) {
    InputLogState& s = State();
    if (!s.record) return;
    Uint32 now = LoggedGetTicks();
    if (now != s.lastRecordTicks) {
        std::fprintf(s.record, "wait %u\n", static_cast<unsigned>(now - s.lastRecordTicks));
        s.lastRecordTicks = now;
    }
    std::fprintf(s.record, "%s\n", text.c_str());
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

// Keeps the replayed mouse and modifier state in step with the replayed events.
void TrackState(const SDL_Event& e) {
    InputLogState& s = State();
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        s.modState = e.key.keysym.mod;
        break;
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

bool StartReplay(std::istream& in, const std::string& source) {
    InputLogState& s = State();
    std::deque<ScriptCommand> commands;
    if (!ParseScript(in, source, commands)) return false;
    s.script = std::move(commands);
    s.replaying = true;
    s.waiting = false;
    if (s.fixedFrameMs == 0) s.fixedFrameMs = 16;
    return true;
}

}  // namespace

void InitInputLog() {
    InputLogState& s = State();
    if (s.initialised) return;
    s.initialised = true;
    if (const char* frame = std::getenv("VAULTMERE_FRAME_MS")) {
        long ms = std::strtol(frame, nullptr, 10);
        if (ms > 0 && ms < 60000) s.fixedFrameMs = static_cast<Uint32>(ms);
    }
    if (const char* script = std::getenv("VAULTMERE_INPUT_SCRIPT")) {
        if (*script && !OpenInputScript(script)) std::printf("Input script %s could not be read\n", script);
    }
    if (const char* record = std::getenv("VAULTMERE_INPUT_RECORD")) {
        if (*record && !OpenInputRecord(record)) std::printf("Input record %s could not be opened\n", record);
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
    InputLogState& s = State();
    if (s.record) std::fclose(s.record);
    s.record = std::fopen(path.c_str(), "w");
    s.lastRecordTicks = LoggedGetTicks();
    return s.record != nullptr;
}

void SetFixedFrameTime(Uint32 ms) {
    State().fixedFrameMs = ms;
}

void AdvanceFakeClock(Uint32 ms) {
    InputLogState& s = State();
    if (s.fixedFrameMs) s.fakeClock += ms;
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
}

Uint32 LoggedGetTicks() {
    const InputLogState& s = State();
    if (s.fixedFrameMs) return s.fakeClock;
    return SDL_GetTicks();
}

int LoggedPollEvent(SDL_Event* event) {
    InputLogState& s = State();
    if (!s.replaying) {
        int got = SDL_PollEvent(event);
        if (got && event) RecordEvent(*event);
        return got;
    }
    // While a script plays, the real events are drained and dropped.
    SDL_Event drop;
    while (SDL_PollEvent(&drop)) {
    }
    while (!s.script.empty()) {
        ScriptCommand& next = s.script.front();
        if (next.kind == ScriptCommand::Wait) {
            if (!s.waiting) {
                s.waiting = true;
                s.waitUntil = LoggedGetTicks() + next.waitMs;
            }
            if (static_cast<Sint32>(LoggedGetTicks() - s.waitUntil) < 0) return 0;
            s.waiting = false;
            s.script.pop_front();
            continue;
        }
        SDL_Event e = next.event;
        s.script.pop_front();
        TrackState(e);
        RecordEvent(e);
        if (event) *event = e;
        return 1;
    }
    return 0;
}

Uint8 LoggedGetMouseState(int* x, int* y) {
    const InputLogState& s = State();
    if (!s.replaying) return SDL_GetMouseState(x, y);
    if (x) *x = s.mouseX;
    if (y) *y = s.mouseY;
    return s.mouseButtons;
}

SDLMod LoggedGetModState() {
    const InputLogState& s = State();
    if (!s.replaying) return SDL_GetModState();
    return s.modState;
}

void CloseInputLog() {
    InputLogState& s = State();
    if (s.record) {
        std::fclose(s.record);
        s.record = nullptr;
    }
}

namespace {
FramePresenter Presenter = nullptr;
}  // namespace

void SetFramePresenter(FramePresenter presenter) { Presenter = presenter; }

void PresentFrame(SDL_Surface* surface) {
    InputLogState& s = State();
    if (Presenter) {
        Presenter(surface);
    } else if (surface) {
        SDL_Flip(surface);
    }
    if (s.fixedFrameMs) {
        s.fakeClock += s.fixedFrameMs;
    } else {
        SDL_Delay(2);
    }
}

int BlitSurface(SDL_Surface* src, SDL_Rect* srcRect, SDL_Surface* dst, SDL_Rect* dstRect) {
    return SDL_UpperBlit(src, srcRect, dst, dstRect);
}

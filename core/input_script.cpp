#include "core/input_script.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

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

}  // namespace

std::string KeyToken(SDLKey key) {
    for (const NamedKey& named : kNamedKeys) {
        if (named.key == key) return named.name;
    }
    if (key > 32 && key < 127 && key != '#') return std::string(1, static_cast<char>(key));
    return std::to_string(static_cast<int>(key));
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

std::string ScriptLineFor(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        std::string line = (e.type == SDL_KEYDOWN ? "keydown " : "keyup ") + KeyToken(e.key.keysym.sym);
        const std::string mods = ModsToken(e.key.keysym.mod);
        if (!mods.empty()) line += " " + mods;
        return line;
    }
    case SDL_MOUSEMOTION:
        return "move " + std::to_string(e.motion.x) + " " + std::to_string(e.motion.y);
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return std::string(e.type == SDL_MOUSEBUTTONDOWN ? "buttondown " : "buttonup ") +
               std::to_string(e.button.button) + " " + std::to_string(e.button.x) + " " +
               std::to_string(e.button.y);
    case SDL_QUIT:
        return "quit";
    default:
        return "";
    }
}

std::string FramesLine(const std::vector<FrameRun>& runs) {
    std::string line = "frames";
    for (const FrameRun& run : runs) {
        line += ' ' + std::to_string(run.ms);
        if (run.count > 1) line += 'x' + std::to_string(run.count);
    }
    return line;
}

namespace {

enum class LineRead { Line, End, TooLong, TooMuch };

// One line without its end (LF or CRLF), as std::getline gives it, but never more than the
// limits.
LineRead ReadBoundedLine(std::istream& in, std::string& line, size_t& total) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    if (buffer == nullptr || !in) return LineRead::End;
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            return line.empty() ? LineRead::End : LineRead::Line;
        }
        if (++total > kMaxScriptBytes) return LineRead::TooMuch;
        if (c == '\n') return LineRead::Line;
        // The CR of a CRLF line end (or of a last line that has only a CR) is no part of the line.
        if (c == '\r') {
            const int next = buffer->sgetc();
            if (next == '\n' || next == std::char_traits<char>::eof()) continue;
        }
        if (line.size() >= kMaxScriptLineBytes) return LineRead::TooLong;
        line += static_cast<char>(c);
    }
}

}  // namespace

bool ParseInputScript(std::istream& in, const std::string& source, ParsedScript& parsed) {
    std::deque<ScriptCommand>& out = parsed.commands;
    std::string line;
    int lineNo = 0;
    size_t total = 0;
    for (;;) {
        const LineRead read = ReadBoundedLine(in, line, total);
        if (read == LineRead::End) break;
        ++lineNo;
        if (read == LineRead::TooLong) {
            std::printf("Input script %s, line %i is longer than %zu bytes\n", source.c_str(), lineNo,
                        kMaxScriptLineBytes);
            return false;
        }
        if (read == LineRead::TooMuch) {
            std::printf("Input script %s is larger than %zu bytes\n", source.c_str(), kMaxScriptBytes);
            return false;
        }
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
        } else if (cmd == "screenshot") {
            std::string extra;
            if (words >> extra) return fail();
            command.kind = ScriptCommand::Screenshot;
            out.push_back(command);
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

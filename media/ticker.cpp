// The message ticker and its log.
#include "media/ticker.h"

#include <cstdio>
#include <cstdlib>

#include "core/input_log.h"
#include "media/font.h"
#include "media/screen.h"
#include "media/text_wrap.h"

TickerList Ticker;

namespace {

struct TickerLogState {
    std::deque<std::string> lines;
    std::string pending;
    bool pendingUsed = false;  // a piece came since the last line end
    FILE* file = nullptr;
    bool envChecked = false;
    bool exitHandlerRegistered = false;
};

TickerLogState& Log() {
    static TickerLogState state;
    return state;
}

void CloseLogAtExit() {
    CloseTickerLogFile();
}

void OpenLogFromEnvironment() {
    TickerLogState& log = Log();
    if (log.envChecked) return;
    log.envChecked = true;
    const char* path = getenv("VAULTMERE_TICKER_LOG");
    if (path != nullptr && *path != '\0' && log.file == nullptr) OpenTickerLogFile(path);
}

void FinishLogLine() {
    TickerLogState& log = Log();
    OpenLogFromEnvironment();
    if (log.file != nullptr) {
        fprintf(log.file, "%s\n", log.pending.c_str());
        fflush(log.file);
    }
    log.lines.push_back(log.pending);
    while (log.lines.size() > kTickerLogLimit) log.lines.pop_front();
    log.pending.clear();
    log.pendingUsed = false;
}

// A line break straight after another at the same height ends no line of its own on the screen.
bool EndsNoLine(TickerEntry* lineBreak, TickerEntry* previous) {
    return previous != nullptr && previous->IsLineBreak() && previous->y == lineBreak->y;
}

// A line break ends the pending log line, unless it ends no line on the screen.
void LogPiece(TickerEntry* piece, TickerEntry* previous) {
    OpenLogFromEnvironment();
    if (piece->IsLineBreak()) {
        if (EndsNoLine(piece, previous)) return;
        FinishLogLine();
        return;
    }
    TickerLogState& log = Log();
    log.pending += piece->PlainText();
    log.pendingUsed = true;
}

void Append(TickerEntry* piece) {
    TickerEntry* previous = Ticker.entries.empty() ? nullptr : Ticker.entries.back().get();
    LogPiece(piece, previous);
    Ticker.entries.emplace_back(piece);
}

}  // namespace

void AddTickerEntry(TickerEntry* piece) {
    if (piece == nullptr) return;
    if (Ticker.entries.empty()) {
        piece->x = kTickerLeft;
        piece->y = 0;
        Append(piece);
        return;
    }
    TickerEntry* last = Ticker.entries.back().get();
    piece->x = last->x + last->GetWidth();
    piece->y = last->y;
    // A piece that would pass the right edge gets a line break at its place first. That holds
    // behind a line break too: the new break then sits on the same line as the old one (and
    // counts as a line of its own), or, behind a word that alone reaches past the edge, opens an
    // empty line.
    if (piece->x + piece->GetWidth() > kTickerRight) {
        LineBreakTickerEntry* lineBreak = new LineBreakTickerEntry;
        lineBreak->x = piece->x;
        lineBreak->y = piece->y;
        Append(lineBreak);
        last = lineBreak;
    }
    if (last->IsLineBreak()) {
        piece->x = kTickerLeft;
        piece->y = last->y + last->GetHeight();
    }
    Append(piece);
}

void AddTickerString(const std::string& text, bool lineBreak) {
    AddTickerEntry(new TextTickerEntry(text, nullptr));
    if (lineBreak) AddTickerEntry(new LineBreakTickerEntry);
}

void AddText(const std::string& text, bool lineBreak) {
    const std::vector<std::string> lines = WrapWords(
        text, kTickerWrapWidth, [](const std::string& s) { return TextWidth(s, TickerFont); });
    if (lines.empty()) {
        AddTickerString(std::string(), lineBreak);
        return;
    }
    for (size_t i = 0; i + 1 < lines.size(); ++i) AddTickerString(lines[i], true);
    AddTickerString(lines.back(), lineBreak);
}

void AddText(const char* text, bool lineBreak) {
    if (text == nullptr) return;
    AddText(std::string(text), lineBreak);
}

int CountTickerLines() {
    if (Ticker.entries.empty()) return 0;
    int lines = 1;
    for (const auto& piece : Ticker.entries)
        if (piece->IsLineBreak()) ++lines;
    if (Ticker.entries.back()->IsLineBreak()) --lines;
    return lines;
}

void DrawTicker() {
    const Uint32 now = LoggedGetTicks();
    const Uint32 elapsed = now - Ticker.lastScrollTime;
    const int lines = CountTickerLines();
    Uint32 interval = 50;
    if (lines >= 5) interval = 20;
    if (lines > 10) interval = 5;
    if (lines > 20) interval = 2;

    // A dark band behind every piece of text that is drawn, so that the lines read over any
    // wall or floor; all bands first, so that no band covers a neighbouring piece's letters.
    if (ScreenSurface != nullptr) {
        const Uint32 backing = SDL_MapRGB(ScreenSurface->format, kTickerBacking.r, kTickerBacking.g, kTickerBacking.b);
        for (const auto& piece : Ticker.entries) {
            if (piece->IsLineBreak()) {
                if (piece->y + piece->GetHeight() > kTickerBottom) break;
                continue;
            }
            if (piece->GetWidth() <= 1) continue;
            SDL_Rect band = {static_cast<Sint16>(piece->x - kTickerBackingPad), static_cast<Sint16>(piece->y),
                             static_cast<Uint16>(piece->GetWidth() + 2 * kTickerBackingPad),
                             static_cast<Uint16>(piece->GetHeight())};
            SDL_FillRect(ScreenSurface, &band, backing);
        }
    }
    bool overfull = false;
    for (const auto& piece : Ticker.entries) {
        piece->Draw();
        if (piece->IsLineBreak() && piece->y + piece->GetHeight() > kTickerBottom) {
            overfull = true;
            break;
        }
    }
    if (!overfull || elapsed <= interval) return;

    for (const auto& piece : Ticker.entries) piece->y -= 1;
    while (!Ticker.entries.empty() && Ticker.entries.front()->y + Ticker.entries.front()->GetHeight() <= 0)
        Ticker.entries.pop_front();
    Ticker.lastScrollTime = now;
}

void ClearTicker() {
    OpenLogFromEnvironment();
    Ticker.entries.clear();
    Ticker.lastScrollTime = LoggedGetTicks();
    if (Log().pendingUsed) FinishLogLine();
}

std::vector<std::string> TickerLines() {
    std::vector<std::string> lines;
    std::string current;
    bool used = false;
    TickerEntry* previous = nullptr;
    for (const auto& piece : Ticker.entries) {
        TickerEntry* before = previous;
        previous = piece.get();
        if (piece->IsLineBreak()) {
            if (EndsNoLine(piece.get(), before)) continue;
            lines.push_back(current);
            current.clear();
            used = false;
        } else {
            current += piece->PlainText();
            used = true;
        }
    }
    if (used) lines.push_back(current);
    return lines;
}

std::vector<std::string> TickerLog() {
    const TickerLogState& log = Log();
    std::vector<std::string> lines(log.lines.begin(), log.lines.end());
    if (log.pendingUsed) lines.push_back(log.pending);
    return lines;
}

void ClearTickerLog() {
    TickerLogState& log = Log();
    log.lines.clear();
    log.pending.clear();
    log.pendingUsed = false;
    if (log.file == nullptr) log.envChecked = false;
}

bool OpenTickerLogFile(const std::string& path) {
    TickerLogState& log = Log();
    log.envChecked = true;  // an explicit file wins over the environment
    if (log.file != nullptr) fclose(log.file);
    log.file = fopen(path.c_str(), "w");
    if (log.file == nullptr) {
        printf("Could not open the ticker log '%s'\n", path.c_str());
        return false;
    }
    if (!log.exitHandlerRegistered) {
        atexit(CloseLogAtExit);
        log.exitHandlerRegistered = true;
    }
    return true;
}

void CloseTickerLogFile() {
    TickerLogState& log = Log();
    if (log.file == nullptr) return;
    if (log.pendingUsed) fprintf(log.file, "%s\n", log.pending.c_str());
    fclose(log.file);
    log.file = nullptr;
}

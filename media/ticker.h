#pragma once
// The message ticker: the scrolling log of game messages at the top of the play screen.
//
// Pieces are laid out from (100, 0): each goes right after the newest one, a piece that
// would reach past x 692 starts a new line, and lines are 18 pixels apart. The ticker draws
// while its line breaks lie above y 72; with more lines than that it scrolls up one pixel
// per step (50 ms; 20 ms from five lines, 5 ms above ten, 2 ms above twenty) and drops the
// lines that have left the top. The clock is the logged clock (core/input_log.h).
//
// Besides the pieces on screen, the ticker keeps a log of every line posted, as plain text:
// a line ends at every line break. With VAULTMERE_TICKER_LOG=file set (or after
// OpenTickerLogFile) each finished line is also written to that file.
#include <SDL.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "media/ticker_entry.h"

constexpr int kTickerLeft = 100;
constexpr int kTickerRight = 692;
constexpr int kTickerWrapWidth = kTickerRight - kTickerLeft;  // 592
constexpr int kTickerLineHeight = 18;
constexpr int kTickerBottom = 72;
// Pixels of the dark backing left and right of each piece of ticker text.
constexpr int kTickerBackingPad = 3;
// The colour of that backing.
constexpr SDL_Color kTickerBacking = {8, 8, 10, 0};

class TickerList {
public:
    TickerList() = default;
    TickerList(const TickerList&) = delete;
    TickerList& operator=(const TickerList&) = delete;

    std::deque<std::unique_ptr<TickerEntry>> entries;  // oldest (top) first
    Uint32 lastScrollTime = 0;
};

extern TickerList Ticker;

// Posts a message: wrapped at 592 pixels of TickerFont into white text pieces, each full
// line ending with a line break; the last part ends with one when lineBreak is true. An
// empty text posts an empty piece. A null text posts nothing.
void AddText(const std::string& text, bool lineBreak);
void AddText(const char* text, bool lineBreak);
// One white text piece with the text as it is, then a line break when asked.
void AddTickerString(const std::string& text, bool lineBreak);
// Places the piece after the newest one and appends it; the ticker takes it over. A null
// piece is ignored.
void AddTickerEntry(TickerEntry* piece);
// 0 when empty; otherwise 1 + the line breaks, less one when the newest piece is a break.
int CountTickerLines();
// Draws the pieces on ScreenSurface and scrolls when the ticker is overfull. Call once a frame.
void DrawTicker();
// Destroys every piece and sets the last scroll time to now.
void ClearTicker();

// The lines now in the ticker, as plain text (icons as "[name]").
std::vector<std::string> TickerLines();
// Every line posted since the start or the last ClearTickerLog, the unfinished one last
// (when it holds anything). At most the newest kTickerLogLimit lines are kept in memory.
std::vector<std::string> TickerLog();
constexpr size_t kTickerLogLimit = 10000;
// Empties the log. Without an open log file, VAULTMERE_TICKER_LOG is read again at the
// next use of the ticker.
void ClearTickerLog();
// Writes every finished line to the file from now on (the file is started afresh).
bool OpenTickerLogFile(const std::string& path);
// Writes out the unfinished line and closes the file.
void CloseTickerLogFile();

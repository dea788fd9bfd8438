#pragma once
// Word wrapping shared by the wrapped text routines, tooltips and the message ticker.
//
// Words are runs of bytes without white space (space, tab, newline, vertical tab, form
// feed, carriage return); a word is never split. The candidate line (current line + word)
// is measured; when it is wider than the width and the current line is not empty, the
// current line is finished and the word starts the next one. After every word one space
// is appended for every white-space byte that follows it (a run of three spaces stays
// three spaces, a newline or tab becomes one space), so lines keep their trailing spaces.
// White space before the first word is dropped. There are no forced line breaks.
#include <SDL_ttf.h>

#include <functional>
#include <string>
#include <vector>

// The lines of the text with a measuring function of its own (width of a string in pixels).
std::vector<std::string> WrapWords(const std::string& text, int width,
                                   const std::function<int(const std::string&)>& measure);

struct WrappedLine {
    std::string text;
    int width = 0;   // TextWidth of the line
    int height = 0;  // TextHeight of the line: the step to the next line
};

// The lines of the text wrapped in the font; empty for a null or empty text. Results for the
// game's font handles are kept in a small cache (tooltips wrap the same text every frame).
std::vector<WrappedLine> WrapTextLines(const char* text, TTF_Font* font, int width);

// Empties the wrap cache.
void ClearWrapCache();

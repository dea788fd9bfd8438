#pragma once
// Measuring and drawing text with the game font (handles in media/font.h).
//
// Every routine takes UTF-8. Malformed UTF-8 and characters the font engine cannot hold are
// drawn as U+FFFD instead of being handed on as they are. Single-line routines draw nothing
// for a null or empty text or a null font; a null surface means ScreenSurface. Text rendered
// with the five game handles is kept in a small cache, so a text drawn every frame (the
// ticker, the bottom bar) is rendered once.
#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

extern const SDL_Color kTextBlack;     // (0, 0, 0)
extern const SDL_Color kTextWhite;     // (255, 255, 255)
extern const SDL_Color kTextGold;      // (247, 218, 118)
extern const SDL_Color kTextGoldAlt;   // (248, 218, 118), the medium centred gold routine

// Width and height in pixels of the text as the font engine sizes it; 0 for a null text or
// font. An empty text is 0 wide and one font line high.
int TextWidth(const char* text, TTF_Font* font);
int TextHeight(const char* text, TTF_Font* font);
int TextWidth(const std::string& text, TTF_Font* font);
int TextHeight(const std::string& text, TTF_Font* font);

// Single-line drawing. Positions are the top-left corner, the right edge (right aligned: left
// = x - width) or the centre (left = x - width / 2).
void DrawText(int x, int y, const char* text, SDL_Color colour, SDL_Surface* surface, TTF_Font* font);
void DrawText(int x, int y, const std::string& text, SDL_Color colour, SDL_Surface* surface,
              TTF_Font* font);
void DrawTextRightAligned(int x, int y, const char* text, SDL_Color colour, SDL_Surface* surface,
                          TTF_Font* font);
void DrawTextCentered(int x, int y, const char* text, TTF_Font* font, SDL_Color colour,
                      SDL_Surface* surface);

void DrawLargeText(int x, int y, const char* text, SDL_Surface* surface = nullptr);
void DrawLargeTextCentered(int x, int y, const char* text, SDL_Surface* surface = nullptr);
void DrawLargeTextCenteredGold(int x, int y, const char* text, SDL_Surface* surface = nullptr);
void DrawMediumText(int x, int y, const char* text, SDL_Surface* surface = nullptr);
void DrawMediumTextRightAligned(int x, int y, const char* text, SDL_Surface* surface = nullptr);
void DrawMediumTextCentered(int x, int y, const char* text, SDL_Surface* surface = nullptr);
void DrawMediumTextGold(int x, int y, const char* text, SDL_Surface* surface = nullptr);
void DrawMediumTextRightAlignedGold(int x, int y, const char* text, SDL_Surface* surface = nullptr);
void DrawMediumTextCenteredGold(int x, int y, const char* text, SDL_Surface* surface = nullptr);

// Multi-line text in one of ten styles (0 to 9; any other draws nothing). Lines end at a
// newline (consumed, when the line holds at least one byte) and after 78 bytes; line i is
// drawn at (x, y + i * step), step 32 for styles 0 and 4 and 24 for the others.
void DrawStyledText(int x, int y, const char* text, int style, SDL_Surface* surface = nullptr);
// The lines DrawStyledText draws for the text, in order. A line is never cut inside a UTF-8
// character: the whole character moves to the next line.
std::vector<std::string> SplitStyledLines(const char* text);
// The line step of a style, 0 for a style that draws nothing.
int StyledLineStep(int style);

// Word wrapping (media/text_wrap.h does the splitting). Each draws or measures the lines of
// the text wrapped to the width right - left, downward from top, and returns the height used
// (the sum of the lines' heights); 0 for a null or empty text. bottom is not used: nothing
// is clipped.
int DrawTextWrapped(const char* text, int left, int top, int right, int bottom, TTF_Font* font,
                    SDL_Color colour, SDL_Surface* surface);
// The same with each line centred between left and right: (left + right) / 2 - width / 2.
int DrawTextWrappedCentered(const char* text, int left, int top, int right, int bottom,
                            TTF_Font* font, SDL_Color colour, SDL_Surface* surface);
// The height DrawTextWrapped would return, without drawing.
int MeasureTextWrapped(const char* text, int left, int top, int right, int bottom, TTF_Font* font);
int WrappedTextHeight(const char* text, TTF_Font* font, int width);

// Empties the rendered-text cache (FreeFonts does it); the number of texts it holds.
void ClearTextCache();
size_t TextCacheSize();

// The text as the font engine is given it: well-formed UTF-8 of characters below U+10000,
// anything else replaced by U+FFFD.
std::string SanitizeUtf8(const std::string& text);

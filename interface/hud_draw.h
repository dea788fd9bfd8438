#pragma once
// The drawing steps the HUD pieces share: blits and texts onto the screen surface that can
// also be written down, so that a test sees what a piece drew where without reading pixels.
#include <SDL.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Sprite;

// A screen point or an offset.
struct HudPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// One drawing step: what was drawn (a picture's role, or a text in quotes) and where.
struct HudDrawCall {
    std::string what;
    int32_t x = 0;
    int32_t y = 0;
};

// While set, every step below is also appended to the list (null stops recording).
void SetHudDrawRecorder(std::vector<HudDrawCall>* log);
// Writes a step down without drawing anything. The names are copied only while recording,
// so a frame that is not recorded makes nothing for them.
void HudRecord(std::string_view what, int32_t x, int32_t y);
// Writes a text step down: the text in quotes.
void HudRecordText(std::string_view text, int32_t x, int32_t y);

// Blits the whole picture (nothing for a null picture, but the step is written down).
void HudBlit(SDL_Surface* picture, std::string_view what, int32_t x, int32_t y);
// Blits part of a picture.
void HudBlitPart(SDL_Surface* picture, const SDL_Rect& source, std::string_view what, int32_t x, int32_t y);
// Draws a sprite frame.
void HudSprite(Sprite* sprite, int32_t frame, std::string_view what, int32_t x, int32_t y);
// Texts are drawn with media/text.h and written down with HudRecord as "\"text\"" at the
// anchor the drawing routine was given.

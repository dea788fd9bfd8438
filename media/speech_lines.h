#pragma once
// Places the lines monsters say over the map so that no two lines of one frame overlap: a line
// whose wanted place is taken moves up above the line in its way, as often as needed.
#include <SDL.h>

#include <cstdint>

// Forgets the lines of the last frame (called before each frame's overlay pass).
void ClearSpeechLines();
// The place of a w x h line wanted with its top edge at y and its middle at centreX: the wanted
// place, or the nearest free place above it. The line is then taken for this frame.
SDL_Rect PlaceSpeechLine(int32_t centreX, int32_t y, int32_t w, int32_t h);

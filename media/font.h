#pragma once
// The game's one TrueType font, opened at five sizes, and (through media/text.h) the
// routines that measure, wrap and draw text with it.
#include <SDL_ttf.h>

// Font handles; null until LoadFonts succeeds.
extern TTF_Font* LargeFont;      // 32 points
extern TTF_Font* MediumFont;     // 18 points
extern TTF_Font* AltMediumFont;  // 18 points, a second handle
extern TTF_Font* TickerFont;     // 14 points
extern TTF_Font* SmallFont;      // 8 points

// The font file, relative to the game folder.
extern const char* const kFontFile;

// Starts SDL_ttf and opens the font file at its five sizes. Prints the reason and
// returns false when SDL_ttf cannot start or any of the five handles cannot be opened;
// no handle is then left open, so nothing can draw with a missing font.
bool LoadFonts();

// Closes the five handles (SDL_ttf itself stays up; it is shut down at exit).
void FreeFonts();

// Bumped whenever a handle is opened or closed: measurements and rendered text kept from an
// earlier generation are stale (a new handle may even reuse an old address).
unsigned FontGeneration();

#include "media/text.h"

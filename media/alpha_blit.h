#pragma once
// A quicker path for the commonest blit of the play screen's HUD: a decoded picture with
// per-pixel alpha (bytes R, G, B, A) onto the 32-bit screen without alpha (0RGB). SDL blits
// that pair with its general per-pixel routine, several times slower than this one.
//
// The result is SDL's own, bit for bit: the first use compares the two on a probe of values
// and alphas, and when they differ (another SDL build) every blit is left to SDL.
#include <SDL.h>

// Blits as SDL_BlitSurface would (the same clipping, the same rectangle written back into
// dstRect, null rectangles meaning the whole picture and position 0, 0) and returns its
// result. Surfaces of other kinds, colour keys, surface-wide alpha and locked surfaces go to
// SDL_BlitSurface itself.
int BlitPicture(SDL_Surface* src, SDL_Rect* srcRect, SDL_Surface* dst, SDL_Rect* dstRect);

// Whether the quick path may be taken: the pair is the usual one and the probe agreed.
bool QuickAlphaBlitUsable(const SDL_Surface* src, const SDL_Surface* dst);

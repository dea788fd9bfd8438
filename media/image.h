#pragma once
// Pictures read through the virtual file system and decoded into SDL surfaces.
//
// Stand-in: only the plain loader is built. Still to be built here: LoadAlphaImage
// (the doubling loader with Scale2x under "smoothScaling"), LoadImageDoubled (palette
// capture into an 8-bit keyed surface), WarnIfArtMissing, the palette step with its hue
// shift (ExpandPaletteWithHueShift) and the colour-space conversions RgbToHsl / HslToRgb.
#include <SDL.h>

#include <cstddef>

// Decodes image bytes (PNG or any format the decoder knows) into a new 32-bit RGBA
// surface (bytes R, G, B, A in memory order). Undecodable data gives null silently;
// a surface that cannot be made prints "Couldn't allocate SDL surface!" and gives null.
SDL_Surface* CreateSurfaceFromImageData(const unsigned char* bytes, size_t length);

// Reads the named picture whole and decodes it; not doubled. A missing file gives
// null without a message; undecodable contents print "Could not load resource ..."
// and give null. The caller owns the surface.
SDL_Surface* LoadImage(const char* name);

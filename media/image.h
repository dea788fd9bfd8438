#pragma once
// Pictures read through the virtual file system and decoded into SDL surfaces: the plain
// loader, the doubling loader for sprite frames and UI art (2x2 blocks or Scale2x under
// "smoothScaling"), the palette-capturing loader for tilesets, the palette step of the PNG
// decoder with its optional hue shift, and the colour-space conversions the hue shift uses.
//
// Art on disk is stored at half the screen resolution; the doubling loaders make every source
// pixel a 2x2 block.
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PalettePng;

// ---------------------------------------------------------------------------------------------
// Decoder state shared by the loaders (main thread only). Each loader sets the palette mode
// before it decodes.

// true: palette images are expanded to RGB/RGBA (normal); false: capture mode (one index byte per
// pixel, the palette goes to GlobalPalette).
extern bool PaletteExpandMode;
// Cleared at the start of every PNG decode; set when a palette image was decoded in capture mode.
extern bool PaletteCaptured;
// The palette of the last palette image decoded in capture mode (R, G, B, A).
extern uint8_t GlobalPalette[256][4];

// The hue shift applied by the palette step to palette PNGs decoded in expand mode.
void EnableHueShift(int32_t degrees);
void DisableHueShift();
bool HueShiftEnabled();

// ---------------------------------------------------------------------------------------------
// Colour-space conversions: r, g, b, s, l in 0..1, h in degrees.
void RgbToHsl(float r, float g, float b, float* h, float* s, float* l);
void HslToRgb(float h, float s, float l, float* r, float* g, float* b);

// The hue-shift step for one palette colour (R, G, B in 0..255): the colour as the palette step
// writes it with the given shift (through HSL; channels truncated).
void HueShiftColour(const uint8_t in[3], float degrees, uint8_t out[3]);

// The palette step: replaces the decoded indices by width x height pixels of `channels` (3 or 4)
// bytes each, applying the hue shift when it is enabled. False when channels is not 3 or 4 or the
// pixels cannot be allocated ("outofmem").
bool ExpandPaletteWithHueShift(const PalettePng& image, int channels, std::vector<uint8_t>& out);

// Largest picture side the loaders take. Pictures are PNGs no wider or higher than this: the
// header is read before anything is decoded, so a file claiming a giant picture costs nothing,
// and a doubled picture still fits an SDL surface (whose rows hold at most 65535 bytes).
constexpr uint32_t kMaxPictureSide = 4096;

// Decodes image bytes with the given requested channel count (0 = the file's own). Only PNGs of
// at most kMaxPictureSide a side are decoded; anything else is refused from its header. Palette
// PNGs go through the palette step (expand mode) or are captured (capture mode: one index byte
// per pixel, *channels = 1). Returns false for undecodable or refused data.
bool DecodeImageBytes(const unsigned char* bytes, size_t length, int requested,
                      std::vector<uint8_t>& pixels, int* width, int* height, int* channels);

// ---------------------------------------------------------------------------------------------
// Loaders. The caller owns every surface returned (SDL_FreeSurface).

// Decodes a PNG (see DecodeImageBytes for what is refused) into a new 32-bit RGBA
// surface (bytes R, G, B, A in memory order). Undecodable data gives null silently;
// a surface that cannot be made prints "Couldn't allocate SDL surface!" and gives null.
SDL_Surface* CreateSurfaceFromImageData(const unsigned char* bytes, size_t length);

// Reads the named picture whole and decodes it; not doubled. A missing file gives
// null without a message; undecodable contents print "Could not load resource ..."
// and give null.
SDL_Surface* LoadImage(const char* name);

// LoadImage for a picture of which only the middle w x h is ever drawn: the part from
// (W / 2 - w / 2, H / 2 - h / 2) of a W x H picture, in each direction where the picture is
// larger (whole where it is not). The pixels, format and messages are LoadImage's; the rest of
// the picture is never stored.
SDL_Surface* LoadImageMiddle(const char* name, int w, int h);

// Reads and decodes a picture and returns it at twice its size: a 32-bit RGB surface for
// 3-channel images (plain 2x2 doubling), a 32-bit RGBA surface for 4-channel images (Scale2x when
// "smoothScaling" is not 0), with SDL_SRCALPHA set. Grey images are read as RGBA. A missing or
// undecodable file gives null (the undecodable one with the "Could not load resource" line).
SDL_Surface* LoadAlphaImage(const char* file);

// Doubles 32-bit pixels (width x height, rows of `srcPitch` bytes) into dest (2w x 2h, rows of
// `destPitch` bytes): 2x2 blocks, or Scale2x when smooth is set.
void DoublePixels32(const uint32_t* src, int width, int height, size_t srcPitch, uint32_t* dest,
                    size_t destPitch, bool smooth);
// The same for one byte per pixel (palette indices).
void DoublePixels8(const uint8_t* src, int width, int height, size_t srcPitch, uint8_t* dest,
                   size_t destPitch, bool smooth);

// Shows "File named <file> not found. The game will probably crash!" when the file is not in the
// virtual file system; loading goes on afterwards. True when the file exists.
bool WarnIfArtMissing(const char* file);

// A level image (tileset): the file's palette indices doubled into an 8-bit surface keyed on
// index 0, then converted to the screen's format when there is a screen. Owns its surface.
struct ImageRecord {
    ImageRecord() = default;
    ~ImageRecord();
    ImageRecord(const ImageRecord&) = delete;
    ImageRecord& operator=(const ImageRecord&) = delete;

    // Loads a palette PNG. A missing, undecodable or non-palette file leaves the record without
    // a surface, prints "Could not load resource ..." (not for a missing file) and answers false.
    bool LoadImageDoubled(const char* file);
    void Free();

    uint32_t field = 0;
    std::string fileName;
    SDL_Surface* surface = nullptr;
};

// Goes up by one whenever a level image gets or loses its surface, so a picture painted from
// level images can tell that one of them may have changed behind the same pointer.
uint32_t LevelImageGeneration();

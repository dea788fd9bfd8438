#pragma once
// Sprites (frame sets with delays) and the name-to-sprite table that owns them.
//
// Stand-in: sprites are created and kept by name, but no file is read yet: every
// loader leaves the sprite empty (no frames, size 0) and answers false. Still to be
// built here: the ".spr" reader (palettes, external palette file, hue shift, white first
// frame, doubling / Scale2x), the ".xml" frame lists (expat), single PNGs and numbered
// PNG series, the outline frames (red, or blue for colour-blind play) and the
// "Some Art is Horribly Broken" handling.
#include <SDL.h>

#include <cstdint>
#include <string>

class Sprite {
public:
    Sprite();
    ~Sprite();
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    uint8_t palette[256][3];
    std::string name;
    bool transient = false;
    SDL_Surface** frames = nullptr;    // frameCount entries, owned
    SDL_Surface** outlines = nullptr;  // frameCount entries or null, owned
    uint16_t frameCount = 0;
    uint16_t* delays = nullptr;        // milliseconds per frame
    uint16_t width = 0;
    uint16_t height = 0;

    // Dispatch on the extension: ".png", ".xml", anything else ".spr".
    bool Load(const char* file, const char* paletteFile, int32_t hueShift, int32_t whiteFirstFrame,
              int32_t nativeSize);
    bool LoadPNG(const char* file, int32_t doubled);
    bool LoadPNGSeries(const char* base, int32_t first, int32_t count, int32_t delay, int32_t doubled);
    bool LoadXML(const char* file, int32_t doubled, int32_t hueShift);
    // A one-frame sprite of the surface (the sprite takes it over).
    void InitFromSurface(SDL_Surface* surface);
    // Blits the frame to the screen surface at (x, y); nothing for a missing frame.
    void DrawFrame(int32_t x, int32_t y, int32_t frame);

private:
    void FreeFrames();
};

Sprite* SpriteMgr_Find(const char* name);
// Inserts unless the name is present; returns true when the sprite was stored (the
// table then owns it).
bool SpriteMgr_Add(const char* name, Sprite* sprite);
Sprite* SpriteMgr_GetOrLoad(const char* name, const char* file = nullptr,
                            const char* paletteFile = nullptr, int32_t whiteFirstFrame = 0,
                            int32_t nativeSize = 0, int32_t transient = 0);
Sprite* SpriteMgr_GetOrLoadPNG(const char* name, const char* file, int32_t doubled);
Sprite* SpriteMgr_GetOrLoadXML(const char* name, const char* file, int32_t doubled);
Sprite* SpriteMgr_GetOrLoadSeries(const char* name, const char* file, int32_t frameCount,
                                  int32_t first, int32_t delay, int32_t doubled);
void SpriteMgr_FreeTransient();
void SpriteMgr_FreeAll();
size_t SpriteMgr_Count();

// A named, non-transient entry of the sprite table made from a ".spr" file.
class SpriteTable {
public:
    SpriteTable(const char* name, const char* file);
    Sprite* sprite = nullptr;  // owned by the table
};

#pragma once
// Sprites (frame sets with delays and outline frames) and the name-to-sprite table that owns
// them.
//
// Sprites come from a binary ".spr" file (palette frames), an ".xml" frame list naming one PNG per
// frame, a single ".png", or a numbered PNG series ("<base>0000.png", ...). Art is doubled at load
// unless the native-size flag asks otherwise.
//
// Broken art never leaves a sprite that cannot be drawn: a file that is missing, truncated or
// inconsistent (no frames, zero size, over-long frame names, an unreadable frame) shows the
// "Some Art is Horribly Broken" report and the sprite gets a visible placeholder frame instead.
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>

// Doubling of ".spr" frames (on from start; the native-size flag turns it off per sprite).
extern bool SpriteDoubling;

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
    SDL_Surface** outlines = nullptr;  // frameCount entries (each made when first drawn) or null, owned
    SDL_Surface** seeThrough = nullptr;  // frameCount entries or null (made on first use), owned
    uint16_t frameCount = 0;
    uint16_t* delays = nullptr;        // milliseconds per frame
    uint16_t width = 0;
    uint16_t height = 0;

    // Dispatch on the extension: ".png", ".xml", anything else ".spr". hueShift -1 = none.
    // False when the art was broken (the sprite then holds a placeholder frame).
    bool Load(const char* file, const char* paletteFile, int32_t hueShift, int32_t whiteFirstFrame,
              int32_t nativeSize);
    bool LoadSPR(const char* file, const char* paletteFile, int32_t hueShift, int32_t whiteFirstFrame,
                 int32_t nativeSize);
    bool LoadPNG(const char* file, int32_t doubled);
    bool LoadPNGSeries(const char* base, int32_t first, int32_t count, int32_t delay, int32_t doubled);
    bool LoadXML(const char* file, int32_t doubled, int32_t hueShift);
    // A one-frame sprite of the surface (the sprite takes it over): delay 1000 ms, no outline.
    void InitFromSurface(SDL_Surface* surface);
    // Blits the frame to the screen surface at (x, y); nothing for a frame that does not exist.
    void DrawFrame(int32_t x, int32_t y, int32_t frame);
    // Blits the outline frame at (x, y), made on first use; nothing without outline frames.
    void DrawOutlineFrame(int32_t x, int32_t y, int32_t frame);
    // Blits the see-through picture of the frame (an invisible hero): the frame at half
    // opacity, made the first time it is asked for and kept with the sprite.
    void DrawSeeThroughFrame(int32_t x, int32_t y, int32_t frame);

    // A half-opaque copy of a frame: per-pixel alpha halved, or a surface-wide alpha of 128
    // over the frame's colour key. Null for a null frame or when no copy can be made.
    static SDL_Surface* MakeSeeThrough(SDL_Surface* frame);

    // The outline of a frame: an 8-bit surface two pixels wider and higher, index 0 keyed out,
    // index 1 red (blue when "enableColourBlind" is set). Null for a null frame.
    static SDL_Surface* MakeOutline(SDL_Surface* frame);

private:
    void FreeFrames();
    // Allocates the arrays for `count` frames (all null, delays 0).
    void Allocate(uint16_t count, bool withOutlines);
    // Makes the sprite a one-frame placeholder after a broken-art report.
    void UsePlaceholder();
    // Fills null frames with placeholders; takes the size from the first frame.
    void Finish(bool withOutlines);
};

Sprite* SpriteMgr_Find(const char* name);
// Inserts unless the name is present; returns true when the sprite was stored (the
// table then owns it).
bool SpriteMgr_Add(const char* name, Sprite* sprite);
// The sprite under `name`, loaded from `file` (the name itself when file is null) on first request.
Sprite* SpriteMgr_GetOrLoad(const char* name, const char* file = nullptr,
                            const char* paletteFile = nullptr, int32_t whiteFirstFrame = 0,
                            int32_t nativeSize = 0, int32_t transient = 0);
Sprite* SpriteMgr_GetOrLoadPNG(const char* name, const char* file, int32_t doubled);
Sprite* SpriteMgr_GetOrLoadXML(const char* name, const char* file, int32_t doubled);
// A ".png" file loads as one image; any other name is the base of a numbered series.
Sprite* SpriteMgr_GetOrLoadSeries(const char* name, const char* file, int32_t frameCount,
                                  int32_t first, int32_t delay, int32_t doubled);
// Destroys every sprite loaded with the transient flag (level changes, game end).
void SpriteMgr_FreeTransient();
// Destroys every sprite (shutdown).
void SpriteMgr_FreeAll();
size_t SpriteMgr_Count();
// Changes whenever table sprites are destroyed; a kept Sprite pointer taken from the table is
// valid while the generation it was taken in is current.
unsigned SpriteMgr_Generation();

// A named, non-transient entry of the sprite table, loaded from its file on first request.
class SpriteTable {
public:
    SpriteTable(const char* name, const char* file, const char* paletteFile = nullptr);
    Sprite* sprite = nullptr;  // owned by the table
};

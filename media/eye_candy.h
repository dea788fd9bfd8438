#pragma once
// Short-lived decoration over the map that takes no part in the rules:
//   - EyeCandy: a floating icon or text ("dodge", "resist", damage and experience numbers ...)
//     that plays once, may rise, and may follow the Bob of the creature it belongs to;
//   - glints: sparkles, curses and raindrops played once at a map square, from a pool of 64;
//   - floating texts: text rendered with the game font into a black shadow and a coloured copy.
// The frame routines draw and advance them every frame.
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "media/bob.h"

class Sprite;

class EyeCandy : public Bob {
public:
    EyeCandy() = default;
    ~EyeCandy() override;

    // Follows the owner while it is on screen, advances the frames, and rises one pixel for
    // every full 20 ms beyond the first when rising.
    void Update(int32_t elapsedMs);

    int32_t riseTimer = 0;
    int32_t rise = 0;
    int32_t visible = 0;     // set while the owner is on screen
    int32_t ownsSprite = 0;  // the destructor destroys the sprite
    Bob* owner = nullptr;
    int32_t riseOffset = 0;  // pixels risen so far
};

// The icons eye candy shows, loaded by LoadEyeCandy (the sprites belong to the sprite table,
// the two tooltip surfaces to this table).
struct EyeCandyArt {
    Sprite* dodge = nullptr;
    Sprite* resist = nullptr;
    Sprite* counter = nullptr;
    Sprite* theft = nullptr;
    Sprite* alert = nullptr;
    Sprite* crit = nullptr;
    Sprite* lockpicked = nullptr;
    Sprite* haywire = nullptr;
    Sprite* corruption = nullptr;
    Sprite* block = nullptr;
    Sprite* outOfAmmo = nullptr;
    Sprite* noCrossbow = nullptr;
    Sprite* heroicVandalism = nullptr;
    // The doubled experience medal of the play screen's shared pictures, set when they load;
    // the experience floater shows none while it is null.
    Sprite* experienceMedal = nullptr;
    SDL_Surface* tooltipHotspot[2] = {};
};
extern EyeCandyArt EyeCandyIcons;

// Loads the eye-candy icons (start-up).
void LoadEyeCandy();
// Removes and destroys every entry (shutdown, game teardown).
void ClearEyeCandy();
// A new entry at screen position (x, y) without owner, playing once; null (nothing shown)
// without a sprite or when the list is gone (after exit began).
EyeCandy* SpawnEyeCandy(int32_t x, int32_t y, Sprite* sprite, int32_t rise, int32_t ownsSprite);
// A new entry following the owner's Bob, centred horizontally over it (and vertically when
// asked); it does not own its sprite.
EyeCandy* SpawnFollowingEyeCandy(Bob* owner, Sprite* sprite, int32_t rise, int32_t centreVertically);
// Updates every entry in list order, then destroys the finished ones.
void UpdateEyeCandy(uint32_t elapsedMs);
// Draws every entry without owner or with its owner on screen, in list order.
void DrawEyeCandy();
// Destroys every entry that follows the owner; every Bob's destructor runs it.
void RemoveEyeCandyOfOwner(Bob* owner);
size_t EyeCandyCount();
// The entry at a position of the list, or null.
EyeCandy* EyeCandyAt(size_t index);

// Renders the text twice with the game font, in (255, 210, 215) and in black, and floats both
// over a creature whose body Bob is given. Nothing for empty text or without the font.
void ShowFloatingText(const Bob& body, const std::string& text);
// Floats "+N" (or "-N") in (195, 210, 215) with its shadow and the experience medal over the
// hero whose Bob is given.
void ShowExperienceFloater(const Bob& heroBob, int32_t amount);
// A number rendered in a colour with its black shadow, rising from (x, y): the shadow at
// (x + 1, y + 1), the number at (x, y). The entries own their sprites. Nothing without font.
void SpawnRisingNumberText(int32_t x, int32_t y, const std::string& text, SDL_Color colour);

// ---- glints ------------------------------------------------------------------------------
constexpr int32_t kGlintSlotCount = 64;

struct GlintSlot {
    int32_t tileX = 0;
    int32_t tileY = 0;
    int32_t offsetX = 0;  // 0..63 pixels
    int32_t offsetY = 0;
    int32_t active = 0;
    Bob bob;
};
extern GlintSlot Glints[kGlintSlotCount];
extern Sprite* GlintSprite;     // "glints"
extern Sprite* ZalgoSprite;     // "zalgo"
extern Sprite* RaindropSprite;  // "raindrop"

// Makes every slot inactive and loads the three glint animations.
void LoadGlints();
// Starts a glint at a map square in the first inactive slot (the sparkle when sprite is null);
// nothing when all slots play.
void SpawnGlint(int32_t tileX, int32_t tileY, Sprite* sprite);
// Advances the active slots; a finished one becomes inactive.
void UpdateGlints(uint32_t elapsedMs);
// Draws the active glints that lie inside the camera view: camera square (camX, camY), its
// pixel scroll, and the tile size.
void DrawGlints(int32_t camX, int32_t camY, int32_t scrollX, int32_t scrollY, int32_t tileWidth, int32_t tileHeight);
// How many glints are playing: while any does, the play screen paints the map around them
// instead of copying the picture it kept.
size_t GlintCount();

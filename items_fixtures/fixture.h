#pragma once
// What every fixture class shares.
//
// - Registration: FIXTURE_REGISTRATION(ClassName) in the class's .cpp file registers the class
//   with its load constructor (ClassName(SaveReader&)) and defines GetClassHash and
//   GetClassIndex, which look the class's own name up in the registry (-1 when it is missing).
//   Where one file registers several classes, the registrations stand in the order of the
//   saved-class table.
// - Save: the base block first (GameObj::Save or the base class's Save), then the class's own
//   words; the load constructor reads the same words in the same order and ends with the same
//   picture step as the new-object constructor, so a loaded fixture looks as it did.
// - Embedded objects (the contents of chests, breakables and dispensers, a pedestal's stock):
//   a presence byte, then the class key word and the object's own block.
#include <cstdint>

#include "levels/game_obj.h"

// The declarations every fixture class adds to its body.
#define FIXTURE_CLASS_MEMBERS()             \
    bool Save(SaveWriter& out) override;    \
    uint32_t GetClassHash() override;       \
    int32_t GetClassIndex() override

#define FIXTURE_CLASS_KEYS(ClassName)                                                        \
    uint32_t ClassName::GetClassHash() { return GetRegisteredClassHash(#ClassName); }     \
    int32_t ClassName::GetClassIndex() { return GetRegisteredClassIndex(#ClassName); }

#define FIXTURE_REGISTRATION(ClassName)   \
    SERIALIZABLE_REGISTRATION(ClassName); \
    FIXTURE_CLASS_KEYS(ClassName)

// Writes the slot: byte 0 for none; else byte 1, the object's class key and its block.
bool WriteEmbeddedObject(SaveWriter& out, GameObj* object);
// Reads a slot. Byte 0 gives null. A class key the registry does not know fails the reader
// with a message (the block cannot be skipped, so nothing after it could be trusted) and
// gives null; so does a truncated block.
GameObj* ReadEmbeddedObject(SaveReader& in);

// Picture steps. Each shows the named sprite (loaded from its file on first use) from frame
// 0, animating and looping or standing still, and sets anchor mode `anchor`. A sprite that
// cannot be had leaves the object without a picture. True when a sprite was set.
bool ShowFixtureSprite(GameObj& obj, const char* name, const char* file, bool animate, int32_t anchor = 1);
// The same for a numbered series of `count` frames from `first`, `delay` ms each.
bool ShowFixtureSeries(GameObj& obj, const char* name, const char* file, int32_t count, int32_t first,
                       int32_t delay, bool animate, int32_t anchor = 1);

// Shows frame `frame` of the object's picture, held on the last frame the sprite has (frame 0
// without a sprite).
void ShowFixtureFrame(GameObj& obj, int32_t frame);
// A one-frame placeholder picture shared by fixtures whose art cannot be had.
Sprite* FixturePlaceholderSprite();

// Blits the minimap icon `kind` ("stairsup", "teleport", ...) for zoom index 0..3 with its
// top-left corner at (px, py). The minimap's icon loader keeps the icons as
// "minimap_<kind>_<zoom>"; another zoom, or an icon that is not loaded, draws nothing.
void DrawFixtureMinimapIcon(const char* kind, int32_t px, int32_t py, int32_t zoom);

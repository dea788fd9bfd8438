#include "items_fixtures/fixture.h"

#include <SDL.h>

#include <cstdio>
#include <string>

#include "media/sprite.h"

bool WriteEmbeddedObject(SaveWriter& out, GameObj* object) { return WriteObjectRef(out, object); }

GameObj* ReadEmbeddedObject(SaveReader& in) { return ReadObjectRef(in); }

namespace {

bool Show(GameObj& obj, Sprite* sprite, bool animate, int32_t anchor) {
    obj.anchorMode = anchor;
    obj.bob.frame = 0;
    obj.bob.frameTimer = 0;
    obj.bob.playing = animate;
    obj.bob.loop = animate;
    obj.bob.finished = false;
    if (sprite == nullptr) return false;
    obj.bob.SetSprite(sprite);
    obj.bob.frame = 0;
    obj.bob.playing = animate;
    obj.bob.loop = animate;
    return true;
}

}  // namespace

bool ShowFixtureSprite(GameObj& obj, const char* name, const char* file, bool animate, int32_t anchor) {
    return Show(obj, SpriteMgr_GetOrLoad(name, file), animate, anchor);
}

bool ShowFixtureSeries(GameObj& obj, const char* name, const char* file, int32_t count, int32_t first,
                       int32_t delay, bool animate, int32_t anchor) {
    return Show(obj, SpriteMgr_GetOrLoadSeries(name, file, count, first, delay, 1), animate, anchor);
}

void ShowFixtureFrame(GameObj& obj, int32_t frame) {
    const int32_t count = obj.bob.sprite != nullptr ? obj.bob.sprite->frameCount : 0;
    if (frame >= count) frame = count - 1;
    obj.bob.frame = frame < 0 ? 0 : frame;
}

Sprite* FixturePlaceholderSprite() {
    const char* const kName = "fixture_placeholder";
    if (Sprite* shared = SpriteMgr_Find(kName)) return shared;
    // A plain magenta square, plain enough to be noticed.
    SDL_Surface* frame = SDL_CreateRGBSurface(SDL_SWSURFACE, 32, 32, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    if (frame == nullptr) return nullptr;
    SDL_FillRect(frame, nullptr, SDL_MapRGB(frame->format, 255, 0, 255));
    Sprite* sprite = new Sprite();
    sprite->InitFromSurface(frame);
    sprite->name = kName;
    if (!SpriteMgr_Add(kName, sprite)) {
        delete sprite;
        return SpriteMgr_Find(kName);
    }
    return sprite;
}

void DrawFixtureMinimapIcon(const char* kind, int32_t px, int32_t py, int32_t zoom) {
    if (kind == nullptr || zoom < 0 || zoom > 3) return;
    // Every frame draws these: the name is put together without making anything.
    char name[96];
    std::snprintf(name, sizeof name, "minimap_%s_%d", kind, static_cast<int>(zoom));
    if (Sprite* icon = SpriteMgr_Find(name)) icon->DrawFrame(px, py, 0);
}

#include "items_fixtures/fixture.h"

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

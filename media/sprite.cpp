// Stand-in: what is still to be built is listed at the top of media/sprite.h.
#include "media/sprite.h"

#include <cstring>
#include <map>

#if __has_include("core/startup.h")
#include "core/startup.h"
#define SPRITE_SCREEN ScreenSurface
#else
#define SPRITE_SCREEN SDL_GetVideoSurface()
#endif

Sprite::Sprite() {
    memset(palette, 0, sizeof palette);
}

Sprite::~Sprite() {
    FreeFrames();
}

void Sprite::FreeFrames() {
    for (uint16_t i = 0; i < frameCount; ++i) {
        if (frames != nullptr && frames[i] != nullptr) SDL_FreeSurface(frames[i]);
        if (outlines != nullptr && outlines[i] != nullptr) SDL_FreeSurface(outlines[i]);
    }
    delete[] frames;
    delete[] outlines;
    delete[] delays;
    frames = nullptr;
    outlines = nullptr;
    delays = nullptr;
    frameCount = 0;
    width = 0;
    height = 0;
}

bool Sprite::Load(const char*, const char*, int32_t, int32_t, int32_t) {
    return false;
}

bool Sprite::LoadPNG(const char*, int32_t) {
    return false;
}

bool Sprite::LoadPNGSeries(const char*, int32_t, int32_t, int32_t, int32_t) {
    return false;
}

bool Sprite::LoadXML(const char*, int32_t, int32_t) {
    return false;
}

void Sprite::InitFromSurface(SDL_Surface* surface) {
    FreeFrames();
    if (surface == nullptr) {
        return;
    }
    frames = new SDL_Surface*[1]{surface};
    delays = new uint16_t[1]{1000};
    frameCount = 1;
    width = static_cast<uint16_t>(surface->w);
    height = static_cast<uint16_t>(surface->h);
}

void Sprite::DrawFrame(int32_t x, int32_t y, int32_t frame) {
    SDL_Surface* screen = SPRITE_SCREEN;
    if (screen == nullptr || frames == nullptr || frame < 0 || frame >= frameCount ||
        frames[frame] == nullptr) {
        return;
    }
    SDL_Rect dest;
    dest.x = static_cast<Sint16>(x);
    dest.y = static_cast<Sint16>(y);
    dest.w = 0;
    dest.h = 0;
    SDL_UpperBlit(frames[frame], nullptr, screen, &dest);
}

namespace {

std::map<std::string, Sprite*>& Table() {
    static std::map<std::string, Sprite*> table;
    return table;
}

Sprite* GetOrCreate(const char* name, bool transient) {
    if (name == nullptr) {
        return nullptr;
    }
    Sprite*& entry = Table()[name];
    if (entry == nullptr) {
        entry = new Sprite();
        entry->transient = transient;
    }
    return entry;
}

}  // namespace

Sprite* SpriteMgr_Find(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    auto it = Table().find(name);
    return it == Table().end() ? nullptr : it->second;
}

bool SpriteMgr_Add(const char* name, Sprite* sprite) {
    if (name == nullptr || sprite == nullptr) {
        return false;
    }
    return Table().emplace(name, sprite).second;
}

Sprite* SpriteMgr_GetOrLoad(const char* name, const char* file, const char* paletteFile,
                            int32_t whiteFirstFrame, int32_t nativeSize, int32_t transient) {
    const bool existed = SpriteMgr_Find(name) != nullptr;
    Sprite* sprite = GetOrCreate(name, transient != 0);
    if (sprite != nullptr && !existed && file != nullptr) {
        sprite->Load(file, paletteFile, -1, whiteFirstFrame, nativeSize);
    }
    return sprite;
}

Sprite* SpriteMgr_GetOrLoadPNG(const char* name, const char* file, int32_t doubled) {
    const bool existed = SpriteMgr_Find(name) != nullptr;
    Sprite* sprite = GetOrCreate(name, false);
    if (sprite != nullptr && !existed && file != nullptr) {
        sprite->LoadPNG(file, doubled);
    }
    return sprite;
}

Sprite* SpriteMgr_GetOrLoadXML(const char* name, const char* file, int32_t doubled) {
    const bool existed = SpriteMgr_Find(name) != nullptr;
    Sprite* sprite = GetOrCreate(name, false);
    if (sprite != nullptr && !existed && file != nullptr) {
        sprite->LoadXML(file, doubled, -1);
    }
    return sprite;
}

Sprite* SpriteMgr_GetOrLoadSeries(const char* name, const char* file, int32_t frameCount,
                                  int32_t first, int32_t delay, int32_t doubled) {
    const bool existed = SpriteMgr_Find(name) != nullptr;
    Sprite* sprite = GetOrCreate(name, false);
    if (sprite != nullptr && !existed && file != nullptr) {
        sprite->LoadPNGSeries(file, first, frameCount, delay, doubled);
    }
    return sprite;
}

void SpriteMgr_FreeTransient() {
    auto& table = Table();
    for (auto it = table.begin(); it != table.end();) {
        if (it->second != nullptr && it->second->transient) {
            delete it->second;
            it = table.erase(it);
        } else {
            ++it;
        }
    }
}

void SpriteMgr_FreeAll() {
    for (auto& entry : Table()) {
        delete entry.second;
    }
    Table().clear();
}

size_t SpriteMgr_Count() {
    return Table().size();
}

SpriteTable::SpriteTable(const char* name, const char* file)
    : sprite(SpriteMgr_GetOrLoad(name, file)) {}

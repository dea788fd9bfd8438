#include "creatures/icon_art.h"

#include "media/image.h"
#include "media/sprite.h"
#include "platform/platform.h"
#include "platform/vfs.h"

namespace {

const char* const kPlaceholderName = "missing icon placeholder";
constexpr int kPlaceholderSide = 32;

// Magenta with a black frame and cross: nobody takes it for real art.
SDL_Surface* MakePlaceholderSurface() {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE | SDL_SRCALPHA, kPlaceholderSide, kPlaceholderSide,
                                          32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
    if (s == nullptr) return nullptr;
    SDL_LockSurface(s);
    for (int y = 0; y < kPlaceholderSide; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < kPlaceholderSide; ++x) {
            const bool mark = x == 0 || y == 0 || x == kPlaceholderSide - 1 || y == kPlaceholderSide - 1 ||
                              x == y || x == kPlaceholderSide - 1 - y;
            row[x] = mark ? 0xFF000000u : 0xFFFF00FFu;
        }
    }
    SDL_UnlockSurface(s);
    return s;
}

bool ReportMissing(const std::string& file, const std::string& owner) {
    if (file.empty()) {
        ShowErrorBox(owner + " names no icon file; it shows a placeholder.");
        return false;
    }
    return WarnIfArtMissing(file.c_str());
}

}  // namespace

Sprite* MissingIconSprite() {
    if (Sprite* found = SpriteMgr_Find(kPlaceholderName)) return found;
    Sprite* sprite = new Sprite();
    sprite->InitFromSurface(MakePlaceholderSurface());
    sprite->name = kPlaceholderName;
    if (!SpriteMgr_Add(kPlaceholderName, sprite)) {
        delete sprite;
        return SpriteMgr_Find(kPlaceholderName);
    }
    return sprite;
}

Sprite* LoadIconSprite(const std::string& spriteName, const std::string& file, IconLoad how) {
    if (Sprite* known = SpriteMgr_Find(spriteName.c_str())) return known;
    if (file.empty() || !VfsExists(file)) {
        ReportMissing(file, "An icon");
        return MissingIconSprite();
    }
    switch (how) {
        case IconLoad::Png:
            return SpriteMgr_GetOrLoadPNG(spriteName.c_str(), file.c_str(), 0);
        case IconLoad::SpellXml:
            return SpriteMgr_GetOrLoad(spriteName.c_str(), file.c_str(), nullptr, 1, 0, 0);
        case IconLoad::BuffIcon:
        default:
            return SpriteMgr_GetOrLoad(spriteName.c_str(), file.c_str(), nullptr, 0, 1, 0);
    }
}

SDL_Surface* LoadIconImage(const std::string& file, const std::string& owner, bool* placeholder) {
    if (placeholder != nullptr) *placeholder = false;
    SDL_Surface* image = nullptr;
    if (file.empty() || !VfsExists(file)) {
        ReportMissing(file, owner);
    } else {
        image = LoadImage(file.c_str());
    }
    if (image != nullptr) return image;
    if (placeholder != nullptr) *placeholder = true;
    return MakePlaceholderSurface();
}

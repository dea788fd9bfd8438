#include "media/eye_candy.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/random.h"
#include "media/font.h"
#include "media/image.h"
#include "media/screen.h"
#include "media/sprite.h"

EyeCandyArt EyeCandyIcons;
GlintSlot Glints[kGlintSlotCount];
Sprite* GlintSprite = nullptr;
Sprite* ZalgoSprite = nullptr;
Sprite* RaindropSprite = nullptr;

namespace {

// The list lives from a static initialiser to exit; the pointer is plain storage, so Bobs
// destroyed after the list went (globals in other files) find it null.
std::vector<EyeCandy*>* EyeCandyList = nullptr;

void DestroyAll(std::vector<EyeCandy*>& gone) {
    for (EyeCandy* candy : gone) delete candy;
}

// Takes out of the list every entry the test selects, then destroys them: an entry's
// destructor may come back here (it is a Bob too), and finds the list consistent.
template <typename Test>
void RemoveWhere(Test test) {
    if (EyeCandyList == nullptr) return;
    std::vector<EyeCandy*> gone;
    std::vector<EyeCandy*>& list = *EyeCandyList;
    auto keep = std::stable_partition(list.begin(), list.end(), [&](EyeCandy* c) { return !test(c); });
    gone.assign(keep, list.end());
    list.erase(keep, list.end());
    DestroyAll(gone);
}

struct EyeCandyListLife {
    EyeCandyListLife() {
        EyeCandyList = new std::vector<EyeCandy*>();
        AddBobDestroyedHandler(&RemoveEyeCandyOfOwner);
    }
    ~EyeCandyListLife() {
        ClearEyeCandy();
        delete EyeCandyList;
        EyeCandyList = nullptr;
        RemoveBobDestroyedHandler(&RemoveEyeCandyOfOwner);
        for (SDL_Surface*& surface : EyeCandyIcons.tooltipHotspot) {
            if (surface != nullptr) SDL_FreeSurface(surface);
            surface = nullptr;
        }
    }
};
EyeCandyListLife ListLife;

int32_t ScreenWidth() { return ScreenSurface != nullptr ? ScreenSurface->w : 0; }
int32_t ScreenHeight() { return ScreenSurface != nullptr ? ScreenSurface->h : 0; }

// A one-frame sprite of text rendered in a colour, or null for empty text or no font.
Sprite* RenderTextSprite(const std::string& text, SDL_Color colour) {
    if (text.empty() || TickerFont == nullptr) return nullptr;
    SDL_Surface* surface = TTF_RenderUTF8_Blended(TickerFont, text.c_str(), colour);
    if (surface == nullptr) return nullptr;
    Sprite* sprite = new Sprite();
    sprite->InitFromSurface(surface);
    return sprite;
}

// A text rendered as a black shadow and a coloured copy.
struct TextPair {
    Sprite* shadow = nullptr;
    Sprite* front = nullptr;
};

// Both sprites, or neither (false) for empty text or without the font.
bool RenderTextPair(const std::string& text, SDL_Color colour, TextPair* pair) {
    pair->shadow = RenderTextSprite(text, SDL_Color{0, 0, 0, 0});
    pair->front = RenderTextSprite(text, colour);
    if (pair->shadow != nullptr && pair->front != nullptr) return true;
    delete pair->shadow;
    delete pair->front;
    *pair = TextPair();
    return false;
}

// The shadow at (x + 1, y + 1), then the colour at (x, y); both rise and own their sprites.
void SpawnTextPair(const TextPair& pair, int32_t x, int32_t y) {
    if (SpawnEyeCandy(x + 1, y + 1, pair.shadow, 1, 1) == nullptr) delete pair.shadow;
    if (SpawnEyeCandy(x, y, pair.front, 1, 1) == nullptr) delete pair.front;
}

Sprite* LoadIcon(const char* file) { return SpriteMgr_GetOrLoadPNG(file, file, 0); }

}  // namespace

EyeCandy::~EyeCandy() {
    if (ownsSprite != 0) delete sprite;
    sprite = nullptr;
}

void EyeCandy::Update(int32_t elapsedMs) {
    if (owner != nullptr && owner->x > 0 && owner->x < ScreenWidth() && owner->y > 0 && owner->y < ScreenHeight()) {
        // An owner without a sprite counts as zero wide.
        x = owner->x + owner->FrameWidth() / 2 - FrameWidth() / 2;
        y = owner->y + riseOffset;
        visible = 1;
    }
    Bob::Update(elapsedMs);
    riseTimer += elapsedMs;
    while (riseTimer > 20) {
        if (rise == 0) break;
        riseTimer -= 20;
        --y;
        --riseOffset;
    }
}

void LoadEyeCandy() {
    EyeCandyArt& art = EyeCandyIcons;
    art.dodge = LoadIcon("ui/dodge.png");
    art.resist = LoadIcon("ui/resist.png");
    art.counter = LoadIcon("ui/counter.png");
    for (int i = 0; i < 2; ++i) {
        if (art.tooltipHotspot[i] != nullptr) SDL_FreeSurface(art.tooltipHotspot[i]);
        art.tooltipHotspot[i] = LoadImage(i == 0 ? "ui/gameplay/tooltip_hotspot0.png" : "ui/gameplay/tooltip_hotspot1.png");
    }
    art.theft = LoadIcon("ui/theft.png");
    art.alert = LoadIcon("ui/alert.png");
    art.crit = LoadIcon("ui/crit.png");
    art.lockpicked = LoadIcon("ui/lockpicked.png");
    art.haywire = LoadIcon("ui/haywire.png");
    art.corruption = LoadIcon("ui/corruption.png");
    art.block = LoadIcon("ui/block.png");
    art.outOfAmmo = LoadIcon("ui/outofammo.png");
    art.noCrossbow = LoadIcon("ui/no_crossbow.png");
    art.heroicVandalism = LoadIcon("ui/heroic_vandalism.png");
}

void ClearEyeCandy() {
    RemoveWhere([](EyeCandy*) { return true; });
}

EyeCandy* SpawnEyeCandy(int32_t x, int32_t y, Sprite* sprite, int32_t rise, int32_t ownsSprite) {
    // Without a sprite there is nothing to show, and nothing would ever end it.
    if (EyeCandyList == nullptr || sprite == nullptr) return nullptr;
    EyeCandy* candy = new EyeCandy();
    candy->x = x;
    candy->y = y;
    candy->playing = true;
    candy->loop = false;
    candy->SetSprite(sprite);
    candy->frame = 0;
    candy->finished = false;
    candy->rise = rise;
    candy->ownsSprite = ownsSprite;
    EyeCandyList->push_back(candy);
    return candy;
}

EyeCandy* SpawnFollowingEyeCandy(Bob* owner, Sprite* sprite, int32_t rise, int32_t centreVertically) {
    if (owner == nullptr) return nullptr;
    EyeCandy* candy = SpawnEyeCandy(0, 0, sprite, rise, 0);
    if (candy == nullptr) return nullptr;
    candy->owner = owner;
    candy->x = owner->x + owner->FrameWidth() / 2 - candy->FrameWidth() / 2;
    candy->y = owner->y;
    if (centreVertically != 0) candy->y += owner->FrameHeight() / 2 - candy->FrameHeight() / 2;
    return candy;
}

void UpdateEyeCandy(uint32_t elapsedMs) {
    if (EyeCandyList == nullptr) return;
    const int32_t elapsed = static_cast<int32_t>(std::min<uint32_t>(elapsedMs, INT32_MAX));
    // Indexed: nothing in an update adds entries, but a copy would dangle if one did.
    for (size_t i = 0; i < EyeCandyList->size(); ++i) (*EyeCandyList)[i]->Update(elapsed);
    RemoveWhere([](EyeCandy* c) { return c->finished; });
}

void DrawEyeCandy() {
    if (EyeCandyList == nullptr) return;
    for (EyeCandy* candy : *EyeCandyList) {
        if (candy->owner == nullptr || candy->visible != 0) candy->Draw();
    }
}

void RemoveEyeCandyOfOwner(Bob* owner) {
    if (owner == nullptr) return;
    RemoveWhere([owner](EyeCandy* c) { return c->owner == owner; });
}

size_t EyeCandyCount() { return EyeCandyList != nullptr ? EyeCandyList->size() : 0; }

EyeCandy* EyeCandyAt(size_t index) {
    if (EyeCandyList == nullptr || index >= EyeCandyList->size()) return nullptr;
    return (*EyeCandyList)[index];
}

void SpawnRisingNumberText(int32_t x, int32_t y, const std::string& text, SDL_Color colour) {
    TextPair pair;
    if (RenderTextPair(text, colour, &pair)) SpawnTextPair(pair, x, y);
}

void ShowFloatingText(const Bob& body, const std::string& text) {
    TextPair pair;
    if (!RenderTextPair(text, SDL_Color{255, 210, 215, 0}, &pair)) return;
    const int32_t r = CRand() / 8192;
    const int32_t half = body.FrameWidth() / 2;
    SpawnTextPair(pair, body.x + half - pair.front->width / 2, body.y + half - 8 * r);
}

void ShowExperienceFloater(const Bob& heroBob, int32_t amount) {
    char text[24];
    std::snprintf(text, sizeof text, amount >= 0 ? "+%i" : "-%i", amount >= 0 ? amount : -amount);
    const int32_t w = heroBob.FrameWidth();
    const int32_t xoff = (w * (CRand() / 8192 + 2)) / 8;
    const int32_t yoff = 8 * (CRand() / 8192);
    const int32_t x = heroBob.x + xoff;
    const int32_t y = heroBob.y + w / 2 - yoff;
    TextPair pair;
    if (!RenderTextPair(text, SDL_Color{195, 210, 215, 0}, &pair)) return;
    SpawnTextPair(pair, x, y);
    Sprite* medal = EyeCandyIcons.experienceMedal;
    if (medal != nullptr) SpawnEyeCandy(x - medal->width, y, medal, 1, 0);
}

namespace {

// The sprite-table generation the glint art and the playing glints were taken in.
unsigned glintGeneration = 0;

// Once the sprite table has destroyed sprites, the three glint sprites are looked up again
// (null when gone) and every playing glint stops: its sprite may be one of those destroyed.
void DropDestroyedGlintArt() {
    if (glintGeneration == SpriteMgr_Generation()) return;
    glintGeneration = SpriteMgr_Generation();
    GlintSprite = SpriteMgr_Find("glints");
    ZalgoSprite = SpriteMgr_Find("zalgo");
    RaindropSprite = SpriteMgr_Find("raindrop");
    for (GlintSlot& slot : Glints) {
        slot.active = 0;
        slot.bob.locked = false;
        slot.bob.SetSprite(nullptr);
    }
}

}  // namespace

void LoadGlints() {
    DropDestroyedGlintArt();
    for (GlintSlot& slot : Glints) slot.active = 0;
    GlintSprite = SpriteMgr_GetOrLoadSeries("glints", "sprites/sfx/glintA/glintA", 5, 0, 100, 1);
    ZalgoSprite = SpriteMgr_GetOrLoadSeries("zalgo", "sprites/sfx/zalgoA/zalgoA", 10, 0, 100, 1);
    RaindropSprite = SpriteMgr_GetOrLoadSeries("raindrop", "sprites/sfx/raindrop/raindrop", 6, 0, 100, 1);
}

void SpawnGlint(int32_t tileX, int32_t tileY, Sprite* sprite) {
    DropDestroyedGlintArt();
    for (GlintSlot& slot : Glints) {
        if (slot.active != 0) continue;
        slot.active = 1;
        slot.tileX = tileX;
        slot.tileY = tileY;
        slot.offsetX = CRand() / 512;
        slot.offsetY = CRand() / 512;
        slot.bob.SetSprite(sprite != nullptr ? sprite : GlintSprite);
        slot.bob.frame = 0;
        slot.bob.finished = false;
        slot.bob.loop = false;
        slot.bob.playing = true;
        return;
    }
}

void UpdateGlints(uint32_t elapsedMs) {
    DropDestroyedGlintArt();
    const int32_t elapsed = static_cast<int32_t>(std::min<uint32_t>(elapsedMs, INT32_MAX));
    for (GlintSlot& slot : Glints) {
        if (slot.active == 0) continue;
        slot.bob.Update(elapsed);
        if (slot.bob.finished) slot.active = 0;
    }
}

void DrawGlints(int32_t camX, int32_t camY, int32_t scrollX, int32_t scrollY, int32_t tileWidth, int32_t tileHeight) {
    DropDestroyedGlintArt();
    if (tileWidth <= 0 || tileHeight <= 0) return;
    const int32_t lastX = camX + ScreenWidth() / tileWidth;
    const int32_t lastY = camY + ScreenHeight() / tileHeight;
    for (GlintSlot& slot : Glints) {
        if (slot.active == 0) continue;
        if (slot.tileX < camX || slot.tileX > lastX || slot.tileY < camY || slot.tileY > lastY) continue;
        slot.bob.x = (slot.tileX - camX) * tileWidth + slot.offsetX - scrollX;
        slot.bob.y = (slot.tileY - camY) * tileHeight + slot.offsetY - scrollY;
        slot.bob.Draw();
    }
}

size_t GlintCount() {
    DropDestroyedGlintArt();
    size_t playing = 0;
    for (const GlintSlot& slot : Glints) {
        if (slot.active != 0) ++playing;
    }
    return playing;
}

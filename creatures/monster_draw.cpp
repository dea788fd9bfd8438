// Monster art: the record's sprites in its palette or in a hue variant, and the drawing of
// the monster with its status icons, speech line, health bar and minimap mark.
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/input_log.h"
#include "core/random.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/status_overlays.h"
#include "levels/level.h"
#include "levels/level_cell.h"
#include "levels/map_view.h"
#include "media/display_settings.h"
#include "media/font.h"
#include "media/screen.h"
#include "media/speech_lines.h"
#include "media/sprite.h"
#include "media/text.h"

StatusOverlayBobs StatusOverlays;
MinimapMonsterIcons MinimapMonsterMarks;

namespace {

using SpriteLoader = Sprite* (*)(const std::string&, const MonsterRecord&, int32_t);

// For each slot of a monster sprite array, the index of the record's name that fills it.
// Idle slots run left, right, up, down; attack, hurt and beam slots right, left, up, down.
constexpr int32_t kIdleFrom[4] = {1, 0, 2, 3};    // record idleSprite: right, left, up, down
constexpr int32_t kAttackFrom[4] = {1, 3, 0, 2};  // record attackSprite: up, right, down, left
constexpr int32_t kHurtFrom[4] = {1, 0, 2, 3};    // record hitSprite: left, right, up, down
constexpr int32_t kBeamFrom[4] = {0, 1, 2, 3};    // record beamSprite: right, left, up, down

void Fill(Sprite* out[4], const std::string names[4], const int32_t from[4], SpriteLoader load,
          const MonsterRecord& record, int32_t variant) {
    for (int32_t slot = 0; slot < 4; ++slot) out[slot] = load(names[from[slot]], record, variant);
}

bool Named(const std::string names[4]) {
    return !names[0].empty() || !names[1].empty() || !names[2].empty() || !names[3].empty();
}

Sprite* PaletteSprite(const std::string& name, const MonsterRecord& record, int32_t) {
    if (name.empty()) return nullptr;
    const std::string key = record.paletteName.empty() ? name : name + "|" + record.paletteName;
    return SpriteMgr_GetOrLoad(key.c_str(), name.c_str(),
                               record.paletteName.empty() ? nullptr : record.paletteName.c_str());
}

Sprite* HueSprite(const std::string& name, const MonsterRecord&, int32_t variant) {
    if (name.empty()) return nullptr;
    return LoadHueSprite(name, variant);
}

// The doubled interface draws with 128-pixel squares.
int32_t Doubled(const MapView& view) { return view.tileWidth >= 128 ? 1 : 0; }

int32_t ManhattanToHero(const GameObj& obj) {
    GameObj* hero = CurrentHero();
    if (hero == nullptr) return -1;
    return std::abs(hero->x - obj.x) + std::abs(hero->y - obj.y);
}

void DrawOverlayBob(Bob& overlay, int32_t x, int32_t y) {
    if (overlay.sprite == nullptr) return;
    overlay.sprite->DrawFrame(x, y, overlay.frame);
}

}  // namespace

Sprite* LoadHueSprite(const std::string& name, int32_t variant) {
    const std::string key = name + "_" + std::to_string(variant);
    if (Sprite* found = SpriteMgr_Find(key.c_str())) return found;
    Sprite* sprite = new Sprite();
    sprite->Load(name.c_str(), nullptr, variant, 0, 0);
    sprite->name = key;
    if (!SpriteMgr_Add(key.c_str(), sprite)) {
        delete sprite;
        return SpriteMgr_Find(key.c_str());
    }
    return sprite;
}

void Monster::LoadSpriteSet(int32_t variant) {
    const MonsterRecord& r = *record;
    SpriteLoader load = variant < 0 ? PaletteSprite : HueSprite;
    Fill(idleSprites, r.idleSprite, kIdleFrom, load, r, variant);
    if (Named(r.attackSprite)) {
        Fill(attackSprites, r.attackSprite, kAttackFrom, load, r, variant);
    } else {
        std::fill(std::begin(attackSprites), std::end(attackSprites), nullptr);
    }
    if (Named(r.hitSprite)) Fill(hurtSprites, r.hitSprite, kHurtFrom, load, r, variant);
    if (Named(r.beamSprite)) {
        Fill(beamSprites, r.beamSprite, kBeamFrom, load, r, variant);
    } else {
        std::fill(std::begin(beamSprites), std::end(beamSprites), nullptr);
    }
    castSprite = load(r.castSpellSprite, r, variant);
    dieSprite = load(r.dieSprite, r, variant);
}

void Monster::LoadAnimations() {
    if (record->tint != 0) {
        LoadAnimationVariant(-1);
        return;
    }
    LoadSpriteSet(-1);
}

void Monster::LoadAnimationVariant(int32_t variant) {
    if (variant == -1) variant = CRand() / 92;
    LoadSpriteSet(variant);
}

void Monster::ResetAppearance() {
    statusFlags = 0;
    stunTurns = 0;
    countdownTurns = 0;
    lockdownTurns = 0;
    LoadAnimations();
    if (health >= 1 && dead == 0) {
        bob.SetSprite(idleSprites[3]);
    } else {
        bob.SetSprite(dieSprite);
        bob.loop = false;
        if (dieSprite != nullptr && dieSprite->frameCount > 0) bob.frame = dieSprite->frameCount - 1;
    }
}

void Monster::Draw(const MapView& view) {
    const bool alive = dead == 0 && health >= 1;
    if (invisible && dead == 0) {
        if (HiddenFromHero()) return;
        if (PlaceBob(view) && bob.sprite != nullptr) bob.sprite->DrawFrame(bob.x, bob.y, bob.frame);
        return;
    }
    if (isNamed && dead == 0 && StatusOverlays.heroGlow.sprite != nullptr && PlaceBob(view)) {
        const Sprite* glow = StatusOverlays.heroGlow.sprite;
        DrawOverlayBob(StatusOverlays.heroGlow, bob.x + bob.FrameWidth() / 2 - glow->width / 2,
                       bob.y + bob.FrameHeight() - glow->height);
    }
    Hittable::Draw(view);
    if (!PlaceBob(view)) return;
    const int32_t w = bob.FrameWidth();
    const int32_t h = bob.FrameHeight();
    const int32_t d = Doubled(view);
    const int32_t iconX = bob.x + w / 2 - 16 * (1 + d);
    int32_t iconY = bob.y + h - 64 * (1 + d);
    if (record->tiny == 0) iconY -= view.tileHeight;
    // Tame, burning (a corpse burns too), oiled, bleeding, confused, asleep: later ones on top.
    if (alive && tame) DrawOverlayBob(StatusOverlays.hearts, iconX, iconY);
    if (isBurning && burnTurns >= 1) {
        const int32_t burnHeight = StatusOverlays.burning.FrameHeight();
        DrawOverlayBob(StatusOverlays.burning, iconX, bob.y + h - burnHeight);
    }
    if (alive) {
        if (isOiled) DrawOverlayBob(StatusOverlays.oil, bob.x + w / 2 - 4, bob.y + h - 64 * (1 + d));
        if (isBleeding && bleedTurns >= 1) DrawOverlayBob(StatusOverlays.bleeding, iconX, iconY);
        if (HasStatus(kStatusConfused) || stunTurns >= 1) DrawOverlayBob(StatusOverlays.daze, iconX, iconY);
        if (HasStatus(kStatusAsleep)) DrawOverlayBob(StatusOverlays.sleep, iconX, iconY);
        if (level != nullptr && level->SquareKind(x, y + 1) == SquareType::Wall && record->tiny != 0) {
            DrawOverlayBob(StatusOverlays.waterWalking, bob.x + w / 2 - 32, bob.y + h - 128);
        }
    }
}

void Monster::DrawOverlay(const MapView& view) {
    if (HiddenFromHero()) return;
    const bool alive = dead == 0 && health >= 1;
    if (!alive || !PlaceBob(view)) return;
    const int32_t w = bob.FrameWidth();
    const int32_t h = bob.FrameHeight();
    if (speechCooldown >= 1 && !speechText.empty() && ScreenSurface != nullptr && MediumFont != nullptr) {
        const SDL_Color white = {255, 255, 255, 0};
        int textW = 0;
        int textH = 0;
        if (TTF_SizeUTF8(MediumFont, speechText.c_str(), &textW, &textH) != 0) textW = textH = 0;
        // Neighbours' lines are stacked rather than printed over each other.
        const SDL_Rect line = PlaceSpeechLine(bob.x + w / 2, bob.y + h - 64 * (1 + Doubled(view)) - 24, textW, textH);
        DrawTextCentered(bob.x + w / 2, line.y, speechText.c_str(), MediumFont, white, ScreenSurface);
    }
    if (level == nullptr || !level->IsInside(x, y) || ScreenSurface == nullptr) return;
    int mouseX = 0;
    int mouseY = 0;
    LoggedGetMouseState(&mouseX, &mouseY);
    const bool hovered = view.tileWidth > 0 && view.tileHeight > 0 &&
                         view.originX + (mouseX + view.pixelX) / view.tileWidth == x &&
                         view.originY + (mouseY + view.pixelY) / view.tileHeight == y;
    if (!hovered && ManhattanToHero(*this) != 1) return;
    const int32_t fraction = HealthBarWidth(health, stat[kStatLife]);
    if (fraction < 0) return;
    // A 62 x 5 bar in a one-pixel black rim, thick enough to read over any floor.
    const int32_t barTop = bob.y + h - 64 * (1 + Doubled(view));
    SDL_Rect back = {static_cast<Sint16>(bob.x + w / 2 - 32), static_cast<Sint16>(barTop - 1), 64, 7};
    SDL_FillRect(ScreenSurface, &back, SDL_MapRGB(ScreenSurface->format, 0, 0, 0));
    SDL_Rect bar = {static_cast<Sint16>(bob.x + w / 2 - 31), static_cast<Sint16>(barTop), 0, 5};
    bar.w = static_cast<Uint16>(fraction);
    const Uint32 colour = enableColourBlind != 0 ? SDL_MapRGB(ScreenSurface->format, 0, 0, 255)
                                                 : SDL_MapRGB(ScreenSurface->format, 255, 0, 0);
    SDL_FillRect(ScreenSurface, &bar, colour);
}

int32_t HealthBarWidth(int32_t health, int32_t maximum) {
    if (maximum <= 0) return -1;
    const float part = static_cast<float>(std::max(health, 0)) / static_cast<float>(maximum) * 62.0f;
    return std::min(62, static_cast<int32_t>(part));
}

void Monster::DrawOnMinimap(int32_t x, int32_t y, int32_t zoom) {
    if (zoom < 0 || zoom >= kMinimapZoomCount) return;
    Sprite* icon = nullptr;
    if (quest != nullptr) {
        icon = dead != 0 ? MinimapMonsterMarks.questDead[zoom] : MinimapMonsterMarks.quest[zoom];
    } else if (!hordeMembers.empty()) {
        icon = MinimapMonsterMarks.commander[zoom];
    }
    if (icon != nullptr) icon->DrawFrame(x, y, 0);
}

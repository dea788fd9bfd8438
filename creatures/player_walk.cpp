// The hero's movement: the one-square slide, walking a found path with footsteps, sleeping,
// waiting out stuns, digesting, the melee swing and drowning.
#include <SDL.h>

#include <algorithm>
#include <vector>

#include "core/input_log.h"
#include "core/key_bindings.h"
#include "core/shell/shell_services.h"
#include "creatures/combat_feedback.h"
#include "creatures/monster.h"
#include "creatures/player.h"
#include "creatures/status_overlays.h"
#include "interface/ui_services.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/weapon.h"
#include "levels/level.h"
#include "levels/path_finding.h"
#include "media/effect_animation.h"
#include "media/music.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "store_platform/stats.h"
#include "store_platform/store.h"

namespace {

constexpr float kTileSide = 64.0f;

// Shared by every walk: "foot1" on 0, "foot2" on 2.
int32_t FootstepCounter = 0;

// Draws and presents one frame; the milliseconds it took on the game clock.
int32_t RunOneFrame() {
    const Uint32 before = LoggedGetTicks();
    DrawGameScreen();
    AdvanceFrame();
    return static_cast<int32_t>(LoggedGetTicks() - before);
}

// The move keys of the key-driven walk: the arrows and the four direction bindings.
bool IsMoveKeyEvent(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN && event.type != SDL_KEYUP) return false;
    const SDLKey sym = event.key.keysym.sym;
    if (sym == SDLK_UP || sym == SDLK_DOWN || sym == SDLK_LEFT || sym == SDLK_RIGHT) return true;
    for (const char* id : {kBindUp, kBindDown, kBindLeft, kBindRight}) {
        if (KeyBindingMatchesKey(id, event.key.keysym)) return true;
    }
    return false;
}

// Move-key presses and releases that broke off a path walk, in the order read. Once the
// walk has stopped they go back to the input, so the key walk takes them as a player's
// fresh keys: a tap steps one square, a held key walks on.
std::vector<SDL_Event> KeptMoveKeys;

// Reads the pending input; a button release, a key press or a key release interrupts.
void PollWalkInterrupts(Player& hero) {
    SDL_Event event;
    while (LoggedPollEvent(&event)) {
        if (event.type == SDL_MOUSEBUTTONUP || event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
            hero.walkInterrupted = 1;
        }
        if (IsMoveKeyEvent(event) && (event.type == SDL_KEYDOWN || !KeptMoveKeys.empty())) {
            KeptMoveKeys.push_back(event);
        }
    }
}

// After the walk's own flush: the kept move keys are read again by the play loop.
void HandBackMoveKeys() {
    for (const SDL_Event& event : KeptMoveKeys) UnreadInputEvent(event);
    KeptMoveKeys.clear();
}

void DiscardInput() {
    SDL_Event event;
    while (LoggedPollEvent(&event)) {
    }
}

// A visible trap stands on the square.
bool HasSpottedTrap(Level* level, int32_t x, int32_t y) {
    const LevelCell* cell = level->GetCell(x, y);
    if (cell == nullptr) return false;
    for (GameObj* obj : cell->contents) {
        if (obj != nullptr && obj->IsSpottedTrap()) return true;
    }
    return false;
}

void GrantAchievement(const char* name) {
    AwardAchievement(name);
}

// A monster on a visible square that is neither tamed nor pacified.
bool HostileInSight(Level* level) {
    for (GameObj* obj : level->monsters) {
        Monster* monster = dynamic_cast<Monster*>(obj);
        if (monster == nullptr || monster->dead != 0 || monster->tame || monster->pacifyTurns > 0) continue;
        const LevelCell* cell = level->GetCell(monster->x, monster->y);
        if (cell != nullptr && (cell->flags & SquareFlag::Visible) != 0) return true;
    }
    return false;
}

}  // namespace

const char* TakeFootstepSound() {
    const int32_t step = FootstepCounter;
    FootstepCounter = (FootstepCounter + 1) % 4;
    return step == 0 ? "foot1" : step == 2 ? "foot2" : nullptr;
}

void Player::PlayHitAnimation() {
    if (dead != 0 || isPolymorphed != 0) return;
    static const HeroAnim kHitOfFacing[4] = {kHeroHitDown, kHeroHitLeft, kHeroHitUp, kHeroHitRight};
    Sprite* hit = heroAnimations[kHitOfFacing[facing >= 0 && facing < 4 ? facing : 0]];
    if (hit == nullptr) return;
    // Queued: it starts once the animations running in this turn have been started.
    QueueAnimation(&bob, hit);
}

void Player::PlayAnimationToEnd(Sprite* animation) {
    if (animation == nullptr) return;
    bob.SetSprite(animation);
    bob.loop = false;
    bob.playing = true;
    bob.finished = false;
    int32_t length = 0;
    for (int32_t i = 0; i < animation->frameCount && animation->delays != nullptr; ++i) length += animation->delays[i];
    // The hero's picture advances with its level; off a level it is advanced here. The game
    // clock bounds the wait should neither happen.
    const Uint32 start = LoggedGetTicks();
    while (!bob.finished && LoggedGetTicks() - start <= static_cast<Uint32>(length) + 1000u) {
        const int32_t elapsed = RunOneFrame();
        if (GameObj::level == nullptr) bob.Update(elapsed);
    }
}

void Player::StepTo(int32_t tx, int32_t ty) {
    Level* onLevel = GameObj::level != nullptr ? GameObj::level : CurrentLevel;
    const int32_t dx = tx - x;
    const int32_t dy = ty - y;
    HeroAnim walk = kHeroWalkDown;
    if (dx > 0) {
        facing = 3;
        walk = kHeroWalkRight;
    } else if (dx < 0) {
        facing = 1;
        walk = kHeroWalkLeft;
    } else if (dy < 0) {
        facing = 2;
        walk = kHeroWalkUp;
    } else {
        facing = 0;
    }
    if (heroAnimations[walk] != nullptr && bob.sprite != heroAnimations[walk]) {
        bob.SetSprite(heroAnimations[walk]);
        bob.loop = true;
        bob.playing = true;
    }
    // Right and down: placed at once and slid back from a tile away; left and up: slid a
    // tile away, then placed.
    const bool placeFirst = dx > 0 || dy > 0;
    float& offset = dx != 0 ? offsetX : offsetY;
    float target = 0.0f;
    if (placeFirst) {
        PlaceOnLevel(tx, ty, onLevel, 0);
        offset = -kTileSide;
    } else {
        offset = 0.0f;
        target = -kTileSide;
    }
    int32_t elapsed = 0;
    for (;;) {
        const float move = static_cast<float>(elapsed) / 15.0f * 4.0f *
                           static_cast<float>(AnimationSpeedDivisor > 0 ? AnimationSpeedDivisor : 1);
        offset = placeFirst ? std::min(target, offset + move) : std::max(target, offset - move);
        elapsed = RunOneFrame();
        PollWalkInterrupts(*this);
        if (offset == target) break;
    }
    offset = 0.0f;
    if (!placeFirst) PlaceOnLevel(tx, ty, onLevel, 0);
    // The square is entered once the slide is over: shop music, theft, what lies there.
    HandlePlayerEnteredSquare();
}

void Player::SettleSlide() {
    int32_t elapsed = 0;
    while (offsetX != 0.0f || offsetY != 0.0f) {
        const float move = static_cast<float>(elapsed) / 15.0f * 4.0f *
                           static_cast<float>(AnimationSpeedDivisor > 0 ? AnimationSpeedDivisor : 1);
        for (float* offset : {&offsetX, &offsetY}) {
            *offset = *offset > 0.0f ? std::max(0.0f, *offset - move) : std::min(0.0f, *offset + move);
        }
        elapsed = RunOneFrame();
    }
    DiscardInput();
}

namespace {
void HideWalkDestination(Player* hero) { hero->walkingBob.UnlinkFromTiles(); }

void ShowWalkDestination(Player* hero, int32_t x, int32_t y) {
    Bob& mark = hero->walkingBob;
    mark.UnlinkFromTiles();
    if (StatusOverlays.walkDestination.sprite == nullptr) return;
    mark.SetSprite(StatusOverlays.walkDestination.sprite);
    mark.playing = true;
    mark.loop = true;
    LinkBobToTile(&mark, x, y);
}
}  // namespace

int32_t Player::WalkPathTo(int32_t tx, int32_t ty) {
    Level* onLevel = CurrentLevel;
    if (onLevel == nullptr || dead != 0) return 1;
    // A click on the wall top above a floor square means the floor square.
    if (onLevel->SquareKind(tx, ty) == SquareType::Wall) {
        const int32_t below = onLevel->SquareKind(tx, ty + 1);
        if (below == SquareType::Floor || below == SquareType::ShopFloor) ++ty;
    }
    HideWalkDestination(this);
    FlushInput();
    KeptMoveKeys.clear();
    int32_t length = 0;
    aiNode** nodes = FindPath(x, y, tx, ty, &length, this);
    if (nodes == nullptr || length <= 0) {
        delete[] nodes;
        return 1;
    }
    std::vector<std::pair<int32_t, int32_t>> squares;
    for (int32_t i = 0; i < length; ++i) {
        const AStarSquare* square = static_cast<const AStarSquare*>(nodes[i]);
        squares.emplace_back(square->x, square->y);
    }
    delete[] nodes;
    ShowWalkDestination(this, tx, ty);
    const auto stop = [this]() {
        FlushInput();
        HandBackMoveKeys();
        HideWalkDestination(this);
        SetIdleAnimation();
        walkInterrupted = 0;
        AdvanceTurn();
        return 1;
    };
    for (size_t i = 1; i < squares.size(); ++i) {
        const int32_t nx = squares[i].first;
        const int32_t ny = squares[i].second;
        if (const char* footstep = TakeFootstepSound()) PlaySFX(footstep);
        Level* here = CurrentLevel;
        if (here == nullptr) return 1;
        if (here->IsSquareBlocked(nx, ny, false, true) || HasSpottedTrap(here, nx, ny)) {
            walkInterrupted = 1;
            return stop();
        }
        StepTo(nx, ny);
        RunOneFrame();
        if (walkInterrupted != 0) return stop();
        AdvanceTurn();
        if (walkInterrupted != 0 || dead != 0) {
            FlushInput();
            if (dead == 0) HandBackMoveKeys();
            KeptMoveKeys.clear();
            HideWalkDestination(this);
            SetIdleAnimation();
            walkInterrupted = 0;
            return 1;
        }
    }
    SetIdleAnimation();
    HideWalkDestination(this);
    return 0;
}

void Player::Sleep() {
    while (sleepTurns > 0 && dead == 0) {
        Sprite* sleeping = heroAnimations[kHeroSleep];
        if (sleeping != nullptr) bob.SetSprite(sleeping);
        const int32_t divisor = AnimationSpeedDivisor > 0 ? AnimationSpeedDivisor : 1;
        const Uint32 start = LoggedGetTicks();
        while (LoggedGetTicks() - start < static_cast<Uint32>(250 / divisor)) RunOneFrame();
        --sleepTurns;
        AdvanceTurn();
    }
    SetIdleAnimation();
}

void Player::PassSkippedTurns() {
    while (stunTurns > 0 && dead == 0) {
        AdvanceTurn();
        --stunTurns;
    }
    // The older skip counter of the input loop ends with the stun.
    skipTurns = 0;
}

bool Player::IsDigesting() const {
    return foodRegenLeft > 0 || boozeRegenLeft > 0;
}

void Player::Digest() {
    while (IsDigesting()) {
        AdvanceTurn();
        RunOneFrame();
        if (dead != 0 || CurrentLevel == nullptr || HostileInSight(CurrentLevel)) break;
    }
}

void Player::Drown() {
    PlaySFX("fountain");
    walkInterrupted = 1;
    glowBob.UnlinkFromTiles();
    health = 0;
    dead = 1;
    FlushInput();
    ClearCursorItem();
    Sprite* drowning = SpriteMgr_GetOrLoad("playerDrownR", "sprites/hero/hero_drown_r.spr");
    // The death picture is never replaced by an idle one: dead is already set.
    PlayAnimationToEnd(drowning);
    PlayMusic("tunes/death-open.ogg", "tunes/death-repeat.ogg");
    PendingMusicChange = true;
    GrantAchievement("ACHIEVEMENT_DROWNING");
}

void PlayerSwingAt(int32_t tx, int32_t ty, const char* hitSound) {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    Weapon* weapon = hero->secondHandWeapon != nullptr ? hero->secondHandWeapon : hero->firstHandWeapon;
    int32_t group = kHeroWeaponGroups - 1;  // unarmed
    if (weapon != nullptr) {
        const int32_t weaponClass = GetWeaponClass(weapon->Kind());
        if (weaponClass >= 0 && weaponClass <= 3) group = weaponClass;
    }
    const int32_t dx = tx - hero->x;
    const int32_t dy = ty - hero->y;
    int32_t side = -1;
    int32_t newFacing = hero->facing;
    if (dx == -1 && dy == 0) {
        side = 0;
        newFacing = 1;
    } else if (dx == 1 && dy == 0) {
        side = 1;
        newFacing = 3;
    } else if (dx == 0 && dy == 1) {
        side = 2;
        newFacing = 0;
    } else if (dx == 0 && dy == -1) {
        side = 3;
        newFacing = 2;
    }
    if (side >= 0) {
        PlaySFX("swing");
        if (hero->dead == 0) hero->PlayAnimationToEnd(hero->heroAnimations[HeroAttackAnim(group, side)]);
        hero->facing = newFacing;
    }
    hero->SetIdleAnimation();
    if (hitSound != nullptr && hitSound[0] != '\0') PlaySFX(hitSound);
}

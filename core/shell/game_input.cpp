// Stand-in: what is still to be built is listed at the top of core/shell/game_input.h.
#include "core/shell/game_input.h"

#include "core/input_log.h"
#include "core/key_bindings.h"
#include "core/shell/play_loop.h"
#include "core/shell/turn_engine.h"
#include "creatures/player.h"
#include "interface/cursor.h"
#include "interface/layout.h"
#include "interface/play_screen.h"
#include "interface/screens.h"
#include "levels/level.h"
#include "levels/path_finding.h"
#include "media/bob.h"

#include <utility>

std::deque<SDL_keysym> MoveKeyQueue;
bool StepFlags[4] = {false, false, false, false};
int32_t HeroInputTurns = 0;

namespace {

enum Direction { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };

struct DirectionKeys {
    int32_t dx;
    int32_t dy;
    SDLKey arrow;
    SDLKey keypad;
    const char* binding;
    int32_t facing;
};

const DirectionKeys kDirections[4] = {
    {0, -1, SDLK_UP, SDLK_KP8, kBindUp, 2},
    {0, 1, SDLK_DOWN, SDLK_KP2, kBindDown, 0},
    {-1, 0, SDLK_LEFT, SDLK_KP4, kBindLeft, 1},
    {1, 0, SDLK_RIGHT, SDLK_KP6, kBindRight, 3},
};

SDL_keysym LastMoveKey = {};

// The front of the queue (or a press) asks for this direction: its arrow or keypad key
// without modifiers, or its binding.
bool KeyMeansDirection(int dir, const SDL_keysym& key) {
    const DirectionKeys& d = kDirections[dir];
    return KeyEventMatches(d.arrow, 0, key) || KeyEventMatches(d.keypad, 0, key) ||
           KeyBindingMatches(d.binding, key);
}

bool IsMoveKeyPress(const SDL_keysym& key) {
    for (const DirectionKeys& d : kDirections) {
        if (key.sym == d.arrow || key.sym == d.keypad || KeyBindingMatches(d.binding, key)) return true;
    }
    return false;
}

bool IsMoveKeyRelease(const SDL_keysym& key) {
    for (const DirectionKeys& d : kDirections) {
        if (key.sym == d.arrow || key.sym == d.keypad || KeyBindingMatchesKey(d.binding, key)) return true;
    }
    return false;
}

void RemoveQueuedKey(SDLKey sym) {
    for (auto it = MoveKeyQueue.begin(); it != MoveKeyQueue.end(); ++it) {
        if (it->sym == sym) {
            MoveKeyQueue.erase(it);
            return;
        }
    }
}

bool AnyStep() {
    return StepFlags[0] || StepFlags[1] || StepFlags[2] || StepFlags[3];
}

// The hero may walk onto (x, y).
bool HeroMayEnter(int32_t x, int32_t y) {
    Player* hero = CurrentPlayer;
    Level* level = CurrentLevel;
    if (hero == nullptr || level == nullptr || !level->IsInside(x, y)) return false;
    return level->IsSquarePassable(hero, x, y, false, hero->waterWalkTurns > 0) &&
           !level->IsSquareObstructed(x, y, false);
}

// A dead hero's key or button release: the death screen (not in a tutorial), then the game ends.
void EndGameOfDeadHero() {
    if (!TutorialFlag) ShowDeathScreen();
    LeaveGameFlag = true;
}

bool HeroDead() {
    return CurrentPlayer == nullptr || CurrentPlayer->dead;
}

void OnKeyDown(const SDL_keysym& key) {
    InputIdleMs = 0;
    Player* hero = CurrentPlayer;
    if (hero == nullptr || hero->health <= 0 || hero->dead) return;
    if (!IsMoveKeyPress(key)) return;
    RemoveQueuedKey(key.sym);
    MoveKeyQueue.push_front(key);
}

void OnKeyUp(const SDL_keysym& key) {
    if (HeroDead()) {
        EndGameOfDeadHero();
        return;
    }
    InputIdleMs = 0;
    Player* hero = CurrentPlayer;
    if (key.sym == SDLK_ESCAPE || KeyBindingMatches(kBindMenu, key)) {
        // The settings screen comes here; until then the menu key leaves the game.
        LeaveGameFlag = true;
    }
    if (key.sym == SDLK_F4 && (key.mod & KMOD_ALT) != 0) LeaveGameFlag = true;
    if (hero->health <= 0) return;
    if (KeyBindingMatches(kBindRest, key)) {
        // Resting: one turn, and the next wandering monster comes ten turns sooner.
        hero->wanderingMonsterTurns += 10;
        ++HeroInputTurns;
        AdvanceTurn();
        if (HeroDead()) return;
    }
    if (IsMoveKeyRelease(key)) RemoveQueuedKey(key.sym);
}

void OnButtonUp(const SDL_MouseButtonEvent& button) {
    InputIdleMs = 0;
    if (HeroDead()) {
        EndGameOfDeadHero();
        return;
    }
    if (button.button != SDL_BUTTON_LEFT) return;
    int32_t sx = 0;
    int32_t sy = 0;
    if (!ScreenToSquare(button.x, button.y, &sx, &sy)) return;
    // The hero walks the whole path now, one turn a square.
    MoveKeyQueue.clear();
    ++HeroInputTurns;
    CurrentPlayer->WalkPathTo(sx, sy);
}

void SetWalkSprite(Player* hero, int dir) {
    Sprite* walk[4] = {hero->heroAnimations[kHeroWalkUp], hero->heroAnimations[kHeroWalkDown],
                       hero->heroAnimations[kHeroWalkLeft], hero->heroAnimations[kHeroWalkRight]};
    if (walk[dir] != nullptr && hero->bob.sprite != walk[dir]) hero->bob.SetSprite(walk[dir]);
    hero->bob.playing = true;
    hero->bob.loop = true;
}

// Completes the hero's step in the direction: one square further, and one turn.
void CompleteStep(Player* hero, int dir) {
    const DirectionKeys& d = kDirections[dir];
    hero->offsetX = 0.0f;
    hero->offsetY = 0.0f;
    const int32_t nx = hero->x + d.dx;
    const int32_t ny = hero->y + d.dy;
    hero->PlaceOnLevel(nx, ny, CurrentLevel, 0);
    ++HeroInputTurns;
    AdvanceTurn();
    // The step goes on while the queue's front still asks for this direction and the next
    // square is open.
    bool goOn = !MoveKeyQueue.empty() && KeyMeansDirection(dir, MoveKeyQueue.front());
    if (goOn && !HeroMayEnter(hero->x + d.dx, hero->y + d.dy)) goOn = false;
    if (HeroDead()) goOn = false;
    StepFlags[dir] = goOn;
}

void AdvanceStep(Player* hero, int dir) {
    SetWalkSprite(hero, dir);
    const float tile = static_cast<float>(Layout.view.tileWidth > 0 ? Layout.view.tileWidth : 64);
    const float move = static_cast<float>(FrameElapsedMs) * 4.0f / 15.0f *
                       static_cast<float>(AnimationSpeedDivisor > 0 ? AnimationSpeedDivisor : 1);
    float& offset = (dir == kUp || dir == kDown) ? hero->offsetY : hero->offsetX;
    const bool negative = dir == kUp || dir == kLeft;
    offset += negative ? -move : move;
    if (offset > tile) offset = tile;
    if (offset < -tile) offset = -tile;
    if (offset >= tile || offset <= -tile) CompleteStep(hero, dir);
}

// Starts a step from the queued move key when none runs.
void StartNextStep(Player* hero) {
    if (!MoveKeyQueue.empty()) {
        LastMoveKey = MoveKeyQueue.front();
        for (int dir = 0; dir < 4; ++dir) StepFlags[dir] = KeyMeansDirection(dir, LastMoveKey);
    }
    for (int dir : {kLeft, kRight, kUp, kDown}) {
        if (StepFlags[dir] && !HeroMayEnter(hero->x + kDirections[dir].dx, hero->y + kDirections[dir].dy)) {
            StepFlags[dir] = false;
        }
    }
}

void RunWalkingStep() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr || CurrentLevel == nullptr) return;
    for (int dir : {kDown, kUp, kRight, kLeft}) {
        if (!StepFlags[dir]) continue;
        if (CurrentPlayer != hero || CurrentLevel == nullptr) return;
        AdvanceStep(hero, dir);
    }
    if (HeroDead() || CurrentLevel == nullptr) return;
    if (!AnyStep()) StartNextStep(hero);
    for (int dir : {kLeft, kDown, kRight, kUp}) {
        if (StepFlags[dir]) hero->facing = kDirections[dir].facing;
    }
    if (!AnyStep() && hero->bob.sprite != hero->IdleSpriteForFacing()) hero->SetIdleAnimation();
}

}  // namespace

bool ScreenToSquare(int32_t px, int32_t py, int32_t* sx, int32_t* sy) {
    const int32_t tileW = Layout.view.tileWidth > 0 ? Layout.view.tileWidth : 64;
    const int32_t tileH = Layout.view.tileHeight > 0 ? Layout.view.tileHeight : 64;
    const int32_t x = (px + Layout.view.pixelX) / tileW + Layout.view.originX;
    const int32_t y = (py + Layout.view.pixelY) / tileH + Layout.view.originY;
    if (sx != nullptr) *sx = x;
    if (sy != nullptr) *sy = y;
    return CurrentLevel != nullptr && CurrentLevel->IsInside(x, y);
}

void FlushInput() {
    for (bool& flag : StepFlags) flag = false;
    MoveKeyQueue.clear();
    if (CurrentPlayer != nullptr) {
        // A step broken off leaves the hero standing on its square, not between two.
        CurrentPlayer->offsetX = 0.0f;
        CurrentPlayer->offsetY = 0.0f;
    }
}

void HandleGameEvent() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) {
        LeaveGameFlag = true;
        return;
    }
    if (hero->sleepTurns > 0) {
        hero->Sleep();
        return;
    }
    if (hero->skipTurns > 0) {
        hero->PassSkippedTurns();
        return;
    }
    if (VictoryFlag) {
        ShowVictoryScreen();
        LeaveGameFlag = true;
    }
    SDL_Event event;
    while (LoggedPollEvent(&event)) {
        switch (event.type) {
        case SDL_ACTIVEEVENT:
            CursorVisible = event.active.gain != 0;
            break;
        case SDL_KEYDOWN:
            OnKeyDown(event.key.keysym);
            break;
        case SDL_KEYUP:
            OnKeyUp(event.key.keysym);
            break;
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
            InputIdleMs = 0;
            break;
        case SDL_MOUSEBUTTONUP:
            OnButtonUp(event.button);
            break;
        case SDL_QUIT:
            // The settings screen comes here; until then closing the window leaves the game.
            LeaveGameFlag = true;
            break;
        default:
            break;
        }
    }
    if (!HeroDead()) RunWalkingStep();
}

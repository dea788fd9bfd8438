#include "core/shell/game_input.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/input_log.h"
#include "core/key_bindings.h"
#include "core/shell/click_dispatch.h"
#include "core/shell/config.h"
#include "core/shell/debug_keys.h"
#include "core/shell/play_input.h"
#include "core/shell/play_loop.h"
#include "core/shell/turn_engine.h"
#include "creatures/player.h"
#include "interface/cursor.h"
#include "interface/dialogs.h"
#include "interface/layout.h"
#include "interface/play_screen.h"
#include "interface/screens.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/level.h"
#include "levels/tutorial.h"
#include "media/bob.h"

std::deque<SDL_keysym> MoveKeyQueue;
bool StepFlags[4] = {false, false, false, false};
SDL_keysym LastMoveKey = {};
int32_t SelectedSkillSlot = 0;
bool WindowFocus = true;
bool WheelUpPressed = false;
bool WheelDownPressed = false;
bool AimingAbility = false;
int32_t HeroInputTurns = 0;

namespace {

enum Direction { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };

struct DirectionKeys {
    int32_t dx;
    int32_t dy;
    SDLKey arrow;
    const char* binding;
    int32_t facing;
};

const DirectionKeys kDirections[4] = {
    {0, -1, SDLK_UP, kBindUp, 2},
    {0, 1, SDLK_DOWN, kBindDown, 0},
    {-1, 0, SDLK_LEFT, kBindLeft, 1},
    {1, 0, SDLK_RIGHT, kBindRight, 3},
};

// The key asks for this direction: its arrow key without modifiers, or its binding.
bool KeyMeansDirection(int dir, const SDL_keysym& key) {
    const DirectionKeys& d = kDirections[dir];
    return KeyEventMatches(d.arrow, 0, key) || KeyBindingMatches(d.binding, key);
}

bool IsArrowKey(SDLKey sym) {
    return sym == SDLK_UP || sym == SDLK_DOWN || sym == SDLK_LEFT || sym == SDLK_RIGHT;
}

bool IsMoveKeyPress(const SDL_keysym& key) {
    if (IsArrowKey(key.sym)) return true;
    for (const DirectionKeys& d : kDirections) {
        if (KeyBindingMatches(d.binding, key)) return true;
    }
    return false;
}

bool IsMoveKeyRelease(const SDL_keysym& key) {
    if (IsArrowKey(key.sym)) return true;
    for (const DirectionKeys& d : kDirections) {
        if (KeyBindingMatchesKey(d.binding, key)) return true;
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

// A move key released before any step started from its press (a tap, often pressed and
// released within one frame) stays queued until a step has taken it, so that it walks one
// square. WalkedKeys holds the queued keys a step has started from.
std::vector<SDLKey> TappedKeys;
std::vector<SDLKey> WalkedKeys;

bool Holds(const std::vector<SDLKey>& keys, SDLKey sym) {
    return std::find(keys.begin(), keys.end(), sym) != keys.end();
}

void Forget(std::vector<SDLKey>& keys, SDLKey sym) {
    keys.erase(std::remove(keys.begin(), keys.end(), sym), keys.end());
}

bool IsQueued(SDLKey sym) {
    for (const SDL_keysym& queued : MoveKeyQueue) {
        if (queued.sym == sym) return true;
    }
    return false;
}

// The queued taps leave the queue once a step has started from them, or at once when no step
// could start (the way was blocked).
void SettleTappedKeys() {
    std::vector<SDLKey> kept;
    for (SDLKey sym : TappedKeys) {
        if (!IsQueued(sym)) continue;
        if (Holds(WalkedKeys, sym) || !AnyStep()) {
            RemoveQueuedKey(sym);
            Forget(WalkedKeys, sym);
        } else {
            kept.push_back(sym);
        }
    }
    TappedKeys = kept;
}

void HeroTurn() {
    AdvanceTurn();
}

// The hero may walk onto (x, y).
bool HeroMayEnter(Player* hero, int32_t x, int32_t y) {
    Level* level = CurrentLevel;
    if (level == nullptr || !level->IsInside(x, y)) return false;
    return level->IsSquarePassable(hero, x, y, false, hero->waterWalkTurns > 0) &&
           !level->IsSquareObstructed(x, y, false);
}

bool HeroDead() {
    return CurrentPlayer == nullptr || CurrentPlayer->dead != 0;
}

// A dead hero's key or button release: the death screen (not in a tutorial), then the game ends.
void EndGameOfDeadHero() {
    if (!TutorialFlag) ShowDeathScreen();
    LeaveGameFlag = true;
}

void ShowSettingsFromPlay() {
    Layout.menuBarHover = -1;
    MenuBarHover = false;
    if (ShowSettingsScreen() == 1) LeaveGameFlag = true;
}

// A move key pressed toward an obstructed square with "WASDActive" on bumps what stands
// there; true when something answered (a turn has passed).
bool BumpToward(const SDL_keysym& key) {
    Player* hero = CurrentPlayer;
    Level* level = CurrentLevel;
    if (level == nullptr) return false;
    for (int dir : {kUp, kRight, kLeft, kDown}) {
        const DirectionKeys& d = kDirections[dir];
        if (key.sym != d.arrow && !KeyBindingMatches(d.binding, key)) continue;
        const int32_t nx = hero->x + d.dx;
        const int32_t ny = hero->y + d.dy;
        if (!level->IsInside(nx, ny)) continue;
        if (!level->IsSquareObstructed(nx, ny, false)) return false;
        const std::vector<GameObj*> contents = level->GetCell(nx, ny)->contents;
        for (GameObj* obj : contents) {
            if (obj != nullptr && obj->BumpedByPlayer() != 0) {
                HeroTurn();
                return true;
            }
        }
        return false;
    }
    return false;
}

void OnKeyDown(const SDL_keysym& key) {
    InputIdleMs = 0;
    Player* hero = CurrentPlayer;
    if (hero->health <= 0 || hero->dead != 0) return;
    if (!IsMoveKeyPress(key)) return;
    bool usedUp = false;
    if (!AnyStep() && WASDActive != 0) usedUp = BumpToward(key);
    if (!MoveKeyQueue.empty()) RemoveQueuedKey(key.sym);
    Forget(TappedKeys, key.sym);
    Forget(WalkedKeys, key.sym);
    if (!usedUp) MoveKeyQueue.push_front(key);
}

// Selects the item of a skill-bar slot.
void SelectSkillSlot(Player* hero, int32_t slot, bool remember) {
    Item* item = hero->abilitySlots[slot];
    SelectedSkillItem = item;
    item->Use();
    if (remember) SelectedSkillSlot = slot;
}

// Closes the first open window, in the order the Escape key closes them; false when none is open.
bool CloseFrontWindow() {
    if (CraftPanel.open) {
        CraftPanel.open = false;
        return true;
    }
    for (ToolkitWindow& window : ToolkitWindows) {
        if (window.open) {
            window.open = false;
            return true;
        }
    }
    if (Layout.inventoryOpen != 0) {
        Layout.inventoryOpen = 0;
        return true;
    }
    if (Layout.equipmentOpen != 0) {
        Layout.equipmentOpen = 0;
        return true;
    }
    return false;
}

void OnKeyUp(const SDL_Event& event) {
    const SDL_keysym& key = event.key.keysym;
    if (HeroDead()) {
        EndGameOfDeadHero();
        return;
    }
    InputIdleMs = 0;
    Player* hero = CurrentPlayer;
    for (int32_t i = 0; i < kBeltSlotCount; ++i) {
        const std::string id = "belt" + std::to_string(i + 1);
        if (!KeyBindingMatches(id.c_str(), key) || hero->quickSlots[i] == nullptr) continue;
        if (hero->quickSlots[i]->Use() != 0) {
            HeroTurn();
            break;
        }
    }
    if (CurrentPlayer != hero) return;
    for (int32_t i = 0; i < kBeltSlotCount; ++i) {
        const std::string id = "skill" + std::to_string(i + 1);
        if (KeyBindingMatches(id.c_str(), key) && hero->abilitySlots[i] != nullptr) {
            SelectSkillSlot(hero, i, true);
            break;
        }
    }
    RunHiddenDebugActions(event);
    if (CurrentPlayer != hero) return;
    if (key.sym == SDLK_ESCAPE || KeyBindingMatches(kBindMenu, key)) {
        if (!CloseFrontWindow()) ShowSettingsFromPlay();
    }
    if (KeyBindingMatches(kBindInventory, key)) {
        Layout.inventoryOpen = Layout.inventoryOpen != 0 ? 0 : 1;
        if (Layout.inventoryOpen != 0 && TutorialFlag) NotifyTutorial(6, 0);
    }
    if (KeyBindingMatches(kBindEquipment, key)) {
        Layout.equipmentOpen = Layout.equipmentOpen != 0 ? 0 : 1;
        if (Layout.equipmentOpen != 0 && TutorialFlag) NotifyTutorial(12, 0);
    }
    HandleToolkitHotkey(event);
    if (KeyBindingMatches(kBindQuests, key)) ShowQuestLog();
    if (KeyBindingMatches(kBindSkills, key)) ShowSkillTome();
    if (HeroDead() || CurrentPlayer != hero) return;
    if (key.sym == SDLK_F4 && (key.mod & KMOD_ALT) != 0) LeaveGameFlag = true;
    if (hero->health <= 0) return;
    if (KeyBindingMatches(kBindRest, key)) {
        // Resting: one turn, and the next wandering monster comes ten turns sooner.
        hero->wanderingMonsterTurns += 10;
        HeroTurn();
    }
    if (!IsMoveKeyRelease(key)) return;
    if (IsQueued(key.sym) && !Holds(WalkedKeys, key.sym)) {
        if (!Holds(TappedKeys, key.sym)) TappedKeys.push_back(key.sym);
        return;
    }
    RemoveQueuedKey(key.sym);
    Forget(WalkedKeys, key.sym);
}

void OnMotion(const SDL_MouseMotionEvent& motion) {
    InputIdleMs = 0;
    if (InventoryDrag.dragging) DragInventoryPanel(motion.x, motion.y);
    if (ToolkitWindowDragging) {
        DragToolkitWindow(motion.x, motion.y);
    } else if (CraftPanel.dragging) {
        DragCraftPanel(motion.x, motion.y);
    } else if (AimingAbility && SelectedAbility != nullptr) {
        if (CurrentLevel != nullptr) CurrentLevel->ClearHighlights();
        MarkAbilityTargetSquares(motion.x, motion.y);
    }
}

// The mouse wheel moves the selection through the occupied skill-bar slots, wrapping round.
void TurnWheel(int32_t step) {
    Player* hero = CurrentPlayer;
    int32_t current = -1;
    for (int32_t i = 0; i < kBeltSlotCount && SelectedSkillItem != nullptr; ++i) {
        if (hero->abilitySlots[i] == SelectedSkillItem) {
            current = i;
            break;
        }
    }
    if (current < 0) {
        for (int32_t i = 0; i < kBeltSlotCount; ++i) {
            if (hero->abilitySlots[i] != nullptr) {
                SelectSkillSlot(hero, i, false);
                return;
            }
        }
        return;
    }
    for (int32_t n = 1; n <= kBeltSlotCount; ++n) {
        const int32_t j = ((current + step * n) % kBeltSlotCount + kBeltSlotCount) % kBeltSlotCount;
        if (hero->abilitySlots[j] != nullptr) {
            SelectSkillSlot(hero, j, true);
            return;
        }
    }
}

void OnButtonDown(const SDL_MouseButtonEvent& button) {
    WheelUpPressed = button.button == SDL_BUTTON_WHEELUP;
    WheelDownPressed = button.button == SDL_BUTTON_WHEELDOWN;
    InputIdleMs = 0;
    if (button.button == SDL_BUTTON_WHEELUP) {
        TurnWheel(-1);
    } else if (button.button == SDL_BUTTON_WHEELDOWN) {
        TurnWheel(1);
    } else {
        HandlePlayMouseDown(button.x, button.y, button.button == SDL_BUTTON_RIGHT);
    }
}

void OnButtonUp(const SDL_MouseButtonEvent& button) {
    InputIdleMs = 0;
    if (ToolkitWindowDragging) {
        ToolkitWindowDragging = false;
        return;
    }
    if (CraftPanel.dragging) {
        CraftPanel.dragging = false;
        return;
    }
    if (HeroDead()) {
        EndGameOfDeadHero();
        return;
    }
    if (button.button == SDL_BUTTON_WHEELUP || button.button == SDL_BUTTON_WHEELDOWN) return;
    HandlePlayScreenClick(button.x, button.y, button.button == SDL_BUTTON_RIGHT);
}

void SetWalkSprite(Player* hero, int dir) {
    Sprite* walk[4] = {hero->heroAnimations[kHeroWalkUp], hero->heroAnimations[kHeroWalkDown],
                       hero->heroAnimations[kHeroWalkLeft], hero->heroAnimations[kHeroWalkRight]};
    if (walk[dir] != nullptr && hero->bob.sprite != walk[dir]) hero->bob.SetSprite(walk[dir]);
    hero->bob.playing = true;
    hero->bob.loop = true;
}

// Moves every blocking but passable object (an ally) off the square the hero steps onto,
// to the square the hero leaves.
void SwapAlliesOut(Player* hero, Level* level, int32_t nx, int32_t ny) {
    LevelCell* cell = level->GetCell(nx, ny);
    for (bool moved = true; moved && cell != nullptr;) {
        moved = false;
        for (GameObj* obj : cell->contents) {
            if (obj != nullptr && obj != hero && obj->blocksMovement != 0 && obj->passable != 0) {
                obj->PlaceOnLevel(hero->x, hero->y, level, 0);
                moved = true;
                break;
            }
        }
    }
}

// Completes the hero's step in the direction: one square further, and one turn.
void CompleteStep(Player* hero, int dir) {
    const DirectionKeys& d = kDirections[dir];
    Level* level = CurrentLevel;
    hero->offsetX = 0.0f;
    hero->offsetY = 0.0f;
    const int32_t nx = hero->x + d.dx;
    const int32_t ny = hero->y + d.dy;
    SwapAlliesOut(hero, level, nx, ny);
    hero->PlaceOnLevel(nx, ny, level, 0);
    PlayFootstepSound();
    HandlePlayerEnteredSquare();
    HeroTurn();
    if (HeroDead() || CurrentPlayer != hero || CurrentLevel == nullptr) {
        StepFlags[dir] = false;
        return;
    }
    // The step goes on while the queue's front still asks for this direction and the next
    // square is open.
    bool goOn = !MoveKeyQueue.empty() && KeyMeansDirection(dir, MoveKeyQueue.front());
    if (goOn && !HeroMayEnter(hero, hero->x + d.dx, hero->y + d.dy)) goOn = false;
    // A step that goes on takes the front key as a new step would: a tap queued during the
    // step walks one more square, not one more for every step after it.
    if (goOn && !Holds(WalkedKeys, MoveKeyQueue.front().sym)) WalkedKeys.push_back(MoveKeyQueue.front().sym);
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
        if (!Holds(WalkedKeys, LastMoveKey.sym)) WalkedKeys.push_back(LastMoveKey.sym);
    }
    for (int dir : {kLeft, kRight, kUp, kDown}) {
        if (StepFlags[dir] && !HeroMayEnter(hero, hero->x + kDirections[dir].dx, hero->y + kDirections[dir].dy)) {
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
    if (HeroDead() || CurrentPlayer != hero || CurrentLevel == nullptr) return;
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
    TappedKeys.clear();
    WalkedKeys.clear();
    if (CurrentPlayer != nullptr) {
        // A step broken off leaves the hero standing on its square, not between two.
        CurrentPlayer->offsetX = 0.0f;
        CurrentPlayer->offsetY = 0.0f;
    }
    // Read past the logged input on purpose: what is dropped here is never recorded, so a
    // replay never sees it either.
    SDL_Event event;
    while (SDL_WasInit(SDL_INIT_VIDEO) != 0 && SDL_PollEvent(&event) != 0) {
    }
    DropUnreadInputEvents();
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
        if (CurrentPlayer == nullptr) break;
        switch (event.type) {
        case SDL_ACTIVEEVENT:
            WindowFocus = event.active.gain != 0;
            CursorVisible = WindowFocus;
            break;
        case SDL_KEYDOWN:
            OnKeyDown(event.key.keysym);
            break;
        case SDL_KEYUP:
            OnKeyUp(event);
            break;
        case SDL_MOUSEMOTION:
            OnMotion(event.motion);
            break;
        case SDL_MOUSEBUTTONDOWN:
            OnButtonDown(event.button);
            break;
        case SDL_MOUSEBUTTONUP:
            OnButtonUp(event.button);
            break;
        case SDL_QUIT:
            ShowSettingsFromPlay();
            break;
        default:
            break;
        }
    }
    if (!HeroDead()) RunWalkingStep();
    SettleTappedKeys();
}

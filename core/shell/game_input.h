#pragma once
// The in-game input loop: the player's keys and clicks on the play screen become hero
// actions, and every action that costs time ends in a turn.
//
// Commands fire on key release; move keys act on key press and wait in MoveKeyQueue until
// they are released, while the walking step glides the hero one square at a time in the
// direction of the newest held move key, each completed square one turn. Mouse presses
// prepare drags and ability aiming; the click itself fires on the button release and goes
// to HandlePlayScreenClick.
#include <SDL.h>

#include <cstdint>
#include <deque>

#include "core/shell/shell_services.h"

// Handles the pending input; the play loop calls it once per frame. A sleeping or stunned
// hero first passes its turns (the events then wait for the next frame).
void HandleGameEvent();

// Stops every walk: the key-driven step, the queued move keys and the queued input events.
void FlushInput();

// The move-key presses not yet released, most recent first.
extern std::deque<SDL_keysym> MoveKeyQueue;
// A one-square walking step in that direction is in progress: up, down, left, right.
extern bool StepFlags[4];
// The queue's front when the current step was started.
extern SDL_keysym LastMoveKey;
// The skill-bar slot (0..8) last chosen by key or wheel.
extern int32_t SelectedSkillSlot;
// The gain of the last activation event.
extern bool WindowFocus;
// The last button press was the wheel up (button 4) or down (button 5).
extern bool WheelUpPressed;
extern bool WheelDownPressed;
// A right press with an ability selected started aiming; mouse motion re-marks the target.
extern bool AimingAbility;

// The square under a screen position: (pointer + view pixel offset) / tile size + view
// origin, per axis. False when there is no current level or the square lies outside it.
bool ScreenToSquare(int32_t px, int32_t py, int32_t* sx, int32_t* sy);

// The turns that have passed since the game loop started, each counted by the turn engine
// as it runs: a refused action spends none, a walk along a path one per square.
extern int32_t HeroInputTurns;

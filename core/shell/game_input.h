#pragma once
// The in-game input loop: the player's keys and clicks on the play screen become hero
// actions, and every action that costs time ends in a turn.
//
// Stand-in: the smallest working form. Move keys (arrows, the numeric keypad and the
// move bindings) walk the hero square by square while held, each square one turn; a left
// click on a square walks the hero there along a found path, one square and one turn at a
// time; the Rest binding (space) rests one turn; Escape, the Menu binding, alt+F4 and closing
// the window leave the game; a dead hero's next key or button release ends the game. Still to
// be built here: bumping into doors and other objects, belt and skill keys, the hidden debug
// actions, the settings screen on Escape, the inventory, equipment, toolkit, quest and skill
// windows and their dragging, ability aiming, the mouse wheel, the play-screen click dispatch
// (use, attack, pick up), swapping places with allies and entering squares.
#include <SDL.h>

#include <cstdint>
#include <deque>

#include "core/shell/shell_services.h"

// Handles the pending input; the play loop calls it once per frame. Every activation event
// (the pointer entering or leaving the window, the input focus, the window shown or
// minimised) sets CursorVisible from its gain.
void HandleGameEvent();

// Stops every walk: the key-driven step, the queued move keys and a walk along a path.
void FlushInput();

// The move-key presses not yet released, most recent first.
extern std::deque<SDL_keysym> MoveKeyQueue;
// A one-square walking step in that direction is in progress: up, down, left, right.
extern bool StepFlags[4];

// The square under a screen position: (pointer + view pixel offset) / tile size + view
// origin, per axis. False when there is no current level or the square lies outside it.
bool ScreenToSquare(int32_t px, int32_t py, int32_t* sx, int32_t* sy);


// Turns the hero's input has spent since the game started (steps and rests).
extern int32_t HeroInputTurns;

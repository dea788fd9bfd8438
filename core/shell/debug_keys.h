#pragma once
// The hidden keys of the play screen: the two animation-speed keys, which work in every run,
// and the debug actions, which work only in runs started with a debug flag.
#include <SDL.h>

#include <cstdint>

class Item;

// Handles a key release of one of those bindings; true when an action ran or was
// recognised. Any other event answers false.
bool RunHiddenDebugActions(SDL_Event event);

// Fills every empty backpack cell with a random item.
void DebugFillInventory();
// A random item of a random kind (general, mushroom, potion, wand, weapon or armour), or
// null when the database has nothing of the kind drawn.
Item* MakeRandomItem();

// What the trapdoor keys call with +1 or -1: ChangeDepth, unless a test puts its own here.
extern void (*TrapdoorKeyAction)(int32_t delta);

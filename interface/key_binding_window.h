#pragma once
// The key-binding window: the configurable actions with their keys; a click on a row's key
// waits for a key, and the next key released becomes that action's key unless it is
// refused. Modal over the live play screen, reached from the settings window.
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t kKeyBindingRows = 11;
constexpr int32_t kKeyBindingRowStep = 29;
constexpr int32_t kKeyBindingRowsTop = 79;
constexpr int32_t kKeyBindingKeyLeft = 298;
constexpr int32_t kKeyBindingKeyRight = 399;

// The identifiers of the bindings that are configurable and enabled, in table order.
std::vector<std::string> ListedKeyBindings();
// The entry whose key column holds the point relative to the panel, with `top` the first
// entry shown and `count` the list's length; -1 outside the rows or past the list.
int32_t KeyBindingEntryAt(int32_t rx, int32_t ry, int32_t top, int32_t count);
// Whether the released key may become the binding `id`'s key: never Enter, Escape or the
// modifier and lock keys (300 and above), nor a key another binding already answers to.
bool KeyAcceptableForBinding(const std::string& id, const SDL_keysym& event);
// The scroll limits: up while top > 0, down while top + 10 < count - 1.
bool KeyBindingsCanScrollUp(int32_t top);
bool KeyBindingsCanScrollDown(int32_t top, int32_t count);

void ShowKeyBindingsScreen();

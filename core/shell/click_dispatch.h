#pragma once
// What a mouse-button release on the play screen does: the interface element under the
// pointer takes the click, in a fixed order of precedence; a click on the level itself uses,
// attacks, picks up, drops or walks. Right clicks use things; left clicks move things and act
// on the level.
#include <cstdint>

void HandlePlayScreenClick(int32_t x, int32_t y, bool right);

// Told the name of the element that takes each click, just before it acts ("menu bar",
// "swallow", "skill slot", "bag", "inventory", "belt", "minimap", "level", "walk", "sell",
// "take one", "drop", "craft panel", "digest", "help mark", "equipment", "character panel",
// "toolkits", "buff", "picker", "inventory use", "ability", "square use"); null stops
// telling. For tests.
using ClickObserver = void (*)(const char* element);
void SetClickObserver(ClickObserver observer);

// The square areas of the bottom bar the dispatch uses, for the current layout: the menu-bar
// strip, the area that swallows clicks, skill-bar slot s and the bag mark. A rectangle holds
// its left and top edges, not its right and bottom ones.
struct ClickRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
    bool Contains(int32_t px, int32_t py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};
ClickRect MenuBarStripRect();
ClickRect SwallowRect();
ClickRect SkillSlotRect(int32_t slot);
ClickRect BagMarkRect();

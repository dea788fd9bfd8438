#pragma once
// The auto-pickup window: twelve item categories as toggles deciding what the hero picks
// up by walking over it. Modal over the live play screen, reached from the settings window.
#include <cstdint>

constexpr int32_t kAutoPickupCategories = 12;
constexpr int32_t kAutoPickupSquare = 72;

struct AutoPickupCategory {
    const char* artBase;  // "0.png" (off) and "1.png" (on) appended
    int32_t x, y;         // relative to the panel
};
const AutoPickupCategory* GetAutoPickupCategories();
// The category whose square holds the point relative to the panel, -1 for none. The squares
// are half-open, [x, x + 72) by [y, y + 72), so a point on an edge two squares share belongs
// to one of them only.
int32_t AutoPickupCategoryAt(int32_t rx, int32_t ry);

void ShowAutoPickupScreen();
// Frees the category pictures kept since the first opening.
void FreeAutoPickupArt();

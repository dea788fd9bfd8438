#pragma once
// The shared animations drawn over creatures: the status icons (tame, burning, oiled,
// bleeding, dazed, asleep), the named-monster glow, the quest mark and the water-walking
// mark. Start-up points them at their sprites (LoadGlobalImages); until then they hold no
// sprite and draw nothing.
#include <cstdint>

#include "media/bob.h"

struct StatusOverlayBobs {
    Bob daze;
    Bob burning;
    Bob bleeding;
    Bob sleep;
    Bob hearts;  // tame
    Bob questMark;
    Bob oil;
    Bob waterWalking;
    Bob heroGlow;
    Bob walkDestination;  // the mark on the square the hero's walk heads for
};

extern StatusOverlayBobs StatusOverlays;

class Sprite;

// Minimap marks of quest monsters (alive and dead) and horde commanders, one per zoom
// index, set by the minimap's icon loader; null entries draw nothing.
constexpr int32_t kMinimapZoomCount = 4;
struct MinimapMonsterIcons {
    Sprite* quest[kMinimapZoomCount] = {};
    Sprite* questDead[kMinimapZoomCount] = {};
    Sprite* commander[kMinimapZoomCount] = {};
};

extern MinimapMonsterIcons MinimapMonsterMarks;

// The hero's own minimap mark, male and female, one per zoom index (set with the marks above).
struct MinimapHeroIcons {
    Sprite* male[kMinimapZoomCount] = {};
    Sprite* female[kMinimapZoomCount] = {};
};

extern MinimapHeroIcons MinimapHeroMarks;

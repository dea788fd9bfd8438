#pragma once
// Moving the hero between levels: stairs, portals and the trapdoor keys.
//
// Stand-in: the level save, the generation or reload of the next level and the hero's
// placement there are still to be built; until then each change only records its call
// (LastLevelChange), so the hero stays where it is.
#include <cstdint>

#include "core/shell/shell_services.h"

struct LevelChangeCall {
    enum Kind : int32_t { kNone, kDescend, kAscend, kPortal, kDepth } kind = kNone;
    int32_t stairIndex = 0;
    int32_t branchId = 0;
    int32_t depth = 0;  // the depth for stairs, the delta for the trapdoor keys
    int32_t count = 0;  // how many changes were asked for since start-up
};

// The last change asked for.
extern LevelChangeCall LastLevelChange;

// Hands the spells the generation services they use: the open square near a blocked one and
// the rebuild of a level's cell graphics.
#include "creatures/spell.h"
#include "levels/gen/level_gfx.h"
#include "levels/gen/square_pickers.h"

namespace {

int32_t FindOpenSquareNearFor(int32_t* outX, int32_t* outY, int32_t x, int32_t y, Level* level) {
    return FindOpenSquareNear(outX, outY, x, y, level);
}

const bool SpellServicesSet = [] {
    SpellLevel.findOpenSquareNear = FindOpenSquareNearFor;
    SpellLevel.rebuildGraphics = GenLevelGFXRep;
    return true;
}();

}  // namespace

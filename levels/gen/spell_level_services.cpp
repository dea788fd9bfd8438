// Hands the spells and the fighting creatures the generation services they use: the open
// square near a blocked one, the rebuild of a level's cell graphics and the hold on the
// wandering spawner.
#include "creatures/spell.h"
#include "levels/gen/level_gfx.h"
#include "levels/gen/monster_spawning.h"
#include "levels/gen/square_pickers.h"

namespace {

int32_t FindOpenSquareNearFor(int32_t* outX, int32_t* outY, int32_t x, int32_t y, Level* level) {
    return FindOpenSquareNear(outX, outY, x, y, level);
}

const bool SpellServicesSet = [] {
    SpellLevel.findOpenSquareNear = FindOpenSquareNearFor;
    SpellLevel.rebuildGraphics = GenLevelGFXRep;
    SpellLevel.delayMonsterSpawning = DelayMonsterSpawning;
    return true;
}();

}  // namespace

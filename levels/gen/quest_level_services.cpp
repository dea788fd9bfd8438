// Hands the quests the square pickers of level generation: a random open square for a
// quest's first target and an open square near the spot where an objective was met.
#include "items_fixtures/quest.h"
#include "levels/gen/square_pickers.h"

namespace {

int32_t FindOpenSquareNearFor(int32_t* outX, int32_t* outY, int32_t x, int32_t y, Level* level) {
    return FindOpenSquareNear(outX, outY, x, y, level);
}

const bool QuestServicesSet = [] {
    QuestLevel.pickRandomOpenSquare = PickRandomOpenSquare;
    QuestLevel.findOpenSquareNear = FindOpenSquareNearFor;
    return true;
}();

}  // namespace

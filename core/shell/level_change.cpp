#include "core/shell/level_change.h"

LevelChangeCall LastLevelChange;

namespace {
void Record(LevelChangeCall::Kind kind, int32_t stairIndex, int32_t branchId, int32_t depth) {
    const int32_t count = LastLevelChange.count + 1;
    LastLevelChange = LevelChangeCall{kind, stairIndex, branchId, depth, count};
}
}  // namespace

void DescendStairs(int32_t stairIndex, int32_t branchId, int32_t depth) {
    Record(LevelChangeCall::kDescend, stairIndex, branchId, depth);
}
void AscendStairs(int32_t stairIndex, int32_t branchId, int32_t depth) {
    Record(LevelChangeCall::kAscend, stairIndex, branchId, depth);
}
void TravelThroughPortal() { Record(LevelChangeCall::kPortal, 0, 0, 0); }
void ChangeDepth(int32_t delta) { Record(LevelChangeCall::kDepth, 0, 0, delta); }

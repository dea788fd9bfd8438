// Stand-in: what is still to be built is listed at the top of items_fixtures/blockers.h.
#include "items_fixtures/blockers.h"

#include "items_fixtures/item.h"

namespace {
std::string Text(const char* text) {
    return text != nullptr ? text : "";
}
}  // namespace

Blocker::Blocker(Level*, int32_t, const char* seriesName, int32_t first, int32_t count,
                 int32_t delay)
    : series(Text(seriesName)), firstFrame(first), frameCount(count), frameDelay(delay) {}

Blocker::Blocker(Level*, int32_t, const char* imageName) : image(Text(imageName)) {}

Blocker::Blocker(Level*, int32_t branchBlockerIndex) : branchIndex(branchBlockerIndex) {}

Engraving::Engraving(Level* onLevel, int32_t parent, const char* seriesName, int32_t first,
                     int32_t count, int32_t delay)
    : Blocker(onLevel, parent, seriesName, first, count, delay) {
    blocksMovement = 0;
    blocksSight = 0;
    passable = 1;
}

Engraving::Engraving(Level* onLevel, int32_t parent, const char* imageName)
    : Blocker(onLevel, parent, imageName) {
    blocksMovement = 0;
    blocksSight = 0;
    passable = 1;
}

Breakable::Breakable(Level*, int32_t branchBreakableIndex, int32_t, int32_t)
    : branchIndex(branchBreakableIndex) {}

Breakable::Breakable(Level*, const SpriteRecord*, const SpriteRecord*, const SpriteRecord*,
                     int32_t hitsNeeded, int32_t hitsAlreadyTaken)
    : hitsNeededToBreak(hitsNeeded), hitsTaken(hitsAlreadyTaken) {}

Breakable::~Breakable() { delete contents; }

Clock::Clock(Level* onLevel, int32_t parent, const char* seriesName, int32_t first, int32_t count,
             int32_t delay, int32_t initial, int32_t remaining, int32_t started)
    : Blocker(onLevel, parent, seriesName, first, count, delay),
      initialTicks(initial),
      remainingTicks(remaining == -1 ? initial : remaining),
      running(started != 0) {}

Clock::Clock(Level* onLevel, int32_t parent, const char* imageName, int32_t initial,
             int32_t remaining, int32_t started)
    : Blocker(onLevel, parent, imageName),
      initialTicks(initial),
      remainingTicks(remaining == -1 ? initial : remaining),
      running(started != 0) {}

void Clock::Start() {
    running = true;
}

void Clock::Stop() {
    running = false;
}

void Clock::SetValue(int32_t ticks) {
    remainingTicks = ticks;
}

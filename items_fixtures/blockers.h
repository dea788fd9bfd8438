#pragma once
// Fixtures that stand on a square and may block it: blockers, engravings, breakables and
// clocks.
//
// Stand-in: constructors keep their arguments; nothing is drawn, broken or counted down
// yet. Still to be built here: the branch blocker art, sprite-series animation, breaking
// with its room events "hit" and "broken", the clock's countdown with "started",
// "stopped", "updated" and "expired", tooltips and saving.
#include <cstdint>
#include <string>

#include "levels/game_obj.h"

class Level;
class Item;
struct SpriteRecord;

class Blocker : public GameObj {
public:
    // A custom blocker drawn from a numbered sprite series.
    Blocker(Level* onLevel, int32_t parent, const char* series, int32_t firstFrame,
            int32_t frameCount, int32_t frameDelay);
    // A custom blocker drawn from one image.
    Blocker(Level* onLevel, int32_t parent, const char* image);
    // A blocker of the level's branch (generation).
    Blocker(Level* onLevel, int32_t branchBlockerIndex);

    bool IsBlocker() override { return true; }
    std::string GetName() override { return name; }
    std::string GetDescription() override { return description; }

    std::string name;
    std::string description;
    std::string series;
    std::string image;
    int32_t firstFrame = 0;
    int32_t frameCount = 0;
    int32_t frameDelay = 0;
    int32_t branchIndex = -1;
};

class Engraving : public Blocker {
public:
    Engraving(Level* onLevel, int32_t parent, const char* series, int32_t firstFrame,
              int32_t frameCount, int32_t frameDelay);
    Engraving(Level* onLevel, int32_t parent, const char* image);
};

class Breakable : public GameObj {
public:
    // A breakable of the branch (generation): (level, index, 1, 0).
    Breakable(Level* onLevel, int32_t branchBreakableIndex, int32_t a, int32_t b);
    // A custom breakable of a room record.
    Breakable(Level* onLevel, const SpriteRecord* normal, const SpriteRecord* breaking,
              const SpriteRecord* broken, int32_t hitsNeeded, int32_t hitsAlreadyTaken);
    ~Breakable() override;  // deletes its contents

    std::string GetName() override { return name; }
    std::string GetDescription() override { return description; }

    std::string name;
    std::string description;
    Item* contents = nullptr;  // an item or none
    int32_t branchIndex = -1;
    int32_t hitsNeededToBreak = 1;
    int32_t hitsTaken = 0;
};

class Clock : public Blocker {
public:
    Clock(Level* onLevel, int32_t parent, const char* series, int32_t firstFrame, int32_t frameCount,
          int32_t frameDelay, int32_t initialTicks, int32_t remainingTicks, int32_t started);
    Clock(Level* onLevel, int32_t parent, const char* image, int32_t initialTicks,
          int32_t remainingTicks, int32_t started);

    bool IsClock() override { return true; }
    void Start();
    void Stop();
    bool IsRunning() const { return running; }
    bool IsStopped() const { return !running; }
    void SetValue(int32_t ticks);

    int32_t initialTicks = 0;
    int32_t remainingTicks = 0;
    bool running = false;
};

#pragma once
// Fixtures that stand on a square and may block it: blockers, clocks and engravings
// (breakables: items_fixtures/breakable.h, included here).
#include <cstdint>
#include <string>

#include "items_fixtures/breakable.h"
#include "items_fixtures/fixture.h"
#include "levels/game_obj.h"

class Level;
class Item;
struct SpriteRecord;
struct BlockerDef;

// An impassable decoration: a pillar or heap of the branch tileset, a custom prop of a room
// template, or a wall a spell conjures for some turns. Save block after the GameObj block:
// tilesetIndex, name, description, then for a custom blocker (tilesetIndex -1) spriteName,
// seriesName, seriesFirst, seriesCount, seriesDelay, and last turnsLeft (read from 1.0.4 on;
// older saves give 0, permanent).
class Blocker : public GameObj {
public:
    // A custom blocker drawn from a numbered sprite series; turns 0 stands for good.
    Blocker(Level* onLevel, int32_t turns, const char* series, int32_t first, int32_t count, int32_t delay);
    // A custom blocker drawn from one sprite (also spell walls, with their lifetime).
    Blocker(Level* onLevel, int32_t turns, const char* sprite);
    // A blocker of the level's branch tileset (generation).
    Blocker(Level* onLevel, int32_t tilesetIndex);
    explicit Blocker(SaveReader& in);
    // Leaves its level's custom-blocker list.
    ~Blocker() override;

    FIXTURE_CLASS_MEMBERS();
    bool IsBlocker() override { return true; }
    std::string GetName() override { return name; }
    std::string GetDescription() override { return description; }
    // Queued for deletion and off the custom-blocker list at once.
    void Destroy() override;
    // A timed blocker counts down and is queued for deletion when its last turn is gone.
    void Update() override;

    int32_t tilesetIndex = -1;
    int32_t turnsLeft = 0;
    std::string spriteName;
    std::string seriesName;
    std::string name;
    std::string description;
    int32_t seriesFirst = 0;
    int32_t seriesCount = 0;
    int32_t seriesDelay = 0;

protected:
    // The tileset entry is that of tilesetIndex (null: none to be had).
    void RefreshPicture(const BlockerDef* tilesetEntry);
    void LeaveBlockerList();
};

// A count-down timer for room scripts: once started it falls by one each turn, tells the hero
// in its room and posts "started", "stopped", "updated" and "expired". Save block after the
// Blocker block: initialValue, value, step.
class Clock : public Blocker {
public:
    Clock(Level* onLevel, int32_t turns, const char* series, int32_t first, int32_t count, int32_t delay,
          int32_t initialValue, int32_t startValue, int32_t running);
    Clock(Level* onLevel, int32_t turns, const char* sprite, int32_t initialValue, int32_t startValue,
          int32_t running);
    explicit Clock(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    bool IsClock() override { return true; }
    std::string GetDescription() override;
    void Update() override;

    virtual void Stop();
    virtual void Start();
    virtual bool IsStopped() const { return step == 0; }
    virtual bool IsRunning() const { return !IsStopped(); }
    // A changed value posts "updated"; a running clock at 0 or below stops and posts
    // "expired" after "stopped".
    virtual void SetValue(int32_t ticks);
    virtual void Reset() { SetValue(initialValue); }

    int32_t initialValue = 0;
    int32_t value = 0;
    int32_t step = 0;

private:
    void Begin(int32_t initial, int32_t startValue, int32_t running);
};

// A flat floor picture that neither blocks movement nor sight. Save block: spriteName,
// seriesName, seriesFirst, seriesCount, seriesDelay.
class Engraving : public GameObj {
public:
    // The second argument is not used.
    Engraving(Level* onLevel, int32_t ignored, const char* series, int32_t first, int32_t count, int32_t delay);
    Engraving(Level* onLevel, int32_t ignored, const char* sprite);
    explicit Engraving(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return std::string(); }
    void Destroy() override;

    std::string spriteName;
    std::string seriesName;
    int32_t seriesFirst = 0;
    int32_t seriesCount = 0;
    int32_t seriesDelay = 0;
    // Tooltip text a room record may copy in; not saved.
    std::string name;
    std::string description;

private:
    void RefreshPicture();
};

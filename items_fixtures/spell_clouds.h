#pragma once
// Things spells leave on a square: a "Dark Rift" that stands for a number of turns, and the
// clouds of smoke and tangles of roots that hide what is behind them.
//
// Rift: no own save words; its lifetime is not saved, so a rift read from a save has none
// left and goes at its next update. Smoke, Roots: value (word, kept and saved).
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

class Rift : public GameObj {
public:
    explicit Rift(int32_t lifetime);
    explicit Rift(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Dark Rift"; }
    void Destroy() override;
    // One turn less; queued for deletion once the lifetime falls below 0.
    void Update() override;

    int32_t lifetime = 0;

private:
    void RefreshPicture();
};

// A cloud of smoke: hides what is behind it and keeps a monster inside it confused longer.
class Smoke : public GameObj {
public:
    explicit Smoke(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    // Adds 10 turns to the count after which the monster's status clears.
    void MonsterEntered(GameObj* monster) override;

    int32_t value = 0;

private:
    void RefreshPicture();
};

// A tangle of roots: hides what is behind it.
class Roots : public GameObj {
public:
    explicit Roots(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();

    int32_t value = 0;

private:
    void RefreshPicture();
};

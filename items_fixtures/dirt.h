#pragma once
// "Patch of Dirt": spores planted in it grow into a mushroom after five turns; the dirt is
// then used up, unless the hero's skill 28 keeps it. Save block after the GameObj block:
// planted (word), growTurns.
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

class Dirt : public GameObj {
public:
    Dirt();
    explicit Dirt(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Patch of Dirt"; }
    void Destroy() override;
    // Plants one spore of the stack: 1; 0 when already planted or the item is not spores.
    int32_t UseItemOn(Item* item) override;
    // Spores (miscellaneous goods of kind 1).
    int32_t AcceptsItem(Item* item) override;
    // Says so and uses no turn (0).
    int32_t Activate() override;
    void Update() override;

    int32_t planted = 0;
    int32_t growTurns = 0;

private:
    void RefreshPicture();
};

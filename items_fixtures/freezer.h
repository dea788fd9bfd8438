#pragma once
// "Mini Fridge": the hero beside it may raid it; the first raid may find a potion, later
// raids find nothing. Save block after the GameObj block: raided (word, from 1.0.3 on; older
// saves give a fridge that was never raided).
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

class Freezer : public GameObj {
public:
    Freezer();
    explicit Freezer(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Mini Fridge"; }
    const char* GetActionVerb() override { return "Raid Fridge"; }
    void Destroy() override;
    // Raids only while an item hangs on the pointer; otherwise 0.
    int32_t BumpedByPlayer() override;
    // 0 unless the hero is on an orthogonal neighbour; else 1.
    int32_t Activate() override;

    int32_t raided = 0;

private:
    void RefreshPicture();
};

#pragma once
// "Statue of Zozerezevizeru": praying at it brings a quest offer, once. Save block after the
// GameObj block: available (word).
// Accepted or declined, an offer spends the statue; declining the prayer does not.
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

class Statue : public GameObj {
public:
    Statue();
    explicit Statue(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Statue of Zozerezevizeru"; }
    const char* GetActionVerb() override { return available != 0 ? "Pray" : nullptr; }
    bool IsMovable() override { return false; }
    // The quest icon while available, the used one after.
    void DrawOnMinimap(int32_t x, int32_t y, int32_t zoom) override;
    // 0 once used; otherwise the prayer question (declining keeps the statue), the offer, and 1.
    int32_t Activate() override;

    int32_t available = 1;

private:
    void RefreshPicture();
};

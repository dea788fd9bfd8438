#pragma once
// One square of the ring a protective spell raises around a creature: it blocks its square
// for a number of turns and then goes. The spell lays nine pieces around the centre and gives
// each its offset (dx, dy) from it; only the piece at (0, +1) shows the big ring picture.
// Save block after the GameObj block: the marker word. The turns and offset are not saved: a
// ring read from a save keeps the drawn offset and no turns, so it goes at its first update.
#include <cstdint>
#include <string>

#include "levels/game_obj.h"

class Level;

class RingOfProtection : public GameObj {
public:
    RingOfProtection(Level* onLevel, int32_t turns, int32_t offsetX, int32_t offsetY);
    explicit RingOfProtection(SaveReader& in);

    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    std::string GetName() override { return "Ring of Protection"; }
    const char* GetActionVerb() override { return nullptr; }
    void Destroy() override;
    void Draw(const MapView& view) override;
    // Counts the turns down; at none left the ring is queued for deletion.
    void Update() override;
    // The piece that carries the big picture (offset (0, +1)).
    bool ShowsPicture() const { return modeA == 0 && modeB == 1; }

    int32_t marker = -1;
    int32_t turnsLeft = 0;
    int32_t modeA = 0;
    int32_t modeB = 1;

private:
    void RefreshPicture();
};

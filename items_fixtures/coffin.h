#pragma once
// A coffin standing in a room as decoration; the hero beside it may open its lid. Nothing
// builds a new one: coffins come back from saves, always closed. No own save fields.
#include <cstdint>
#include <string>

#include "levels/game_obj.h"

class Coffin : public GameObj {
public:
    explicit Coffin(SaveReader& in);

    bool Save(SaveWriter& out) override { return GameObj::Save(out); }
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    std::string GetName() override { return "Coffin"; }
    const char* GetActionVerb() override { return nullptr; }
    void Destroy() override;
    // The hero on an orthogonal neighbour opens the lid (frame 1): 1; otherwise 0.
    int32_t Activate() override;
};

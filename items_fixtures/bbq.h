#pragma once
// A barbecue grill: searched once it may give a piece of food; raw steaks handed to it come
// back grilled at any time. Save block after the GameObj block: searched (word 0/1).
#include <cstdint>
#include <string>

#include "levels/game_obj.h"

class Item;

class BBQ : public GameObj {
public:
    BBQ();
    explicit BBQ(SaveReader& in);

    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    std::string GetName() override { return "BBQ"; }
    const char* GetActionVerb() override { return "Search BBQ"; }
    // Acts only while an item hangs on the cursor.
    int32_t BumpedByPlayer() override;
    int32_t Activate() override;
    // Grills "Steak", "Fresh Steak" or "Aged Steak"; 0 for anything else.
    int32_t UseItemOn(Item* item) override;

    bool searched = false;

private:
    void RefreshPicture();
};

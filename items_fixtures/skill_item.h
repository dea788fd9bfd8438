#pragma once
// A skill item: one learned ability on the hero's ability belt. It has no definition; it
// refers to the ability's record and the spell the ability casts. Using it selects the
// ability for casting with a right-click. Its save block after the Item block is the
// spell's name, or the single int32 -1 when the spell is not in the spell list.
#include <cstdint>
#include <string>

#include "items_fixtures/item.h"

struct AbilityRecord;
class Spell;

class SkillItem : public Item {
public:
    // Without an ability: no spell, no pictures, named "Bug!".
    SkillItem();
    explicit SkillItem(AbilityRecord* ability);
    // Reads the Item block, then the spell: by position in the spell list before 1.0.9,
    // else by name.
    explicit SkillItem(SaveReader& in);

    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    // With a spell: selects the ability and makes this the active item; in a tutorial,
    // reports trigger 4 with the spell's name. Always 1.
    int32_t Use() override;
    bool IsSkillItem() override { return true; }
    std::string GetItemName() const override;
    std::string GetDescription() override;

    Spell* spell = nullptr;
    AbilityRecord* ability = nullptr;

private:
    // The cursor picture is the spell's icon, the icon the shared "<ability icon>_big" sprite.
    void SetPictures();
};

// The sprite "<icon>_big" of an ability, made once from its large icon and shared by every
// skill item of an ability with that icon name. Null without an icon picture.
Sprite* GetAbilityBigIcon(const AbilityRecord* ability);

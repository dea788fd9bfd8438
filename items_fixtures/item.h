#pragma once
// Items: things that can be carried, lie on the floor or sit in a slot.
//
// Stand-in: the fields and queries other subsystems read, with neutral answers. Still
// to be built here: the item kinds' behaviour (use, equip, unequip, eat, drink), the
// tooltip texts, prices, identification, saving and the class-registry entries, and the
// tutorial reports of Item::Activate (8).
#include <cstdint>
#include <string>

#include "items_fixtures/item_db.h"
#include "levels/game_obj.h"

class Item : public GameObj {
public:
    Item();
    explicit Item(const ItemDef* definition);
    ~Item() override;

    const ItemDef* def = nullptr;
    int32_t category = 0;
    int32_t type = 0;        // 1 weapon, 2 armour, 5 food ...
    int32_t subtype = 0;
    int32_t stackable = 0;
    int32_t count = 1;
    int32_t unpaid = 0;
    int32_t artifact = 0;
    int32_t reagent = 0;     // set by generation on reagents it creates
    std::string name;
    std::string firstSound;
    std::string secondSound;

    bool IsItem() override { return true; }
    std::string GetName() override { return GetItemName(); }
    virtual bool IsArtifact() const { return artifact != 0; }
    virtual std::string GetItemName() const;
    virtual std::string GetCategoryName() const;
    virtual std::string GetTooltipDescription() const;
    virtual std::string GetGameplayInfo() const;
    // The hero uses the item; non-zero when something happened (a turn then runs).
    virtual int32_t Use();
    // The item is used on a creature (eating, drinking); non-zero when something happened.
    virtual int32_t UseOn(GameObj* target);
    virtual void OnEquip();
    virtual void OnUnequip();
    // The auto-loot switch of the item's category.
    bool IsAutoPickupEnabled() const;
};

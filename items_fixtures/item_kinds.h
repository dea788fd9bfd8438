#pragma once
// The item classes made from definitions (food, gems, mushrooms, potions, reagents, wands),
// money (Zorkmids) and miscellaneous goods (Misc). Each class saves the Item block and then
// its own fields, and registers its load constructor under its class name.
//
// Stand-in: the behaviour of each class (eating, drinking, zapping, identification, the
// tooltips and icons), opening a toolkit's window and the tutorial reports belong to later
// work.
#include <cstdint>
#include <string>

#include "items_fixtures/item.h"

class Food : public Item {
public:
    explicit Food(const ItemDef* definition);
    explicit Food(SaveReader& in);
    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    bool IsBooze() const { return def != nullptr && def->mp > 0; }
    std::string GetItemName() const override { return DefinitionName(); }
    std::string GetCategoryName() const override { return IsBooze() ? "Booze" : "Food"; }
    bool IsAutoPickupEnabled() const override;

private:
    void Finish();
};

// Classes whose save block after the Item block is the definition name alone.
#define VAULTMERE_DEFINITION_ITEM(ClassName, Word)                                        \
    class ClassName : public Item {                                                       \
    public:                                                                               \
        explicit ClassName(const ItemDef* definition);                                    \
        explicit ClassName(SaveReader& in);                                               \
        bool Save(SaveWriter& out) override;                                              \
        uint32_t GetClassHash() override;                                                 \
        int32_t GetClassIndex() override;                                                 \
        std::string GetItemName() const override { return DefinitionName(); }            \
        std::string GetCategoryName() const override { return Word; }                     \
        std::string GetTooltipDescription() const override { return DefinitionDescription(); } \
        bool IsAutoPickupEnabled() const override;                                        \
                                                                                          \
    private:                                                                              \
        void Finish();                                                                    \
    };

VAULTMERE_DEFINITION_ITEM(Gem, "Gem")
VAULTMERE_DEFINITION_ITEM(Mushroom, "Mushroom")
VAULTMERE_DEFINITION_ITEM(Potion, "Potion")
// A crafting ingredient (every definition without a kind element).
VAULTMERE_DEFINITION_ITEM(Reagent, "Reagent")
#undef VAULTMERE_DEFINITION_ITEM

class Wand : public Item {
public:
    explicit Wand(const ItemDef* definition);
    explicit Wand(SaveReader& in);
    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    std::string GetCategoryName() const override { return "Wand"; }
    std::string GetTooltipDescription() const override { return DefinitionDescription(); }
    std::string GetItemName() const override { return DefinitionName(); }
    bool IsAutoPickupEnabled() const override;
    int32_t GetWeaponLevel() override { return 0; }
    int32_t charges = 0;
};

// Money lying on the floor.
class Zorkmids : public Item {
public:
    explicit Zorkmids(int32_t amount);
    explicit Zorkmids(SaveReader& in);
    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    std::string GetItemName() const override;
    bool IsAutoPickupEnabled() const override { return true; }
    // Clicking or walking onto money collects it at once, with the "+N" floater.
    int32_t Activate() override;
    void PlayerEntered() override;
    // The icon file for the amount ("items/cash0.png" .. "items/cash5.png").
    static const char* IconFileFor(int32_t amount);
    // The pile's picture by amount: sprite "cash1" from "items/cash0.png" .. "cash6".
    void UpdateIcon();
    int32_t amount = 0;
};

// Miscellaneous goods: kind 0 lockpicks, 1 spores, 3 a quest item.
class Misc : public Item {
public:
    explicit Misc(int32_t kind);
    explicit Misc(SaveReader& in);
    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    std::string GetItemName() const override;
    int32_t GetValue() override;
    bool IsAutoPickupEnabled() const override;
    int32_t Kind() const { return subtype; }
    // The icon of the kind: lockpick, spores; none for other kinds.
    void UpdateIcon();
    std::string questItemName;
    int32_t questItemIndex = -1;
    bool questFlag = false;
};

// A crafting toolkit of one kind ("alchemy", "grinder", "ingot", "lutefisk", "smithing",
// "still", "tinkerer").
class Toolkit : public Item {
public:
    explicit Toolkit(const std::string& toolKind);
    explicit Toolkit(const ItemDef* definition);
    explicit Toolkit(SaveReader& in);
    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    std::string kind;
    int32_t Use() override;
    std::string GetItemName() const override { return DefinitionName(); }
};

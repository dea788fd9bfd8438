#pragma once
// The item classes made from definitions (food, gems, mushrooms, potions, reagents, wands),
// money (Zorkmids) and miscellaneous goods (Misc). Each class saves the Item block and then
// its own fields, and registers its load constructor under its class name.
// Food, potions and mushrooms are used up one at a time; wands spend charges and burn out.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "items_fixtures/item.h"

class QuestBlocker;
struct ToolkitWindow;

// The message box the consumables and fixtures of this subsystem show (ShowDialog unless a
// test puts a recorder here).
using ItemDialogFn = int32_t (*)(const char* text, const char* firstArt, const char* secondArt);
extern ItemDialogFn ShowItemDialog;

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
    const char* GetUseText() override;
    // Eaten or drunk by the target (see food.cpp); true when the turn is used.
    int32_t UseOn(GameObj* target, GameObj* user) override;
    int32_t Use() override;

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
// A crafting ingredient (every definition without a kind element).
VAULTMERE_DEFINITION_ITEM(Reagent, "Reagent")
#undef VAULTMERE_DEFINITION_ITEM

class Potion : public Item {
public:
    explicit Potion(const ItemDef* definition);
    explicit Potion(SaveReader& in);
    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    std::string GetItemName() const override { return DefinitionName(); }
    std::string GetCategoryName() const override { return "Potion"; }
    std::string GetTooltipDescription() const override { return DefinitionDescription(); }
    std::string GetGameplayInfo() const override;
    bool IsAutoPickupEnabled() const override;
    const char* GetActionVerb() override { return "Pick Up Potion"; }
    const char* GetTooltipAction() override { return "Right Click to Drink Potion"; }
    const char* GetUseText() override;
    int32_t Use() override;
    int32_t UseOn(GameObj* target, GameObj* user) override;

private:
    void Finish();
};

class Mushroom : public Item {
public:
    explicit Mushroom(const ItemDef* definition);
    explicit Mushroom(SaveReader& in);
    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    std::string GetItemName() const override { return DefinitionName(); }
    std::string GetCategoryName() const override { return "Mushroom"; }
    std::string GetTooltipDescription() const override { return DefinitionDescription(); }
    std::string GetGameplayInfo() const override { return "mushroom gameplay info"; }
    bool IsAutoPickupEnabled() const override;
    const char* GetTooltipAction() override { return "Right Click to Eat Mushroom"; }
    int32_t Use() override;
    int32_t UseOn(GameObj* target, GameObj* user) override;

private:
    void Finish();
};

class Wand : public Item {
public:
    explicit Wand(const ItemDef* definition);
    explicit Wand(SaveReader& in);
    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    std::string GetCategoryName() const override { return "Wand"; }
    std::string GetTooltipDescription() const override { return DefinitionDescription(); }
    std::string GetDescription() override { return DefinitionDescription(); }
    // "<name> [N charges left]"; an unlimited wand shows no bracket.
    std::string GetItemName() const override;
    bool IsAutoPickupEnabled() const override;
    int32_t GetWeaponLevel() override { return 0; }
    // Makes the wand the active item (a right-click zaps it); false.
    int32_t Use() override;
    // Zaps at a creature: 1 when zapped (or handed to a shopkeeper's offer), 0 when refused.
    int32_t UseOn(GameObj* target, GameObj* user) override;
    // Zaps at a square: every zap spends a charge; 0 charges or fewer refuse.
    int32_t UseAtSquare(int32_t sx, int32_t sy, GameObj* user) override;
    // A negative mincharge or maxcharge never runs out.
    bool IsUnlimited() const;
    int32_t charges = 0;

private:
    int32_t Zap(int32_t tx, int32_t ty, GameObj* target, GameObj* user, bool atSquare);
};

// A uniformly drawn wand definition; none for an empty list.
// (PickRandomWandDef and PickRandomPotionDef are declared with the other pickers.)

// Puts the mushroom list into a new random order (a new hero): a Fisher-Yates shuffle on the
// 15-bit generator, last position first.
void ShuffleMushroomAppearances();

// The per-game order of the gem definitions (indices into ItemDefLists.all), rebuilt for a
// new hero: filled in load order, then shuffled as the mushrooms are.
extern std::vector<int32_t> ShuffledGemOrder;
void BuildShuffledItemOrder();
// The potion definitions (indices into ItemDefLists.all) not yet identified in this game.
extern std::set<int32_t> UnidentifiedPotions;
// Puts every potion definition back into the set (a new hero).
void ResetPotionSet();

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
    // The icon of the kind: lockpick, spores, a quest item's picture from the quest-item table.
    void UpdateIcon();
    // A quest item of a quest is first offered to that quest, which may take it.
    int32_t Activate() override;
    std::string questItemName;
    int32_t questItemIndex = -1;
    bool questFlag = false;
    QuestBlocker* targetShrine = nullptr;  // the shrine a quest item is to be brought to; not saved
};

// A crafting toolkit of one kind ("alchemy", "grinder", "ingot", "lutefisk", "smithing",
// "still", "tinkerer", "lathe"): using it opens the crafting panel on its tab, or toggles
// the lutefisk cube's window.
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
    // Dropping the toolkit from the cursor closes its window first.
    void PlaceOnLevel(int32_t newX, int32_t newY, Level* newLevel, int32_t flag) override;
    bool IsAutoPickupEnabled() const override;
    std::string GetItemName() const override { return def != nullptr ? def->name : std::string(); }
    // The window of this toolkit's kind, or null.
    ToolkitWindow* Window() const;

private:
    void Finish();
};

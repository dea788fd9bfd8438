#pragma once
// The kinds of item that generation and the debug backpack filler create.
//
// Stand-in: constructors that set the kind's type word, and neutral uses. Still to be
// built here: each kind's behaviour (weapons and armour with their bonuses, potions,
// mushrooms, wands with charges, food, skill items selecting their ability, toolkits
// opening their window, money), saving, and the tutorial reports (eating 3, using a
// skill item / wand / weapon 4, equipping 9, unequipping 10, drinking 13, opening a
// toolkit 14).
#include <cstdint>
#include <string>

#include "items_fixtures/item.h"

class Weapon : public Item {
public:
    explicit Weapon(const ItemDef* definition);
    int32_t baseDamage[16] = {};
    int32_t bonusA = 0;
    int32_t bonusB = 0;
};

class Armour : public Item {
public:
    explicit Armour(const ItemDef* definition);
};

class Potion : public Item {
public:
    explicit Potion(const ItemDef* definition);
};

class Mushroom : public Item {
public:
    explicit Mushroom(const ItemDef* definition);
};

class Wand : public Item {
public:
    explicit Wand(const ItemDef* definition);
};

class Food : public Item {
public:
    explicit Food(const ItemDef* definition);
};

class Gem : public Item {
public:
    explicit Gem(const ItemDef* definition);
};

// A crafting ingredient (every definition without a kind element).
class Reagent : public Item {
public:
    explicit Reagent(const ItemDef* definition);
};

// Miscellaneous goods; kind 0 is lockpicks, 1 spores.
class Misc : public Item {
public:
    explicit Misc(int32_t kind);
    int32_t kind = 0;
};

// Money.
class Zorkmids : public Item {
public:
    explicit Zorkmids(int32_t amount);
};

// An item that carries a skill's ability.
class SkillItem : public Item {
public:
    SkillItem();
    int32_t Use() override;
};

// A crafting toolkit of one kind ("alchemy", "grinder", "ingot", "lutefisk", "smithing",
// "still", "tinkerer").
class Toolkit : public Item {
public:
    explicit Toolkit(const std::string& toolKind);
    explicit Toolkit(const ItemDef* definition);
    std::string kind;
    int32_t Use() override;
};

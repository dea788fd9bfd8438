#pragma once
// The item database ("itemDB.xml"): one ItemDef per kind of item, the lists generation and
// the shops draw from, the per-level buckets of weapons and armour, the item powers and the
// toolkit layouts. Every file of the base game, the expansions and the mods feeds the same
// tables; the records live until the process exits.
#include <cstdint>
#include <string>
#include <vector>

class Sprite;

#include "creatures/buff.h"
#include "creatures/damage_type.h"

class Item;
class Spell;

// Item categories: the kind element of a definition (6 and 10 have no definitions).
enum ItemCategory : int32_t {
    kItemWeapon = 1,
    kItemArmour = 2,
    kItemPotion = 3,
    kItemWand = 4,
    kItemFood = 5,
    kItemMisc = 6,
    kItemGem = 7,
    kItemMushroom = 8,
    kItemReagent = 9,
    kItemZorkmids = 10,
    kItemToolkit = 11,
    kItemTrap = 12,
};

// Weapon classes (`item` type of a weapon definition).
enum WeaponClass : int32_t {
    kWeaponSword = 0,
    kWeaponAxe = 1,
    kWeaponMace = 2,
    kWeaponStaff = 3,
    kWeaponCrossbow = 4,
    kWeaponThrowing = 5,
    kWeaponAmmunition = 6,
};

// Armour slot words of `armour` type.
enum ArmourSlot : int32_t {
    kArmourChest = 0,
    kArmourShield = 1,
    kArmourRing = 3,
    kArmourHead = 5,
    kArmourNeck = 6,
    kArmourFeet = 7,
    kArmourWaist = 9,
    kArmourHands = 10,
    kArmourLegs = 11,
    kArmourSleeve = 12,  // fits no equipment slot
};

constexpr int32_t kItemLevelBuckets = 20;

// One of the twelve effect hooks of a definition (a spell fired on an event).
struct ItemEffectSlot {
    Spell* spell = nullptr;
    int32_t percentage = 100;
    std::string taxa;
    int32_t after = 0;  // read for the target-hit hook only
};

// The screen layout of one crafting toolkit (`toolkit` element); each gets a toolkit window
// (items_fixtures/toolkit_windows.h), which loads the pictures it shows.
struct ToolkitLayout {
    int32_t numSlots = 0;
    std::string tag;
    std::string sound;
    std::string missing;
    std::string present;
    std::string active;
    int32_t slots[4][4] = {};  // x1, x2, y1, y2 of slots 1..4
    int32_t output[4] = {};    // x1, y1, x2, y2
    std::string bg;
    std::string craftButton;
    std::string recipeButton;
    std::string autofillButton;
    int32_t autofillButtonPos[2] = {};
    int32_t craftButtonPos[2] = {};
    int32_t closePos[2] = {};
    int32_t recipeButtonPos[2] = {};
};

// A power an artifact may carry and an anvil may grant (`power` element).
struct ItemPowerRecord {
    std::string name;
    std::string description;
    std::string spellName;
    Spell* spell = nullptr;
};

struct ItemDef {
    std::string name;
    std::string description;
    std::string iconFile;
    std::string overrideClassName;
    int32_t index = 0;
    int32_t iconNo = 0;
    // The icon sprites of the items made from this record, kept while the sprite table's
    // generation stays the same.
    mutable Sprite* iconSprite = nullptr;
    mutable Sprite* cursorSprite = nullptr;
    mutable unsigned iconGeneration = 0;
    int32_t category = kItemReagent;
    int32_t price = 0;
    int32_t maxStack = 0;
    bool craftOutput = false;
    bool artifact = false;
    bool generated = false;  // a unique artifact has been handed out
    bool special = false;
    bool alchemical = false;
    bool debug = false;
    int32_t quality = 0;
    int32_t slot = 0;
    int32_t itemClass = 0;
    int32_t level = 0;
    int32_t randoms = 1;
    ItemEffectSlot targetHit;
    ItemEffectSlot targetKill;
    ItemEffectSlot playerHit;
    ItemEffectSlot thrownHook;
    ItemEffectSlot crossbowShot;
    ItemEffectSlot dodge;
    ItemEffectSlot counter;
    ItemEffectSlot block;
    ItemEffectSlot critical;
    ItemEffectSlot food;
    ItemEffectSlot booze;
    ItemEffectSlot consumable;
    int32_t damage[kDamageTypeCount] = {};
    bool canTargetFloor = false;
    int32_t ac = 0;
    int32_t dodgeBonus = 0;
    int32_t resistBonus = 0;
    int32_t resist[kDamageTypeCount] = {};
    std::string worthlessName;
    int32_t mp = 0;
    int32_t hp = 0;
    bool meat = false;
    int32_t secondary[kSecondaryStatCount] = {};
    int32_t primary[kPrimaryStatCount] = {};
    std::string thrown;
    std::string hitSpellName;
    Spell* hitSpell = nullptr;
    Spell* spell = nullptr;
    std::string spellName;
    int32_t minCharge = 1;
    int32_t maxCharge = 10;
    ToolkitLayout* toolkitLayout = nullptr;
    int32_t trapTrigger = 2;
    int32_t trapMount = 2;
    int32_t trapFacing = 0;
    std::string trapSpellName;
    int32_t trapCharges = 0;
    std::string trapOrigin;
};

// The tables of the database. The lists hold records of `all`, which owns them.
struct ItemDefListSet {
    std::vector<ItemDef*> all;  // load order
    std::vector<ItemDef*> weapons;
    std::vector<ItemDef*> ammunition;  // class 6, not special
    std::vector<ItemDef*> armour;
    std::vector<ItemDef*> potions;
    std::vector<ItemDef*> wands;
    std::vector<ItemDef*> food;
    std::vector<ItemDef*> gems;
    std::vector<ItemDef*> mushrooms;
    std::vector<ItemDef*> toolkits;
    std::vector<ItemDef*> traps;
    std::vector<ItemDef*> alchemical;
    std::vector<ItemDef*> reagents;  // category 9
    std::vector<ItemPowerRecord*> powers;
    std::vector<ToolkitLayout*> toolkitLayouts;
    std::vector<ItemDef*> weaponBuckets[kItemLevelBuckets];
    std::vector<ItemDef*> armourBuckets[kItemLevelBuckets];
};
extern ItemDefListSet ItemDefLists;

// Reads one item file of the virtual file system into the tables; a missing file is
// skipped. A parse error prints the file, line and column; what was read before it stays.
void itemDBLoad(const char* file);
// The same from text in memory (`file` names it in diagnostics); false on a parse error.
bool itemDBLoadText(const std::string& text, const char* file);
// Sorts the weapons and armour into the level buckets (after every item file and mod).
void BuildItemLevelTables();
// Frees every record (the tables start empty again).
void ClearItemDB();

// The first record of that exact name, or null.
ItemDef* FindItemDefByName(const std::string& name);
// The record at a load-order position, or null outside the list.
ItemDef* ItemDefAt(int32_t index);
// The first item power of that exact name, or null.
ItemPowerRecord* FindItemPowerByName(const std::string& name);

// Forgets every identified item kind (new game, tutorial start).
void ResetKnownItemTypes();
// Makes every unique artifact available again (a new game).
void ResetGeneratedArtifacts();

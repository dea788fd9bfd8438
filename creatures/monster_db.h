#pragma once
// The monster database ("monDB.xml"): one record per kind of monster, read at start-up
// from the game, expansion and mod files into one ordered table that lives until exit.
// A `monster` element nested in another makes a record that starts as a copy of what
// the enclosing one had set so far.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "creatures/damage_type.h"

class Spell;
struct SpeechProfile;

// A spell a monster's attack may set off: one chance in `oneChanceIn` (0 never fires).
struct OnHitSpell {
    std::string spell;
    int32_t oneChanceIn = 0;
};

// Sprite directions in the order each record field keeps them.
struct MonsterRecord {
    int32_t recordIndex = 0;
    int32_t special = 0;
    std::string name;
    std::string parentName;
    std::string displayName;
    std::string taxa = "Other";
    std::string splat = "blood";
    std::string infoText;
    std::string latinName;
    int32_t type = 0;
    int32_t subtype = 0;
    std::string idleSprite[4];    // right, left, up, down
    std::string dieSprite;
    std::string attackSprite[4];  // up, right, down, left
    std::string beamSprite[4];    // right, left, up, down
    std::string castSpellSprite;
    std::string hitSprite[4];     // left, right, up, down
    std::string paletteName;
    std::string attackSound;
    std::string hitSound;
    std::string dieSound;
    std::string spellSound;
    std::string eatSprite;
    std::string drinkSprite;
    std::string vanishSprite;
    std::string longidleSprite;
    std::string levelupMSprite;
    std::string levelupFSprite;
    int32_t terrain = 0;  // 1: a swimmer, placed only on liquid
    int32_t tint = 0;     // not 0: each monster gets a random hue shift
    int32_t damage[kDamageTypeCount] = {};
    int32_t ac = 0;
    int32_t resistances[kDamageTypeCount] = {};
    int32_t numFig = 0;
    int32_t numWiz = 0;
    int32_t numRog = 0;
    int32_t secondaryBuffs[kSecondaryStatCount] = {};
    int32_t primaryBuffs[kPrimaryStatCount] = {};
    int32_t xpValue = 0;
    int32_t aggressiveness = 7;
    int32_t spellPercentage = 5;
    int32_t stealPercentage = 0;
    int32_t span = 15;
    int32_t corpseTimer = 0;
    int32_t tiny = 1;
    bool cancharm = true;
    bool canstun = true;
    int32_t steal = 0;
    int32_t zomby = 0;
    std::vector<Spell*> spells;
    std::vector<OnHitSpell> onHitSpells;
    int32_t level = 0;
    SpeechProfile* speechProfile = nullptr;
    bool invisible = false;
    bool chicken = false;

    // A record with the defaults (the corpse timer from the tuning value "corpse time"
    // and the first speech profile).
    static MonsterRecord* CreateDefault();
};

// Every record, in the order the records closed. Owned.
extern std::vector<MonsterRecord*> MonsterTable;

// Appends the records of one file; a missing file does nothing.
void monDBLoad(const char* file);
// The same for text in memory; false on a parse error (the records read before it stay).
bool monDBLoadFromText(const char* text, size_t length, const char* file);
// First record in table order whose name (display name) equals the text exactly, or null.
MonsterRecord* monDBFindByName(const char* name);
MonsterRecord* monDBFindByDisplayName(const char* displayName);
void ClearMonsterDB();

#pragma once
// A timed or lasting effect on a creature: statistic, damage and resistance modifiers, a
// duration, behaviour flags, texts and icons, an optional halo and twelve on-event spell
// hooks. Templates come from the spell database and are copied onto creatures; the
// creature's list and the applying of the modifiers belong to Hittable. Buffs on the hero
// are saved with the game in the format of Write.
#include <cstdint>
#include <string>

#include "core/save_stream.h"
#include "creatures/damage_type.h"
#include "media/bob.h"

class Item;
class Spell;
class Sprite;

// An on-event spell hook: the spell (null when unset), the chance in percent and the
// taxon the hook is limited to ("" for every creature).
struct BuffHook {
    Spell* spell = nullptr;
    int32_t percentage = 100;
    std::string taxa;
};

// A Bob that copies its animation state (sprite, frame, timer and flags) but never its
// links to level squares, so that buffs can be copied member by member.
class CopyableBob : public Bob {
public:
    CopyableBob() = default;
    CopyableBob(const CopyableBob& other) : Bob() { CopyState(other); }
    CopyableBob& operator=(const CopyableBob& other) {
        if (this != &other) CopyState(other);
        return *this;
    }

private:
    void CopyState(const CopyableBob& other);
};

class Buff {
public:
    explicit Buff(const std::string& buffName = "", const std::string& iconFile = "");
    // Reads one buff written by Write; hook spells are found again by name (null when the
    // spell database no longer holds them).
    explicit Buff(SaveReader& in);
    Buff(const Buff&) = default;
    Buff& operator=(const Buff&) = default;
    virtual ~Buff();

    // Writes the buff; true only when every write succeeded.
    bool Write(SaveWriter& out) const;

    Sprite* halo = nullptr;  // not saved
    CopyableBob haloBob;
    int32_t secondaryMods[kSecondaryStatCount] = {};
    int32_t primaryMods[kPrimaryStatCount] = {};
    bool fromItem = false;
    bool hideTurns = false;
    bool expired = false;
    Item* item = nullptr;  // the granting item while fromItem; not saved
    BuffHook targetHitEffect;
    bool targetHitAfter = false;
    bool extraFlag = false;
    BuffHook playerHitEffect;
    BuffHook targetKill;
    BuffHook thrown;
    BuffHook crossbowShot;
    BuffHook dodgeHook;
    BuffHook counterHook;
    BuffHook blockHook;
    BuffHook criticalHook;
    BuffHook foodHook;
    BuffHook boozeHook;
    BuffHook consumableHook;
    int32_t multiBuff = 0;
    bool removable = false;
    bool applyToPlayer = true;
    bool frozenTimer = false;
    bool isArtifactBuff = false;
    bool allowStacking = true;
    bool bad = false;
    int32_t stackSize = 0;
    int32_t brittle = 0;
    int32_t attacks = 0;
    int32_t manaUpkeep = 0;
    int32_t upkeepCounter = 0;
    std::string name;
    std::string description;
    std::string gameplayText;
    bool invisible = false;
    bool mute = false;
    bool extraFlag2 = false;
    int32_t destroyOnMove = 0;
    bool usesTimer = true;
    bool isPolymorph = false;
    std::string polymorphName;
    int32_t damage[kDamageTypeCount] = {};
    int32_t resist[kDamageTypeCount] = {};
    bool self = true;
    bool digglegod = false;
    std::string extraText;
    int32_t turnsLeft = 0;
    int32_t displayCount = 0;
    std::string icon;
    std::string smallIcon;
    Sprite* iconSprite = nullptr;       // owned by the sprite table
    Sprite* smallIconSprite = nullptr;  // owned by the sprite table

    // Loads iconSprite and smallIconSprite for the icon files that are not empty.
    void LoadIconSprites();
};

// Two buffs are of one kind when their names and icon files agree: a non-stacking buff
// replaces only its own kind, and a stack limit counts only its own kind. (The icon sprite
// may be null for buffs without an icon, so it cannot tell kinds apart.)
bool SameBuffKind(const Buff& a, const Buff& b);

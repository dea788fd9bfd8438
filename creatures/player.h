#pragma once
// The hero.
//
// Stand-in: the fields other subsystems read and write, with operations that only keep
// those fields consistent. The animation set by gender is loaded and the idle animation
// shown. Still to be built here: saving, the load constructor and the class-registry
// entry, playing the walk, hit, attack, cast and death animations, the walking Bob,
// experience and level-ups with their sound, animation and
// dialog, the starting kit of the chosen skills, path walking with footsteps, sleeping,
// digesting, polymorph animations, summons, and the crafting lists.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "creatures/hittable.h"

class Level;
class Item;
class Armour;
class Weapon;
class Sprite;
class Bob;
class Monster;

constexpr int32_t kBuildSkillCount = 7;
constexpr int32_t kBeltSlotCount = 9;
// Equipment slot numbers, as the items' FitsEquipSlot numbers them.
constexpr int32_t kEquipSlotCount = 12;
enum EquipSlot : int32_t {
    kSlotChest = 0,
    kSlotSecondHand = 1,
    kSlotFirstHand = 2,
    kSlotFirstRing = 3,
    kSlotSecondRing = 4,
    kSlotHead = 5,
    kSlotNeck = 6,
    kSlotFeet = 7,
    kSlotAmmunition = 8,
    kSlotWaist = 9,
    kSlotHands = 10,
    kSlotLegs = 11,
};
constexpr int32_t kNoRoom = 255;

// The hero's animations, one sprite each (heroAnimations).
enum HeroAnim : int32_t {
    kHeroSleep,
    kHeroIdleUp, kHeroIdleDown, kHeroIdleLeft, kHeroIdleRight,
    kHeroHitUp, kHeroHitDown, kHeroHitLeft, kHeroHitRight,
    kHeroWalkUp, kHeroWalkDown, kHeroWalkLeft, kHeroWalkRight,
    kHeroLongIdle,
    kHeroWandWaveR, kHeroWandWaveL,
    // Seven weapon groups (sword, axe, mace, staff, bow, thrown, unarmed), each with the
    // attacks left, right, front (down) and back (up).
    kHeroAttackFirst,
    kHeroReadScroll = kHeroAttackFirst + 28,
    kHeroLevelUp, kHeroDrink, kHeroEat,
    kHeroCastDown, kHeroCastUp, kHeroCastLeft, kHeroCastRight,
    kHeroDieR, kHeroDieL, kHeroPoisonR, kHeroPoisonL,
    kHeroDisintegratedL, kHeroDisintegratedR, kHeroVanishR,
    kHeroAnimCount
};
constexpr int32_t kHeroWeaponGroups = 7;
// The attack of a weapon group (0 sword .. 6 unarmed) toward a side (0 left, 1 right,
// 2 front, 3 back).
constexpr int32_t HeroAttackAnim(int32_t group, int32_t side) {
    return kHeroAttackFirst + group * 4 + side;
}
// Sprite-table name and file of one hero animation for a gender.
struct HeroAnimSource {
    std::string name;
    std::string file;
};
HeroAnimSource GetHeroAnimSource(int32_t anim, bool female);

class Player;

// Skill code whose first slot with a non-zero level widens the sight radius.
constexpr int32_t kFarSightSkillCode = 25;
constexpr int32_t kFarSightRadius = 7;

// Sight radius of the hero: 7 when the first of its seven skill slots that holds skill code
// 25 has a non-zero level, else 5; plus the sight bonus of every active buff. 5 without a
// hero. May be below 1.
int32_t ComputeSightRadius(const Player* hero);

class Player : public Hittable {
public:
    Player();
    ~Player() override;

    int32_t difficulty = 1;      // 0 easy, 1 medium, 2 hard
    int32_t permadeath = 1;
    int32_t quickie = 0;         // 75x75 levels and fewer goods
    int32_t extendedContent = 0; // last depth 14 instead of 9
    int32_t extraOption = 0;     // the further option of the difficulty screen
    int32_t randomBuild = 1;
    int32_t lastBuild = 0;
    int32_t female = 0;
    std::string name = "Random Hero";
    std::string saveName;
    int32_t skills[kBuildSkillCount] = {0, 1, 2, 3, 4, 5, 6};  // chosen skill ids
    int32_t skillLevels[kBuildSkillCount] = {0, 0, 0, 0, 0, 0, 0};
    std::vector<int32_t> skillList;              // skill indices chosen at creation
    // dead, x, y, offsetX and offsetY come from the bases.
    int32_t wanderingMonsterTurns = 0;
    int32_t facing = 0;          // 0 down, 1 left, 2 up, 3 right
    int32_t level = 1;           // the hero's level (the Level it stands on is GameObj::level)
    int32_t levelUpPoints = 0;
    int32_t experience = 0;      // toward the next level

    // Animation set of the embedded picture (sprites owned by the sprite table), filled
    // by LoadAnimations.
    Sprite* heroAnimations[kHeroAnimCount] = {};
    Bob glowBob;                 // the hero glow, the hero's second picture
    Bob* walkingBob = nullptr;   // linked into the squares a walk crosses

    int32_t sleepTurns = 0;
    int32_t skipTurns = 0;
    int32_t liquidCrossing = 0;  // above 0 while the hero may cross liquids
    uint8_t currentRoom = kNoRoom;
    uint8_t lastDiscoveredRoom = kNoRoom;
    int32_t zooMonsterCount = 0;
    int32_t polymorphed = 0;
    Item* beltSlots[kBeltSlotCount] = {};
    Item* skillBarSlots[kBeltSlotCount] = {};
    // The worn and wielded items, kept in the order first hand, second hand, torso, second
    // ring, first ring, shoes, head, amulet, ammunition, belt, gloves, pants. That order is not
    // the slot numbering: reach them through EquippedAt and the role accessors.
    Item* equipSlots[kEquipSlotCount] = {};
    Item* reference19 = nullptr;
    int32_t gold = 0;  // zorkmids carried  // the further carried item the shop checks look at
    // Typed references set while a piece is equipped.
    Armour* torsoArmour = nullptr;
    Armour* firstHandShield = nullptr;
    Armour* secondHandShield = nullptr;
    Armour* headArmour = nullptr;
    Armour* shoes = nullptr;
    Armour* beltArmour = nullptr;
    Armour* gloves = nullptr;
    Armour* pants = nullptr;
    Weapon* firstHandWeapon = nullptr;
    Weapon* secondHandWeapon = nullptr;
    Weapon* crossbow = nullptr;
    // The equipSlots entry of a slot number 0..11; every other number gives a scratch entry
    // that is always emptied first.
    Item*& EquippedAt(int32_t slot);
    Item* FirstHand() { return EquippedAt(kSlotFirstHand); }
    Item* SecondHand() { return EquippedAt(kSlotSecondHand); }
    Item* Torso() { return EquippedAt(kSlotChest); }
    Item* FirstRing() { return EquippedAt(kSlotFirstRing); }
    Item* SecondRing() { return EquippedAt(kSlotSecondRing); }
    Item* Head() { return EquippedAt(kSlotHead); }
    Item* Amulet() { return EquippedAt(kSlotNeck); }
    Item* Shoes() { return EquippedAt(kSlotFeet); }
    Item* Ammunition() { return EquippedAt(kSlotAmmunition); }
    Item* Belt() { return EquippedAt(kSlotWaist); }
    Item* Gloves() { return EquippedAt(kSlotHands); }
    Item* Pants() { return EquippedAt(kSlotLegs); }
    // Clears every equipment entry and typed reference that names the object.
    void ForgetEquipped(const void* object);
    int32_t walkInterrupted = 0;
    int32_t stopWalking = 0;
    std::vector<std::pair<int32_t, int32_t>> path;  // squares still to walk
    std::vector<Monster*> summons;                 // creatures the hero summoned (not owned)

    // The hero's own placement on a level square.
    void PlaceOnLevel(int32_t px, int32_t py, Level* onLevel, int32_t flag) override;
    bool IsPlayer() override { return true; }
    int32_t SightRadius() override { return ComputeSightRadius(this); }
    bool CrossesLiquid() override { return liquidCrossing > 0; }
    std::string GetName() override { return name; }
    std::string GetTitle() const { return "Adventurer"; }
    void GiveStartingKit(Player* hero);
    // Loads the animation set of the hero's gender ("sprites/hero/<stem>.spr" or
    // "sprites/fhero/<stem>.xml") into hero (this hero when null) and shows the idle
    // animation.
    void LoadAnimations(Player* hero);
    // The idle animation of the facing (down for a facing out of range); null before the
    // set is loaded.
    Sprite* IdleSpriteForFacing() const;
    // The animation shown after a long time without input.
    Sprite* LongIdleSprite() const { return heroAnimations[kHeroLongIdle]; }
    void LoadPolymorphAnimations();

    // With amount 0 only checks for a level-up. Never re-enters itself.
    void AddExperience(int32_t amount, int32_t source);
    // The level of the first of the seven slots that holds the skill id; 0 when none does.
    int32_t GetSkillLevel(int32_t skillId) const;
    void LevelUp();
    void InterruptWalk();
    bool IsDigesting() const;
    void Digest();
    void PassSkippedTurns();
    // Unless dead: the idle animation of the facing, looping.
    void SetIdleAnimation();
    void Sleep();
    void WalkPathTo(int32_t tx, int32_t ty);
    void RefreshCraftableRecipes();

    Level* owningLevel = nullptr;

    // ---- damage and fighting (player_damage.cpp, player_attack.cpp)
    // Every loss of health ends here: warnings, a splat, the cause of death, brittle buffs and
    // death. 0 when the hero was already dead, else 1.
    int32_t ApplyDamage(int32_t amount, const std::string& cause, int32_t damageType, int32_t unused) override;
    // ApplyDamage without the source.
    int32_t TakeDamage(int32_t amount, GameObj* source, const std::string& cause, int32_t damageType,
                       int32_t unused) override;
    // The hero's melee strikes at a monster on an orthogonal neighbour square (one per combo).
    int32_t AttackMonster(Monster* monster);
    // Throws one piece of the stack at the monster.
    void ThrowWeaponAt(Monster* target, Item* stack);
    std::string deathCause;  // completes "killed ..."

private:
    bool addingExperience = false;
};

// The one hero of the running game; null between games.
extern Player* CurrentPlayer;

// Set when the final boss dies.
extern bool VictoryFlag;

// After a load, puts the hero's summoned monsters of the current level back into its set.
void RelinkPlayerSummons();

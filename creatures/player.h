#pragma once
// The hero: the one Hittable the user steers. Its statistics are derived from the seven
// chosen skills (player_stats.cpp), it walks, sleeps and drowns (player_walk.cpp), keeps
// its buffs and regenerates each turn (player_upkeep.cpp), acts on squares and takes
// creature forms (player_actions.cpp), starts with a kit (starting_kit.cpp) and is saved
// whole with the game (player_save.cpp).
//
#include <cstdint>
#include <string>
#include <climits>
#include <set>
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

class SkillItem;
struct MonsterRecord;

// A skill slot that holds no skill.
constexpr int32_t kNoSkillId = INT32_MIN;
// The highest skill level a save may hold: far above what fifty levels of experience and the
// debug keys give, low enough that the statistics computed from the levels stay in range.
constexpr int32_t kMaxSavedSkillLevel = 1000;
// The crafting tool types (alchemy, still, grinder, ingot, tinkerer, smithing, lathe).
constexpr int32_t kToolTypeCount = 7;

class Player : public Hittable {
public:
    Player();
    // Reads a hero written by Save; sets CurrentPlayer to it before the cursor item is read.
    explicit Player(SaveReader& in);
    ~Player() override;

    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;

    int32_t difficulty = 1;      // 0 easy, 1 medium, 2 hard
    int32_t permadeath = 0;      // death deletes the save; the difficulty screen ticks it
    int32_t quickie = 0;         // 75x75 levels, fewer goods, doubled experience
    int32_t extendedContent = 0; // last depth 14 instead of 9
    int32_t extraOption = 0;     // the further option of the difficulty screen
    int32_t randomBuild = 1;
    int32_t lastBuild = 0;
    int32_t female = 0;
    std::string name = "Random Hero";
    std::string saveName;
    int32_t skillIds[kBuildSkillCount];  // chosen skill ids (kNoSkillId when a slot is empty)
    int32_t skillLevels[kBuildSkillCount] = {0, 0, 0, 0, 0, 0, 0};
    std::vector<int32_t> skillList;              // skill indices chosen at creation
    // dead, x, y, offsetX and offsetY come from the bases.
    int32_t wanderingMonsterTurns = 0;
    int32_t facing = 0;          // 0 down, 1 left, 2 up, 3 right
    // Adds money to the purse, which never holds more than a save may (kMaxSavedZorkmids).
    void GainZorkmids(int32_t amount);
    int32_t level = 0;           // the hero's level (the Level it stands on is GameObj::level)
    int32_t skillPoints = 0;     // level-ups not yet spent on skills
    int32_t experience = 0;      // toward the next level
    int32_t lifetimeExperience = 0;
    int32_t score = 0;
    int32_t zorkmids = 0;        // money carried
    int32_t meleeSkillDamage[kDamageTypeCount] = {};
    int32_t rangedSkillDamage[kDamageTypeCount] = {};
    int32_t anvilUses = 0;
    int32_t lutefiskTithe = 0;
    int32_t invisibleTurns = 0;  // consecutive turns with an invisibility buff; not saved
    int32_t healthRegenCounter = 0;
    int32_t manaRegenCounter = 0;
    uint8_t zooState = 0;
    int32_t levelChangeCleared = 0;  // zeroed on every level change; kept for the save format
    std::string deathCause;  // completes "killed ..."
    // Per tool type: the recipe indices the hero knows, and those it can make now (rebuilt).
    std::vector<int32_t> knownRecipes[kToolTypeCount];
    std::vector<int32_t> craftableRecipes[kToolTypeCount];

    // Animation set of the embedded picture (sprites owned by the sprite table), filled
    // by LoadAnimations.
    Sprite* heroAnimations[kHeroAnimCount] = {};
    Bob glowBob;                 // the hero glow, the hero's second picture
    // The destination mark: linked to the square a walk along a path heads for while the
    // walk lasts (the level draws it there).
    Bob walkingBob;

    int32_t sleepTurns = 0;
    int32_t skipTurns = 0;
    int32_t waterWalkTurns = 0;  // above 0 while the hero may cross liquids
    uint8_t currentRoom = kNoRoom;
    uint8_t lastDiscoveredRoom = kNoRoom;
    int32_t zooMonsterCount = 0;
    int32_t isPolymorphed = 0;
    const MonsterRecord* polymorphForm = nullptr;
    int32_t polymorphTurns = 0;
    Item* quickSlots[kBeltSlotCount] = {};
    // The ability belt (skill items, owned), and the hero's own belt while polymorphed.
    Item* abilitySlots[kBeltSlotCount] = {};
    Item* stashedAbilitySlots[kBeltSlotCount] = {};
    // The worn and wielded items, kept in the order first hand, second hand, torso, second
    // ring, first ring, shoes, head, amulet, ammunition, belt, gloves, pants. That order is not
    // the slot numbering: reach them through EquippedAt and the role accessors.
    Item* equipSlots[kEquipSlotCount] = {};
    Item* reference19 = nullptr;
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
    // Creatures the hero summoned (not owned), in the order they joined: allies are defended
    // in that order, the same in every run.
    std::vector<Monster*> summonedCreatures;

    // The hero's own placement on a level square.
    void PlaceOnLevel(int32_t px, int32_t py, Level* onLevel, int32_t flag) override;
    // Raised over the water-walking ripple while water walking; see-through while any buff
    // makes the hero invisible (player_draw.cpp).
    void DrawBody(const MapView& view) override;
    // The hero's minimap mark (by gender) for the zoom index, top-left corner at (x, y).
    void DrawOnMinimap(int32_t x, int32_t y, int32_t zoom) override;
    bool IsPlayer() override { return true; }
    int32_t SightRadius() override { return ComputeSightRadius(this); }
    bool CrossesLiquid() override { return waterWalkTurns > 0; }
    std::string GetName() override { return name; }
    std::string GetTitle() const { return "Adventurer"; }

    // Statistics and experience (player_stats.cpp).
    void RecalculateStats() override;
    // Quick games double the amount; with amount 0 only checks for a level-up. At most one
    // level per call, never past the last entry of the experience table.
    void AddExperience(int32_t amount, int32_t source);
    // The level of the first of the seven slots that holds the skill id; 0 when none does.
    int32_t GetSkillLevel(int32_t skillId) const;
    // Every change of a skill level goes through here: the held weapons' mastery bonuses
    // follow the new level at once (and the statistics with them), so that what taking a
    // weapon off or loading the hero later counts is what was added. A slot outside 0..6 is
    // ignored.
    void SetSkillLevel(int32_t slot, int32_t newLevel);
    void LevelUp();

    // Starting kit (starting_kit.cpp): the chosen skills (exactly seven), their items, a
    // torso garment, provisions, full health and mana and the abilities on the belt. The
    // argument is ignored (the kit always goes to this hero).
    void GiveStartingKit(Player* hero = nullptr);
    // Armour definitions through GiveArmourByName, everything else through GiveWeaponByName.
    void GiveEquipmentByName(const std::string& definitionName);

    // Animation and movement (player_walk.cpp).
    // Loads the animation set of the hero's gender ("sprites/hero/<stem>.spr" or
    // "sprites/fhero/<stem>.xml") into hero (this hero when null) and shows the idle
    // animation.
    void LoadAnimations(Player* hero = nullptr);
    // The idle animation of the facing (down for a facing out of range); null before the
    // set is loaded.
    Sprite* IdleSpriteForFacing() const;
    // The animation shown after a long time without input.
    Sprite* LongIdleSprite() const { return heroAnimations[kHeroLongIdle]; }
    // Unless dead: the idle animation of the facing, looping.
    void SetIdleAnimation();
    // Unless dead or polymorphed: the hit animation of the facing, played once on the hero's
    // picture (the turn's return to idle follows it).
    void PlayHitAnimation();
    // Plays the animation once on the hero's picture, running the frame loop until it has
    // shown its last frame (which stays). Nothing without a sprite.
    void PlayAnimationToEnd(Sprite* animation);
    // The four kicks at a door, first to fourth: toward a door above, to the left, to the
    // right and below the hero. They are the unarmed ("Foot") strikes of that direction.
    // Null for an index out of range or before the set is loaded.
    Sprite* KickSprite(int32_t index) const;
    // The hero's farewell when the master of the dungeon falls: the vanish animation played
    // to its end, its last frame held (the hero has gone). Nothing without the animation.
    void PlayVictoryAnimation();
    // One square to a neighbour with the slide animation; input during the slide sets
    // walkInterrupted.
    void StepTo(int32_t tx, int32_t ty);
    // Brings a remaining slide offset to 0 frame by frame, then drops pending input.
    void SettleSlide();
    // Walks a found path, one turn a square. 0 when the walk completed; 1 when it was
    // interrupted, stopped in front of a blocked square or a visible trap, or found no path.
    int32_t WalkPathTo(int32_t tx, int32_t ty);
    void InterruptWalk();
    bool IsDigesting() const;
    void Digest();
    void PassSkippedTurns();
    void Sleep();
    // Death by drowning.
    void Drown();

    // Turn upkeep and buffs (player_upkeep.cpp).
    void Update() override;
    void UpdateBuffs() override;
    // Keeps one copy of a non-stacking buff (told apart by name and icon) and at most
    // stackSize copies of a limited one; starts a polymorph when the buff is accepted.
    void AddBuff(Buff* buff) override;
    void RemoveBuff(Buff* buff) override;
    // Sorts the buffs by name, bytewise ascending.
    void SortBuffs();

    // Actions and polymorph (player_actions.cpp).
    void ActOnSquare(int32_t sx, int32_t sy);
    std::string GetAttackSoundName();
    // Takes the creature form (a random one when null); ignored while polymorphed.
    void StartPolymorph(const MonsterRecord* form);
    void EndPolymorph();
    void LoadPolymorphAnimations();
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

private:
    bool addingExperience = false;
    // Puts the equipment read by the load constructor back into its places.
    void ReattachEquipment(Item* loaded[14]);
};

// Creates a piece of armour from the named definition and wears it where a place is free,
// else puts it in the backpack. Nothing for an unknown name.
void GiveArmourByName(const std::string& definitionName, int32_t count);
// Creates a weapon and puts it into the ammunition slot (a crossbow) or the second hand
// when free, else into the backpack.
void GiveWeaponByName(const std::string& definitionName, int32_t count);
// Creates a weapon stack for the belt (the backpack when it is a single piece or the belt
// is full).
void GiveAmmoByName(const std::string& definitionName, int32_t count);
// A lockpick is on the belt or in the backpack.
bool PlayerHasLockpick();
// Puts every ability the hero has just reached (level = skill level - 1, with a spell) on
// the first free ability-belt slot.
void AddNewAbilitiesToBelt();
// The footstep sound of the next square walked: "foot1", nothing (null), "foot2", nothing,
// round and round over every walk.
const char* TakeFootstepSound();
// Takes every invisibility buff off the hero (a wand was zapped).
void RemovePlayerInvisibility();
// After each hero attack: the buffs limited to a number of attacks lose one; a spent one
// stops acting and ends at the next buff upkeep.
void UseUpAttackBuffs();
// The hero's melee swing toward an adjacent square, then the hit sound.
void PlayerSwingAt(int32_t tx, int32_t ty, const char* hitSound);

// The one hero of the running game; null between games.
extern Player* CurrentPlayer;

// Set when the final boss dies.
extern bool VictoryFlag;

// After a load, puts the hero's summoned monsters of the current level back into its set.
void RelinkPlayerSummons();

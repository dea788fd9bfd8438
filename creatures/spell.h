#pragma once
// Spells: the records of "spellDB.xml" (Spell with its SpellEffect list and buff templates),
// the code tables built from the words of the file, the lookup by name, and the side lists
// that two fixtures read. Later files append after earlier ones.
//
// Casting (creatures/spell_cast.cpp, creatures/spell_target.cpp) picks the squares a spell
// reaches by its target type and hands each to ApplySpellEffects (creatures/spell_effects.cpp)
// and to the buff copying.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "creatures/buff.h"
#include "creatures/damage_type.h"
#include "media/bob.h"

class GameObj;
class Hittable;
class Item;
class Level;
class Player;
class Sprite;

// Target type codes of the `type` word of a spell.
namespace SpellTarget {
enum : int32_t {
    Bad = -1,
    Self = 0,
    Missile = 1,
    Adjacent = 2,
    Area = 3,
    Lockable = 4,
    TargetZombie = 5,
    Fireball = 6,
    Cone = 7,
    Target = 8,
    TargetFloor = 9,
    TargetEmptyFloor = 10,
    TargetCorpse = 11,
    TargetAdjacentCorpse = 12,
    Item = 13,
    Beam = 14,
    DiggingBeam = 15,
    BeamMissile = 16,
    Special = 17,
    KnightlyLeap = 18,
    Rook = 19,
    AdjacentWall = 20,
    TargetMonster = 21,
    Template = 23,
};
}  // namespace SpellTarget

// Effect kind given to an effect whose type word is not in the table: no kind does anything
// with it.
constexpr int32_t kUnknownEffectKind = -1;

// The code of a target-type word (exact case), -1 for any other word.
int32_t SpellTargetTypeFromWord(const char* word);
// The code of an effect-kind word (exact case), kUnknownEffectKind for any other word.
int32_t SpellEffectKindFromWord(const char* word);
// The code of an AI hint word: "self" 1, "corpse" 2, "mine" 3, "ally" 4, anything else 0.
int32_t SpellAIHintFromWord(const char* word);

struct SpellEffect {
    int32_t kind = 0;  // "damage"
    int32_t damageAmounts[kDamageTypeCount] = {};
    float damageAmountsF[kDamageTypeCount] = {};
    int32_t self = 0;
    int32_t affectscaster = 0;
    bool midas = false;
    bool burn = false;
    bool regengfx = false;
    bool transmogrify = false;
    bool requirebuff = false;
    bool isSleeping = false;
    bool affectsCorpses = true;
    bool resistable = true;
    int32_t permanent = 0;
    int32_t kickback = 0;
    int32_t turns = 0;
    int32_t percent = 100;
    int32_t amount = 0;
    float amountF = 0.0f;
    int32_t secondaryScale = 3;
    int32_t primaryScale = -1;
    std::string objectSprite;
    std::string monsterType;
    std::string spell;
    std::string name;
    std::vector<std::string> options;
    std::string taxa;
};

// The largest radius a spell may have; the database brings larger and negative ones within
// 0..kMaxSpellRadius and says so. No level is wider.
constexpr int32_t kMaxSpellRadius = 100;

class Spell {
public:
    Spell() = default;
    Spell(const Spell&) = delete;
    Spell& operator=(const Spell&) = delete;

    std::string name = "buggy spell name";
    std::string description;
    std::string monsterText;
    std::string icon = "skills/wizard/spell_air0_32.png";
    Sprite* iconSprite = nullptr;
    int32_t targetType = SpellTarget::Bad;
    std::string taxa;
    int32_t level = 0;
    float magPowBonus = 0.0f;
    float savvyBonus = 0.0f;
    int32_t multiAttack = 0;
    int32_t mp = 0;
    int32_t hp = 0;
    int32_t mincost = 0;
    int32_t radius = 0;  // 0..kMaxSpellRadius
    int32_t templateID = -1;
    int32_t anchored = 0;
    bool hasCooldown = false;
    int32_t cooldownCounter = 0;
    int32_t downtime = 0;
    int32_t wT = -1;
    int32_t skillType = 0;
    int32_t killChance = 0;
    int32_t artifacthit = 0;
    int32_t wand = 0;
    int32_t mine = 0;
    bool minePermanent = false;
    bool minesMustBeUnobstructed = true;
    int32_t mineRadius = 0;
    int32_t mineTimer = 0;
    int32_t aiHint = 0;
    bool attack = false;
    bool consumeItem = false;
    std::string consumeItemType = "any";
    bool affectOnlyHittables = false;
    std::string mineSprite;
    std::string mineSpritePNGSeries;
    int32_t mineSpritePNGFirst = 0;
    int32_t mineSpritePNGNum = 0;
    int32_t mineSpritePNGRate = 150;
    bool mineUseGlints = false;
    int32_t mineGlintDensity = 20;
    int32_t mineSpriteDrawOrder = 2;
    Sprite* mineSpriteRef = nullptr;
    Bob mineBob;
    std::string animSprite;
    bool sync = false;
    std::vector<Buff> buffTemplates;
    std::vector<SpellEffect> effects;
    int32_t animFrames = 0;
    int32_t animFramerate = 50;
    int32_t animFirstFrame = 0;
    int32_t animCenterEffect = 0;
    std::string sfx;
    std::string impactSprite;
    int32_t impactFrames = 0;
    int32_t impactFramerate = 50;
    int32_t impactCenterEffect = 1;

    int32_t castCount = 0;  // casts in the running game, saved with it

    int32_t BuffTemplateCount() const { return static_cast<int32_t>(buffTemplates.size()); }
    // The effect at an index, or null outside the list.
    const SpellEffect* EffectAt(int32_t index) const;
};

struct DiggleGodRecord {
    std::string name;
    std::string description;
    std::string art;
    std::string spell;
};

struct FountainText {
    std::string name;
    std::string text;
};

// Every spell in load order (owned); lookups and the turn engine walk only this list.
extern std::vector<Spell*> SpellList;
// Weapon skills, kept apart: no lookup searches them (owned).
extern std::vector<Spell*> WeaponSkillList;
extern std::vector<DiggleGodRecord> DiggleGodList;
extern std::vector<FountainText> FountainTextList;

// Reads one spell file and appends its records; a missing file adds nothing.
void spellDBLoad(const char* file);
// The same from text in memory; `file` names it in diagnostics. False on a parse error (the
// records read before it are kept).
bool spellDBLoadFromText(const char* text, size_t length, const char* file);
// The first spell of SpellList with exactly that name, or null.
Spell* spellDBFindByName(const char* name);
// The spell at an index of SpellList, or null outside it.
Spell* GetSpellByIndex(int32_t index);
// Sets the running cooldown of every spell to 0 (new game, tutorial).
void ResetSpellCooldowns();
// Destroys every record of the four lists.
void ClearSpellTable();

// The hero's mana cost of the spell: mp less floor(magic power x magPowBonus) less
// floor(savvy x savvyBonus), never below mincost.
int32_t GetSpellManaCost(const Spell* spell);
// Carries out a spell from the caster's square at the target square; a null caster is the
// hero. 1 when the spell was carried out.
int32_t CastSpell(Spell* spell, int32_t casterX, int32_t casterY, int32_t targetX, int32_t targetY,
                  Hittable* caster, bool fromMine, bool isDirectCast);
// CastSpell with a cause-of-death text for the effects it carries out (fixtures and room
// scripts that cast at the hero); the text holds for this cast only.
int32_t CastSpellWithCause(Spell* spell, int32_t casterX, int32_t casterY, int32_t targetX, int32_t targetY,
                           Hittable* caster, const char* cause);
// The cause of the CastSpellWithCause running now, or null.
const char* CurrentSpellCastCause();
// Carries out the effects of a spell on one square: lays its mines and runs each effect. A
// null caster is the hero; cause is the cause-of-death text (null from a cast).
void ApplySpellEffects(Spell* spell, int32_t x, int32_t y, Hittable* caster, bool fromMine, Item* targetItem,
                       const char* cause, bool isDirectCast);
// Hands copies of the spell's buff templates to the creatures standing on (x, y).
void ApplySpellBuffsAtSquare(Spell* spell, int32_t x, int32_t y, Hittable* caster);
// Hands a copy of every buff template to the caster (null: the hero).
void ApplySpellBuffsToCaster(Spell* spell, Hittable* caster);
// The extra test the hero's chosen target must pass before a cast.
bool CheckSpellTarget(const Spell* spell, int32_t casterX, int32_t casterY, int32_t targetX, int32_t targetY);
// True when the taxa is empty or names the monster's record by taxa, name or parent name.
bool MonsterMatchesTaxa(const std::string& taxa, const class Monster* monster);

// The spell the hero casts next and its target square.
extern Spell* SelectedSpell;
extern int32_t SpellTargetX;
extern int32_t SpellTargetY;
// The hero casts SelectedSpell at (SpellTargetX, SpellTargetY): mana, refusals, facing, the
// cast animation, repeats, cooldown, cast triggers and one turn.
void PlayerCastSelectedSpell();

// The hero acts on a square (a template spell without effects, a striking cast).
void HeroActsOnSquare(int32_t x, int32_t y);
// The item under the pointer for spells cast on an item (the belt slot, or the backpack cell
// while the inventory is open). The play screen's targeting sets it before a cast; while it is
// null, spells of the item target type find no item and do nothing.
extern Item* (*SpellItemUnderPointer)();

// ---- area casts (creatures/spell_target.cpp) --------------------------------------------
// The squares of each shape inside the current level, in the order they are struck.
using SquareList = std::vector<std::pair<int32_t, int32_t>>;
// Disc of squares with dx^2 + dy^2 <= radius^2.
SquareList BurstSquares(int32_t cx, int32_t cy, float radius);
// Cone from (x0, y0) toward (x1, y1): distance at most range + 1 and the cosine to the
// direction above spread; empty when the two squares are the same.
SquareList ConeSquares(int32_t x0, int32_t y0, int32_t x1, int32_t y1, float range, float spread);
// Squares with dx^2 + dy^2 < radius^2 around the centre, column by column.
SquareList AreaSquares(int32_t cx, int32_t cy, int32_t radius);
// The struck squares of the spell's maneuver template around the base square for the
// hero's facing, column by column and from the last row up; empty without a template or
// origin.
SquareList TemplateSquares(const Spell* spell, int32_t casterX, int32_t casterY, int32_t targetX, int32_t targetY,
                           int32_t facing);

// Animate the shape and then apply the spell to every covered square with the caster.
void CastBurstSpell(int32_t cx, int32_t cy, float radius, const char* file, int32_t frames, int32_t delay,
                    Spell* spell, Hittable* caster);
void CastConeSpell(int32_t x0, int32_t y0, int32_t x1, int32_t y1, float range, float spread, const char* file,
                   int32_t frames, int32_t delay, Spell* spell, Hittable* caster);
void CastBeamSpell(int32_t x0, int32_t y0, int32_t x1, int32_t y1, const char* file, int32_t frames, int32_t delay,
                   Spell* spell, Hittable* caster);

// Services of level generation that spells and fighting creatures use; levels/gen sets them
// at start-up. Unset entries do nothing (no open square found, no graphics rebuilt, the
// wandering spawner not held off).
struct SpellLevelServices {
    int32_t (*findOpenSquareNear)(int32_t* outX, int32_t* outY, int32_t x, int32_t y, Level* level) = nullptr;
    void (*rebuildGraphics)(Level* level, int32_t x0, int32_t y0, int32_t x1, int32_t y1) = nullptr;
    void (*delayMonsterSpawning)(int32_t flag) = nullptr;
};
extern SpellLevelServices SpellLevel;

// Records every CastSpell and ApplySpellEffects call while set (tests).
struct CastSpellCall {
    Spell* spell;
    int32_t casterX, casterY, targetX, targetY;
    Hittable* caster;
    bool fromMine, isDirectCast;
};
struct SpellEffectsCall {
    Spell* spell;
    int32_t x, y;
    Hittable* caster;
    bool fromMine;
    Item* targetItem;
    std::string cause;
    bool isDirectCast;
};
struct SpellCallLog {
    std::vector<CastSpellCall> casts;
    std::vector<SpellEffectsCall> effects;
};
extern SpellCallLog* SpellCallRecorder;

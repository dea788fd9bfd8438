#pragma once
// A monster on a level: a Hittable built from a monster record that it keeps for its
// whole life, with its statistics derived from the record's skill points, its save
// record, its art and drawing (monster.cpp, monster_draw.cpp), its turn and AI
// (monster_ai.cpp), and its damage, death and drops (monster_damage.cpp).
#include <cstdint>
#include <string>
#include <vector>

#include "creatures/hittable.h"

struct ItemDef;
struct MonsterRecord;
class Item;
class Level;
class QuestRecord;
class Sprite;

class Monster : public Hittable {
public:
    // statusFlags bits.
    static constexpr uint32_t kStatusConfused = 0x01;
    static constexpr uint32_t kStatusAsleep = 0x02;
    static constexpr uint32_t kStatusAfraid = 0x04;
    static constexpr uint32_t kStatusPacified = 0x08;
    static constexpr uint32_t kStatusLockedDown = 0x20;
    static constexpr uint32_t kStatusSlowed = 0x40;

    // A new monster of the record (never null).
    explicit Monster(MonsterRecord* record);
    // A monster read from a save (the class registry's factory).
    explicit Monster(SaveReader& in);
    ~Monster() override;

    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    void DrawOnMinimap(int32_t x, int32_t y, int32_t zoom) override;
    bool CanBeStunned() override;
    int32_t IsCreature() override { return 1; }
    int32_t IsMonster() override { return 1; }
    std::string GetName() override;
    void ReturnToIdle() override;
    int32_t BumpedByPlayer() override { return Activate(); }
    void Draw(const MapView& view) override;
    void DrawOverlay(const MapView& view) override;
    void HighlightNextDraw(const MapView& view) override { GameObj::HighlightNextDraw(view); }
    int32_t TakeDamage(int32_t amount, GameObj* source, const std::string& cause, int32_t a,
                       int32_t b) override;
    const char* GetActionVerb() override { return dead != 0 ? nullptr : "Attack Monster"; }
    int32_t UsesAttackCursor() override { return 1; }
    void RecalculateStats() override;
    virtual bool IsAllyTarget() { return true; }
    virtual void LoadAnimations();

    // Shows the sprites of one hue-shift variant (-1: a random one) for tinted records.
    void LoadAnimationVariant(int32_t variant);
    // Clears the timed states, loads the animations and shows the idle-down sprite (the
    // last frame of the death sprite for a corpse).
    void ResetAppearance();
    // ---- turn and AI (monster_ai.cpp)
    void Update() override;
    void TakeAllyTurn();
    // Within a squared distance of 25, a clear missile line and the monster's square in view.
    bool CanSeePlayer();
    // A melee strike at the hero or another creature, with its animation.
    void AttackCreature(Hittable* target);
    // The beam toward the hero.
    void PlayAttackAnimation();
    // True when the turn is used up.
    bool CastRandomSpell();
    void TryToSteal();
    void PlaceOnLevel(int32_t newX, int32_t newY, Level* newLevel, int32_t quiet) override;
    void AdvanceAnimation(int32_t elapsedMs) override;
    // A corpse takes mushroom spores.
    int32_t AcceptsItem(Item* item) override;
    int32_t UseItemOn(Item* item) override;
    // Orthogonal neighbours.
    bool IsAdjacentTo(const GameObj* other) const;
    std::string GetDescription() override;
    // The health sentence of the tooltip.
    std::string GetInjuryText() const;
    // The hero's melee attack on the monster (the hero's strikes are the hero's).
    int32_t Activate() override;

    // ---- death (monster_damage.cpp)
    // The death steps: the kill line, the horde's fear, statistics, experience, the corpse
    // square, drops and the final boss.
    void Die(GameObj* source);
    // Each monster within a squared distance of 25 may wake from its sleep.
    void WakeNearbyMonsters();
    bool HasStatus(uint32_t bit) const { return (statusFlags & bit) != 0; }
    // Manhattan distance to the hero exceeds the hero's trap sense: hidden while invisible.
    bool HiddenFromHero() const;

    int32_t corpseTurns = 0;
    bool deathProcessed = false;
    bool actedLastTurn = false;
    uint32_t statusFlags = 0;
    Sprite* dieSprite = nullptr;
    Sprite* idleSprites[4] = {};    // left, right, up, down
    Sprite* attackSprites[4] = {};  // right, left, up, down
    Sprite* hurtSprites[4] = {};    // right, left, up, down
    Sprite* beamSprites[4] = {};    // right, left, up, down
    Sprite* castSprite = nullptr;
    Sprite* restSprite = nullptr;
    MonsterRecord* record = nullptr;
    QuestRecord* quest = nullptr;
    Hittable* allyTarget = nullptr;
    Monster* commander = nullptr;
    std::string hordeName;
    std::vector<Monster*> hordeMembers;  // not owned
    std::string speechText;
    int32_t speechCooldown = 0;
    int32_t pacifyTurns = 0;
    bool zooMonster = false;
    bool alwaysNotices = false;
    bool insolent = false;
    bool invisible = false;
    int32_t fearTurns = 0;
    int32_t sleepTurns = 0;
    int32_t confusionTurns = 0;
    int32_t blindTurns = 0;
    int32_t xpValue = 20;
    int32_t extraWord1 = 0;
    std::vector<GameObj*> carriedItems;  // owned while the monster lives
    bool tame = false;
    int32_t tameTurns = 0;
    int32_t lockdownTurns = 0;
    bool charmedByHero = false;
    int32_t extraWord2 = 0;
    int32_t blindSight = 0;
    int32_t sproutTurns = 0;
    bool sprouts = false;
    std::string customName;
    std::string auxName;
    bool zomby = false;
    bool pacifiedByAbility = false;
    bool relentless = false;
    bool noticed = false;
    int32_t attentionTurns = 0;

private:
    // The square the corpse is moved to when the monster fell on a square where a corpse
    // cannot lie (bounded search; the monster's own square when nothing suits).
    void FindCorpseSquare(int32_t* outX, int32_t* outY) const;
    void GiveZooReward();
    // The final boss's death: its death animation, the won flag, the tune and the wait for
    // a mouse button release.
    void CelebrateFinalBoss();
    // The step toward (x + dx, y + dy): entered at once or as a pending move.
    bool TryStep(int32_t targetX, int32_t targetY);
    void ShowIdle(int32_t dx, int32_t dy);

    // Loads one sprite of the record, in its palette or in the hue variant; null for an
    // empty name.
    Sprite* RecordSprite(const std::string& name, int32_t variant) const;
    void LoadSpriteSet(int32_t variant);
    // The save block after the Hittable block; the stun, countdown and lockdown counters
    // go to `counters` (ResetAppearance clears the fields).
    void ReadBlock(SaveReader& in, int32_t counters[3]);
};

// The record a saved name finds: by name, then by display name ("Poison Golem" reads as
// "Unhealthful Golem"), then the "Diggle" fallback; null only when none of them exists.
MonsterRecord* FindRecordForSavedName(const std::string& savedName);
// The sprite "<name>_<variant>" of the sprite table, loaded from the file with that hue
// shift when missing.
Sprite* LoadHueSprite(const std::string& name, int32_t variant);
// Width in pixels of the 62-pixel health bar: trunc(max(health, 0) / maximum x 62); -1 (no
// bar) for a maximum of 0 or less.
int32_t HealthBarWidth(int32_t health, int32_t maximum);

// The armour definition of the zoo reward: one that is not special, drawn a bounded number of
// times; null (with a diagnostic) when none comes.
const ItemDef* DrawZooRewardArmour();

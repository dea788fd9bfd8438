#pragma once
// A monster on a level.
//
// Stand-in: the fields that level generation writes, and operations that change
// nothing but the obvious field. Still to be built here: saving and the class-registry
// entry, the AI inside Update (queued moves and
// deletions, ambient lines), death, combat, animations through the sprite loader with a
// hue shift, and the tutorial report of TakeDamage.
#include <cstdint>
#include <string>
#include <vector>

#include "creatures/hittable.h"

struct MonsterRecord;
class QuestRecord;
class Sprite;

class Monster : public Hittable {
public:
    // State bits set at random on spawn.
    static constexpr uint32_t kStateSleeping = 0x02;
    static constexpr uint32_t kStateSecondAI = 0x08;

    explicit Monster(MonsterRecord* record);
    ~Monster() override;

    MonsterRecord* record = nullptr;
    int32_t named = 0;
    std::string name;
    std::string armyName;
    int32_t zooMonster = 0;
    int32_t hordeMember = 0;
    QuestRecord* hordeQuest = nullptr;
    std::vector<Monster*> followers;  // the leader's followers (not owned)
    uint32_t stateBits = 0;
    Sprite* sprite = nullptr;

    virtual void LoadAnimations();
    // -1: a random variant.
    void LoadAnimationVariant(int32_t variant);
    int32_t IsMonster() override { return 1; }
    std::string GetName() override { return name; }
    int32_t TakeDamage(int32_t amount, GameObj* source, const std::string& cause, int32_t a,
                       int32_t b) override;
    // Death: no longer active, no longer blocking, dead flag set.
    void Die();
};

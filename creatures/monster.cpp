// Stand-in: what is still to be built is listed at the top of creatures/monster.h.
#include "creatures/monster.h"

Monster::Monster(MonsterRecord* monsterRecord) : record(monsterRecord) {}

Monster::~Monster() = default;

void Monster::LoadAnimations() {}

void Monster::LoadAnimationVariant(int32_t) {}

int32_t Monster::TakeDamage(int32_t amount, GameObj*, const std::string&, int32_t, int32_t) {
    if (amount <= 0 || dead) {
        return 0;
    }
    health -= amount;
    if (health <= 0) {
        health = 0;
        Die();
    }
    return amount;
}

void Monster::Die() {
    dead = 1;
    active = 0;
    blocksMovement = 0;
    blocksSight = 0;
}

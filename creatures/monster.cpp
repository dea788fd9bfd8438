#include "creatures/monster.h"

Monster::Monster(MonsterRecord* monsterRecord) : record(monsterRecord) {}

Monster::~Monster() = default;

void Monster::LoadAnimations() {}

void Monster::LoadAnimationVariant(int32_t) {}

void Monster::TakeDamage(int32_t amount, int32_t, Hittable*) {
    if (amount <= 0 || dead) {
        return;
    }
    health -= amount;
    if (health <= 0) {
        health = 0;
        dead = 1;
    }
}

// Stand-in: what is still to be built is listed at the top of creatures/player.h.
#include "creatures/player.h"

#include "creatures/experience.h"

Player* CurrentPlayer = nullptr;
bool VictoryFlag = false;

Player::Player() = default;
Player::~Player() = default;

void Player::PlaceOnLevel(int32_t px, int32_t py, Level* onLevel, int32_t flag) {
    GameObj::PlaceOnLevel(px, py, onLevel, flag);
    owningLevel = onLevel;
}

void Player::GiveStartingKit(Player*) {}

void Player::LoadAnimations(Player*) {}

void Player::LoadPolymorphAnimations() {}

void Player::AddExperience(int32_t amount, int32_t) {
    if (addingExperience) {
        return;
    }
    addingExperience = true;
    experience += amount;
    const int32_t needed = ExperienceForLevel(level);
    if (needed > 0 && experience > needed) {
        LevelUp();
        experience = 0;
    }
    addingExperience = false;
}

void Player::LevelUp() {
    ++level;
    ++levelUpPoints;
    health = maxHealth;
    mana = maxMana;
}

void Player::InterruptWalk() {
    walkInterrupted = 1;
}

bool Player::IsDigesting() const {
    return false;
}

void Player::Digest() {}

void Player::PassSkippedTurns() {
    skipTurns = 0;
}

void Player::SetIdleAnimation() {
    if (!dead) {
        currentSprite = idleSprite;
    }
}

void Player::Sleep() {
    sleepTurns = 0;
    SetIdleAnimation();
}

void Player::WalkPathTo(int32_t, int32_t) {}

void Player::RefreshCraftableRecipes() {}

void RelinkPlayerSummons() {}

#include "creatures/player.h"

Player* CurrentPlayer = nullptr;

Player::Player() = default;
Player::~Player() = default;

void Player::PlaceOnLevel(int32_t px, int32_t py, Level* onLevel, int32_t) {
    x = px;
    y = py;
    owningLevel = onLevel;
}

void Player::GiveStartingKit(Player*) {}

void Player::LoadAnimations(Player*) {}

// Stand-in: what is still to be built is listed at the top of creatures/shopkeeper.h.
#include "creatures/shopkeeper.h"

#include <vector>

#include "creatures/player.h"
#include "items_fixtures/inventory.h"
#include "levels/level.h"
#include "store_platform/stats.h"

Shopkeeper::Shopkeeper() : Monster(nullptr) {}

void Shopkeeper::Update() {
    if (hostile != 0) Monster::Update();
}

int32_t Shopkeeper::TakeDamage(int32_t amount, GameObj* source, const std::string& cause, int32_t a, int32_t b) {
    hostile = 1;
    return Monster::TakeDamage(amount, source, cause, a, b);
}

void Shopkeeper::PlaceOnLevel(int32_t px, int32_t py, Level* onLevel, int32_t flag) {
    GameObj::PlaceOnLevel(px, py, onLevel, flag);
    homeX = px;
    homeY = py;
}

// The shop alarm and the shopkeepers' anger, kept with the shopkeepers they move.

void Level::UpdateShopkeeperPositions() {
    bool heroInShop = false;
    if (CurrentPlayer != nullptr && CurrentPlayer->GameObj::level == this) {
        const LevelCell* cell = GetCell(CurrentPlayer->x, CurrentPlayer->y);
        heroInShop = cell != nullptr && cell->type == SquareType::ShopFloor;
    }
    bool alarm = heroInShop && PlayerHasUnpaidItem();
    // A list copy: placing a shopkeeper must not disturb the walk.
    std::vector<GameObj*> keepers = shopkeepers;
    for (GameObj* listed : keepers) {
        Shopkeeper* keeper = static_cast<Shopkeeper*>(listed);
        // The home square is where the shopkeeper goes back to; moving to the alert square
        // must not change it.
        int32_t homeX = keeper->homeX;
        int32_t homeY = keeper->homeY;
        if (alarm && keeper->onAlert == 0) {
            keeper->PlaceOnLevel(keeper->alertX, keeper->alertY, this, 0);
            keeper->onAlert = 1;
        } else if (!alarm && keeper->onAlert != 0) {
            keeper->PlaceOnLevel(homeX, homeY, this, 0);
            keeper->onAlert = 0;
        }
        keeper->homeX = homeX;
        keeper->homeY = homeY;
    }
}

void AngerShopkeepers(Level* level) {
    if (level == nullptr) return;
    level->shopkeepersAngry = 1;
    for (GameObj* keeper : level->shopkeepers) static_cast<Shopkeeper*>(keeper)->hostile = 1;
    AwardAchievement("ACHIEVEMENT_ACCIDENTS_HAPPEN");
    MarkAllItemsPaid();
}

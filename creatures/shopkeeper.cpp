// Stand-in: what is still to be built is listed at the top of creatures/shopkeeper.h.
#include "creatures/shopkeeper.h"

#include <algorithm>
#include <vector>

#include "core/class_registry.h"

#include "creatures/player.h"
#include "items_fixtures/inventory.h"
#include "levels/level.h"
#include "store_platform/stats.h"

SERIALIZABLE_REGISTRATION(Shopkeeper);

uint32_t Shopkeeper::GetClassHash() { return GetRegisteredClassHash("Shopkeeper"); }
int32_t Shopkeeper::GetClassIndex() { return GetRegisteredClassIndex("Shopkeeper"); }

Shopkeeper::Shopkeeper() : Monster(nullptr) {}

Shopkeeper::Shopkeeper(SaveReader& in) : Monster(in) {
    hostile = in.ReadBool() ? 1 : 0;
    if (in.version.AtLeast(kSaveV1_0_2)) {
        guardX = in.ReadInt32();
        guardY = in.ReadInt32();
        homeX = in.ReadInt32();
        homeY = in.ReadInt32();
    }
    if (in.version.AtLeast(kSaveV1_0_3)) atGuard = in.ReadBool() ? 1 : 0;
    if (in.version.AtLeast(kSaveV1_0_8)) stealDone = in.ReadBool() ? 1 : 0;
    if (level != nullptr && !in.Failed()) {
        // Placing takes the square as home; the saved home stays (the keeper may be on guard).
        const int32_t savedHomeX = homeX;
        const int32_t savedHomeY = homeY;
        PlaceOnLevel(x, y, level, 0);
        homeX = savedHomeX;
        homeY = savedHomeY;
    }
}

bool Shopkeeper::Save(SaveWriter& out) {
    bool ok = Monster::Save(out);
    ok = out.WriteBool(hostile) && ok;
    ok = out.WriteInt32(guardX) && ok;
    ok = out.WriteInt32(guardY) && ok;
    ok = out.WriteInt32(homeX) && ok;
    ok = out.WriteInt32(homeY) && ok;
    ok = out.WriteBool(atGuard) && ok;
    return out.WriteBool(stealDone) && ok;
}

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
    if (onLevel == nullptr) return;
    std::vector<GameObj*>& keepers = onLevel->shopkeepers;
    if (std::find(keepers.begin(), keepers.end(), static_cast<GameObj*>(this)) == keepers.end()) {
        keepers.push_back(this);
    }
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
        // The home square is where the shopkeeper goes back to; moving to the guard square
        // must not change it.
        int32_t homeX = keeper->homeX;
        int32_t homeY = keeper->homeY;
        if (alarm && keeper->atGuard == 0) {
            keeper->PlaceOnLevel(keeper->guardX, keeper->guardY, this, 0);
            keeper->atGuard = 1;
        } else if (!alarm && keeper->atGuard != 0) {
            keeper->PlaceOnLevel(homeX, homeY, this, 0);
            keeper->atGuard = 0;
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

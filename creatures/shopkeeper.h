#pragma once
// The monster that keeps a shop room: "Brax" of the monster data. A peaceful keeper talks,
// bills the hero's unpaid goods and buys what the hero sells; a hostile one fights like a
// monster and calls in debt collectors. It stands on its home square, and on its guard
// square (the shop's way out) while the hero carries unpaid goods inside the shop.
//
// Save block after the Monster block: hostile, guardX, guardY (from 1.0.2), homeX, homeY
// (from 1.0.2), atGuard (from 1.0.3), stealDone (from 1.0.8); a field an older save lacks
// keeps its default. A loaded shopkeeper places itself on its level and so joins the level's
// shopkeeper list; it leaves the list when it is destroyed.
#include <cstdint>
#include <string>

#include "creatures/monster.h"

class Level;

// The chatter line a peaceful keeper answers with at counter value 0..10.
const char* ShopkeeperChatterLine(int32_t counter);
// The chatter counter (0..10), shared by every keeper; a new game sets it to 0.
extern int32_t ShopkeeperChatterCounter;

class Shopkeeper : public Monster {
public:
    Shopkeeper();
    explicit Shopkeeper(SaveReader& in);
    ~Shopkeeper() override;  // leaves its level's shopkeeper list

    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;

    int32_t variant = 0;  // one of four looks, drawn when the shop is finished; not saved
    int32_t hostile = 0;
    int32_t stealDone = 0;
    int32_t guardX = 0;  // where it stands while the hero carries unpaid goods
    int32_t guardY = 0;
    int32_t atGuard = 0;
    int32_t homeX = 0;
    int32_t homeY = 0;

    // False when the monster data has no "Brax" (the keeper then wears a stand-in record and
    // generation leaves the shop without a keeper).
    bool HasKeeperRecord() const;

    // Places it and enters it into the level's shopkeeper list (once); the square it arrives
    // on from no level becomes its home.
    void PlaceOnLevel(int32_t px, int32_t py, Level* onLevel, int32_t flag) override;
    bool IsAllyTarget() override { return false; }
    const char* GetActionVerb() override;
    // Peaceful and alive: the chatter or the bill (1); otherwise the hero attacks it.
    int32_t Activate() override;
    // Peaceful: buying what the hero offers (1); hostile: the monster's answer.
    int32_t UseItemOn(Item* item) override;
    // The cash-register line; an angry level makes it hostile; a hostile keeper takes the
    // monster's turn and may call a debt collector.
    void Update() override;
    // The first blow angers every keeper of the level.
    int32_t TakeDamage(int32_t amount, GameObj* source, const std::string& cause, int32_t a, int32_t b) override;
    // Draws the monster, then offers the hero's store-theft abilities their one chance.
    void Draw(const MapView& view) override;

    // The one-time theft chance of the hero's store-theft abilities (sets stealDone first).
    void TryTheft();

private:
    void Talk();
    void BuyFromHero(Item* item);
};

#pragma once
// Traps: items that lie armed on a square and cast their spell at whoever steps on them.
// A trap stays hidden until the hero comes within trap-sense distance; a seen one can be
// disarmed by a click, and a low one without a mount picked up and carried. Wall- and
// floor-mounted traps fire from a separate origin blocker, which leaves the level with them
// (picked up, moved or deleted).
//
// Save block after the Item block: definition name, origin square, discovered, disarmed.
// Charges are not saved: a loaded trap has its definition's charges again.
#include <cstdint>
#include <string>

#include "items_fixtures/item.h"

struct ItemDef;
class Blocker;

class Trap : public Item {
public:
    explicit Trap(const ItemDef* definition);
    explicit Trap(SaveReader& in);
    int32_t discovered = 0;  // the hero has seen the trap; it stays drawn from then on
    bool removed = false;    // queued for deletion; clicks are ignored
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t charges = 0;
    bool disarmed = false;

    bool Save(SaveWriter& out) override;
    // The class-name key of "Trap" from the class registry; 0xFFFFFFFF (-1) when the
    // class is not registered. Path search compares objects' keys with it.
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    bool IsSpottedTrap() override { return discovered != 0; }
    std::string GetItemName() const override { return DefinitionName(); }
    static uint32_t TrapClassHash();

    void CopyStateFrom(GameObj* other) override;
    // Empty while the trap is hidden from the hero (beyond trap sense, neither disarmed nor
    // unpaid).
    std::string GetName() override;
    const char* GetActionVerb() override;
    void Destroy() override;
    // Places the trap, then its origin: see the mount rules in trap.cpp. Leaving a level (a
    // null level) takes the origin blocker away.
    void PlaceOnLevel(int32_t newX, int32_t newY, Level* newLevel, int32_t flag) override;
    void Draw(const MapView& view) override;
    void DrawOverlay(const MapView& view) override;
    void PlayerEntered() override;
    void MonsterEntered(GameObj* monster) override;
    int32_t Activate() override;

    // The hero sets the trap off: the spell at the hero, wear, the statistic.
    void Trigger();
    void Disarm();

    // Mount values of the definition: 0 floor, 1 wall, 2 none.
    int32_t Mount() const;
    int32_t TrapLevel() const;

private:
    // Within the hero's trap sense (Manhattan distance).
    bool WithinHeroSense() const;
    // Wear after a trigger: "once" goes, "charges" loses one (and goes at 0).
    void Wear();
    // Picks the trap up as an item (the origin leaves with it).
    void PickUp();
    // Queued for deletion and marked removed; the origin leaves with it.
    void Remove();
    // Deletes the origin blocker standing at the origin square of the level.
    void RemoveOrigin(Level* from);
    void ShowOwnIcon();

    // The level the origin was put on (not saved): a trap taken off its level by a move that
    // does not place it anywhere still knows where its origin stands.
    Level* originLevel = nullptr;
};

// A hero's trap-trigger count reaching this sets its achievement.
constexpr int32_t kTrapAchievementCount = 50;

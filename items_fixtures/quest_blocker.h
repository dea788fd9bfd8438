#pragma once
// The quest shrine of a level: one kind of quests.xml (its picture, name and text). The hero
// hands in quest items here; the minimap shows it with the icon of its kind.
//
// Save block after the GameObj block: the position of its kind in QuestBlockerTypes (word). A
// loaded shrine becomes its level's quest shrine and the shrine of every active quest of that
// level's depth; a position outside the table falls back to the first kind with a message.
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

struct QuestBlockerType;

class QuestBlocker : public GameObj {
public:
    // The shrine of the kind at `typeIndex` in QuestBlockerTypes.
    explicit QuestBlocker(int32_t typeIndex);
    explicit QuestBlocker(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    // Nothing when the current level has no shrine; otherwise the icon of that shrine's kind.
    void DrawOnMinimap(int32_t x, int32_t y, int32_t zoom) override;
    std::string GetName() override;
    // A quest item tied to this shrine completes its open objective; always 1 (handled).
    int32_t UseItemOn(Item* item) override;
    void PlaceOnLevel(int32_t newX, int32_t newY, Level* newLevel, int32_t flag) override;
    // Shows the kind's text; 1.
    int32_t Activate() override;
    bool IsMovable() override { return false; }

    // The kind, or null when the position is outside the table.
    const QuestBlockerType* Type() const;

    int32_t typeIndex = -1;  // position of the kind in QuestBlockerTypes

private:
    void SetQuestBlockerSprite();
};

// The minimap icon sprite name ("minimap_mellow_<zoom>", "minimap_monolith_<zoom>" or
// "minimap_eyeball_<zoom>") for a shrine of the name.
std::string QuestShrineMinimapIcon(const std::string& shrineName, int32_t zoom);

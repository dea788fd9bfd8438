#include "items_fixtures/quest_blocker.h"
#include "items_fixtures/fixture.h"

#include <cstdio>

#include "interface/ui_services.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/quest.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/screen.h"
#include "media/sprite.h"
#include "media/ticker.h"

FIXTURE_REGISTRATION(QuestBlocker)

QuestBlocker::QuestBlocker(int32_t index) : typeIndex(index) { SetQuestBlockerSprite(); }

const QuestBlockerType* QuestBlocker::Type() const {
    if (typeIndex < 0 || static_cast<size_t>(typeIndex) >= QuestBlockerTypes.size()) return nullptr;
    return &QuestBlockerTypes[static_cast<size_t>(typeIndex)];
}

QuestBlocker::QuestBlocker(SaveReader& in) : GameObj(in) {
    const int32_t position = in.ReadInt32();
    if (in.Failed()) return;
    if (position >= 0 && position < static_cast<int32_t>(QuestBlockerTypes.size())) {
        typeIndex = position;
    } else if (!QuestBlockerTypes.empty()) {
        std::printf("quest shrine: saved kind %d is outside the %zu kinds; the first kind is used\n", position,
                    QuestBlockerTypes.size());
        typeIndex = 0;
    } else if (position != -1) {
        std::printf("quest shrine: saved kind %d, but there are no kinds; the shrine has none\n", position);
    }
    if (level != nullptr) {
        level->questBlocker = this;
        for (QuestRecord* quest : ActiveQuests) {
            if (quest->depth == level->depth) quest->shrine = this;
        }
    }
    SetQuestBlockerSprite();
}

bool QuestBlocker::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteInt32(typeIndex) && ok;
}

void QuestBlocker::SetQuestBlockerSprite() {
    const QuestBlockerType* type = Type();
    Sprite* sprite = type != nullptr ? type->sprite : nullptr;
    if (sprite != nullptr && !bob.locked && bob.sprite != sprite) {
        bob.SetSprite(sprite);
        bob.frame = 0;
        bob.frameTimer = 0;
    }
    blocksMovement = 1;
    coversSquareAbove = 1;
    anchorMode = 1;
}

std::string QuestBlocker::GetName() {
    const QuestBlockerType* type = Type();
    return type != nullptr ? type->name : "Shrine";
}

int32_t QuestBlocker::Activate() {
    const QuestBlockerType* type = Type();
    const std::string text = type != nullptr ? type->text : std::string();
    QuestDialogs.ask(text.c_str(), "ui/dialog_but_ok", nullptr);
    return 1;
}

void QuestBlocker::PlaceOnLevel(int32_t newX, int32_t newY, Level* newLevel, int32_t flag) {
    GameObj::PlaceOnLevel(newX, newY, newLevel, flag);
    if (newLevel != nullptr) newLevel->questBlocker = this;
}

int32_t QuestBlocker::UseItemOn(Item* item) {
    Misc* misc = dynamic_cast<Misc*>(item);
    if (misc == nullptr || misc->targetShrine != this || misc->quest == nullptr || misc->quest->stage == 2) return 1;
    QuestRecord* quest = misc->quest;
    QueueObjectDeletion(misc);
    QuestBlocker* shrine = CurrentQuestShrine();
    const std::string shrineName = shrine != nullptr ? shrine->GetName() : GetName();
    AddText("You have transported the item " + misc->GetItemName() + " to the " + shrineName +
                "! It vanishes in a puff of smoke!",
            true);
    AdvanceQuest(quest, x, y);
    return 1;
}

namespace {

const char* QuestShrineMinimapKind(const std::string& shrineName) {
    if (shrineName == "Mellow Shrine") return "mellow";
    if (shrineName == "Monolith") return "monolith";
    return "eyeball";
}

}  // namespace

std::string QuestShrineMinimapIcon(const std::string& shrineName, int32_t zoom) {
    return std::string("minimap_") + QuestShrineMinimapKind(shrineName) + "_" + std::to_string(zoom);
}

void QuestBlocker::DrawOnMinimap(int32_t px, int32_t py, int32_t zoom) {
    QuestBlocker* shrine = CurrentQuestShrine();
    if (shrine == nullptr) return;
    DrawFixtureMinimapIcon(QuestShrineMinimapKind(shrine->GetName()), px, py, zoom);
}

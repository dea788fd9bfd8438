#include "items_fixtures/quest_blocker.h"

#include <cstdio>

#include "items_fixtures/quest.h"
#include "levels/level.h"

FIXTURE_REGISTRATION(QuestBlocker)

QuestBlocker::QuestBlocker(QuestRecord* questRecord) : quest(questRecord) {}

QuestBlocker::QuestBlocker(SaveReader& in) : GameObj(in) {
    const int32_t position = in.ReadInt32();
    if (in.Failed()) return;
    if (position >= 0 && position < static_cast<int32_t>(QuestTable.size())) {
        quest = QuestTable[static_cast<size_t>(position)];
    } else if (!QuestTable.empty()) {
        std::printf("quest shrine: saved kind %d is outside the %zu kinds; the first kind is used\n", position,
                    QuestTable.size());
        quest = QuestTable.front();
    } else if (position != -1) {
        std::printf("quest shrine: saved kind %d, but there are no kinds; the shrine has none\n", position);
    }
    if (level != nullptr) level->questBlocker = this;
}

bool QuestBlocker::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    int32_t position = -1;
    for (size_t i = 0; i < QuestTable.size() && position == -1; ++i) {
        if (QuestTable[i] == quest) position = static_cast<int32_t>(i);
    }
    return out.WriteInt32(position) && ok;
}

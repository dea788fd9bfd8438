// Stand-in: what is still to be built is listed at the top of items_fixtures/quest.h.
#include "items_fixtures/quest.h"

#include "core/save_stream.h"

std::vector<QuestRecord*> QuestTable;
std::vector<QuestRecord*> ActiveQuests;

QuestRecord::QuestRecord() = default;

bool QuestRecord::Write(SaveWriter& out) const {
    out.WriteInt32(id);
    out.WriteInt32(monsterCount);
    out.WriteInt32(itemLink);
    for (const std::string* text : {&name, &description, &giver, &objective, &reward, &completionText}) {
        out.WriteString(*text);
    }
    out.WriteInt32(kind);
    out.WriteInt32(stage);
    return !out.Failed();
}

bool QuestRecord::Read(SaveReader& in) {
    id = in.ReadInt32();
    monsterCount = in.ReadInt32();
    itemLink = in.ReadInt32();
    for (std::string* text : {&name, &description, &giver, &objective, &reward, &completionText}) {
        *text = in.ReadString();
    }
    kind = in.ReadInt32();
    stage = in.ReadInt32();
    return !in.Failed();
}

void QuestRecord::RelinkItem() {}

void LoadQuestDB(const char*) {}

void ClearActiveQuests() {
    for (QuestRecord* quest : ActiveQuests) {
        delete quest;
    }
    ActiveQuests.clear();
}

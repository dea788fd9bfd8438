#pragma once
// The quest shrine of a level.
//
// Stand-in: the record and registration are built; the shrine kinds of quests.xml (its
// picture and text), the minimap icon and handing in quest items are still to be built. Until
// then the shrine's kind is its entry of the quest table.
//
// Save block after the GameObj block: the position of its kind in the table (word). A loaded
// shrine becomes its level's quest shrine; a position outside the table falls back to the
// first entry with a message.
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

class QuestRecord;

class QuestBlocker : public GameObj {
public:
    explicit QuestBlocker(QuestRecord* quest);
    explicit QuestBlocker(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();

    QuestRecord* quest = nullptr;
};

#pragma once
// Quests ("quests.xml"): the quest table and the active quests of the running game.
//
// Stand-in: the loader reads nothing; a quest's save block is written and read with
// the fields named below. Still to be built here: reading quest records over the layered
// files, quest kinds and stages, objectives, rewards, the quest-giver dialogs and the
// quest log.
#include <cstdint>
#include <string>
#include <vector>

class Item;
class SaveReader;
class SaveWriter;

class QuestRecord {
public:
    QuestRecord();

    int32_t id = 0;
    int32_t monsterCount = 0;     // horde monsters still to be killed
    int32_t itemLink = 0;         // saved link value of the objective item
    std::string name = "unnamed quest";   // also the horde's army name
    std::string description = "unnamed quest description";
    std::string giver;
    std::string objective;
    std::string reward;
    std::string completionText;
    int32_t kind = 0;
    int32_t stage = 0;
    Item* objectiveItem = nullptr;

    // Writes the quest: three words, six strings, kind, stage.
    bool Write(SaveWriter& out) const;
    // Reads a quest written by Write into this record; false when the stream failed.
    bool Read(SaveReader& in);
    // After a load, stores the saved link value back into the objective item.
    void RelinkItem();
};

// The quest records the level quest blockers are drawn from (owned).
extern std::vector<QuestRecord*> QuestTable;
// The active quests of the running game, in quest order (owned).
extern std::vector<QuestRecord*> ActiveQuests;

void LoadQuestDB(const char* file);
// Destroys every active quest (before a new game or tutorial).
void ClearActiveQuests();

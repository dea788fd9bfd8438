#pragma once
// Quests: the shrine kinds and quest-item pictures of "quests.xml", the quest records of the
// running game, the offer made at the quest statue, the progress hooks (a quest monster's
// death, a quest item's pick-up, a quest item handed in at the shrine) and the reward.
//
// A quest has one or two objectives; the open one is firstKind at stage 0 and secondKind at
// stage 1; stage 2 is complete. Objective kinds: 0 none, 1 defeat the named monster, 2
// annihilate the horde, 3 and 4 find the artifact, 5 bring the artifact to the quest shrine.
#include <cstdint>
#include <string>
#include <vector>

class Item;
class Level;
class Misc;
class Monster;
class QuestBlocker;
class SaveReader;
class SaveWriter;
class Sprite;

// One kind of quest shrine (a "blocker" element).
struct QuestBlockerType {
    std::string name;
    std::string spriteName;
    Sprite* sprite = nullptr;
    std::string text;  // shown when the hero activates the shrine
};

// One picture for quest items (an "item" element); the name is kept but shown nowhere.
struct QuestItemType {
    std::string name;
    std::string spriteName;
    Sprite* sprite = nullptr;
};

// Filled in file order at start-up; shrines and quest items refer to entries by position.
extern std::vector<QuestBlockerType> QuestBlockerTypes;
extern std::vector<QuestItemType> QuestItemTypes;

class QuestRecord {
public:
    QuestRecord();

    int32_t membersLeft = 0;  // horde members still alive
    int32_t firstKind = 0;
    int32_t secondKind = 0;
    std::string name = "unnamed quest";
    std::string extraText;
    std::string description = "unnamed quest description";  // the quest log's objective line
    std::string monsterName;
    std::string hordeName;
    std::string itemName;
    int32_t depth = 0;  // depth of the level the quest was accepted on
    int32_t stage = 0;
    Item* questItem = nullptr;         // set when a quest item linked to this quest was loaded
    QuestBlocker* shrine = nullptr;    // the shrine of the level of this depth, once loaded

    // The objective kind that is open now: firstKind at stage 0, secondKind at stage 1, else 0.
    int32_t OpenKind() const;

    // Writes the quest: three words, six strings, depth, stage. True when every write succeeded.
    bool Write(SaveWriter& out) const;
    // Reads a quest written by Write into this record; false when the stream failed.
    bool Read(SaveReader& in);
    // Ties the loaded quest item to the loaded shrine of the quest's depth.
    void RelinkItem();
    // A monster of this quest died (the named monster or a horde member).
    void OnMonsterKilled(Monster* monster);
    // The hero picked up the quest item; true when the quest took it (it then vanishes).
    bool OnItemPickedUp(Misc* item);
};

// The active quests of the running game, in quest order (owned).
extern std::vector<QuestRecord*> ActiveQuests;

// Reads one quests.xml over the virtual file system; a missing file is skipped silently.
void LoadQuestDB(const char* file);
// Reads quests.xml text; false (with the parser's message, file, line and column) on broken
// XML, keeping the entries read before the fault.
bool LoadQuestDBFromText(const char* data, size_t length, const char* fileName);
// Empties both tables (tests and shutdown).
void ClearQuestDB();
// Destroys every active quest (before a new game or tutorial).
void ClearActiveQuests();
// Removes the quest from the active list and destroys it, after clearing every reference to
// it: the monsters and items of every level, the monsters' carried items, the hero's pack,
// belt and equipment and the cursor item.
void AbandonQuest(QuestRecord* quest);

// The sixteen offer templates. In both texts "{m}", "{h}", "{i}" and "{s}" stand for the
// monster's, the horde's, the item's and the shrine's names.
struct QuestTemplate {
    int32_t firstKind;
    int32_t secondKind;
    const char* offer;
    const char* objective;
    bool needsShrine;
};
constexpr int32_t kQuestTemplateCount = 16;
const QuestTemplate& GetQuestTemplate(int32_t index);

// Draws the C generator once: template = value / 2048; writes its two objective kinds.
void PickQuestTemplate(int32_t* firstKind, int32_t* secondKind, int32_t* templateIndex);

struct QuestNames {
    std::string monster;
    std::string horde;
    std::string item;
    std::string shrine;
};
// The offer text and the objective line of a template for the names.
std::string QuestOfferText(int32_t templateIndex, const QuestNames& names);
std::string QuestObjectiveLine(int32_t templateIndex, const QuestNames& names);

// The statue's offer: draws a template (one the level can hold), makes the names, asks, and
// on acceptance starts the quest. True once the offer was shown (accepted or declined).
bool OfferQuest();
// Completes the open objective at square (x, y) of the current level.
void AdvanceQuest(QuestRecord* quest, int32_t x, int32_t y);
// Makes the reward (an artifact weapon or armour), shows it and puts it in the pack.
void GiveQuestReward();
// A new quest item (miscellaneous kind 3) of the quest.
Misc* MakeQuestItem(QuestRecord* quest, QuestBlocker* targetShrine);
// The current level's quest shrine, or null.
QuestBlocker* CurrentQuestShrine();

// The modal boxes the quests use; tests replace them. Default to the real dialogs.
struct QuestDialogSet {
    int32_t (*ask)(const char* text, const char* firstArt, const char* secondArt);
    int32_t (*offer)(const char* text, const char* firstArt, const char* secondArt);
    void (*complete)(Item* reward);
};
extern QuestDialogSet QuestDialogs;

// Square pickers of level generation the quests use; levels/gen sets them at start-up. An
// unset entry finds no square.
struct QuestLevelServices {
    int32_t (*pickRandomOpenSquare)(int32_t* outX, int32_t* outY, Level* level) = nullptr;
    int32_t (*findOpenSquareNear)(int32_t* outX, int32_t* outY, int32_t x, int32_t y, Level* level) = nullptr;
};
extern QuestLevelServices QuestLevel;

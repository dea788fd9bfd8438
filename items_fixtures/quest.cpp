#include "items_fixtures/quest.h"

#include <algorithm>
#include <cstdio>

#include "core/random.h"
#include "core/save_stream.h"
#include "core/text_db.h"
#include "core/xml_util.h"
#include "creatures/monster.h"
#include "creatures/monster_names.h"
#include "creatures/player.h"
#include "interface/ui_services.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/artifact.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/quest_blocker.h"
#include "items_fixtures/weapon.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/ticker.h"
#include "platform/vfs.h"

std::vector<QuestBlockerType> QuestBlockerTypes;
std::vector<QuestItemType> QuestItemTypes;
std::vector<QuestRecord*> ActiveQuests;
QuestDialogSet QuestDialogs = {ShowDialog, ShowQuestOfferDialog, ShowQuestCompleteDialog};
QuestLevelServices QuestLevel;

// ---- quests.xml -----------------------------------------------------------------------------

namespace {

std::string Attribute(const XML_Char** attributes, const char* name) {
    const char* value = FindXmlAttribute(attributes, name);
    return value != nullptr ? value : "";
}

void OnQuestElement(void*, const XML_Char* element, const XML_Char** attributes) {
    const std::string tag = element;
    if (tag == "blocker") {
        QuestBlockerType type;
        type.name = Attribute(attributes, "name");
        type.spriteName = Attribute(attributes, "sprite");
        type.text = Attribute(attributes, "text");
        type.sprite = SpriteMgr_GetOrLoad(type.spriteName.c_str(), type.spriteName.c_str(), "", 0, 0, 0);
        QuestBlockerTypes.push_back(type);
    } else if (tag == "item") {
        QuestItemType type;
        type.name = Attribute(attributes, "name");
        type.spriteName = Attribute(attributes, "sprite");
        type.sprite = SpriteMgr_GetOrLoad(type.spriteName.c_str(), type.spriteName.c_str(), "", 0, 0, 0);
        QuestItemTypes.push_back(type);
    }
}

}  // namespace

bool LoadQuestDBFromText(const char* data, size_t length, const char* fileName) {
    XmlHandlers handlers;
    handlers.start = OnQuestElement;
    std::string error;
    if (ParseXmlDocument(data, length, handlers, &error)) return true;
    std::printf("LoadQuestDB: %s: %s; the entries before it are kept\n", fileName, error.c_str());
    return false;
}

void LoadQuestDB(const char* file) {
    if (file == nullptr || !VfsExists(file)) return;
    std::vector<char> data;
    if (!VfsReadFile(file, data)) {
        std::printf("LoadQuestDB: %s could not be read\n", file);
        return;
    }
    LoadQuestDBFromText(data.data(), data.size(), file);
}

void ClearQuestDB() {
    QuestBlockerTypes.clear();
    QuestItemTypes.clear();
}

// ---- the record -----------------------------------------------------------------------------

QuestRecord::QuestRecord() = default;

int32_t QuestRecord::OpenKind() const {
    if (stage == 0) return firstKind;
    if (stage == 1) return secondKind;
    return 0;
}

bool QuestRecord::Write(SaveWriter& out) const {
    bool ok = out.WriteInt32(membersLeft);
    ok = out.WriteInt32(firstKind) && ok;
    ok = out.WriteInt32(secondKind) && ok;
    for (const std::string* text : {&name, &extraText, &description, &monsterName, &hordeName, &itemName}) {
        ok = out.WriteString(*text) && ok;
    }
    ok = out.WriteInt32(depth) && ok;
    ok = out.WriteInt32(stage) && ok;
    return ok && !out.Failed();
}

bool QuestRecord::Read(SaveReader& in) {
    membersLeft = in.ReadInt32();
    firstKind = in.ReadInt32();
    secondKind = in.ReadInt32();
    for (std::string* text : {&name, &extraText, &description, &monsterName, &hordeName, &itemName}) {
        *text = in.ReadString();
    }
    depth = in.ReadInt32();
    stage = in.ReadInt32();
    return !in.Failed();
}

void QuestRecord::RelinkItem() {
    if (questItem == nullptr || shrine == nullptr) return;
    if (Misc* misc = dynamic_cast<Misc*>(questItem)) misc->targetShrine = shrine;
}

void QuestRecord::OnMonsterKilled(Monster* monster) {
    if (monster == nullptr) return;
    const int32_t kind = OpenKind();
    if (kind == 1) {
        AddText("You have defeated " + monsterName + "!", true);
        AdvanceQuest(this, monster->x, monster->y);
    } else if (kind == 2) {
        membersLeft = membersLeft - 1;
        if (membersLeft > 0) {
            char line[512];
            std::snprintf(line, sizeof line, "There are %i members of %s remaining...", membersLeft, hordeName.c_str());
            AddText(line, true);
            return;
        }
        AddText("You have annihilated " + hordeName + "!", true);
        AdvanceQuest(this, monster->x, monster->y);
    }
}

bool QuestRecord::OnItemPickedUp(Misc* item) {
    if (item == nullptr || stage >= 2) return false;
    const int32_t kind = OpenKind();
    if (kind != 3 && kind != 4) return false;
    AddText("You have found the item, " + item->questItemName + "!", true);
    QueueObjectDeletion(item);
    AdvanceQuest(this, item->x, item->y);
    return true;
}

void ClearActiveQuests() {
    for (QuestRecord* quest : ActiveQuests) delete quest;
    ActiveQuests.clear();
}

namespace {

void ForgetQuestIn(GameObj* object, QuestRecord* quest) {
    if (object == nullptr) return;
    if (Item* item = dynamic_cast<Item*>(object)) {
        if (item->quest == quest) item->quest = nullptr;
        return;
    }
    if (Monster* monster = dynamic_cast<Monster*>(object)) {
        if (monster->quest == quest) monster->quest = nullptr;
        for (GameObj* carried : monster->carriedItems) ForgetQuestIn(carried, quest);
    }
}

}  // namespace

void AbandonQuest(QuestRecord* quest) {
    auto at = std::find(ActiveQuests.begin(), ActiveQuests.end(), quest);
    if (quest == nullptr || at == ActiveQuests.end()) return;
    std::vector<Level*> levels = GameLevels;
    if (std::find(levels.begin(), levels.end(), CurrentLevel) == levels.end()) levels.push_back(CurrentLevel);
    for (Level* level : levels) {
        if (level == nullptr) continue;
        for (GameObj* object : level->objects) ForgetQuestIn(object, quest);
    }
    for (Item** place : CarriedPlaces()) {
        if (place != nullptr) ForgetQuestIn(*place, quest);
    }
    ActiveQuests.erase(at);
    delete quest;
}

// ---- templates and the offer ----------------------------------------------------------------

namespace {

// Kept word for word, the stray comma of the last offer included.
const QuestTemplate kTemplates[kQuestTemplateCount] = {
    {2, 0, "The monstrous horde, {h}, must be stopped!", "Defeat the monstrous horde {h}!", false},
    {1, 0, "The vile monster, {m}, has seized control of the Doriveza!", "Defeat {m}!", false},
    {3, 0, "The magical artifact, {i}, has been lost! Will you seek it?", "Find the magical artifact {i}!", false},
    {4, 0,
     "The magical artifact, {i}, has been lost! Will you take on the challenge of finding it, for the glory of "
     "Zozerezevizeru?",
     "Find the magical artifact {i}!", false},
    {5, 0, "The magical artifact, {i}, must be found and used on the {s}!", "Use {i} on the {s}!", true},
    {1, 2, "The monster {m}, and his horde of underlings, {h}, must be defeated!",
     "Defeat {m} and all members of {h}!", false},
    {1, 3, "The monster {m} must be defeated, and the artifact {i} must be recovered!",
     "Defeat {m} and recover the artifact {i}!", false},
    {1, 5, "The monster {m} must be defeated, and the artifact {i} must be used on {s}!",
     "Defeat {m} and use {i} on the {s}!", true},
    {2, 1, "The monstrous regiment, {h}, and their commander, the vile {m}, must be stopped at all costs!",
     "Eliminate {h} and their commander, {m}!", false},
    {2, 3, "The monstrous regiment, {h}, has recently come into possession of the artifact {i} and must be stopped!",
     "Eliminate {h} and recover the artifact {i}!", false},
    {2, 5,
     "The monstrous regiment, {h}, has recently claimed possession of the artifact {i}. Too powerful for any man, it "
     "must be taken to the {s} to be destroyed!",
     "Eliminate {h}, claim {i} and destroy it at the {s}!", true},
    {4, 2, "You must find the item {i} - but be warned, it is guarded by {h}!",
     "Find {i} and defeat its guardians, the {h}!", false},
    {4, 1, "You must find the item {i} - but be warned, it is guarded by Lord Zarnoch's trusted servant, {m}!",
     "Find {i} and defeat its guardian, {m}!", false},
    {4, 5, "You must find the item {i} and take it to the {s}!", "Find {i} and take it to the {s}!", true},
    {5, 1, "You must use the item {i} on the {s} - only then can Lord Zarnoch's servant, {m}, be summoned and defeated!",
     "Summon {m} by using {i} on the {s}, and defeat it!", true},
    {5, 2, "You must use the item {i} on the {s} - only then can {h}, be summoned and defeated!",
     "Summon {h} by using {i} on the {s}, and defeat them!", true},
};

// Draws before a level without a shrine gives up on the shrine templates and takes the first.
constexpr int32_t kShrinelessTemplateDraws = 64;

std::string FillNames(const char* format, const QuestNames& names) {
    std::string out;
    for (const char* p = format; *p != '\0'; ++p) {
        if (p[0] == '{' && p[1] != '\0' && p[2] == '}') {
            const std::string* value = nullptr;
            switch (p[1]) {
                case 'm': value = &names.monster; break;
                case 'h': value = &names.horde; break;
                case 'i': value = &names.item; break;
                case 's': value = &names.shrine; break;
                default: break;
            }
            if (value != nullptr) {
                out += *value;
                p += 2;
                continue;
            }
        }
        out += *p;
    }
    return out;
}

Level* QuestLevelNow() { return CurrentLevel; }

// A horde that came out with no members (no monster could be made or placed) is annihilated
// already: the objective is met at once, at the given square.
void MeetEmptyHorde(QuestRecord* quest, int32_t x, int32_t y) {
    if (quest->membersLeft > 0) return;
    quest->membersLeft = 0;
    AddText("You have annihilated " + quest->hordeName + "!", true);
    AdvanceQuest(quest, x, y);
}

void PlaceQuestItemAnywhere(Misc* item) {
    Level* level = QuestLevelNow();
    int32_t x = 0;
    int32_t y = 0;
    if (level == nullptr || QuestLevel.pickRandomOpenSquare == nullptr ||
        QuestLevel.pickRandomOpenSquare(&x, &y, level) == 0) {
        // No open square: the item goes to the hero rather than being lost.
        std::printf("quests: no open square for the quest item %s; it goes into the pack\n", item->questItemName.c_str());
        PutItemInBag(item);
        return;
    }
    item->PlaceOnLevel(x, y, level, 0);
}

// Starts the first objective of a quest just accepted.
void StartFirstObjective(QuestRecord* quest) {
    Level* level = QuestLevelNow();
    switch (quest->firstKind) {
        case 5:
            PutItemInBag(MakeQuestItem(quest, CurrentQuestShrine()));
            break;
        case 1: {
            Monster* monster = level != nullptr ? level->CreateNamedMonster(quest->monsterName.c_str(), 2) : nullptr;
            if (monster == nullptr) {
                std::printf("quests: the named monster %s could not be made\n", quest->monsterName.c_str());
                break;
            }
            int32_t x = 0;
            int32_t y = 0;
            if (QuestLevel.pickRandomOpenSquare == nullptr || QuestLevel.pickRandomOpenSquare(&x, &y, level) == 0) {
                std::printf("quests: no open square for %s\n", quest->monsterName.c_str());
                delete monster;
                break;
            }
            monster->PlaceOnLevel(x, y, level, 0);
            monster->quest = quest;
            monster->RecalculateStats();
            break;
        }
        case 2: {
            const std::string hordeName = quest->hordeName;
            if (level != nullptr) level->SpawnHorde(-1, -1, quest, nullptr, 0, -1);
            quest->hordeName = hordeName;
            MeetEmptyHorde(quest, CurrentPlayer != nullptr ? CurrentPlayer->x : 0,
                           CurrentPlayer != nullptr ? CurrentPlayer->y : 0);
            break;
        }
        case 3:
        case 4:
            PlaceQuestItemAnywhere(MakeQuestItem(quest, nullptr));
            break;
        default: break;
    }
}

}  // namespace

const QuestTemplate& GetQuestTemplate(int32_t index) {
    if (index < 0 || index >= kQuestTemplateCount) index = 0;
    return kTemplates[index];
}

void PickQuestTemplate(int32_t* firstKind, int32_t* secondKind, int32_t* templateIndex) {
    const int32_t index = CRand() / 2048;
    *templateIndex = index;
    *firstKind = kTemplates[index].firstKind;
    *secondKind = kTemplates[index].secondKind;
}

std::string QuestOfferText(int32_t templateIndex, const QuestNames& names) {
    return FillNames(GetQuestTemplate(templateIndex).offer, names);
}

std::string QuestObjectiveLine(int32_t templateIndex, const QuestNames& names) {
    return FillNames(GetQuestTemplate(templateIndex).objective, names);
}

QuestBlocker* CurrentQuestShrine() {
    Level* level = QuestLevelNow();
    return level != nullptr ? dynamic_cast<QuestBlocker*>(level->questBlocker) : nullptr;
}

Misc* MakeQuestItem(QuestRecord* quest, QuestBlocker* targetShrine) {
    Misc* item = new Misc(3);
    item->questItemName = quest != nullptr ? quest->itemName : std::string();
    item->quest = quest;
    item->targetShrine = targetShrine;
    return item;
}

bool OfferQuest() {
    int32_t firstKind = 0;
    int32_t secondKind = 0;
    int32_t index = 0;
    PickQuestTemplate(&firstKind, &secondKind, &index);
    QuestBlocker* shrine = CurrentQuestShrine();
    // A level without a shrine (tutorial, portal and test-room levels) is never offered a quest
    // that needs one.
    for (int32_t draw = 0; shrine == nullptr && kTemplates[index].needsShrine; ++draw) {
        if (draw >= kShrinelessTemplateDraws) {
            index = 0;
            firstKind = kTemplates[0].firstKind;
            secondKind = kTemplates[0].secondKind;
            break;
        }
        PickQuestTemplate(&firstKind, &secondKind, &index);
    }
    QuestNames names;
    names.monster = MakeMonsterName();
    names.item = GenerateArtifactName();
    names.horde = MakeRandomArmyName();
    names.shrine = shrine != nullptr ? shrine->GetName() : std::string("Shrine");
    const std::string offer = QuestOfferText(index, names);
    if (QuestDialogs.offer(offer.c_str(), "ui/dialog_gbut_accept", "ui/dialog_gbut_decline") != 0) return true;

    Level* level = QuestLevelNow();
    const int32_t depth = level != nullptr ? level->depth : 0;
    QuestRecord* quest = new QuestRecord();
    quest->description = QuestObjectiveLine(index, names) + " [Level " + std::to_string(depth + 1) + "]";
    quest->firstKind = firstKind;
    quest->secondKind = secondKind;
    quest->hordeName = names.horde;
    quest->monsterName = names.monster;
    quest->itemName = names.item;
    quest->depth = depth;
    quest->shrine = shrine;
    ActiveQuests.push_back(quest);
    StartFirstObjective(quest);
    return true;
}

void AdvanceQuest(QuestRecord* quest, int32_t x, int32_t y) {
    if (quest == nullptr) return;
    quest->stage = quest->stage + 1;
    if (quest->stage == 1 && quest->secondKind == 0) quest->stage = 2;
    Level* level = QuestLevelNow();
    if (quest->stage == 2) {
        GiveQuestReward();
        return;
    }
    if (quest->stage != 1 || level == nullptr) return;
    switch (quest->secondKind) {
        case 1: {
            Monster* monster = level->CreateNamedMonster(quest->monsterName.c_str(), 2);
            if (monster == nullptr) {
                std::printf("quests: the named monster %s could not be made\n", quest->monsterName.c_str());
                break;
            }
            int32_t mx = x;
            int32_t my = y;
            // No free square nearby: the monster appears on the event square itself.
            if (QuestLevel.findOpenSquareNear == nullptr || QuestLevel.findOpenSquareNear(&mx, &my, x, y, level) == 0) {
                mx = x;
                my = y;
            }
            QueueObjectMove(monster, mx, my, level);
            monster->quest = quest;
            break;
        }
        case 2:
            level->SpawnHorde(x, y, quest, nullptr, 0, -1);
            MeetEmptyHorde(quest, x, y);
            break;
        case 3:
        case 4:
        case 5:
            QueueObjectMove(MakeQuestItem(quest, CurrentQuestShrine()), x, y, level);
            break;
        default: break;
    }
}

void GiveQuestReward() {
    Item* reward = nullptr;
    const Level* level = QuestLevelNow();
    const int32_t depth = level != nullptr ? level->depth : 0;
    if (MTOneChanceIn(2)) {
        if (const ItemDef* def = RandomWeaponDefByLevel(0, 0)) {
            Weapon* weapon = new Weapon(def);
            GenerateArtifact(&weapon->artifactRecord, depth + 2, weapon);
            weapon->isArtifact = true;
            reward = weapon;
        }
    } else if (const ItemDef* def = RandomArmourDefByLevel(0)) {
        Armour* armour = new Armour(def);
        GenerateArtifact(&armour->artifactRecord, depth + 2, armour);
        armour->isArtifact = true;
        reward = armour;
    }
    if (reward == nullptr) {
        std::printf("quests: no weapon or armour definition for the reward\n");
        return;
    }
    QuestDialogs.complete(reward);
    PutItemInBag(reward);
}

// Quests: the quests.xml tables, the record's bytes, the sixteen offers with forced draws,
// objectives met through deaths, pick-ups and the shrine, and the mends around them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/save_stream.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "items_fixtures/furniture.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/quest.h"
#include "items_fixtures/quest_statue.h"
#include "levels/gen/monster_tables.h"
#include "levels/level_gen_fixture.h"
#include "levels/level_cell.h"
#include "levels/level_test_map.h"
#include "levels/object_queue.h"
#include "media/ticker.h"

namespace {

int32_t gAskAnswer = 0;
int32_t gOfferAnswer = 0;
std::vector<std::string> gAsked;
std::vector<std::string> gOffers;
std::vector<Item*> gRewardsShown;

std::vector<std::string> gAskedArt;

int32_t RecordAsk(const char* text, const char* firstArt, const char* secondArt) {
    gAsked.push_back(text != nullptr ? text : "");
    gAskedArt.push_back(std::string(firstArt != nullptr ? firstArt : "") + "|" + (secondArt != nullptr ? secondArt : ""));
    return gAskAnswer;
}
int32_t RecordOffer(const char* text, const char*, const char*) {
    gOffers.push_back(text != nullptr ? text : "");
    return gOfferAnswer;
}
void RecordReward(Item* reward) { gRewardsShown.push_back(reward); }

// A seed of the C generator whose first draw picks the template (draw / 2048 == index).
uint32_t SeedForTemplate(int32_t index) {
    for (uint32_t seed = 1;; ++seed) {
        CSRand(seed);
        if (CRand() / 2048 == index) return seed;
    }
}

bool Contains(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

std::vector<uint8_t> Word(int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
            static_cast<uint8_t>(u >> 24)};
}
void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) { out.insert(out.end(), more.begin(), more.end()); }
void AppendString(std::vector<uint8_t>& out, const std::string& text) {
    Append(out, Word(static_cast<int32_t>(text.size())));
    out.insert(out.end(), text.begin(), text.end());
}

class QuestTest : public LevelGenTest {
protected:
    void SetUp() override {
        LevelGenTest::SetUp();
        savedDialogs_ = QuestDialogs;
        QuestDialogs = {RecordAsk, RecordOffer, RecordReward};
        gAskAnswer = 0;
        gOfferAnswer = 0;
        gAsked.clear();
        gAskedArt.clear();
        gOffers.clear();
        gRewardsShown.clear();
        savedShrines_ = QuestBlockerTypes;
        savedItems_ = QuestItemTypes;
        ClearQuestDB();
        QuestBlockerTypes.assign(3, QuestBlockerType());
        QuestBlockerTypes[0].name = "Mellow Shrine";
        QuestBlockerTypes[1].name = "Monolith";
        QuestBlockerTypes[2].name = "Tall Idol";
        QuestItemTypes.assign(1, QuestItemType());
        QuestItemTypes[0].spriteName = "items/quest_orb.png";
        LoadOurData();
        std::vector<std::string> rows(1, std::string(24, '#'));
        for (int32_t i = 0; i < 22; ++i) rows.push_back("#" + std::string(22, '.') + "#");
        rows.push_back(std::string(24, '#'));
        level_.reset(new Level(0, 2));
        FillLevelFromMap(*level_, rows);
        CurrentLevel = level_.get();
        hero_.PlaceOnLevel(2, 2, level_.get(), 0);
        ClearTickerLog();
        ClearActiveQuests();
        MTSeed(5);
    }
    void TearDown() override {
        DeleteQueuedObjects();
        ApplyDeferredObjectMoves();
        for (Item*& cell : InventoryGrid.cells) {
            if (cell == nullptr) continue;
            Item* item = cell;
            RemoveItemFromGrid(item);
            delete item;
        }
        ClearCursorItem();
        // The hero belongs to the fixture, not to the level.
        if (hero_.cell != nullptr) hero_.cell->RemoveObject(&hero_);
        hero_.cell = nullptr;
        level_->RemoveObject(&hero_);
        static_cast<GameObj&>(hero_).level = nullptr;
        ClearActiveQuests();
        CurrentLevel = nullptr;
        level_.reset();
        QuestDialogs = savedDialogs_;
        QuestBlockerTypes = savedShrines_;
        QuestItemTypes = savedItems_;
        ClearMonsterDB();
        InitMonsterTables();
        LevelGenTest::TearDown();
    }
    QuestBlocker* AddShrine(int32_t kind, int32_t x, int32_t y) {
        QuestBlocker* shrine = new QuestBlocker(kind);
        shrine->PlaceOnLevel(x, y, level_.get(), 0);
        return shrine;
    }
    // Accepts the offer of the template on the current level.
    QuestRecord* Accept(int32_t index) {
        CSRand(SeedForTemplate(index));
        gOfferAnswer = 0;
        EXPECT_TRUE(OfferQuest());
        ApplyDeferredObjectMoves();
        return ActiveQuests.empty() ? nullptr : ActiveQuests.back();
    }
    template <class T>
    std::vector<T*> On(Level& level) {
        std::vector<T*> found;
        for (GameObj* obj : level.objects) {
            if (T* t = dynamic_cast<T*>(obj)) found.push_back(t);
        }
        return found;
    }
    std::vector<Misc*> QuestItemsInPack() {
        std::vector<Misc*> found;
        for (Item* cell : InventoryGrid.cells) {
            Misc* misc = dynamic_cast<Misc*>(cell);
            if (misc != nullptr && misc->Kind() == 3 &&
                std::find(found.begin(), found.end(), misc) == found.end()) {
                found.push_back(misc);
            }
        }
        return found;
    }
    int32_t ArtifactsInPack() {
        std::vector<Item*> seen;
        for (Item* cell : InventoryGrid.cells) {
            if (cell != nullptr && cell->IsArtifact() && std::find(seen.begin(), seen.end(), cell) == seen.end()) {
                seen.push_back(cell);
            }
        }
        return static_cast<int32_t>(seen.size());
    }

    std::unique_ptr<Level> level_;
    QuestDialogSet savedDialogs_{};
    std::vector<QuestBlockerType> savedShrines_;
    std::vector<QuestItemType> savedItems_;
};

TEST(QuestData, BlockersAndItemsAreReadInOrderAndBrokenXmlKeepsWhatCameBefore) {
    const std::vector<QuestBlockerType> savedShrines = QuestBlockerTypes;
    const std::vector<QuestItemType> savedItems = QuestItemTypes;
    ClearQuestDB();
    const std::string good =
        "<quests><blocker name=\"Mellow Shrine\" sprite=\"a.png\" text=\"Calm.\" extra=\"x\"/>"
        "<Blocker name=\"ignored\"/><item name=\"Orb\" sprite=\"orb.png\"/><blocker sprite=\"b.png\"/>"
        "<item name=\"Orb\"/></quests>";
    EXPECT_TRUE(LoadQuestDBFromText(good.data(), good.size(), "quests.xml"));
    ASSERT_EQ(QuestBlockerTypes.size(), 2u);
    EXPECT_EQ(QuestBlockerTypes[0].name, "Mellow Shrine");
    EXPECT_EQ(QuestBlockerTypes[0].spriteName, "a.png");
    EXPECT_EQ(QuestBlockerTypes[0].text, "Calm.");
    EXPECT_EQ(QuestBlockerTypes[1].name, "");  // a missing attribute is an empty string
    EXPECT_EQ(QuestBlockerTypes[1].text, "");
    ASSERT_EQ(QuestItemTypes.size(), 2u);  // a repeated name makes a second entry
    EXPECT_EQ(QuestItemTypes[0].spriteName, "orb.png");
    EXPECT_EQ(QuestItemTypes[1].spriteName, "");

    const std::string broken = "<quests>\n<blocker name=\"Late\"/>\n<item name=\"x\" <oops/></quests>";
    testing::internal::CaptureStdout();
    EXPECT_FALSE(LoadQuestDBFromText(broken.data(), broken.size(), "expansion//quests.xml"));
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find("expansion//quests.xml"), std::string::npos) << said;
    EXPECT_NE(said.find("line 3"), std::string::npos) << said;
    EXPECT_NE(said.find("column"), std::string::npos) << said;
    ASSERT_EQ(QuestBlockerTypes.size(), 3u);
    EXPECT_EQ(QuestBlockerTypes[2].name, "Late");
    EXPECT_EQ(QuestItemTypes.size(), 2u);
    QuestBlockerTypes = savedShrines;
    QuestItemTypes = savedItems;
}

TEST(QuestData, OurQuestFileHasTheTwoKnownShrinesOneOfOurOwnAndItemPictures) {
    const std::vector<QuestBlockerType> savedShrines = QuestBlockerTypes;
    const std::vector<QuestItemType> savedItems = QuestItemTypes;
    ClearQuestDB();
    std::vector<char> text;
    {
        const std::string path = std::string(VAULTMERE_SOURCE_DIR) + "/data/game/quests.xml";
        FILE* file = std::fopen(path.c_str(), "rb");
        ASSERT_NE(file, nullptr);
        char buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.insert(text.end(), buffer, buffer + n);
        std::fclose(file);
    }
    ASSERT_TRUE(LoadQuestDBFromText(text.data(), text.size(), "quests.xml"));
    std::vector<std::string> names;
    for (const QuestBlockerType& type : QuestBlockerTypes) {
        names.push_back(type.name);
        EXPECT_FALSE(type.text.empty()) << type.name;
    }
    EXPECT_TRUE(Contains(names, "Mellow Shrine"));
    EXPECT_TRUE(Contains(names, "Monolith"));
    const bool ownKind = std::any_of(names.begin(), names.end(), [](const std::string& n) {
        return QuestShrineMinimapIcon(n, 0) == "minimap_eyeball_0";
    });
    EXPECT_TRUE(ownKind);
    EXPECT_GE(QuestItemTypes.size(), 2u);
    QuestBlockerTypes = savedShrines;
    QuestItemTypes = savedItems;
}

TEST(QuestRecords, TheRecordIsThreeWordsSixStringsDepthAndStage) {
    QuestRecord quest;
    EXPECT_EQ(quest.name, "unnamed quest");
    EXPECT_EQ(quest.description, "unnamed quest description");
    quest.membersLeft = 4;
    quest.firstKind = 2;
    quest.secondKind = 5;
    quest.extraText = "x";
    quest.description = "Eliminate H [Level 3]";
    quest.monsterName = "Mo";
    quest.hordeName = "H";
    quest.itemName = "Cup";
    quest.depth = 2;
    quest.stage = 1;
    SaveWriter out;
    ASSERT_TRUE(quest.Write(out));
    std::vector<uint8_t> expected;
    for (int32_t w : {4, 2, 5}) Append(expected, Word(w));
    for (const char* s : {"unnamed quest", "x", "Eliminate H [Level 3]", "Mo", "H", "Cup"}) AppendString(expected, s);
    Append(expected, Word(2));
    Append(expected, Word(1));
    EXPECT_EQ(out.Buffer(), expected);

    SaveReader in(expected);
    QuestRecord back;
    ASSERT_TRUE(back.Read(in));
    EXPECT_EQ(back.membersLeft, 4);
    EXPECT_EQ(back.secondKind, 5);
    EXPECT_EQ(back.description, quest.description);
    EXPECT_EQ(back.itemName, "Cup");
    EXPECT_EQ(back.depth, 2);
    EXPECT_EQ(back.stage, 1);

    std::vector<uint8_t> cut(expected.begin(), expected.end() - 3);
    SaveReader truncated(cut);
    QuestRecord broken;
    EXPECT_FALSE(broken.Read(truncated));
}

TEST(QuestRecords, ShrineMinimapIconsFollowTheShrineName) {
    const struct {
        const char* name;
        int32_t zoom;
        const char* icon;
    } cases[] = {
        {"Mellow Shrine", 0, "minimap_mellow_0"}, {"Monolith", 3, "minimap_monolith_3"},
        {"Tall Idol", 1, "minimap_eyeball_1"},    {"monolith", 2, "minimap_eyeball_2"},
    };
    for (const auto& c : cases) EXPECT_EQ(QuestShrineMinimapIcon(c.name, c.zoom), c.icon) << c.name;
}

// Every template, drawn by its forced C draw, is offered word for word and starts its first
// objective.
TEST_F(QuestTest, EachTemplateOffersItsTextAndMakesItsFirstTarget) {
    AddShrine(1, 20, 20);
    const struct {
        int32_t first, second;
        const char* offer;      // %m monster, %h horde, %i item, %s shrine
        const char* objective;
    } expected[kQuestTemplateCount] = {
        {2, 0, "The monstrous horde, %h, must be stopped!", "Defeat the monstrous horde %h!"},
        {1, 0, "The vile monster, %m, has seized control of the Doriveza!", "Defeat %m!"},
        {3, 0, "The magical artifact, %i, has been lost! Will you seek it?", "Find the magical artifact %i!"},
        {4, 0,
         "The magical artifact, %i, has been lost! Will you take on the challenge of finding it, for the glory of "
         "Zozerezevizeru?",
         "Find the magical artifact %i!"},
        {5, 0, "The magical artifact, %i, must be found and used on the %s!", "Use %i on the %s!"},
        {1, 2, "The monster %m, and his horde of underlings, %h, must be defeated!", "Defeat %m and all members of %h!"},
        {1, 3, "The monster %m must be defeated, and the artifact %i must be recovered!",
         "Defeat %m and recover the artifact %i!"},
        {1, 5, "The monster %m must be defeated, and the artifact %i must be used on %s!",
         "Defeat %m and use %i on the %s!"},
        {2, 1, "The monstrous regiment, %h, and their commander, the vile %m, must be stopped at all costs!",
         "Eliminate %h and their commander, %m!"},
        {2, 3, "The monstrous regiment, %h, has recently come into possession of the artifact %i and must be stopped!",
         "Eliminate %h and recover the artifact %i!"},
        {2, 5,
         "The monstrous regiment, %h, has recently claimed possession of the artifact %i. Too powerful for any man, "
         "it must be taken to the %s to be destroyed!",
         "Eliminate %h, claim %i and destroy it at the %s!"},
        {4, 2, "You must find the item %i - but be warned, it is guarded by %h!",
         "Find %i and defeat its guardians, the %h!"},
        {4, 1, "You must find the item %i - but be warned, it is guarded by Lord Zarnoch's trusted servant, %m!",
         "Find %i and defeat its guardian, %m!"},
        {4, 5, "You must find the item %i and take it to the %s!", "Find %i and take it to the %s!"},
        {5, 1,
         "You must use the item %i on the %s - only then can Lord Zarnoch's servant, %m, be summoned and defeated!",
         "Summon %m by using %i on the %s, and defeat it!"},
        {5, 2, "You must use the item %i on the %s - only then can %h, be summoned and defeated!",
         "Summon %h by using %i on the %s, and defeat them!"},
    };
    for (int32_t k = 0; k < kQuestTemplateCount; ++k) {
        gOffers.clear();
        const size_t before = ActiveQuests.size();
        QuestRecord* quest = Accept(k);
        ASSERT_EQ(ActiveQuests.size(), before + 1) << k;
        auto fill = [&](const std::string& format) {
            std::string out;
            for (size_t i = 0; i < format.size(); ++i) {
                if (format[i] == '%' && i + 1 < format.size()) {
                    const char c = format[++i];
                    out += c == 'm' ? quest->monsterName : c == 'h' ? quest->hordeName : c == 'i' ? quest->itemName
                                                                                       : std::string("Monolith");
                } else {
                    out += format[i];
                }
            }
            return out;
        };
        ASSERT_EQ(gOffers.size(), 1u) << k;
        EXPECT_EQ(gOffers[0], fill(expected[k].offer)) << k;
        EXPECT_EQ(quest->description, fill(expected[k].objective) + " [Level 3]") << k;
        EXPECT_EQ(quest->firstKind, expected[k].first) << k;
        EXPECT_EQ(quest->secondKind, expected[k].second) << k;
        EXPECT_EQ(quest->depth, 2);
        EXPECT_EQ(quest->stage, 0);
        EXPECT_FALSE(quest->monsterName.empty());
        EXPECT_FALSE(quest->hordeName.empty());
        EXPECT_FALSE(quest->itemName.empty());
        // The first target.
        int32_t monsters = 0;
        int32_t itemsOnFloor = 0;
        for (Monster* m : On<Monster>(*level_)) monsters += m->quest == quest ? 1 : 0;
        for (Misc* m : On<Misc>(*level_)) itemsOnFloor += m->quest == quest ? 1 : 0;
        int32_t itemsInPack = 0;
        for (Misc* m : QuestItemsInPack()) {
            if (m->quest != quest) continue;
            ++itemsInPack;
            EXPECT_EQ(m->targetShrine, level_->questBlocker) << k;
            EXPECT_EQ(m->questItemName, quest->itemName);
        }
        switch (quest->firstKind) {
            case 1: EXPECT_EQ(monsters, 1) << k; break;
            case 2:
                EXPECT_GT(quest->membersLeft, 0) << k;
                EXPECT_EQ(monsters, quest->membersLeft) << k;
                break;
            case 3:
            case 4: EXPECT_EQ(itemsOnFloor, 1) << k; break;
            case 5: EXPECT_EQ(itemsInPack, 1) << k; break;
        }
    }
}

TEST_F(QuestTest, ANamedMonsterQuestWithoutASecondObjectiveCompletesAtTheDeath) {
    QuestRecord* quest = Accept(1);
    ASSERT_NE(quest, nullptr);
    std::vector<Monster*> targets = On<Monster>(*level_);
    ASSERT_EQ(targets.size(), 1u);
    Monster* target = targets[0];
    target->TakeDamage(100000, &hero_, "test", 0, 0);
    EXPECT_EQ(quest->stage, 2);
    EXPECT_TRUE(Contains(TickerLog(), "You have defeated " + quest->monsterName + "!"));
    ASSERT_EQ(gRewardsShown.size(), 1u);
    EXPECT_TRUE(gRewardsShown[0]->IsArtifact());
    EXPECT_EQ(ArtifactsInPack(), 1);
    // A death reported to a finished quest changes nothing.
    quest->OnMonsterKilled(target);
    EXPECT_EQ(quest->stage, 2);
    EXPECT_EQ(gRewardsShown.size(), 1u);
}

TEST_F(QuestTest, AHordeCountsDownKeepingThePluralAndThenSummonsTheSecondTarget) {
    QuestRecord quest;
    quest.firstKind = 2;
    quest.secondKind = 3;
    quest.hordeName = "The Salt Legion";
    quest.itemName = "Brass Ladle";
    quest.membersLeft = 3;
    Monster* member = new Monster(MonsterTable.front());
    member->PlaceOnLevel(8, 8, level_.get(), 0);
    for (int32_t i = 0; i < 3; ++i) quest.OnMonsterKilled(member);
    const std::vector<std::string> log = TickerLog();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[log.size() - 3], "There are 2 members of The Salt Legion remaining...");
    EXPECT_EQ(log[log.size() - 2], "There are 1 members of The Salt Legion remaining...");
    EXPECT_EQ(log[log.size() - 1], "You have annihilated The Salt Legion!");
    EXPECT_EQ(quest.stage, 1);
    ApplyDeferredObjectMoves();
    Misc* found = nullptr;
    for (Misc* m : On<Misc>(*level_)) found = m->quest == &quest ? m : found;
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->x, 8);
    EXPECT_EQ(found->y, 8);
    EXPECT_EQ(found->questItemName, "Brass Ladle");
}

TEST_F(QuestTest, TheVanishingItemOfTemplateThirteenIsReplacedAndHandedInAtTheShrine) {
    QuestBlocker* shrine = AddShrine(0, 20, 20);
    QuestRecord* quest = Accept(13);
    ASSERT_NE(quest, nullptr);
    std::vector<Misc*> floor = On<Misc>(*level_);
    ASSERT_EQ(floor.size(), 1u);
    Misc* first = floor[0];
    const int32_t fx = first->x;
    const int32_t fy = first->y;
    EXPECT_EQ(first->Activate(), 1);
    EXPECT_TRUE(Contains(TickerLog(), "You have found the item, " + quest->itemName + "!"));
    EXPECT_EQ(quest->stage, 1);
    EXPECT_TRUE(QuestItemsInPack().empty());  // it vanished instead of going into the pack
    DeleteQueuedObjects();
    ApplyDeferredObjectMoves();
    floor = On<Misc>(*level_);
    ASSERT_EQ(floor.size(), 1u);
    Misc* second = floor[0];
    EXPECT_EQ(second->x, fx);
    EXPECT_EQ(second->y, fy);
    EXPECT_EQ(second->targetShrine, shrine);
    EXPECT_EQ(second->questItemName, quest->itemName);

    // Any other item is left alone; the shrine still reports the use as handled.
    Misc stranger(3);
    stranger.quest = quest;
    EXPECT_EQ(shrine->UseItemOn(&stranger), 1);
    EXPECT_EQ(quest->stage, 1);

    EXPECT_EQ(shrine->UseItemOn(second), 1);
    EXPECT_TRUE(Contains(TickerLog(), "You have transported the item " + quest->itemName +
                                          " to the Mellow Shrine! It vanishes in a puff of smoke!"));
    EXPECT_EQ(quest->stage, 2);
    EXPECT_EQ(gRewardsShown.size(), 1u);
    EXPECT_EQ(shrine->UseItemOn(second), 1);  // complete: nothing more
    EXPECT_EQ(gRewardsShown.size(), 1u);
}

TEST_F(QuestTest, DecliningTheOfferSpendsTheStatueButNayToThePrayerDoesNot) {
    Statue* statue = new Statue();
    statue->PlaceOnLevel(5, 5, level_.get(), 0);
    gAskAnswer = 1;  // "Nay"
    EXPECT_EQ(statue->Activate(), 1);
    EXPECT_EQ(statue->available, 1);
    EXPECT_TRUE(gOffers.empty());
    gAskAnswer = 0;
    gOfferAnswer = 1;  // decline
    EXPECT_EQ(statue->Activate(), 1);
    EXPECT_EQ(statue->available, 0);
    EXPECT_EQ(gOffers.size(), 1u);
    EXPECT_TRUE(ActiveQuests.empty());
    EXPECT_EQ(statue->Activate(), 0);  // spent
    EXPECT_EQ(gOffers.size(), 1u);
}

TEST_F(QuestTest, ALevelWithoutAShrineIsNeverOfferedAShrineQuest) {
    ASSERT_EQ(level_->questBlocker, nullptr);
    for (int32_t k : {4, 7, 10, 13, 14, 15}) {
        gOffers.clear();
        QuestRecord* quest = Accept(k);
        ASSERT_NE(quest, nullptr) << k;
        EXPECT_TRUE(GetQuestTemplate(k).needsShrine) << k;
        EXPECT_NE(quest->firstKind, 5) << k;
        EXPECT_NE(quest->secondKind, 5) << k;
        EXPECT_EQ(gOffers[0].find("Shrine"), std::string::npos) << gOffers[0];
    }
}

TEST_F(QuestTest, AHordeThatComesOutEmptyIsMetAtOnce) {
    ClearMonsterDB();
    RemoveSampleGenerationRecords();
    InitMonsterTables();
    testing::internal::CaptureStdout();
    QuestRecord* quest = Accept(0);
    testing::internal::GetCapturedStdout();
    ASSERT_NE(quest, nullptr);
    EXPECT_EQ(quest->membersLeft, 0);
    EXPECT_EQ(quest->stage, 2);
    EXPECT_TRUE(Contains(TickerLog(), "You have annihilated " + quest->hordeName + "!"));
    EXPECT_EQ(gRewardsShown.size(), 1u);
}

TEST_F(QuestTest, AbandoningClearsEveryReferenceBeforeTheRecordGoes) {
    QuestRecord* quest = Accept(6);  // a monster now, an item later
    ASSERT_NE(quest, nullptr);
    QuestRecord* other = Accept(1);
    std::vector<Monster*> monsters = On<Monster>(*level_);
    ASSERT_EQ(monsters.size(), 2u);
    Misc* floorItem = MakeQuestItem(quest, nullptr);
    floorItem->PlaceOnLevel(9, 9, level_.get(), 0);
    Misc* packItem = MakeQuestItem(quest, nullptr);
    PutItemInBag(packItem);
    Misc* carried = MakeQuestItem(quest, nullptr);
    monsters[0]->carriedItems.push_back(carried);

    AbandonQuest(quest);
    ASSERT_EQ(ActiveQuests.size(), 1u);
    EXPECT_EQ(ActiveQuests[0], other);
    for (Monster* m : monsters) EXPECT_TRUE(m->quest == nullptr || m->quest == other);
    EXPECT_EQ(floorItem->quest, nullptr);
    EXPECT_EQ(packItem->quest, nullptr);
    EXPECT_EQ(carried->quest, nullptr);
    // A pick-up of the former quest item is an ordinary pick-up.
    EXPECT_EQ(floorItem->Activate(), 1);
    EXPECT_EQ(other->stage, 0);
    EXPECT_EQ(QueuedDeletionCount(), 0u);  // it was taken, not swallowed by a quest
    if (GetCursorItem() == floorItem) {
        ClearCursorItem();
        delete floorItem;
    }
}

TEST_F(QuestTest, ALoadedShrineBecomesTheShrineOfQuestsOfItsDepthAndRelinksTheirItem) {
    QuestBlocker* shrine = AddShrine(2, 20, 20);
    QuestRecord here;
    here.depth = 2;
    QuestRecord elsewhere;
    elsewhere.depth = 5;
    ActiveQuests = {new QuestRecord(here), new QuestRecord(elsewhere)};
    SaveWriter out;
    ASSERT_TRUE(shrine->Save(out));
    const std::vector<uint8_t> bytes = out.Buffer();
    LevelBeingLoaded = level_.get();
    SaveReader in(bytes);
    in.version = kCurrentSaveVersion;
    QuestBlocker* loaded = new QuestBlocker(in);  // the level owns it
    LevelBeingLoaded = nullptr;
    ASSERT_FALSE(in.Failed()) << in.Error();
    EXPECT_EQ(loaded->level, level_.get());
    EXPECT_EQ(loaded->GetName(), "Tall Idol");
    EXPECT_EQ(level_->questBlocker, loaded);
    EXPECT_EQ(ActiveQuests[0]->shrine, loaded);
    EXPECT_EQ(ActiveQuests[1]->shrine, nullptr);
    Misc item(3);
    ActiveQuests[0]->questItem = &item;
    ActiveQuests[0]->RelinkItem();
    EXPECT_EQ(item.targetShrine, loaded);
    level_->questBlocker = shrine;
    gAsked.clear();
    EXPECT_EQ(shrine->Activate(), 1);
    ASSERT_EQ(gAsked.size(), 1u);
}

TEST_F(QuestTest, TheStatueAsksWithTheYesAndNoButtonsOfEveryOtherQuestion) {
    Statue* statue = new Statue();
    statue->PlaceOnLevel(3, 2, level_.get(), 0);
    gAskAnswer = 1;  // no
    EXPECT_EQ(statue->Activate(), 1);
    EXPECT_EQ(gAsked, std::vector<std::string>{"Pray to Zozerezevizeru, the Goddess of Sidequests?"});
    EXPECT_EQ(gAskedArt, std::vector<std::string>{"ui/dialog_but_yea|ui/dialog_but_nay"});
    EXPECT_EQ(statue->available, 1) << "declined: the statue still offers";
}

}  // namespace

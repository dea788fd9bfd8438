// The quest log: which quests each tab lists, paging, the abandon buttons' hit test inside the
// list's clip, abandoning with every reference cleared, and whole openings on input scripts.
#include "interface/quest_log.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/player.h"
#include "interface/dialogs.h"
#include "interface/hud.h"
#include "interface/game_frame.h"
#include "interface/hud_draw.h"
#include "interface/menu_test_fixture.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/quest.h"
#include "levels/level.h"

namespace {

QuestRecord* AddQuest(int32_t stage, const char* description) {
    QuestRecord* quest = new QuestRecord();
    quest->stage = stage;
    quest->description = description;
    ActiveQuests.push_back(quest);
    return quest;
}

class QuestLogTest : public testing::Test {
protected:
    void TearDown() override { ClearActiveQuests(); }
};

TEST_F(QuestLogTest, TabsSplitTheQuestsByStageInActiveOrder) {
    QuestRecord* a = AddQuest(0, "a");
    QuestRecord* b = AddQuest(2, "b");
    QuestRecord* c = AddQuest(1, "c");
    QuestRecord* d = AddQuest(2, "d");
    EXPECT_EQ(QuestLogEntries(0), (std::vector<QuestRecord*>{a, c}));
    EXPECT_EQ(QuestLogEntries(1), (std::vector<QuestRecord*>{b, d}));
    c->stage = 2;
    EXPECT_EQ(QuestLogEntries(1), (std::vector<QuestRecord*>{b, c, d}));
    ClearActiveQuests();
    EXPECT_TRUE(QuestLogEntries(0).empty());
    EXPECT_TRUE(QuestLogEntries(1).empty());
}

TEST_F(QuestLogTest, PagingDownStopsAtTheLastPage) {
    const struct {
        int32_t page, count;
        bool down;
    } cases[] = {{0, 0, false}, {0, 4, false}, {0, 5, true}, {1, 5, false}, {1, 9, true}, {2, 9, false}};
    for (const auto& c : cases) EXPECT_EQ(QuestLogCanPageDown(c.page, c.count), c.down) << c.page << "/" << c.count;
}

TEST_F(QuestLogTest, AbandonButtonsAnswerOnlyInsideTheListClip) {
    const struct {
        const char* name;
        int32_t rx, ry;
        std::vector<int32_t> heights;
        int32_t entry;
    } cases[] = {
        {"first button", 100, 130, {30, 30}, 0},
        {"first button's corners", 89, 116, {30, 30}, 0},
        {"far corner", 121, 148, {30, 30}, 0},
        {"left of it", 88, 130, {30, 30}, -1},
        {"second button", 100, 160, {30, 30}, 1},
        {"only the first hit counts", 100, 148, {30, 30}, 0},
        {"below the last button", 100, 190, {30, 30}, -1},
        {"a button partly below the clip, inside it", 100, 447, {300, 30}, 1},
        {"the same button below the clip", 100, 449, {300, 30}, -1},
        {"a button wholly below the clip", 100, 470, {340, 30}, -1},
        {"no entries", 100, 130, {}, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(QuestAbandonButtonAt(c.rx, c.ry, c.heights), c.entry) << c.name;
}

TEST_F(QuestLogTest, AbandoningClearsEveryReferenceAndDestroysOnlyThatQuest) {
    // The hero first: a new hero starts with an empty backpack and cursor.
    Player hero;
    Player* savedHero = CurrentPlayer;
    CurrentPlayer = &hero;
    QuestRecord* kept = AddQuest(0, "kept");
    QuestRecord* gone = AddQuest(1, "gone");
    Level* here = new Level(0, 0);
    here->SetSize(10, 10);
    Level* there = new Level(1, 0);
    there->SetSize(10, 10);
    GameLevels.push_back(here);
    GameLevels.push_back(there);
    MonsterRecord record;
    Monster* horde = new Monster(&record);
    horde->quest = gone;
    there->AddObject(horde);
    Monster* other = new Monster(&record);
    other->quest = kept;
    there->AddObject(other);
    Item* onFloor = new Item();
    onFloor->quest = gone;
    here->AddObject(onFloor);
    Item* inPack = new Item();
    inPack->quest = gone;
    InventoryGrid.cells[5] = inPack;
    Item* onCursor = new Item();
    onCursor->quest = gone;
    SetCursorItem(onCursor);
    Item* onBelt = new Item();
    onBelt->quest = gone;
    hero.quickSlots[2] = onBelt;

    AbandonQuest(gone);
    EXPECT_EQ(ActiveQuests, (std::vector<QuestRecord*>{kept}));
    EXPECT_EQ(horde->quest, nullptr);
    EXPECT_EQ(other->quest, kept);
    EXPECT_EQ(onFloor->quest, nullptr);
    EXPECT_EQ(inPack->quest, nullptr);
    EXPECT_EQ(onCursor->quest, nullptr);
    EXPECT_EQ(onBelt->quest, nullptr);
    // A record that is not active is left alone.
    QuestRecord stranger;
    AbandonQuest(&stranger);
    EXPECT_EQ(ActiveQuests.size(), 1u);

    hero.quickSlots[2] = nullptr;
    CurrentPlayer = savedHero;
    delete onBelt;
    ClearCursorItem();
    delete onCursor;
    InventoryGrid.cells[5] = nullptr;
    delete inPack;
    for (Level* level : GameLevels) delete level;
    GameLevels.clear();
}

class QuestLogWindowTest : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        MenuBarHover = false;
        QuestUIArtLoad();
    }
    void TearDown() override {
        ClearActiveQuests();
        FreeQuestUIArt();
        MenuScreenTest::TearDown();
    }
    // The 502 x 480 panel centred on 1280 x 720 is at (389, 120): the first abandon button
    // covers (478..510, 236..268), the completed tab (781..859, 150..169).
};

TEST_F(QuestLogWindowTest, AbandonAsksAndOnlyYeaRemovesTheQuest) {
    QuestRecord* first = AddQuest(0, "Find the lost spoon.");
    AddQuest(2, "Bring back the bees.");
    // Nay keeps it.
    Script("wait 40\nclick 1 490 250\nwait 40\nclick 1 740 458\nwait 40\nkey escape");
    ShowQuestLog();
    ASSERT_EQ(ActiveQuests.size(), 2u);
    EXPECT_EQ(ActiveQuests[0], first);
    // Yea on the completed tab's first entry removes the completed quest.
    Script("wait 40\nclick 1 820 160\nwait 40\nclick 1 490 250\nwait 40\nclick 1 540 458\nwait 40\nkey escape");
    ShowQuestLog();
    EXPECT_EQ(ActiveQuests, (std::vector<QuestRecord*>{first}));
    // Yea on the first tab.
    Script("wait 40\nclick 1 490 250\nwait 40\nclick 1 540 458\nwait 40\nclick 1 490 250\nwait 40\nkey escape");
    ShowQuestLog();
    EXPECT_TRUE(ActiveQuests.empty());
}

}  // namespace

// Tutorials: reading tutorial documents, trigger reports, running steps and completion.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/shell/shell_services.h"
#include "creatures/skill_db.h"
#include "creatures/spell.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/blockers.h"
#include "levels/level.h"
#include "levels/level_test_map.h"
#include "levels/object_queue.h"
#include "levels/room_templates.h"
#include "levels/tutorial.h"

namespace {

std::vector<std::string> Shown;
int32_t Tunes = 0;
std::string LastTune;
int32_t Dialogs = 0;
int32_t DialogAnswer = 0;

void RecordText(const char* text) { Shown.push_back(text); }
void RecordTune(const char* file) {
    ++Tunes;
    LastTune = file;
}
int32_t RecordDialog() {
    ++Dialogs;
    return DialogAnswer;
}

class TutorialTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedTutorials_ = Tutorials;
        Tutorials.clear();
        savedCalls_ = TutorialActions;
        TutorialActions = {RecordText, RecordTune, RecordDialog};
        Shown.clear();
        Tunes = Dialogs = DialogAnswer = 0;
        LastTune.clear();
        TutorialFlag = false;
        LeaveGameFlag = false;
        TutorialContinueFlag = 0;
    }
    void TearDown() override {
        ClearTutorials();
        Tutorials = savedTutorials_;
        TutorialActions = savedCalls_;
        CurrentTutorial = nullptr;
        TutorialFlag = false;
        LeaveGameFlag = false;
        TutorialContinueFlag = 0;
        PendingTutorialNotices.clear();
    }
    // A running tutorial of these steps (text, trigger code).
    void Run(const std::vector<std::pair<std::string, int32_t>>& steps) {
        tutorial_.steps.clear();
        for (const auto& s : steps) {
            TutorialStep step;
            step.text = s.first;
            step.trigger = s.second;
            tutorial_.steps.push_back(step);
        }
        tutorial_.completed = 0;
        BeginTutorial(&tutorial_);
        TutorialFlag = true;
    }

    Tutorial tutorial_;
    std::vector<Tutorial*> savedTutorials_;
    TutorialCalls savedCalls_{};
};

}  // namespace

TEST_F(TutorialTest, ADocumentParsesToTheFieldsAndCodes) {
    const std::string xml =
        "<Tutorials>\n"
        "<tutorial>\n"
        "  <INFO name='First' description='Old' icon='a.png'/>\n"
        "  <info name='Walking' description='Learn to walk.' icon='ui/tut/walk.png'/>\n"
        "  <room name='Chamber' playerStartX='3' playerStartY='4'/>\n"
        "  <skill id='6'/><skill id='12x'/>\n"
        "  <equip name='Rusty Blade'/><item name='Bread'/><item/><ability name='Ember Lick'/>\n"
        "  <script text='Hello.'/>\n"
        "  <script text='Open it.' trigger='openequip'/>\n"
        "  <script trigger='opencharactersheet' action='removeblocker' value='gate'/>\n"
        "  <script trigger='dance' action='sing' value='x'/>\n"
        "  <script trigger='setactiverecipe'/>\n"
        "</tutorial>\n"
        "<skill id='9'/>\n"
        "<tutorial><info name='Second'/></tutorial>\n"
        "</Tutorials>\n";
    ASSERT_TRUE(LoadTutorialsFromText(xml.data(), xml.size(), "test"));
    ASSERT_EQ(Tutorials.size(), 2u);
    const Tutorial& t = *Tutorials[0];
    EXPECT_EQ(t.name, "Walking");  // the second info overwrites the first
    EXPECT_EQ(t.description, "Learn to walk.");
    EXPECT_EQ(t.icon, "ui/tut/walk.png");
    EXPECT_EQ(t.room, "Chamber");
    EXPECT_EQ(t.playerStartX, 3);
    EXPECT_EQ(t.playerStartY, 4);
    EXPECT_EQ(t.skills, (std::vector<int32_t>{6, 12}));
    EXPECT_EQ(t.equipment, (std::vector<std::string>{"Rusty Blade"}));
    EXPECT_EQ(t.items, (std::vector<std::string>{"Bread", ""}));
    EXPECT_EQ(t.abilities, (std::vector<std::string>{"Ember Lick"}));
    EXPECT_EQ(t.completed, 0);
    ASSERT_EQ(t.steps.size(), 5u);
    struct Want {
        const char* text;
        int32_t trigger, action;
        const char* value;
    };
    const Want want[] = {{"Hello.", 0, 0, ""}, {"Open it.", 12, 0, ""}, {"", 12, 1, "gate"}, {"", 0, 0, "x"},
                         {"", 17, 0, ""}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(t.steps[i].text, want[i].text) << i;
        EXPECT_EQ(t.steps[i].trigger, want[i].trigger) << i;
        EXPECT_EQ(t.steps[i].action, want[i].action) << i;
        EXPECT_EQ(t.steps[i].value, want[i].value) << i;
    }
    EXPECT_EQ(Tutorials[1]->name, "Second");
    EXPECT_TRUE(Tutorials[1]->skills.empty());  // a skill outside a tutorial goes nowhere
}

TEST_F(TutorialTest, EveryTriggerWordHasItsCode) {
    const std::vector<std::pair<const char*, int32_t>> words = {
        {"killmonster", 1}, {"fliplever", 2}, {"eatfood", 3}, {"equipability", 4}, {"useability", 5},
        {"openinventory", 6}, {"putitemininventory", 7}, {"pickupitem", 8}, {"equipitem", 9},
        {"deequipitem", 10}, {"stackitem", 11}, {"opencharactersheet", 12}, {"openequip", 12},
        {"drinkpotion", 13}, {"opencrafting", 14}, {"makecraft", 15}, {"getrecipe", 16},
        {"setactiverecipe", 17}, {"", 0}, {"EatFood", 0}, {"eat", 0}};
    for (const auto& w : words) EXPECT_EQ(TutorialTriggerCode(w.first), w.second) << w.first;
    EXPECT_EQ(TutorialActionCode("removeblocker"), 1);
    EXPECT_EQ(TutorialActionCode("RemoveBlocker"), 0);
    EXPECT_EQ(TutorialActionCode(""), 0);
}

TEST_F(TutorialTest, ABrokenDocumentKeepsTheTutorialsClosedBeforeTheFault) {
    const std::string xml = "<tutorials><tutorial><info name='Kept'/></tutorial>\n"
                            "<tutorial><info name='Lost'/>\n<script text='a' </tutorial></tutorials>";
    testing::internal::CaptureStdout();
    EXPECT_FALSE(LoadTutorialsFromText(xml.data(), xml.size(), "game//tutorial.xml"));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("tutorial: game//tutorial.xml, line 3, column "), std::string::npos) << out;
    ASSERT_EQ(Tutorials.size(), 1u);
    EXPECT_EQ(Tutorials[0]->name, "Kept");
}

// Codes whose next step runs at once, and codes that wait for the next turn.
TEST_F(TutorialTest, NotifyAdvancesOnTheAwaitedCodeOnly) {
    for (int32_t code = 1; code <= 17; ++code) {
        SCOPED_TRACE(code);
        Run({{"wait", code}, {"next", 0}, {"last", 99}});
        RunTutorialStep();
        EXPECT_EQ(Shown, (std::vector<std::string>{"wait"}));
        NotifyTutorial(code == 1 ? 2 : 1, 0);  // another code changes nothing
        EXPECT_EQ(TutorialStepIndex, 0);
        const bool atOnce = code == 4 || code == 6 || code == 7 || code == 9 || code == 10 || code == 12 ||
                            code == 14 || code == 15 || code == 17;
        NotifyTutorial(code, 0);
        EXPECT_EQ(TutorialStepIndex, atOnce ? 2 : 1);
        EXPECT_EQ(TutorialCodeRunsAtOnce(code), atOnce);
        EXPECT_EQ(Shown.size(), atOnce ? 3u : 1u) << "the step after it runs at once or next turn";
        NotifyTutorial(code, 0);  // a double report compares with the next step's trigger
        EXPECT_EQ(TutorialStepIndex, atOnce ? 2 : 1);
        RunTutorialStep();  // the turn
        EXPECT_EQ(Shown, (std::vector<std::string>{"wait", "next", "last"}));
        EXPECT_EQ(TutorialStepIndex, 2);
        Shown.clear();
    }
    // No running tutorial: nothing changes.
    Run({{"wait", 3}});
    TutorialFlag = false;
    NotifyTutorial(3, 0);
    EXPECT_EQ(TutorialStepIndex, 0);
    CurrentTutorial = nullptr;
    TutorialFlag = true;
    NotifyTutorial(3, 0);
    EXPECT_EQ(TutorialStepIndex, 0);
}

TEST_F(TutorialTest, CompletionHappensOnceAndAnswersTheContinueFlag) {
    for (int32_t answer = 0; answer <= 1; ++answer) {
        SCOPED_TRACE(answer);
        Tunes = Dialogs = 0;
        Shown.clear();
        LeaveGameFlag = false;
        DialogAnswer = answer;
        Run({{"one", 0}, {"two", 0}, {"", 0}});
        RunTutorialStep();  // steps without triggers all run in one go
        EXPECT_EQ(Shown, (std::vector<std::string>{"one", "two"}));
        EXPECT_EQ(tutorial_.completed, 1);
        EXPECT_TRUE(TutorialFinished);
        EXPECT_TRUE(LeaveGameFlag);
        EXPECT_EQ(TutorialContinueFlag, answer);
        EXPECT_EQ(TutorialCompletionChoice, answer);
        RunTutorialStep();  // another turn before the loop ends
        RunTutorialStep();
        EXPECT_EQ(Tunes, 1);
        EXPECT_EQ(LastTune, "tunes/orb-unlooped.ogg");
        EXPECT_EQ(Dialogs, 1);
        EXPECT_EQ(Shown.size(), 2u);
    }
    // The last step's trigger completes the tutorial on the turn after the report.
    Tunes = Dialogs = 0;
    Run({{"eat", 3}});
    RunTutorialStep();
    EXPECT_EQ(Dialogs, 0);
    NotifyTutorial(3, 0);
    RunTutorialStep();
    EXPECT_EQ(Dialogs, 1);
    EXPECT_EQ(Tunes, 1);
}

TEST_F(TutorialTest, RemoveBlockerRemovesTheFirstBlockerOfThatNameOnly) {
    ScopedTestLevel level(10, 10, 1);
    Blocker* a = new Blocker(level.get(), -1, "");
    Blocker* b = new Blocker(level.get(), -1, "");
    a->name = "gate";
    b->name = "gate";
    a->PlaceOnLevel(1, 1, level.get(), 1);
    b->PlaceOnLevel(2, 1, level.get(), 1);
    level->customBlockers = {a, b};
    tutorial_.steps.clear();
    TutorialStep none;
    none.action = 1;
    none.value = "wall";  // matches nothing
    TutorialStep gate;
    gate.action = 1;
    gate.value = "gate";
    gate.trigger = 3;
    tutorial_.steps = {none, gate};
    BeginTutorial(&tutorial_);
    TutorialFlag = true;
    RunTutorialStep();
    ASSERT_EQ(level->customBlockers.size(), 1u) << "deleted at once, and the list forgets it";
    EXPECT_EQ(level->customBlockers[0], b);
    EXPECT_EQ(QueuedDeletionCount(), 0u);
}

TEST_F(TutorialTest, NamedReportsAreKeptWithABoundAndAdvanceTheScript) {
    Run({{"eat", 3}, {"", 99}});
    RunTutorialStep();
    for (int i = 0; i < 100; ++i) NotifyTutorial(3, std::string("Bread"));
    EXPECT_EQ(PendingTutorialNotices.size(), kMaxTutorialNotices);
    EXPECT_EQ(PendingTutorialNotices.back().name, "Bread");
    EXPECT_EQ(TutorialStepIndex, 1);
}

// ---- our tutorial.xml --------------------------------------------------------------------------

namespace {

std::string ReadSource(const std::string& relative) {
    std::ifstream in(std::string(VAULTMERE_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace

// Every tutorial names things that exist: its room (with the blockers its steps remove and a
// floor start square), skills, items, equipment, abilities and its icon in the art manifest.
TEST_F(TutorialTest, OurTutorialsUseEveryReportedCodeAndNameOnlyWhatExists) {
    const std::string xml = ReadSource("data/game/tutorial.xml");
    ASSERT_TRUE(LoadTutorialsFromText(xml.data(), xml.size(), "tutorial.xml"));
    const std::string rooms = ReadSource("data/game/rooms.xml");
    const std::string items = ReadSource("data/game/itemDB.xml");
    const std::string spells = ReadSource("data/game/spellDB.xml");
    const std::string skills = ReadSource("data/game/skillDB.xml");
    const std::string manifest = ReadSource("data/art_manifest.txt");
    ASSERT_TRUE(spellDBLoadFromText(spells.data(), spells.size(), "spellDB.xml"));
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const bool roomsRead = LoadRoomTemplatesFromBuffer(rooms.data(), rooms.size(), "rooms.xml");
    const bool itemsRead = itemDBLoadText(items, "itemDB.xml");
    const bool skillsRead = SkillDBLoadFromText(skills.data(), skills.size(), "skillDB.xml");
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(roomsRead && itemsRead && skillsRead);
    BuildRoomTemplateMap();

    ASSERT_GE(Tutorials.size(), 7u) << "the list scrolls";
    EXPECT_EQ(Tutorials[0]->name, "Tutorial Chamber: Movement");
    std::set<int32_t> codes;
    bool removes = false;
    for (const Tutorial* t : Tutorials) {
        SCOPED_TRACE(t->name);
        const RoomTemplate* room = FindFirstRoomTemplate(t->room);
        ASSERT_NE(room, nullptr) << t->room;
        EXPECT_EQ(room->TileAt(t->playerStartX, t->playerStartY), RoomTile::Floor);
        std::set<std::string> blockers;
        for (const auto& record : room->records) {
            if (record->tag == "customblocker") blockers.insert(static_cast<const CustomRecord&>(*record).name);
        }
        for (const TutorialStep& step : t->steps) {
            if (step.trigger != 0) codes.insert(step.trigger);
            if (step.action == 1) {
                removes = true;
                EXPECT_EQ(blockers.count(step.value), 1u) << step.value;
            }
        }
        EXPECT_FALSE(t->steps.empty());
        for (int32_t id : t->skills) EXPECT_NE(FindSkillById(id), nullptr) << id;
        for (const std::string& name : t->items) EXPECT_NE(FindItemDefByName(name), nullptr) << name;
        for (const std::string& name : t->equipment) EXPECT_NE(FindItemDefByName(name), nullptr) << name;
        for (const std::string& name : t->abilities) EXPECT_NE(FindAbilityByName(name), nullptr) << name;
        EXPECT_NE(manifest.find(" " + t->icon + " "), std::string::npos) << t->icon;
    }
    EXPECT_TRUE(removes);
    for (int32_t code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16}) EXPECT_EQ(codes.count(code), 1u) << code;
    ClearSpellTable();
    ClearItemDB();
    ResetSkillDB();
    ClearRoomTemplates();
}

TEST_F(TutorialTest, ATutorialMadeCurrentDirectlyStartsWithClearFlags) {
    Run({{"only", 0}});
    RunTutorialStep();
    ASSERT_TRUE(TutorialFinished);
    Tutorial next;
    TutorialStep step;
    step.text = "next one";
    step.trigger = 6;
    next.steps = {step};
    // The way the tutorial list starts a game: the record and the step index only.
    CurrentTutorial = &next;
    TutorialStepIndex = 0;
    Shown.clear();
    RunTutorialStep();
    EXPECT_EQ(Shown, (std::vector<std::string>{"next one"}));
    EXPECT_FALSE(TutorialFinished);
    EXPECT_TRUE(TutorialWaiting);
    NotifyTutorial(6, 0);
    EXPECT_EQ(next.completed, 1);
    EXPECT_EQ(Dialogs, 2);
}

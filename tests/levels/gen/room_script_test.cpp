// Room conditions, room actions and the trigger pass on a small level made in the test.
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/save_stream.h"
#include "creatures/monster.h"
#include "creatures/monster_db.h"
#include "creatures/spell.h"
#include "items_fixtures/blockers.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/passages.h"
#include "levels/gen/room_action_exec.h"
#include "levels/gen/room_triggers.h"
#include "levels/room_script.h"
#include "levels/gen/room_script_fixture.h"

namespace {

// Room 0's origin.
constexpr int32_t kX0 = 2;
constexpr int32_t kY0 = 2;

template <class T>
std::unique_ptr<T> Make(const std::string& keyword) {
    RoomCondition* c = CreateRoomCondition(keyword);
    EXPECT_NE(c, nullptr) << keyword;
    return std::unique_ptr<T>(dynamic_cast<T*>(c));
}

}  // namespace

// ---- conditions ------------------------------------------------------------------------------

// Every object condition against an object of the right kind in its true state, no object, and
// an object of the wrong kind, each with not 0 and 1.
TEST_F(RoomScriptTest, ObjectConditionTruthTable) {
    const std::string monsters = "<monDB><monster name=\"Pebblemite\"/></monDB>";
    ASSERT_TRUE(monDBLoadFromText(monsters.data(), monsters.size(), "monDB.xml"));
    UseRooms("<room name='a' width='6' height='5'><row text='......'/><row text='......'/><row text='......'/>"
             "<row text='......'/><row text='......'/></room>");

    Monster* dead = Label(new Monster(monDBFindByName("Pebblemite")), 0, "dead", kX0 + 1, kY0 + 1);
    dead->dead = 1;
    Label(new Monster(monDBFindByName("Pebblemite")), 0, "alive", kX0 + 1, kY0 + 2);
    Activatable* on = Label(new Activatable(), 0, "on", kX0 + 2, kY0 + 1);
    on->activated = 1;  // switched on this turn: older state 0
    Clock* running = Label(new Clock(level_->get(), -1, "", 5, 5, 1), 0, "running", kX0 + 3, kY0 + 1);
    Clock* halted = Label(new Clock(level_->get(), -1, "", 5, 5, 0), 0, "halted", kX0 + 3, kY0 + 2);
    GameObj* plain = Label(new GameObj(), 0, "plain", kX0 + 4, kY0 + 3);
    L().AddRoomEvent(0, "on", "hit");
    ASSERT_TRUE(running->IsRunning());
    ASSERT_TRUE(halted->IsStopped());

    struct Case {
        const char* keyword;
        const char* goodId;   // an object for which the test is true
        int found, missing, wrong;
        const char* warning;  // printed for the wrong kind
    };
    const Case cases[] = {
        {"isdead", "dead", 1, 1, 0, "Object is not a monster!\n\n"},
        {"isalive", "alive", 1, 1, 0, "Object is not a monster!\n\n"},
        {"activated", "on", 1, 0, 0, "Object (id='plain') is not activatable!\n\n"},
        {"activated_changed", "on", 1, 1, 0, "Object is not activatable!\n\n"},
        {"at", "on", 1, 0, 0, ""},
        {"event", "on", 1, 0, 0, ""},
        {"started", "running", 1, 0, 0, "Object (id='plain') is not a clock!\n\n"},
        {"stopped", "halted", 1, 0, 0, "Object (id='plain') is not a clock!\n\n"},
    };
    for (const Case& c : cases) {
        for (int notFlag = 0; notFlag <= 1; ++notFlag) {
            SCOPED_TRACE(std::string(c.keyword) + " not=" + std::to_string(notFlag));
            auto cond = Make<ObjectCondition>(c.keyword);
            ASSERT_NE(cond, nullptr);
            cond->notFlag = static_cast<uint8_t>(notFlag);
            if (auto* at = dynamic_cast<AtCondition*>(cond.get())) {
                at->x = 2;
                at->y = 1;
            }
            if (auto* ev = dynamic_cast<EventCondition*>(cond.get())) ev->event_type = "hit";
            cond->id = c.goodId;
            EXPECT_EQ(cond->Holds(0), (c.found != 0) != (notFlag != 0)) << "found";
            cond->id = "nobody";
            EXPECT_EQ(cond->Holds(0), (c.missing != 0) != (notFlag != 0)) << "missing";
            cond->id = "plain";
            testing::internal::CaptureStderr();
            EXPECT_EQ(cond->Holds(0), (c.wrong != 0) != (notFlag != 0)) << "wrong kind";
            EXPECT_EQ(testing::internal::GetCapturedStderr(), c.warning);
        }
    }
    // The same label in another room is not found there.
    auto other = Make<ObjectCondition>("isalive");
    other->id = "alive";
    other->notfound = 0;
    EXPECT_FALSE(other->Holds(1));
    (void)plain;
    ClearMonsterDB();
}

TEST_F(RoomScriptTest, ActivatedChangedWithMinusOneFiresOnAnyChangeAndWithOneOnlyOnSwitchingOn) {
    UseRooms("<room name='a' width='6' height='5'><row text='......'/><row text='......'/><row text='......'/>"
             "<row text='......'/><row text='......'/></room>");
    Activatable* lever = Label(new Activatable(), 0, "lv", kX0, kY0);
    auto any = Make<ActivatedChangedCondition>("activated_changed");
    auto toOn = Make<ActivatedChangedCondition>("activated_changed");
    auto toOff = Make<ActivatedChangedCondition>("activated_changed");
    any->id = toOn->id = toOff->id = "lv";
    toOn->activated = 1;
    toOff->activated = 0;
    struct Step {
        int32_t older, now;
        bool any, on, off;
    };
    const Step steps[] = {{0, 0, false, false, false}, {0, 1, true, true, false},
                          {1, 1, false, false, false}, {1, 0, true, false, true}};
    for (const Step& s : steps) {
        lever->activatedOlder = s.older;
        lever->activated = s.now;
        EXPECT_EQ(any->Holds(0), s.any) << s.older << "->" << s.now;
        EXPECT_EQ(toOn->Holds(0), s.on) << s.older << "->" << s.now;
        EXPECT_EQ(toOff->Holds(0), s.off) << s.older << "->" << s.now;
    }
}

TEST_F(RoomScriptTest, EnteredAndExitedHoldInExactlyOneTurnEach) {
    UseRooms("<room name='a' width='6' height='5'><row text='......'/><row text='......'/><row text='......'/>"
             "<row text='......'/><row text='......'/></room>");
    auto entered = Make<RoomCondition>("entered");
    auto exited = Make<RoomCondition>("exited");
    // (hero square, entered, exited) turn by turn: outside, in, stay, stay, out, stay out.
    struct Turn {
        int32_t x;
        bool entered, exited;
    };
    const Turn turns[] = {{0, false, false}, {kX0 + 1, true, false}, {kX0 + 1, false, false},
                          {kX0 + 2, false, false}, {0, false, true}, {0, false, false}};
    int32_t turn = 0;
    for (const Turn& t : turns) {
        HeroAt(t.x, kY0 + 1);
        EXPECT_EQ(entered->Holds(0), t.entered) << "turn " << turn;
        EXPECT_EQ(exited->Holds(0), t.exited) << "turn " << turn;
        L().DoRoomTriggerLogic();
        ++turn;
    }
}

TEST_F(RoomScriptTest, ThePreviousRoomIsTakenOnlyThroughARoomRecord) {
    UseRooms("<room name='a' width='6' height='5'><row text='......'/><row text='......'/><row text='......'/>"
             "<row text='......'/><row text='......'/></room>");
    HeroAt(kX0 + 1, kY0 + 1);
    L().DoRoomTriggerLogic();
    EXPECT_EQ(L().previousRoom, 0);
    HeroAt(0, 0);  // a square of no room (255)
    L().DoRoomTriggerLogic();
    EXPECT_EQ(L().previousRoom, -1);
    L().GetCell(1, 1)->room = 7;  // a room index without a record
    HeroAt(1, 1);
    L().DoRoomTriggerLogic();
    EXPECT_EQ(L().previousRoom, -1);
    L().ClearRooms();
    HeroAt(kX0 + 1, kY0 + 1);
    L().DoRoomTriggerLogic();
    EXPECT_EQ(L().previousRoom, -1);
}

// ---- actions ---------------------------------------------------------------------------------

namespace {

struct CastRecord {
    Spell* spell;
    int32_t sx, sy, tx, ty;
    int32_t heroStopped;
    std::string cause;
};
std::vector<CastRecord> Casts;

int32_t RecordCast(Spell* spell, int32_t sx, int32_t sy, int32_t tx, int32_t ty, Hittable*, const char* cause) {
    Casts.push_back({spell, sx, sy, tx, ty, CurrentPlayer != nullptr ? CurrentPlayer->stopWalking : -1, cause});
    return 1;
}

std::unique_ptr<RoomAction> ReadAction(const std::vector<const char*>& attributes) {
    std::vector<const char*> list = attributes;
    list.push_back(nullptr);
    RoomReadContext ctx;
    return std::unique_ptr<RoomAction>(ReadRoomAction(MakeAttributeMap(list.data()), ctx));
}

}  // namespace

TEST_F(RoomScriptTest, SpellActionStopsTheHeroAndCastsFromAndAtTheSquaresItWasGiven) {
    UseRooms("<room name='a' width='6' height='5'><row text='......'/><row text='......'/><row text='......'/>"
             "<row text='......'/><row text='......'/></room>");
    HeroAt(kX0 + 1, kY0 + 3);
    Spell spell;
    spell.name = "Test Spark";
    RoomSpellCast saved = RoomScriptSpellCast;
    RoomScriptSpellCast = RecordCast;
    struct Case {
        std::vector<const char*> attributes;
        int32_t sx, sy, tx, ty;
        const char* unused;  // standard output of the read
    };
    const int32_t hx = kX0 + 1, hy = kY0 + 3;
    const Case cases[] = {
        {{"on", "success", "action_type", "spell", "casts", "Test Spark"}, hx, hy, hx, hy, ""},
        {{"on", "success", "action_type", "spell", "casts", "Test Spark", "sourcex", "4", "sourcey", "0"},
         kX0 + 4, kY0, hx, hy, ""},
        {{"on", "success", "action_type", "spell", "casts", "Test Spark", "targetx", "5", "targety", "1"},
         hx, hy, kX0 + 5, kY0 + 1, ""},
        // A lone targetx is no point: the target stays the hero's square and targetx is unused.
        {{"on", "success", "action_type", "spell", "casts", "Test Spark", "targetx", "3"}, hx, hy, hx, hy,
         "roomScript: didn't use attribute 'targetx'\n"},
    };
    for (const Case& c : cases) {
        Casts.clear();
        hero_.stopWalking = 0;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        std::unique_ptr<RoomAction> action = ReadAction(c.attributes);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.unused);
        testing::internal::GetCapturedStderr();
        SpellAction* sa = dynamic_cast<SpellAction*>(action.get());
        ASSERT_NE(sa, nullptr);
        sa->spell = &spell;
        sa->Execute(0);
        ASSERT_EQ(Casts.size(), 1u);
        EXPECT_EQ(Casts[0].spell, &spell);
        EXPECT_EQ(Casts[0].sx, c.sx);
        EXPECT_EQ(Casts[0].sy, c.sy);
        EXPECT_EQ(Casts[0].tx, c.tx);
        EXPECT_EQ(Casts[0].ty, c.ty);
        EXPECT_EQ(Casts[0].heroStopped, 1) << "the hero stops before the cast";
        EXPECT_EQ(Casts[0].cause, "by a spell");
    }
    // Without a spell record nothing is cast.
    Casts.clear();
    SpellAction none;
    none.Execute(0);
    EXPECT_TRUE(Casts.empty());
    RoomScriptSpellCast = saved;
}

TEST_F(RoomScriptTest, ObjectActionsChangeTheLabelledObjectAndWarnOnEveryRun) {
    UseRooms("<room name='a' width='6' height='5'><row text='......'/><row text='......'/><row text='......'/>"
             "<row text='......'/><row text='......'/></room>");
    Clock* clock = Label(new Clock(level_->get(), -1, "", 5, 5, 0), 0, "clock", kX0 + 1, kY0 + 1);
    Blocker* gate = Label(new Blocker(level_->get(), -1, ""), 0, "gate", kX0 + 2, kY0 + 1);
    GameObj* crate = Label(new GameObj(), 0, "crate", kX0 + 3, kY0 + 1);
    ASSERT_EQ(gate->blocksMovement, 1);

    struct SetCase {
        const char* id;
        const char* setType;
        const char* value;
        bool running;  // the clock afterwards
        const char* warning;
    };
    const SetCase sets[] = {
        {"clock", "stopped", "0", true, ""},   // stopped 0 starts
        {"clock", "stopped", "1", false, ""},
        {"clock", "started", "1", true, ""},
        {"clock", "started", "0", false, ""},
        {"clock", "started", "7", false, ""},  // any other value stops
        {"crate", "started", "1", false, "Object (id='crate') is not a clock!\n\n"},
        {"clock", "colour", "1", false, "roomScript: found setType='colour'\n\n"},
        {"nobody", "started", "1", false, ""},
    };
    for (const SetCase& c : sets) {
        SCOPED_TRACE(std::string(c.id) + " " + c.setType + "=" + c.value);
        std::unique_ptr<RoomAction> set =
            ReadAction({"on", "success", "action_type", "set", "id", c.id, "set_type", c.setType, "value", c.value});
        ASSERT_NE(set, nullptr);
        for (int run = 0; run < 2; ++run) {  // warnings come on every run
            testing::internal::CaptureStderr();
            set->Execute(0);
            EXPECT_EQ(testing::internal::GetCapturedStderr(), c.warning);
        }
        EXPECT_EQ(clock->IsRunning(), c.running);
    }
    // The clock's start posted its event for this turn.
    EXPECT_TRUE(L().HasRoomEvent(0, "clock", "started"));

    std::unique_ptr<RoomAction> open =
        ReadAction({"on", "success", "action_type", "set", "id", "gate", "set_type", "passable", "value", "1"});
    open->Execute(0);
    EXPECT_EQ(gate->blocksMovement, 0);

    std::unique_ptr<RoomAction> move = ReadAction({"on", "success", "action_type", "move", "id", "crate", "x", "5", "y", "4"});
    move->Execute(0);
    EXPECT_EQ(crate->x, kX0 + 5);
    EXPECT_EQ(crate->y, kY0 + 4);
    std::unique_ptr<RoomAction> moveNobody =
        ReadAction({"on", "success", "action_type", "move", "id", "nobody", "x", "0", "y", "0"});
    moveNobody->Execute(0);  // nothing happens

    const size_t before = QueuedDeletionCount();
    std::unique_ptr<RoomAction> remove = ReadAction({"on", "success", "action_type", "remove", "id", "crate"});
    remove->Execute(0);
    remove->Execute(0);
    EXPECT_EQ(QueuedDeletionCount(), before + 1);

    std::unique_ptr<RoomAction> ticker = ReadAction({"on", "success", "action_type", "ticker", "text", "A bell rings."});
    ticker->Execute(0);
    EXPECT_EQ(CountTicker("A bell rings."), 1);
}

TEST_F(RoomScriptTest, ACreateActionRunTwiceMakesTwoObjects) {
    UseRooms("<room name='a' width='6' height='5'><row text='......'/><row text='......'/><row text='......'/>"
             "<row text='......'/><row text='......'/></room>");
    std::unique_ptr<RoomAction> create =
        ReadAction({"on", "success", "action_type", "create", "create_type", "lever", "x", "2", "y", "3"});
    ASSERT_NE(create, nullptr);
    auto levers = [&] {
        int32_t n = 0;
        for (GameObj* o : L().objects) n += (o->IsLever() && o->x == kX0 + 2 && o->y == kY0 + 3) ? 1 : 0;
        return n;
    };
    testing::internal::CaptureStdout();
    create->Execute(0);
    EXPECT_EQ(levers(), 1);
    create->Execute(0);
    EXPECT_EQ(levers(), 2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "activated: 0\nactivated: 0\n");
}

// ---- the trigger pass ------------------------------------------------------------------------

namespace {

const char* const kRows = "<row text='......'/><row text='......'/><row text='......'/><row text='......'/>"
                          "<row text='......'/>";

}  // namespace

TEST_F(RoomScriptTest, RepeatCountsLimitFiringAlsoAcrossASaveAndLoad) {
    UseRooms(std::string("<room name='a' width='6' height='5'>") + kRows +
             "<script repeat='2'><action on='success' action_type='ticker' text='twice'/></script>"
             "<script repeat='-1'><action on='success' action_type='ticker' text='always'/></script>"
             "<script><action on='success' action_type='ticker' text='once'/>"
             "<action on='failure' action_type='ticker' text='never'/></script>"
             "</room>");
    HeroAt(0, 0);
    L().DoRoomTriggerLogic();
    // Save and load the counters between the first and the second pass.
    SaveWriter out;
    ASSERT_TRUE(L().SaveRoomScriptState(out));
    L().scriptSuccesses.clear();
    L().previousRoom = 5;
    SaveReader in(out.Buffer());
    L().LoadRoomScriptState(in);
    ASSERT_FALSE(in.Failed());
    EXPECT_EQ(L().previousRoom, -1);
    for (int pass = 0; pass < 4; ++pass) L().DoRoomTriggerLogic();
    EXPECT_EQ(CountTicker("twice"), 2);
    EXPECT_EQ(CountTicker("always"), 5);
    EXPECT_EQ(CountTicker("once"), 1);
    EXPECT_EQ(CountTicker("never"), 0);
    EXPECT_EQ(L().scriptSuccesses.at(std::make_pair(0, 0)), 2);
    EXPECT_EQ(L().scriptSuccesses.at(std::make_pair(0, 1)), 5);
}

TEST_F(RoomScriptTest, AFailingConditionStopsTheLaterOnesAndInactiveRoomsNeverRun) {
    UseRooms(std::string("<room name='a' width='6' height='5'>") + kRows +
             "<script repeat='-1'><condition condition_type='isdead' id='nobody' notfound='0'/>"
             "<condition condition_type='type_at' x='1' y='1' type='potion'/>"
             "<action on='success' action_type='ticker' text='found'/></script></room>"
             "<room name='b' width='6' height='5'>" + kRows +
             "<script repeat='-1'><action on='success' action_type='ticker' text='room b'/></script></room>");
    L().rooms[1]->active = 0;
    L().DoRoomTriggerLogic();
    const RoomScript& script = *RoomTemplates[0]->scripts[0];
    const TypeAtCondition* typeAt = dynamic_cast<const TypeAtCondition*>(script.conditions[1].get());
    ASSERT_NE(typeAt, nullptr);
    EXPECT_EQ(typeAt->exemplar, nullptr) << "never evaluated";
    EXPECT_EQ(CountTicker("found"), 0);
    EXPECT_EQ(CountTicker("room b"), 0);
    L().rooms[1]->active = 1;
    L().DoRoomTriggerLogic();
    EXPECT_EQ(CountTicker("room b"), 1);
}

TEST_F(RoomScriptTest, AnEventPostedByAnActionIsSeenByLaterScriptsOfThePassOnly) {
    UseRooms(std::string("<room name='a' width='6' height='5'>") + kRows +
             "<script repeat='-1'><condition condition_type='event' id='clock' event_type='started'/>"
             "<action on='success' action_type='ticker' text='early'/></script>"
             "<script><action on='success' action_type='set' id='clock' set_type='started' value='1'/></script>"
             "<script repeat='-1'><condition condition_type='event' id='clock' event_type='started'/>"
             "<action on='success' action_type='ticker' text='late'/></script></room>");
    Label(new Clock(level_->get(), -1, "", 5, 5, 0), 0, "clock", kX0 + 1, kY0 + 1);
    L().DoRoomTriggerLogic();
    EXPECT_EQ(CountTicker("early"), 0);
    EXPECT_EQ(CountTicker("late"), 1);
    EXPECT_FALSE(L().HasRoomEvent(0, "clock", "started"));
    L().DoRoomTriggerLogic();
    EXPECT_EQ(CountTicker("early"), 0);
    EXPECT_EQ(CountTicker("late"), 1);
}

TEST_F(RoomScriptTest, EnteredHoldsInTheFirstPassOfANewLevel) {
    UseRooms(std::string("<room name='a' width='6' height='5'>") + kRows +
             "<script repeat='-1'><condition condition_type='entered'/>"
             "<action on='success' action_type='ticker' text='welcome'/></script></room>");
    ASSERT_EQ(L().previousRoom, -1);
    HeroAt(kX0 + 2, kY0 + 2);
    L().DoRoomTriggerLogic();
    L().DoRoomTriggerLogic();
    EXPECT_EQ(CountTicker("welcome"), 1);
}

TEST_F(RoomScriptTest, TheDebugFlagTracesThePass) {
    UseRooms(std::string("<room name='a' width='6' height='5'>") + kRows +
             "<script repeat='-1'><action on='success' action_type='ticker' text='x'/></script></room>");
    L().rooms.push_back(nullptr);
    CmdLine.debugFlags = kDebugRoomScripts;
    testing::internal::CaptureStdout();
    DoRoomTriggerLogic();
    const std::string out = testing::internal::GetCapturedStdout();
    CmdLine.debugFlags = 0;
    EXPECT_EQ(out.find("DoRoomTriggerLogic\nroomScript: DoRoomTriggerLogic for level 0x"), 0u) << out;
    EXPECT_NE(out.find("roomScript: testing script 0(0x"), std::string::npos) << out;
    EXPECT_NE(out.find(") in room 0 (successCount = 0)\n"), std::string::npos) << out;
    EXPECT_NE(out.find("roomScript: found NULL roomRecords[1]\n"), std::string::npos) << out;
    L().rooms.pop_back();
    testing::internal::CaptureStdout();
    DoRoomTriggerLogic();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(RoomScriptTest, TypeAtMatchesItemsOfTheExemplarsKindAndWithASubtypeOnlyThatItem) {
    std::ifstream in(std::string(VAULTMERE_SOURCE_DIR) + "/data/game/itemDB.xml", std::ios::binary);
    std::stringstream items;
    items << in.rdbuf();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const bool read = itemDBLoadText(items.str(), "itemDB.xml");
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(read);
    UseRooms(std::string("<room name='a' width='6' height='5'>") + kRows + "</room>");
    CSRand(5);
    MTSeed(5);
    Item* mending = CreateItemByName("Potion of Lesser Mending");
    ASSERT_NE(mending, nullptr);
    mending->PlaceOnLevel(kX0 + 1, kY0 + 1, level_->get(), 1);
    Item* apple = CreateItemByName("Apple");
    ASSERT_NE(apple, nullptr);
    apple->PlaceOnLevel(kX0 + 2, kY0 + 1, level_->get(), 1);
    Label(new GameObj(), 0, "crate", kX0 + 3, kY0 + 1);
    struct Case {
        int32_t x;
        const char* type;
        const char* subtype;  // null: the default "random"
        bool holds;
    };
    const Case cases[] = {
        {1, "potion", nullptr, true},  {1, "potion", "Potion of Lesser Mending", true},
        {1, "potion", "Potion of Focus", false}, {2, "potion", nullptr, false},
        {2, "food", "Apple", true},    {3, "potion", nullptr, false},  // only a fixture there
        {4, "potion", nullptr, false},  // an empty square
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + " " + c.type + " " + (c.subtype ? c.subtype : "random"));
        auto cond = Make<TypeAtCondition>("type_at");
        cond->x = c.x;
        cond->y = 1;
        cond->type = c.type;
        if (c.subtype != nullptr) cond->subtype = c.subtype;
        EXPECT_EQ(cond->Holds(0), c.holds);
        EXPECT_NE(cond->exemplar, nullptr);
    }
    // No exemplar can be made: warned on every evaluation, and false.
    auto none = Make<TypeAtCondition>("type_at");
    none->x = 2;
    none->y = 1;
    none->type = "food";
    for (int run = 0; run < 2; ++run) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(none->Holds(0));
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "TypeAtCondition: couldn't create exemplar item of type = 'food' and subtype = 'random'\n");
    }
    ClearItemDB();
}

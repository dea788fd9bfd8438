// The in-game input loop: walking by keys, bumps, the belt, skill, window and rest keys, the
// wheel, the speed and debug keys, and a dead hero's last release.
#include "core/shell/play_input_fixture.h"

#include <set>
#include <vector>
#include <utility>

#include "core/shell/debug_keys.h"
#include "core/shell/level_change.h"
#include "levels/path_finding.h"

namespace {

using namespace play_input_test;
using Square = std::pair<int32_t, int32_t>;

// Brings the shared footstep count back to the start of its round ("foot1" next).
void ResetFootsteps() {
    for (int i = 0; i < 8; ++i) {
        const char* sound = TakeFootstepSound();
        if (sound != nullptr && std::string(sound) == "foot2") {
            TakeFootstepSound();
            return;
        }
    }
}

int FootstepsHeard() {
    int n = 0;
    for (const std::string& s : Sounds) n += (s == "foot1" || s == "foot2") ? 1 : 0;
    return n;
}

class GameInputKeysTest : public PlayInputTest {
protected:
    // Runs frames until the hero stands on a new square (at most `limit` frames); the frames
    // it took, or -1.
    int FramesToNextSquare(int limit) {
        const Square start{hero->x, hero->y};
        for (int i = 1; i <= limit; ++i) {
            HandleGameEvent();
            if (Square{hero->x, hero->y} != start) return i;
        }
        return -1;
    }
};

TEST_F(GameInputKeysTest, ADPressWalksOneSquareInEightFramesWithOneTurnAndTheFirstFootstep) {
    ResetFootsteps();
    Press(SDLK_d);
    HandleGameEvent();  // the press queues the key and starts the step
    EXPECT_TRUE(StepFlags[3]);
    Release(SDLK_d);
    EXPECT_EQ(FramesToNextSquare(20), 8);  // 30 ms frames: 8 pixels each, 240 ms a square
    EXPECT_EQ(hero->x, 6);
    EXPECT_EQ(hero->offsetX, 0.0f);
    EXPECT_EQ(TurnCount, 1);
    EXPECT_EQ(Sounds, std::vector<std::string>{"foot1"});
    Frames(3);
    EXPECT_EQ(hero->x, 6) << "the released key walks no further";
    EXPECT_TRUE(MoveKeyQueue.empty());

    // The next square plays no footstep; the one after plays the second.
    Press(SDLK_d);
    HandleGameEvent();
    Release(SDLK_d);
    ASSERT_GT(FramesToNextSquare(20), 0);
    EXPECT_EQ(FootstepsHeard(), 1);
    Press(SDLK_d);
    HandleGameEvent();
    Release(SDLK_d);
    ASSERT_GT(FramesToNextSquare(20), 0);
    ASSERT_EQ(FootstepsHeard(), 2);
    EXPECT_EQ(Sounds.back(), "foot2");
    EXPECT_EQ(TurnCount, 3);
}

TEST_F(GameInputKeysTest, AMoveKeyPressedAndReleasedInOneFrameWalksExactlyOneSquare) {
    const struct {
        SDLKey key;
        Square to;
    } cases[] = {{SDLK_d, {6, 5}}, {SDLK_RIGHT, {6, 5}}, {SDLK_UP, {5, 4}}, {SDLK_a, {4, 5}}, {SDLK_DOWN, {5, 6}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.key));
        hero->PlaceOnLevel(5, 5, level, 0);
        TurnCount = 0;
        Press(c.key);
        Release(c.key);
        // The frame of the tap starts the step; eight 30 ms frames walk the square.
        EXPECT_EQ(FramesToNextSquare(20), 9) << "the tap is one step";
        EXPECT_EQ((Square{hero->x, hero->y}), c.to);
        Frames(12);
        EXPECT_EQ((Square{hero->x, hero->y}), c.to) << "and only one";
        EXPECT_EQ(TurnCount, 1);
        EXPECT_TRUE(MoveKeyQueue.empty());
    }
}

TEST_F(GameInputKeysTest, ASecondTapDuringAStepWalksExactlyOneSquareMore) {
    // Gaps in 30 ms frames between the two taps, all within the first step's 8 frames.
    for (int gap : {1, 3, 5, 7}) {
        SCOPED_TRACE(gap);
        hero->PlaceOnLevel(5, 5, level, 0);
        TurnCount = 0;
        Press(SDLK_RIGHT);
        Release(SDLK_RIGHT);
        Frames(gap);
        Press(SDLK_RIGHT);
        Release(SDLK_RIGHT);
        Frames(40);
        EXPECT_EQ((Square{hero->x, hero->y}), (Square{7, 5}));
        EXPECT_EQ(TurnCount, 2);
        EXPECT_TRUE(MoveKeyQueue.empty());
    }
}

TEST_F(GameInputKeysTest, AMoveKeyDuringAClickWalkStopsThePathAndIsThenTakenAsAKeyWalk) {
    // The hero walks a clicked path from (5, 5) to (8, 5). A move key pressed while it slides
    // onto (6, 5) stops the path there (one turn for the square and the stop); the key then walks as any
    // move key would: a tap one square, a held key on until it is let go.
    BuildAStarForLevel();
    struct Case {
        const char* name;
        const char* keys;  // script lines read during the first slide
        Square end;
        int turns;
    };
    const Case cases[] = {
        {"a tap of down", "keydown down\nkeyup down\n", {6, 6}, 2},
        {"a tap of a", "keydown a\nkeyup a\n", {5, 5}, 2},
        {"down held to the wall", "keydown down\n", {6, 8}, 4},
        {"a key that moves nothing", "keydown i\nkeyup i\n", {6, 5}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hero->PlaceOnLevel(5, 5, level, 0);
        TurnCount = 0;
        SetFixedFrameTime(30);
        ASSERT_TRUE(OpenInputScriptText(std::string("wait 60\n") + c.keys));
        EXPECT_EQ(hero->WalkPathTo(8, 5), 1) << "the walk was broken off";
        EXPECT_EQ((Square{hero->x, hero->y}), (Square{6, 5}));
        Frames(40);
        EXPECT_EQ((Square{hero->x, hero->y}), c.end);
        EXPECT_EQ(TurnCount, c.turns);
        Release(SDLK_DOWN);
        Frames(10);
        MoveKeyQueue.clear();
        for (bool& f : StepFlags) f = false;
        ResetInputLog();
    }
}

TEST_F(GameInputKeysTest, AtDivisorEightOneFrameCompletesASquare) {
    for (int i = 0; i < 3; ++i) Tap(SDLK_EQUALS);
    ASSERT_EQ(AnimationSpeedDivisor, 8);
    Press(SDLK_d);
    HandleGameEvent();
    EXPECT_EQ(FramesToNextSquare(5), 1);
}

TEST_F(GameInputKeysTest, HoldingRightThenDownThenLettingDownGoWalksRightDownAndRightAgain) {
    std::vector<Square> visited{{hero->x, hero->y}};
    const auto run = [&](int frames) {
        for (int i = 0; i < frames; ++i) {
            HandleGameEvent();
            if (visited.back() != Square{hero->x, hero->y}) visited.emplace_back(hero->x, hero->y);
        }
    };
    Press(SDLK_d);
    run(4);  // half-way to the right
    Press(SDLK_s);
    run(5);  // the square to the right is finished first
    ASSERT_EQ(visited.back(), Square(6, 5));
    run(8);  // then down, and on down while s is held
    ASSERT_EQ(visited.back(), Square(6, 6));
    Release(SDLK_s);
    run(30);
    const std::vector<Square> expected{{5, 5}, {6, 5}, {6, 6}, {6, 7}, {7, 7}, {8, 7}};
    EXPECT_EQ(visited, expected) << "the down square under way is finished, then right again to the wall";
    EXPECT_EQ(hero->facing, 3);
}

TEST_F(GameInputKeysTest, AMoveKeyTowardAClosedDoorBumpsItOnlyWithWasdActive) {
    struct Case {
        int32_t wasd;
        int32_t answer;
        int bumps;
        int turns;
        bool queued;
    };
    const Case cases[] = {
        {1, 1, 1, 1, false},  // the door opens: the press is used up
        {1, 0, 1, 0, true},   // nothing answers: the key only queues
        {0, 1, 0, 0, true},   // without WASD bumping the key only queues
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "WASDActive " << c.wasd << ", answer " << c.answer);
        WASDActive = c.wasd;
        TurnCount = 0;
        MoveKeyQueue.clear();
        auto* door = new Bumpable(c.answer);
        door->PlaceOnLevel(6, 5, level, 0);
        Press(SDLK_d);
        Frames(3);
        EXPECT_EQ(door->bumps, c.bumps);
        EXPECT_EQ(TurnCount, c.turns);
        EXPECT_EQ(!MoveKeyQueue.empty(), c.queued);
        EXPECT_EQ(hero->x, 5) << "an obstructed square starts no step";
        EXPECT_FALSE(StepFlags[3]);
        Release(SDLK_d);
        HandleGameEvent();
        delete door;
    }
}

TEST_F(GameInputKeysTest, EscapeClosesTheFrontWindowFirstAndOpensTheSettingsLast) {
    CraftPanel.open = true;
    ToolkitWindows.resize(2);
    ToolkitWindows[1].open = true;
    Layout.inventoryOpen = 1;
    Layout.equipmentOpen = 1;
    struct Step {
        bool craft, toolkit;
        int32_t inventory, equipment;
        bool leave;
    };
    const Step steps[] = {
        {false, true, 1, 1, false},
        {false, false, 1, 1, false},
        {false, false, 0, 1, false},
        {false, false, 0, 0, false},
        {false, false, 0, 0, true},  // the settings window (its stand-in leaves the game)
    };
    for (const Step& s : steps) {
        Tap(SDLK_ESCAPE);
        EXPECT_EQ(CraftPanel.open, s.craft);
        EXPECT_EQ(ToolkitWindows[1].open, s.toolkit);
        EXPECT_EQ(Layout.inventoryOpen, s.inventory);
        EXPECT_EQ(Layout.equipmentOpen, s.equipment);
        EXPECT_EQ(LeaveGameFlag, s.leave);
    }
    EXPECT_EQ(TurnCount, 0);
}

TEST_F(GameInputKeysTest, WindowKeysToggleAndClosingTheWindowAsksTheSettings) {
    Tap(SDLK_i);
    EXPECT_EQ(Layout.inventoryOpen, 1);
    Tap(SDLK_c);
    EXPECT_EQ(Layout.equipmentOpen, 1);
    Tap(SDLK_i);
    EXPECT_EQ(Layout.inventoryOpen, 0);
    EXPECT_FALSE(LeaveGameFlag);
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    HandleGameEvent();
    EXPECT_TRUE(LeaveGameFlag);
}

// A window closed by a click on the menu bar leaves the bar's hover flag set; the windows the
// keys open must not take it for a click of their own and close at once.
std::vector<std::pair<PlayWindow, bool>> OpenedWindows;

int32_t RecordOpenedWindow(PlayWindow window) {
    OpenedWindows.emplace_back(window, MenuBarHover);
    return 0;
}

TEST_F(GameInputKeysTest, TheTomeAndQuestKeysOpenTheirWindowsAfterAMenuBarClose) {
    const struct {
        SDLKey key;
        PlayWindow window;
    } cases[] = {{SDLK_k, PlayWindow::SkillTome}, {SDLK_q, PlayWindow::QuestLog}};
    SetPlayWindowReplacement(&RecordOpenedWindow);
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.window));
        OpenedWindows.clear();
        MenuBarHover = true;  // as a menu-bar click over the previous window left it
        Tap(c.key);
        ASSERT_EQ(OpenedWindows.size(), 1u);
        EXPECT_EQ(OpenedWindows[0].first, c.window);
        EXPECT_FALSE(OpenedWindows[0].second) << "the window would see the old hover and close";
    }
    MenuBarHover = false;
}

TEST_F(GameInputKeysTest, BeltKeysUseWithATurnSkillKeysSelectWithoutOneRestCostsOne) {
    auto* potion = Own<CountingItem>(1);
    auto* dud = Own<CountingItem>(0);
    auto* skill = Own<CountingItem>(1);
    hero->quickSlots[0] = potion;
    hero->quickSlots[1] = dud;
    hero->abilitySlots[3] = skill;

    Tap(SDLK_1, KMOD_LSHIFT);
    EXPECT_EQ(potion->uses, 1);
    EXPECT_EQ(TurnCount, 1);
    Tap(SDLK_2, KMOD_RSHIFT);
    EXPECT_EQ(dud->uses, 1);
    EXPECT_EQ(TurnCount, 1) << "a use that did nothing costs no turn";
    Tap(SDLK_1);
    EXPECT_EQ(potion->uses, 1) << "1 alone is the skill key of an empty slot";
    Tap(SDLK_4);
    EXPECT_EQ(skill->uses, 1);
    EXPECT_EQ(SelectedSkillItem, skill);
    EXPECT_EQ(SelectedSkillSlot, 3);
    EXPECT_EQ(TurnCount, 1);
    Tap(SDLK_1, KMOD_LCTRL);
    EXPECT_EQ(potion->uses, 1) << "ctrl+1 is neither belt nor skill";

    const int32_t wandering = hero->wanderingMonsterTurns;
    Tap(SDLK_SPACE);
    EXPECT_EQ(TurnCount, 2);
    EXPECT_EQ(hero->wanderingMonsterTurns, wandering + 10 + 1) << "ten sooner, plus the turn's own count";
}

TEST_F(GameInputKeysTest, AtZeroHealthCommandsStillRunButNotRestAndAMoveKeyStaysQueued) {
    auto* potion = Own<CountingItem>(1);
    hero->quickSlots[0] = potion;
    Press(SDLK_d);
    HandleGameEvent();
    for (bool& f : StepFlags) f = false;
    hero->health = 0;
    Tap(SDLK_1, KMOD_LSHIFT);
    EXPECT_EQ(potion->uses, 1);
    const int turns = TurnCount;
    Tap(SDLK_SPACE);
    EXPECT_EQ(TurnCount, turns);
    Tap(SDLK_i);
    EXPECT_EQ(Layout.inventoryOpen, 1);
    Release(SDLK_d);
    HandleGameEvent();
    EXPECT_EQ(MoveKeyQueue.size(), 1u);
    Press(SDLK_w);
    HandleGameEvent();
    EXPECT_EQ(MoveKeyQueue.size(), 1u) << "presses are ignored at 0 health";
}

TEST_F(GameInputKeysTest, ADeadHerosKeyOrButtonReleaseEndsTheGame) {
    hero->dead = 1;
    // In a tutorial no death screen comes between (outside one it waits for its own mouse
    // releases: see the end-of-run screen tests).
    TutorialFlag = true;
    Release(SDLK_a);
    HandleGameEvent();
    EXPECT_TRUE(LeaveGameFlag);
    LeaveGameFlag = false;
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 10);
    HandleGameEvent();
    EXPECT_TRUE(LeaveGameFlag);
    EXPECT_EQ(TurnCount, 0);
    TutorialFlag = false;
}

TEST_F(GameInputKeysTest, TheWheelCyclesThroughOccupiedSkillSlotsWrappingAtBothEnds) {
    CountingItem* items[9] = {};
    for (int slot : {1, 4, 7}) hero->abilitySlots[slot] = items[slot] = Own<CountingItem>(1);
    SelectedSkillSlot = 5;
    struct Turn {
        Uint8 button;
        int slotItem;
        int32_t remembered;
    };
    const Turn turns[] = {
        {SDL_BUTTON_WHEELDOWN, 1, 5},  // nothing selected: the first occupied slot, slot index kept
        {SDL_BUTTON_WHEELDOWN, 4, 4},
        {SDL_BUTTON_WHEELDOWN, 7, 7},
        {SDL_BUTTON_WHEELDOWN, 1, 1},  // wraps after 8
        {SDL_BUTTON_WHEELUP, 7, 7},    // wraps before 0
        {SDL_BUTTON_WHEELUP, 4, 4},
    };
    for (const Turn& t : turns) {
        PushButton(SDL_MOUSEBUTTONDOWN, t.button, 100, 100);
        PushButton(SDL_MOUSEBUTTONUP, t.button, 100, 100);
        HandleGameEvent();
        EXPECT_EQ(SelectedSkillItem, items[t.slotItem]);
        EXPECT_EQ(SelectedSkillSlot, t.remembered);
    }
    EXPECT_EQ(TurnCount, 0);
}

TEST_F(GameInputKeysTest, SpeedKeysDoubleAndHalveWithinOneToEightAndAlwaysAnswerHandled) {
    SDL_Event event = {};
    event.type = SDL_KEYUP;
    event.key.keysym = Key(SDLK_EQUALS);
    const int32_t expected[] = {2, 4, 8, 8};
    for (int32_t divisor : expected) {
        EXPECT_TRUE(RunHiddenDebugActions(event));
        EXPECT_EQ(AnimationSpeedDivisor, divisor);
    }
    event.key.keysym = Key(SDLK_MINUS);
    for (int32_t divisor : {4, 2, 1, 1}) {
        EXPECT_TRUE(RunHiddenDebugActions(event));
        EXPECT_EQ(AnimationSpeedDivisor, divisor);
    }
    event.type = SDL_KEYDOWN;
    EXPECT_FALSE(RunHiddenDebugActions(event)) << "only releases count";
}

TEST_F(GameInputKeysTest, DebugKeysWorkOnlyInDebugRuns) {
    struct Case {
        SDLKey key;
        int mod;
        int32_t delta;
    };
    const Case keys[] = {{SDLK_p, 0, 1}, {SDLK_p, KMOD_LSHIFT, -1}};
    static std::vector<int32_t> trapdoorCalls;
    trapdoorCalls.clear();
    void (*const savedAction)(int32_t) = TrapdoorKeyAction;
    TrapdoorKeyAction = [](int32_t delta) { trapdoorCalls.push_back(delta); };
    SDL_Event event = {};
    event.type = SDL_KEYUP;
    // Without debug flags even a configuration that enabled the bindings is gated.
    for (auto& entry : KeyBindingTable) entry.second.enabled = 1;
    for (const Case& c : keys) {
        event.key.keysym = Key(c.key, c.mod);
        EXPECT_FALSE(RunHiddenDebugActions(event));
    }
    EXPECT_TRUE(trapdoorCalls.empty());
    CmdLine.debugFlags = kDebugGeneral;
    InitKeyBindings();
    for (const Case& c : keys) {
        trapdoorCalls.clear();
        event.key.keysym = Key(c.key, c.mod);
        EXPECT_TRUE(RunHiddenDebugActions(event));
        EXPECT_EQ(trapdoorCalls, std::vector<int32_t>{c.delta});
    }
    TrapdoorKeyAction = savedAction;
    event.key.keysym = Key(SDLK_t, KMOD_LCTRL);
    EXPECT_TRUE(RunHiddenDebugActions(event));
    EXPECT_EQ(Layout.hideInterface, 1);
    event.key.keysym = Key(SDLK_t);
    EXPECT_TRUE(RunHiddenDebugActions(event));
    EXPECT_EQ(Layout.largeInterface, 1);
    EXPECT_EQ(Layout.interfaceX, 640 - 800);
    Layout.hideInterface = 0;
}

}  // namespace

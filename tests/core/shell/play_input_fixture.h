#pragma once
// A small play screen for the input tests: a 10 x 10 level of floor inside a wall ring, the
// hero on (5, 5), the view at the level's corner (square = pointer / 64), turns that only
// count themselves, and the input globals back at their starting values.
#include <gtest/gtest.h>
#include <SDL.h>

#include <string>
#include <vector>

#include "interface/dialogs.h"
#include "core/command_state.h"
#include "core/input_log.h"
#include "core/key_bindings.h"
#include "core/shell/click_dispatch.h"
#include "core/shell/config.h"
#include "core/shell/game_input.h"
#include "core/shell/play_input.h"
#include "core/shell/play_loop.h"
#include "core/shell/turn_engine.h"
#include "core/text_db.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "interface/game_frame.h"
#include "interface/layout.h"
#include "interface/play_screen.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/level.h"
#include "media/bob.h"
#include "media/sound.h"

namespace play_input_test {

inline int TurnCount = 0;
inline std::vector<std::string> Sounds;

// An item whose use is counted and answers as told.
class CountingItem : public Item {
public:
    explicit CountingItem(int32_t answer = 1) : answer_(answer) {}
    int32_t Use() override {
        ++uses;
        return answer_;
    }
    int32_t uses = 0;

private:
    int32_t answer_;
};

// A blocking object (a closed door, a monster) that counts bumps and activations.
class Bumpable : public GameObj {
public:
    explicit Bumpable(int32_t answer) : answer_(answer) {}
    int32_t BumpedByPlayer() override {
        ++bumps;
        return answer_;
    }
    int32_t Activate() override {
        ++activations;
        return answer_;
    }
    int32_t bumps = 0;
    int32_t activations = 0;

private:
    int32_t answer_;
};

// The play-screen windows do not run in these tests: the settings window answers "leave the
// game", the others close at once.
inline int32_t LeaveFromEveryWindow(PlayWindow window) { return window == PlayWindow::Settings ? 1 : 0; }

class PlayInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetPlayWindowReplacement(&LeaveFromEveryWindow);
        ResetInputLog();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        savedCalls_ = TurnCalls;
        TurnCalls.updateFieldOfView = [](Level*, int32_t, int32_t, int32_t) {};
        TurnCalls.tickSpellTriggers = [](Player*) {};
        TurnCalls.roomTriggers = [] {};
        TurnCalls.monsterSpawning = [] {};
        TurnCalls.spawnWanderingMonster = [](Level*) {};
        TurnCalls.startQueuedAnimations = [] {};
        TurnCalls.clearQueuedAnimations = [] {};
        TurnCalls.tutorialStep = [] {};
        TurnCalls.storeCallbacks = [] { ++TurnCount; };
        TurnCount = 0;
        Sounds.clear();
        SetSFXRequestObserver([](const char* name) { Sounds.push_back(name); });
        TutorialFlag = false;
        level = new Level(0, 0);
        level->SetSize(10, 10);
        level->EnsureSquareMaps();
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 10; ++x) {
                const bool edge = x == 0 || y == 0 || x == 9 || y == 9;
                level->GetCell(x, y)->type = edge ? SquareType::Wall : SquareType::Floor;
                level->GetCell(x, y)->flags |= SquareFlag::Visible;
            }
        }
        CurrentLevel = level;
        hero = new Player();
        hero->health = 10;
        CurrentPlayer = hero;
        hero->PlaceOnLevel(5, 5, level, 0);
        LeaveGameFlag = false;
        savedBindings_ = InitKeyBindings();
        CmdLine.debugFlags = 0;
        KeyBindingTable = DefaultKeyBindings();
        AnimationSpeedDivisor = 1;
        WASDActive = 0;
        DisableClickToMove = 1;
        MoveKeyQueue.clear();
        for (bool& f : StepFlags) f = false;
        WheelUpPressed = WheelDownPressed = AimingAbility = false;
        SelectedSkillSlot = 0;
        FrameElapsedMs = 30;
        savedLayout_ = Layout;
        Layout.screenWidth = 1280;
        Layout.screenHeight = 720;
        Layout.largeInterface = 0;
        use2XUI = 0;
        UpdateScreenLayout();
        Layout.view.originX = Layout.view.originY = Layout.view.pixelX = Layout.view.pixelY = 0;
        Layout.inventoryOpen = Layout.equipmentOpen = Layout.abilityPickerOpen = 0;
        Layout.inventoryX = 750;
        Layout.inventoryY = 20;
        Layout.minimapSize = 0;
        InventoryGrid.Clear();
        ClearCursorItem();
        SelectedAbility = nullptr;
        SelectedSkillItem = nullptr;
        ActiveItem = nullptr;
        CraftPanel = CraftPanelState();
        ToolkitWindows.clear();
        HeroInShopFlag = 0;
        HeldTrackFlag = false;
        HeroInputTurns = 0;
    }
    void TearDown() override {
        SetPlayWindowReplacement(nullptr);
        SetSFXRequestObserver(nullptr);
        SetClickObserver(nullptr);
        ClearCursorItem();
        InventoryGrid.Clear();
        SelectedAbility = nullptr;
        SelectedSkillItem = nullptr;
        ActiveItem = nullptr;
        SelectedSpell = nullptr;
        MoveKeyQueue.clear();
        for (bool& f : StepFlags) f = false;
        for (Item*& slot : hero->quickSlots) slot = nullptr;
        for (Item*& slot : hero->abilitySlots) slot = nullptr;
        for (Item* item : owned_) delete item;
        owned_.clear();
        CurrentPlayer = nullptr;
        delete hero;
        CurrentLevel = nullptr;
        delete level;
        Layout = savedLayout_;
        UpdateScreenLayout();
        KeyBindingTable = savedBindings_;
        CmdLine.debugFlags = 0;
        AnimationSpeedDivisor = 1;
        WASDActive = 0;
        DisableClickToMove = 0;
        use2XUI = 0;
        LeaveGameFlag = false;
        HeldTrackFlag = false;
        HeroInShopFlag = 0;
        TurnCalls = savedCalls_;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        ResetInputLog();
    }

    // An item the fixture deletes (it never enters the level).
    template <typename T, typename... Args>
    T* Own(Args... args) {
        T* item = new T(args...);
        owned_.push_back(item);
        return item;
    }

    static SDL_keysym Key(SDLKey sym, int mod = 0) {
        SDL_keysym key = {};
        key.sym = sym;
        key.mod = static_cast<SDLMod>(mod);
        return key;
    }
    static void Push(Uint8 type, SDLKey sym, int mod = 0) {
        SDL_Event event = {};
        event.type = type;
        event.key.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym = Key(sym, mod);
        ASSERT_EQ(SDL_PushEvent(&event), 0);
    }
    static void Press(SDLKey sym, int mod = 0) { Push(SDL_KEYDOWN, sym, mod); }
    static void Release(SDLKey sym, int mod = 0) { Push(SDL_KEYUP, sym, mod); }
    // A key pressed and released, handled in one frame.
    static void Tap(SDLKey sym, int mod = 0) {
        Press(sym, mod);
        Release(sym, mod);
        HandleGameEvent();
    }
    static void PushButton(Uint8 type, Uint8 button, int x, int y) {
        SDL_Event event = {};
        event.type = type;
        event.button.type = type;
        event.button.button = button;
        event.button.x = static_cast<Uint16>(x);
        event.button.y = static_cast<Uint16>(y);
        ASSERT_EQ(SDL_PushEvent(&event), 0);
    }
    // Runs frames of the input loop.
    static void Frames(int n) {
        for (int i = 0; i < n; ++i) HandleGameEvent();
    }
    // The screen point in the middle of square (x, y).
    static int PX(int x) { return x * 64 + 32; }

    Level* level = nullptr;
    Player* hero = nullptr;

private:
    TurnEngineCalls savedCalls_{};
    KeyBindingMap savedBindings_;
    ScreenLayoutState savedLayout_;
    std::vector<Item*> owned_;
};

}  // namespace play_input_test

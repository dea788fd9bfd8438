// The in-game input loop: window activation drives the drawn pointer.
#include <gtest/gtest.h>

#include "core/input_log.h"
#include "core/shell/game_input.h"
#include "core/shell/play_loop.h"
#include "creatures/player.h"
#include "interface/cursor.h"
#include "levels/level.h"

namespace {

class GameInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetInputLog();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        level_ = new Level(0, 0);
        level_->SetSize(12, 12);
        for (int y = 1; y < 11; ++y)
            for (int x = 1; x < 11; ++x) level_->GetCell(x, y)->type = SquareType::Floor;
        CurrentLevel = level_;
        hero_ = new Player();
        CurrentPlayer = hero_;
        hero_->PlaceOnLevel(5, 5, level_, 0);
        LeaveGameFlag = false;
    }
    void TearDown() override {
        CursorVisible = true;
        LeaveGameFlag = false;
        CurrentPlayer = nullptr;
        delete hero_;
        CurrentLevel = nullptr;
        delete level_;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        ResetInputLog();
    }
    static void PushActivation(Uint8 state, Uint8 gain) {
        SDL_Event event;
        event.type = SDL_ACTIVEEVENT;
        event.active.type = SDL_ACTIVEEVENT;
        event.active.state = state;
        event.active.gain = gain;
        ASSERT_EQ(SDL_PushEvent(&event), 0) << SDL_GetError();
    }

    Level* level_ = nullptr;
    Player* hero_ = nullptr;
};

TEST_F(GameInputTest, EveryActivationEventSetsThePointerFromItsGain) {
    struct Case {
        const char* what;
        Uint8 state;
        Uint8 gain;
    };
    const Case cases[] = {
        {"pointer leaves the window", SDL_APPMOUSEFOCUS, 0},
        {"pointer comes back", SDL_APPMOUSEFOCUS, 1},
        {"window minimised", SDL_APPACTIVE, 0},
        {"window shown again", SDL_APPACTIVE, 1},
        {"input focus lost", SDL_APPINPUTFOCUS, 0},
        {"input focus back", SDL_APPINPUTFOCUS, 1},
        {"all lost at once", SDL_APPMOUSEFOCUS | SDL_APPINPUTFOCUS | SDL_APPACTIVE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CursorVisible = c.gain == 0;
        PushActivation(c.state, c.gain);
        HandleGameEvent();
        EXPECT_EQ(CursorVisible, c.gain != 0);
        EXPECT_FALSE(LeaveGameFlag);
    }
    // The last event of a frame wins.
    PushActivation(SDL_APPMOUSEFOCUS, 0);
    PushActivation(SDL_APPMOUSEFOCUS, 1);
    HandleGameEvent();
    EXPECT_TRUE(CursorVisible);
}

}  // namespace

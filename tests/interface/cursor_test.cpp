// The pointer: drawn at the mouse position on top of the frame, not while the window has lost
// the focus, and replaced by the held item with its corner mark.
#include <gtest/gtest.h>

#include <memory>

#include "media/screen.h"
#include "core/input_log.h"
#include "creatures/player.h"
#include "interface/cursor.h"
#include "interface/game_frame.h"
#include "interface/layout.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "levels/level_draw.h"
#include "levels/level_test_map.h"
#include "tests/interface/frame_test_support.h"

namespace {

class CursorScreen : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(video_.ok());
        savedLayout_ = Layout;
        savedPlayer_ = CurrentPlayer;
        savedCursor_ = CurrentCursor;
        savedCorner_ = CursorCornerSprite;
        Layout = ScreenLayoutState();
        UpdateScreenLayout();
        SetLevelDrawArt(nullptr, nullptr);
        pointer_.reset(MakeSolidSprite(16, 16, 0, 250, 250));
        corner_.reset(MakeSolidSprite(8, 8, 250, 250, 0));
        CurrentCursor = pointer_.get();
        CursorCornerSprite = corner_.get();
        level_.reset(new ScopedTestLevel(30, 30, SquareType::Floor));
        Player* hero = new Player();
        hero->PlaceOnLevel(15, 15, level_->get(), 0);
        CurrentPlayer = hero;
        // The pointer moves to (300, 200).
        ASSERT_TRUE(OpenInputScriptText("move 300 200\n"));
        SDL_Event e;
        while (LoggedPollEvent(&e)) {
        }
    }
    void TearDown() override {
        ClearCursorItem();
        level_.reset();
        CurrentPlayer = savedPlayer_;
        Layout = savedLayout_;
        CurrentCursor = savedCursor_;
        CursorCornerSprite = savedCorner_;
        CursorBob.SetSprite(nullptr);
        CursorVisible = true;
        FreeLevelDrawArt();
        ResetInputLog();
    }

    ScopedVideo video_;
    GuardedScreen screen_{1280, 720};
    ScreenLayoutState savedLayout_;
    Player* savedPlayer_ = nullptr;
    Sprite* savedCursor_ = nullptr;
    Sprite* savedCorner_ = nullptr;
    std::unique_ptr<Sprite> pointer_;
    std::unique_ptr<Sprite> corner_;
    std::unique_ptr<ScopedTestLevel> level_;
};

TEST_F(CursorScreen, ThePointerIsDrawnAtTheMouseUnlessTheWindowLostFocus) {
    DrawGameScreen();
    SDL_Rect box;
    ASSERT_TRUE(screen_.FindColour(0x00FAFA, &box));
    EXPECT_EQ(box.x, 300);
    EXPECT_EQ(box.y, 200);
    EXPECT_EQ(box.w, 16);
    EXPECT_EQ(CursorBob.sprite, pointer_.get());

    CursorVisible = false;
    DrawGameScreen();
    EXPECT_FALSE(screen_.FindColour(0x00FAFA, &box));
}

TEST_F(CursorScreen, AHeldItemReplacesThePointer) {
    std::unique_ptr<Sprite> itemPicture(MakeSolidSprite(32, 32, 250, 0, 250, 2, 100));
    Item* item = new Item();
    item->bob.SetSprite(itemPicture.get());
    item->bob.frame = 1;
    SetCursorItem(item);
    DrawGameScreen();
    SDL_Rect box;
    EXPECT_FALSE(screen_.FindColour(0x00FAFA, &box)) << "no pointer under a held item";
    ASSERT_TRUE(screen_.FindColour(0xFA00FA, &box));
    EXPECT_EQ(box.x, 300);
    EXPECT_EQ(box.y, 200);
    ASSERT_TRUE(screen_.FindColour(0xFAFA00, &box)) << "the corner mark";
    EXPECT_EQ(box.x, 300);
    EXPECT_EQ(box.y, 200);
    ClearCursorItem();
    delete item;
}

}  // namespace

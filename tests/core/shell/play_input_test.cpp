// The play-screen routines: footsteps, entering squares (shop music, theft, ambient lines,
// what lies there), acting on a clicked square, the belt, the minimap buttons, the inventory
// drag and the colour-key test.
#include "core/shell/play_input_fixture.h"

#include <cstring>

#include "core/random.h"
#include "levels/object_queue.h"
#include "media/music.h"
#include "media/screen.h"

namespace {

using namespace play_input_test;

// Counts what the hero's entry does to it.
class EnteredCounter : public GameObj {
public:
    void PlayerEntered() override {
        ++entries;
        if (moveHeroTo >= 0) CurrentPlayer->PlaceOnLevel(moveHeroTo, 1, CurrentLevel, 1);
    }
    int32_t entries = 0;
    int32_t moveHeroTo = -1;
};

// Records the order in which Activate is asked.
std::vector<std::string> Asked;
class Actor : public GameObj {
public:
    Actor(std::string name, bool blocking, int32_t doorOrLever, int32_t answer)
        : name_(std::move(name)), door_(doorOrLever), answer_(answer) {
        blocksMovement = blocking ? 1 : 0;
    }
    int32_t Activate() override {
        Asked.push_back(name_);
        return answer_;
    }
    int32_t IsDoorOrLever() override { return door_; }

private:
    std::string name_;
    int32_t door_;
    int32_t answer_;
};

class PlayRoutinesTest : public PlayInputTest {
protected:
    void TearDown() override {
        GetTextDB().randomLines = savedLines_;
        PlayInputTest::TearDown();
    }
    void Enter(int32_t x, int32_t y) {
        hero->PlaceOnLevel(x, y, level, 0);
        HandlePlayerEnteredSquare();
    }
    std::vector<std::string> savedLines_ = GetTextDB().randomLines;
};

TEST_F(PlayRoutinesTest, EveryEnteredSquareOffersOneRandomLineAndNoLinesOfferNothing) {
    GetTextDB().randomLines = {"A drip.", "A creak.", "A sigh."};
    CSRand(5);
    const size_t before = AmbientMessages().size();
    Enter(6, 5);
    ASSERT_EQ(AmbientMessages().size(), before + 1);
    CSRand(5);
    const int32_t index = CRand() / (32767 / 3 + 1);
    EXPECT_EQ(AmbientMessages().back(), GetTextDB().randomLines[static_cast<size_t>(index)]);

    GetTextDB().randomLines.clear();
    const size_t now = AmbientMessages().size();
    Enter(7, 5);
    EXPECT_EQ(AmbientMessages().size(), now);
}

TEST_F(PlayRoutinesTest, EnteringASquareSetsTheRoomAndTellsWhatLiesThereUntilTheHeroIsMovedAway) {
    level->GetCell(6, 5)->room = 4;
    auto* first = new EnteredCounter();
    auto* mover = new EnteredCounter();
    auto* last = new EnteredCounter();
    first->PlaceOnLevel(6, 5, level, 0);
    mover->PlaceOnLevel(6, 5, level, 0);
    last->PlaceOnLevel(6, 5, level, 0);
    mover->moveHeroTo = 2;
    Enter(6, 5);
    EXPECT_EQ(hero->currentRoom, 4);
    EXPECT_EQ(first->entries, 1);
    EXPECT_EQ(mover->entries, 1);
    EXPECT_EQ(last->entries, 0) << "the hero was moved away before its turn";
}

TEST_F(PlayRoutinesTest, ShopMusicPlaysOnceOnEntryAndLeavingPaidUpGoesBackToTheDungeonTunes) {
    level->GetCell(6, 5)->type = SquareType::ShopFloor;
    level->GetCell(7, 5)->type = SquareType::ShopFloor;
    Enter(6, 5);
    EXPECT_EQ(CurrentMusicIntro(), "tunes/shop-open.ogg");
    EXPECT_EQ(CurrentMusicLoop(), "tunes/shop-repeat.ogg");
    EXPECT_TRUE(HeldTrackFlag);
    EXPECT_EQ(HeroInShopFlag, 1);
    PlayMusic("tunes/marker.ogg", "");
    Enter(7, 5);
    EXPECT_EQ(CurrentMusicIntro(), "tunes/marker.ogg") << "the shop tune starts once";
    Enter(8, 5);
    EXPECT_EQ(HeroInShopFlag, 0);
    EXPECT_FALSE(HeldTrackFlag);
    EXPECT_EQ(CurrentMusicIntro().rfind("tunes/", 0), 0u);
    EXPECT_NE(CurrentMusicIntro(), "tunes/marker.ogg") << "a dungeon tune is forced";
    EXPECT_EQ(level->shopkeepersAngry, 0);

    // Angry keepers: no shop music on the way back in.
    level->shopkeepersAngry = 1;
    PlayMusic("tunes/marker.ogg", "");
    Enter(7, 5);
    EXPECT_EQ(CurrentMusicIntro(), "tunes/marker.ogg");
    EXPECT_EQ(HeroInShopFlag, 0);
}

TEST_F(PlayRoutinesTest, LeavingTheShopFloorWithUnpaidGoodsIsTheft) {
    SDL_Surface* screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 1280, 720, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_NE(screen, nullptr);
    SDL_Surface* savedScreen = ScreenSurface;
    ScreenSurface = screen;
    level->GetCell(6, 5)->type = SquareType::ShopFloor;
    auto* goods = Own<CountingItem>(0);
    goods->unpaid = 1;
    Enter(6, 5);
    InventoryGrid.cells[0] = goods;
    ASSERT_TRUE(OpenInputScriptText("wait 40\nkey return\n"));
    SetFixedFrameTime(16);
    Enter(7, 5);
    EXPECT_EQ(level->shopkeepersAngry, 1);
    EXPECT_EQ(goods->unpaid, 0) << "the angry keepers count everything as paid";
    EXPECT_EQ(CurrentMusicIntro(), "tunes/thief-open.ogg");
    EXPECT_EQ(CurrentMusicLoop(), "tunes/thief-repeat.ogg");
    EXPECT_TRUE(HeldTrackFlag);
    EXPECT_EQ(HeroInShopFlag, 0);
    ScreenSurface = savedScreen;
    SDL_FreeSurface(screen);
}

TEST_F(PlayRoutinesTest, ActingOnASquareTriesBlockersThenTheRestThenDoorsAndLevers) {
    struct Case {
        const char* what;
        int32_t doorAnswer;
        int32_t floorAnswer;
        std::vector<std::string> asked;
        int turns;
    };
    const Case cases[] = {
        {"nothing acts", 0, 0, {"monster", "rug", "door"}, 0},
        {"the item acts first after the blocker", 1, 1, {"monster", "rug"}, 1},
        {"the door is last", 1, 0, {"monster", "rug", "door"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Asked.clear();
        TurnCount = 0;
        auto* door = new Actor("door", true, 1, c.doorAnswer);
        auto* rug = new Actor("rug", false, 0, c.floorAnswer);
        auto* monster = new Actor("monster", true, 0, 0);
        door->PlaceOnLevel(6, 5, level, 0);
        rug->PlaceOnLevel(6, 5, level, 0);
        monster->PlaceOnLevel(6, 5, level, 0);
        ActivateSquareObjects(6, 5);
        EXPECT_EQ(Asked, c.asked);
        EXPECT_EQ(TurnCount, c.turns);
        delete door;
        delete rug;
        delete monster;
    }
    // A key walk under way: the click only empties the queue.
    MoveKeyQueue.push_front(Key(SDLK_d));
    Asked.clear();
    auto* rug = new Actor("rug", false, 0, 1);
    rug->PlaceOnLevel(6, 5, level, 0);
    ActivateSquareObjects(6, 5);
    EXPECT_TRUE(Asked.empty());
    EXPECT_TRUE(MoveKeyQueue.empty());
    delete rug;
}

TEST_F(PlayRoutinesTest, BeltClicksTakeSwapStackAndStow) {
    auto* arrows = Own<CountingItem>(0);
    arrows->type = 1;
    arrows->stackable = 1;
    arrows->count = 5;
    auto* more = Own<CountingItem>(0);
    more->type = 1;
    more->stackable = 1;
    more->count = 3;
    auto* potion = Own<CountingItem>(0);
    potion->type = 3;
    const int slot0x = 262 + 5;
    const int slot1x = 262 + 36 + 5;
    const int y = 660;
    EXPECT_FALSE(HandleBeltClick(261, y));
    EXPECT_TRUE(HandleBeltClick(262 + 324, 684)) << "edges count as inside";

    hero->quickSlots[0] = arrows;
    EXPECT_TRUE(HandleBeltClick(slot0x, y));
    EXPECT_EQ(GetCursorItem(), arrows);
    EXPECT_EQ(hero->quickSlots[0], nullptr);
    EXPECT_TRUE(HandleBeltClick(slot1x, y));
    EXPECT_EQ(hero->quickSlots[1], arrows);
    EXPECT_EQ(GetCursorItem(), nullptr);

    // A stack of the same kind takes the held count over.
    auto* extra = new CountingItem(0);
    extra->type = 1;
    extra->stackable = 1;
    extra->count = 2;
    SetCursorItem(extra);
    EXPECT_TRUE(HandleBeltClick(slot1x, y));
    EXPECT_EQ(arrows->count, 7);
    EXPECT_EQ(GetCursorItem(), nullptr);
    AdvanceTurn();  // the emptied stack goes with the turn's deletions

    hero->quickSlots[0] = more;
    SetCursorItem(potion);
    SelectedSkillItem = more;
    EXPECT_TRUE(HandleBeltClick(slot0x, y));
    EXPECT_EQ(hero->quickSlots[0], potion);
    EXPECT_EQ(GetCursorItem(), more) << "different kinds swap";
    EXPECT_EQ(SelectedSkillItem, nullptr);

    // Shift stows into the backpack.
    ClearCursorItem();
    SDL_SetModState(KMOD_LSHIFT);
    EXPECT_TRUE(HandleBeltClick(slot0x, y));
    SDL_SetModState(KMOD_NONE);
    EXPECT_EQ(hero->quickSlots[0], nullptr);
    EXPECT_TRUE(potion->inBackpack);
    EXPECT_EQ(GetCursorItem(), nullptr);
    InventoryGrid.Clear();
}

TEST_F(PlayRoutinesTest, TheBeltNeverMixesPaidAndUnpaidGoods) {
    const int slot0x = 262 + 5;
    const int y = 660;
    struct Case {
        int32_t beltUnpaid;
        int32_t heldUnpaid;
        bool alt;      // take one from the belt stack onto the held one
        bool joins;
    };
    const Case cases[] = {{0, 0, false, true}, {1, 1, false, true}, {0, 1, false, false}, {1, 0, false, false},
                          {0, 0, true, true},  {1, 1, true, true},  {0, 1, true, false},  {1, 0, true, false}};
    for (const Case& c : cases) {
        const std::string label = std::string(c.alt ? "alt, " : "") + "belt unpaid " + std::to_string(c.beltUnpaid) +
                                  ", held unpaid " + std::to_string(c.heldUnpaid);
        auto* belt = Own<CountingItem>(0);
        belt->type = 1;
        belt->stackable = 1;
        belt->count = 4;
        belt->unpaid = c.beltUnpaid;
        auto* held = new CountingItem(0);
        held->type = 1;
        held->stackable = 1;
        held->count = 2;
        held->unpaid = c.heldUnpaid;
        hero->quickSlots[0] = belt;
        SetCursorItem(held);
        SDL_SetModState(c.alt ? KMOD_LALT : KMOD_NONE);
        EXPECT_TRUE(HandleBeltClick(slot0x, y)) << label;
        SDL_SetModState(KMOD_NONE);
        if (c.joins && !c.alt) {
            EXPECT_EQ(belt->count, 6) << label;
            EXPECT_EQ(hero->quickSlots[0], belt) << label;
            EXPECT_EQ(GetCursorItem(), nullptr) << label;
            EXPECT_EQ(belt->unpaid, c.beltUnpaid) << label;
            DeleteQueuedObjects();
        } else if (c.joins) {
            EXPECT_EQ(belt->count, 3) << label;
            EXPECT_EQ(held->count, 3) << label;
            EXPECT_EQ(GetCursorItem(), held) << label;
        } else {
            // Unlike goods change places; nothing is counted over.
            EXPECT_EQ(belt->count, 4) << label;
            EXPECT_EQ(held->count, 2) << label;
            EXPECT_EQ(belt->unpaid, c.beltUnpaid) << label;
            EXPECT_EQ(held->unpaid, c.heldUnpaid) << label;
            EXPECT_TRUE(PlayerHasUnpaidItem()) << label;
        }
        EXPECT_EQ(QueuedDeletionCount(), 0u) << label;
        if (hero->quickSlots[0] == held || GetCursorItem() == held) delete held;
        hero->quickSlots[0] = nullptr;
        ClearCursorItem();
    }
}

TEST_F(PlayRoutinesTest, MinimapButtonsStopAtTheSmallestAndLargestSize) {
    struct Click {
        int x, y;
        int32_t size;
    };
    const Click clicks[] = {
        {1280 - 20, 5, 1}, {1280 - 20, 14, 2}, {1280 - 28, 0, 3}, {1280 - 20, 5, 3},
        {1280 - 5, 5, 2},  {1280 - 13, 14, 1}, {1280 - 5, 5, 0},  {1280 - 5, 5, 0},
    };
    for (const Click& c : clicks) {
        EXPECT_TRUE(HandleMinimapSizeClick(c.x, c.y));
        EXPECT_EQ(Layout.minimapSize, c.size);
    }
    EXPECT_TRUE(HandleMinimapSizeClick(1280 - 20, 15)) << "on the map, below the buttons";
    EXPECT_EQ(Layout.minimapSize, 0);
    EXPECT_FALSE(HandleMinimapSizeClick(1280 - 111, 5));
    EXPECT_EQ(hero->x, 5) << "no debug run: the map does not move the hero";
}

TEST_F(PlayRoutinesTest, TheInventoryWindowDragsFromItsFrameAndKeepsItsTopOnScreen) {
    Layout.inventoryOpen = 1;
    HandlePlayMouseDown(750 + 100, 20 + 100, false);  // on the grid: no drag
    EXPECT_FALSE(InventoryDrag.dragging);
    HandlePlayMouseDown(750 + 5, 20 + 5, false);
    ASSERT_TRUE(InventoryDrag.dragging);
    DragInventoryPanel(750 + 5 - 300, 20 + 5 - 100);
    EXPECT_EQ(Layout.inventoryX, 450);
    EXPECT_EQ(Layout.inventoryY, 0);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1000, 400);
    HandleGameEvent();
    EXPECT_FALSE(InventoryDrag.dragging);
}

TEST(ColorKeyPixel, ReadsEachPixelSizeByItsOwnBytesOnly) {
    struct Case {
        int bpp;
        Uint32 masks[3];
    };
    const Case cases[] = {
        {8, {0, 0, 0}},
        {16, {0xF800, 0x07E0, 0x001F}},
        {24, {0xFF0000, 0x00FF00, 0x0000FF}},
        {32, {0xFF0000, 0x00FF00, 0x0000FF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bpp);
        const int w = 5;
        const int h = 3;
        // A buffer exactly as long as the pixels, so that a wide read of the last pixel would
        // run past it (the sanitizer build catches that).
        const int bytes = c.bpp / 8;
        std::vector<Uint8> pixels(static_cast<size_t>(w * h * bytes), 0x11);
        SDL_Surface* s = SDL_CreateRGBSurfaceFrom(pixels.data(), w, h, c.bpp, w * bytes, c.masks[0], c.masks[1],
                                                  c.masks[2], 0);
        ASSERT_NE(s, nullptr);
        const Uint32 key = c.bpp == 8 ? 0x22 : c.bpp == 16 ? 0x2222 : c.bpp == 24 ? 0x222222 : 0x22222222;
        ASSERT_EQ(SDL_SetColorKey(s, SDL_SRCCOLORKEY, key), 0);
        Uint8* last = pixels.data() + (w * h - 1) * bytes;
        std::memset(last, 0x22, static_cast<size_t>(bytes));
        EXPECT_TRUE(IsColorKeyPixel(s, w - 1, h - 1));
        EXPECT_FALSE(IsColorKeyPixel(s, 0, 0));
        EXPECT_FALSE(IsColorKeyPixel(s, w, 0)) << "outside the surface";
        EXPECT_FALSE(IsColorKeyPixel(s, -1, 2));
        SDL_SetColorKey(s, 0, 0);
        EXPECT_FALSE(IsColorKeyPixel(s, w - 1, h - 1)) << "no colour key";
        SDL_FreeSurface(s);
    }
    EXPECT_FALSE(IsColorKeyPixel(nullptr, 0, 0));
}

}  // namespace

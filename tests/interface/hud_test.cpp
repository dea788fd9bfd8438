// The HUD: bar fill widths, element rectangles, the bottom bar and bars drawn through the HUD
// list, and the whole HUD left out while the interface is hidden.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "interface/hud_surfaces.h"
#include "creatures/experience.h"
#include "creatures/player.h"
#include "interface/game_frame.h"
#include "interface/hud.h"
#include "interface/layout.h"
#include "levels/level_draw.h"
#include "levels/level_test_map.h"
#include "tests/interface/frame_test_support.h"

namespace {

TEST(HudBars, FillWidthsFollowTheValues) {
    struct Case {
        const char* what;
        int32_t h, H, m, M, e, N, cost;
        bool large;
        HudBarWidths want;
    };
    const Case cases[] = {
        {"full", 50, 50, 20, 20, 10, 10, 0, false, {400, 400, 0, 382}},
        {"empty", 0, 50, 0, 20, 0, 10, 0, false, {0, 0, 0, 0}},
        {"30 of 100 mana, a spell of 10", 1, 2, 30, 100, 0, 10, 10, false, {200, 120, 40, 0}},
        {"a spell costing more than the mana", 1, 2, 30, 100, 0, 10, 31, false, {200, 120, 0, 0}},
        {"large interface", 1, 2, 30, 100, 5, 10, 10, true, {337, 202, 67, 335}},
        {"over the maximum fills the bar only", 90, 50, -5, 20, 20, 10, 0, false, {400, 0, 0, 382}},
        {"no maximum draws nothing", 5, 0, 5, 0, 5, 0, 0, false, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const HudBarWidths w = ComputeHudBarWidths(c.h, c.H, c.m, c.M, c.e, c.N, c.cost, c.large);
        EXPECT_EQ(w.health, c.want.health) << c.what;
        EXPECT_EQ(w.mana, c.want.mana) << c.what;
        EXPECT_EQ(w.manaCost, c.want.manaCost) << c.what;
        EXPECT_EQ(w.experience, c.want.experience) << c.what;
    }
}

class HudScreen : public testing::Test {
protected:
    void SetUp() override {
        savedLayout_ = Layout;
        savedHud_ = Hud;
        savedPlayer_ = CurrentPlayer;
        Layout = ScreenLayoutState();
        UpdateScreenLayout();
        SetLevelDrawArt(nullptr, nullptr);
        Hud = HudSurfaces();
        Hud.bottomBar = Solid(1024, 128, 0, 0, 200);
        Hud.lifeBar = Solid(400, 16, 200, 0, 0);
        Hud.manaBar0 = Solid(400, 16, 0, 200, 0);
        Hud.expBar = Solid(382, 8, 200, 200, 0);
        UpdateScreenLayout();
    }
    void TearDown() override {
        SetHudPieceRunner(nullptr);
        level_.reset();
        for (SDL_Surface* s : {Hud.bottomBar, Hud.lifeBar, Hud.manaBar0, Hud.expBar}) SDL_FreeSurface(s);
        Hud = savedHud_;
        Layout = savedLayout_;
        CurrentPlayer = savedPlayer_;
        FreeLevelDrawArt();
    }
    static SDL_Surface* Solid(int w, int h, Uint8 r, Uint8 g, Uint8 b) {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF, 0xFF00, 0xFF0000, 0);
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, r, g, b));
        return s;
    }
    void MakeScene() {
        level_.reset(new ScopedTestLevel(30, 30, SquareType::Floor));
        Player* hero = new Player();
        hero->PlaceOnLevel(15, 15, level_->get(), 0);
        hero->stat[kStatLife] = 40;
        hero->health = 10;
        hero->stat[kStatMana] = 20;
        hero->mana = 5;
        CurrentPlayer = hero;
    }

    GuardedScreen screen_{1280, 720};
    ScreenLayoutState savedLayout_;
    HudSurfaces savedHud_;
    Player* savedPlayer_ = nullptr;
    std::unique_ptr<ScopedTestLevel> level_;
};

TEST_F(HudScreen, RectanglesSitOnTheBottomBar) {
    EXPECT_EQ(Layout.interfaceX, 128);
    EXPECT_EQ(BottomBarTop(), 720 - 128);
    const SDL_Rect health = GetHealthBarRect();
    EXPECT_EQ(health.x, 128 + 56);
    EXPECT_EQ(health.y, 720 + 92 - 128);
    EXPECT_EQ(health.w, 400);
    const SDL_Rect mana = GetManaBarRect();
    EXPECT_EQ(mana.x, 128 + 568);
    const SDL_Rect exp = GetExperienceBarRect();
    EXPECT_EQ(exp.x, 128 + 576);
    EXPECT_EQ(exp.y, 720 + 83 - 128);
    const SDL_Rect active = GetActiveItemRect();
    EXPECT_EQ(active.x, 128 + 578);
    EXPECT_EQ(active.y, 592 + 43);
    EXPECT_EQ(active.w, 32);
    const SDL_Rect digest = GetDigestButtonRect();
    EXPECT_EQ(digest.x, 128);
    EXPECT_EQ(digest.y, 592 + 96);
    EXPECT_EQ(digest.w, 60);
    EXPECT_EQ(digest.h, 24);
}

TEST_F(HudScreen, TheBarsAreDrawnOverTheBottomBarUnlessTheInterfaceIsHidden) {
    MakeScene();
    DrawGameScreen();
    // The bottom bar picture, the health bar filled a quarter from its left end and the mana
    // bar a quarter from its right end.
    EXPECT_EQ(screen_.Rgb(128 + 1000, 600), 0x0000C8u);
    const SDL_Rect health = GetHealthBarRect();
    EXPECT_EQ(screen_.Rgb(health.x + 2, health.y + 1), 0xC80000u);
    EXPECT_EQ(screen_.Rgb(health.x + 98, health.y + 1), 0xC80000u);
    EXPECT_EQ(screen_.Rgb(health.x + 102, health.y + 1), 0x0000C8u);
    const SDL_Rect mana = GetManaBarRect();
    EXPECT_EQ(screen_.Rgb(mana.x + 398, mana.y + 1), 0x00C800u);
    EXPECT_EQ(screen_.Rgb(mana.x + 302, mana.y + 1), 0x00C800u);
    EXPECT_EQ(screen_.Rgb(mana.x + 298, mana.y + 1), 0x0000C8u);
    EXPECT_EQ(screen_.DamagedGuards(), 0u);

    Layout.hideInterface = 1;
    DrawGameScreen();
    SDL_Rect box;
    EXPECT_FALSE(screen_.FindColour(0x0000C8, &box));
    EXPECT_FALSE(screen_.FindColour(0xC80000, &box));
}

// What the recording runner saw: each piece's name, and whether tooltips were still allowed
// when its turn came.
std::vector<std::string> PiecesRun;

void RecordPiece(const HudPiece& piece, HudFrame& frame) {
    PiecesRun.push_back(std::string(piece.name) + (frame.tooltipsAllowed ? "" : " (no tooltips)"));
    // The backpack shows a tooltip: no later piece may show one.
    if (std::string(piece.name) == "inventory window") frame.tooltipsAllowed = false;
}

TEST_F(HudScreen, TheFrameDrawsEveryHudPieceInOrderSharingOneFrameState) {
    MakeScene();
    PiecesRun.clear();
    SetHudPieceRunner(RecordPiece);
    DrawGameScreen();
    const std::vector<std::string> want = {
        "bottom bar", "status bars", "menu bar", "portrait", "buff bar",
        "minimap, ticker and room name", "belts and active item", "toolkit windows",
        "inventory window", "crafting panel (no tooltips)", "character panel (no tooltips)",
        "HUD tooltips (no tooltips)", "zoo banner (no tooltips)"};
    EXPECT_EQ(PiecesRun, want);

    // None of them while the interface is hidden.
    PiecesRun.clear();
    Layout.hideInterface = 1;
    DrawGameScreen();
    EXPECT_TRUE(PiecesRun.empty());
}

TEST_F(HudScreen, TheZooBannerIsCentredWhileItsTimeLasts) {
    MakeScene();
    SDL_Surface* banner = Solid(200, 100, 0, 99, 99);
    ZooBannerImage = banner;
    ZooBannerMs = 100;
    DrawGameScreen();
    SDL_Rect box;
    ASSERT_TRUE(screen_.FindColour(0x006363, &box));
    EXPECT_EQ(box.x, 640 - 100);
    EXPECT_EQ(box.y, 300 - 50);
    ZooBannerMs = 0;
    DrawGameScreen();
    EXPECT_FALSE(screen_.FindColour(0x006363, &box));
    ZooBannerImage = nullptr;
    SDL_FreeSurface(banner);
}

}  // namespace

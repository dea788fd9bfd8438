// The picture notices: what dismisses them, where each draws its content, the Krong rows, the
// found recipe's row and tooltips, and the level-up notice.
#include "interface/notices.h"
#include "interface/ui_services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "creatures/buff.h"
#include "creatures/player.h"
#include "interface/dialogs.h"
#include "interface/frame_test_support.h"
#include "interface/game_frame.h"
#include "interface/hud_draw.h"
#include "interface/menu_test_fixture.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/weapon.h"
#include "media/font.h"
#include "media/image.h"
#include "media/sprite.h"
#include "media/text.h"
#include "media/tooltip.h"

namespace {

// A corner on the screen.
struct Place {
    int x;
    int y;
};

constexpr uint32_t kIconRgb = 0xE01CB4;  // a colour no placeholder picture uses

class NoticeTest : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        if (IsSkipped()) return;
        savedPlayer_ = CurrentPlayer;
        CurrentPlayer = nullptr;
        icon_ = MakeSolidSprite(64, 64, 0xE0, 0x1C, 0xB4);
    }
    void TearDown() override {
        CurrentPlayer = savedPlayer_;
        delete icon_;
        FreeNoticePictures();
        MenuScreenTest::TearDown();
    }

    // Runs the notice on the script; the fixed-clock milliseconds until it returned.
    Uint32 Run(const std::string& script, const std::function<void()>& notice) {
        Script(script);
        const Uint32 start = LoggedGetTicks();
        notice();
        return LoggedGetTicks() - start;
    }

    // The top-left corner of a picture of the data centred on the screen.
    static Place Corner(const char* file) {
        SDL_Surface* picture = LoadImage(file);
        EXPECT_NE(picture, nullptr) << file;
        Place p = {0, 0};
        if (picture == nullptr) return p;
        p.x = 640 - picture->w / 2;
        p.y = 360 - picture->h / 2;
        SDL_FreeSurface(picture);
        return p;
    }

    // True when the screen shows the picture at (x, y) at a few points of its area away from
    // (ax, ay, aw, ah), an area its content covers.
    static bool ShowsPicture(const char* file, int x, int y) {
        SDL_Surface* picture = LoadImage(file);
        if (picture == nullptr) return false;
        SDL_Surface* ref = NewScreenSized(1280, 720);
        SDL_FillRect(ref, nullptr, SDL_MapRGB(ref->format, 0, 0, 0));
        SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
        SDL_BlitSurface(picture, nullptr, ref, &at);
        // The corners' inner squares: no notice draws there.
        const int w = picture->w;
        const int h = picture->h;
        int differing = CountDifferentPixels(ScreenSurface, x + 2, y + 2, ref, x + 2, y + 2, 8, 8);
        differing += CountDifferentPixels(ScreenSurface, x + w - 10, y + 2, ref, x + w - 10, y + 2, 8, 8);
        differing += CountDifferentPixels(ScreenSurface, x + 2, y + h - 10, ref, x + 2, y + h - 10, 8, 8);
        // Just outside the picture the play screen (black) shows.
        const bool outside = MenuPixelRgb(ScreenSurface, x - 1, y + h / 2) == 0 &&
                             MenuPixelRgb(ScreenSurface, x + w, y + h / 2) == 0;
        SDL_FreeSurface(picture);
        SDL_FreeSurface(ref);
        return differing == 0 && outside;
    }

    // The 64 x 64 test icon stands with its top-left corner at (x, y).
    static bool IconAt(int x, int y) {
        return MenuPixelRgb(ScreenSurface, x, y) == kIconRgb && MenuPixelRgb(ScreenSurface, x + 63, y + 63) == kIconRgb &&
               MenuPixelRgb(ScreenSurface, x - 1, y) != kIconRgb && MenuPixelRgb(ScreenSurface, x, y - 1) != kIconRgb &&
               MenuPixelRgb(ScreenSurface, x + 64, y + 63) != kIconRgb;
    }

    // Pixels of the area that differ from the picture drawn at (x, y): text drawn there.
    static int InkIn(const char* file, int x, int y, int left, int top, int w, int h) {
        SDL_Surface* picture = LoadImage(file);
        SDL_Surface* ref = NewScreenSized(1280, 720);
        SDL_FillRect(ref, nullptr, SDL_MapRGB(ref->format, 0, 0, 0));
        SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
        SDL_BlitSurface(picture, nullptr, ref, &at);
        const int ink = CountDifferentPixels(ScreenSurface, left, top, ref, left, top, w, h);
        SDL_FreeSurface(picture);
        SDL_FreeSurface(ref);
        return ink;
    }

    Player* savedPlayer_ = nullptr;
    Sprite* icon_ = nullptr;
};

TEST_F(NoticeTest, WhatDismissesANotice) {
    // Every script ends with a dismissal 600 ms later than its first event.
    struct Case {
        const char* name;
        const char* script;
        bool closesAtOnce;
    };
    const Case cases[] = {
        {"Enter press", "wait 40\nkeydown return\nwait 600\nkeyup return", true},
        {"Enter release", "wait 40\nkeyup return\nwait 600\nkey return", true},
        {"left release", "wait 40\nclick 1 5 5\nwait 600\nkey return", true},
        {"middle release", "wait 40\nclick 2 1200 700\nwait 600\nkey return", true},
        {"right release", "wait 40\nclick 3 640 360\nwait 600\nkey return", true},
        {"a press alone stays", "wait 40\nbuttondown 1 640 360\nwait 600\nbuttonup 1 640 360", false},
        {"other keys stay", "wait 40\nkey escape\nkey space\nkey kp_enter\nwait 600\nkey return", false},
    };
    for (const Case& c : cases) {
        const Uint32 took = Run(c.script, [] { ShowStealDialog(nullptr); });
        if (c.closesAtOnce) {
            EXPECT_LT(took, 200u) << c.name;
        } else {
            EXPECT_GE(took, 600u) << c.name;
        }
    }
}

TEST_F(NoticeTest, EveryNoticeSaysHowToCloseIt) {
    struct Case {
        const char* picture;
        std::function<void()> show;
    };
    const Case cases[] = {
        {"ui/gameplay/dialog_steal.png", [] { ShowStealDialog(nullptr); }},
        {"ui/fountain_bg_text.png", [] { ShowFountainTextDialog("The water whispers."); }},
        {"ui/gameplay/lutefisk_god_bg_slot.png", [] { ShowLutefiskGiftDialog(nullptr); }},
        {"ui/gameplay/lutefisk_god_bg.png", [] { ShowLutefiskTitheDialog(4); }},
        {"ui/gameplay/questcomplete_bg.png", [] { ShowQuestCompleteDialog(nullptr); }},
        {"ui/gameplay/monster_zoo_cleared.png", [] { ShowZooClearedDialog(nullptr); }},
        {"ui/gameplay/krong_pleased.png", [] { ShowKrongDialog(nullptr, true, "Krong nods."); }},
        {"ui/crafting/findrecipe_bg.png", [] { ShowFindRecipeDialog(nullptr); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picture);
        std::vector<HudDrawCall> calls;
        SetHudDrawRecorder(&calls);
        SDL_FillRect(ScreenSurface, nullptr, SDL_MapRGB(ScreenSurface->format, 0, 0, 0));
        testing::internal::CaptureStdout();
        Run("wait 100\nkey return", c.show);
        testing::internal::GetCapturedStdout();
        SetHudDrawRecorder(nullptr);
        const auto line = std::find_if(calls.begin(), calls.end(),
                                       [](const HudDrawCall& call) { return call.what == "\"Click or press Enter\""; });
        ASSERT_NE(line, calls.end());
        // Written just under the picture, across its middle, where no picture art lies.
        const Place at = Corner(c.picture);
        SDL_Surface* picture = LoadImage(c.picture);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(line->x, at.x + picture->w / 2);
        EXPECT_GT(line->y, at.y + picture->h);
        SDL_Surface* black = NewScreenSized(picture->w, 24);
        SDL_FillRect(black, nullptr, 0);
        EXPECT_GT(CountDifferentPixels(ScreenSurface, at.x, at.y + picture->h + 1, black, 0, 0, picture->w, 24), 100)
            << "ink in the strip under the picture";
        SDL_FreeSurface(black);
        SDL_FreeSurface(picture);
    }
}

TEST_F(NoticeTest, TheReleaseOfAButtonHeldAsItOpensIsNotAnAnswer) {
    Script("buttondown 1 300 300\nwait 40\nbuttonup 1 300 300\nwait 600\nclick 3 300 300");
    SDL_Event opening;
    ASSERT_TRUE(LoggedPollEvent(&opening));  // the press that leads to the notice
    const Uint32 start = LoggedGetTicks();
    ShowLutefiskTitheDialog(3);
    EXPECT_GE(LoggedGetTicks() - start, 600u) << "closed by the release of the opening click";
    // Pressed again while it is open, the same button's release counts.
    Script("buttondown 1 300 300\nwait 40\nbuttonup 1 300 300\nwait 40\nbuttondown 1 300 300\nwait 40\n"
           "buttonup 1 300 300\nwait 600\nkey return");
    ASSERT_TRUE(LoggedPollEvent(&opening));
    const Uint32 again = LoggedGetTicks();
    ShowLutefiskTitheDialog(3);
    EXPECT_LT(LoggedGetTicks() - again, 200u);
}

TEST_F(NoticeTest, ItemNoticesDrawTheirPictureAndTheIconInPlace) {
    Item item;
    item.iconSprite = icon_;
    Player hero;
    struct Case {
        const char* name;
        const char* picture;
        int iconX, iconY;
        bool female;
        std::function<void()> show;
    };
    const Case cases[] = {
        {"zoo", "ui/gameplay/monster_zoo_cleared.png", 358, 304, false, [&] { ShowZooClearedDialog(&item); }},
        {"zoo, heroine", "ui/gameplay/monster_zoo_cleared_fem.png", 358, 304, true, [&] { ShowZooClearedDialog(&item); }},
        {"theft", "ui/gameplay/dialog_steal.png", 127, 86, false, [&] { ShowStealDialog(&item); }},
        {"lutefisk gift", "ui/gameplay/lutefisk_god_bg_slot.png", 227, 164, false, [&] { ShowLutefiskGiftDialog(&item); }},
        {"quest reward", "ui/gameplay/questcomplete_bg.png", 200, 168, false, [&] { ShowQuestCompleteDialog(&item); }},
        {"Krong", "ui/gameplay/krong_pleased.png", 153, 168, false, [&] { ShowKrongDialog(&item, true, "Hmm."); }},
        {"Krong displeased", "ui/gameplay/krong_displeased.png", 153, 168, false,
         [&] { ShowKrongDialog(&item, false, "Hmm."); }},
    };
    for (const Case& c : cases) {
        hero.female = c.female ? 1 : 0;
        CurrentPlayer = &hero;
        SDL_FillRect(ScreenSurface, nullptr, SDL_MapRGB(ScreenSurface->format, 0, 0, 0));
        Run("wait 40\nkey return", c.show);
        const Place at = Corner(c.picture);
        EXPECT_TRUE(ShowsPicture(c.picture, at.x, at.y)) << c.name;
        EXPECT_TRUE(IconAt(at.x + c.iconX, at.y + c.iconY)) << c.name;
    }
    CurrentPlayer = nullptr;
}

TEST_F(NoticeTest, TextNoticesWriteInsideTheirBoxes) {
    Item named;
    named.iconSprite = icon_;
    struct Case {
        const char* name;
        const char* picture;
        SDL_Rect textArea;  // relative to the picture
        std::function<void()> show;
    };
    const Case cases[] = {
        {"fountain", "ui/fountain_bg_text.png", {52, 280, 314, 70},
         [] { ShowFountainTextDialog("The water tastes faintly of old pennies."); }},
        {"tithe", "ui/gameplay/lutefisk_god_bg.png", {100, 330, 330, 30}, [] { ShowLutefiskTitheDialog(12); }},
    };
    for (const Case& c : cases) {
        SDL_FillRect(ScreenSurface, nullptr, SDL_MapRGB(ScreenSurface->format, 0, 0, 0));
        Run("wait 40\nkey return", c.show);
        const Place at = Corner(c.picture);
        EXPECT_TRUE(ShowsPicture(c.picture, at.x, at.y)) << c.name;
        EXPECT_GT(InkIn(c.picture, at.x, at.y, at.x + c.textArea.x, at.y + c.textArea.y, c.textArea.w, c.textArea.h), 50)
            << c.name;
        // Nothing above the text area.
        EXPECT_EQ(InkIn(c.picture, at.x, at.y, at.x + 20, at.y + 20, 300, 100), 0) << c.name;
    }
}

TEST_F(NoticeTest, NoticesWithoutTheirThingShowThePictureAlone) {
    struct Case {
        const char* name;
        const char* picture;
        std::function<void()> show;
    };
    const Case cases[] = {
        {"theft", "ui/gameplay/dialog_steal.png", [] { ShowStealDialog(nullptr); }},
        {"zoo", "ui/gameplay/monster_zoo_cleared.png", [] { ShowZooClearedDialog(nullptr); }},
        {"gift", "ui/gameplay/lutefisk_god_bg_slot.png", [] { ShowLutefiskGiftDialog(nullptr); }},
        {"reward", "ui/gameplay/questcomplete_bg.png", [] { ShowQuestCompleteDialog(nullptr); }},
        {"fountain", "ui/fountain_bg_text.png", [] { ShowFountainTextDialog(nullptr); }},
        {"Krong", "ui/gameplay/krong_displeased.png", [] { ShowKrongDialog(nullptr, false, nullptr); }},
        {"recipe", "ui/crafting/findrecipe_bg.png", [] { ShowFindRecipeDialog(nullptr); }},
    };
    for (const Case& c : cases) {
        SDL_FillRect(ScreenSurface, nullptr, SDL_MapRGB(ScreenSurface->format, 0, 0, 0));
        Run("wait 40\nkey return", c.show);
        const Place at = Corner(c.picture);
        EXPECT_TRUE(ShowsPicture(c.picture, at.x, at.y)) << c.name;
    }
}

// ---- Krong -------------------------------------------------------------------------------

class KrongTest : public NoticeTest {
protected:
    void SetUp() override {
        NoticeTest::SetUp();
        if (IsSkipped()) return;
        LoadStatIcons();
    }
    void TearDown() override {
        FreeStatIcons();
        NoticeTest::TearDown();
    }
    // An artifact armour piece whose bonus block the test fills.
    Buff& Bonus() {
        armour_.reset(new Armour(nullptr));
        armour_->iconSprite = icon_;
        armour_->artifactRecord.grantedBuff.reset(new Buff());
        return *armour_->artifactRecord.grantedBuff;
    }
    // The row tops and icon places the notice drew, as the screen shows them: true when the
    // screen at (x + dx, rowTop) holds the icon picture of the entry.
    bool IconDrawn(SDL_Surface* icon, int dx, int top) {
        if (icon == nullptr) return false;
        const Place at = Corner("ui/gameplay/krong_pleased.png");
        SDL_Surface* bg = LoadImage("ui/gameplay/krong_pleased.png");
        SDL_Surface* ref = NewScreenSized(1280, 720);
        SDL_Rect bgAt = {static_cast<Sint16>(at.x), static_cast<Sint16>(at.y), 0, 0};
        SDL_BlitSurface(bg, nullptr, ref, &bgAt);
        SDL_Rect iconAt = {static_cast<Sint16>(at.x + dx), static_cast<Sint16>(at.y + top), 0, 0};
        SDL_BlitSurface(icon, nullptr, ref, &iconAt);
        const int differing =
            CountDifferentPixels(ScreenSurface, at.x + dx, at.y + top, ref, at.x + dx, at.y + top, icon->w, icon->h);
        // The icon shows: the screen is not the bare background there.
        const int shown = InkIn("ui/gameplay/krong_pleased.png", at.x, at.y, at.x + dx, at.y + top, icon->w, icon->h);
        SDL_FreeSurface(bg);
        SDL_FreeSurface(ref);
        return differing == 0 && shown > 0;
    }
    void Show() { Run("wait 40\nkey return", [this] { ShowKrongDialog(armour_.get(), true, ""); }); }

    std::unique_ptr<Armour> armour_;
};

TEST_F(KrongTest, RowPlaces) {
    EXPECT_EQ(KrongIconOffset(0, 1), 304);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(KrongIconOffset(k, 4), 304 + 52 * k);
    EXPECT_EQ(KrongIconOffset(1, 2), 408);
    EXPECT_EQ(KrongIconOffset(0, 0), 304) << "an empty row never divides by zero";

    // One damage bonus: at x + 304 on the first row (top 192 + 0 + 18 for an empty text).
    Bonus().damage[kDamageVoltaic] = 4;
    auto rows = KrongBonusRows(armour_.get());
    ASSERT_EQ(rows.size(), 1u);
    Show();
    EXPECT_TRUE(IconDrawn(rows[0][0].icon, 304, 210));

    // Four primaries, 52 apart; the empty damage and resistance rows take no space.
    Buff& four = Bonus();
    for (int i = 0; i < 4; ++i) four.primaryMods[i] = i + 1;
    rows = KrongBonusRows(armour_.get());
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(rows[0].size(), 4u);
    Show();
    for (int k = 0; k < 4; ++k) EXPECT_TRUE(IconDrawn(rows[0][k].icon, 304 + 52 * k, 210)) << k;
}

TEST_F(KrongTest, MixedAndNegativeRows) {
    Buff& bonus = Bonus();
    bonus.damage[kDamageCrushing] = 3;
    bonus.damage[kDamageSlashing] = -2;
    for (int t = 0; t < kDamageTypeCount; ++t) bonus.resist[t] = -1;
    bonus.secondaryMods[kStatSight] = -5;
    const auto rows = KrongBonusRows(armour_.get());
    ASSERT_EQ(rows.size(), 3u);
    ASSERT_EQ(rows[0].size(), 2u) << "both signs show";
    EXPECT_EQ(rows[0][0].value, 3);
    EXPECT_EQ(rows[0][1].value, -2);
    EXPECT_EQ(rows[1].size(), 16u);
    EXPECT_EQ(rows[2].size(), 1u);
    Show();
    EXPECT_TRUE(IconDrawn(rows[0][0].icon, 304, 210));
    EXPECT_TRUE(IconDrawn(rows[0][1].icon, 408, 210));
    // Sixteen resistances crowd 12 pixels apart, each icon under the next one's value: the row
    // runs from x + 304 to the last icon at x + 484.
    const Place at = Corner("ui/gameplay/krong_pleased.png");
    EXPECT_GT(InkIn("ui/gameplay/krong_pleased.png", at.x, at.y, at.x + 304, at.y + 228, 12, 16), 0);
    EXPECT_GT(InkIn("ui/gameplay/krong_pleased.png", at.x, at.y, at.x + 484, at.y + 228, 16, 16), 0);
    EXPECT_EQ(InkIn("ui/gameplay/krong_pleased.png", at.x, at.y, at.x + 240, at.y + 228, 60, 16), 0);
    EXPECT_TRUE(IconDrawn(rows[2][0].icon, 304, 246));
}

// Pixels of the area that are exactly the colour.
int PixelsOfColour(int left, int top, int w, int h, SDL_Color colour) {
    const uint32_t rgb = (static_cast<uint32_t>(colour.r) << 16) | (static_cast<uint32_t>(colour.g) << 8) | colour.b;
    int n = 0;
    for (int y = top; y < top + h; ++y) {
        for (int x = left; x < left + w; ++x) n += MenuPixelRgb(ScreenSurface, x, y) == rgb;
    }
    return n;
}

TEST_F(KrongTest, EntriesUseTheTooltipIconsAndColours) {
    struct Case {
        const char* what;
        int row;    // the tooltip module's row
        int index;  // within it
        std::function<void(Buff&)> fill;
    };
    const Case cases[] = {
        {"voltaic damage", kTooltipRowDamage, kDamageVoltaic, [](Buff& b) { b.damage[kDamageVoltaic] = 4; }},
        {"toxic resistance", kTooltipRowResist, kDamageToxic, [](Buff& b) { b.resist[kDamageToxic] = -3; }},
        {"second primary", kTooltipRowBase, 1, [](Buff& b) { b.primaryMods[1] = 7; }},
        {"sight", kTooltipRowSecondary, kStatSight, [](Buff& b) { b.secondaryMods[kStatSight] = 2; }},
        {"last secondary", kTooltipRowSecondary, kSecondaryStatCount - 1,
         [](Buff& b) { b.secondaryMods[kSecondaryStatCount - 1] = 9; }},
    };
    const SDL_Color black = kTextBlack;
    for (const Case& c : cases) {
        c.fill(Bonus());
        const auto rows = KrongBonusRows(armour_.get());
        ASSERT_EQ(rows.size(), 1u) << c.what;
        ASSERT_EQ(rows[0].size(), 1u) << c.what;
        const KrongEntry& entry = rows[0][0];
        ASSERT_NE(entry.icon, nullptr) << c.what;
        EXPECT_EQ(entry.icon, TooltipRowIcon(c.row, c.index)) << c.what << ": one shared icon, not a copy";
        const SDL_Color colour = TooltipRowColour(c.row, c.index);
        EXPECT_EQ(entry.colour.r, colour.r) << c.what;
        EXPECT_EQ(entry.colour.g, colour.g) << c.what;
        EXPECT_EQ(entry.colour.b, colour.b) << c.what;
        EXPECT_FALSE(colour.r == black.r && colour.g == black.g && colour.b == black.b) << c.what;
        Show();
        EXPECT_TRUE(IconDrawn(entry.icon, 304, 210)) << c.what;
        const Place at = Corner("ui/gameplay/krong_pleased.png");
        EXPECT_GT(PixelsOfColour(at.x + 322, at.y + 210, 30, 18, colour), 0) << c.what << ": the value in its colour";
    }
}

TEST(TooltipRows, OutsideTheTablesNoIconAndWhite) {
    LoadStatIcons();
    struct Case {
        int row;
        int index;
    };
    for (const Case& c : {Case{-1, 0}, Case{4, 0}, Case{kTooltipRowDamage, 16}, Case{kTooltipRowResist, -1},
                          Case{kTooltipRowBase, 6}, Case{kTooltipRowSecondary, 24}}) {
        EXPECT_EQ(TooltipRowIcon(c.row, c.index), nullptr) << c.row << " " << c.index;
        const SDL_Color colour = TooltipRowColour(c.row, c.index);
        EXPECT_EQ(colour.r + colour.g + colour.b, 3 * 255) << c.row << " " << c.index;
    }
    FreeStatIcons();
    EXPECT_EQ(TooltipRowIcon(kTooltipRowDamage, 0), nullptr) << "freed icons are not handed out";
}

TEST_F(KrongTest, OnlyArtifactWeaponsAndArmourHaveRows) {
    Item plain;
    plain.type = 2;  // says armour, is not one
    EXPECT_TRUE(KrongBonusRows(&plain).empty());
    EXPECT_TRUE(KrongBonusRows(nullptr).empty());
    Armour noBlock(nullptr);
    EXPECT_TRUE(KrongBonusRows(&noBlock).empty());
    Bonus().damage[0] = 1;
    armour_->type = 5;  // not a weapon or armour any more
    EXPECT_TRUE(KrongBonusRows(armour_.get()).empty());
}

// ---- Find recipe ---------------------------------------------------------------------------

class FindRecipeTest : public NoticeTest {
protected:
    void SetUp() override {
        NoticeTest::SetUp();
        if (IsSkipped()) return;
        for (int i = 0; i < 5; ++i) {
            const std::string name = "test/recipe_icon_" + std::to_string(i);
            if (SpriteMgr_Find(name.c_str()) == nullptr) {
                SpriteMgr_Add(name.c_str(), MakeSolidSprite(64, 64, static_cast<Uint8>(0x30 + 0x20 * i), 0xF0, 0x0F));
            }
            defs_[i].name = "Ingredient " + std::to_string(i);
            defs_[i].iconFile = name;
        }
        defs_[4].name = "Pickled Thing";
    }
    static uint32_t IconRgb(int i) { return (static_cast<uint32_t>(0x30 + 0x20 * i) << 16) | 0xF00F; }

    ItemDef defs_[5];
};

TEST_F(FindRecipeTest, IngredientsStandInARowEndingLeftOfTheTool) {
    const int expected[4][4] = {{236}, {164, 236}, {92, 164, 236}, {20, 92, 164, 236}};
    const Place at = Corner("ui/crafting/findrecipe_bg.png");
    for (int n = 1; n <= 4; ++n) {
        FoundRecipe recipe;
        recipe.ingredientCount = n;
        for (int i = 0; i < n; ++i) recipe.ingredients[i] = &defs_[i];
        recipe.outputName = "Pickled Thing";
        recipe.outputDef = &defs_[4];
        recipe.tool = 2;
        SDL_FillRect(ScreenSurface, nullptr, SDL_MapRGB(ScreenSurface->format, 0, 0, 0));
        Run("wait 40\nkey return", [&] { ShowFoundRecipeNotice(recipe); });
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(RecipeIngredientX(i, n), expected[n - 1][i]);
            const int x = at.x + expected[n - 1][i];
            EXPECT_EQ(MenuPixelRgb(ScreenSurface, x, at.y + 68), IconRgb(i)) << n << " " << i;
            EXPECT_EQ(MenuPixelRgb(ScreenSurface, x + 63, at.y + 131), IconRgb(i)) << n << " " << i;
            EXPECT_NE(MenuPixelRgb(ScreenSurface, x - 1, at.y + 68), IconRgb(i)) << n << " " << i;
        }
        EXPECT_EQ(MenuPixelRgb(ScreenSurface, at.x + 414, at.y + 68), IconRgb(4)) << "the output";
    }
}

TEST_F(FindRecipeTest, TooltipsNameTheToolTheOutputAndTheIngredients) {
    const Place at = Corner("ui/crafting/findrecipe_bg.png");
    const char* const tools[7] = {"Modular Alchemy Kit", "Porta-Still", "Elven Ingot Grinder", "Dwarven Ingot Press",
                                  "Tinkerer Parts", "My Little Anvil Junior Smithing Kit", "n-Dimensional Lathe"};
    auto hover = [&](const FoundRecipe& recipe, int dx, int dy) {
        LastNoticeTooltip.clear();
        const std::string script = "move " + std::to_string(at.x + dx) + " " + std::to_string(at.y + dy) +
                                   "\nwait 60\nkey return";
        Run(script, [&] { ShowFoundRecipeNotice(recipe); });
        return LastNoticeTooltip;
    };
    FoundRecipe recipe;
    recipe.ingredientCount = 2;
    recipe.ingredients[0] = &defs_[0];
    recipe.ingredients[1] = &defs_[1];
    recipe.outputName = "Pickled Thing";
    recipe.outputDef = &defs_[4];
    for (int t = 0; t < 7; ++t) {
        recipe.tool = t;
        EXPECT_EQ(hover(recipe, 324, 68), tools[t]) << t;  // the area's corner counts
        EXPECT_EQ(hover(recipe, 388, 132), tools[t]) << t;
    }
    EXPECT_EQ(hover(recipe, 478, 100), "Pickled Thing");
    // The tooltip module's own box: its title, a black box right of and below the pointer.
    EXPECT_EQ(LastTooltipTitle(), "Pickled Thing");
    const SDL_Rect box = LastTooltipBox();
    EXPECT_GT(box.w, 0);
    EXPECT_GE(box.x, at.x + 478);
    EXPECT_GE(box.y, at.y + 100);
    EXPECT_EQ(MenuPixelRgb(ScreenSurface, box.x + 1, box.y + 1), 0u);
    EXPECT_EQ(hover(recipe, 310 - 144, 100), "Ingredient 0");
    EXPECT_EQ(hover(recipe, 374 - 72, 132), "Ingredient 1");
    EXPECT_EQ(hover(recipe, 400, 100), "") << "between the tool and the output";
    EXPECT_EQ(hover(recipe, 479, 100), "");
}

TEST_F(FindRecipeTest, CountsAndToolsOutsideTheTablesDrawWhatTheyCan) {
    const Place at = Corner("ui/crafting/findrecipe_bg.png");
    struct Case {
        int count;
        int tool;
    };
    for (const Case& c : {Case{0, 0}, Case{5, 3}, Case{-1, 7}, Case{2, -1}, Case{4, 1000}}) {
        FoundRecipe recipe;
        recipe.ingredientCount = c.count;
        for (int i = 0; i < 4 && i < c.count; ++i) recipe.ingredients[i] = &defs_[i];
        recipe.tool = c.tool;
        SDL_FillRect(ScreenSurface, nullptr, SDL_MapRGB(ScreenSurface->format, 0, 0, 0));
        LastNoticeTooltip.clear();
        const std::string script =
            "move " + std::to_string(at.x + 330) + " " + std::to_string(at.y + 80) + "\nwait 60\nkey return";
        Run(script, [&] { ShowFoundRecipeNotice(recipe); });
        const bool overlay = c.count >= 1 && c.count <= 4;  // its frame covers the background's edge
        if (!overlay) {
            EXPECT_TRUE(ShowsPicture("ui/crafting/findrecipe_bg.png", at.x, at.y)) << c.count << " " << c.tool;
        }
        if (c.tool < 0 || c.tool > 6) {
            EXPECT_EQ(LastNoticeTooltip, "") << c.tool;
        }
    }
}

// ---- Level-up -------------------------------------------------------------------------------

TEST(LevelUpTitles, ByTheHeroLevelField) {
    struct Case {
        int32_t level;
        const char* title;
    };
    const Case cases[] = {
        {1, "It's Dangerous To Go Alone! Take This!"}, {2, "Meddling Kid"}, {16, "Inconceivable"},
        {21, "Four Balls On The Edge Of A Cliff"},      {22, "The Balls Are Inert"}, {0, "The Balls Are Inert"},
        {-3, "The Balls Are Inert"},
    };
    for (const Case& c : cases) EXPECT_STREQ(LevelUpTitle(c.level), c.title) << c.level;
}

SDL_Surface*& LevelUpFrame() {
    static SDL_Surface* frame = nullptr;
    return frame;
}
int32_t& TomeOpeningsAtStart() {
    static int32_t openings = 0;
    return openings;
}
// Copies each presented frame until the skill tome has opened.
void KeepFramesBeforeTheTome(SDL_Surface* surface) {
    if (SkillTomeOpenings == TomeOpeningsAtStart() && LevelUpFrame() != nullptr) {
        SDL_BlitSurface(surface, nullptr, LevelUpFrame(), nullptr);
    }
}

TEST_F(NoticeTest, LevelUpShowsItsTitleThenClearsTheMenuBarAndOpensTheSkillTome) {
    for (int female = 0; female < 2; ++female) {
        const char* picture = female ? "ui/gameplay/levelup_bg_fem.png" : "ui/gameplay/levelup_bg.png";
        Player hero;
        hero.level = 16;
        hero.female = female;
        CurrentPlayer = &hero;
        MenuBarHover = true;
        const int32_t openings = SkillTomeOpenings;
        SDL_FillRect(ScreenSurface, nullptr, SDL_MapRGB(ScreenSurface->format, 0, 0, 0));
        testing::internal::CaptureStdout();
        // The skill tome opens over the notice once it is dismissed (and is closed by the
        // Escape); the notice's own frames are the last ones presented before the tome.
        LevelUpFrame() = NewScreenSized(1280, 720);
        TomeOpeningsAtStart() = openings;
        SetFramePresenter(&KeepFramesBeforeTheTome);
        Run("wait 300\nkey return\nwait 40\nkey escape", [] { ShowLevelUpDialog(); });
        SetFramePresenter(nullptr);
        SDL_BlitSurface(LevelUpFrame(), nullptr, ScreenSurface, nullptr);
        SDL_FreeSurface(LevelUpFrame());
        LevelUpFrame() = nullptr;
        const std::string printed = testing::internal::GetCapturedStdout();
        CurrentPlayer = nullptr;
        EXPECT_EQ(printed.find("Could not"), std::string::npos) << printed;
        EXPECT_FALSE(MenuBarHover);
        EXPECT_EQ(SkillTomeOpenings, openings + 1);

        const Place at = Corner(picture);
        EXPECT_TRUE(ShowsPicture(picture, at.x, at.y)) << picture;
        // The title is "Inconceivable", centred on (395, 172).
        SDL_Surface* ref = NewScreenSized(1280, 720);
        SDL_Surface* bg = LoadImage(picture);
        SDL_Rect bgAt = {static_cast<Sint16>(at.x), static_cast<Sint16>(at.y), 0, 0};
        SDL_BlitSurface(bg, nullptr, ref, &bgAt);
        DrawMediumTextCentered(at.x + 395, at.y + 172, "Inconceivable", ref);
        const int w = TextWidth("Inconceivable", MediumFont);
        // Down to the book's top at 192.
        const int h = std::min(TextHeight("Inconceivable", MediumFont), 20);
        EXPECT_GT(InkIn(picture, at.x, at.y, at.x + 395 - w / 2, at.y + 172, w, h), 20);
        EXPECT_EQ(CountDifferentPixels(ScreenSurface, at.x + 395 - w / 2 - 4, at.y + 172, ref, at.x + 395 - w / 2 - 4,
                                       at.y + 172, w + 8, h),
                  0);
        // The book animation stands at (368, 192), the hint text at (160, 235).
        EXPECT_GT(InkIn(picture, at.x, at.y, at.x + 368, at.y + 192, 64, 64), 100);
        EXPECT_GT(InkIn(picture, at.x, at.y, at.x + 160, at.y + 235, 192, 60), 50);
        SDL_FreeSurface(bg);
        SDL_FreeSurface(ref);
    }
}

}  // namespace

// The choice dialogs: which release answers what in each, the shop's buttons and price, and the
// input queued before a dialog opens.
#include "interface/choice_dialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/tweak.h"
#include "interface/menu_test_fixture.h"
#include "interface/notices.h"
#include "interface/ui_services.h"
#include "items_fixtures/item.h"
#include "media/font.h"
#include "media/image.h"
#include "media/sound.h"
#include "media/text.h"

namespace {

// A corner on the screen.
struct Place {
    int x;
    int y;
};

std::vector<std::string> Sounds;
void NoteSound(const char* name) { Sounds.push_back(name); }

// An item of a fixed value.
class PricedItem : public Item {
public:
    int32_t GetValue() override { return 10; }
    std::string GetItemName() const override { return "Jar of Pickled Glowworms"; }
};

class ChoiceDialogTest : public MenuScreenTest {
protected:
    void SetUp() override {
        MenuScreenTest::SetUp();
        if (IsSkipped()) return;
        Sounds.clear();
        SetSFXRequestObserver(NoteSound);
        const char* tweaks =
            "<tweaks><tweak name=\"store sell price scaler\" ival=\"0\" fval=\"0.79\"/>"
            "<tweak name=\"store buy price scaler\" ival=\"1\" fval=\"1.5\"/></tweaks>";
        ASSERT_TRUE(LoadTweakValsFromBuffer(tweaks, strlen(tweaks)));
    }
    void TearDown() override {
        SetSFXRequestObserver(nullptr);
        FreeNoticePictures();
        ClearTweakVals();
        if (!IsSkipped()) LoadTweakVals();
        MenuScreenTest::TearDown();
    }
    static Place Corner(const char* file) {
        SDL_Surface* picture = LoadImage(file);
        Place p = {0, 0};
        if (picture == nullptr) return p;
        p.x = 640 - picture->w / 2;
        p.y = 360 - picture->h / 2;
        SDL_FreeSurface(picture);
        return p;
    }
    static std::string At(const char* command, int x, int y) {
        return std::string(command) + " " + std::to_string(x) + " " + std::to_string(y) + "\n";
    }
};

TEST_F(ChoiceDialogTest, WhichReleaseAnswersWhat) {
    struct Dialog {
        const char* name;
        const char* picture;
        std::function<int32_t()> show;
        int left0, right0, left1, right1, top, bottom;  // click zones, exclusive, relative
    };
    const Dialog dialogs[] = {
        {"fountain", "ui/fountain_bg_drink.png", [] { return ShowFountainDrinkDialog(); }, 17, 177, 237, 397, 360, 392},
        {"tutorial", "ui/tutorial/tutorial_complete_bg.png", [] { return ShowTutorialCompleteDialog(); }, 17, 177, 237,
         397, 360, 392},
        {"quest offer", "ui/gameplay/questoffer_bg.png",
         [] { return ShowQuestOfferDialog("Bring me three left boots.", "ui/dialog_gbut_accept", "ui/dialog_gbut_decline"); },
         87, 179, 204, 296, 372, 404},
    };
    for (const Dialog& d : dialogs) {
        const Place c = Corner(d.picture);
        const int midY = c.y + (d.top + d.bottom) / 2;
        const int mid0 = c.x + (d.left0 + d.right0) / 2;
        const int mid1 = c.x + (d.left1 + d.right1) / 2;
        // Each script ends in an answer of 1 (a click in the second zone) after the case's events.
        const std::string answer1 = "wait 40\n" + At("click 1", mid1, midY);
        struct Case {
            const char* name;
            std::string script;
            int32_t answer;
        };
        const std::vector<Case> cases = {
            {"left button, first zone", "wait 40\n" + At("click 1", mid0, midY), 0},
            {"right button, first zone", "wait 40\n" + At("click 3", mid0, midY), 0},
            {"middle button, second zone", "wait 40\n" + At("click 2", mid1, midY), 1},
            {"a press alone", "wait 40\n" + At("buttondown 1", mid0, midY) + answer1, 1},
            {"between the zones", "wait 40\n" + At("click 1", c.x + (d.right0 + d.left1) / 2, midY) + answer1, 1},
            {"on the edges", "wait 40\n" + At("click 1", c.x + d.left0, midY) + At("click 1", c.x + d.right0, midY) +
                                 At("click 1", mid0, c.y + d.top) + At("click 1", mid0, c.y + d.bottom) + answer1,
             1},
            {"just inside", "wait 40\n" + At("click 1", c.x + d.left0 + 1, c.y + d.bottom - 1), 0},
            {"keys never answer", "wait 40\nkey return\nkey escape\nkey 1\n" + answer1, 1},
            {"a click queued before it opened", At("click 1", mid0, midY) + answer1, 1},
        };
        for (const Case& k : cases) {
            Sounds.clear();
            Script(k.script);
            EXPECT_EQ(d.show(), k.answer) << d.name << ": " << k.name;
            EXPECT_EQ(Sounds, std::vector<std::string>{"click"}) << d.name << ": " << k.name;
        }
    }
}

TEST_F(ChoiceDialogTest, ShopButtonsStandAtSixthsAndOnlyTheLeftButtonCounts) {
    PricedItem item;
    const Place c = Corner("ui/dialog_alert_bigger.png");
    SDL_Surface* box = LoadImage("ui/dialog_alert_bigger.png");
    ASSERT_NE(box, nullptr);
    const int W = box->w;
    const int H = box->h;
    SDL_FreeSurface(box);
    const int row = c.y + H - 16 - 16;  // the middle of the 32-pixel buttons
    const int first = c.x + W / 6;
    const int second = c.x + (3 * W) / 6;
    const int third = c.x + (5 * W) / 6;
    struct Case {
        const char* name;
        bool three;
        std::string script;
        int32_t answer;
    };
    const std::string done = "wait 40\n" + At("click 1", second, row);
    const std::vector<Case> cases = {
        {"sell", false, "wait 40\n" + At("click 1", first, row), 0},
        {"keep", false, "wait 40\n" + At("click 1", second, row), 1},
        {"no third button with two", false, "wait 40\n" + At("click 1", third, row) + done, 1},
        {"pick up", true, "wait 40\n" + At("click 1", third, row), 2},
        {"buy", true, "wait 40\n" + At("click 1", first, row), 0},
        {"the right button does nothing", true, "wait 40\n" + At("click 3", first, row) + done, 1},
        {"the middle button does nothing", true, "wait 40\n" + At("click 2", third, row) + done, 1},
        {"above the click row", true, "wait 40\n" + At("click 1", first, row - 16) + done, 1},
        {"below the click row", true, "wait 40\n" + At("click 1", first, row + 16) + done, 1},
        {"beside a button", true, "wait 40\n" + At("click 1", first - 61, row) + done, 1},
        {"the last click of a frame wins", true,
         "wait 40\n" + At("click 1", first, row) + At("click 1", third, row), 2},
        {"a click queued before it opened", true, At("click 1", first, row) + done, 1},
    };
    for (const Case& k : cases) {
        Sounds.clear();
        Script(k.script);
        const int32_t answer = k.three ? ShowStoreDialog(&item, "ui/dialog_but_Buy", "ui/dialog_but_DontBuy", "ui/dialog_but_PickUp")
                                       : ShowStoreDialog(&item, "ui/dialog_but_Sell", "ui/dialog_but_DontSell", nullptr);
        EXPECT_EQ(answer, k.answer) << k.name;
        ASSERT_FALSE(Sounds.empty()) << k.name;
        EXPECT_EQ(Sounds.front(), "turnpage") << k.name;
    }
}

TEST_F(ChoiceDialogTest, ShopButtonsAreDrawnCentredOnTheirSixths) {
    PricedItem item;
    const Place c = Corner("ui/dialog_alert_bigger.png");
    SDL_Surface* box = LoadImage("ui/dialog_alert_bigger.png");
    SDL_Surface* sell = LoadImage("ui/dialog_but_Sell0.png");
    ASSERT_TRUE(box && sell);
    const int W = box->w;
    const int H = box->h;
    Script("wait 40\n" + At("click 1", c.x + W / 6, c.y + H - 32));
    ASSERT_EQ(ShowStoreDialog(&item, "ui/dialog_but_Sell", "ui/dialog_but_DontSell", nullptr), 0);
    SDL_Surface* ref = NewScreenSized(1280, 720);
    SDL_Rect at = {static_cast<Sint16>(c.x), static_cast<Sint16>(c.y), 0, 0};
    SDL_BlitSurface(box, nullptr, ref, &at);
    // The second button at 3W/6 shows at rest; the right sixth stays empty.
    SDL_Surface* keep = LoadImage("ui/dialog_but_DontSell0.png");
    ASSERT_NE(keep, nullptr);
    SDL_Rect keepAt = {static_cast<Sint16>(c.x + (3 * W) / 6 - keep->w / 2), static_cast<Sint16>(c.y + H - keep->h - 16), 0, 0};
    SDL_BlitSurface(keep, nullptr, ref, &keepAt);
    EXPECT_EQ(CountDifferentPixels(ScreenSurface, keepAt.x, keepAt.y, ref, keepAt.x, keepAt.y, keep->w, keep->h), 0);
    EXPECT_EQ(CountDifferentPixels(ScreenSurface, c.x + (4 * W) / 6, keepAt.y, ref, c.x + (4 * W) / 6, keepAt.y,
                                   W / 3 - 8, keep->h),
              0);
    // The heading with the sell price: 10 x 0.79 = 7.9 shows as 7.
    DrawTextWrapped("Jar of Pickled Glowworms (7 zorkmids)", c.x + 100, c.y + 40, c.x + W - 32, c.y + H - 64,
                    AltMediumFont, kTextBlack, ref);
    EXPECT_EQ(CountDifferentPixels(ScreenSurface, c.x + 100, c.y + 40, ref, c.x + 100, c.y + 40, W - 132, 24), 0);
    for (SDL_Surface* s : {box, sell, keep, ref}) SDL_FreeSurface(s);
}

TEST_F(ChoiceDialogTest, PricesTruncateWithTheScalerOfTheOffer) {
    EXPECT_EQ(StoreDialogPrice(10, false), 7) << "7.9 with the sell scaler";
    EXPECT_EQ(StoreDialogPrice(10, true), 15) << "the buy scaler with three buttons";
    EXPECT_EQ(StoreDialogPrice(0, true), 0);
    EXPECT_EQ(StoreDialogPrice(-10, false), 0) << "a price is never below nothing";
}

}  // namespace

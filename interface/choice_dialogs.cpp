// The fountain, tutorial-complete, quest-offer and shop dialogs.
#include "interface/choice_dialogs.h"

#include <string>

#include "core/input_log.h"
#include "core/shell/shell_services.h"
#include "core/tweak.h"
#include "creatures/player.h"
#include "interface/button.h"
#include "interface/cursor.h"
#include "interface/game_frame.h"
#include "interface/layout.h"
#include "interface/menu_frame.h"
#include "interface/notices.h"
#include "items_fixtures/item.h"
#include "items_fixtures/shop_pedestal.h"
#include "media/font.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/text.h"

namespace {

constexpr int32_t kFallbackButtonWidth = 92;
constexpr int32_t kFallbackButtonHeight = 32;

struct ChoiceLayout {
    SDL_Surface* background = nullptr;
    StateButton buttons[3];
    int32_t buttonCount = 0;
    bool hideTooltips = false;
};

// Frames until a release decides; the last deciding release of a frame's events wins when
// lastWins is set, else the first.
template <class Place, class Content, class Decide>
int32_t RunChoice(ChoiceLayout& layout, bool lastWins, Place place, Content content, Decide decide) {
    if (CurrentPlayer != nullptr) {
        CurrentPlayer->SetIdleAnimation();
        CurrentPlayer->offsetX = 0.0f;
        CurrentPlayer->offsetY = 0.0f;
    }
    FlushInput();
    DiscardPendingEvents();
    for (;;) {
        if (layout.hideTooltips) TooltipSlotFree = false;
        DrawGameScreen();
        const int32_t w = layout.background != nullptr ? layout.background->w : 0;
        const int32_t h = layout.background != nullptr ? layout.background->h : 0;
        int32_t x = 0;
        int32_t y = 0;
        CentredCorner(w, h, &x, &y);
        if (layout.background != nullptr && ScreenSurface != nullptr) {
            SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
            BlitSurface(layout.background, nullptr, ScreenSurface, &at);
        }
        content(x, y, w, h);
        int mx = 0;
        int my = 0;
        const Uint8 held = LoggedGetMouseState(&mx, &my);
        for (int32_t i = 0; i < layout.buttonCount; ++i) {
            place(i, x, y, w, h, layout.buttons[i].rect);
            layout.buttons[i].Draw(ScreenSurface, mx, my, held);
        }
        UpdateMouseCursor();
        AdvanceFrame();

        int32_t answer = -1;
        SDL_Event event;
        while (LoggedPollEvent(&event)) {
            if (event.type != SDL_MOUSEBUTTONUP) continue;
            const int32_t hit = decide(event, x, y, w, h);
            if (hit < 0) continue;
            PlaySFX("click");
            answer = hit;
            if (!lastWins) return answer;
        }
        if (answer >= 0) return answer;
    }
}

bool Between(int32_t v, int32_t low, int32_t high) { return low < v && v < high; }

void LoadButton(StateButton& button, const char* base) {
    const std::string name = base != nullptr ? base : "";
    const size_t cut = name.find_last_of('_');
    button.Load(name.c_str(), cut == std::string::npos ? name.c_str() : name.substr(cut + 1).c_str(),
                kFallbackButtonWidth, kFallbackButtonHeight);
}

// The fountain and tutorial-complete pair: buttons at (17, 360) and (237, 360); a release of any
// button strictly inside (17..177 or 237..397, 360..392) answers 0 or 1.
int32_t RunTwoWayPicture(int32_t backgroundIndex, const char* leftArt, const char* rightArt) {
    ChoiceLayout layout;
    layout.background = NoticePictureOf(backgroundIndex);
    layout.buttonCount = 2;
    LoadButton(layout.buttons[0], leftArt);
    LoadButton(layout.buttons[1], rightArt);
    return RunChoice(
        layout, false,
        [](int32_t i, int32_t x, int32_t y, int32_t, int32_t, SDL_Rect& rect) {
            rect.x = static_cast<Sint16>(x + (i == 0 ? 17 : 237));
            rect.y = static_cast<Sint16>(y + 360);
        },
        [](int32_t, int32_t, int32_t, int32_t) {},
        [](const SDL_Event& e, int32_t x, int32_t y, int32_t, int32_t) {
            const int32_t mx = e.button.x;
            const int32_t my = e.button.y;
            if (!Between(my, y + 360, y + 392)) return -1;
            if (Between(mx, x + 17, x + 177)) return 0;
            if (Between(mx, x + 237, x + 397)) return 1;
            return -1;
        });
}

}  // namespace

int32_t ShowFountainDrinkDialog() {
    return RunTwoWayPicture(kPictureFountainDrink, "ui/fountain_dontdrink", "ui/fountain_drink");
}

int32_t ShowTutorialCompleteDialog() {
    return RunTwoWayPicture(kPictureTutorialComplete, "ui/tutorial/back_to_menu", "ui/tutorial/next_tutorial");
}

int32_t ShowQuestOfferDialog(const char* text, const char* firstArt, const char* secondArt) {
    ChoiceLayout layout;
    layout.background = NoticePictureOf(kPictureQuestOffer);
    layout.buttonCount = 2;
    LoadButton(layout.buttons[0], firstArt != nullptr ? firstArt : "ui/dialog_gbut_accept");
    LoadButton(layout.buttons[1], secondArt != nullptr ? secondArt : "ui/dialog_gbut_decline");
    return RunChoice(
        layout, false,
        [](int32_t i, int32_t x, int32_t y, int32_t, int32_t, SDL_Rect& rect) {
            rect.x = static_cast<Sint16>(x + (i == 0 ? 87 : 204));
            rect.y = static_cast<Sint16>(y + 372);
        },
        [text](int32_t x, int32_t y, int32_t, int32_t) {
            DrawTextWrapped(text, x + 20, y + 196, x + 364, y + 364, AltMediumFont, kTextBlack, ScreenSurface);
        },
        [](const SDL_Event& e, int32_t x, int32_t y, int32_t, int32_t) {
            const int32_t mx = e.button.x;
            const int32_t my = e.button.y;
            if (!Between(my, y + 372, y + 404)) return -1;
            if (Between(mx, x + 87, x + 179)) return 0;
            if (Between(mx, x + 204, x + 296)) return 1;
            return -1;
        });
}

int32_t StoreDialogPrice(int32_t value, bool threeButtons) {
    return ScaledPrice(value, GetTweakFloat(threeButtons ? "store buy price scaler" : "store sell price scaler"));
}

int32_t ShowStoreDialog(Item* item, const char* firstArt, const char* secondArt, const char* thirdArt) {
    PlaySFX("turnpage");
    ChoiceLayout layout;
    layout.background = NoticePictureOf(kPictureStoreBox);
    layout.hideTooltips = true;
    layout.buttonCount = thirdArt != nullptr ? 3 : 2;
    LoadButton(layout.buttons[0], firstArt);
    LoadButton(layout.buttons[1], secondArt);
    if (thirdArt != nullptr) LoadButton(layout.buttons[2], thirdArt);
    const int32_t price = item != nullptr ? StoreDialogPrice(item->GetValue(), thirdArt != nullptr) : 0;
    const std::string name = item != nullptr ? item->GetName() : std::string();
    const std::string description = item != nullptr ? item->GetDescription() : std::string();
    const std::string heading = name + " (" + std::to_string(price) + " zorkmids)";
    const int32_t firstHeight = layout.buttons[0].rect.h;
    StateButton* buttons = layout.buttons;
    const int32_t count = layout.buttonCount;
    return RunChoice(
        layout, true,
        [](int32_t i, int32_t x, int32_t y, int32_t w, int32_t h, SDL_Rect& rect) {
            const int32_t centre = ((2 * i + 1) * w) / 6;
            rect.x = static_cast<Sint16>(x + centre - rect.w / 2);
            rect.y = static_cast<Sint16>(y + h - rect.h - 16);
        },
        [&](int32_t x, int32_t y, int32_t w, int32_t h) {
            DrawItemIcon(item, x + 32, y + 32);
            DrawTextWrapped(heading.c_str(), x + 100, y + 40, x + w - 32, y + h - 64, AltMediumFont, kTextBlack,
                            ScreenSurface);
            if (!description.empty()) {
                DrawTextWrapped(description.c_str(), x + 32, y + 100, x + w - 32, y + h - 64, AltMediumFont,
                                kTextBlack, ScreenSurface);
            }
        },
        [&](const SDL_Event& e, int32_t, int32_t, int32_t, int32_t h) {
            if (e.button.button != SDL_BUTTON_LEFT) return -1;
            const int32_t my = e.button.y;
            const int32_t cy = Layout.screenHeight / 2;
            const int32_t row = cy + h / 2 - firstHeight;
            if (!Between(my, row - 16, row + 16)) return -1;
            for (int32_t i = 0; i < count; ++i) {
                if (buttons[i].Contains(e.button.x, my)) return i;
            }
            return -1;
        });
}

// The quest log panel.
#include "interface/quest_log.h"

#include <SDL.h>

#include <algorithm>

#include "core/input_log.h"
#include "core/key_bindings.h"
#include "creatures/monster.h"
#include "creatures/player.h"
#include "interface/dialogs.h"
#include "interface/game_frame.h"
#include "interface/hud.h"
#include "interface/layout.h"
#include "interface/menu_bar.h"
#include "interface/window_art.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/quest.h"
#include "items_fixtures/quest_blocker.h"
#include "levels/level.h"
#include "media/font.h"
#include "media/image.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/text.h"

namespace {

enum QuestArt : int32_t {
    kArtBackground,
    kArtInProgress0,
    kArtInProgress1,
    kArtCompleted0,
    kArtCompleted1,
    kArtUp0,
    kArtUp1,
    kArtUp2,
    kArtDown0,
    kArtDown1,
    kArtDown2,
    kArtBlank,
    kArtChecked,
    kArtCrossed,
    kArtAbandon0,
    kArtAbandon1,
    kQuestArtCount
};

const char* const kQuestArtFiles[kQuestArtCount] = {
    "ui/gameplay/panel_quest_bg.png",
    "ui/gameplay/panel_quest_inprogress0.png",
    "ui/gameplay/panel_quest_inprogress1.png",
    "ui/gameplay/panel_quest_completed0.png",
    "ui/gameplay/panel_quest_completed1.png",
    "ui/gameplay/skilltome_arrowbutton_up0.png",
    "ui/gameplay/skilltome_arrowbutton_up1.png",
    "ui/gameplay/skilltome_arrowbutton_up2.png",
    "ui/gameplay/skilltome_arrowbutton_down0.png",
    "ui/gameplay/skilltome_arrowbutton_down1.png",
    "ui/gameplay/skilltome_arrowbutton_down2.png",
    "ui/panel_quest_checkbox_blank.png",
    "ui/panel_quest_checkbox_checked.png",
    "ui/panel_quest_checkbox_crossed.png",
    "ui/gameplay/quest_abandon0.png",
    "ui/gameplay/quest_abandon1.png",
};

SDL_Surface* QuestArtPictures[kQuestArtCount] = {};

constexpr int32_t kCompletedStage = 2;
constexpr int32_t kDefaultPanelWidth = 502;
constexpr int32_t kDefaultPanelHeight = 480;
constexpr int32_t kDefaultCheckboxWidth = 24;
constexpr int32_t kAbandonLeft = 89;
constexpr int32_t kAbandonTop = 116;
constexpr int32_t kAbandonSize = 32;

bool PointInSDLRect(SDL_Surface* picture, int32_t left, int32_t top, int32_t x, int32_t y) {
    if (picture == nullptr) return false;
    return x >= left && x <= left + picture->w && y >= top && y <= top + picture->h;
}

int32_t CheckboxWidth() {
    SDL_Surface* blank = QuestArtPictures[kArtBlank];
    return blank != nullptr ? blank->w : kDefaultCheckboxWidth;
}

// The wrapped height of a description in the list.
int32_t DescriptionHeight(const QuestRecord* quest, int32_t left, int32_t top) {
    return MeasureTextWrapped(quest->description.c_str(), left + kQuestListLeft + CheckboxWidth(), top + kQuestListTop,
                              left + kQuestListLeft + kQuestListSize, 100000, MediumFont);
}

}  // namespace

void QuestUIArtLoad() {
    for (int32_t i = 0; i < kQuestArtCount; ++i) {
        if (QuestArtPictures[i] == nullptr) QuestArtPictures[i] = LoadImage(kQuestArtFiles[i]);
    }
}

void FreeQuestUIArt() {
    for (SDL_Surface*& picture : QuestArtPictures) {
        if (picture != nullptr) SDL_FreeSurface(picture);
        picture = nullptr;
    }
}

std::vector<QuestRecord*> QuestLogEntries(int32_t tab) {
    std::vector<QuestRecord*> entries;
    for (QuestRecord* quest : ActiveQuests) {
        if (quest == nullptr) continue;
        const bool completed = quest->stage == kCompletedStage;
        if (tab == 0 ? quest->stage < kCompletedStage : completed) entries.push_back(quest);
    }
    return entries;
}

bool QuestLogCanPageDown(int32_t page, int32_t count) { return page * kQuestsPerPage + kQuestsPerPage < count; }

int32_t QuestAbandonButtonAt(int32_t rx, int32_t ry, const std::vector<int32_t>& heights) {
    // The list is clipped to 360 x 360 pixels; nothing outside it can be clicked.
    if (rx < kQuestListLeft || rx >= kQuestListLeft + kQuestListSize) return -1;
    if (ry < kQuestListTop || ry >= kQuestListTop + kQuestListSize) return -1;
    int32_t y = 0;
    for (size_t i = 0; i < heights.size(); ++i) {
        if (rx >= kAbandonLeft && rx <= kAbandonLeft + kAbandonSize && ry >= kAbandonTop + y &&
            ry <= kAbandonTop + y + kAbandonSize) {
            return static_cast<int32_t>(i);
        }
        y += heights[i] + 2;
    }
    return -1;
}

void ShowQuestLog() {
    // A hover left by the menu-bar click that closed an earlier window is no click on this one.
    MenuBarHover = false;
    if (PlayWindowReplacement replacement = GetPlayWindowReplacement()) {
        replacement(PlayWindow::QuestLog);
        return;
    }
    PlaySFX("questopen");
    int32_t tab = 0;
    int32_t page = 0;
    bool rebuild = true;
    bool close = false;
    std::vector<QuestRecord*> shown;
    for (;;) {
        if (MenuBarHover) close = true;
        if (rebuild) {
            shown = QuestLogEntries(tab);
            rebuild = false;
        }
        SDL_Surface* background = QuestArtPictures[kArtBackground];
        const int32_t cx = Layout.screenWidth / 2;
        const int32_t cy = Layout.screenHeight / 2;
        const int32_t left = cx - (background ? background->w : kDefaultPanelWidth) / 2;
        const int32_t top = cy - (background ? background->h : kDefaultPanelHeight) / 2;

        DrawGameScreen();
        int mx = 0, my = 0;
        LoggedGetMouseState(&mx, &my);
        DrawPicture(background, left, top);
        // The heading is ours to draw: the background is plain, so nothing stands under it.
        DrawLargeTextCentered(left + 150, top + 26, "Quests");
        auto drawHover = [&](QuestArt normal, QuestArt hover, int32_t x, int32_t y) {
            DrawPicture(PointInSDLRect(QuestArtPictures[normal], x, y, mx, my) ? QuestArtPictures[hover]
                                                                             : QuestArtPictures[normal],
                        x, y);
        };
        drawHover(kArtInProgress0, kArtInProgress1, left + 308, top + 30);
        drawHover(kArtCompleted0, kArtCompleted1, left + 392, top + 30);
        drawHover(kArtUp0, kArtUp1, left + 468, top + 192);
        drawHover(kArtDown0, kArtDown1, left + 468, top + 256);
        if (shown.empty()) {
            DrawLargeTextCentered(cx, cy - 16, "NO QUESTS");
        } else if (ScreenSurface != nullptr) {
            SDL_Rect clip = {static_cast<Sint16>(left + kQuestListLeft), static_cast<Sint16>(top + kQuestListTop),
                             kQuestListSize, kQuestListSize};
            SDL_SetClipRect(ScreenSurface, &clip);
            int32_t y = 0;
            for (int32_t i = page * kQuestsPerPage; i < page * kQuestsPerPage + kQuestsPerPage &&
                                                    i < static_cast<int32_t>(shown.size());
                 ++i) {
                const QuestRecord* quest = shown[i];
                const int32_t height =
                    DrawTextWrapped(quest->description.c_str(), left + kQuestListLeft + CheckboxWidth(),
                                    top + kQuestListTop + y, left + kQuestListLeft + kQuestListSize, 100000,
                                    MediumFont, kTextBlack, ScreenSurface);
                DrawPicture(QuestArtPictures[quest->stage == kCompletedStage ? kArtChecked : kArtBlank],
                            left + kQuestListLeft, top + kQuestListTop + y);
                const bool hover = mx >= left + kAbandonLeft && mx <= left + kAbandonLeft + kAbandonSize &&
                                   my >= top + kAbandonTop + y && my <= top + kAbandonTop + y + kAbandonSize;
                DrawPicture(QuestArtPictures[hover ? kArtAbandon1 : kArtAbandon0], left + kAbandonLeft,
                            top + kAbandonTop + y);
                y += height + 2;
            }
            SDL_SetClipRect(ScreenSurface, nullptr);
        }
        DrawCloseButton(left + 482, top);
        UpdateMouseCursor();
        AdvanceFrame();

        SDL_Event event;
        while (!close && LoggedPollEvent(&event)) {
            if (event.type == SDL_KEYUP) {
                if (event.key.keysym.sym == SDLK_ESCAPE || KeyBindingMatches(kBindQuests, event.key.keysym)) {
                    PlaySFX("click");
                    close = true;
                }
                continue;
            }
            if (event.type != SDL_MOUSEBUTTONUP) continue;
            const int32_t x = event.button.x;
            const int32_t y = event.button.y;
            const int32_t barTop = Layout.screenHeight - BottomBarHeight();
            if (y >= barTop + 18 && y <= barTop + 42 && x >= Layout.interfaceX && x <= Layout.interfaceX + 280) {
                CheckMenuBarHover(x, y);
                break;
            }
            const bool tabRow = y > top + 30 && y < top + 49;
            if (tabRow && x > left + 308 && x < left + 386) {
                tab = 0;
                rebuild = true;
                page = 0;
                PlaySFX("turnpage");
            } else if (tabRow && x > left + 392 && x < left + 470) {
                tab = 1;
                rebuild = true;
                page = 0;
                PlaySFX("turnpage");
            } else if (x > left + 468 && x < left + 500 && y > top + 192 && y < top + 232) {
                if (page > 0) --page;
            } else if (x > left + 468 && x < left + 500 && y > top + 256 && y < top + 296) {
                if (QuestLogCanPageDown(page, static_cast<int32_t>(shown.size()))) ++page;
            } else if (x > left + 482 && x < left + 502 && y > top && y < top + 20) {
                PlaySFX("click");
                close = true;
            } else {
                std::vector<int32_t> heights;
                for (int32_t i = page * kQuestsPerPage; i < page * kQuestsPerPage + kQuestsPerPage &&
                                                        i < static_cast<int32_t>(shown.size());
                     ++i) {
                    heights.push_back(DescriptionHeight(shown[i], left, top));
                }
                const int32_t hit = QuestAbandonButtonAt(x - left, y - top, heights);
                if (hit >= 0 &&
                    ShowDialog("Are you sure you wish to abandon this quest?", "ui/dialog_but_yea",
                               "ui/dialog_but_nay") == 0) {
                    QuestRecord* quest = shown[page * kQuestsPerPage + hit];
                    shown.erase(shown.begin() + page * kQuestsPerPage + hit);
                    AbandonQuest(quest);
                }
            }
        }
        if (close) {
            PlaySFX("questclose");
            return;
        }
    }
}

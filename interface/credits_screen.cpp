#include "interface/credits_screen.h"

#include "core/input_log.h"
#include "interface/menu_frame.h"
#include "interface/menu_screen_art.h"
#include "interface/screens.h"
#include "media/font.h"
#include "media/image.h"
#include "media/screen.h"
#include "media/surface.h"
#include "media/text.h"

#include <vector>

namespace {

bool Set(const char* text) {
    return text != nullptr;
}

// Draws a line over a black copy of itself one pixel right and down.
void DrawShadowedGold(int32_t x, int32_t y, const char* text) {
    DrawText(x + 1, y + 1, text, kTextBlack, MenuBackground, MediumFont);
    DrawText(x, y, text, kTextGold, MenuBackground, MediumFont);
}

void DrawShadowedGoldCentered(int32_t x, int32_t y, const char* text) {
    DrawTextCentered(x + 1, y + 1, text, MediumFont, kTextBlack, MenuBackground);
    DrawTextCentered(x, y, text, MediumFont, kTextGold, MenuBackground);
}

void DrawPage(int32_t first, const std::vector<SDL_Surface*>& pictures) {
    const int32_t w = MenuScreenWidth();
    const int32_t h = MenuScreenHeight();
    int32_t y = h / 2 - 300;
    const int32_t x0 = w / 2 - 336;
    for (int32_t i = first; i < first + kCreditsPerPage && i < kCreditCount; ++i) {
        const CreditEntry& entry = kCredits[i];
        const CreditKind kind = KindOfCredit(entry);
        switch (kind) {
        case CreditKind::WithPicture:
            BlitPictureAt(pictures[static_cast<size_t>(i)], MenuBackground, x0, y);
            DrawShadowedGold(x0 + 68, y + 4, entry.first);
            DrawShadowedGold(x0 + 68, y + 32, entry.second);
            break;
        case CreditKind::WithoutPicture:
            DrawShadowedGoldCentered(x0 + 335, y + 4, entry.first);
            DrawShadowedGoldCentered(x0 + 335, y + 32, entry.second);
            break;
        case CreditKind::Heading:
            DrawTextCentered(w / 2, y, entry.first, LargeFont, kTextGold, MenuBackground);
            break;
        case CreditKind::Spacer:
            break;
        }
        y += CreditEntryHeight(kind);
    }
}

}  // namespace

CreditKind KindOfCredit(const CreditEntry& entry) {
    if (!Set(entry.first) && !Set(entry.second)) return CreditKind::Spacer;
    if (!Set(entry.second)) return CreditKind::Heading;
    return Set(entry.picture) ? CreditKind::WithPicture : CreditKind::WithoutPicture;
}

int32_t CreditEntryHeight(CreditKind kind) {
    return kind == CreditKind::WithPicture || kind == CreditKind::WithoutPicture ? 72 : 48;
}

void ShowCredits() {
    AutoSurface backdrop(DrawMenuBackground("ui/menus/menubg_sepia.png", "ui/menus/title_credits.png"));
    if (!backdrop) return;
    std::vector<SDL_Surface*> pictures(static_cast<size_t>(kCreditCount), nullptr);
    for (int32_t i = 0; i < kCreditCount; ++i) {
        if (KindOfCredit(kCredits[i]) == CreditKind::WithPicture) pictures[static_cast<size_t>(i)] = LoadImage(kCredits[i].picture);
    }
    for (int32_t first = 0; first < kCreditCount; first += kCreditsPerPage) {
        if (!SetMenuBackgrounds(backdrop, false)) break;
        DrawPage(first, pictures);
        CopyMenuBackgroundToScreen();
        PresentFrame(ScreenSurface);
        SDL_Delay(10);
        for (bool turn = false; !turn;) {
            PresentMenuFrame();
            SDL_Event event;
            while (!turn && LoggedPollEvent(&event)) {
                if (event.type == SDL_MOUSEBUTTONUP) turn = true;
                if (event.type == SDL_KEYUP && event.key.keysym.sym == SDLK_ESCAPE) turn = true;
            }
        }
        FreeMenuBackgrounds();
    }
    for (SDL_Surface* picture : pictures) {
        if (picture != nullptr) SDL_FreeSurface(picture);
    }
}

#include "interface/hud.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "media/alpha_blit.h"
#include "media/screen.h"
#include "interface/hud_surfaces.h"
#include "core/text_db.h"
#include "creatures/ability.h"
#include "creatures/experience.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/toolkit_windows.h"
#include "interface/game_frame.h"
#include "interface/layout.h"
#include "interface/play_screen.h"
#include "media/font.h"
#include "media/image.h"
#include "media/text.h"
#include "media/ticker.h"
#include "interface/char_panel.h"
#include "interface/hud_belts.h"
#include "interface/buff_bar.h"
#include "interface/hud_draw.h"
#include "interface/inventory_window.h"
#include "interface/menu_bar.h"
#include "interface/minimap.h"
#include "interface/portrait.h"
#include "media/sprite.h"

namespace {

constexpr int32_t kBarWidth = 400;
constexpr int32_t kBarWidthLarge = 674;
constexpr int32_t kExpBarWidth = 382;
constexpr int32_t kExpBarWidthLarge = 671;
constexpr int32_t kDefaultBarHeight = 128;
constexpr int32_t kDefaultBarHeightLarge = 216;
constexpr int32_t kHotspotSize = 12;

bool Large() {
    return Layout.largeInterface != 0;
}

SDL_Rect MakeRect(int32_t x, int32_t y, SDL_Surface* picture, int32_t w, int32_t h) {
    SDL_Rect r;
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    r.w = static_cast<Uint16>(picture != nullptr ? picture->w : w);
    r.h = static_cast<Uint16>(picture != nullptr ? picture->h : h);
    return r;
}

// Edges included.
bool Inside(const SDL_Rect& r, int32_t x, int32_t y) {
    return x >= r.x && y >= r.y && x <= r.x + r.w && y <= r.y + r.h;
}

void Blit(SDL_Surface* picture, SDL_Rect* source, int32_t x, int32_t y) {
    if (picture == nullptr || ScreenSurface == nullptr) return;
    SDL_Rect at;
    at.x = static_cast<Sint16>(x);
    at.y = static_cast<Sint16>(y);
    at.w = 0;
    at.h = 0;
    BlitPicture(picture, source, ScreenSurface, &at);
}

// Blits the columns from..from+width of a bar picture to (x, y).
void BlitBarPart(SDL_Surface* picture, int32_t from, int32_t width, int32_t x, int32_t y) {
    if (picture == nullptr || width <= 0) return;
    SDL_Rect source;
    source.x = static_cast<Sint16>(from);
    source.y = 0;
    source.w = static_cast<Uint16>(width);
    source.h = static_cast<Uint16>(picture->h);
    Blit(picture, &source, x, y);
}

SDL_Surface* hotspotPictures[2] = {nullptr, nullptr};
bool hotspotTried = false;

SDL_Surface* HotspotPicture(bool hover) {
    if (!hotspotTried) {
        hotspotTried = true;
        hotspotPictures[0] = LoadImage("ui/gameplay/tooltip_hotspot0.png");
        hotspotPictures[1] = LoadImage("ui/gameplay/tooltip_hotspot1.png");
    }
    return hotspotPictures[hover ? 1 : 0];
}

// The number pair "a / b" of one bar, rendered again only when its text or the font
// changes, so that a frame draws it without making anything.
struct BarLabel {
    char text[48] = "";
    TTF_Font* font = nullptr;
    unsigned generation = 0;
    SDL_Surface* shadow = nullptr;  // black
    SDL_Surface* light = nullptr;   // white
};

enum BarLabelIndex { kHealthLabel, kManaLabel, kExperienceLabel, kBarLabelCount };
BarLabel barLabels[kBarLabelCount];

// Centred on the bar, in black one pixel down and right, then in white; raised by `raise`.
void DrawBarNumbers(BarLabel& label, const SDL_Rect& bar, int32_t a, int32_t b, TTF_Font* font,
                    int32_t raise) {
    if (font == nullptr) return;
    char text[sizeof label.text];
    std::snprintf(text, sizeof text, "%i / %i", a, b);
    if (std::strcmp(text, label.text) != 0 || font != label.font ||
        FontGeneration() != label.generation) {
        if (label.shadow != nullptr) SDL_FreeSurface(label.shadow);
        if (label.light != nullptr) SDL_FreeSurface(label.light);
        label.shadow = TTF_RenderUTF8_Blended(font, text, kTextBlack);
        label.light = TTF_RenderUTF8_Blended(font, text, kTextWhite);
        std::memcpy(label.text, text, sizeof text);
        label.font = font;
        label.generation = FontGeneration();
    }
    const int32_t cx = bar.x + bar.w / 2;
    const int32_t y = bar.y - raise;
    if (label.shadow != nullptr) Blit(label.shadow, nullptr, cx + 1 - label.shadow->w / 2, y + 1);
    if (label.light != nullptr) Blit(label.light, nullptr, cx - label.light->w / 2, y);
}

// ---- the pieces ----------------------------------------------------------------------------

void DrawBottomBarPiece(HudFrame& frame) {
    DrawBottomBar(frame.mouseX, frame.mouseY);
}

void DrawHudBarsPiece(HudFrame&) {
    DrawHudBars();
}

void DrawMenuBarPiece(HudFrame&) {
    DrawMenuBar();
}

void DrawPortraitPiece(HudFrame&) {
    DrawPortrait();
}

// The minimap draws the ticker after its size buttons, then the room name.
void DrawMinimapPiece(HudFrame&) {
    DrawMinimap();
}

void DrawBeltsPiece(HudFrame&) {
    DrawBelts();
}

void DrawInventoryWindowPiece(HudFrame& frame) {
    if (!DrawInventoryWindow()) frame.tooltipsAllowed = false;
}

void DrawCharPanelPiece(HudFrame&) {
    if (Layout.equipmentOpen != 0) DrawCharPanel(Layout.equipmentX, Layout.equipmentY);
}

void DrawHudTooltipsPiece(HudFrame& frame) {
    if (!frame.tooltipsAllowed || !TooltipSlotFree) return;
    if (!ShowHudTooltips(frame.mouseX, frame.mouseY)) {
        frame.tooltipsAllowed = false;
        return;
    }
    if (ShowBuffBarTooltip(frame.mouseX, frame.mouseY)) frame.tooltipsAllowed = false;
}

void DrawZooBannerPiece(HudFrame&) {
    if (ZooBannerMs <= 0 || ZooBannerImage == nullptr) return;
    Blit(ZooBannerImage, nullptr, Layout.halfScreenWidth - ZooBannerImage->w / 2,
         300 - ZooBannerImage->h / 2);
}

void DrawBuffBarPiece(HudFrame&) {
    DrawBuffBar();
}

void DrawToolkitWindowsPiece(HudFrame& frame) {
    DrawToolkitWindows(frame.mouseX, frame.mouseY);
}

void DrawCraftPanelPiece(HudFrame& frame) {
    DrawCraftPanel(frame.mouseX, frame.mouseY);
}

const HudPiece kHudPieces[] = {
    {"bottom bar", DrawBottomBarPiece},
    {"status bars", DrawHudBarsPiece},
    {"menu bar", DrawMenuBarPiece},
    {"portrait", DrawPortraitPiece},
    {"buff bar", DrawBuffBarPiece},
    {"minimap, ticker and room name", DrawMinimapPiece},
    {"belts and active item", DrawBeltsPiece},
    {"toolkit windows", DrawToolkitWindowsPiece},
    {"inventory window", DrawInventoryWindowPiece},
    {"crafting panel", DrawCraftPanelPiece},
    {"character panel", DrawCharPanelPiece},
    {"HUD tooltips", DrawHudTooltipsPiece},
    {"zoo banner", DrawZooBannerPiece},
};

}  // namespace

const HudPiece* GetHudPieces(size_t* count) {
    if (count != nullptr) *count = sizeof(kHudPieces) / sizeof(kHudPieces[0]);
    return kHudPieces;
}

namespace {
HudPieceRunner pieceRunner = nullptr;
}  // namespace

void SetHudPieceRunner(HudPieceRunner runner) {
    pieceRunner = runner;
}

void DrawHud(HudFrame& frame) {
    for (const HudPiece& piece : kHudPieces) {
        if (pieceRunner != nullptr) {
            pieceRunner(piece, frame);
        } else {
            piece.draw(frame);
        }
    }
}

// ---- bottom bar ----------------------------------------------------------------------------

int32_t BottomBarHeight() {
    SDL_Surface* bar = CurrentBottomBarImage();
    if (bar != nullptr) return bar->h;
    return Large() ? kDefaultBarHeightLarge : kDefaultBarHeight;
}

int32_t BottomBarTop() {
    return Layout.screenHeight - BottomBarHeight();
}

SDL_Rect GetHealthBarRect() {
    const bool large = Large();
    SDL_Surface* picture = large ? Hud.lifeBar2x : Hud.lifeBar;
    return MakeRect(Layout.interfaceX + (large ? 63 : 56),
                    Layout.screenHeight + (large ? 172 : 92) - BottomBarHeight(), picture,
                    large ? kBarWidthLarge : kBarWidth, large ? 28 : 16);
}

SDL_Rect GetManaBarRect() {
    const bool large = Large();
    SDL_Surface* picture = large ? Hud.manaBar0_2x : Hud.manaBar0;
    return MakeRect(Layout.interfaceX + (large ? 864 : 568),
                    Layout.screenHeight + (large ? 172 : 92) - BottomBarHeight(), picture,
                    large ? kBarWidthLarge : kBarWidth, large ? 28 : 16);
}

SDL_Rect GetExperienceBarRect() {
    const bool large = Large();
    SDL_Surface* picture = large ? Hud.expBar2x : Hud.expBar;
    return MakeRect(Layout.interfaceX + (large ? 865 : 576),
                    Layout.screenHeight + (large ? 159 : 83) - BottomBarHeight(), picture,
                    large ? kExpBarWidthLarge : kExpBarWidth, large ? 12 : 8);
}

SDL_Rect GetActiveItemRect() {
    const bool large = Large();
    const int32_t size = large ? 64 : 32;
    return MakeRect(Layout.interfaceX + (large ? 867 : 578), BottomBarTop() + (large ? 87 : 43),
                    nullptr, size, size);
}

SDL_Rect GetPortraitRect() {
    const bool large = Large();
    return MakeRect(Layout.interfaceX + (large ? 752 : 464), BottomBarTop() + (large ? 100 : 20),
                    PortraitPicture(0, kPortraitStare, 0), 96, 96);
}

SDL_Rect GetDigestButtonRect() {
    return MakeRect(Layout.interfaceX, BottomBarTop() + 96, nullptr, 60, 24);
}

void DrawDigestButton(int32_t mouseX, int32_t mouseY) {
    const SDL_Rect r = GetDigestButtonRect();
    SDL_Surface* picture = Hud.digestInactive;
    if (CurrentPlayer != nullptr && CurrentPlayer->IsDigesting()) {
        picture = Inside(r, mouseX, mouseY) ? Hud.digest1 : Hud.digest0;
    }
    Blit(picture, nullptr, r.x, r.y);
}

void DrawBottomBar(int32_t mouseX, int32_t mouseY) {
    const int32_t top = BottomBarTop();
    Blit(CurrentBottomBarImage(), nullptr, Layout.interfaceX, top);
    DrawDigestButton(mouseX, mouseY);
    for (const TextBlock& block : GetQuestionBlocks(Large() ? "bottomthing2x" : "bottomthing")) {
        const int32_t x = Layout.interfaceX + block.x;
        const int32_t y = top + block.y;
        const bool hover = mouseX >= x && mouseY >= y && mouseX <= x + kHotspotSize &&
                           mouseY <= y + kHotspotSize;
        Blit(HotspotPicture(hover), nullptr, x, y);
    }
    if (CurrentPlayer != nullptr) DrawGoldAndCash(CurrentPlayer->zorkmids);
}

int32_t CashPileIndex(int32_t gold) {
    if (gold < 100) return 0;
    if (gold < 500) return 1;
    if (gold < 1000) return 2;
    if (gold < 2000) return 3;
    if (gold < 4000) return 4;
    return 5;
}

void DrawGoldAndCash(int32_t gold) {
    const bool large = Large();
    const int32_t top = BottomBarTop();
    char text[16];
    std::snprintf(text, sizeof text, "%i", gold);
    const int32_t cx = Layout.interfaceX + (large ? 65 : 83);
    const int32_t y = top + (large ? 141 : 61);
    HudRecordText(text, cx, y);
    DrawMediumTextCenteredGold(cx, y, text);
    if (gold == 0) return;
    const int32_t index = CashPileIndex(gold);
    const std::string name = "cash" + std::to_string(index + 1) + (large ? "_scale" : "_noscale");
    const std::string file = "items/cash" + std::to_string(index) + ".png";
    Sprite* pile = SpriteMgr_GetOrLoad(name.c_str(), file.c_str(), nullptr, 0, large ? 0 : 1);
    HudSprite(pile, 0, name, Layout.interfaceX + (large ? 33 : 6), top + (large ? 71 : 56));
}

// ---- status bars ---------------------------------------------------------------------------

HudBarWidths ComputeHudBarWidths(int32_t health, int32_t maxHealth, int32_t mana, int32_t maxMana,
                                 int32_t experience, int32_t experienceNeeded, int32_t spellCost,
                                 bool large) {
    const int32_t W = large ? kBarWidthLarge : kBarWidth;
    const int32_t Wx = large ? kExpBarWidthLarge : kExpBarWidth;
    // A value beyond its maximum (or below 0) fills the bar (or nothing), never more.
    auto fill = [](int32_t value, int32_t maximum, int32_t full) -> int32_t {
        if (maximum <= 0 || value <= 0) return 0;
        const double pixels = static_cast<double>(value) / maximum * full;
        return pixels >= full ? full : static_cast<int32_t>(pixels);
    };
    HudBarWidths widths;
    widths.health = fill(health, maxHealth, W);
    widths.mana = fill(mana, maxMana, W);
    widths.experience = fill(experience, experienceNeeded, Wx);
    if (spellCost > 0 && spellCost <= mana) widths.manaCost = fill(spellCost, maxMana, W);
    return widths;
}

void FreeHudPictures() {
    for (SDL_Surface*& picture : hotspotPictures) {
        SDL_FreeSurface(picture);
        picture = nullptr;
    }
    hotspotTried = false;
    for (BarLabel& label : barLabels) {
        SDL_FreeSurface(label.shadow);
        SDL_FreeSurface(label.light);
        label = BarLabel();
    }
}

void DrawHudBars() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr || ScreenSurface == nullptr) return;
    const bool large = Large();
    const int32_t needed = ExperienceForLevel(hero->level);
    int32_t cost = 0;
    if (SelectedAbility != nullptr && SelectedAbility->spell != nullptr &&
        !SelectedAbility->spell->hasCooldown) {
        cost = GetSpellManaCost(SelectedAbility->spell);
    }
    const HudBarWidths widths = ComputeHudBarWidths(hero->health, hero->stat[kStatLife], hero->mana,
                                                    hero->stat[kStatMana], hero->experience, needed, cost,
                                                    large);

    const SDL_Rect healthRect = GetHealthBarRect();
    BlitBarPart(large ? Hud.lifeBar2x : Hud.lifeBar, 0, widths.health, healthRect.x, healthRect.y);

    // The mana bar empties from its left end; the cost preview covers its rightmost pixels.
    const SDL_Rect manaRect = GetManaBarRect();
    BlitBarPart(large ? Hud.manaBar0_2x : Hud.manaBar0, manaRect.w - widths.mana, widths.mana,
                manaRect.x + manaRect.w - widths.mana, manaRect.y);
    BlitBarPart(large ? Hud.manaBar1_2x : Hud.manaBar1, manaRect.w - widths.manaCost,
                widths.manaCost, manaRect.x + manaRect.w - widths.manaCost, manaRect.y);

    const SDL_Rect expRect = GetExperienceBarRect();
    BlitBarPart(large ? Hud.expBar2x : Hud.expBar, 0, widths.experience, expRect.x, expRect.y);

    DrawBarNumbers(barLabels[kHealthLabel], healthRect, hero->health, hero->stat[kStatLife], TickerFont, 0);
    DrawBarNumbers(barLabels[kManaLabel], manaRect, hero->mana, hero->stat[kStatMana], TickerFont, 0);
    DrawBarNumbers(barLabels[kExperienceLabel], expRect, hero->experience, needed, SmallFont,
                   large ? 0 : 3);
}

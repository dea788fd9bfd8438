#include "media/tooltip.h"

#include <cstdio>
#include <string>
#include <utility>

#include "core/input_log.h"
#include "core/tweak.h"
#include "interface/ui_services.h"
#include "media/font.h"
#include "media/image.h"
#include "media/screen.h"
#include "media/sprite.h"
#include "media/text.h"

namespace {

struct IconEntry {
    const char* file;
    SDL_Color colour;
};

const IconEntry kBaseIcons[kTooltipBaseStats] = {
    {"ui/icons/stat_burliness.png", {232, 45, 45, 0}},
    {"ui/icons/stat_sagacity.png", {86, 158, 255, 0}},
    {"ui/icons/stat_nimbleness.png", {255, 220, 24, 0}},
    {"ui/icons/stat_caddishness.png", {248, 137, 29, 0}},
    {"ui/icons/stat_stubborness.png", {208, 106, 255, 0}},
    {"ui/icons/stat_savvy.png", {55, 193, 37, 0}},
};

const IconEntry kSecondaryIcons[kTooltipSecondaryStats] = {
    {"ui/icons/stat_life.png", {255, 150, 150, 0}},
    {"ui/icons/stat_mana.png", {150, 200, 255, 0}},
    {"ui/icons/stat_meleepower.png", {228, 83, 69, 0}},
    {"ui/icons/stat_magicpower.png", {134, 184, 212, 0}},
    {"ui/icons/stat_crit.png", {255, 173, 148, 0}},
    {"ui/icons/stat_haywire.png", {143, 202, 255, 0}},
    {"ui/icons/stat_dodge.png", {228, 202, 133, 0}},
    {"ui/icons/stat_block.png", {226, 155, 86, 0}},
    {"ui/icons/stat_counter.png", {255, 137, 147, 0}},
    {"ui/icons/stat_edr.png", {242, 236, 167, 0}},
    {"ui/icons/stat_armourabsorption.png", {235, 215, 197, 0}},
    {"ui/icons/stat_magicresistance.png", {200, 147, 190, 0}},
    {"ui/icons/stat_sneakiness.png", {208, 237, 130, 0}},
    {"ui/icons/stat_liferegen.png", {250, 125, 125, 0}},
    {"ui/icons/stat_manaregen.png", {130, 185, 255, 0}},
    {"ui/icons/stat_wandburn.png", {151, 95, 255, 0}},
    {"ui/icons/stat_traplevel.png", {233, 132, 59, 0}},
    {"ui/icons/stat_trapsense.png", {215, 198, 38, 0}},
    {"ui/icons/stat_sight.png", {216, 216, 216, 0}},
    {"ui/icons/stat_smithing.png", {198, 100, 86, 0}},
    {"ui/icons/stat_tinkerer.png", {222, 193, 104, 0}},
    {"ui/icons/stat_alchemy.png", {159, 181, 175, 0}},
    {"ui/icons/stat_reflection.png", {151, 95, 255, 0}},
    {"ui/icons/stat_wandburn.png", {151, 95, 255, 0}},  // the same picture as 15
};

struct DamageIconEntry {
    const char* name;
    SDL_Color colour;
};

const DamageIconEntry kDamageIcons[kTooltipDamageTypes] = {
    {"crushing", {179, 128, 126, 0}},     {"slashing", {166, 179, 182, 0}},
    {"blast", {251, 210, 99, 0}},         {"piercing", {238, 229, 212, 0}},
    {"conflagratory", {255, 81, 34, 0}},  {"hyperborean", {80, 168, 249, 0}},
    {"voltaic", {170, 229, 236, 0}},      {"toxic", {89, 103, 44, 0}},
    {"righteous", {255, 253, 220, 0}},    {"necromatic", {113, 76, 154, 0}},
    {"acidic", {60, 181, 108, 0}},        {"putrefying", {172, 102, 40, 0}},
    {"transmutative", {255, 198, 250, 0}}, {"aethereal", {189, 182, 255, 0}},
    {"aphyxiative", {115, 114, 127, 0}},  {"existential", {138, 127, 127, 0}},
};

constexpr SDL_Color kSubtitleColour = {247, 247, 152, 0};
constexpr SDL_Color kBodyColour = {180, 180, 180, 0};
constexpr SDL_Color kGameplayColour = {210, 185, 100, 0};
constexpr SDL_Color kManaColour = {150, 200, 255, 0};
constexpr int32_t kLifeIcon = 0;
constexpr int32_t kManaIcon = 1;

SDL_Surface* cooldownIcon = nullptr;
SDL_Surface* baseIcons[kTooltipBaseStats] = {};
SDL_Surface* secondaryIcons[kTooltipSecondaryStats] = {};
SDL_Surface* damageIcons[kTooltipDamageTypes] = {};
SDL_Surface* resistIcons[kTooltipDamageTypes] = {};
Sprite* pipFilled = nullptr;
Sprite* pipEmpty = nullptr;

std::string rememberedTitle;
Uint32 rememberedTicks = 0;
SDL_Rect lastBox = {0, 0, 0, 0};

void Remember(const std::string& title) {
    if (title != rememberedTitle) {
        rememberedTitle = title;
        rememberedTicks = SDL_GetTicks();
    }
}

int32_t Border() {
    return GetTweakInt("tooltip border size");
}

int32_t ScreenW() {
    return ScreenSurface != nullptr ? ScreenSurface->w : 1280;
}

int32_t ScreenH() {
    return ScreenSurface != nullptr ? ScreenSurface->h : 720;
}

void FillBlack(int32_t x, int32_t y, int32_t w, int32_t h) {
    lastBox.x = static_cast<Sint16>(x);
    lastBox.y = static_cast<Sint16>(y);
    lastBox.w = static_cast<Uint16>(w > 0 ? w : 0);
    lastBox.h = static_cast<Uint16>(h > 0 ? h : 0);
    if (ScreenSurface == nullptr) return;
    SDL_Rect r = lastBox;
    SDL_FillRect(ScreenSurface, &r, SDL_MapRGB(ScreenSurface->format, 0, 0, 0));
}

// Places the content box, fills its black frame and returns the content's top-left corner.
TooltipPlacement PlaceAndFill(int32_t w, int32_t h, int32_t extra) {
    int mx = 0;
    int my = 0;
    LoggedGetMouseState(&mx, &my);
    const int32_t b = Border();
    const TooltipPlacement at = PlaceTooltip(w, h, extra, b, mx, my, ScreenW(), ScreenH());
    FillBlack(at.x - b, at.y - b, w + 6 + 2 * b, h + extra + 2 * b);
    return at;
}

void BlitIcon(SDL_Surface* icon, int32_t x, int32_t y) {
    if (icon == nullptr || ScreenSurface == nullptr) return;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(icon, nullptr, ScreenSurface, &at);
}

void DrawNumber(int32_t value, int32_t x, int32_t y, SDL_Color colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%i", value);
    DrawText(x, y, text, colour, nullptr, TickerFont);
}

int32_t CountNonZero(const int32_t* values, int32_t n, bool positiveOnly) {
    int32_t k = 0;
    for (int32_t i = 0; i < n; ++i) k += positiveOnly ? values[i] > 0 : values[i] != 0;
    return k;
}

struct RowKind {
    const int32_t* values;
    int32_t count;
    SDL_Surface* const* icons;
    bool positiveOnly;
};

// The four rows of the record in their order.
void GetRows(const TooltipStatRows& rows, bool damagePositiveOnly, RowKind out[4]) {
    out[0] = {rows.damage, kTooltipDamageTypes, damageIcons, damagePositiveOnly};
    out[1] = {rows.resist, kTooltipDamageTypes, resistIcons, false};
    out[2] = {rows.base, kTooltipBaseStats, baseIcons, false};
    out[3] = {rows.secondary, kTooltipSecondaryStats, secondaryIcons, false};
}

SDL_Color RowColour(int32_t row, int32_t index) {
    if (row <= 1) return kDamageIcons[index].colour;
    if (row == 2) return kBaseIcons[index].colour;
    return kSecondaryIcons[index].colour;
}

int32_t NonEmptyRows(const TooltipStatRows& rows, bool damagePositiveOnly, int32_t* widest) {
    RowKind kinds[4];
    GetRows(rows, damagePositiveOnly, kinds);
    int32_t n = 0;
    if (widest != nullptr) *widest = 0;
    for (const RowKind& kind : kinds) {
        const int32_t k = CountNonZero(kind.values, kind.count, kind.positiveOnly);
        if (k > 0) ++n;
        if (widest != nullptr && k > *widest) *widest = k;
    }
    return n;
}

// Draws the non-empty rows, each 18 below the previous line; returns the last line's top.
int32_t DrawIconRows(const TooltipStatRows& rows, bool damagePositiveOnly, int32_t left, int32_t w,
                     int32_t lineY) {
    RowKind kinds[4];
    GetRows(rows, damagePositiveOnly, kinds);
    for (int32_t r = 0; r < 4; ++r) {
        const RowKind& kind = kinds[r];
        const int32_t k = CountNonZero(kind.values, kind.count, kind.positiveOnly);
        if (k == 0) continue;
        lineY += 18;
        const int32_t column = TooltipIconColumn(w, k);
        int32_t j = 0;
        for (int32_t i = 0; i < kind.count; ++i) {
            const int32_t v = kind.values[i];
            if (kind.positiveOnly ? v <= 0 : v == 0) continue;
            BlitIcon(kind.icons[i], left + 3 + j * column, lineY);
            DrawNumber(v, left + 21 + j * column, lineY, RowColour(r, i));
            ++j;
        }
    }
    return lineY;
}

int32_t TitleWidth(const std::string& title, bool hasBody) {
    int32_t w = TextWidth(title, TickerFont);
    if (hasBody && w < 160) w = 160;
    return w;
}

int32_t Wrapped(const std::string& text, int32_t w) {
    if (text.empty()) return 0;
    return WrappedTextHeight(text.c_str(), TickerFont, w);
}

void DrawWrapped(const std::string& text, int32_t left, int32_t top, int32_t w, SDL_Color colour) {
    if (text.empty()) return;
    DrawTextWrapped(text.c_str(), left, top, left + w, top + 1000, TickerFont, colour, nullptr);
}

// The shared layout of the weapon and armour tooltips. With draw false it only measures:
// the height below the content's top.
int32_t LayOutGearTooltip(const ItemTooltipInfo& item, int32_t left, int32_t top, int32_t w,
                          bool draw) {
    if (draw) DrawText(left + 3, top, item.name, kTextWhite, nullptr, TickerFont);
    int32_t lineY = top;
    if (draw) {
        lineY = DrawIconRows(item.rows, true, left, w, top);
    } else {
        lineY += 18 * NonEmptyRows(item.rows, true, nullptr);
    }
    lineY += 18;
    if (item.level >= 0) {
        for (int32_t i = 0; draw && i < 10; ++i) {
            Sprite* pip = i < item.level ? pipFilled : pipEmpty;
            if (pip != nullptr) pip->DrawFrame(left + 3 + 9 * i, lineY, 0);
        }
        lineY += 11;
    }
    if (draw) DrawText(left + 3, lineY, item.category, kSubtitleColour, nullptr, TickerFont);
    int32_t bottom = lineY + 16;
    for (const auto& [text, colour] : {std::make_pair(&item.gameplayInfo, kGameplayColour),
                                       std::make_pair(&item.description, kBodyColour)}) {
        if (text->empty()) continue;
        lineY = bottom + 2;
        if (draw) DrawWrapped(*text, left + 3, lineY, w, colour);
        bottom = lineY + Wrapped(*text, w);
    }
    return bottom - top;
}

void DrawGearTooltip(const ItemTooltipInfo& item) {
    if (item.name.empty()) return;
    Remember(item.name);
    int32_t widest = 0;
    NonEmptyRows(item.rows, true, &widest);
    int32_t w = TitleWidth(item.name, !item.description.empty() || !item.gameplayInfo.empty());
    if (widest > 5 && w < 256) w = 256;
    const int32_t h = LayOutGearTooltip(item, 0, 0, w, false);
    const TooltipPlacement at = PlaceAndFill(w, h, 5);
    LayOutGearTooltip(item, at.x, at.y, w, true);
}

}  // namespace

TooltipPlacement PlaceTooltip(int32_t w, int32_t h, int32_t extra, int32_t border, int32_t mx,
                              int32_t my, int32_t screenW, int32_t screenH) {
    TooltipPlacement at;
    // The whole box is w + 6 + 2 * border wide and starts border left of the content.
    if (mx + 24 + w + 6 + border <= screenW) {
        at.x = mx + 24;
    } else {
        at.x = mx - (w + 6) - 8;
    }
    at.y = my + 24;
    if (at.y + h + extra > screenH) at.y = my - h - 5;
    return at;
}

int32_t TooltipIconColumn(int32_t w, int32_t count) {
    if (count <= 0) return 0;
    return 2 * (w / (2 * count));
}

SDL_Rect LastTooltipBox() {
    return lastBox;
}

const std::string& LastTooltipTitle() {
    return rememberedTitle;
}

Uint32 LastTooltipTicks() {
    return rememberedTicks;
}

void LoadStatIcons() {
    FreeStatIcons();
    cooldownIcon = LoadImage("ui/icons/cooldown.png");
    for (int32_t i = 0; i < kTooltipBaseStats; ++i) baseIcons[i] = LoadImage(kBaseIcons[i].file);
    for (int32_t i = 0; i < kTooltipSecondaryStats; ++i) {
        // 23 is the same picture as 15: share the surface.
        secondaryIcons[i] = i == 23 ? secondaryIcons[15] : LoadImage(kSecondaryIcons[i].file);
    }
    for (int32_t i = 0; i < kTooltipDamageTypes; ++i) {
        const std::string stem = std::string("ui/icons/dmg_") + kDamageIcons[i].name;
        damageIcons[i] = LoadImage((stem + ".png").c_str());
        resistIcons[i] = LoadImage((stem + "_resist.png").c_str());
    }
}

void FreeStatIcons() {
    SDL_FreeSurface(cooldownIcon);
    cooldownIcon = nullptr;
    for (SDL_Surface*& icon : baseIcons) {
        SDL_FreeSurface(icon);
        icon = nullptr;
    }
    secondaryIcons[23] = nullptr;  // shared with 15
    for (SDL_Surface*& icon : secondaryIcons) {
        SDL_FreeSurface(icon);
        icon = nullptr;
    }
    for (int32_t i = 0; i < kTooltipDamageTypes; ++i) {
        SDL_FreeSurface(damageIcons[i]);
        SDL_FreeSurface(resistIcons[i]);
        damageIcons[i] = nullptr;
        resistIcons[i] = nullptr;
    }
}

SDL_Surface* DamageTypeIcon(int32_t type) {
    if (type < 0 || type >= kTooltipDamageTypes) return nullptr;
    return damageIcons[type];
}

SDL_Surface* TooltipRowIcon(int32_t row, int32_t index) {
    if (index < 0) return nullptr;
    switch (row) {
    case kTooltipRowDamage: return index < kTooltipDamageTypes ? damageIcons[index] : nullptr;
    case kTooltipRowResist: return index < kTooltipDamageTypes ? resistIcons[index] : nullptr;
    case kTooltipRowBase: return index < kTooltipBaseStats ? baseIcons[index] : nullptr;
    case kTooltipRowSecondary: return index < kTooltipSecondaryStats ? secondaryIcons[index] : nullptr;
    default: return nullptr;
    }
}

SDL_Color TooltipRowColour(int32_t row, int32_t index) {
    const int32_t sizes[4] = {kTooltipDamageTypes, kTooltipDamageTypes, kTooltipBaseStats, kTooltipSecondaryStats};
    if (row < 0 || row > 3 || index < 0 || index >= sizes[row]) return kTextWhite;
    return RowColour(row, index);
}

void SetTooltipLevelPips(Sprite* filled, Sprite* empty) {
    pipFilled = filled;
    pipEmpty = empty;
}

void DrawTooltip(const char* title, const char* subtitle, const char* body) {
    if (title == nullptr || title[0] == '\0') return;
    Remember(title);
    const bool hasBody = body != nullptr && body[0] != '\0';
    const bool hasSubtitle = subtitle != nullptr && subtitle[0] != '\0';
    int32_t w = TitleWidth(title, hasBody);
    if (hasSubtitle) {
        const int32_t sw = TextWidth(subtitle, TickerFont);
        if (sw >= w) w = sw;
    }
    int32_t h = 16;
    if (hasBody) h += WrappedTextHeight(body, TickerFont, w);
    if (hasSubtitle) h += 16;
    const TooltipPlacement at = PlaceAndFill(w, h, 3);
    DrawText(at.x + 3, at.y, title, kTextWhite, nullptr, TickerFont);
    int32_t lastLine = at.y;
    if (hasSubtitle) {
        lastLine = at.y + TextHeight(title, TickerFont);
        DrawText(at.x + 3, lastLine, subtitle, kSubtitleColour, nullptr, TickerFont);
    }
    if (hasBody) {
        DrawTextWrapped(body, at.x + 3, lastLine + 18, at.x + w + 3, lastLine + 18 + h, TickerFont,
                        kBodyColour, nullptr);
    }
}

void DrawAbilityTooltip(const AbilityTooltipInfo& ability, bool compact) {
    if (ability.name.empty()) return;
    Remember(ability.name);
    const int32_t w = TitleWidth(ability.name, !ability.description.empty());
    const int32_t rows = compact ? 0 : NonEmptyRows(ability.rows, false, nullptr);
    const int32_t description = Wrapped(ability.description, w);
    const int32_t h = 16 + (ability.hasSpell ? 18 : 0) + 18 * rows + description;
    const TooltipPlacement at = PlaceAndFill(w, h, 5);
    DrawText(at.x + 3, at.y, ability.name, kTextWhite, nullptr, TickerFont);
    int32_t lineY = at.y;
    if (ability.hasSpell) {
        lineY += 18;
        if (ability.cooldownBased) {
            BlitIcon(cooldownIcon, at.x + 3, lineY);
            DrawNumber(ability.cooldown, at.x + 21, lineY - 1, kTextWhite);
        } else {
            BlitIcon(secondaryIcons[kManaIcon], at.x + 3, lineY);
            DrawNumber(-ability.manaCost, at.x + 21, lineY - 1, kManaColour);
        }
    }
    if (!compact) lineY = DrawIconRows(ability.rows, false, at.x, w, lineY);
    DrawWrapped(ability.description, at.x + 3, lineY + 18, w, kBodyColour);
}

void DrawBuffTooltip(const BuffTooltipInfo& buff) {
    if (buff.name.empty()) return;
    Remember(buff.name);
    const int32_t w = TitleWidth(buff.name, !buff.description.empty());
    const int32_t rows = NonEmptyRows(buff.rows, false, nullptr);
    const int32_t description = Wrapped(buff.description, w);
    const TooltipPlacement at = PlaceAndFill(w, 16 + 18 * rows + description, 5);
    DrawText(at.x + 3, at.y, buff.name, kTextWhite, nullptr, TickerFont);
    const int32_t lineY = DrawIconRows(buff.rows, false, at.x, w, at.y);
    DrawWrapped(buff.description, at.x + 3, lineY + 18, w, kBodyColour);
}

void DrawWeaponTooltip(const ItemTooltipInfo& item) {
    DrawGearTooltip(item);
}

void DrawArmourTooltip(const ItemTooltipInfo& item) {
    DrawGearTooltip(item);
}

void DrawFoodTooltip(const FoodTooltipInfo& food) {
    if (food.name.empty()) return;
    Remember(food.name);
    const char* use = food.spellPoints >= 1 ? "Drink To Slowly Restore Spell Points"
                                            : "Eat To Slowly Restore Health";
    int32_t w = TitleWidth(food.name, true);
    const int32_t useWidth = TextWidth(use, TickerFont);
    if (useWidth > w) w = useWidth;
    const int32_t description = Wrapped(food.description, w);
    const int32_t h = 16 + 18 + 18 + 18 + description;
    const TooltipPlacement at = PlaceAndFill(w, h, 5);
    DrawText(at.x + 3, at.y, food.name, kTextWhite, nullptr, TickerFont);
    int32_t lineY = at.y + 18;
    DrawText(at.x + 3, lineY, use, kSubtitleColour, nullptr, TickerFont);
    lineY += 18;
    BlitIcon(secondaryIcons[kManaIcon], at.x + 3, lineY);
    DrawNumber(food.spellPoints, at.x + 21, lineY - 1, kManaColour);
    BlitIcon(secondaryIcons[kLifeIcon], at.x + 3 + w / 2, lineY);
    DrawNumber(food.health, at.x + 21 + w / 2, lineY - 1, kSecondaryIcons[kLifeIcon].colour);
    DrawWrapped(food.description, at.x + 3, lineY + 18, w, kBodyColour);
}

void ShowTextPopup(const char* text, int x, int y) {
    if (text == nullptr) text = "";
    const int32_t b = Border();
    for (;;) {
        PlayScreenState = 0;
        DrawGameScreen();
        const int32_t h = WrappedTextHeight(text, TickerFont, 200);
        if (y + h > ScreenH()) y -= h;
        FillBlack(x - b, y - b, 200 + 2 * b, h + 2 * b);
        DrawTextWrapped(text, x, y, x + 200, y + h, TickerFont, kTextWhite, nullptr);
        UpdateMouseCursor();
        AdvanceFrame();
        SDL_Event event;
        while (LoggedPollEvent(&event) != 0) {
            if (event.type == SDL_QUIT) return;
            if ((event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) &&
                event.key.keysym.sym == SDLK_RETURN) {
                // The press ends the popup once its release has been taken too, so the loop
                // below us never sees half a keystroke.
                if (event.type == SDL_KEYUP) return;
                continue;
            }
            if (event.type == SDL_MOUSEBUTTONUP) return;
        }
    }
}

void RememberTooltipTitle(const std::string& title) { Remember(title); }

void RecordTooltipBox(int32_t x, int32_t y, int32_t w, int32_t h) {
    lastBox.x = static_cast<Sint16>(x);
    lastBox.y = static_cast<Sint16>(y);
    lastBox.w = static_cast<Uint16>(w > 0 ? w : 0);
    lastBox.h = static_cast<Uint16>(h > 0 ? h : 0);
}

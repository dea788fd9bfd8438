// The two notices with tables in them: the Anvil of Krong's verdict on an artifact, and a
// recipe found on a bookshelf. Both borrow the tooltip module's icons, colours and boxes.
#include "interface/notices.h"

#include <cstdio>
#include <string>

#include "core/input_log.h"
#include "creatures/damage_type.h"
#include "interface/game_frame.h"
#include "interface/inventory_window.h"
#include "interface/layout.h"
#include "items_fixtures/armour.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/item.h"
#include "items_fixtures/weapon.h"
#include "media/font.h"
#include "media/image.h"
#include "media/screen.h"
#include "media/sprite.h"
#include "media/surface.h"
#include "media/text.h"
#include "media/tooltip.h"

const char* const kRecipeToolNames[kRecipeToolCount] = {
    "Modular Alchemy Kit",  "Porta-Still",    "Elven Ingot Grinder", "Dwarven Ingot Press", "Tinkerer Parts",
    "My Little Anvil Junior Smithing Kit", "n-Dimensional Lathe",
};


std::string LastNoticeTooltip;

namespace {

void Blit(SDL_Surface* picture, int32_t x, int32_t y) {
    if (picture == nullptr || ScreenSurface == nullptr) return;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    BlitSurface(picture, nullptr, ScreenSurface, &at);
}

const ArtifactRecord* ArtifactOf(Item* item) {
    if (item == nullptr) return nullptr;
    if (item->type == 1) {
        if (Weapon* weapon = dynamic_cast<Weapon*>(item)) return &weapon->artifactRecord;
    } else if (item->type == 2) {
        if (Armour* armour = dynamic_cast<Armour*>(item)) return &armour->artifactRecord;
    }
    return nullptr;
}

// The title-only tooltip of the pointed-at thing, when the frame has not shown one yet.
void DrawTitleTooltip(const std::string& title) {
    if (!TooltipSlotFree) return;
    TooltipSlotFree = false;
    LastNoticeTooltip = title;
    DrawTooltip(title.c_str(), nullptr, nullptr);
}

bool Inside(int32_t mx, int32_t my, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return mx >= left && mx <= right && my >= top && my <= bottom;
}

Sprite* DefinitionIcon(const ItemDef* def) {
    if (def == nullptr || def->iconFile.empty()) return nullptr;
    return SpriteMgr_Find(def->iconFile.c_str());
}

}  // namespace

int32_t KrongIconOffset(int32_t k, int32_t n) {
    if (n <= 0) return 304;
    const int32_t s = 208 / (2 * n);
    return 304 + 2 * k * s;
}

std::vector<std::vector<KrongEntry>> KrongBonusRows(Item* item) {
    std::vector<std::vector<KrongEntry>> rows;
    const ArtifactRecord* record = ArtifactOf(item);
    if (record == nullptr || record->grantedBuff == nullptr) return rows;
    const Buff& bonus = *record->grantedBuff;
    std::vector<KrongEntry> row;
    auto add = [&row](int32_t tooltipRow, int32_t index, int32_t value) {
        if (value != 0) row.push_back({TooltipRowIcon(tooltipRow, index), value, TooltipRowColour(tooltipRow, index)});
    };
    auto close = [&rows, &row]() {
        if (!row.empty()) rows.push_back(row);
        row.clear();
    };
    for (int32_t t = 0; t < kDamageTypeCount; ++t) add(kTooltipRowDamage, t, bonus.damage[t]);
    close();
    for (int32_t t = 0; t < kDamageTypeCount; ++t) add(kTooltipRowResist, t, bonus.resist[t]);
    close();
    for (int32_t i = 0; i < kPrimaryStatCount; ++i) add(kTooltipRowBase, i, bonus.primaryMods[i]);
    close();
    for (int32_t i = 0; i < kSecondaryStatCount; ++i) add(kTooltipRowSecondary, i, bonus.secondaryMods[i]);
    close();
    return rows;
}

void ShowKrongDialog(Item* artifact, bool pleased, const char* text) {
    const std::vector<std::vector<KrongEntry>> rows = KrongBonusRows(artifact);
    const ArtifactRecord* record = ArtifactOf(artifact);
    std::string powers[2];
    if (record != nullptr) {
        if (record->firstPower != nullptr) powers[0] = "It " + record->firstPower->description;
        if (record->secondPower != nullptr) powers[1] = "It " + record->secondPower->description;
    }
    RunNotice(NoticePictureOf(pleased ? kPictureKrongPleased : kPictureKrongDispleased), true,
              [&](int32_t x, int32_t y) {
                  DrawItemIcon(artifact, x + 153, y + 168);
                  const int32_t t =
                      DrawTextWrapped(text, x + 304, y + 192, x + 512, y + 200, TickerFont, kTextBlack, ScreenSurface);
                  int32_t top = y + 192 + t + 18;
                  for (const std::vector<KrongEntry>& row : rows) {
                      const int32_t n = static_cast<int32_t>(row.size());
                      for (int32_t k = 0; k < n; ++k) {
                          const int32_t iconX = x + KrongIconOffset(k, n);
                          Blit(row[k].icon, iconX, top);
                          DrawText(iconX + 18, top, std::to_string(row[k].value), row[k].colour, ScreenSurface,
                                   TickerFont);
                      }
                      top += 18;
                  }
                  for (const std::string& power : powers) {
                      if (power.empty()) continue;
                      const int32_t h = DrawTextWrapped(power.c_str(), x + 304, top, x + 504, y + 200, TickerFont,
                                                        kTextBlack, ScreenSurface);
                      top += h + 18;
                  }
              });
}

int32_t RecipeIngredientX(int32_t i, int32_t n) { return 308 + 72 * (i - n); }

void ShowFoundRecipeNotice(const FoundRecipe& recipe) {
    AutoSurface background(LoadImage("ui/crafting/findrecipe_bg.png"));
    if (background.get() == nullptr) std::printf("Could not read the dialog picture ui/crafting/findrecipe_bg.png\n");
    const int32_t n = recipe.ingredientCount;
    const bool countKnown = n >= 1 && n <= 4;
    SDL_Surface* overlay = countKnown ? NoticePictureOf(kPictureRecipe1 + n - 1) : nullptr;
    const bool toolKnown = recipe.tool >= 0 && recipe.tool < kRecipeToolCount;
    Sprite* outputIcon = DefinitionIcon(recipe.outputDef);
    RunNotice(background.get(), false, [&](int32_t x, int32_t y) {
        Blit(overlay, x, y);
        DrawMediumTextCentered(x + 248, y + 15, recipe.outputName.c_str());
        int mx = 0;
        int my = 0;
        LoggedGetMouseState(&mx, &my);
        std::string tooltip;
        if (countKnown) {
            for (int32_t i = 0; i < 4; ++i) {
                const ItemDef* ingredient = recipe.ingredients[i];
                if (ingredient == nullptr) continue;
                if (Sprite* icon = DefinitionIcon(ingredient)) icon->DrawFrame(x + RecipeIngredientX(i, n), y + 68, 0);
                const int32_t left = x + 310 + 72 * (i - n);
                if (Inside(mx, my, left, y + 68, left + 64, y + 132)) tooltip = ingredient->name;
            }
        }
        if (toolKnown) {
            Blit(RecipeToolPicture(recipe.tool), x + 324, y + 68);
            if (Inside(mx, my, x + 324, y + 68, x + 388, y + 132)) tooltip = kRecipeToolNames[recipe.tool];
        }
        if (outputIcon != nullptr) outputIcon->DrawFrame(x + 414, y + 68, 0);
        if (Inside(mx, my, x + 414, y + 68, x + 478, y + 132)) tooltip = recipe.outputName;
        if (!tooltip.empty()) DrawTitleTooltip(tooltip);
    });
}

void ShowFindRecipeDialog(const Recipe* recipe) {
    FoundRecipe found;
    found.tool = -1;
    if (recipe != nullptr) {
        found.ingredientCount = recipe->inputCount;
        for (int32_t i = 0; i < 4 && i < kRecipeInputSlots; ++i) found.ingredients[i] = recipe->inputDefs[i];
        if (!recipe->outputs.empty()) {
            found.outputName = recipe->outputs.front().name;
            found.outputDef = recipe->outputs.front().def;
        }
        found.tool = recipe->toolType;
    }
    ShowFoundRecipeNotice(found);
}

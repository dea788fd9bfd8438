#include "core/shell/global_images.h"

#include <string>

#include "creatures/status_overlays.h"
#include "interface/game_frame.h"
#include "interface/hud.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/item.h"
#include "levels/level_draw.h"
#include "media/display_settings.h"
#include "media/eye_candy.h"
#include "media/image.h"
#include "media/sprite.h"
#include "media/tooltip.h"
#include "platform/platform.h"

GlobalImageSet GlobalImages;

namespace {

// A picture loaded as it is; missing art gives the missing-art line and a 1 x 1 placeholder,
// so that nobody is handed a null surface.
SDL_Surface* Image(const char* name) {
    const std::string file = GetResourceFilename(name);
    SDL_Surface* surface = WarnIfArtMissing(name) ? LoadImage(file.c_str()) : nullptr;
    if (surface == nullptr) surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    return surface;
}

Sprite* SprFile(const char* file, int32_t nativeSize = 0) {
    Sprite* sprite = new Sprite();
    sprite->Load(file, nullptr, -1, 0, nativeSize);
    return sprite;
}

Sprite* Png(const char* file, int32_t doubled) {
    Sprite* sprite = new Sprite();
    sprite->LoadPNG(file, doubled);
    return sprite;
}

Sprite* Series(const char* base, int32_t count, int32_t delay) {
    Sprite* sprite = new Sprite();
    sprite->LoadPNGSeries(base, 0, count, delay, 1);
    return sprite;
}

void Point(Bob& bob, Sprite* sprite) {
    bob.SetSprite(sprite);
    RegisterSharedBob(&bob);
}

}  // namespace

void LoadGlobalImages() {
    GlobalImageSet& g = GlobalImages;
    LoadStatIcons();
    LoadMinimapIcons();
    LoadGlints();
    g.quickbarSelect = Image("ui/ability_quickbar_select.png");
    g.quickbarSelect64 = Image("ui/ability_quickbar_select64.png");
    g.closeButton[0] = Image("ui/button_xclose0.png");
    g.closeButton[1] = Image("ui/button_xclose1.png");
    for (int32_t i = 0; i < 3; ++i) {
        g.copperCloseButton[i] = Image(("ui/gameplay/xclose_copper" + std::to_string(i) + ".png").c_str());
    }
    for (int32_t i = 0; i < 10; ++i) g.numerals[i] = SprFile(("ui/numeral_" + std::to_string(i + 1) + ".spr").c_str(), 1);
    g.numeralQuestion = SprFile("ui/numeral_question.spr", 1);
    g.numeralExclamation = SprFile("ui/numeral_exclamation.spr", 1);
    g.numeralZero = SprFile("ui/numeral_0.spr", 1);
    // The level badges of weapons and armour.
    ItemBadges.level[0] = g.numeralZero;
    for (int32_t i = 1; i <= 10; ++i) ItemBadges.level[i] = g.numerals[i - 1];
    ItemBadges.artifact = g.numeralExclamation;
    g.spells = SprFile("ui/spells.spr");
    g.gotoMark = SprFile("ui/goto_b.spr");
    g.noGotoMark = SprFile("ui/no_goto_r.spr");
    g.qualityStarFull = Png("ui/quality_star_full.png", 0);
    g.qualityStarEmpty = Png("ui/quality_star_empty.png", 0);
    SetTooltipLevelPips(g.qualityStarFull, g.qualityStarEmpty);
    g.helpfulArrow = SprFile("ui/helpful_arrow.spr");
    g.helpfulArrowColourBlind = SprFile("ui/helpful_arrow_cb.spr");

    g.questExclaim = SprFile("ui/quest_exclaim.spr");
    g.daze = SprFile("sprites/sfx/daze.spr");
    g.burning = Series("sprites/sfx/burnC/burnC", 4, 100);
    g.oil = SprFile("sprites/sfx/oil.spr");
    g.oilSlick = SprFile("sprites/sfx/oilslick.spr");
    g.bleeding = SprFile("sprites/sfx/bleeding.spr");
    g.sleep = SprFile("sprites/sfx/sleep.spr");
    g.hearts = SprFile("sprites/sfx/hearts.spr");
    g.waterWalking = SprFile("sprites/sfx/water_walking.spr");
    g.xpMedal = Png("ui/icons/xp_medal.png", 1);
    EyeCandyIcons.experienceMedal = g.xpMedal;
    g.heroGlow = Series("sprites/sfx/hero_glow/hero_glow", 3, 150);
    Point(StatusOverlays.heroGlow, g.heroGlow);

    g.buffBorder = SpriteTable("buffborder", "sprites/sfx/buffborder.spr").sprite;
    g.buffBrittle = SpriteMgr_GetOrLoadPNG("buffbrittle", "ui/icons/buff_brittle.png", 0);
    g.buffAttacks = SpriteMgr_GetOrLoadPNG("buffattacks", "ui/icons/buff_attacks.png", 0);
    g.buffManaCounter = SpriteMgr_GetOrLoadPNG("buffmanacounter", "ui/icons/buff_manacost.png", 0);

    LoadLevelDrawArt();  // the liquids tileset, and the shades sprite of the map

    Point(StatusOverlays.daze, g.daze);
    Point(StatusOverlays.burning, g.burning);
    Point(StatusOverlays.bleeding, g.bleeding);
    Point(StatusOverlays.sleep, g.sleep);
    Point(StatusOverlays.hearts, g.hearts);
    Point(StatusOverlays.questMark, g.questExclaim);
    Point(StatusOverlays.oil, g.oil);
    Point(StatusOverlays.waterWalking, g.waterWalking);
    Point(StatusOverlays.walkDestination, g.gotoMark);
    g.guideArrow.SetSprite(enableColourBlind != 0 ? g.helpfulArrowColourBlind : g.helpfulArrow);

    g.dither32 = Image("ui/32x32_dither.png");
    g.dither64 = Image("ui/64x64_dither.png");
    for (int32_t i = 0; i < 10; ++i) g.digits[i] = Image(("ui/digit_" + std::to_string(i) + ".png").c_str());
    g.scrollBackground = Image("ui/scroll_bg.png");
    g.tileOverlay[0] = Image("ui/tile_overlay2_64.png");
    g.tileOverlay[1] = Image("ui/tile_overlay1_64.png");
    g.tileOverlay[2] = Image("ui/tile_overlay0_64.png");
    g.inventory = Image("ui/gameplay/inventory.png");
    g.inventory2x = Image("ui/gameplay/2x_inventory.png");
    for (int32_t i = 0; i < 3; ++i) {
        g.inventorySort[i] = Image(("ui/gameplay/inventory_sort" + std::to_string(i) + ".png").c_str());
    }
    for (int32_t i = 0; i < 3; ++i) {
        g.inventorySort2x[i] = Image(("ui/gameplay/2x_inventory_sort" + std::to_string(i) + ".png").c_str());
    }
    g.inventoryQuickSell[0] = Image("ui/gameplay/inventory_quicksell0.png");
    g.inventoryQuickSell[1] = Image("ui/gameplay/inventory_quicksell1.png");
    g.recipesBackground = Image("ui/crafting/recipes_bg.png");
    for (SDL_Surface* background : {g.inventory, g.inventory2x}) {
        if (background != nullptr) SDL_SetAlpha(background, SDL_SRCALPHA | SDL_RLEACCEL, 0);
    }
    LoadCharPanelArt();
    g.gameOver = Image("ui/gameover.png");
    LoadCraftPanelArt();
}

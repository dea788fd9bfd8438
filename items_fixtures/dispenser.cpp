#include "items_fixtures/dispenser.h"

#include <SDL.h>

#include <string>
#include <vector>

#include "core/input_log.h"
#include "core/random.h"
#include "core/shell/shell_services.h"
#include "core/tweak.h"
#include "creatures/ability.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "interface/ui_services.h"
#include "items_fixtures/chest.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/shop_pedestal.h"
#include "media/font.h"
#include "media/image.h"
#include "media/item_tooltip_box.h"
#include "media/screen.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/text.h"

FIXTURE_REGISTRATION(Dispenser)

namespace {

struct DispenserKind {
    const char* name;
    const char* series;
    const char* fileBase;
    const char* background;
};

const DispenserKind kKinds[] = {
    {"Bolt Dispenser", "boltdispenser", "dungeon/dispenser_bolts", "ui/dispenser_bolts_bg.png"},
    {"Food Vendor", "fooddispenser", "dungeon/dispenser_food", "ui/dispenser_food_bg.png"},
    {"Drink Vendor", "drinkdispenser", "dungeon/dispenser_drink", "ui/dispenser_drink_bg.png"},
    {"Handheld Weaponry Dispenser", "throwndispenser", "dungeon/dispenser_thrown", "ui/dispenser_throw_bg.png"},
    {"Crafts Dispenser", "craftsdispenser", "dungeon/dispenser_crafts", "ui/dispenser_crafts_bg.png"},
};

const DispenserKind* KindOf(int32_t kind) {
    if (kind < 0 || kind >= static_cast<int32_t>(sizeof(kKinds) / sizeof(kKinds[0]))) return nullptr;
    return &kKinds[kind];
}

// Redraws are bounded: a list whose acceptable entries are this unlikely leaves the slot empty.
constexpr int32_t kMaxDraws = 10000;

// A uniform draw from the list (C generator) redrawn until `accept`; null when the list is
// empty or nothing in it is acceptable.
template <typename Accept>
const ItemDef* DrawFrom(const std::vector<ItemDef*>& list, Accept accept) {
    bool any = false;
    for (const ItemDef* def : list) any = any || (def != nullptr && accept(*def));
    if (!any) return nullptr;
    for (int32_t i = 0; i < kMaxDraws; ++i) {
        const ItemDef* def = list[static_cast<size_t>(RandomIndex(list.size()))];
        if (def != nullptr && accept(*def)) return def;
    }
    return nullptr;
}

// 1 to 15 from three draws in order, capped at the definition's stack size.
int32_t StackCount(const ItemDef& def) {
    int32_t count = 1;
    count += CRand() / 3277;
    count += CRand() / 6554;
    count += CRand() >> 14;
    if (def.maxStack > 0 && def.maxStack < count) count = def.maxStack;
    return count;
}

}  // namespace

Dispenser::Dispenser(int32_t dispenserKind) : kind(dispenserKind) {
    FillStock();
    RefreshPicture();
}

Dispenser::Dispenser(SaveReader& in) : GameObj(in) {
    kind = in.ReadInt32();
    for (Item*& slot : stock) slot = ExpectItem(ReadEmbeddedObject(in), "dispenser");
    robbed = in.version.AtLeast(kSaveV1_0_8) ? (in.ReadBool() ? 1 : 0) : 1;
    RefreshPicture();
}

Dispenser::~Dispenser() {
    for (Item*& slot : stock) {
        delete slot;
        slot = nullptr;
    }
}

bool Dispenser::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    ok = out.WriteInt32(kind) && ok;
    for (Item* slot : stock) ok = WriteEmbeddedObject(out, slot) && ok;
    return out.WriteBool(robbed) && ok;
}

std::string Dispenser::GetName() {
    const DispenserKind* k = KindOf(kind);
    return k != nullptr ? k->name : "Dispenser";
}

void Dispenser::RefreshPicture() {
    // A kind outside the table wears the bolt machine's picture.
    const DispenserKind* k = KindOf(kind);
    if (k == nullptr) k = &kKinds[0];
    ShowFixtureSeries(*this, k->series, k->fileBase, 2, 0, 200, true);
}

void Dispenser::FillStock() {
    for (Item*& slot : stock) {
        if (slot != nullptr) continue;
        const ItemDef* def = nullptr;
        bool stacks = false;
        switch (kind) {
            case 0:
                def = DrawFrom(ItemDefLists.ammunition, [](const ItemDef&) { return true; });
                stacks = true;
                break;
            case 1:
                def = DrawFrom(ItemDefLists.food, [](const ItemDef& d) { return !(d.mp > 0 && d.hp <= 0); });
                break;
            case 2:
                def = DrawFrom(ItemDefLists.food, [](const ItemDef& d) { return !(d.mp <= 0 && d.hp > 0); });
                break;
            case 3:
                def = RandomThrowingWeaponDefByLevel();
                stacks = true;
                break;
            case 4:
                def = DrawFrom(ItemDefLists.alchemical, [](const ItemDef&) { return true; });
                break;
            default:
                break;
        }
        if (def == nullptr) continue;
        Item* item = CreateItem(def);
        if (item == nullptr) continue;
        if (stacks) {
            item->stackable = 1;
            item->count = StackCount(*def);
        } else {
            item->count = 1;
        }
        slot = item;
    }
}

void Dispenser::TryTheft() {
    if (robbed != 0) return;
    const std::vector<AbilityRecord*> abilities = AbilityList;
    for (AbilityRecord* ability : abilities) {
        if (ability == nullptr || !ability->vmTheft || !PlayerHasAbilityLevel(ability)) continue;
        robbed = 1;
        bool filled = false;
        for (Item* slot : stock) filled = filled || slot != nullptr;
        if (!filled) continue;
        int32_t pick = RandomInt(kSlots);
        // Bounded redraws; past them the next filled slot is taken.
        for (int32_t draw = 1; stock[pick] == nullptr && draw < kMaxDraws; ++draw) pick = RandomInt(kSlots);
        while (stock[pick] == nullptr) pick = (pick + 1) % kSlots;
        Item* item = stock[pick];
        stock[pick] = nullptr;
        ShopDialogs.steal(item);
        PutItemInBag(item);
    }
}

int32_t Dispenser::SlotPrice(int32_t slot) const {
    if (slot < 0 || slot >= kSlots || stock[slot] == nullptr) return 0;
    return ScaledPrice(stock[slot]->GetValue(), GetTweakFloat("vending machine scale"));
}

bool Dispenser::Buy(int32_t slot) {
    Player* hero = CurrentPlayer;
    if (hero == nullptr || slot < 0 || slot >= kSlots || stock[slot] == nullptr) return false;
    // The hero pays the price the window shows: whoever holds that much buys.
    const int32_t price = SlotPrice(slot);
    if (hero->zorkmids < price) return false;
    hero->zorkmids -= price;
    Item* item = stock[slot];
    stock[slot] = nullptr;
    PutItemInBag(item);
    PlaySFX("vending");
    return true;
}

Dispenser::SlotTooltip Dispenser::TooltipOf(int32_t slot) const {
    SlotTooltip tip;
    if (slot < 0 || slot >= kSlots || stock[slot] == nullptr) return tip;
    Item* item = stock[slot];
    tip.title = item->GetItemName() + " (" + std::to_string(SlotPrice(slot)) + " zorkmids)";
    tip.hint = "Click to Buy Item";
    tip.category = item->GetCategoryName();
    tip.description = item->GetTooltipDescription();
    tip.gameplay = item->GetGameplayInfo();
    return tip;
}

int32_t Dispenser::HitTest(int32_t mx, int32_t my, int32_t bx, int32_t by) const {
    if (mx >= bx + 298 && mx <= bx + 318 && my >= by && my <= by + 20) return -2;
    for (int32_t i = 0; i < kSlots; ++i) {
        if (stock[i] == nullptr) continue;
        const int32_t cx = bx + 72 * (i % 4) + 20;
        const int32_t cy = by + 72 * (i / 4) + 88;
        if (mx >= cx && mx <= cx + 64 && my >= cy && my <= cy + 64) return i;
    }
    return -1;
}

int32_t Dispenser::Activate() {
    TryTheft();
    RunWindow();
    return 1;
}

void Dispenser::RunWindow() {
    PlaySFX("vending");
    const DispenserKind* k = KindOf(kind);
    SDL_Surface* background = LoadImage(k != nullptr ? k->background : kKinds[0].background);
    if (Player* hero = CurrentPlayer) {
        hero->SetIdleAnimation();
        hero->offsetX = 0;
        hero->offsetY = 0;
    }
    FlushInput();
    bool open = true;
    while (open) {
        // The map and the HUD under the window show no tooltips of their own: they would lie
        // under the window. Its goods' tooltip is drawn last, over it.
        TooltipSlotFree = false;
        DrawGameScreen();
        TooltipSlotFree = true;
        const int32_t screenW = ScreenSurface != nullptr ? ScreenSurface->w : 0;
        const int32_t screenH = ScreenSurface != nullptr ? ScreenSurface->h : 0;
        const int32_t bx = screenW / 2 - (background != nullptr ? background->w : 0) / 2;
        const int32_t by = screenH / 2 - (background != nullptr ? background->h : 0) / 2;
        if (background != nullptr && ScreenSurface != nullptr) {
            SDL_Rect at = {static_cast<Sint16>(bx), static_cast<Sint16>(by), 0, 0};
            BlitSurface(background, nullptr, ScreenSurface, &at);
        }
        int32_t mouseX = 0;
        int32_t mouseY = 0;
        LoggedGetMouseState(&mouseX, &mouseY);
        for (int32_t i = 0; i < kSlots; ++i) {
            Item* item = stock[i];
            if (item == nullptr) continue;
            const int32_t cx = bx + 72 * (i % 4) + 20;
            const int32_t cy = by + 72 * (i / 4) + 88;
            if (item->iconSprite != nullptr) item->iconSprite->DrawFrame(cx, cy, 0);
            const std::string price = std::to_string(SlotPrice(i));
            DrawTextCentered(cx + 33, cy + 39, price.c_str(), MediumFont, kTextBlack, ScreenSurface);
            DrawTextCentered(cx + 32, cy + 38, price.c_str(), MediumFont, kTextGold, ScreenSurface);
        }
        const int32_t hover = HitTest(mouseX, mouseY, bx, by);
        if (hover >= 0 && TooltipSlotFree) {
            const SlotTooltip tip = TooltipOf(hover);
            DrawItemTooltip(tip.title.c_str(), tip.hint.c_str(), tip.category.c_str(), tip.description.c_str(), 0,
                            tip.gameplay.c_str());
            TooltipSlotFree = false;
        }
        DrawCloseButton(bx + 298, by);
        UpdateMouseCursor();
        AdvanceFrame();
        SDL_Event event;
        while (LoggedPollEvent(&event)) {
            if (event.type == SDL_QUIT) open = false;
            if (event.type == SDL_KEYUP && event.key.keysym.sym == SDLK_ESCAPE) open = false;
            if (event.type != SDL_MOUSEBUTTONUP) continue;
            const int32_t hit = HitTest(event.button.x, event.button.y, bx, by);
            if (hit == -2) open = false;
            if (hit >= 0 && Buy(hit)) open = false;
        }
        if (TerminationRequested()) open = false;
    }
    if (background != nullptr) SDL_FreeSurface(background);
}

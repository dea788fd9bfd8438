// The buff bar and its tooltips.
#include "interface/buff_bar.h"

#include <algorithm>

#include "core/input_log.h"
#include "creatures/buff.h"
#include "creatures/player.h"
#include "interface/dialogs.h"
#include "interface/game_frame.h"
#include "interface/hud_draw.h"
#include "media/font.h"
#include "media/screen.h"
#include "media/sprite.h"
#include "media/text.h"
#include "media/tooltip.h"

namespace {

constexpr SDL_Color kBrittleColour = {222, 242, 144, 0};
constexpr SDL_Color kAttacksColour = {255, 204, 132, 0};
constexpr SDL_Color kManaColour = {150, 200, 255, 0};
constexpr int32_t kCounterLine = 20;

Sprite* BorderSprite() { return SpriteMgr_GetOrLoad("buffborder", "sprites/sfx/buffborder.spr"); }

Sprite* CounterSprite(const char* name) {
    if (std::string(name) == "buffbrittle") return SpriteMgr_GetOrLoadPNG(name, "ui/icons/buff_brittle.png", 0);
    if (std::string(name) == "buffattacks") return SpriteMgr_GetOrLoadPNG(name, "ui/icons/buff_attacks.png", 0);
    return SpriteMgr_GetOrLoadPNG(name, "ui/icons/buff_manacost.png", 0);
}

// Walks the list as the bar does; `border` is told of every slot a border goes to.
template <typename BorderFn>
std::vector<BuffBarSlot> Walk(const std::vector<Buff*>& buffs, BorderFn border) {
    std::vector<BuffBarSlot> shown;
    std::vector<const Sprite*> icons;
    int32_t x = kBuffBarLeft;
    int32_t y = kBuffBarTop;
    for (Buff* buff : buffs) {
        if (buff == nullptr || BuffHiddenFromBar(*buff)) continue;
        if (buff->iconSprite != nullptr &&
            std::find(icons.begin(), icons.end(), buff->iconSprite) != icons.end()) {
            continue;
        }
        border(x, y);
        if (buff->iconSprite == nullptr) continue;
        icons.push_back(buff->iconSprite);
        shown.push_back({buff, x, y});
        y += kBuffBarStep;
        if (shown.size() % kBuffsPerColumn == 0) {
            x += kBuffBarColumnStep;
            y = kBuffBarTop;
        }
    }
    return shown;
}

BuffTooltipInfo MakeBuffTooltipInfo(const Buff& buff) {
    BuffTooltipInfo info;
    info.name = buff.name;
    info.description = buff.description;
    for (int32_t i = 0; i < kTooltipDamageTypes && i < kDamageTypeCount; ++i) {
        info.rows.damage[i] = buff.damage[i];
        info.rows.resist[i] = buff.resist[i];
    }
    for (int32_t i = 0; i < kTooltipBaseStats && i < kPrimaryStatCount; ++i) info.rows.base[i] = buff.primaryMods[i];
    for (int32_t i = 0; i < kTooltipSecondaryStats && i < kSecondaryStatCount; ++i) {
        info.rows.secondary[i] = buff.secondaryMods[i];
    }
    return info;
}

}  // namespace

bool BuffHiddenFromBar(const Buff& buff) { return buff.extraFlag2; }

std::vector<BuffBarSlot> LayoutBuffBar(const std::vector<Buff*>& buffs) {
    return Walk(buffs, [](int32_t, int32_t) {});
}

int32_t BuffBarNumber(const Buff& buff) {
    if (buff.displayCount >= 1) return buff.displayCount;
    if (buff.turnsLeft >= 0 && !BuffHiddenFromBar(buff) && !buff.hideTurns) return buff.turnsLeft + 1;
    return -1;
}

std::vector<BuffCounter> BuffCounters(const Buff& buff) {
    std::vector<BuffCounter> counters;
    if (buff.brittle > 0) counters.push_back({"buffbrittle", std::to_string(buff.brittle), kBrittleColour});
    if (buff.attacks > 0) counters.push_back({"buffattacks", std::to_string(buff.attacks), kAttacksColour});
    if (buff.manaUpkeep > 0) {
        counters.push_back({"buffmanacounter",
                            std::to_string(buff.upkeepCounter) + "/" + std::to_string(buff.manaUpkeep), kManaColour});
    }
    return counters;
}

void DrawBuffBar() {
    const Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    Sprite* border = BorderSprite();
    const std::vector<BuffBarSlot> shown =
        Walk(hero->buffs, [border](int32_t x, int32_t y) { HudSprite(border, 0, "buff border", x, y); });
    for (const BuffBarSlot& slot : shown) {
        const Buff& buff = *slot.buff;
        const int32_t x = slot.x;
        const int32_t y = slot.y;
        HudSprite(buff.iconSprite, 0, "buff icon " + buff.name, x, y);
        const int32_t number = BuffBarNumber(buff);
        if (number >= 0) {
            const std::string text = std::to_string(number);
            DrawMediumText(x + 49, y + 42, text.c_str());
            DrawMediumTextGold(x + 48, y + 41, text.c_str());
            HudRecordText(text, x + 48, y + 41);
        }
        int32_t line = y;
        for (const BuffCounter& counter : BuffCounters(buff)) {
            HudSprite(CounterSprite(counter.sprite), 0, counter.sprite, x + 67, line + 3);
            DrawMediumText(x + 86, line + 1, counter.text.c_str());
            DrawText(x + 85, line, counter.text, counter.colour, ScreenSurface, MediumFont);
            HudRecordText(counter.text, x + 85, line);
            line += kCounterLine;
        }
        if (buff.removable) {
            DrawCopperCloseButton(x + 44, y);
            HudRecord("buff close", x + 44, y);
        }
    }
}

Buff* BuffUnderPoint(int32_t mx, int32_t my) {
    const Player* hero = CurrentPlayer;
    if (hero == nullptr) return nullptr;
    for (const BuffBarSlot& slot : LayoutBuffBar(hero->buffs)) {
        const Sprite* icon = slot.buff->iconSprite;
        if (mx >= slot.x && my >= slot.y && mx <= slot.x + icon->width && my <= slot.y + icon->height) {
            return slot.buff;
        }
    }
    return nullptr;
}

bool ShowBuffBarTooltip(int32_t mx, int32_t my) {
    Buff* buff = BuffUnderPoint(mx, my);
    if (buff == nullptr) return false;
    DrawBuffTooltip(MakeBuffTooltipInfo(*buff));
    TooltipSlotFree = false;
    return true;
}

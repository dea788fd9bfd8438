// Using the selected ability at the square under the pointer, and marking the squares it
// would affect while the player aims with the right button held.
#include <cmath>
#include <cstdlib>

#include "core/shell/game_input.h"
#include "core/shell/play_input.h"
#include "creatures/ability.h"
#include "creatures/maneuver.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "interface/layout.h"
#include "interface/play_screen.h"
#include "items_fixtures/inventory.h"
#include "levels/level.h"
#include "media/ticker.h"

namespace {

const char* const kMustBeNextTo = "You must be next to your target to use this ability!";

// The item the pointer was on when an ability that works on an item was used: a backpack
// cell of the open inventory window, else a belt slot.
Item* itemUnderPointer = nullptr;

Item* ItemUnderPointer() { return itemUnderPointer; }

Item* FindItemUnderPointer(int32_t x, int32_t y) {
    if (Layout.inventoryOpen != 0 && InsideInventoryWindow(x, y)) {
        return GetInventoryItemAt(x - Layout.inventoryX, y - Layout.inventoryY);
    }
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return nullptr;
    const bool large = LargeInterface();
    const int32_t top = BottomBarTopEdge() + (large ? 104 : 56);
    const int32_t left = Layout.interfaceX + (large ? 133 : 134);
    const int32_t slotSize = large ? 68 : 36;
    if (x < left || y < top || y > top + slotSize) return nullptr;
    const int32_t slot = (x - left) / slotSize;
    return slot >= 0 && slot < kBeltSlotCount ? hero->quickSlots[slot] : nullptr;
}

void Mark(Level* level, int32_t x, int32_t y) {
    if (level->IsInside(x, y)) level->HighlightSquare(x, y);
}

// The straight line from the hero toward the target in hundredths, each position rounded to
// the nearest square; with stopAtWall the first wall ends it (and is marked).
void MarkLine(Level* level, int32_t hx, int32_t hy, int32_t tx, int32_t ty, bool stopAtWall) {
    if (hx == tx && hy == ty) return;
    int32_t lastX = hx;
    int32_t lastY = hy;
    for (int32_t k = 1; k <= 100; ++k) {
        const int32_t x = static_cast<int32_t>(std::floor(hx + k * (tx - hx) / 100.0 + 0.5));
        const int32_t y = static_cast<int32_t>(std::floor(hy + k * (ty - hy) / 100.0 + 0.5));
        if (x == lastX && y == lastY) continue;
        lastX = x;
        lastY = y;
        Mark(level, x, y);
        if (x == tx && y == ty) return;
        if (stopAtWall && level->SquareKind(x, y) == SquareType::Wall) return;
    }
}

void MarkTemplate(Level* level, Player* hero, const Spell* spell, int32_t tx, int32_t ty) {
    const int32_t dx = tx - hero->x;
    const int32_t dy = ty - hero->y;
    if (std::abs(dy) > std::abs(dx)) {
        hero->facing = dy >= 0 ? 0 : 2;
    } else {
        hero->facing = dx >= 0 ? 3 : 1;
    }
    const ManeuverTemplate* shape = FindManeuverTemplate(spell->templateID);
    if (shape == nullptr) return;
    int32_t ac = -1;
    int32_t ar = -1;
    for (int32_t r = 0; r < shape->height && ac < 0; ++r) {
        for (int32_t c = 0; c < shape->width; ++c) {
            if (shape->At(c, r) == 2) {
                ac = c;
                ar = r;
                break;
            }
        }
    }
    if (ac < 0) return;
    const LevelCell* target = level->GetCell(tx, ty);
    if (target == nullptr || !target->HasFlag(SquareFlag::Visible)) return;
    const int32_t ox = spell->anchored == 1 ? hero->x : tx;
    const int32_t oy = spell->anchored == 1 ? hero->y : ty;
    for (int32_t r = 0; r < shape->height; ++r) {
        for (int32_t c = 0; c < shape->width; ++c) {
            const uint8_t code = shape->At(c, r);
            if (code != 1 && !(code == 2 && shape->affectsPlayer != 0)) continue;
            int32_t x = ox + c - ac;
            int32_t y = oy + r - ar;
            if (spell->anchored != 0) {
                switch (hero->facing) {
                    case 0: y = oy + ar - r; break;
                    case 3: x = ox + ar - r; y = oy + c - ac; break;
                    case 1: x = ox + r - ar; y = oy + c - ac; break;
                    default: break;
                }
            }
            Mark(level, x, y);
        }
    }
}

void CastSelected(Spell* spell) {
    SelectedSpell = spell;
    PlayerCastSelectedSpell();
}

}  // namespace

void UseSelectedAbilityAt(int32_t pointerX, int32_t pointerY) {
    Level* level = CurrentLevel;
    Player* hero = CurrentPlayer;
    if (level == nullptr || hero == nullptr) return;
    level->ClearHighlights();
    AbilityRecord* ability = SelectedAbility;
    if (ability == nullptr || ability->spell == nullptr) return;
    Spell* spell = ability->spell;
    int32_t tx = 0;
    int32_t ty = 0;
    // A target outside the level is no target at all, except for an ability used on the item
    // under the pointer (in the belt or the backpack), which needs no square: it is aimed at
    // the hero's own and, as over any square the hero cannot see, used once.
    const bool onLevel = ScreenToSquare(pointerX, pointerY, &tx, &ty);
    if (!onLevel && spell->targetType != SpellTarget::Item) return;
    if (!onLevel) {
        tx = hero->x;
        ty = hero->y;
    }
    SpellTargetX = tx;
    SpellTargetY = ty;
    if (spell->cooldownCounter >= 1) return;
    const int32_t type = spell->targetType;
    if (!CheckSpellTarget(spell, hero->x, hero->y, tx, ty)) {
        if (type == SpellTarget::Adjacent) AddText(kMustBeNextTo, true);
        return;
    }
    itemUnderPointer = FindItemUnderPointer(pointerX, pointerY);
    SpellItemUnderPointer = ItemUnderPointer;
    const LevelCell* cell = level->GetCell(tx, ty);
    if (onLevel && cell->HasFlag(SquareFlag::Visible) && cell->type != SquareType::Wall) {
        CastSelected(spell);
        return;
    }
    switch (type) {
        case SpellTarget::Self:
        case SpellTarget::Beam:
        case SpellTarget::DiggingBeam:
        case SpellTarget::BeamMissile:
        case SpellTarget::AdjacentWall:
            CastSelected(spell);
            break;
        case SpellTarget::Item:
            CastSelected(spell);
            SelectedAbility = nullptr;
            SelectedSkillItem = nullptr;
            break;
        default:
            break;
    }
}

void MarkAbilityTargetSquares(int32_t pointerX, int32_t pointerY) {
    Level* level = CurrentLevel;
    Player* hero = CurrentPlayer;
    if (level == nullptr || hero == nullptr) return;
    int32_t tx = 0;
    int32_t ty = 0;
    if (!ScreenToSquare(pointerX, pointerY, &tx, &ty)) return;
    const AbilityRecord* ability = SelectedAbility;
    if (ability == nullptr || ability->spell == nullptr) return;
    const Spell* spell = ability->spell;
    const int32_t type = spell->targetType;
    if (type > SpellTarget::Template) return;
    const int32_t hx = hero->x;
    const int32_t hy = hero->y;
    switch (type) {
        case SpellTarget::Self:
            Mark(level, hx, hy);
            break;
        case SpellTarget::Missile:
        case SpellTarget::Adjacent:
        case SpellTarget::Target:
        case SpellTarget::AdjacentWall:
            Mark(level, tx, ty);
            break;
        case SpellTarget::Fireball: {
            const int32_t r = spell->radius;
            for (int32_t dy = -r; dy <= r; ++dy) {
                for (int32_t dx = -r; dx <= r; ++dx) {
                    if (dx * dx + dy * dy <= r * r) Mark(level, tx + dx, ty + dy);
                }
            }
            break;
        }
        case SpellTarget::Beam:
            MarkLine(level, hx, hy, tx, ty, true);
            break;
        case SpellTarget::DiggingBeam:
            MarkLine(level, hx, hy, tx, ty, false);
            break;
        case SpellTarget::KnightlyLeap: {
            const int32_t ax = std::abs(tx - hx);
            const int32_t ay = std::abs(ty - hy);
            if ((ax == 2 && ay == 1) || (ax == 1 && ay == 2)) Mark(level, tx, ty);
            break;
        }
        case SpellTarget::Rook:
            if (tx == hx || ty == hy) Mark(level, tx, ty);
            break;
        case SpellTarget::Template:
            MarkTemplate(level, hero, spell, tx, ty);
            break;
        default:
            break;
    }
}

// Levers: the plain switch the room scripts read, and the one-shot levers that open a hidden
// passage, spring traps around themselves or unlock their uber chest.
#include "core/random.h"
#include "creatures/player.h"
#include "creatures/spell.h"
#include "items_fixtures/chest.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_pickers.h"
#include "items_fixtures/passages.h"
#include "items_fixtures/trap.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "levels/tutorial.h"
#include "media/sound.h"
#include "media/ticker.h"

namespace {

constexpr int32_t kPassageLever = 1;
constexpr int32_t kTrapLever = 2;
constexpr int32_t kChestLever = 3;

// Springs traps on open squares within 3 of (x, y): none when the first draw is 0; else one
// pass after another while the count of passes stays below a fresh draw.
void SpringTrapsAround(int32_t x, int32_t y, Level* onLevel) {
    if (RandomInt(10) <= 0) return;
    int32_t passes = 0;
    do {
        int32_t tx = 0;
        int32_t ty = 0;
        if (SpellLevel.findOpenSquareNear != nullptr && SpellLevel.findOpenSquareNear(&tx, &ty, x, y, onLevel) != 0) {
            // Without any trap definition nothing is placed.
            if (const ItemDef* def = RandomTrapDef()) (new Trap(def))->PlaceOnLevel(tx, ty, onLevel, 0);
        }
        ++passes;
    } while (passes < RandomInt(10));
}

}  // namespace

void Lever::Destroy() { QueueObjectDeletion(this); }

void Lever::Draw(const MapView& view) {
    ShowFixtureFrame(*this, activated != 0 ? 1 : 0);
    GameObj::Draw(view);
}

int32_t Lever::Stuck() {
    PlaySFX("lever");
    AddText("The lever is stuck and refuses to move.", true);
    return 1;
}

int32_t Lever::Activate() {
    if (!IsAdjacentToPlayer() || GetCursorItem() != nullptr) return 0;
    AddText("You pull the lever.", true);
    if (CurrentTutorial != nullptr && activated == 0) {
        NotifyTutorial(2, 0);
        SetActivated(true);
    }
    switch (kind) {
        case kChestLever:
            if (activated != 0) return Stuck();
            PlaySFX("lever");
            AddText("You hear the sounds of machinery.", true);
            SetActivated(true);
            if (UberChest* chest = dynamic_cast<UberChest*>(linked)) {
                chest->locked = 0;
                ShowFixtureFrame(*chest, 1);
            }
            linked = nullptr;
            break;
        case kTrapLever:
            if (activated != 0) return Stuck();
            PlaySFX("lever3");
            SetActivated(true);
            AddText("Oh no! Traps have activated!", true);
            SpringTrapsAround(x, y, level != nullptr ? level : CurrentLevel);
            break;
        case kPassageLever:
            if (activated != 0) return Stuck();
            PlaySFX("lever3");
            SetActivated(true);
            AddText("You hear the sounds of machinery.", true);
            if (level != nullptr) {
                if (LevelCell* square = level->GetCell(targetX, targetY)) square->type = SquareType::Floor;
                if (SpellLevel.rebuildGraphics != nullptr) {
                    SpellLevel.rebuildGraphics(level, targetX - 3, targetY - 3, targetX + 3, targetY + 3);
                }
            }
            break;
        default:
            PlaySFX("lever");
            SetActivated(activated == 0);
            break;
    }
    ShowFixtureFrame(*this, activated != 0 ? 1 : 0);
    return 1;
}

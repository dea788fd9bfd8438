#include "items_fixtures/dirt.h"

#include "core/random.h"
#include "creatures/player.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/item_pickers.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/ticker.h"

FIXTURE_REGISTRATION(Dirt)

namespace {
constexpr int32_t kSporesKind = 1;
constexpr int32_t kGrowingTurns = 5;
constexpr int32_t kGardeningSkill = 28;
}  // namespace

Dirt::Dirt() { RefreshPicture(); }

Dirt::Dirt(SaveReader& in) : GameObj(in) {
    planted = in.ReadBool() ? 1 : 0;
    growTurns = in.ReadInt32InRange(0, kGrowingTurns, "a patch of dirt's growing turns");
    RefreshPicture();
}

bool Dirt::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    ok = out.WriteBool(planted) && ok;
    return out.WriteInt32(growTurns) && ok;
}

void Dirt::RefreshPicture() {
    ShowFixtureSprite(*this, "Dirt", "dungeon/patch_of_dirt.spr", false);
    blocksMovement = 0;
    blocksSight = 0;
}

void Dirt::Destroy() { QueueObjectDeletion(this); }

int32_t Dirt::AcceptsItem(Item* item) {
    // Unpaid spores are the shop's: what grew of them would be the hero's own.
    return item != nullptr && item->type == kItemMisc && item->subtype == kSporesKind && item->unpaid == 0 ? 1 : 0;
}

int32_t Dirt::UseItemOn(Item* item) {
    if (planted != 0 || AcceptsItem(item) == 0) return 0;
    item->count -= 1;
    if (item->count < 1) QueueObjectDeletion(item);
    planted = 1;
    growTurns = kGrowingTurns;
    return 1;
}

int32_t Dirt::Activate() {
    AddText("The dirt looks at you, dirtily.", true);
    return 0;
}

void Dirt::Update() {
    if (planted == 0) return;
    --growTurns;
    if (growTurns > 0) return;
    planted = 0;
    if (const ItemDef* def = RandomMushroomDef()) {
        QueueObjectMove(new Mushroom(def), x, y, CurrentLevel);
    }
    const Player* hero = CurrentPlayer;
    const bool keeps = hero != nullptr && hero->GetSkillLevel(kGardeningSkill) >= 2;
    if (!keeps || MTOneChanceIn(2)) QueueObjectDeletion(this);
}

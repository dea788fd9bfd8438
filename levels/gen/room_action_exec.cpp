// The room actions that change clocks and cast spells (their classes are declared with the
// level model in levels/room_actions.h).
#include "levels/gen/room_action_exec.h"

#include "creatures/player.h"
#include "creatures/spell.h"
#include "items_fixtures/blockers.h"
#include "levels/level.h"
#include "levels/room_actions.h"
#include "levels/room_templates.h"
#include "media/sound.h"

RoomSpellCast RoomScriptSpellCast = CastSpellWithCause;

void SetObjectPropertyAction::ActOnObject(GameObj* object, int32_t) {
    if (set_type == "passable") {
        object->blocksMovement = value == 0 ? 1 : 0;
        return;
    }
    if (set_type != "started" && set_type != "stopped") {
        RoomScriptWarning("roomScript: found setType='%s'\n", set_type.c_str());
        return;
    }
    if (!object->IsClock()) {
        RoomScriptWarning("Object (id='%s') is not a clock!\n", object->GetRoomID().c_str());
        return;
    }
    Clock* clock = static_cast<Clock*>(object);
    const bool start = set_type == "started" ? value == 1 : value == 0;
    if (start) clock->Start();
    else clock->Stop();
}

void SpellAction::Read(RoomAttributeMap map, const RoomReadContext& ctx) {
    RoomAction::Read(map, ctx);
    spell = spellDBFindByName(casts.c_str());
    if (spell == nullptr) RoomsXmlWarning("couldn't find casts='%s'", casts.c_str());
}

void SpellAction::Execute(int32_t room) {
    if (spell == nullptr || CurrentLevel == nullptr) return;
    const RoomRecord* record = CurrentLevel->GetRoomRecord(room);
    const int32_t x0 = record != nullptr ? record->left : 0;
    const int32_t y0 = record != nullptr ? record->top : 0;
    Player* hero = CurrentPlayer;
    // The hero stops as at the end of a walk before the spell goes off.
    if (hero != nullptr) {
        hero->SetIdleAnimation();
        hero->stopWalking = 1;
        hero->bob.UnlinkFromTiles();
    }
    if (!spell->sfx.empty()) PlaySFX(spell->sfx.c_str());
    const int32_t heroX = hero != nullptr ? hero->x : 0;
    const int32_t heroY = hero != nullptr ? hero->y : 0;
    int32_t sx = heroX, sy = heroY, tx = heroX, ty = heroY;
    if (sourceX != -1 || sourceY != -1) {
        sx = x0 + sourceX;
        sy = y0 + sourceY;
    }
    if (targetX != -1 || targetY != -1) {
        tx = x0 + targetX;
        ty = y0 + targetY;
    }
    RoomScriptSpellCast(spell, sx, sy, tx, ty, hero, "by a spell");
}

#pragma once
// What the room scripts' spell action calls to carry out its cast; a test may replace it to
// record the cast. Defaults to CastSpellWithCause.
#include <cstdint>

class Hittable;
class Spell;

using RoomSpellCast = int32_t (*)(Spell* spell, int32_t casterX, int32_t casterY, int32_t targetX,
                                  int32_t targetY, Hittable* caster, const char* cause);
extern RoomSpellCast RoomScriptSpellCast;

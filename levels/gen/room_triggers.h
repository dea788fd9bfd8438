#pragma once
// Room scripts firing every turn: the success counters of the level decide whether a script
// may still fire, its conditions whether it fires now (levels/room_script.h).

// Runs the room scripts of the current level once; called once per turn.
void DoRoomTriggerLogic();

#pragma once
// Room scripts firing every turn.
//
// Stand-in: no room script runs yet. Still to be built here: the trigger evaluation of the
// room records of the current level (conditions, actions, once and repeat rules, the
// hero's room discovery), with its debug traces.

// Runs the room scripts of the current level once; called once per turn.
void DoRoomTriggerLogic();

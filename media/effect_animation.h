#pragma once
// Effect animations: spell and missile effects played over the level.
//
// Stand-in: nothing is queued or played yet. Still to be built here: the animation queue
// started at the end of a turn, missiles, cones, bursts and beams with their blocking
// render loops.

// Starts every animation queued during the turn.
void StartQueuedAnimations();
// Empties the queue of animations.
void ClearQueuedAnimations();

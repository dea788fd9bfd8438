#pragma once
// Effect animations: spell and missile effects played over the level.
//
// Stand-in: nothing is queued or played yet, and PlayEffectAtTile shows nothing. Still to be
// built here: the animation queue started at the end of a turn, effects played at a tile,
// missiles, cones, bursts and beams with their blocking render loops.

// Starts every animation queued during the turn.
void StartQueuedAnimations();
// Empties the queue of animations.
void ClearQueuedAnimations();
// Plays the numbered animation `file` (frameCount frames of delayMs) at a visible tile; with
// wait the render loop runs until it has played.
void PlayEffectAtTile(int tileX, int tileY, const char* file, int frameCount, int delayMs, bool centreVertically,
                      bool wait);

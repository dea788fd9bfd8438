#pragma once
// The queues through which objects are deleted or moved between levels at fixed points of
// the turn, never in place, since the level's object list is being walked while objects
// act. Level building places its objects through the same move queue. The turn engine
// carries the queues out.
#include <cstddef>
#include <cstdint>

class GameObj;
class Level;

// Queues the object for deletion at the next deletion point (once, whatever the count).
void QueueObjectDeletion(GameObj* obj);
// Queues a move of the object to (x, y) of the level; a null level takes it off its level.
// A move of the hero to a square outside the level is refused with a diagnostic; any other
// object whose move comes for such a square is queued for deletion, its other moves dropped.
void QueueObjectMove(GameObj* obj, int32_t x, int32_t y, Level* level);
// Drops every pending move of the object.
void CancelQueuedMoves(GameObj* obj);
void ClearQueuedMoves();
// Carries out the queued deletions now.
void DeleteQueuedObjects();
// Queued deletions, then every pending move.
void ApplyDeferredObjectMoves();
// For tests and the level teardown.
size_t QueuedDeletionCount();
size_t QueuedMoveCount();
// True when a pending move will put an object on square (x, y) of the level.
bool IsQueuedMoveTarget(const Level* level, int32_t x, int32_t y);
// True when a pending move will put an object of that class key on square (x, y) of the level.
bool IsQueuedMoveTarget(const Level* level, int32_t x, int32_t y, uint32_t classKey);

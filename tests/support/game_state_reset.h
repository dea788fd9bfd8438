#pragma once
// The process-wide game state the tests touch, put back to how a fresh test program starts:
// the data tables, the hero and the levels, the sprite table (with every pointer the game
// keeps into it), the queues, the ticker, the store and the per-game flags.
//
// Every test starts from this state: a listener of the test program calls it before each
// test, so a test passes alone, after any other test and in any order. A test that plays two
// games in a row calls it between them where the game itself would start afresh.
//
// Pointers the previous test may have left dangling (a hero or a level it owned itself) are
// dropped without being deleted; what the tables own is freed.
void ResetTestGameState();

#pragma once
// The spell effect kinds that act on one item: the hero's worn artifacts (corruption) and an
// item picked by an item-targeted spell (a wand's magic reshaped, an artifact sent to the
// warehouse, reshaped or cleansed). Every function ignores a null item or one of the wrong kind.
#include <string>

class Item;
class Player;

// One of the hero's worn artifact weapons or armour pieces loses power: a resistance roll for
// the hero first (a resisted roll only shows its feedback). Nothing when none is worn.
void CorruptWornArtifact(Player* hero);
// A wand takes a random wand kind (its spell, definition and icon); its charges stay.
void RandomizeWand(Item* item);
// After a Yea, an artifact weapon or armour piece is traded for experience and goes away.
void SacrificeArtifact(Item* item);
// After a Yea, an artifact weapon or armour piece gets a new artifact of its old power; a
// weapon or armour piece that is no artifact is told it cannot take part.
void RandomizeArtifact(Item* item);
// The damage and resistance bonuses of an artifact weapon's granted buff become the weapon's
// own (it saves them); an armour piece, which always has its definition's, keeps its buff as it is.
void CleanseArtifact(Item* item);

// The texts the four item kinds show.
extern const char* const kSacrificeQuestion;
extern const char* const kReshapeQuestion;
extern const char* const kNoArtifactAnswer;

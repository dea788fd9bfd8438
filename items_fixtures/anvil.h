#pragma once
// The Anvil of Krong: a one-use shrine for weapons and armour. The first item dropped on it
// uses it up: a weapon or armour piece is blessed (it becomes an artifact or gains powers) or,
// from the hero's second anvil use on, may be cursed; any other item is refused.
//
// Save block after the GameObj block: used (word), dead (word).
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

class Item;

class Anvil : public GameObj {
public:
    Anvil();
    explicit Anvil(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    bool IsAnvil() override { return true; }
    std::string GetName() override { return "Anvil of Krong"; }
    const char* GetActionVerb() override { return "Perform Feats of Crafting"; }
    // Used: the depleted text (hero adjacent) or 0 (not adjacent); fresh: the invitation.
    int32_t Activate() override;
    // Blesses, curses or refuses the item and uses the anvil up; a used anvil only answers.
    int32_t UseItemOn(Item* item) override;
    void DrawOnMinimap(int32_t x, int32_t y, int32_t zoom) override;

    // The Kronian ritual: a spent anvil becomes usable again, once; later it only answers.
    void Recharge();

    int32_t used = 0;
    int32_t dead = 0;  // which spent picture a used anvil shows
    bool recharged = false;  // the ritual was performed on it; not saved

    // Fresh, or the spent picture ("dead" or worn) once used.
    void RefreshPicture();
};

// The outcome of the last anvil use in this game: 2 after a curse, 0 otherwise.
extern int32_t LastAnvilOutcome;
// Forgets the last outcome (a new game).
void ResetAnvilMemory();

// The boxes the anvil shows; tests replace them. Default to the real dialogs.
struct AnvilDialogSet {
    int32_t (*show)(const char* text, const char* firstArt, const char* secondArt);
    void (*krong)(Item* artifact, bool pleased, const char* text);
};
extern AnvilDialogSet AnvilDialogs;

#pragma once
// "Fountain": the hero beside it may drink once; a random fountain record of the spell
// database says what happens and casts its spell at the hero. Then it stays dry. Save block
// after the GameObj block: dry (word).
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

// The two dialogs drinking shows: the drink question (1 drink, 0 not) and the text of what
// happened. They are the user interface's dialogs; a test may answer them itself.
struct FountainDialogSet {
    int32_t (*askToDrink)();
    void (*showText)(const char* text);
};
extern FountainDialogSet FountainDialogs;

class Fountain : public GameObj {
public:
    Fountain();
    explicit Fountain(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return dry != 0 ? "Empty Fountain" : "Fountain"; }
    const char* GetActionVerb() override { return "Drink"; }
    void Destroy() override;
    int32_t BumpedByPlayer() override { return Activate(); }
    // 0 when dry or the hero is not on an orthogonal neighbour; 1 otherwise (also when the
    // hero declines to drink, which leaves the fountain full).
    int32_t Activate() override;

    int32_t dry = 0;

private:
    void RefreshPicture();
};

#pragma once
// The statues of the Diggle gods and the lutefisk statue of the Vededuve Rez.
// Praying to a Diggle god replaces the hero's Diggle-god blessing with the god's spell; the
// lutefisk statue takes lutefisk into the hero's tithe and, the likelier the higher the tithe,
// answers once with an artifact weapon or armour.
//
// DiggleGod save block after the GameObj block: godName (string). LutefiskStatue: spent (word).
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

class Item;

class DiggleGod : public GameObj {
public:
    explicit DiggleGod(const char* godName);
    explicit DiggleGod(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Statue of the " + godName; }
    const char* GetActionVerb() override { return "Pray"; }
    bool IsMovable() override { return false; }
    void DrawOnMinimap(int32_t x, int32_t y, int32_t zoom) override;
    // The prayer: asks, removes every Diggle-god blessing of the hero and casts the god's spell.
    int32_t Activate() override;

    std::string godName;

private:
    void RefreshPicture();
};

class LutefiskStatue : public GameObj {
public:
    LutefiskStatue();
    explicit LutefiskStatue(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Lutefisk Statue"; }
    void DrawOnMinimap(int32_t x, int32_t y, int32_t zoom) override;
    int32_t BumpedByPlayer() override { return Activate(); }
    // Shows the hero's tithe; 0 once spent.
    int32_t Activate() override;
    // Takes lutefisk into the tithe (and maybe answers with a gift); refuses anything else.
    int32_t UseItemOn(Item* item) override;

    int32_t spent = 0;

    // The intact or broken (unspent or spent) picture.
    void RefreshPicture();
};

// The boxes the shrines show; tests replace them. Default to the real dialogs.
struct ShrineDialogSet {
    int32_t (*ask)(const char* text, const char* firstArt, const char* secondArt);
    void (*tithe)(int32_t count);
    void (*gift)(Item* item);
};
extern ShrineDialogSet ShrineDialogs;

// The refusal lines of the Vededuve Rez, drawn as rand() / 4682.
constexpr int32_t kLutefiskRefusalCount = 7;
extern const char* const kLutefiskRefusals[kLutefiskRefusalCount];

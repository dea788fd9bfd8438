#pragma once
// The statues of the Diggle gods and the lutefisk statue of the Vededuve Rez.
//
// Stand-in: the records, pictures and registrations are built; praying, the tithe and the
// gifts are still to be built.
//
// DiggleGod save block after the GameObj block: godName (string). LutefiskStatue: spent (word).
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"

class DiggleGod : public GameObj {
public:
    explicit DiggleGod(const char* godName);
    explicit DiggleGod(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Statue of the " + godName; }
    const char* GetActionVerb() override { return "Pray"; }
    bool IsMovable() override { return false; }

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

    int32_t spent = 0;

    // The intact or broken (unspent or spent) picture.
    void RefreshPicture();
};

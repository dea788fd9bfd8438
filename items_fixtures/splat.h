#pragma once
// A mess on the floor left by creatures: ashes, blood, ectoplasm, goo or ichor, in one of
// six pictures. It neither blocks movement nor sight. Save block after the GameObj block:
// kind, variant.
#include <cstdint>
#include <string>

#include "levels/game_obj.h"

class Level;

class Splat : public GameObj {
public:
    // kindWord names the kind ("blood" for a word that is none of the five).
    Splat(Level* onLevel, const std::string& kindWord, int32_t variantNumber);
    explicit Splat(SaveReader& in);
    // Prints "deleting a splat".
    ~Splat() override;

    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    std::string GetName() override { return std::string(); }
    const char* GetActionVerb() override { return nullptr; }
    void Destroy() override;

    // The picture of the kind and variant: "dungeon/mess_<kind>0<variant + 1>.png".
    std::string PictureName() const;

    int32_t kind = 1;
    int32_t variant = 0;

private:
    void RefreshPicture();
};

// The index of a kind word (0 ashes .. 4 ichor), 1 (blood) for any other word.
int32_t SplatKindIndex(const std::string& word);
// The word of a kind index; "blood" outside 0..4.
const char* SplatKindWord(int32_t kind);
// The class key of Splat (to find a splat among the objects of a square).
uint32_t SplatClassHash();
// True when square (x, y) of the level holds a splat or one is on its way there this turn.
// Creatures leave a splat where they are hit only when this is false: one splat a square.
bool SquareHasSplat(const Level* level, int32_t x, int32_t y);

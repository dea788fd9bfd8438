#pragma once
// A bookshelf: searched once, it teaches the hero a crafting recipe not yet known (the one
// whose first output its recipe name names, else a random one) or nothing. Save block after
// the GameObj block: searched (word 0/1); the recipe name is not saved.
#include <cstdint>
#include <string>

#include "levels/game_obj.h"

class Bookshelf : public GameObj {
public:
    Bookshelf();
    explicit Bookshelf(SaveReader& in);

    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    std::string GetName() override { return "Bookshelf"; }
    const char* GetActionVerb() override { return searched ? nullptr : "Search"; }
    int32_t BumpedByPlayer() override { return Activate(); }
    int32_t Activate() override;
    // The minimap mark for the zoom index: "bookshelf", or "bookshelf_used" once searched.
    void DrawOnMinimap(int32_t px, int32_t py, int32_t zoom) override;

    bool searched = false;
    std::string recipeName;

private:
    void RefreshPicture();
};

// The recipe a search picks (an index into Recipes), or -1: the named recipe, else up to 99
// random draws for one that is hidden or unknown to the hero.
int32_t ChooseBookshelfRecipe(const std::string& recipeName);

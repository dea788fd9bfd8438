#include "items_fixtures/bookshelf.h"
#include "items_fixtures/fixture.h"

#include <algorithm>
#include <string>

#include "core/event_log.h"
#include "core/random.h"
#include "creatures/player.h"
#include "interface/ui_services.h"
#include "items_fixtures/crafting.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item_kinds.h"
#include "levels/tutorial.h"
#include "media/sound.h"
#include "media/sprite.h"
#include "media/sprite.h"
#include "store_platform/stats.h"

SERIALIZABLE_REGISTRATION(Bookshelf);

namespace {

constexpr int32_t kBookshelfDraws = 100;

bool HeroKnowsRecipe(const Player* hero, int32_t index) {
    if (hero == nullptr || index < 0 || static_cast<size_t>(index) >= Recipes.size()) return false;
    const int32_t tool = Recipes[static_cast<size_t>(index)].toolType;
    if (tool < 0 || tool >= kToolTypeCount) return false;
    const std::vector<int32_t>& known = hero->knownRecipes[tool];
    return std::find(known.begin(), known.end(), index) != known.end();
}

}  // namespace

Bookshelf::Bookshelf() {
    RefreshPicture();
}

Bookshelf::Bookshelf(SaveReader& in) : GameObj(in) {
    searched = in.ReadBool();
    RefreshPicture();
}

bool Bookshelf::Save(SaveWriter& out) {
    bool ok = GameObj::Save(out);
    return out.WriteBool(searched) && ok;
}

uint32_t Bookshelf::GetClassHash() { return GetRegisteredClassHash("Bookshelf"); }
int32_t Bookshelf::GetClassIndex() { return GetRegisteredClassIndex("Bookshelf"); }

void Bookshelf::RefreshPicture() {
    anchorMode = 1;
    blocksMovement = 1;
    blocksSight = 0;
    Sprite* sprite = SpriteMgr_GetOrLoad("Bookshelf", "dungeon/bookshelf.spr");
    if (sprite != nullptr) bob.SetSprite(sprite);
    bob.playing = false;
    if (searched || sprite == nullptr) {
        bob.frame = 0;
        return;
    }
    // A full shelf: one of frames 1 .. last (RandomInt gives 0 for a count outside its range).
    bob.frame = 1 + RandomInt(static_cast<int32_t>(sprite->frameCount) - 1);
}

int32_t ChooseBookshelfRecipe(const std::string& recipeName) {
    const int32_t n = static_cast<int32_t>(Recipes.size());
    if (!recipeName.empty()) {
        for (int32_t i = 0; i < n; ++i) {
            const Recipe& recipe = Recipes[static_cast<size_t>(i)];
            if (!recipe.outputs.empty() && recipe.outputs[0].name == recipeName) return i;
        }
        return -1;
    }
    // An empty list has nothing to draw from.
    if (n <= 0) return -1;
    for (int32_t draw = 1; draw < kBookshelfDraws; ++draw) {
        const int32_t index = RandomInt(n);
        const Recipe& recipe = Recipes[static_cast<size_t>(index)];
        if (recipe.hidden || !HeroKnowsRecipe(CurrentPlayer, index)) return index;
    }
    return -1;
}

int32_t Bookshelf::Activate() {
    if (!IsAdjacentToPlayer() || GetCursorItem() != nullptr || searched) return 0;
    LogEvent("Player used bookshelf");
    AddCollectedStat("Bookshelves perused", 1);
    bob.frame = 0;
    PlaySFX("turnpage");
    const int32_t index = ChooseBookshelfRecipe(recipeName);
    Player* hero = CurrentPlayer;
    if (index < 0 || hero == nullptr || HeroKnowsRecipe(hero, index)) {
        ShowItemDialog("You find nothing of interest in the bookshelf.", "ui/dialog_but_ok", nullptr);
        searched = true;
        return 1;
    }
    const Recipe& recipe = Recipes[static_cast<size_t>(index)];
    ShowFindRecipeDialog(&recipe);
    if (recipe.toolType >= 0 && recipe.toolType < kToolTypeCount) hero->knownRecipes[recipe.toolType].push_back(index);
    hero->RefreshCraftableRecipes();
    if (CurrentTutorial != nullptr && !recipe.outputs.empty()) NotifyTutorial(16, recipe.outputs[0].name);
    searched = true;
    return 1;
}

void Bookshelf::DrawOnMinimap(int32_t px, int32_t py, int32_t zoom) {
    DrawFixtureMinimapIcon(searched ? "bookshelf_used" : "bookshelf", px, py, zoom);
}

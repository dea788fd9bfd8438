#include "items_fixtures/crafting.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

#include "core/random.h"
#include "creatures/db_xml.h"
#include "creatures/player.h"
#include "items_fixtures/inventory.h"
#include "items_fixtures/item.h"
#include "items_fixtures/item_creation.h"
#include "items_fixtures/item_db.h"
#include "items_fixtures/item_kinds.h"
#include "items_fixtures/toolkit_windows.h"
#include "levels/object_queue.h"
#include "levels/tutorial.h"
#include "media/sound.h"
#include "media/ticker.h"
#include "store_platform/stats.h"

std::vector<Recipe> Recipes;
CraftPanelState CraftPanel;

namespace {

constexpr const char* kLabel = "craftDB";
const char* const kToolTags[kToolTypeCount] = {"alchemy", "still", "grinder", "ingot", "tinkerer", "smithing", "lathe"};

struct CraftParse {
    DbParse db;  // first: the parse helpers reach it through the user data
    bool inCraft = false;
    Recipe current;
};

void StartElement(void* data, const XML_Char* el, const XML_Char** a) {
    CraftParse& st = *static_cast<CraftParse*>(data);
    if (ElementIs(el, "craft")) {
        st.current = Recipe();
        st.current.hidden = DbBool(a, "hidden", false);
        st.inCraft = true;
        return;
    }
    // Parts of a recipe count only inside a craft element.
    if (!st.inCraft) return;
    Recipe& r = st.current;
    if (ElementIs(el, "input")) {
        if (r.inputCount >= kRecipeInputSlots) {
            st.db.Warn(kLabel, "a recipe takes at most four inputs; the extra input is ignored");
            return;
        }
        r.inputNames[r.inputCount] = DbString(a, "name", "");
        ++r.inputCount;
    } else if (ElementIs(el, "tool")) {
        r.toolTag = DbString(a, "tag", "");
        r.toolType = std::max(0, ToolTypeOfTag(r.toolTag));
    } else if (ElementIs(el, "output")) {
        RecipeOutput out;
        out.name = DbString(a, "name", "");
        out.skill = DbInt(a, "skill", 0);
        out.amount = DbInt(a, "amount", 0);
        // The same definition CreateItemByName makes, so crafted items match later recipes.
        out.def = FindItemDefByName(out.name);
        r.outputs.push_back(out);
    }
}

void EndElement(void* data, const XML_Char* el) {
    CraftParse& st = *static_cast<CraftParse*>(data);
    if (!ElementIs(el, "craft") || !st.inCraft) return;
    Recipe& r = st.current;
    for (int32_t i = 0; i < r.inputCount; ++i) r.inputDefs[i] = FindItemDefByName(r.inputNames[i]);
    Recipes.push_back(r);
    st.current = Recipe();
    st.inCraft = false;
}

// How often each carried item has been taken by the search so far.
using TakenCounts = std::map<const Item*, int32_t>;

Item* FindUntaken(const ItemDef* definition, TakenCounts& taken) {
    auto fits = [&](Item* item) {
        // Unpaid shop goods are never an ingredient: the product would be the hero's own.
        if (item == nullptr || item->def != definition || item->unpaid != 0) return false;
        const int32_t uses = std::max(1, item->count);
        return taken[item] < uses;
    };
    for (Item* item : InventoryGrid.cells) {
        if (fits(item)) return item;
    }
    if (CurrentPlayer != nullptr) {
        for (Item* item : CurrentPlayer->quickSlots) {
            if (fits(item)) return item;
        }
    }
    return nullptr;
}

void RecordCrafted(Item* item, const std::string& toolTag) {
    if (CurrentTutorial != nullptr) NotifyTutorial(15, item->GetItemName());
    item->crafted = true;
    const std::string name = item->def != nullptr ? item->def->name : std::string();
    if (name == "Omnipotent Pork Sword") AwardAchievement("ACHIEVEMENT_PORK_SWORD");
    switch (item->type) {
        case kItemPotion:
            AddToStat("STAT_POTIONS_MIXED", 1);
            if (GetStatInt("STAT_POTIONS_MIXED") == 1000) AwardAchievement("ACHIEVEMENT_MASTER_BREWER");
            break;
        case kItemWand:
            AddToStat("STAT_WANDS_REPAIRED", 1);
            if (GetStatInt("STAT_WANDS_REPAIRED") == 500) AwardAchievement("ACHIEVEMENT_WAND_REPAIR");
            break;
        case kItemFood:
            if (name == "Diggle Nog") AwardAchievement("ACHIEVEMENT_EGGNOG");
            break;
        case kItemWeapon: AwardAchievement("ACHIEVEMENT_MAKE_THIS"); break;
        case kItemArmour: AwardAchievement("ACHIEVEMENT_PERSONAL_PROTECTION"); break;
        case kItemReagent:
            if (toolTag == "ingot") AwardAchievement("ACHIEVEMENT_HE_WHO_SMELT_IT");
            break;
        default: break;
    }
}

}  // namespace

int32_t ToolTypeOfTag(const std::string& tag) {
    for (int32_t i = 0; i < kToolTypeCount; ++i) {
        if (tag == kToolTags[i]) return i;
    }
    return -1;
}

const char* ToolTagOfType(int32_t toolType) {
    return toolType >= 0 && toolType < kToolTypeCount ? kToolTags[toolType] : "";
}

int32_t CraftingStatOfTag(const std::string& tag) {
    // The one mapping of tool tags to statistics, for the rows, the filter and the roll:
    // every tag but the named ones (the grinder's among them) takes alchemy.
    if (tag == "smithing") return kStatSmithing;
    if (tag == "lathe") return kStatLathe;
    if (tag == "ingot" || tag == "tinkerer") return kStatTinkerer;
    return kStatAlchemy;
}

int32_t CraftingLevel(const Player* hero, const std::string& tag) {
    if (hero == nullptr) return 0;
    // "ingot" takes the better of smithing and tinkering (shown with the tinkerer's icon).
    if (tag == "ingot") return std::max(hero->stat[kStatSmithing], hero->stat[kStatTinkerer]);
    return hero->stat[CraftingStatOfTag(tag)];
}

bool craftDBLoadText(const std::string& text, const char* file) {
    CraftParse st;
    const bool ok = ParseDatabase(text.data(), text.size(), kLabel, file, StartElement, EndElement, &st.db);
    SyncToolkitWindows();
    return ok;
}

void craftDBLoad(const char* file) {
    CraftParse st;
    ParseDatabaseFile(file, kLabel, StartElement, EndElement, &st.db);
    // The item database has been read by now: every toolkit layout gets its window.
    SyncToolkitWindows();
}

void ClearRecipes() {
    Recipes.clear();
    CraftPanel.current = -1;
}

void LearnDefaultRecipes() {
    Player* hero = CurrentPlayer;
    if (hero == nullptr) return;
    for (std::vector<int32_t>& known : hero->knownRecipes) known.clear();
    for (size_t i = 0; i < Recipes.size(); ++i) {
        const Recipe& recipe = Recipes[i];
        if (recipe.hidden || recipe.toolType < 0 || recipe.toolType >= kToolTypeCount) continue;
        hero->knownRecipes[recipe.toolType].push_back(static_cast<int32_t>(i));
    }
    hero->RefreshCraftableRecipes();
}

void RebuildCraftableRecipes(Player* hero) {
    if (hero == nullptr) return;
    for (int32_t tool = 0; tool < kToolTypeCount; ++tool) {
        std::vector<int32_t>& shown = hero->craftableRecipes[tool];
        shown.clear();
        for (int32_t index : hero->knownRecipes[tool]) {
            if (index < 0 || static_cast<size_t>(index) >= Recipes.size()) continue;
            if (RecipePassesFilter(Recipes[static_cast<size_t>(index)])) shown.push_back(index);
        }
    }
    CraftPanel.scroll = 0;
}

bool FindRecipeIngredients(const Recipe& recipe, std::vector<Item*>* found) {
    TakenCounts taken;
    std::vector<Item*> used;
    for (int32_t i = 0; i < recipe.inputCount && i < kRecipeInputSlots; ++i) {
        const ItemDef* definition = recipe.inputDefs[i];
        Item* item = definition != nullptr ? FindUntaken(definition, taken) : nullptr;
        if (item == nullptr) return false;
        ++taken[item];
        used.push_back(item);
    }
    if (found != nullptr) found->swap(used);
    return true;
}

bool RecipePassesFilter(const Recipe& recipe) {
    if (CraftPanel.filterIngredients && !FindRecipeIngredients(recipe, nullptr)) return false;
    if (CraftPanel.filterSkill) {
        const int32_t level = CraftingLevel(CurrentPlayer, recipe.toolTag);
        bool any = false;
        for (const RecipeOutput& out : recipe.outputs) any = any || out.skill <= level;
        if (!any) return false;
    }
    if (CraftPanel.filterSecret) return recipe.hidden;
    return true;
}

bool RollRecipeOutput(ToolkitWindow& window, const Recipe& recipe) {
    const int32_t level = CraftingLevel(CurrentPlayer, recipe.toolTag);
    bool found = false;
    int32_t best = 0;
    for (const RecipeOutput& out : recipe.outputs) {
        if (out.skill <= level && (!found || out.skill > best)) {
            best = out.skill;
            found = true;
        }
    }
    if (!found) {
        AddText("You are not yet crafty enough to craft this craft!", true);
        return false;
    }
    std::vector<const RecipeOutput*> candidates;
    for (const RecipeOutput& out : recipe.outputs) {
        if (out.skill == best) candidates.push_back(&out);
    }
    const int32_t pick = RandomInt(static_cast<int32_t>(candidates.size()));
    const RecipeOutput& out = *candidates[static_cast<size_t>(pick)];
    // An output no definition makes cannot come out: the roll fails and nothing is used up.
    if (out.def == nullptr) {
        std::printf("craftDB: the recipe output \"%s\" names no item\n", out.name.c_str());
        return false;
    }
    const int32_t amount = std::max(1, out.amount);
    if (window.output != nullptr && window.output->def != nullptr && window.output->def->name == out.name) {
        if (!StackHasRoomFor(window.output, amount)) return false;  // a stack a save could not hold
        window.output->count += amount;
    } else {
        if (window.output != nullptr) return false;  // the slot holds something else
        if (window.layout != nullptr && !window.layout->sound.empty()) PlaySFX(window.layout->sound.c_str());
        Item* item = CreateItemByName(out.name);
        if (item == nullptr) return false;
        item->count = amount;
        if (amount > 1) item->stackable = 1;
        window.output = item;
    }
    RecordCrafted(window.output, recipe.toolTag);
    return true;
}

void CraftRecipeFromPanel(int32_t recipeIndex) {
    if (recipeIndex < 0 || static_cast<size_t>(recipeIndex) >= Recipes.size() || CurrentPlayer == nullptr) return;
    const Recipe& recipe = Recipes[static_cast<size_t>(recipeIndex)];
    for (const ToolkitWindow& window : ToolkitWindows) {
        if (window.kind == "lutefisk" || window.kind != recipe.toolTag) continue;
        if (FindToolkitOfKind(window.kind.c_str()) == nullptr) {
            AddText("You are missing a craft tool!", true);
            return;
        }
    }
    std::vector<Item*> ingredients;
    if (!FindRecipeIngredients(recipe, &ingredients)) {
        AddText("You are missing craftables. Curses!", true);
        return;
    }
    ToolkitWindow* window = nullptr;
    for (ToolkitWindow& w : ToolkitWindows) {
        if (w.kind == recipe.toolTag) {
            window = &w;
            break;
        }
    }
    if (window == nullptr) return;
    // Something left in the window's output from before goes to the hero first.
    if (window->output != nullptr &&
        (window->output->def == nullptr || recipe.outputs.empty() || window->output->def->name != recipe.outputs[0].name)) {
        Item* old = window->output;
        window->output = nullptr;
        PutItemInBag(old);
    }
    if (!RollRecipeOutput(*window, recipe)) return;
    Item* made = window->output;
    window->output = nullptr;
    if (made != nullptr && !AddItemToInventory(made, 0)) DropItemToFloor(made, CurrentPlayer->x, CurrentPlayer->y);
    for (Item* item : ingredients) {
        if (item->count >= 2) {
            --item->count;
            continue;
        }
        // Out of the backpack and off the belt before it goes.
        RemoveItemFromGrid(item);
        RemoveItemFromQuickbar(item);
        item->count = 0;
        QueueObjectDeletion(item);
    }
    DeleteQueuedObjects();
}

int32_t ShownRecipeAt(int32_t position) {
    if (CurrentPlayer == nullptr || CraftPanel.tool < 0 || CraftPanel.tool >= kToolTypeCount) return -1;
    const std::vector<int32_t>& shown = CurrentPlayer->craftableRecipes[CraftPanel.tool];
    if (position < 0 || static_cast<size_t>(position) >= shown.size()) return -1;
    return shown[static_cast<size_t>(position)];
}

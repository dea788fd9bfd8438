// The find-recipe notice draws each tool as the first picture of the tool's pair that the
// crafting panel's art holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../media/image_test_support.h"
#include "interface/hud.h"
#include "interface/inventory_window.h"

namespace media_test {
namespace {

class RecipeToolPictures : public DataFolderTest {};

TEST_F(RecipeToolPictures, EachToolShowsTheFirstPictureOfItsPair) {
    const char* const tools[] = {"alchemy_kit", "distilling_kit", "ingot_grinder", "ingot_press",
                                 "tinkerer_kit", "travel_anvil", "n-dimensional_lathe"};
    // Both pictures of every pair, each of its own width, so each surface is told apart.
    for (int32_t tool = 0; tool < 7; ++tool) {
        for (int32_t second = 0; second < 2; ++second) {
            const int width = 2 + 2 * tool + second;
            Put(std::string("ui/crafting/recipes_tools_") + tools[tool] + std::to_string(second) + ".png",
                EncodePng(width, 3, 4, std::vector<uint8_t>(static_cast<size_t>(width) * 3 * 4, 77)));
        }
    }
    Mount();
    LoadRecipeBookArt();
    for (int32_t tool = 0; tool < 7; ++tool) {
        SDL_Surface* picture = RecipeToolPicture(tool);
        ASSERT_NE(picture, nullptr) << tools[tool];
        EXPECT_EQ(picture->w, 2 + 2 * tool) << tools[tool];
    }
    EXPECT_EQ(RecipeToolPicture(-1), nullptr);
    EXPECT_EQ(RecipeToolPicture(7), nullptr);
}

}  // namespace
}  // namespace media_test

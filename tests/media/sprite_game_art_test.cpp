// Every picture of the assembled game folder loads with the game's own loaders, without a
// broken-art report: the generated placeholder art matches what the loaders expect.
#include <gtest/gtest.h>
#include <physfs.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "media/image.h"
#include "media/sprite.h"
#include "platform/vfs.h"
#include "support/platform_fixtures.h"

namespace {

std::vector<std::string> FilesWithExtension(const std::string& root, const std::string& ext) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().extension() != ext) continue;
        files.push_back(std::filesystem::relative(entry.path(), root).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(GameArt, EverySpriteFileAndPictureLoads) {
    const std::string root = VAULTMERE_GAME_ROOT;
    if (!std::filesystem::exists(root + "/ui")) GTEST_SKIP() << "game folder not assembled";
    const bool wasInit = PHYSFS_isInit() != 0;
    if (wasInit) PHYSFS_deinit();
    {
        ScopedWorkingDir cwd(root);
        ASSERT_TRUE(cwd.ok());
        MountDataTree();
        std::vector<std::string> lists;
        for (const std::string& xml : FilesWithExtension(root, ".xml")) {
            std::ifstream in(root + "/" + xml);
            std::stringstream text;
            text << in.rdbuf();
            if (text.str().find("<frame") != std::string::npos) lists.push_back(xml);
        }
        const std::vector<std::string> sprites = FilesWithExtension(root, ".spr");
        EXPECT_FALSE(sprites.empty());
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        std::vector<std::string> failed;
        std::vector<std::string> spriteFiles = sprites;
        spriteFiles.insert(spriteFiles.end(), lists.begin(), lists.end());
        for (const std::string& file : spriteFiles) {
            Sprite sprite;
            if (!sprite.Load(file.c_str(), "", -1, 0, 0) || sprite.frameCount == 0) failed.push_back(file);
        }
        for (const std::string& png : FilesWithExtension(root, ".png")) {
            SDL_Surface* s = LoadAlphaImage(png.c_str());
            if (s == nullptr) {
                failed.push_back(png);
            } else {
                SDL_FreeSurface(s);
            }
        }
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(failed.empty()) << failed.size() << " files, first " << failed.front();
        EXPECT_EQ(err, "");
        EXPECT_EQ(out, "");
        PHYSFS_deinit();
    }
    if (wasInit) PHYSFS_init(nullptr);
}

}  // namespace

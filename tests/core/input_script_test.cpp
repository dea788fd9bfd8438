// The input-script text: the lines a recording writes read back as the same events.
#include <gtest/gtest.h>

#include "core/input_script.h"

#include <sstream>
#include <string>
#include <vector>

namespace {

SDL_Event Key(bool down, SDLKey key, SDLMod mods) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mods;
    return e;
}

SDL_Event Button(bool down, int button, int x, int y) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = static_cast<Uint8>(button);
    e.button.x = static_cast<Uint16>(x);
    e.button.y = static_cast<Uint16>(y);
    return e;
}

TEST(InputScript, RecordedLinesAreExactAndReadBackAsTheSameEvents) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 640;
    motion.motion.y = 7;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    const std::vector<std::pair<SDL_Event, std::string>> cases = {
        {Key(true, SDLK_LSHIFT, KMOD_LSHIFT), "keydown left_shift shift"},
        {Key(false, SDLK_x, static_cast<SDLMod>(KMOD_LSHIFT | KMOD_LCTRL)), "keyup x shift+ctrl"},
        {Key(true, SDLK_HASH, KMOD_NONE), "keydown 35"},  // '#' would start a comment
        {Key(true, SDLK_WORLD_5, KMOD_NONE), "keydown 165"},
        {motion, "move 640 7"},
        {Button(true, 3, 12, 34), "buttondown 3 12 34"},
        {Button(false, 1, 0, 65535), "buttonup 1 0 65535"},
        {quit, "quit"},
    };
    std::string text;
    for (const auto& c : cases) {
        EXPECT_EQ(ScriptLineFor(c.first), c.second);
        text += c.second + "\n";
    }
    SDL_Event active{};
    active.type = SDL_ACTIVEEVENT;
    EXPECT_EQ(ScriptLineFor(active), "");

    std::istringstream in(text + FramesLine({{16, 3}, {17, 1}, {0, 2}}) + "\nseed 4000000000\n");
    ParsedScript parsed;
    ASSERT_TRUE(ParseInputScript(in, "test", parsed));
    ASSERT_EQ(parsed.commands.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(ScriptLineFor(parsed.commands[i].event), cases[i].second) << i;
    }
    ASSERT_EQ(parsed.frames.size(), 3u);
    EXPECT_EQ(parsed.frames[0].ms, 16u);
    EXPECT_EQ(parsed.frames[0].count, 3u);
    EXPECT_EQ(parsed.frames[2].ms, 0u);
    EXPECT_EQ(parsed.frames[2].count, 2u);
    EXPECT_TRUE(parsed.hasSeed);
    EXPECT_EQ(parsed.seed, 4000000000u);
    EXPECT_EQ(FramesLine({{16, 3}, {17, 1}, {0, 2}}), "frames 16x3 17 0x2");
}

}  // namespace

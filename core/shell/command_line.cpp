#include "core/shell/command_line.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

#include <physfs.h>

#include "core/shell/config.h"
#include "core/high_scores.h"
#include "core/shell/startup.h"
#include "creatures/player.h"
#include "creatures/skill_db.h"
#include "levels/room_script_docs.h"
#include "core/shell/game_lifecycle.h"
#include "core/user_text.h"
#include "core/xml_util.h"
#include "platform/platform.h"
#include "store_platform/stats.h"



namespace {

bool Matches(const char* arg, const char* option) {
    return StringStartsWith(arg, option);
}

// Options that take the next argument as their value. Given as the last
// argument there is no value: the option is skipped with a diagnostic.
bool TakeValue(int argc, char** argv, int& i, const char* option) {
    if (i + 1 >= argc || argv[i + 1] == nullptr) {
        printf("%s: missing value, option ignored\n", option);
        return false;
    }
    ++i;
    return true;
}

void SetDebugFlag(uint32_t bit) {
    CmdLine.debugFlags |= bit;
}

}  // namespace

bool StringStartsWith(std::string text, std::string prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool ParseCommandLine(int argc, char** argv) {
    if (argc < 1 || argv == nullptr) {
        return false;
    }
    printf("argv[i]: %s\n", argv[0] != nullptr ? argv[0] : "");
    if (!PHYSFS_isInit()) {
        PHYSFS_init(argv[0]);
    }

    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr) {
            continue;
        }
        // Independent tests; a value option moves on to its value, and the
        // remaining tests of this pass look at that value.
        if (Matches(argv[i], "-docs")) {
            WriteRoomScriptDocs();
            fflush(stdout);
            ExitEarly(0);
        }
        if (Matches(argv[i], "-debug-flag")) {
            SetDebugFlag(kDebugGeneral);
            OpenDebugConsole();
        }
        if (Matches(argv[i], "-testroom") && TakeValue(argc, argv, i, "-testroom")) {
            CmdLine.testRoomName = argv[i];
            CmdLine.testRoom = true;
        }
        if (Matches(argv[i], "-x") && TakeValue(argc, argv, i, "-x")) {
            CmdLine.testRoomX = ParseDecimalInt32(argv[i]);
        }
        if (Matches(argv[i], "-y") && TakeValue(argc, argv, i, "-y")) {
            CmdLine.testRoomY = ParseDecimalInt32(argv[i]);
        }
        if (Matches(argv[i], "-debug-flag-loads")) {
            SetDebugFlag(kDebugLoads);
        }
        if (Matches(argv[i], "-debug-flag-key-bindings")) {
            SetDebugFlag(kDebugKeyBindings);
        }
        if (Matches(argv[i], "-debug-flag-room-scripts")) {
            SetDebugFlag(kDebugRoomScripts);
        }
        if (Matches(argv[i], "-debug-flag-audio")) {
            SetDebugFlag(kDebugAudio);
        }

        // At most one of these per argument: the first that matches.
        const char* arg = argv[i];
        if (Matches(arg, "-w")) {
            CmdLine.fullScreen = false;
            CmdLine.windowForced = true;
        } else if (Matches(arg, "-res-1024")) {
            CmdLine.res1024 = true;
            CmdLine.screenWidth = 1024;
            CmdLine.screenHeight = 768;
        } else if (Matches(arg, "-no-initial-config")) {
            CmdLine.initialConfig = false;
            CmdLine.splashShown = true;
        } else if (Matches(arg, "-startuptime")) {
            CmdLine.startupTime = true;
        } else if (Matches(arg, "-opengl")) {
            CmdLine.openGL = true;
        } else if (Matches(arg, "-nomusic")) {
            CmdLine.music = false;
        } else if (Matches(arg, "-nosound")) {
            CmdLine.sound = false;
        } else if (Matches(arg, "-directx")) {
#ifdef _WIN32
            _putenv("SDL_VIDEODRIVER=directx");
#else
            // There is no DirectX video driver here; forcing it would stop SDL
            // from starting at all.
            printf("-directx: not available on this platform, ignored\n");
#endif
        } else if (Matches(arg, "-nukesteamcloud")) {
            CmdLine.clearCloud = true;
        } else if (Matches(arg, "-publisher")) {
            CmdLine.publisher = true;
        }
    }
    return true;
}

std::string GetLoadFilenameArg(int argc, char** argv) {
    static const std::string kOption = "-load-filename=";
    std::string name;
    for (int i = 1; i < argc && argv != nullptr; ++i) {
        if (argv[i] != nullptr && StringStartsWith(argv[i], kOption)) {
            name = std::string(argv[i]).substr(kOption.size());
        }
    }
    return name;
}

Player* CreatePlayerFromCommandLine(int argc, char** argv) {
    Player* hero = NewCreationHero(true);
    hero->permadeath = 1;
    hero->quickie = 0;
    hero->name = "Random Hero";
    // A random build of seven, so that last.txt records the build the hero really has.
    PickRandomSkills(hero->skillList);

    static const std::string kDifficulty = "-player-difficulty=";
    static const std::string kPermadeath = "-player-permadeath=";
    static const std::string kQuickie = "-player-quickie=";
    static const std::string kName = "-player-name=";
    static const std::string kExtended = "-player-extended=";

    int unmatched = 0;
    for (int i = 0; i < argc && argv != nullptr; ++i) {
        if (argv[i] == nullptr) {
            ++unmatched;
            continue;
        }
        const std::string arg = argv[i];
        if (StringStartsWith(arg, "-player-male")) {
            hero->female = 0;
        } else if (StringStartsWith(arg, "-player-female")) {
            hero->female = 1;
        } else if (StringStartsWith(arg, "-player-last-build")) {
            hero->lastBuild = 1;
            hero->randomBuild = 0;
            hero->skillList.clear();
            LoadLastSkillChoice(hero->skillList);
        } else if (StringStartsWith(arg, "-player-random-build")) {
            hero->lastBuild = 0;
            hero->randomBuild = 1;
            PickRandomSkills(hero->skillList);
        } else if (StringStartsWith(arg, kDifficulty)) {
            const int32_t value = ParseDecimalInt32(arg.c_str() + kDifficulty.size());
            if (value >= 0 && value <= 2) {
                hero->difficulty = value;
            }
        } else if (StringStartsWith(arg, kPermadeath)) {
            const int32_t value = ParseDecimalInt32(arg.c_str() + kPermadeath.size());
            if (value == 0 || value == 1) {
                hero->permadeath = value;
            }
        } else if (StringStartsWith(arg, kQuickie)) {
            const int32_t value = ParseDecimalInt32(arg.c_str() + kQuickie.size());
            if (value == 0 || value == 1) {
                hero->quickie = value;
            }
        } else if (StringStartsWith(arg, kExtended)) {
            // The long dungeon of the expansion content (fifteen levels instead of ten).
            const int32_t value = ParseDecimalInt32(arg.c_str() + kExtended.size());
            if (value == 0 || value == 1) {
                hero->extendedContent = value;
            }
        } else if (StringStartsWith(arg, kName)) {
            // The name goes into line-based user files: no control characters.
            hero->name = CleanNameText(arg.substr(kName.size()));
        } else {
            ++unmatched;
        }
    }

    if (unmatched == argc || argc <= 0) {
        delete hero;
        return nullptr;
    }
    NoteHeroGenderBuilt(hero->female != 0);
    ApplyChosenSkills(hero, hero->skillList);
    return hero;
}

void ApplyChosenSkills(Player* hero, const std::vector<int32_t>& skills) {
    ClearChosenSkills();
    for (int32_t index : skills) {
        if (!SetSkillChosen(index)) {
            printf("ApplyChosenSkills: no skill %d\n", index);
        }
    }
    if (!SaveLastTxt(skills)) {
        printf("ApplyChosenSkills: the build could not be kept for next time\n");
    }
    if (hero == nullptr) {
        return;
    }
    Player* previous = CurrentPlayer;
    CurrentPlayer = hero;
    hero->GiveStartingKit(hero);
    hero->LoadAnimations(hero);
    CurrentPlayer = previous;
}

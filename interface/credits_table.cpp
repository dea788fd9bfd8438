// The people and tools behind the game, as the credits screen lists them.
#include "interface/credits_screen.h"

const CreditEntry kCredits[] = {
    {"Made by the Lanternfall Workshop", nullptr, nullptr},
    {"Orla Brindlewick", "Design, code and too many spreadsheets", "skills/skill_staff_lore.png"},
    {"Tamsin Hearthgrove", "Pictures, monsters and tiny animated feet", "skills/skill_ember_weaving.png"},
    {"Benedek Quillfeather", "Words, quests and regrettable puns", "skills/skill_burglary.png"},
    {"Ysolde Marrowfen", "Music and the noises things make when hit", "skills/skill_stormcalling.png"},
    {"Corwin Ashdown", "Levels, rooms and the traps within them", "skills/skill_crossbow_drill.png"},
    {nullptr, nullptr, nullptr},
    {"Pell Underbough", "Keeping the lights on and the kettle warm", nullptr},
    {"with the help of these fine people", nullptr, nullptr},
    {"Mirabel Threnody", "Additional monster portraits", "skills/skill_frostcraft.png"},
    {"Hollis Gantry", "Sound effects at short notice", "skills/skill_mace_bashing.png"},
    {"The Brackenford Players", "Voices of the shopkeepers", nullptr},
    {nullptr, nullptr, nullptr},
    {"with thanks to", nullptr, nullptr},
    {"Our testers", "Ada Fenwick, Bram Colley, Cecily Orme, Dunstan Rook, Edda Vale,",
     nullptr},
    {"", "Fitch Marlowe, Greer Haddon, Ivo Pennant, Juno Scarrow, Kit Ambry", nullptr},
    {"More testers", "Lark Wendell, Milo Turrow, Nell Brightwater, Osric Pike, Pim Hallow,", nullptr},
    {"", "Quill Darrow, Rhea Stonecroft, Sable Inchcombe, Tobin Wyeth", nullptr},
    {"Built with", nullptr, nullptr},
    {"SDL 1.2 and SDL_ttf", "Windows, pictures, input and text", "skills/skill_hawkeye.png"},
    {"expat and PhysicsFS", "Reading the data files and the archive", "skills/skill_knife_throwing.png"},
    {"OpenAL, zlib and stb", "Sound, compression and picture decoding", "skills/skill_twin_blades.png"},
    {"GoogleTest and Google Benchmark", "Keeping us honest", "skills/skill_fisticuffs.png"},
    {"And you", "Thank you for playing!", "skills/skill_swordplay.png"},
};

const int32_t kCreditCount = static_cast<int32_t>(sizeof(kCredits) / sizeof(kCredits[0]));

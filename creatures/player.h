#pragma once
// The hero.
//
// Stand-in: only the fields and operations that start-up, the command line and the
// user files need. The creatures subsystem grows this into a Hittable with statistics,
// buffs, combat and its own save block.
#include <cstdint>
#include <string>
#include <vector>

class Level;

class Player {
public:
    Player();
    virtual ~Player();

    int32_t difficulty = 1;      // 0 easy, 1 medium, 2 hard
    int32_t permadeath = 1;
    int32_t quickie = 0;         // 75x75 levels and fewer goods
    int32_t extendedContent = 0; // last depth 14 instead of 9
    int32_t extraOption = 0;     // the further option of the difficulty screen
    int32_t randomBuild = 1;
    int32_t lastBuild = 0;
    int32_t female = 0;
    std::string name = "Random Hero";
    std::string saveName;
    int32_t skills[7] = {0, 1, 2, 3, 4, 5, 6};  // chosen skill codes
    int32_t skillLevels[7] = {0, 0, 0, 0, 0, 0, 0};
    std::vector<int32_t> skillList;              // skill indices chosen at creation
    int32_t dead = 0;
    int32_t wanderingMonsterTurns = 0;
    int32_t x = 0;
    int32_t y = 0;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    int32_t facing = 0;
    int32_t health = 0;
    int32_t level = 1;
    int32_t levelUpPoints = 0;

    // The hero's own placement on a level square.
    void PlaceOnLevel(int32_t px, int32_t py, Level* onLevel, int32_t flag);
    std::string GetTitle() const { return "Adventurer"; }
    void GiveStartingKit(Player* hero);
    void LoadAnimations(Player* hero);

    Level* owningLevel = nullptr;
};

// The one hero of the running game; null between games.
extern Player* CurrentPlayer;

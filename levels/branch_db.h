#pragma once
// Dungeon branches ("branchDB.xml"): the depth ranges of the dungeon and what each one
// looks like - tileset, floor and wall decoration, breakable and blocking fixtures, chest
// and door art, music, and a few switches for the level generator.
//
// Records accumulate over the layered files ("game//", "expansion//" ... and each mod's
// "mod//"); they are never removed. Lookups take the first record in table order.
#include <SDL.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class Sprite;
struct ImageRecord;

// A run of cells of a branch's tileset image, possibly animated.
struct BranchTileRange {
    int32_t startX = -1;
    int32_t startY = -1;
    int32_t endX = -1;
    int32_t endY = -1;
    int32_t frame = 0;        // current animation frame
    int32_t numframes = -1;
    int32_t skip = 0;         // cells to the right per frame
    int32_t framerate = 0;
    int32_t frameTimer = 0;   // time gathered towards the next frame
    int32_t frameStep = 1;    // +1 or -1 while a ping-pong animation runs
    int32_t pingpong = 0;

    // True when the range names at least one cell: both starts at least 0 and both ends at
    // or after their starts.
    bool IsValid() const;
    // True when every cell of the range, every animation frame included, lies inside an
    // image of that many cells across and down.
    bool FitsImage(int32_t cellsAcross, int32_t cellsDown) const;
};

struct BranchMapEntry {
    std::string map;
    int32_t level = 0;
};

// A breakable fixture of a branch (pots, crates ...).
struct BreakableDef {
    std::string name;
    std::string unusedName;
    std::string png;
    std::string pngSprite;
    int32_t pngFirst = 0;
    int32_t pngNum = 0;
    int32_t pngRate = 0;
    std::string pngBroken;
    std::string pngSeriesBreak;
    int32_t pngBreakFirst = 0;
    int32_t pngBreakNum = 0;
    int32_t pngBreakRate = 0;
    std::string unusedName2;
    Sprite* sprite = nullptr;         // owned by the sprite table
    Sprite* unusedSprite = nullptr;
    Sprite* breakSprite = nullptr;    // the breaking animation
    Sprite* brokenSprite = nullptr;
    int32_t vis = 0;
    std::string sfx = "breakable";    // played when it breaks
};

// A blocking fixture of a branch (columns, barrels ...).
struct BlockerDef {
    std::string unusedName;
    std::string png;
    std::string pngSprite;
    Sprite* sprite = nullptr;  // owned by the sprite table
    int32_t pngFirst = 0;
    int32_t pngNum = 0;
    int32_t pngRate = 0;
    int32_t passable = 0;
    int32_t unusedValue = 0;
    int32_t animate = 0;
};

struct BranchRecord {
    BranchRecord() = default;
    ~BranchRecord();
    BranchRecord(const BranchRecord&) = delete;
    BranchRecord& operator=(const BranchRecord&) = delete;

    int32_t id = 0;
    std::string name;
    std::string tileset;                 // file of the tileset image
    std::string banner;
    std::vector<std::string> seeds;      // names of first-room templates below depth 0
    std::string music;
    int32_t minDepth = 0;
    int32_t maxDepth = 0;
    int32_t depth = 0;
    uint8_t corners = 0;
    uint8_t genlakes = 0;
    uint8_t genshops = 0;
    uint8_t gencoffins = 0;
    int32_t generator = 0;
    ImageRecord* tilesetImage = nullptr;  // owned; loaded on first use
    std::map<std::string, BranchTileRange> tiles;
    std::vector<BreakableDef> breakables;
    std::vector<BlockerDef> blockers;
    std::vector<BranchMapEntry> maps;
    std::vector<BranchTileRange> wallDecor;
    std::vector<BranchTileRange> floors;
    int32_t chosenDepth = 0;
    std::string doorEwTop = "dungeon/door_wood3x3_ew_top.spr";
    std::string doorEwBottom = "dungeon/door_wood3x3_ew_bottom.spr";
    std::string doorNsLeft = "dungeon/door_wood3x3_ns_left.spr";
    std::string doorNsRight = "dungeon/door_wood3x3_ns_right.spr";
    std::string chestOpen = "dungeon/chest1_open.png";
    std::string chestClosed = "dungeon/chest1_closed.png";
    std::string chestBroken = "dungeon/chest1_broken.png";

    // The tile of that name (exact), or null.
    BranchTileRange* FindTile(const std::string& tileName);
    const BranchTileRange* FindTile(const std::string& tileName) const;
    // Range-checked access to the fixture lists (indices come from saves and from data):
    // null when the index is outside the list.
    const BreakableDef* GetBreakable(int32_t index) const;
    const BlockerDef* GetBlocker(int32_t index) const;
    // The tileset picture (a palette PNG, doubled), loaded on first use and kept; null when the
    // file cannot be read (the next call tries again).
    SDL_Surface* GetTilesetImage();
};

// Every branch in reading order (owned).
extern std::vector<BranchRecord*> Branches;

// Reads one branch file through the virtual file system and appends its records; a missing
// file is skipped silently. Afterwards every record of the table draws its chosen depth
// again and drops its cached tileset image.
void branchDBLoad(const char* file);
// The same over a document held in memory; `label` names it in diagnostics. False when the
// XML is malformed (the records read before the error stay).
bool branchDBLoadFromBuffer(const char* data, size_t length, const char* label);

// The first record whose depth range holds the depth (minDepth <= depth <= maxDepth), or null.
BranchRecord* FindBranchForDepth(int32_t depth);
// The first record of that id, or null.
BranchRecord* FindBranchById(int32_t id);
// The first record of that id whose depth range holds the depth, or null.
BranchRecord* FindBranch(int32_t id, int32_t depth);
// The deepest depth any branch reaches (-1 with no branches).
int32_t DeepestBranchDepth();
void ClearBranches();

// The tuning value "numstairs" (staircases each way per level). A value below 1 would give
// levels without stairs: 1 is used instead, and a "ZARNOCH ERROR" line says so the first
// time that value is met (not with every level; a good value in between re-arms it).
int32_t StairsPerLevel();

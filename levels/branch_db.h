#pragma once
// Dungeon branches ("branchDB.xml"): which art, blockers and breakables a depth range
// uses.
//
// Stand-in: the loader reads nothing yet. Still to be built here: reading branch records
// over the layered files and mods (tilesets, music, blockers, breakables, chests, depth
// ranges) and the branch lookups of level generation.
#include <cstdint>
#include <string>
#include <vector>

struct BranchRecord {
    std::string name;
    int32_t id = 0;
    int32_t minDepth = 0;
    int32_t maxDepth = 0;
};

// Every branch in reading order (owned).
extern std::vector<BranchRecord*> Branches;

void branchDBLoad(const char* file);
// The first branch of that id whose depth range holds the depth, or null.
BranchRecord* FindBranch(int32_t id, int32_t depth);
void ClearBranches();

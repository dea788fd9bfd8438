// Stand-in: what is still to be built is listed at the top of levels/branch_db.h.
#include "levels/branch_db.h"

std::vector<BranchRecord*> Branches;

void branchDBLoad(const char*) {}

BranchRecord* FindBranch(int32_t id, int32_t depth) {
    for (BranchRecord* branch : Branches) {
        if (branch->id == id && depth >= branch->minDepth && depth <= branch->maxDepth) {
            return branch;
        }
    }
    return nullptr;
}

void ClearBranches() {
    for (BranchRecord* branch : Branches) {
        delete branch;
    }
    Branches.clear();
}

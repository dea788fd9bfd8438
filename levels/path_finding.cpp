#include "levels/path_finding.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "levels/game_obj.h"
#include "levels/level.h"

GameObj* PathMover = nullptr;

namespace {

// One serial number per search started anywhere, so that the bookkeeping a search leaves
// in the nodes is never mistaken for another search's.
uint32_t NextSearchSerial() {
    static uint32_t serial = 0;
    ++serial;
    if (serial == 0) ++serial;  // 0 is what untouched nodes hold
    return serial;
}

// Min-heap on f: the standard heap operations with "a.f greater than b.f".
bool HeapGreater(const PathNode* a, const PathNode* b) { return a->f > b->f; }

// The four orthogonal neighbours, in the order north, south, east, west.
constexpr int32_t kNeighbourDX[4] = {0, 0, 1, -1};
constexpr int32_t kNeighbourDY[4] = {-1, 1, 0, 0};

}  // namespace

// ---- AStarSquare ---------------------------------------------------------------------

float AStarSquare::GoalDistanceEstimate(aiNode* goal) {
    const AStarSquare* target = static_cast<const AStarSquare*>(goal);
    int32_t dx = std::abs(x - target->x);
    int32_t dy = std::abs(y - target->y);
    return static_cast<float>(dx + dy);
}

float AStarSquare::GetCost() {
    Level* level = CurrentLevel;
    if (level == nullptr) return 1.0f;
    if (level->IsSquareBlocked(x, y, false, true)) return kPathBlockedCost;
    const LevelCell* cell = level->GetCell(x, y);
    if (cell == nullptr) return kPathBlockedCost;
    if (cell->type == SquareType::StairsUp || cell->type == SquareType::StairsDown) {
        return kPathDetourCost;
    }
    for (GameObj* obj : cell->contents) {
        if (obj->IsSpottedTrap()) return kPathDetourCost;
    }
    return 1.0f;
}

int32_t AStarSquare::GetNumNeighbours() {
    Level* level = CurrentLevel;
    if (level == nullptr) return 0;
    int32_t count = 0;
    for (int32_t i = 0; i < 4; ++i) {
        if (level->IsSquarePassable(PathMover, x + kNeighbourDX[i], y + kNeighbourDY[i])) ++count;
    }
    return count;
}

aiNode* AStarSquare::GetNeighbour(int32_t index) {
    Level* level = CurrentLevel;
    if (level == nullptr || index < 0) return nullptr;
    for (int32_t i = 0; i < 4; ++i) {
        int32_t nx = x + kNeighbourDX[i];
        int32_t ny = y + kNeighbourDY[i];
        if (!level->IsSquarePassable(PathMover, nx, ny)) continue;
        if (index == 0) return &level->GetCell(nx, ny)->pathNode;
        --index;
    }
    return nullptr;
}

// ---- PathNodePool --------------------------------------------------------------------

int32_t PathPoolCapacityFor(const Level* level) {
    if (level == nullptr || level->width <= 0 || level->height <= 0) return kPathPoolSize;
    const int64_t squares = static_cast<int64_t>(level->width) * static_cast<int64_t>(level->height);
    const int64_t wanted = squares + kPathSpareRecords;
    if (wanted <= kPathPoolSize) return kPathPoolSize;
    return wanted > INT32_MAX ? INT32_MAX : static_cast<int32_t>(wanted);
}

PathNodePool::PathNodePool(int32_t poolCapacity) : capacity(poolCapacity < 0 ? 0 : poolCapacity) {
    storage = capacity > 0 ? new PathNode[static_cast<size_t>(capacity)] : nullptr;
    Chain(0, capacity);
    freeHead = capacity > 0 ? storage : nullptr;
}

PathNodePool::~PathNodePool() { delete[] storage; }

void PathNodePool::Chain(int32_t first, int32_t end) {
    for (int32_t i = first; i < end; ++i) {
        PathNode& node = storage[i];
        std::memset(&node, 0, sizeof(node));
        node.prev = i > 0 ? &storage[i - 1] : nullptr;
        node.next = i + 1 < capacity ? &storage[i + 1] : nullptr;
    }
}

void PathNodePool::Reset() {
    usedHead = nullptr;
    freeHead = capacity > 0 ? storage : nullptr;
    // Records beyond the touched ones are still zero and chained in storage order.
    Chain(0, touched_);
    if (touched_ < capacity && touched_ > 0) storage[touched_].prev = &storage[touched_ - 1];
    touched_ = 0;
}

void PathNodePool::Resize(int32_t newCapacity) {
    if (newCapacity < 0) newCapacity = 0;
    if (newCapacity == capacity) {
        Reset();
        return;
    }
    delete[] storage;
    capacity = newCapacity;
    storage = capacity > 0 ? new PathNode[static_cast<size_t>(capacity)] : nullptr;
    Chain(0, capacity);
    usedHead = nullptr;
    freeHead = capacity > 0 ? storage : nullptr;
    touched_ = 0;
}

void PathNodePool::NoteHandedOut(const PathNode* node) {
    const int32_t index = static_cast<int32_t>(node - storage);
    if (index >= touched_) touched_ = index + 1;
}

// ---- PathSearch ----------------------------------------------------------------------

PathSearch::PathSearch(int32_t poolCapacity) : pool(poolCapacity) {
    successors.reserve(4);
    InitSearchState();
}

void PathSearch::EnsurePoolCapacity(int32_t poolCapacity) {
    if (poolCapacity > pool.capacity) pool.Resize(poolCapacity);
    InitSearchState();
}

void PathSearch::InitSearchState() {
    pool.Reset();
    openList.clear();
    closedList.clear();
    successors.clear();
    state = kSearchNotStarted;
    steps = 0;
    startNode = nullptr;
    goalNode = nullptr;
    currentSolution = nullptr;
    nodesInUse = 0;
    resultPath.clear();
    serial_ = NextSearchSerial();
}

PathNode* PathSearch::AllocateNode() {
    PathNode* node = pool.freeHead;
    if (node == nullptr) return nullptr;
    pool.NoteHandedOut(node);
    pool.freeHead = node->next;
    if (pool.freeHead != nullptr) pool.freeHead->prev = nullptr;
    node->prev = nullptr;
    node->next = pool.usedHead;
    if (pool.usedHead != nullptr) pool.usedHead->prev = node;
    pool.usedHead = node;
    ++nodesInUse;
    node->g = 0.0f;
    node->h = 0.0f;
    node->f = 0.0f;
    node->parent = nullptr;
    node->child = nullptr;
    node->square = nullptr;
    node->list = 0;
    return node;
}

void PathSearch::FreeNode(PathNode* node) {
    if (node == nullptr) return;
    if (node->square != nullptr && node->square->searchRecord == node) {
        node->square->searchRecord = nullptr;
    }
    node->list = 0;
    if (node->prev != nullptr) node->prev->next = node->next;
    if (node->next != nullptr) node->next->prev = node->prev;
    if (pool.usedHead == node) pool.usedHead = node->next;
    node->prev = nullptr;
    node->next = pool.freeHead;
    if (pool.freeHead != nullptr) pool.freeHead->prev = node;
    pool.freeHead = node;
    --nodesInUse;
}

void PathSearch::FreeAllNodes() {
    for (PathNode* node : openList) FreeNode(node);
    for (PathNode* node : closedList) FreeNode(node);
    openList.clear();
    closedList.clear();
    if (goalNode != nullptr) {
        FreeNode(goalNode);
        goalNode = nullptr;
    }
}

void PathSearch::FreeUnusedNodes() {
    for (PathNode* node : openList) {
        if (node->child == nullptr) FreeNode(node);
    }
    for (PathNode* node : closedList) {
        if (node->child == nullptr) FreeNode(node);
    }
    openList.clear();
    closedList.clear();
}

void PathSearch::FreeSolutionNodes() {
    bool goalFreed = false;
    PathNode* node = startNode;
    while (node != nullptr) {
        PathNode* next = node->child;
        goalFreed = goalFreed || node == goalNode;
        FreeNode(node);
        node = next;
    }
    if (!goalFreed && goalNode != nullptr) FreeNode(goalNode);
    startNode = nullptr;
    goalNode = nullptr;
}

float PathSearch::GoalDistance(const PathNode* node, const PathNode* goal) {
    return node->square->GoalDistanceEstimate(goal->square);
}

float PathSearch::StepCost(const PathNode* node, const PathNode*) { return node->square->GetCost(); }

void PathSearch::SetStartAndGoal(aiNode* start, aiNode* goal) {
    startNode = AllocateNode();
    goalNode = AllocateNode();
    if (startNode == nullptr || goalNode == nullptr || start == nullptr || goal == nullptr) {
        state = kSearchFailed;
        return;
    }
    startNode->square = start;
    goalNode->square = goal;
    state = kSearchSearching;
    startNode->g = 0.0f;
    startNode->h = GoalDistance(startNode, goalNode);
    startNode->f = startNode->g + startNode->h;
    startNode->parent = nullptr;
    openList.push_back(startNode);
    std::push_heap(openList.begin(), openList.end(), HeapGreater);
    startNode->list = 1;
    start->searchRecord = startNode;
    start->searchSerial = serial_;
    steps = 0;
}

PathNode* PathSearch::FindListedRecord(aiNode* square) const {
    if (square->searchSerial != serial_) return nullptr;
    PathNode* record = square->searchRecord;
    if (record == nullptr || record->list == 0) return nullptr;
    return record;
}

void PathSearch::RemoveFromOpen(PathNode* node) {
    auto found = std::find(openList.begin(), openList.end(), node);
    if (found == openList.end()) return;
    openList.erase(found);
    std::make_heap(openList.begin(), openList.end(), HeapGreater);
}

void PathSearch::RemoveFromClosed(PathNode* node) {
    auto found = std::find(closedList.begin(), closedList.end(), node);
    if (found != closedList.end()) closedList.erase(found);
}

void PathSearch::AddSuccessors(PathNode* node) {
    successors.clear();
    int32_t count = node->square->GetNumNeighbours();
    for (int32_t i = 0; i < count; ++i) {
        aiNode* neighbour = node->square->GetNeighbour(i);
        if (neighbour == nullptr) continue;
        PathNode* record = AllocateNode();
        if (record == nullptr) continue;  // pool exhausted: the neighbour is left out
        record->square = neighbour;
        successors.push_back(record);
    }
}

int32_t PathSearch::SearchStep() {
    if (state == kSearchSucceeded || state == kSearchFailed) return state;
    if (openList.empty()) {
        FreeAllNodes();
        state = kSearchFailed;
        return state;
    }
    ++steps;
    std::pop_heap(openList.begin(), openList.end(), HeapGreater);
    PathNode* n = openList.back();
    openList.pop_back();
    n->list = 0;

    if (n->square == goalNode->square) {
        goalNode->parent = n->parent;
        if (n != startNode) {
            FreeNode(n);
            PathNode* node = goalNode;
            while (node != startNode && node->parent != nullptr) {
                node->parent->child = node;
                node = node->parent;
            }
        }
        FreeUnusedNodes();
        state = kSearchSucceeded;
        return state;
    }

    AddSuccessors(n);
    for (PathNode* s : successors) {
        float newG = n->g + StepCost(n, s);
        PathNode* listed = FindListedRecord(s->square);
        if (listed != nullptr && listed->g <= newG) {
            FreeNode(s);
            continue;
        }
        s->parent = n;
        s->g = newG;
        s->h = GoalDistance(s, goalNode);
        s->f = s->g + s->h;
        if (listed != nullptr) {
            if (listed->list == 2) {
                RemoveFromClosed(listed);
            } else {
                RemoveFromOpen(listed);
            }
            FreeNode(listed);
        }
        openList.push_back(s);
        std::push_heap(openList.begin(), openList.end(), HeapGreater);
        s->list = 1;
        s->square->searchRecord = s;
        s->square->searchSerial = serial_;
    }
    successors.clear();
    closedList.push_back(n);
    n->list = 2;
    return state;
}

bool PathSearch::Step() {
    int32_t before = state;
    SearchStep();
    if (state == kSearchSucceeded && before != kSearchSucceeded) {
        resultPath.clear();
        for (PathNode* node = startNode; node != nullptr; node = node->child) {
            resultPath.push_back(node->square);
        }
        FreeSolutionNodes();
    }
    return state != kSearchSearching;
}

aiNode** PathSearch::GetPath(int32_t* length) {
    int32_t count = static_cast<int32_t>(resultPath.size());
    if (length != nullptr) *length = count;
    return count > 0 ? resultPath.data() : nullptr;
}

// ---- wrappers ------------------------------------------------------------------------

PathSearch* CreatePathSearch() { return new PathSearch(PathPoolCapacityFor(CurrentLevel)); }

void SetPathSearchEnds(PathSearch* search, aiNode* start, aiNode* goal) {
    if (search != nullptr) search->SetStartAndGoal(start, goal);
}

bool StepPathSearch(PathSearch* search) { return search == nullptr || search->Step(); }

aiNode** GetPathSearchResult(PathSearch* search, int32_t* length) {
    if (search == nullptr) {
        if (length != nullptr) *length = 0;
        return nullptr;
    }
    return search->GetPath(length);
}

void DestroyPathSearch(PathSearch* search) { delete search; }

aiNode** FindPath(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t* length, GameObj* mover) {
    Level* level = CurrentLevel;
    if (level == nullptr || !level->IsInside(x0, y0) || !level->IsInside(x1, y1)) {
        if (length != nullptr) *length = 0;
        return nullptr;
    }
    // The mover is read only while this search runs; it is not kept afterwards, since the
    // object may be gone by the time some later search looks at it.
    struct MoverScope {
        explicit MoverScope(GameObj* obj) { PathMover = obj; }
        ~MoverScope() { PathMover = nullptr; }
    } moverScope(mover);
    aiNode* start = &level->GetCell(x0, y0)->pathNode;
    aiNode* goal = &level->GetCell(x1, y1)->pathNode;

    // One search object serves every call: searches never interleave, and its pool and
    // lists are recycled instead of allocated per call. The pool holds a record for every
    // square of the level, so no neighbour is ever left out for want of one and every
    // reachable goal is found.
    static PathSearch search;
    search.EnsurePoolCapacity(PathPoolCapacityFor(level));
    SetPathSearchEnds(&search, start, goal);
    for (int32_t call = 0; call < kPathStepLimit; ++call) {
        if (!StepPathSearch(&search)) continue;
        int32_t count = 0;
        aiNode** found = GetPathSearchResult(&search, &count);
        if (length != nullptr) *length = count;
        if (count == 0 || found == nullptr) {
            search.InitSearchState();
            return nullptr;
        }
        aiNode** path = new aiNode*[static_cast<size_t>(count)];
        std::copy(found, found + count, path);
        search.InitSearchState();
        return path;
    }
    search.InitSearchState();
    return nullptr;
}

void BuildAStarForLevel() {
    Level* level = CurrentLevel;
    if (level == nullptr) return;
    // Every square's node holds its own coordinates - also the squares a walker could
    // never enter, since movers that cross liquids reach those.
    for (int32_t y = 0; y < level->height; ++y) {
        for (int32_t x = 0; x < level->width; ++x) {
            AStarSquare& node = level->GetCell(x, y)->pathNode;
            node.x = x;
            node.y = y;
        }
    }
}

#pragma once
// Grid path finding over the current level: A* through a small node interface, with a
// pool of search records allocated in one block.
//
// Every square of a level embeds one AStarSquare. A search (PathSearch) sees squares only
// through the aiNode interface; FindPath wraps one search from square to square and hands
// back a plain array of the squares on the way, start and goal included.
#include <cstdint>
#include <vector>

class GameObj;
struct PathNode;

// What a search asks of a node.
class aiNode {
public:
    // Estimated cost from this node to the goal.
    virtual float GoalDistanceEstimate(aiNode* goal) = 0;
    // Cost charged for a step out of this node.
    virtual float GetCost() = 0;
    // Nodes reachable in one step, and the index-th of them (0-based; null past the end).
    virtual int32_t GetNumNeighbours() = 0;
    virtual aiNode* GetNeighbour(int32_t index) = 0;

    // Bookkeeping of the search running now: the node's record in the open or closed list,
    // valid only while searchSerial equals that search's serial number. It lets a search
    // find a node's record without walking its lists.
    PathNode* searchRecord = nullptr;
    uint32_t searchSerial = 0;

protected:
    // Nodes are never deleted through the interface.
    ~aiNode() = default;
};

// The search node of one level square. Coordinates are its own square's, always: the
// level sets them when it creates its squares and BuildAStarForLevel sets them again.
class AStarSquare final : public aiNode {
public:
    float GoalDistanceEstimate(aiNode* goal) override;
    float GetCost() override;
    int32_t GetNumNeighbours() override;
    aiNode* GetNeighbour(int32_t index) override;

    int32_t x = 0;
    int32_t y = 0;
};

// Cost of leaving a square held by something that blocks, and of leaving a staircase or a
// spotted trap.
constexpr float kPathBlockedCost = 1000000.0f;
constexpr float kPathDetourCost = 5000.0f;
// Fewest records in one search's pool; expansions FindPath allows before giving up.
constexpr int32_t kPathPoolSize = 1000;
constexpr int32_t kPathStepLimit = 10000;
// Records a search of a level may hold at once beyond one per square: the goal's own
// record and the four successors of one expansion.
constexpr int32_t kPathSpareRecords = 5;

class Level;
// The pool a search of the level needs so that it never runs dry: one record per square
// plus the spare ones, and never fewer than kPathPoolSize.
int32_t PathPoolCapacityFor(const Level* level);

// The object whose passability the running search tests (null: an ordinary monster-like
// mover; the hero passes itself). FindPath sets it for the length of its search and clears
// it afterwards, so that no pointer to a mover that may be destroyed stays behind.
extern GameObj* PathMover;

// One search record.
struct PathNode {
    PathNode* parent;
    PathNode* child;
    float g;
    float h;
    float f;
    aiNode* square;
    PathNode* prev;  // pool links (free list or used list)
    PathNode* next;
    // Where the record sits now: 0 nowhere, 1 open list, 2 closed list.
    int32_t list;
};

// A block of records, recycled through a free list.
class PathNodePool {
public:
    explicit PathNodePool(int32_t capacity);
    ~PathNodePool();
    PathNodePool(const PathNodePool&) = delete;
    PathNodePool& operator=(const PathNodePool&) = delete;

    // Zeroes every record and chains them all into the free list in storage order. Only
    // the records handed out since the last reset need it; the rest are still as they were.
    void Reset();
    // A new block of that many records (when it differs), reset.
    void Resize(int32_t newCapacity);
    // Notes that a record was handed out, for the next Reset.
    void NoteHandedOut(const PathNode* node);

    PathNode* freeHead = nullptr;
    PathNode* usedHead = nullptr;
    int32_t capacity = 0;
    PathNode* storage = nullptr;

private:
    void Chain(int32_t first, int32_t end);

    int32_t touched_ = 0;  // records [0, touched_) may differ from their reset state
};

enum PathSearchState : int32_t {
    kSearchNotStarted = 0,
    kSearchSearching = 1,
    kSearchSucceeded = 2,
    kSearchFailed = 3,
};

class PathSearch {
public:
    explicit PathSearch(int32_t poolCapacity = kPathPoolSize);
    PathSearch(const PathSearch&) = delete;
    PathSearch& operator=(const PathSearch&) = delete;

    // Back to state 0 with every record free and empty lists (the pool is reused).
    void InitSearchState();
    // Grows the pool to at least that many records (then back to state 0 as above).
    void EnsurePoolCapacity(int32_t poolCapacity);
    void SetStartAndGoal(aiNode* start, aiNode* goal);
    // One expansion; returns the state.
    int32_t SearchStep();
    // One expansion, collecting the path on success; true once the search has ended.
    bool Step();
    // The squares of the found path (start first), or null when there is none.
    aiNode** GetPath(int32_t* length);

    PathNode* AllocateNode();
    void FreeNode(PathNode* node);
    void FreeAllNodes();
    void FreeUnusedNodes();
    void FreeSolutionNodes();

    static bool IsSameState(const PathNode* a, const PathNode* b) { return a->square == b->square; }
    static float GoalDistance(const PathNode* node, const PathNode* goal);
    static float StepCost(const PathNode* node, const PathNode* successor);

    std::vector<PathNode*> openList;  // a min-heap on f
    std::vector<PathNode*> closedList;
    std::vector<PathNode*> successors;
    int32_t state = kSearchNotStarted;
    int32_t steps = 0;
    PathNode* startNode = nullptr;
    PathNode* goalNode = nullptr;
    PathNode* currentSolution = nullptr;
    PathNodePool pool;
    int32_t nodesInUse = 0;
    std::vector<aiNode*> resultPath;

private:
    void AddSuccessors(PathNode* node);
    // The record of the node's square in the open or closed list, or null.
    PathNode* FindListedRecord(aiNode* square) const;
    void RemoveFromOpen(PathNode* node);
    void RemoveFromClosed(PathNode* node);

    uint32_t serial_ = 0;
};

// Wrapper operations; each tolerates a null search.
// A new search in state 0 whose pool fits the current level (PathPoolCapacityFor).
PathSearch* CreatePathSearch();
void SetPathSearchEnds(PathSearch* search, aiNode* start, aiNode* goal);
// True when the search has ended (and for a null search).
bool StepPathSearch(PathSearch* search);
aiNode** GetPathSearchResult(PathSearch* search, int32_t* length);
void DestroyPathSearch(PathSearch* search);

// Searches the current level from (x0, y0) to (x1, y1) for the mover (the hero passes
// itself, monsters pass null). Returns a new array of the squares from start to goal, both
// included, and writes its length; the caller frees it with delete[]. Null when there is no
// path, when the search runs past its step limit, when there is no current level or when
// either square lies outside the grid; the length is then 0 (or left alone after the
// step limit).
aiNode** FindPath(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t* length, GameObj* mover);

// Gives every square's node of the current level its own coordinates.
void BuildAStarForLevel();

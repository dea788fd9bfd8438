#pragma once
// Level: one floor of the dungeon - a grid of squares (LevelCell), the rooms stamped into
// it, the game objects standing on it and the per-square maps the drawing code fills.
//
// Generation, graphics, monster population and saving live in their own files and work
// through the fields and operations declared here.
//
// The destructor deletes the level's objects itself; each one leaves the deferred-move and
// deletion queues as it is destroyed (the object destroy hook), so nothing queued outlives it.
#include <SDL.h>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "levels/level_cell.h"
#include "levels/map_view.h"

class Bob;
class GameObj;
class Monster;
class SaveReader;
class SaveWriter;
class QuestRecord;
struct BranchRecord;
struct BranchTileRange;
struct RoomTemplate;

// One placed room. Owned by its level; its index in the level's rooms equals roomId.
struct RoomRecord {
    explicit RoomRecord(int32_t id) : roomId(id) {}

    // True when (x, y) lies in the rectangle left <= x < right, top <= y < bottom.
    bool Contains(int32_t x, int32_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }

    std::vector<RoomRecord*> neighbours;  // rooms of the same level, not owned
    int32_t active = 0;                   // its scripts run only while set
    bool shopOrZoo = false;
    int32_t roomId = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;   // left + template width
    int32_t bottom = 0;  // top + template height
    RoomTemplate* roomTemplate = nullptr;  // owned by the template table
    int32_t extra = 0;

    // The record in a save (levels/level_save.cpp). Neighbours are written by their room
    // keys (RoomKey); Load leaves the keys in pendingNeighbourKeys for the level to re-link.
    bool Save(SaveWriter& out) const;
    void Load(SaveReader& in);
    std::vector<uint32_t> pendingNeighbourKeys;
};

class Level {
public:
    // The first argument is not read. Takes the branch of the first branch record whose
    // depth range holds the depth (its id and tileset image); none leaves both 0.
    Level(int32_t unused, int32_t depth);
    // The empty state a saved level is read into: no squares, no branch lookup.
    static Level* LevelForLoading();
    // Deletes the room records and every object on the level, then the squares.
    ~Level();

    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    // ---- grid -------------------------------------------------------------------------
    // Sets the grid size and creates width x height fresh squares (rock, no flags), each
    // path node holding its own coordinates. Objects lose their squares, spell mines and
    // the per-square maps are dropped. Negative sizes count as 0.
    void SetSize(int32_t newWidth, int32_t newHeight);
    bool IsInside(int32_t x, int32_t y) const {
        return x >= 0 && y >= 0 && x < width && y < height;
    }
    // The square (x, y), or null outside the grid.
    LevelCell* GetCell(int32_t x, int32_t y) { return IsInside(x, y) ? &squares[Index(x, y)] : nullptr; }
    const LevelCell* GetCell(int32_t x, int32_t y) const {
        return IsInside(x, y) ? &squares[Index(x, y)] : nullptr;
    }
    LevelCell* GetSquare(int32_t x, int32_t y) { return GetCell(x, y); }
    // Kind of (x, y); -1 outside the grid.
    int32_t SquareKind(int32_t x, int32_t y) const { return IsInside(x, y) ? squares[Index(x, y)].type : -1; }

    // ---- square queries (none reads outside the grid) ---------------------------------
    bool IsLiquidSquare(int32_t x, int32_t y) const {  // false outside
        return IsInside(x, y) && IsLiquidSquareType(squares[Index(x, y)].type);
    }
    bool IsNotLiquidSquare(int32_t x, int32_t y) const { return !IsLiquidSquare(x, y); }  // true outside
    bool LacksWallTop(int32_t x, int32_t y) const;       // false outside
    // (x, y) and each of its neighbours inside the grid are plain floor; false outside.
    bool IsClearFloor3x3(int32_t x, int32_t y) const;
    // Inside, and of kind 1, 3, 4, 6, 13 or 14 (walkable, the floor variant excepted).
    bool IsOpenSquare(int32_t x, int32_t y) const;
    // Blocked flag, or a blocking object that counts (the hero only with countPlayer, a
    // monster only with countMonsters, anything else always). True outside the grid.
    bool IsSquareBlocked(int32_t x, int32_t y, bool countPlayer, bool countMonsters) const;
    // Blocked flag, or a blocking object other than self. True outside the grid.
    bool IsSquareBlockedFor(int32_t x, int32_t y, const GameObj* self) const;
    // Blocked flag, or a blocking object that is not passable (the hero only with
    // countPlayer). True outside the grid.
    bool IsSquareObstructed(int32_t x, int32_t y, bool countPlayer) const;
    // An object other than the hero that blocks sight stands there. False outside.
    bool HasSightBlocker(int32_t x, int32_t y) const;
    // Movement test for the hero and for objects pushed or placed.
    bool IsSquarePassable(GameObj* mover, int32_t x, int32_t y, bool ignoreObjects = false,
                          bool allowLiquid = false) const;
    // Movement test for monsters: movementKind 0 walks, 1 swims, anything else flies.
    bool IsSquarePassableForMonster(GameObj* monster, int32_t x, int32_t y,
                                    int32_t movementKind) const;

    // ---- branch and tiles -------------------------------------------------------------
    // The branch record whose id equals branchId, or null.
    BranchRecord* GetBranchRecord() const;
    // Creates whichever per-square maps are still missing (tile layers empty, draw maps 0).
    void EnsureSquareMaps();
    bool HasSquareMaps() const;
    // Tile of a layer at (x, y); null outside the grid or without maps.
    BranchTileRange* BaseTile(int32_t x, int32_t y) const { return LayerTile(baseTileMap, x, y); }
    BranchTileRange* WallTile(int32_t x, int32_t y) const { return LayerTile(wallTileMap, x, y); }
    BranchTileRange* TopTile(int32_t x, int32_t y) const { return LayerTile(topTileMap, x, y); }
    void ClearHighlights();
    // Ignores squares outside the grid.
    void HighlightSquare(int32_t x, int32_t y);

    // ---- objects ----------------------------------------------------------------------
    void AddObject(GameObj* obj);
    // Erases the first occurrence from monsters and from objects; does not delete.
    void RemoveObject(GameObj* obj);
    // The first object whose MatchesRoomID(this, room, roomId) answers true, or null.
    GameObj* FindObjectByRoomID(int32_t room, const std::string& roomId);
    // Objects standing on (x, y) (none outside the grid).
    bool HasObjectAt(int32_t x, int32_t y) const;

    void AddRoomEvent(int32_t room, const std::string& roomId, const std::string& eventName);
    // Never creates the key.
    bool HasRoomEvent(int32_t room, const std::string& roomId, const std::string& eventName) const;
    void ClearRoomEvents() { roomEvents.clear(); }

    // ---- effects and spell mines ------------------------------------------------------
    // Hands an effect Bob to the square (x, y): the square owns it from now on and deletes
    // it once it is finished (ReapFinishedEffects) or with itself. Returns the Bob; null
    // for null, and outside the grid, where the Bob is deleted at once.
    Bob* AdoptEffectBob(std::unique_ptr<Bob> bob, int32_t x, int32_t y);
    // Deletes every finished delete-when-done Bob the squares own; returns the count.
    int32_t ReapFinishedEffects();
    // A new mine owned by square (x, y) and listed in spellMines; null outside the grid.
    SpellMine* AddSpellMine(int32_t x, int32_t y, Spell* spell, int32_t spellIndex,
                            GameObj* caster, int32_t value);
    // Takes a mine off its square and the list and deletes it; false when not found.
    bool RemoveSpellMine(SpellMine* mine);

    // ---- rooms ------------------------------------------------------------------------
    // Hands out the next room number and advances the counter. Room numbers stop at 254:
    // 255 means "no room", so once 255 rooms exist the answer is -1 and the counter stays.
    int32_t TakeRoomNumber();
    // Deletes every room record and forgets the titles; room, shop counters and the layout
    // flags go back to 0 (a layout restart).
    void ClearRooms();
    // The record of a room index, or null for 255, a negative index or one past the
    // records (levels without room records answer null for every index).
    RoomRecord* GetRoomRecord(int32_t index) const;
    // The template of that room, or null.
    RoomTemplate* GetRoomTemplate(int32_t index) const;
    // The record of the room of square (x, y), or null.
    RoomRecord* GetRoomRecordAt(int32_t x, int32_t y) const;
    // The display name of that room, or an empty string.
    const std::string& GetRoomName(int32_t index) const;
    // The record of the room the hero stands in (its room index), or null.
    RoomRecord* GetPlayerRoomRecord() const;

    // ---- generation (gen/level_layout.cpp, gen/level_gen_scatter.cpp, gen/level_content.cpp)
    // Template placement: whether the template fits with its column 0, row 0 on (x, y), and
    // writing it there (squares outside the grid are skipped).
    bool CanPlaceRoomTemplate(const RoomTemplate* roomTemplate, int32_t x, int32_t y) const;
    void StampRoomTemplate(RoomTemplate* roomTemplate, int32_t x, int32_t y);
    void FixBadDoors();
    void FinishRooms();
    void PlaceStairs();
    // The layout passes; false when they gave up after their bounded tries (a "ZARNOCH
    // ERROR" line says why; the level is still complete, only smaller than wanted).
    bool GenRoomLayout(int32_t newWidth, int32_t newHeight);
    bool GenPortalLevelContent(int32_t newWidth, int32_t newHeight, int32_t roomTarget);
    // One named template with the hero's start on its square (px, py). An offset outside
    // the template or a square that cannot be stood on moves the start, with a diagnostic,
    // to the nearest open square; false when the template is unknown or has no open square.
    bool GenTutorialLevel(const char* templateName, int32_t px, int32_t py);
    bool GenTestRoomLevel(const char* templateName, int32_t px, int32_t py);
    // Random content.
    int32_t RollMonsterLevel() const;
    void PlaceTreasure(bool noChest);
    void PlaceZorkmids(int32_t total, int32_t piles);
    void AddLeverCloset();
    Monster* CreateNamedMonster(const char* monsterName, int32_t offset);
    void SpawnHorde(int32_t px, int32_t py, QuestRecord* quest, const char* leaderName,
                    int32_t minSize, int32_t addSize);
    Monster* SpawnMonster(int32_t px, int32_t py, bool sleeping, bool groupAllowed,
                          bool aquaticAllowed);

    // ---- saving (level_save.cpp; the load's later steps in gen/level_load.cpp) ---------
    // Writes the level record; false when a write failed or an object on it has no save
    // record of its own class (nothing of the level is then trustworthy).
    bool Save(SaveWriter& out);
    // Fills a level made by LevelForLoading. Appends the level to GameLevels before its
    // squares are read, so the objects read inside land on it. The reader fails on a
    // hostile count or a cut-short stream; the level then stays listed (the caller tears
    // the game down).
    void Load(SaveReader& in);
    bool SaveRoomScriptState(SaveWriter& out) const;
    void LoadRoomScriptState(SaveReader& in);

    // ---- room scripts (gen/room_triggers.cpp) ------------------------------------------
    // Runs every script of every active placed room once, then remembers the hero's room
    // and forgets this turn's room events.
    void DoRoomTriggerLogic();
    // True when the script of the room may still fire: repeat -1, or fewer successes than
    // its repeat count (a missing counter is created at 0). False (warned) without a template
    // or script.
    bool CanRunRoomScript(int32_t room, int32_t script);
    void IncRoomScriptCount(int32_t room, int32_t script);

    // ---- shops ------------------------------------------------------------------------
    // The shop alarm, once per turn.
    void UpdateShopkeeperPositions();

    // ---- sight (field_of_view.cpp) ----------------------------------------------------
    // The pass clears the per-turn sight bits (InSight, Visible, Lit) only inside the box
    // where they may be set (sightBox) and works out the drawing bits only around what it
    // marked. Whatever else sets those bits goes through MarkSquareSeen or RevealMap, which
    // widen the box; a fresh grid (SetSize) starts with the whole level in it.
    void UpdateFieldOfView(int32_t x, int32_t y, int32_t radius);
    // Clears the per-turn sight bits of every square.
    void ClearVisibility();
    void MarkSquareSeen(int32_t x, int32_t y);
    bool BlocksSight(int32_t x, int32_t y) const;
    void RevealMap();
    void ScanOctant1(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e);
    void ScanOctant2(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e);
    void ScanOctant3(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e);
    void ScanOctant4(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e);
    void ScanOctant5(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e);
    void ScanOctant6(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e);
    void ScanOctant7(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e);
    void ScanOctant8(int32_t x, int32_t y, int32_t d0, int32_t r, double s, double e);

    // ---- drawing (level_draw.cpp) ------------------------------------------------------
    // The liquid underlay and the base layer of the view; fills fluidVisibleMap.
    void DrawFluids(const MapView& view);
    // The top layer of mapped squares, the shading and the objects on visible squares.
    void Draw(const MapView& view);
    // Clears the screen's clip rectangle to black and paints DrawFluids and Draw with nothing
    // between them. The map's picture is kept: a frame that paints the same tiles and shades
    // as the last one copies it instead of painting it again.
    void DrawMap(const MapView& view);

    // ---- fields -----------------------------------------------------------------------
    std::vector<LevelCell> squares;  // x + y * width
    uint8_t nextRoomNumber = 0;
    int32_t roomCount = 0;
    int32_t shopsPlaced = 0;
    std::vector<std::string> roomNames;
    std::vector<RoomRecord*> rooms;       // owned, by room index
    std::vector<SpellMine*> spellMines;   // owned by their squares
    std::vector<GameObj*> customBlockers; // not owned
    // Per-square maps: empty until created (EnsureSquareMaps or the graphics pass).
    std::vector<uint8_t> fluidVisibleMap;
    std::vector<uint8_t> drawnMap;
    int32_t width = 0;
    int32_t height = 0;
    SDL_Surface* tilesetImage = nullptr;  // the branch's, not owned
    std::vector<BranchTileRange*> baseTileMap;  // tiles belong to the branch
    std::vector<BranchTileRange*> wallTileMap;
    std::vector<BranchTileRange*> topTileMap;
    std::vector<int32_t> highlightMap;
    int32_t depth = 0;
    int32_t branchId = 0;
    int32_t isSideDimension = 0;
    int32_t returnDepth = 0;
    int32_t returnX = 0;
    int32_t returnY = 0;
    // The level a side dimension was entered from. A save writes the side dimension right
    // after it and a load links it again from that order. Compared, never followed, unless
    // it is still listed in GameLevels.
    Level* returnLevel = nullptr;
    uint8_t hasDiggleGodRoom = 0;  // the three layout flags
    uint8_t hasShop = 0;
    uint8_t hasZoo = 0;
    uint8_t shopkeepersAngry = 0;
    int32_t startX = 0;
    int32_t startY = 0;
    GameObj* questBlocker = nullptr;  // the quest blocker standing on the level, if any
    std::vector<GameObj*> objects;   // every object on the level (owned)
    std::vector<std::pair<int32_t, int32_t>> waterSquares;
    std::vector<int32_t> reserved;
    std::vector<GameObj*> monsters;  // the monsters among objects
    std::vector<GameObj*> shopkeepers;  // the Shopkeeper objects among objects
    std::set<std::pair<int32_t, int32_t>> leverWalls;
    int32_t previousRoom = -1;
    std::map<std::pair<int32_t, int32_t>, int32_t> scriptSuccesses;
    std::map<std::pair<int32_t, std::string>, std::set<std::string>> roomEvents;

    // Where per-turn sight bits may be set (inclusive bounds), for the grid whose first
    // square and count are recorded with it; a different grid counts as wholly in the box.
    struct SightBox {
        int32_t x0 = 0;
        int32_t y0 = 0;
        int32_t x1 = -1;
        int32_t y1 = -1;
        const LevelCell* grid = nullptr;
        size_t count = 0;
    };
    SightBox sightBox;

private:
    struct NoBranchLookup {};
    explicit Level(NoBranchLookup) {}

    size_t Index(int32_t x, int32_t y) const {
        return static_cast<size_t>(x) + static_cast<size_t>(y) * static_cast<size_t>(width);
    }
    // The painting steps behind DrawFluids, Draw and DrawMap (level_draw.cpp); `painter`
    // says where the blits go.
    void PaintFluids(const MapView& view, void* painter);
    bool PaintTopsAndShading(const MapView& view, void* painter);
    void DrawObjects(const MapView& view);
    BranchTileRange* LayerTile(const std::vector<BranchTileRange*>& layer, int32_t x, int32_t y) const {
        if (!IsInside(x, y) || layer.size() <= Index(x, y)) return nullptr;
        return layer[Index(x, y)];
    }
};

// Turns the level's shopkeepers hostile, sets the store achievement for it and marks all of
// the hero's goods paid. Nothing for a null level.
void AngerShopkeepers(Level* level);

// Links the Bob into the Bob list of square (x, y) of the current level, so it is drawn and
// animated with that square; nothing outside the level or without one.
void LinkBobToTile(Bob* bob, int32_t x, int32_t y);

// The level whose squares are being read from a save, or null; objects read there land on it.
extern Level* LevelBeingLoaded;

// The level being played; null between games.
extern Level* CurrentLevel;
// Every level of the running game in order of creation (owned); empty between games.
extern std::vector<Level*> GameLevels;

#pragma once
// The objects on a level: GameObj (every thing standing on a dungeon square; its root,
// Serializable, is in core/class_registry.h) and Activatable (a GameObj with an "activated"
// flag and a short history of it).
//
// The order of the virtual operations is fixed; subclasses add theirs after these.
#include <cstdint>
#include <string>

#include "core/class_registry.h"
#include "core/save_stream.h"
#include "levels/map_view.h"
#include "media/bob.h"

class Item;
class Level;
class LevelCell;

// Screen position of a Bob for an object at tile (x, y) with the given anchor mode,
// pixel offset (truncated toward zero) and frame size. False for an unknown anchor
// mode: the Bob then keeps its last position.
bool ComputeBobPlacement(int32_t anchorMode, int32_t x, int32_t y, float offsetX, float offsetY,
                         int32_t frameWidth, int32_t frameHeight, const MapView& view,
                         int32_t* outX, int32_t* outY);

// Hook run first by every GameObj destructor; the turn engine sets it to drop the
// object's pending deferred moves.
using GameObjHook = void (*)(class GameObj*);
void SetGameObjDestroyHook(GameObjHook hook);

// The hero of the game being played, or null when no game runs. Defined with the hero
// (creatures/player.cpp); the level model asks through it instead of knowing the Player.
GameObj* CurrentHero();

constexpr int32_t kDrawLayerCount = 4;

class GameObj : public Serializable {
public:
    GameObj();
    // Load constructor: reads the GameObj block and places the object on the level
    // of the game's level list with the saved depth and branch id.
    explicit GameObj(SaveReader& in);

    GameObj(const GameObj&) = delete;
    GameObj& operator=(const GameObj&) = delete;

    bool Save(SaveWriter& out) override;
    ~GameObj() override;
    virtual uint32_t GetClassHash();
    virtual int32_t GetClassIndex();
    virtual void CopyStateFrom(GameObj* other);
    virtual bool IsHittable();
    virtual bool IsDoorOrChest();
    virtual bool IsUberChest();
    virtual bool IsAnvil();
    virtual bool IsItem();
    virtual int32_t IsDoorOrLever();
    virtual void DrawOnMinimap(int32_t x, int32_t y, int32_t zoom);
    virtual int32_t UnusedQuery();
    virtual bool CanBeStunned();
    virtual int32_t IsCreature();
    virtual int32_t IsMonster();
    virtual bool IsBlocker();
    virtual bool IsLever();
    virtual bool IsActivatable();
    virtual bool IsClock();
    virtual std::string GetName();
    virtual std::string GetDescription();
    virtual void Destroy();
    virtual void ReturnToIdle();
    virtual int32_t BumpedByPlayer();
    virtual void MonsterEntered(GameObj* monster);
    virtual void PlayerEntered();
    virtual void Draw(const MapView& view);
    virtual void DrawOverlay(const MapView& view);
    virtual int32_t ApplyDamage(int32_t amount, const std::string& cause, int32_t a, int32_t b);
    virtual int32_t TakeDamage(int32_t amount, GameObj* source, const std::string& cause,
                               int32_t a, int32_t b);
    virtual void HitByPlayer();
    virtual void Shatter();
    virtual void AdvanceAnimation(int32_t elapsedMs);
    virtual int32_t UseItemOn(Item* item);
    virtual int32_t AcceptsItem(Item* item);
    virtual void PlaceOnLevel(int32_t newX, int32_t newY, Level* newLevel, int32_t flag);
    virtual const char* GetActionVerb();
    virtual void HighlightNextDraw(const MapView& view);
    virtual bool IsMovable();
    virtual bool IsClosedDoor();
    virtual int32_t Activate();
    virtual void Update();
    virtual void AddStunTurns(int32_t turns);
    virtual int32_t WalkPlayerBeside();
    virtual int32_t UsesAttackCursor();
    virtual void SetRoomID(const std::string& id);
    virtual std::string GetRoomID();
    virtual bool MatchesRoomID(Level* onLevel, int32_t room, const std::string& id);
    virtual bool IsPlayer();
    virtual void AddRoomEvent(const std::string& eventName);

    // Queries the level model asks of what stands on it.
    // How far the object sees when it is the viewer of the field of view.
    virtual int32_t SightRadius();
    // True when the object may walk onto liquid squares now.
    virtual bool CrossesLiquid();
    // True for a trap the hero has spotted; paths go around such squares when they can.
    virtual bool IsSpottedTrap();

    // True when the hero stands on one of the four orthogonal neighbours of (x, y).
    bool IsAdjacentToPlayer() const;

    int32_t active = 1;
    Bob bob;
    int32_t blocksMovement = 1;
    int32_t passable = 0;
    int32_t blocksSight = 1;
    int32_t coversSquareAbove = 0;
    int32_t anchorMode = 0;
    // The level draws its objects in passes by this number, lowest first (0 .. kDrawLayerCount - 1;
    // others count as the nearest one). Not saved: each class sets it.
    int32_t drawLayer = 1;
    int32_t x = 0;
    int32_t y = 0;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    LevelCell* cell = nullptr;
    Level* level = nullptr;
    int32_t movable = 1;
    int32_t roomNumber = -1;
    std::string roomID;
    // Set by a load constructor whose object cannot be kept (an item of a kind the data no
    // longer has): the reader deletes it once its whole block has been read.
    bool dropAfterLoad = false;
    // The branch and depth a load constructor read (-1 -1: no floor). Not saved again as such:
    // a save writes the level the object is on.
    int32_t loadedBranch = -1;
    int32_t loadedDepth = -1;

protected:
    // Places the Bob for drawing; false when there is nothing to draw.
    bool PlaceBob(const MapView& view);
};

class Activatable : public GameObj {
public:
    Activatable();
    explicit Activatable(SaveReader& in);

    bool Save(SaveWriter& out) override;
    uint32_t GetClassHash() override;
    int32_t GetClassIndex() override;
    bool IsActivatable() override;
    void Update() override;

    virtual bool IsActivated();
    virtual void SetActivated(bool value);
    virtual bool HasActivationChanged();

    int32_t activated = 0;
    int32_t activatedPrev = 0;
    int32_t activatedOlder = 0;
};

// A contained object (in a chest, a pack, an equipment slot, a monster's loot) stands on no
// floor: its record names branch and depth -1. True when the loaded object's does; else the
// reader fails, naming the floor, and the caller deletes the object (which takes it off the
// floor it was put on).
bool CheckContainedObject(SaveReader& in, const GameObj* object);

// Optional object reference inside another object's block: a presence byte 0 for
// null; else 1, the object's class key word and the object's own save block.
bool WriteObjectRef(SaveWriter& out, GameObj* object);
// Null for a stored null. A present reference whose key names no class, or whose
// object is not a game object, fails the reader and gives null. An object marked
// dropAfterLoad is deleted and gives null; the reader goes on. A contained object must name no
// floor (branch and depth -1): one that does fails the reader and gives null.
GameObj* ReadObjectRef(SaveReader& in);

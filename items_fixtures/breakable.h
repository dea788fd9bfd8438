#pragma once
// Things the hero smashes: the branch tileset's breakables (pots, crates ...) and the custom
// breakables of room templates, and the statue of Zarnoch.
//
// A breakable takes its number of hits, one damage frame per hit, posts the room events
// "hit" (every hit) and "broken" (the last), plays its break animation and then lies broken,
// passable and see-through, with its contents on its square. The statue breaks at the first
// blow or spell, for experience and the vandalism statistic.
//
// Breakable save block after the GameObj block: broken-now (word), tilesetIndex, contents
// (embedded object), then from 1.0.8 hitsNeeded, hitsTaken and, for a custom breakable
// (tilesetIndex -1), its intact, breaking and broken sprite records. It always writes this
// whole layout, whatever the version of the save it came from. Older saves give one hit
// needed, taken when the breakable was broken.
// ZarnochStatue save block: broken (word).
#include <cstdint>
#include <string>

#include "items_fixtures/fixture.h"
#include "levels/room_script_model.h"

class Level;
class Item;
struct BreakableDef;

class Breakable : public GameObj {
public:
    // A breakable of the branch tileset (generation).
    Breakable(Level* onLevel, int32_t tilesetIndex, int32_t hitsNeeded, int32_t hitsAlreadyTaken);
    // A custom breakable of a room record.
    Breakable(Level* onLevel, const SpriteRecord* intact, const SpriteRecord* breaking, const SpriteRecord* broken,
              int32_t hitsNeeded, int32_t hitsAlreadyTaken);
    explicit Breakable(SaveReader& in);
    ~Breakable() override;  // deletes its contents

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return name; }
    // "It's broken.", "Break" when one more hit breaks it, else "Beat it".
    std::string GetDescription() override;
    const char* GetActionVerb() override;
    // Both swing at the breakable (unless broken) and hit it.
    int32_t Activate() override;
    int32_t BumpedByPlayer() override { return Activate(); }
    void HitByPlayer() override { Break(); }
    void Shatter() override { Break(); }
    void Destroy() override;

    bool IsBroken() const { return hitsTaken >= hitsNeededToBreak; }
    // One hit: 0 when it was already broken, else 1.
    int32_t Break();
    Sprite* GetFirstSprite() const { return firstSprite; }
    Sprite* GetSecondSprite() const { return secondSprite; }
    Sprite* GetThirdSprite() const { return thirdSprite; }
    std::string GetSoundName() const { return soundName; }

    std::string name;
    std::string description;  // a room record's tooltip text; not saved (the tooltip tells the state)
    Item* contents = nullptr;  // an item or none
    int32_t branchIndex = -1;  // index into the branch tileset's breakables; -1 custom
    int32_t hitsNeededToBreak = 1;
    int32_t hitsTaken = 0;
    std::string soundName;
    SpriteRecord intactRecord;
    SpriteRecord breakingRecord;
    SpriteRecord brokenRecord;
    // True for a custom breakable that has its sprite records (all but those of old saves).
    bool hasRecords = false;

private:
    // Fetches the three sprites (tileset entry or records) and shows the state.
    void RefreshPicture(Level* onLevel);
    void ShowState();

    Sprite* firstSprite = nullptr;
    Sprite* secondSprite = nullptr;
    Sprite* thirdSprite = nullptr;
};

class ZarnochStatue : public GameObj {
public:
    ZarnochStatue();
    explicit ZarnochStatue(SaveReader& in);

    FIXTURE_CLASS_MEMBERS();
    std::string GetName() override { return "Statue of Zarnoch"; }
    const char* GetActionVerb() override { return broken != 0 ? nullptr : "Break"; }
    int32_t Activate() override;
    int32_t BumpedByPlayer() override;
    void HitByPlayer() override { Shatter(); }
    // Breaks the statue for good: experience, the sound, the "vandalism" candy and the
    // heroic vandalism statistic. Nothing once broken. Spells destroy no statue.
    void Shatter() override;

    int32_t broken = 0;

    // The intact or broken (unspent or spent) picture.
    void RefreshPicture();
};

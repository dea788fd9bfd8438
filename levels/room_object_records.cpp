#include "levels/room_object_records.h"

#include <ostream>
#include <string>

#include "core/random.h"
#include "levels/room_templates.h"

int (*RoomRecordPercentDraw)() = CRand;

const char* const kRoomElementTypes[18] = {
    "bookshelf", "lever", "lutefiskstatue", "portal", "anvil", "statue", "zarnochstatue", "evilchest", "freezer",
    "bbq", "fountain", "digglegod", "craftvending", "foodvending", "boltvending", "drinkvending", "thrownvending",
    "dirt",
};

RoomObjectRecord::~RoomObjectRecord() = default;

void RoomObjectRecord::DeclareProperties(XMLReadWriter& rw) {
    DeclareProperty<PointProperty>(rw, "tile X and tile Y where the game object will be created.  You may also specify an ``at`` location.", std::string(), &x, &y,
                           1, nullptr);
    DeclareProperty<IntProperty>(rw, "percent chance this item will appear in the dungeon (default is ``100``)", std::string("percent"), &percent, 0,
                         nullptr);
    DeclareProperty<IntProperty>(rw, "set to ``1`` if the player can push this game object around the dungeon, ``0`` if not.", std::string("can_push"), &can_push, 0,
                         nullptr);
    DeclareProperty<StringProperty>(rw, "string label uniquely identifying this game object within the current room.", std::string("id"), &id, 0, nullptr);
}

void RoomObjectRecord::Read(RoomAttributeMap map, const RoomReadContext& ctx) {
    line = ctx.line;
    column = ctx.column;
    if (ctx.room != nullptr) templateName = ctx.room->name;
    XMLReadWriter rw(&ctx);
    DeclareProperties(rw);
    rw.Read(&map, true);
}

void RoomObjectRecord::WriteReference(std::ostream& out) {
    out << description << "\n\n";
    XMLReadWriter rw;
    DeclareProperties(rw);
    rw.WriteReference(out);
}

bool RoomObjectRecord::RollPercent() const {
    if (percent >= 100) return true;
    const int draw = RoomRecordPercentDraw != nullptr ? RoomRecordPercentDraw() : CRand();
    return draw / 328 <= percent;
}

void CustomRecord::DeclareProperties(XMLReadWriter& rw) {
    RoomObjectRecord::DeclareProperties(rw);
    DeclareProperty<StringProperty>(rw, "the short name of this object (shown, for example, in tool tips).", std::string("name"), &name, 0, nullptr);
    DeclareProperty<StringProperty>(rw, "the long description of this object (shown in tool tips).", std::string("description"), &objectDescription, 0,
                            nullptr);
    DeclareProperty<BoolProperty>(rw, "set to ``1`` if the player can walk over this object, ``0`` if not.", std::string("passable"), &passable,
                          0, &passableGiven);
    DeclareProperty<BoolProperty>(rw, "set to ``1`` if this object blocks the player's visibility, ``0`` if not.", std::string("visblock"), &visblock, 0,
                          &visblockGiven);
    DeclareProperty<SpriteProperty>(rw, "sprite to show for this custom object.", std::string("png"), &png, 1, nullptr);
}

void CustomBreakableRecord::DeclareProperties(XMLReadWriter& rw) {
    CustomRecord::DeclareProperties(rw);
    // The texts embed the values a fresh record holds.
    const std::string needed = "how many hits are needed to break this ``custombreakable`` (default is " +
                               std::to_string(hitsNeededToBreak) + ")";
    const std::string taken = "how many hits has this ``custombreakable`` already taken (default is " +
                              std::to_string(hitsTaken) + ")";
    DeclareProperty<IntProperty>(rw, needed.c_str(), std::string("hitsNeededToBreak"), &hitsNeededToBreak, 0, nullptr);
    DeclareProperty<IntProperty>(rw, taken.c_str(), std::string("hitsTaken"), &hitsTaken, 0, nullptr);
    DeclareProperty<SpriteProperty>(rw, "sprite to show immediately after this ``custombreakable`` has been broken.",
                            std::string("breaking"), &breaking, 0, &breakingGiven);
    DeclareProperty<SpriteProperty>(rw, "sprite to show after this ``custombreakable`` has been broken.", std::string("broken"), &broken, 1, nullptr);
}

void RoomClockRecord::DeclareProperties(XMLReadWriter& rw) {
    CustomRecord::DeclareProperties(rw);
    DeclareProperty<IntProperty>(rw, "the number of ticks on the clock face initially.", std::string("initial"), &initial, 1,
                         nullptr);
    DeclareProperty<IntProperty>(rw, "the number of ticks on the clock face remaining (default is same as initial).", std::string("remaining"),
                         &remaining, 0, &remainingGiven);
    DeclareProperty<BoolProperty>(rw, "set to ``1`` if the lever should be started and counting down to 0, ``0`` if not (default is ``1`` meaning clock is not started).", std::string("started"), &started, 0, nullptr);
}

void RoomTrapRecord::DeclareProperties(XMLReadWriter& rw) {
    RoomObjectRecord::DeclareProperties(rw);
    DeclareProperty<StringProperty>(rw, "the trap type to be created, as it appears in ``itemDB.xml``.  Example: ``name=\"Boulder Drop Plate\".``", std::string("name"), &name, 0,
                            nullptr);
}

void RoomMonsterRecord::DeclareProperties(XMLReadWriter& rw) {
    RoomObjectRecord::DeclareProperties(rw);
    DeclareProperty<StringProperty>(rw, "the monster type to be created, as it appears in ``monDB.xml``.  Example: ``name=\"Kleptoblobby\".``", std::string("name"),
                            &name, 0, nullptr);
}

void RoomPedestalRecord::DeclareProperties(XMLReadWriter& rw) {
    RoomObjectRecord::DeclareProperties(rw);
    DeclareProperty<StringProperty>(rw, "the name of the pedestal (shown, for example, in tool tips).", std::string("name"), &name, 1, nullptr);
    DeclareProperty<StringProperty>(rw, "the text to be displayed to the player when this ``pedestal`` is clicked", std::string("text"), &text, 1, nullptr);
}

void RoomElementRecord::DeclareProperties(XMLReadWriter& rw) {
    RoomObjectRecord::DeclareProperties(rw);
    DeclareProperty<StringProperty>(rw, "the type of element to be created, currently one of:\n\n  * ``bookshelf`` (can set ``contents`` to the name of an item as it appears in ``itemDB.xml``, for example ``contents=\"Copper Bolt\"``).\n"
        "  * ``lever``\n"
        "  * ``lutefiskstatue``\n"
        "  * ``portal``\n"
        "  * ``anvil``\n"
        "  * ``statue``\n"
        "  * ``zarnochstatue``\n"
        "  * ``evilchest``\n"
        "  * ``freezer``\n"
        "  * ``bbq``\n"
        "  * ``fountain``\n"
        "  * ``digglegod``\n"
        "  * ``craftvending``\n"
        "  * ``foodvending``\n"
        "  * ``boltvending``\n"
        "  * ``drinkvending``\n"
        "  * ``thrownvending``\n"
        "  * ``dirt``\n", std::string("type"), &type, 1, nullptr);
    DeclareProperty<StringProperty>(rw, "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t   the name of a Diggle God. Only valid for Diggle Gods.", std::string("name"), &name, 0, nullptr);
    DeclareProperty<StringProperty>(rw, "the name of an item as it appears in ``itemDB.xml``, for example ``contents=\"Copper Bolt\"``.  **Only valid for** ``type=\"bookshelf\"``.", std::string("contents"), &contents, 0, nullptr);
}

void RoomLootRecord::DeclareProperties(XMLReadWriter& rw) {
    RoomObjectRecord::DeclareProperties(rw);
    DeclareProperty<IntProperty>(rw, "the number of the loot to create.", std::string("amount"), &amount, 0, nullptr);
    DeclareProperty<StringProperty>(rw, "the type of the loot to create.", std::string("type"), &type, 0, nullptr);
    DeclareProperty<StringProperty>(rw, "the name of an item as it appears in ``itemDB.xml``, for example ``subtype=\"Copper Ingot\"``.", std::string("subtype"), &subtype, 0, nullptr);
    DeclareProperty<BoolProperty>(rw, "set to ``1`` if the loot should be an artifact, ``0`` if not.", std::string("artifact"), &artifact, 0, nullptr);
}

void RoomHordeRecord::DeclareProperties(XMLReadWriter& rw) {
    RoomObjectRecord::DeclareProperties(rw);
    DeclareProperty<StringProperty>(rw, "the name of a monster as it appears in ``monDB.xml`` (for example, ``name=\"Unfriendly AI\"``).", std::string("name"), &name, 0, nullptr);
    DeclareProperty<IntProperty>(rw, "the minimum number of monsters that will appear in the horde (default taken from ``minimum horde size`` in ``tweakDB.xml``).", std::string("min"), &min, 0, nullptr);
    DeclareProperty<IntProperty>(rw, "up to this many additional monsters will appear in the horde (default taken from ``additional horde size`` in ``tweakDB.xml``).", std::string("additional"), &additional, 0, nullptr);
}

void RoomLeverRecord::DeclareProperties(XMLReadWriter& rw) {
    RoomObjectRecord::DeclareProperties(rw);
    DeclareProperty<BoolProperty>(rw, "set to ``1`` if the lever should be activated, ``0`` if not (default is ``0``).", std::string("activated"), &activated, 0, nullptr);
}

RoomObjectRecord* CreateRoomObjectRecord(const std::string& tag) {
    RoomObjectRecord* record = nullptr;
    if (tag == "customblocker") record = new CustomBlockerRecord();
    else if (tag == "customengraving") record = new CustomEngravingRecord();
    else if (tag == "custombreakable") record = new CustomBreakableRecord();
    else if (tag == "trap") record = new RoomTrapRecord();
    else if (tag == "monster") record = new RoomMonsterRecord();
    else if (tag == "pedestal") record = new RoomPedestalRecord();
    else if (tag == "element") record = new RoomElementRecord();
    else if (tag == "loot") record = new RoomLootRecord();
    else if (tag == "horde") record = new RoomHordeRecord();
    else if (tag == "lever") record = new RoomLeverRecord();
    else if (tag == "clock") record = new RoomClockRecord();
    if (record != nullptr) record->tag = tag;
    return record;
}

namespace {

// The parts of a picture attribute that are missing: "png" when none is given, else the
// missing ones of the four series parts.
std::string MissingPictureParts(const RoomAttributeMap& map, const std::string& name) {
    static const char* const kParts[] = {"Sprite", "First", "Num", "Rate"};
    if (map.count(name) != 0) return std::string();
    std::string missing;
    bool any = false;
    for (const char* part : kParts) {
        if (map.count(name + part) != 0) {
            any = true;
            continue;
        }
        missing += (missing.empty() ? "" : ", ") + name + part;
    }
    return any ? missing : name;
}

}  // namespace

RoomObjectRecord* ReadRoomObjectRecord(const std::string& tag, RoomAttributeMap map, const RoomReadContext& ctx) {
    RoomObjectRecord* record = CreateRoomObjectRecord(tag);
    if (record == nullptr) return nullptr;
    const std::string missing = MissingPictureParts(map, "png");
    record->Read(std::move(map), ctx);
    const CustomRecord* custom = dynamic_cast<const CustomRecord*>(record);
    if (custom != nullptr && !custom->HasPicture()) {
        RoomsXmlWarning("roomScript: room '%s': %s is left out: its picture needs %s", record->templateName.c_str(),
                        tag.c_str(), missing.empty() ? "png" : missing.c_str());
    }
    return record;
}

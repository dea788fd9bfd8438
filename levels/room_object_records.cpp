#include "levels/room_object_records.h"

#include <ostream>

#include "core/random.h"
#include "levels/room_templates.h"

int (*RoomRecordPercentDraw)() = CRand;

const char* const kRoomElementTypes[18] = {
    "bookshelf", "lever", "lutefiskstatue", "portal", "anvil", "statue", "zarnochstatue", "evilchest", "freezer",
    "bbq", "fountain", "digglegod", "craftvending", "foodvending", "boltvending", "drinkvending", "thrownvending",
    "dirt",
};

namespace {

// Builds one property with its reference text.
template <class P, class... Args>
void Declare(XMLReadWriter& rw, const char* text, Args... args) {
    P* property = new P(args...);
    property->SetDescription(text);
    rw.AddProperty(property);
}

}  // namespace

RoomObjectRecord::~RoomObjectRecord() = default;

void RoomObjectRecord::DeclareProperties(XMLReadWriter& rw) {
    Declare<PointProperty>(rw, "The tile where the object is created, relative to the room.", std::string(), &x, &y,
                           1, nullptr);
    Declare<IntProperty>(rw, "The chance in percent that the object appears.", std::string("percent"), &percent, 0,
                         nullptr);
    Declare<IntProperty>(rw, "Whether the player can push the object.", std::string("can_push"), &can_push, 0,
                         nullptr);
    Declare<StringProperty>(rw, "The label room scripts use for the object.", std::string("id"), &id, 0, nullptr);
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
    Declare<StringProperty>(rw, "The name shown for the object.", std::string("name"), &name, 0, nullptr);
    Declare<StringProperty>(rw, "The tooltip text of the object.", std::string("description"), &objectDescription, 0,
                            nullptr);
    Declare<BoolProperty>(rw, "Whether the player can walk through the object.", std::string("passable"), &passable,
                          0, &passableGiven);
    Declare<BoolProperty>(rw, "Whether the object blocks sight.", std::string("visblock"), &visblock, 0,
                          &visblockGiven);
    Declare<SpriteProperty>(rw, "The picture of the object.", std::string("png"), &png, 1, nullptr);
}

void CustomBreakableRecord::DeclareProperties(XMLReadWriter& rw) {
    CustomRecord::DeclareProperties(rw);
    Declare<IntProperty>(rw, "How many hits break the object.", std::string("hitsNeededToBreak"), &hitsNeededToBreak,
                         0, nullptr);
    Declare<IntProperty>(rw, "How many hits the object has already taken.", std::string("hitsTaken"), &hitsTaken, 0,
                         nullptr);
    Declare<SpriteProperty>(rw, "The picture while the object is breaking (png when not given).",
                            std::string("breaking"), &breaking, 0, &breakingGiven);
    Declare<SpriteProperty>(rw, "The picture once the object is broken.", std::string("broken"), &broken, 1, nullptr);
}

void RoomClockRecord::DeclareProperties(XMLReadWriter& rw) {
    CustomRecord::DeclareProperties(rw);
    Declare<IntProperty>(rw, "The value the clock starts from and resets to.", std::string("initial"), &initial, 1,
                         nullptr);
    Declare<IntProperty>(rw, "The value the clock reads now (initial when not given).", std::string("remaining"),
                         &remaining, 0, &remainingGiven);
    Declare<BoolProperty>(rw, "Whether the clock is running.", std::string("started"), &started, 0, nullptr);
}

void RoomTrapRecord::DeclareProperties(XMLReadWriter& rw) {
    RoomObjectRecord::DeclareProperties(rw);
    Declare<StringProperty>(rw, "The trap's name (a random trap when not given).", std::string("name"), &name, 0,
                            nullptr);
}

void RoomMonsterRecord::DeclareProperties(XMLReadWriter& rw) {
    RoomObjectRecord::DeclareProperties(rw);
    Declare<StringProperty>(rw, "The monster's display name (a random monster when not given).", std::string("name"),
                            &name, 0, nullptr);
}

void RoomPedestalRecord::DeclareProperties(XMLReadWriter& rw) {
    RoomObjectRecord::DeclareProperties(rw);
    Declare<StringProperty>(rw, "The title of the book.", std::string("name"), &name, 1, nullptr);
    Declare<StringProperty>(rw, "The text of the book.", std::string("text"), &text, 1, nullptr);
}

void RoomElementRecord::DeclareProperties(XMLReadWriter& rw) {
    RoomObjectRecord::DeclareProperties(rw);
    Declare<StringProperty>(rw, "The kind of fixture.", std::string("type"), &type, 1, nullptr);
    Declare<StringProperty>(rw, "The god of a digglegod.", std::string("name"), &name, 0, nullptr);
    Declare<StringProperty>(rw, "The item a bookshelf holds.", std::string("contents"), &contents, 0, nullptr);
}

void RoomLootRecord::DeclareProperties(XMLReadWriter& rw) {
    RoomObjectRecord::DeclareProperties(rw);
    Declare<IntProperty>(rw, "How many items.", std::string("amount"), &amount, 0, nullptr);
    Declare<StringProperty>(rw, "The kind of item.", std::string("type"), &type, 0, nullptr);
    Declare<StringProperty>(rw, "The item's name, or random.", std::string("subtype"), &subtype, 0, nullptr);
    Declare<BoolProperty>(rw, "Whether the item is an artifact.", std::string("artifact"), &artifact, 0, nullptr);
}

void RoomHordeRecord::DeclareProperties(XMLReadWriter& rw) {
    RoomObjectRecord::DeclareProperties(rw);
    Declare<StringProperty>(rw, "The leader's monster name.", std::string("name"), &name, 0, nullptr);
    Declare<IntProperty>(rw, "The least size of the horde.", std::string("min"), &min, 0, nullptr);
    Declare<IntProperty>(rw, "How many more may come.", std::string("additional"), &additional, 0, nullptr);
}

void RoomLeverRecord::DeclareProperties(XMLReadWriter& rw) {
    RoomObjectRecord::DeclareProperties(rw);
    Declare<BoolProperty>(rw, "Whether the lever starts pulled.", std::string("activated"), &activated, 0, nullptr);
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

RoomObjectRecord* ReadRoomObjectRecord(const std::string& tag, RoomAttributeMap map, const RoomReadContext& ctx) {
    RoomObjectRecord* record = CreateRoomObjectRecord(tag);
    if (record != nullptr) record->Read(std::move(map), ctx);
    return record;
}

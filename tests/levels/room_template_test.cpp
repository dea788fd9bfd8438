#include "levels/room_templates.h"

#include <gtest/gtest.h>
#include <physfs.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "core/command_state.h"
#include "creatures/spell.h"
#include "support/platform_fixtures.h"
#include "support/run_game.h"

namespace {

struct Output {
    std::string out;
    std::string err;
};

class RoomTemplateTest : public ::testing::Test {
protected:
    void SetUp() override { ClearRoomTemplates(); }
    void TearDown() override {
        ClearRoomTemplates();
        CmdLine.debugFlags = 0;
    }

    static Output Load(const std::string& xml, bool* ok = nullptr) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const bool result = LoadRoomTemplatesFromBuffer(xml.data(), xml.size(), "test");
        Output o;
        o.out = testing::internal::GetCapturedStdout();
        o.err = testing::internal::GetCapturedStderr();
        if (ok) *ok = result;
        return o;
    }
};

TEST_F(RoomTemplateTest, EveryLetterFillsItsLayersAndUnknownLettersAreReportedWhereTheyStand) {
    const Output o = Load(
        "<roomdb>\n"
        "<room name='letters' width='9' height='3'>\n"
        "<row text='.sSi@^#P!'/>\n"
        "<row text='DdWLGIXAS'/>\n"
        "<row text=' 7i.#'/>\n"
        "</room>\n"
        "</roomdb>\n");
    EXPECT_EQ(o.out, "");
    // The warning is exact: position line first, then the message with its own newline.
    EXPECT_EQ(o.err, "line:4, column:0\nroomScript: Found unknown tile 'A'\n\n");
    ASSERT_EQ(RoomTemplates.size(), 1u);
    const RoomTemplate& t = *RoomTemplates[0];
    const std::vector<uint8_t> tiles = {1, 1, 1, 1, 1, 1, 2, 2, 2,  //
                                        6, 6, 7, 8, 9, 10, 15, 0, 1,  //
                                        0, 0, 1, 1, 2, 0, 0, 0, 0};
    EXPECT_EQ(t.tiles, tiles);
    EXPECT_EQ(t.doorLayer[9], 0);
    EXPECT_EQ(t.doorLayer[10], 1);
    const std::vector<uint8_t> marks = {0, 0, 0, 0, 2, 3, 0, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                        0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(t.markLayer, marks);
    EXPECT_EQ(t.smallSX, 1);
    EXPECT_EQ(t.smallSY, 0);
    EXPECT_EQ(t.bigSX, 8);  // the second "S" wins
    EXPECT_EQ(t.bigSY, 1);
    const std::vector<std::pair<int32_t, int32_t>> spots = {{3, 0}, {2, 2}};
    EXPECT_EQ(t.itemSpots, spots);
    EXPECT_EQ(t.CountTiles(RoomTile::Door), 2);
    const std::vector<std::pair<int32_t, int32_t>> doors = {{0, 1}, {1, 1}};
    EXPECT_EQ(t.DoorTiles(), doors);
    EXPECT_EQ(t.TileAt(-1, 0), 0);
    // The door list is kept; a change to the tiles shows once it is forgotten.
    RoomTemplate& changed = *RoomTemplates[0];
    changed.tiles[9] = RoomTile::Floor;
    EXPECT_EQ(changed.DoorTiles(), doors);
    changed.ForgetDoorTiles();
    const std::vector<std::pair<int32_t, int32_t>> oneDoor = {{1, 1}};
    EXPECT_EQ(changed.DoorTiles(), oneDoor);
    EXPECT_EQ(t.TileAt(9, 0), 0);
}

TEST_F(RoomTemplateTest, ByNameRoomsAreFoundByNameButNeverJoinTheGenerationTable) {
    const Output o = Load(
        "<roomdb>\n"
        "<room name='hall' width='2' height='1'><row text='..'/></room>\n"
        "<room name='lesson' width='2' height='1'><flags BYNAME='1'/><row text='..'/></room>\n"
        "<room name='hall' width='3' height='1'><flags byname='1'/><row text='...'/></room>\n"
        "<room name='after' width='2' height='1'><flags byname='0'/><row text='..'/></room>\n"
        "</roomdb>\n");
    EXPECT_EQ(o.err, "");
    ASSERT_EQ(RoomTemplates.size(), 2u);
    EXPECT_EQ(RoomTemplates[0]->name, "hall");
    EXPECT_EQ(RoomTemplates[1]->name, "after");
    ASSERT_EQ(NamedOnlyRoomTemplates.size(), 2u);
    BuildRoomTemplateMap();
    EXPECT_EQ(RoomTemplateMap.size(), 2u);
    ASSERT_NE(FindFirstRoomTemplate("lesson"), nullptr);
    EXPECT_EQ(FindFirstRoomTemplate("lesson")->byName, 1);
    EXPECT_EQ(FindRoomTemplate("lesson"), NamedOnlyRoomTemplates[0]);
    // A generation room of the same name comes first.
    EXPECT_EQ(FindFirstRoomTemplate("hall"), RoomTemplates[0]);
    EXPECT_EQ(FindRoomTemplate("hall"), RoomTemplates[0]);
    ClearRoomTemplates();
    EXPECT_TRUE(NamedOnlyRoomTemplates.empty());
    EXPECT_EQ(FindFirstRoomTemplate("lesson"), nullptr);
}

TEST_F(RoomTemplateTest, NamesAnyCaseFlagsDefaultsAndRowLengths) {
    const Output o = Load(
        "<ROOMDB>\n"
        "<ROOM NAME='loud' WIDTH='4' HEIGHT='2'>\n"
        "<FLAGS SHOP='3' zoo='0' Quest='1' special='1' digglegod='1' notraps='1' nomonsters='1'"
        " noblockers='1' notreasure='1' MINLEVEL='2' maxlevel='7'/>\n"
        "<ROW TEXT='....'/>\n"
        "<Row Text='#'/>\n"
        "</ROOM>\n"
        "<room name='plain' width='3' height='2'><row text='#.#'/></room>\n"
        "<room name='long' width='2' height='1'><row text='..#'/><row text='..'/></room>\n"
        "</ROOMDB>\n");
    ASSERT_EQ(RoomTemplates.size(), 3u);
    const RoomTemplate& loud = *RoomTemplates[0];
    EXPECT_EQ(loud.shop, 1);
    EXPECT_EQ(loud.zoo, 0);
    EXPECT_EQ(loud.quest, 1);
    EXPECT_EQ(loud.special, 1);
    EXPECT_EQ(loud.digglegod, 1);
    EXPECT_EQ(loud.notraps, 1);
    EXPECT_EQ(loud.nomonsters, 1);
    EXPECT_EQ(loud.noblockers, 1);
    EXPECT_EQ(loud.notreasure, 1);
    EXPECT_EQ(loud.minLevel, 2);
    EXPECT_EQ(loud.maxLevel, 7);
    // A short row leaves the rest of its squares outside the room.
    EXPECT_EQ(loud.tiles, (std::vector<uint8_t>{1, 1, 1, 1, 2, 0, 0, 0}));
    const RoomTemplate& plain = *RoomTemplates[1];
    EXPECT_EQ(plain.minLevel, 0);
    EXPECT_EQ(plain.maxLevel, 25);
    EXPECT_EQ(plain.shop + plain.zoo + plain.quest + plain.special + plain.digglegod + plain.notraps +
                  plain.nomonsters + plain.noblockers + plain.notreasure,
              0);
    EXPECT_TRUE(plain.AllowsDepth(25));
    EXPECT_FALSE(plain.AllowsDepth(26));
    // A long row is cut at the width and an extra row is ignored; both are reported.
    const RoomTemplate& longRoom = *RoomTemplates[2];
    EXPECT_EQ(longRoom.tiles, (std::vector<uint8_t>{1, 1}));
    EXPECT_NE(o.err.find("line:8, column:39\nroomScript: row 0 of room 'long' is longer than the width 2"),
              std::string::npos) << o.err;
    EXPECT_NE(o.err.find("roomScript: room 'long' has more rows than its height 1"), std::string::npos) << o.err;
}

TEST_F(RoomTemplateTest, LaterTemplateOfANameWinsTheMapAndMissingFilesAreSkipped) {
    TempDir dir;
    ASSERT_TRUE(MakeFileWithParents(dir.file("game/rooms.xml"),
                                    "<roomdb><room name='Hall' width='1' height='1'><row text='.'/></room>"
                                    "<room name='Only' width='1' height='1'><row text='#'/></room></roomdb>"));
    ASSERT_TRUE(MakeFileWithParents(dir.file("mod/Rooms.xml"),
                                    "<roomdb><room name='Hall' width='2' height='1'><row text='..'/></room></roomdb>"));
    const bool ownInit = !PHYSFS_isInit();
    if (ownInit) {
        ASSERT_NE(PHYSFS_init(nullptr), 0);
    }
    ASSERT_NE(PHYSFS_mount(dir.path().c_str(), "/", 0), 0);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    LoadRoomTemplates("game//rooms.xml");
    EXPECT_EQ(RoomTemplateCounters.size(), 2u);
    LoadRoomTemplates("expansion//rooms.xml");
    LoadRoomTemplates("expansion2//rooms.xml");
    LoadRoomTemplates("expansion3//rooms.xml");
    LoadRoomTemplates("mod//rooms.xml");
    const std::string out = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    PHYSFS_unmount(dir.path().c_str());
    if (ownInit) PHYSFS_deinit();
    EXPECT_EQ(out, "");
    ASSERT_EQ(RoomTemplates.size(), 3u);
    EXPECT_EQ(RoomTemplateCounters, (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(FindRoomTemplate("Hall"), nullptr);  // the map is built only on request
    BuildRoomTemplateMap();
    ASSERT_NE(FindRoomTemplate("Hall"), nullptr);
    EXPECT_EQ(FindRoomTemplate("Hall"), RoomTemplates[2]);
    EXPECT_EQ(FindRoomTemplate("Hall")->width, 2);
    EXPECT_EQ(FindFirstRoomTemplate("Hall"), RoomTemplates[0]);
    EXPECT_EQ(FindRoomTemplate("Only"), RoomTemplates[1]);
    EXPECT_EQ(FindRoomTemplate("hall"), nullptr);  // names are exact
    EXPECT_EQ(RoomTemplateMap.size(), 2u);
}

TEST_F(RoomTemplateTest, ScriptsKeepTheirConditionsAndActionsInOrder) {
    const Output o = Load(
        "<roomdb>\n"
        "<room name='scripted' width='5' height='3'>\n"
        "<row text='#####'/>\n"
        "<row text='#1.2#'/>\n"
        "<row text='##D##'/>\n"
        "<lever at='1' id='lv' activated='1'/>\n"
        "<monster at='1' name='Grub' percent='40' can_push='0'/>\n"
        "<script repeat='-1'>\n"
        "  <condition condition_type='activated' id='lv' activated='1'/>\n"
        "  <condition condition_type='entered' not='1'/>\n"
        "  <action on='success' action_type='ticker' text='Click.'/>\n"
        "  <action on='failure' action_type='move' id='lv' at='2'/>\n"
        "  <action on='success' action_type='create' create_type='loot' x='3' y='1' type='potion' amount='2'/>\n"
        "</script>\n"
        "<script><action on='success' action_type='remove' id='lv'/></script>\n"
        "</room>\n"
        "</roomdb>\n");
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "");
    ASSERT_EQ(RoomTemplates.size(), 1u);
    const RoomTemplate& t = *RoomTemplates[0];
    // Both locations are used: their squares become floor.
    EXPECT_EQ(t.TileAt(1, 1), RoomTile::Floor);
    EXPECT_EQ(t.TileAt(3, 1), RoomTile::Floor);
    ASSERT_EQ(t.records.size(), 2u);
    const RoomObjectRecord& lever = *t.records[0];
    EXPECT_EQ(lever.tag, "lever");
    EXPECT_EQ(lever.id, "lv");
    EXPECT_EQ(lever.x, 1);
    EXPECT_EQ(lever.y, 1);
    EXPECT_EQ(lever.percent, 100);
    EXPECT_EQ(lever.can_push, 1);
    ASSERT_NE(dynamic_cast<const RoomLeverRecord*>(&lever), nullptr);
    EXPECT_EQ(static_cast<const RoomLeverRecord&>(lever).activated, 1);
    EXPECT_EQ(lever.line, 6);
    const RoomObjectRecord& monster = *t.records[1];
    EXPECT_EQ(monster.x, 1);  // two records may share a location
    ASSERT_NE(dynamic_cast<const RoomMonsterRecord*>(&monster), nullptr);
    EXPECT_EQ(static_cast<const RoomMonsterRecord&>(monster).name, "Grub");
    EXPECT_EQ(monster.percent, 40);
    EXPECT_EQ(monster.can_push, 0);
    ASSERT_EQ(t.scripts.size(), 2u);
    const RoomScript& s = *t.scripts[0];
    EXPECT_EQ(s.GetRepeat(), -1);
    ASSERT_EQ(s.conditions.size(), 2u);
    EXPECT_EQ(s.conditions[0]->keyword, "activated");
    ASSERT_NE(dynamic_cast<const ActivatedCondition*>(s.conditions[0].get()), nullptr);
    EXPECT_EQ(static_cast<const ActivatedCondition&>(*s.conditions[0]).id, "lv");
    EXPECT_EQ(s.conditions[0]->notFlag, 0);
    EXPECT_EQ(s.conditions[1]->keyword, "entered");
    EXPECT_EQ(s.conditions[1]->notFlag, 1);
    ASSERT_EQ(s.successActions.size(), 2u);
    ASSERT_NE(dynamic_cast<const ShowTickerTextAction*>(s.successActions[0].get()), nullptr);
    EXPECT_EQ(static_cast<const ShowTickerTextAction&>(*s.successActions[0]).text, "Click.");
    ASSERT_NE(dynamic_cast<const CreateAction*>(s.successActions[1].get()), nullptr);
    const CreateAction& create = static_cast<const CreateAction&>(*s.successActions[1]);
    ASSERT_NE(create.record, nullptr);
    EXPECT_EQ(create.record->tag, "loot");
    EXPECT_EQ(create.record->x, 3);
    ASSERT_NE(dynamic_cast<const RoomLootRecord*>(create.record.get()), nullptr);
    EXPECT_EQ(static_cast<const RoomLootRecord&>(*create.record).amount, 2);
    ASSERT_EQ(s.failureActions.size(), 1u);
    const MoveObjectAction* move = dynamic_cast<const MoveObjectAction*>(s.failureActions[0].get());
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(move->x, 3);
    EXPECT_EQ(move->y, 1);
    EXPECT_EQ(t.scripts[1]->GetRepeat(), 1);  // the default
    EXPECT_EQ(t.scripts[1]->successActions.size(), 1u);
}

TEST_F(RoomTemplateTest, ScriptReadingProblemsAreWarnedAndNeverStopTheRoom) {
    const Output o = Load(
        "<roomdb>\n"
        "<room name='faulty' width='3' height='1'>\n"
        "<row text='.1.'/>\n"
        "<condition condition_type='entered'/>\n"
        "<script>\n"
        "<condition condition_type='levitating'/>\n"
        "<action action_type='ticker' text='Hm.'/>\n"
        "<action on='success' action_type='dance'/>\n"
        "<action on='success' action_type='create' create_type='unicorn' x='1' y='0'/>\n"
        "<condition condition_type='at' id='a' at='1' x='2' color='red'/>\n"
        "<row text='...'/>\n"
        "</script>\n"
        "<customblocker at='9' png='p.png' pngNum='3'/>\n"
        "<pedestal x='1'/>\n"
        "<wibble/>\n"
        "</room>\n"
        "<lever x='0' y='0'/>\n"
        "</roomdb>\n");
    ASSERT_EQ(RoomTemplates.size(), 1u);
    const RoomTemplate& t = *RoomTemplates[0];
    // Not a script element: a condition outside a script is a record tag no record has.
    EXPECT_NE(o.err.find("line:4, column:0\nroomScript: unknown element 'condition' in room 'faulty' is ignored\n"),
              std::string::npos) << o.err;
    EXPECT_NE(o.err.find("line:6, column:0\nBad condition_type='levitating'\n"), std::string::npos) << o.err;
    // An action without "on" warns twice and becomes a failure action.
    EXPECT_NE(o.err.find("line:7, column:0\nroomScript: didn't find required attribute 'on'\n\n"
                         "line:7, column:0\nBad on=''\n\n"),
              std::string::npos) << o.err;
    EXPECT_NE(o.err.find("line:8, column:0\nBad action_type='dance'\n"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("line:9, column:0\n<action action_type='create'>: couldn't create create_type='unicorn'\n"),
              std::string::npos) << o.err;
    // "at" and "x" together: the location wins, "x" is left over and reported with "color".
    EXPECT_NE(o.err.find("line:10, column:0\ndon't give x and at\n\n"), std::string::npos) << o.err;
    EXPECT_NE(o.out.find("roomScript: didn't use attribute 'color'\nroomScript: didn't use attribute 'x'\n"),
              std::string::npos) << o.out;
    EXPECT_NE(o.err.find("line:10, column:0\nroomScript: didn't use all attributes!\n\n"), std::string::npos);
    EXPECT_NE(o.err.find("line:11, column:0\nroomScript: 'row' is not read inside a script\n"), std::string::npos);
    EXPECT_NE(o.err.find("line:13, column:0\ncouldn't find at=\"9\"\n"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("line:13, column:0\ndon't give png and pngNum\n\n"), std::string::npos) << o.err;
    EXPECT_NE(o.out.find("roomScript: didn't use attribute 'pngNum'\n"), std::string::npos) << o.out;
    // A point given in part counts as absent and its half is left over.
    EXPECT_NE(o.err.find("line:14, column:0\nroomScript: didn't find required attribute ''\n"), std::string::npos);
    EXPECT_NE(o.out.find("roomScript: didn't use attribute 'x'\n"), std::string::npos);
    EXPECT_NE(o.err.find("line:15, column:0\nroomScript: unknown element 'wibble' in room 'faulty' is ignored\n"),
              std::string::npos) << o.err;
    EXPECT_NE(o.err.find("line:17, column:0\nroomScript: curTemplate NULL while parsing 'lever'\n\n"),
              std::string::npos) << o.err;
    ASSERT_EQ(t.scripts.size(), 1u);
    const RoomScript& s = *t.scripts[0];
    ASSERT_EQ(s.conditions.size(), 1u);
    EXPECT_EQ(s.conditions[0]->keyword, "at");
    const AtCondition* at = dynamic_cast<const AtCondition*>(s.conditions[0].get());
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(at->x, 1);
    EXPECT_EQ(at->y, 0);
    ASSERT_EQ(s.failureActions.size(), 1u);
    ASSERT_NE(dynamic_cast<const ShowTickerTextAction*>(s.failureActions[0].get()), nullptr);
    EXPECT_EQ(static_cast<const ShowTickerTextAction&>(*s.failureActions[0]).text, "Hm.");
    ASSERT_EQ(s.successActions.size(), 1u);  // the create action stays, without a record
    ASSERT_NE(dynamic_cast<const CreateAction*>(s.successActions[0].get()), nullptr);
    EXPECT_EQ(static_cast<const CreateAction&>(*s.successActions[0]).record, nullptr);
    ASSERT_EQ(t.records.size(), 2u);
    const CustomRecord* custom = dynamic_cast<const CustomRecord*>(t.records[0].get());
    ASSERT_NE(custom, nullptr);
    const SpriteRecord* png = &custom->png;
    EXPECT_EQ(png->image, "p.png");
    EXPECT_EQ(png->series, "");
    // An unknown location letter does not touch the room's corner.
    EXPECT_EQ(t.TileAt(0, 0), RoomTile::Floor);
    EXPECT_EQ(t.records[0]->x, 0);
}

TEST_F(RoomTemplateTest, SpriteSeriesAndNumbersFollowTheCConversion) {
    const Output o = Load(
        "<roomdb><room name='r' width='2' height='1'><row text='..'/>"
        "<custombreakable x='2abc' y='zz' png='whole.png' brokenSprite='b_' brokenFirst='1' brokenNum='3'"
        " brokenRate='70' brokenAnimate='1' hitsNeededToBreak='4'/>"
        "<clock x='0' y='0' pngSprite='c_' pngFirst='0' pngNum='2' pngRate='9' initial='30' remaining='5'/>"
        "</room></roomdb>");
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "");
    ASSERT_EQ(RoomTemplates.size(), 1u);
    ASSERT_NE(dynamic_cast<const CustomBreakableRecord*>(RoomTemplates[0]->records[0].get()), nullptr);
    const CustomBreakableRecord& br = static_cast<const CustomBreakableRecord&>(*RoomTemplates[0]->records[0]);
    EXPECT_EQ(br.x, 2);
    EXPECT_EQ(br.y, 0);
    EXPECT_EQ(br.hitsNeededToBreak, 4);
    EXPECT_EQ(br.breakingGiven, 0);
    const SpriteRecord* broken = &br.broken;
    EXPECT_EQ(broken->series, "b_");
    EXPECT_EQ(broken->first, 1);
    EXPECT_EQ(broken->count, 3);
    EXPECT_EQ(broken->delay, 70);
    EXPECT_EQ(RoomTemplates[0]->records[1]->tag, "clock");
    ASSERT_NE(dynamic_cast<const RoomClockRecord*>(RoomTemplates[0]->records[1].get()), nullptr);
    const RoomClockRecord& clock = static_cast<const RoomClockRecord&>(*RoomTemplates[0]->records[1]);
    EXPECT_EQ(clock.initial, 30);
    EXPECT_EQ(clock.remaining, 5);
    EXPECT_EQ(clock.png.series, "c_");
}

TEST_F(RoomTemplateTest, BadRoomsAreDroppedWithAReasonInsteadOfStoppingTheGame) {
    bool ok = true;
    const Output o = Load(
        "<roomdb>\n"
        "<room name='twice' width='3' height='1'><row text='1.1'/><lever at='1'/></room>\n"
        "<room name='empty' width='3' height='2'><row text='   '/></room>\n"
        "<room name='flat' width='0' height='4'/>\n"
        "<room name='huge' width='100000' height='100000'><row text='.'/></room>\n"
        "<room name='inner' width='1' height='1'><row text='.'/><room name='nested' width='1' height='1'>"
        "<row text='#'/></room>\n"
        "<room name='open' width='1' height='1'><row text='.'/>\n"
        "<script><action on='success'",
        &ok);
    EXPECT_FALSE(ok);
    // The repeated location keeps its first square and the program goes on.
    EXPECT_NE(o.out.find("roomScript: repeated at location '1'\n"), std::string::npos) << o.out;
    EXPECT_NE(o.err.find("line:2, column:40\nroomScript: room 'twice' repeats at location '1'; the first one is kept"),
              std::string::npos) << o.err;
    // A room without squares is kept (it can never be placed) but reported.
    EXPECT_NE(o.err.find("roomScript: room 'empty' has no squares; it can never be placed"), std::string::npos)
        << o.err;
    EXPECT_NE(o.err.find("roomScript: room 'flat' has the size 0 x 4 (1 to 256 each way); it is dropped"),
              std::string::npos) << o.err;
    EXPECT_NE(o.err.find("roomScript: room 'huge' has the size 100000 x 100000"), std::string::npos);
    EXPECT_NE(o.err.find("roomScript: room 'inner' is not closed before the next room; it is dropped"),
              std::string::npos) << o.err;
    EXPECT_NE(o.out.find("roomScript: test, line 8"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("the rest of the file is not read"), std::string::npos);
    ASSERT_EQ(RoomTemplates.size(), 3u);
    EXPECT_EQ(RoomTemplates[0]->name, "twice");
    EXPECT_EQ(RoomTemplates[0]->records[0]->x, 0);
    EXPECT_EQ(RoomTemplates[0]->TileAt(0, 0), RoomTile::Floor);
    EXPECT_EQ(RoomTemplates[0]->TileAt(2, 0), RoomTile::None);
    EXPECT_EQ(RoomTemplates[1]->name, "empty");
    EXPECT_EQ(RoomTemplates[1]->CountTiles(RoomTile::None), 6);
    EXPECT_EQ(RoomTemplates[2]->name, "nested");
    EXPECT_EQ(RoomTemplateCounters.size(), 3u);
}

TEST_F(RoomTemplateTest, RoomScriptTracesFollowTheDebugFlag) {
    const std::string xml =
        "<roomdb><room name='r' width='3' height='1'><row text='1.2'/><lever at='2'/>"
        "<script repeat='3'/></room></roomdb>";
    Output quiet = Load(xml);
    EXPECT_EQ(quiet.out, "");
    ClearRoomTemplates();
    CmdLine.debugFlags = kDebugRoomScripts;
    Output loud = Load(xml);
    EXPECT_EQ(loud.out,
              "roomScript: pushing at=\"1\" -> (0, 0)\n"
              "roomScript: pushing at=\"2\" -> (2, 0)\n"
              "roomScript: popping=\"2\" -> (2, 0)\n"
              "roomScript: opening room script (repeat=3)\n"
              "roomScript: did not use all at locations!\n"
              "roomScript: did not use at '1'\n");
    EXPECT_EQ(loud.err, "");
}

// ---------------------------------------------------------------------------------------------
// Our own rooms file

std::string ReadSourceFile(const std::string& relative) {
    std::ifstream in(std::string(VAULTMERE_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST_F(RoomTemplateTest, OurRoomsLoadQuietlyAndServeEveryDepth) {
    const std::string xml = ReadSourceFile("data/game/rooms.xml");
    ASSERT_FALSE(xml.empty());
    // The spells are read before the rooms, so spell actions find the names they cast.
    const std::string spells = ReadSourceFile("data/game/spellDB.xml");
    ASSERT_TRUE(spellDBLoadFromText(spells.data(), spells.size(), "spellDB.xml"));
    bool ok = false;
    const Output o = Load(xml, &ok);
    ClearSpellTable();
    ASSERT_TRUE(ok);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "");
    BuildRoomTemplateMap();
    ASSERT_GE(RoomTemplates.size(), 20u);
    EXPECT_EQ(RoomTemplateMap.size(), RoomTemplates.size());  // names are unique
    // A new game starts on the first template, at column 4, row 4, which must be floor.
    EXPECT_EQ(RoomTemplates[0]->TileAt(4, 4), RoomTile::Floor);
    EXPECT_GE(RoomTemplates[0]->DoorTiles().size(), 3u);
    for (int32_t depth = 0; depth <= 14; ++depth) {
        SCOPED_TRACE(depth);
        int32_t firstRooms = 0, ordinary = 0, shops = 0, zoos = 0, special = 0;
        int32_t widest = 0, tallest = 0;
        for (const RoomTemplate* t : RoomTemplates) {
            if (!t->AllowsDepth(depth) || t->quest) continue;
            const size_t doors = t->DoorTiles().size();
            if (doors >= 3) ++firstRooms;
            if (!t->shop && !t->zoo && !t->special && !t->digglegod && doors >= 2) ++ordinary;
            shops += t->shop;
            zoos += t->zoo;
            special += t->special;
            if (!t->shop && !t->zoo) {
                widest = std::max(widest, t->width);
                tallest = std::max(tallest, t->height);
            }
        }
        EXPECT_GE(firstRooms, 5);
        EXPECT_GE(ordinary, 15);
        if (depth >= 4) {
            EXPECT_GE(shops, 1);
        }
        if (depth >= 2) {
            EXPECT_GE(zoos, 1);
        }
        EXPECT_GE(special, 1);
        EXPECT_GE(widest, 17);
        EXPECT_GE(tallest, 13);
    }
    // The shops have their shopkeeper's squares and pedestals; every door has walls beside it.
    for (const RoomTemplate* t : RoomTemplates) {
        SCOPED_TRACE(t->name);
        if (t->shop) {
            EXPECT_EQ(t->TileAt(t->smallSX, t->smallSY), RoomTile::Floor);
            EXPECT_EQ(t->TileAt(t->bigSX, t->bigSY), RoomTile::Floor);
            EXPECT_GE(t->itemSpots.size(), 4u);
        }
        for (const auto& d : t->DoorTiles()) {
            const bool across = t->doorLayer[static_cast<size_t>(d.first + d.second * t->width)] == 0;
            if (across) {
                EXPECT_EQ(t->TileAt(d.first - 1, d.second), RoomTile::Wall);
                EXPECT_EQ(t->TileAt(d.first + 1, d.second), RoomTile::Wall);
            } else {
                EXPECT_EQ(t->TileAt(d.first, d.second - 1), RoomTile::Wall);
                EXPECT_EQ(t->TileAt(d.first, d.second + 1), RoomTile::Wall);
            }
        }
    }
    // Rooms that only the last level of each dungeon length has.
    const RoomTemplate* normalEnd = FindRoomTemplate("Zarnoch's Antechamber");
    const RoomTemplate* longEnd = FindRoomTemplate("Throne of the Deep");
    ASSERT_NE(normalEnd, nullptr);
    ASSERT_NE(longEnd, nullptr);
    EXPECT_TRUE(normalEnd->AllowsDepth(9) && !normalEnd->AllowsDepth(8) && !normalEnd->AllowsDepth(10));
    EXPECT_TRUE(longEnd->AllowsDepth(14) && !longEnd->AllowsDepth(13));
}

}  // namespace

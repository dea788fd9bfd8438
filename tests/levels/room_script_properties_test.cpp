// Reading room-script attributes through typed properties: points, sprites, numbers, the
// warnings with their parser position, what is reported as not used, and SpriteRecord's
// save form.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/save_stream.h"
#include "levels/room_script_model.h"
#include "levels/room_templates.h"

namespace {

struct Target {
    int32_t x = -1, y = -1;
    int32_t count = 7;
    SpriteRecord png;
    std::string name = "unset";
    uint8_t pointFound = 9;
};

std::string W(const std::string& message) { return "line:7, column:3\n" + message + "\n"; }

struct Outcome {
    std::string out, err;
};

Outcome ReadInto(Target& t, const RoomAttributeMap& attributes) {
    static const std::map<char, std::pair<int32_t, int32_t>> locations = {{'a', {2, 3}}};
    RoomReadContext ctx;
    ctx.atLocations = &locations;
    SetRoomsXmlPosition(7, 3);
    XMLReadWriter rw(&ctx);
    rw.AddProperty(new PointProperty("", &t.x, &t.y, 1, &t.pointFound));
    rw.AddProperty(new IntProperty("count", &t.count, 0, nullptr));
    rw.AddProperty(new SpriteProperty("png", &t.png, 0, nullptr));
    rw.AddProperty(new StringProperty("name", &t.name, 0, nullptr));
    RoomAttributeMap map = attributes;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    rw.Read(&map, true);
    Outcome o;
    o.err = testing::internal::GetCapturedStderr();
    o.out = testing::internal::GetCapturedStdout();
    return o;
}

TEST(RoomScriptProperties, EdgeCasesOfReadingGiveTheFieldsAndTheExactMessages) {
    const std::string notAll = W("roomScript: didn't use all attributes!\n");
    struct Case {
        const char* what;
        RoomAttributeMap attributes;
        int32_t x, y;
        std::string image, series;
        int32_t count;
        std::string err, out;
    };
    const Case cases[] = {
        {"at and x", {{"at", "a"}, {"x", "5"}}, 2, 3, "", "", 7, W("don't give x and at\n") + notAll,
         "roomScript: didn't use attribute 'x'\n"},
        {"x without y", {{"x", "4"}}, -1, -1, "", "", 7,
         W("roomScript: didn't find required attribute ''\n") + notAll, "roomScript: didn't use attribute 'x'\n"},
        {"leading digits", {{"x", "2abc"}, {"y", "zz"}, {"count", "-12q"}}, 2, 0, "", "", -12, "", ""},
        {"png and pngNum", {{"x", "1"}, {"y", "1"}, {"png", "a.png"}, {"pngNum", "3"}}, 1, 1, "a.png", "", 7,
         W("don't give png and pngNum\n") + notAll, "roomScript: didn't use attribute 'pngNum'\n"},
        {"series",
         {{"x", "1"}, {"y", "1"}, {"pngSprite", "s_"}, {"pngFirst", "1"}, {"pngNum", "4"}, {"pngRate", "60"},
          {"pngAnimate", "1"}},
         1, 1, "", "s_", 7, "", ""},
        {"three of four series attributes", {{"x", "1"}, {"y", "1"}, {"pngSprite", "s_"}, {"pngFirst", "1"}, {"pngNum", "4"}},
         1, 1, "", "", 7, notAll,
         "roomScript: didn't use attribute 'pngFirst'\nroomScript: didn't use attribute 'pngNum'\n"
         "roomScript: didn't use attribute 'pngSprite'\n"},
        {"extra attributes", {{"x", "0"}, {"y", "0"}, {"zeta", "1"}, {"beta", "2"}}, 0, 0, "", "", 7, notAll,
         "roomScript: didn't use attribute 'beta'\nroomScript: didn't use attribute 'zeta'\n"},
        {"unknown and long letter", {{"at", "zq"}}, 0, 0, "", "", 7,
         W("at=\"character\" must be single character") + W("couldn't find at=\"z\""), ""},
        {"names in any case", {{"X", "3"}, {"Y", "4"}, {"PngSprite", "c_"}, {"pngfirst", "0"}, {"PNGNUM", "2"}, {"pngRate", "5"}},
         3, 4, "", "c_", 7, "", ""},
    };
    for (const Case& c : cases) {
        Target t;
        const Outcome o = ReadInto(t, c.attributes);
        EXPECT_EQ(t.x, c.x) << c.what;
        EXPECT_EQ(t.y, c.y) << c.what;
        EXPECT_EQ(t.png.image, c.image) << c.what;
        EXPECT_EQ(t.png.series, c.series) << c.what;
        EXPECT_EQ(t.count, c.count) << c.what;
        EXPECT_EQ(o.err, c.err) << c.what;
        EXPECT_EQ(o.out, c.out) << c.what;
        EXPECT_EQ(t.pointFound, c.x == -1 ? 0 : 1) << c.what;
    }
    Target series;
    ReadInto(series, {{"x", "1"}, {"y", "1"}, {"pngSprite", "s_"}, {"pngFirst", "1"}, {"pngNum", "4"}, {"pngRate", "60"}});
    EXPECT_EQ(series.png.first, 1);
    EXPECT_EQ(series.png.count, 4);
    EXPECT_EQ(series.png.delay, 60);
}

TEST(RoomScriptProperties, ADuplicateNameWarnsAndTheSecondPropertyFindsNothing) {
    std::string first = "-", second = "-";
    XMLReadWriter rw;
    testing::internal::CaptureStderr();
    rw.AddProperty(new StringProperty("name", &first, 0, nullptr));
    rw.AddProperty(new StringProperty("name", &second, 0, nullptr));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "roomScript: found duplicate property name 'name'\n\n");
    EXPECT_EQ(rw.Properties().size(), 2u);
    RoomAttributeMap map = {{"name", "Bob"}};
    rw.Read(&map, true);
    EXPECT_EQ(first, "Bob");
    EXPECT_EQ(second, "-");
}

TEST(RoomScriptProperties, ReferenceEntriesNameTheAttributesTheyRead) {
    int32_t x = 0, y = 0;
    SpriteRecord png;
    XMLReadWriter rw;
    Property* point = new PointProperty("source", &x, &y, 1, nullptr);
    point->SetDescription("Where from.");
    Property* sprite = new SpriteProperty("png", &png, 0, nullptr);
    sprite->SetDescription("Its picture.");
    rw.AddProperty(point);
    rw.AddProperty(sprite);
    std::ostringstream out;
    rw.WriteReference(out);
    EXPECT_EQ(out.str(),
              "sourceat (or both sourceX and sourceY) (*point*, **required**)\n  Where from.\n\n"
              "png (or all of pngSprite, pngFirst, pngNum, pngRate and sometimes pngAnimate) (*sprite*, optional)\n"
              "  Its picture.\n\n");
    // The names the reference prints are the names reading takes.
    RoomAttributeMap map = {{"sourceX", "5"}, {"sourceY", "6"}};
    rw.Read(&map, true);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
}

TEST(SpriteRecordSave, KindsZeroAndOneAreByteExactAndReadBack) {
    SpriteRecord image;
    image.image = "ab.png";
    SpriteRecord series;
    series.series = "s_";
    series.first = 2;
    series.count = 5;
    series.delay = 300;
    struct Case {
        const SpriteRecord* record;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {&image, {0, 0, 0, 0, 6, 0, 0, 0, 'a', 'b', '.', 'p', 'n', 'g'}},
        {&series, {1, 0, 0, 0, 2, 0, 0, 0, 's', '_', 5, 0, 0, 0, 2, 0, 0, 0, 0x2C, 1, 0, 0}},
    };
    for (const Case& c : cases) {
        SaveWriter out;
        ASSERT_TRUE(c.record->Write(out));
        EXPECT_EQ(out.Buffer(), c.bytes);
        SaveReader in(out.Buffer());
        SpriteRecord back;
        back.Read(in);
        EXPECT_FALSE(in.Failed());
        EXPECT_EQ(back.image, c.record->image);
        EXPECT_EQ(back.series, c.record->series);
        EXPECT_EQ(back.count, c.record->count);
        EXPECT_EQ(back.first, c.record->first);
        EXPECT_EQ(back.delay, c.record->delay);
    }
    const std::vector<uint8_t> bad = {7, 0, 0, 0};
    SaveReader in(bad);
    SpriteRecord back;
    testing::internal::CaptureStdout();
    back.Read(in);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(in.Failed());
}

}  // namespace

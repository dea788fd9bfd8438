// The placeholder art maker: file formats it writes, its manifest and the project's manifest.
#include "tools/art_manifest.h"

#include <gtest/gtest.h>
#include <stb_image.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using artw::Bytes;

namespace {

// 768 palette bytes, zero except for the given (index, r, g, b) entries.
Bytes Palette768(std::initializer_list<std::array<int, 4>> entries) {
  Bytes p(768, 0);
  for (const auto& e : entries) {
    p[e[0] * 3 + 0] = static_cast<uint8_t>(e[1]);
    p[e[0] * 3 + 1] = static_cast<uint8_t>(e[2]);
    p[e[0] * 3 + 2] = static_cast<uint8_t>(e[3]);
  }
  return p;
}

uint32_t ReadU32BE(const Bytes& b, size_t at) {
  return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) |
         b[at + 3];
}

uint16_t ReadU16LE(const Bytes& b, size_t at) { return uint16_t(b[at] | (b[at + 1] << 8)); }

struct PngChunk {
  std::string type;
  Bytes data;
};

// Splits a PNG into chunks, checking the signature and every chunk's CRC.
std::vector<PngChunk> SplitPng(const Bytes& png) {
  std::vector<PngChunk> chunks;
  static const uint8_t kSig[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  EXPECT_GE(png.size(), 8u);
  EXPECT_TRUE(std::equal(kSig, kSig + 8, png.begin()));
  size_t at = 8;
  while (at + 12 <= png.size()) {
    const uint32_t len = ReadU32BE(png, at);
    EXPECT_LE(at + 12 + len, png.size());
    if (at + 12 + len > png.size()) break;
    PngChunk c;
    c.type.assign(png.begin() + at + 4, png.begin() + at + 8);
    c.data.assign(png.begin() + at + 8, png.begin() + at + 8 + len);
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), png.data() + at + 4, 4 + len);
    EXPECT_EQ(ReadU32BE(png, at + 8 + len), static_cast<uint32_t>(crc)) << c.type;
    chunks.push_back(c);
    at += 12 + len;
  }
  EXPECT_EQ(at, png.size());
  return chunks;
}

// Decoded RGBA pixels of a PNG (empty on failure).
std::vector<uint8_t> DecodeRgba(const Bytes& png, int* w, int* h) {
  int n = 0;
  unsigned char* px = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), w, h, &n, 4);
  std::vector<uint8_t> out;
  if (!px) return out;
  out.assign(px, px + static_cast<size_t>(*w) * *h * 4);
  stbi_image_free(px);
  return out;
}

class TempDir {
 public:
  TempDir() {
    std::string templ = (fs::temp_directory_path() / "artmaker_test_XXXXXX").string();
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    const char* made = mkdtemp(buf.data());
    path_ = made ? made : "";
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

Bytes ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteText(const fs::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary);
  out << text;
}

std::vector<artw::ManifestEntry> ParseOk(const std::string& text) {
  std::vector<artw::ManifestEntry> entries;
  std::string error;
  EXPECT_TRUE(artw::ParseManifest(text, &entries, &error)) << error;
  return entries;
}

artw::FileList Build(const std::string& line) {
  std::vector<artw::ManifestEntry> entries = ParseOk(line);
  artw::FileList files;
  std::string error;
  for (const auto& e : entries) EXPECT_TRUE(artw::BuildEntryFiles(e, &files, &error)) << error;
  return files;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// ".spr"

TEST(ArtSprWriter, TwoFrameSpriteIsByteExact) {
  std::vector<artw::SprFrame> frames(2);
  frames[0].delay = 100;
  frames[0].palette[1 * 3 + 0] = 0x11;
  frames[0].palette[1 * 3 + 1] = 0x22;
  frames[0].palette[1 * 3 + 2] = 0x33;
  frames[0].palette[2 * 3 + 0] = 0xAA;
  frames[0].palette[2 * 3 + 1] = 0xBB;
  frames[0].palette[2 * 3 + 2] = 0xCC;
  frames[0].pixels = {1, 2};
  frames[1].delay = 0x1234;
  frames[1].palette[255 * 3 + 0] = 1;
  frames[1].palette[255 * 3 + 1] = 2;
  frames[1].palette[255 * 3 + 2] = 3;
  frames[1].pixels = {0, 255};

  Bytes expected = {'S', 'P', 'R', 0x02, 0x00, 0x02, 0x00, 0x01, 0x00,  // count 2, 2 x 1
                    0x64, 0x00};                                        // frame 0: 100 ms
  Bytes pal0 = Palette768({{1, 0x11, 0x22, 0x33}, {2, 0xAA, 0xBB, 0xCC}});
  expected.insert(expected.end(), pal0.begin(), pal0.end());
  expected.insert(expected.end(), {0x01, 0x02});
  expected.insert(expected.end(), {0x34, 0x12});  // frame 1: 0x1234 ms
  Bytes pal1 = Palette768({{255, 1, 2, 3}});
  expected.insert(expected.end(), pal1.begin(), pal1.end());
  expected.insert(expected.end(), {0x00, 0xFF});

  const Bytes got = artw::EncodeSpr(2, 1, frames);
  ASSERT_EQ(got.size(), 9u + 2 * (2 + 768 + 2));
  EXPECT_EQ(got, expected);
}

TEST(ArtSprWriter, RefusesFramesThatDoNotMatchTheSize) {
  std::vector<artw::SprFrame> frames(1);
  frames[0].pixels = {1, 2, 3};  // 3 pixels for a 2 x 2 sprite
  EXPECT_TRUE(artw::EncodeSpr(2, 2, frames).empty());
  EXPECT_TRUE(artw::EncodeSpr(2, 2, {}).empty());
}

// ---------------------------------------------------------------------------------------------
// Palette PNG

TEST(ArtIndexedPng, DecodesToPaletteColoursWithIndexZeroTransparent) {
  artw::IndexedImage img;
  img.width = 3;
  img.height = 2;
  img.palette = {{9, 9, 9, 255}, {255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}};
  img.pixels = {0, 1, 2, 3, 2, 1};
  const Bytes png = artw::EncodeIndexedPng(img);

  std::vector<PngChunk> chunks = SplitPng(png);
  ASSERT_EQ(chunks.size(), 5u);
  EXPECT_EQ(chunks[0].type, "IHDR");
  EXPECT_EQ(chunks[1].type, "PLTE");
  EXPECT_EQ(chunks[2].type, "tRNS");
  EXPECT_EQ(chunks[3].type, "IDAT");
  EXPECT_EQ(chunks[4].type, "IEND");
  EXPECT_EQ(chunks[0].data, (Bytes{0, 0, 0, 3, 0, 0, 0, 2, 8, 3, 0, 0, 0}));
  EXPECT_EQ(chunks[1].data, (Bytes{9, 9, 9, 255, 0, 0, 0, 255, 0, 0, 0, 255}));
  EXPECT_EQ(chunks[2].data, Bytes{0});

  int w = 0, h = 0;
  std::vector<uint8_t> rgba = DecodeRgba(png, &w, &h);
  ASSERT_EQ(w, 3);
  ASSERT_EQ(h, 2);
  const std::vector<uint8_t> expected = {9, 9, 9, 0,     255, 0, 0, 255, 0,   255, 0, 255,
                                         0, 0, 255, 255, 0, 255, 0, 255, 255, 0,   0, 255};
  EXPECT_EQ(rgba, expected);

  // Without a requested channel count the palette with transparency comes out as 4 channels.
  int n = 0;
  unsigned char* px = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &n, 0);
  ASSERT_NE(px, nullptr);
  EXPECT_EQ(n, 4);
  stbi_image_free(px);
}

TEST(ArtIndexedPng, PaletteCoversEveryUsedIndexAndBadImagesAreRefused) {
  artw::IndexedImage img;
  img.width = 2;
  img.height = 1;
  img.palette = {{0, 0, 0, 0}, {10, 20, 30, 255}};
  img.pixels = {1, 5};  // index 5 has no palette entry: it must still decode (as black)
  const Bytes png = artw::EncodeIndexedPng(img);
  std::vector<PngChunk> chunks = SplitPng(png);
  ASSERT_GE(chunks.size(), 2u);
  EXPECT_EQ(chunks[1].data.size(), 6u * 3);
  int w = 0, h = 0;
  std::vector<uint8_t> rgba = DecodeRgba(png, &w, &h);
  EXPECT_EQ(rgba, (std::vector<uint8_t>{10, 20, 30, 255, 0, 0, 0, 255}));

  img.pixels = {1};  // wrong pixel count
  EXPECT_TRUE(artw::EncodeIndexedPng(img).empty());
}

TEST(ArtQuantize, TransparentPixelsTakeIndexZeroAndColoursKeepFirstSeenOrder) {
  artw::Canvas c(3, 1);
  c.Set(0, 0, {50, 60, 70, 255});
  c.Set(1, 0, {1, 2, 3, 100});  // under half alpha
  c.Set(2, 0, {50, 60, 70, 200});
  artw::IndexedImage q = artw::Quantize(c);
  ASSERT_EQ(q.palette.size(), 2u);
  EXPECT_EQ(q.palette[0].a, 0);
  EXPECT_TRUE(q.palette[1] == (artw::Rgba{50, 60, 70, 255}));
  EXPECT_EQ(q.pixels, (std::vector<uint8_t>{1, 0, 1}));

  // More than 255 colours: the palette stops at 256 entries and later colours take the nearest.
  artw::Canvas many(300, 1);
  for (int x = 0; x < 300; ++x) many.Set(x, 0, {static_cast<uint8_t>(x % 256), static_cast<uint8_t>(x / 256 * 100), 0, 255});
  artw::IndexedImage mq = artw::Quantize(many);
  EXPECT_EQ(mq.palette.size(), 256u);
  for (int x = 0; x < 300; ++x) EXPECT_NE(mq.pixels[x], 0) << x;
  EXPECT_EQ(mq.pixels[255], mq.pixels[254]);        // (255, 0, 0) -> (254, 0, 0)
  EXPECT_EQ(mq.pixels[256 + 10], mq.pixels[10]);    // (10, 100, 0) -> (10, 0, 0)
}

TEST(ArtRgbaPng, DecodesToTheCanvas) {
  artw::Canvas c(2, 2);
  c.Set(0, 0, {1, 2, 3, 4});
  c.Set(1, 1, {200, 100, 50, 255});
  const Bytes png = artw::EncodeRgbaPng(c);
  int w = 0, h = 0;
  EXPECT_EQ(DecodeRgba(png, &w, &h), c.rgba);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 2);
}

// ---------------------------------------------------------------------------------------------
// Manifest lines

TEST(ArtManifest, BadLinesAreRefusedWithAReason) {
  struct Case {
    const char* line;
    const char* reason;
  };
  const Case cases[] = {
      {"pgn a.png 4 4 disc red", "unknown kind"},
      {"png a.png 4 4 disc", "needs at least"},
      {"spr a.spr 4 4 disc red", "needs at least"},
      {"png a.png four 4 disc red", "width and height"},
      {"png a.png 0 4 disc red", "width and height"},
      {"png a.png 4 5000 disc red", "width and height"},
      {"png a.png 4 -4 disc red", "width and height"},
      {"png /abs/a.png 4 4 disc red", "relative"},
      {"png ../a.png 4 4 disc red", "'..'"},
      {"png ui//a.png 4 4 disc red", "empty"},
      {"png ui\\a.png 4 4 disc red", "relative"},
      {"png a.spr 4 4 disc red", "must end in .png"},
      {"spr a.png 4 4 1 100 disc red", "must end in .spr"},
      {"xml a.png 4 4 1 100 disc red", "must end in .xml"},
      {"png a.png 4 4 blob red", "unknown shape"},
      {"png a.png 4 4 disc mauve", "unknown colour"},
      {"png a.png 4 4 disc #12345", "unknown colour"},
      {"png a.png 4 4 disc #12345g", "unknown colour"},
      {"spr a.spr 4 4 0 100 disc red", "frame count"},
      {"spr a.spr 4 4 300 100 disc red", "frame count"},
      {"spr a.spr 4 4 2 70000 disc red", "delay"},
      {"series s/x 9999 2 4 4 disc red", "count"},
      {"series s/x.png 0 2 4 4 disc red", "prefix"},
      {"each 3..1 png a$.png 4 4 disc red", "range"},
      {"each 1..2 png a.png 4 4 disc mauve", "with $ = 1"},
      {"each 1..2", "needs"},
      {"each 1..2 each 1..2 png a$.png 4 4 disc red", "nest"},
  };
  for (const Case& c : cases) {
    std::vector<artw::ManifestEntry> out;
    std::string error;
    EXPECT_FALSE(artw::ParseManifestLine(c.line, 1, &out, &error)) << c.line;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.line << " -> " << error;
  }
}

TEST(ArtManifest, ParsesEveryKindWithLabelsEachAndComments) {
  const std::vector<artw::ManifestEntry> e = ParseOk(
      "# a comment\n"
      "\n"
      "png ui/a.png 10 12 button #102030 Quick  Sell\r\n"
      "   spr s/b.spr 8 9 3 150 ring gold\n"
      "ixml m/c.xml 4 4 2 80 creature #11223344\n"
      "series fx/g/g 5 3 6 7 sparkle yellow\n"
      "each 0..2 png d/digit_$.png 8 12 glyph white $\n"
      "each up,down png k/$.png 4 4 arrow_$ red\n");
  ASSERT_EQ(e.size(), 9u);
  EXPECT_EQ(e[0].kind, artw::EntryKind::Png);
  EXPECT_EQ(e[0].width, 10);
  EXPECT_EQ(e[0].height, 12);
  EXPECT_EQ(e[0].label, "Quick  Sell");
  EXPECT_TRUE(e[0].colour == (artw::Rgba{0x10, 0x20, 0x30, 255}));
  EXPECT_EQ(e[0].line, 3);
  EXPECT_EQ(e[1].kind, artw::EntryKind::Spr);
  EXPECT_EQ(e[1].frames, 3);
  EXPECT_EQ(e[1].delay, 150);
  EXPECT_EQ(e[1].label, "");
  EXPECT_EQ(e[2].kind, artw::EntryKind::IndexedXml);
  EXPECT_EQ(e[2].colour.a, 0x44);
  EXPECT_EQ(e[3].kind, artw::EntryKind::Series);
  EXPECT_EQ(e[3].first, 5);
  EXPECT_EQ(e[3].frames, 3);
  EXPECT_EQ(e[3].width, 6);
  EXPECT_EQ(e[4].path, "d/digit_0.png");
  EXPECT_EQ(e[6].path, "d/digit_2.png");
  EXPECT_EQ(e[6].label, "2");
  EXPECT_EQ(e[7].path, "k/up.png");
  EXPECT_EQ(e[7].shapeName, "arrow_up");
  EXPECT_EQ(e[8].shapeName, "arrow_down");
}

TEST(ArtManifest, ErrorsNameTheLineAndDuplicatesAreRefused) {
  std::vector<artw::ManifestEntry> out;
  std::string error;
  EXPECT_FALSE(artw::ParseManifest("png a.png 4 4 disc red\n\npng b.png 4 4 disc nope\n", &out, &error));
  EXPECT_EQ(error.rfind("line 3:", 0), 0u) << error;

  out.clear();
  EXPECT_FALSE(artw::ParseManifest("png a.png 4 4 disc red\neach 1..2 png a.png 4 4 disc red\n", &out, &error));
  EXPECT_NE(error.find("already listed on line 1"), std::string::npos) << error;
}

// ---------------------------------------------------------------------------------------------
// Files made from entries

TEST(ArtEntries, SprEntryWritesItsHeaderFramesAndTransparentBackground) {
  artw::FileList files = Build("spr ui/x.spr 12 10 3 250 disc gold 7");
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].first, "ui/x.spr");
  const Bytes& b = files[0].second;
  ASSERT_EQ(b.size(), 9u + 3 * (2 + 768 + 120));
  EXPECT_EQ(ReadU16LE(b, 3), 3);
  EXPECT_EQ(ReadU16LE(b, 5), 12);
  EXPECT_EQ(ReadU16LE(b, 7), 10);
  for (int f = 0; f < 3; ++f) {
    const size_t at = 9 + f * (2 + 768 + 120);
    EXPECT_EQ(ReadU16LE(b, at), 250);
    const size_t px = at + 2 + 768;
    EXPECT_EQ(b[px], 0) << "corner of a disc is transparent";
    EXPECT_NE(b[px + 5 * 12 + 6], 0) << "middle of a disc is drawn";
  }
}

TEST(ArtEntries, FrameListAndSeriesNameTheirFrames) {
  artw::FileList xml = Build("ixml mon/bat/fly.xml 8 8 3 90 creature purple");
  ASSERT_EQ(xml.size(), 4u);
  EXPECT_EQ(xml[0].first, "mon/bat/fly_00.png");
  EXPECT_EQ(xml[2].first, "mon/bat/fly_02.png");
  EXPECT_EQ(xml[3].first, "mon/bat/fly.xml");
  const std::string list(xml[3].second.begin(), xml[3].second.end());
  EXPECT_NE(list.find("<frame delay=\"90\">fly_00.png</frame>"), std::string::npos) << list;
  EXPECT_NE(list.find("<frame delay=\"90\">fly_02.png</frame>"), std::string::npos) << list;
  // The frames of an ixml list are palette PNGs.
  EXPECT_EQ(SplitPng(xml[0].second)[0].data[9], 3);

  artw::FileList series = Build("series sprites/sfx/glintA/glintA 0 5 8 8 sparkle yellow");
  ASSERT_EQ(series.size(), 5u);
  EXPECT_EQ(series[0].first, "sprites/sfx/glintA/glintA0000.png");
  EXPECT_EQ(series[4].first, "sprites/sfx/glintA/glintA0004.png");
  artw::FileList later = Build("series a/b 98 3 4 4 flame red");
  ASSERT_EQ(later.size(), 3u);
  EXPECT_EQ(later[2].first, "a/b0100.png");
  int w = 0, h = 0;
  EXPECT_FALSE(DecodeRgba(later[2].second, &w, &h).empty());
  EXPECT_EQ(w, 4);
}

TEST(ArtEntries, AnimatedShapesChangeBetweenFramesAndOutputIsDeterministic) {
  const char* line = "series a/anim 0 4 16 16 flame orange";
  artw::FileList one = Build(line);
  artw::FileList two = Build(line);
  ASSERT_EQ(one.size(), 4u);
  for (size_t i = 0; i < one.size(); ++i) EXPECT_EQ(one[i].second, two[i].second);
  EXPECT_NE(one[0].second, one[1].second);
}

TEST(ArtEntries, EveryShapeDrawsSomethingAtOddSizes) {
  for (const artw::ShapeInfo& s : artw::ShapeTable()) {
    for (const auto& size : {std::pair<int, int>{1, 1}, {3, 7}, {33, 17}}) {
      artw::Canvas c(size.first, size.second);
      artw::ShapeArgs a;
      a.colour = {200, 100, 50, 255};
      a.label = "Ok";
      a.frames = 4;
      a.frame = 1;
      s.draw(c, a);
      if (size.first < 8) continue;  // tiny canvases may legitimately stay empty
      bool any = false;
      for (size_t i = 3; i < c.rgba.size(); i += 4) any = any || c.rgba[i] != 0;
      EXPECT_TRUE(any) << s.name;
    }
  }
}

TEST(ArtLabels, RowLabelsSitOnTheirRowsRightOfTheMarks) {
  struct Case {
    const char* shape;
    const char* plainShape;
  };
  for (const Case& k : {Case{"scrollrows", "scroll"}, Case{"framerows", "frame"}}) {
    SCOPED_TRACE(k.shape);
    artw::ShapeArgs a;
    a.colour = {230, 210, 160, 255};
    artw::Canvas plain(240, 200);
    artw::FindShape(k.plainShape)(plain, a);
    // Two rows, and a part without a row that is skipped.
    a.label = "Easy@40|Hard@150|stray";
    artw::Canvas rows(240, 200);
    artw::FindShape(k.shape)(rows, a);
    int changedNear40 = 0, changedNear150 = 0, changedElsewhere = 0, changedLeft = 0;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 240; ++x) {
        const size_t i = (static_cast<size_t>(y) * 240 + x) * 4;
        bool same = true;
        for (int ch = 0; ch < 4; ++ch) same = same && rows.rgba[i + ch] == plain.rgba[i + ch];
        if (same) continue;
        if (x < 240 / 4) ++changedLeft;
        if (y >= 20 && y <= 60) ++changedNear40;
        else if (y >= 130 && y <= 170) ++changedNear150;
        else ++changedElsewhere;
      }
    EXPECT_GT(changedNear40, 20);
    EXPECT_GT(changedNear150, 20);
    EXPECT_EQ(changedElsewhere, 0);
    EXPECT_EQ(changedLeft, 0) << "the left quarter stays free for the marks";
  }
}

TEST(ArtLabels, PlacedMarksDrawOnlyInTheirOwnBoxes) {
  struct Case {
    const char* shape;
    const char* plainShape;
  };
  for (const Case& k : {Case{"panelmarks", "panel"}, Case{"scrollmarks", "scroll"}}) {
    SCOPED_TRACE(k.shape);
    artw::ShapeArgs a;
    a.colour = {120, 80, 40, 255};
    a.label = "Title";
    artw::Canvas plain(200, 100);
    artw::FindShape(k.plainShape)(plain, a);
    // A label in a 60 x 14 box around (50, 50), a switch box and a slider groove; a part
    // without numbers enough is skipped.
    a.label = "Title|Go@50,50,14,60|[]@120,40,18,18|==@140,80,50,6|stray@7";
    artw::Canvas marks(200, 100);
    artw::FindShape(k.shape)(marks, a);
    auto inside = [](int x, int y, int left, int top, int w, int h) {
      return x >= left && y >= top && x < left + w && y < top + h;
    };
    int inLabel = 0, elsewhere = 0;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 200; ++x) {
        const size_t i = (static_cast<size_t>(y) * 200 + x) * 4;
        bool same = true;
        for (int ch = 0; ch < 4; ++ch) same = same && marks.rgba[i + ch] == plain.rgba[i + ch];
        if (same) continue;
        if (inside(x, y, 19, 42, 62, 16)) ++inLabel;  // the label's box and its outline
        else if (!inside(x, y, 120, 40, 18, 18) && !inside(x, y, 140, 80, 50, 6)) ++elsewhere;
      }
    EXPECT_GT(inLabel, 20);
    EXPECT_EQ(elsewhere, 0);
    // The switch box: a dark edge round a light inside, so an off switch shows.
    auto px = [&](int x, int y) { return marks.rgba[(static_cast<size_t>(y) * 200 + x) * 4]; };
    EXPECT_LT(px(120, 40), 60);
    EXPECT_LT(px(137, 57), 60);
    EXPECT_GT(px(128, 48), 200);
    EXPECT_LT(px(160, 82), 100);  // the groove is dark
  }
}

TEST(ArtLabels, PixelFontStandsInWhenTheTrueTypeFontIsMissing) {
  artw::SetLabelFontPath("/nonexistent/NoSuchFont.ttf");
  artw::Canvas c(12, 16);
  artw::DrawLabel(c, "8", 6, 8, 10, 14, {255, 255, 255, 255}, false);
  artw::SetLabelFontPath("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  // The 5x7 "8" at scale 1: a 10 pixel wide box holds one 6-pixel cell.
  int lit = 0;
  for (size_t i = 3; i < c.rgba.size(); i += 4) lit += c.rgba[i] == 255;
  const artw::LabelMask m = artw::RenderPixelLabel("8", 1);
  int glyphLit = 0;
  for (uint8_t a : m.alpha) glyphLit += a == 255;
  EXPECT_EQ(glyphLit, 17);
  EXPECT_EQ(lit, glyphLit);
}

// ---------------------------------------------------------------------------------------------
// The tool as a whole

TEST(ArtRun, BadManifestFailsAndWritesNothing) {
  TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  const fs::path manifest = dir.path() / "m.txt";
  WriteText(manifest, "png ok/a.png 4 4 disc red\npng ok/b.png 4 4 wobble red\n");
  testing::internal::CaptureStdout();
  const int rc = artw::RunArtManifest(manifest.string(), (dir.path() / "out").string());
  const std::string said = testing::internal::GetCapturedStdout();
  EXPECT_NE(rc, 0);
  EXPECT_NE(said.find("line 2: unknown shape 'wobble'"), std::string::npos) << said;
  EXPECT_FALSE(fs::exists(dir.path() / "out"));

  testing::internal::CaptureStdout();
  EXPECT_NE(artw::RunArtManifest((dir.path() / "missing.txt").string(), dir.path().string()), 0);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("cannot read manifest"), std::string::npos);
}

TEST(ArtRun, WritesEveryFileAndRerunsLeaveIdenticalBytes) {
  TempDir dir;
  const fs::path manifest = dir.path() / "m.txt";
  WriteText(manifest,
            "png ui/a.png 5 6 panel stone Hi\n"
            "spr ui/deep/b.spr 4 4 2 100 ring blue\n"
            "xml s/c.xml 4 4 2 100 heart pink\n"
            "iseries s/d/d 0 2 4 4 drops blood\n");
  const fs::path out = dir.path() / "game";
  ASSERT_EQ(artw::RunArtManifest(manifest.string(), out.string(), true), 0);
  const std::vector<std::string> expected = {"ui/a.png",     "ui/deep/b.spr", "s/c.xml",
                                             "s/c_00.png",   "s/c_01.png",    "s/d/d0000.png",
                                             "s/d/d0001.png"};
  std::vector<Bytes> first;
  for (const std::string& f : expected) {
    ASSERT_TRUE(fs::exists(out / f)) << f;
    first.push_back(ReadFile(out / f));
  }
  int w = 0, h = 0;
  EXPECT_FALSE(DecodeRgba(first[0], &w, &h).empty());
  EXPECT_EQ(w, 5);
  EXPECT_EQ(h, 6);
  ASSERT_EQ(artw::RunArtManifest(manifest.string(), out.string(), true), 0);
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(ReadFile(out / expected[i]), first[i]);
}

// ---------------------------------------------------------------------------------------------
// The project's manifest

#ifdef VAULTMERE_SOURCE_DIR
TEST(ArtProjectManifest, CoversTheStartUpArtAtUsableSizes) {
  const Bytes text = ReadFile(fs::path(VAULTMERE_SOURCE_DIR) / "data" / "art_manifest.txt");
  ASSERT_FALSE(text.empty());
  const std::vector<artw::ManifestEntry> entries = ParseOk(std::string(text.begin(), text.end()));

  std::map<std::string, const artw::ManifestEntry*> byFile;
  for (const auto& e : entries) {
    if (e.kind == artw::EntryKind::Series) {
      for (int i = 0; i < e.frames; ++i) byFile[artw::SeriesFileName(e.path, e.first + i)] = &e;
    } else {
      byFile[e.path] = &e;
    }
  }
  std::vector<std::string> required = {
      "ui/cursor.spr", "ui/cursorcorner.spr", "ui/mini_icons.spr",
      "ui/gameplay/bottombar_bg.png", "ui/gameplay/2x_bottombar_bg.png",
      "ui/gameplay/digest0.png", "ui/gameplay/digest1.png", "ui/gameplay/digest_inactive.png",
      "ui/ability_quickbar_select.png", "ui/gameplay/lifebar0.png", "ui/gameplay/expbar0.png",
      "ui/gameplay/manabar0.png", "ui/gameplay/manabar1.png", "ui/gameplay/2x_lifebar0.png",
      "ui/gameplay/2x_expbar0.png", "ui/gameplay/2x_manabar0.png", "ui/gameplay/2x_manabar1.png",
      "ui/ability_quickbar_select64.png", "ui/button_xclose0.png", "ui/button_xclose1.png",
      "ui/gameplay/xclose_copper0.png", "ui/gameplay/xclose_copper1.png",
      "ui/gameplay/xclose_copper2.png", "ui/numeral_question.spr", "ui/numeral_exclamation.spr",
      "ui/spells.spr", "ui/goto_b.spr", "ui/no_goto_r.spr", "ui/quality_star_full.png",
      "ui/quality_star_empty.png", "ui/helpful_arrow.spr", "ui/helpful_arrow_cb.spr",
      "ui/quest_exclaim.spr", "sprites/sfx/daze.spr", "sprites/sfx/oil.spr",
      "sprites/sfx/oilslick.spr", "sprites/sfx/bleeding.spr", "sprites/sfx/sleep.spr",
      "sprites/sfx/hearts.spr", "sprites/sfx/water_walking.spr", "ui/icons/xp_medal.png",
      "sprites/sfx/buffborder.spr", "ui/icons/buff_brittle.png", "ui/icons/buff_attacks.png",
      "ui/icons/buff_manacost.png", "tilesets/liquids.png", "ui/32x32_dither.png",
      "ui/64x64_dither.png", "ui/scroll_bg.png", "ui/tile_overlay2_64.png",
      "ui/tile_overlay1_64.png", "ui/tile_overlay0_64.png", "ui/gameplay/inventory.png",
      "ui/gameplay/2x_inventory.png", "ui/gameplay/inventory_sort0.png",
      "ui/gameplay/inventory_sort1.png", "ui/gameplay/inventory_sort2.png",
      "ui/gameplay/2x_inventory_sort0.png", "ui/gameplay/2x_inventory_sort1.png",
      "ui/gameplay/2x_inventory_sort2.png", "ui/gameplay/inventory_quicksell0.png",
      "ui/gameplay/inventory_quicksell1.png", "ui/crafting/recipes_bg.png",
      "dungeon/shades_lg.spr", "ui/gameover.png"};
  for (int i = 1; i <= 10; ++i) required.push_back("ui/numeral_" + std::to_string(i) + ".spr");
  for (int i = 0; i <= 9; ++i) required.push_back("ui/digit_" + std::to_string(i) + ".png");
  for (int i = 0; i < 4; ++i) required.push_back(artw::SeriesFileName("sprites/sfx/burnC/burnC", i));
  for (int i = 0; i < 3; ++i)
    required.push_back(artw::SeriesFileName("sprites/sfx/hero_glow/hero_glow", i));
  for (int i = 0; i < 5; ++i) required.push_back(artw::SeriesFileName("sprites/sfx/glintA/glintA", i));
  for (int i = 0; i < 10; ++i) required.push_back(artw::SeriesFileName("sprites/sfx/zalgoA/zalgoA", i));
  for (int i = 0; i < 6; ++i)
    required.push_back(artw::SeriesFileName("sprites/sfx/raindrop/raindrop", i));
  for (const std::string& f : required) {
    ASSERT_TRUE(byFile.count(f)) << f << " is not in the manifest";
    const artw::ManifestEntry& e = *byFile[f];
    if (artw::EndsWith(f, ".spr")) {
      EXPECT_EQ(e.kind, artw::EntryKind::Spr) << f;
    }
  }

  // HUD pieces: the normal bottom bar fits a 1280 x 720 screen and holds its bars and buttons.
  const auto size = [&](const std::string& f) {
    return std::pair<int, int>(byFile.at(f)->width, byFile.at(f)->height);
  };
  const auto bar = size("ui/gameplay/bottombar_bg.png");
  EXPECT_LE(bar.first, 1280);
  EXPECT_LE(bar.second, 720 / 4);
  EXPECT_EQ(size("ui/gameplay/lifebar0.png").first, 400);
  EXPECT_EQ(size("ui/gameplay/manabar0.png").first, 400);
  EXPECT_EQ(size("ui/gameplay/expbar0.png").first, 382);
  EXPECT_EQ(size("ui/gameplay/2x_lifebar0.png").first, 674);
  EXPECT_EQ(size("ui/gameplay/2x_expbar0.png").first, 671);
  EXPECT_LE(568 + size("ui/gameplay/manabar0.png").first, bar.first);
  EXPECT_LE(92 + size("ui/gameplay/lifebar0.png").second, bar.second);
  EXPECT_LE(96 + size("ui/gameplay/digest0.png").second, bar.second);
  EXPECT_EQ(size("ui/gameplay/digest0.png"), (std::pair<int, int>(60, 24)));
  EXPECT_EQ(size("ui/ability_quickbar_select.png"), (std::pair<int, int>(36, 36)));
  EXPECT_EQ(size("ui/ability_quickbar_select64.png"), (std::pair<int, int>(66, 66)));
  EXPECT_EQ(size("ui/button_xclose0.png"), (std::pair<int, int>(20, 20)));
  const auto big = size("ui/gameplay/2x_bottombar_bg.png");
  EXPECT_LE(865 + size("ui/gameplay/2x_expbar0.png").first, big.first);
  EXPECT_LE(172 + size("ui/gameplay/2x_lifebar0.png").second, big.second);
  // The liquid sheet has four rows of square cells.
  const auto sheet = size("tilesets/liquids.png");
  EXPECT_EQ(sheet.second % 4, 0);
  EXPECT_EQ(sheet.first % (sheet.second / 4), 0);
}
#endif

#ifdef VAULTMERE_SOURCE_DIR
// Backgrounds that the game writes its own headings and texts on carry no lettering of their
// own (it would stand under or beside the game's text), and the portraits print no name of
// their expression.
TEST(ArtProjectManifest, BackgroundsTheGameWritesOnCarryNoLettering) {
  const Bytes text = ReadFile(fs::path(VAULTMERE_SOURCE_DIR) / "data" / "art_manifest.txt");
  ASSERT_FALSE(text.empty());
  const std::vector<artw::ManifestEntry> entries = ParseOk(std::string(text.begin(), text.end()));
  const std::vector<std::string> written = {
      "ui/gameplay/panel_quest_bg.png", "ui/gameplay/questcomplete_bg.png",
      "ui/gameplay/questoffer_bg.png", "ui/gameplay/krong_displeased.png",
      "ui/gameplay/krong_pleased.png", "ui/gameplay/lutefisk_god_bg.png",
      "ui/gameplay/lutefisk_god_bg_slot.png", "ui/fountain_bg_drink.png",
      "ui/fountain_bg_text.png", "ui/tutorial/tutorial_complete_bg.png",
      "ui/gameplay/monster_zoo_cleared.png", "ui/gameplay/monster_zoo_cleared_fem.png",
      "ui/gameplay/dialog_steal.png", "ui/gameplay/levelup_bg.png",
      "ui/gameplay/levelup_bg_fem.png"};
  std::map<std::string, const artw::ManifestEntry*> byFile;
  int portraits = 0;
  for (const auto& e : entries) {
    byFile[e.path] = &e;
    if (e.path.rfind("ui/portrait/", 0) == 0) {
      ++portraits;
      EXPECT_EQ(e.label, "") << e.path << " prints its expression";
    }
  }
  EXPECT_EQ(portraits, 48);
  for (const std::string& f : written) {
    ASSERT_TRUE(byFile.count(f)) << f << " is not in the manifest";
    EXPECT_EQ(byFile[f]->label, "") << f << " has lettering under the game's text";
  }
}
#endif

#ifdef VAULTMERE_SOURCE_DIR
// The crafting panel's six scroll buttons (one row, a page, the end; up and down) are six
// different pictures.
TEST(ArtProjectManifest, TheSixRecipeScrollButtonsDiffer) {
  const Bytes text = ReadFile(fs::path(VAULTMERE_SOURCE_DIR) / "data" / "art_manifest.txt");
  ASSERT_FALSE(text.empty());
  const std::vector<artw::ManifestEntry> entries = ParseOk(std::string(text.begin(), text.end()));
  std::vector<Bytes> pictures;
  for (const char* step : {"top", "pageup", "up", "down", "pagedown", "bot"}) {
    const std::string file = std::string("ui/crafting/uber_") + step + "0.png";
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const artw::ManifestEntry& e) { return e.path == file; });
    ASSERT_NE(found, entries.end()) << file;
    artw::FileList files;
    std::string error;
    ASSERT_TRUE(artw::BuildEntryFiles(*found, &files, &error)) << error;
    ASSERT_EQ(files.size(), 1u);
    int w = 0, h = 0;
    pictures.push_back(DecodeRgba(files[0].second, &w, &h));
    ASSERT_FALSE(pictures.back().empty()) << file;
  }
  for (size_t i = 0; i < pictures.size(); ++i)
    for (size_t j = 0; j < i; ++j) EXPECT_TRUE(pictures[i] != pictures[j]) << "buttons " << i << " and " << j << " look alike";
}
#endif

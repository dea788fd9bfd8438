// The art manifest: a text file listing every generated picture, one file (or one numbered
// series, or one frame list with its frames) per line. The grammar is documented at the top of
// data/art_manifest.txt. This header parses it and turns each entry into file contents.
#pragma once

#include "tools/art_fixtures.h"
#include "tools/art_items.h"
#include "tools/art_shapes.h"
#include "tools/art_skills.h"
#include "tools/art_writer.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace artw {

enum class EntryKind { Png, IndexedPng, Spr, Xml, IndexedXml, Series, IndexedSeries };

struct ManifestEntry {
  EntryKind kind = EntryKind::Png;
  std::string path;  // file, or the name prefix of a series
  int width = 0;
  int height = 0;
  int frames = 1;  // frames of a ".spr" or frame list; count of a series
  int delay = 0;   // ms per frame (".spr" and frame lists)
  int first = 0;   // first number of a series
  std::string shapeName;
  ShapeFn shape = nullptr;
  std::string plan;  // body plan of a "creature" entry, if it names one
  Rgba colour;
  std::string label;
  int line = 0;
};

// Output files of one entry: path relative to the output folder, and contents.
using FileList = std::vector<std::pair<std::string, Bytes>>;

constexpr int kMaxSide = 4096;
constexpr int kMaxFrames = 256;

struct Token {
  std::string text;
  size_t begin = 0;  // offset in the line
  size_t end = 0;
};

// A shape of any table: the plain shapes, items, fixtures, skills.
inline ShapeFn FindAnyShape(const std::string& name) {
  if (ShapeFn f = FindShape(name)) return f;
  if (ShapeFn f = FindItemShape(name)) return f;
  if (ShapeFn f = FindFixtureShape(name)) return f;
  return FindSkillShape(name);
}

inline std::vector<Token> Tokenize(const std::string& line) {
  std::vector<Token> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size()) break;
    Token t;
    t.begin = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    t.end = i;
    t.text = line.substr(t.begin, t.end - t.begin);
    out.push_back(t);
  }
  return out;
}

// Whole decimal number in [lo, hi].
inline bool ParseInt(const std::string& text, int lo, int hi, int* out) {
  if (text.empty() || text.size() > 9) return false;
  for (char ch : text)
    if (ch < '0' || ch > '9') return false;
  const long v = std::strtol(text.c_str(), nullptr, 10);
  if (v < lo || v > hi) return false;
  *out = static_cast<int>(v);
  return true;
}

inline bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// A relative path of plain segments: no leading "/", no "\", no empty, "." or ".." segment.
inline bool CheckRelativePath(const std::string& path, std::string* error) {
  if (path.empty() || path[0] == '/' || path.find('\\') != std::string::npos ||
      path.find(':') != std::string::npos) {
    *error = "path '" + path + "' must be relative, with '/' between folders";
    return false;
  }
  size_t start = 0;
  while (true) {
    const size_t slash = path.find('/', start);
    const std::string seg = path.substr(start, slash == std::string::npos ? std::string::npos
                                                                          : slash - start);
    if (seg.empty() || seg == "." || seg == "..") {
      *error = "path '" + path + "' has an empty, '.' or '..' part";
      return false;
    }
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return true;
}

inline bool KindFromName(const std::string& name, EntryKind* kind) {
  static const std::pair<const char*, EntryKind> kKinds[] = {
      {"png", EntryKind::Png},       {"ipng", EntryKind::IndexedPng},
      {"spr", EntryKind::Spr},       {"xml", EntryKind::Xml},
      {"ixml", EntryKind::IndexedXml}, {"series", EntryKind::Series},
      {"iseries", EntryKind::IndexedSeries},
  };
  for (const auto& k : kKinds)
    if (name == k.first) {
      *kind = k.second;
      return true;
    }
  return false;
}

// Parses one line that is not an "each" line. Appends the entry to out; a blank or comment line
// appends nothing. False with a message on a bad line.
inline bool ParseEntryLine(const std::string& line, int lineNumber, std::vector<ManifestEntry>* out,
                           std::string* error) {
  std::vector<Token> tok = Tokenize(line);
  if (tok.empty() || tok[0].text[0] == '#') return true;
  ManifestEntry e;
  e.line = lineNumber;
  if (!KindFromName(tok[0].text, &e.kind)) {
    *error = "unknown kind '" + tok[0].text + "' (png, ipng, spr, xml, ixml, series, iseries, each)";
    return false;
  }
  const bool isSeries = e.kind == EntryKind::Series || e.kind == EntryKind::IndexedSeries;
  const bool isAnim = e.kind == EntryKind::Spr || e.kind == EntryKind::Xml ||
                      e.kind == EntryKind::IndexedXml;
  // kind path [first count] w h [frames delay] shape colour [label]
  const size_t needed = 6 + (isSeries || isAnim ? 2 : 0);
  if (tok.size() < needed) {
    *error = "'" + tok[0].text + "' needs at least " + std::to_string(needed - 1) + " fields";
    return false;
  }
  size_t i = 1;
  e.path = tok[i++].text;
  if (!CheckRelativePath(e.path, error)) return false;
  if (isSeries) {
    if (!ParseInt(tok[i++].text, 0, 9999, &e.first)) {
      *error = "first number '" + tok[i - 1].text + "' must be 0..9999";
      return false;
    }
    if (!ParseInt(tok[i++].text, 1, kMaxFrames, &e.frames) || e.first + e.frames - 1 > 9999) {
      *error = "count '" + tok[i - 1].text + "' must be 1.." + std::to_string(kMaxFrames) +
               " and keep the numbers below 10000";
      return false;
    }
  }
  if (!ParseInt(tok[i++].text, 1, kMaxSide, &e.width) ||
      !ParseInt(tok[i++].text, 1, kMaxSide, &e.height)) {
    *error = "width and height must be whole numbers 1.." + std::to_string(kMaxSide);
    return false;
  }
  if (isAnim) {
    if (!ParseInt(tok[i++].text, 1, kMaxFrames, &e.frames)) {
      *error = "frame count '" + tok[i - 1].text + "' must be 1.." + std::to_string(kMaxFrames);
      return false;
    }
    if (!ParseInt(tok[i++].text, 0, 65535, &e.delay)) {
      *error = "delay '" + tok[i - 1].text + "' must be 0..65535 ms";
      return false;
    }
  }
  e.shapeName = tok[i++].text;
  e.shape = FindAnyShape(e.shapeName);
  if (!e.shape) {
    *error = "unknown shape '" + e.shapeName + "'";
    return false;
  }
  if (e.shapeName == "creature" && FindBodyPlan(tok[i].text)) {
    e.plan = tok[i++].text;
    if (i >= tok.size()) {
      *error = "creature '" + e.plan + "' needs a colour";
      return false;
    }
  }
  if (!ParseColour(tok[i].text, &e.colour)) {
    *error = "unknown colour '" + tok[i].text + "' (a name or #RRGGBB or #RRGGBBAA)";
    return false;
  }
  ++i;
  if (i < tok.size()) e.label = line.substr(tok[i].begin, tok.back().end - tok[i].begin);
  if (!e.plan.empty()) {
    CreaturePose pose;
    if (!ParseCreatureWords(e.label, &pose, error)) return false;
  }

  const char* ext = nullptr;
  switch (e.kind) {
    case EntryKind::Png:
    case EntryKind::IndexedPng: ext = ".png"; break;
    case EntryKind::Spr: ext = ".spr"; break;
    case EntryKind::Xml:
    case EntryKind::IndexedXml: ext = ".xml"; break;
    default: break;
  }
  if (ext && !EndsWith(e.path, ext)) {
    *error = "path '" + e.path + "' must end in " + ext;
    return false;
  }
  if (isSeries && (EndsWith(e.path, "/") || e.path.find('.') != std::string::npos)) {
    *error = "series name '" + e.path + "' must be a file name prefix without extension";
    return false;
  }
  out->push_back(e);
  return true;
}

// Parses one manifest line, expanding "each A..B rest" (numbers) and "each a,b,c rest" (words):
// the rest is parsed once per value with every "$" replaced by the value.
inline bool ParseManifestLine(const std::string& line, int lineNumber,
                              std::vector<ManifestEntry>* out, std::string* error) {
  std::vector<Token> tok = Tokenize(line);
  if (tok.empty() || tok[0].text[0] == '#') return true;
  if (tok[0].text != "each") return ParseEntryLine(line, lineNumber, out, error);
  if (tok.size() < 3) {
    *error = "'each' needs a range or list and a line to repeat";
    return false;
  }
  std::vector<std::string> values;
  const std::string& range = tok[1].text;
  const size_t dots = range.find("..");
  if (dots != std::string::npos) {
    int a = 0, b = 0;
    if (!ParseInt(range.substr(0, dots), 0, 99999, &a) ||
        !ParseInt(range.substr(dots + 2), 0, 99999, &b) || b < a || b - a >= 1000) {
      *error = "'each' range '" + range + "' must be FIRST..LAST with FIRST <= LAST";
      return false;
    }
    for (int v = a; v <= b; ++v) values.push_back(std::to_string(v));
  } else {
    std::stringstream ss(range);
    std::string item;
    while (std::getline(ss, item, ','))
      if (!item.empty()) values.push_back(item);
    if (values.empty()) {
      *error = "'each' list '" + range + "' is empty";
      return false;
    }
  }
  const std::string rest = line.substr(tok[2].begin);
  if (Tokenize(rest)[0].text == "each") {
    *error = "'each' lines do not nest";
    return false;
  }
  for (const std::string& v : values) {
    std::string expanded;
    for (char ch : rest) {
      if (ch == '$') expanded += v;
      else expanded += ch;
    }
    if (!ParseEntryLine(expanded, lineNumber, out, error)) {
      *error += " (with $ = " + v + ")";
      return false;
    }
  }
  return true;
}

// Parses a whole manifest. Every output path may appear once. On failure the message names the
// line ("line 12: ...").
inline bool ParseManifest(const std::string& text, std::vector<ManifestEntry>* out,
                          std::string* error) {
  std::stringstream ss(text);
  std::string line;
  int number = 0;
  std::map<std::string, int> seen;
  while (std::getline(ss, line)) {
    ++number;
    const size_t before = out->size();
    std::string why;
    if (!ParseManifestLine(line, number, out, &why)) {
      *error = "line " + std::to_string(number) + ": " + why;
      return false;
    }
    for (size_t i = before; i < out->size(); ++i) {
      auto it = seen.find((*out)[i].path);
      if (it != seen.end()) {
        *error = "line " + std::to_string(number) + ": '" + (*out)[i].path +
                 "' is already listed on line " + std::to_string(it->second);
        return false;
      }
      seen[(*out)[i].path] = number;
    }
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Generation.

inline Canvas DrawEntryFrame(const ManifestEntry& e, int frame, int frames) {
  Canvas c(e.width, e.height);
  ShapeArgs args;
  args.colour = e.colour;
  args.plan = e.plan;
  args.label = e.label;
  args.frame = frame;
  args.frames = frames;
  e.shape(c, args);
  return c;
}

inline Bytes EncodeFrame(const Canvas& c, bool indexed) {
  return indexed ? EncodeIndexedPng(Quantize(c)) : EncodeRgbaPng(c);
}

inline std::string SeriesFileName(const std::string& prefix, int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d", number);
  return prefix + digits + ".png";
}

// Makes the files of one entry in memory.
inline bool BuildEntryFiles(const ManifestEntry& e, FileList* files, std::string* error) {
  auto add = [&](const std::string& path, Bytes bytes) {
    if (bytes.empty()) {
      *error = "could not encode '" + path + "'";
      return false;
    }
    files->emplace_back(path, std::move(bytes));
    return true;
  };
  switch (e.kind) {
    case EntryKind::Png:
    case EntryKind::IndexedPng:
      return add(e.path, EncodeFrame(DrawEntryFrame(e, 0, 1), e.kind == EntryKind::IndexedPng));
    case EntryKind::Spr: {
      std::vector<SprFrame> frames;
      for (int f = 0; f < e.frames; ++f)
        frames.push_back(MakeSprFrame(Quantize(DrawEntryFrame(e, f, e.frames)),
                                      static_cast<uint16_t>(e.delay)));
      return add(e.path, EncodeSpr(static_cast<uint16_t>(e.width),
                                   static_cast<uint16_t>(e.height), frames));
    }
    case EntryKind::Xml:
    case EntryKind::IndexedXml: {
      const size_t slash = e.path.rfind('/');
      const std::string folder = slash == std::string::npos ? "" : e.path.substr(0, slash + 1);
      const std::string stem = e.path.substr(folder.size(), e.path.size() - folder.size() - 4);
      std::vector<std::string> names;
      std::vector<int> delays;
      for (int f = 0; f < e.frames; ++f) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, "_%02d.png", f);
        names.push_back(stem + suffix);
        delays.push_back(e.delay);
        if (!add(folder + names.back(),
                 EncodeFrame(DrawEntryFrame(e, f, e.frames), e.kind == EntryKind::IndexedXml)))
          return false;
      }
      const std::string list = EncodeFrameList(names, delays);
      return add(e.path, Bytes(list.begin(), list.end()));
    }
    case EntryKind::Series:
    case EntryKind::IndexedSeries:
      for (int f = 0; f < e.frames; ++f)
        if (!add(SeriesFileName(e.path, e.first + f),
                 EncodeFrame(DrawEntryFrame(e, f, e.frames),
                             e.kind == EntryKind::IndexedSeries)))
          return false;
      return true;
  }
  return false;
}

// Writes bytes to a file, creating its folders; leaves a file with the same contents untouched.
inline bool WriteFileIfChanged(const std::filesystem::path& path, const Bytes& bytes,
                               std::string* error) {
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  if (ec) {
    *error = "cannot create folder " + path.parent_path().string() + ": " + ec.message();
    return false;
  }
  {
    std::ifstream in(path, std::ios::binary);
    if (in) {
      Bytes old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (old == bytes) return true;
    }
  }
  std::ofstream outFile(path, std::ios::binary | std::ios::trunc);
  if (outFile) outFile.write(reinterpret_cast<const char*>(bytes.data()),
                             static_cast<std::streamsize>(bytes.size()));
  if (!outFile) {
    *error = "cannot write " + path.string();
    return false;
  }
  return true;
}

// The whole tool: parses the manifest (nothing is written when any line is bad), then makes and
// writes every file under outRoot. Prints a diagnostic and returns 1 on failure, else 0.
inline int RunArtManifest(const std::string& manifestPath, const std::string& outRoot,
                          bool quiet = false) {
  std::ifstream in(manifestPath, std::ios::binary);
  if (!in) {
    std::printf("artmaker: cannot read manifest %s\n", manifestPath.c_str());
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  std::vector<ManifestEntry> entries;
  std::string error;
  if (!ParseManifest(text.str(), &entries, &error)) {
    std::printf("artmaker: %s: %s\n", manifestPath.c_str(), error.c_str());
    return 1;
  }
  size_t written = 0;
  for (const ManifestEntry& e : entries) {
    FileList files;
    if (!BuildEntryFiles(e, &files, &error)) {
      std::printf("artmaker: %s: line %d: %s\n", manifestPath.c_str(), e.line, error.c_str());
      return 1;
    }
    for (const auto& f : files) {
      if (!WriteFileIfChanged(std::filesystem::path(outRoot) / f.first, f.second, &error)) {
        std::printf("artmaker: %s\n", error.c_str());
        return 1;
      }
      ++written;
    }
  }
  if (!quiet)
    std::printf("artmaker: %zu files from %zu manifest entries in %s\n", written, entries.size(),
                outRoot.c_str());
  return 0;
}

}  // namespace artw

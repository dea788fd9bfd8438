// Drawing of the generated placeholder art: named colours, the shapes that tell kinds of picture
// apart, and labels (TrueType through SDL_ttf, or a built-in 5x7 pixel font when no font opens).
// Everything here is deterministic: the same arguments always give the same pixels.
#pragma once

#include "tools/art_writer.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace artw {

// ---------------------------------------------------------------------------------------------
// Colours.

struct NamedColour {
  const char* name;
  Rgba colour;
};

inline const std::vector<NamedColour>& ColourTable() {
  static const std::vector<NamedColour> table = {
      {"black", {16, 16, 20, 255}},      {"white", {240, 240, 236, 255}},
      {"grey", {128, 128, 132, 255}},    {"darkgrey", {64, 64, 70, 255}},
      {"red", {200, 40, 36, 255}},       {"darkred", {110, 20, 20, 255}},
      {"pink", {240, 120, 170, 255}},    {"orange", {236, 128, 30, 255}},
      {"yellow", {236, 210, 50, 255}},   {"gold", {212, 170, 60, 255}},
      {"green", {60, 170, 60, 255}},     {"darkgreen", {30, 90, 36, 255}},
      {"teal", {30, 140, 130, 255}},     {"cyan", {80, 200, 220, 255}},
      {"blue", {50, 90, 210, 255}},      {"darkblue", {24, 36, 100, 255}},
      {"purple", {130, 60, 170, 255}},   {"violet", {170, 110, 230, 255}},
      {"brown", {120, 80, 44, 255}},     {"copper", {184, 110, 60, 255}},
      {"bronze", {160, 120, 70, 255}},   {"stone", {112, 108, 100, 255}},
      {"sand", {200, 180, 130, 255}},    {"parchment", {222, 200, 150, 255}},
      {"wood", {110, 72, 40, 255}},      {"water", {40, 100, 200, 255}},
      {"lava", {230, 80, 20, 255}},      {"goo", {110, 180, 40, 255}},
      {"ice", {170, 220, 240, 255}},     {"oil", {40, 34, 30, 255}},
      {"blood", {150, 10, 16, 255}},     {"bone", {226, 218, 190, 255}},
  };
  return table;
}

inline int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A colour name of the table, or "#RRGGBB" / "#RRGGBBAA".
inline bool ParseColour(const std::string& text, Rgba* out) {
  if (!text.empty() && text[0] == '#') {
    if (text.size() != 7 && text.size() != 9) return false;
    uint8_t v[4] = {0, 0, 0, 255};
    for (size_t i = 1; i < text.size(); i += 2) {
      const int hi = HexDigit(text[i]);
      const int lo = HexDigit(text[i + 1]);
      if (hi < 0 || lo < 0) return false;
      v[(i - 1) / 2] = static_cast<uint8_t>(hi * 16 + lo);
    }
    *out = Rgba{v[0], v[1], v[2], v[3]};
    return true;
  }
  for (const NamedColour& nc : ColourTable())
    if (text == nc.name) {
      *out = nc.colour;
      return true;
    }
  return false;
}

inline uint8_t ClampByte(float v) {
  if (v <= 0.0f) return 0;
  if (v >= 255.0f) return 255;
  return static_cast<uint8_t>(v + 0.5f);
}

// Multiplies the colour channels by f (alpha unchanged).
inline Rgba Shade(Rgba c, float f) {
  return Rgba{ClampByte(c.r * f), ClampByte(c.g * f), ClampByte(c.b * f), c.a};
}

inline Rgba Mix(Rgba a, Rgba b, float t) {
  return Rgba{ClampByte(a.r + (b.r - a.r) * t), ClampByte(a.g + (b.g - a.g) * t),
              ClampByte(a.b + (b.b - a.b) * t), ClampByte(a.a + (b.a - a.a) * t)};
}

inline Rgba WithAlpha(Rgba c, int a) {
  c.a = static_cast<uint8_t>(std::max(0, std::min(255, a)));
  return c;
}

inline int Luminance(Rgba c) { return (c.r * 30 + c.g * 59 + c.b * 11) / 100; }

// Rotates the hue of a colour by the given number of degrees (HSV model).
inline Rgba RotateHue(Rgba c, float degrees) {
  const float r = c.r / 255.0f, g = c.g / 255.0f, b = c.b / 255.0f;
  const float mx = std::max(r, std::max(g, b)), mn = std::min(r, std::min(g, b));
  const float d = mx - mn;
  float h = 0.0f;
  if (d > 0.0f) {
    if (mx == r) h = 60.0f * std::fmod((g - b) / d, 6.0f);
    else if (mx == g) h = 60.0f * ((b - r) / d + 2.0f);
    else h = 60.0f * ((r - g) / d + 4.0f);
  }
  const float s = mx > 0.0f ? d / mx : 0.0f;
  const float v = mx;
  h = std::fmod(h + degrees, 360.0f);
  if (h < 0.0f) h += 360.0f;
  const float cc = v * s;
  const float x = cc * (1.0f - std::fabs(std::fmod(h / 60.0f, 2.0f) - 1.0f));
  const float m = v - cc;
  float rr = 0, gg = 0, bb = 0;
  const int sector = static_cast<int>(h / 60.0f) % 6;
  switch (sector) {
    case 0: rr = cc; gg = x; break;
    case 1: rr = x; gg = cc; break;
    case 2: gg = cc; bb = x; break;
    case 3: gg = x; bb = cc; break;
    case 4: rr = x; bb = cc; break;
    default: rr = cc; bb = x; break;
  }
  return Rgba{ClampByte((rr + m) * 255.0f), ClampByte((gg + m) * 255.0f),
              ClampByte((bb + m) * 255.0f), c.a};
}

// Small deterministic hash for textures.
inline uint32_t Hash3(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

// ---------------------------------------------------------------------------------------------
// Labels.

// 5x7 pixel glyphs, one byte per row, bit 4 = leftmost column.
inline const uint8_t* PixelGlyph(char ch) {
  struct Glyph {
    char c;
    uint8_t rows[7];
  };
  static const Glyph kGlyphs[] = {
      {' ', {0, 0, 0, 0, 0, 0, 0}},
      {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
      {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
      {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
      {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
      {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
      {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
      {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
      {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
      {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
      {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
      {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
      {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
      {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
      {'D', {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}},
      {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
      {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
      {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
      {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
      {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
      {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
      {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
      {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
      {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
      {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
      {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
      {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
      {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}},
      {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
      {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
      {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
      {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
      {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
      {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
      {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
      {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}},
      {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
      {'!', {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}},
      {'?', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}},
      {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
      {',', {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}},
      {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
      {'+', {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}},
      {'/', {0x01, 0x01, 0x02, 0x04, 0x08, 0x10, 0x10}},
      {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
      {'\'', {0x04, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00}},
  };
  if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  for (const Glyph& g : kGlyphs)
    if (g.c == ch) return g.rows;
  for (const Glyph& g : kGlyphs)
    if (g.c == '?') return g.rows;
  return kGlyphs[0].rows;
}

// Coverage mask of a rendered label: width x height values 0..255.
struct LabelMask {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> alpha;
};

// Renders text with the built-in pixel font at an integer scale.
inline LabelMask RenderPixelLabel(const std::string& text, int scale) {
  LabelMask m;
  if (text.empty() || scale < 1) return m;
  m.width = static_cast<int>(text.size()) * 6 * scale - scale;
  m.height = 7 * scale;
  m.alpha.assign(static_cast<size_t>(m.width) * m.height, 0);
  for (size_t i = 0; i < text.size(); ++i) {
    const uint8_t* rows = PixelGlyph(text[i]);
    for (int gy = 0; gy < 7; ++gy)
      for (int gx = 0; gx < 5; ++gx) {
        if (!(rows[gy] & (0x10 >> gx))) continue;
        for (int sy = 0; sy < scale; ++sy)
          for (int sx = 0; sx < scale; ++sx) {
            const int x = static_cast<int>(i) * 6 * scale + gx * scale + sx;
            const int y = gy * scale + sy;
            m.alpha[static_cast<size_t>(y) * m.width + x] = 255;
          }
      }
  }
  return m;
}

// The TrueType face used for labels, opened once per size; closed by CloseLabelFonts.
struct LabelFontState {
  std::string path = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  bool initTried = false;
  bool initOk = false;
  std::map<int, TTF_Font*> fonts;  // null entries: that size failed to open

  ~LabelFontState() {
    // At exit the faces still open are closed while the TrueType library is up.
    if (!TTF_WasInit()) return;
    for (auto& entry : fonts)
      if (entry.second) TTF_CloseFont(entry.second);
  }
};

inline LabelFontState& LabelFonts() {
  static LabelFontState state;
  return state;
}

inline void CloseLabelFonts() {
  LabelFontState& st = LabelFonts();
  for (auto& entry : st.fonts)
    if (entry.second) TTF_CloseFont(entry.second);
  st.fonts.clear();
  if (st.initOk) TTF_Quit();
  st.initTried = false;
  st.initOk = false;
}

// Chooses another font file (the tests use a missing one to reach the pixel font).
inline void SetLabelFontPath(const std::string& path) {
  CloseLabelFonts();
  LabelFonts().path = path;
}

inline TTF_Font* LabelFont(int pointSize) {
  LabelFontState& st = LabelFonts();
  if (!st.initTried) {
    st.initTried = true;
    st.initOk = TTF_WasInit() || TTF_Init() == 0;
  }
  if (!st.initOk) return nullptr;
  auto it = st.fonts.find(pointSize);
  if (it != st.fonts.end()) return it->second;
  TTF_Font* font = TTF_OpenFont(st.path.c_str(), pointSize);
  st.fonts[pointSize] = font;
  return font;
}

// Renders text with the TrueType face at one point size; empty mask when that is not possible.
inline LabelMask RenderTtfLabel(const std::string& text, int pointSize) {
  LabelMask m;
  TTF_Font* font = LabelFont(pointSize);
  if (!font || text.empty()) return m;
  SDL_Color white = {255, 255, 255, 0};
  SDL_Surface* s = TTF_RenderUTF8_Blended(font, text.c_str(), white);
  if (!s) return m;
  if (SDL_LockSurface(s) == 0) {
    m.width = s->w;
    m.height = s->h;
    m.alpha.assign(static_cast<size_t>(s->w) * s->h, 0);
    for (int y = 0; y < s->h; ++y) {
      const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + y * s->pitch;
      for (int x = 0; x < s->w; ++x) {
        Uint32 px = 0;
        std::memcpy(&px, row + x * s->format->BytesPerPixel,
                    std::min<int>(4, s->format->BytesPerPixel));
        Uint8 r, g, b, a;
        SDL_GetRGBA(px, s->format, &r, &g, &b, &a);
        m.alpha[static_cast<size_t>(y) * s->w + x] = a;
      }
    }
    SDL_UnlockSurface(s);
  }
  SDL_FreeSurface(s);
  return m;
}

// Trims a mask to the bounding box of its covered pixels.
inline LabelMask TrimMask(const LabelMask& m) {
  int x0 = m.width, y0 = m.height, x1 = -1, y1 = -1;
  for (int y = 0; y < m.height; ++y)
    for (int x = 0; x < m.width; ++x)
      if (m.alpha[static_cast<size_t>(y) * m.width + x] > 0) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
  LabelMask t;
  if (x1 < 0) return t;
  t.width = x1 - x0 + 1;
  t.height = y1 - y0 + 1;
  t.alpha.resize(static_cast<size_t>(t.width) * t.height);
  for (int y = 0; y < t.height; ++y)
    for (int x = 0; x < t.width; ++x)
      t.alpha[static_cast<size_t>(y) * t.width + x] =
          m.alpha[static_cast<size_t>(y + y0) * m.width + (x + x0)];
  return t;
}

// The largest rendering of text that fits maxW x maxH (trimmed to its ink): TrueType first, the
// pixel font when no TrueType face is available. May still be larger than the box when even the
// smallest size does not fit; the caller clips.
inline LabelMask FitLabel(const std::string& text, int maxW, int maxH) {
  if (text.empty() || maxW < 1 || maxH < 1) return LabelMask();
  if (LabelFont(12)) {
    LabelMask best;
    for (int size = std::min(96, maxH * 3 / 2 + 2); size >= 5; --size) {
      LabelMask m = TrimMask(RenderTtfLabel(text, size));
      if (m.width == 0) continue;
      best = m;
      if (m.width <= maxW && m.height <= maxH) return m;
    }
    if (best.width > 0) return best;
  }
  int scale = std::min(maxH / 7, (maxW + 1) / (static_cast<int>(text.size()) * 6));
  return RenderPixelLabel(text, std::max(1, scale));
}

// Draws text centred on (cx, cy) in colour, with a one-pixel dark outline when outlined is set.
inline void DrawLabel(Canvas& canvas, const std::string& text, int cx, int cy, int maxW, int maxH,
                      Rgba colour, bool outlined) {
  LabelMask m = FitLabel(text, maxW, maxH);
  if (m.width == 0) return;
  const int left = cx - m.width / 2;
  const int top = cy - m.height / 2;
  auto cover = [&](int x, int y) -> int {
    if (x < 0 || y < 0 || x >= m.width || y >= m.height) return 0;
    return m.alpha[static_cast<size_t>(y) * m.width + x];
  };
  if (outlined) {
    const Rgba edge = Luminance(colour) > 90 ? Rgba{10, 8, 6, 255} : Rgba{245, 240, 225, 255};
    for (int y = -1; y <= m.height; ++y)
      for (int x = -1; x <= m.width; ++x) {
        int a = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) a = std::max(a, cover(x + dx, y + dy));
        if (a > 0) canvas.Blend(left + x, top + y, WithAlpha(edge, a * colour.a / 255));
      }
  }
  for (int y = 0; y < m.height; ++y)
    for (int x = 0; x < m.width; ++x) {
      const int a = cover(x, y);
      if (a > 0) canvas.Blend(left + x, top + y, WithAlpha(colour, a * colour.a / 255));
    }
}

}  // namespace artw

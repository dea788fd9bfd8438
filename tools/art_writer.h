// File writers for the generated placeholder art: the binary ".spr" sprite format, ".xml" frame
// lists, palette (8-bit indexed) PNGs and true-colour PNGs. Header-only: shared by the art maker
// and its tests (every tools/*.cpp is an executable of its own).
#pragma once

#include <zlib.h>
#include <stb_image_write.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace artw {

using Bytes = std::vector<uint8_t>;

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 255;
};

inline bool operator==(const Rgba& x, const Rgba& y) {
  return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a;
}

// ---------------------------------------------------------------------------------------------
// Little-endian and big-endian field writers.

inline void PutU16LE(Bytes& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void PutU32BE(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 24));
  out.push_back(static_cast<uint8_t>((v >> 16) & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  out.push_back(static_cast<uint8_t>(v & 0xFF));
}

// ---------------------------------------------------------------------------------------------
// RGBA drawing surface (bytes R, G, B, A per pixel, rows top to bottom).

struct Canvas {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;

  Canvas() = default;
  Canvas(int w, int h) : width(w), height(h), rgba(static_cast<size_t>(w) * h * 4, 0) {}

  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

  Rgba Get(int x, int y) const {
    if (!Inside(x, y)) return Rgba{0, 0, 0, 0};
    const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    return Rgba{p[0], p[1], p[2], p[3]};
  }

  void Set(int x, int y, Rgba c) {
    if (!Inside(x, y)) return;
    uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
    p[3] = c.a;
  }

  // Source-over blend of c onto the pixel.
  void Blend(int x, int y, Rgba c) {
    if (!Inside(x, y) || c.a == 0) return;
    if (c.a == 255) {
      Set(x, y, c);
      return;
    }
    Rgba d = Get(x, y);
    const int sa = c.a;
    const int da = d.a * (255 - sa) / 255;
    const int oa = sa + da;
    if (oa == 0) return;
    Rgba o;
    o.r = static_cast<uint8_t>((c.r * sa + d.r * da) / oa);
    o.g = static_cast<uint8_t>((c.g * sa + d.g * da) / oa);
    o.b = static_cast<uint8_t>((c.b * sa + d.b * da) / oa);
    o.a = static_cast<uint8_t>(oa > 255 ? 255 : oa);
    Set(x, y, o);
  }

  void FillRect(int x0, int y0, int w, int h, Rgba c) {
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) Blend(x, y, c);
  }
};

// ---------------------------------------------------------------------------------------------
// Palette images. Index 0 is always the transparent entry.

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // one palette index per pixel, rows top to bottom
  std::vector<Rgba> palette;    // at most 256 entries; entry 0 is transparent
};

// Turns an RGBA canvas into a palette image: pixels with alpha below 128 take index 0, every other
// colour gets an entry of its own in order of first appearance (row by row); once 255 colours are
// in use, further colours take the nearest entry. Deterministic for a given canvas.
inline IndexedImage Quantize(const Canvas& canvas) {
  IndexedImage out;
  out.width = canvas.width;
  out.height = canvas.height;
  out.pixels.assign(static_cast<size_t>(canvas.width) * canvas.height, 0);
  out.palette.push_back(Rgba{0, 0, 0, 0});
  std::map<uint32_t, uint8_t> lookup;
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      Rgba c = canvas.Get(x, y);
      if (c.a < 128) continue;
      const uint32_t key = (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b;
      uint8_t index = 0;
      auto it = lookup.find(key);
      if (it != lookup.end()) {
        index = it->second;
      } else if (out.palette.size() < 256) {
        index = static_cast<uint8_t>(out.palette.size());
        out.palette.push_back(Rgba{c.r, c.g, c.b, 255});
        lookup[key] = index;
      } else {
        long best = -1;
        for (size_t i = 1; i < out.palette.size(); ++i) {
          const long dr = long(c.r) - out.palette[i].r;
          const long dg = long(c.g) - out.palette[i].g;
          const long db = long(c.b) - out.palette[i].b;
          const long d = dr * dr + dg * dg + db * db;
          if (best < 0 || d < best) {
            best = d;
            index = static_cast<uint8_t>(i);
          }
        }
        lookup[key] = index;
      }
      out.pixels[static_cast<size_t>(y) * canvas.width + x] = index;
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------------
// ".spr": 3 bytes the reader skips ("SPR" here), frame count, width and height (uint16 each, little
// endian), then per frame: delay in ms (uint16), 256 x R, G, B palette, width x height indices.

struct SprFrame {
  uint16_t delay = 100;
  uint8_t palette[768] = {};
  std::vector<uint8_t> pixels;  // width x height palette indices
};

// Returns the file bytes, or an empty vector when a frame's pixel count does not match the size or
// there are no frames.
inline Bytes EncodeSpr(uint16_t width, uint16_t height, const std::vector<SprFrame>& frames) {
  Bytes out;
  const size_t area = static_cast<size_t>(width) * height;
  if (frames.empty() || frames.size() > 0xFFFF) return out;
  for (const SprFrame& f : frames)
    if (f.pixels.size() != area) return out;
  out.reserve(9 + frames.size() * (2 + 768 + area));
  out.push_back('S');
  out.push_back('P');
  out.push_back('R');
  PutU16LE(out, static_cast<uint16_t>(frames.size()));
  PutU16LE(out, width);
  PutU16LE(out, height);
  for (const SprFrame& f : frames) {
    PutU16LE(out, f.delay);
    out.insert(out.end(), f.palette, f.palette + 768);
    out.insert(out.end(), f.pixels.begin(), f.pixels.end());
  }
  return out;
}

// One ".spr" frame from a palette image (entries beyond the image's palette stay black).
inline SprFrame MakeSprFrame(const IndexedImage& image, uint16_t delay) {
  SprFrame f;
  f.delay = delay;
  for (size_t i = 0; i < image.palette.size() && i < 256; ++i) {
    f.palette[i * 3 + 0] = image.palette[i].r;
    f.palette[i * 3 + 1] = image.palette[i].g;
    f.palette[i * 3 + 2] = image.palette[i].b;
  }
  f.pixels = image.pixels;
  return f;
}

// ---------------------------------------------------------------------------------------------
// PNG writers.

inline void PutPngChunk(Bytes& out, const char type[4], const Bytes& data) {
  PutU32BE(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32(crc, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
  PutU32BE(out, static_cast<uint32_t>(crc));
}

// Palette PNG (colour type 3, 8 bits per index) with a tRNS chunk that makes index 0 fully
// transparent and leaves every other entry opaque. Empty result on bad input.
inline Bytes EncodeIndexedPng(const IndexedImage& image) {
  Bytes out;
  const size_t area = static_cast<size_t>(image.width) * image.height;
  if (image.width <= 0 || image.height <= 0 || image.pixels.size() != area) return out;
  if (image.palette.empty() || image.palette.size() > 256) return out;
  size_t entries = image.palette.size();
  for (uint8_t index : image.pixels)
    if (index >= entries) entries = size_t(index) + 1;  // every used index needs an entry

  static const uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  out.insert(out.end(), kSignature, kSignature + 8);

  Bytes ihdr;
  PutU32BE(ihdr, static_cast<uint32_t>(image.width));
  PutU32BE(ihdr, static_cast<uint32_t>(image.height));
  ihdr.push_back(8);  // bit depth
  ihdr.push_back(3);  // colour type: palette
  ihdr.push_back(0);  // compression
  ihdr.push_back(0);  // filter method
  ihdr.push_back(0);  // no interlace
  PutPngChunk(out, "IHDR", ihdr);

  Bytes plte;
  for (size_t i = 0; i < entries; ++i) {
    Rgba c = i < image.palette.size() ? image.palette[i] : Rgba{0, 0, 0, 255};
    plte.push_back(c.r);
    plte.push_back(c.g);
    plte.push_back(c.b);
  }
  PutPngChunk(out, "PLTE", plte);
  PutPngChunk(out, "tRNS", Bytes{0});

  Bytes raw;
  raw.reserve(area + image.height);
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);  // filter type none
    const uint8_t* row = &image.pixels[static_cast<size_t>(y) * image.width];
    raw.insert(raw.end(), row, row + image.width);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  Bytes packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
    return Bytes();
  packed.resize(packedSize);
  PutPngChunk(out, "IDAT", packed);
  PutPngChunk(out, "IEND", Bytes());
  return out;
}

inline void AppendToBytes(void* context, void* data, int size) {
  Bytes* out = static_cast<Bytes*>(context);
  const uint8_t* p = static_cast<const uint8_t*>(data);
  out->insert(out->end(), p, p + size);
}

// True-colour PNG with alpha (4 channels).
inline Bytes EncodeRgbaPng(const Canvas& canvas) {
  Bytes out;
  if (canvas.width <= 0 || canvas.height <= 0) return out;
  if (!stbi_write_png_to_func(&AppendToBytes, &out, canvas.width, canvas.height, 4,
                              canvas.rgba.data(), canvas.width * 4))
    out.clear();
  return out;
}

// ---------------------------------------------------------------------------------------------
// ".xml" frame list: one `frame` element per frame, its text the PNG file name relative to the
// list's own folder, its `delay` attribute the display time in ms.

inline std::string EncodeFrameList(const std::vector<std::string>& files,
                                   const std::vector<int>& delays) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<animation>\n";
  for (size_t i = 0; i < files.size(); ++i) {
    const int delay = i < delays.size() ? delays[i] : 100;
    text += "  <frame delay=\"" + std::to_string(delay) + "\">" + files[i] + "</frame>\n";
  }
  text += "</animation>\n";
  return text;
}

}  // namespace artw

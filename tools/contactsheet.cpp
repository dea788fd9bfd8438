// Lays screenshots side by side on one PNG, each shrunk to a tile and captioned under it, so that
// every screen of a screenshot run can be looked at in one picture.
//
//   contactsheet OUT.png COLUMNS TILE_WIDTH PICTURE[=CAPTION] ...
//
// PICTURE is a BMP (what the game's screenshot key writes). A caption defaults to the file
// name without folder and extension. A picture that cannot be read gets a grey tile with its
// caption and a note on stderr; the exit code is then 2 (1 for bad arguments or an unwritable
// output), so that a run can tell a sheet with gaps from a whole one.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/art_draw.h"
#include "tools/art_writer.h"

namespace {

constexpr int kCaptionHeight = 22;
constexpr int kGap = 6;

struct Picture {
    std::string file;
    std::string caption;
};

Picture ParseArgument(const std::string& arg) {
    Picture p;
    const size_t eq = arg.find('=');
    p.file = eq == std::string::npos ? arg : arg.substr(0, eq);
    if (eq != std::string::npos) {
        p.caption = arg.substr(eq + 1);
    } else {
        const size_t slash = p.file.find_last_of('/');
        p.caption = slash == std::string::npos ? p.file : p.file.substr(slash + 1);
        const size_t dot = p.caption.find_last_of('.');
        if (dot != std::string::npos && dot > 0) p.caption.resize(dot);
    }
    return p;
}

// Shrinks the surface into the w x h box at (x0, y0) of the sheet, keeping its proportions,
// each sheet pixel the average of the source pixels it covers.
void DrawShrunk(SDL_Surface* s, artw::Canvas& sheet, int x0, int y0, int w, int h) {
    const double scale = std::min(static_cast<double>(w) / s->w, static_cast<double>(h) / s->h);
    const int dw = std::max(1, static_cast<int>(s->w * scale));
    const int dh = std::max(1, static_cast<int>(s->h * scale));
    const int ox = x0 + (w - dw) / 2;
    const int oy = y0 + (h - dh) / 2;
    SDL_LockSurface(s);
    const int bpp = s->format->BytesPerPixel;
    for (int y = 0; y < dh; ++y) {
        const int sy0 = y * s->h / dh;
        const int sy1 = std::max(sy0 + 1, (y + 1) * s->h / dh);
        for (int x = 0; x < dw; ++x) {
            const int sx0 = x * s->w / dw;
            const int sx1 = std::max(sx0 + 1, (x + 1) * s->w / dw);
            long r = 0, g = 0, b = 0, n = 0;
            for (int sy = sy0; sy < sy1; ++sy) {
                const Uint8* row = static_cast<const Uint8*>(s->pixels) + sy * s->pitch;
                for (int sx = sx0; sx < sx1; ++sx) {
                    Uint32 pixel = 0;
                    const Uint8* p = row + sx * bpp;
                    if (bpp == 1) pixel = *p;
                    else if (bpp == 2) pixel = *reinterpret_cast<const Uint16*>(p);
                    else if (bpp == 3) pixel = static_cast<Uint32>(p[0]) | (static_cast<Uint32>(p[1]) << 8) | (static_cast<Uint32>(p[2]) << 16);
                    else pixel = *reinterpret_cast<const Uint32*>(p);
                    Uint8 pr, pg, pb;
                    SDL_GetRGB(pixel, s->format, &pr, &pg, &pb);
                    r += pr;
                    g += pg;
                    b += pb;
                    ++n;
                }
            }
            sheet.Set(ox + x, oy + y,
                      artw::Rgba{static_cast<uint8_t>(r / n), static_cast<uint8_t>(g / n), static_cast<uint8_t>(b / n), 255});
        }
    }
    SDL_UnlockSurface(s);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: contactsheet OUT.png COLUMNS TILE_WIDTH PICTURE[=CAPTION] ...\n");
        return 1;
    }
    const std::string out = argv[1];
    const int columns = std::atoi(argv[2]);
    const int tileW = std::atoi(argv[3]);
    if (columns < 1 || columns > 64 || tileW < 32 || tileW > 2048) {
        std::fprintf(stderr, "contactsheet: COLUMNS 1..64 and TILE_WIDTH 32..2048, not %s and %s\n", argv[2], argv[3]);
        return 1;
    }
    std::vector<Picture> pictures;
    for (int i = 4; i < argc; ++i) pictures.push_back(ParseArgument(argv[i]));
    const int tileH = tileW * 9 / 16;
    const int cellW = tileW + kGap;
    const int cellH = tileH + kCaptionHeight + kGap;
    const int count = static_cast<int>(pictures.size());
    const int rows = (count + columns - 1) / columns;
    artw::Canvas sheet(kGap + cellW * std::min(columns, count), kGap + cellH * rows);
    sheet.FillRect(0, 0, sheet.width, sheet.height, artw::Rgba{32, 32, 36, 255});
    int missing = 0;
    for (int i = 0; i < count; ++i) {
        const int x = kGap + cellW * (i % columns);
        const int y = kGap + cellH * (i / columns);
        SDL_Surface* s = SDL_LoadBMP(pictures[i].file.c_str());
        if (s == nullptr) {
            std::fprintf(stderr, "contactsheet: cannot read %s: %s\n", pictures[i].file.c_str(), SDL_GetError());
            sheet.FillRect(x, y, tileW, tileH, artw::Rgba{90, 90, 90, 255});
            artw::DrawLabel(sheet, "missing", x + tileW / 2, y + tileH / 2, tileW - 8, 20, artw::Rgba{240, 80, 60, 255}, true);
            ++missing;
        } else {
            DrawShrunk(s, sheet, x, y, tileW, tileH);
            SDL_FreeSurface(s);
        }
        artw::DrawLabel(sheet, pictures[i].caption, x + tileW / 2, y + tileH + kCaptionHeight / 2, tileW - 4,
                        kCaptionHeight - 4, artw::Rgba{240, 230, 200, 255}, false);
    }
    const artw::Bytes png = artw::EncodeRgbaPng(sheet);
    FILE* f = std::fopen(out.c_str(), "wb");
    if (f == nullptr || png.empty() || std::fwrite(png.data(), 1, png.size(), f) != png.size()) {
        std::fprintf(stderr, "contactsheet: cannot write %s\n", out.c_str());
        if (f != nullptr) std::fclose(f);
        return 1;
    }
    std::fclose(f);
    artw::CloseLabelFonts();
    std::printf("contactsheet: %d pictures on %s (%d x %d)\n", count, out.c_str(), sheet.width, sheet.height);
    return missing > 0 ? 2 : 0;
}

#include "interface/menu_main.h"

#include "core/command_state.h"
#include "core/input_log.h"
#include "core/key_bindings.h"
#include "core/shell/shell_services.h"
#include "core/version.h"
#include "interface/menu_frame.h"
#include "interface/screens.h"
#include "interface/screenshot.h"
#include "media/font.h"
#include "media/image.h"
#include "media/image_batch.h"
#include "media/picture_preload.h"
#include "media/sound.h"
#include "media/text.h"
#include "platform/platform.h"
#include "platform/vfs.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kButtonRows = 6;
constexpr Uint32 kSplashMs = 4000;

// Stand-in sizes used only when a picture is missing from the data.
constexpr int kFallbackPanelWidth = 352;
constexpr int kFallbackPanelHeight = 360;
constexpr int kFallbackButtonWidth = 240;
constexpr int kFallbackButtonHeight = 40;

struct MenuButtonArt {
    const char* rest;
    const char* hover;
    const char* label;
};

const MenuButtonArt kButtonArt[kButtonRows] = {
    {"ui/menus/main_newgame0.png", "ui/menus/main_newgame1.png", "New Game"},
    {"ui/menus/main_loadgame0.png", "ui/menus/main_loadgame1.png", "Load Game"},
    {"ui/menus/main_highscores0.png", "ui/menus/main_highscores1.png", "High Scores"},
    {"ui/menus/main_credits0.png", "ui/menus/main_credits1.png", "Credits"},
    {"ui/menus/main_tutorial0.png", "ui/menus/main_tutorial1.png", "Tutorial"},
    {"ui/menus/main_quit0.png", "ui/menus/main_quit1.png", "Quit"},
};

void BlitAt(SDL_Surface* picture, SDL_Surface* target, int x, int y) {
    if (!picture || !target) return;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    BlitSurface(picture, nullptr, target, &at);
}

SDL_Rect RectAt(int x, int y, SDL_Surface* picture) {
    SDL_Rect r = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    if (picture) {
        r.w = static_cast<Uint16>(picture->w);
        r.h = static_cast<Uint16>(picture->h);
    }
    return r;
}

// Replaces the picture by an opaque copy of what MenuBackground shows at its place.
void FlattenFromBackground(SDL_Surface*& picture, int x, int y) {
    if (!picture || !MenuBackground) return;
    SDL_Rect src = RectAt(x, y, picture);
    SDL_Surface* copy = SDL_CreateRGBSurface(SDL_SWSURFACE, picture->w, picture->h,
                                             MenuBackground->format->BitsPerPixel,
                                             MenuBackground->format->Rmask, MenuBackground->format->Gmask,
                                             MenuBackground->format->Bmask, 0);
    if (!copy) return;
    if (MenuBackground->format->palette) {
        SDL_SetColors(copy, MenuBackground->format->palette->colors, 0, MenuBackground->format->palette->ncolors);
    }
    BlitSurface(MenuBackground, &src, copy, nullptr);
    SDL_FreeSurface(picture);
    picture = copy;
}

// Everything the menu loads for one showing, freed on every way out.
struct MainMenuArt {
    SDL_Surface* title = nullptr;
    SDL_Surface* titleUnderPanel = nullptr;  // when set, the title's part the redraws need
    SDL_Rect underPanel = {0, 0, 0, 0};      // where that part goes
    SDL_Surface* panel = nullptr;
    SDL_Surface* rest[kButtonRows] = {};
    SDL_Surface* hover[kButtonRows] = {};

    ~MainMenuArt() {
        if (title) SDL_FreeSurface(title);
        if (titleUnderPanel) SDL_FreeSurface(titleUnderPanel);
        if (panel) SDL_FreeSurface(panel);
        for (int r = 0; r < kButtonRows; ++r) {
            if (rest[r]) SDL_FreeSurface(rest[r]);
            if (hover[r]) SDL_FreeSurface(hover[r]);
        }
        FreeMenuBackgrounds();
    }
};

// One row of 32-bit pixels blended onto black where they lie: each channel becomes
// (value * alpha + rounding) >> 8, moved from the source's channel places to the target's.
template <int SrcR, int SrcG, int SrcB, int SrcA, int DstR, int DstG, int DstB>
void BlendRowOntoBlack(Uint32* row, int width, Uint32 rounding) {
    for (int x = 0; x < width; ++x) {
        const Uint32 p = row[x];
        const Uint32 a = (p >> SrcA) & 0xFF;
        row[x] = ((((p >> SrcR) & 0xFF) * a + rounding) >> 8 << DstR) |
                 ((((p >> SrcG) & 0xFF) * a + rounding) >> 8 << DstG) |
                 ((((p >> SrcB) & 0xFF) * a + rounding) >> 8 << DstB);
    }
}

// The usual first drawing of the title, done where the title's pixels lie: when the title is
// exactly the size of the (black, untouched) background, in 32-bit RGBA with per-pixel alpha,
// and the background 32-bit without alpha, the title's pixel memory becomes the background's,
// each pixel replaced by what blitting it onto black gives. That blend is read once from SDL's
// own blitter for every value and alpha, so the background ends exactly as
// DrawTitlePictureMiddle would leave it, without a second screen-sized picture in memory.
// Before that, the title's part under `keep` (clipped to the screen) is kept converted to the
// screen format, as ReplaceByScreenFormat would give it, for the redraws. The title is then
// freed. False, with nothing changed, in any other case.
bool DrawTitleWhereItLies(SDL_Surface*& title, SDL_Surface* background, SDL_Rect keep, SDL_Surface** kept,
                          SDL_Rect* keptAt) {
    if (!title || !background) return false;
    const SDL_PixelFormat t = *title->format;
    const SDL_PixelFormat b = *background->format;
    if (title->w != background->w || title->h != background->h || title->pitch != background->pitch) return false;
    if (t.BytesPerPixel != 4 || t.Amask == 0 || t.palette || t.alpha != SDL_ALPHA_OPAQUE) return false;
    if (t.Rloss || t.Gloss || t.Bloss || t.Aloss) return false;
    if (!(title->flags & SDL_SRCALPHA) || (title->flags & (SDL_SRCCOLORKEY | SDL_RLEACCEL | SDL_PREALLOC))) return false;
    if (b.BytesPerPixel != 4 || b.Amask != 0 || b.palette || (background->flags & SDL_PREALLOC)) return false;

    // The blend onto black of every value (x) at every alpha (y), as SDL's blitter gives it.
    SDL_Surface* probe = SDL_CreateRGBSurface(0, 256, 256, 32, t.Rmask, t.Gmask, t.Bmask, t.Amask);
    SDL_Surface* black = SDL_CreateRGBSurface(SDL_SWSURFACE, 256, 256, 32, b.Rmask, b.Gmask, b.Bmask, 0);
    bool usable = probe && black && probe->flags == title->flags;
    if (usable) {
        for (Uint32 a = 0; a < 256; ++a) {
            Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(probe->pixels) + a * probe->pitch);
            for (Uint32 v = 0; v < 256; ++v) {
                row[v] = (v << t.Rshift) | (v << t.Gshift) | (v << t.Bshift) | (a << t.Ashift);
            }
        }
        usable = BlitSurface(probe, nullptr, black, nullptr) == 0;
    }
    static Uint32 blended[256][256];  // [alpha][value]: the channel bits, all three channels
    const Uint32 channels = b.Rmask | b.Gmask | b.Bmask;
    for (int a = 0; usable && a < 256; ++a) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(black->pixels) + a * black->pitch);
        for (int v = 0; v < 256; ++v) {
            // Each channel is blended on its own; anything else (a spare byte written) is
            // not this case.
            if ((row[v] & ~channels) != 0) usable = false;
            blended[a][v] = row[v];
        }
    }
    if (probe) SDL_FreeSurface(probe);
    if (black) SDL_FreeSurface(black);
    if (!usable) return false;

    // The part the redraws need, before the title's pixels change.
    SDL_Rect screen = {0, 0, static_cast<Uint16>(background->w), static_cast<Uint16>(background->h)};
    const int x0 = keep.x > 0 ? keep.x : 0;
    const int y0 = keep.y > 0 ? keep.y : 0;
    const int x1 = keep.x + keep.w < screen.w ? keep.x + keep.w : screen.w;
    const int y1 = keep.y + keep.h < screen.h ? keep.y + keep.h : screen.h;
    SDL_Surface* part = nullptr;
    if (x1 > x0 && y1 > y0) {
        SDL_Surface* raw = SDL_CreateRGBSurface(0, x1 - x0, y1 - y0, 32, t.Rmask, t.Gmask, t.Bmask, t.Amask);
        if (!raw) return false;
        for (int y = y0; y < y1; ++y) {
            std::memcpy(static_cast<Uint8*>(raw->pixels) + (y - y0) * raw->pitch,
                        static_cast<const Uint8*>(title->pixels) + y * title->pitch + x0 * 4,
                        static_cast<size_t>(x1 - x0) * 4);
        }
        part = ConvertToScreenFormat(raw);
        SDL_FreeSurface(raw);
        if (!part) return false;
    }

    // The background takes over the title's pixels; the title leaves with the background's
    // untouched memory.
    void* own = background->pixels;
    background->pixels = title->pixels;
    title->pixels = own;
    SDL_FreeSurface(title);
    title = nullptr;
    const Uint32 lowV = 0xFF;
    // The usual case: a decoded picture (bytes R, G, B, A) onto the screen's 0RGB, where
    // SDL's blend onto black is (value * alpha + r) >> 8 in each channel for one rounding term
    // r. When the table shows which, the rows are computed with the channel places fixed at
    // compile time, several times faster than three look-ups and six variable shifts a pixel.
    int rounding = -1;
    const bool decodedOntoScreen = t.Rshift == 0 && t.Gshift == 8 && t.Bshift == 16 && t.Ashift == 24 &&
                                   b.Rshift == 16 && b.Gshift == 8 && b.Bshift == 0 && b.Rloss == 0 &&
                                   b.Gloss == 0 && b.Bloss == 0;
    for (const int r : {0, 255}) {
        bool matches = decodedOntoScreen;
        for (int a = 0; matches && a < 256; ++a) {
            for (int v = 0; matches && v < 256; ++v) {
                const Uint32 c = static_cast<Uint32>((v * a + r) >> 8);
                matches = blended[a][v] == ((c << 16) | (c << 8) | c);
            }
        }
        if (matches) {
            rounding = r;
            break;
        }
    }
    for (int y = 0; y < background->h; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(background->pixels) + y * background->pitch);
        if (rounding >= 0) {
            BlendRowOntoBlack<0, 8, 16, 24, 16, 8, 0>(row, background->w, static_cast<Uint32>(rounding));
            continue;
        }
        for (int x = 0; x < background->w; ++x) {
            const Uint32 p = row[x];
            const Uint32* at = blended[(p >> t.Ashift) & lowV];
            row[x] = (at[(p >> t.Rshift) & lowV] & b.Rmask) | (at[(p >> t.Gshift) & lowV] & b.Gmask) |
                     (at[(p >> t.Bshift) & lowV] & b.Bmask);
        }
    }
    *kept = part;
    keptAt->x = static_cast<Sint16>(x0);
    keptAt->y = static_cast<Sint16>(y0);
    keptAt->w = static_cast<Uint16>(x1 - x0);
    keptAt->h = static_cast<Uint16>(y1 - y0);
    return true;
}

// The title picture decoding ahead of the first showing of the menu, if start-up began it.
PicturePreload TitlePreload;

const char* TitlePictureName() {
    return VfsExists("ui/qelvy_splash.png") ? "ui/qelvy_splash.png" : "ui/zarnoch_main_big.png";
}

bool IsScreenshotKey(const SDL_keysym& key) {
    return key.sym == SDLK_F12 || KeyBindingMatches(kBindScreenshot, key);
}

// The opening splash: the title picture alone until 4000 ms have passed or a key or mouse
// button is released. False when the window was asked to close.
bool RunTitleSplash() {
    const Uint32 start = LoggedGetTicks();
    ShowWholeMenuBackground(2);
    for (;;) {
        PresentMenuFrame();
        SDL_Event event;
        while (LoggedPollEvent(&event)) {
            if (event.type == SDL_QUIT) return false;
            if (event.type == SDL_KEYUP || event.type == SDL_MOUSEBUTTONUP) return true;
        }
        if (LoggedGetTicks() - start >= kSplashMs) return true;
    }
}

}  // namespace

MainMenuLayout ComputeMainMenuLayout(int32_t screenWidth, int32_t screenHeight) {
    MainMenuLayout layout;
    layout.menuX = (5 * screenWidth) / 8;
    layout.menuY = screenHeight / 4;
    layout.buttonX = layout.menuX + 56;
    return layout;
}

int32_t MainMenuHoverRow(const MainMenuLayout& layout, int32_t panelWidth, int32_t panelHeight,
                         int32_t x, int32_t y) {
    if (!(layout.menuX < x && x < layout.menuX + panelWidth)) return -1;
    if (!(layout.menuY + 33 <= y && y <= layout.menuY + panelHeight)) return -1;
    int32_t row = (y - layout.menuY - 64) / 44;  // truncates toward zero: the strip above row 0 is row 0
    if (row > kMenuShowAgain) row = kMenuShowAgain;
    return row;
}

void StartTitlePictureLoad(int32_t screenWidth, int32_t screenHeight) {
    TitlePreload.Start(GetResourceFilename(TitlePictureName()), screenWidth, screenHeight);
}

void DropTitlePictureLoad() {
    TitlePreload.Drop();
}

SDL_Surface* LoadTitlePicture() {
    const char* name = TitlePictureName();
    // Only the screen-sized middle is ever drawn (DrawTitlePictureMiddle onto a screen-sized
    // surface), so only that part is kept.
    const int w = MenuScreenWidth();
    const int h = MenuScreenHeight();
    const std::string file = GetResourceFilename(name);
    SDL_Surface* picture = nullptr;
    if (TitlePreload.Matches(file, w, h)) {
        picture = TitlePreload.Take();
    } else {
        TitlePreload.Drop();
        picture = LoadImageMiddle(file.c_str(), w, h);
    }
    if (picture) return picture;
    return MenuPictureStandIn(name, w, h);
}

void DrawTitlePictureMiddle(SDL_Surface* picture, SDL_Surface* target, const SDL_Rect* area) {
    if (!picture || !target) return;
    SDL_Rect dst = area ? *area : SDL_Rect{0, 0, static_cast<Uint16>(target->w), static_cast<Uint16>(target->h)};
    SDL_Rect src;
    src.x = static_cast<Sint16>(picture->w / 2 - target->w / 2 + dst.x);
    src.y = static_cast<Sint16>(picture->h / 2 - target->h / 2 + dst.y);
    src.w = dst.w;
    src.h = dst.h;
    BlitSurface(picture, &src, target, &dst);
}

const char* MainMenuVersionText() {
    static char text[64];
    std::snprintf(text, sizeof text, "%i.%i.%i %s", kVersionMajor, kVersionMinor, kVersionBuild, "");
    return text;
}

int32_t MainMenu() {
    const int w = MenuScreenWidth();
    const int h = MenuScreenHeight();
    MainMenuArt art;

    // The lettering, the panel and the buttons decode on worker threads while the title
    // picture decodes here; a picture that cannot be read gets LoadMenuPicture's stand-in.
    const bool hasExpansionTitle = VfsExists("ui/qelvy_title_small2.png");
    std::vector<std::string> files = {"ui/menus/main_titletext.png", "ui/menus/main_menubg_short.png"};
    for (int r = 0; r < kButtonRows; ++r) {
        files.push_back(kButtonArt[r].rest);
        files.push_back(kButtonArt[r].hover);
    }
    if (hasExpansionTitle) files.push_back("ui/qelvy_title_small2.png");
    for (std::string& file : files) file = GetResourceFilename(file);
    PictureBatch batch;
    batch.Start(files);
    art.title = LoadTitlePicture();
    const std::vector<SDL_Surface*> pictures = batch.Finish();
    auto picture = [&](size_t i, const char* name, int w, int h, const char* label) {
        if (i < pictures.size() && pictures[i] != nullptr) return pictures[i];
        return MenuPictureStandIn(name, w, h, label);
    };
    SDL_Surface* lettering = picture(0, "ui/menus/main_titletext.png", 0, 0, nullptr);
    art.panel = picture(1, "ui/menus/main_menubg_short.png", kFallbackPanelWidth, kFallbackPanelHeight, nullptr);
    for (int r = 0; r < kButtonRows; ++r) {
        art.rest[r] = picture(2 + 2 * r, kButtonArt[r].rest, kFallbackButtonWidth, kFallbackButtonHeight,
                              kButtonArt[r].label);
        art.hover[r] = picture(3 + 2 * r, kButtonArt[r].hover, kFallbackButtonWidth, kFallbackButtonHeight,
                               kButtonArt[r].label);
    }
    SDL_Surface* expansionTitle =
        hasExpansionTitle ? picture(2 + 2 * kButtonRows, "ui/qelvy_title_small2.png", 0, 0, nullptr) : nullptr;
    MenuBackground = CreateScreenSizedSurface();
    if (!MenuBackground) {
        std::printf("The main menu could not make its background: %s\n", SDL_GetError());
        if (lettering) SDL_FreeSurface(lettering);
        if (expansionTitle) SDL_FreeSurface(expansionTitle);
        return kMenuShowAgain;
    }

    // The title picture, its lettering and the version in the bottom-left corner.
    const MainMenuLayout layout = ComputeMainMenuLayout(w, h);
    const SDL_Rect panelRect = RectAt(layout.menuX, layout.menuY, art.panel);
    if (!DrawTitleWhereItLies(art.title, MenuBackground, panelRect, &art.titleUnderPanel, &art.underPanel)) {
        DrawTitlePictureMiddle(art.title, MenuBackground);
    }
    BlitAt(lettering, MenuBackground, 150, 0);
    BlitAt(expansionTitle, MenuBackground, 100, 75);
    const char* version = MainMenuVersionText();
    DrawText(1, h - 24, version, kTextBlack, MenuBackground, MediumFont);
    DrawText(0, h - 25, version, kTextGold, MenuBackground, MediumFont);
    if (lettering) SDL_FreeSurface(lettering);
    if (expansionTitle) SDL_FreeSurface(expansionTitle);
    ReplaceByScreenFormat(art.title);
    LogLoadProgress("MainMenu loading");

    if (!CmdLine.splashShown) {
        const bool stay = RunTitleSplash();
        CmdLine.splashShown = true;
        if (!stay) return kMenuShowAgain;
    }

    BlitAt(art.panel, MenuBackground, layout.menuX, layout.menuY);

    // Each button picture becomes an opaque copy of the screen at its place: the hover picture
    // over the panel, and the rest picture over that.
    for (int r = 0; r < kButtonRows; ++r) {
        const int y = layout.ButtonTop(r);
        BlitAt(art.hover[r], MenuBackground, layout.buttonX, y);
        FlattenFromBackground(art.hover[r], layout.buttonX, y);
        BlitAt(art.rest[r], MenuBackground, layout.buttonX, y);
        FlattenFromBackground(art.rest[r], layout.buttonX, y);
    }

    ShowWholeMenuBackground(2);
    ResetMenuPointerTrail();
    PlaySFX("turnpage");
    LogLoadProgress("turnpage");

    int32_t drawnRow = -1;
    for (;;) {
        int x = 0, y = 0;
        LoggedGetMouseState(&x, &y);
        const int32_t row = MainMenuHoverRow(layout, panelRect.w, panelRect.h, x, y);
        if (row != drawnRow) {
            if (art.titleUnderPanel) {
                BlitAt(art.titleUnderPanel, MenuBackground, art.underPanel.x, art.underPanel.y);
            } else {
                SDL_Rect area = panelRect;
                DrawTitlePictureMiddle(art.title, MenuBackground, &area);
            }
            BlitAt(art.panel, MenuBackground, layout.menuX, layout.menuY);
            QueueMenuRect(panelRect);
            MenuDirtyFrames = 2;
            for (int r = 0; r < kButtonRows; ++r) {
                BlitAt(r == row ? art.hover[r] : art.rest[r], MenuBackground, layout.buttonX, layout.ButtonTop(r));
            }
            drawnRow = row;
        }
        PresentMenuFrame();

        SDL_Event event;
        while (LoggedPollEvent(&event)) {
            switch (event.type) {
            case SDL_MOUSEBUTTONUP: {
                // The release's own position: a scripted or very fast click may arrive before
                // a frame has seen the pointer over the button.
                const int32_t chosen =
                    MainMenuHoverRow(layout, panelRect.w, panelRect.h, event.button.x, event.button.y);
                if (chosen != -1) {
                    PlaySFX("large_wooden_drop");
                    return chosen;
                }
                break;
            }
            case SDL_QUIT:
                return kMenuShowAgain;
            case SDL_KEYUP:
                if (event.key.keysym.sym == SDLK_ESCAPE) return kMenuQuit;
                if (IsScreenshotKey(event.key.keysym)) SaveScreenshot();
                break;
            default:
                break;
            }
        }
    }
}

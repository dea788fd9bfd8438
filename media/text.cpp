// Measuring and drawing text, with a cache of rendered text.
#include "media/text.h"
#include "media/text_picture.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <list>
#include <unordered_map>

#include "media/screen.h"
#include "media/font.h"
#include "media/text_wrap.h"

const SDL_Color kTextBlack = {0, 0, 0, 0};
const SDL_Color kTextWhite = {255, 255, 255, 0};
const SDL_Color kTextGold = {247, 218, 118, 0};
const SDL_Color kTextGoldAlt = {248, 218, 118, 0};

namespace {

// Widest text surface rendered in one piece. Wider text can never be seen whole on any
// screen, and a 32-bit surface much wider than this has a row pitch the 16-bit pitch of
// SDL 1.2 surfaces cannot hold.
constexpr int kMaxRenderWidth = 8192;

bool IsGameFont(TTF_Font* font) {
    return font != nullptr && (font == LargeFont || font == MediumFont || font == AltMediumFont ||
                               font == TickerFont || font == SmallFont);
}

// Length of the well-formed UTF-8 sequence at s[i] (1 to 4), or 0 when it is malformed.
size_t Utf8SequenceLength(const std::string& s, size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t len;
    unsigned cp;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        const unsigned char cc = static_cast<unsigned char>(s[i + k]);
        if ((cc & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (cc & 0x3F);
    }
    if (len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return 0;
    if (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) return 0;
    return len;
}

const char kReplacement[] = "\xEF\xBF\xBD";

bool NeedsSanitizing(const char* text) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        if (*p >= 0x80) return true;
    return false;
}

// Runs fn with a C string the font engine can take safely.
template <typename Fn>
auto WithSafeText(const char* text, Fn fn) {
    if (!NeedsSanitizing(text)) return fn(text);
    const std::string safe = SanitizeUtf8(text);
    return fn(safe.c_str());
}

bool SizeText(const char* text, TTF_Font* font, int* w, int* h) {
    *w = 0;
    *h = 0;
    if (text == nullptr || font == nullptr) return false;
    if (*text == '\0') {
        *h = TTF_FontHeight(font);
        return true;
    }
    return WithSafeText(text, [&](const char* safe) { return TTF_SizeUTF8(font, safe, w, h) == 0; });
}

// The longest prefix of the text, cut at a character boundary, no wider than the limit.
std::string PrefixWithin(const std::string& text, TTF_Font* font, int limit) {
    std::vector<size_t> cuts;  // every character boundary after the first character
    for (size_t i = 1; i <= text.size(); ++i)
        if (i == text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) cuts.push_back(i);
    size_t lo = 0, hi = cuts.size();  // the first lo cuts fit; cuts from hi on do not
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (TextWidth(text.substr(0, cuts[mid]), font) <= limit)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo == 0 ? std::string() : text.substr(0, cuts[lo - 1]);
}

// A freshly rendered surface (the caller frees it), or null.
SDL_Surface* RenderFresh(const char* text, TTF_Font* font, SDL_Color colour) {
    std::string safe = NeedsSanitizing(text) ? SanitizeUtf8(text) : std::string(text);
    int w = 0, h = 0;
    if (TTF_SizeUTF8(font, safe.c_str(), &w, &h) != 0 || w <= 0) return nullptr;
    if (w > kMaxRenderWidth) {
        safe = PrefixWithin(safe, font, kMaxRenderWidth);
        if (safe.empty()) return nullptr;
    }
    return TTF_RenderUTF8_Blended(font, safe.c_str(), colour);
}

// Rendered text of the game's font handles, most recently used first.
class RenderCache {
public:
    ~RenderCache() { Clear(); }

    SDL_Surface* Find(const std::string& key) {
        auto it = index_.find(key);
        if (it == index_.end()) return nullptr;
        order_.splice(order_.begin(), order_, it->second);
        return it->second->surface;
    }
    // Takes the surface over.
    void Store(const std::string& key, SDL_Surface* surface) {
        const size_t bytes = static_cast<size_t>(surface->pitch) * surface->h;
        order_.push_front(Entry{key, surface, bytes});
        index_[key] = order_.begin();
        bytes_ += bytes;
        while (order_.size() > kMaxEntries || bytes_ > kMaxBytes) {
            Entry& last = order_.back();
            bytes_ -= last.bytes;
            SDL_FreeSurface(last.surface);
            index_.erase(last.key);
            order_.pop_back();
        }
    }
    void Clear() {
        for (Entry& e : order_) SDL_FreeSurface(e.surface);
        order_.clear();
        index_.clear();
        bytes_ = 0;
    }
    size_t Size() const { return order_.size(); }

    static constexpr size_t kMaxEntries = 512;
    static constexpr size_t kMaxBytes = 16u << 20;

private:
    struct Entry {
        std::string key;
        SDL_Surface* surface;
        size_t bytes;
    };
    std::list<Entry> order_;
    std::unordered_map<std::string, std::list<Entry>::iterator> index_;
    size_t bytes_ = 0;
};

RenderCache& Cache() {
    static RenderCache cache;
    return cache;
}

// Writes the cache key of a text into `key`, whose storage is kept from call to call, so
// that looking a text up allocates nothing once the key has grown to its longest.
void RenderKey(const char* text, TTF_Font* font, SDL_Color colour, std::string* key) {
    char head[64];
    snprintf(head, sizeof head, "%p/%u/%02x%02x%02x/", static_cast<void*>(font), FontGeneration(),
             colour.r, colour.g, colour.b);
    key->assign(head);
    key->append(text);
}

// Blits rendered text with its top-left corner at (left, y).
void BlitRendered(SDL_Surface* rendered, long left, long y, SDL_Surface* surface) {
    // Rectangle coordinates are 16-bit: a position outside that range lies off every screen
    // and must not wrap round onto it.
    if (left < SHRT_MIN || left > SHRT_MAX || y < SHRT_MIN || y > SHRT_MAX) return;
    SDL_Rect dst;
    dst.x = static_cast<Sint16>(left);
    dst.y = static_cast<Sint16>(y);
    dst.w = static_cast<Uint16>(rendered->w);
    dst.h = static_cast<Uint16>(rendered->h);
    // A kept surface keeps the blit mapping of its last destination; force a fresh one,
    // since a new destination may sit at a freed one's address with another format.
    SDL_SetAlpha(rendered, 0, 0);
    SDL_SetAlpha(rendered, SDL_SRCALPHA, SDL_ALPHA_OPAQUE);
    SDL_BlitSurface(rendered, nullptr, surface, &dst);
}

// Blits the text with its top-left corner at (x, y), or, with align 1, its right edge at x,
// or, with align 2, its centre at x.
void DrawAligned(int x, int y, const char* text, SDL_Color colour, SDL_Surface* surface,
                 TTF_Font* font, int align) {
    if (text == nullptr || *text == '\0' || font == nullptr) return;
    if (surface == nullptr) surface = ScreenSurface;
    if (surface == nullptr) return;

    SDL_Surface* rendered = nullptr;
    bool owned = true;
    static std::string key;
    key.clear();
    if (IsGameFont(font)) {
        RenderKey(text, font, colour, &key);
        rendered = Cache().Find(key);
        if (rendered != nullptr) owned = false;
    }
    if (rendered == nullptr) {
        rendered = RenderFresh(text, font, colour);
        if (rendered == nullptr) return;
        if (!key.empty() && static_cast<size_t>(rendered->pitch) * rendered->h <= RenderCache::kMaxBytes / 8) {
            Cache().Store(key, rendered);
            owned = false;
        }
    }

    long left = x;
    if (align == 1) left = static_cast<long>(x) - rendered->w;
    if (align == 2) left = static_cast<long>(x) - rendered->w / 2;
    BlitRendered(rendered, left, y, surface);
    if (owned) SDL_FreeSurface(rendered);
}

int DrawWrappedLines(const char* text, int left, int top, int right, TTF_Font* font,
                     SDL_Color colour, SDL_Surface* surface, bool centred, bool draw) {
    if (text == nullptr || *text == '\0' || font == nullptr) return 0;
    int y = top;
    for (const WrappedLine& line : WrapTextLines(text, font, right - left)) {
        if (draw) {
            if (centred)
                DrawAligned((left + right) / 2 - line.width / 2, y, line.text.c_str(), colour, surface, font, 0);
            else
                DrawAligned(left, y, line.text.c_str(), colour, surface, font, 0);
        }
        y += line.height;
    }
    return y - top;
}

}  // namespace

std::string SanitizeUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const size_t len = Utf8SequenceLength(text, i);
        if (len == 0) {
            out += kReplacement;
            ++i;
        } else if (len == 4) {  // beyond the 16-bit characters the font engine holds
            out += kReplacement;
            i += 4;
        } else {
            out.append(text, i, len);
            i += len;
        }
    }
    return out;
}

int TextWidth(const char* text, TTF_Font* font) {
    int w, h;
    SizeText(text, font, &w, &h);
    return w;
}

int TextHeight(const char* text, TTF_Font* font) {
    int w, h;
    SizeText(text, font, &w, &h);
    return h;
}

int TextWidth(const std::string& text, TTF_Font* font) {
    return TextWidth(text.c_str(), font);
}

int TextHeight(const std::string& text, TTF_Font* font) {
    return TextHeight(text.c_str(), font);
}

SDL_Surface* RenderTextPicture(const char* text, SDL_Color colour, TTF_Font* font) {
    if (text == nullptr || *text == '\0' || font == nullptr) return nullptr;
    return RenderFresh(text, font, colour);
}

void DrawTextPicture(int x, int y, SDL_Surface* picture, SDL_Surface* surface) {
    if (picture == nullptr) return;
    if (surface == nullptr) surface = ScreenSurface;
    if (surface == nullptr) return;
    BlitRendered(picture, x, y, surface);
}

void DrawText(int x, int y, const char* text, SDL_Color colour, SDL_Surface* surface, TTF_Font* font) {
    DrawAligned(x, y, text, colour, surface, font, 0);
}

void DrawText(int x, int y, const std::string& text, SDL_Color colour, SDL_Surface* surface,
              TTF_Font* font) {
    DrawAligned(x, y, text.c_str(), colour, surface, font, 0);
}

void DrawTextRightAligned(int x, int y, const char* text, SDL_Color colour, SDL_Surface* surface,
                          TTF_Font* font) {
    DrawAligned(x, y, text, colour, surface, font, 1);
}

void DrawTextCentered(int x, int y, const char* text, TTF_Font* font, SDL_Color colour,
                      SDL_Surface* surface) {
    DrawAligned(x, y, text, colour, surface, font, 2);
}

void DrawLargeText(int x, int y, const char* text, SDL_Surface* surface) {
    DrawAligned(x, y, text, kTextBlack, surface, LargeFont, 0);
}

void DrawLargeTextCentered(int x, int y, const char* text, SDL_Surface* surface) {
    DrawAligned(x, y, text, kTextBlack, surface, LargeFont, 2);
}

void DrawLargeTextCenteredGold(int x, int y, const char* text, SDL_Surface* surface) {
    DrawAligned(x, y, text, kTextGold, surface, LargeFont, 2);
}

void DrawMediumText(int x, int y, const char* text, SDL_Surface* surface) {
    DrawAligned(x, y, text, kTextBlack, surface, MediumFont, 0);
}

void DrawMediumTextRightAligned(int x, int y, const char* text, SDL_Surface* surface) {
    DrawAligned(x, y, text, kTextBlack, surface, MediumFont, 1);
}

void DrawMediumTextCentered(int x, int y, const char* text, SDL_Surface* surface) {
    DrawAligned(x, y, text, kTextBlack, surface, MediumFont, 2);
}

void DrawMediumTextGold(int x, int y, const char* text, SDL_Surface* surface) {
    DrawAligned(x, y, text, kTextGold, surface, MediumFont, 0);
}

void DrawMediumTextRightAlignedGold(int x, int y, const char* text, SDL_Surface* surface) {
    DrawAligned(x, y, text, kTextGold, surface, MediumFont, 1);
}

void DrawMediumTextCenteredGold(int x, int y, const char* text, SDL_Surface* surface) {
    DrawAligned(x, y, text, kTextGoldAlt, surface, MediumFont, 2);
}

std::vector<std::string> SplitStyledLines(const char* text) {
    constexpr size_t kLineBytes = 78;
    std::vector<std::string> lines;
    if (text == nullptr) return lines;
    std::string buffer;
    const char* p = text;
    while (*p) {
        if ((*p == '\n' && !buffer.empty()) || buffer.size() >= kLineBytes) {
            std::string carry;
            if (*p == '\n') {
                ++p;  // the newline ends the line and is consumed
            } else if ((static_cast<unsigned char>(*p) & 0xC0) == 0x80) {
                // The full line would end inside a character: the character's first bytes
                // go to the next line with the rest of it.
                size_t start = buffer.size();
                while (start > 0 && buffer.size() - start < 3 &&
                       (static_cast<unsigned char>(buffer[start - 1]) & 0xC0) == 0x80)
                    --start;
                if (start > 0 && static_cast<unsigned char>(buffer[start - 1]) >= 0xC0) {
                    carry = buffer.substr(start - 1);
                    buffer.resize(start - 1);
                }
            }
            if (!buffer.empty()) lines.push_back(buffer);
            buffer = carry;
            if (*p == '\0') break;
            // The byte after a line end is always stored, whatever it is.
        }
        buffer += *p++;
    }
    if (!buffer.empty()) lines.push_back(buffer);
    return lines;
}

int StyledLineStep(int style) {
    if (style < 0 || style > 9) return 0;
    return (style == 0 || style == 4) ? 32 : 24;
}

void DrawStyledText(int x, int y, const char* text, int style, SDL_Surface* surface) {
    if (text == nullptr || *text == '\0') return;
    const int step = StyledLineStep(style);
    if (step == 0) return;
    if (surface == nullptr) surface = ScreenSurface;
    const std::vector<std::string> lines = SplitStyledLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const int ly = y + static_cast<int>(i) * step;
        const char* line = lines[i].c_str();
        switch (style) {
        case 0: DrawLargeTextCenteredGold(x, ly, line, surface); break;
        case 1: DrawMediumTextGold(x, ly, line, surface); break;
        case 2: DrawMediumTextRightAlignedGold(x, ly, line, surface); break;
        case 3: DrawMediumTextCenteredGold(x, ly, line, surface); break;
        case 4: DrawLargeText(x, ly, line, surface); break;
        case 5: DrawMediumText(x, ly, line, surface); break;
        case 6: DrawMediumTextRightAligned(x, ly, line, surface); break;
        case 7: DrawMediumTextCentered(x, ly, line, surface); break;
        case 8: DrawText(x, ly, line, kTextBlack, surface, AltMediumFont); break;
        case 9: DrawTextCentered(x, ly, line, AltMediumFont, kTextBlack, surface); break;
        default: break;
        }
    }
}

int DrawTextWrapped(const char* text, int left, int top, int right, int /*bottom*/, TTF_Font* font,
                    SDL_Color colour, SDL_Surface* surface) {
    return DrawWrappedLines(text, left, top, right, font, colour, surface, false, true);
}

int DrawTextWrappedCentered(const char* text, int left, int top, int right, int /*bottom*/,
                            TTF_Font* font, SDL_Color colour, SDL_Surface* surface) {
    return DrawWrappedLines(text, left, top, right, font, colour, surface, true, true);
}

int MeasureTextWrapped(const char* text, int left, int top, int right, int /*bottom*/, TTF_Font* font) {
    return DrawWrappedLines(text, left, top, right, font, kTextWhite, nullptr, false, false);
}

int WrappedTextHeight(const char* text, TTF_Font* font, int width) {
    return DrawWrappedLines(text, 0, 0, width, font, kTextWhite, nullptr, false, false);
}

void ClearTextCache() {
    Cache().Clear();
    ClearWrapCache();
}

size_t TextCacheSize() {
    return Cache().Size();
}

// The pieces of the message ticker.
#include "media/ticker_entry.h"

#include "media/screen.h"
#include "media/font.h"
#include "media/sprite.h"
#include "media/text_picture.h"

#include <string>
#include <unordered_map>

namespace {

// The text and shadow pictures of a text piece, rendered when the piece is made (as its
// line is posted) and again only when the text, colour or font changed since.
struct TextPictures {
    SDL_Surface* face = nullptr;
    SDL_Surface* shadow = nullptr;
    unsigned generation = 0;
    std::string text;
    SDL_Color colour = {0, 0, 0, 0};
};

// By piece; a piece's pictures go when the piece goes. Never destroyed, so that pieces
// destroyed at exit still find it.
std::unordered_map<const TickerEntry*, TextPictures>& PicturesByPiece() {
    static auto* pictures = new std::unordered_map<const TickerEntry*, TextPictures>();
    return *pictures;
}

void FreePictures(TextPictures& p) {
    SDL_FreeSurface(p.face);
    SDL_FreeSurface(p.shadow);
    p.face = nullptr;
    p.shadow = nullptr;
}

// The pictures of the piece for its text and colour in TickerFont; null without the font.
const TextPictures* RenderedPictures(const TickerEntry* piece, const std::string& text, SDL_Color colour) {
    if (TickerFont == nullptr) return nullptr;
    TextPictures& p = PicturesByPiece()[piece];
    if (p.generation != 0 && p.generation == FontGeneration() && p.text == text && p.colour.r == colour.r &&
        p.colour.g == colour.g && p.colour.b == colour.b) {
        return &p;
    }
    FreePictures(p);
    p.shadow = RenderTextPicture(text.c_str(), kTextBlack, TickerFont);
    p.face = RenderTextPicture(text.c_str(), colour, TickerFont);
    p.generation = FontGeneration();
    p.text = text;
    p.colour = colour;
    return &p;
}

}  // namespace

TickerEntry::~TickerEntry() {
    auto found = PicturesByPiece().find(this);
    if (found == PicturesByPiece().end()) return;
    FreePictures(found->second);
    PicturesByPiece().erase(found);
}

TextTickerEntry::TextTickerEntry(const std::string& text_, const SDL_Color* colour_)
    : text(text_), colour(colour_ != nullptr ? *colour_ : kTextWhite) {
    // Rendered now, as the line is posted, not in the frame that first shows it.
    RenderedPictures(this, text, colour);
}

void TextTickerEntry::Measure() {
    // The size only changes with the font, so it is measured once per font generation.
    if (measuredGeneration_ == FontGeneration()) return;
    width_ = TextWidth(text, TickerFont) + 1;
    height_ = TextHeight(text, TickerFont) + 1;
    measuredGeneration_ = FontGeneration();
}

int TextTickerEntry::GetWidth() {
    Measure();
    return width_;
}

int TextTickerEntry::GetHeight() {
    Measure();
    return height_;
}

void TextTickerEntry::Draw() {
    if (ScreenSurface == nullptr) return;
    const TextPictures* p = RenderedPictures(this, text, colour);
    if (p == nullptr) return;
    DrawTextPicture(x + 1, y + 1, p->shadow, ScreenSurface);
    DrawTextPicture(x, y, p->face, ScreenSurface);
}

IconTickerEntry::IconTickerEntry(SDL_Surface* icon_, const char* label_)
    : icon(icon_), label(label_ != nullptr ? label_ : "icon") {}

IconTickerEntry::IconTickerEntry(Sprite* sprite, int frame) : icon(nullptr), label("icon") {
    if (sprite == nullptr) return;
    if (!sprite->name.empty()) label = sprite->name;
    if (sprite->frames != nullptr && frame >= 0 && frame < sprite->frameCount)
        icon = sprite->frames[frame];
}

int IconTickerEntry::GetWidth() {
    return icon != nullptr ? icon->w : 0;
}

int IconTickerEntry::GetHeight() {
    return icon != nullptr ? icon->h : 0;
}

void IconTickerEntry::Draw() {
    if (icon == nullptr || ScreenSurface == nullptr) return;
    if (x < -32768 || x > 32767 || y < -32768 || y > 32767) return;
    SDL_Rect dst;
    dst.x = static_cast<Sint16>(x);
    dst.y = static_cast<Sint16>(y);
    dst.w = static_cast<Uint16>(icon->w);
    dst.h = static_cast<Uint16>(icon->h);
    SDL_BlitSurface(icon, nullptr, ScreenSurface, &dst);
}

NonBreakingTickerEntry::~NonBreakingTickerEntry() {
    for (TickerEntry* part : parts) delete part;
}

void NonBreakingTickerEntry::AddPart(TickerEntry* piece) {
    if (piece != nullptr) parts.push_back(piece);
}

int NonBreakingTickerEntry::GetWidth() {
    int width = 0;
    for (TickerEntry* part : parts) width += part->GetWidth();
    return width;
}

int NonBreakingTickerEntry::GetHeight() {
    int height = 0;
    for (TickerEntry* part : parts)
        if (part->GetHeight() > height) height = part->GetHeight();
    return height;
}

void NonBreakingTickerEntry::Draw() {
    int runningX = x;
    for (TickerEntry* part : parts) {
        part->x = runningX;
        part->y = y;
        part->Draw();
        runningX += part->GetWidth();
    }
}

std::string NonBreakingTickerEntry::PlainText() const {
    std::string text;
    for (const TickerEntry* part : parts) text += part->PlainText();
    return text;
}

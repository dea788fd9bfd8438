#pragma once
// The pieces of the message ticker: text, icons, groups kept on one line, and line breaks.
// The ticker owns the pieces it holds; a group owns its parts. An icon piece does not own
// its picture.
#include <SDL.h>

#include <string>
#include <vector>

class Sprite;

class TickerEntry {
public:
    TickerEntry() = default;
    virtual ~TickerEntry();
    TickerEntry(const TickerEntry&) = delete;
    TickerEntry& operator=(const TickerEntry&) = delete;

    virtual int GetWidth() = 0;
    virtual int GetHeight() = 0;
    // Draws the piece at (x, y) on ScreenSurface.
    virtual void Draw() = 0;
    virtual bool IsLineBreak() { return false; }
    // The piece as plain text, for the ticker log.
    virtual std::string PlainText() const = 0;

    int x = 0;
    int y = 0;
};

// White (or coloured) text in TickerFont, drawn with a black shadow one pixel down and right.
class TextTickerEntry : public TickerEntry {
public:
    // A null colour means white.
    TextTickerEntry(const std::string& text, const SDL_Color* colour);
    int GetWidth() override;   // TextWidth + 1
    int GetHeight() override;  // TextHeight + 1
    void Draw() override;
    std::string PlainText() const override { return text; }

    std::string text;
    SDL_Color colour;

private:
    void Measure();
    unsigned measuredGeneration_ = 0;  // the font generation the size below belongs to
    int width_ = 0;
    int height_ = 0;
};

// A picture blitted whole with its top-left corner at (x, y).
class IconTickerEntry : public TickerEntry {
public:
    // label names the icon in the ticker log; null gives "icon".
    explicit IconTickerEntry(SDL_Surface* icon, const char* label = nullptr);
    // A frame of a sprite (the sprite's name labels it); a missing frame gives an empty icon.
    IconTickerEntry(Sprite* sprite, int frame);
    int GetWidth() override;
    int GetHeight() override;
    void Draw() override;
    std::string PlainText() const override { return "[" + label + "]"; }

    SDL_Surface* icon;
    std::string label;
};

// Pieces placed and wrapped as one, so they always share a line.
class NonBreakingTickerEntry : public TickerEntry {
public:
    NonBreakingTickerEntry() = default;
    ~NonBreakingTickerEntry() override;
    // The group takes the piece over; a null piece is ignored.
    void AddPart(TickerEntry* piece);
    int GetWidth() override;   // sum of the parts' widths
    int GetHeight() override;  // tallest part, 0 without parts
    void Draw() override;
    std::string PlainText() const override;

    std::vector<TickerEntry*> parts;
};

class LineBreakTickerEntry : public TickerEntry {
public:
    int GetWidth() override { return 0; }
    int GetHeight() override { return 18; }
    void Draw() override {}
    bool IsLineBreak() override { return true; }
    std::string PlainText() const override { return std::string(); }
};

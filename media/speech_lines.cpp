#include "media/speech_lines.h"

#include <vector>

namespace {

// A gap of this many pixels is kept between stacked lines.
constexpr int32_t kLineGap = 2;

struct Box {
    int32_t x, y, w, h;
};

std::vector<Box> placedLines;

bool Overlap(const Box& a, const Box& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

}  // namespace

void ClearSpeechLines() { placedLines.clear(); }

SDL_Rect PlaceSpeechLine(int32_t centreX, int32_t y, int32_t w, int32_t h) {
    Box box = {centreX - w / 2, y, w < 0 ? 0 : w, h < 0 ? 0 : h};
    // Every move goes above a placed line, so a line is passed at most once.
    for (size_t moves = 0; moves <= placedLines.size(); ++moves) {
        const Box* blocking = nullptr;
        for (const Box& other : placedLines) {
            if (Overlap(box, other)) blocking = &other;
        }
        if (blocking == nullptr) break;
        box.y = blocking->y - box.h - kLineGap;
    }
    placedLines.push_back(box);
    SDL_Rect r;
    r.x = static_cast<Sint16>(box.x);
    r.y = static_cast<Sint16>(box.y);
    r.w = static_cast<Uint16>(box.w);
    r.h = static_cast<Uint16>(box.h);
    return r;
}

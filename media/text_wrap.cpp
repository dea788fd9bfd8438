// Word wrapping with a small cache of recent results.
#include "media/text_wrap.h"

#include <cstring>
#include <list>
#include <unordered_map>

#include "media/font.h"

namespace {

bool IsWrapSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsGameFont(TTF_Font* font) {
    return font != nullptr && (font == LargeFont || font == MediumFont || font == AltMediumFont ||
                               font == TickerFont || font == SmallFont);
}

// Most recently used first; the map points into the list.
struct WrapCache {
    using Entry = std::pair<std::string, std::vector<WrappedLine>>;
    std::list<Entry> order;
    std::unordered_map<std::string, std::list<Entry>::iterator> index;
    static constexpr size_t kMaxEntries = 64;

    const std::vector<WrappedLine>* Find(const std::string& key) {
        auto it = index.find(key);
        if (it == index.end()) return nullptr;
        order.splice(order.begin(), order, it->second);
        return &it->second->second;
    }
    void Store(const std::string& key, const std::vector<WrappedLine>& lines) {
        order.emplace_front(key, lines);
        index[key] = order.begin();
        while (order.size() > kMaxEntries) {
            index.erase(order.back().first);
            order.pop_back();
        }
    }
    void Clear() {
        index.clear();
        order.clear();
    }
};

WrapCache& Cache() {
    static WrapCache cache;
    return cache;
}

std::string WrapKey(TTF_Font* font, int width, const char* text) {
    std::string key;
    key.reserve(strlen(text) + 32);
    char head[64];
    snprintf(head, sizeof head, "%p/%u/%d/", static_cast<void*>(font), FontGeneration(), width);
    key += head;
    key += text;
    return key;
}

}  // namespace

std::vector<std::string> WrapWords(const std::string& text, int width,
                                   const std::function<int(const std::string&)>& measure) {
    std::vector<std::string> lines;
    std::string current;
    size_t pos = 0;
    const size_t n = text.size();
    while (pos < n && IsWrapSpace(text[pos])) ++pos;
    while (pos < n) {
        size_t end = pos;
        while (end < n && !IsWrapSpace(text[end])) ++end;
        const std::string word = text.substr(pos, end - pos);
        const std::string candidate = current + word;
        if (!current.empty() && measure(candidate) > width) {
            lines.push_back(current);
            current = word;
        } else {
            current = candidate;
        }
        pos = end;
        while (pos < n && IsWrapSpace(text[pos])) {
            current += ' ';
            ++pos;
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

std::vector<WrappedLine> WrapTextLines(const char* text, TTF_Font* font, int width) {
    std::vector<WrappedLine> result;
    if (text == nullptr || *text == '\0' || font == nullptr) return result;

    const bool cacheable = IsGameFont(font);
    std::string key;
    if (cacheable) {
        key = WrapKey(font, width, text);
        if (const std::vector<WrappedLine>* hit = Cache().Find(key)) return *hit;
    }

    const std::vector<std::string> lines =
        WrapWords(text, width, [font](const std::string& s) { return TextWidth(s, font); });
    result.reserve(lines.size());
    for (const std::string& line : lines) {
        WrappedLine wrapped;
        wrapped.text = line;
        wrapped.width = TextWidth(line, font);
        wrapped.height = TextHeight(line, font);
        result.push_back(std::move(wrapped));
    }
    if (cacheable) Cache().Store(key, result);
    return result;
}

void ClearWrapCache() {
    Cache().Clear();
}

#pragma once
// Small levels drawn as text for the level, path and sight tests.
//
// Legend: '#' wall, ' ' or 'r' rock, '.' floor, ',' floor variant, '+' door, '<' stairs
// up, '>' stairs down, '~' water, 'L' lava, 'G' goo, 'I' ice, '$' shop floor, 'z' zoo
// floor, 'B' floor with the blocked flag. Rows may differ in length; short rows are rock.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "levels/level.h"

inline uint8_t SquareKindForLetter(char letter) {
    switch (letter) {
        case '#': return SquareType::Wall;
        case '.': case 'B': return SquareType::Floor;
        case ',': return SquareType::FloorVariant;
        case '+': return SquareType::Door;
        case '<': return SquareType::StairsUp;
        case '>': return SquareType::StairsDown;
        case '~': return SquareType::Water;
        case 'L': return SquareType::Lava;
        case 'G': return SquareType::Goo;
        case 'I': return SquareType::Ice;
        case '$': return SquareType::ShopFloor;
        case 'z': return SquareType::ZooFloor;
        default: return SquareType::Rock;
    }
}

// Fills a level of the map's size from the map.
inline void FillLevelFromMap(Level& level, const std::vector<std::string>& rows) {
    int32_t width = 0;
    for (const std::string& row : rows) width = std::max(width, static_cast<int32_t>(row.size()));
    level.SetSize(width, static_cast<int32_t>(rows.size()));
    for (int32_t y = 0; y < level.height; ++y) {
        const std::string& row = rows[static_cast<size_t>(y)];
        for (int32_t x = 0; x < static_cast<int32_t>(row.size()); ++x) {
            LevelCell* cell = level.GetCell(x, y);
            cell->type = SquareKindForLetter(row[static_cast<size_t>(x)]);
            if (row[static_cast<size_t>(x)] == 'B') cell->flags |= SquareFlag::Blocked;
        }
    }
}

// A level made current for the length of a test; the previous current level comes back
// afterwards. Objects placed on it belong to it and are deleted with it.
class ScopedTestLevel {
public:
    explicit ScopedTestLevel(const std::vector<std::string>& rows, int32_t depth = 1)
        : saved_(CurrentLevel), level_(new Level(0, depth)) {
        FillLevelFromMap(*level_, rows);
        CurrentLevel = level_;
    }
    // An empty level of the given size, all squares of one kind.
    ScopedTestLevel(int32_t width, int32_t height, uint8_t kind)
        : saved_(CurrentLevel), level_(new Level(0, 1)) {
        level_->SetSize(width, height);
        for (LevelCell& cell : level_->squares) cell.type = kind;
        CurrentLevel = level_;
    }
    ~ScopedTestLevel() {
        delete level_;
        CurrentLevel = saved_;
    }
    ScopedTestLevel(const ScopedTestLevel&) = delete;
    ScopedTestLevel& operator=(const ScopedTestLevel&) = delete;

    Level* operator->() const { return level_; }
    Level& operator*() const { return *level_; }
    Level* get() const { return level_; }

private:
    Level* saved_;
    Level* level_;
};

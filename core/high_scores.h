// The high-score table ("hiscores.txt") and the last hero build ("last.txt"),
// both kept in the user folder and mirrored to cloud storage after each write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct HighScoreEntry {
    std::string name;  // the hero's name (with title)
    int32_t score = 0;
    std::string text;  // one-line account of how the game ended
};

// The table never holds more entries than this, and no more are written.
constexpr size_t kMaxHighScores = 255;

// Number of skills in a build, and the build offered when no valid "last.txt" exists.
constexpr size_t kLastBuildSize = 7;

// Skill codes read from "last.txt" must lie below this when the caller does not
// know the size of the skill table.
constexpr int32_t kLastBuildCodeLimit = 256;

// The process-wide table, best score first; equal scores keep their age order.
const std::vector<HighScoreEntry>& GetHighScores();

// Empties the table.
void ClearHighScores();

// Replaces the table with the entries of user folder + "hiscores.txt", in file order.
// Returns false when the file could not be opened (the table is then empty).
bool LoadHighScores();

// Writes the first 255 entries to user folder + "hiscores.txt" (replacing it whole) and
// uploads the file to cloud storage. Returns false when it could not be written; the
// previous file then stays as it was.
bool SaveHighScores();

// Inserts the entry at its sorted place; false for a duplicate or when it does not
// make the table. Line breaks in name and text are turned into spaces so that each
// entry stays three lines in the file.
bool AddHighScore(const HighScoreEntry& entry);

// Reads the last build: seven skill codes, defaults 0..6 for a missing file or missing
// lines. When a line read is not a number (a blank line included), a code is negative or
// not below the limit (skillCount when it is above 0, else kLastBuildCodeLimit), or a code
// appears twice in the build, the file is ignored and the defaults are returned.
std::vector<int32_t> LoadLastTxt(int32_t skillCount = 0);

// Writes the first seven values (fewer when the vector is shorter) to user folder +
// "last.txt" (replacing it whole) and uploads the file. Returns false when it could not
// be written; the previous file then stays as it was.
bool SaveLastTxt(const std::vector<int32_t>& values);

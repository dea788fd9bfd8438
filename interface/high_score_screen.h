#pragma once
// The end of a run: the high-score table on the grave, the death screen (the epitaph) and the
// victory screen (the picture and four closing pages). ShowHighScores, ShowDeathScreen and
// ShowVictoryScreen are declared in interface/screens.h.
#include <cstdint>
#include <string>
#include <vector>

class Level;
class Player;

// The number of entries the table shows.
constexpr int32_t kShownHighScores = 10;

// The four closing pages of the victory screen, in order.
extern const char* const kVictoryPages[4];
// The death text and high-score line of a won run.
extern const char* const kVictoryDeathText;
// The heading of the high-score screen and the line it shows while the table is empty.
extern const char* const kHighScoresTitle;
extern const char* const kNoHighScoresText;

// The achievements a victory grants, in the order they are granted.
std::vector<std::string> VictoryAchievements(int32_t difficulty, bool permadeath, bool randomBuild);
// The epitaph's level line: "on Level <depth + 1>", or "in a mysterious dimension" on a level
// reached through a portal.
std::string EpitaphLevelLine(const Level* level);
// The high-score line of a hero: "<name> the <title>".
std::string HighScoreName(const Player& hero);
// Reads the table again, adds the entry and writes the table when the entry was accepted.
// When the file is there but could not be read, nothing is written (a table read as empty
// must never replace it). True when the file was written.
bool RecordHighScore(const std::string& name, int32_t score, const std::string& text);

#pragma once
// Checking generated levels: building a level for a seed, depth and game kind; the rules every
// generated level must keep; a text dump of a level (squares, rooms, objects) for comparisons;
// and the data the checks generate from (our data files, plus a few sample monster and quest
// records while those databases read nothing yet).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Level;

struct LevelGenCase {
    uint32_t seed = 1;
    int32_t depth = 0;
    bool quick = false;     // 75 x 75 levels and fewer goods
    bool extended = false;  // the long dungeon: the last depth is 14
};

// Reads "tweakDB.xml", "branchDB.xml", "rooms.xml", "text.xml" and "itemDB.xml" from a folder
// (our data/game) into the tables, replacing what they held, builds the template name map and
// the item level tables.
// False, with a diagnostic, when one of the first three cannot be read.
bool LoadGenerationData(const std::string& folder);

// Adds sample monster records (every monster level, swimmers, both final-boss records) and quest
// records, each only where its list is empty; then rebuilds the monster tables.
void InstallSampleGenerationRecords();
// Removes everything InstallSampleGenerationRecords added (the lists it filled are emptied).
void RemoveSampleGenerationRecords();

// Seeds both generators with the case's seed and builds the level with a hero of the case's
// flags standing by (the previous hero is restored). `accepted` receives what generation
// answered: false when a layout gave up after its bounded restarts.
std::unique_ptr<Level> GenerateLevelForCase(const LevelGenCase& genCase, bool* accepted);

// The rules of a generated level; one line per broken rule, empty when it keeps them all:
// every walkable square reachable from the start (an up staircase below depth 0), up stairs
// except at depth 0 and down stairs except on the last level, the final boss only on the last
// level (when the monster data has one), every object on a square of the grid, no queued move
// left, and the layout accepted within its bounded tries.
std::vector<std::string> CheckGeneratedLevel(const Level& level, const LevelGenCase& genCase, bool accepted);

// Fills every room of the level with its monsters as the hero's first look does, with the
// queued moves carried out (the level is current meanwhile).
void PopulateLevelRooms(Level& level);
// One line for each square on which two or more living creatures stand; empty when none does.
std::vector<std::string> SharedCreatureSquares(const Level& level);

// The text dump of a level: a header, one line of square letters per row, the rooms with their
// template names and rectangles, every object with its square, the stair squares with their
// stair index and the closest distance between two of them, the room titles and the door bits
// of every square that has some.
std::string DescribeLevel(const Level& level);
// One line with a hash of each tile layer (base, wall, top) of a level whose graphics pass
// has run; a tile counts by its name in the branch, so the hashes are stable between runs.
std::string DescribeTileLayers(const Level& level);
// The letter of a square kind in the dump.
char SquareLetter(uint8_t kind, uint8_t flags);

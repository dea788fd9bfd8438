// The text database: flavour word lists and panel help texts read from "text.xml"
// files, and the small generators that make titles, similes and army names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// One help entry of a panel: a rectangle of the panel's art (pixels) with its text.
struct TextBlock {
    std::string name;
    std::string text;
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
};

// Kinds of noun description.
enum NounDescriptionKind : int32_t {
    kNounPainting = 1,
    kNounStatue = 2,
    kNounFloor = 3,
};

// A noun that carries the sprite name of a painting, a statue or a floor engraving.
struct NounDescription {
    std::string noun;
    int32_t kind = 0;
    std::string description;
};

// Every list is appended to in file order by each loaded file; parallel lists always
// grow together.
struct TextDB {
    std::vector<std::string> materials;
    std::vector<std::string> verbs;
    std::vector<std::string> verbsPast;
    std::vector<std::string> verbsContinuous;
    std::vector<std::string> adjectives;
    std::vector<std::string> architecture;
    std::vector<std::string> architecturePlurals;
    std::vector<std::string> qualities;
    std::vector<std::string> startPhonemes;
    std::vector<std::string> phonemes;
    std::vector<std::string> insults;
    std::vector<std::string> ichors;
    std::vector<std::string> randomLines;
    std::vector<std::string> decor;
    std::vector<std::string> titles;
    std::vector<std::string> nouns;
    std::vector<std::string> nounPlurals;
    std::vector<NounDescription> nounDescriptions;
    std::map<std::string, std::vector<TextBlock>> questionBlocks;
    std::map<std::string, std::vector<TextBlock>> tooltipBlocks;
};

// The process-wide database.
TextDB& GetTextDB();

// Empties every list and map.
void ClearTextDB();

// Reads one "text.xml" through the virtual file system and appends its contents.
// A missing file is skipped silently (expansions and mods need not have one) and
// returns false; malformed XML keeps what was read before the error, prints a
// diagnostic and returns false.
bool LoadTextDB(const char* file);

// The same for text already in memory; label names the source in diagnostics.
bool LoadTextDBFromBuffer(const char* data, size_t length, const char* label);

// The element handler: applies one element with its attribute pairs (name, value, ...,
// null), as expat hands them over.
void TextDBStartElement(void* userData, const char* name, const char** atts);

// Help entries of a panel ("questionblock" and "tooltip" elements). An unknown panel
// gets an empty list.
std::vector<TextBlock>& GetQuestionBlocks(const char* panel);
std::vector<TextBlock>& GetTooltipBlocks(const char* panel);

// A random entry of the list, index drawn with RandomInt (the C generator). An empty
// list gives "" and draws nothing.
std::string PickRandomWord(const std::vector<std::string>& list);

// "st", "nd", "rd" or "th" for a count: 1st, 2nd, 3rd, 4th, 11th, 12th, 13th, 21st, 111th.
const char* OrdinalSuffix(int32_t n);

// "The <adjective> <architecture>" or "The [<adjective> ]<architecture> of <noun plural>";
// noun receives the noun plural, or "" when none was used.
void MakeRandomTitle(std::string& title, std::string& noun);

// A quoted sentence for the epitaph.
void MakeRandomSimile(std::string& out, bool female);

// "Lord Zarnoch's 12th regiment, the ..." for hordes and quest offers.
std::string MakeRandomArmyName();

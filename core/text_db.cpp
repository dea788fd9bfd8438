#include "core/text_db.h"

#include "core/xml_util.h"

#include <expat.h>

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/random.h"
#include "platform/vfs.h"

namespace {

TextDB gTextDB;

// The attribute's value, or "" when the element does not carry it.
const char* Attribute(const char** atts, const char* name) {
    if (!atts) return "";
    for (int i = 0; atts[i] && atts[i + 1]; i += 2) {
        if (strcmp(atts[i], name) == 0) return atts[i + 1];
    }
    return "";
}

int32_t AttributeInt(const char** atts, const char* name) {
    return ParseDecimalInt32(Attribute(atts, name));
}

void EndElement(void*, const char*) {}

TextBlock ReadBlock(const char** atts) {
    TextBlock block;
    block.x = AttributeInt(atts, "x");
    block.y = AttributeInt(atts, "y");
    block.w = AttributeInt(atts, "w");
    block.h = AttributeInt(atts, "h");
    block.text = Attribute(atts, "text");
    block.name = Attribute(atts, "name");
    return block;
}

// Elements that add the "text" attribute to a single list.
struct SimpleList {
    const char* element;
    std::vector<std::string> TextDB::*list;
};

const SimpleList kSimpleLists[] = {
    {"material", &TextDB::materials},   {"adjective", &TextDB::adjectives},
    {"quality", &TextDB::qualities},    {"startPhoneme", &TextDB::startPhonemes},
    {"phoneme", &TextDB::phonemes},     {"insult", &TextDB::insults},
    {"ichor", &TextDB::ichors},         {"random", &TextDB::randomLines},
    {"decor", &TextDB::decor},          {"title", &TextDB::titles},
};

// "an" goes before a noun that starts with a vowel letter, "a" before any other. A
// trailing "s" does not change the article: the sentence always names one thing.
bool StartsWithVowel(const std::string& word) {
    if (word.empty()) return false;
    char c = static_cast<char>(tolower(static_cast<unsigned char>(word[0])));
    return strchr("aeiou", c) != nullptr;
}

}  // namespace

TextDB& GetTextDB() { return gTextDB; }

void ClearTextDB() { gTextDB = TextDB(); }

void TextDBStartElement(void*, const char* name, const char** atts) {
    if (!name) return;
    TextDB& db = gTextDB;
    for (const SimpleList& simple : kSimpleLists) {
        if (strcmp(name, simple.element) == 0) {
            (db.*simple.list).push_back(Attribute(atts, "text"));
            return;
        }
    }
    if (strcmp(name, "verb") == 0) {
        db.verbs.push_back(Attribute(atts, "text"));
        db.verbsPast.push_back(Attribute(atts, "past"));
        db.verbsContinuous.push_back(Attribute(atts, "continuous"));
    } else if (strcmp(name, "architecture") == 0) {
        db.architecture.push_back(Attribute(atts, "text"));
        db.architecturePlurals.push_back(Attribute(atts, "plural"));
    } else if (strcmp(name, "noun") == 0) {
        std::string noun = Attribute(atts, "text");
        db.nouns.push_back(noun);
        db.nounPlurals.push_back(Attribute(atts, "plural"));
        static const struct {
            const char* attribute;
            int32_t kind;
        } kDescriptions[] = {
            {"painting", kNounPainting}, {"statue", kNounStatue}, {"floor", kNounFloor}};
        for (const auto& d : kDescriptions) {
            const char* description = Attribute(atts, d.attribute);
            if (*description) db.nounDescriptions.push_back({noun, d.kind, description});
        }
    } else if (strcmp(name, "questionblock") == 0) {
        db.questionBlocks[Attribute(atts, "panel")].push_back(ReadBlock(atts));
    } else if (strcmp(name, "tooltip") == 0) {
        db.tooltipBlocks[Attribute(atts, "panel")].push_back(ReadBlock(atts));
    }
}

bool LoadTextDBFromBuffer(const char* data, size_t length, const char* label) {
    if (!label) label = "(text)";
    XmlHandlers handlers;
    handlers.start = TextDBStartElement;
    handlers.end = EndElement;
    std::string error;
    const bool ok = ParseXmlDocument(data, length, handlers, &error);
    if (!ok) printf("LoadTextDB: %s: %s\n", label, error.c_str());
    return ok;
}

bool LoadTextDB(const char* file) {
    if (!file || !VfsExists(file)) return false;
    std::vector<char> data;
    if (!VfsReadFile(file, data)) {
        printf("LoadTextDB: cannot read %s\n", file);
        return false;
    }
    return LoadTextDBFromBuffer(data.data(), data.size(), file);
}

std::vector<TextBlock>& GetQuestionBlocks(const char* panel) {
    return gTextDB.questionBlocks[panel ? panel : ""];
}

std::vector<TextBlock>& GetTooltipBlocks(const char* panel) {
    return gTextDB.tooltipBlocks[panel ? panel : ""];
}

std::string PickRandomWord(const std::vector<std::string>& list) {
    if (list.empty()) return std::string();
    size_t index = static_cast<size_t>(RandomInt(static_cast<int32_t>(
        list.size() > static_cast<size_t>(INT32_MAX) ? INT32_MAX : list.size())));
    return index < list.size() ? list[index] : std::string();
}

const char* OrdinalSuffix(int32_t n) {
    int64_t value = n < 0 ? -static_cast<int64_t>(n) : n;
    int64_t lastTwo = value % 100;
    if (lastTwo >= 11 && lastTwo <= 13) return "th";
    switch (value % 10) {
        case 1: return "st";
        case 2: return "nd";
        case 3: return "rd";
        default: return "th";
    }
}

void MakeRandomTitle(std::string& title, std::string& noun) {
    const TextDB& db = gTextDB;
    title = "The ";
    noun.clear();
    bool adjectiveUsed = false;
    if (MTOneChanceIn(2)) {
        title += PickRandomWord(db.adjectives);
        title += " ";
        adjectiveUsed = true;
    }
    if (MTOneChanceIn(2)) {
        title += PickRandomWord(db.architecture);
    } else {
        title += PickRandomWord(db.architecturePlurals);
    }
    if (!MTOneChanceIn(2) && adjectiveUsed) return;
    noun = PickRandomWord(db.nounPlurals);
    title += " of ";
    title += noun;
}

void MakeRandomSimile(std::string& out, bool female) {
    const TextDB& db = gTextDB;
    if (MTOneChanceIn(2)) {
        out = "\"The ";
        out += PickRandomWord(db.titles);
        out += " ";
        out += PickRandomWord(db.nouns);
        out += "\"";
        return;
    }
    out = female ? "\"She " : "\"He ";
    out += PickRandomWord(db.verbsPast);
    std::string noun = PickRandomWord(db.nouns);
    out += StartsWithVowel(noun) ? " like an " : " like a ";
    out += noun;
    out += "\"";
}

std::string MakeRandomArmyName() {
    const TextDB& db = gTextDB;
    static const char* const kUnits[] = {" platoon", " company", " regiment",
                                         " cohort",  " flank",   " brigade"};
    std::string name = "Lord Zarnoch's ";
    int32_t number = CRand() / 328;
    name += std::to_string(number);
    name += OrdinalSuffix(number);
    int32_t unit = CRand() / 5462;
    if (unit < 0 || unit > 5) unit = 5;
    name += kUnits[unit];
    name += ", the ";
    if (MTOneChanceIn(2)) {
        name += PickRandomWord(db.titles);
        name += " ";
        name += PickRandomWord(db.nouns);
    } else {
        name += PickRandomWord(db.adjectives);
        name += " ";
        name += PickRandomWord(db.nounPlurals);
    }
    return name;
}

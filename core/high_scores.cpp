#include "core/high_scores.h"

#include "core/xml_util.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "platform/atomic_file.h"
#include "platform/platform.h"

#include "store_platform/store.h"

namespace {

std::vector<HighScoreEntry> gHighScores;

// Longest line kept from a user file; the rest of a longer line is skipped.
constexpr size_t kMaxLineLength = 4096;

// The user file's path; "" when the user folder is unavailable, so that nothing is
// read from or written to the working directory instead.
std::string UserFile(const char* name) {
    const std::string path = UserFilePath(name);
    return path.empty() ? path : GetResourceFilename(path);
}

// Replaces a user file whole and copies it to cloud storage; false (with a diagnostic)
// when it could not be written, the previous file then being left as it was.
bool WriteUserFile(const char* name, const std::string& content) {
    const std::string path = UserFile(name);
    std::string error;
    if (!WriteFileAtomically(path, content, &error)) {
        printf("%s: not saved: %s\n", name, path.empty() ? "the user folder is unavailable" : error.c_str());
        return false;
    }
    UploadCloudFile(path.c_str(), name);
    return true;
}

// One skill code of "last.txt": a decimal integer, blanks around it allowed. False for
// a blank line or any other text.
bool ParseSkillCode(const std::string& line, int32_t* code) {
    const char* begin = line.c_str();
    char* end = nullptr;
    errno = 0;
    const long long value = strtoll(begin, &end, 10);
    if (end == begin || errno == ERANGE) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0') return false;
    if (value < INT32_MIN || value > INT32_MAX) return false;
    *code = static_cast<int32_t>(value);
    return true;
}

// Reads one line without its "\n" (and without a trailing "\r"). Returns false at the
// end of the file when nothing was read.
bool ReadLine(FILE* file, std::string& line) {
    line.clear();
    int c = 0;
    bool any = false;
    while ((c = fgetc(file)) != EOF) {
        any = true;
        if (c == '\n') break;
        if (line.size() < kMaxLineLength) line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return any;
}

std::string OneLine(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return out;
}

}  // namespace

const std::vector<HighScoreEntry>& GetHighScores() { return gHighScores; }

void ClearHighScores() { gHighScores.clear(); }

bool LoadHighScores() {
    ClearHighScores();
    std::string path = UserFile("hiscores.txt");
    FILE* file = OpenRegularFile(path);
    if (!file) return false;
    std::string name, score, text;
    while (gHighScores.size() < kMaxHighScores) {
        // An entry is three lines; an incomplete last entry is dropped.
        if (!ReadLine(file, name) || !ReadLine(file, score) || !ReadLine(file, text)) break;
        HighScoreEntry entry;
        entry.name = name;
        entry.score = ParseDecimalInt32(score.c_str());
        entry.text = text;
        gHighScores.push_back(entry);
    }
    fclose(file);
    return true;
}

bool SaveHighScores() {
    std::string content;
    size_t count = 0;
    for (const HighScoreEntry& entry : gHighScores) {
        if (count++ >= kMaxHighScores) break;
        content += OneLine(entry.name) + "\n" + std::to_string(entry.score) + "\n" +
                   OneLine(entry.text) + "\n";
    }
    return WriteUserFile("hiscores.txt", content);
}

bool AddHighScore(const HighScoreEntry& newEntry) {
    HighScoreEntry entry;
    entry.name = OneLine(newEntry.name);
    entry.score = newEntry.score;
    entry.text = OneLine(newEntry.text);

    size_t rank = 0;
    for (auto it = gHighScores.begin();; ++it, ++rank) {
        if (it == gHighScores.end()) {
            if (rank < kMaxHighScores) {
                gHighScores.push_back(entry);
                return true;
            }
            return false;
        }
        if (rank >= kMaxHighScores) return false;
        if (it->score == entry.score && it->name == entry.name && it->text == entry.text) {
            return false;
        }
        if (it->score < entry.score) {
            gHighScores.insert(it, entry);
            while (gHighScores.size() > kMaxHighScores) gHighScores.pop_back();
            return true;
        }
    }
}

std::vector<int32_t> LoadLastTxt(int32_t skillCount) {
    std::vector<int32_t> defaults;
    for (size_t i = 0; i < kLastBuildSize; ++i) defaults.push_back(static_cast<int32_t>(i));

    std::string path = UserFile("last.txt");
    FILE* file = OpenRegularFile(path);
    if (!file) return defaults;

    const int32_t limit = skillCount > 0 ? skillCount : kLastBuildCodeLimit;
    std::vector<int32_t> values = defaults;
    std::string line;
    bool valid = true;
    for (size_t i = 0; i < kLastBuildSize && ReadLine(file, line); ++i) {
        int32_t code = 0;
        if (!ParseSkillCode(line, &code)) {
            printf("last.txt: line %u is not a skill code, using the default build\n",
                   static_cast<unsigned>(i + 1));
            valid = false;
            break;
        }
        if (code < 0 || code >= limit) {
            printf("last.txt: skill code %i on line %u is out of range, using the default build\n",
                   code, static_cast<unsigned>(i + 1));
            valid = false;
            break;
        }
        values[i] = code;
    }
    fclose(file);
    // A build is seven different skills (lines the file lacks keep their default codes).
    for (size_t i = 0; valid && i < kLastBuildSize; ++i) {
        for (size_t j = i + 1; j < kLastBuildSize; ++j) {
            if (values[i] == values[j]) {
                printf("last.txt: skill code %i appears twice, using the default build\n", values[i]);
                valid = false;
                break;
            }
        }
    }
    return valid ? values : defaults;
}

bool SaveLastTxt(const std::vector<int32_t>& values) {
    std::string content;
    for (size_t i = 0; i < values.size() && i < kLastBuildSize; ++i) {
        content += std::to_string(values[i]) + "\n";
    }
    return WriteUserFile("last.txt", content);
}

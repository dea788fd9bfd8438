#include "core/high_scores.h"

#include "core/xml_util.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

#include "store_platform/store.h"

namespace {

std::vector<HighScoreEntry> gHighScores;

// Longest line kept from a user file; the rest of a longer line is skipped.
constexpr size_t kMaxLineLength = 4096;

// The user file's path; "" when the user folder is unavailable, so that nothing is
// read from or written to the working directory instead.
std::string UserFilePath(const char* name) {
    std::string folder = GetUserDataPath();
    if (folder.empty()) return std::string();
    return GetResourceFilename(folder + name);
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
    std::string path = UserFilePath("hiscores.txt");
    FILE* file = path.empty() ? nullptr : fopen(path.c_str(), "rt");
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
    std::string path = UserFilePath("hiscores.txt");
    FILE* file = path.empty() ? nullptr : fopen(path.c_str(), "wt");
    if (!file) return false;
    size_t count = 0;
    for (const HighScoreEntry& entry : gHighScores) {
        if (count++ >= kMaxHighScores) break;
        fprintf(file, "%s\n%i\n%s\n", OneLine(entry.name).c_str(), entry.score,
                OneLine(entry.text).c_str());
    }
    bool ok = fclose(file) == 0;
    UploadCloudFile(path.c_str(), "hiscores.txt");
    return ok;
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

    std::string path = UserFilePath("last.txt");
    FILE* file = path.empty() ? nullptr : fopen(path.c_str(), "rt");
    if (!file) return defaults;

    const int32_t limit = skillCount > 0 ? skillCount : kLastBuildCodeLimit;
    std::vector<int32_t> values = defaults;
    std::string line;
    bool valid = true;
    for (size_t i = 0; i < kLastBuildSize && ReadLine(file, line); ++i) {
        int32_t code = ParseDecimalInt32(line.c_str());
        if (code < 0 || code >= limit) {
            printf("last.txt: skill code %i on line %u is out of range, using the default build\n",
                   code, static_cast<unsigned>(i + 1));
            valid = false;
            break;
        }
        values[i] = code;
    }
    fclose(file);
    return valid ? values : defaults;
}

bool SaveLastTxt(const std::vector<int32_t>& values) {
    std::string path = UserFilePath("last.txt");
    FILE* file = path.empty() ? nullptr : fopen(path.c_str(), "wt");
    if (!file) return false;
    for (size_t i = 0; i < values.size() && i < kLastBuildSize; ++i) {
        fprintf(file, "%i\n", values[i]);
    }
    bool ok = fclose(file) == 0;
    UploadCloudFile(path.c_str(), "last.txt");
    return ok;
}

#pragma once
// What monsters can say ("speech.xml"): profiles of insults, lines for being injured and
// lines for dying. Read once at start-up from the game folder only; every monster record
// points at the first profile.
#include <cstddef>
#include <string>
#include <vector>

struct SpeechProfile {
    std::string name;
    std::vector<std::string> insults;
    std::vector<std::string> injured;
    std::vector<std::string> dead;
};

// Every profile in file order. Owned.
extern std::vector<SpeechProfile*> SpeechProfileList;

// Reads "game//speech.xml"; a missing file leaves the list empty.
void LoadSpeechDB();
// The same for text in memory; false on a parse error (the profiles read before it stay).
bool LoadSpeechDBFromText(const char* text, size_t length, const char* file);
// The first profile, or null when there is none.
SpeechProfile* DefaultSpeechProfile();
void ClearSpeechDB();

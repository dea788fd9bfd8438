#include "creatures/speech_db.h"

#include "creatures/db_xml.h"

std::vector<SpeechProfile*> SpeechProfileList;

namespace {
// The records live until the process exits.
struct ReleaseAtExit {
    ~ReleaseAtExit() { ClearSpeechDB(); }
} Release;
}  // namespace

namespace {

constexpr const char* kLabel = "LoadSpeechDB";

struct SpeechParse {
    DbParse db;  // first: the parse helpers hand this struct over as a DbParse
    SpeechProfile* current = nullptr;
};

void XMLCALL SpeechStart(void* data, const XML_Char* el, const XML_Char** atts) {
    SpeechParse& st = *static_cast<SpeechParse*>(data);
    if (ElementIs(el, "profile")) {
        delete st.current;  // a profile opened inside another one replaces it
        st.current = new SpeechProfile();
        st.current->name = DbString(atts, "name", "");
    } else if (ElementIs(el, "speech") && st.current != nullptr) {
        const std::string type = DbString(atts, "type", "");
        const std::string text = DbString(atts, "text", "");
        if (type == "insult") {
            st.current->insults.push_back(text);
        } else if (type == "injured") {
            st.current->injured.push_back(text);
        } else if (type == "dead") {
            st.current->dead.push_back(text);
        }
    }
}

void XMLCALL SpeechEnd(void* data, const XML_Char* el) {
    SpeechParse& st = *static_cast<SpeechParse*>(data);
    if (ElementIs(el, "profile") && st.current != nullptr) {
        SpeechProfileList.push_back(st.current);
        st.current = nullptr;
    }
}

}  // namespace

void LoadSpeechDB() {
    SpeechParse st;
    ParseDatabaseFile("game//speech.xml", kLabel, SpeechStart, SpeechEnd, &st.db);
    delete st.current;
}

bool LoadSpeechDBFromText(const char* text, size_t length, const char* file) {
    SpeechParse st;
    const bool ok = ParseDatabase(text, length, kLabel, file, SpeechStart, SpeechEnd, &st.db);
    delete st.current;
    return ok;
}

SpeechProfile* DefaultSpeechProfile() { return SpeechProfileList.empty() ? nullptr : SpeechProfileList.front(); }

void ClearSpeechDB() {
    for (SpeechProfile* profile : SpeechProfileList) delete profile;
    SpeechProfileList.clear();
}

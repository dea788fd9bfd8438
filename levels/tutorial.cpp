#include "levels/tutorial.h"

#include <cstdio>
#include <strings.h>

#include <expat.h>

#include "core/shell/shell_services.h"
#include "core/xml_util.h"
#include "interface/ui_services.h"
#include "levels/game_obj.h"
#include "levels/level.h"
#include "levels/object_queue.h"
#include "media/music.h"
#include "platform/vfs.h"

std::vector<Tutorial*> Tutorials;
bool TutorialsLoaded = false;
Tutorial* CurrentTutorial = nullptr;
int32_t TutorialContinueFlag = 0;
int32_t TutorialStepIndex = 0;
bool TutorialWaiting = false;
bool TutorialFinished = false;
int32_t TutorialCompletionChoice = 0;
std::vector<TutorialNotice> PendingTutorialNotices;

namespace {

// The list lives for the whole run and is freed at exit.
struct TutorialListRelease {
    ~TutorialListRelease() { ClearTutorials(); }
} ReleaseAtExit;

void ShowTextDefault(const char* text) { ShowDialog(text, "ui/dialog_but_ok", nullptr); }
void PlayTuneDefault(const char* file) { PlayMusicOnce(file); }
int32_t CompleteDialogDefault() { return ShowTutorialCompleteDialog(); }

struct TriggerWord {
    const char* word;
    int32_t code;
};

const TriggerWord kTriggerWords[] = {
    {"killmonster", 1},         {"fliplever", 2},   {"eatfood", 3},      {"equipability", 4},
    {"useability", 5},          {"openinventory", 6}, {"putitemininventory", 7}, {"pickupitem", 8},
    {"equipitem", 9},           {"deequipitem", 10}, {"stackitem", 11},   {"opencharactersheet", 12},
    {"openequip", 12},          {"drinkpotion", 13}, {"opencrafting", 14}, {"makecraft", 15},
    {"getrecipe", 16},          {"setactiverecipe", 17},
};

// ---- reading ---------------------------------------------------------------------------------

struct TutorialReadState {
    Tutorial* reading = nullptr;  // owned until its end tag hands it to the list
};

bool NameIs(const XML_Char* name, const char* wanted) { return strcasecmp(name, wanted) == 0; }

std::string Attr(const XML_Char** attributes, const char* name) {
    const char* value = FindXmlAttributeNoCase(attributes, name);
    return value != nullptr ? value : "";
}

void XMLCALL TutorialStartElement(void* userData, const XML_Char* el, const XML_Char** attributes) {
    TutorialReadState& st = *static_cast<TutorialReadState*>(userData);
    if (NameIs(el, "tutorial")) {
        delete st.reading;  // a tutorial opened inside another replaces it
        st.reading = new Tutorial();
        return;
    }
    Tutorial* t = st.reading;
    if (t == nullptr) return;
    if (NameIs(el, "skill")) {
        t->skills.push_back(ParseDecimalInt32(Attr(attributes, "id").c_str()));
    } else if (NameIs(el, "equip")) {
        t->equipment.push_back(Attr(attributes, "name"));
    } else if (NameIs(el, "item")) {
        t->items.push_back(Attr(attributes, "name"));
    } else if (NameIs(el, "ability")) {
        t->abilities.push_back(Attr(attributes, "name"));
    } else if (NameIs(el, "info")) {
        t->name = Attr(attributes, "name");
        t->description = Attr(attributes, "description");
        t->icon = Attr(attributes, "icon");
        t->infoFlag = 0;
    } else if (NameIs(el, "script")) {
        TutorialStep step;
        step.text = Attr(attributes, "text");
        step.trigger = TutorialTriggerCode(Attr(attributes, "trigger"));
        step.action = TutorialActionCode(Attr(attributes, "action"));
        step.value = Attr(attributes, "value");
        t->steps.push_back(step);
    } else if (NameIs(el, "room")) {
        t->room = Attr(attributes, "name");
        t->playerStartX = ParseDecimalInt32(Attr(attributes, "playerStartX").c_str());
        t->playerStartY = ParseDecimalInt32(Attr(attributes, "playerStartY").c_str());
    }
}

void XMLCALL TutorialEndElement(void* userData, const XML_Char* el) {
    TutorialReadState& st = *static_cast<TutorialReadState*>(userData);
    if (NameIs(el, "tutorial") && st.reading != nullptr) {
        Tutorials.push_back(st.reading);
        st.reading = nullptr;
    }
}

}  // namespace

TutorialCalls TutorialActions = {ShowTextDefault, PlayTuneDefault, CompleteDialogDefault};

int32_t TutorialTriggerCode(const std::string& word) {
    for (const TriggerWord& entry : kTriggerWords) {
        if (word == entry.word) return entry.code;
    }
    return 0;
}

int32_t TutorialActionCode(const std::string& word) { return word == "removeblocker" ? 1 : 0; }

bool TutorialCodeRunsAtOnce(int32_t code) {
    switch (code) {
        case 4: case 6: case 7: case 9: case 10: case 12: case 14: case 15: case 17: return true;
        default: return false;
    }
}

bool LoadTutorialsFromText(const char* data, size_t length, const char* label) {
    TutorialReadState st;
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (parser == nullptr) return false;
    XML_SetUserData(parser, &st);
    XML_SetElementHandler(parser, TutorialStartElement, TutorialEndElement);
    const bool ok = XML_Parse(parser, data != nullptr ? data : "", static_cast<int>(length), 1) != XML_STATUS_ERROR;
    if (!ok) {
        std::printf("tutorial: %s, line %d, column %d: %s; the rest of the file is not read\n", label,
                    static_cast<int>(XML_GetCurrentLineNumber(parser)),
                    static_cast<int>(XML_GetCurrentColumnNumber(parser)),
                    XML_ErrorString(XML_GetErrorCode(parser)));
    }
    // A tutorial left open by a broken document never reaches the list.
    delete st.reading;
    XML_ParserFree(parser);
    return ok;
}

void LoadTutorial() {
    std::vector<char> data;
    // A missing file leaves the list empty.
    if (VfsReadFile("game//tutorial.xml", data)) {
        LoadTutorialsFromText(data.data(), data.size(), "game//tutorial.xml");
    }
    TutorialsLoaded = true;
}

void ClearTutorials() {
    for (Tutorial* tutorial : Tutorials) {
        if (tutorial == CurrentTutorial) {
            CurrentTutorial = nullptr;
        }
        delete tutorial;
    }
    Tutorials.clear();
    TutorialsLoaded = false;
}

namespace {

// The tutorial the waiting and finished flags belong to: a tutorial made current by any other
// way than BeginTutorial starts with clear flags too.
Tutorial* FlagsOwner = nullptr;

void SyncPlayState() {
    if (CurrentTutorial == FlagsOwner) return;
    FlagsOwner = CurrentTutorial;
    TutorialWaiting = false;
    TutorialFinished = false;
}

}  // namespace

void BeginTutorial(Tutorial* tutorial) {
    FlagsOwner = tutorial;
    CurrentTutorial = tutorial;
    TutorialStepIndex = 0;
    TutorialWaiting = false;
    TutorialFinished = false;
    TutorialCompletionChoice = 0;
}

// ---- play --------------------------------------------------------------------------------------

void (*TutorialReportObserver)(int32_t code) = nullptr;

void NotifyTutorial(int32_t code, int32_t) {
    if (TutorialReportObserver != nullptr) TutorialReportObserver(code);
    SyncPlayState();
    Tutorial* t = CurrentTutorial;
    if (!TutorialFlag || t == nullptr || TutorialStepIndex < 0 ||
        static_cast<size_t>(TutorialStepIndex) >= t->steps.size()) {
        return;
    }
    if (code != t->steps[static_cast<size_t>(TutorialStepIndex)].trigger) return;
    ++TutorialStepIndex;
    TutorialWaiting = false;
    if (TutorialCodeRunsAtOnce(code)) RunTutorialStep();
}

void NotifyTutorial(int32_t code, const std::string& name) {
    if (CurrentTutorial != nullptr) {
        if (PendingTutorialNotices.size() >= kMaxTutorialNotices) {
            PendingTutorialNotices.erase(PendingTutorialNotices.begin());
        }
        TutorialNotice notice;
        notice.code = code;
        notice.name = name;
        PendingTutorialNotices.push_back(notice);
    }
    NotifyTutorial(code, 0);
}

void RunTutorialStep() {
    SyncPlayState();
    Tutorial* t = CurrentTutorial;
    if (t == nullptr || TutorialFinished || TutorialStepIndex < 0) return;
    const int32_t count = static_cast<int32_t>(t->steps.size());
    bool removed = false;
    if (!TutorialWaiting) {
        while (TutorialStepIndex < count) {
            const TutorialStep& step = t->steps[static_cast<size_t>(TutorialStepIndex)];
            if (!step.text.empty()) TutorialActions.showText(step.text.c_str());
            if (step.action == 1 && CurrentLevel != nullptr) {
                // The list holds only live blockers: a deleted one leaves it.
                for (GameObj* blocker : CurrentLevel->customBlockers) {
                    if (blocker != nullptr && blocker->GetName() == step.value) {
                        QueueObjectDeletion(blocker);
                        removed = true;
                        break;
                    }
                }
            }
            if (step.trigger != 0) {
                TutorialWaiting = true;
                break;
            }
            ++TutorialStepIndex;
        }
    }
    if (removed) DeleteQueuedObjects();
    if (TutorialStepIndex == count) {
        // Completion happens once, however many turns pass before the play loop ends.
        TutorialFinished = true;
        t->completed = 1;
        TutorialActions.playTune("tunes/orb-unlooped.ogg");
        TutorialCompletionChoice = TutorialActions.completeDialog();
        TutorialContinueFlag = TutorialCompletionChoice != 0 ? 1 : 0;
        LeaveGameFlag = true;
    }
}

#pragma once
// Tutorials ("tutorial.xml"): short scripted games, each in one hand-made room.
//
// A tutorial names its room template and the hero's start square, what the hero is given,
// and a script of steps. A step shows a text, may remove a named custom blocker, and with a
// trigger waits until the hero's deed with that code is reported (NotifyTutorial). When the
// last step has run the tutorial is completed once: the tune, the completion question and
// the leave-game flag.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TutorialStep {
    std::string text;       // shown when the step runs; empty shows nothing
    int32_t trigger = 0;    // trigger code; 0 = none
    std::string value;      // the argument of the action
    int32_t action = 0;     // 0 none, 1 removeblocker
};

struct Tutorial {
    std::string name;
    std::string description;
    std::string icon;
    int32_t infoFlag = 0;
    std::string room;       // the room template to build
    int32_t playerStartX = 0;
    int32_t playerStartY = 0;
    std::vector<int32_t> skills;
    std::vector<std::string> equipment;
    std::vector<std::string> items;
    std::vector<std::string> abilities;
    std::vector<TutorialStep> steps;
    int32_t completed = 0;  // 1 once the last step has run
};

// Every tutorial in file order (owned).
extern std::vector<Tutorial*> Tutorials;
extern bool TutorialsLoaded;
// The running tutorial, or null.
extern Tutorial* CurrentTutorial;
extern int32_t TutorialStepIndex;
// Set from the answer of the tutorial-complete dialog once the last step has run (nonzero:
// go on to the next tutorial); cleared when the player leaves a tutorial from the settings
// window, so the tutorial screen returns to its list.
extern int32_t TutorialContinueFlag;

// Reads "game//tutorial.xml" and sets the tutorials-loaded flag.
void LoadTutorial();
// Destroys every tutorial record and clears the loaded flag.
void ClearTutorials();
// Reports a deed of the hero with its trigger code (the second value is ignored).
void NotifyTutorial(int32_t code, int32_t value);
// Called with the code of every report, before the running tutorial (if any) looks at it;
// null by default. Tests use it to see which deeds report what.
extern void (*TutorialReportObserver)(int32_t code);
// Reports a deed with its trigger code and a name (a spell's, an item's).
void NotifyTutorial(int32_t code, const std::string& name);
// One report of a deed with its name, kept while a tutorial record is current.
struct TutorialNotice {
    int32_t code = 0;
    std::string name;
};
// The latest named reports (at most kMaxTutorialNotices, oldest dropped first).
extern std::vector<TutorialNotice> PendingTutorialNotices;
constexpr size_t kMaxTutorialNotices = 64;
// Runs the script from the current step.
void RunTutorialStep();

// ---- reading and play state ----------------------------------------------------------------
// The trigger code of a trigger word (0 for an unknown or empty word) and the action code of
// an action word (1 for "removeblocker", else 0).
int32_t TutorialTriggerCode(const std::string& word);
int32_t TutorialActionCode(const std::string& word);
// True for the codes whose next step runs at once when reported; the others wait for the
// next turn.
bool TutorialCodeRunsAtOnce(int32_t code);
// Reads a tutorial document from memory and appends its tutorials (the label names it in
// the diagnostic of a broken document). False when the document is broken; the tutorials
// closed before the fault are kept.
bool LoadTutorialsFromText(const char* data, size_t length, const char* label);
// Set while the current step waits for its trigger; set once the last step has run; the
// answer of the completion question.
extern bool TutorialWaiting;
extern bool TutorialFinished;
extern int32_t TutorialCompletionChoice;
// Makes the tutorial current at its first step, with the play flags clear.
void BeginTutorial(Tutorial* tutorial);

// What running the steps calls above the level model; tests may replace them. The defaults
// show the generic dialog, play the tune once and ask the completion question.
struct TutorialCalls {
    void (*showText)(const char* text);
    void (*playTune)(const char* file);
    int32_t (*completeDialog)();
};
extern TutorialCalls TutorialActions;

#pragma once
// Tutorials ("tutorial.xml"): short scripted games, each in one hand-made room.
//
// Stand-in: the list exists but the loader reads nothing yet, and trigger reports do
// nothing. Still to be built here: reading "game//tutorial.xml" (info, room, skill,
// equip, item, ability and script elements, names compared ignoring case), the trigger
// words and codes, running the steps (texts through ShowDialog, "removeblocker"),
// waiting for triggers, completion and the completion dialog.
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
// Reports a deed with its trigger code and a name (a spell's, an item's).
void NotifyTutorial(int32_t code, const std::string& name);
// One report of the hero's deeds that the running tutorial has not handled yet.
struct TutorialNotice {
    int32_t code = 0;
    std::string name;
};
// Stand-in: the tutorial steps do not read the reports yet; they are only collected here
// while a tutorial runs.
extern std::vector<TutorialNotice> PendingTutorialNotices;
// Runs the script from the current step.
void RunTutorialStep();

// Stand-in: what is still to be built is listed at the top of levels/tutorial.h.
#include "levels/tutorial.h"

std::vector<Tutorial*> Tutorials;
bool TutorialsLoaded = false;
Tutorial* CurrentTutorial = nullptr;
int32_t TutorialContinueFlag = 0;
int32_t TutorialStepIndex = 0;

void LoadTutorial() {
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

void NotifyTutorial(int32_t, int32_t) {}

std::vector<TutorialNotice> PendingTutorialNotices;

void NotifyTutorial(int32_t code, const std::string& name) {
    if (CurrentTutorial == nullptr) return;
    TutorialNotice notice;
    notice.code = code;
    notice.name = name;
    PendingTutorialNotices.push_back(notice);
}

void RunTutorialStep() {}

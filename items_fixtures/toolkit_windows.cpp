#include "items_fixtures/toolkit_windows.h"

std::vector<ToolkitWindow> ToolkitWindows;
bool ToolkitWindowDragging = false;

void DragToolkitWindow(int32_t, int32_t) {}

void ClickToolkitWindows() {}

Toolkit* FindToolkitOfKind(const char*) {
    return nullptr;
}

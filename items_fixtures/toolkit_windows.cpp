// Stand-in: what is still to be built is listed at the top of items_fixtures/toolkit_windows.h.
#include "items_fixtures/toolkit_windows.h"

std::vector<ToolkitWindow> ToolkitWindows;
bool ToolkitWindowDragging = false;

void DragToolkitWindow(int32_t, int32_t) {}

void ClickToolkitWindows() {}

Toolkit* FindToolkitOfKind(const char*) {
    return nullptr;
}

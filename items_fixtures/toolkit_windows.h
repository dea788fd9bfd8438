#pragma once
// The toolkit windows (one per carried toolkit kind) over the play screen.
//
// Stand-in: the window list exists but nothing opens it. Still to be built here:
// opening from Toolkit::Use, drawing, clicking (crafting with the kit) and dragging the
// front window.
#include <cstdint>
#include <string>
#include <vector>

class Item;
class Toolkit;

struct ToolkitWindow {
    std::string kind;  // "alchemy", "grinder", "ingot", "lutefisk", "smithing", "still", "tinkerer"
    // What lies in the window (owned by the hero and saved with it): the made item and the
    // ingredient slots.
    Item* output = nullptr;
    std::vector<Item*> slots;
    bool open = false;
    int32_t x = 0;
    int32_t y = 0;
};

// In window order; the front window is the first.
extern std::vector<ToolkitWindow> ToolkitWindows;
extern bool ToolkitWindowDragging;

void DragToolkitWindow(int32_t x, int32_t y);
void ClickToolkitWindows();
// The carried toolkit of that kind, or null.
Toolkit* FindToolkitOfKind(const char* kind);

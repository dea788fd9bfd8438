// Every test runs headless: no window, no sound card, no desktop dialog waiting for a click.
// Set before any test or static object touches SDL or OpenAL; a value already in the
// environment is kept.
#include <cstdlib>

#include "platform/desktop_dialog.h"

namespace {

struct HeadlessEnvironment {
    HeadlessEnvironment() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("ALSOFT_DRIVERS", "null", 0);
        SetDesktopDialogs(DesktopDialogs::Never);
    }
};

const HeadlessEnvironment kHeadless;

}  // namespace

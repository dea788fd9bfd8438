#include "core/startup.h"

// Temporary entry while start-up is being assembled.
int GameMain(int, char**) {
    return 0;
}

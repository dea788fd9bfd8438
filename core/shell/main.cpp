#include "core/shell/startup.h"

int main(int argc, char** argv) {
    return GameMain(argc, argv);
}

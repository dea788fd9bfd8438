#include "core/command_state.h"

CommandLineState CmdLine;

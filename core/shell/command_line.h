#pragma once
// The command line: start-up flags, debug traces, a test room, the window, and a
// quick start that makes a hero or loads a save without the menus.
// Every option is recognised by prefix: an argument matches an option when it
// begins with the option's text.
#include <cstdint>
#include <string>
#include <vector>

#include "core/command_state.h"

class Player;


// Reads the start-up options into CmdLine. Prints the program path, starts the
// virtual file system with it (unless already started), then reads the options
// from argument 1 on. "-docs" prints the room-script reference and ends the process.
bool ParseCommandLine(int argc, char** argv);

// A new hero made from the "-player-..." options, skills applied, or null when no
// argument is a "-player-" option.
Player* CreatePlayerFromCommandLine(int argc, char** argv);

// The text after "-load-filename=" of the last argument (from argument 1 on) that
// begins with it, or "".
std::string GetLoadFilenameArg(int argc, char** argv);

bool StringStartsWith(std::string text, std::string prefix);

// Marks the listed skills as chosen in the skill table (clearing all others),
// writes them to "last.txt", then gives the hero its starting kit and animations
// (with CurrentPlayer pointing at the hero meanwhile).
void ApplyChosenSkills(Player* hero, const std::vector<int32_t>& skills);

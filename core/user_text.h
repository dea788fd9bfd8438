// Text that the player types or passes on the command line (the hero's name) and that the
// game later writes into its line-based user files ("loadsave.dat", "hiscores.txt").
#pragma once

#include <string>

// The text with every run of control characters (line breaks, tabs, escapes, DEL) turned
// into one blank and the blanks at both ends removed, so that it always stays one line.
// Other bytes, those of UTF-8 letters included, are kept.
std::string CleanNameText(const std::string& text);

// Helpers over the virtual file system (PhysicsFS): mounting the data tree and reading whole
// files with a case-insensitive retry.
#pragma once

#include <string>
#include <vector>

// Mounts the data tree (initialising the virtual file system first when needed): the expansion
// folders in order, the core archive "zarnochcore.zip" ahead of everything and the working
// directory last. A folder or archive that is missing is skipped without a message. Symbolic
// links in the tree are followed.
void MountDataTree();

// The name under which the virtual file system holds `name`: backslashes and doubled slashes are
// normalised ("game//x" -> "game/x"); when the exact name is missing each component is matched
// ignoring case. "" when nothing matches.
std::string VfsResolveName(const std::string& name);

// Reads a whole file into `out`. False (and `out` empty) when the file is missing or unreadable.
bool VfsReadFile(const std::string& name, std::vector<char>& out);

// True when the file or folder exists in the virtual file system (same lookup as VfsReadFile).
bool VfsExists(const std::string& name);

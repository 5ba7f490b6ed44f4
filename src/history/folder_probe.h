#pragma once
// Whether the program can write in a folder at all, found out by trying.

#include <string>

#include "platform/file_system.h"

namespace solvane {

// Creates a file of a name not in use in `folder` (with its trailing
// separator) and removes it again. False when the file cannot be created
// or closed: a read-only disk, a folder the user may only read (Program
// Files), a share without write access.
bool FolderIsWritable(FileSystem& files, const std::string& folder);

}  // namespace solvane

#pragma once
// The program file: where it is and what it is called.

#include <string>

namespace solvane::win32 {

// The folder of the program file, with its trailing separator.
std::string ProgramFolder();
// The program file's name cut before its first ".", all but the first
// character in lower case ("SolvaneClips.exe" gives "Solvaneclips").
std::string ApplicationTitle();

}  // namespace solvane::win32

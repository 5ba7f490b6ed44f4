#pragma once
#include <string>

namespace solvane {

// The application's title from its program file's path: the file name cut
// before its first ".", every character after the first in lower case
// ("C:\Tools\SolvaneClips.exe" gives "Solvaneclips").
std::string ApplicationTitleOf(const std::string& programPath);

}  // namespace solvane

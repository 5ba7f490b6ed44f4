#include "platform/win32/win32_program_file.h"

#include <windows.h>

#include "base/app_title.h"

namespace solvane::win32 {

namespace {

std::string ModulePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::string ProgramFolder() {
  const std::string path = ModulePath();
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ApplicationTitle() { return ApplicationTitleOf(ModulePath()); }

}  // namespace solvane::win32

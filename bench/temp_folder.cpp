#include "temp_folder.h"

#include <random>
#include <system_error>

namespace solvane::bench {

TempFolder::TempFolder() {
  std::random_device entropy;
  for (;;) {
    root_ = std::filesystem::temp_directory_path() / ("solvane-bench-" + std::to_string(entropy()));
    if (std::filesystem::create_directory(root_)) return;  // false: the name was taken
  }
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

}  // namespace solvane::bench

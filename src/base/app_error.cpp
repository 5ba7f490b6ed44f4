#include "base/app_error.h"

namespace solvane {

std::string CannotOpenFileMessage(const std::string& path) { return "Cannot open file " + path; }

std::string CannotCreateFileMessage(const std::string& path) { return "Cannot create file " + path; }

std::string ListIndexOutOfBoundsMessage(int index) {
  return "List index out of bounds (" + std::to_string(index) + ")";
}

}  // namespace solvane

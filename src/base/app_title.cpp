#include "base/app_title.h"

#include "base/text_buffer.h"

namespace solvane {

std::string ApplicationTitleOf(const std::string& programPath) {
  const std::size_t slash = programPath.find_last_of("\\/");
  std::string name = slash == std::string::npos ? programPath : programPath.substr(slash + 1);
  name = name.substr(0, name.find('.'));
  for (std::size_t i = 1; i < name.size(); ++i) name[i] = AsciiLower(name[i]);
  return name;
}

}  // namespace solvane

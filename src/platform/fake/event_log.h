#pragma once
// What the fakes record of what a user would see, in order.

#include <string>
#include <vector>

namespace solvane::fake {

using EventLog = std::vector<std::string>;

}  // namespace solvane::fake

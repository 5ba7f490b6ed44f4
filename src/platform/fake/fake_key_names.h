#pragma once
#include <string>

#include "base/shortcut.h"

namespace solvane::fake {

// A US layout's names for a few keys without fixed names.
class FakeKeyNames : public KeyNames {
 public:
  std::string PlatformKeyName(unsigned virtualKey) override;
};

}  // namespace solvane::fake

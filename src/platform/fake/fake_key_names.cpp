#include "platform/fake/fake_key_names.h"

namespace solvane::fake {

std::string FakeKeyNames::PlatformKeyName(unsigned virtualKey) {
  switch (virtualKey) {
    case 0xBA:
      return ";";
    case 0xBB:
      return "=";
    case 0xBC:
      return ",";
    case 0xC0:
      return "`";
    case 0x10:
      return "Shift";
    case 0x90:
      return "Num Lock";
    default:
      return "";
  }
}

}  // namespace solvane::fake

// Hotkey texts as the settings file may hold them. Whatever TextToShortCut
// makes of a text, ShortCutToText names it, and that name reads back to the
// same value (with the program's own key names and with a layout whose keys
// are named "^", "+" or a small letter). Letter case never matters.

#include <string>
#include <vector>

#include "base/shortcut.h"
#include "fuzz_support.h"
#include "platform/fake/fake_key_names.h"

namespace solvane::fuzz {

namespace {

// A keyboard layout whose one-character names could be taken for a
// modifier prefix, a separator, another key or a byte outside ASCII; codes
// below 8 get names too, which only codes from 256 up can reach.
class OddLayoutKeyNames : public KeyNames {
 public:
  std::string PlatformKeyName(unsigned virtualKey) override {
    switch (virtualKey) {
      case 0x07:
        return "~";
      case 0x0A:
        return "q";
      case 0xBA:
        return "^";
      case 0xBB:
        return "+";
      case 0xBC:
        return ",";
      case 0xBD:
        return "-";
      case 0xBF:
        return "#";
      case 0xC0:
        return "\xF6";
      case 0xDB:
        return "\xDF";
      case 0xDC:
        return "a";
      case 0xDE:
        return "\xE4";
      case 0xE2:
        return "<";
      case 0x14:
        return "Caps Lock";
      default:
        return "";
    }
  }
};

std::string SwapCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    } else if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return out;
}

void CheckText(std::string_view text, KeyNames& names) {
  const ShortCut value = TextToShortCut(text, names);
  FUZZ_CHECK(TextToShortCut(SwapCase(text), names) == value);
  const std::string name = ShortCutToText(value, names);
  if (value == 0) return;
  const unsigned code = value & 0x1FFF;
  FUZZ_CHECK(code >= 8 && code <= 597);
  FUZZ_CHECK(!name.empty());
  FUZZ_CHECK(TextToShortCut(name, names) == value);
}

}  // namespace

std::vector<std::string> Seeds() {
  return {"Ctrl+Alt+Down",
          "Ctrl+Shift+Up",
          "^Down",
          "shift+ctrl+f5",
          "ALT+CTRL+DOWN",
          "Shift+Shift+A",
          "Ctrl+;",
          "Alt+`",
          "F24",
          "5",
          "Ctrl++",
          "^^",
          "Ctrl+^",
          "Num Lock",
          "Shift",
          "Ctrl+Nothing",
          "",
          "Ctrl+Alt+",
          "~",
          "Ctrl+Q",
          "\xF6"};
}

std::vector<std::string> DictionaryWords() {
  return {"Shift+", "Ctrl+", "Alt+", "^",    "BkSp", "Tab",   "Enter", "Esc", "Space", "PgUp",
          "PgDn",   "End",   "Home", "Left", "Up",   "Right", "Down",  "Ins", "Del",   "F1",
          "F12",    "F24",   ";",    "=",    ",",    "`",     "+",     "~",   "#"};
}

}  // namespace solvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace solvane;
  using namespace solvane::fuzz;
  const std::string_view text = Bytes(data, size);
  fake::FakeKeyNames programNames;
  OddLayoutKeyNames oddNames;
  CheckText(text, programNames);
  CheckText(text, oddNames);

  // Any value the settings could carry: its name, when it has one, reads
  // back to a value with that same name (keypad digits share the digit
  // names, so the value itself may differ).
  if (size >= 2) {
    const ShortCut value = static_cast<ShortCut>(data[0] | (data[1] << 8));
    const std::string name = ShortCutToText(value, programNames);
    if (!name.empty()) FUZZ_CHECK(ShortCutToText(TextToShortCut(name, programNames), programNames) == name);
  }
  return 0;
}

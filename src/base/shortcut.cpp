#include "base/shortcut.h"

#include "base/text_buffer.h"

namespace solvane {

namespace {

std::string KeyName(unsigned code, KeyNames& names) {
  switch (code) {
    case 0x08:
      return "BkSp";
    case 0x09:
      return "Tab";
    case 0x0D:
      return "Enter";
    case 0x1B:
      return "Esc";
    case 0x20:
      return "Space";
    case 0x21:
      return "PgUp";
    case 0x22:
      return "PgDn";
    case 0x23:
      return "End";
    case 0x24:
      return "Home";
    case 0x25:
      return "Left";
    case 0x26:
      return "Up";
    case 0x27:
      return "Right";
    case 0x28:
      return "Down";
    case 0x2D:
      return "Ins";
    case 0x2E:
      return "Del";
    default:
      break;
  }
  if ((code >= 0x30 && code <= 0x39) || (code >= 0x41 && code <= 0x5A)) return std::string(1, static_cast<char>(code));
  if (code >= 0x60 && code <= 0x69) return std::string(1, static_cast<char>('0' + (code - 0x60)));
  if (code >= 0x70 && code <= 0x87) {
    // Appended rather than "F" + std::string: GCC 12 at -O3 warns
    // (-Wrestrict) about the library's own code for that form.
    std::string name(1, 'F');
    name += std::to_string(code - 0x70 + 1);
    return name;
  }
  std::string name = names.PlatformKeyName(code);
  return name.size() == 1 ? name : std::string();
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool StripPrefix(std::string_view& text, std::string_view prefix) {
  if (text.size() < prefix.size() || !EqualsNoCase(text.substr(0, prefix.size()), prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

}  // namespace

std::string ShortCutToText(ShortCut value, KeyNames& names) {
  const std::string name = KeyName(value & 0xFF, names);
  if (name.empty()) return {};
  std::string text;
  if (value & kShiftBit) text += "Shift+";
  if (value & kCtrlBit) text += "Ctrl+";
  if (value & kAltBit) text += "Alt+";
  return text + name;
}

ShortCut TextToShortCut(std::string_view text, KeyNames& names) {
  ShortCut modifiers = 0;
  for (;;) {
    if (StripPrefix(text, "Shift+")) {
      modifiers |= kShiftBit;
    } else if (StripPrefix(text, "^") || StripPrefix(text, "Ctrl+")) {
      modifiers |= kCtrlBit;
    } else if (StripPrefix(text, "Alt+")) {
      modifiers |= kAltBit;
    } else {
      break;
    }
  }
  if (text.empty()) return 0;
  for (unsigned code = 8; code <= 597; ++code) {
    if (EqualsNoCase(ShortCutToText(static_cast<ShortCut>(code), names), text)) {
      return static_cast<ShortCut>(modifiers | code);
    }
  }
  return 0;
}

}  // namespace solvane

#pragma once
// Shortcut values and their texts ("Ctrl+Alt+Down"): the key code in the low
// 13 bits, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt; 0 is no key.

#include <cstdint>
#include <string>
#include <string_view>

namespace solvane {

using ShortCut = std::uint16_t;

inline constexpr ShortCut kShiftBit = 0x2000;
inline constexpr ShortCut kCtrlBit = 0x4000;
inline constexpr ShortCut kAltBit = 0x8000;

// The platform's own name for a key without a fixed name.
class KeyNames {
 public:
  virtual ~KeyNames() = default;
  // The name the keyboard layout gives the virtual key; "" when none.
  virtual std::string PlatformKeyName(unsigned virtualKey) = 0;
};

// "Shift+", "Ctrl+", "Alt+" for the bits set, then the key's name; "" when
// the key has no name (modifiers included).
std::string ShortCutToText(ShortCut value, KeyNames& names);

// Modifier prefixes in any order and letter case ("^" also means Ctrl),
// then a key name compared without regard to case with the names of the
// codes 8 to 597 in ascending order. 0 when the text names no key.
ShortCut TextToShortCut(std::string_view text, KeyNames& names);

}  // namespace solvane

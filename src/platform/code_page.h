#pragma once
// The system's ANSI code page, as the search of ANSI clip texts needs it.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace solvane {

// How the code page's bytes change case.
struct AnsiCase {
  // Each byte's lower-case form; the byte itself for one that is no
  // upper-case letter, and for a lead byte.
  std::array<unsigned char, 256> lower{};
  // The bytes that start a two-byte character; none in a one-byte code page.
  std::array<bool, 256> lead{};
};

class CodePage {
 public:
  virtual ~CodePage() = default;
  // The UTF-8 text in the code page's bytes; nullopt when a character has no
  // exact form there (never a look-alike: "ł" is not "l").
  virtual std::optional<std::string> FromUtf8(std::string_view utf8) = 0;
  // The case of the code page's letters; the same for the whole run.
  virtual const AnsiCase& Case() = 0;
};

}  // namespace solvane

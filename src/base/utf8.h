#pragma once
// UTF-8 helpers for the clips whose exact text the ANSI code page cannot
// hold: those are kept, shown and pasted in UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

namespace solvane {

// Whether the bytes are well-formed UTF-8: shortest forms only, no
// surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// The largest cut at or before `at` that does not split a character.
std::size_t Utf8CutPoint(std::string_view text, std::size_t at);

// The number of characters (code points) in well-formed UTF-8.
std::size_t Utf8Length(std::string_view text);
// The byte offset after the first `characters` characters (the size when
// there are fewer).
std::size_t Utf8Offset(std::string_view text, std::size_t characters);

// The letters from..from+25 become to..to+25 (a-z to A-Z or back); every
// other byte stays. Safe on UTF-8, whose multi-byte characters use no ASCII
// bytes.
void ConvertAsciiLetters(std::string& text, char from, char to);

}  // namespace solvane

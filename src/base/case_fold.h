#pragma once
// Letter case in Unicode text, for comparing exact texts without regard to
// case: the simple case folding of the Unicode Character Database (one code
// point to one code point).

#include <cstddef>
#include <string>
#include <string_view>

namespace solvane {

// The folded form of a code point: 'A' and 'a' give 'a', U+0141 (Ł) gives
// U+0142 (ł); a code point without another case gives itself.
char32_t FoldCase(char32_t c);

// The character that starts at text[at], `at` moved past it. A byte that
// starts no well-formed character gives U+FFFD and moves one byte.
char32_t DecodeUtf8(std::string_view text, std::size_t& at);

// UTF-8 text with every character folded.
std::string FoldCaseUtf8(std::string_view text);

}  // namespace solvane

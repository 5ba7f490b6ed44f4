#pragma once
// The one-line title shown for a clip.

#include <string>
#include <string_view>

#include "platform/text_metrics.h"

namespace solvane {

inline constexpr int kMaxTitleWidth = 180;
inline constexpr std::size_t kMaxTitleSource = 4096;

// From the clip's text: the first line with a visible character (a character
// above 32) after its leading blanks, else the first line, kept as it is;
// cut to at most 180 pixels; "..." added when it was cut or the text has two
// or more lines.
std::string BuildTitle(std::string_view text, TextMetrics& metrics);
// The same for a clip's exact text in UTF-8; no character is cut in two.
std::string BuildExactTitle(std::string_view utf8, TextMetrics& metrics);
// A clip's line in the list: its title, the padding and its key, made as
// one string (a merge makes one for every clip of a history).
std::string BuildTitleLine(std::string_view text, TextMetrics& metrics, std::string_view key);
std::string BuildExactTitleLine(std::string_view utf8, TextMetrics& metrics, std::string_view key);

}  // namespace solvane

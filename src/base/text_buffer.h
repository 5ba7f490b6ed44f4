#pragma once
// How text is cut into lines: in the text buffers (clipboard text, store
// records) and in the clip files.

#include <string>
#include <string_view>
#include <vector>

namespace solvane {

inline constexpr std::string_view kCrLf = "\r\n";

// The first `c` in [first, last), or last. Sixteen bytes a step: the C
// runtime's memchr is a byte loop on some systems, and a loaded history is
// searched through megabytes at a time.
const char* FindByte(const char* first, const char* last, char c);

// Lines of a text buffer: CR LF, a lone CR and a lone LF each end a line.
// Never empty: "" is one empty line, and a text ending in a line break ends
// with an empty line, so joining the lines with CR LF gives the text back
// with its breaks made CR LF.
std::vector<std::string> SplitBufferLines(std::string_view text);
// The same lines as views into `text`.
std::vector<std::string_view> BufferLineViews(std::string_view text);

// The same lines, each followed by CR LF, appended to `out`.
void AppendBufferLines(std::string& out, std::string_view text);

// The line count of a buffer as a list of strings sees it: 0 for "", and a
// final line break does not start a further line ("abc\r\n" is one line).
int BufferLineCount(std::string_view text);

// The text with every line break made CR LF.
std::string NormalizeLineBreaks(std::string_view text);

std::string JoinLines(const std::vector<std::string>& lines);

// Clip text store file: split at CR LF only; a last line without a break
// counts; an empty file has no lines.
std::vector<std::string> SplitStoreFile(std::string_view bytes);

// Title list file: a line also ends at a lone CR or LF, and reading stops at
// the first NUL byte. The lines are views into `bytes`.
std::vector<std::string_view> SplitTitleFile(std::string_view bytes);
// How much of a title file is read: the bytes before its first NUL.
std::size_t TitleFileLength(std::string_view bytes);
// The lines of a title file already cut at its NUL.
std::vector<std::string_view> SplitTitleLines(std::string_view bytes);

// Every line followed by CR LF.
std::string JoinFileLines(const std::vector<std::string>& lines);

// Case-insensitive ASCII comparison helpers used by the lookup.
inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
std::string AsciiLower(std::string_view text);

}  // namespace solvane

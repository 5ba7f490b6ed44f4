#pragma once
// Conversions between the program's UTF-8 and ANSI strings and the wide
// strings of the W functions.

#include <windows.h>

#include <string>
#include <string_view>

namespace solvane::win32 {

// From a code page's bytes (CP_UTF8, CP_ACP) to UTF-16. Malformed input
// becomes U+FFFD.
std::wstring Widen(std::string_view text, UINT codePage = CP_UTF8);
// From UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8Of(std::wstring_view text);

}  // namespace solvane::win32

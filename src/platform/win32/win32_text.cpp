#include "platform/win32/win32_text.h"

#include <climits>

namespace solvane::win32 {

// Texts beyond INT_MAX units do not reach here: the clipboard's and the
// store's limits lie far below.
std::wstring Widen(std::string_view text, UINT codePage) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 0), L'\0');
  if (units > 0) MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), units);
  return wide;
}

std::string Utf8Of(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX / 3) return {};
  const int size = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

}  // namespace solvane::win32

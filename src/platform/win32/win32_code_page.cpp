#include "platform/win32/win32_code_page.h"

#include "platform/win32/win32_text.h"

namespace solvane::win32 {

Win32CodePage::Win32CodePage() {
  CPINFO info{};
  const bool doubleByte = GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1;
  for (int byte = 0; byte < 256; ++byte) {
    const auto b = static_cast<unsigned char>(byte);
    case_.lead[b] = doubleByte && IsDBCSLeadByte(b);
    char c = static_cast<char>(b);
    // The system's own rule for the code page's letters.
    if (!case_.lead[b] && byte != 0) CharLowerBuffA(&c, 1);
    case_.lower[b] = static_cast<unsigned char>(c);
  }
}

std::optional<std::string> Win32CodePage::FromUtf8(std::string_view utf8) {
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) return std::string();
  // NOTE: without WC_NO_BEST_FIT_CHARS the system writes a look-alike for a
  // character the code page lacks ("l" for "ł"), which would match wrongly.
  BOOL lacking = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, &lacking);
  if (length <= 0 || lacking) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), bytes.data(), length,
                      nullptr, &lacking);
  if (lacking) return std::nullopt;
  return bytes;
}

}  // namespace solvane::win32

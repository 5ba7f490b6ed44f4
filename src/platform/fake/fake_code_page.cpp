#include "platform/fake/fake_code_page.h"

#include "base/case_fold.h"

namespace solvane::fake {

FakeCodePage::FakeCodePage() {
  for (int byte = 0; byte < 256; ++byte) {
    // A-Z, and the Latin-1 capitals but the multiplication sign.
    const bool capital = (byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7);
    case_.lower[static_cast<std::size_t>(byte)] = static_cast<unsigned char>(capital ? byte + 32 : byte);
  }
}

std::optional<std::string> FakeCodePage::FromUtf8(std::string_view utf8) {
  std::string bytes;
  for (std::size_t at = 0; at < utf8.size();) {
    const char32_t c = DecodeUtf8(utf8, at);
    if (c > 0xFF) return std::nullopt;
    bytes += static_cast<char>(c);
  }
  return bytes;
}

}  // namespace solvane::fake

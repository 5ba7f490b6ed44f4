#include "base/str_to_int.h"

#include "base/app_error.h"

namespace solvane {

bool TryStrToInt(const std::string& text, std::int32_t& value) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t digits = i;
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > 2147483648LL) break;
  }
  if (i == digits || i != text.size() || magnitude > (negative ? 2147483648LL : 2147483647LL)) return false;
  value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
  return true;
}

std::int32_t StrToInt(const std::string& text) {
  std::int32_t value = 0;
  if (!TryStrToInt(text, value)) throw AppError("'" + text + "' is not a valid integer value");
  return value;
}

}  // namespace solvane

#include "core/str_to_int.h"

#include "core/app_error.h"

namespace solvane {

std::int32_t StrToInt(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t digits = i;
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) break;
  }
  if (i == digits || i != text.size() || value > (negative ? 2147483648LL : 2147483647LL)) {
    throw AppError("'" + text + "' is not a valid integer value");
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace solvane

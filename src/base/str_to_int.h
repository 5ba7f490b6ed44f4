#pragma once
#include <cstdint>
#include <string>

namespace solvane {

// A whole decimal number as the settings hold it: optional blanks in front,
// an optional sign, digits, nothing after, within 32 bits. Otherwise throws
// AppError "'%s' is not a valid integer value".
std::int32_t StrToInt(const std::string& text);
// The same reading without the error: false (and `value` unchanged) when the
// text is not such a number.
bool TryStrToInt(const std::string& text, std::int32_t& value);

}  // namespace solvane

#pragma once
// What the fuzz targets share. A failed check aborts, so libFuzzer keeps the
// input that broke it. Each target writes its own seeds and dictionary
// (scripts/fuzz.sh asks for them with --write-seeds=DIR and
// --write-dict=FILE), so they are built from the program's own constants and
// follow the file formats when those change.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::fuzz {

[[noreturn]] void Fail(const char* what, const char* file, int line);

#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : ::solvane::fuzz::Fail(#condition, __FILE__, __LINE__))

// Defined by each target.
std::vector<std::string> Seeds();
std::vector<std::string> DictionaryWords();

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// ASCII-only case folding, as the program compares keys and names.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace solvane::fuzz

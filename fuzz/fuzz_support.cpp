#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace solvane::fuzz {

void Fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "\ncheck failed: %s\n  at %s:%d\n", what, file, line);
  std::abort();
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

namespace {

// libFuzzer's dictionary syntax: one quoted word a line, with every byte
// outside printable ASCII (and the quote and backslash) escaped.
std::string DictionaryLine(const std::string& word) {
  std::string line = "\"";
  for (const unsigned char c : word) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      line += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      line += escaped;
    }
  }
  return line + "\"\n";
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

const char* Value(const char* arg, const char* flag) {
  const std::size_t n = std::strlen(flag);
  return std::strncmp(arg, flag, n) == 0 ? arg + n : nullptr;
}

}  // namespace

}  // namespace solvane::fuzz

// Flags starting with "--" are left to the program by libFuzzer. With either
// writer flag the target writes what was asked (the folder must exist) and
// ends without fuzzing.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  using namespace solvane::fuzz;
  bool wrote = false;
  for (int i = 1; i < *argc; ++i) {
    const char* arg = (*argv)[i];
    if (const char* dir = Value(arg, "--write-seeds=")) {
      const std::vector<std::string> seeds = Seeds();
      for (std::size_t n = 0; n < seeds.size(); ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "/seed-%03zu", n);
        if (!WriteFile(dir + std::string(name), seeds[n])) {
          std::fprintf(stderr, "cannot write the seeds to %s\n", dir);
          std::exit(1);
        }
      }
      wrote = true;
    } else if (const char* file = Value(arg, "--write-dict=")) {
      std::string text;
      for (const std::string& word : DictionaryWords()) text += DictionaryLine(word);
      if (!WriteFile(file, text)) {
        std::fprintf(stderr, "cannot write the dictionary %s\n", file);
        std::exit(1);
      }
      wrote = true;
    }
  }
  if (wrote) std::exit(0);
  return 0;
}

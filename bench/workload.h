#pragma once
// The benchmarks' clip history, generated from a fixed seed so every run
// measures the same bytes; nothing of it is checked in.

#include <cstddef>
#include <string>
#include <vector>

namespace solvane::bench {

struct Workload {
  std::string titleFile;            // "Lb1.qlx" bytes, one title item per record
  std::string storeFile;            // "Cb1.qlx" bytes
  std::vector<std::string> titles;  // title items, newest first
  // "Lb1.qlx" after a paste has cut the list to its 72 newest titles; the
  // store keeps every record.
  std::string shortTitleFile;
  std::size_t storeChars = 0;       // as ClipTextStore::CharCount counts them
  // Distinct single-line clips of 100 characters, for capture.
  std::vector<std::string> captures;
};

inline constexpr std::size_t kStoreChars = 16'000'000;
inline constexpr std::size_t kCaptureLength = 100;

// Built on first use (a second or so), then shared.
const Workload& TheWorkload();

}  // namespace solvane::bench

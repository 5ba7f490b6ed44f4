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
  std::size_t storeChars = 0;  // as ClipTextStore::CharCount counts them
  // Distinct single-line clips of 100 characters, for capture.
  std::vector<std::string> captures;

  // The same history with every tenth clip holding Greek and CJK letters,
  // which the ANSI code page (Latin-1 on the fake desktop) cannot: its
  // title and store records hold "?" for them, as the clipboard's ANSI text
  // does, and "Cb1.utf8.qlx" its UTF-8 text. A history of its own, so the
  // files of the plain history stay as they were.
  std::string exactTitleFile;
  std::string exactStoreFile;
  std::string exactFile;
  int oldestExactLine = -1;  // the list line of the oldest such clip
  // The captures with Greek and CJK letters, in UTF-8.
  std::vector<std::string> exactCaptures;
};

inline constexpr std::size_t kStoreChars = 16'000'000;
inline constexpr std::size_t kCaptureLength = 100;

// Built on first use (a second or so), then shared.
const Workload& TheWorkload();
// The same kind of history as large as the store can hold (16,777,215
// characters), for the search under Wine.
const Workload& TheLargestWorkload();

}  // namespace solvane::bench

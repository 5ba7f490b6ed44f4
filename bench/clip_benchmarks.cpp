#include "clip_benchmarks.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <fstream>
#include <memory>

#include "core/clip_files.h"
#include "core/clip_text_store.h"
#include "history/history_keeper.h"
#include "search/clip_search.h"
#include "base/text_buffer.h"
#include "platform/fake/fake_title_list.h"
#include "platform/std/std_file_system.h"
#include "temp_folder.h"
#include "support/fake_desktop.h"
#include "ui/clip_window.h"
#include "workload.h"

namespace solvane::bench {

namespace {

using solvane::testing::FakeDesktop;

constexpr std::uint64_t kScrubFileSize = 4 << 20;

// FullExact: the history whose tenth clips have exact texts, in all three
// files.
enum class Files { Empty, Full, FullStoreShortList, FullExact };

// A clip window started on the fake desktop, with the workload's clip files
// or with empty ones (a first start).
struct Window {
  explicit Window(Files files) {
    const Workload& w = TheWorkload();
    if (files == Files::FullExact) {
      desk.files.files[FakeDesktop::Path(kTitleFileName)] = w.exactTitleFile;
      desk.files.files[FakeDesktop::Path(kStoreFileName)] = w.exactStoreFile;
      desk.files.files[FakeDesktop::Path(kExactFileName)] = w.exactFile;
    } else if (files != Files::Empty) {
      desk.files.files[FakeDesktop::Path(kTitleFileName)] = files == Files::Full ? w.titleFile : w.shortTitleFile;
      desk.files.files[FakeDesktop::Path(kStoreFileName)] = w.storeFile;
    }
    program = std::make_unique<ClipWindow>(desk.Platform());
  }
  // The first error box, or "" when none came up.
  std::string Error() const { return desk.dialogs.errors.empty() ? std::string() : desk.dialogs.errors.front(); }

  FakeDesktop desk;
  std::unique_ptr<ClipWindow> program;
};

std::string ReadWithOneStream(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(0, std::ios::end);
  std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0, std::ios::beg);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!in) throw std::runtime_error("cannot read " + path);
  return bytes;
}

void WriteWithOneStream(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

// Runs a benchmark body; a failure ends the benchmark with its message
// instead of ending the program.
template <typename Body>
void Guarded(benchmark::State& state, Body&& body) {
  try {
    body();
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
  }
}

void Capture(benchmark::State& state, Files files) {
  Guarded(state, [&] {
    const Workload& w = TheWorkload();
    Window window(files);
    const int before = window.desk.titles.Count();
    std::size_t next = 0;
    for (auto _ : state) window.desk.clipboard.CopyText(w.captures[next++ % w.captures.size()]);
    if (!window.Error().empty()) return state.SkipWithError(window.Error().c_str());
    if (window.desk.titles.Count() != before + static_cast<int>(state.iterations())) {
      state.SkipWithError("a copy was not captured");
    }
    state.counters["store_chars"] = static_cast<double>(window.program->store().CharCount());
  });
}

// Captures of texts the ANSI code page cannot hold, each kept with its
// exact text.
void CaptureExact(benchmark::State& state, Files files) {
  Guarded(state, [&] {
    const Workload& w = TheWorkload();
    Window window(files);
    const int before = window.desk.titles.Count();
    if (files == Files::FullExact && window.program->exactTexts().CharCount() == 0) {
      return state.SkipWithError("the exact texts were not loaded");
    }
    std::size_t next = 0;
    for (auto _ : state) window.desk.clipboard.CopyUnicode(w.exactCaptures[next++ % w.exactCaptures.size()]);
    if (!window.Error().empty()) return state.SkipWithError(window.Error().c_str());
    const auto captured = static_cast<int>(state.iterations());
    if (window.desk.titles.Count() != before + captured) return state.SkipWithError("a copy was not captured");
    for (int line = 0; line < captured; ++line) {
      if (window.desk.titles.ExactLine(line).empty()) return state.SkipWithError("a copy kept no exact text");
    }
    state.counters["exact_chars"] = static_cast<double>(window.program->exactTexts().CharCount());
  });
}

// What a paste gathers: the selected clip, or with run-to-top down the run
// from it up to the newest.
void Gather(benchmark::State& state, int line, bool runToTop, Files files = Files::Full) {
  Guarded(state, [&] {
    Window window(files);
    if (runToTop) window.program->ToggleRunToTop();
    if (window.program->runToTop() != runToTop) return state.SkipWithError("run-to-top did not switch");
    window.desk.titles.SetItemIndex(line < 0 ? window.desk.titles.Count() - 1 : line);
    GatheredText gathered;
    for (auto _ : state) {
      gathered = window.program->paste().GatherSelection();
      benchmark::DoNotOptimize(gathered.text.data());
    }
    if (!gathered.complete || gathered.text.empty()) return state.SkipWithError("no text gathered");
    if (files == Files::FullExact && !gathered.exact) return state.SkipWithError("no exact text gathered");
    state.counters["chars"] = static_cast<double>(gathered.text.size());
  });
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The baseline of lookup and gather: the oldest clip's header found the way
// a store without an index would, by reading its whole text.
void ScanForHeaderKey(benchmark::State& state) {
  Guarded(state, [&] {
    const Workload& w = TheWorkload();
    ClipTextStore store;
    store.Assign(SplitStoreFile(w.storeFile));
    const std::string text = store.Text();
    const std::string needle = std::string(kHeaderMarker) + ClipTextStore::KeyOfTitle(w.titles.back());
    const auto same = [](char a, char b) { return Lower(a) == Lower(b); };
    auto at = text.end();
    for (auto _ : state) {
      at = std::search(text.begin(), text.end(), needle.begin(), needle.end(), same);
      benchmark::DoNotOptimize(at);
    }
    if (at == text.end()) return state.SkipWithError("header not found");
    state.counters["offset"] = static_cast<double>(at - text.begin());
  });
}

// Clip files on disk in a temporary folder, as the workload has them.
struct DiskFiles {
  DiskFiles() {
    WriteWithOneStream(titles, TheWorkload().titleFile);
    WriteWithOneStream(store, TheWorkload().storeFile);
  }
  void Check() const {
    if (ReadWithOneStream(titles) != TheWorkload().titleFile || ReadWithOneStream(store) != TheWorkload().storeFile) {
      throw std::runtime_error("the files changed");
    }
  }
  TempFolder folder;
  std::string titles = folder.Path(kTitleFileName);
  std::string store = folder.Path(kStoreFileName);
};

void LoadAndSave(benchmark::State& state) {
  Guarded(state, [&] {
    DiskFiles disk;
    stdio::StdFileSystem files;
    fake::FakeTextMetrics font;
    fake::FakeTitleList list(font);
    ClipTextStore store;
    for (auto _ : state) {
      LoadTitleList(list, files, disk.titles);
      LoadTextStore(store, files, disk.store);
      SaveTitleList(list, files, disk.titles);
      SaveTextStore(store, files, disk.store);
      // The program loads once, into an empty list: emptying the list
      // again for the next load is no part of loading and saving. (The
      // store's emptying stays timed; loading it does that itself.)
      state.PauseTiming();
      list.Clear();
      state.ResumeTiming();
    }
    disk.Check();
  });
}

// The exact history's three clip files on disk in a temporary folder.
struct ExactDiskFiles {
  ExactDiskFiles() {
    for (const auto& [path, bytes] : Contents()) WriteWithOneStream(*path, *bytes);
  }
  std::vector<std::pair<const std::string*, const std::string*>> Contents() const {
    const Workload& w = TheWorkload();
    return {{&titles, &w.exactTitleFile}, {&store, &w.exactStoreFile}, {&exact, &w.exactFile}};
  }
  void Check() const {
    for (const auto& [path, bytes] : Contents()) {
      if (ReadWithOneStream(*path) != *bytes) throw std::runtime_error("the files changed");
    }
  }
  TempFolder folder;
  std::string titles = folder.Path(kTitleFileName);
  std::string store = folder.Path(kStoreFileName);
  std::string exact = folder.Path(kExactFileName);
};

// Loading and saving as the program does with exact texts: the three
// files, and the exact titles shown on the lines that have one.
void LoadAndSaveExact(benchmark::State& state) {
  Guarded(state, [&] {
    ExactDiskFiles disk;
    FakeDesktop desk;
    stdio::StdFileSystem files;
    ClipTextStore store, exact;
    exact.set_capacity(4 * ClipTextStore::kCapacity);
    KeptClips kept;
    SharedState shared;
    HistoryKeeper history(HistoryDesktop{.files = files,
                                         .titles = desk.titles,
                                         .listFont = desk.font,
                                         .dialogs = desk.dialogs,
                                         .pointer = desk.pointer,
                                         .timers = desk.timers,
                                         .window = desk.window,
                                         .settings = desk.settingsDialog,
                                         .programFolder = disk.folder.Path("")},
                          store, exact, kept, shared);
    for (auto _ : state) {
      const std::vector<std::string> problems = history.LoadAtStart();
      if (!problems.empty()) return state.SkipWithError(problems.front().c_str());
      history.SaveHistory();
      // As with the two files: the list is emptied again untimed.
      state.PauseTiming();
      desk.titles.Clear();
      state.ResumeTiming();
    }
    if (!desk.dialogs.errors.empty()) return state.SkipWithError(desk.dialogs.errors.front().c_str());
    disk.Check();
  });
}

void LoadAndSaveExactWithOneStreamEach(benchmark::State& state) {
  Guarded(state, [&] {
    ExactDiskFiles disk;
    for (auto _ : state) {
      for (const auto& [path, bytes] : disk.Contents()) {
        const std::string read = ReadWithOneStream(*path);
        WriteWithOneStream(*path, read);
      }
    }
    disk.Check();
  });
}

void LoadAndSaveWithOneStreamEach(benchmark::State& state) {
  Guarded(state, [&] {
    DiskFiles disk;
    for (auto _ : state) {
      for (const std::string* path : {&disk.titles, &disk.store}) {
        const std::string bytes = ReadWithOneStream(*path);
        WriteWithOneStream(*path, bytes);
      }
    }
    disk.Check();
  });
}

void Scrub(benchmark::State& state) {
  Guarded(state, [&] {
    TempFolder folder;
    const std::string path = folder.Path(kStoreFileName);
    const std::string content(kScrubFileSize, 'x');
    stdio::StdFileSystem files;
    for (auto _ : state) {
      state.PauseTiming();
      WriteWithOneStream(path, content);
      state.ResumeTiming();
      ScrubFile(files, path);
    }
    if (files.SizeOf(path) != 0u) state.SkipWithError("the file was not left empty");
  });
}

// The bytes ScrubFile writes over all its passes, through one stream.
void ScrubWithOneStream(benchmark::State& state) {
  Guarded(state, [&] {
    TempFolder folder;
    const std::string path = folder.Path(kStoreFileName);
    const std::uint64_t total = kScrubPasses * 3 * kScrubFileSize;
    std::string block;
    for (int i = 0; i < 1 << 16; ++i) block += "\xFF\r\n";
    for (auto _ : state) {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      for (std::uint64_t left = total; left > 0;) {
        const auto piece = static_cast<std::streamsize>(std::min<std::uint64_t>(left, block.size()));
        out.write(block.data(), piece);
        left -= static_cast<std::uint64_t>(piece);
      }
      out.close();
      if (!out) return state.SkipWithError("cannot write");
      // The deletion is no part of the write.
      state.PauseTiming();
      std::filesystem::remove(path);
      state.ResumeTiming();
    }
  });
}

// A search opened over the whole history, as F3 opens it in the program.
struct OpenSearch {
  OpenSearch() { search.Open(); }
  Window window{Files::Full};
  ClipSearch search{window.desk.titles, window.program->store(), window.program->exactTexts(), window.desk.codePage};
};

// The first keystroke of a search, over every clip: a character that occurs
// in none, so that every byte of every text is read. Two such characters in
// turn, neither of which lengthens the other.
void SearchFirstKeystroke(benchmark::State& state) {
  Guarded(state, [&] {
    OpenSearch open;
    bool other = false;
    for (auto _ : state) {
      open.search.SetText(other ? "~" : "@");
      other = !other;
    }
    if (!open.search.matches().empty()) return state.SkipWithError("a clip matched");
    const Workload& w = TheWorkload();
    state.counters["memory_per_history_byte"] =
        static_cast<double>(open.search.MemoryUse()) / static_cast<double>(w.titleFile.size() + w.storeFile.size());
  });
}

// One more letter typed: only the clips that matched the first three are read.
void SearchNarrowingKeystroke(benchmark::State& state) {
  Guarded(state, [&] {
    OpenSearch open;
    std::size_t before = 0;
    for (auto _ : state) {
      state.PauseTiming();
      open.search.SetText("zqx");
      before = open.search.matches().size();
      state.ResumeTiming();
      open.search.SetText("zqxj");
    }
    if (before == 0 || open.search.matches().size() >= before) return state.SkipWithError("nothing narrowed");
    state.counters["matches_before"] = static_cast<double>(before);
    state.counters["matches_after"] = static_cast<double>(open.search.matches().size());
    state.counters["clips"] = static_cast<double>(open.window.desk.titles.Count());
  });
}

// F3 on the whole history: each line's text found in the store.
void SearchOpen(benchmark::State& state) {
  Guarded(state, [&] {
    Window window(Files::Full);
    ClipSearch search(window.desk.titles, window.program->store(), window.program->exactTexts(), window.desk.codePage);
    for (auto _ : state) {
      search.Open();
      benchmark::DoNotOptimize(search.matches().data());
      state.PauseTiming();
      search.Close();
      state.ResumeTiming();
    }
  });
}

// The floor of any search of those bytes: memory read as fast as the
// library reads it, looking for a byte that none of them is.
void ScanForAbsentByte(benchmark::State& state) {
  Guarded(state, [&] {
    const std::string& bytes = TheWorkload().storeFile;
    const void* found = nullptr;
    for (auto _ : state) {
      found = std::memchr(bytes.data(), '@', bytes.size());
      benchmark::DoNotOptimize(found);
    }
    if (found != nullptr) return state.SkipWithError("the byte occurs");
  });
}

struct Plan {
  int iterations;
  int smokeIterations;
};

void Add(const char* name, Plan plan, bool smoke, void (*body)(benchmark::State&)) {
  // Fixed iterations: the store setup is slow and capture fills the store,
  // so the library must not probe with growing counts.
  benchmark::RegisterBenchmark(name, body)
      ->Iterations(smoke ? plan.smokeIterations : plan.iterations)
      ->Repetitions(smoke ? 1 : 15)
      ->UseRealTime()
      ->Unit(benchmark::kMicrosecond);
}

}  // namespace

const std::vector<RatioTarget>& RatioTargets() {
  static const std::vector<RatioTarget> targets = {
      {"capture", "capture/full_store", "capture/empty_store", 1.5},
      {"capture, 72 titles listed", "capture/full_store_72_titles", "capture/empty_store", 1.5},
      {"lookup", "lookup/oldest_clip", "scan/header_key", 0.001},
      {"run-to-top gather", "gather/run_to_top_72", "scan/header_key", 0.05},
      {"load and save", "files/load_save", "files/one_stream_each", 2.0},
      {"clear", "scrub/4MB_70_passes", "scrub/one_stream", 1.5},
      {"capture of an exact text", "capture/exact_full_store", "capture/exact_empty_store", 1.5},
      {"lookup of the oldest exact clip", "lookup/oldest_exact_clip", "scan/header_key", 0.001},
      {"load and save, three files", "files/exact_load_save", "files/exact_one_stream_each", 2.0},
      {"search, first keystroke, whole history", "search/first_keystroke", "scan/absent_byte", 3.0},
      {"search, one more letter", "search/narrowing_keystroke", "search/first_keystroke", 0.5},
  };
  return targets;
}

const std::vector<CounterTarget>& CounterTargets() {
  static const std::vector<CounterTarget> targets = {
      {"search memory per byte of history", "search/first_keystroke", "memory_per_history_byte", 0.1},
  };
  return targets;
}

void RegisterClipBenchmarks(bool smoke) {
  // 2,000 captures of about 145 characters stay inside the store's room
  // above the workload's 16,000,000 characters.
  Add("capture/full_store", {2000, 20}, smoke, [](benchmark::State& s) { Capture(s, Files::Full); });
  Add("capture/empty_store", {2000, 20}, smoke, [](benchmark::State& s) { Capture(s, Files::Empty); });
  // The same store with the list cut to 72 titles: tells the list's share
  // of a capture from the store's.
  Add("capture/full_store_72_titles", {2000, 20}, smoke,
      [](benchmark::State& s) { Capture(s, Files::FullStoreShortList); });
  Add("lookup/oldest_clip", {20000, 20}, smoke, [](benchmark::State& s) { Gather(s, -1, false); });
  Add("gather/run_to_top_72", {2000, 20}, smoke, [](benchmark::State& s) { Gather(s, 71, true); });
  Add("scan/header_key", {20, 2}, smoke, ScanForHeaderKey);
  Add("files/load_save", {10, 1}, smoke, LoadAndSave);
  Add("files/one_stream_each", {10, 1}, smoke, LoadAndSaveWithOneStreamEach);
  Add("scrub/4MB_70_passes", {3, 1}, smoke, Scrub);
  Add("scrub/one_stream", {3, 1}, smoke, ScrubWithOneStream);
  // The history with exact texts; captures of 100 characters again, each
  // with its exact text.
  Add("capture/exact_full_store", {2000, 20}, smoke, [](benchmark::State& s) { CaptureExact(s, Files::FullExact); });
  Add("capture/exact_empty_store", {2000, 20}, smoke, [](benchmark::State& s) { CaptureExact(s, Files::Empty); });
  Add("lookup/oldest_exact_clip", {20000, 20}, smoke,
      [](benchmark::State& s) { Gather(s, TheWorkload().oldestExactLine, false, Files::FullExact); });
  Add("files/exact_load_save", {10, 1}, smoke, LoadAndSaveExact);
  Add("files/exact_one_stream_each", {10, 1}, smoke, LoadAndSaveExactWithOneStreamEach);
  Add("search/first_keystroke", {20, 2}, smoke, SearchFirstKeystroke);
  Add("search/narrowing_keystroke", {20, 2}, smoke, SearchNarrowingKeystroke);
  Add("search/open", {10, 1}, smoke, SearchOpen);
  Add("scan/absent_byte", {50, 2}, smoke, ScanForAbsentByte);
}

}  // namespace solvane::bench

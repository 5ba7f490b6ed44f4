// Long runs: series of copies and pastes generated from a seed, so a
// failing run can be repeated exactly, with a journal of what the program
// recorded carried from one driver run to the next.

#include <algorithm>
#include <cstdio>
#include <utility>

#include "driver.h"

namespace driver {
namespace {

// splitmix64: the same seed gives the same session, so a failing long run
// can be repeated exactly.
class SeededRandom {
 public:
  explicit SeededRandom(unsigned long long seed) : state_(seed) {}
  unsigned long long next() {
    unsigned long long z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  size_t between(size_t lo, size_t hi) { return lo + static_cast<size_t>(next() % (hi - lo + 1)); }
  bool chance(unsigned percent) { return next() % 100 < percent; }

 private:
  unsigned long long state_;
};

// What the program recorded, one clip a line: its key and its text, both
// escaped, split by a tab. The driver runs once per series, so the journal
// carries what it knows from one run to the next.
struct JournalEntry {
  std::string key;
  std::string text;
};

std::vector<JournalEntry> read_journal(const std::string& path) {
  std::vector<JournalEntry> journal;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return journal;  // nothing captured yet
  std::string bytes;
  char buf[65536];
  size_t got;
  while ((got = std::fread(buf, 1, sizeof buf, file)) > 0) bytes.append(buf, got);
  std::fclose(file);
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(start, end - start);
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) throw Failure("journal line without a tab: " + path);
    journal.push_back({decode_escapes(line.substr(0, tab)), decode_escapes(line.substr(tab + 1))});
    start = end + 1;
  }
  return journal;
}

// Words with the characters a clip file and a title must carry as they are.
std::string words(SeededRandom& rng, size_t length) {
  static const char* const kWords[] = {"clip", "paste", "Solvane", "tray",     "history", "a",      "of",
                                       "x",    "42",    "C:\\tmp", "(quoted)", "#tag",    "a|b",    "50%",
                                       "{it}", "~/.x",  "\"q\"",   "'s'",      "<b>",     "e=mc^2", "--"};
  std::string out;
  while (out.size() < length) {
    if (!out.empty()) out += rng.chance(10) ? "\t" : " ";
    out += kWords[rng.next() % (sizeof kWords / sizeof kWords[0])];
  }
  out.resize(length);
  return out;
}

// Lines of words, CR LF between them, exactly SIZE bytes from FIRST on;
// never ending in a line break, which the store would not keep apart.
std::string lines_of(SeededRandom& rng, std::string first, size_t size, size_t longest) {
  std::string out = std::move(first);
  while (out.size() < size) {
    out += "\r\n";
    out += rng.chance(5) ? std::string() : words(rng, rng.between(1, longest));
  }
  out.resize(size);
  while (!out.empty() && (out.back() == '\r' || out.back() == '\n')) out.pop_back();
  out.append(size - out.size(), 'z');
  return out;
}

constexpr size_t kLongestText = 100 * 1024;

// A fresh text for capture number SERIAL (1 for the first of the run).
// Every text but the one-character ones carries its serial in its first
// visible line, so its title tells it from any other.
std::string fresh_text(SeededRandom& rng, size_t serial) {
  const std::string tag = "c" + std::to_string(serial) + ":";
  if (serial == 1) return "1";
  if (serial == 2) return lines_of(rng, tag, kLongestText, 120);
  const unsigned kind = static_cast<unsigned>(rng.next() % 1000);
  if (kind < 100) return std::string(1, static_cast<char>(rng.between(0x21, 0x7E)));
  if (kind < 550) return tag + " " + words(rng, rng.between(0, 90));
  if (kind < 700) return lines_of(rng, tag + " " + words(rng, rng.between(0, 60)), rng.between(30, 900), 80);
  if (kind < 880) {
    // Blank lines and blanks before the first visible character.
    std::string lead;
    for (size_t i = rng.between(0, 3); i > 0; --i) lead += std::string(rng.between(0, 4), ' ') + "\r\n";
    lead += std::string(rng.between(1, 6), ' ') + (rng.chance(50) ? "\t" : "") + tag;
    return rng.chance(50) ? lead + " " + words(rng, rng.between(1, 40))
                          : lines_of(rng, lead, lead.size() + rng.between(10, 400), 60);
  }
  if (kind < 992) return lines_of(rng, tag, rng.between(1024, 8192), 200);
  // The longest texts: some one line, some many.
  const size_t size = rng.between(kLongestText / 2, kLongestText);
  return rng.chance(30) ? tag + words(rng, size - tag.size()) : lines_of(rng, tag, size, 160);
}

// Whether TITLE is a title the program may give TEXT: its first line with
// a character above a blank (else its first line), cut to fit the list, with
// "..." when it was cut or the text has more lines. The width the list
// allows is not known here, so any cut is accepted.
bool title_fits(const std::string& title, const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0;;) {
    const size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  std::string line = lines[0];
  for (const auto& candidate : lines) {
    if (std::any_of(candidate.begin(), candidate.end(), [](char c) { return static_cast<unsigned char>(c) > 32; })) {
      line = candidate;
      break;
    }
  }
  if (title.size() >= 3 && title.compare(title.size() - 3, 3, "...") == 0) {
    const size_t kept = title.size() - 3;
    if (kept <= line.size() && line.compare(0, kept, title, 0, kept) == 0 && (lines.size() > 1 || kept < line.size()))
      return true;
  }
  return lines.size() == 1 && title == line;
}

// COUNT texts from SEED onto the clipboard, one after another, each waited
// for until the program's list has taken it as a new clip whose title fits.
// About one in fifty is the text captured just before, which must add no
// clip; it is followed by a fresh text, whose capture shows it was handled.
// Prints: clips recorded, bytes of their texts.
void copy_series(const std::string& journalPath, unsigned long long seed, int count, DWORD timeout) {
  std::vector<JournalEntry> journal = read_journal(journalPath);
  HWND list = require_list(require_main());
  FILE* out = std::fopen(journalPath.c_str(), "ab");
  if (!out) throw Failure("cannot write the journal " + journalPath);
  SeededRandom rng(seed);
  int recorded = 0;
  size_t bytes = 0;
  bool repeated = false;  // the last text set repeats the capture before it
  int countBefore = list_count(list);
  for (int i = 0; i < count; ++i) {
    const std::string which = "copy " + std::to_string(i + 1) + " of seed " + std::to_string(seed) + ": ";
    const std::string* last = journal.empty() ? nullptr : &journal.back().text;
    std::string text;
    if (!repeated && last && i + 1 < count && rng.chance(2)) {
      set_clip(*last);
      repeated = true;
      continue;
    }
    if (!repeated && journal.size() >= 2 && rng.chance(8)) {
      text = journal[rng.next() % journal.size()].text;
    }
    while (text.empty() || (last && text == *last)) text = fresh_text(rng, journal.size() + 1);
    set_clip(text);
    int now = countBefore;
    if (!wait_closely(timeout, [&] { return (now = list_count(list)) != countBefore; }))
      throw Failure(which + "no new clip after " + std::to_string(timeout) + " ms for a text of " +
                    std::to_string(text.size()) + " bytes");
    const std::string top = list_item(list, 0);
    const std::string title = title_of(top, 0);
    if (now != countBefore + 1 || !title_fits(title, text))
      throw Failure(which + "the list went from " + std::to_string(countBefore) + " to " + std::to_string(now) +
                    " clips" + (repeated ? " (after a repeat of the capture before)" : "") + ", the top title is \"" +
                    encode_escapes(title) + "\", the text began \"" + encode_escapes(text.substr(0, 80)) + "\"");
    journal.push_back({key_of(top), text});
    std::fprintf(out, "%s\t%s\n", encode_escapes(journal.back().key).c_str(), encode_escapes(text).c_str());
    ++recorded;
    bytes += text.size();
    repeated = false;
    countBefore = now;
  }
  if (std::fclose(out) != 0) throw Failure("cannot write the journal " + journalPath);
  print_line(std::to_string(recorded) + " " + std::to_string(bytes));
}

// COUNT pastes with the paste target in front: the hotkey shows the clip
// window, a key label chosen from SEED pastes that line. The target must
// receive the clip's text as the journal has it, the window must go, and

constexpr int kListCut = 72;
constexpr int kLabelCount = 36;

// What every round of a paste series works with.
struct PasteSeries {
  const std::vector<JournalEntry>& journal;
  HWND main;
  HWND list;
  HWND target;
  HWND edit;  // the paste target's EDIT
  DWORD timeout;
};

// Presses the key label of LINE in the clip window (BEFORE: the list's
// items then); the target must receive the clip's text as the journal has
// it, the clipboard must hold it, and the window must go.
void paste_line(const PasteSeries& s, const std::vector<std::string>& before, int line, const std::string& which) {
  const std::string key = key_of(before[line]);
  const JournalEntry* clip = nullptr;
  for (const auto& entry : s.journal)
    if (entry.key == key) clip = &entry;
  if (!clip)
    throw Failure(which + "line " + std::to_string(line) + " has a key that was never captured: \"" +
                  encode_escapes(before[line]) + "\"");
  press_chord(std::string(1, kLabels[line]));
  std::string landed;
  // A long text keeps the target's EDIT busy for a while, so that it does
  // not answer at once: that is no failure until the time is up.
  const auto pasted = [&] {
    try {
      landed = target_text(s.target);
    } catch (const Failure&) {
      return false;
    }
    return landed == clip->text;
  };
  if (!wait_for(s.timeout, pasted))
    throw Failure(which + "key " + std::string(1, kLabels[line]) + " pasted " + std::to_string(landed.size()) +
                  " bytes, not the clip's " + std::to_string(clip->text.size()) + " after " +
                  std::to_string(s.timeout) + " ms: \"" + encode_escapes(landed.substr(0, 80)) + "\"");
  std::string onClipboard;
  if (!get_clip(onClipboard) || onClipboard != clip->text)
    throw Failure(which + "the clipboard holds " + std::to_string(onClipboard.size()) + " bytes, not the clip");
  if (!wait_for(s.timeout, [&] { return !IsWindowVisible(s.main); }))
    throw Failure(which + "the clip window stays after the paste");
}

// The list after pasting LINE: the pasted title on top, the others
// shifted, cut back to 72 lines as the program does after a paste.
void check_list_after(const PasteSeries& s, const std::vector<std::string>& before, int countBefore, int line,
                      const std::string& which) {
  std::vector<std::string> want = before;
  want.erase(want.begin() + line);
  want.insert(want.begin(), before[line]);
  if (countBefore > kListCut) want.erase(want.begin() + kListCut);
  const int countAfter = list_count(s.list);
  const int countWanted = countBefore > kListCut ? countBefore - 1 : countBefore;
  if (countAfter != countWanted)
    throw Failure(which + "the list holds " + std::to_string(countAfter) + " clips, expected " +
                  std::to_string(countWanted));
  for (int i = 0; i < static_cast<int>(want.size()) && i < countAfter; ++i) {
    const std::string item = list_item(s.list, i);
    if (item != want[i])
      throw Failure(which + "after pasting line " + std::to_string(line) + ", line " + std::to_string(i) + " is \"" +
                    encode_escapes(item) + "\", expected \"" + encode_escapes(want[i]) + "\"");
  }
}

// One paste of a series: the hotkey shows the clip window, a key label
// chosen from RNG pastes that line.
void paste_round(const PasteSeries& s, SeededRandom& rng, const std::string& which) {
  if (!wait_for(s.timeout, [&] { return GetForegroundWindow() == s.target && !IsWindowVisible(s.main); }))
    throw Failure(which + "the paste target is not in front, or the clip window not hidden");
  send_or_fail(s.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), "WM_SETTEXT");
  const int countBefore = list_count(s.list);
  if (countBefore == 0) throw Failure(which + "the program has no clips to paste");
  std::vector<std::string> before;
  for (int i = 0; i < std::min(countBefore, kListCut + 2); ++i) before.push_back(list_item(s.list, i));

  press_chord("ctrl+alt+down");
  if (!wait_for(s.timeout, [&] { return IsWindowVisible(s.main) && GetForegroundWindow() == s.main; }) ||
      !answers(s.main, s.timeout))
    throw Failure(which + "the hotkey did not bring the clip window to the front");

  const int line = static_cast<int>(rng.next() % static_cast<unsigned>(std::min(countBefore, kLabelCount)));
  paste_line(s, before, line, which);
  check_list_after(s, before, countBefore, line, which);
}

// COUNT pastes with the paste target in front: the hotkey shows the clip
// window, a key label chosen from SEED pastes that line. The target must
// receive the clip's text as the journal has it, the window must go, and
// the list must show the pasted title on top and the others shifted, with
// the list cut back to 72 lines as the program does after a paste.
void paste_series(const std::string& journalPath, unsigned long long seed, int count, DWORD timeout) {
  const std::vector<JournalEntry> journal = read_journal(journalPath);
  HWND main = require_main();
  HWND list = require_list(main);
  HWND target = require_target();
  const PasteSeries series{journal, main, list, target, require_target_edit(target), timeout};
  SeededRandom rng(seed);
  for (int round = 1; round <= count; ++round)
    paste_round(series, rng, "paste " + std::to_string(round) + " of seed " + std::to_string(seed) + ": ");
}

// JOURNAL SEED COUNT TIMEOUT_MS, as both series take them.
struct SeriesArgs {
  unsigned long long seed;
  int count;
  DWORD timeout;
};

SeriesArgs series_args(const Args& args) {
  const unsigned long long seed = parse_number(args[2], "seed");
  const int count = static_cast<int>(parse_number(args[3], "count"));
  const DWORD timeout = parse_number(args[4], "timeout");
  return {seed, count, timeout};
}

}  // namespace

int cmd_copy_series(const Args& args) {
  const SeriesArgs a = series_args(args);
  copy_series(args[1], a.seed, a.count, a.timeout);
  return 0;
}

int cmd_paste_series(const Args& args) {
  const SeriesArgs a = series_args(args);
  paste_series(args[1], a.seed, a.count, a.timeout);
  return 0;
}

}  // namespace driver

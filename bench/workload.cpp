#include "workload.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <unordered_set>

#include "core/clip_text_store.h"
#include "core/key_generator.h"
#include "base/text_buffer.h"
#include "core/title_builder.h"
#include "platform/fake/fake_text_metrics.h"

namespace solvane::bench {

namespace {

constexpr std::uint64_t kSeed = 0x5017A4E;

class TextMaker {
 public:
  explicit TextMaker(std::mt19937_64& rng) : rng_(rng) {}

  // Words of letters and digits with some punctuation, as prose and code
  // snippets look to a byte counter.
  std::string Line(std::size_t length) {
    static constexpr char kLetters[] = "etaoinshrdlucmfwypvbgkjqxzETAOINSHRDLU0123456789";
    static constexpr char kPunctuation[] = ".,;:-_()/'\"!?=+*#<>[]{}";
    std::string line;
    line.reserve(length);
    std::uniform_int_distribution<std::size_t> wordLength(1, 10);
    std::uniform_int_distribution<std::size_t> letter(0, sizeof(kLetters) - 2);
    std::uniform_int_distribution<std::size_t> punctuation(0, sizeof(kPunctuation) - 2);
    std::uniform_int_distribution<int> percent(0, 99);
    while (line.size() < length) {
      for (std::size_t n = wordLength(rng_); n > 0 && line.size() < length; --n) line += kLetters[letter(rng_)];
      if (line.size() < length && percent(rng_) < 15) line += kPunctuation[punctuation(rng_)];
      if (line.size() < length) line += ' ';
    }
    return line;
  }

  // Most clips are a few words or a line; some are pages. Median about 250
  // characters, mean about 800; longer ones and a quarter of the short ones
  // come in lines of up to 120 characters, some of them empty.
  std::string Clip() {
    std::lognormal_distribution<double> size(5.5, 1.5);
    const auto length = std::clamp<std::size_t>(static_cast<std::size_t>(size(rng_)), 1, 60'000);
    std::uniform_int_distribution<int> percent(0, 99);
    if (length <= 120 && percent(rng_) >= 25) return Line(length);
    std::uniform_int_distribution<std::size_t> lineLength(0, 120);
    std::string text;
    while (text.size() < length) {
      if (!text.empty()) text += kCrLf;
      text += Line(std::min(lineLength(rng_), length - text.size()));
    }
    return text;
  }

 private:
  std::mt19937_64& rng_;
};

// Gives a text letters Latin-1 cannot hold, one character for one, from
// `from` on: the first character other than a space or line break becomes
// a lambda, each 'a' an alpha and each 'o' a CJK letter. The exact text in
// UTF-8 and its ANSI form, with "?" for each of them; both empty when there
// is nothing to change.
struct ExactForm {
  std::string utf8;
  std::string ansi;
};
ExactForm MakeExact(const std::string& text, std::size_t from) {
  ExactForm form;
  bool changed = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool visible = c != '\r' && c != '\n' && c != ' ';
    const char* replaced = nullptr;
    if (i >= from && visible && !changed) {
      replaced = "\xCE\xBB";  // U+03BB
    } else if (i >= from && c == 'a') {
      replaced = "\xCE\xB1";  // U+03B1
    } else if (i >= from && c == 'o') {
      replaced = "\xE4\xB8\xAD";  // U+4E2D
    }
    if (replaced) changed = true;
    form.utf8 += replaced ? replaced : std::string(1, c);
    form.ansi += replaced ? '?' : c;
  }
  if (!changed) return {};
  return form;
}

Workload Generate(std::size_t storeChars) {
  std::mt19937_64 rng(kSeed);
  TextMaker maker(rng);
  fake::FakeTextMetrics font;
  std::uniform_int_distribution<std::int32_t> r1(0, 9'999'999), r2(0, 999'999);
  std::unordered_set<std::string> keys;

  // Records are made newest first, the order of the files.
  Workload w;
  std::vector<std::string> storeLines;
  std::vector<std::string> exactTitles, exactStoreLines, exactLines;
  while (true) {
    const std::string text = maker.Clip();
    std::vector<std::string> record = SplitBufferLines(text);
    std::size_t size = 2 * (7 + kKeyLength) + 2 * (record.size() + 1);
    for (const auto& line : record) size += line.size();
    if (w.storeChars + size + 2 > storeChars) break;
    std::string key;
    do {
      key = KeyGenerator::FormatKey(r1(rng), r2(rng));
    } while (!keys.insert(key).second);
    const std::string header = std::string(kHeaderMarker) + key;
    const std::string trailer = std::string(kTrailerMarker) + key;
    // One character for one: the exact history's store holds as many
    // characters as the plain one, and its clips end where theirs do.
    const ExactForm exact = w.titles.size() % 10 == 5 ? MakeExact(text, 0) : ExactForm{};
    const std::string& ansi = exact.utf8.empty() ? text : exact.ansi;
    exactStoreLines.push_back(header);
    for (auto& line : SplitBufferLines(ansi)) exactStoreLines.push_back(std::move(line));
    exactStoreLines.push_back(trailer);
    if (!exact.utf8.empty()) {
      w.oldestExactLine = static_cast<int>(w.titles.size());
      exactLines.push_back(header);
      for (auto& line : SplitBufferLines(exact.utf8)) exactLines.push_back(std::move(line));
      exactLines.push_back(trailer);
    }
    exactTitles.push_back(BuildTitle(ansi, font) + kTitlePadding + key);
    storeLines.push_back(header);
    for (auto& line : record) storeLines.push_back(std::move(line));
    storeLines.push_back(trailer);
    w.storeChars += size + (w.titles.empty() ? 0 : 2);
    w.titles.push_back(BuildTitle(text, font) + kTitlePadding + key);
  }
  w.exactTitleFile = JoinFileLines(exactTitles);
  w.exactStoreFile = JoinFileLines(exactStoreLines);
  w.exactFile = JoinFileLines(exactLines);
  w.titleFile = JoinFileLines(w.titles);
  w.shortTitleFile = JoinFileLines({w.titles.begin(), w.titles.begin() + 72});
  w.storeFile = JoinFileLines(storeLines);

  // Captures must differ from each other, or the duplicate rule skips them.
  for (std::size_t i = 0; w.captures.size() < 10'000; ++i) {
    std::string text = std::to_string(i) + " " + maker.Line(kCaptureLength);
    text.resize(kCaptureLength);
    // After the number, which keeps them distinct.
    w.exactCaptures.push_back(MakeExact(text, text.find(' ') + 1).utf8);
    w.captures.push_back(std::move(text));
  }
  return w;
}

}  // namespace

const Workload& TheWorkload() {
  static const Workload workload = Generate(kStoreChars);
  return workload;
}

const Workload& TheLargestWorkload() {
  static const Workload workload = Generate(ClipTextStore::kCapacity);
  return workload;
}

}  // namespace solvane::bench

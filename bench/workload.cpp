#include "workload.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <unordered_set>

#include "core/clip_text_store.h"
#include "core/key_generator.h"
#include "base/text_buffer.h"
#include "core/title_builder.h"
#include "platform/fake/fake_system.h"

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

Workload Generate() {
  std::mt19937_64 rng(kSeed);
  TextMaker maker(rng);
  fake::FakeTextMetrics font;
  std::uniform_int_distribution<std::int32_t> r1(0, 9'999'999), r2(0, 999'999);
  std::unordered_set<std::string> keys;

  // Records are made newest first, the order of the files.
  Workload w;
  std::vector<std::string> storeLines;
  while (true) {
    const std::string text = maker.Clip();
    std::vector<std::string> record = SplitBufferLines(text);
    std::size_t size = 2 * (7 + kKeyLength) + 2 * (record.size() + 1);
    for (const auto& line : record) size += line.size();
    if (w.storeChars + size + 2 > kStoreChars) break;
    std::string key;
    do {
      key = KeyGenerator::FormatKey(r1(rng), r2(rng));
    } while (!keys.insert(key).second);
    storeLines.push_back(std::string(kHeaderMarker) + key);
    for (auto& line : record) storeLines.push_back(std::move(line));
    storeLines.push_back(std::string(kTrailerMarker) + key);
    w.storeChars += size + (w.titles.empty() ? 0 : 2);
    w.titles.push_back(BuildTitle(text, font) + kTitlePadding + key);
  }
  w.titleFile = JoinFileLines(w.titles);
  w.shortTitleFile = JoinFileLines({w.titles.begin(), w.titles.begin() + 72});
  w.storeFile = JoinFileLines(storeLines);

  // Captures must differ from each other, or the duplicate rule skips them.
  for (std::size_t i = 0; w.captures.size() < 10'000; ++i) {
    std::string text = std::to_string(i) + " " + maker.Line(kCaptureLength);
    text.resize(kCaptureLength);
    w.captures.push_back(std::move(text));
  }
  return w;
}

}  // namespace

const Workload& TheWorkload() {
  static const Workload workload = Generate();
  return workload;
}

}  // namespace solvane::bench
